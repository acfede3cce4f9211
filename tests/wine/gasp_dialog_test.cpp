// The range dialog opened from the gasp pane: what it shows, what it refuses
// and what a confirmed or cancelled dialog leaves in the model and the list.
#include "res/resource.h"
#include "tests/wine/dialog_template.h"
#include "tests/wine/gasp_pane_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cctype>

namespace {

const char kInvalidSize[] = "サイズの値が正しくありません。\n0も無効ですのでご注意ください。";
const char kDuplicate[] = "入力された範囲は別に登録されています。";

// Rows 0 to 4: 8, 9, 12, 16 and the last range.
const GaspRecords kRecords = {
    {8, 0x0002}, {9, 0x0001}, {12, 0x0000}, {16, 0x0007}, {0xFFFF, 0x000F}};
const GaspRanges kRanges(kRecords.begin(), kRecords.end());
const ListRows kRows = {
    {"8", "6", "なし", "あり"},   {"9", "6", "あり", "なし"}, {"12", "9", "なし", "なし"},
    {"16", "12", "あり", "あり"}, {"∞", "∞", "あり", "あり"},
};

bool sameView(const GaspDialogView& a, const GaspDialogView& b) {
    return a.caption == b.caption && a.size == b.size && a.sizeEnabled == b.sizeEnabled &&
           a.ppemEnabled == b.ppemEnabled && a.pointsEnabled == b.pointsEnabled &&
           a.ppemChecked == b.ppemChecked && a.pointsChecked == b.pointsChecked &&
           a.hinting == b.hinting && a.smoothing == b.smoothing;
}

std::string describe(const GaspDialogView& v) {
    return v.caption + " [" + v.size + "] enabled " + std::to_string(v.sizeEnabled) +
           std::to_string(v.ppemEnabled) + std::to_string(v.pointsEnabled) + " units " +
           std::to_string(v.ppemChecked) + std::to_string(v.pointsChecked) + " flags " +
           std::to_string(v.hinting) + std::to_string(v.smoothing);
}

// Opens the dialog on row, answers it, and checks that nothing else opened
// and nothing stayed open.
void editRow(GaspPaneSession& session, int row, std::vector<ModalAnswerer::Answer> answers) {
    size_t expected = answers.size();
    ModalAnswerer answerer(std::move(answers));
    session.doubleClickRow(row);
    EXPECT_EQ(answerer.answered(), static_cast<int>(expected)) << "row " << row;
    EXPECT_EQ(answerer.unexpected(), 0) << "row " << row;
    EXPECT_EQ(answerer.leftOpen(), 0) << "row " << row;
}

std::string upperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct ControlWanted {
    int id;
    const char* className;
    const char* text;
    LONG_PTR styles; // besides WS_CHILD | WS_VISIBLE
    RECT units;      // x, y, width, height in dialog units
};

struct ControlSeen {
    int id = 0;
    std::string classAndText;
    RECT place = {}; // x, y, width, height in pixels
};

const ControlWanted kControls[] = {
    {IDC_STATICTEXT, "Static", "サイズ", SS_LEFT | WS_GROUP, {8, 8, 20, 8}},
    {IDC_GASP_SIZE, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {32, 8, 32, 12}},
    {IDC_GASP_GRIDFIT, "Button", "ヒンティング", BS_AUTOCHECKBOX | WS_TABSTOP, {104, 32, 49, 10}},
    {IDC_GASP_DOGRAY, "Button", "スムージング", BS_AUTOCHECKBOX | WS_TABSTOP, {104, 56, 52, 10}},
    {IDC_GASP_UNIT_GROUP, "Button", "単位", BS_GROUPBOX | WS_TABSTOP, {8, 28, 80, 48}},
    {IDC_GASP_PPEM, "Button", "PPEM", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {16, 44, 50, 10}},
    {IDC_GASP_POINTS, "Button", "ポイント", BS_AUTORADIOBUTTON | WS_TABSTOP, {16, 60, 65, 10}},
    {IDOK, "Button", "設定", BS_DEFPUSHBUTTON | WS_TABSTOP, {72, 80, 40, 14}},
    {IDCANCEL, "Button", "キャンセル", BS_PUSHBUTTON | WS_TABSTOP, {120, 80, 40, 14}},
};

} // namespace

