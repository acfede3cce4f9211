#include "tables/gasp/gasp_range_edit.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;

TEST(GaspRangeValue, PackingAndUnitsConvert) {
    for (auto [ppem, behavior] : {std::pair<uint16_t, uint16_t>{8, 0x0002}, {0xFFFF, 0xFFFF}}) {
        uint32_t packed = packGaspRange(ppem, behavior);
        EXPECT_EQ(packed, uint32_t{ppem} | uint32_t{behavior} << 16);
        EXPECT_EQ(gaspRangePPEM(packed), ppem);
        EXPECT_EQ(gaspRangeBehavior(packed), behavior);
    }
    EXPECT_EQ(gaspPPEMToPoints(9), 6u);
    EXPECT_EQ(gaspPPEMToPoints(65534), 49150u);
    EXPECT_EQ(gaspPointsToPPEM(10), 14u);
    EXPECT_EQ(gaspPointsToPPEM(49151), 65535u);
    EXPECT_EQ(gaspPointsToPPEM(0xFFFFFFFF), 5726623060ULL); // no overflow
    // The list shows the points typed again for every ppem they give.
    for (uint32_t points = 1; points <= 49150; ++points)
        ASSERT_EQ(gaspPPEMToPoints(static_cast<uint16_t>(gaspPointsToPPEM(points))), points);
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
        {65534, false, 8, 65534},
        {0, false, 8, std::nullopt},
        {65535, false, 8, std::nullopt},
        {0xFFFFFFFF, false, 8, std::nullopt},
        {10, true, 8, 14},
        {49150, true, 8, 65534},
        {0, true, 8, std::nullopt},
        {49151, true, 8, std::nullopt}, // the last range's marker
        {65534, true, 8, std::nullopt}, // more than 16 bits
        // The last range keeps its limit; its "∞" text reads as 0.
        {0, false, kGaspLastRange, kGaspLastRange},
        {12, true, kGaspLastRange, kGaspLastRange},
        {65535, false, kGaspLastRange, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gaspLimitFromTyped(c.typed, c.inPoints, c.initial), c.limit)
            << c.typed << (c.inPoints ? " pt" : " ppem") << " from " << c.initial;
}

TEST(GaspRangeReplace, ReplacesOneRangeKeepingTheBitsTheDialogDoesNotShow) {
    const Ranges before = {{8, 0x2}, {16, 0x7}, {kGaspLastRange, 0xF}};
    struct Case {
        const char* name;
        uint16_t oldPPEM;
        uint32_t confirmed;
        GaspEditResult result;
        Ranges after;
    };
    const Case cases[] = {
        {"unchanged", 16, packGaspRange(16, 0x3), GaspEditResult::replaced, before},
        {"moves, keeping bit 2",
         16,
         packGaspRange(9, 0x0),
         GaspEditResult::replaced,
         {{8, 0x2}, {9, 0x4}, {kGaspLastRange, 0xF}}},
        {"last range, only bits 0 and 1 taken",
         kGaspLastRange,
         packGaspRange(kGaspLastRange, 0xFFF2),
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
