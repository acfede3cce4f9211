// A range edited in the gasp pane and the font written out through the save
// dialog: the file holds the edit, and nothing else changed but checksums.
// With FONTAB_GASP_WRITE_OUT naming a folder, the fonts read and written are
// left there for a check by another tool.
#include "font/checksum.h"
#include "font/table_record.h"
#include "res/resource.h"
#include "tests/wine/gasp_pane_driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

constexpr size_t kNumTablesAt = 4;
constexpr size_t kRecordTagSize = 4;
constexpr size_t kRecordLengthAt = 12;
constexpr size_t kAdjustmentSize = 4;

struct TablePlace {
    size_t record = 0; // file offset of the directory record
    size_t offset = 0;
    size_t length = 0;
};

std::optional<TablePlace> findTablePlace(const Bytes& font, const std::string& tag) {
    uint16_t count = getU16(font, kNumTablesAt);
    for (size_t i = 0; i < count; ++i) {
        size_t record = recordAt(i);
        if (std::string(font.begin() + record, font.begin() + record + kRecordTagSize) == tag)
            return TablePlace{record, recordOffset(font, i),
                              getU32(font, record + kRecordLengthAt)};
    }
    return std::nullopt;
}

// Leaves a copy for the outside check when asked to.
void keepForCheck(const std::string& name, const Bytes& bytes) {
    const char* folder = std::getenv("FONTAB_GASP_WRITE_OUT");
    if (folder == nullptr || *folder == '\0')
        return;
    EXPECT_TRUE(writeBytes(std::string(folder) + "\\" + name, bytes)) << folder;
}

} // namespace

TEST(GaspWriteOut, TheEditIsWrittenAndNothingElseButChecksums) {
    const Bytes font = fontWithGasp(1, {{8, 0x0002}, {16, 0x0007}, {0xFFFF, 0x000F}});
    GaspPaneSession session(font);
    ASSERT_TRUE(session.ready());
    {
        // Row 0: 8 ppem becomes 10 points, 14 ppem, with both flags.
        ModalAnswerer answerer({answerGaspDialog({"10", true, true, true}, IDOK)});
        session.doubleClickRow(0);
        ASSERT_EQ(answerer.answered(), 1);
    }
    ASSERT_EQ(openGaspRanges(), (GaspRanges{{14, 0x0003}, {16, 0x0007}, {0xFFFF, 0x000F}}));
    std::string outPath = session.folder().file("written.ttf");
    {
        ModalAnswerer answerer({chooseFile(outPath)});
        session.program().command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.unexpected(), 0); // no error message
    }
    Bytes written = readBytes(outPath);
    keepForCheck("read.ttf", font);
    keepForCheck("written.ttf", written);
    ASSERT_EQ(written.size(), font.size());

    std::optional<TablePlace> gasp = findTablePlace(font, "gasp");
    std::optional<TablePlace> head = findTablePlace(font, "head");
    ASSERT_TRUE(gasp && head);
    const Bytes expectedGasp = gaspTable(1, {{14, 0x0003}, {16, 0x0007}, {0xFFFF, 0x000F}});
    ASSERT_EQ(gasp->length, expectedGasp.size());
    EXPECT_EQ(Bytes(written.begin() + gasp->offset, written.begin() + gasp->offset + gasp->length),
              expectedGasp);
    EXPECT_EQ(getU32(written, gasp->record + kRecordChecksumOffset),
              sfntChecksum(expectedGasp.data(), expectedGasp.size()));

    // Every other byte as read, but the gasp checksum and the whole-font one.
    std::set<size_t> mayChange;
    for (size_t i = 0; i < gasp->length; ++i)
        mayChange.insert(gasp->offset + i);
    for (size_t i = 0; i < kAdjustmentSize; ++i) {
        mayChange.insert(gasp->record + kRecordChecksumOffset + i);
        mayChange.insert(head->offset + kHeadAdjustmentOffset + i);
    }
    std::vector<size_t> changed;
    for (size_t i = 0; i < font.size(); ++i)
        if (written[i] != font[i] && mayChange.count(i) == 0)
            changed.push_back(i);
    EXPECT_EQ(changed, std::vector<size_t>{});

    // The whole-font checksum comes out at the magic number.
    Bytes zeroed = written;
    putU32(zeroed, head->offset + kHeadAdjustmentOffset, 0);
    EXPECT_EQ(getU32(written, head->offset + kHeadAdjustmentOffset),
              static_cast<uint32_t>(kChecksumMagic - sfntChecksum(zeroed.data(), zeroed.size())));
}
