// The gasp pane and its range dialog, and the OS/2 pane, on the real program.
#include "tests/wine/program_windows.h"

namespace {

using Ranges = std::map<uint16_t, uint16_t>;
using Records = std::vector<std::pair<uint16_t, uint16_t>>;
using Rows = std::vector<std::string>; // "ppem|points|hinting|smoothing"

// Rows 0 to 4, given out of order; 16 and the last range carry bit 2 too.
const Records kRecords = {{16, 0x7}, {9, 0x1}, {0xFFFF, 0xF}, {8, 0x2}, {12, 0x0}};
const Ranges kRanges(kRecords.begin(), kRecords.end());
const Rows kRows = {"8|6|なし|あり", "9|6|あり|なし", "12|9|なし|なし", "16|12|あり|あり",
                    "∞|∞|あり|あり"};

Bytes fontWith(const char* tag, const Bytes& table) {
    return SfntBuilder()
        .table("head", headTable())
        .table("cmap", filler(36, 0x20))
        .table(tag, table)
        .build();
}

Ranges openRanges() {
    auto* gasp = otf ? otf->tableOf<gaspHeader>("gasp") : nullptr;
    return gasp ? gasp->ranges : Ranges{{0, 0xDEAD}};
}

Rows listRows() {
    Rows rows;
    for (int row = 0; row < ListView_GetItemCount(hGaspList); ++row) {
        std::string line;
        for (int column = 0; column < 4; ++column) {
            line += (column ? "|" : "") + cellText(hGaspList, row, column);
        }
        rows.push_back(line);
    }
    return rows;
}

// Caption, size, enabled size box and unit buttons, checks of PPEM, points,
// hinting and smoothing.
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

} // namespace

// Each row's dialog shows its range; once the font is released a double-click opens nothing.
TEST(GaspPane, ListsTheRangesAscendingAndShowsEachInTheDialog) {
    Session pane;
    ASSERT_TRUE(pane.open(fontWith("gasp", gaspTable(1, kRecords)), "gasp"));
    EXPECT_EQ(listRows(), kRows);
    std::vector<std::string> seen;
    for (int row = 0; row < 5; ++row)
        editRow(row, {[&seen](HWND dialog) {
                    seen.push_back(dialogState(dialog));
                    pressButton(dialog, IDCANCEL);
                }});
    EXPECT_EQ(seen, Rows({"gasp設定 8 eee 1001", "gasp設定 9 eee 1010", "gasp設定 12 eee 1000",
                          "gasp設定 16 eee 1011", "gasp設定 ∞ ddd 0011"}));
    editRow(5, {}); // below the rows
    EXPECT_EQ(openRanges(), kRanges);
    freeFontFile(fileImage, otf); // behind the back of the pane that shows it
    fileLength = 0;
    editRow(0, {});
    EXPECT_TRUE(IsWindow(hGaspList));
}

