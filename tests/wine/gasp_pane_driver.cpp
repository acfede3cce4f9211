#include "tests/wine/gasp_pane_driver.h"

#include "app/base_window.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tables/gasp/gasp_header.h"
#include "tables/gasp/gasp_pane.h"

#include <commctrl.h>

namespace {

constexpr int kColumnCount = 4;

bool isChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND dialog, int id, bool checked) {
    if (isChecked(dialog, id) != checked)
        pressButton(dialog, id);
}

} // namespace

Bytes fontWithGasp(uint16_t version, const GaspRecords& records) {
    return SfntBuilder()
        .table("head", headTable())
        .table("cmap", filler(36, 0x20))
        .table("OS/2", os2Table(4))
        .table("gasp", gaspTable(version, records))
        .table("post", filler(32, 0x30))
        .build();
}

std::optional<GaspRanges> openGaspRanges() {
    fontObject* object = nullptr;
    if (!otf || !otf->findTable("gasp", object))
        return std::nullopt;
    const gaspHeader* table = dynamic_cast<const gaspHeader*>(object);
    if (table == nullptr)
        return std::nullopt;
    return table->ranges;
}

ListRows listRows(HWND list) {
    ListRows rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < kColumnCount; ++column) {
            char text[64] = {};
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

GaspPaneSession::GaspPaneSession(const Bytes& font) {
    std::string path = folder_.file("font.ttf");
    if (!writeBytes(path, font))
        return;
    program_.load(path);
    if (!selectItem(hTreeView, "gasp"))
        return;
    pumpMessages();
    if (hPane == nullptr || className(hPane) != kGaspPaneClass)
        return;
    pane_ = hPane;
    list_ = GetDlgItem(pane_, kGaspListId);
}

void GaspPaneSession::doubleClickRow(int row) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&bounds));
    doubleClickAt({(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
}

void GaspPaneSession::doubleClickBelowRows() {
    RECT client = {};
    GetClientRect(list_, &client);
    int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    RECT last = {};
    last.left = LVIR_BOUNDS;
    int y = client.bottom - 4;
    if (count > 0 && SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(count - 1),
                                  reinterpret_cast<LPARAM>(&last)))
        y = last.bottom + (last.bottom - last.top);
    doubleClickAt({20, y});
}

void GaspPaneSession::doubleClickAt(POINT point) {
    LPARAM at = MAKELPARAM(point.x, point.y);
    SendMessageA(list_, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list_, WM_LBUTTONUP, 0, at);
    pumpMessages();
}

GaspDialogView viewGaspDialog(HWND dialog) {
    GaspDialogView view;
    view.caption = windowText(dialog);
    view.size = windowText(GetDlgItem(dialog, IDC_GASP_SIZE));
    view.sizeEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_GASP_SIZE)) != FALSE;
    view.ppemEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_GASP_PPEM)) != FALSE;
    view.pointsEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_GASP_POINTS)) != FALSE;
    view.ppemChecked = isChecked(dialog, IDC_GASP_PPEM);
    view.pointsChecked = isChecked(dialog, IDC_GASP_POINTS);
    view.hinting = isChecked(dialog, IDC_GASP_GRIDFIT);
    view.smoothing = isChecked(dialog, IDC_GASP_DOGRAY);
    return view;
}

void fillGaspDialog(HWND dialog, const GaspDialogInput& input) {
    if (input.size)
        SetDlgItemTextA(dialog, IDC_GASP_SIZE, input.size->c_str());
    if (input.points)
        pressButton(dialog, *input.points ? IDC_GASP_POINTS : IDC_GASP_PPEM);
    if (input.hinting)
        setChecked(dialog, IDC_GASP_GRIDFIT, *input.hinting);
    if (input.smoothing)
        setChecked(dialog, IDC_GASP_DOGRAY, *input.smoothing);
}

ModalAnswerer::Answer answerGaspDialog(const GaspDialogInput& input, int button,
                                       GaspDialogView* seen) {
    return [input, button, seen](HWND dialog) {
        if (seen != nullptr)
            *seen = viewGaspDialog(dialog);
        fillGaspDialog(dialog, input);
        pressButton(dialog, button);
    };
}
