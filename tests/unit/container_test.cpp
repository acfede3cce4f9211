#include "font/checksum.h"
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"

#include <gtest/gtest.h>

namespace {

// Writes the container back into a copy of its image; returns the copy.
Bytes writtenBack(OTF& otf, Bytes image) {
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    return image;
}

std::vector<std::string> recordTags(const OTF& otf) {
    std::vector<std::string> tags;
    for (const TableRecord& record : otf.tableRecords)
        tags.emplace_back(record.tag);
    return tags;
}

} // namespace

TEST(Container, KeepsDirectoryOrderAndRegistersEveryTag) {
    Bytes image = SfntBuilder()
                      .table("gasp", gaspTable(0, {{0xFFFF, 3}}))
                      .table("cmap", filler(8))
                      .table("OS/2", os2Table(1))
                      .table("VORG", filler(8))
                      .table("os/2", os2Table(1))
                      .table("GASP", gaspTable(0, {}))
                      .build();
    OTF otf(image.data(), image.size());
    ASSERT_TRUE(otf.valid);
    EXPECT_EQ(otf.numTables, 6);
    EXPECT_EQ(recordTags(otf),
              (std::vector<std::string>{"gasp", "cmap", "OS/2", "VORG", "os/2", "GASP"}));

    struct Expect {
        const char* tag;
        bool listed;
        bool hasObject;
    } cases[] = {{"gasp", true, true},  {"OS/2", true, true},  {"cmap", true, false},
                 {"VORG", true, false}, {"os/2", true, false}, {"GASP", true, false},
                 {"head", false, false}, {"", false, false}};
    for (const Expect& c : cases) {
        fontObject* const marker = &otf; // any non-null pointer
        fontObject* object = marker;
        EXPECT_EQ(otf.findTable(c.tag, object), c.listed) << c.tag;
        if (!c.listed)
            EXPECT_EQ(object, marker) << c.tag << ": out parameter must stay alone";
        else
            EXPECT_EQ(object != nullptr, c.hasObject) << c.tag;
    }
    fontObject* gasp = nullptr;
    otf.findTable("gasp", gasp);
    EXPECT_NE(dynamic_cast<gaspHeader*>(gasp), nullptr);
    fontObject* os2 = nullptr;
    otf.findTable("OS/2", os2);
    EXPECT_NE(dynamic_cast<OS2*>(os2), nullptr);
}

TEST(Container, ReadsTheOffsetTableAsStored) {
    Bytes image = SfntBuilder().sfntVersion(0x4F54544F).table("cmap", filler(4)).build();
    putU16(image, 6, 0x1234);
    OTF otf(image.data(), image.size());
    const uint8_t otto[4] = {'O', 'T', 'T', 'O'};
    EXPECT_EQ(0, memcmp(otf.sfntVersion, otto, 4));
    EXPECT_EQ(otf.searchRange, 0x1234);
    EXPECT_EQ(otf.tableRecords[0].length, 4u);
    EXPECT_EQ(otf.tableRecords[0].checkSum, getU32(image, recordAt(0) + 4));
}

TEST(Container, ZeroRecordsFindNothingAndWriteNothing) {
    Bytes image = SfntBuilder().build();
    ASSERT_EQ(image.size(), 12u);
    OTF otf(image.data(), image.size());
    EXPECT_TRUE(otf.valid);
    EXPECT_TRUE(otf.tableObjects.empty());
    fontObject* object = nullptr;
    EXPECT_FALSE(otf.findTable("OS/2", object));
    EXPECT_EQ(writtenBack(otf, image), image);
}

TEST(Container, UneditedWriteOutIsByteForByte) {
    Bytes image = sampleFont();
    // Even a stale checksum stays as it was read when nothing was edited.
    putU32(image, recordAt(1) + 4, 0xDEADBEEF);
    OTF otf(image.data(), image.size());
    EXPECT_EQ(writtenBack(otf, image), image);
}