// The largest sizes are taken and one past them refused; a stored edit moves
// its row to its place, with no selection left; Cancel and Esc keep all, and
// the last range keeps its limit.
TEST(GaspRangeDialog, StoresPointsAsPPEMAndRefusesBadSizes) {
    const char* invalid = "サイズの値が正しくありません。\n0も無効ですのでご注意ください。";
    const char* duplicate = "入力された範囲は別に登録されています。";
    const struct {
        int row;
        Input input;
        int button = IDOK;
        const char* refusal = nullptr;
        std::pair<uint16_t, uint16_t> stored = {}; // ppem and flags, at list row at
        int at = 0;
        const char* shown = nullptr;
    } cases[] = {
        {2, {"10", IDC_GASP_POINTS}, IDOK, nullptr, {14, 0x0}, 2, "14|10|なし|なし"},
        {2, {"49150", IDC_GASP_POINTS}, IDOK, nullptr, {65534, 0x0}, 3, "65534|49150|なし|なし"},
        {2, {"65534", IDC_GASP_PPEM, 1}, IDOK, nullptr, {65534, 0x1}, 3, "65534|49150|あり|なし"},
        {0, {"13", IDC_GASP_PPEM}, IDOK, nullptr, {13, 0x2}, 2, "13|9|なし|あり"},
        {3, {"20", IDC_GASP_PPEM, 0}, IDOK, nullptr, {20, 0x6}, 3, "20|15|なし|あり"},
        {4, {"12", 0, 0, 1}, IDOK, nullptr, {0xFFFF, 0xE}, 4, "∞|∞|なし|あり"}, // box not read
        {2, {"49151", IDC_GASP_POINTS}, IDOK, invalid},
        {2, {"65535", IDC_GASP_PPEM}, IDOK, invalid},
        {2, {"0", IDC_GASP_PPEM}, IDOK, invalid},
        {2, {"abc", IDC_GASP_PPEM}, IDOK, invalid},
        {0, {"16", IDC_GASP_PPEM, 1, 1}, IDOK, duplicate},
        {0, {"9", IDC_GASP_POINTS}, IDOK, duplicate}, // 12 ppem
        {0, {"13", IDC_GASP_POINTS, 1, 0}, IDCANCEL},
        {3, {"13", IDC_GASP_POINTS, 1, 0}, VK_ESCAPE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Session pane;
        ASSERT_TRUE(pane.open(fontWith("gasp", gaspTable(1, kRecords)), "gasp"));
        if (c.shown != nullptr) {
            ListView_SetItemState(hGaspList, 1, LVIS_SELECTED, LVIS_SELECTED);
            editRow(c.row, {answer(c.input)});
            Ranges after = kRanges;
            after.erase(std::next(after.begin(), c.row));
            after.insert(c.stored);
            EXPECT_EQ(openRanges(), after);
            EXPECT_EQ(ListView_GetSelectedCount(hGaspList), 0u);
            EXPECT_EQ(listRows().at(c.at), c.shown);
            EXPECT_EQ(windowText(pane.program.handle()), "fontab - Tablesmith *"); // unsaved
            continue;
        }
        std::vector<MessageBoxSeen> seen;
        HWND dialog = nullptr;
        std::string stillShown; // the dialog's caption while it stays, after the refusal
        std::vector<Step> answers = {[&](HWND d) {
            answer(c.input, c.button)(dialog = d);
            if (IsWindowVisible(d)) {
                stillShown = windowText(d);
                pressButton(d, IDCANCEL);
            }
        }};
        if (c.refusal != nullptr)
            answers.push_back(recordMessageBox(seen));
        editRow(c.row, answers);
        EXPECT_EQ(stillShown, c.refusal == invalid ? "gasp設定" : "");
        // The dialog owns the box about the size; the range is refused once it has closed.
        EXPECT_EQ(seen, c.refusal ? errorBox(c.refusal,
                                             c.refusal == invalid ? dialog : pane.program.handle())
                                  : std::vector<MessageBoxSeen>{});
        EXPECT_EQ(openRanges(), kRanges);
        EXPECT_EQ(listRows(), kRows);
    }
}

namespace {

Bytes os2With(uint16_t version, uint16_t weight, uint16_t width, uint16_t fsType,
              const char* vendor, uint8_t bWeight) {
    Bytes table = os2Table(version);
    putU16(table, kOS2WeightAt, weight);
    putU16(table, kOS2WidthAt, width);
    putU16(table, kOS2FsTypeAt, fsType);
    std::copy(vendor, vendor + 4, table.begin() + kOS2VendorAt);
    table[kOS2PanoseWeightAt] = bWeight;
    return table;
}

std::string selection(HWND list) { // "item data text"; with none, CB_ERR and no text: "-1 "
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    wchar_t text[256] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return std::to_string(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0)) + " " +
           utf8(text);
}

// "weight/width/usage/options/vendor/PANOSE|enabled controls"; positions only when enabled.
std::string paneState() {
    auto position = [](HWND bar) {
        return IsWindowEnabled(bar) ? std::to_string(SendMessageW(bar, TBM_GETPOS, 0, 0)) + " "
                                    : "";
    };
    HWND option = GetWindow(hUsageCombo, GW_HWNDNEXT); // the two check boxes follow the list
    std::string options, enabled;
    for (HWND box : {option, GetWindow(option, GW_HWNDNEXT)})
        options += SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    for (HWND control : {hUsageCombo, option, GetWindow(option, GW_HWNDNEXT), hVendorBox,
                         hWeightTrackbar, hWidthTrackbar, hPanoseCombo})
        enabled += IsWindowEnabled(control) ? "1" : "0";
    return position(hWeightTrackbar) + windowText(hWeightName) + "/" + position(hWidthTrackbar) +
           windowText(hWidthName) + "/" + selection(hUsageCombo) + "/" + options + "/" +
           windowText(hVendorBox) + "/" + selection(hPanoseCombo) + "|" + enabled;
}

const char kDisabled[] = "//-1 /00//-1 |0000000";

} // namespace

