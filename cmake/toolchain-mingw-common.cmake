# Cross-compiling for Windows with MinGW-w64; the including toolchain file sets
# PURGENT_MINGW_ARCH. Posix thread model, so the C++ library's threads work.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PURGENT_MINGW_ARCH})

set(PURGENT_MINGW_TRIPLE ${PURGENT_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${PURGENT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PURGENT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PURGENT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PURGENT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program runs on a bare Windows: no MinGW runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
