# `cmake --install` into a prefix of the test's own, then tarnell used from there as an installed
# program: the version, a batch run on the DXF plate with the default plug-in, and the manual
# page, rendered by groff without a warning and found by man in the prefix. The prefix is moved
# before use, so that nothing of the installed tree may point at where it was installed or built.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DLIBDIR=lib/tarnell -P install_check.cmake

function(check_run name)
  cmake_parse_arguments(RUN "" "EXPECT" "COMMAND" ${ARGN})
  execute_process(COMMAND ${RUN_COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: exit status ${status}\n${out}${err}")
  endif()
  if(RUN_EXPECT AND NOT out MATCHES "${RUN_EXPECT}")
    message(FATAL_ERROR "${name}: no \"${RUN_EXPECT}\" in the output:\n${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
  set(run_error "${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
check_run("cmake --install" COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/at)
file(RENAME ${WORK_DIR}/at ${prefix})

foreach(file bin/tarnell ${LIBDIR}/libTarnell.so ${LIBDIR}/libZetLib.so share/man/man1/tarnell.1)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The user's settings stay out of the test's way.
set(ENV{TARNELL_REGISTRY} ${WORK_DIR}/registry.reg)
check_run("tarnell --version" COMMAND ${prefix}/bin/tarnell --version EXPECT "^tarnell [0-9.]+\n$")
check_run("the batch"
  COMMAND ${prefix}/bin/tarnell --base 0,0 --unit 0.5 --all ${SOURCE_DIR}/examples/plate.dxf
          -o ${WORK_DIR}/plate.dxf
  EXPECT "holes moved")

set(page ${prefix}/share/man/man1/tarnell.1)
check_run("groff" COMMAND groff -man -Tutf8 -ww -z ${page})
if(NOT run_error STREQUAL "")
  message(FATAL_ERROR "groff warns about the manual page:\n${run_error}")
endif()
set(ENV{MANWIDTH} 80)
set(ENV{MANPATH} ${prefix}/share/man)
check_run("man -w" COMMAND man -w tarnell EXPECT "^${page}")
check_run("man -l" COMMAND man -l ${page})
foreach(section NAME SYNOPSIS DESCRIPTION OPTIONS INPUTS OUTPUTS "EXIT STATUS" FILES EXAMPLES
        "SEE ALSO")
  if(NOT run_output MATCHES "\n${section}\n")
    message(FATAL_ERROR "man -l: the page has no ${section}:\n${run_output}")
  endif()
endforeach()
