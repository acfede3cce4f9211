// The re-laid write-out: a table removed, the file laid out anew. Offsets,
// lengths and search fields are the OpenType numbers, written as literals.
#include "font/layout.h"
#include "font/otf.h"
#include "tables/hhea/preview_copy.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_edit.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace std::string_literals;

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
    const int cases[][4] = {{1, 16, 0, 0},  {2, 32, 1, 0},   {3, 32, 1, 16},  {4, 64, 2, 0},
                            {5, 64, 2, 16}, {16, 256, 4, 0}, {17, 256, 4, 16}};
    for (const auto& [count, range, selector, shift] : cases) {
        SfntBuilder builder;
        builder.table("DSIG", filler(8));
        for (int i = 0; i < count; ++i)
            builder.table("t" + std::to_string(100 + i), filler(4));
        const Bytes font = builder.build();
        OTF otf(font.data(), font.size());
        ASSERT_TRUE(otf.removeTable("DSIG", 0));
        const Bytes out = relaid(otf, font);
        EXPECT_EQ(
            (std::vector<int>{getU16(out, 4), getU16(out, 6), getU16(out, 8), getU16(out, 10)}),
            (std::vector<int>{count, range, selector, shift}));
    }
}

// Lengths 0 to 4 mod 4, slack after a table and a removed table: the tables
// packed on words. The shared rule judges the lengths, the zero padding, the
// checksums and the adjustment.
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
    ASSERT_EQ(out.size(), 216u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(getU32(out, recordAt(i) + 8), offsets[i]) << i;
}

