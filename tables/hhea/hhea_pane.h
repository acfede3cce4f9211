// "hheaWindow": the line-spacing pane. hhea's ascender, descender and
// lineGap, OS/2's typo and win metrics and USE_TYPO_METRICS are edited side
// by side, with head's em size and bounding box for reference, the three
// line heights they give, and a warning while Windows would cut glyphs off.
// A typed value is stored when its field is left; in a collection it can go
// to every font at once.
#pragma once

#include "tables/hhea/line_spacing.h"

#include <windows.h>

#include <array>
#include <cstddef>

constexpr char kHheaPaneClass[] = "hheaWindow";

// One line-spacing pane exists at a time, so its state is program-wide.
// The fields, in the order of lineMetricFields.
extern std::array<HWND, kLineMetricCount> hMetricEdits;
extern HWND hUseTypoMetricsBox;
extern HWND hAllFontsBox; // "全てのフォントに適用"; null outside a collection
extern HWND hUnitsPerEmText;
extern HWND hYMaxText;
extern HWND hYMinText;
extern std::array<HWND, kLineHeightCount> hLineHeightTexts; // hhea, typo, win
extern HWND hClipWarning;

LRESULT CALLBACK hheaWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
