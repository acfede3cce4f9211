// The one file dropped on a window, as the program opens files.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

// The path of the only item in drop; nothing when two or more were dropped
// or the one is a folder. The caller releases drop.
std::optional<std::wstring> droppedFilePath(HDROP drop);
