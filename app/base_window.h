// "fontabBaseWindow": the open font's tables in a tree on the left, the pane
// of the selected table on the right, and the splitter between them.
#pragma once

#include "app/main_window.h"
#include "font/path_parts.h"
#include "font/table_tags.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr char kBaseWindowClass[] = "fontabBaseWindow";

extern HWND hTreeView;
extern HWND hPane;
extern int32_t splitPos;
extern int32_t clientWidth;
extern int32_t clientHeight;
// The font of the selected tree item, counted from 0: the font whose tables
// the pane shows. Always 0 for a file that is not a collection.
extern size_t paneFont;

// The open font's table of tag in the pane's font, when it is a valid T.
template <class T> T* paneTable(const char* tag) {
    return otf ? otf->validTableOf<T>(tag, paneFont) : nullptr;
}

// Sent to the pane before anything reads the open font's values (a write-out,
// another item, another file, quitting): a pane holding a typed value that it
// has not stored yet stores it, as if the field had been left.
constexpr UINT kMsgStorePaneEdits = WM_APP + 1;
void storePaneEdits();

// Registers the class; 0 when it is already registered or cannot be.
ATOM registerBaseWindowClass();

LRESULT CALLBACK baseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Lists the open font's known tables under the file name of path; in a
// collection, under one item per font.
void fillTableTree(HWND tree, const wchar_t* path);

// Replaces the pane in slot by a new one for the item text: the tag's editor
// when paneFont has that table, the placeholder else.
void createTablePane(HWND parent, HWND& slot, const char* text);

// The window class of the pane that createTablePane makes for text.
const char* paneClassFor(const char* text);

// A collection's font item: "N: NAME", or "N" for a font without a name.
std::wstring fontItemText(size_t font, const std::u16string& name);

// A table item: below the root of a single font, below a font item of a
// collection. Only table items can be removed.
bool isTableItem(HTREEITEM item);
// An item's text, and the font it belongs to (0 in a single font).
std::string treeItemText(HTREEITEM item);
size_t treeItemFont(HTREEITEM item);

// Deletes the items of every table its font no longer lists: a removal's
// items all leave at once.
void deleteRemovedTableItems();

// Gives each font item of a collection the font's full name as it stands
// now: after a rename, the tree shows the new names.
void renameFontItems();

// Empties the tree and puts the placeholder pane in place: nothing shown may
// refer to a font that is about to go.
void clearTableBrowser(HWND baseWindow);

// Moves the tree and the pane to their places beside the splitter.
void layOutPanes();