TEST(GaspRangeDialog, ShowsTheRangeItWasOpenedOn) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    struct Case {
        int row;
        GaspDialogView view;
    };
    const Case cases[] = {
        {0, {"gasp設定", "8", true, true, true, true, false, false, true}},
        {1, {"gasp設定", "9", true, true, true, true, false, true, false}},
        {2, {"gasp設定", "12", true, true, true, true, false, false, false}},
        {3, {"gasp設定", "16", true, true, true, true, false, true, true}},
        // The last range: its limit is shown and not editable.
        {4, {"gasp設定", "∞", false, false, false, false, false, true, true}},
    };
    for (const Case& c : cases) {
        GaspDialogView seen;
        editRow(session, c.row, {answerGaspDialog({}, IDCANCEL, &seen)});
        EXPECT_TRUE(sameView(seen, c.view)) << "row " << c.row << ": " << describe(seen);
    }
    EXPECT_EQ(openGaspRanges(), kRanges);
}

TEST(GaspRangeDialog, TemplateHoldsItsControlsInTabOrder) {
    std::optional<DialogTemplate> dialog = loadDialogTemplate("GASPSETTINGDLG");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->style, 0x80C000C0u);
    EXPECT_EQ(dialog->style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->x, 80);
    EXPECT_EQ(dialog->y, 36);
    EXPECT_EQ(dialog->cx, 168);
    EXPECT_EQ(dialog->cy, 104);
    EXPECT_EQ(dialog->caption, "gasp設定");
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->typeface, "ＭＳ Ｐゴシック");
    ASSERT_EQ(dialog->items.size(), std::size(kControls));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const ControlWanted& want = kControls[i];
        const DialogItemTemplate& item = dialog->items[i];
        EXPECT_EQ(item.id, want.id) << i;
        // Written as a name or as the predefined class's atom: either makes the same control.
        EXPECT_EQ(upperCase(item.className), upperCase(want.className)) << i;
        EXPECT_EQ(item.text, want.text) << i;
        EXPECT_EQ(item.style, static_cast<DWORD>(want.styles | WS_CHILD | WS_VISIBLE))
            << i << " style " << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u) << i;
        EXPECT_EQ(item.x, want.units.left) << i;
        EXPECT_EQ(item.y, want.units.top) << i;
        EXPECT_EQ(item.cx, want.units.right) << i;
        EXPECT_EQ(item.cy, want.units.bottom) << i;
    }
}

TEST(GaspRangeDialog, OpensWithItsControlsInPlace) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    RECT client = {}, dialogSize = {0, 0, 168, 104};
    std::string typeface;
    std::vector<ControlSeen> seen;
    std::vector<RECT> places;
    editRow(session, 0, {[&](HWND dialog) {
                GetClientRect(dialog, &client);
                MapDialogRect(dialog, &dialogSize);
                LOGFONTA font = {};
                HFONT handle = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
                if (handle != nullptr && GetObjectA(handle, sizeof font, &font) != 0)
                    typeface = font.lfFaceName;
                for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
                     child = GetWindow(child, GW_HWNDNEXT)) {
                    RECT rect = rectInParent(child);
                    seen.push_back(
                        {GetDlgCtrlID(child),
                         className(child) + "|" + windowText(child),
                         {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}});
                }
                // Each of x, y, width and height is converted on its own.
                for (const ControlWanted& control : kControls) {
                    RECT units = control.units;
                    MapDialogRect(dialog, &units);
                    places.push_back(units);
                }
                pressButton(dialog, IDCANCEL);
            }});

    EXPECT_EQ(client.right, dialogSize.right);
    EXPECT_EQ(client.bottom, dialogSize.bottom);
    EXPECT_EQ(typeface, "ＭＳ Ｐゴシック");
    ASSERT_EQ(seen.size(), std::size(kControls));
    for (size_t i = 0; i < seen.size(); ++i) {
        const ControlWanted& want = kControls[i];
        EXPECT_EQ(seen[i].id, want.id) << i;
        // The edit shows the range's limit.
        std::string text = want.id == IDC_GASP_SIZE ? "8" : want.text;
        EXPECT_EQ(seen[i].classAndText, std::string(want.className) + "|" + text) << i;
        EXPECT_EQ(seen[i].place.left, places[i].left) << i;
        EXPECT_EQ(seen[i].place.top, places[i].top) << i;
        EXPECT_EQ(seen[i].place.right, places[i].right) << i;
        EXPECT_EQ(seen[i].place.bottom, places[i].bottom) << i;
    }
}

