# What both MinGW-w64 toolchain files set, for the TVIME_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR
# they chose. The posix thread variant gives std::thread and std::mutex; every binary is linked
# statically so that it needs no MinGW DLL.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TVIME_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TVIME_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TVIME_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TVIME_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
