#include "tables/gasp/gasp_header.h"
#include "tests/support/sfnt_builder.h"
#include "tests/unit/written_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;
using Records = std::vector<std::pair<uint16_t, uint16_t>>;

// A table claiming numRanges records, followed by the given records only.
Bytes gaspClaiming(uint16_t version, uint16_t numRanges, const Records& records) {
    Bytes bytes = gaspTable(version, records);
    putU16(bytes, 2, numRanges);
    return bytes;
}

// What writeTable should write: the header, then the records.
std::vector<int> expectedWrite(uint16_t version, uint16_t numRanges, const Records& records,
                               size_t span) {
    return writtenAsOnly(gaspClaiming(version, numRanges, records), span);
}

struct ParseCase {
    const char* name;
    Bytes table;
    size_t span;
    // What the object must hold.
    uint8_t valid;
    uint16_t version;
    uint16_t numRanges;
    Ranges ranges;
    size_t bytesRead;
    // The records an unedited write-out writes after the header.
    Records written;
};

std::vector<ParseCase> parseCases() {
    Bytes threeRecords = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    return {
        {"no ranges", gaspTable(1, {}), 4, 1, 1, 0, {}, 4, {}},
        {"no ranges, span longer than the table", gaspTable(0, {}), 12, 1, 0, 0, {}, 4, {}},
        {"well formed",
         threeRecords,
         16,
         1,
         1,
         3,
         {{8, 2}, {16, 1}, {0xFFFF, 3}},
         16,
         {{8, 2}, {16, 1}, {0xFFFF, 3}}},
        {"duplicate size keeps the last behaviour",
         gaspTable(1, {{8, 2}, {16, 1}, {8, 3}, {0xFFFF, 7}}),
         20,
         1,
         1,
         4,
         {{8, 3}, {16, 1}, {0xFFFF, 7}},
         20,
         {{8, 3}, {16, 1}, {0xFFFF, 7}}},
        {"out of order comes back sorted",
         gaspTable(0, {{0xFFFF, 3}, {16, 1}, {8, 2}}),
         16,
         1,
         0,
         3,
         {{8, 2}, {16, 1}, {0xFFFF, 3}},
         16,
         {{8, 2}, {16, 1}, {0xFFFF, 3}}},
        {"numRanges larger than the span",
         gaspClaiming(1, 5, {{8, 2}, {0xFFFF, 3}}),
         12,
         1,
         1,
         5,
         {{8, 2}, {0xFFFF, 3}},
         12,
         {{8, 2}, {0xFFFF, 3}}},
        {"numRanges 65535 over two records",
         gaspClaiming(1, 0xFFFF, {{9, 1}, {0xFFFF, 2}}),
         12,
         1,
         1,
         0xFFFF,
         {{9, 1}, {0xFFFF, 2}},
         12,
         {{9, 1}, {0xFFFF, 2}}},
        {"span cut in the middle of a record",
         threeRecords,
         4 + 4 + 2,
         1,
         1,
         3,
         {{8, 2}},
         8,
         {{8, 2}}},
        {"span cut inside the first record", threeRecords, 7, 1, 1, 3, {}, 4, {}},
        {"behaviour bits beyond 0 and 1 are kept",
         gaspTable(1, {{6, 0x000F}, {12, 0x8001}, {0xFFFF, 0xFFFE}}),
         16,
         1,
         1,
         3,
         {{6, 0x000F}, {12, 0x8001}, {0xFFFF, 0xFFFE}},
         16,
         {{6, 0x000F}, {12, 0x8001}, {0xFFFF, 0xFFFE}}},
        {"unknown version is kept",
         gaspTable(0xBEEF, {{0, 0}, {0xFFFF, 1}}),
         12,
         1,
         0xBEEF,
         2,
         {{0, 0}, {0xFFFF, 1}},
         12,
         {{0, 0}, {0xFFFF, 1}}},
    };
}

} // namespace

TEST(GaspHeader, ParsesAndWritesBackWithinWhatItRead) {
    for (const ParseCase& c : parseCases()) {
        SCOPED_TRACE(c.name);
        // The span may be longer than the table: pad with bytes of another table.
        Bytes image = c.table;
        image.resize(std::max(image.size(), c.span), 0x5A);
        gaspHeader gasp(image.data(), c.span);
        EXPECT_EQ(gasp.valid, c.valid);
        EXPECT_EQ(gasp.version, c.version);
        EXPECT_EQ(gasp.numRanges, c.numRanges);
        EXPECT_EQ(gasp.ranges, c.ranges);
        EXPECT_EQ(gasp.bytesRead(), c.bytesRead);

        EXPECT_EQ(writtenBytes(gasp, c.span, true),
                  expectedWrite(c.version, c.numRanges, c.written, c.span));
    }
}