TEST(GaspRangeDialog, PointsAreStoredAsPPEM) {
    struct Case {
        const char* typed;
        uint16_t ppem;
        const char* shown; // points column
        int row;           // where the range lands
    };
    const Case cases[] = {
        {"10", 14, "10", 2}, {"11", 15, "11", 2}, {"3", 4, "3", 0}, {"49150", 65534, "49150", 3}};
    for (const Case& c : cases) {
        GaspPaneSession session(fontWithGasp(1, kRecords));
        ASSERT_TRUE(session.ready());
        // Row 2 holds 12, with neither flag.
        editRow(session, 2, {answerGaspDialog({c.typed, true, {}, {}}, IDOK)});
        GaspRanges after = kRanges;
        after.erase(12);
        after[c.ppem] = 0;
        EXPECT_EQ(openGaspRanges(), after) << c.typed;
        ListRows rows = session.rows();
        ASSERT_EQ(rows.size(), kRows.size()) << c.typed;
        EXPECT_EQ(rows[c.row],
                  (std::vector<std::string>{std::to_string(c.ppem), c.shown, "なし", "なし"}))
            << c.typed;
    }
}

TEST(GaspRangeDialog, RefusesSizesOutOfRangeAndStaysOpen) {
    struct Case {
        const char* typed;
        bool points;
    };
    const Case cases[] = {{"0", false},          {"65535", false}, {"65536", false},
                          {"4294967295", false}, {"abc", false},   {"", false},
                          {"0", true},           {"49151", true},  {"49152", true},
                          {"65534", true},       {"65535", true},  {"100000", true}};
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    for (const Case& c : cases) {
        std::vector<MessageBoxSeen> seen;
        HWND dialogSeen = nullptr;
        bool stillOpen = false;
        GaspDialogView after;
        editRow(session, 1,
                {inSteps({[&](HWND dialog) {
                              dialogSeen = dialog;
                              fillGaspDialog(dialog, {c.typed, c.points, {}, {}});
                              pressButton(dialog, IDOK);
                          },
                          [&](HWND dialog) {
                              stillOpen = IsWindowVisible(dialog) != FALSE;
                              after = viewGaspDialog(dialog);
                              pressButton(dialog, IDCANCEL);
                          }}),
                 recordMessageBox(seen)});
        ASSERT_EQ(seen.size(), 1u) << c.typed;
        EXPECT_EQ(seen[0].text, kInvalidSize) << c.typed;
        EXPECT_EQ(seen[0].caption, "Error") << c.typed;
        EXPECT_TRUE(seen[0].errorIcon) << c.typed;
        EXPECT_EQ(seen[0].owner, dialogSeen) << c.typed;
        EXPECT_TRUE(stillOpen) << c.typed;
        EXPECT_EQ(after.size, c.typed) << c.typed;
        EXPECT_EQ(after.pointsChecked, c.points) << c.typed;
        EXPECT_EQ(openGaspRanges(), kRanges) << c.typed;
        EXPECT_EQ(session.rows(), kRows) << c.typed;
    }
}

TEST(GaspRangeDialog, TheLastRangeKeepsItsLimitAndTakesTheFlags) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    // The disabled box's text is not read, whatever it holds.
    editRow(session, 4, {answerGaspDialog({"12", {}, false, true}, IDOK)});
    GaspRanges after = kRanges;
    after[0xFFFF] = 0x000E;
    EXPECT_EQ(openGaspRanges(), after);
    ListRows rows = kRows;
    rows[4] = {"∞", "∞", "なし", "あり"};
    EXPECT_EQ(session.rows(), rows);
}

