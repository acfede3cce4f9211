// The OS/2 pane on the real program: what it shows for a font's OS/2 table,
// the edits it stores and writes out, and the tables it must leave alone.
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_pane.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>

namespace {

struct OS2Values {
    uint16_t version = 4;
    uint16_t weight = 400;
    uint16_t width = 5;
    uint16_t fsType = 0;
    const char* vendor = "TEST"; // four bytes, zeros among them
    uint8_t bWeight = 5;
};

Bytes fontWithOS2(const Bytes& os2) {
    return SfntBuilder()
        .table("head", headTable())
        .table("cmap", filler(36, 0x20))
        .table("OS/2", os2)
        .build();
}

Bytes fontWith(const OS2Values& values) {
    Bytes table = os2Table(values.version);
    putU16(table, kOS2WeightAt, values.weight);
    putU16(table, kOS2WidthAt, values.width);
    putU16(table, kOS2FsTypeAt, values.fsType);
    std::copy(values.vendor, values.vendor + 4, table.begin() + kOS2VendorAt);
    table[kOS2PanoseAt + kPanoseWeightIndex] = values.bWeight;
    return fontWithOS2(table);
}

OS2* openOS2() {
    return dynamic_cast<OS2*>(openTable("OS/2"));
}

// "weight width fsType bWeight" of the open font's OS/2 object.
std::string modelState() {
    const OS2* os2 = openOS2();
    if (os2 == nullptr)
        return "no object";
    char text[64] = {};
    snprintf(text, sizeof text, "%d %d %04X %d", os2->usWeightClass, os2->usWidthClass,
             static_cast<uint16_t>(os2->fsType), os2->panose[kPanoseWeightIndex]);
    return text;
}

// A list's selection as "item data text", "-1 " with none.
std::string selection(HWND list) {
    LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return "-1 ";
    char text[256] = {};
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    WPARAM item = static_cast<WPARAM>(index);
    return std::to_string(SendMessageA(list, CB_GETITEMDATA, item, 0)) + " " + text;
}

HWND optionBox(int i) { // the two check boxes come right after the usage list
    HWND box = GetWindow(hUsageCombo, GW_HWNDNEXT);
    return i == 0 ? box : GetWindow(box, GW_HWNDNEXT);
}

// "weight position and name/width position and name/usage/options/vendor/PANOSE".
std::string paneState(bool positions = true) {
    auto position = [positions](HWND trackbar) {
        return positions ? std::to_string(SendMessageA(trackbar, TBM_GETPOS, 0, 0)) + " " : "";
    };
    std::string options;
    for (int i = 0; i < 2; ++i)
        options += SendMessageA(optionBox(i), BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    return position(hWeightTrackbar) + windowText(hWeightName) + "/" + position(hWidthTrackbar) +
           windowText(hWidthName) + "/" + selection(hUsageCombo) + "/" + options + "/" +
           windowText(hVendorBox) + "/" + selection(hPanoseCombo);
}

// Enabled state of the usage list, both option boxes, the vendor box, the
// weight and width trackbars and the PANOSE list.
std::string enabledState() {
    std::string state;
    for (HWND control : {hUsageCombo, optionBox(0), optionBox(1), hVendorBox, hWeightTrackbar,
                         hWidthTrackbar, hPanoseCombo})
        state += IsWindowEnabled(control) ? "1" : "0";
    return state;
}

// What a trackbar sends its parent when moved to position; the position
// travels in wParam only with the thumb codes.
void moveTrackbar(HWND trackbar, int position, std::initializer_list<int> codes) {
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    for (int code : codes) {
        bool thumb = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
        SendMessageA(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(code, thumb ? position : 0),
                     reinterpret_cast<LPARAM>(trackbar));
    }
}

// Picks the item with this data and notifies the pane as the list does.
bool chooseItem(HWND list, LRESULT value) {
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i)
        if (SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value) {
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            return true;
        }
    return false;
}

void tryEveryEdit() {
    moveTrackbar(hWeightTrackbar, 7, {TB_THUMBTRACK, TB_ENDTRACK});
    moveTrackbar(hWidthTrackbar, 3, {TB_PAGEDOWN});
    chooseItem(hPanoseCombo, 2);
}

// The program with a fixture font open and its OS/2 pane showing.
struct OS2Pane {
    TestFolder folder;
    ProgramWindow program;
    Bytes font;
    bool open(const Bytes& image) {
        font = image;
        return writeBytes(folder.file("in.ttf"), font) &&
               openItem(program, folder.file("in.ttf"), "OS/2") && className(hPane) == "OS2Window";
    }
    Bytes writeOut() {
        return writeOutAs(program, folder.file("out.ttf")) ? readBytes(folder.file("out.ttf"))
                                                           : Bytes{};
    }
};

} // namespace

