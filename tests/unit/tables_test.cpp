// The table models, the range edit's arithmetic and the line-spacing stores.
#include "font/otf.h"
#include "font/table_models.h"
#include "tables/gasp/gasp_range_edit.h"
#include "tables/head/font_header.h"
#include "tables/hhea/hhea_header.h"
#include "tables/hhea/line_spacing.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;
constexpr uint8_t kCanvas = 0xA5;
constexpr size_t kPastSpan = 8;

// What writeTable leaves on a canvas that runs kPastSpan bytes past span.
Bytes written(fontObject& object, size_t span, bool result) {
    Bytes canvas(span + kPastSpan, kCanvas);
    EXPECT_EQ(object.writeTable(canvas.data(), span), result) << "span " << span;
    return canvas;
}

// The canvas when exactly bytes were written from the span's start.
Bytes canvasWith(const Bytes& bytes, size_t span) {
    Bytes canvas(span + kPastSpan, kCanvas);
    std::copy(bytes.begin(), bytes.end(), canvas.begin());
    return canvas;
}

} // namespace

TEST(Gasp, ReadsWholeRecordsWithinTheSpanAndWritesThemBackSorted) {
    const Bytes three = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    Bytes claims65535 = gaspTable(1, {{8, 2}, {0xFFFF, 3}});
    putU16(claims65535, 2, 65535);
    // clang-format off
    const std::tuple<Bytes, size_t, Ranges> cases[] = {
        {gaspTable(1, {}), 4, {}},
        {three, 24, {{8, 2}, {16, 1}, {0xFFFF, 3}}}, // the span runs past the table
        {gaspTable(1, {{8, 2}, {16, 1}, {8, 3}, {0xFFFF, 7}}), 20, {{8, 3}, {16, 1}, {0xFFFF, 7}}},
        {gaspTable(0, {{0xFFFF, 3}, {16, 1}, {8, 0xFFF2}}), 16, {{8, 0xFFF2}, {16, 1}, {0xFFFF, 3}}},
        {claims65535, 12, {{8, 2}, {0xFFFF, 3}}},
        {three, 11, {{8, 2}}}, // one byte short of the second record
        {three, 12, {{8, 2}, {16, 1}}},
    };
    // clang-format on
    for (const auto& [table, span, ranges] : cases) {
        Bytes image = table;
        image.resize(std::max(image.size(), span), 0x5A);
        gaspHeader gasp(image.data(), span);
        EXPECT_EQ(gasp.ranges, ranges) << span;
        // The header as read, then the ranges; a slot left over by a duplicate stays.
        Ranges edited = ranges;
        if (!edited.empty())
            edited.rbegin()->second ^= 0x100;
        gasp.ranges = edited;
        Bytes expected = gaspTable(getU16(table, 0), {edited.begin(), edited.end()});
        putU16(expected, 2, getU16(table, 2));
        EXPECT_EQ(written(gasp, span, true), canvasWith(expected, span)) << span;
    }
}

TEST(GaspEdit, TypedSizesAreCheckedAtEveryBound) {
    const std::optional<uint16_t> refused;
    // The range dialog's Wine cases take 0, 65534 and 65535 ppem and 10, 49150
    // and 49151 points; these are the bounds it does not reach.
    // clang-format off
    const std::tuple<uint32_t, bool, uint16_t, std::optional<uint16_t>> cases[] = {
        {1, false, 8, 1}, {0xFFFFFFFF, false, 8, refused}, {1, true, 8, 2}, {0, true, 8, refused},
        {65534, true, 8, refused}, // the last range's 65535 or more
        // The last range keeps its limit; its "∞" text reads as 0.
        {0, false, 0xFFFF, 0xFFFF}, {65534, true, 0xFFFF, 0xFFFF}, {65535, false, 0xFFFF, refused},
    };
    // clang-format on
    for (const auto& [typed, inPoints, initial, limit] : cases)
        EXPECT_EQ(gaspLimitFromTyped(typed, inPoints, initial), limit)
            << typed << (inPoints ? " pt" : " ppem") << " from " << initial;
    EXPECT_EQ(gaspPPEMToPoints(65535), 49151u);
    // The list shows the points typed again for every ppem they give.
    for (uint32_t points = 1; points <= 49150; ++points)
        ASSERT_EQ(gaspPPEMToPoints(static_cast<uint16_t>(gaspPointsToPPEM(points))), points);
}

TEST(OS2, EachVersionReadsAndWritesExactlyItsOwnSizeAndRefusesOneByteLess) {
    const size_t sizes[] = {78, 86, 96, 96, 96, 100};
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        const size_t size = sizes[version];
        Bytes table = os2Table(version, size + 10);
        OS2 os2(table.data(), table.size());
        ASSERT_TRUE(os2.valid); // written back as read: the replay of the valid-os2-v* inputs
        os2.usWeightClass = 700;
        os2.usWidthClass = 3;
        os2.panose[2] = 8; // bWeight
        putU16(table, kOS2WeightAt, 700);
        putU16(table, kOS2WidthAt, 3);
        table[kOS2PanoseWeightAt] = 8;
        const Bytes own(table.begin(), table.begin() + size);
        EXPECT_EQ(written(os2, size + 10, true), canvasWith(own, size + 10));
        EXPECT_EQ(written(os2, size, true), canvasWith(own, size));
        EXPECT_EQ(written(os2, size - 1, false), canvasWith({}, size - 1));

        OS2 cut(table.data(), size - 1);
        EXPECT_FALSE(cut.valid);
        EXPECT_EQ(cut.version, version);
        EXPECT_EQ(written(cut, size + 10, false), canvasWith({}, size + 10));
    }
    for (uint16_t version : {6, 0xFFFF}) {
        Bytes table = os2Table(version, 120);
        OS2 os2(table.data(), table.size());
        EXPECT_FALSE(os2.valid) << version;
        EXPECT_EQ(written(os2, 120, false), canvasWith({}, 120));
    }
}

