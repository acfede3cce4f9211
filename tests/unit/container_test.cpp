// The byte cursors every field goes through, and the container: its
// directory, records, checksums and write-out, each replayed through the
// shared write check too (as the fuzzer replays every corpus file and
// installed font).
#include "font/byte_reader.h"
#include "font/byte_writer.h"
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2_edit.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

namespace {

std::string brokenRule(const Bytes& font) {
    const char* rule = brokenWriteRule(font.data(), font.size(), PaneEdits{});
    return rule ? rule : "";
}

} // namespace

// The last guard of every field: a 16- or 32-bit field ending at the span's
// end is taken, one byte further is refused, and a refusal touches nothing.
TEST(ByteCursor, TakesAFieldEndingAtTheSpansEndAndRefusesOneBytePast) {
    const Bytes canvas = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0xEE}; // a span of six
    for (auto [width, at] : {std::pair{2, 4}, {2, 5}, {4, 2}, {4, 3}}) {
        SCOPED_TRACE(testing::Message() << width << " bytes at " << at);
        const bool fits = at + width <= 6;
        Bytes bytes = canvas, expected = canvas;
        ByteReader reader(bytes.data(), 6);
        ByteWriter writer(bytes.data(), 6);
        ASSERT_TRUE(reader.seek(at) && writer.seek(at));
        uint16_t u16 = 0;
        uint32_t u32 = 0;
        EXPECT_EQ(width == 2 ? reader.readU16(u16) : reader.readU32(u32), fits);
        EXPECT_EQ(u16 | u32, !fits ? 0u : width == 2 ? 0x1415u : 0x12131415u);
        EXPECT_EQ(width == 2 ? writer.writeU16(0xA1A2) : writer.writeU32(0xA1A2A3A4), fits);
        for (int i = 0; fits && i < width; ++i)
            expected[at + i] = static_cast<uint8_t>(0xA1 + i);
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(reader.offset() + writer.offset(), 2u * (fits ? at + width : at));
    }
}

TEST(Container, GivesObjectsOnlyToGaspAndOS2ByExactTagAndKeepsTheLaterOfTwoRecords) {
    const Bytes later = gaspTable(0, {{9, 2}, {0xFFFF, 1}});
    const Bytes font = SfntBuilder()
                           .table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 3}}))
                           .table("OS/2", os2Table(1))
                           .table("os/2", os2Table(1))
                           .table("GASP", gaspTable(0, {}))
                           .table("gasp", later)
                           .build();
    Bytes image = font;
    OTF otf(image.data(), image.size());
    EXPECT_STREQ(otf.fonts.at(0).tableRecords.at(2).tag, "os/2")
        << "records keep the directory's order";
    EXPECT_NE(otf.tableOf<OS2>("OS/2"), nullptr);
    for (const char* tag : {"os/2", "GASP"}) {
        fontObject* object = &otf;
        EXPECT_TRUE(otf.findTable(tag, object) && object == nullptr) << tag;
    }
    fontObject* untouched = &otf;
    EXPECT_FALSE(otf.findTable("head", untouched) || untouched != &otf);
    // Unedited, each record keeps its own bytes; edited, the survivor is written at both.
    EXPECT_EQ(writtenOut(otf, image), font);
    otf.tableOf<gaspHeader>("gasp")->ranges[9] = 3;
    const Bytes out = writtenOut(otf, image);
    const Bytes edited = gaspTable(0, {{9, 3}, {0xFFFF, 1}});
    for (size_t record : {0, 4})
        EXPECT_TRUE(std::equal(edited.begin(), edited.end(),
                               &out[otf.fonts.at(0).tableRecords[record].offset]));
    EXPECT_EQ(brokenRule(font), "");
}

TEST(Container, RecordsPastTheImageGetNoObject) {
    const Bytes font = SfntBuilder().table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 2}})).build();
    const uint32_t end = static_cast<uint32_t>(font.size());
    // At the image's end and one past; offset + length past 2^32 still
    // holds the bytes the file has.
    // clang-format off
    const std::tuple<uint32_t, uint32_t, bool> cases[] = {
        {end, 0, true}, {end + 1, 0, false}, {end - 12, 0x1000, true}, {28, 0xFFFFFFFF - 27, true}};
    // clang-format on
    for (auto [offset, length, hasObject] : cases) {
        Bytes image = font;
        putU32(image, recordAt(0) + 8, offset);
        putU32(image, recordAt(0) + 12, length);
        OTF otf(image.data(), image.size());
        EXPECT_EQ(otf.tableOf<gaspHeader>("gasp") != nullptr, hasObject) << offset << "+" << length;
    }
}

TEST(WriteOut, BringsTheChangedTablesChecksumsAndHeadsAdjustmentUpToDate) {
    // A table's last word padded with zeros: OS/2 version 1 below, and the
    // re-laid lengths 0 to 4 mod 4 of the layout cases.
    Bytes stale = sampleFont();
    putU32(stale, recordAt(1) + 4, 0xDEADBEEF); // VORG, not edited: stays
    putU32(stale, recordAt(5) + 4, 0x12345678); // OS/2, edited: made true
    // head's record runs over OS/2 (version 1: 86 bytes, its last word
    // padded), so head's own checksum changes with the edit; an empty table
    // inside the edited bytes keeps its stale checksum.
    Bytes over = SfntBuilder()
                     .table("head", headTable())
                     .table("OS/2", os2Table(1))
                     .table("zero", {})
                     .build();
    putU32(over, recordAt(0) + 12, recordOffset(over, 1) + 86 - recordOffset(over, 0));
    putU32(over, recordAt(2) + 4, 0x5EEDF00D);
    putU32(over, recordAt(2) + 8, recordOffset(over, 1) + 10);
    Bytes head11 = headTable(), head12 = headTable();
    head11.resize(11);
    head12.resize(12);
    for (const Bytes& input :
         {stale, over, SfntBuilder().table("OS/2", os2Table(1)).build(),
          SfntBuilder().table("OS/2", os2Table(5)).table("head", head11).build(),
          SfntBuilder().table("OS/2", os2Table(5)).table("head", head12).build()}) {
        // The shared rule edits, then sums every checksum and the adjustment from the bytes.
        EXPECT_EQ(brokenRule(input), "");
    }
}

// What a user does: edit, write out, edit again, write out, set everything
// back, write out: each file holds the values of its moment, with true checksums.
TEST(WriteOut, EachWriteOutHoldsTheValuesOfItsMomentAndASetBackEditTheFileAsRead) {
    const Bytes font = sampleFont(); // gasp is record 0, OS/2 record 5 (weight 400)
    Bytes image = font;
    OTF otf(image.data(), image.size());
    OS2& os2 = *otf.tableOf<OS2>("OS/2");
    gaspHeader& gasp = *otf.tableOf<gaspHeader>("gasp");
    const size_t os2At = recordOffset(font, 5), gaspAt = recordOffset(font, 0);
    const std::tuple<int, uint16_t, uint16_t> steps[] = {
        {7, 0x3, 700}, {3, 0x0, 300}, {4, 0xA, 400}};
    for (auto [position, flags, weight] : steps) {
        storeWeightPosition(os2, position);
        gasp.ranges[8] = flags;
        const Bytes out = writtenOut(otf, image);
        EXPECT_EQ(getU16(out, os2At + 4), weight);
        EXPECT_EQ(getU16(out, gaspAt + 6), flags);
        EXPECT_EQ(brokenWriteOut(otf, font.data(), font.size(), out), nullptr) << weight;
    }
    EXPECT_EQ(writtenOut(otf, image), font) << "400 and 0x000A are the values as read";
}
