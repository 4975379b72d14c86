# Runs HHDUMP ongame INPUT: with EXPECTED, it must succeed and print exactly
# that file's text; without, it must refuse the file with exit code 1 and a
# message.
execute_process(COMMAND ${HHDUMP} ongame ${INPUT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT DEFINED EXPECTED)
  if(NOT rc STREQUAL "1" OR err STREQUAL "" OR NOT out STREQUAL "")
    message(FATAL_ERROR "hhdump ongame ${INPUT} should refuse the file with exit code 1 and a message, got ${rc}: ${err}${out}")
  endif()
  return()
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "hhdump ongame ${INPUT} failed (${rc}): ${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "hhdump ongame ${INPUT} printed:\n${out}\nexpected:\n${expected}")
endif()
