# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers. The posix flavour is the one
# with std::thread and the C++20 library the code uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DMX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DMX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DMX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DMX_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross sysroot (and the prefixes added to it); programs run
# during the build come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${DMX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
