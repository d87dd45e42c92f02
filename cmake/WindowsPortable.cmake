# The Windows build, for now: the parts that need no window, sound or GL (the
# content library and the image decoders) and their unit tests, as static
# Windows programs that run under Wine. Included by the top-level
# CMakeLists.txt when cross-building with cmake/mingw-w64-x86_64.cmake.

find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

# 64-bit file offsets (mingw's off_t is 32 bits otherwise, and the decoders
# measure files with ftello); Windows 10 as the oldest target.
add_compile_definitions(_FILE_OFFSET_BITS=64 _WIN32_WINNT=0x0A00 WINVER=0x0A00)
add_compile_options(-Wall -Wextra)

set(VLO_SRC ${PROJECT_SOURCE_DIR}/src)

# The content library with the Windows extraction files and the frame timer
# its configuration holds.
file(GLOB vlo_content_sources CONFIGURE_DEPENDS ${VLO_SRC}/content/*.cpp)
# Track tags need TagLib, which is not cross-built yet.
list(FILTER vlo_content_sources EXCLUDE REGEX "/TrackTags\\.cpp$")
add_library(vlo_content STATIC ${vlo_content_sources} ${VLO_SRC}/common/FrameTimer.cpp
  ${VLO_SRC}/platform/win32/ExtractionFiles.cpp)
target_include_directories(vlo_content PUBLIC ${VLO_SRC})

file(GLOB vlo_codec_sources CONFIGURE_DEPENDS ${VLO_SRC}/render/codecs/*.cpp)
add_library(vlo_codecs STATIC ${vlo_codec_sources})
target_include_directories(vlo_codecs PUBLIC ${VLO_SRC})
target_link_libraries(vlo_codecs PUBLIC PNG::PNG JPEG::JPEG ZLIB::ZLIB)

if(NOT VLO_TESTS)
  return()
endif()

find_package(GTest REQUIRED)

# tests/<folder>/*.cpp -> tests/test_<folder>.exe, less the files that need
# POSIX calls mingw lacks. scripts/windows.sh runs every test_*.exe under Wine.
function(vlo_windows_test folder library)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(name IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${name}\\.cpp$")
  endforeach()
  string(REPLACE "/" "_" target test_${folder})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${library} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE VLO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VLO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
endfunction()

# ArchiveFSTest makes a Unix socket and symbolic links; ImageLimitsTest makes
# a pipe with pipe().
vlo_windows_test(content vlo_content EXCLUDE ArchiveFSTest)
vlo_windows_test(render/codecs vlo_codecs EXCLUDE ImageLimitsTest)
vlo_windows_test(platform/win32 vlo_content)