TEST(GaspRangeDialog, ALimitAnotherRangeHasIsRefused) {
    struct Case {
        int row;
        GaspDialogInput input;
    };
    const Case cases[] = {
        {0, {"16", false, true, true}}, // 8 -> 16
        {3, {"9", false, {}, {}}},      // 16 -> 9
        {0, {"9", true, {}, {}}},       // 8 -> 9 pt = 12
    };
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    for (const Case& c : cases) {
        std::vector<MessageBoxSeen> seen;
        editRow(session, c.row, {answerGaspDialog(c.input, IDOK), recordMessageBox(seen)});
        ASSERT_EQ(seen.size(), 1u) << c.row;
        EXPECT_EQ(seen[0].text, kDuplicate) << c.row;
        EXPECT_EQ(seen[0].caption, "Error") << c.row;
        EXPECT_TRUE(seen[0].errorIcon) << c.row;
        EXPECT_EQ(openGaspRanges(), kRanges) << c.row;
        EXPECT_EQ(session.rows(), kRows) << c.row;
    }
}

TEST(GaspRangeDialog, AFreeLimitMovesTheRowToItsPlace) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    LVITEMA selected = {};
    selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(session.list(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));

    editRow(session, 0, {answerGaspDialog({"13", false, true, {}}, IDOK)}); // 8 -> 13
    EXPECT_EQ(openGaspRanges(),
              (GaspRanges{{9, 0x1}, {12, 0x0}, {13, 0x3}, {16, 0x7}, {0xFFFF, 0xF}}));
    EXPECT_EQ(session.rows(), (ListRows{{"9", "6", "あり", "なし"},
                                        {"12", "9", "なし", "なし"},
                                        {"13", "9", "あり", "あり"},
                                        {"16", "12", "あり", "あり"},
                                        {"∞", "∞", "あり", "あり"}}));
    EXPECT_EQ(SendMessageA(session.list(), LVM_GETSELECTEDCOUNT, 0, 0), 0);

    editRow(session, 3, {answerGaspDialog({"1", false, {}, {}}, IDOK)}); // 16 -> 1
    EXPECT_EQ(openGaspRanges(),
              (GaspRanges{{1, 0x7}, {9, 0x1}, {12, 0x0}, {13, 0x3}, {0xFFFF, 0xF}}));
    EXPECT_EQ(session.rows()[0], (std::vector<std::string>{"1", "0", "あり", "あり"}));
}

TEST(GaspRangeDialog, CancelAndEscChangeNothing) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    const GaspDialogInput changes = {"13", true, true, false};
    editRow(session, 0, {answerGaspDialog(changes, IDCANCEL)});
    EXPECT_EQ(openGaspRanges(), kRanges);
    EXPECT_EQ(session.rows(), kRows);

    bool escPressed = false;
    editRow(session, 3, {[&](HWND dialog) {
                fillGaspDialog(dialog, changes);
                pressKey(dialog, VK_ESCAPE);
                escPressed = true;
            }});
    EXPECT_TRUE(escPressed);
    EXPECT_EQ(openGaspRanges(), kRanges);
    EXPECT_EQ(session.rows(), kRows);
}

TEST(GaspRangeDialog, ConfirmingUnchangedKeepsTheRange) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    for (int row = 0; row < 5; ++row)
        editRow(session, row, {answerGaspDialog({}, IDOK)});
    EXPECT_EQ(openGaspRanges(), kRanges);
    EXPECT_EQ(session.rows(), kRows);
}

TEST(GaspRangeDialog, BitsBeyondTheTwoFlagsSurviveAnEdit) {
    GaspPaneSession session(fontWithGasp(1, kRecords));
    ASSERT_TRUE(session.ready());
    editRow(session, 3, {answerGaspDialog({"20", false, false, {}}, IDOK)}); // 16: 0x7
    editRow(session, 4, {answerGaspDialog({{}, {}, false, false}, IDOK)});   // last: 0xF
    GaspRanges after = kRanges;
    after.erase(16);
    after[20] = 0x0006;
    after[0xFFFF] = 0x000C;
    EXPECT_EQ(openGaspRanges(), after);
    ListRows rows = kRows;
    rows[3] = {"20", "15", "なし", "あり"};
    rows[4] = {"∞", "∞", "なし", "なし"};
    EXPECT_EQ(session.rows(), rows);
}
