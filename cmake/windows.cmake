# MinGW builds: the real purgent.exe, the e2e helpers and the release package.
include(cmake/jpeg_mingw.cmake)
file(GLOB_RECURSE PURGENT_WIN32_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/ui/win32/*.cpp src/ui/win32/*.rc)
add_executable(purgent WIN32 ${PURGENT_WIN32_SOURCES})
# purgent.rc names its pictures relative to its own folder.
target_include_directories(purgent PRIVATE src/ui/win32)
set_source_files_properties(src/ui/win32/purgent.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/ui/win32/purgent.manifest;${CMAKE_SOURCE_DIR}/src/ui/win32/res/purgent.ico")
target_link_libraries(purgent PRIVATE purgent_core purgent_jpeg comctl32 comdlg32 msimg32 gdi32 version)
# Reproducible: no link time in the PE header, and no symbols or debug
# sections (the MinGW runtime's static libraries bring their own).
target_link_options(purgent PRIVATE -static -static-libgcc -static-libstdc++ -s -Wl,--no-insert-timestamp)

# The e2e helpers, in both builds: the win64 ones run beside the win64
# purgent.exe under wine64, the i686 ones beside the shipped one under the
# emulated 32-bit Wine. Off for the reproducibility check, which needs only
# the release.
option(PURGENT_E2E_HELPERS "Build the e2e test helpers" ON)
if(PURGENT_E2E_HELPERS)
  # Helpers that run next to purgent.exe.
  file(GLOB PURGENT_UIHELPER_SOURCES CONFIGURE_DEPENDS tools/e2e/uihelper*.cpp)
  add_executable(uihelper ${PURGENT_UIHELPER_SOURCES})
  target_link_options(uihelper PRIVATE -static -static-libgcc -static-libstdc++)

  # A window-less program: started by purgent.exe it must not open a console.
  add_executable(marker WIN32 tools/e2e/marker.cpp)
  target_link_options(marker PRIVATE -static -static-libgcc -static-libstdc++)
  # Another one that writes down the arguments it was given.
  add_executable(argsfile WIN32 tools/e2e/argsfile.cpp)
  target_link_options(argsfile PRIVATE -static -static-libgcc -static-libstdc++)

  # Reads a program's version information and manifest.
  add_executable(exeinfo tools/e2e/exeinfo.cpp)
  target_link_libraries(exeinfo PRIVATE version)
  target_link_options(exeinfo PRIVATE -static -static-libgcc -static-libstdc++)

  # Holds files open, as a running Excel holds its add-in.
  add_executable(holdopen WIN32 tools/e2e/holdopen.cpp)
  target_link_options(holdopen PRIVATE -static -static-libgcc -static-libstdc++)

  # A stand-in program with one window, and a probe running the process
  # shutdown against the real desktop.
  add_executable(fakeproc tools/e2e/fakeproc.cpp)
  target_link_options(fakeproc PRIVATE -static -static-libgcc -static-libstdc++)
  file(GLOB PURGENT_WIN32_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
  add_executable(fakeproc_probe tools/e2e/fakeproc_probe.cpp ${PURGENT_WIN32_PLATFORM_SOURCES})
  target_link_libraries(fakeproc_probe PRIVATE purgent_core version)
  target_link_options(fakeproc_probe PRIVATE -static -static-libgcc -static-libstdc++)
  include(cmake/e2e_helpers.cmake)
endif()
include(cmake/package.cmake)
