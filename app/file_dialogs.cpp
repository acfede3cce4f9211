#include "app/file_dialogs.h"

#include "app/wide_text.h"

#include <commdlg.h>

#include <vector>

namespace {

constexpr DWORD kPathBufferSize = 520;

#ifndef _WIN64
// The 32-bit layout the dialogs are built for.
static_assert(sizeof(OPENFILENAMEW) == 88, "OPENFILENAMEW is 88 bytes in 32-bit Windows");
#endif

// Pairs of description and pattern; the literal's own NUL ends the list.
constexpr char kFontFilter[] = "TrueType,OpenType(TrueTypeアウトライン)(*.ttf)\0*.ttf\0"
                               "OpenType(*.otf)\0*.otf\0"
                               "TrueType/OpenTypeコレクション(*.ttc;*.otc)\0*.ttc;*.otc\0"
                               "対応する全てのフォント\0*.ttf;*.otf;*.ttc;*.otc\0";

using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEW);

constexpr DWORD kCollectionFilter = 3; // counted from 1, as the dialog counts

std::optional<std::wstring> askFontPath(HWND owner, const char* title, DWORD flags, FileDialog show,
                                        const char* extension = "ttf", DWORD filterIndex = 0) {
    // Widened whole: the list's inner NULs are its separators.
    const std::wstring filter = wide(std::string_view(kFontFilter, sizeof kFontFilter));
    const std::wstring shownTitle = wide(title), defaultExtension = wide(extension);
    std::vector<wchar_t> file(kPathBufferSize, L'\0');
    std::vector<wchar_t> fileTitle(kPathBufferSize, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathBufferSize;
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = kPathBufferSize;
    dialog.lpstrTitle = shownTitle.c_str();
    dialog.Flags = flags;
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.nFilterIndex = filterIndex;
    if (!show(&dialog))
        return std::nullopt;
    return std::wstring(file.data());
}

} // namespace

std::optional<std::wstring> askFontToOpen(HWND owner) {
    return askFontPath(owner, "フォントファイルを開く", OFN_FILEMUSTEXIST, GetOpenFileNameW);
}

// The dialog gives a name typed without extension the selected filter's, and
// the default extension only under a filter of several: a collection is
// offered under the collection filter, so that it is written out as .ttc.
std::optional<std::wstring> askFontToWriteOut(HWND owner, bool collection) {
    return askFontPath(owner, "フォントファイルの書き出し", OFN_OVERWRITEPROMPT, GetSaveFileNameW,
                       collection ? "ttc" : "ttf", collection ? kCollectionFilter : 0);
}
