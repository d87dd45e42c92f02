# The libraries of the Windows build (cross-built with
# cmake/mingw-w64-x86_64.cmake into the prefix scripts/windows.sh makes),
# under the same target names the Linux build finds with pkg-config, so that
# src/ and tools/ link the same way on both systems.

find_package(PkgConfig REQUIRED)
# pkg-config reads only the prefix's files, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${VLO_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# A library from its pkg-config file with everything a static link of it
# needs (Libs.private too); a DLL's import library links the same way.
# SDL's own main and window-program flags are left out: the program has its
# own entry point, and only vellumo.exe is a window program.
function(vlo_windows_library name)
  pkg_check_modules(${name} REQUIRED ${ARGN})
  set(cflags ${${name}_STATIC_CFLAGS_OTHER})
  set(ldflags ${${name}_STATIC_LDFLAGS})
  list(REMOVE_ITEM cflags -Dmain=SDL_main)
  # The C++ runtime comes with the compiler's own link, statically.
  list(REMOVE_ITEM ldflags -lSDL2main -mwindows -lstdc++)
  add_library(PkgConfig::${name} INTERFACE IMPORTED GLOBAL)
  set_target_properties(PkgConfig::${name} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${${name}_STATIC_INCLUDE_DIRS}"
    INTERFACE_COMPILE_OPTIONS "${cflags}"
    INTERFACE_LINK_LIBRARIES "${ldflags}")
endfunction()

vlo_windows_library(SDL2 sdl2)
vlo_windows_library(SNDFILE sndfile)
vlo_windows_library(MODPLUG libmodplug)
vlo_windows_library(FLAC flac)
vlo_windows_library(TAGLIB taglib)
# TagLib's headers expect its DLL unless told it is linked statically.
find_file(VLO_TAGLIB_IMPORT libtag.dll.a PATHS ${TAGLIB_STATIC_LIBRARY_DIRS} NO_DEFAULT_PATH)
if(NOT VLO_TAGLIB_IMPORT)
  set_property(TARGET PkgConfig::TAGLIB APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS TAGLIB_STATIC)
endif()
# zlib static too: the programs need no zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

# The system's OpenGL 1.1 and GLU; later entry points through wglGetProcAddress.
add_library(OpenGL::GL INTERFACE IMPORTED GLOBAL)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_LIBRARIES "opengl32;gdi32")
add_library(OpenGL::GLU INTERFACE IMPORTED GLOBAL)
set_target_properties(OpenGL::GLU PROPERTIES INTERFACE_LINK_LIBRARIES "glu32;opengl32")

# 64-bit file offsets (mingw's off_t is 32 bits otherwise, and the decoders
# measure files with ftello); Windows 10 as the oldest target. SDL is only
# the audio here: the program has its own WinMain.
# FLAC and libmodplug are linked statically (their headers would otherwise
# expect DLLs).
add_compile_definitions(_FILE_OFFSET_BITS=64 _WIN32_WINNT=0x0A00 WINVER=0x0A00 SDL_MAIN_HANDLED FLAC__NO_DLL
  MODPLUG_STATIC)
add_compile_options(-Wall -Wextra)
# The threads library is linked in whole and statically before the
# compiler's own link asks for it (as a DLL): no libwinpthread DLL beside the
# programs.
string(APPEND CMAKE_C_STANDARD_LIBRARIES " -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
