// The gasp pane: its list of ranges, its layout, and what it does with
// double-clicks that must not open the range dialog.
#include "app/main_window.h"
#include "tables/gasp/gasp_pane.h"
#include "tests/wine/gasp_pane_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

// Stored out of order: the list shows them ascending.
const GaspRecords kListRecords = {{8, 0x0000},  {12, 0x0002}, {9, 0x0001},
                                  {16, 0x0003}, {20, 0x000C}, {0xFFFF, 0x000F}};
const ListRows kListRows = {
    {"8", "6", "なし", "なし"},   {"9", "6", "あり", "なし"},   {"12", "9", "なし", "あり"},
    {"16", "12", "あり", "あり"}, {"20", "15", "なし", "なし"}, {"∞", "∞", "あり", "あり"},
};

struct ColumnSeen {
    std::string title;
    int width = 0;
    int format = -1;
    int subItem = -1;
};

ColumnSeen column(HWND list, int index) {
    char title[64] = {};
    LVCOLUMNA data = {};
    data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    data.pszText = title;
    data.cchTextMax = sizeof title;
    if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&data)))
        return {};
    return {title, data.cx, data.fmt & LVCFMT_JUSTIFYMASK, data.iSubItem};
}

void notifyPane(HWND pane, HWND from, UINT_PTR id, UINT code, int item) {
    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = from;
    activate.hdr.idFrom = id;
    activate.hdr.code = code;
    activate.iItem = item;
    SendMessageA(pane, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&activate));
    pumpMessages();
}

