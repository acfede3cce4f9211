// The container: its directory, records, checksums and write-out, and every
// file the program must survive replayed through the shared write check.
#include "font/byte_reader.h"
#include "font/byte_writer.h"
#include "font/checksum.h"
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> filesUnder(const fs::path& folder, bool fontsOnly) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file() && (!fontsOnly || entry.path().extension() == ".ttf" ||
                                            entry.path().extension() == ".otf"))
                files.push_back(entry.path());
    return files;
}

std::string brokenRule(const Bytes& font, bool uneditedIdentical = true) {
    const char* rule = brokenWriteRule(font.data(), font.size(), PaneEdits{}, uneditedIdentical);
    return rule ? rule : "";
}

void expectWriteRulesHold(const std::vector<fs::path>& files) {
    for (const fs::path& file : files)
        EXPECT_EQ(brokenRule(readFile(file),
                             file.filename().string().find("unsorted") == std::string::npos),
                  "")
            << file;
}

// A record's checksum as the file must carry it: head's with its adjustment
// counted as zero.
uint32_t trueChecksum(const Bytes& image, const TableRecord& record, size_t span) {
    Bytes table(image.begin() + record.offset, image.begin() + record.offset + span);
    if (std::string(record.tag) == "head" && span >= 12)
        putU32(table, 8, 0);
    return sfntChecksum(table.data(), table.size());
}

} // namespace

TEST(Cursor, ReadsAndWritesBigEndianUpToTheEndAndNotPast) {
    const uint8_t bytes[] = {0x12, 0x34, 0x89, 0xAB, 0xCD};
    ByteReader reader(bytes, sizeof bytes);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    uint8_t u8 = 0;
    EXPECT_FALSE(reader.seek(6));
    EXPECT_TRUE(reader.readU16(u16) && reader.readU16(u16));
    EXPECT_EQ(u16, 0x89AB);
    EXPECT_FALSE(reader.readU32(u32)) << "the cursor must stay";
    EXPECT_TRUE(reader.readU8(u8) && u8 == 0xCD);
    EXPECT_FALSE(reader.readU8(u8));
    EXPECT_TRUE(reader.seek(1) && reader.readU32(u32));
    EXPECT_EQ(u32, 0x3489ABCDu);

    uint8_t out[5] = {};
    ByteWriter writer(out, 4);
    EXPECT_TRUE(writer.writeU16(0x1234));
    EXPECT_FALSE(writer.writeU32(0xFFFFFFFF));
    EXPECT_TRUE(writer.writeU16(0x89AB));
    EXPECT_FALSE(writer.writeU8(0xFF));
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{0x12, 0x34, 0x89, 0xAB, 0}));
}

TEST(Container, ValidExactlyWhenTheImageHoldsTheWholeDirectory) {
    const Bytes font = sampleFont(); // five records: the directory ends at 92
    for (size_t size : {size_t{0}, size_t{11}, size_t{12}, size_t{91}, size_t{92}}) {
        const Bytes image(font.begin(), font.begin() + size);
        OTF otf(image.data(), image.size());
        EXPECT_EQ(otf.valid != 0, size == 92) << size;
        EXPECT_EQ(otf.tableRecords.size(), size == 92 ? 5u : 0u) << size;
    }
}

TEST(Container, GivesObjectsOnlyToExactlyGaspAndOS2AndKeepsTheLaterOfTwoRecords) {
    const Bytes first = gaspTable(0, {{8, 1}, {0xFFFF, 3}});
    const Bytes second = gaspTable(0, {{9, 2}, {0xFFFF, 1}});
    Bytes image = SfntBuilder()
                      .table("gasp", first)
                      .table("cmap", filler(8))
                      .table("OS/2", os2Table(1))
                      .table("os/2", os2Table(1))
                      .table("GASP", gaspTable(0, {}))
                      .table("gasp", second)
                      .build();
    OTF otf(image.data(), image.size());
    ASSERT_EQ(otf.tableRecords.size(), 6u);
    EXPECT_STREQ(otf.tableRecords[3].tag, "os/2") << "records keep the directory's order";
    EXPECT_NE(otf.tableOf<OS2>("OS/2"), nullptr);
    const gaspHeader* gasp = otf.tableOf<gaspHeader>("gasp");
    ASSERT_NE(gasp, nullptr);
    EXPECT_EQ(gasp->ranges.begin()->first, 9);
    for (const char* tag : {"cmap", "os/2", "GASP"}) {
        fontObject* object = &otf;
        EXPECT_TRUE(otf.findTable(tag, object) && object == nullptr) << tag;
    }
    fontObject* untouched = &otf;
    EXPECT_FALSE(otf.findTable("head", untouched));
    EXPECT_EQ(untouched, &otf) << "a missing tag leaves the out parameter alone";

    // The one object is written at both records' offsets.
    const Bytes original = image;
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    for (size_t record : {0, 5})
        EXPECT_TRUE(
            std::equal(second.begin(), second.end(), image.begin() + recordOffset(image, record)))
            << record;
    EXPECT_EQ(brokenRule(original, false), "");
}

