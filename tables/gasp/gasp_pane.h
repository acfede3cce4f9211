// "gaspWindow": the editor pane of the gasp table, a list of its ranges in
// which a double-click on a row opens the range dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

constexpr char kGaspPaneClass[] = "gaspWindow";
constexpr int kGaspListId = 302;

// The pane's list view; there is one gasp pane at a time.
extern HWND hGaspList;

LRESULT CALLBACK gaspWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Rebuilds every row of the list from the ranges, in ascending order, with no
// row selected.
void fillGaspList(HWND list, const std::map<uint16_t, uint16_t>& ranges);
