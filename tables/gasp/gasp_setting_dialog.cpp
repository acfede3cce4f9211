#include "tables/gasp/gasp_setting_dialog.h"

#include "app/wide_text.h"
#include "res/resource.h"
#include "tables/gasp/gasp_range_edit.h"

uint16_t gaspInitialPPEM = 0;

namespace {

constexpr char kInfinity[] = "∞";
constexpr char kInvalidSize[] = "サイズの値が正しくありません。\n0も無効ですのでご注意ください。";

void setCheck(HWND dialog, int id, bool checked) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool isChecked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void onInitDialog(HWND dialog, LPARAM lParam) {
    uint32_t range = static_cast<uint32_t>(lParam);
    gaspInitialPPEM = gaspRangePPEM(range);
    if (gaspInitialPPEM == kGaspLastRange) {
        // The last range covers every larger size: its limit is not edited.
        SetDlgItemTextW(dialog, IDC_GASP_SIZE, wide(kInfinity).c_str());
        for (int id : {IDC_GASP_SIZE, IDC_GASP_PPEM, IDC_GASP_POINTS})
            EnableWindow(GetDlgItem(dialog, id), FALSE);
    } else {
        SetDlgItemInt(dialog, IDC_GASP_SIZE, gaspInitialPPEM, FALSE);
        setCheck(dialog, IDC_GASP_PPEM, true);
        setCheck(dialog, IDC_GASP_POINTS, false);
    }
    uint16_t behavior = gaspRangeBehavior(range);
    setCheck(dialog, IDC_GASP_GRIDFIT, (behavior & GASP_GRIDFIT) != 0);
    setCheck(dialog, IDC_GASP_DOGRAY, (behavior & GASP_DOGRAY) != 0);
}

void onConfirm(HWND dialog) {
    UINT typed = GetDlgItemInt(dialog, IDC_GASP_SIZE, nullptr, FALSE);
    std::optional<uint32_t> range = confirmedGaspRange(
        typed, isChecked(dialog, IDC_GASP_POINTS), isChecked(dialog, IDC_GASP_GRIDFIT),
        isChecked(dialog, IDC_GASP_DOGRAY), gaspInitialPPEM);
    if (!range) {
        showMessage(dialog, kInvalidSize, "Error", MB_ICONERROR);
        return;
    }
    EndDialog(dialog, static_cast<INT_PTR>(*range));
}

} // namespace

INT_PTR CALLBACK gaspSettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog, lParam);
        return TRUE; // the system sets the focus
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onConfirm(dialog);
            return TRUE;
        case IDCANCEL: // the Cancel button and the Esc key
            EndDialog(dialog, -1);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
