// The gasp pane on the real program: its list of ranges, and the range dialog
// a double-click on a row opens, answered from a hook.
#include "app/base_window.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tables/gasp/gasp_header.h"
#include "tables/gasp/gasp_pane.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace {

using Ranges = std::map<uint16_t, uint16_t>;
using Records = std::vector<std::pair<uint16_t, uint16_t>>;
using Rows = std::vector<std::string>; // "ppem|points|hinting|smoothing"

const char kInvalidSize[] = "サイズの値が正しくありません。\n0も無効ですのでご注意ください。";
const char kDuplicate[] = "入力された範囲は別に登録されています。";

// Rows 0 to 4; 16 and the last range carry bit 2 beside the dialog's two flags.
const Records kRecords = {{8, 0x2}, {9, 0x1}, {12, 0x0}, {16, 0x7}, {0xFFFF, 0xF}};
const Ranges kRanges(kRecords.begin(), kRecords.end());
const Rows kRows = {"8|6|なし|あり", "9|6|あり|なし", "12|9|なし|なし", "16|12|あり|あり",
                    "∞|∞|あり|あり"};

Bytes fontWithGasp(const Records& records) {
    return SfntBuilder()
        .table("head", headTable())
        .table("cmap", filler(36, 0x20))
        .table("gasp", gaspTable(1, records))
        .table("post", filler(32, 0x30))
        .build();
}

std::optional<Ranges> openRanges() {
    auto* table = dynamic_cast<gaspHeader*>(openTable("gasp"));
    return table ? std::optional<Ranges>(table->ranges) : std::nullopt;
}

Rows listRows(HWND list) {
    Rows rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        std::string line;
        for (int column = 0; column < 4; ++column) {
            char text[64] = {};
            ListView_GetItemText(list, row, column, text, sizeof text);
            line += (column ? "|" : "") + std::string(text);
        }
        rows.push_back(line);
    }
    return rows;
}

// A double-click on row as the list gets it from the mouse, or below the last
// row when there is no such row; returns once any dialog it opened has closed.
void doubleClickRow(int row) {
    int count = ListView_GetItemCount(hGaspList);
    RECT bounds = {};
    GetClientRect(hGaspList, &bounds);
    int y = bounds.bottom - 4;
    if (count > 0 &&
        ListView_GetItemRect(hGaspList, std::min(row, count - 1), &bounds, LVIR_BOUNDS))
        y = row < count ? (bounds.top + bounds.bottom) / 2 : bounds.bottom + 8;
    LPARAM at = MAKELPARAM(20, y);
    SendMessageA(hGaspList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(hGaspList, WM_LBUTTONUP, 0, at);
    pumpMessages();
}

// A double-click notice for item, which the mouse cannot give past the last row.
void notifyDoubleClick(HWND pane, int item) {
    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = GetDlgItem(pane, kGaspListId);
    activate.hdr.idFrom = kGaspListId;
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = item;
    SendMessageA(pane, WM_NOTIFY, kGaspListId, reinterpret_cast<LPARAM>(&activate));
    pumpMessages();
}

// The program with a fixture font open and its gasp pane showing.
struct GaspPane {
    TestFolder folder;
    ProgramWindow program;
    bool open(const Records& records = kRecords) {
        std::string path = folder.file("in.ttf");
        return writeBytes(path, fontWithGasp(records)) && openItem(program, path, "gasp") &&
               className(hPane) == kGaspPaneClass && GetDlgItem(hPane, kGaspListId) == hGaspList;
    }
};

// What the range dialog shows: caption, size, whether the size box and the two
// unit buttons are enabled, and the checks of PPEM, points, hinting, smoothing.
std::string dialogState(HWND dialog) {
    std::string state = windowText(dialog) + " " + windowText(GetDlgItem(dialog, IDC_GASP_SIZE));
    state += " ";
    for (int id : {IDC_GASP_SIZE, IDC_GASP_PPEM, IDC_GASP_POINTS})
        state += IsWindowEnabled(GetDlgItem(dialog, id)) ? "e" : "d";
    state += " ";
    for (int id : {IDC_GASP_PPEM, IDC_GASP_POINTS, IDC_GASP_GRIDFIT, IDC_GASP_DOGRAY})
        state += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0";
    return state;
}

// What to change in the dialog: a null size, a zero unit (IDC_GASP_PPEM or
// IDC_GASP_POINTS) and a negative flag leave it as shown.
struct Input {
    const char* size = nullptr;
    int unit = 0;
    int hinting = -1;
    int smoothing = -1;
};

void fill(HWND dialog, const Input& input) {
    if (input.size != nullptr)
        SetDlgItemTextA(dialog, IDC_GASP_SIZE, input.size);
    if (input.unit != 0)
        pressButton(dialog, input.unit);
    for (auto [id, want] :
         {std::pair{IDC_GASP_GRIDFIT, input.hinting}, std::pair{IDC_GASP_DOGRAY, input.smoothing}})
        if (want >= 0 && (IsDlgButtonChecked(dialog, id) == BST_CHECKED) != (want == 1))
            pressButton(dialog, id);
}

ModalAnswerer::Answer answer(const Input& input, int button) {
    return [input, button](HWND dialog) {
        fill(dialog, input);
        pressButton(dialog, button);
    };
}

// Opens the dialog on row and gives these answers to it and what it opens;
// each must be used, and nothing else open or left open.
void editRow(int row, std::vector<ModalAnswerer::Answer> answers) {
    int expected = static_cast<int>(answers.size());
    ModalAnswerer answerer(std::move(answers));
    doubleClickRow(row);
    EXPECT_EQ(answerer.answered(), expected) << "row " << row;
    EXPECT_EQ(answerer.unexpected(), 0) << "row " << row;
    EXPECT_EQ(answerer.leftOpen(), 0) << "row " << row;
}

} // namespace

