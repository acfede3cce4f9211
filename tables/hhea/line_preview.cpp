#include "tables/hhea/line_preview.h"

#include "app/main_window.h"
#include "app/pane_controls.h"
#include "tables/hhea/line_stacking.h"
#include "tables/hhea/preview_copy.h"

#include <memory>
#include <string>
#include <vector>

HWND hSampleEdit = nullptr;
HWND hPreviewSizeList = nullptr;
std::array<HWND, kPreviewNumberCount> hPreviewNumbers = {};
HWND hPreviewMessage = nullptr;
HFONT hPreviewFont = nullptr;

namespace {

constexpr wchar_t kRefusedText[] = L"このフォントは Windows で表示できません。";
// Reaches above the em (accents) and below it (descenders) in both scripts.
constexpr wchar_t kDefaultSample[] = L"永あア亜 Ágjy\r\n"
                                     L"ÉÅ 行間 fpqy\r\n"
                                     L"漢字かな Çgj";
constexpr int kSizes[] = {16, 24, 36, 48};
constexpr int kDefaultSize = 36;

constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr int kColumnWidth = 340, kSecondColumnX = 356;
constexpr int kTitleY = 52, kDrawTop = 68, kDrawHeight = 186;
constexpr int kNumbersY = kDrawTop + kDrawHeight + 6, kNumberHeight = 14;
// Where each number stands under the GDI column: the cell's parts in one
// row, the leadings in the next.
constexpr POINT kNumberPlaces[kPreviewNumberCount] = {
    {0, 0}, {113, 0}, {0, kNumberHeight}, {170, kNumberHeight}, {226, 0}};
constexpr int kTextInset = 6;
static_assert(kNumbersY + 2 * kNumberHeight <= kLinePreviewHeight, "the numbers show whole");

// The preview's state; all of it is set back when the window goes.
HWND hLinePreview = nullptr;
HFONT hControlFont = nullptr;
size_t previewFontIndex = 0;
HANDLE previewResource = nullptr; // the private font Windows holds
TEXTMETRICW previewMetrics = {};
bool copyStale = true; // the font changed: a new copy before the next paint
bool fontStale = true; // the size or the copy changed: a new HFONT
// Names are never reused, so no font cache can answer with a removed font.
unsigned privateNameSerial = 0;
std::wstring privateName;
bool addingFont = false; // a copy handed over, its font not back yet; one at a time

// Posted by the adder with the FontAddition it was given.
constexpr UINT kMsgFontAdded = WM_APP + 40;

// A copy on its way to Windows. Its font comes back as a posted message, so
// that the keys typed meanwhile are handled before it is drawn. (Adding it on
// a thread of its own crashed 32-bit Wine under qemu-i386.) The copy is freed
// as soon as Windows holds its own.
struct FontAddition {
    HWND preview;
    std::wstring name;
    std::vector<uint8_t> bytes;
    HANDLE resource = nullptr;
};

void removeAddedFont(const FontAddition& addition) {
    if (addition.resource != nullptr)
        RemoveFontMemResourceEx(addition.resource);
}

void addFont(FontAddition* addition) {
    // A laid-out font fits in 32-bit offsets, so its length fits a DWORD.
    DWORD fonts = 0;
    addition->resource = AddFontMemResourceEx(
        addition->bytes.data(), static_cast<DWORD>(addition->bytes.size()), nullptr, &fonts);
    if (fonts == 0) {
        removeAddedFont(*addition);
        addition->resource = nullptr;
    }
    std::vector<uint8_t>().swap(addition->bytes);
    if (!PostMessageW(addition->preview, kMsgFontAdded, 0, reinterpret_cast<LPARAM>(addition))) {
        removeAddedFont(*addition);
        delete addition;
    }
}

HWND createControl(const wchar_t* className, const wchar_t* text, DWORD style, PanePlace place,
                   DWORD exStyle = 0) {
    return createPaneControl(hLinePreview, hControlFont, className, text, style, place, exStyle);
}

int chosenSize() {
    const LRESULT item = SendMessageW(hPreviewSizeList, CB_GETCURSEL, 0, 0);
    const LRESULT size =
        item == CB_ERR ? CB_ERR : SendMessageW(hPreviewSizeList, CB_GETITEMDATA, item, 0);
    return size == CB_ERR ? kDefaultSize : static_cast<int>(size);
}

void deletePreviewFont() {
    if (hPreviewFont != nullptr)
        DeleteObject(hPreviewFont);
    hPreviewFont = nullptr;
}

void removePrivateFont() {
    deletePreviewFont();
    if (previewResource != nullptr)
        RemoveFontMemResourceEx(previewResource);
    previewResource = nullptr;
}

// The write-out of the pane's font streamed into memory under a new private
// name, here, where the open font is never changed meanwhile; then handed to
// Windows by the adder. A copy that cannot be made leaves no font to show.
void startAddingFont() {
    copyStale = false;
    auto addition = std::make_unique<FontAddition>();
    addition->preview = hLinePreview;
    addition->name = L"fontab preview " + std::to_wstring(++privateNameSerial);
    ByteVectorSink copy;
    if (!otf ||
        !writePreviewCopy(*otf, fileImage.get(), static_cast<size_t>(fileLength), previewFontIndex,
                          std::u16string(addition->name.begin(), addition->name.end()), copy)) {
        removePrivateFont();
        fontStale = true;
        return;
    }
    addition->bytes.swap(copy.bytes);
    addingFont = true;
    addFont(addition.release());
}

// The adder is done: its font, or none, replaces the one shown.
void onFontAdded(FontAddition* added) {
    std::unique_ptr<FontAddition> addition(added);
    addingFont = false;
    removePrivateFont();
    previewResource = addition->resource;
    privateName = addition->name;
    fontStale = true;
    InvalidateRect(hLinePreview, nullptr, FALSE);
}

// No addition may outlive the window: what the adder sent is taken back
// before the window goes.
void stopAddingFont(HWND hwnd) {
    if (!addingFont)
        return;
    addingFont = false;
    MSG message;
    while (PeekMessageW(&message, hwnd, kMsgFontAdded, kMsgFontAdded, PM_REMOVE)) {
        std::unique_ptr<FontAddition> addition(reinterpret_cast<FontAddition*>(message.lParam));
        removeAddedFont(*addition);
    }
}

// The font at the chosen size, by its private name; false when Windows
// answers with any other face.
bool createPreviewFont(HDC dc) {
    deletePreviewFont();
    if (previewResource == nullptr)
        return false;
    hPreviewFont = CreateFontW(
        -chosenSize(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, privateName.c_str());
    if (hPreviewFont == nullptr)
        return false;
    HGDIOBJ old = SelectObject(dc, hPreviewFont);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    const bool ours = privateName == face && GetTextMetricsW(dc, &previewMetrics);
    SelectObject(dc, old);
    if (!ours)
        deletePreviewFont();
    return ours;
}

void showNumbers() {
    const LONG numbers[kPreviewNumberCount] = {
        previewMetrics.tmAscent, previewMetrics.tmDescent, previewMetrics.tmInternalLeading,
        previewMetrics.tmExternalLeading, previewMetrics.tmHeight};
    for (size_t i = 0; i < kPreviewNumberCount; ++i)
        SetWindowTextW(hPreviewNumbers[i], hPreviewFont ? (std::wstring(kPreviewNumberNames[i]) +
                                                           L" " + std::to_wstring(numbers[i]))
                                                              .c_str()
                                                        : L"");
    ShowWindow(hPreviewMessage, hPreviewFont ? SW_HIDE : SW_SHOWNA);
}

// Starts a new copy when the font changed and none is on its way; brings
// the HFONT up to date with the copy Windows holds and the size. The font
// shown stays until the new one is there.
void updatePreviewFont(HDC dc) {
    if (copyStale && !addingFont)
        startAddingFont();
    // Before the first copy is there, nothing is known to show.
    if (!fontStale || (addingFont && previewResource == nullptr))
        return;
    fontStale = false;
    if (previewResource != nullptr)
        createPreviewFont(dc);
    else
        deletePreviewFont();
    showNumbers();
}

std::vector<std::wstring> sampleLines() {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hSampleEdit)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(hSampleEdit, text.data(), static_cast<int>(text.size()))));
    std::vector<std::wstring> lines;
    size_t from = 0;
    for (size_t end = text.find(L'\n'); end != std::wstring::npos; end = text.find(L'\n', from)) {
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    lines.push_back(text.substr(from));
    for (std::wstring& line : lines)
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
    return lines;
}

void onPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    updatePreviewFont(dc);
    const RECT columns[] = {
        {0, kDrawTop, kColumnWidth, kDrawTop + kDrawHeight},
        {kSecondColumnX, kDrawTop, kSecondColumnX + kColumnWidth, kDrawTop + kDrawHeight}};
    for (const RECT& column : columns)
        FillRect(dc, &column, GetSysColorBrush(COLOR_WINDOW));
    if (hPreviewFont != nullptr && otf) {
        const std::vector<std::wstring> lines = sampleLines();
        drawGdiLines(dc, hPreviewFont, columns[0], previewMetrics, lines);
        drawDirectWriteLines(dc, hPreviewFont, columns[1], *otf, previewFontIndex, chosenSize(),
                             lines);
    }
    EndPaint(hwnd, &paint);
}

void repaintLines() {
    RECT lines = {0, kDrawTop, kLinePreviewWidth, kDrawTop + kDrawHeight};
    InvalidateRect(hLinePreview, &lines, FALSE);
}

void onCreate(HWND hwnd) {
    hLinePreview = hwnd;
    hControlFont = createPaneFont();
    createControl(L"STATIC", L"見本：", kLabelStyle, {0, 3, 40, 12});
    hSampleEdit = createControl(L"EDIT", kDefaultSample,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                {44, 0, 380, 46}, WS_EX_CLIENTEDGE);
    createControl(L"STATIC", L"大きさ：", kLabelStyle, {440, 3, 48, 12});
    hPreviewSizeList = createControl(
        L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
        {492, 0, 90, 200});
    for (int size : kSizes) {
        const LRESULT item =
            SendMessageW(hPreviewSizeList, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>((std::to_wstring(size) + L" px").c_str()));
        SendMessageW(hPreviewSizeList, CB_SETITEMDATA, static_cast<WPARAM>(item), size);
        if (size == kDefaultSize)
            SendMessageW(hPreviewSizeList, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
    createControl(L"STATIC", L"GDI / Word", kLabelStyle, {0, kTitleY, kColumnWidth, 12});
    createControl(L"STATIC", L"DirectWrite / ブラウザ", kLabelStyle,
                  {kSecondColumnX, kTitleY, kColumnWidth, 12});
    for (size_t i = 0; i < kPreviewNumberCount; ++i)
        hPreviewNumbers[i] = createControl(
            L"STATIC", L"", kLabelStyle,
            {kNumberPlaces[i].x, kNumbersY + kNumberPlaces[i].y, kColumnWidth / 2, 12});
    // Hidden while the font shows, so it never clips the lines.
    hPreviewMessage = createControl(L"STATIC", kRefusedText, WS_CHILD | SS_LEFTNOWORDWRAP,
                                    {kTextInset, kDrawTop + kTextInset, kColumnWidth * 2, 12});
}

void onCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control == nullptr)
        return;
    if (control == hSampleEdit && HIWORD(wParam) == EN_CHANGE) {
        repaintLines();
    } else if (control == hPreviewSizeList && HIWORD(wParam) == CBN_SELCHANGE) {
        fontStale = true;
        repaintLines();
    }
}