TEST(GaspHeader, WellFormedTableComesBackByteForByte) {
    Bytes table = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    Bytes image = table;
    gaspHeader gasp(image.data(), image.size());
    ASSERT_TRUE(gasp.writeTable(image.data(), image.size()));
    EXPECT_EQ(image, table);
    // Writing again without an edit gives the same bytes.
    ASSERT_TRUE(gasp.writeTable(image.data(), image.size()));
    EXPECT_EQ(image, table);
}

TEST(GaspHeader, DuplicatesLeaveTheLastSlotsAsTheyWere) {
    Bytes table = gaspTable(1, {{8, 2}, {16, 1}, {8, 3}, {0xFFFF, 7}});
    Bytes image = table;
    gaspHeader gasp(image.data(), image.size());
    ASSERT_EQ(gasp.ranges.size(), 3u);
    ASSERT_TRUE(gasp.writeTable(image.data(), image.size()));
    // numRanges is still the count that was read.
    EXPECT_EQ(getU16(image, 2), 4);
    Records firstThree;
    for (size_t k = 0; k < 3; ++k)
        firstThree.emplace_back(getU16(image, 4 + 4 * k), getU16(image, 6 + 4 * k));
    EXPECT_EQ(firstThree, (Records{{8, 3}, {16, 1}, {0xFFFF, 7}}));
    // The fourth slot keeps the record that stood there.
    EXPECT_EQ(Bytes(image.begin() + 16, image.end()), Bytes(table.begin() + 16, table.end()));
}

TEST(GaspHeader, SpanShorterThanTheHeaderIsNotValidAndWritesNothing) {
    Bytes table = gaspTable(1, {{8, 2}, {0xFFFF, 3}});
    for (size_t span : {size_t{0}, size_t{1}, size_t{2}, size_t{3}}) {
        SCOPED_TRACE(span);
        gaspHeader gasp(table.data(), span);
        EXPECT_FALSE(gasp.valid);
        EXPECT_TRUE(gasp.ranges.empty());
        EXPECT_EQ(gasp.numRanges, 0);
        EXPECT_EQ(gasp.bytesRead(), 0u);
        EXPECT_EQ(writtenBytes(gasp, span, false), std::vector<int>(span + kGuardSize, kUntouched));
    }
}

TEST(GaspHeader, RefusesToWriteWhatCannotFitWhereItWasRead) {
    Bytes table = gaspTable(0, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    {
        SCOPED_TRACE("span shorter than the bytes read");
        gaspHeader gasp(table.data(), table.size());
        EXPECT_EQ(writtenBytes(gasp, table.size() - 1, false),
                  std::vector<int>(table.size() - 1 + kGuardSize, kUntouched));
    }
    {
        SCOPED_TRACE("more ranges than records read");
        gaspHeader gasp(table.data(), table.size());
        gasp.ranges[20] = 1;
        EXPECT_EQ(writtenBytes(gasp, table.size(), false),
                  std::vector<int>(table.size() + kGuardSize, kUntouched));
    }
}

TEST(GaspHeader, EditedRangeIsWrittenSortedInTheSameBytes) {
    struct Edit {
        const char* name;
        uint16_t oldLimit;
        uint16_t newLimit;
        uint16_t behaviour;
        Records expected;
    } edits[] = {
        {"limit and flags in place", 16, 20, GASP_GRIDFIT, {{8, 2}, {20, 1}, {0xFFFF, 3}}},
        {"limit moves past another range",
         8,
         30,
         GASP_DOGRAY | GASP_GRIDFIT,
         {{16, 1}, {30, 3}, {0xFFFF, 3}}},
        {"flags only", 0xFFFF, 0xFFFF, 0, {{8, 2}, {16, 1}, {0xFFFF, 0}}},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        Bytes image = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
        image.resize(image.size() + kGuardSize, 0xA5);
        const size_t span = image.size() - kGuardSize;
        gaspHeader gasp(image.data(), span);
        ASSERT_EQ(gasp.ranges.count(e.oldLimit), 1u);
        gasp.ranges.erase(e.oldLimit);
        gasp.ranges[e.newLimit] = e.behaviour;
        ASSERT_TRUE(gasp.writeTable(image.data(), span));
        Bytes expected = gaspTable(1, e.expected);
        expected.resize(expected.size() + kGuardSize, 0xA5);
        EXPECT_EQ(image, expected);
    }
}
