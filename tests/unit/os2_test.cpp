#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"
#include "tests/unit/written_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr size_t kVersionSize[] = {78, 86, 96, 96, 96, 100};

enum class Kind { U16, S16, U32 };

// Every numeric member with the offset it is read from and the first version
// that carries it.
struct Field {
    const char* name;
    size_t offset;
    Kind kind;
    uint16_t firstVersion;
    std::function<int64_t(const OS2&)> get;
};

// clang-format off
#define OS2_FIELD(member, offset, kind, firstVersion)                                   \
    Field{#member, offset, Kind::kind, firstVersion,                                    \
          [](const OS2& table) { return static_cast<int64_t>(table.member); }}
// clang-format on

const std::vector<Field>& numericFields() {
    static const std::vector<Field> fields = {
        OS2_FIELD(version, 0, U16, 0),
        OS2_FIELD(xAvgCharWidth, 2, S16, 0),
        OS2_FIELD(usWeightClass, 4, U16, 0),
        OS2_FIELD(usWidthClass, 6, U16, 0),
        OS2_FIELD(fsType, 8, S16, 0),
        OS2_FIELD(ySubscriptXSize, 10, S16, 0),
        OS2_FIELD(ySubscriptYSize, 12, S16, 0),
        OS2_FIELD(ySubscriptXOffset, 14, S16, 0),
        OS2_FIELD(ySubscriptYOffset, 16, S16, 0),
        OS2_FIELD(ySuperscriptXSize, 18, S16, 0),
        OS2_FIELD(ySuperscriptYSize, 20, S16, 0),
        OS2_FIELD(ySuperscriptXOffset, 22, S16, 0),
        OS2_FIELD(ySuperscriptYOffset, 24, S16, 0),
        OS2_FIELD(yStrikeoutSize, 26, S16, 0),
        OS2_FIELD(yStrikeoutPosition, 28, S16, 0),
        OS2_FIELD(sFamilyClass, 30, S16, 0),
        OS2_FIELD(ulUnicodeRange1, 42, U32, 0),
        OS2_FIELD(ulUnicodeRange2, 46, U32, 0),
        OS2_FIELD(ulUnicodeRange3, 50, U32, 0),
        OS2_FIELD(ulUnicodeRange4, 54, U32, 0),
        OS2_FIELD(fsSelection, 62, U16, 0),
        OS2_FIELD(usFirstCharIndex, 64, U16, 0),
        OS2_FIELD(usLastCharIndex, 66, U16, 0),
        OS2_FIELD(sTypoAscender, 68, S16, 0),
        OS2_FIELD(sTypoDescender, 70, S16, 0),
        OS2_FIELD(sTypoLineGap, 72, S16, 0),
        OS2_FIELD(usWinAscent, 74, U16, 0),
        OS2_FIELD(usWinDescent, 76, U16, 0),
        OS2_FIELD(ulCodePageRange1, 78, U32, 1),
        OS2_FIELD(ulCodePageRange2, 82, U32, 1),
        OS2_FIELD(sxHeight, 86, S16, 2),
        OS2_FIELD(sCapHeight, 88, S16, 2),
        OS2_FIELD(usDefaultChar, 90, U16, 2),
        OS2_FIELD(usBreakChar, 92, U16, 2),
        OS2_FIELD(usMaxContext, 94, U16, 2),
        OS2_FIELD(usLowerOpticalPointSize, 96, U16, 5),
        OS2_FIELD(usUpperOpticalPointSize, 98, U16, 5),
    };
    return fields;
}

#undef OS2_FIELD

int64_t valueAt(const Bytes& table, const Field& field) {
    switch (field.kind) {
    case Kind::U16:
        return getU16(table, field.offset);
    case Kind::S16:
        return static_cast<int16_t>(getU16(table, field.offset));
    case Kind::U32:
        return getU32(table, field.offset);
    }
    return -1;
}

Bytes panoseOf(const OS2& table) {
    return Bytes(table.panose, table.panose + 10);
}
Bytes vendorOf(const OS2& table) {
    return Bytes(table.achVendID, table.achVendID + 4);
}
Bytes slice(const Bytes& bytes, size_t at, size_t count) {
    return Bytes(bytes.begin() + at, bytes.begin() + at + count);
}

// Every member holds the field of the table read for this version, and the
// members of later versions stay zero.
void expectMembersFrom(const OS2& os2, const Bytes& table, uint16_t version) {
    for (const Field& field : numericFields()) {
        int64_t expected = field.firstVersion <= version ? valueAt(table, field) : 0;
        EXPECT_EQ(field.get(os2), expected) << field.name;
    }
    EXPECT_EQ(panoseOf(os2), slice(table, 32, 10));
    EXPECT_EQ(vendorOf(os2), slice(table, 58, 4));
}

// A refused object keeps version alone.
void expectRefused(const OS2& os2, uint16_t version) {
    EXPECT_FALSE(os2.valid);
    for (const Field& field : numericFields())
        EXPECT_EQ(field.get(os2), field.offset == 0 ? version : 0) << field.name;
    EXPECT_EQ(panoseOf(os2), Bytes(10, 0));
    EXPECT_EQ(vendorOf(os2), Bytes(4, 0));
}

} // namespace

TEST(OS2, SizeForEachVersion) {
    for (uint16_t version = 0; version <= 5; ++version)
        EXPECT_EQ(OS2::sizeForVersion(version), kVersionSize[version]) << version;
    for (uint16_t version : {6, 7, 0x8000, 0xFFFF})
        EXPECT_EQ(OS2::sizeForVersion(version), 0u) << version;
}

