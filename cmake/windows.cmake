# MinGW builds: the real purgent.exe (and, on win64, the e2e helpers).
include(cmake/jpeg_mingw.cmake)
file(GLOB_RECURSE PURGENT_WIN32_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/ui/win32/*.cpp src/ui/win32/*.rc)
add_executable(purgent WIN32 ${PURGENT_WIN32_SOURCES})
# purgent.rc names its pictures relative to its own folder.
target_include_directories(purgent PRIVATE src/ui/win32)
set_source_files_properties(src/ui/win32/purgent.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/ui/win32/purgent.manifest;${CMAKE_SOURCE_DIR}/src/ui/win32/res/purgent.ico")
target_link_libraries(purgent PRIVATE purgent_core purgent_jpeg comctl32 comdlg32 msimg32 gdi32)
target_link_options(purgent PRIVATE -static -static-libgcc -static-libstdc++)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # e2e helpers that run next to purgent.exe under wine64.
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
  target_link_libraries(fakeproc_probe PRIVATE purgent_core)
  target_link_options(fakeproc_probe PRIVATE -static -static-libgcc -static-libstdc++)
  # Judges folders with the own-folder rule on the real machine.
  add_executable(ownfolder_probe tools/e2e/ownfolder_probe.cpp ${PURGENT_WIN32_PLATFORM_SOURCES})
  target_link_libraries(ownfolder_probe PRIVATE purgent_core)
  target_link_options(ownfolder_probe PRIVATE -static -static-libgcc -static-libstdc++)
endif()
include(cmake/e2e_helpers.cmake)
include(cmake/package.cmake)
