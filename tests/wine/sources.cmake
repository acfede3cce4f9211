# Sources of the Wine test executable and the CTest groups it is run as (one
# group per GoogleTest suite).
set(FONTAB_WINE_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/program_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/write_out_test.cpp)
set(FONTAB_WINE_TEST_RESOURCES
  ${PROJECT_SOURCE_DIR}/res/fontab.rc)
set(FONTAB_WINE_SUITES
  Startup
  TableTree
  FailedOpen
  AboutBox
  Splitter
  GaspPane
  GaspRangeDialog
  OS2Pane
  WriteOut
  WriteOutFaults
  HostileFiles
  RealFonts)