TEST(OS2, EveryVersionAtItsExactSizeRoundTrips) {
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        const size_t size = kVersionSize[version];
        Bytes table = os2Table(version);
        ASSERT_EQ(table.size(), size);
        OS2 os2(table.data(), size);
        ASSERT_TRUE(os2.valid);
        expectMembersFrom(os2, table, version);
        // Values the fixture sets on purpose, read from the right place.
        EXPECT_EQ(os2.usWeightClass, 400);
        EXPECT_EQ(os2.usWidthClass, 5);
        EXPECT_EQ(os2.fsType, 0x0008);
        EXPECT_EQ(os2.panose[kPanoseWeightIndex], 5);
        EXPECT_EQ(0, std::memcmp(os2.achVendID, "TEST", 4));

        // Exactly the version's bytes are written, as they were read.
        EXPECT_EQ(writtenBytes(os2, size, true), writtenAsOnly(table, size));
        Bytes image = table;
        ASSERT_TRUE(os2.writeTable(image.data(), image.size()));
        EXPECT_EQ(image, table);
    }
}

TEST(OS2, OneByteShortOfTheVersionIsRefused) {
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        const size_t span = kVersionSize[version] - 1;
        Bytes table = os2Table(version, span);
        OS2 os2(table.data(), span);
        expectRefused(os2, version);
        os2.usWeightClass = 700; // an edit that must not reach the file
        EXPECT_EQ(writtenBytes(os2, span, false), std::vector<int>(span + kGuardSize, kUntouched));
        // Not even where the whole version would fit.
        EXPECT_EQ(writtenBytes(os2, span + 1, false),
                  std::vector<int>(span + 1 + kGuardSize, kUntouched));
    }
}

TEST(OS2, SpanTooShortForTheVersionIsRefused) {
    Bytes table = os2Table(2);
    for (size_t span : {size_t{0}, size_t{1}}) {
        OS2 os2(table.data(), span);
        expectRefused(os2, 0);
    }
    // The table is whole, but its record's length cuts it.
    OS2 os2(table.data(), 90);
    expectRefused(os2, 2);
}

TEST(OS2, UnknownVersionsAreRefusedAndLeftUntouched) {
    for (uint16_t version : {6, 7, 0x0100, 0x8000, 0xFFFF}) {
        SCOPED_TRACE(version);
        Bytes table = os2Table(version, 120);
        Bytes image = table;
        OS2 os2(image.data(), image.size());
        expectRefused(os2, version);
        os2.usWeightClass = 700;
        os2.panose[kPanoseWeightIndex] = 8;
        EXPECT_FALSE(os2.writeTable(image.data(), image.size()));
        EXPECT_EQ(image, table);
        EXPECT_EQ(writtenBytes(os2, 120, false), std::vector<int>(120 + kGuardSize, kUntouched));
    }
}

TEST(OS2, TrailingBytesPastTheVersionAreNeverTouched) {
    constexpr size_t kTrailing = 10;
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        const size_t size = kVersionSize[version];
        Bytes table = os2Table(version, size + kTrailing);
        OS2 os2(table.data(), table.size());
        ASSERT_TRUE(os2.valid);
        expectMembersFrom(os2, table, version);
        EXPECT_EQ(writtenBytes(os2, table.size(), true),
                  writtenAsOnly(slice(table, 0, size), table.size()));
        os2.usWeightClass = 900;
        Bytes image = table;
        ASSERT_TRUE(os2.writeTable(image.data(), image.size()));
        EXPECT_EQ(slice(image, size, kTrailing), slice(table, size, kTrailing));
    }
}

TEST(OS2, SpanShorterThanTheVersionAtWriteOutWritesNothing) {
    Bytes table = os2Table(4);
    OS2 os2(table.data(), table.size());
    ASSERT_TRUE(os2.valid);
    EXPECT_EQ(writtenBytes(os2, table.size() - 1, false),
              std::vector<int>(table.size() - 1 + kGuardSize, kUntouched));
}

TEST(OS2, VendorIdBytesRoundTripAsTheyStand) {
    const uint8_t vendors[][4] = {{'A', 0x00, 0xE9, 0xFF}, {0, 0, 0, 0}, {0x82, 0xA0, ' ', 0x7F}};
    for (const auto& vendor : vendors) {
        Bytes table = os2Table(3);
        std::memcpy(table.data() + kOS2VendorAt, vendor, 4);
        OS2 os2(table.data(), table.size());
        ASSERT_TRUE(os2.valid);
        EXPECT_EQ(0, std::memcmp(os2.achVendID, vendor, 4));
        EXPECT_EQ(writtenBytes(os2, table.size(), true), writtenAsOnly(table, table.size()));
    }
}

TEST(OS2, EditsChangeOnlyTheirOwnBytes) {
    for (uint16_t version = 0; version <= 5; ++version) {
        SCOPED_TRACE(version);
        Bytes table = os2Table(version);
        Bytes image = table;
        OS2 os2(image.data(), image.size());
        ASSERT_TRUE(os2.valid);
        os2.usWeightClass = 700;
        os2.usWidthClass = 3;
        os2.panose[kPanoseWeightIndex] = 8;
        ASSERT_TRUE(os2.writeTable(image.data(), image.size()));

        Bytes expected = table;
        expected[4] = 0x02;
        expected[5] = 0xBC;
        expected[6] = 0x00;
        expected[7] = 0x03;
        expected[34] = 0x08;
        EXPECT_EQ(image, expected);
    }
}
