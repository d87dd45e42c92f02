# Replays a corpus with the temporary folder pointed at a fresh folder of its
# own, and fails when the replay fails or leaves anything in that folder.
# cmake -DFUZZER=... -DCORPUS=... -DTEMP=... -P ReplayLeavesNothing.cmake
file(REMOVE_RECURSE "${TEMP}")
file(MAKE_DIRECTORY "${TEMP}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "TMPDIR=${TEMP}" "${FUZZER}" "${CORPUS}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "replay failed: ${result}")
endif()
file(GLOB left "${TEMP}/*")
if(left)
  message(FATAL_ERROR "the replay left files behind: ${left}")
endif()
file(REMOVE_RECURSE "${TEMP}")
