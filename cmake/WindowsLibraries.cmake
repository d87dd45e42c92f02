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
# The programs' version resources (no quotes: windres loses them).
add_compile_definitions(
  $<$<COMPILE_LANGUAGE:RC>:VLO_VERSION_NUMBERS=${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0>
  $<$<COMPILE_LANGUAGE:RC>:VLO_VERSION_TEXT=${PROJECT_VERSION}>)
# The threads library is linked in whole and statically before the
# compiler's own link asks for it (as a DLL): no libwinpthread DLL beside the
# programs. Its version resource is left out of the copy linked, or it would
# stand in the programs' file details for their own.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread.a
  OUTPUT_VARIABLE vlo_winpthread_archive OUTPUT_STRIP_TRAILING_WHITESPACE)
set(vlo_winpthread ${CMAKE_BINARY_DIR}/winpthread/libwinpthread.a)
if(NOT EXISTS ${vlo_winpthread} OR ${vlo_winpthread_archive} IS_NEWER_THAN ${vlo_winpthread})
  file(COPY ${vlo_winpthread_archive} DESTINATION ${CMAKE_BINARY_DIR}/winpthread)
  execute_process(COMMAND ${CMAKE_AR} d ${vlo_winpthread} version.o RESULT_VARIABLE vlo_trimmed)
  if(NOT vlo_trimmed EQUAL 0)
    file(REMOVE ${vlo_winpthread})
    message(FATAL_ERROR "Could not take the version resource out of ${vlo_winpthread_archive}")
  endif()
endif()
string(APPEND CMAKE_C_STANDARD_LIBRARIES " -Wl,--whole-archive ${vlo_winpthread} -Wl,--no-whole-archive")
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -Wl,--whole-archive ${vlo_winpthread} -Wl,--no-whole-archive")
