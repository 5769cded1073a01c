# e2e helpers of the Windows builds: seed.exe applies a machine image to the
# machine it runs on, snapshot.exe reads the machine back into one,
# hiveload.exe tells whether a hive file can be loaded, hivehold.exe keeps
# one loaded as a logged-on user's is.
# They read and delete link keys as the program does (platform/win32).
foreach(helper seed snapshot hiveload hivehold)
  add_executable(${helper} tools/e2e/${helper}.cpp tools/e2e/seed_registry.cpp
    src/platform/win32/win32_registry_links.cpp src/platform/win32/win32_key_path.cpp)
  target_link_libraries(${helper} PRIVATE purgent_image)
  target_link_options(${helper} PRIVATE -static -static-libgcc -static-libstdc++)
endforeach()

# A COM server whose registration names its own file: seed.exe copies it
# over the placeholder of each [dll] section and registers the copy.
add_library(comserver SHARED tools/e2e/comserver.cpp)
set_target_properties(comserver PROPERTIES PREFIX "")
target_compile_definitions(comserver PRIVATE _WIN32_WINNT=0x0600)
# regsvr32 looks the entry points up by their plain names; i686 would export
# the stdcall ones decorated (DllRegisterServer@0).
target_link_options(comserver PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)
add_dependencies(seed comserver)