// Unsigned and signed (version 2: the block after the tables, on a word).
TEST(Layout, ACollectionWritesASharedTableOnceDropsItWhereItWasRemovedAndKeepsItsSignature) {
    for (bool signature : {false, true}) {
        SCOPED_TRACE(signature);
        const Bytes sample = signature ? sampleCollection(filler(10, 0x71)) : sampleCollection();
        OTF otf(sample.data(), sample.size()); // gasp shared by all, OS/2 by fonts 0 and 2
        ASSERT_TRUE(otf.removeTable("gasp", 1));
        EXPECT_EQ(otf.fontsSharing("gasp", 0), (std::vector<size_t>{0, 2}));
        const Bytes one = relaid(otf, sample);
        auto record = [&](size_t font, size_t index, size_t field) {
            return getU32(one, getU32(one, 12 + 4 * font) + 12 + 16 * index + field);
        };
        EXPECT_EQ(
            (std::vector<int>{getU16(one, getU32(one, 12) + 4), getU16(one, getU32(one, 16) + 4),
                              getU16(one, getU32(one, 20) + 4)}),
            (std::vector<int>{4, 3, 4}));
        EXPECT_EQ(record(0, 1, 8), record(2, 1, 8)) << "gasp once for fonts 0 and 2";
        EXPECT_EQ(record(0, 0, 8), record(2, 0, 8)) << "OS/2 once for fonts 0 and 2";
        // The directories follow the header: 24 bytes, 36 with its signature fields.
        EXPECT_EQ(getU32(one, 12), signature ? 36u : 24u);
        if (signature) {
            EXPECT_EQ(std::vector<uint32_t>({getU32(one, 4), getU32(one, 24), getU32(one, 28)}),
                      std::vector<uint32_t>({0x00020000u, 0x44534947u, 10u}));
            const size_t block = getU32(one, 32);
            EXPECT_EQ(block % 4, 0u);
            EXPECT_EQ(one.size(), block + 12);
            EXPECT_EQ(Bytes(one.begin() + block, one.begin() + block + 10), filler(10, 0x71));
        }
        ASSERT_TRUE(otf.removeTable("gasp", 0) && otf.removeTable("gasp", 2));
        const Bytes all = relaid(otf, sample);
        EXPECT_EQ(all.size(), one.size() - 12 - 32)
            << "the 12-byte gasp and two 16-byte records go";
    }
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
    // The rule keeps font 1's 100 bytes as read: one table for both would break them.
    EXPECT_EQ(getU16(out, getU32(out, getU32(out, 12) + 20) + 4), 700);
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

// The line-spacing preview's copy of font 1 of a collection: that font
// alone, with its pending removal and edit, its Windows family name private
// and every other name as it was, its head adjusted; the open font as it was.
// Fonts 0 and 2 have no Windows family name to replace; font 3 is none.
TEST(Layout, ThePreviewCopyIsOneFontAloneUnderAPrivateFamilyName) {
    const Bytes sample = sampleCollection();
    OTF otf(sample.data(), sample.size());
    ASSERT_TRUE(otf.removeTable("gasp", 1));
    storeWeightPosition(*otf.tableOf<OS2>("OS/2", 1), 7);
    const Bytes before = writtenOut(otf, sample);
    ByteVectorSink copy;
    ASSERT_TRUE(writePreviewCopy(otf, sample.data(), sample.size(), 1, u"Private", copy));
    const Bytes& one = copy.bytes;
    std::string tags;
    for (size_t i = 0; i < getU16(one, 4); ++i)
        tags.append(one.begin() + recordAt(i), one.begin() + recordAt(i) + 4);
    EXPECT_EQ(std::make_pair(getU32(one, 0), tags), std::make_pair(0x00010000u, "OS/2headname"s));
    EXPECT_EQ(getU16(one, getU32(one, recordAt(0) + 8) + 4), 700) << "the weight class stored";
    const size_t name = getU32(one, recordAt(2) + 8), storage = name + getU16(one, name + 4);
    std::vector<std::tuple<int, int, std::u16string>> names;
    for (size_t i = 0; i < getU16(one, name + 2); ++i) {
        const size_t record = name + 6 + 12 * i;
        std::u16string text;
        for (size_t k = 0; k < getU16(one, record + 8); k += 2)
            text.push_back(getU16(one, storage + getU16(one, record + 10) + k));
        names.emplace_back(getU16(one, record), getU16(one, record + 6), text);
    }
    EXPECT_EQ(names, (std::vector<std::tuple<int, int, std::u16string>>{
                         {1, 4, u"Mac"}, {3, 1, u"Private"}, {3, 4, u"Sample Mincho"}}));
    EXPECT_EQ(wordSum(one, 0, one.size()), 0xB1B0AFBAu) << "head's adjustment";
    EXPECT_EQ(writtenOut(otf, sample), before);
    for (size_t font : {0, 2, 3}) {
        ByteVectorSink none;
        EXPECT_FALSE(writePreviewCopy(otf, sample.data(), sample.size(), font, u"Private", none))
            << font;
    }
}

// A record whose offset lies inside the file keeps the bytes the file holds,
// however far past 2^32 its offset and length reach.
TEST(Layout, ARecordRunningPast32BitsKeepsTheBytesTheFileHolds) {
    Bytes font = SfntBuilder().table("DSIG", filler(8)).table("post", filler(32, 0x70)).build();
    putU32(font, recordAt(1) + 12, 0xFFFFFFF0); // post at 44: 44 + 0xFFFFFFF0 passes 2^32
    OTF otf(font.data(), font.size());
    ASSERT_TRUE(otf.removeTable("DSIG", 0));
    const Bytes out = relaid(otf, font);
    ASSERT_EQ(getU32(out, recordAt(0) + 12), 32u);
    EXPECT_EQ(Bytes(out.begin() + getU32(out, recordAt(0) + 8), out.end()), filler(32, 0x70));
}

namespace {

using Tables = std::vector<std::pair<std::string, Bytes>>;

// One glyph after head (short loca offsets), maxp (version 0.5) and loca.
Tables glyphTables(const Bytes& glyph) {
    return {{"head", headTable()},
            {"maxp", {0, 0, 0x50, 0, 0, 1}},
            {"loca", {0, 0, 0, static_cast<uint8_t>(glyph.size() / 2)}},
            {"glyf", glyph}};
}

} // namespace

// Which tables go with which: the font's tables, the one removed, and what
// goes (the question's order) or the table that refuses it.
TEST(Removal, TablesThatNeedOneAnotherGoTogether) {
    // A glyph of no contours with one byte of instructions or none, and a
    // composite one whose single component carries one.
    const Bytes plain = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes simple = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0xB0, 0};
    const Bytes composite = {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0,    0,
                             0x01, 0x00, 0, 0, 0, 0, 0, 1, 0xB0, 0};
    // CFF2 headers and Top DICTs: a variation store (operand 0, operator 24),
    // and a real number whose nibbles hold 24, then CharStrings (17).
    const Bytes varied = {1, 0, 5, 0, 2, 0x8B, 0x18};
    const Bytes steady = {1, 0, 5, 0, 5, 0x1E, 0x18, 0xFF, 0x8B, 0x11};
    Tables all = glyphTables(plain);
    for (const char* tag :
         {"EBDT", "EBLC", "EBSC", "vhea", "vmtx", "fvar", "avar", "HVAR", "fpgm", "prep", "cvt "})
        all.emplace_back(tag, filler(8));
    auto with = [&](Tables tables, const Tables& more) {
        tables.insert(tables.end(), more.begin(), more.end());
        return tables;
    };
    const Tables instructed =
        with(glyphTables(simple), {{"fpgm", filler(4)}, {"prep", filler(4)}, {"cvt ", filler(4)}});
    using Goes = std::vector<std::string>;
    const std::tuple<Tables, const char*, Goes, std::string> cases[] = {
        {all, "EBLC", {"EBLC", "EBDT", "EBSC"}, ""},
        {all, "EBDT", {"EBDT", "EBLC", "EBSC"}, ""},
        {all, "EBSC", {"EBSC"}, ""},
        {all, "vmtx", {"vmtx", "vhea"}, ""},
        {all, "fvar", {"fvar", "avar", "HVAR"}, ""},
        {all, "HVAR", {"HVAR"}, ""},
        {all, "fpgm", {"fpgm"}, ""},
        {all, "head", {}, ""},
        {instructed, "prep", {"prep", "fpgm", "cvt "}, ""},
        {with(glyphTables(composite), {{"fpgm", filler(4)}, {"cvt ", filler(4)}}),
         "cvt ",
         {"cvt ", "fpgm"},
         ""},
        {with(all, {{"gvar", filler(8)}}), "fvar", {}, "gvar"},
        {with(all, {{"CFF2", varied}}), "fvar", {}, "CFF2"},
        {with(all, {{"CFF2", steady}}), "fvar", {"fvar", "avar", "HVAR"}, ""},
    };
    for (const auto& [tables, tag, goes, refusedFor] : cases) {
        SCOPED_TRACE(tag);
        SfntBuilder builder;
        for (const auto& [name, bytes] : tables)
            builder.table(name, bytes);
        const Bytes font = builder.build();
        OTF otf(font.data(), font.size());
        const TableRemoval removal = otf.removalOf(tag, 0);
        EXPECT_EQ(removal.tags, goes);
        EXPECT_EQ(removal.refusedFor, refusedFor);
        ASSERT_EQ(otf.removeTable(tag, 0), !goes.empty());
        if (!goes.empty()) {
            EXPECT_EQ(size_t{getU16(relaid(otf, font), 4)}, tables.size() - goes.size());
        }
    }
}

// Fonts 0 and 1 share the bitmaps; only font 0 has EBSC.
TEST(Removal, AGroupLeavesTheFontItIsRemovedFrom) {
    const Bytes image = CollectionBuilder()
                            .table("head0", "head", headTable())
                            .table("head1", "head", headTable())
                            .table("ebdt", "EBDT", filler(8))
                            .table("eblc", "EBLC", filler(8))
                            .table("ebsc", "EBSC", filler(8))
                            .font({"head0", "ebdt", "eblc", "ebsc"})
                            .font({"head1", "ebdt", "eblc"})
                            .build();
    for (size_t font : {0, 1}) {
        OTF otf(image.data(), image.size());
        ASSERT_TRUE(otf.removeTable("EBDT", font));
        const Bytes out = relaid(otf, image);
        EXPECT_EQ(
            (std::vector<int>{getU16(out, getU32(out, 12) + 4), getU16(out, getU32(out, 16) + 4)}),
            (font == 0 ? std::vector<int>{1, 3} : std::vector<int>{4, 1}));
    }
}
