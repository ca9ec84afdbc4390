# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::mutex need). Used for Qt itself and for the register built on it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVEL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARVEL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVEL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVEL_MINGW}-windres)

# Libraries and headers of the target come only from the MinGW sysroot and the prefixes
# given on the command line (Qt, GoogleTest, toml++); programs run at build time from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TARVEL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
