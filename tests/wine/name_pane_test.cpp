// The name pane on the real program: the list, the edit dialog and the
// replacement, and names outside the code page.
#include "tables/name/name_edit.h"
#include "tables/name/name_edit_dialog.h"
#include "tests/wine/program_windows.h"

namespace {

const char kIpaGothic[] = "Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipag.ttf";
const char kWarning[] =
    "ファミリ名が 31 文字を超えると、Windows の一部のプログラムで選べなくなります。";
using Rows = std::vector<std::wstring>;

// Rows 0 to 5: Windows family, full and PostScript name, a Unicode-platform
// full name, and two Macintosh names: Japanese "ゴシック" in Shift-JIS bytes
// and Roman "Mac ä" (0x8A).
const Bytes kNames = rawNameTable({{3, 1, 0x0409, 1, utf16be(u"Family")},
                                   {3, 1, 0x0409, 4, utf16be(u"Family Regular")},
                                   {3, 1, 0x0409, 6, utf16be(u"Family-Regular")},
                                   {0, 3, 0, 4, utf16be(u"Unicode Family")},
                                   {1, 1, 11, 1, {0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E}},
                                   {1, 0, 0, 4, {'M', 'a', 'c', ' ', 0x8A}}});

Bytes nameFont(const Bytes& name) {
    return SfntBuilder().table("head", headTable()).table("name", name).build();
}

std::wstring cell(int row, int column) {
    return wide(cellText(hNameList, row, column));
}

Rows listRows() {
    Rows rows;
    for (int row = 0; row < ListView_GetItemCount(hNameList); ++row)
        rows.push_back(cell(row, 0) + L"|" + cell(row, 1) + L"|" + cell(row, 2) + L"|" +
                       cell(row, 3));
    return rows;
}

std::wstring modelText(size_t record, size_t font = 0) {
    auto* table = otf ? otf->tableOf<NamingTable>("name", font) : nullptr;
    if (table == nullptr || record >= table->records.size())
        return L"(none)";
    std::u16string text = nameText(table->records[record].string);
    return std::wstring(text.begin(), text.end());
}

// Types text into the edit dialog and ends it with button or the Esc key;
// records what it showed ("caption|ID|platform|language|string") and the
// dialog when it stayed open (then cancels it).
Step typeName(const std::wstring& text, int button, std::wstring* shown = nullptr,
              HWND* stayed = nullptr) {
    return [=](HWND dialog) {
        for (int id : {0, IDC_NAME_ID, IDC_NAME_PLATFORM, IDC_NAME_LANGUAGE, IDC_NAME_TEXT}) {
            wchar_t part[128] = {};
            GetWindowTextW(id == 0 ? dialog : GetDlgItem(dialog, id), part, 128);
            if (shown != nullptr)
                *shown += (id == 0 ? L"" : L"|") + std::wstring(part);
        }
        SetDlgItemTextW(dialog, IDC_NAME_TEXT, text.c_str());
        button == VK_ESCAPE ? pressKey(dialog, VK_ESCAPE) : pressButton(dialog, button);
        if (IsWindowVisible(dialog)) {
            if (stayed != nullptr)
                *stayed = dialog;
            pressButton(dialog, IDCANCEL);
        }
    };
}

// Enter on row, as typed into the focused list.
void pressEnterOn(int row, std::vector<Step> answers) {
    const int expected = static_cast<int>(answers.size());
    ModalAnswerer answerer(std::move(answers));
    ListView_SetItemState(hNameList, row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(hNameList);
    PostMessageW(hNameList, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(hNameList, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001u));
    pumpMessages();
    EXPECT_EQ(answerer.answered(), expected) << "row " << row;
}

} // namespace

// IPA Gothic's 36 records, the Macintosh ones through their code pages.
TEST(NamePane, ListsEveryRecordOfARealFontInFileOrder) {
    Session pane;
    const Bytes ipa = readBytes(kIpaGothic);
    ASSERT_FALSE(ipa.empty()) << kIpaGothic << " (package fonts-ipafont-gothic, scripts/setup)";
    ASSERT_TRUE(pane.open(ipa, "name", "ipag.ttf"));
    EXPECT_EQ(paneClasses(), std::vector<std::string>{kNamePaneClass});
    const Rows rows = listRows();
    ASSERT_EQ(rows.size(), 36u);
    const std::pair<size_t, std::wstring> expected[] = {
        {2, L"2 サブファミリ名|1 Macintosh / 0 Roman|0x0000 英語|Regular"},
        {10, L"1 ファミリ名|1 Macintosh / 1 日本語|0x000B 日本語|IPAGothic"},
        {19, L"1 ファミリ名|3 Windows / 1 Unicode BMP|0x0409 英語 (米国)|IPAGothic"},
        {28, L"1 ファミリ名|3 Windows / 1 Unicode BMP|0x0411 日本語|IPAゴシック"},
        {33, L"6 PostScript名|3 Windows / 1 Unicode BMP|0x0411 日本語|IPAGothic"},
        {35, L"14 ライセンスの URL|3 Windows / 1 Unicode BMP|0x0411 日本語|"
             L"http://ipafont.ipa.go.jp/ipa_font_license_v1.html"},
    };
    for (const auto& [row, text] : expected)
        EXPECT_EQ(rows[row], text) << row;

    // A table cut one byte short of its last string gets the placeholder.
    Session cut;
    ASSERT_TRUE(cut.open(nameFont(Bytes(kNames.begin(), kNames.end() - 1)), "name"));
    EXPECT_EQ(paneClasses(), std::vector<std::string>{kPlaceholderPaneClass});
}

// OK stores, Cancel and Esc do not; a read-only row opens nothing; a broken
// PostScript name is refused by the dialog; a long family name is warned of.
TEST(NameEditDialog, StoresOnOkOnlyRefusesBrokenPostScriptNamesAndWarnsOfLongFamilies) {
    Session pane;
    ASSERT_TRUE(pane.open(nameFont(kNames), "name"));
    const Rows shownRows = {
        L"1 ファミリ名|3 Windows / 1 Unicode BMP|0x0409 英語 (米国)|Family",
        L"4 フルネーム|3 Windows / 1 Unicode BMP|0x0409 英語 (米国)|Family Regular",
        L"6 PostScript名|3 Windows / 1 Unicode BMP|0x0409 英語 (米国)|Family-Regular",
        L"4 フルネーム|0 Unicode / 3 Unicode BMP|0x0000|Unicode Family",
        L"1 ファミリ名|1 Macintosh / 1 日本語|0x000B 日本語|ゴシック",
        L"4 フルネーム|1 Macintosh / 0 Roman|0x0000 英語|Mac \u00E4"};
    EXPECT_EQ(listRows(), shownRows);
    editRow(4, {}, hNameList);
    editRow(5, {}, hNameList);
    editRow(6, {}, hNameList); // below the rows

    std::wstring shown;
    editRow(0, {typeName(L"Cancelled", IDCANCEL, &shown)}, hNameList);
    editRow(0, {typeName(L"Escaped", VK_ESCAPE)}, hNameList);
    EXPECT_EQ(shown,
              L"名前の編集|1 ファミリ名|3 Windows / 1 Unicode BMP|0x0409 英語 (米国)|Family");
    EXPECT_EQ(listRows(), shownRows);
    EXPECT_EQ(modelText(0), L"Family");

    // A refused PostScript name keeps the dialog open, and the record as read.
    for (const wchar_t* refused : {L"Family Regular", L""}) {
        std::vector<MessageBoxSeen> boxes;
        HWND stayed = nullptr;
        editRow(2, {typeName(refused, IDOK, nullptr, &stayed), recordMessageBox(boxes)}, hNameList);
        EXPECT_EQ(boxes, errorBox(kPostScriptNameRule, stayed));
        EXPECT_NE(stayed, nullptr);
    }
    EXPECT_EQ(modelText(2), L"Family-Regular");
    editRow(2, {typeName(L"Family-Bold", IDOK)}, hNameList);
    EXPECT_EQ(modelText(2), L"Family-Bold");

    // Stored, through Enter as well; the warning while a family name has 32 units.
    const std::wstring units32(32, L'W'), units31(31, L'W');
    pressEnterOn(0, {typeName(units32, IDOK)});
    EXPECT_EQ(cell(0, 3), units32);
    EXPECT_EQ(statusText(), kWarning);
    editRow(0, {typeName(units31, IDOK)}, hNameList);
    EXPECT_EQ(modelText(0), units31);
    EXPECT_EQ(statusText(), "");
    editRow(3, {typeName(std::wstring(40, L'U'), IDOK)}, hNameList);
    EXPECT_EQ(statusText(), "") << "not a Windows family name";
}

// A name with characters that the Japanese code page lacks (€, ü, é) and ones
// that the Western one lacks (Ⅻ, 字), stored, written out, and read back by a
// fresh program unchanged.
TEST(NameEditDialog, ANameOutsideTheCodePageIsStoredWrittenAndReadBackUnchangedWithFileDialog) {
    const std::wstring mixed =
        L"\u216B\u20AC\u00FC mixed \u5B57\u00E9!!"; // as long as "Family Regular"
    ASSERT_EQ(mixed.size(), 14u);
    Bytes written;
    {
        Session pane;
        ASSERT_TRUE(pane.open(nameFont(kNames), "name"));
        pressEnterOn(1, {typeName(mixed, IDOK)});
        EXPECT_EQ(modelText(1), mixed);
        EXPECT_EQ(cell(1, 3), mixed);
        written = pane.writeOut();
    }
    Session again;
    ASSERT_TRUE(again.open(written, "name"));
    EXPECT_EQ(cell(1, 3), mixed);
    editRow(1, {typeName(L"Family Regular", IDOK)}, hNameList);
    EXPECT_EQ(again.writeOut("back.ttf"), nameFont(kNames));
}

// The replacement in one font and in all fonts of a collection, where fonts
// 0 and 2 share a table; the status says what was done.
TEST(NameReplace, InOneFontOrAllWithTheStatusText) {
    {
        Session single;
        ASSERT_TRUE(single.open(nameFont(kNames), "name"));
        bool offered = true;
        replace(L"Family", L"Kin", false, &offered);
        EXPECT_FALSE(offered) << "a single font has no other fonts";
        EXPECT_EQ(statusText(), "4 個の名前を置換しました。");
        EXPECT_EQ(cell(3, 3), L"Unicode Kin");
    }
    auto names = [](const char16_t* family, const char16_t* full, const char16_t* postScript) {
        return nameTable({{3, 1, 0x409, 1, family},
                          {3, 1, 0x409, 2, u"Foo"},
                          {3, 1, 0x409, 4, full},
                          {3, 1, 0x409, 6, postScript}});
    };
    const Bytes collection =
        CollectionBuilder()
            .table("head", "head", headTable())
            .table("shared", "name", names(u"Foo Sans", u"Foo Sans Bold", u"FooSans-Bold"))
            .table("own", "name", names(u"Foo Serif", u"Foo Serif", u"FooSerif"))
            .font({"head", "shared"})
            .font({"head", "own"})
            .font({"head", "shared"})
            .build();
    Session pane;
    ASSERT_TRUE(pane.open(collection, "1: Foo Serif/name", "three.ttc"));
    bool offered = false;
    replace(L"Foo", L"Bar", false, &offered);
    EXPECT_TRUE(offered);
    EXPECT_EQ(statusText(), "3 個の名前を置換しました。");
    EXPECT_EQ(Rows({modelText(0, 1), modelText(1, 1), modelText(2, 1), modelText(3, 1)}),
              Rows({L"Bar Serif", L"Foo", L"Bar Serif", L"BarSerif"}));
    EXPECT_EQ(modelText(0, 0), L"Foo Sans");

    ASSERT_TRUE(selectItem("0: Foo Sans Bold/name"));
    replace(L"Foo", L"Baz Q", true);
    EXPECT_EQ(statusText(), "2 個の名前を置換しました。PostScript 名 1 個は規則に合わないため"
                            "置換していません。");
    EXPECT_EQ(cell(2, 3), L"Baz Q Sans Bold");
    // The tree shows the names as they are now.
    ASSERT_TRUE(selectItem("1: Bar Serif") && selectItem("2: Baz Q Sans Bold/name"));
    EXPECT_EQ(Rows({cell(0, 3), cell(1, 3), cell(2, 3), cell(3, 3)}),
              Rows({L"Baz Q Sans", L"Foo", L"Baz Q Sans Bold", L"FooSans-Bold"}));
    EXPECT_EQ(modelText(1, 1), L"Foo") << "the style is left alone";
    replace(L"Nowhere", L"x", true);
    EXPECT_EQ(statusText(), "置換する名前はありませんでした。");
}
