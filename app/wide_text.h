// The program's texts on their way to and from Windows. Every text in the
// sources and the portable core is UTF-8; every text and path that crosses to
// a window, a control, a box or the file system is UTF-16, so that it reads
// the same under every code page and names every file Windows can name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A UTF-8 text of the program (or of the core) as Windows takes it.
std::wstring wide(std::string_view text);
// A text read back from a window, as the program and the core compare it.
std::string utf8(std::wstring_view text);

// A name's UTF-16 units as the model holds them, and back.
inline std::wstring wideText(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string utf16Text(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

// A font's bytes converted through codePage; each byte as Latin-1 when the
// code page is missing or refuses them.
std::wstring wideFrom(const char* bytes, size_t size, UINT codePage);

// A control's whole text.
std::wstring controlText(HWND control);
// Sets a window's text.
void setText(HWND window, std::string_view text);

// A message box of the program's own texts.
int showMessage(HWND owner, std::string_view text, std::string_view caption, UINT type);
