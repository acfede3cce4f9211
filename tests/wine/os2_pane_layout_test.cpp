// The OS/2 pane's controls: their order, classes, styles, places and font,
// and how its lists and trackbars are set up.
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

struct ControlLayout {
    const char* className;
    const char* text; // null: not checked (a list shows its selection)
    DWORD style;
    DWORD exStyle;
    RECT rect; // a list's height is its drop-down's, so only its top edge is checked
};

bool isComboBox(HWND control) {
    return _stricmp(className(control).c_str(), "ComboBox") == 0;
}

bool isTrackbar(HWND control) {
    return _stricmp(className(control).c_str(), TRACKBAR_CLASSA) == 0;
}

} // namespace

TEST(OS2PaneLayout, ControlsComeInOrderWithTheirClassesStylesAndPlaces) {
    OpenedPane opened(fontWithOS2(os2TableWith({})));
    ASSERT_TRUE(opened.open());
    constexpr DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
    constexpr DWORD list = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
    constexpr DWORD box = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    constexpr DWORD trackbar = WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS;
    const ControlLayout expected[] = {
        {"Static", "埋め込み許可状態：", label, 0, {16, 20, 124, 32}},
        {"ComboBox", nullptr, list, 0, {140, 16, 284, 0}},
        {"Button", "非サブセット", box, 0, {16, 36, 160, 56}},
        {"Button", "ビットマップのみ", box, 0, {16, 56, 160, 76}},
        {"Static", "ベンダーID：", label, 0, {300, 20, 396, 32}},
        {"Edit", "TEST", WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, {370, 16, 434, 32}},
        {"Static", "ウエイト：", label, 0, {300, 40, 396, 52}},
        {"msctls_trackbar32", "", trackbar, 0, {300, 56, 444, 76}},
        {"Static", "Regular", label, 0, {450, 60, 546, 72}},
        {"Static", "幅：", label, 0, {300, 80, 396, 92}},
        {"msctls_trackbar32", "", trackbar, 0, {300, 96, 444, 116}},
        {"Static", "Medium", label, 0, {450, 100, 546, 112}},
        {"Static", "ウエイト（PANOSE）：", label, 0, {16, 220, 124, 232}},
        {"ComboBox", nullptr, list | WS_VSCROLL, 0, {140, 216, 284, 0}},
    };
    ASSERT_EQ(std::size(expected), opened.controls.children.size());
    for (size_t i = 0; i < std::size(expected); ++i) {
        const ControlLayout& want = expected[i];
        HWND control = opened.controls.children[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " " << className(control));
        EXPECT_STRCASEEQ(className(control).c_str(), want.className);
        if (want.text != nullptr) {
            EXPECT_EQ(controlText(control), want.text);
        }
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & ~WS_DISABLED;
        EXPECT_EQ(style, want.style & ~WS_VSCROLL) << std::hex << style;
        // No frame or scroll bar beyond the ones asked for; a combo box hands
        // its scroll bar on to its drop-down list.
        EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME | WS_HSCROLL), 0u) << std::hex << style;
        if (!isComboBox(control)) {
            EXPECT_EQ(style & WS_VSCROLL, want.style & WS_VSCROLL) << std::hex << style;
        } else {
            COMBOBOXINFO combo = {};
            combo.cbSize = sizeof combo;
            ASSERT_TRUE(GetComboBoxInfo(control, &combo));
            LONG_PTR listStyle = GetWindowLongPtrA(combo.hwndList, GWL_STYLE);
            EXPECT_EQ(listStyle & WS_VSCROLL, static_cast<LONG_PTR>(want.style & WS_VSCROLL));
        }
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
        EXPECT_EQ(exStyle & WS_EX_CLIENTEDGE, want.exStyle) << std::hex << exStyle;
        EXPECT_EQ(GetDlgCtrlID(control), 0);
        RECT rect = rectInParent(control);
        EXPECT_EQ(rect.left, want.rect.left);
        EXPECT_EQ(rect.top, want.rect.top);
        EXPECT_EQ(rect.right, want.rect.right);
        if (want.rect.bottom != 0) {
            EXPECT_EQ(rect.bottom, want.rect.bottom);
        }
    }
}

TEST(OS2PaneLayout, EveryControlHasThePaneFontWhichGoesWithThePane) {
    OpenedPane opened(fontWithOS2(os2TableWith({})));
    ASSERT_TRUE(opened.open());
    HFONT font = hOS2Font;
    ASSERT_NE(font, nullptr);
    LOGFONTA logFont = {};
    ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_EQ(logFont.lfHeight, 12);
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(logFont.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(logFont.lfPitchAndFamily, VARIABLE_PITCH | FF_DONTCARE);
    EXPECT_STREQ(logFont.lfFaceName, "ＭＳ Ｐゴシック");
    // A trackbar draws no text and keeps no font to report.
    for (HWND control : opened.controls.children) {
        if (!isTrackbar(control)) {
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), font)
                << className(control);
        }
    }

    ASSERT_TRUE(selectItem(hTreeView, "head"));
    pumpMessages();
    EXPECT_EQ(GetObjectType(font), 0u) << "the pane font outlived its pane";
    EXPECT_EQ(hOS2Font, nullptr);
}

TEST(OS2PaneLayout, ListsTrackbarsAndVendorBoxAreSetUp) {
    OpenedPane opened(fontWithOS2(os2TableWith({})));
    ASSERT_TRUE(opened.open());
    const OS2PaneControls& c = opened.controls;
    using Items = std::vector<std::pair<std::string, LRESULT>>;
    EXPECT_EQ(listItems(c.usageList()), (Items{{"制限ライセンス", 2},
                                               {"表示・印刷可能", 4},
                                               {"編集可能", 8},
                                               {"表示・印刷・編集可能", 12},
                                               {"インストール可能", 0}}));
    EXPECT_EQ(listItems(c.panoseList()), (Items{{"Any", 0},
                                                {"No Fit", 1},
                                                {"Very Light", 2},
                                                {"Light", 3},
                                                {"Thin", 4},
                                                {"Book", 5},
                                                {"Medium", 6},
                                                {"Demi", 7},
                                                {"Bold", 8},
                                                {"Heavy", 9},
                                                {"Black", 10},
                                                {"Nord", 11}}));
    for (HWND trackbar : {c.weightTrackbar(), c.widthTrackbar()}) {
        EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), 1);
        EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0), 9);
        EXPECT_EQ(SendMessageA(trackbar, TBM_GETNUMTICS, 0, 0), 9); // a tick at every position
    }
    EXPECT_EQ(SendMessageA(c.vendorBox(), EM_GETLIMITTEXT, 0, 0), 4);
    // Only the weight class, the width class and the PANOSE weight are edited.
    OS2PaneView view = opened.view();
    EXPECT_EQ(view.shownEnabled, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(view.editorsEnabled, (std::array<bool, 3>{true, true, true}));
}
