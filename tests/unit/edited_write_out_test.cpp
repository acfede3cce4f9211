// Edits made through the table models, then the container's write-out: only
// the edited bytes, the directory checksums of the tables they changed and
// head.checkSumAdjustment may differ from the input. The checksums expected
// are computed here, not with the program's checksum code.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr uint32_t kMagic = 0xB1B0AFBA;

// Big-endian words over [offset, offset + length); bytes past the length or
// the image count as zero.
uint32_t sumOfWords(const Bytes& image, size_t offset, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        if (offset + i < image.size())
            sum += uint32_t{image[offset + i]} << (24 - 8 * (i % 4));
    return sum;
}

size_t recordLength(const Bytes& image, size_t record) {
    return getU32(image, recordAt(record) + 12);
}

size_t recordOf(const Bytes& image, const char* tag) {
    for (size_t i = 0; i < getU16(image, 4); ++i)
        if (std::equal(tag, tag + 4, image.begin() + recordAt(i)))
            return i;
    return SIZE_MAX;
}

// Where head's checkSumAdjustment stands; 0 when there is no head of at least
// 12 bytes inside the image.
size_t adjustmentAt(const Bytes& image) {
    size_t head = recordOf(image, "head");
    if (head == SIZE_MAX || recordOffset(image, head) > image.size())
        return 0;
    size_t inside = std::min(recordLength(image, head), image.size() - recordOffset(image, head));
    return inside >= 12 ? recordOffset(image, head) + 8 : 0;
}

uint32_t tableChecksum(const Bytes& image, size_t record) {
    uint32_t sum = sumOfWords(image, recordOffset(image, record), recordLength(image, record));
    size_t adjustment = adjustmentAt(image);
    if (record == recordOf(image, "head") && adjustment != 0)
        sum -= getU32(image, adjustment);
    return sum;
}

// Sets the checksums of the given records and the adjustment true.
void settle(Bytes& image, std::initializer_list<size_t> records) {
    for (size_t record : records)
        putU32(image, recordAt(record) + 4, tableChecksum(image, record));
    if (size_t adjustment = adjustmentAt(image)) {
        putU32(image, adjustment, 0);
        putU32(image, adjustment, kMagic - sumOfWords(image, 0, image.size()));
    }
}

// What the write-out must give: the edited bytes, a true checkSum for every
// record whose bytes differ, a new adjustment when anything changed.
Bytes expectedOutput(const Bytes& input, const Bytes& edited) {
    Bytes out = edited;
    for (size_t i = 0; i < getU16(input, 4); ++i) {
        size_t offset = recordOffset(input, i);
        size_t end = std::min(offset + recordLength(input, i), input.size());
        if (offset < end &&
            !std::equal(input.begin() + offset, input.begin() + end, edited.begin() + offset))
            putU32(out, recordAt(i) + 4, tableChecksum(out, i));
    }
    if (edited != input)
        settle(out, {});
    return out;
}

template <class Table> Table* modelOf(OTF& otf, const char* tag) {
    fontObject* object = nullptr;
    otf.findTable(tag, object);
    return dynamic_cast<Table*>(object);
}

// The edits of the two panes, made through the models and, independently, on
// a copy of the image: weight 700, width 3, PANOSE weight 8, and the range at
// 8 of kGasp moved past the next one, to 30, with new flags.
void applyEdits(OTF& otf, Bytes& edited) {
    OS2* os2 = modelOf<OS2>(otf, "OS/2");
    ASSERT_TRUE(os2 != nullptr && os2->valid);
    os2->usWeightClass = 700;
    os2->usWidthClass = 3;
    os2->panose[kPanoseWeightIndex] = 8;
    size_t at = recordOffset(edited, recordOf(edited, "OS/2"));
    putU16(edited, at + kOS2WeightAt, 700);
    putU16(edited, at + kOS2WidthAt, 3);
    edited[at + kOS2PanoseAt + 2] = 8;

    gaspHeader* gasp = modelOf<gaspHeader>(otf, "gasp");
    ASSERT_TRUE(gasp != nullptr && gasp->ranges.erase(8) == 1);
    gasp->ranges[30] = GASP_GRIDFIT | GASP_DOGRAY;
    const Bytes movedGasp = gaspTable(1, {{16, 7}, {30, 3}, {0xFFFF, 0xF}});
    std::copy(movedGasp.begin(), movedGasp.end(),
              edited.begin() + recordOffset(edited, recordOf(edited, "gasp")));
}

Bytes writeOut(OTF& otf, Bytes image) {
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    return image;
}

const Bytes kGasp = gaspTable(1, {{8, 2}, {16, 7}, {0xFFFF, 0xF}});

// OS/2 version 1 (86 bytes: its last word is padded), gasp, then head when
// given, its record claiming headLength bytes.
Bytes withHead(size_t headBytes, uint32_t headLength) {
    SfntBuilder builder;
    builder.table("OS/2", os2Table(1)).table("gasp", kGasp);
    Bytes head = headTable();
    head.resize(headBytes);
    if (headBytes != 0)
        builder.table("head", head, std::nullopt, headLength);
    return builder.build();
}

std::vector<std::pair<const char*, Bytes>> fontCases() {
    Bytes stale = sampleFont();
    putU32(stale, recordAt(1) + 4, 0xDEADBEEF); // cmap, not edited: stays
    putU32(stale, recordAt(2) + 4, 0x12345678); // OS/2, edited: made true

    // head's record runs over OS/2, so head's bytes change too; a second
    // record covers the OS/2 bytes, and an empty one inside them keeps its
    // stale checksum.
    Bytes overlapping = SfntBuilder()
                            .table("head", headTable())
                            .table("OS/2", os2Table(3))
                            .table("ZZZZ", {})
                            .table("zero", {})
                            .table("gasp", kGasp)
                            .build();
    const uint32_t os2At = recordOffset(overlapping, 1);
    setRecordLength(overlapping, 0, os2At + 96 - recordOffset(overlapping, 0));
    setRecordOffset(overlapping, 2, os2At);
    setRecordLength(overlapping, 2, 96);
    setRecordOffset(overlapping, 3, os2At + 10);
    putU32(overlapping, recordAt(3) + 4, 0x5EEDF00D);
    settle(overlapping, {0, 2});

    return {
        {"stale checksums", stale},
        {"no head", withHead(0, 0)},
        {"head of 11 bytes", withHead(11, 11)},
        {"head of exactly 12 bytes", withHead(12, 12)},
        {"head cut by the end of the image", withHead(8, 54)},
        {"gasp record past the end of the image", SfntBuilder()
                                                      .table("head", headTable())
                                                      .table("OS/2", os2Table(5))
                                                      .table("gasp", kGasp, std::nullopt, 4000)
                                                      .build()},
        {"overlapping records", overlapping},
    };
}

} // namespace

TEST(EditedWriteOut, OnlyEditsChecksumsAndAdjustmentChange) {
    for (const auto& [name, input] : fontCases()) {
        SCOPED_TRACE(name);
        OTF otf(input.data(), input.size());
        ASSERT_TRUE(otf.valid);
        // Unedited, even stale checksums stay as they were read.
        EXPECT_EQ(writeOut(otf, input), input);
        Bytes edited = input;
        ASSERT_NO_FATAL_FAILURE(applyEdits(otf, edited));
        const Bytes expected = expectedOutput(input, edited);
        const Bytes out = writeOut(otf, input);
        EXPECT_EQ(out, expected);
        // A second write-out without an edit between changes nothing.
        EXPECT_EQ(writeOut(otf, out), out);
    }
}
