# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads).
# VLO_WINDOWS_PREFIX names the folder the libraries were built into
# (scripts/windows.sh passes build-windows/prefix); libraries are looked up
# there and in the compiler's own root (zlib from libz-mingw-w64-dev).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VLO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VLO_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${VLO_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${VLO_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

# Try-compiles see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VLO_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VLO_MINGW_TRIPLET})
if(VLO_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${VLO_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their C and C++ runtime, so they need no compiler DLLs;
# the libraries they use are static or, for the LGPL ones, DLLs of their own
# (see scripts/windows-deps.sh), so the link as a whole is not -static.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