// Each table as shown, then after every edit and a fresh pane (the write-out
// of these fields: the WriteOut case). Each trackbar moves only its own value.
TEST(OS2Pane, ShowsEditsAndStores) {
    const struct {
        Bytes table;
        const char *shown, *edited;
        int weightTo = 7, widthTo = 3; // 0: left alone
    } cases[] = {
        // clang-format off
        {os2With(0, 400, 5, 0x0000, "TEST", 8),
         "4 Regular/5 Medium/0 インストール可能/00/TEST/8 Bold|0000111",
         "7 Bold/3 Condensed/0 インストール可能/00/TEST/2 Very Light|0000111"},
        {os2With(4, 450, 5, 0x0304, "ABCD", 2),
         "4 /5 Medium/4 表示・印刷可能/11/ABCD/2 Very Light|0000111",
         "4 /3 Condensed/4 表示・印刷可能/11/ABCD/2 Very Light|0000111", 0},
        {os2With(5, 1000, 10, 0x000C, "AB\0D", 11),
         "9 /9 /12 表示・印刷・編集可能/00/AB/11 Nord|0000111",
         "7 Bold/9 /12 表示・印刷・編集可能/00/AB/2 Very Light|0000111", 7, 0},
        // clang-format on
        {os2With(4, 0, 0, 0x0001, "abcd", 12), "1 /1 /-1 /00/abcd/-1 |0000111",
         "7 Bold/3 Condensed/-1 /00/abcd/2 Very Light|0000111"},
        {os2With(3, 100, 1, 0x0002, "WXYZ", 0), // the first weight and width names
         "1 Thin/1 Ultra-condensed/2 制限ライセンス/00/WXYZ/0 Any|0000111",
         "7 Bold/3 Condensed/2 制限ライセンス/00/WXYZ/2 Very Light|0000111"},
        {os2With(1, 900, 9, 0x0208, "QRST", 5),
         "9 Black/9 Ultra-expanded/8 編集可能/01/QRST/5 Book|0000111",
         "7 Bold/3 Condensed/8 編集可能/01/QRST/2 Very Light|0000111"},
        // Refused: a version past 5, or shorter than its version; edits store nothing.
        {os2Table(6, 100), kDisabled, kDisabled},
        {os2Table(4, 90), kDisabled, kDisabled},
        {os2Table(0, 60), kDisabled, kDisabled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        Session pane;
        ASSERT_TRUE(pane.open(fontWith("OS/2", c.table), "OS/2"));
        EXPECT_EQ(paneState(), c.shown);
        if (c.weightTo != 0)
            moveTrackbar(hWeightTrackbar, c.weightTo,
                         {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK});
        if (c.widthTo != 0)
            moveTrackbar(hWidthTrackbar, c.widthTo, {TB_PAGEDOWN});
        chooseItem(hPanoseCombo, 2);
        chooseItem(hUsageCombo, 12); // disabled: were it operated anyway, it stores nothing
        ASSERT_TRUE(selectItem("head") && selectItem("OS/2"));
        EXPECT_EQ(paneState(), c.edited);
    }
}

// Each pane, shown on one font and then on another, shows the second font's
// values: nothing of the first pane stays behind.
TEST(EveryPane, ShownAgainOnAnotherFontShowsThatFont) {
    auto font = [](uint16_t weight, uint16_t ppem, int16_t ascender, const char16_t* name) {
        return SfntBuilder()
            .table("head", headTable())
            .table("cmap", filler(36, 0x20))
            .table("OS/2", os2With(4, weight, 5, 0, "TEST", 2))
            .table("gasp", gaspTable(1, {{ppem, 0x3}, {0xFFFF, 0xF}}))
            .table("hhea", hheaTable(ascender, -200, 0))
            .table("name", nameTable({{3, 1, 0x409, 4, name}}))
            .build();
    };
    using Shown = std::function<std::string()>;
    const std::tuple<const char*, Shown, std::string, std::string> panes[] = {
        {"OS/2", [] { return windowText(hWeightName); }, "Regular", "Bold"},
        {"gasp", [] { return cellText(hGaspList, 0, 0); }, "8", "12"},
        {"hhea", [] { return windowText(hMetricEdits[0]); }, "800", "900"},
        {"name", [] { return cellText(hNameList, 0, 3); }, "Alpha", "Beta"},
    };
    for (const auto& [item, shown, first, second] : panes) {
        Session session;
        ASSERT_TRUE(session.open(font(400, 8, 800, u"Alpha"), item));
        EXPECT_EQ(shown(), first) << item;
        ASSERT_TRUE(session.open(font(700, 12, 900, u"Beta"), item));
        EXPECT_EQ(shown(), second) << item;
    }
}
