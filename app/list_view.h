// The one shape of the panes' report lists (the gasp ranges, the name
// records): a list view with grid lines, full-row selection and fixed
// columns, filled row by row with UTF-8 texts or wide ones.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

struct ListColumn {
    const char* title;
    int width;
};

// A report list of id in pane, style added to the common one.
HWND createListView(HWND pane, int id, DWORD style, const ListColumn* columns, size_t count);

// The cell's text; column 0 with insert set adds the row.
void setListCell(HWND list, int row, int column, const std::wstring& text, bool insert = false);
void setListCell(HWND list, int row, int column, const std::string& text, bool insert = false);
