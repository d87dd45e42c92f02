cmake_policy(SET CMP0007 NEW)
# Fails when a C++ file the project keeps differs from what clang-format makes
# of it under the project's .clang-format, naming each file that drifted.
execute_process(COMMAND git ls-files -- "*.cpp" "*.h"
  WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE files RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "git could not list the sources in ${SOURCE_DIR}")
endif()
string(REPLACE "\n" ";" files "${files}")
list(FILTER files EXCLUDE REGEX "^$|^tests/fuzz/corpus/")
set(drifted "")
foreach(file IN LISTS files)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${file}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0)
    list(APPEND drifted ${file})
  endif()
endforeach()
if(drifted)
  string(REPLACE ";" "\n  " drifted "${drifted}")
  message(FATAL_ERROR "not formatted (run clang-format -i on them):\n  ${drifted}")
endif()
