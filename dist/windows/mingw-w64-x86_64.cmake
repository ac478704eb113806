# CMake toolchain file: cross-build for 64-bit Windows with Debian's MinGW-w64
# (packages g++-mingw-w64-x86-64-posix and mingw-w64-tools). The posix thread
# model is the one Qt is built with; its runtime needs libwinpthread-1.dll.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(KELVARO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVARO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVARO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVARO_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come from the MinGW sysroot and the
# prefixes given in CMAKE_PREFIX_PATH (Qt), never from the Linux host;
# programs (moc, rcc, uic) come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KELVARO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
