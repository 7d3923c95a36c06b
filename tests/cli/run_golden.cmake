# Runs one sample session through tarnell and compares the transcript and the corrected drawing
# with the golden copies in tests/cli/golden. With -DUPDATE=ON it rewrites the golden copies.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{TARNELL_REGISTRY} ${WORK_DIR}/registry.reg)
execute_process(
  COMMAND ${TARNELL} --session ${SOURCE_DIR}/examples/${SESSION}.session
          -o ${WORK_DIR}/out.drawing --report ${WORK_DIR}/report.txt
          ${SOURCE_DIR}/examples/sample.drawing
  OUTPUT_FILE ${WORK_DIR}/transcript.txt
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "tarnell failed (${result}): ${errors}")
endif()
set(golden ${SOURCE_DIR}/tests/cli/golden)
foreach(pair "transcript.txt;${SESSION}.transcript" "out.drawing;${SESSION}.drawing"
             "report.txt;${SESSION}.report")
  list(GET pair 0 produced)
  list(GET pair 1 expected)
  if(UPDATE)
    file(COPY_FILE ${WORK_DIR}/${produced} ${golden}/${expected})
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${produced}
                          ${golden}/${expected} RESULT_VARIABLE differs)
  if(differs)
    execute_process(COMMAND diff -u ${golden}/${expected} ${WORK_DIR}/${produced})
    message(FATAL_ERROR "${produced} differs from tests/cli/golden/${expected}")
  endif()
endforeach()
