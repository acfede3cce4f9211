// Edits made through the table models, then the container's write-out: only
// the edited bytes, the directory checksums of the tables they changed and
// head.checkSumAdjustment may differ from the input. Checksums are computed
// here on their own, not with the program's checksum code.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kMagic = 0xB1B0AFBA;

// Sum of big-endian words over [offset, offset + length); bytes missing at
// the end of the last word, or past the image, count as zero.
uint32_t sumOfWords(const Bytes& image, size_t offset, size_t length) {
    uint32_t sum = 0;
    for (size_t word = 0; word < length; word += 4) {
        uint32_t value = 0;
        for (size_t k = 0; k < 4; ++k) {
            size_t at = offset + word + k;
            uint8_t byte = (word + k < length && at < image.size()) ? image[at] : 0;
            value = (value << 8) | byte;
        }
        sum += value;
    }
    return sum;
}

std::string tagAt(const Bytes& image, size_t record) {
    return std::string(image.begin() + recordAt(record), image.begin() + recordAt(record) + 4);
}

// Where head's checkSumAdjustment stands, or 0 when the font has no head of
// at least 12 bytes inside the image.
size_t adjustmentAt(const Bytes& image) {
    for (size_t i = 0; i < getU16(image, 4); ++i) {
        if (tagAt(image, i) != "head")
            continue;
        size_t offset = recordOffset(image, i);
        size_t length = getU32(image, recordAt(i) + 12);
        if (offset <= image.size() && std::min(length, image.size() - offset) >= 12)
            return offset + 8;
    }
    return 0;
}

uint32_t tableChecksum(const Bytes& image, size_t record) {
    size_t offset = recordOffset(image, record);
    size_t length = getU32(image, recordAt(record) + 12);
    uint32_t sum = sumOfWords(image, offset, length);
    if (tagAt(image, record) == "head" && std::min(length, image.size() - offset) >= 12)
        sum -= getU32(image, offset + 8);
    return sum;
}

// The image the write-out must produce: the input with the edited bytes, the
// new checkSum of every record whose bytes differ, and a new adjustment.
Bytes expectedOutput(const Bytes& input, const Bytes& edited) {
    Bytes out = edited;
    for (size_t i = 0; i < getU16(input, 4); ++i) {
        size_t offset = recordOffset(input, i);
        size_t length = getU32(input, recordAt(i) + 12);
        bool changed = false;
        for (size_t at = offset; at < offset + length && at < input.size(); ++at)
            changed |= input[at] != edited[at];
        if (changed)
            putU32(out, recordAt(i) + 4, tableChecksum(out, i));
    }
    size_t adjustment = adjustmentAt(out);
    if (adjustment != 0 && edited != input) {
        putU32(out, adjustment, 0);
        putU32(out, adjustment, kMagic - sumOfWords(out, 0, out.size()));
    }
    return out;
}

std::string describeDifferences(const Bytes& actual, const Bytes& expected) {
    std::ostringstream text;
    size_t shown = 0;
    for (size_t i = 0; i < actual.size() && i < expected.size() && shown < 12; ++i)
        if (actual[i] != expected[i]) {
            text << " @" << i << ": " << int(actual[i]) << " want " << int(expected[i]) << ";";
            ++shown;
        }
    return text.str();
}

OS2* os2Of(OTF& otf) {
    fontObject* object = nullptr;
    otf.findTable("OS/2", object);
    return dynamic_cast<OS2*>(object);
}

gaspHeader* gaspOf(OTF& otf) {
    fontObject* object = nullptr;
    otf.findTable("gasp", object);
    return dynamic_cast<gaspHeader*>(object);
}

size_t recordIndex(const Bytes& image, const std::string& tag) {
    for (size_t i = 0; i < getU16(image, 4); ++i)
        if (tagAt(image, i) == tag)
            return i;
    ADD_FAILURE() << "no record " << tag;
    return 0;
}

