# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAMORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KAMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KAMORA_MINGW_TRIPLET}-windres)
# Libraries and headers from the target's own root (and the prefixes given in
# CMAKE_FIND_ROOT_PATH), programs from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KAMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
