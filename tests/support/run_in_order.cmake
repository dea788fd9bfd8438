# cmake -DTEST_BINARY=... -DFIRST=Suite.Test -DSECOND=Suite.Test -P run_in_order.cmake
# Runs two tests in one test process, FIRST before SECOND, and fails unless both ran in that
# order and passed: a state one test leaves behind must not change the other's result.
# The test program runs its suites in the order they were linked; when that puts SECOND first,
# shuffled orders are tried (seed 1, 2, ...) until one runs FIRST before SECOND. A run that
# waits for input that never comes (a dialog whose click zones moved) is stopped and fails.
set(timeout_seconds 120)
set(ordered FALSE)
foreach(seed RANGE 0 40)
  set(args "--gtest_filter=${FIRST}:${SECOND}")
  if(seed GREATER 0)
    list(APPEND args --gtest_shuffle --gtest_random_seed=${seed})
  endif()
  execute_process(COMMAND "${TEST_BINARY}" ${args}
                  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc TIMEOUT ${timeout_seconds})
  string(FIND "${out}" "[ RUN      ] ${FIRST}\n" first_at)
  string(FIND "${out}" "[ RUN      ] ${SECOND}\n" second_at)
  if(first_at EQUAL -1 OR second_at EQUAL -1)
    message(FATAL_ERROR "${out}\n${FIRST} and ${SECOND} did not both run (exit ${rc}, ${args})")
  endif()
  if(first_at LESS second_at)
    set(ordered TRUE)
    break()
  endif()
endforeach()
if(NOT ordered)
  message(FATAL_ERROR "${out}\nno order of the runs tried put ${FIRST} before ${SECOND}")
endif()
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  PASSED  \\] 2 tests\\.")
  message(FATAL_ERROR "${out}\n${SECOND} after ${FIRST} in one process did not pass (exit ${rc}, ${args})")
endif()
message(STATUS "${FIRST} then ${SECOND}: both passed in one process (${args})")
