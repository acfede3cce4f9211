#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"
#include "tests/unit/os2_fields.h"
#include "tests/unit/written_bytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr size_t kVersionSize[] = {78, 86, 96, 96, 96, 100};

using U16 = uint16_t;
using S16 = int16_t;
using U32 = uint32_t;

template <class T> int64_t readAs(const Bytes& table, size_t at) {
    if constexpr (sizeof(T) == 4)
        return getU32(table, at);
    else
        return static_cast<T>(getU16(table, at));
}

struct Field {
    const char* name;
    uint16_t firstVersion;
    int64_t (*member)(const OS2&);
    int64_t (*stored)(const Bytes&);
};

#define OS2_FIELD(member, offset, type, firstVersion)                                              \
    Field{#member, firstVersion,                                                                   \
          [](const OS2& os2) { return int64_t{static_cast<type>(os2.member)}; },                   \
          [](const Bytes& table) { return readAs<type>(table, offset); }},
const Field kFields[] = {FONTAB_OS2_FIELDS(OS2_FIELD)};
#undef OS2_FIELD

Bytes slice(const Bytes& bytes, size_t at, size_t count) {
    return Bytes(bytes.begin() + at, bytes.begin() + at + count);
}

// A valid object holds every field of its version and zero for later ones; a
// refused one holds its version alone.
void expectMembers(const OS2& os2, const Bytes& table, uint16_t version, bool valid) {
    EXPECT_EQ(os2.valid, valid);
    for (const Field& field : kFields) {
        int64_t expected = valid && field.firstVersion <= version ? field.stored(table) : 0;
        EXPECT_EQ(field.member(os2), std::strcmp(field.name, "version") == 0 ? version : expected)
            << field.name;
    }
    EXPECT_EQ(Bytes(os2.panose, os2.panose + 10), valid ? slice(table, 32, 10) : Bytes(10, 0));
    EXPECT_EQ(Bytes(os2.achVendID, os2.achVendID + 4), valid ? slice(table, 58, 4) : Bytes(4, 0));
}

} // namespace

TEST(OS2, EachVersionReadsAndWritesBackExactlyItsOwnBytesAndEdits) {
    for (uint16_t version = 0; version <= 5; ++version) {
        const size_t size = kVersionSize[version];
        EXPECT_EQ(OS2::sizeForVersion(version), size);
        for (size_t trailing : {0, 10}) {
            SCOPED_TRACE(testing::Message() << "version " << version << " + " << trailing);
            Bytes table = os2Table(version, size + trailing);
            std::memcpy(table.data() + kOS2VendorAt, "\x82\0\xE9\xFF", 4);
            OS2 os2(table.data(), table.size());
            expectMembers(os2, table, version, true);
            EXPECT_EQ(writtenBytes(os2, table.size(), true),
                      writtenAsOnly(slice(table, 0, size), table.size()));
            // A span that lost a byte since the parse takes nothing.
            EXPECT_EQ(writtenBytes(os2, size - 1, false), writtenAsOnly({}, size - 1));

            os2.usWeightClass = 700;
            os2.usWidthClass = 3;
            os2.panose[kPanoseWeightIndex] = 8;
            putU16(table, kOS2WeightAt, 700);
            putU16(table, kOS2WidthAt, 3);
            table[kOS2PanoseAt + 2] = 8;
            EXPECT_EQ(writtenBytes(os2, table.size(), true),
                      writtenAsOnly(slice(table, 0, size), table.size()));
        }
    }
}

TEST(OS2, ShortOrUnknownTablesAreRefusedAndNeverWritten) {
    struct Case {
        uint16_t version;
        size_t tableSize;
        size_t span;
        uint16_t versionRead;
    } cases[] = {{0, 77, 77, 0}, {1, 85, 85, 1},   {2, 95, 95, 2},
                 {3, 95, 95, 3}, {4, 95, 95, 4},   {5, 99, 99, 5},
                 {4, 96, 95, 4}, {6, 120, 120, 6}, {0xFFFF, 120, 120, 0xFFFF},
                 {2, 96, 1, 0},  {2, 96, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << ", span " << c.span);
        Bytes table = os2Table(c.version, c.tableSize);
        OS2 os2(table.data(), c.span);
        expectMembers(os2, table, c.versionRead, false);
        EXPECT_EQ(OS2::sizeForVersion(c.version) == 0, c.version > 5);
        os2.usWeightClass = 700; // an edit that must not reach the file
        // Not even where the whole version would fit.
        EXPECT_EQ(writtenBytes(os2, c.tableSize, false), writtenAsOnly({}, c.tableSize));
    }
}