// The edits of the OS/2 pane, applied to the model and, independently, to a
// copy of the image.
void applyOS2Edits(OTF& otf, const Bytes& input, Bytes& edited) {
    OS2* os2 = os2Of(otf);
    ASSERT_NE(os2, nullptr);
    ASSERT_TRUE(os2->valid);
    os2->usWeightClass = 700;
    os2->usWidthClass = 3;
    os2->panose[kPanoseWeightIndex] = 8;
    size_t at = recordOffset(input, recordIndex(input, "OS/2"));
    putU16(edited, at + 4, 700);
    putU16(edited, at + 6, 3);
    edited[at + 34] = 8;
}

// Moves the range at oldLimit to newLimit with new flags, in the model and,
// with the records re-sorted here, in the copy of the image.
void applyGaspEdit(OTF& otf, const Bytes& input, Bytes& edited, uint16_t oldLimit,
                   uint16_t newLimit, uint16_t flags) {
    gaspHeader* gasp = gaspOf(otf);
    ASSERT_NE(gasp, nullptr);
    ASSERT_EQ(gasp->ranges.count(oldLimit), 1u);
    gasp->ranges.erase(oldLimit);
    gasp->ranges[newLimit] = flags;

    size_t at = recordOffset(input, recordIndex(input, "gasp"));
    std::map<uint16_t, uint16_t> records;
    for (size_t k = 0; k < getU16(input, at + 2); ++k)
        records[getU16(input, at + 4 + 4 * k)] = getU16(input, at + 6 + 4 * k);
    ASSERT_EQ(records.size(), getU16(input, at + 2)) << "fixture ranges must be distinct";
    records.erase(oldLimit);
    records[newLimit] = flags;
    size_t k = 0;
    for (const auto& [limit, behaviour] : records) {
        putU16(edited, at + 4 + 4 * k, limit);
        putU16(edited, at + 6 + 4 * k, behaviour);
        ++k;
    }
}

Bytes writeOut(OTF& otf, Bytes image) {
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    return image;
}

struct FontCase {
    const char* name;
    std::function<Bytes()> build;
    bool hasAdjustment;
    const char* staleTag = nullptr; // a checksum wrong in the input, on an unedited table
};

Bytes headless() {
    return SfntBuilder()
        .table("cmap", filler(36, 0x20))
        .table("OS/2", os2Table(1)) // 86 bytes: the last word is padded
        .table("gasp", gaspTable(1, {{8, 2}, {16, 7}, {0xFFFF, 0xF}}))
        .build();
}

Bytes withShortHead(size_t headLength) {
    Bytes head = headTable();
    head.resize(headLength);
    return SfntBuilder()
        .table("head", head)
        .table("OS/2", os2Table(2))
        .table("gasp", gaspTable(0, {{8, 2}, {16, 7}, {0xFFFF, 3}}))
        .build();
}

// head claims 54 bytes but only 8 of them lie inside the image.
Bytes withHeadCutByTheImageEnd() {
    Bytes head = headTable();
    head.resize(8);
    Bytes image = SfntBuilder()
                      .table("OS/2", os2Table(5))
                      .table("gasp", gaspTable(1, {{8, 2}, {16, 7}, {0xFFFF, 0xF}}))
                      .table("head", head, std::nullopt, 54)
                      .build();
    return image;
}

// Stale checksums: one on a table that is edited, one on a table that is not.
Bytes withStaleChecksums() {
    Bytes image = sampleFont();
    putU32(image, recordAt(1) + 4, 0xDEADBEEF); // cmap
    putU32(image, recordAt(2) + 4, 0x12345678); // OS/2
    return image;
}

// The gasp record claims more bytes than the image holds: its checksum covers
// the bytes that are there.
Bytes withGaspPastTheImageEnd() {
    return SfntBuilder()
        .table("head", headTable())
        .table("OS/2", os2Table(0))
        .table("gasp", gaspTable(1, {{8, 2}, {16, 7}, {0xFFFF, 0xF}}), std::nullopt, 4000)
        .build();
}