TEST(GaspPaneList, ShowsTheRangesAscendingAndFollowsThePaneSize) {
    GaspPane pane;
    ASSERT_TRUE(pane.open({{16, 0x3}, {9, 0x1}, {0xFFFF, 0xF}, {8, 0x0}, {12, 0x2}, {20, 0xC}}));
    EXPECT_EQ(listRows(hGaspList), (Rows{"8|6|なし|なし", "9|6|あり|なし", "12|9|なし|あり",
                                         "16|12|あり|あり", "20|15|なし|なし", "∞|∞|あり|あり"}));
    pane.program.resizeBase(720, 530);
    RECT client = {};
    GetClientRect(hPane, &client);
    RECT list = rectInParent(hGaspList);
    EXPECT_EQ(std::vector<LONG>({list.left, list.top, list.right, list.bottom}),
              std::vector<LONG>({16, 80, client.right - 16, client.bottom - 16}));
}

TEST(GaspPaneList, ADoubleClickBelowTheRowsOrPastThemOpensNothing) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    {
        ModalAnswerer answerer({});
        doubleClickRow(5);
        notifyDoubleClick(hPane, 5);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(listRows(hGaspList), kRows);
    EXPECT_EQ(openRanges(), kRanges);
}

TEST(GaspPaneList, NoRangesNoTableNoFontOrAReleasedFontOpenNothing) {
    {
        GaspPane pane;
        ASSERT_TRUE(pane.open({}));
        EXPECT_EQ(listRows(hGaspList), Rows{});
        ModalAnswerer answerer({});
        doubleClickRow(0);
        notifyDoubleClick(hPane, 0);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(openRanges(), Ranges{});
    }
    {
        GaspPane pane;
        ASSERT_TRUE(pane.open());
        freeFontFile(fileImage, otf); // behind the back of the pane that shows it
        fileLength = 0;
        ModalAnswerer answerer({});
        doubleClickRow(1);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(listRows(hGaspList), kRows);
    }
    for (bool withFont : {false, true}) {
        // A pane made beside the browser's own, for no font or one without gasp.
        TestFolder folder;
        ProgramWindow program;
        if (withFont) {
            ASSERT_TRUE(writeBytes(folder.file("plain.ttf"), fontWithoutEditors()));
            program.load(folder.file("plain.ttf"));
            ASSERT_NE(otf, nullptr);
        }
        HWND pane = CreateWindowExA(0, kGaspPaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300,
                                    hBaseWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(pane, nullptr);
        EXPECT_EQ(listRows(GetDlgItem(pane, kGaspListId)), Rows{});
        ModalAnswerer answerer({});
        notifyDoubleClick(pane, 0);
        EXPECT_EQ(answerer.unexpected(), 0) << withFont;
        DestroyWindow(pane);
    }
}

TEST(GaspRangeDialog, ShowsTheRangeItWasOpenedOn) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    const char* wanted[] = {"gasp設定 8 eee 1001", "gasp設定 9 eee 1010", "gasp設定 12 eee 1000",
                            "gasp設定 16 eee 1011", "gasp設定 ∞ ddd 0011"};
    for (int row = 0; row < 5; ++row) {
        std::string seen;
        editRow(row, {[&seen](HWND dialog) {
                    seen = dialogState(dialog);
                    pressButton(dialog, IDCANCEL);
                }});
        EXPECT_EQ(seen, wanted[row]);
    }
    EXPECT_EQ(openRanges(), kRanges);
}

