#include "app/dropped_file.h"

constexpr UINT kItemCount = 0xFFFFFFFF; // DragQueryFile's index that asks for the count

std::optional<std::wstring> droppedFilePath(HDROP drop) {
    if (DragQueryFileW(drop, kItemCount, nullptr, 0) != 1)
        return std::nullopt;
    // Sized by a first call: a path of any length is held whole.
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    if (DragQueryFileW(drop, 0, path.data(), length + 1) != length)
        return std::nullopt;
    path.resize(length);
    // A file that is not there is tried all the same: its open fails and says so.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return path;
}
