#include "tables/hhea/line_stacking.h"

#include "tables/head/font_header.h"
#include "tables/hhea/line_spacing.h"

#include <cmath>
#include <optional>

namespace {

constexpr int kTextInset = 6;
constexpr COLORREF kCellColor = RGB(220, 0, 0);     // GDI's cell: what lies outside is cut
constexpr COLORREF kLineBoxColor = RGB(0, 90, 220); // the line box of hhea or typo
constexpr COLORREF kBaselineColor = RGB(170, 170, 170);

// The DC set up for one column, and set back as it was.
class ColumnDc {
  public:
    ColumnDc(HDC dc, HFONT font, const RECT& column) : dc_(dc), saved_(SaveDC(dc)) {
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        // Both columns draw from the baseline, so they compare glyph for glyph.
        SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        IntersectClipRect(dc, column.left, column.top, column.right, column.bottom);
    }
    ColumnDc(const ColumnDc&) = delete;
    ColumnDc& operator=(const ColumnDc&) = delete;
    ~ColumnDc() { RestoreDC(dc_, saved_); }

  private:
    HDC dc_;
    int saved_;
};

void drawRule(HDC dc, const RECT& column, int y, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, column.left, y, nullptr);
    LineTo(dc, column.right, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void drawLine(HDC dc, const RECT& column, int baseline, const std::wstring& line) {
    TextOutW(dc, column.left + kTextInset, baseline, line.c_str(), static_cast<int>(line.size()));
}

} // namespace

void drawGdiLines(HDC dc, HFONT font, const RECT& column, const TEXTMETRICW& metrics,
                  const std::vector<std::wstring>& lines) {
    const ColumnDc columnDc(dc, font, column);
    const int step = metrics.tmHeight + metrics.tmExternalLeading;
    for (size_t i = 0; i < lines.size() && step > 0; ++i) {
        const int top = column.top + static_cast<int>(i) * step;
        if (top >= column.bottom)
            break;
        const int baseline = top + metrics.tmAscent;
        drawRule(dc, column, baseline, kBaselineColor);
        drawRule(dc, column, top, kCellColor);
        drawRule(dc, column, top + metrics.tmHeight, kCellColor);
        drawLine(dc, column, baseline, lines[i]);
    }
}

void drawDirectWriteLines(HDC dc, HFONT font, const RECT& column, const OTF& otf, size_t fontIndex,
                          int pixelsPerEm, const std::vector<std::wstring>& lines) {
    const fontHeader* head = fontHeaderOf(otf, fontIndex);
    if (head == nullptr || head->unitsPerEm == 0)
        return;
    const bool typo = useTypoMetrics(otf, fontIndex).value_or(false);
    const auto metric = [&](LineMetric hhea, LineMetric os2) {
        return lineMetric(otf, fontIndex, typo ? os2 : hhea);
    };
    const std::optional<int32_t> ascender = metric(LineMetric::ascender, LineMetric::sTypoAscender);
    const std::optional<int32_t> descender =
        metric(LineMetric::descender, LineMetric::sTypoDescender);
    const std::optional<int32_t> height =
        lineHeight(otf, fontIndex, typo ? LineHeight::typo : LineHeight::hhea);
    if (!ascender || !descender || !height)
        return;
    const ColumnDc columnDc(dc, font, column);
    const double scale = static_cast<double>(pixelsPerEm) / head->unitsPerEm;
    for (size_t i = 0; i < lines.size(); ++i) {
        const double baseline = column.top + (*ascender + static_cast<double>(i) * *height) * scale;
        if (baseline - *ascender * scale >= column.bottom)
            break;
        const int y = static_cast<int>(std::lround(baseline));
        drawRule(dc, column, y, kBaselineColor);
        drawRule(dc, column, static_cast<int>(std::lround(baseline - *ascender * scale)),
                 kLineBoxColor);
        drawRule(dc, column, static_cast<int>(std::lround(baseline - *descender * scale)),
                 kLineBoxColor);
        drawLine(dc, column, y, lines[i]);
    }
}
