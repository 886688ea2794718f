# Cross-compiles for 64-bit Windows with MinGW-w64 (cmake/mingw-w64-toolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TVIME_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-toolchain.cmake)
