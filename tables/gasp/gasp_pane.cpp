#include "tables/gasp/gasp_pane.h"

#include "app/base_window.h"
#include "app/list_view.h"
#include "app/wide_text.h"
#include "app/modal_dialog.h"
#include "font/table_tags.h"
#include "tables/gasp/gasp_range_edit.h"
#include "tables/gasp/gasp_setting_dialog.h"

#include <commctrl.h>

#include <iterator>
#include <string>

HWND hGaspList = nullptr;

namespace {

constexpr char kInfinity[] = "∞";
constexpr char kOn[] = "あり";
constexpr char kOff[] = "なし";
constexpr char kDuplicateRange[] = "入力された範囲は別に登録されています。";

// The list sits below an empty band, with margins on the other sides.
constexpr int kListLeft = 16;
constexpr int kListTop = 80;
constexpr int kListMargin = 16;

constexpr ListColumn kColumns[] = {
    {"サイズ（PPEM）", 90},
    {"サイズ（Pt）", 90},
    {"ヒンティング", 80},
    {"スムージング", 80},
};

// The gasp object of the pane's font, looked up at each use: the font can
// have been released or replaced since the pane was made, and a font reached
// through a path named "gasp" can have no such table.
gaspHeader* openGaspTable() {
    return paneTable<gaspHeader>(kGaspTag);
}

std::string sizeText(uint32_t size, uint16_t ppem) {
    return ppem == kGaspLastRange ? kInfinity : std::to_string(size);
}

void onCreate(HWND pane) {
    hGaspList = createListView(pane, kGaspListId, 0, kColumns, std::size(kColumns));
    if (gaspHeader* table = openGaspTable())
        fillGaspList(hGaspList, table->ranges);
}

void onSize(LPARAM lParam) {
    int width = static_cast<short>(LOWORD(lParam));
    int height = static_cast<short>(HIWORD(lParam));
    MoveWindow(hGaspList, kListLeft, kListTop, width - 2 * kListMargin,
               height - kListTop - kListMargin, TRUE);
}

void editRange(HWND pane, int row) {
    gaspHeader* table = openGaspTable();
    if (table == nullptr || row < 0 || static_cast<size_t>(row) >= table->ranges.size())
        return;
    auto entry = std::next(table->ranges.begin(), row);
    uint16_t oldPPEM = entry->first;
    uint32_t confirmed = packGaspRange(entry->first, entry->second);
    if (!runModalDialog(pane, kGaspSettingDialog, gaspSettingDialogProc, confirmed))
        return; // cancelled, or the dialog could not be shown
    // The dialog ran a message loop: look the table up again.
    table = openGaspTable();
    if (table == nullptr)
        return;
    switch (replaceGaspRange(table->ranges, oldPPEM, confirmed)) {
    case GaspEditResult::duplicate:
        showMessage(pane, kDuplicateRange, "Error", MB_ICONERROR);
        return;
    case GaspEditResult::missing:
        return;
    case GaspEditResult::replaced:
        break;
    }
    fillGaspList(hGaspList, table->ranges);
    UpdateWindow(hGaspList);
    noteFontEdited();
}

void onNotify(HWND pane, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != kGaspListId || header->code != static_cast<UINT>(NM_DBLCLK))
        return;
    const NMITEMACTIVATE* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
    if (activate->iItem != -1)
        editRange(pane, activate->iItem);
}

} // namespace

void fillGaspList(HWND list, const std::map<uint16_t, uint16_t>& ranges) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const auto& [ppem, behavior] : ranges) {
        setListCell(list, row, 0, sizeText(ppem, ppem), true);
        setListCell(list, row, 1, sizeText(gaspPPEMToPoints(ppem), ppem));
        setListCell(list, row, 2, std::string((behavior & GASP_GRIDFIT) != 0 ? kOn : kOff));
        setListCell(list, row, 3, std::string((behavior & GASP_DOGRAY) != 0 ? kOn : kOff));
        ++row;
    }
}

LRESULT CALLBACK gaspWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_DESTROY: // nothing may reach the list once it is gone
        hGaspList = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
