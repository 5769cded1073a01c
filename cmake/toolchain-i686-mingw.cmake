# i686 Windows (MinGW-w64).
set(PURGENT_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
