# Cross build for Windows with Debian's MinGW-w64 (posix threads), linked
# statically. Included by a toolchain file that has set CMAKE_SYSTEM_PROCESSOR
# (i686 or x86_64), which names the compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(LUMATONE_MINGW ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMATONE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMATONE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMATONE_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMATONE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
