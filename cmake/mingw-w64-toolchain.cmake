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

# Sections start on page boundaries in the file as in memory, so that Windows and Wine map an
# image from its file, shared by every process that loads it, instead of reading it into memory
# of each process's own (the input-method module is loaded into every application). The DWARF
# sections the static runtime brings are left out: nothing reads them, and they would be mapped
# too.
set(tvime_image_flags "-Wl,--file-alignment,4096 -Wl,--section-alignment,4096 -Wl,--strip-debug")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static ${tvime_image_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static ${tvime_image_flags}")
