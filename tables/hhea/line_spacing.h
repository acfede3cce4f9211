// Line spacing: the three sets of vertical metrics that decide it, edited
// side by side. hhea's ascender, descender and lineGap; OS/2's typo metrics
// with USE_TYPO_METRICS; OS/2's win metrics; and head's em size and bounding
// box for reference. What the line-spacing pane shows of the open font and
// stores into it, free of windows.h, so the pane and the tests call the
// same functions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class OTF;
class fontHeader;

enum class LineMetric {
    ascender,
    descender,
    lineGap,
    sTypoAscender,
    sTypoDescender,
    sTypoLineGap,
    usWinAscent,
    usWinDescent,
};

struct LineMetricField {
    LineMetric metric;
    const char* name; // the field's OpenType name
    int32_t minimum, maximum;
};

constexpr size_t kLineMetricCount = 8;
// Every metric, in the order the pane shows them.
extern const std::array<LineMetricField, kLineMetricCount> lineMetricFields;
const LineMetricField& lineMetricField(LineMetric metric);

// font's value of metric; nothing when that font's table has no object to edit.
std::optional<int32_t> lineMetric(const OTF& otf, size_t font, LineMetric metric);

// What a typed text stores: a whole decimal number, signed or not, blanks
// around it allowed, within the field's range; nothing for anything else.
std::optional<int32_t> parseLineMetric(const std::string& text, const LineMetricField& field);

// Stores value into font's table or, with allFonts, into that table of every
// font of the file; a table that several fonts share is changed once.
// Returns how many fonts hold the value now: 0 when none has an object for
// the table, or the value is outside the field's range.
size_t storeLineMetric(OTF& otf, size_t font, LineMetric metric, int32_t value, bool allFonts);

// USE_TYPO_METRICS of font's OS/2: nothing when it has no OS/2 object.
std::optional<bool> useTypoMetrics(const OTF& otf, size_t font);
// Whether font's OS/2 has an object whose version defines the bit.
bool definesUseTypoMetrics(const OTF& otf, size_t font);
// Sets or clears the bit like storeLineMetric stores a value, in the fonts
// whose OS/2 defines it; returns how many fonts hold it now.
size_t storeUseTypoMetrics(OTF& otf, size_t font, bool on, bool allFonts);

// font's head, when it has an object; null otherwise.
const fontHeader* fontHeaderOf(const OTF& otf, size_t font);

// The height of a line in font units, by each set: ascender - descender +
// lineGap of hhea, the same of the typo metrics, usWinAscent + usWinDescent.
// Nothing when its table has no object.
enum class LineHeight { hhea, typo, win };
constexpr size_t kLineHeightCount = 3;
std::optional<int32_t> lineHeight(const OTF& otf, size_t font, LineHeight set);

// "2560 (1.250 em)": units and ems to three decimals; the units alone when
// the em size is unknown (0); empty for no height.
std::string lineHeightText(std::optional<int32_t> units, uint16_t unitsPerEm);

// Whether Windows would cut glyphs off: usWinAscent below head.yMax, or
// usWinDescent below -head.yMin. False without an OS/2 or head object.
bool winMetricsClipGlyphs(const OTF& otf, size_t font);
