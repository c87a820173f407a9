# Shared by the two Windows toolchain files: Debian's MinGW-w64 cross compilers (posix thread
# model, so std::thread and std::mutex work), static C and C++ runtimes so that a game folder
# needs nothing but the program and VKA.dll, and every test program run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MORVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVO_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MORVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# zlib from libz-mingw-w64-dev, its static archive rather than the import library of its DLL.
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-under-wine)
