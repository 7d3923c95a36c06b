# Runs one fuzz target for a fixed time from its seed corpus; fails when the fuzzer reports a
# crash, a sanitizer finding or a violated property. New inputs go to a scratch corpus in the
# build folder, never into the repository.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
set(dict_option)
if(EXISTS ${DICT})
  set(dict_option -dict=${DICT})
endif()
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=${MAX_LEN} -timeout=20
          -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${WORK}/ ${dict_option}
          ${WORK}/corpus ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in ${WORK}/")
endif()
