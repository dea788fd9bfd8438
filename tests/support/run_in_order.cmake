# cmake -DTEST_BINARY=... -DFIRST=Suite.Test -DSECOND=Suite.Test -P run_in_order.cmake
# Runs two tests in one test process, FIRST before SECOND, and fails unless both ran in that
# order and passed: a state one test leaves behind must not change the other's result.
execute_process(COMMAND "${TEST_BINARY}" "--gtest_filter=${FIRST}:${SECOND}"
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
string(FIND "${out}" "[ RUN      ] ${FIRST}\n" first_at)
string(FIND "${out}" "[ RUN      ] ${SECOND}\n" second_at)
if(first_at EQUAL -1 OR second_at EQUAL -1 OR NOT first_at LESS second_at)
  message(FATAL_ERROR "${out}\n${FIRST} and ${SECOND} did not both run, in that order")
endif()
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  PASSED  \\] 2 tests\\.")
  message(FATAL_ERROR "${out}\n${SECOND} after ${FIRST} in one process did not pass (exit ${rc})")
endif()
message(STATUS "${FIRST} then ${SECOND}: both passed in one process")
