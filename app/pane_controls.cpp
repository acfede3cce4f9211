#include "app/pane_controls.h"

#include "app/wide_text.h"

namespace {

constexpr int kPaneFontHeight = 12;
constexpr char kPaneFontFace[] = "ＭＳ Ｐゴシック";

} // namespace

HFONT createPaneFont() {
    return CreateFontW(kPaneFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       VARIABLE_PITCH | FF_DONTCARE, wide(kPaneFontFace).c_str());
}

HWND createPaneControl(HWND pane, HFONT font, const char* className, const char* text, DWORD style,
                       PanePlace place, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, wide(className).c_str(), wide(text).c_str(), style,
                                   place.x, place.y, place.width, place.height, pane, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    return control;
}

HWND createPaneControl(HWND pane, HFONT font, const wchar_t* className, const wchar_t* text,
                       DWORD style, PanePlace place, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, text, style, place.x, place.y, place.width,
                                   place.height, pane, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    return control;
}

LRESULT paintOnPane(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    SetBkColor(dc, GetSysColor(COLOR_MENU));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
}
