// "linePreviewWindow": the line-spacing pane's preview. The pane's font as a
// write-out would write it now (tables/hhea/preview_copy.h) is handed to
// Windows under a private name, then its sample lines are drawn twice: as GDI
// and Word stack them (TEXTMETRIC, with the cell of each line), and as
// DirectWrite and browsers do (hhea, or typo with USE_TYPO_METRICS).
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

constexpr wchar_t kLinePreviewClass[] = L"linePreviewWindow";
constexpr int kLinePreviewWidth = 696;
constexpr int kLinePreviewHeight = 288;

// Windows' own numbers shown under the GDI column, in this order.
constexpr size_t kPreviewNumberCount = 5;
constexpr const wchar_t* kPreviewNumberNames[kPreviewNumberCount] = {
    L"tmAscent", L"tmDescent", L"tmInternalLeading", L"tmExternalLeading", L"tmHeight"};

// One preview exists at a time, inside the one line-spacing pane.
extern HWND hSampleEdit;      // the sample text, one line per line drawn
extern HWND hPreviewSizeList; // pixels per em; each item's data is its size
extern std::array<HWND, kPreviewNumberCount> hPreviewNumbers; // "tmAscent 32", ...
extern HWND hPreviewMessage; // shown, alone, when Windows refuses the font
extern HFONT hPreviewFont;   // the font Windows created from the copy; null while none

// Registers the class; 0 when it is already registered or cannot be.
ATOM registerLinePreviewClass();

// The preview of font (counted from 0) in pane, its top left at x, y.
HWND createLinePreview(HWND pane, size_t font, int x, int y);

// The font changed (a stored value, USE_TYPO_METRICS, the fonts it goes to):
// the copy is made again at the next paint, which typing always precedes,
// and its font is drawn at a paint after that.
void refreshLinePreview();
// Whether a change is not drawn yet: a copy or a font still to be made.
bool linePreviewPending();

LRESULT CALLBACK linePreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