// No preview font outlives the window, and nothing reaches its controls.
void onDestroy(HWND hwnd) {
    stopAddingFont(hwnd);
    removePrivateFont();
    DeleteObject(hControlFont);
    hControlFont = nullptr;
    hLinePreview = hSampleEdit = hPreviewSizeList = hPreviewMessage = nullptr;
    hPreviewNumbers.fill(nullptr);
    previewFontIndex = 0;
    previewMetrics = {};
    copyStale = fontStale = true;
    privateName.clear();
}

} // namespace

ATOM registerLinePreviewClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = linePreviewProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_MENU);
    windowClass.lpszClassName = kLinePreviewClass;
    return RegisterClassExW(&windowClass);
}

HWND createLinePreview(HWND pane, size_t font, int x, int y) {
    previewFontIndex = font;
    return CreateWindowExW(WS_EX_CONTROLPARENT, kLinePreviewClass, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, kLinePreviewWidth,
                           kLinePreviewHeight, pane, nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool linePreviewPending() {
    return hLinePreview != nullptr && (copyStale || fontStale || addingFont);
}

void refreshLinePreview() {
    copyStale = true;
    repaintLines();
}

LRESULT CALLBACK linePreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_PAINT:
        onPaint(hwnd);
        return 0;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        return paintOnPane(reinterpret_cast<HDC>(wParam));
    case kMsgFontAdded:
        onFontAdded(reinterpret_cast<FontAddition*>(lParam));
        return 0;
    case WM_DESTROY:
        onDestroy(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
