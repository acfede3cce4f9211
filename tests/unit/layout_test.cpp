// The re-laid write-out: a table removed, the file laid out anew. Offsets,
// lengths and search fields are the OpenType numbers, written as literals.
#include "font/layout.h"
#include "font/otf.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_edit.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// out judged by the shared re-laid rule, then returned for the case's own checks.
Bytes relaid(const OTF& otf, const Bytes& image) {
    Bytes out = writtenOut(otf, image);
    const char* rule = brokenRelaidRule(otf, image.data(), image.size(), out);
    EXPECT_EQ(rule ? rule : "", std::string());
    return out;
}

} // namespace

TEST(Layout, SearchFieldsFollowTheTableCount) {
    const int cases[][4] = {{1, 16, 0, 0},    {2, 32, 1, 0},    {3, 32, 1, 16},   {4, 64, 2, 0},
                            {5, 64, 2, 16},   {16, 256, 4, 0},  {17, 256, 4, 16}};
    for (const auto& [count, range, selector, shift] : cases) {
        SfntBuilder builder;
        builder.table("DSIG", filler(8));
        for (int i = 0; i < count; ++i)
            builder.table("t" + std::to_string(100 + i), filler(4));
        const Bytes font = builder.build();
        OTF otf(font.data(), font.size());
        ASSERT_TRUE(otf.removeTable("DSIG", 0));
        const Bytes out = relaid(otf, font);
        EXPECT_EQ((std::vector<int>{getU16(out, 4), getU16(out, 6), getU16(out, 8), getU16(out, 10)}),
                  (std::vector<int>{count, range, selector, shift}));
    }
}

// Lengths 0 to 4 mod 4, slack after a table and a removed table: every table
// aligned and padded with zeros, nothing else of the file kept.
TEST(Layout, TablesOfEveryLengthStartOnWordsAndNothingButTheirBytesIsKept) {
    Bytes font = SfntBuilder()
                     .table("DSIG", filler(4, 0x51))
                     .table("AAAA", filler(8, 0x61))
                     .table("BBBB", filler(6, 0x62))
                     .table("CCCC", filler(7, 0x63))
                     .table("DDDD", filler(8, 0x64))
                     .table("EEEE", {})
                     .table("FFFF", filler(1, 0x66))
                     .table("head", headTable())
                     .build();
    putU32(font, recordAt(1) + 12, 5); // AAAA keeps 5 of its 8 bytes: 3 bytes of slack
    OTF otf(font.data(), font.size());
    EXPECT_FALSE(otf.removeTable("head", 0)) << "a font cannot do without head";
    ASSERT_TRUE(otf.removeTable("DSIG", 0));
    EXPECT_FALSE(otf.removeTable("DSIG", 0)) << "removed once";
    const Bytes out = relaid(otf, font);
    // 7 records: the tables follow the 124-byte directory.
    const uint32_t offsets[] = {124, 132, 140, 148, 156, 156, 160};
    const uint32_t lengths[] = {5, 6, 7, 8, 0, 1, 54};
    ASSERT_EQ(out.size(), 216u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(getU32(out, recordAt(i) + 8), offsets[i]) << i;
        EXPECT_EQ(getU32(out, recordAt(i) + 12), lengths[i]) << i;
    }
    for (size_t at : {129, 130, 131, 138, 139, 147, 157, 158, 159, 214, 215})
        EXPECT_EQ(out[at], 0) << "padding at " << at;
    EXPECT_EQ(wordSum(out, 0, out.size()), 0xB1B0AFBA);
}

TEST(Layout, ACollectionWritesASharedTableOnceAndDropsItWhereItWasRemoved) {
    const Bytes sample = sampleCollection(); // gasp shared by all, OS/2 by fonts 0 and 2
    OTF otf(sample.data(), sample.size());
    ASSERT_TRUE(otf.removeTable("gasp", 1));
    EXPECT_EQ(otf.fontsSharing("gasp", 0), (std::vector<size_t>{0, 2}));
    const Bytes one = relaid(otf, sample);
    auto record = [&](const Bytes& out, size_t font, size_t index, size_t field) {
        return getU32(out, getU32(out, 12 + 4 * font) + 12 + 16 * index + field);
    };
    EXPECT_EQ((std::vector<int>{getU16(one, getU32(one, 12) + 4), getU16(one, getU32(one, 16) + 4),
                                getU16(one, getU32(one, 20) + 4)}),
              (std::vector<int>{4, 3, 4}));
    EXPECT_EQ(record(one, 0, 1, 8), record(one, 2, 1, 8)) << "gasp once for fonts 0 and 2";
    EXPECT_EQ(record(one, 0, 0, 8), record(one, 2, 0, 8)) << "OS/2 once for fonts 0 and 2";
    EXPECT_EQ(getU32(one, 12), 24u) << "the directories follow the 24-byte header";

    ASSERT_TRUE(otf.removeTable("gasp", 0) && otf.removeTable("gasp", 2));
    const Bytes all = relaid(otf, sample);
    EXPECT_EQ(all.size(), one.size() - 12 - 32) << "the 12-byte gasp and two 16-byte records go";
}