TEST(Container, SameTagTwiceKeepsTheLaterObjectWrittenAtEveryOffset) {
    Bytes first = gaspTable(0, {{8, 1}, {0xFFFF, 3}});
    Bytes second = gaspTable(0, {{9, 2}, {0xFFFF, 1}});
    Bytes image = SfntBuilder().table("gasp", first).table("gasp", second).build();
    OTF otf(image.data(), image.size());
    ASSERT_EQ(otf.tableObjects.size(), 1u);
    fontObject* object = nullptr;
    ASSERT_TRUE(otf.findTable("gasp", object));
    auto* gasp = dynamic_cast<gaspHeader*>(object);
    ASSERT_NE(gasp, nullptr);
    EXPECT_EQ(gasp->ranges.begin()->first, 9);

    Bytes out = writtenBack(otf, image);
    // The later table's ranges now stand at both offsets.
    for (size_t record = 0; record < 2; ++record) {
        uint32_t at = recordOffset(out, record);
        EXPECT_EQ(Bytes(out.begin() + at, out.begin() + at + second.size()), second) << record;
    }
}

TEST(Container, ShortImagesAreNotValidAndHoldNoRecords) {
    Bytes whole = sampleFont();
    for (size_t size : {size_t{0}, size_t{11}, size_t{12}, recordAt(4) + 15}) {
        Bytes cut(whole.begin(), whole.begin() + size);
        OTF otf(cut.data(), cut.size());
        EXPECT_FALSE(otf.valid) << size;
        EXPECT_TRUE(otf.tableRecords.empty()) << size;
        EXPECT_TRUE(otf.tableObjects.empty()) << size;
    }
    Bytes huge = whole;
    putU16(huge, 4, 65535);
    OTF otf(huge.data(), huge.size());
    EXPECT_FALSE(otf.valid);
    EXPECT_EQ(directorySize(65535), 12u + 16u * 65535u);
}

TEST(Container, RecordsOutsideTheImageGetNoObjectButStayListed) {
    enum Where { FarAway, AtImageEnd, AsBuilt };
    struct Case {
        const char* name;
        Where where;
        uint32_t offset;
        uint32_t length;
        bool hasObject;
    } cases[] = {
        {"offset past the end", FarAway, 0x7FFFFFF0, 8, false},
        {"offset + length wraps", FarAway, 16, 0xFFFFFFF8, false},
        {"empty table at the very end", AtImageEnd, 0, 0, true},
        {"length past the end is clamped", AsBuilt, 0, 0x1000, true},
    };
    for (const Case& c : cases) {
        Bytes image = SfntBuilder().table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 2}})).build();
        uint32_t offset = c.where == FarAway      ? c.offset
                          : c.where == AtImageEnd ? static_cast<uint32_t>(image.size())
                                                  : recordOffset(image, 0);
        setRecordOffset(image, 0, offset);
        setRecordLength(image, 0, c.length);
        OTF otf(image.data(), image.size());
        fontObject* object = nullptr;
        ASSERT_TRUE(otf.findTable("gasp", object)) << c.name;
        EXPECT_EQ(object != nullptr, c.hasObject) << c.name;
        EXPECT_EQ(writtenBack(otf, image), image) << c.name;
    }
}

TEST(Container, EditedWriteOutFixesChecksumsOfChangedTablesOnly) {
    Bytes image = sampleFont();
    OTF otf(image.data(), image.size());
    fontObject* object = nullptr;
    ASSERT_TRUE(otf.findTable("OS/2", object));
    auto* os2 = dynamic_cast<OS2*>(object);
    ASSERT_NE(os2, nullptr);
    ASSERT_TRUE(os2->valid);
    os2->usWeightClass = 700;

    Bytes out = writtenBack(otf, image);
    ASSERT_EQ(out.size(), image.size());
    size_t differing = 0;
    for (size_t i = 0; i < out.size(); ++i)
        differing += out[i] != image[i];
    // weight class, the OS/2 record's checksum, head.checkSumAdjustment
    EXPECT_LE(differing, 2u + 4u + 4u);

    for (size_t i = 0; i < otf.tableRecords.size(); ++i) {
        uint32_t offset = recordOffset(out, i);
        uint32_t length = getU32(out, recordAt(i) + 12);
        uint32_t sum = sfntChecksum(out.data() + offset, length);
        if (std::string(otf.tableRecords[i].tag) == "head")
            sum -= getU32(out, offset + 8);
        EXPECT_EQ(getU32(out, recordAt(i) + 4), sum) << otf.tableRecords[i].tag;
    }
    EXPECT_EQ(sfntChecksum(out.data(), out.size()), kChecksumMagic);
    // A second write-out without an edit between changes nothing more.
    EXPECT_EQ(writtenBack(otf, out), out);
}
