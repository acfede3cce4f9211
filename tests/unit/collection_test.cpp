// Font collections: the header at its bounds and a write-out edited through
// one font. Shared objects, sharing fonts and full names show in the Wine
// collection and removal cases.
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
    // Past the last font, and for a tag no font lists, there is nothing.
    OTF otf(sample.data(), sample.size());
    EXPECT_EQ(otf.tableOf<OS2>("OS/2", 3), nullptr);
    EXPECT_EQ(otf.fontsSharing("cmap", 0), std::vector<size_t>{});
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
        EXPECT_EQ(brokenWriteOut(otf, sample.data(), sample.size(), out), nullptr);
    }
}
