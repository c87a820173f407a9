# Windows x86 (32-bit): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake (./dev does it).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MORVO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW-w64.cmake)