// head's record runs over the OS/2 table, so editing OS/2 changes head's
// bytes too: its checksum is taken with the adjustment as zero.
Bytes withHeadOverOS2() {
    Bytes image = SfntBuilder()
                      .table("head", headTable())
                      .table("OS/2", os2Table(4))
                      .table("gasp", gaspTable(1, {{8, 2}, {16, 7}, {0xFFFF, 0xF}}))
                      .build();
    const size_t head = 0;
    const size_t os2 = 1;
    setRecordLength(image, head, recordOffset(image, os2) + 96 - recordOffset(image, head));
    putU32(image, recordAt(head) + 4, tableChecksum(image, head));
    putU32(image, adjustmentAt(image), 0);
    putU32(image, adjustmentAt(image), kMagic - sumOfWords(image, 0, image.size()));
    return image;
}

std::vector<FontCase> fontCases() {
    return {
        {"sample font, OS/2 version 4", sampleFont, true},
        {"stale checksums", withStaleChecksums, true, "cmap"},
        {"no head", headless, false},
        {"head of 11 bytes", [] { return withShortHead(11); }, false},
        {"head of exactly 12 bytes", [] { return withShortHead(12); }, true},
        {"head cut by the end of the image", withHeadCutByTheImageEnd, false},
        {"gasp record past the end of the image", withGaspPastTheImageEnd, true},
        {"head record over the OS/2 table", withHeadOverOS2, true},
    };
}

} // namespace

TEST(EditedWriteOut, OnlyEditsChecksumsAndAdjustmentChange) {
    for (const FontCase& c : fontCases()) {
        SCOPED_TRACE(c.name);
        const Bytes input = c.build();
        ASSERT_EQ(adjustmentAt(input) != 0, c.hasAdjustment);
        OTF otf(input.data(), input.size());
        ASSERT_TRUE(otf.valid);

        Bytes edited = input;
        applyOS2Edits(otf, input, edited);
        applyGaspEdit(otf, input, edited, 16, 20, GASP_GRIDFIT);

        Bytes out = writeOut(otf, input);
        Bytes expected = expectedOutput(input, edited);
        ASSERT_EQ(out.size(), input.size());
        EXPECT_EQ(out, expected) << describeDifferences(out, expected);

        // What differs, position by position.
        std::set<size_t> allowed;
        for (size_t i = 0; i < input.size(); ++i)
            if (edited[i] != input[i])
                allowed.insert(i);
        for (size_t record = 0; record < getU16(input, 4); ++record) {
            size_t offset = recordOffset(input, record);
            size_t end =
                std::min<size_t>(offset + getU32(input, recordAt(record) + 12), input.size());
            if (!std::equal(input.begin() + offset, input.begin() + end, edited.begin() + offset))
                for (size_t k = 0; k < 4; ++k)
                    allowed.insert(recordAt(record) + 4 + k);
        }
        if (c.hasAdjustment)
            for (size_t k = 0; k < 4; ++k)
                allowed.insert(adjustmentAt(input) + k);
        for (size_t i = 0; i < input.size(); ++i) {
            if (out[i] != input[i]) {
                EXPECT_EQ(allowed.count(i), 1u) << "byte " << i << " changed";
            }
        }

        // The edited tables now carry true checksums, and so does the whole font.
        for (size_t record = 0; record < getU16(out, 4); ++record) {
            if (c.staleTag != nullptr && tagAt(out, record) == c.staleTag)
                continue; // stale on purpose and not edited
            EXPECT_EQ(getU32(out, recordAt(record) + 4), tableChecksum(out, record))
                << tagAt(out, record);
        }
        if (c.hasAdjustment) {
            EXPECT_EQ(sumOfWords(out, 0, out.size()), kMagic);
        }

        // A second write-out without an edit between changes nothing.
        Bytes again = writeOut(otf, out);
        EXPECT_EQ(again, out) << describeDifferences(again, out);
    }
}

