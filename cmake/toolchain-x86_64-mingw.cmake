# x86_64 Windows (MinGW-w64).
set(PURGENT_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
