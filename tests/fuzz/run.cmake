# cmake -DFUZZER=.. -DCORPUS=.. -DDICT=.. -DWORK=.. -DMODE=replay|session [-DSECONDS=60] -P run.cmake
# replay: runs every committed corpus input once. session: fuzzes for SECONDS
# on a copy of the corpus in WORK; a crash input is left in WORK/artifacts.
file(GLOB inputs LIST_DIRECTORIES false ${CORPUS}/*)
list(LENGTH inputs count)
if(count EQUAL 0)
  message(FATAL_ERROR "no corpus inputs in ${CORPUS}")
endif()

if(MODE STREQUAL "replay")
  execute_process(COMMAND ${FUZZER} ${inputs} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "replay of ${count} corpus inputs failed (${result})")
  endif()
  message(STATUS "replayed ${count} corpus inputs")
elseif(MODE STREQUAL "session")
  set(session ${WORK}/session-corpus)
  file(REMOVE_RECURSE ${session})
  file(MAKE_DIRECTORY ${session} ${WORK}/artifacts)
  file(COPY ${inputs} DESTINATION ${session})
  execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1
                          -timeout=10 -dict=${DICT}
                          -artifact_prefix=${WORK}/artifacts/ ${session}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "fuzz session failed (${result}); the input is in ${WORK}/artifacts")
  endif()
else()
  message(FATAL_ERROR "MODE must be replay or session")
endif()
