#include "tables/gasp/gasp_setting_dialog.h"

#include "app/wide_text.h"
#include "app/modal_dialog.h"
#include "res/resource.h"
#include "tables/gasp/gasp_range_edit.h"

namespace {

constexpr char kInfinity[] = "∞";
constexpr char kInvalidSize[] = "サイズの値が正しくありません。\n0も無効ですのでご注意ください。";

void setCheck(HWND dialog, int id, bool checked) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool isChecked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The range as handed in stays in the value until the dialog is confirmed.
void onInitDialog(HWND dialog) {
    const uint32_t range = dialogValue<uint32_t>(dialog);
    const uint16_t initialPPEM = gaspRangePPEM(range);
    if (initialPPEM == kGaspLastRange) {
        // The last range covers every larger size: its limit is not edited.
        SetDlgItemTextW(dialog, IDC_GASP_SIZE, wide(kInfinity).c_str());
        for (int id : {IDC_GASP_SIZE, IDC_GASP_PPEM, IDC_GASP_POINTS})
            EnableWindow(GetDlgItem(dialog, id), FALSE);
    } else {
        SetDlgItemInt(dialog, IDC_GASP_SIZE, initialPPEM, FALSE);
        setCheck(dialog, IDC_GASP_PPEM, true);
        setCheck(dialog, IDC_GASP_POINTS, false);
    }
    uint16_t behavior = gaspRangeBehavior(range);
    setCheck(dialog, IDC_GASP_GRIDFIT, (behavior & GASP_GRIDFIT) != 0);
    setCheck(dialog, IDC_GASP_DOGRAY, (behavior & GASP_DOGRAY) != 0);
}

bool onConfirm(HWND dialog) {
    uint32_t& value = dialogValue<uint32_t>(dialog);
    UINT typed = GetDlgItemInt(dialog, IDC_GASP_SIZE, nullptr, FALSE);
    std::optional<uint32_t> range = confirmedGaspRange(
        typed, isChecked(dialog, IDC_GASP_POINTS), isChecked(dialog, IDC_GASP_GRIDFIT),
        isChecked(dialog, IDC_GASP_DOGRAY), gaspRangePPEM(value));
    if (!range) {
        showMessage(dialog, kInvalidSize, "Error", MB_ICONERROR);
        return false;
    }
    value = *range;
    return true;
}

} // namespace

INT_PTR CALLBACK gaspSettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return modalDialogMessage(dialog, message, wParam, lParam, onInitDialog, onConfirm);
}
