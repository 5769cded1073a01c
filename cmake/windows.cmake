# MinGW builds: the real purgent.exe (and, on win64, the e2e helpers).
include(cmake/jpeg_mingw.cmake)
file(GLOB_RECURSE PURGENT_WIN32_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/ui/win32/*.cpp src/ui/win32/*.rc)
add_executable(purgent WIN32 ${PURGENT_WIN32_SOURCES})
target_link_libraries(purgent PRIVATE purgent_core)
target_link_options(purgent PRIVATE -static -static-libgcc -static-libstdc++)
