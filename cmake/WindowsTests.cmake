# The unit tests of the Windows build: the suites that need no X server and
# no SDL window, as Windows programs that scripts/windows.sh runs under Wine.

find_package(GTest REQUIRED)

# tests/<folder>/*.cpp -> tests/test_<folder>.exe linked with `library` (one
# target or a list), less the files that need POSIX calls or a window system
# mingw and Wine do not give them. cmake/WindowsTools.cmake uses it too.
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

vlo_windows_test(common vlo_base)
# ArchiveFSTest makes a Unix socket and symbolic links.
vlo_windows_test(content vlo_content EXCLUDE ArchiveFSTest)
# ImageLimitsTest makes a pipe with pipe().
vlo_windows_test(render/codecs vlo_render EXCLUDE ImageLimitsTest)
vlo_windows_test(music vlo_music)
# The audio tests hear the real mixer through SDL's disk driver, on tones
# they encode themselves.
include(${PROJECT_SOURCE_DIR}/cmake/AudioEncoders.cmake)
vlo_windows_test(audio vlo_music)
vlo_link_audio_encoders(test_audio)
vlo_windows_test(widgets vlo_widgets)
vlo_windows_test(platform/win32 vlo_base)
# The command line; the main window's tests need the SDL back end.
vlo_windows_test(shell vellumo_core EXCLUDE MainWindowTest ProgramTest)
