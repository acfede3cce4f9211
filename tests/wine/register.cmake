# Runs the Wine test executable built by the windows_x86_64 sub-build, one
# CTest test per GoogleTest suite, on a virtual display started for the run.
set(FONTAB_WINE_STATE ${CMAKE_BINARY_DIR}/wine-session)
if(DEFINED ENV{FONTAB_WINE_PREFIX})
  set(FONTAB_WINE_PREFIX $ENV{FONTAB_WINE_PREFIX})
else()
  set(FONTAB_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
set(FONTAB_WINE_BIN ${CMAKE_BINARY_DIR}/windows-x86_64/bin)

add_test(NAME wine.session.start
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session start ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
add_test(NAME wine.session.stop
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session stop ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX})
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)

include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)
foreach(suite ${FONTAB_WINE_SUITES})
  add_test(NAME wine.${suite}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX}
            ${FONTAB_WINE_BIN}/fontab_wine_tests.exe --gtest_filter=${suite}.*)
  # A filter that selects nothing must not pass quietly.
  set_tests_properties(wine.${suite} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "Running 0 tests")
endforeach()

# Fonts edited through the program under Wine, the results read back natively
# by fontTools: one case of the suite FontToolsWriteOut each.
if(NOT FONTAB_FONTTOOLS_PYTHON)
  set(FONTAB_FONTTOOLS_PYTHON /usr/bin/python3)
endif()
foreach(case GaspRangeEdit OS2RealFont)
  add_test(NAME wine.FontToolsWriteOut.${case}
    COMMAND ${FONTAB_FONTTOOLS_PYTHON} ${PROJECT_SOURCE_DIR}/tests/wine/fonttools_write_out_check.py
            ${case} --wine-run ${PROJECT_SOURCE_DIR}/scripts/wine-run --state ${FONTAB_WINE_STATE}
            --prefix ${FONTAB_WINE_PREFIX} --tests ${FONTAB_WINE_BIN}/fontab_wine_tests.exe)
  set_tests_properties(wine.FontToolsWriteOut.${case} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop TIMEOUT 600 SKIP_RETURN_CODE 77)
endforeach()

# A write-out onto a nearly full volume: the script mounts a small tmpfs for
# the suite FullVolume (as root; it exits 77, skipped, when it cannot).
add_test(NAME wine.FullVolume
  COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/with_small_volume.sh ${CMAKE_BINARY_DIR}
          ${PROJECT_SOURCE_DIR}/scripts/wine-run ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX}
          ${FONTAB_WINE_BIN}/fontab_wine_tests.exe --gtest_filter=FullVolume.*)
set_tests_properties(wine.FullVolume PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop TIMEOUT 600 SKIP_RETURN_CODE 77
  SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" FAIL_REGULAR_EXPRESSION "Running 0 tests")
