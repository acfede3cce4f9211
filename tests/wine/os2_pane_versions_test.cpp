// The OS/2 pane on each kind of OS/2 table: the versions the model reads are
// edited and written out; a table it refuses gives a pane that edits nothing.
#include "app/base_window.h"
#include "app/main_window.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_pane.h"
#include "tests/wine/os2_pane_probe.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

// The checksum of a table as its directory record holds it.
uint32_t tableCheckSum(const Bytes& image, size_t offset, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i < length; i += 4) {
        uint32_t word = 0;
        for (size_t b = 0; b < 4; ++b)
            word = (word << 8) | (i + b < length ? image[offset + i + b] : 0);
        sum += word;
    }
    return sum;
}

uint32_t recordCheckSum(const Bytes& image, const std::string& tag) {
    uint16_t numTables = getU16(image, 4);
    for (size_t i = 0; i < numTables; ++i)
        if (std::string(image.begin() + recordAt(i), image.begin() + recordAt(i) + 4) == tag)
            return getU32(image, recordAt(i) + 4);
    return 0;
}

void expectDisabledAndEmpty(const OS2PaneView& view) {
    EXPECT_EQ(view.shownEnabled, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(view.editorsEnabled, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(view.usage, -1);
    EXPECT_EQ(view.options, (std::array<bool, 2>{false, false}));
    EXPECT_EQ(view.vendor, "");
    EXPECT_EQ(view.weightName, "");
    EXPECT_EQ(view.widthName, "");
    EXPECT_EQ(view.panose, -1);
}

// Every edit a user could try.
void tryEveryEdit(const OS2PaneControls& c) {
    moveTrackbar(c.pane, c.weightTrackbar(), 7);
    moveTrackbar(c.pane, c.widthTrackbar(), 3);
    chooseListItem(c.pane, c.panoseList(), 2);
}

} // namespace

TEST(OS2PaneVersions, EditableVersionsAreEditedAndWrittenOut) {
    for (uint16_t version : {0, 1, 2, 3, 4, 5}) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        TestFolder folder;
        Bytes font = fontWithOS2(os2TableWith({version, 400, 5, 0x0008, {'T', 'E', 'S', 'T'}, 8}));
        ASSERT_TRUE(writeBytes(folder.file("in.ttf"), font));
        ProgramWindow program;
        ASSERT_TRUE(openOS2Pane(program, folder.file("in.ttf")));
        OS2PaneControls c = currentOS2Pane();
        ASSERT_EQ(c.children.size(), kOS2PaneControlCount);
        OS2PaneView view = readOS2Pane(c);
        EXPECT_EQ(view.editorsEnabled, (std::array<bool, 3>{true, true, true}));
        EXPECT_EQ(view.weightName, "Regular");
        EXPECT_EQ(view.vendor, "TEST");

        moveTrackbar(c.pane, c.weightTrackbar(), 7);
        moveTrackbar(c.pane, c.widthTrackbar(), 3);
        ASSERT_TRUE(chooseListItem(c.pane, c.panoseList(), 2));
        ASSERT_TRUE(writeOutAs(program, folder.file("out.ttf")));

        Bytes written = readBytes(folder.file("out.ttf"));
        ASSERT_EQ(written.size(), font.size());
        uint32_t at = tableOffset(font, "OS/2");
        size_t size = OS2::sizeForVersion(version);
        ASSERT_NE(size, 0u);
        Bytes expected(font.begin() + at, font.begin() + at + size);
        putU16(expected, kOS2WeightAt, 700);
        putU16(expected, kOS2WidthAt, 3);
        expected[kOS2PanoseAt + 2] = 2;
        EXPECT_EQ(Bytes(written.begin() + at, written.begin() + at + size), expected);
        EXPECT_EQ(changedOutsideTable(font, written, "OS/2"), std::vector<size_t>{});
        EXPECT_EQ(recordCheckSum(written, "OS/2"), tableCheckSum(written, at, size));
    }
}

TEST(OS2PaneVersions, RefusedTablesGiveADisabledPaneAndStayUntouched) {
    struct Case {
        const char* name;
        Bytes os2;
    };
    const Case cases[] = {
        {"version 6", os2Table(6, 100)},           {"version 4 cut short", os2Table(4, 90)},
        {"version 1 cut short", os2Table(1, 80)},  {"version 0 cut short", os2Table(0, 60)},
        {"version 0xFFFF", os2Table(0xFFFF, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        Bytes font = fontWithOS2(c.os2);
        ASSERT_TRUE(writeBytes(folder.file("in.ttf"), font));
        ProgramWindow program;
        ASSERT_TRUE(openOS2Pane(program, folder.file("in.ttf")));
        OS2PaneControls controls = currentOS2Pane();
        ASSERT_EQ(controls.children.size(), kOS2PaneControlCount);
        expectDisabledAndEmpty(readOS2Pane(controls));
        EXPECT_EQ(os2Object, nullptr);

        tryEveryEdit(controls);
        OS2* os2 = openOS2();
        ASSERT_NE(os2, nullptr);
        EXPECT_EQ(os2->usWeightClass, 0);
        EXPECT_EQ(os2->usWidthClass, 0);
        EXPECT_EQ(os2->panose[kPanoseWeightIndex], 0);
        EXPECT_EQ(readOS2Pane(controls).weightName, "");

        ASSERT_TRUE(writeOutAs(program, folder.file("out.ttf")));
        EXPECT_EQ(readBytes(folder.file("out.ttf")), font);
    }
}

TEST(OS2PaneVersions, APaneWithoutAFontShowsNothingAndEditsNothing) {
    ProgramWindow program;
    ASSERT_EQ(otf, nullptr);
    HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, kOS2PaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0,
                                400, 300, hBaseWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(pane, nullptr);
    OS2PaneControls controls = os2PaneControls(pane);
    ASSERT_EQ(controls.children.size(), kOS2PaneControlCount);
    expectDisabledAndEmpty(readOS2Pane(controls));
    tryEveryEdit(controls);
    OS2PaneView view = readOS2Pane(controls);
    EXPECT_EQ(view.editorsEnabled, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(view.weightName, "");
    EXPECT_EQ(view.widthName, "");
    EXPECT_EQ(os2Object, nullptr);
    DestroyWindow(pane);
}

TEST(OS2PaneVersions, APaneWhoseFontWasReleasedStopsEditing) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), fontWithOS2(os2TableWith({}))));
    ProgramWindow program;
    ASSERT_TRUE(openOS2Pane(program, folder.file("in.ttf")));
    OS2PaneControls controls = currentOS2Pane();
    ASSERT_EQ(controls.children.size(), kOS2PaneControlCount);
    ASSERT_NE(os2Object, nullptr);

    // Released behind the pane's back: its next event must not reach the object.
    freeFontFile(fileImage, otf);
    fileLength = 0;
    moveTrackbar(controls.pane, controls.weightTrackbar(), 7);
    EXPECT_EQ(os2Object, nullptr);
    OS2PaneView view = readOS2Pane(controls);
    EXPECT_EQ(view.editorsEnabled, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(view.weightName, "Regular") << "the label was renamed for an object that is gone";
    chooseListItem(controls.pane, controls.panoseList(), 2);
    moveTrackbar(controls.pane, controls.widthTrackbar(), 3);
    EXPECT_EQ(readOS2Pane(controls).widthName, "Medium");
}
