# Fuzzing from the main (native) build: the clang fuzz target as a sub-build
# and two tests, a replay of every committed corpus input and a short bounded
# fuzz session.
set(FONTAB_FUZZ_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz)

find_program(FONTAB_CLANGXX NAMES clang++ clang++-14)
if(NOT FONTAB_CLANGXX)
  message(FATAL_ERROR "clang++ not found: run scripts/setup, or configure with -DFONTAB_FUZZ=OFF")
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

# The replay runs every committed input, the fixture font and every installed
# font (whole: up to 32 MB, the CJK collections included) once. The session writes what it finds to a corpus
# of its own in the build folder and a crash input to artifacts/.
set(fontab_fuzzer ${CMAKE_BINARY_DIR}/fuzz/container_fuzzer)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz/session-corpus ${CMAKE_BINARY_DIR}/fuzz/artifacts)
add_test(NAME fuzz.replay COMMAND ${fontab_fuzzer} -runs=0 -max_len=32000000 ${FONTAB_FUZZ_DIR}/corpus
                                  ${PROJECT_SOURCE_DIR}/tests/fixtures /usr/share/fonts)
add_test(NAME fuzz.session
         COMMAND ${fontab_fuzzer} -max_total_time=60 -print_final_stats=1 -timeout=10
                 -dict=${FONTAB_FUZZ_DIR}/tags.dict -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz/artifacts/
                 ${CMAKE_BINARY_DIR}/fuzz/session-corpus ${FONTAB_FUZZ_DIR}/corpus)
set_tests_properties(fuzz.replay fuzz.session PROPERTIES TIMEOUT 400)
