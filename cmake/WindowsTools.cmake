# vellumo-pack.exe: the authoring tool for Windows, from the same sources as
# on Linux, with tools/pack/windows/ in place of tools/pack/posix/. Included
# by the top-level CMakeLists.txt after the Windows build of src/, whose
# libraries it links.

set(VLO_TOOLS ${PROJECT_SOURCE_DIR}/tools)

# The libraries' .pc files are the prefix's, never the build machine's.
if(VLO_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${VLO_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
find_package(PkgConfig REQUIRED)
find_package(Freetype REQUIRED)
# TagLib reads the album's tags for `new`, libexif the pictures' EXIF
# orientation for `check` and `new`.
pkg_check_modules(VLO_PACK_TAGLIB REQUIRED IMPORTED_TARGET taglib)
pkg_check_modules(VLO_PACK_EXIF REQUIRED IMPORTED_TARGET libexif)
# A static TagLib (no import library beside it) must not be declared as
# imported from a DLL.
find_library(VLO_PACK_TAGLIB_DLL NAMES libtag.dll.a PATHS ${VLO_PACK_TAGLIB_LIBRARY_DIRS} NO_DEFAULT_PATH)
if(NOT VLO_PACK_TAGLIB_DLL)
  target_compile_definitions(PkgConfig::VLO_PACK_TAGLIB INTERFACE TAGLIB_STATIC)
endif()

if(NOT TARGET vlo_drawing)
  file(GLOB vlo_drawing_sources CONFIGURE_DEPENDS ${VLO_TOOLS}/drawing/*.cpp)
  add_library(vlo_drawing STATIC ${vlo_drawing_sources})
  target_include_directories(vlo_drawing PUBLIC ${VLO_TOOLS}/drawing)
  target_link_libraries(vlo_drawing PUBLIC PNG::PNG JPEG::JPEG)
endif()

# `check` and `new` ask the viewer's decoders whether a music file plays.
# Until the Windows build of src/ has its audio library, the decoders alone.
if(TARGET vlo_audio)
  set(vlo_pack_audio vlo_audio)
else()
  # Static libraries: everything their .pc files name for static linking;
  # Debian's fortified opus calls into libssp.
  pkg_check_modules(VLO_PACK_DECODER_LIBS REQUIRED sndfile flac libmodplug)
  file(GLOB vlo_pack_decoder_sources CONFIGURE_DEPENDS ${VLO_SRC}/audio/decoders/*.cpp)
  add_library(vlo_pack_decoders STATIC ${vlo_pack_decoder_sources})
  target_include_directories(vlo_pack_decoders PUBLIC ${VLO_SRC} ${VLO_PACK_DECODER_LIBS_STATIC_INCLUDE_DIRS})
  # The decoders open files the POSIX way; mingw lacks the flags Windows has
  # no use for, and a file must be opened in binary mode there (O_NOCTTY
  # stands for O_BINARY here, so that every open has it).
  target_compile_definitions(vlo_pack_decoders PRIVATE FLAC__NO_DLL MODPLUG_STATIC O_NONBLOCK=0 O_CLOEXEC=0
    O_NOCTTY=O_BINARY)
  target_compile_options(vlo_pack_decoders PRIVATE "-DS_ISSOCK(mode)=0")
  target_link_directories(vlo_pack_decoders PUBLIC ${VLO_PACK_DECODER_LIBS_STATIC_LIBRARY_DIRS})
  target_link_libraries(vlo_pack_decoders PUBLIC ${VLO_PACK_DECODER_LIBS_STATIC_LIBRARIES} ssp)
  set(vlo_pack_audio vlo_pack_decoders)
endif()

# Everything but main() in a library, which the tool and its tests link.
file(GLOB vlo_pack_sources CONFIGURE_DEPENDS ${VLO_TOOLS}/pack/*.cpp ${VLO_TOOLS}/pack/windows/*.cpp)
list(FILTER vlo_pack_sources EXCLUDE REGEX "/pack/main\\.cpp$")
# `preview` renders with the viewer's screen and GL renderer: only where the
# Windows build of src/ provides them.
if(TARGET vellumo_core)
  list(FILTER vlo_pack_sources EXCLUDE REGEX "/NoPreview\\.cpp$")
  set(vlo_pack_viewer vellumo_core)
else()
  list(FILTER vlo_pack_sources EXCLUDE REGEX "/(PreviewCommand|ShowPreview)\\.cpp$")
  set(vlo_pack_viewer)
endif()
add_library(vlo_pack STATIC ${vlo_pack_sources})
target_include_directories(vlo_pack PUBLIC ${VLO_TOOLS}/pack)
target_link_libraries(vlo_pack PUBLIC vlo_content vlo_codecs ${vlo_pack_audio} ${vlo_pack_viewer} vlo_drawing
  Freetype::Freetype PkgConfig::VLO_PACK_TAGLIB PkgConfig::VLO_PACK_EXIF)

# The manifest makes UTF-8 the program's code page (its arguments and file
# names arrive and go out as UTF-8).
enable_language(RC)
add_executable(vellumo-pack ${VLO_TOOLS}/pack/main.cpp ${VLO_TOOLS}/pack/windows/vellumo-pack.rc)
target_link_libraries(vellumo-pack PRIVATE vlo_pack)
set_target_properties(vellumo-pack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

if(NOT VLO_TESTS)
  return()
endif()

find_package(GTest REQUIRED)

# tests/<folder>/*.cpp -> tests/test_<folder>.exe (as vlo_windows_test does),
# less the files that need what Windows lacks; LIBRARIES are linked. The
# tests of the tool run the built vellumo-pack.exe.
function(vlo_windows_tool_test folder)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;LIBRARIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(name IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${name}\\.cpp$")
  endforeach()
  string(REPLACE "/" "_" target test_${folder})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE VLO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VLO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  add_dependencies(${target} vellumo-pack)
endfunction()

# The Windows side of the tool: OutputFile (attributes kept, read-only files
# refused, devices, UTF-8 names) and the font lookup.
vlo_windows_tool_test(tools/windows LIBRARIES vlo_pack)
# The commands through the real program (the cases that need POSIX links,
# modes, FIFOs or users are left out where they stand). Left out:
# PreviewCommandTest (runs only where preview is built, and forks) and
# DemoShowCheckTest (the Windows build makes no demo show). `new` is tried on
# albums of tones the test encodes (Ogg Vorbis, FLAC) and tags with TagLib.
pkg_check_modules(VLO_PACK_ENCODERS REQUIRED vorbisenc flac)
vlo_windows_tool_test(tools LIBRARIES vlo_content vlo_codecs PkgConfig::VLO_PACK_TAGLIB
  EXCLUDE PreviewCommandTest DemoShowCheckTest)
target_link_directories(test_tools PRIVATE ${VLO_PACK_ENCODERS_STATIC_LIBRARY_DIRS})
target_link_libraries(test_tools PRIVATE ${vlo_pack_audio} ${VLO_PACK_ENCODERS_STATIC_LIBRARIES})
target_compile_definitions(test_tools PRIVATE VLO_HAVE_FLAC_ENCODER FLAC__NO_DLL)
