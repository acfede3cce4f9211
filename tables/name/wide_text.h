// The name pane's texts on their way to the wide controls: names travel as
// UTF-16 from the model to the controls and back, the interface's own
// Shift-JIS texts are widened on the way.
#pragma once

#include <windows.h>

#include <string>

constexpr UINT kInterfaceCodePage = 932; // the program's narrow texts

inline std::wstring wideText(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string utf16Text(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

// bytes converted through codePage; each byte as Latin-1 when the code
// page is missing or refuses them.
inline std::wstring wideFrom(const char* bytes, size_t size, UINT codePage) {
    const int length = static_cast<int>(size);
    int units = size == 0 ? 0 : MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    if (size != 0 && units <= 0) {
        std::wstring latin1;
        for (size_t i = 0; i < size; ++i)
            latin1.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
        return latin1;
    }
    std::wstring text(static_cast<size_t>(units), L'\0');
    if (units > 0)
        MultiByteToWideChar(codePage, 0, bytes, length, text.data(), units);
    return text;
}

inline std::wstring interfaceText(const std::string& text) {
    return wideFrom(text.data(), text.size(), kInterfaceCodePage);
}

// A control's whole text.
inline std::wstring controlText(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}
