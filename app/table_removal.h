// Removing a table item: the refusal or the question, the table and the
// tables that need it taken out of its font (or of every font sharing it)
// and their items out of the tree.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Shows the tree's context menu of a table item at screen point at; true when
// its removal was chosen.
bool chooseFromTableMenu(HWND baseWindow, POINT at);

// Removes the table of item, a table item, after the question; a table a font
// cannot do without is refused with a box. Anything else changes nothing.
void removeTableItem(HWND baseWindow, HTREEITEM item);
