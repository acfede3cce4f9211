// The two table models, the range edit's arithmetic and the value names.
#include "tables/gasp/gasp_range_edit.h"
#include "tables/os2/os2.h"
#include "tables/os2/value_names.h"
#include "tests/support/sfnt_builder.h"

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
    Bytes claims5 = gaspTable(1, {{8, 2}, {0xFFFF, 3}}), claims65535 = claims5;
    putU16(claims5, 2, 5);
    putU16(claims65535, 2, 65535);
    struct Case {
        const char* name;
        Bytes table;
        size_t span;
        Ranges ranges;
        size_t bytesRead;
    } cases[] = {
        {"no ranges", gaspTable(1, {}), 4, {}, 4},
        {"span longer than the table", three, 24, {{8, 2}, {16, 1}, {0xFFFF, 3}}, 16},
        {"duplicate keeps the last",
         gaspTable(1, {{8, 2}, {16, 1}, {8, 3}, {0xFFFF, 7}}),
         20,
         {{8, 3}, {16, 1}, {0xFFFF, 7}},
         20},
        {"unsorted",
         gaspTable(0, {{0xFFFF, 3}, {16, 1}, {8, 0xFFF2}}),
         16,
         {{8, 0xFFF2}, {16, 1}, {0xFFFF, 3}},
         16},
        {"numRanges past the span", claims5, 12, {{8, 2}, {0xFFFF, 3}}, 12},
        {"numRanges 65535", claims65535, 12, {{8, 2}, {0xFFFF, 3}}, 12},
        {"span cut one byte short of a record", three, 11, {{8, 2}}, 8},
        {"span ending at a record", three, 12, {{8, 2}, {16, 1}}, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = c.table;
        image.resize(std::max(image.size(), c.span), 0x5A);
        gaspHeader gasp(image.data(), c.span);
        EXPECT_TRUE(gasp.valid);
        EXPECT_EQ(gasp.numRanges, getU16(c.table, 2));
        EXPECT_EQ(gasp.ranges, c.ranges);
        EXPECT_EQ(gasp.bytesRead(), c.bytesRead);
        // The header as read, then the ranges; a slot left over by a duplicate stays.
        Bytes expected = gaspTable(getU16(c.table, 0), {c.ranges.begin(), c.ranges.end()});
        putU16(expected, 2, gasp.numRanges);
        expected.resize(c.bytesRead, kCanvas);
        EXPECT_EQ(written(gasp, c.span, true), canvasWith(expected, c.span));
    }
}

TEST(Gasp, WritesNothingIntoASpanShorterThanItReadOrWithMoreRangesThanItRead) {
    const Bytes table = gaspTable(0, {{8, 2}, {0xFFFF, 3}});
    gaspHeader cut(table.data(), 3);
    EXPECT_FALSE(cut.valid);
    EXPECT_EQ(written(cut, 3, false), canvasWith({}, 3));
    gaspHeader gasp(table.data(), 12);
    EXPECT_EQ(written(gasp, 11, false), canvasWith({}, 11));
    EXPECT_EQ(written(gasp, 12, true), canvasWith(table, 12));
    gasp.ranges[20] = 1;
    EXPECT_EQ(written(gasp, 12, false), canvasWith({}, 12));
}

