# Windows build (MinGW-w64): the program, and the GoogleTest executable that
# drives its windows and file operations under Wine.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# Self-contained executables: Wine finds no MinGW runtime DLLs otherwise.
add_link_options(-static -static-libgcc -static-libstdc++)
# The same sources give the same program bytes: no link time in the PE
# header, and no checkout path in the objects.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>)
# The program speaks UTF-16 to Windows: the generic names (IDC_ARROW,
# WC_TREEVIEW, the list and tree macros) are the wide ones.
add_compile_definitions(UNICODE _UNICODE)
# Resources are UTF-8 sources.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

fontab_add_core(fontab_core)

add_library(fontab_win STATIC
  font/font_file.cpp
  font/path_parts.cpp)
target_link_libraries(fontab_win PUBLIC fontab_core comctl32 comdlg32 gdi32 user32 shell32)

include(app/sources.cmake)

# GoogleTest from Debian's sources (googletest), built with MinGW.
if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
  message(FATAL_ERROR "/usr/src/googletest is missing: run scripts/setup")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tests/wine)

# The write-out benchmark (scripts/bench runs it under Wine).
add_subdirectory(bench)
