# Cross-compiles for 32-bit Windows with MinGW-w64 (cmake/mingw-w64-toolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TVIME_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-toolchain.cmake)
