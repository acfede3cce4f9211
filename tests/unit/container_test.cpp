// The container: its directory, records, checksums and write-out, each
// replayed through the shared write check too (as the fuzzer replays every
// corpus file and installed font).
#include "font/checksum.h"
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

namespace {

std::string brokenRule(const Bytes& font) {
    const char* rule = brokenWriteRule(font.data(), font.size(), PaneEdits{});
    return rule ? rule : "";
}

} // namespace

TEST(Container, ValidExactlyWhenTheImageHoldsTheWholeDirectory) {
    const Bytes font = sampleFont(); // eight records: the directory ends at 140
    for (size_t size : {0, 11, 12, 139, 140}) {
        const Bytes image(font.begin(), font.begin() + size);
        OTF otf(image.data(), image.size());
        EXPECT_EQ(otf.tableRecords.size(), size == 140 ? 8u : 0u) << size;
        EXPECT_EQ(brokenRule(image), "") << size;
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
    EXPECT_STREQ(otf.tableRecords.at(2).tag, "os/2") << "records keep the directory's order";
    EXPECT_NE(otf.tableOf<OS2>("OS/2"), nullptr);
    for (const char* tag : {"os/2", "GASP"}) {
        fontObject* object = &otf;
        EXPECT_TRUE(otf.findTable(tag, object) && object == nullptr) << tag;
    }
    fontObject* untouched = &otf;
    EXPECT_FALSE(otf.findTable("head", untouched) || untouched != &otf);
    // Unedited, each record keeps its own bytes; edited, the survivor is written at both.
    ASSERT_TRUE(otf.writeTable(image.data(), image.size()));
    EXPECT_EQ(image, font);
    otf.tableOf<gaspHeader>("gasp")->ranges[9] = 3;
    ASSERT_TRUE(otf.writeTable(image.data(), image.size()));
    const Bytes edited = gaspTable(0, {{9, 3}, {0xFFFF, 1}});
    for (size_t record : {0, 4})
        EXPECT_TRUE(
            std::equal(edited.begin(), edited.end(), &image[otf.tableRecords[record].offset]));
    EXPECT_EQ(brokenRule(font), "");
}

TEST(Container, RecordsPastTheImageOrPast32BitsGetNoObject) {
    const Bytes font = SfntBuilder().table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 2}})).build();
    const uint32_t end = static_cast<uint32_t>(font.size());
    // At the image's end and one past; offset + length at 2^32 - 1 and one past.
    // clang-format off
    const std::tuple<uint32_t, uint32_t, bool> cases[] = {
        {end, 0, true}, {end + 1, 0, false}, {end - 12, 0x1000, true},
        {28, 0xFFFFFFFF - 28, true}, {28, 0xFFFFFFFF - 27, false}};
    // clang-format on
    for (auto [offset, length, hasObject] : cases) {
        Bytes image = font;
        putU32(image, recordAt(0) + 8, offset);
        putU32(image, recordAt(0) + 12, length);
        OTF otf(image.data(), image.size());
        EXPECT_EQ(otf.tableOf<gaspHeader>("gasp") != nullptr, hasObject) << offset << "+" << length;
        EXPECT_EQ(brokenRule(image), "");
    }
}

TEST(WriteOut, BringsTheChangedTablesChecksumsAndHeadsAdjustmentUpToDate) {
    const uint8_t words[] = {0x01, 0x02, 0x03, 0x04, 0xF0, 0x06, 0x07};
    EXPECT_EQ(sfntChecksum(words, 4), 0x01020304u);
    EXPECT_EQ(sfntChecksum(words, 5), 0xF1020304u) << "the last word is padded with zeros";
    EXPECT_EQ(sfntChecksum(words, 7), 0xF1080A04u);

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
        Bytes image = input;
        OTF otf(image.data(), image.size());
        editLikeThePanes(otf, PaneEdits{});
        ASSERT_TRUE(otf.writeTable(image.data(), image.size()));
        bool adjusted = false;
        for (size_t i = 0; i < otf.tableRecords.size(); ++i) {
            const TableRecord& record = otf.tableRecords[i];
            Bytes table(&image[record.offset], &image[record.offset] + record.length);
            const bool head = std::string(record.tag) == "head" && record.length >= 12;
            if (head)
                putU32(table, 8, 0);
            const bool changed =
                !std::equal(&image[record.offset], &image[record.offset] + record.length,
                            &input[record.offset]);
            EXPECT_EQ(getU32(image, recordAt(i) + 4), changed
                                                          ? sfntChecksum(table.data(), table.size())
                                                          : getU32(input, recordAt(i) + 4))
                << record.tag << " of " << input.size();
            adjusted |= head;
            EXPECT_TRUE(std::string(record.tag) != "OS/2" ||
                        getU16(image, record.offset + kOS2WeightAt) == 700);
        }
        EXPECT_TRUE(!adjusted || sfntChecksum(image.data(), image.size()) == kChecksumMagic);
        EXPECT_EQ(brokenRule(input), "");
    }
}
