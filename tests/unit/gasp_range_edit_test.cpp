#include "tables/gasp/gasp_range_edit.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;

TEST(GaspRangeValue, PackingKeepsBothHalves) {
    struct Case {
        uint16_t ppem;
        uint16_t behavior;
        uint32_t packed;
    };
    const Case cases[] = {
        {0, 0, 0x00000000},       {8, 0x0002, 0x00020008},      {0xFFFF, 0x0003, 0x0003FFFF},
        {14, 0x0001, 0x0001000E}, {0x1234, 0xFFFF, 0xFFFF1234}, {0xFFFF, 0xFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(packGaspRange(c.ppem, c.behavior), c.packed) << c.ppem;
        EXPECT_EQ(gaspRangePPEM(c.packed), c.ppem) << c.ppem;
        EXPECT_EQ(gaspRangeBehavior(c.packed), c.behavior) << c.ppem;
    }
}

TEST(GaspRangeValue, PointsAndPPEMConvert) {
    // ppem -> points, the whole part of ppem * 0.75.
    const std::pair<uint16_t, uint32_t> shown[] = {{0, 0}, {1, 0},  {2, 1},   {8, 6},
                                                   {9, 6}, {12, 9}, {16, 12}, {65534, 49150}};
    for (auto [ppem, points] : shown)
        EXPECT_EQ(gaspPPEMToPoints(ppem), points) << ppem;
    // points -> ppem, points * 4 / 3 rounded up.
    const std::pair<uint32_t, uint64_t> typed[] = {{1, 2},         {3, 4},         {9, 12},
                                                   {10, 14},       {11, 15},       {49150, 65534},
                                                   {49151, 65535}, {49152, 65536}, {65534, 87379}};
    for (auto [points, ppem] : typed)
        EXPECT_EQ(gaspPointsToPPEM(points), ppem) << points;
    // No overflow for the largest number a dialog can hand over.
    EXPECT_EQ(gaspPointsToPPEM(0xFFFFFFFF), 5726623060ULL);
}

TEST(GaspRangeValue, PointsShownForAPPEMFromPointsAreThePointsTyped) {
    for (uint32_t points = 1; points <= 49150; ++points) {
        uint64_t ppem = gaspPointsToPPEM(points);
        ASSERT_LT(ppem, kGaspLastRange) << points;
        ASSERT_EQ(gaspPPEMToPoints(static_cast<uint16_t>(ppem)), points) << points;
    }
}

TEST(GaspTypedSize, AcceptsAndRefuses) {
    struct Case {
        uint32_t typed;
        bool inPoints;
        uint16_t initial;
        std::optional<uint16_t> limit;
    };
    const Case cases[] = {
        {1, false, 8, 1},
        {14, false, 8, 14},
        {65534, false, 8, 65534},
        {65535, false, 8, std::nullopt},
        {65536, false, 8, std::nullopt},
        {0xFFFFFFFF, false, 8, std::nullopt},
        {0, false, 8, std::nullopt},
        {10, true, 8, 14},
        {9, true, 8, 12},
        {11, true, 8, 15},
        {0, true, 8, std::nullopt},
        {49150, true, 8, 65534},
        // Would give the marker of the last range or need more than 16 bits.
        {49151, true, 8, std::nullopt},
        {49152, true, 8, std::nullopt},
        {65534, true, 8, std::nullopt},
        {65535, true, 8, std::nullopt},
        // The last range keeps its limit; its "∞" text reads as 0.
        {0, false, kGaspLastRange, kGaspLastRange},
        {12, false, kGaspLastRange, kGaspLastRange},
        {65535, false, kGaspLastRange, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gaspLimitFromTyped(c.typed, c.inPoints, c.initial), c.limit)
            << c.typed << (c.inPoints ? " pt" : " ppem") << " from " << c.initial;
}

TEST(GaspRangeReplace, KeepsTheBitsTheDialogDoesNotShow) {
    struct Case {
        uint16_t old;
        uint16_t dialog;
        uint16_t edited;
    };
    const Case cases[] = {
        {0x0000, 0x0003, 0x0003}, {0x000F, 0x0000, 0x000C}, {0x000C, 0x0001, 0x000D},
        {0xFFFF, 0x0002, 0xFFFE}, {0x0003, 0x0002, 0x0002}, {0x0004, 0xFFFF, 0x0007},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gaspEditedBehavior(c.old, c.dialog), c.edited) << c.old << " " << c.dialog;
}

TEST(GaspRangeReplace, ReplacesOneEntryByOne) {
    const Ranges before = {{8, 0x2}, {16, 0x7}, {kGaspLastRange, 0xF}};
    struct Case {
        const char* name;
        uint16_t oldPPEM;
        uint32_t confirmed;
        GaspEditResult result;
        Ranges after;
    };
    const std::vector<Case> cases = {
        {"flags only",
         8,
         packGaspRange(8, 0x1),
         GaspEditResult::replaced,
         {{8, 0x1}, {16, 0x7}, {kGaspLastRange, 0xF}}},
        {"unchanged", 16, packGaspRange(16, 0x3), GaspEditResult::replaced, before},
        {"moves past another",
         8,
         packGaspRange(20, 0x2),
         GaspEditResult::replaced,
         {{16, 0x7}, {20, 0x2}, {kGaspLastRange, 0xF}}},
        {"keeps bits 2 and 3",
         16,
         packGaspRange(9, 0x0),
         GaspEditResult::replaced,
         {{8, 0x2}, {9, 0x4}, {kGaspLastRange, 0xF}}},
        {"last range",
         kGaspLastRange,
         packGaspRange(kGaspLastRange, 0x2),
         GaspEditResult::replaced,
         {{8, 0x2}, {16, 0x7}, {kGaspLastRange, 0xE}}},
        {"duplicate", 8, packGaspRange(16, 0x3), GaspEditResult::duplicate, before},
        {"duplicate of the last", 16, packGaspRange(kGaspLastRange, 0x3), GaspEditResult::duplicate,
         before},
        {"missing", 9, packGaspRange(10, 0x3), GaspEditResult::missing, before},
    };
    for (const Case& c : cases) {
        Ranges ranges = before;
        EXPECT_EQ(replaceGaspRange(ranges, c.oldPPEM, c.confirmed), c.result) << c.name;
        EXPECT_EQ(ranges, c.after) << c.name;
    }
}

} // namespace
