// Commands and control ids that the program's windows send and look for
// beyond the menu items of res/resource.h.
#pragma once

// WM_COMMAND to the main window: load the font whose path (UTF-16) is in lParam.
constexpr int kCmdLoadFont = 400;
// WM_COMMAND to the base window: the font at the path in lParam is loaded.
constexpr int kCmdFontLoaded = 401;

constexpr int kStatusBarId = 300;
constexpr int kTreeViewId = 301;
