#include "tables/os2/os2_pane.h"

#include "app/base_window.h"
#include "app/pane_controls.h"
#include "app/wide_text.h"
#include "font/table_tags.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_edit.h"
#include "tables/os2/value_names.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>

OS2* os2Object = nullptr;
HWND hUsageCombo = nullptr;
HWND hPanoseCombo = nullptr;
HWND hVendorBox = nullptr;
HWND hWeightTrackbar = nullptr;
HWND hWeightName = nullptr;
HWND hWidthTrackbar = nullptr;
HWND hWidthName = nullptr;

namespace {

HFONT hOS2Font = nullptr;
// Scratch space for a name or the vendor ID on its way to a control.
constexpr size_t kOS2TextBufferSize = 64;
wchar_t os2TextBuffer[kOS2TextBufferSize] = {};

constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
constexpr DWORD kScrolledListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTrackbarStyle = WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS;

constexpr int kVendorIdLength = sizeof(OS2::achVendID);

using Place = PanePlace;

// Every control gets the pane font at once, without a redraw.
HWND createControl(HWND pane, const char* className, const char* text, DWORD style, Place place,
                   DWORD exStyle = 0) {
    return createPaneControl(pane, hOS2Font, className, text, style, place, exStyle);
}

const wchar_t* bufferText(const char* text) {
    const std::wstring shown = wide(text == nullptr ? "" : text);
    const size_t length = std::min(shown.size(), kOS2TextBufferSize - 1);
    std::copy_n(shown.begin(), length, os2TextBuffer);
    os2TextBuffer[length] = L'\0';
    return os2TextBuffer;
}

// Shows a name, or the empty text for a value that has none.
void showName(HWND label, const char* name) {
    SetWindowTextW(label, bufferText(name));
}

// Appends one item that carries its value; selects it when it is the shown one.
void addListItem(HWND list, const char* name, LPARAM value, bool selected) {
    LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bufferText(name)));
    if (index < 0)
        return;
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), value);
    if (selected)
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

HWND createTrackbar(HWND pane, Place place) {
    HWND trackbar = createControl(pane, "msctls_trackbar32", "", kTrackbarStyle, place);
    SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, kOS2TrackbarMin);
    SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, kOS2TrackbarMax);
    SendMessageW(trackbar, TBM_SETTICFREQ, 1, 0);
    return trackbar;
}

// The member keeps its value whatever position shows it.
void showPosition(HWND trackbar, int position) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
}

