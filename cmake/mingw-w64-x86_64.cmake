# Cross build of the Windows executable and its tests with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESS_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Plain -static: with the posix thread model, -static-libgcc -static-libstdc++ alone would still
# import libwinpthread-1.dll, and the product must run without any DLL of ours.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the .exe tests through Wine as if they were native programs.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
