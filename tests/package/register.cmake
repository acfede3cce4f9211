# The Windows packages: scripts/package run twice and the zips checked, then
# each packaged program started by the Wine suite's start-up cases. Included
# after the Wine tests, whose session (state and prefix) the runs share.
set(FONTAB_PACKAGE_WORK ${CMAKE_BINARY_DIR}/package)
# Debian's Python, which has pefile.
add_test(NAME package.build
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_packages.py ${PROJECT_SOURCE_DIR}
          ${FONTAB_PACKAGE_WORK})
set_tests_properties(package.build PROPERTIES FIXTURES_SETUP package TIMEOUT 1800)
foreach(kind win64 win32)
  # Under qemu-i386 (see scripts/setup) the packaged 32-bit program, started
  # from the 64-bit test program, can be ended by SIGQUIT before it quits: its
  # run is left out there, and says so. The 64-bit one always runs.
  if(kind STREQUAL "win32" AND EXISTS /proc/sys/fs/binfmt_misc/qemu-i386)
    add_test(NAME package.run.${kind} COMMAND sh -c
      "echo 'skipped: this kernel runs 32-bit programs through qemu-i386, where the packaged 32-bit program can be ended by SIGQUIT; package.run.win64 runs'; exit 77")
    set_tests_properties(package.run.${kind} PROPERTIES SKIP_RETURN_CODE 77)
    continue()
  endif()
  add_test(NAME package.run.${kind}
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_packages.sh ${PROJECT_SOURCE_DIR}/scripts/wine-run
            ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX}
            ${CMAKE_BINARY_DIR}/windows-x86_64/bin/fontab_wine_tests.exe
            ${FONTAB_PACKAGE_WORK}/dist-1 ${FONTAB_PACKAGE_WORK}/run ${kind})
  set_tests_properties(package.run.${kind} PROPERTIES
    FIXTURES_REQUIRED "wine;package" RESOURCE_LOCK wine_desktop TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "Running 0 tests")
endforeach()
