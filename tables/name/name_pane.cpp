#include "tables/name/name_pane.h"

#include "app/base_window.h"
#include "app/list_view.h"
#include "app/wide_text.h"
#include "app/modal_dialog.h"
#include "font/table_tags.h"
#include "tables/name/name_edit.h"
#include "tables/name/name_edit_dialog.h"
#include "tables/name/name_replace_dialog.h"
#include "tables/name/name_value_names.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <vector>

HWND hNameList = nullptr;
HWND hNameReplaceButton = nullptr;

namespace {

constexpr char kReplaceButtonText[] = "名前の置換...";
constexpr char kTableTooLarge[] = "名前の表が大きくなりすぎるため、この名前は設定できません。\n"
                                  "名前の文字列は全部で 65,535 バイトまでです。";

// The button above the list, the list below it, margins all round.
constexpr int kMargin = 16;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 24;
constexpr int kListTop = kMargin + kButtonHeight + 8;
constexpr int kStringColumn = 3;

constexpr ListColumn kColumns[] = {
    {"ID", 190},
    {"プラットフォーム / エンコーディング", 190},
    {"言語", 140},
    {"文字列", 360},
};

// The name table of the pane's font, looked up at each use: the font can
// have been released or replaced since the pane was made.
NamingTable* openNameTable() {
    return paneTable<NamingTable>(kNameTag);
}

std::wstring shownText(const NamingRecord& record) {
    const uint32_t codePage = displayCodePage(record);
    if (codePage == 0)
        return wideText(nameText(record.string));
    return wideFrom(reinterpret_cast<const char*>(record.string.data()), record.string.size(),
                    codePage);
}

std::wstring statusText() {
    const LRESULT length = SendMessageW(hStatusBar, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring text(static_cast<size_t>(LOWORD(length)) + 1, L'\0');
    SendMessageW(hStatusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    return text.c_str();
}

// After a store: lead, then the warning while a family name is too long.
// With neither, a warning shown before goes and any other text stays.
void showStoreStatus(const std::string& lead, bool familyTooLong) {
    if (!lead.empty() || familyTooLong)
        setStatusText(lead + (familyTooLong ? kLongFamilyNameWarning : ""));
    else if (statusText() == wide(kLongFamilyNameWarning))
        setStatusText("");
}

void onCreate(HWND pane) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    hNameReplaceButton = CreateWindowExW(
        0, L"BUTTON", wide(kReplaceButtonText).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kMargin, kMargin, kButtonWidth,
        kButtonHeight, pane, reinterpret_cast<HMENU>(kNameReplaceButtonId), module, nullptr);
    SendMessageW(hNameReplaceButton, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    hNameList = createListView(pane, kNameListId, WS_TABSTOP | LVS_SHOWSELALWAYS, kColumns,
                               std::size(kColumns));
    if (NamingTable* table = openNameTable())
        fillNameList(hNameList, *table);
    else
        EnableWindow(hNameReplaceButton, FALSE);
}

void onSize(LPARAM lParam) {
    int width = static_cast<short>(LOWORD(lParam));
    int height = static_cast<short>(HIWORD(lParam));
    MoveWindow(hNameList, kMargin, kListTop, width - 2 * kMargin, height - kListTop - kMargin,
               TRUE);
}

void editRecord(HWND pane, int row) {
    NamingTable* table = openNameTable();
    if (table == nullptr || row < 0 || static_cast<size_t>(row) >= table->records.size())
        return;
    const size_t index = static_cast<size_t>(row);
    const NamingRecord& record = table->records[index];
    if (!isEditableName(record)) // a read-only record opens nothing
        return;
    NameEditRequest request = {
        nameIdText(record.nameID), platformEncodingText(record.platformID, record.encodingID),
        languageText(*table, record), record.nameID, wideText(nameText(record.string))};
    if (!runModalDialog(pane, kNameEditDialog, nameEditDialogProc, request))
        return; // cancelled, or the dialog could not be shown
    // The dialog ran a message loop: look the table up again.
    table = openNameTable();
    if (table == nullptr || index >= table->records.size())
        return;
    switch (storeName(*table, index, utf16Text(request.text))) {
    case NameEdit::tooLarge:
        showMessage(pane, kTableTooLarge, "Error", MB_ICONERROR);
        return;
    case NameEdit::badPostScriptName: // the dialog keeps these back
        showMessage(pane, kPostScriptNameRule, "Error", MB_ICONERROR);
        return;
    case NameEdit::unchanged:
    case NameEdit::readOnly:
        return;
    case NameEdit::stored:
        break;
    }
    noteFontEdited();
    renameFontItems();
    setListCell(hNameList, row, kStringColumn, shownText(table->records[index]));
    showStoreStatus("", familyNameTooLong(*table));
}

// Every font's table once: fonts of a collection can share one.
std::vector<NamingTable*> tablesToReplaceIn(bool allFonts) {
    std::vector<NamingTable*> tables;
    if (!allFonts) {
        if (NamingTable* table = openNameTable())
            tables.push_back(table);
        return tables;
    }
    for (size_t font = 0; otf && font < otf->fonts.size(); ++font) {
        NamingTable* table = otf->validTableOf<NamingTable>(kNameTag, font);
        if (table != nullptr && std::find(tables.begin(), tables.end(), table) == tables.end())
            tables.push_back(table);
    }
    return tables;
}

void replaceNames(HWND pane) {
    NameReplaceRequest request;
    request.collection = otf && otf->isCollection();
    if (!runModalDialog(pane, kNameReplaceDialog, nameReplaceDialogProc, request))
        return;
    NameReplacement tally;
    bool familyTooLong = false;
    for (NamingTable* table : tablesToReplaceIn(request.allFonts)) {
        replaceInNames(*table, utf16Text(request.find), utf16Text(request.with), tally);
        familyTooLong |= familyNameTooLong(*table);
    }
    if (tally.replaced != 0) {
        noteFontEdited();
        renameFontItems();
    }
    if (NamingTable* table = openNameTable())
        fillNameList(hNameList, *table);
    showStoreStatus(replacementStatus(tally), familyTooLong);
}

int focusedRow() {
    return static_cast<int>(SendMessageW(hNameList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         LVNI_FOCUSED | LVNI_SELECTED));
}

void onNotify(HWND pane, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != kNameListId)
        return;
    if (header->code == static_cast<UINT>(NM_DBLCLK)) {
        const NMITEMACTIVATE* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        if (activate->iItem != -1)
            editRecord(pane, activate->iItem);
    } else if (header->code == static_cast<UINT>(NM_RETURN)) {
        editRecord(pane, focusedRow());
    }
}

void onCommand(HWND pane, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kNameReplaceButtonId && HIWORD(wParam) == BN_CLICKED &&
        reinterpret_cast<HWND>(lParam) == hNameReplaceButton)
        replaceNames(pane);
}

} // namespace

void fillNameList(HWND list, const NamingTable& table) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < table.records.size(); ++i) {
        const NamingRecord& record = table.records[i];
        const int row = static_cast<int>(i);
        setListCell(list, row, 0, nameIdText(record.nameID), true);
        setListCell(list, row, 1, platformEncodingText(record.platformID, record.encodingID));
        setListCell(list, row, 2, languageText(table, record));
        setListCell(list, row, kStringColumn, shownText(record));
    }
}

LRESULT CALLBACK nameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_SIZE:
        onSize(lParam);
        return 0;
    case WM_NOTIFY:
        onNotify(hwnd, lParam);
        return 0;
    case WM_COMMAND:
        onCommand(hwnd, wParam, lParam);
        return 0;
    case WM_DESTROY: // nothing may reach the controls once they are gone
        hNameList = hNameReplaceButton = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
