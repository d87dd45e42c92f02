# vellumo-pack.exe: the authoring tool for Windows, from the same sources as
# on Linux, with tools/pack/windows/ in place of tools/pack/posix/. Included
# by the top-level CMakeLists.txt after the Windows build of src/, whose
# libraries it links.

set(VLO_TOOLS ${PROJECT_SOURCE_DIR}/tools)

# FreeType sets the lettering of `new`; libexif reads the pictures' EXIF
# orientation for `check` and `new`. (TagLib, for the album's tags, comes
# with the src/ libraries.)
# (freetype2.pc names zlib, whose .pc file lies outside the prefix.)
find_package(Freetype REQUIRED)
vlo_windows_library(EXIF libexif)

if(NOT TARGET vlo_drawing)
  file(GLOB vlo_drawing_sources CONFIGURE_DEPENDS ${VLO_TOOLS}/drawing/*.cpp)
  add_library(vlo_drawing STATIC ${vlo_drawing_sources})
  target_include_directories(vlo_drawing PUBLIC ${VLO_TOOLS}/drawing)
  target_link_libraries(vlo_drawing PUBLIC PNG::PNG JPEG::JPEG)
endif()

# Everything but main() in a library, which the tool and its tests link.
file(GLOB vlo_pack_sources CONFIGURE_DEPENDS ${VLO_TOOLS}/pack/*.cpp ${VLO_TOOLS}/pack/windows/*.cpp)
list(FILTER vlo_pack_sources EXCLUDE REGEX "/pack/main\\.cpp$")
add_library(vlo_pack STATIC ${vlo_pack_sources})
target_include_directories(vlo_pack PUBLIC ${VLO_TOOLS}/pack)
target_link_libraries(vlo_pack PUBLIC vellumo_core vlo_drawing Freetype::Freetype ZLIB::ZLIB PkgConfig::TAGLIB
  PkgConfig::EXIF)

# The manifest makes UTF-8 the program's code page (its arguments and file
# names arrive and go out as UTF-8).
enable_language(RC)
add_executable(vellumo-pack ${VLO_TOOLS}/pack/main.cpp ${VLO_TOOLS}/pack/windows/vellumo-pack.rc)
target_link_libraries(vellumo-pack PRIVATE vlo_pack)
set_target_properties(vellumo-pack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

if(NOT VLO_TESTS)
  return()
endif()

# The Windows side of the tool: OutputFile (attributes kept, read-only files
# refused, devices, UTF-8 names) and the font lookup.
vlo_windows_test(tools/windows vlo_pack)
# The commands through the real program (the cases that need POSIX links,
# modes, FIFOs or users are left out where they stand). Left out:
# PreviewCommandTest (starts the program with fork() and works on a copy of the
# demo show) and DemoShowCheckTest: the Windows build makes no demo show. `new` is tried on
# albums of tones the test encodes (Ogg Vorbis, FLAC) and tags with TagLib.
vlo_windows_library(VLO_PACK_ENCODERS vorbisenc flac)
vlo_windows_test(tools "vellumo_core;PkgConfig::VLO_PACK_ENCODERS" EXCLUDE PreviewCommandTest DemoShowCheckTest)
# The tests of the tool run the built vellumo-pack.exe.
add_dependencies(test_tools_windows vellumo-pack)
add_dependencies(test_tools vellumo-pack)
target_compile_definitions(test_tools PRIVATE VLO_HAVE_FLAC_ENCODER)