void createUsageControls(HWND pane, const OS2* os2) {
    createControl(pane, "STATIC", "埋め込み許可状態：", kLabelStyle, {16, 20, 108, 12});
    hUsageCombo = createControl(pane, "COMBOBOX", "", kListStyle, {140, 16, 144, 100});
    unsigned fsType = os2 ? static_cast<uint16_t>(os2->fsType) : 0;
    for (const NamedValue& usage : fsTypeUsageNames)
        addListItem(hUsageCombo, usage.name, usage.value, os2 && (fsType & 0xFF) == usage.value);
    EnableWindow(hUsageCombo, FALSE);

    int row = 0;
    for (const NamedValue& option : fsTypeOptionNames) {
        HWND box = createControl(pane, "BUTTON", option.name, kCheckBoxStyle,
                                 {16, 36 + 20 * row++, 144, 20});
        SendMessageW(box, BM_SETCHECK, (fsType & option.value) ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(box, FALSE);
    }
}

void createVendorControls(HWND pane, const OS2* os2) {
    createControl(pane, "STATIC", "ベンダーID：", kLabelStyle, {300, 20, 96, 12});
    hVendorBox = createControl(pane, "EDIT", "", kEditStyle, {370, 16, 64, 16}, WS_EX_CLIENTEDGE);
    SendMessageW(hVendorBox, EM_LIMITTEXT, kVendorIdLength, 0);
    // The shown text ends at the first zero byte of the ID; each byte is
    // shown as the character of its own number, whatever the code page.
    size_t length = 0;
    for (; os2 && length < kVendorIdLength && os2->achVendID[length] != 0; ++length)
        os2TextBuffer[length] = static_cast<wchar_t>(os2->achVendID[length]);
    os2TextBuffer[length] = L'\0';
    SetWindowTextW(hVendorBox, os2TextBuffer);
    EnableWindow(hVendorBox, FALSE);
}

void createClassControls(HWND pane, const OS2* os2) {
    createControl(pane, "STATIC", "ウエイト：", kLabelStyle, {300, 40, 96, 12});
    hWeightTrackbar = createTrackbar(pane, {300, 56, 144, 20});
    if (os2)
        showPosition(hWeightTrackbar, weightPosition(*os2));
    hWeightName = createControl(pane, "STATIC", "", kLabelStyle, {450, 60, 96, 12});
    showName(hWeightName, os2 ? weightClassName(os2->usWeightClass) : nullptr);

    createControl(pane, "STATIC", "幅：", kLabelStyle, {300, 80, 96, 12});
    hWidthTrackbar = createTrackbar(pane, {300, 96, 144, 20});
    if (os2)
        showPosition(hWidthTrackbar, widthPosition(*os2));
    hWidthName = createControl(pane, "STATIC", "", kLabelStyle, {450, 100, 96, 12});
    showName(hWidthName, os2 ? widthClassName(os2->usWidthClass) : nullptr);
}

void createPanoseControls(HWND pane, const OS2* os2) {
    createControl(pane, "STATIC", "ウエイト（PANOSE）：", kLabelStyle, {16, 220, 108, 12});
    hPanoseCombo = createControl(pane, "COMBOBOX", "", kScrolledListStyle, {140, 216, 144, 100});
    for (const auto& [value, name] : panoseWeightNames)
        addListItem(hPanoseCombo, name, value, os2 && os2->panose[kPanoseWeightIndex] == value);
}

// Disables the editing controls, for a pane with no object to edit.
void disableOS2Editing() {
    for (HWND control : {hWeightTrackbar, hWidthTrackbar, hPanoseCombo})
        EnableWindow(control, FALSE);
}

// Creates the pane font and every control in their order, filled from
// os2Object; with no object they stay empty and disabled.
void createOS2Controls(HWND pane) {
    hOS2Font = createPaneFont();
    const OS2* os2 = os2Object;
    createUsageControls(pane, os2);
    createVendorControls(pane, os2);
    createClassControls(pane, os2);
    createPanoseControls(pane, os2);
    if (os2 == nullptr)
        disableOS2Editing();
}

// The OS/2 object of the pane's font, when it holds one that write-out will
// write back: edits to a table the model refused would be silently lost.
OS2* editableOS2() {
    return paneTable<OS2>(kOS2Tag);
}

// os2Object while it still belongs to the open font. Once the font is gone
// the pane forgets it and stops offering edits.
OS2* currentOS2() {
    if (os2Object != nullptr && editableOS2() != os2Object) {
        os2Object = nullptr;
        disableOS2Editing();
    }
    return os2Object;
}

int trackbarPosition(HWND trackbar) {
    return static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
}

// Every scroll code, the drag's included, stores the position at once.
void onTrackbarMoved(HWND trackbar) {
    OS2* os2 = currentOS2();
    if (os2 == nullptr)
        return;
    if (trackbar == hWeightTrackbar) {
        storeWeightPosition(*os2, trackbarPosition(trackbar));
        showName(hWeightName, weightClassName(os2->usWeightClass));
    } else if (trackbar == hWidthTrackbar) {
        storeWidthPosition(*os2, trackbarPosition(trackbar));
        showName(hWidthName, widthClassName(os2->usWidthClass));
    }
    noteFontEdited();
}

// The chosen item's data is the PANOSE weight it stands for.
void onPanoseChosen(HWND list) {
    OS2* os2 = currentOS2();
    if (os2 == nullptr)
        return;
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    LRESULT value = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (value == CB_ERR)
        return;
    storePanoseWeight(*os2, value);
    noteFontEdited();
}

// Nothing may reach the pane's controls once they are gone, nor a later
// pane find this one's values.
void onDestroy() {
    DeleteObject(hOS2Font);
    hOS2Font = nullptr;
    os2Object = nullptr;
    hUsageCombo = hPanoseCombo = hVendorBox = nullptr;
    hWeightTrackbar = hWeightName = hWidthTrackbar = hWidthName = nullptr;
    os2TextBuffer[0] = L'\0';
}

} // namespace

LRESULT CALLBACK os2WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        os2Object = editableOS2();
        createOS2Controls(hwnd);
        return 0;
    case WM_COMMAND:
        // Only the PANOSE list can change: the usage list is disabled.
        if (HIWORD(wParam) == CBN_SELCHANGE && lParam != 0 &&
            reinterpret_cast<HWND>(lParam) == hPanoseCombo)
            onPanoseChosen(hPanoseCombo);
        return 0;
    case WM_HSCROLL:
        onTrackbarMoved(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return paintOnPane(reinterpret_cast<HDC>(wParam));
    case WM_DESTROY:
        onDestroy();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