TEST(Container, RecordsPastTheImageOrPast32BitsGetNoObject) {
    const Bytes gasp = gaspTable(0, {{8, 1}, {0xFFFF, 2}});
    const uint32_t end = static_cast<uint32_t>(SfntBuilder().table("gasp", gasp).build().size());
    struct Case {
        uint32_t offset, length;
        bool hasObject;
    } cases[] = {
        {end, 0, true},
        {end + 1, 0, false},
        {28, 0xFFFFFFFF - 28, true},
        {28, 0xFFFFFFFF - 27, false},
        {end - 12, 0x1000, true},
    };
    for (const Case& c : cases) {
        Bytes image = SfntBuilder().table("gasp", gasp).build();
        setRecordOffset(image, 0, c.offset);
        setRecordLength(image, 0, c.length);
        OTF otf(image.data(), image.size());
        fontObject* object = nullptr;
        ASSERT_TRUE(otf.findTable("gasp", object));
        EXPECT_EQ(object != nullptr, c.hasObject) << c.offset << " + " << c.length;
        EXPECT_EQ(brokenRule(image), "");
    }
}

TEST(Checksum, SumsBigEndianWordsWithTheLastOnePadded) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0xF0, 0x06, 0x07};
    EXPECT_EQ(sfntChecksum(bytes, 0), 0u);
    EXPECT_EQ(sfntChecksum(bytes, 4), 0x01020304u);
    EXPECT_EQ(sfntChecksum(bytes, 5), 0xF1020304u);
    EXPECT_EQ(sfntChecksum(bytes, 7), 0xF1080A04u);
}

TEST(WriteOut, BringsTheChangedTablesChecksumsAndHeadsAdjustmentUpToDate) {
    Bytes stale = sampleFont();
    putU32(stale, recordAt(1) + 4, 0xDEADBEEF); // cmap, not edited: stays
    putU32(stale, recordAt(2) + 4, 0x12345678); // OS/2, edited: made true
    // head's record runs over the OS/2 table (version 1: 86 bytes, its last
    // word padded), so head's own checksum changes with the edit.
    Bytes overlapping = SfntBuilder().table("head", headTable()).table("OS/2", os2Table(1)).build();
    setRecordLength(overlapping, 0,
                    recordOffset(overlapping, 1) + 86 - recordOffset(overlapping, 0));
    auto withHead = [](size_t headSize) {
        Bytes head = headTable();
        head.resize(headSize);
        return SfntBuilder().table("OS/2", os2Table(5)).table("head", head).build();
    };
    const std::pair<const char*, Bytes> fonts[] = {
        {"stale checksums", stale},
        {"head over OS/2", overlapping},
        {"head of 11 bytes", withHead(11)},
        {"head of 12 bytes", withHead(12)},
        {"no head",
         SfntBuilder().table("OS/2", os2Table(1)).table("gasp", gaspTable(0, {{9, 1}})).build()},
    };
    for (const auto& [name, input] : fonts) {
        SCOPED_TRACE(name);
        Bytes image = input;
        OTF otf(image.data(), image.size());
        editLikeThePanes(otf, PaneEdits{});
        ASSERT_TRUE(otf.writeTable(image.data(), image.size()));
        bool headAdjusted = false;
        for (size_t i = 0; i < otf.tableRecords.size(); ++i) {
            const TableRecord& record = otf.tableRecords[i];
            size_t span = 0;
            ASSERT_TRUE(tableSpan(record, image.size(), span));
            const bool changed =
                !std::equal(image.begin() + record.offset, image.begin() + record.offset + span,
                            input.begin() + record.offset);
            EXPECT_EQ(getU32(image, recordAt(i) + 4),
                      changed ? trueChecksum(image, record, span) : getU32(input, recordAt(i) + 4))
                << record.tag;
            headAdjusted |= std::string(record.tag) == "head" && span >= 12;
            if (std::string(record.tag) == "OS/2") {
                EXPECT_EQ(getU16(image, record.offset + kOS2WeightAt), 700) << "edit lost";
            }
        }
        if (headAdjusted) {
            EXPECT_EQ(sfntChecksum(image.data(), image.size()), kChecksumMagic);
        }
        EXPECT_EQ(brokenRule(input), "");
        const Bytes once = image;
        EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
        EXPECT_EQ(image, once) << "a second write-out without an edit changes nothing";
    }
}

TEST(WriteOut, EveryCorpusFileAndTheSampleFontPassTheWriteCheck) {
    const std::vector<fs::path> corpus = filesUnder(FONTAB_SOURCE_DIR "/tests/fuzz/corpus", false);
    ASSERT_GE(corpus.size(), 40u) << "the committed corpus is missing";
    expectWriteRulesHold(corpus);
    const Bytes sample = readFile(FONTAB_SOURCE_DIR "/tests/fixtures/sample.ttf");
    OTF otf(sample.data(), sample.size());
    const OS2* os2 = otf.tableOf<OS2>("OS/2");
    EXPECT_TRUE(os2 && os2->valid && os2->version == 4 && otf.tableOf<gaspHeader>("gasp"))
        << "the sample font must carry both editable tables";
    expectWriteRulesHold(filesUnder(FONTAB_SOURCE_DIR "/tests/fixtures", true));
}

TEST(WriteOut, InstalledFontsPassTheWriteCheck) {
    const std::vector<fs::path> fonts = filesUnder("/usr/share/fonts", true);
    if (fonts.empty())
        GTEST_SKIP() << "no .ttf or .otf under /usr/share/fonts (scripts/setup installs them)";
    expectWriteRulesHold(fonts);
}
