# Cross-builds Windows console programs with Debian's mingw-w64 compilers, the -posix variants
# (they have std::thread and std::mutex). MINGW_ARCH picks the target: i686 (32-bit, the default)
# or x86_64. Runtimes are linked in, so the programs need no DLL beyond Windows' own. Tests run
# under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(MINGW_ARCH i686 CACHE STRING "Windows target: i686 (32-bit) or x86_64 (64-bit)")
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})

set(MINGW_TRIPLE ${MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s") # symbols are for debug builds
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
