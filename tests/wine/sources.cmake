# Sources of the Wine test executable and the CTest groups it is run as (one
# group per GoogleTest suite).
set(FONTAB_WINE_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/font_file_test.cpp)
set(FONTAB_WINE_TEST_RESOURCES)
set(FONTAB_WINE_SUITES
  FontFileLoad
  FontFileWrite
  RealFonts)