TEST(EditedWriteOut, StaleChecksumOfAnUneditedTableStays) {
    const Bytes input = withStaleChecksums();
    OTF otf(input.data(), input.size());
    Bytes edited = input;
    applyOS2Edits(otf, input, edited);
    Bytes out = writeOut(otf, input);
    EXPECT_EQ(getU32(out, recordAt(1) + 4), 0xDEADBEEFu);
    EXPECT_EQ(getU32(out, recordAt(2) + 4), tableChecksum(out, 2));
    EXPECT_EQ(getU32(out, recordAt(3) + 4), getU32(input, recordAt(3) + 4)); // gasp untouched
}

TEST(EditedWriteOut, GaspEditThatReordersStaysInTheTable) {
    const Bytes input = sampleFont();
    OTF otf(input.data(), input.size());
    Bytes edited = input;
    applyGaspEdit(otf, input, edited, 8, 30, GASP_DOGRAY | GASP_GRIDFIT);
    // The moved range now stands second.
    size_t gaspAt = recordOffset(input, recordIndex(input, "gasp"));
    EXPECT_EQ(getU16(edited, gaspAt + 8), 30);
    Bytes out = writeOut(otf, input);
    Bytes expected = expectedOutput(input, edited);
    EXPECT_EQ(out, expected) << describeDifferences(out, expected);
    // The OS/2 table was not edited: its record keeps its checksum.
    size_t os2 = recordIndex(input, "OS/2");
    EXPECT_EQ(getU32(out, recordAt(os2) + 4), getU32(input, recordAt(os2) + 4));
}

TEST(EditedWriteOut, EditBackToTheSameValueChangesNothing) {
    Bytes input = sampleFont();
    putU32(input, recordAt(2) + 4, 0x0BADF00D); // stale, and must stay so
    OTF otf(input.data(), input.size());
    OS2* os2 = os2Of(otf);
    ASSERT_NE(os2, nullptr);
    const uint16_t weight = os2->usWeightClass;
    os2->usWeightClass = 700;
    os2->usWeightClass = weight;
    gaspHeader* gasp = gaspOf(otf);
    ASSERT_NE(gasp, nullptr);
    gasp->ranges[16] = gasp->ranges[16];
    Bytes out = writeOut(otf, input);
    EXPECT_EQ(out, input) << describeDifferences(out, input);
}

TEST(EditedWriteOut, EveryRecordOverChangedBytesGetsItsChecksum) {
    // A second record over the same OS/2 bytes, and an empty record inside
    // them whose bytes cannot change.
    Bytes input = SfntBuilder()
                      .table("head", headTable())
                      .table("OS/2", os2Table(3))
                      .table("ZZZZ", filler(4))
                      .table("zero", {})
                      .build();
    const size_t os2At = recordOffset(input, 1);
    setRecordOffset(input, 2, static_cast<uint32_t>(os2At));
    setRecordLength(input, 2, 96);
    setRecordOffset(input, 3, static_cast<uint32_t>(os2At + 10));
    putU32(input, recordAt(2) + 4, tableChecksum(input, 2));
    putU32(input, recordAt(3) + 4, 0x5EEDF00D); // stale, on a table of no bytes
    putU32(input, adjustmentAt(input), 0);
    putU32(input, adjustmentAt(input), kMagic - sumOfWords(input, 0, input.size()));

    OTF otf(input.data(), input.size());
    Bytes edited = input;
    applyOS2Edits(otf, input, edited);
    Bytes out = writeOut(otf, input);
    Bytes expected = expectedOutput(input, edited);
    EXPECT_EQ(out, expected) << describeDifferences(out, expected);
    EXPECT_EQ(getU32(out, recordAt(2) + 4), getU32(out, recordAt(1) + 4));
    EXPECT_EQ(getU32(out, recordAt(3) + 4), 0x5EEDF00Du);
}