TEST(Layout, ASignedCollectionKeepsItsVersionAndItsBlockFollowsTheTables) {
    const Bytes sample = sampleCollection(filler(10, 0x71));
    OTF otf(sample.data(), sample.size());
    ASSERT_TRUE(otf.removeTable("gasp", 1));
    const Bytes out = relaid(otf, sample);
    EXPECT_EQ(getU32(out, 4), 0x00020000u);
    EXPECT_EQ(getU32(out, 24), 0x44534947u);
    EXPECT_EQ(getU32(out, 28), 10u);
    const size_t block = getU32(out, 32);
    EXPECT_EQ(block % 4, 0u);
    EXPECT_EQ(out.size(), block + 12);
    EXPECT_EQ(Bytes(out.begin() + block, out.begin() + block + 10), filler(10, 0x71));
    EXPECT_EQ(getU32(out, 12), 36u) << "the header with its signature fields is 36 bytes";
}

// Two records at one offset with different lengths are two tables: two
// objects, and two tables in a re-laid file.
TEST(Layout, TwoRecordsAtOneOffsetWithDifferentLengthsAreTwoTables) {
    Bytes image = CollectionBuilder()
                      .table("os2", "OS/2", os2Table(4))
                      .table("tail", "tail", filler(4))
                      .table("dsig", "DSIG", filler(4))
                      .font({"os2", "dsig"})
                      .font({"os2", "dsig"})
                      .build();
    const size_t os2Record = getU32(image, 16) + 12;
    putU32(image, os2Record + 12, 100);
    OTF otf(image.data(), image.size());
    OS2* first = otf.tableOf<OS2>("OS/2", 0);
    ASSERT_TRUE(first && otf.tableOf<OS2>("OS/2", 1) && first != otf.tableOf<OS2>("OS/2", 1));
    storeWeightPosition(*first, 7);
    ASSERT_TRUE(otf.removeTable("DSIG", 0) && otf.removeTable("DSIG", 1));
    const Bytes out = relaid(otf, image);
    const size_t at0 = getU32(out, getU32(out, 12) + 20), at1 = getU32(out, getU32(out, 16) + 20);
    EXPECT_NE(at0, at1);
    EXPECT_EQ(getU32(out, getU32(out, 16) + 24), 100u);
    EXPECT_EQ(getU16(out, at0 + 4), 700);
    EXPECT_EQ(getU16(out, at1 + 4), getU16(image, getU32(image, os2Record + 8) + 4));
}

// Directories may overlap, but never hold more records in all than the file
// has room for: two fonts on one 28-byte directory fit a 56-byte file, three
// do not fit a 60-byte one.
TEST(Layout, OverlappingDirectoriesAreReadWhileTheyFitTheFile) {
    const Bytes single = SfntBuilder().table("gasp", gaspTable(0, {{0xFFFF, 2}})).build();
    for (uint32_t fonts : {2u, 3u}) {
        const uint32_t header = 12 + 4 * fonts;
        Bytes image(header, 0);
        putU32(image, 0, 0x74746366);
        putU16(image, 4, 1);
        putU32(image, 8, fonts);
        for (uint32_t i = 0; i < fonts; ++i)
            putU32(image, 12 + 4 * i, header);
        image.insert(image.end(), single.begin(), single.end());
        putU32(image, header + recordAt(0) + 8, header + 28);
        OTF otf(image.data(), image.size());
        EXPECT_EQ(otf.valid != 0, fonts == 2) << fonts << " fonts in " << image.size() << " bytes";
    }
}

// Remove, write out; edit, write out; set back, write out: each file on its own.
TEST(Layout, EachWriteOutAfterARemovalHoldsItsMoment) {
    const Bytes font = SfntBuilder()
                           .table("DSIG", filler(8))
                           .table("OS/2", os2Table(4))
                           .table("head", headTable())
                           .build();
    OTF otf(font.data(), font.size());
    OS2& os2 = *otf.tableOf<OS2>("OS/2");
    ASSERT_TRUE(otf.removeTable("DSIG", 0));
    const Bytes first = relaid(otf, font);
    EXPECT_EQ(first.size(), font.size() - 16 - 8);
    storeWeightPosition(os2, 9);
    const Bytes second = relaid(otf, font);
    EXPECT_EQ(getU16(second, getU32(second, recordAt(0) + 8) + 4), 900);
    storeWeightPosition(os2, 4);
    EXPECT_EQ(relaid(otf, font), first);
}
