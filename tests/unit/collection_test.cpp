// Font collections: the header at its bounds, shared tables, the full names,
// and a write-out edited through one font.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2_edit.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr size_t kHeaderEnd = 24;              // tag, version, numFonts, three offsets
constexpr size_t kDirectorySize = 76;          // 12 + 4 records of 16
const uint16_t kOS2 = 0, kGasp = 1, kHead = 2; // record indices in every font

size_t fieldAt(size_t font, size_t record, size_t field) { // a directory record's field
    return kHeaderEnd + kDirectorySize * font + 12 + 16 * record + field;
}

size_t fontCount(const Bytes& image) {
    OTF otf(image.data(), image.size());
    EXPECT_EQ(brokenWriteRule(image.data(), image.size(), PaneEdits{}), nullptr);
    return otf.valid ? otf.fonts.size() : 0;
}

} // namespace

TEST(Collection, HeaderAndDirectoriesAtTheirBoundsAndOnePast) {
    const Bytes sample = sampleCollection();
    EXPECT_EQ(fontCount(sample), 3u);
    auto patched = [&sample](size_t at, uint32_t value, bool wide = true) {
        Bytes image = sample;
        wide ? putU32(image, at, value) : putU16(image, at, static_cast<uint16_t>(value));
        return image;
    };
    const uint32_t size = static_cast<uint32_t>(sample.size());
    const std::pair<Bytes, size_t> cases[] = {
        {patched(8, 0), 0},          // numFonts 0
        {patched(8, 1), 1},          // one font of three offsets
        {patched(8, 0x40000001), 0}, // 4 * numFonts past 32 bits
        {patched(8, (size - 12) / 4 + 1), 0},
        {patched(4, 2, false), 3},        // version 2.0
        {patched(4, 3, false), 0},        // version 3
        {patched(12 + 8, size - 12), 0},  // font 2's offset table at the end: no room for records
        {patched(12 + 8, size - 11), 0},  // one byte past
        {patched(12 + 8, 0xFFFFFFF8), 0}, // offset + 12 past 32 bits
        {Bytes(sample.begin(), sample.begin() + kHeaderEnd + 3 * kDirectorySize), 3},
        {Bytes(sample.begin(), sample.begin() + kHeaderEnd + 3 * kDirectorySize - 1), 0},
        {Bytes(sample.begin(), sample.begin() + 23), 0}, // the last offset cut
    };
    for (const auto& [image, fonts] : cases)
        EXPECT_EQ(fontCount(image), fonts) << &image - &cases[0].first;
}

TEST(Collection, ATableListedByTwoFontsIsOneObjectAndEachFontHasItsName) {
    const Bytes image = sampleCollection();
    OTF otf(image.data(), image.size());
    ASSERT_TRUE(otf.isCollection() && otf.fonts.size() == 3);
    auto* gasp = otf.tableOf<gaspHeader>("gasp", 0);
    EXPECT_TRUE(gasp && gasp == otf.tableOf<gaspHeader>("gasp", 1) &&
                gasp == otf.tableOf<gaspHeader>("gasp", 2));
    EXPECT_EQ(otf.tableOf<OS2>("OS/2", 0), otf.tableOf<OS2>("OS/2", 2));
    EXPECT_NE(otf.tableOf<OS2>("OS/2", 0), otf.tableOf<OS2>("OS/2", 1));
    EXPECT_EQ(otf.tableOf<OS2>("OS/2", 1)->usWeightClass, 500);
    EXPECT_EQ(otf.tableOf<OS2>("OS/2", 3), nullptr) << "no font 3";
    EXPECT_EQ(otf.fontsSharing("gasp", 1), (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(otf.fontsSharing("OS/2", 2), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(otf.fontsSharing("OS/2", 1), std::vector<size_t>{1});
    EXPECT_EQ(otf.fontsSharing("head", 0), std::vector<size_t>{0});
    EXPECT_EQ(otf.fontsSharing("cmap", 0), std::vector<size_t>{});
    const std::u16string names[] = {u"ゴシック", u"Sample Mincho", u""};
    for (size_t font = 0; font < 3; ++font)
        EXPECT_TRUE(otf.fonts[font].fullName == names[font]) << font;
}

// Edited through font 1, set back, edited again: each write-out changes the
// edited tables and the checksums of every record listing them, nothing else.
TEST(Collection, AnEditThroughOneFontIsWrittenOnceWithTheChecksumsOfEveryDirectory) {
    const Bytes sample = sampleCollection();
    Bytes image = sample;
    OTF otf(image.data(), image.size());
    gaspHeader& gasp = *otf.tableOf<gaspHeader>("gasp", 1);
    OS2& shared = *otf.tableOf<OS2>("OS/2", 2);
    const size_t gaspAt = getU32(sample, fieldAt(0, kGasp, 8)),
                 os2At = getU32(sample, fieldAt(0, kOS2, 8));
    for (int round = 0; round < 3; ++round) {
        const bool edited = round != 1;
        gasp.ranges[8] = edited ? 0x1 : 0x2;
        storeWeightPosition(shared, edited ? 9 : 4);
        const Bytes out = writtenOut(otf, image);
        if (!edited) {
            EXPECT_EQ(out, sample) << "set back";
            continue;
        }
        EXPECT_EQ(getU16(out, gaspAt + 6), 0x1);
        EXPECT_EQ(getU16(out, os2At + 4), 900);
        std::set<size_t> allowed;
        for (size_t i = 0; i < 12; ++i)
            allowed.insert({gaspAt + i, os2At + 4, os2At + 5});
        for (size_t font = 0; font < 3; ++font)
            for (uint16_t record : {kOS2, kGasp, kHead}) {
                const size_t field = fieldAt(font, record, 4);
                const size_t at = getU32(out, fieldAt(font, record, 8));
                const Bytes table(&out[at],
                                  &out[at] + getU32(out, fieldAt(font, record, 12)));
                const bool changed = record == kGasp || (record == kOS2 && font != 1);
                EXPECT_EQ(getU32(out, field),
                          changed ? wordSum(table, 0, table.size()) : getU32(sample, field))
                    << font << "/" << record;
                for (size_t i = 0; changed && i < 4; ++i)
                    allowed.insert(field + i);
            }
        for (size_t i = 0; i < out.size(); ++i)
            EXPECT_TRUE(out[i] == sample[i] || allowed.count(i)) << "byte " << i;
    }
}