TEST(GaspRangeDialog, PointsAreStoredAsPPEM) {
    struct Case {
        const char* points;
        uint16_t ppem;
        const char* row; // as the list shows it
        int at;
    };
    for (const Case& c :
         {Case{"10", 14, "14|10|なし|なし", 2}, Case{"49150", 65534, "65534|49150|なし|なし", 3}}) {
        GaspPane pane;
        ASSERT_TRUE(pane.open());
        editRow(2, {answer({c.points, IDC_GASP_POINTS}, IDOK)}); // 12, no flags
        Ranges after = kRanges;
        after.erase(12);
        after[c.ppem] = 0;
        EXPECT_EQ(openRanges(), after) << c.points;
        Rows rows = listRows(hGaspList);
        ASSERT_EQ(rows.size(), kRows.size());
        EXPECT_EQ(rows[c.at], c.row);
    }
}

TEST(GaspRangeDialog, RefusesSizesOutOfRangeAndStaysOpen) {
    struct Case {
        const char* typed;
        int unit;
    };
    const Case cases[] = {{"0", IDC_GASP_PPEM},       {"65535", IDC_GASP_PPEM},
                          {"abc", IDC_GASP_PPEM},     {"0", IDC_GASP_POINTS},
                          {"49151", IDC_GASP_POINTS}, {"100000", IDC_GASP_POINTS}};
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    for (const Case& c : cases) {
        std::vector<MessageBoxSeen> seen;
        HWND opened = nullptr;
        std::string after;
        editRow(1, {inSteps({[&](HWND dialog) {
                                 opened = dialog;
                                 answer({c.typed, c.unit}, IDOK)(dialog);
                             },
                             [&](HWND dialog) {
                                 after = IsWindowVisible(dialog) ? dialogState(dialog) : "closed";
                                 pressButton(dialog, IDCANCEL);
                             }}),
                    recordMessageBox(seen)});
        ASSERT_EQ(seen.size(), 1u) << c.typed;
        EXPECT_EQ(seen[0].text, kInvalidSize) << c.typed;
        EXPECT_EQ(seen[0].caption, "Error") << c.typed;
        EXPECT_TRUE(seen[0].errorIcon) << c.typed;
        EXPECT_EQ(seen[0].owner, opened) << c.typed;
        std::string units = c.unit == IDC_GASP_POINTS ? "01" : "10";
        EXPECT_EQ(after, "gasp設定 " + std::string(c.typed) + " eee " + units + "10");
        EXPECT_EQ(openRanges(), kRanges) << c.typed;
        EXPECT_EQ(listRows(hGaspList), kRows) << c.typed;
    }
}

