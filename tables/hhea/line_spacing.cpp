#include "tables/hhea/line_spacing.h"

#include "font/otf.h"
#include "font/table_tags.h"
#include "tables/head/font_header.h"
#include "tables/hhea/hhea_header.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_edit.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

constexpr int32_t kSignedMin = -32768, kSignedMax = 32767;
constexpr int32_t kUnsignedMin = 0, kUnsignedMax = 65535;

// Where font holds a metric: its table's object and the member, signed or not.
struct Slot {
    fontObject* table = nullptr;
    int16_t* signedValue = nullptr;
    uint16_t* unsignedValue = nullptr;
};

Slot slotOf(const OTF& otf, size_t font, LineMetric metric) {
    hheaHeader* hhea = otf.validTableOf<hheaHeader>(kHheaTag, font);
    OS2* os2 = otf.validTableOf<OS2>(kOS2Tag, font);
    auto inHhea = [hhea](int16_t hheaHeader::*member) {
        return hhea ? Slot{hhea, &(hhea->*member)} : Slot{};
    };
    auto inOS2 = [os2](int16_t OS2::*member) { return os2 ? Slot{os2, &(os2->*member)} : Slot{}; };
    auto inOS2Unsigned = [os2](uint16_t OS2::*member) {
        return os2 ? Slot{os2, nullptr, &(os2->*member)} : Slot{};
    };
    switch (metric) {
    case LineMetric::ascender:
        return inHhea(&hheaHeader::ascender);
    case LineMetric::descender:
        return inHhea(&hheaHeader::descender);
    case LineMetric::lineGap:
        return inHhea(&hheaHeader::lineGap);
    case LineMetric::sTypoAscender:
        return inOS2(&OS2::sTypoAscender);
    case LineMetric::sTypoDescender:
        return inOS2(&OS2::sTypoDescender);
    case LineMetric::sTypoLineGap:
        return inOS2(&OS2::sTypoLineGap);
    case LineMetric::usWinAscent:
        return inOS2Unsigned(&OS2::usWinAscent);
    case LineMetric::usWinDescent:
        return inOS2Unsigned(&OS2::usWinDescent);
    }
    return {};
}

// The fonts a stored value goes to: font alone, or every font of the file.
std::vector<size_t> targetFonts(const OTF& otf, size_t font, bool allFonts) {
    std::vector<size_t> fonts;
    for (size_t index = 0; index < otf.fonts.size(); ++index)
        if (allFonts || index == font)
            fonts.push_back(index);
    return fonts;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

const std::array<LineMetricField, kLineMetricCount> lineMetricFields = {{
    {LineMetric::ascender, "ascender", kSignedMin, kSignedMax},
    {LineMetric::descender, "descender", kSignedMin, kSignedMax},
    {LineMetric::lineGap, "lineGap", kSignedMin, kSignedMax},
    {LineMetric::sTypoAscender, "sTypoAscender", kSignedMin, kSignedMax},
    {LineMetric::sTypoDescender, "sTypoDescender", kSignedMin, kSignedMax},
    {LineMetric::sTypoLineGap, "sTypoLineGap", kSignedMin, kSignedMax},
    {LineMetric::usWinAscent, "usWinAscent", kUnsignedMin, kUnsignedMax},
    {LineMetric::usWinDescent, "usWinDescent", kUnsignedMin, kUnsignedMax},
}};

const LineMetricField& lineMetricField(LineMetric metric) {
    return *std::find_if(lineMetricFields.begin(), lineMetricFields.end(),
                         [metric](const LineMetricField& field) { return field.metric == metric; });
}

std::optional<int32_t> lineMetric(const OTF& otf, size_t font, LineMetric metric) {
    const Slot slot = slotOf(otf, font, metric);
    if (slot.signedValue != nullptr)
        return *slot.signedValue;
    if (slot.unsignedValue != nullptr)
        return *slot.unsignedValue;
    return std::nullopt;
}

std::optional<int32_t> parseLineMetric(const std::string& text, const LineMetricField& field) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const bool negative = begin < end && text[begin] == '-';
    if (begin < end && (text[begin] == '-' || text[begin] == '+'))
        ++begin;
    if (begin == end)
        return std::nullopt;
    // Digits past the widest range are refused before they could overflow.
    int64_t magnitude = 0;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9' || magnitude > kUnsignedMax)
            return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < field.minimum || value > field.maximum)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

