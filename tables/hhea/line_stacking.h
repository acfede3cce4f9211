// The line-spacing preview's two columns: the sample lines stacked as GDI
// programs stack them, and as DirectWrite and browsers do, each drawn from its
// baseline with the font Windows created from the preview's copy and clipped
// to its column.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

class OTF;

// One cell of tmHeight per line, tmExternalLeading between cells; each
// cell's top and bottom in red show what GDI cuts off.
void drawGdiLines(HDC dc, HFONT font, const RECT& column, const TEXTMETRICW& metrics,
                  const std::vector<std::wstring>& lines);

// Baselines ascender - descender + lineGap apart, of fontIndex's typo metrics
// while USE_TYPO_METRICS is set, else of its hhea, at pixelsPerEm; each
// line's ascender and descender in blue. Nothing without head or those metrics.
void drawDirectWriteLines(HDC dc, HFONT font, const RECT& column, const OTF& otf, size_t fontIndex,
                          int pixelsPerEm, const std::vector<std::wstring>& lines);
