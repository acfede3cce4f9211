# The program: its windows in a library that the Wine tests link as well, and
# the executable, fontab.exe.
add_library(fontab_app STATIC
  ${PROJECT_SOURCE_DIR}/app/about_box.cpp
  ${PROJECT_SOURCE_DIR}/app/base_window.cpp
  ${PROJECT_SOURCE_DIR}/app/command_line.cpp
  ${PROJECT_SOURCE_DIR}/app/dropped_file.cpp
  ${PROJECT_SOURCE_DIR}/app/file_dialogs.cpp
  ${PROJECT_SOURCE_DIR}/app/list_view.cpp
  ${PROJECT_SOURCE_DIR}/app/main_window.cpp
  ${PROJECT_SOURCE_DIR}/app/modal_dialog.cpp
  ${PROJECT_SOURCE_DIR}/app/pane_controls.cpp
  ${PROJECT_SOURCE_DIR}/app/placeholder_pane.cpp
  ${PROJECT_SOURCE_DIR}/app/sharing_text.cpp
  ${PROJECT_SOURCE_DIR}/app/splitter.cpp
  ${PROJECT_SOURCE_DIR}/app/startup.cpp
  ${PROJECT_SOURCE_DIR}/app/table_removal.cpp
  ${PROJECT_SOURCE_DIR}/app/wide_text.cpp
  ${PROJECT_SOURCE_DIR}/tables/gasp/gasp_pane.cpp
  ${PROJECT_SOURCE_DIR}/tables/gasp/gasp_setting_dialog.cpp
  ${PROJECT_SOURCE_DIR}/tables/hhea/hhea_pane.cpp
  ${PROJECT_SOURCE_DIR}/tables/hhea/line_preview.cpp
  ${PROJECT_SOURCE_DIR}/tables/hhea/line_stacking.cpp
  ${PROJECT_SOURCE_DIR}/tables/name/name_edit_dialog.cpp
  ${PROJECT_SOURCE_DIR}/tables/name/name_pane.cpp
  ${PROJECT_SOURCE_DIR}/tables/name/name_replace_dialog.cpp
  ${PROJECT_SOURCE_DIR}/tables/os2/os2_pane.cpp)
target_link_libraries(fontab_app PUBLIC fontab_win)
# windres finds the icons and the included dialogs beside fontab.rc.
target_include_directories(fontab_app PUBLIC $<$<COMPILE_LANGUAGE:RC>:${PROJECT_SOURCE_DIR}/res>)

set(FONTAB_RESOURCE_FILES
  ${PROJECT_SOURCE_DIR}/res/fontab.ico
  ${PROJECT_SOURCE_DIR}/res/file.ico
  ${PROJECT_SOURCE_DIR}/res/fontab.manifest
  ${PROJECT_SOURCE_DIR}/res/gasp_setting_dialog.rc
  ${PROJECT_SOURCE_DIR}/res/name_edit_dialog.rc
  ${PROJECT_SOURCE_DIR}/res/name_replace_dialog.rc
  ${PROJECT_SOURCE_DIR}/res/table.ico)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/fontab.rc PROPERTIES
  OBJECT_DEPENDS "${FONTAB_RESOURCE_FILES}")

add_executable(fontab WIN32
  ${PROJECT_SOURCE_DIR}/app/win_main.cpp
  ${PROJECT_SOURCE_DIR}/res/fontab.rc)
target_link_libraries(fontab PRIVATE fontab_app)