size_t storeLineMetric(OTF& otf, size_t font, LineMetric metric, int32_t value, bool allFonts) {
    const LineMetricField& field = lineMetricField(metric);
    if (value < field.minimum || value > field.maximum)
        return 0;
    std::set<fontObject*> changed;
    size_t fonts = 0;
    for (size_t index : targetFonts(otf, font, allFonts)) {
        const Slot slot = slotOf(otf, index, metric);
        if (slot.table == nullptr)
            continue;
        ++fonts;
        if (!changed.insert(slot.table).second)
            continue; // a table shared with a font before this one
        if (slot.signedValue != nullptr)
            *slot.signedValue = static_cast<int16_t>(value);
        else
            *slot.unsignedValue = static_cast<uint16_t>(value);
    }
    return fonts;
}

std::optional<bool> useTypoMetrics(const OTF& otf, size_t font) {
    const OS2* os2 = otf.validTableOf<OS2>(kOS2Tag, font);
    return os2 ? std::optional<bool>(usesTypoMetrics(*os2)) : std::nullopt;
}

bool definesUseTypoMetrics(const OTF& otf, size_t font) {
    const OS2* os2 = otf.validTableOf<OS2>(kOS2Tag, font);
    return os2 != nullptr && definesUseTypoMetrics(*os2);
}

size_t storeUseTypoMetrics(OTF& otf, size_t font, bool on, bool allFonts) {
    std::set<OS2*> changed;
    size_t fonts = 0;
    for (size_t index : targetFonts(otf, font, allFonts)) {
        OS2* os2 = otf.validTableOf<OS2>(kOS2Tag, index);
        if (os2 == nullptr || !definesUseTypoMetrics(*os2))
            continue;
        ++fonts;
        if (changed.insert(os2).second)
            storeUseTypoMetrics(*os2, on);
    }
    return fonts;
}

const fontHeader* fontHeaderOf(const OTF& otf, size_t font) {
    return otf.validTableOf<fontHeader>(kHeadTag, font);
}

std::optional<int32_t> lineHeight(const OTF& otf, size_t font, LineHeight set) {
    auto value = [&](LineMetric metric) { return lineMetric(otf, font, metric); };
    if (set == LineHeight::win) {
        // usWinDescent counts down from the baseline: positive below it.
        auto ascent = value(LineMetric::usWinAscent), descent = value(LineMetric::usWinDescent);
        return ascent && descent ? std::optional<int32_t>(*ascent + *descent) : std::nullopt;
    }
    const bool hhea = set == LineHeight::hhea;
    auto ascent = value(hhea ? LineMetric::ascender : LineMetric::sTypoAscender);
    auto descent = value(hhea ? LineMetric::descender : LineMetric::sTypoDescender);
    auto gap = value(hhea ? LineMetric::lineGap : LineMetric::sTypoLineGap);
    return ascent && descent && gap ? std::optional<int32_t>(*ascent - *descent + *gap)
                                    : std::nullopt;
}

std::string lineHeightText(std::optional<int32_t> units, uint16_t unitsPerEm) {
    if (!units)
        return "";
    std::string text = std::to_string(*units);
    if (unitsPerEm == 0)
        return text;
    // Thousandths of an em rounded half away from zero, in integers, so
    // that every build shows the same digits.
    const int64_t magnitude = *units < 0 ? -int64_t{*units} : int64_t{*units};
    const int64_t thousandths = (magnitude * 2000 + unitsPerEm) / (2 * int64_t{unitsPerEm});
    char ems[40];
    std::snprintf(ems, sizeof ems, " (%s%lld.%03lld em)", *units < 0 && thousandths ? "-" : "",
                  static_cast<long long>(thousandths / 1000),
                  static_cast<long long>(thousandths % 1000));
    return text + ems;
}

bool winMetricsClipGlyphs(const OTF& otf, size_t font) {
    const fontHeader* head = fontHeaderOf(otf, font);
    const std::optional<int32_t> ascent = lineMetric(otf, font, LineMetric::usWinAscent);
    const std::optional<int32_t> descent = lineMetric(otf, font, LineMetric::usWinDescent);
    if (head == nullptr || !ascent || !descent)
        return false;
    return *ascent < head->yMax || *descent < -int32_t{head->yMin};
}