TEST(GaspRangeDialog, ALimitAnotherRangeHasIsRefused) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    // 8 -> 16 ppem with both flags; 8 -> 9 points, which is 12 ppem.
    for (Input input : {Input{"16", IDC_GASP_PPEM, 1, 1}, Input{"9", IDC_GASP_POINTS}}) {
        std::vector<MessageBoxSeen> seen;
        editRow(0, {answer(input, IDOK), recordMessageBox(seen)});
        ASSERT_EQ(seen.size(), 1u) << input.size;
        EXPECT_EQ(seen[0].text, kDuplicate);
        EXPECT_EQ(seen[0].caption, "Error");
        EXPECT_EQ(openRanges(), kRanges);
        EXPECT_EQ(listRows(hGaspList), kRows);
    }
}

TEST(GaspRangeDialog, AFreeLimitMovesTheRowToItsPlaceWithNoSelection) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    ListView_SetItemState(hGaspList, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    editRow(0, {answer({"13", IDC_GASP_PPEM, 1}, IDOK)}); // 8 -> 13 with hinting
    EXPECT_EQ(openRanges(), (Ranges{{9, 0x1}, {12, 0x0}, {13, 0x3}, {16, 0x7}, {0xFFFF, 0xF}}));
    EXPECT_EQ(listRows(hGaspList), (Rows{"9|6|あり|なし", "12|9|なし|なし", "13|9|あり|あり",
                                         "16|12|あり|あり", "∞|∞|あり|あり"}));
    EXPECT_EQ(ListView_GetSelectedCount(hGaspList), 0u);
}

TEST(GaspRangeDialog, TheLastRangeKeepsItsLimitAndEditsKeepBitsTwoAndThree) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    editRow(3, {answer({"20", IDC_GASP_PPEM, 0}, IDOK)}); // 16 (0x7) -> 20 without hinting
    editRow(4, {answer({"12", 0, 0, 1}, IDOK)});          // the disabled box is not read
    Ranges after = kRanges;
    after.erase(16);
    after[20] = 0x6;
    after[0xFFFF] = 0xE;
    EXPECT_EQ(openRanges(), after);
    Rows rows = kRows;
    rows[3] = "20|15|なし|あり";
    rows[4] = "∞|∞|なし|あり";
    EXPECT_EQ(listRows(hGaspList), rows);
}

TEST(GaspRangeDialog, CancelAndEscChangeNothing) {
    GaspPane pane;
    ASSERT_TRUE(pane.open());
    const Input changes = {"13", IDC_GASP_POINTS, 1, 0};
    editRow(0, {answer(changes, IDCANCEL)});
    editRow(3, {[&changes](HWND dialog) {
                fill(dialog, changes);
                pressKey(dialog, VK_ESCAPE);
            }});
    EXPECT_EQ(openRanges(), kRanges);
    EXPECT_EQ(listRows(hGaspList), kRows);
}

// Run by fonttools_write_out_check.py, which reads the fonts it leaves with fontTools.
TEST(FontToolsWriteOut, GaspRangeEdit) {
    const char* folder = std::getenv("FONTAB_WRITE_OUT_DIR");
    if (folder == nullptr || *folder == '\0')
        GTEST_SKIP() << "FONTAB_WRITE_OUT_DIR is not set; fonttools_write_out_check.py sets it";
    const std::string in = std::string(folder) + "\\in.ttf";
    const Bytes font = fontWithGasp({{8, 0x2}, {16, 0x7}, {0xFFFF, 0xF}});
    ProgramWindow program;
    ASSERT_TRUE(writeBytes(in, font));
    ASSERT_TRUE(openItem(program, in, "gasp"));
    editRow(0, {answer({"10", IDC_GASP_POINTS, 1, 1}, IDOK)}); // 8 -> 14 ppem, both flags
    ASSERT_TRUE(writeOutAs(program, std::string(folder) + "\\out.ttf"));
    Bytes written = readBytes(std::string(folder) + "\\out.ttf");
    EXPECT_EQ(changedOutsideTable(font, written, "gasp"), std::vector<size_t>{});
}
