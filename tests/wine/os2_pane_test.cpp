// The OS/2 pane on the real program: what it shows for the values of a
// font's OS/2 table, and the edits it stores.
#include "app/base_window.h"
#include "app/main_window.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_pane.h"
#include "tests/wine/os2_pane_probe.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <commctrl.h>

TEST(OS2PaneDisplay, ShowsTheTableValues) {
    struct Case {
        const char* name;
        OS2Values values;
        int weightPosition;
        const char* weightName;
        int widthPosition;
        const char* widthName;
        int usage; // item data of the selected usage level, -1 for none
        const char* usageText;
        std::array<bool, 2> options;
        const char* vendor;
        int panose; // item data of the selected PANOSE weight, -1 for none
        const char* panoseText;
    };
    const Case cases[] = {
        {"installable, regular, medium",
         {4, 400, 5, 0x0000, {'T', 'E', 'S', 'T'}, 8},
         4,
         "Regular",
         5,
         "Medium",
         0,
         "インストール可能",
         {false, false},
         "TEST",
         8,
         "Bold"},
        {"preview and print with both options, weight without a name",
         {4, 450, 5, 0x0304, {'A', 'B', 'C', 'D'}, 2},
         4,
         "",
         5,
         "Medium",
         4,
         "表示・印刷可能",
         {true, true},
         "ABCD",
         2,
         "Very Light"},
        {"preview, print and edit; vendor cut at its zero byte",
         {4, 700, 3, 0x000C, {'A', 'B', 0, 'D'}, 11},
         7,
         "Bold",
         3,
         "Condensed",
         12,
         "表示・印刷・編集可能",
         {false, false},
         "AB",
         11,
         "Nord"},
        {"usage level without an item; values below the range",
         {4, 0, 0, 0x0001, {'a', 'b', 'c', 'd'}, 12},
         1,
         "",
         1,
         "",
         -1,
         "",
         {false, false},
         "abcd",
         -1,
         ""},
        {"editable with bitmap only; values above the range",
         {4, 1000, 10, 0x0208, {0, 'X', 'Y', 'Z'}, 0},
         9,
         "",
         9,
         "",
         8,
         "編集可能",
         {false, true},
         "",
         0,
         "Any"},
        {"restricted with no subsetting; range ends",
         {4, 100, 9, 0x0102, {' ', ' ', ' ', ' '}, 255},
         1,
         "Thin",
         9,
         "Ultra-expanded",
         2,
         "制限ライセンス",
         {true, false},
         "    ",
         -1,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenedPane opened(fontWithOS2(os2TableWith(c.values)));
        ASSERT_TRUE(opened.open());
        OS2PaneView view = opened.view();
        EXPECT_EQ(view.weightPosition, c.weightPosition);
        EXPECT_EQ(view.weightName, c.weightName);
        EXPECT_EQ(view.widthPosition, c.widthPosition);
        EXPECT_EQ(view.widthName, c.widthName);
        EXPECT_EQ(view.usage, c.usage);
        EXPECT_EQ(view.usageText, c.usageText);
        EXPECT_EQ(view.options, c.options);
        EXPECT_EQ(view.vendor, c.vendor);
        EXPECT_EQ(view.panose, c.panose);
        EXPECT_EQ(view.panoseText, c.panoseText);

        // Showing changes nothing, not even a value that has no position.
        OS2* os2 = openOS2();
        ASSERT_NE(os2, nullptr);
        EXPECT_EQ(os2->usWeightClass, c.values.weight);
        EXPECT_EQ(os2->usWidthClass, c.values.width);
        EXPECT_EQ(static_cast<uint16_t>(os2->fsType), c.values.fsType);
        EXPECT_EQ(os2->panose[kPanoseWeightIndex], c.values.bWeight);
    }
}

TEST(OS2PaneDisplay, WeightWithoutANameKeepsItsValueUntilTheWeightTrackbarMoves) {
    OpenedPane opened(fontWithOS2(os2TableWith({4, 450, 5, 0, {'T', 'E', 'S', 'T'}, 5})));
    ASSERT_TRUE(opened.open());
    ASSERT_TRUE(opened.reopen());
    OS2PaneView view = opened.view();
    EXPECT_EQ(view.weightPosition, 4);
    EXPECT_EQ(view.weightName, "");
    EXPECT_EQ(openOS2()->usWeightClass, 450);

    // The width trackbar and the PANOSE list leave the weight class alone.
    moveTrackbar(opened.controls.pane, opened.controls.widthTrackbar(), 6);
    ASSERT_TRUE(chooseListItem(opened.controls.pane, opened.controls.panoseList(), 3));
    EXPECT_EQ(openOS2()->usWeightClass, 450);
    EXPECT_EQ(opened.view().weightName, "");

    moveTrackbar(opened.controls.pane, opened.controls.weightTrackbar(), 4);
    EXPECT_EQ(openOS2()->usWeightClass, 400);
    EXPECT_EQ(opened.view().weightName, "Regular");
}

TEST(OS2PaneEdits, WeightTrackbarStoresEveryScrollCode) {
    OpenedPane opened(fontWithOS2(os2TableWith({})));
    ASSERT_TRUE(opened.open());
    struct Step {
        int code;
        int position;
        const char* name;
    };
    const Step steps[] = {
        {TB_THUMBTRACK, 2, "Extra-light"},
        {TB_THUMBTRACK, 3, "Light"},
        {TB_THUMBPOSITION, 7, "Bold"},
        {TB_ENDTRACK, 6, "Semi-bold"},
        {TB_LINEUP, 1, "Thin"},
        {TB_LINEDOWN, 5, "Medium"},
        {TB_PAGEUP, 8, "Extra-bold"},
        {TB_PAGEDOWN, 9, "Black"},
        {TB_TOP, 1, "Thin"},
        {TB_BOTTOM, 9, "Black"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "code " << step.code << " at " << step.position);
        moveTrackbar(opened.controls.pane, opened.controls.weightTrackbar(), step.position,
                     {step.code});
        EXPECT_EQ(openOS2()->usWeightClass, step.position * 100);
        EXPECT_EQ(opened.view().weightName, step.name);
        EXPECT_EQ(openOS2()->usWidthClass, 5);
    }
}

TEST(OS2PaneEdits, WidthTrackbarStoresItsPosition) {
    OpenedPane opened(fontWithOS2(os2TableWith({})));
    ASSERT_TRUE(opened.open());
    const char* names[] = {"Ultra-condensed", "Extra-condensed", "Condensed",
                           "Semi-condensed",  "Medium",          "Semi-expanded",
                           "Expanded",        "Extra-expanded",  "Ultra-expanded"};
    for (int position = 1; position <= 9; ++position) {
        moveTrackbar(opened.controls.pane, opened.controls.widthTrackbar(), position);
        EXPECT_EQ(openOS2()->usWidthClass, position);
        EXPECT_EQ(opened.view().widthName, names[position - 1]);
        EXPECT_EQ(openOS2()->usWeightClass, 400);
        EXPECT_EQ(opened.view().weightName, "Regular");
    }
}

TEST(OS2PaneEdits, ChangesAreStoredAndShownAgainWhenTheItemIsReselected) {
    OpenedPane opened(fontWithOS2(os2TableWith({4, 400, 5, 0x0008, {'T', 'E', 'S', 'T'}, 8})));
    ASSERT_TRUE(opened.open());
    moveTrackbar(opened.controls.pane, opened.controls.weightTrackbar(), 7,
                 {TB_THUMBPOSITION, TB_ENDTRACK});
    EXPECT_EQ(openOS2()->usWeightClass, 700);
    EXPECT_EQ(opened.view().weightName, "Bold");
    moveTrackbar(opened.controls.pane, opened.controls.widthTrackbar(), 3);
    ASSERT_TRUE(chooseListItem(opened.controls.pane, opened.controls.panoseList(), 2));
    EXPECT_EQ(openOS2()->panose[kPanoseWeightIndex], 2);

    ASSERT_TRUE(opened.reopen());
    OS2PaneView view = opened.view();
    EXPECT_EQ(view.weightPosition, 7);
    EXPECT_EQ(view.weightName, "Bold");
    EXPECT_EQ(view.widthPosition, 3);
    EXPECT_EQ(view.widthName, "Condensed");
    EXPECT_EQ(view.panose, 2);
    EXPECT_EQ(view.panoseText, "Very Light");
    EXPECT_EQ(view.usage, 8);
    EXPECT_EQ(view.vendor, "TEST");
}

TEST(OS2PaneEdits, PanoseWeightChangesOnlyItsByte) {
    OpenedPane opened(fontWithOS2(os2TableWith({4, 400, 5, 0x0304, {'T', 'E', 'S', 'T'}, 8})));
    ASSERT_TRUE(opened.open());
    ASSERT_TRUE(chooseListItem(opened.controls.pane, opened.controls.panoseList(), 2));
    EXPECT_EQ(openOS2()->panose[kPanoseWeightIndex], 2);
    OS2PaneView view = opened.view();
    EXPECT_EQ(view.weightPosition, 4);
    EXPECT_EQ(view.weightName, "Regular");
    EXPECT_EQ(view.widthPosition, 5);
    EXPECT_EQ(view.usage, 4);

    std::string out = opened.folder.file("out.ttf");
    ASSERT_TRUE(writeOutAs(opened.program, out));
    Bytes written = readBytes(out);
    uint32_t os2At = tableOffset(opened.font, "OS/2");
    ASSERT_NE(os2At, 0u);
    Bytes before(opened.font.begin() + os2At, opened.font.begin() + os2At + 96);
    Bytes after(written.begin() + os2At, written.begin() + os2At + 96);
    EXPECT_EQ(changedOffsets(before, after), std::vector<size_t>{kOS2PanoseAt + 2});
    EXPECT_EQ(after[kOS2PanoseAt + 2], 2);
    EXPECT_EQ(changedOutsideTable(opened.font, written, "OS/2"), std::vector<size_t>{});
}

TEST(OS2PaneEdits, PermissionsAndVendorCannotBeChanged) {
    OpenedPane opened(fontWithOS2(os2TableWith({4, 400, 5, 0x0304, {'T', 'E', 'S', 'T'}, 8})));
    ASSERT_TRUE(opened.open());
    const OS2PaneControls& c = opened.controls;
    // Were the usage list operated anyway, its notice stores nothing.
    ASSERT_TRUE(chooseListItem(c.pane, c.usageList(), 12));
    EXPECT_EQ(static_cast<uint16_t>(openOS2()->fsType), 0x0304);
    EXPECT_EQ(openOS2()->panose[kPanoseWeightIndex], 8);
    // Neither do other notices of the PANOSE list, nor those of the option boxes.
    SendMessageA(c.panoseList(), CB_SETCURSEL, 3, 0);
    SendMessageA(c.pane, WM_COMMAND, MAKEWPARAM(0, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(c.panoseList()));
    SendMessageA(c.pane, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(c.optionBox(0)));
    EXPECT_EQ(static_cast<uint16_t>(openOS2()->fsType), 0x0304);
    EXPECT_EQ(openOS2()->panose[kPanoseWeightIndex], 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(openOS2()->achVendID), 4), "TEST");
    OS2PaneView view = opened.view();
    EXPECT_EQ(view.shownEnabled, (std::array<bool, 4>{false, false, false, false}));
}
