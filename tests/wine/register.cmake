# Runs the Wine test executables of both Windows sub-builds, 64-bit as wine.*
# and 32-bit as wine32.*, one CTest test per GoogleTest case, found by asking
# each executable for its cases just before the run (nothing to keep listed).
# Both share one virtual display and Wine prefix, started for the run.
set(FONTAB_WINE_STATE ${CMAKE_BINARY_DIR}/wine-session)
if(DEFINED ENV{FONTAB_WINE_PREFIX})
  set(FONTAB_WINE_PREFIX $ENV{FONTAB_WINE_PREFIX})
else()
  set(FONTAB_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
set(FONTAB_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX})

add_test(NAME wine.session.start
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session start ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
add_test(NAME wine.session.stop
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session stop ${FONTAB_WINE_STATE} ${FONTAB_WINE_PREFIX})
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)
set(FONTAB_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop)

if(NOT FONTAB_FONTTOOLS_PYTHON)
  set(FONTAB_FONTTOOLS_PYTHON /usr/bin/python3)
endif()

# Cases of tests run again under locale, named prefix.CASE.
function(fontab_locale_cases tests prefix locale filter)
  gtest_discover_tests(${tests} TEST_PREFIX ${prefix}. DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120 TEST_FILTER ${filter} TEST_LIST ${prefix}_TESTS
    PROPERTIES ${FONTAB_WINE_TEST_PROPERTIES} TIMEOUT 300 ENVIRONMENT FONTAB_LOCALE=${locale}
               FAIL_REGULAR_EXPRESSION "Running 0 tests" SKIP_REGULAR_EXPRESSION "SKIPPED")
endfunction()

foreach(arch x86_64 i686)
  if(arch STREQUAL "x86_64")
    set(prefix wine)
  else()
    set(prefix wine32)
  endif()
  set(tests fontab_wine_tests_${arch})
  set(filter -FontToolsWriteOut.*:FullVolume.*)
  # Where the kernel refuses 32-bit programs, scripts/setup runs them through
  # qemu-i386, and there Wine's file dialog can hang before it is shown. A case
  # that opens one says so in its name (file_dialog_cases.cpp fails one that
  # does not), and the 32-bit run leaves those out by name; a skipped test
  # says so.
  set(qemu FALSE)
  if(arch STREQUAL "i686" AND EXISTS /proc/sys/fs/binfmt_misc/qemu-i386)
    set(qemu TRUE)
    string(APPEND filter ":*.*WithFileDialog")
    add_test(NAME wine32.FileDialogCases COMMAND sh -c "echo 'skipped: under qemu-i386 the 32-bit run leaves out the cases that open a file dialog (*.*WithFileDialog), which the 64-bit run runs'; exit 77")
    set_tests_properties(wine32.FileDialogCases PROPERTIES SKIP_RETURN_CODE 77)
  endif()
  set(exe ${CMAKE_BINARY_DIR}/windows-${arch}/bin/fontab_wine_tests.exe)
  add_executable(${tests} IMPORTED)
  set_target_properties(${tests} PROPERTIES IMPORTED_LOCATION ${exe}
                        CROSSCOMPILING_EMULATOR "${FONTAB_WINE_RUN}")
  # The fontTools and full-volume cases need a wrapper, below. A case whose
  # filter selects nothing must not pass quietly.
  gtest_discover_tests(${tests} TEST_PREFIX ${prefix}. DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120 TEST_FILTER ${filter}
    PROPERTIES ${FONTAB_WINE_TEST_PROPERTIES} TIMEOUT 300
               FAIL_REGULAR_EXPRESSION "Running 0 tests" SKIP_REGULAR_EXPRESSION "SKIPPED")
  # The cases that show texts or open files, again under two more locales:
  # English, code page 1252, and Hindi, which Wine gives the code page UTF-8
  # (65001); the same texts must read the same. Where qemu runs the 32-bit
  # program its file dialogs hang (above): there the 64-bit run covers them.
  if(qemu)
    add_test(NAME ${prefix}.cp1252.AllCases COMMAND sh -c "echo 'skipped: under qemu-i386 the 32-bit program runs under code page 932 only'; exit 77")
    set_tests_properties(${prefix}.cp1252.AllCases PROPERTIES SKIP_RETURN_CODE 77)
  else()
    fontab_locale_cases(${tests} ${prefix}.cp1252 en_US.UTF-8 "Startup.*:Drop.*:TableTree.*:AboutBox.*:GaspPane.*:GaspRangeDialog.*:OS2Pane.*:NamePane.*:NameEditDialog.*:LineSpacingPane.*:RemoveTable.*:Collection.*:UnsavedEdits.*")
    if(arch STREQUAL "x86_64")
      fontab_locale_cases(${tests} ${prefix}.cp65001 hi_IN.UTF-8 "Startup.*:Drop.*:OS2Pane.*:NamePane.*")
    endif()
  endif()
  # Discovery that finds no case at all fails the run instead of running nothing.
  set(guard ${CMAKE_CURRENT_BINARY_DIR}/${tests}_guard.cmake)
  file(WRITE ${guard}
    "if(NOT ${tests}_TESTS)\n"
    "  add_test(${prefix}.no_cases_found ${CMAKE_COMMAND} -E false)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${guard})

  if(qemu)
    continue()
  endif()
  # Real fonts and collections edited, their tables removed and renamed through
  # the program under Wine in one session, read back natively by fontTools and
  # ots-sanitize: the case FontToolsWriteOut.PlanWithFileDialog.
  add_test(NAME ${prefix}.FontToolsWriteOut
    COMMAND ${FONTAB_FONTTOOLS_PYTHON} ${PROJECT_SOURCE_DIR}/tests/wine/fonttools_write_out_check.py
            --wine-run ${PROJECT_SOURCE_DIR}/scripts/wine-run --state ${FONTAB_WINE_STATE}
            --prefix ${FONTAB_WINE_PREFIX} --tests ${exe})
  set_tests_properties(${prefix}.FontToolsWriteOut PROPERTIES
    ${FONTAB_WINE_TEST_PROPERTIES} TIMEOUT 1500)
  # The first flow again under code page 1252, by names it cannot spell.
  add_test(NAME ${prefix}.cp1252.FontToolsWriteOut
    COMMAND ${FONTAB_FONTTOOLS_PYTHON} ${PROJECT_SOURCE_DIR}/tests/wine/fonttools_write_out_check.py
            --wine-run ${PROJECT_SOURCE_DIR}/scripts/wine-run --state ${FONTAB_WINE_STATE}
            --prefix ${FONTAB_WINE_PREFIX} --tests ${exe} --first)
  set_tests_properties(${prefix}.cp1252.FontToolsWriteOut PROPERTIES
    ${FONTAB_WINE_TEST_PROPERTIES} TIMEOUT 300 ENVIRONMENT FONTAB_LOCALE=en_US.UTF-8)

  # A write-out onto a nearly full volume: the script mounts a small tmpfs for
  # the suite FullVolume (as root; it exits 77, skipped, when it cannot).
  add_test(NAME ${prefix}.FullVolume
    COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/with_small_volume.sh ${CMAKE_BINARY_DIR}
            ${FONTAB_WINE_RUN} ${exe} --gtest_filter=FullVolume.*)
  set_tests_properties(${prefix}.FullVolume PROPERTIES
    ${FONTAB_WINE_TEST_PROPERTIES} TIMEOUT 300 SKIP_RETURN_CODE 77
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" FAIL_REGULAR_EXPRESSION "Running 0 tests")
endforeach()
