# Runs a fuzz target once on every file of a folder of inputs; fails when any of them fails.
file(GLOB inputs ${INPUTS}/*)
execute_process(COMMAND ${FUZZER} ${inputs} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} fails on an input of ${INPUTS} (exit ${result})")
endif()