// A gasp pane made directly in the base window, beside the browser's own.
HWND createLoosePane() {
    return CreateWindowExA(WS_EX_CLIENTEDGE, kGaspPaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400,
                           300, hBaseWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void expectListPlaced(HWND pane, HWND list) {
    RECT client = {};
    GetClientRect(pane, &client);
    RECT placed = rectInParent(list);
    EXPECT_EQ(placed.left, 16);
    EXPECT_EQ(placed.top, 80);
    EXPECT_EQ(placed.right, client.right - 16);
    EXPECT_EQ(placed.bottom, client.bottom - 16);
}

} // namespace

TEST(GaspPaneList, ShowsEveryRangeInItsFourColumns) {
    GaspPaneSession session(fontWithGasp(1, kListRecords));
    ASSERT_TRUE(session.ready());
    EXPECT_EQ(session.rows(), kListRows);

    const ColumnSeen expected[] = {
        {"サイズ（PPEM）", 90, LVCFMT_LEFT, 0},
        {"サイズ（Pt）", 90, LVCFMT_LEFT, 1},
        {"ヒンティング", 80, LVCFMT_LEFT, 2},
        {"スムージング", 80, LVCFMT_LEFT, 3},
    };
    for (int i = 0; i < 4; ++i) {
        ColumnSeen seen = column(session.list(), i);
        EXPECT_EQ(seen.title, expected[i].title) << i;
        EXPECT_EQ(seen.width, expected[i].width) << i;
        EXPECT_EQ(seen.format, expected[i].format) << i;
        EXPECT_EQ(seen.subItem, expected[i].subItem) << i;
    }
    HWND header = reinterpret_cast<HWND>(SendMessageA(session.list(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(session.list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              -1);
}

TEST(GaspPaneList, IsAReportListWithGridLinesAndFullRowSelection) {
    GaspPaneSession session(fontWithGasp(0, {{0xFFFF, 0x0002}}));
    ASSERT_TRUE(session.ready());
    HWND list = session.list();
    EXPECT_EQ(hGaspList, list);
    EXPECT_EQ(className(list), WC_LISTVIEWA);
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE), 0x50008005);
    EXPECT_NE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(session.rows(), (ListRows{{"∞", "∞", "なし", "あり"}}));
}

TEST(GaspPaneList, FollowsThePaneSize) {
    GaspPaneSession session(fontWithGasp(1, kListRecords));
    ASSERT_TRUE(session.ready());
    expectListPlaced(session.pane(), session.list());
    session.program().resizeBase(720, 530);
    expectListPlaced(session.pane(), session.list());
    RECT placed = rectInParent(session.list());
    EXPECT_EQ(placed.right - placed.left, 720 - 150 - 1 - 4 - 32); // pane less its edge
}

TEST(GaspPaneList, AnEmptyTableGivesAnEmptyList) {
    GaspPaneSession session(fontWithGasp(0, {}));
    ASSERT_TRUE(session.ready());
    EXPECT_EQ(session.rows(), ListRows{});
    ModalAnswerer answerer({});
    session.doubleClickBelowRows();
    session.doubleClickRow(0);
    notifyPane(session.pane(), session.list(), kGaspListId, NM_DBLCLK, 0);
    EXPECT_EQ(answerer.unexpected(), 0); // no dialog
    EXPECT_EQ(openGaspRanges(), GaspRanges{});
}

TEST(GaspPaneList, ADoubleClickBelowTheLastRowDoesNothing) {
    GaspPaneSession session(fontWithGasp(1, kListRecords));
    ASSERT_TRUE(session.ready());
    std::optional<GaspRanges> before = openGaspRanges();
    {
        ModalAnswerer answerer({});
        session.doubleClickBelowRows();
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(openGaspRanges(), before);
    EXPECT_EQ(session.rows(), kListRows);
    // The same click on a row does open the dialog.
    GaspDialogView seen;
    ModalAnswerer answerer({answerGaspDialog({}, IDCANCEL, &seen)});
    session.doubleClickRow(5);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_EQ(seen.size, "∞");
}

TEST(GaspPaneList, OnlyADoubleClickOnARowOfItsListOpensTheDialog) {
    GaspPaneSession session(fontWithGasp(1, kListRecords));
    ASSERT_TRUE(session.ready());
    struct Case {
        const char* name;
        UINT_PTR id;
        UINT code;
        int item;
        int dialogs;
    };
    const Case cases[] = {
        {"double-click on row 2", kGaspListId, NM_DBLCLK, 2, 1},
        {"double-click on no row", kGaspListId, NM_DBLCLK, -1, 0},
        {"single click", kGaspListId, NM_CLICK, 2, 0},
        {"return key", kGaspListId, NM_RETURN, 2, 0},
        {"double-click elsewhere", 0, NM_DBLCLK, 2, 0},
        {"row past the last", kGaspListId, NM_DBLCLK, 6, 0},
    };
    for (const Case& c : cases) {
        GaspDialogView seen;
        ModalAnswerer answerer({answerGaspDialog({}, IDCANCEL, &seen)});
        notifyPane(session.pane(), session.list(), c.id, c.code, c.item);
        EXPECT_EQ(answerer.answered(), c.dialogs) << c.name;
        EXPECT_EQ(answerer.unexpected(), 0) << c.name;
        if (c.dialogs == 1) {
            EXPECT_EQ(seen.size, "12") << c.name;
        }
    }
    EXPECT_EQ(session.rows(), kListRows);
}

TEST(GaspPaneGuard, APaneWithoutAGaspTableShowsNothingAndEditsNothing) {
    enum class Font { None, WithoutGasp };
    for (Font font : {Font::None, Font::WithoutGasp}) {
        TestFolder folder;
        ProgramWindow program;
        if (font == Font::WithoutGasp) {
            ASSERT_TRUE(writeBytes(folder.file("plain.ttf"), fontWithoutEditors()));
            program.load(folder.file("plain.ttf"));
            ASSERT_NE(otf, nullptr);
        }
        HWND pane = createLoosePane();
        ASSERT_NE(pane, nullptr);
        HWND list = GetDlgItem(pane, kGaspListId);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(listRows(list), ListRows{});
        ModalAnswerer answerer({});
        notifyPane(pane, list, kGaspListId, NM_DBLCLK, 0);
        EXPECT_EQ(answerer.unexpected(), 0);
        DestroyWindow(pane);
    }
}

TEST(GaspPaneGuard, ARowOfAReleasedFontOpensNothing) {
    GaspPaneSession session(fontWithGasp(1, kListRecords));
    ASSERT_TRUE(session.ready());
    // The font goes while its pane still shows it.
    freeFontFile(fileImage, otf);
    fileLength = 0;
    ModalAnswerer answerer({});
    session.doubleClickRow(1);
    notifyPane(session.pane(), session.list(), kGaspListId, NM_DBLCLK, 1);
    EXPECT_EQ(answerer.unexpected(), 0);
    EXPECT_EQ(session.rows(), kListRows);
}
