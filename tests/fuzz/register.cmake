# Fuzzing from the main (native) build: the clang fuzz target as a sub-build
# and two tests, a replay of every committed corpus input and a short bounded
# fuzz session.
set(FONTAB_FUZZ_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz)

find_program(FONTAB_CLANGXX NAMES clang++ clang++-14)
if(NOT FONTAB_CLANGXX)
  message(STATUS "clang++ not found: the fuzz target and its tests are left out")
  return()
endif()

# The source list travels as one argument; | stands in for CMake's ;.
string(REPLACE ";" "|" fontab_fuzz_core_sources "${FONTAB_CORE_SOURCES}")
ExternalProject_Add(fuzz
  SOURCE_DIR ${FONTAB_FUZZ_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  LIST_SEPARATOR |
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${FONTAB_CLANGXX}
             -DCMAKE_BUILD_TYPE=RelWithDebInfo
             -DFONTAB_SOURCE_DIR=${PROJECT_SOURCE_DIR}
             -DFONTAB_CORE_SOURCES=${fontab_fuzz_core_sources}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

set(fontab_fuzz_run ${CMAKE_COMMAND} -DFUZZER=${CMAKE_BINARY_DIR}/fuzz/container_fuzzer
                    -DCORPUS=${FONTAB_FUZZ_DIR}/corpus -DDICT=${FONTAB_FUZZ_DIR}/tags.dict
                    -DWORK=${CMAKE_BINARY_DIR}/fuzz)
add_test(NAME fuzz.replay COMMAND ${fontab_fuzz_run} -DMODE=replay -P ${FONTAB_FUZZ_DIR}/run.cmake)
set_tests_properties(fuzz.replay PROPERTIES TIMEOUT 300)
add_test(NAME fuzz.session COMMAND ${fontab_fuzz_run} -DMODE=session -DSECONDS=60
                                   -P ${FONTAB_FUZZ_DIR}/run.cmake)
set_tests_properties(fuzz.session PROPERTIES TIMEOUT 400)
