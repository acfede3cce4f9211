// "fontabBaseWindow": the open font's tables in a tree on the left, the pane
// of the selected table on the right, and the splitter between them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>

constexpr char kBaseWindowClass[] = "fontabBaseWindow";

// The tables the tree lists, in the order it lists them; the entries at
// kOS2TagIndex and kGaspTagIndex have editor panes.
extern const std::array<const char*, 34> tableTags;
constexpr size_t kOS2TagIndex = 6;
constexpr size_t kGaspTagIndex = 26;

extern HWND hTreeView;
extern HWND hPane;
extern HIMAGELIST hImageList;
extern int32_t splitPos;
extern int32_t clientWidth;
extern int32_t clientHeight;

// Registers the class; 0 when it is already registered or cannot be.
ATOM registerBaseWindowClass();

LRESULT CALLBACK baseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Lists the open font's known tables under the file name of path.
void fillTableTree(HWND tree, const char* path);

// Replaces the pane in slot by a new one for the item text: an editor for
// "gasp" and "OS/2" when the open font has that table, the placeholder else.
void createTablePane(HWND parent, HWND& slot, const char* text);

// The window class of the pane that createTablePane makes for text.
const char* paneClassFor(const char* text);

// Empties the tree and puts the placeholder pane in place: nothing shown may
// refer to a font that is about to go.
void clearTableBrowser(HWND baseWindow);

// The last component of an ANSI path: the position after its last ':', '\'
// or '/', never inside a double-byte character.
const char* fileNamePart(const char* path);

// Moves the tree and the pane to their places beside the splitter.
void layOutPanes();
