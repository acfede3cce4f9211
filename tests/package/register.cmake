# The Windows packages: scripts/package run twice and the zips checked, then
# each packaged program started by the Wine suite's start-up cases. Included
# after the Wine tests, whose session (state and prefix) package.run shares.
set(FONTAB_PACKAGE_WORK ${CMAKE_BINARY_DIR}/package)
# Debian's Python, which has pefile.
add_test(NAME package.build
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_packages.py ${PROJECT_SOURCE_DIR}
          ${FONTAB_PACKAGE_WORK})
set_tests_properties(package.build PROPERTIES FIXTURES_SETUP package TIMEOUT 1800)
add_test(NAME package.run
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_packages.sh ${PROJECT_SOURCE_DIR}/scripts/wine-run
          ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX}
          ${CMAKE_BINARY_DIR}/windows-x86_64/bin/fontab_wine_tests.exe
          ${FONTAB_PACKAGE_WORK}/dist-1 ${FONTAB_PACKAGE_WORK}/run)
set_tests_properties(package.run PROPERTIES
  FIXTURES_REQUIRED "wine;package" RESOURCE_LOCK wine_desktop TIMEOUT 600
  FAIL_REGULAR_EXPRESSION "Running 0 tests")
