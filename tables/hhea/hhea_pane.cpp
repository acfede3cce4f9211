#include "tables/hhea/hhea_pane.h"

#include "app/base_window.h"
#include "app/main_window.h"
#include "app/pane_controls.h"
#include "app/wide_text.h"
#include "tables/head/font_header.h"
#include "tables/hhea/line_preview.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

std::array<HWND, kLineMetricCount> hMetricEdits = {};
HWND hUseTypoMetricsBox = nullptr;
HWND hAllFontsBox = nullptr;
HWND hUnitsPerEmText = nullptr;
HWND hYMaxText = nullptr;
HWND hYMinText = nullptr;
std::array<HWND, kLineHeightCount> hLineHeightTexts = {};
HWND hClipWarning = nullptr;

namespace {

HFONT hHheaFont = nullptr;
// The font, counted from 0, whose tables the pane shows and stores into.
size_t hheaPaneFont = 0;
// The edit class's own procedure, which the fields' subclass hands on to.
WNDPROC metricEditProc = nullptr;

constexpr char kClipWarningText[] = "usWinAscent/usWinDescent が字形の範囲より小さいため、"
                                    "Windows では字形の上下が欠けることがあります。";
// Which programs read which set, under the line heights.
constexpr const char* kReadersText[] = {
    "Windows の GDI と Word は win で行を送り、その外にはみ出す字形を切ります。",
    "DirectWrite やブラウザは hhea を、USE_TYPO_METRICS が立っていれば typo を使います。"};
constexpr char kAppliedText[] = " 個のフォントに適用しました。";
constexpr COLORREF kWarningColor = RGB(192, 0, 0);

constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr DWORD kWrappedStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr int kFieldTextLimit = 16; // room for a mistyped number, which is refused

constexpr int kLeftLabelX = 24, kLeftValueX = 120, kRightLabelX = 248, kRightValueX = 352;
constexpr int kLabelWidth = 96, kValueWidth = 80, kEditWidth = 64, kEditHeight = 18;

struct Row {
    int labelX, valueX, y;
};
// Where each field of lineMetricFields stands: hhea at the top right, the
// typo metrics below the reference on the left, the win metrics beside them.
constexpr Row kFieldRows[kLineMetricCount] = {
    {kRightLabelX, kRightValueX, 34},  {kRightLabelX, kRightValueX, 56},
    {kRightLabelX, kRightValueX, 78},  {kLeftLabelX, kLeftValueX, 126},
    {kLeftLabelX, kLeftValueX, 148},   {kLeftLabelX, kLeftValueX, 170},
    {kRightLabelX, kRightValueX, 126}, {kRightLabelX, kRightValueX, 148},
};
constexpr int kReferenceY = 36;
constexpr int kLineHeightY = 226;
// The preview stands below everything else, a collection's box included.
constexpr int kAllFontsY = 356, kPreviewY = 356, kCollectionPreviewY = 382;

constexpr const char* kLineHeightNames[kLineHeightCount] = {"hhea", "typo", "win"};
constexpr const char* kLineHeightSums[kLineHeightCount] = {
    "= ascender - descender + lineGap", "= sTypoAscender - sTypoDescender + sTypoLineGap",
    "= usWinAscent + usWinDescent"};
constexpr LineHeight kLineHeights[kLineHeightCount] = {LineHeight::hhea, LineHeight::typo,
                                                       LineHeight::win};

HWND createControl(HWND pane, const char* className, const char* text, DWORD style, PanePlace place,
                   DWORD exStyle = 0) {
    return createPaneControl(pane, hHheaFont, className, text, style, place, exStyle);
}

HWND createLabel(HWND pane, const char* text, PanePlace place) {
    return createControl(pane, "STATIC", text, kLabelStyle, place);
}

// The pane's font's tables, looked up at each use: nothing is touched once
// the font is gone.
const fontHeader* shownHead() {
    return otf ? fontHeaderOf(*otf, hheaPaneFont) : nullptr;
}

bool storesInAllFonts() {
    return hAllFontsBox != nullptr && SendMessageW(hAllFontsBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string numberText(std::optional<int32_t> value) {
    return value ? std::to_string(*value) : "";
}

std::string windowText(HWND window) {
    return utf8(controlText(window));
}

// Sets a control's text only when it changes, so a field keeps its caret.
void showText(HWND control, const std::string& text) {
    if (windowText(control) != text)
        setText(control, text);
}

void showField(size_t index) {
    showText(hMetricEdits[index],
             numberText(otf ? lineMetric(*otf, hheaPaneFont, lineMetricFields[index].metric)
                            : std::nullopt));
}

// The line heights and the warning follow every stored value.
void showLineHeights() {
    const fontHeader* head = shownHead();
    for (size_t i = 0; i < kLineHeightCount; ++i)
        setText(hLineHeightTexts[i],
                lineHeightText(otf ? lineHeight(*otf, hheaPaneFont, kLineHeights[i]) : std::nullopt,
                               head ? head->unitsPerEm : 0));
    const bool clips = otf && winMetricsClipGlyphs(*otf, hheaPaneFont);
    setText(hClipWarning, clips ? kClipWarningText : "");
}

void showUseTypoMetrics() {
    std::optional<bool> bit = otf ? useTypoMetrics(*otf, hheaPaneFont) : std::nullopt;
    SendMessageW(hUseTypoMetricsBox, BM_SETCHECK, bit.value_or(false) ? BST_CHECKED : BST_UNCHECKED,
                 0);
    EnableWindow(hUseTypoMetricsBox, otf && definesUseTypoMetrics(*otf, hheaPaneFont));
}

// After every store: the title, and in the collection mode how many fonts took it.
void noteStored(size_t fonts) {
    noteFontEdited();
    if (!storesInAllFonts())
        return;
    const std::string text = std::to_string(fonts) + kAppliedText;
    setStatusText(text);
}

std::optional<size_t> fieldIndex(HWND edit) {
    auto found = std::find(hMetricEdits.begin(), hMetricEdits.end(), edit);
    if (edit == nullptr || found == hMetricEdits.end())
        return std::nullopt;
    return static_cast<size_t>(found - hMetricEdits.begin());
}

// The field is left: a whole number within its range is stored; anything
// else stores nothing. Either way it shows the stored value again.
void storeField(HWND edit) {
    const std::optional<size_t> index = fieldIndex(edit);
    if (!index || !otf)
        return;
    const LineMetricField& field = lineMetricFields[*index];
    if (std::optional<int32_t> value = parseLineMetric(windowText(edit), field)) {
        const size_t fonts =
            storeLineMetric(*otf, hheaPaneFont, field.metric, *value, storesInAllFonts());
        if (fonts > 0) {
            noteStored(fonts);
            refreshLinePreview();
        }
    }
    showField(*index);
    showLineHeights();
}

void onUseTypoMetricsClicked() {
    if (!otf)
        return;
    const bool on = SendMessageW(hUseTypoMetricsBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const size_t fonts = storeUseTypoMetrics(*otf, hheaPaneFont, on, storesInAllFonts());
    if (fonts > 0)
        noteStored(fonts);
    showUseTypoMetrics();
    refreshLinePreview();
}

// Tab and Shift+Tab go to the next or previous field that takes input.
void focusNextField(HWND edit, bool backwards) {
    const std::optional<size_t> index = fieldIndex(edit);
    if (!index)
        return;
    for (size_t step = 1; step < kLineMetricCount; ++step) {
        size_t next = (*index + (backwards ? kLineMetricCount - step : step)) % kLineMetricCount;
        if (IsWindowEnabled(hMetricEdits[next])) {
            SetFocus(hMetricEdits[next]);
            SendMessageW(hMetricEdits[next], EM_SETSEL, 0, -1);
            return;
        }
    }
}

// The fields' subclass: Enter stores the field as leaving it does, Tab moves
// on; their characters are taken here so the edit does not beep at them.
LRESULT CALLBACK metricFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            storeField(edit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        if (wParam == VK_TAB) {
            focusNextField(edit, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\t')
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcW(metricEditProc, edit, message, wParam, lParam);
}

void createReference(HWND pane) {
    createLabel(pane, "基準（head）", {16, 16, 180, 12});
    const char* names[] = {"unitsPerEm：", "yMax：", "yMin："};
    HWND* values[] = {&hUnitsPerEmText, &hYMaxText, &hYMinText};
    for (size_t i = 0; i < std::size(names); ++i) {
        const int y = kReferenceY + static_cast<int>(i) * 18;
        createLabel(pane, names[i], {kLeftLabelX, y, kLabelWidth, 12});
        *values[i] = createLabel(pane, "", {kLeftValueX, y, kValueWidth, 12});
    }
    const fontHeader* head = shownHead();
    setText(hUnitsPerEmText, head ? std::to_string(head->unitsPerEm) : "");
    setText(hYMaxText, head ? std::to_string(head->yMax) : "");
    setText(hYMinText, head ? std::to_string(head->yMin) : "");
}

// The eight fields in their order, each with its OpenType name before it.
// A field whose table has no object stays empty and disabled.
void createFields(HWND pane) {
    createLabel(pane, "hhea", {kRightLabelX - 8, 16, 180, 12});
    createLabel(pane, "OS/2", {16, 108, 180, 12});
    for (size_t i = 0; i < kLineMetricCount; ++i) {
        const LineMetricField& field = lineMetricFields[i];
        const Row& row = kFieldRows[i];
        createLabel(pane, (std::string(field.name) + "：").c_str(),
                    {row.labelX, row.y + 3, kLabelWidth, 12});
        HWND edit = createControl(pane, "EDIT", "", kEditStyle,
                                  {row.valueX, row.y, kEditWidth, kEditHeight}, WS_EX_CLIENTEDGE);
        SendMessageW(edit, EM_LIMITTEXT, kFieldTextLimit, 0);
        WNDPROC own = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(metricFieldProc)));
        metricEditProc = own; // every field is an EDIT: the same procedure
        hMetricEdits[i] = edit;
        showField(i);
        EnableWindow(edit, otf && lineMetric(*otf, hheaPaneFont, field.metric).has_value());
    }
}

void createLineHeights(HWND pane) {
    createLabel(pane, "行の高さ", {16, kLineHeightY - 18, 180, 12});
    for (size_t i = 0; i < kLineHeightCount; ++i) {
        const int y = kLineHeightY + static_cast<int>(i) * 18;
        createLabel(pane, kLineHeightNames[i], {kLeftLabelX, y, 40, 12});
        hLineHeightTexts[i] = createLabel(pane, "", {70, y, 120, 12});
        createLabel(pane, kLineHeightSums[i], {196, y, 320, 12});
    }
    for (size_t i = 0; i < std::size(kReadersText); ++i)
        createLabel(pane, kReadersText[i], {16, 284 + 16 * static_cast<int>(i), 640, 12});
    hClipWarning = createControl(pane, "STATIC", "", kWrappedStyle, {16, 324, 640, 26});
}

void onCreate(HWND pane) {
    hHheaFont = createPaneFont();
    hheaPaneFont = paneFont;
    hAllFontsBox = nullptr;
    createReference(pane);
    createFields(pane);
    hUseTypoMetricsBox =
        createControl(pane, "BUTTON", "USE_TYPO_METRICS（行送りに typo を使う）", kCheckBoxStyle,
                      {kRightLabelX, kFieldRows[5].y, 260, kEditHeight});
    showUseTypoMetrics();
    createLineHeights(pane);
    const bool collection = otf && otf->isCollection();
    if (collection)
        hAllFontsBox = createControl(pane, "BUTTON", "全てのフォントに適用", kCheckBoxStyle,
                                     {16, kAllFontsY, 220, 20});
    showLineHeights();
    createLinePreview(pane, hheaPaneFont, 16, collection ? kCollectionPreviewY : kPreviewY);
}

void onCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) == EN_KILLFOCUS)
        storeField(control);
    else if (HIWORD(wParam) == BN_CLICKED && control != nullptr && control == hUseTypoMetricsBox)
        onUseTypoMetricsClicked();
    else if (HIWORD(wParam) == BN_CLICKED && control != nullptr && control == hAllFontsBox)
        refreshLinePreview();
}

LRESULT onControlColor(HWND control, HDC dc) {
    LRESULT brush = paintOnPane(dc);
    if (control == hClipWarning)
        SetTextColor(dc, kWarningColor);
    return brush;
}

// Nothing may reach the pane's controls once they are gone, nor a later
// pane find this one's values. The fields, destroyed after the pane, get
// their own procedure back first.
void onDestroy() {
    for (HWND edit : hMetricEdits)
        if (edit != nullptr)
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(metricEditProc));
    metricEditProc = nullptr;
    DeleteObject(hHheaFont);
    hHheaFont = nullptr;
    hheaPaneFont = 0;
    hMetricEdits.fill(nullptr);
    hLineHeightTexts.fill(nullptr);
    hUseTypoMetricsBox = hAllFontsBox = hClipWarning = nullptr;
    hUnitsPerEmText = hYMaxText = hYMinText = nullptr;
}

} // namespace

LRESULT CALLBACK hheaWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case kMsgStorePaneEdits:
        storeField(GetFocus());
        return 0;
    case WM_CTLCOLORSTATIC:
        return onControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_DESTROY:
        onDestroy();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