// hhea and head get an object only for a table read whole, of major version 1.
TEST(HheaAndHead, AnObjectOnlyForTheWholeTableOfVersionOneHheaWrittenBackAsRead) {
    Bytes hhea = hheaTable(-32768, 32767, -1), hheaMinor = hhea, hheaMajor2 = hhea;
    putU16(hheaMinor, 2, 0x5000);
    putU16(hheaMajor2, 0, 2);
    Bytes head = headTable(), headMajor2 = head;
    putU16(head, 38, 0xFF38); // yMin -200
    putU16(head, 42, 1100);   // yMax
    putU16(headMajor2, 0, 2);
    // clang-format off
    const std::tuple<const char*, Bytes, size_t, bool> cases[] = {
        {"hhea", hhea, 36, true}, {"hhea", hhea, 35, false}, {"hhea", hheaMinor, 36, true},
        {"hhea", hheaMajor2, 36, false}, {"head", head, 54, true}, {"head", head, 53, false},
        {"head", headMajor2, 54, false}};
    // clang-format on
    for (const auto& [tag, table, span, made] : cases) {
        SCOPED_TRACE(testing::Message() << tag << " of " << span);
        std::unique_ptr<fontObject> object = tableModelFor(tag)->make(table.data(), span);
        ASSERT_EQ(object != nullptr, made);
        if (auto* header = dynamic_cast<fontHeader*>(object.get())) {
            EXPECT_EQ(std::tuple(header->unitsPerEm, header->yMin, header->yMax),
                      std::tuple(1000, -200, 1100));
            EXPECT_EQ(written(*header, span, false), canvasWith({}, span)) << "head writes nothing";
            EXPECT_EQ(header->writeExtent(), 0u);
        } else if (made) {
            EXPECT_EQ(written(*object, span + 4, true), canvasWith(table, span + 4));
            EXPECT_EQ(written(*object, 35, false), canvasWith({}, 35));
        }
    }
}

// Through the stores the pane calls: each field at its lowest and highest
// value, written out; one past either end refused, typed or stored. And
// USE_TYPO_METRICS set and cleared alone (version 3 has none: a Wine case).
TEST(LineSpacing, EveryFieldAtItsBoundsSurvivesAWriteOutAndOnePastIsRefused) {
    Bytes os2 = os2Table(4);
    putU16(os2, 62, 0xFF7F); // fsSelection: every bit but USE_TYPO_METRICS
    const Bytes font =
        SfntBuilder().table("hhea", hheaTable(800, -200, 0)).table("OS/2", os2).build();
    const size_t offsets[] = {4, 6, 8, 68, 70, 72, 74, 76}; // in hhea (record 0), then OS/2
    for (bool highest : {false, true}) {
        Bytes image = font;
        OTF otf(image.data(), image.size());
        std::vector<uint16_t> expected, got;
        for (size_t i = 0; i < std::size(offsets); ++i) {
            const LineMetricField& field = lineMetricFields[i];
            const int32_t value = i < 6 ? (highest ? 32767 : -32768) : (highest ? 65535 : 0);
            const int32_t past = highest ? value + 1 : value - 1;
            EXPECT_EQ(parseLineMetric(std::to_string(past), field), std::nullopt) << field.name;
            EXPECT_EQ(parseLineMetric(std::to_string(value), field), value) << field.name;
            EXPECT_EQ(storeLineMetric(otf, 0, field.metric, past, false), 0u) << field.name;
            EXPECT_EQ(storeLineMetric(otf, 0, field.metric, value, false), 1u) << field.name;
            expected.push_back(static_cast<uint16_t>(value));
        }
        EXPECT_EQ(storeUseTypoMetrics(otf, 0, highest, false), 1u);
        const Bytes out = writtenOut(otf, image);
        for (size_t i = 0; i < std::size(offsets); ++i)
            got.push_back(getU16(out, recordOffset(out, i < 3 ? 0 : 1) + offsets[i]));
        EXPECT_EQ(got, expected);
        EXPECT_EQ(getU16(out, recordOffset(out, 1) + 62), highest ? 0xFFFF : 0xFF7F);
    }
    const LineMetricField& signedField = lineMetricFields[0];
    for (const char* text : {" +12 ", "012"})
        EXPECT_EQ(parseLineMetric(text, signedField), 12) << text;
    for (const char* text : {"", " ", "-", "1.5", "0x10", "12a", "1 2", "\x82\x50", "99999999999"})
        EXPECT_EQ(parseLineMetric(text, signedField), std::nullopt) << text;
}

TEST(LineSpacing, LineHeightInUnitsAndEmsToThreeDecimalsRoundedHalfAwayFromZero) {
    // clang-format off
    const std::tuple<std::optional<int32_t>, uint16_t, const char*> cases[] = {
        {2560, 2048, "2560 (1.250 em)"}, {-1, 1000, "-1 (-0.001 em)"}, {1, 3000, "1 (0.000 em)"},
        {-1, 3000, "-1 (0.000 em)"}, {5, 10000, "5 (0.001 em)"}, {-5, 10000, "-5 (-0.001 em)"},
        {131070, 16, "131070 (8191.875 em)"}, {1000, 0, "1000"}, {std::nullopt, 1000, ""}};
    // clang-format on
    for (const auto& [units, unitsPerEm, text] : cases)
        EXPECT_EQ(lineHeightText(units, unitsPerEm), text);
}
