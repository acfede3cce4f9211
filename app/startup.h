// What the program does before and after its main window runs: the one
// command-line argument, and the message loop.
#pragma once

#include <optional>
#include <string>

// The font to open at start: the only argument after the program's own path,
// as it comes. No argument, or two and more, open nothing.
std::optional<std::wstring> startupPath(int argc, const wchar_t* const* argv);

// Dispatches the thread's messages until WM_QUIT and returns its exit code.
int runMessageLoop();