TEST(OS2PaneDisplay, ShowsTheTableValuesAndChangesNone) {
    struct Case {
        OS2Values values;
        const char* shown;
    };
    const Case cases[] = {
        {{4, 400, 5, 0x0000, "TEST", 8}, "4 Regular/5 Medium/0 インストール可能/00/TEST/8 Bold"},
        {{4, 450, 5, 0x0304, "ABCD", 2}, "4 /5 Medium/4 表示・印刷可能/11/ABCD/2 Very Light"},
        {{4, 1000, 10, 0x000C, "AB\0D", 11}, "9 /9 /12 表示・印刷・編集可能/00/AB/11 Nord"},
        {{4, 0, 0, 0x0001, "abcd", 12}, "1 /1 /-1 /00/abcd/-1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        OS2Pane pane;
        ASSERT_TRUE(pane.open(fontWith(c.values)));
        EXPECT_EQ(paneState(), c.shown);
        EXPECT_EQ(enabledState(), "0000111");
        char model[64] = {};
        snprintf(model, sizeof model, "%d %d %04X %d", c.values.weight, c.values.width,
                 c.values.fsType, c.values.bWeight);
        EXPECT_EQ(modelState(), model);
    }
}

TEST(OS2PaneEdits, EditsAreStoredAndShownAgainAfterReselecting) {
    OS2Pane pane;
    ASSERT_TRUE(pane.open(fontWith({4, 450, 5, 0x0304, "TEST", 8})));
    HFONT font = hOS2Font;
    for (HWND control = GetWindow(hPane, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        if (className(control) != TRACKBAR_CLASSA) { // draws no text, keeps no font
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), font);
        }
    // The usage list is disabled; were it operated anyway, it stores nothing.
    ASSERT_TRUE(chooseItem(hUsageCombo, 12));
    // A keyboard move of the width and a PANOSE weight leave the nameless weight alone.
    moveTrackbar(hWidthTrackbar, 3, {TB_PAGEDOWN});
    ASSERT_TRUE(chooseItem(hPanoseCombo, 2));
    EXPECT_EQ(modelState(), "450 3 0304 2");
    ASSERT_TRUE(reselectItem("OS/2"));
    EXPECT_EQ(GetObjectType(font), 0u) << "the pane font outlived its pane";
    EXPECT_EQ(paneState(), "4 /3 Condensed/4 表示・印刷可能/11/TEST/2 Very Light");

    moveTrackbar(hWeightTrackbar, 7, {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK});
    EXPECT_EQ(modelState(), "700 3 0304 2");
    EXPECT_EQ(windowText(hWeightName), "Bold");
    ASSERT_TRUE(reselectItem("OS/2"));
    EXPECT_EQ(paneState(), "7 Bold/3 Condensed/4 表示・印刷可能/11/TEST/2 Very Light");
}

TEST(OS2PaneVersions, EditableVersionsAreEditedAndWrittenOut) {
    for (uint16_t version : {0, 4, 5}) {
        SCOPED_TRACE(version);
        OS2Pane pane;
        ASSERT_TRUE(pane.open(fontWith({version, 400, 5, 0x0008, "TEST", 8})));
        EXPECT_EQ(enabledState(), "0000111");
        tryEveryEdit();
        Bytes written = pane.writeOut();
        ASSERT_EQ(written.size(), pane.font.size());
        Bytes expected = pane.font;
        size_t at = recordOffset(expected, 2); // OS/2, after head and cmap
        putU16(expected, at + kOS2WeightAt, 700);
        putU16(expected, at + kOS2WidthAt, 3);
        expected[at + kOS2PanoseAt + kPanoseWeightIndex] = 2;
        size_t size = OS2::sizeForVersion(version);
        EXPECT_EQ(Bytes(written.begin() + at, written.begin() + at + size),
                  Bytes(expected.begin() + at, expected.begin() + at + size));
        EXPECT_EQ(changedOutsideTable(expected, written, "OS/2"), std::vector<size_t>{});
    }
}

TEST(OS2PaneVersions, RefusedTablesGiveADisabledEmptyPaneAndStayUntouched) {
    for (const Bytes& table : {os2Table(6, 100), os2Table(4, 90), os2Table(0, 60)}) {
        SCOPED_TRACE(table.size());
        OS2Pane pane;
        ASSERT_TRUE(pane.open(fontWithOS2(table)));
        EXPECT_EQ(os2Object, nullptr);
        EXPECT_EQ(enabledState(), "0000000");
        EXPECT_EQ(paneState(false), "//-1 /00//-1 ");
        tryEveryEdit();
        EXPECT_EQ(windowText(hWeightName) + "/" + windowText(hWidthName), "/");
        EXPECT_EQ(modelState(), "0 0 0000 0");
        EXPECT_EQ(pane.writeOut(), pane.font);
    }
}

TEST(OS2PaneVersions, APaneWithNoFontOrAReleasedOneEditsNothing) {
    {
        ProgramWindow program;
        HWND pane = CreateWindowExA(0, kOS2PaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300,
                                    hBaseWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(pane, nullptr);
        EXPECT_EQ(enabledState(), "0000000");
        EXPECT_EQ(paneState(false), "//-1 /00//-1 ");
        tryEveryEdit();
        EXPECT_EQ(windowText(hWeightName) + "/" + windowText(hWidthName), "/");
        DestroyWindow(pane);
    }
    OS2Pane pane;
    ASSERT_TRUE(pane.open(fontWith({})));
    freeFontFile(fileImage, otf); // behind the back of the pane that shows it
    fileLength = 0;
    tryEveryEdit();
    EXPECT_EQ(os2Object, nullptr);
    EXPECT_EQ(enabledState(), "0000000");
    EXPECT_EQ(windowText(hWeightName) + "/" + windowText(hWidthName), "Regular/Medium")
        << "a label was renamed for an object that is gone";
}

// Run by fonttools_write_out_check.py, which puts a real font in the folder
// and reads the written one with fontTools.
TEST(FontToolsWriteOut, OS2RealFont) {
    const char* folder = std::getenv("FONTAB_WRITE_OUT_DIR");
    if (folder == nullptr || *folder == '\0')
        GTEST_SKIP() << "FONTAB_WRITE_OUT_DIR is not set; fonttools_write_out_check.py sets it";
    auto number = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::atoi(value) : -1;
    };
    const int weightPosition = number("FONTAB_WEIGHT_POSITION");
    const int panoseWeight = number("FONTAB_PANOSE_WEIGHT");
    ASSERT_TRUE(weightPosition >= 1 && weightPosition <= 9 && panoseWeight >= 0);
    // The font comes as the program's one argument, the way WinMain passes it on.
    std::string in = std::string(folder) + "\\in.ttf";
    std::wstring argument(in.begin(), in.end()); // an ASCII path
    const wchar_t* argv[] = {L"fontab.exe", argument.c_str()};
    std::optional<std::string> path = startupPath(2, argv);
    ASSERT_TRUE(path);
    ProgramWindow program;
    PostMessageA(program.handle(), WM_COMMAND, kCmdLoadFont,
                 reinterpret_cast<LPARAM>(path->c_str()));
    pumpMessages();
    ASSERT_TRUE(selectItem(hTreeView, "OS/2"));
    pumpMessages();
    ASSERT_NE(os2Object, nullptr);
    moveTrackbar(hWeightTrackbar, weightPosition, {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK});
    ASSERT_TRUE(chooseItem(hPanoseCombo, panoseWeight));
    ASSERT_TRUE(writeOutAs(program, std::string(folder) + "\\out.ttf"));
}