TEST(GaspEdit, TypedSizesAreCheckedAtEveryBound) {
    struct Case {
        uint32_t typed;
        bool inPoints;
        uint16_t initial;
        std::optional<uint16_t> limit;
    } cases[] = {
        {1, false, 8, 1},
        {0, false, 8, std::nullopt},
        {65534, false, 8, 65534},
        {65535, false, 8, std::nullopt},
        {0xFFFFFFFF, false, 8, std::nullopt},
        {1, true, 8, 2},
        {0, true, 8, std::nullopt},
        {10, true, 8, 14},
        {49150, true, 8, 65534},
        {49151, true, 8, std::nullopt}, // would give the last range's 65535
        {65534, true, 8, std::nullopt},
        // The last range keeps its limit; its "∞" text reads as 0.
        {0, false, kGaspLastRange, kGaspLastRange},
        {65534, true, kGaspLastRange, kGaspLastRange},
        {65535, false, kGaspLastRange, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gaspLimitFromTyped(c.typed, c.inPoints, c.initial), c.limit)
            << c.typed << (c.inPoints ? " pt" : " ppem") << " from " << c.initial;
    EXPECT_EQ(gaspPPEMToPoints(65535), 49151u);
    // The list shows the points typed again for every ppem they give.
    for (uint32_t points = 1; points <= 49150; ++points)
        ASSERT_EQ(gaspPPEMToPoints(static_cast<uint16_t>(gaspPointsToPPEM(points))), points);
}

TEST(GaspEdit, ReplacesOneRangeKeepingTheBitsTheDialogDoesNotShow) {
    const Ranges before = {{8, 0x2}, {16, 0x8005}, {kGaspLastRange, 0xF}};
    struct Case {
        const char* name;
        uint16_t oldPPEM, newPPEM, dialogBits;
        GaspEditResult result;
        Ranges after;
    } cases[] = {
        {"unchanged", 16, 16, 0x1, GaspEditResult::replaced, before},
        {"moved, bits 2 to 15 kept",
         16,
         9,
         0x0,
         GaspEditResult::replaced,
         {{8, 0x2}, {9, 0x8004}, {kGaspLastRange, 0xF}}},
        {"bits 2 to 15 not taken from the dialog",
         kGaspLastRange,
         kGaspLastRange,
         0xFFF2,
         GaspEditResult::replaced,
         {{8, 0x2}, {16, 0x8005}, {kGaspLastRange, 0xE}}},
        {"duplicate", 8, 16, 0x3, GaspEditResult::duplicate, before},
        {"duplicate of the last", 16, kGaspLastRange, 0x3, GaspEditResult::duplicate, before},
        {"missing", 9, 10, 0x3, GaspEditResult::missing, before},
    };
    for (const Case& c : cases) {
        Ranges ranges = before;
        EXPECT_EQ(replaceGaspRange(ranges, c.oldPPEM, packGaspRange(c.newPPEM, c.dialogBits)),
                  c.result)
            << c.name;
        EXPECT_EQ(ranges, c.after) << c.name;
    }
}

TEST(OS2, EachVersionReadsAndWritesExactlyItsOwnSizeAndRefusesOneByteLess) {
    const size_t sizes[] = {78, 86, 96, 96, 96, 100};
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        const size_t size = sizes[version];
        Bytes table = os2Table(version, size + 10);
        OS2 os2(table.data(), table.size());
        ASSERT_TRUE(os2.valid);
        EXPECT_EQ(os2.usWeightClass + 0, 400);
        EXPECT_EQ(os2.usWidthClass + 0, 5);
        EXPECT_EQ(os2.panose[kPanoseWeightIndex] + 0, 5);
        os2.usWeightClass = 700;
        os2.usWidthClass = 3;
        os2.panose[kPanoseWeightIndex] = 8;
        putU16(table, kOS2WeightAt, 700);
        putU16(table, kOS2WidthAt, 3);
        table[kOS2PanoseAt + kPanoseWeightIndex] = 8;
        EXPECT_EQ(written(os2, size + 10, true),
                  canvasWith({table.begin(), table.begin() + size}, size + 10));
        EXPECT_EQ(written(os2, size, true),
                  canvasWith({table.begin(), table.begin() + size}, size));
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
    uint8_t one = 0;
    OS2 empty(&one, 1);
    EXPECT_FALSE(empty.valid);
}

TEST(ValueNames, FirstLastAndOnePastOfEveryTable) {
    buildValueNameTables();
    buildValueNameTables(); // a second build changes nothing
    const std::pair<uint16_t, const char*> weights[] = {
        {99, nullptr},  {100, "Thin"},  {150, nullptr}, {400, "Regular"},
        {900, "Black"}, {901, nullptr}, {1000, nullptr}};
    for (auto [value, name] : weights)
        EXPECT_STREQ(weightClassName(value), name) << value;
    const std::pair<uint16_t, const char*> widths[] = {
        {0, nullptr}, {1, "Ultra-condensed"}, {5, "Medium"}, {9, "Ultra-expanded"}, {10, nullptr}};
    for (auto [value, name] : widths)
        EXPECT_STREQ(widthClassName(value), name) << value;
    EXPECT_EQ(panoseWeightNames.size(), 12u);
    EXPECT_STREQ(panoseWeightNames.at(0), "Any");
    EXPECT_STREQ(panoseWeightNames.at(11), "Nord");
    EXPECT_EQ(panoseWeightNames.count(12), 0u);
    ASSERT_EQ(fsTypeUsageNames.size(), 5u);
    // The interface text is Shift-JIS: 表 is 0x95 0x5C.
    EXPECT_EQ(std::string(fsTypeUsageNames[1].name).substr(0, 2), "\x95\x5C");
    EXPECT_EQ(fsTypeUsageNames.front().value, 2);
    EXPECT_EQ(fsTypeUsageNames.back().value, 0);
    EXPECT_EQ(fsTypeOptionNames.back().value, 0x0200);
}
