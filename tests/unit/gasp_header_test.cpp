#include "tables/gasp/gasp_header.h"
#include "tests/support/sfnt_builder.h"
#include "tests/unit/written_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;
using Records = std::vector<std::pair<uint16_t, uint16_t>>;

// A table whose header claims numRanges records, followed by records.
Bytes gaspClaiming(uint16_t version, uint16_t numRanges, const Records& records) {
    Bytes bytes = gaspTable(version, records);
    putU16(bytes, 2, numRanges);
    return bytes;
}

} // namespace

TEST(GaspHeader, ReadsWholeRecordsWithinTheSpanAndWritesThemBackSorted) {
    const Bytes three = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    struct Case {
        const char* name;
        Bytes table;
        size_t span;
        Ranges ranges; // also what is written back, after the header as read
        size_t bytesRead;
    } cases[] = {
        // clang-format off
        {"no ranges", gaspTable(1, {}), 4, {}, 4},
        {"span longer than the table", three, 24, {{8, 2}, {16, 1}, {0xFFFF, 3}}, 16},
        {"duplicate keeps the last", gaspTable(1, {{8, 2}, {16, 1}, {8, 3}, {0xFFFF, 7}}), 20,
         {{8, 3}, {16, 1}, {0xFFFF, 7}}, 20},
        {"out of order", gaspTable(0, {{0xFFFF, 3}, {16, 1}, {8, 2}}), 16,
         {{8, 2}, {16, 1}, {0xFFFF, 3}}, 16},
        {"numRanges past the span", gaspClaiming(1, 5, {{8, 2}, {0xFFFF, 3}}), 12,
         {{8, 2}, {0xFFFF, 3}}, 12},
        {"numRanges 65535", gaspClaiming(1, 0xFFFF, {{9, 1}, {0xFFFF, 2}}), 12,
         {{9, 1}, {0xFFFF, 2}}, 12},
        {"span cut mid-record", three, 10, {{8, 2}}, 8},
        {"span cut inside the first record", three, 7, {}, 4},
        {"unknown version and bits kept", gaspTable(0xBEEF, {{6, 0x8001}, {0xFFFF, 0xFFFE}}), 12,
         {{6, 0x8001}, {0xFFFF, 0xFFFE}}, 12},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = c.table;
        image.resize(std::max(image.size(), c.span), 0x5A);
        gaspHeader gasp(image.data(), c.span);
        EXPECT_TRUE(gasp.valid);
        EXPECT_EQ(gasp.version, getU16(c.table, 0));
        EXPECT_EQ(gasp.numRanges, getU16(c.table, 2));
        EXPECT_EQ(gasp.ranges, c.ranges);
        EXPECT_EQ(gasp.bytesRead(), c.bytesRead);
        // Header as read, then the ranges; a slot left over by a duplicate stays.
        Bytes written = gaspClaiming(getU16(c.table, 0), getU16(c.table, 2),
                                     Records(c.ranges.begin(), c.ranges.end()));
        EXPECT_EQ(writtenBytes(gasp, c.span, true), writtenAsOnly(written, c.span));
    }
}

TEST(GaspHeader, WritesNothingWhereItCannotWriteWithinWhatItRead) {
    const Bytes table = gaspTable(0, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    gaspHeader cut(table.data(), 3);
    EXPECT_FALSE(cut.valid);
    EXPECT_EQ(cut.bytesRead(), 0u);
    EXPECT_EQ(writtenBytes(cut, 3, false), writtenAsOnly({}, 3)) << "span shorter than the header";
    gaspHeader gasp(table.data(), 16);
    EXPECT_EQ(writtenBytes(gasp, 15, false), writtenAsOnly({}, 15)) << "span shorter than read";
    gasp.ranges[20] = 1;
    EXPECT_EQ(writtenBytes(gasp, 16, false), writtenAsOnly({}, 16)) << "more ranges than read";
}

TEST(GaspHeader, EditedRangeIsWrittenSortedInTheSameBytes) {
    struct Edit {
        uint16_t oldLimit, newLimit, behaviour;
        Records expected;
    } edits[] = {
        {16, 20, GASP_GRIDFIT, {{8, 2}, {20, 1}, {0xFFFF, 3}}},
        {8, 30, GASP_DOGRAY | GASP_GRIDFIT, {{16, 1}, {30, 3}, {0xFFFF, 3}}},
        {0xFFFF, 0xFFFF, 0, {{8, 2}, {16, 1}, {0xFFFF, 0}}},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.newLimit);
        Bytes table = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
        gaspHeader gasp(table.data(), table.size());
        gasp.ranges.erase(e.oldLimit);
        gasp.ranges[e.newLimit] = e.behaviour;
        EXPECT_EQ(writtenBytes(gasp, table.size(), true),
                  writtenAsOnly(gaspTable(1, e.expected), table.size()));
    }
}
