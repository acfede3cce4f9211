// "nameWindow": the editor pane of the name table, a list of every record in
// file order; Enter or a double-click on an editable record opens the edit
// dialog, and a button opens the replacement over the family names.
#pragma once

#include "tables/name/naming_table.h"

#include <windows.h>

constexpr char kNamePaneClass[] = "nameWindow";
constexpr int kNameListId = 303;
constexpr int kNameReplaceButtonId = 304;

// The pane's wide list view and its button; there is one name pane at a time.
extern HWND hNameList;
extern HWND hNameReplaceButton;

LRESULT CALLBACK nameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Rebuilds every row of the list from the table, one per record in order.
void fillNameList(HWND list, const NamingTable& table);
