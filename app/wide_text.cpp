#include "app/wide_text.h"

#include <algorithm>

std::wstring wide(std::string_view text) {
    return wideFrom(text.data(), text.size(), CP_UTF8);
}

std::string utf8(std::wstring_view text) {
    const int length = static_cast<int>(text.size());
    const int bytes = length == 0 ? 0
                                  : WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0,
                                                        nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(bytes, 0)), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), bytes, nullptr,
                            nullptr);
    return narrow;
}

std::wstring wideFrom(const char* bytes, size_t size, UINT codePage) {
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

std::wstring controlText(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void setText(HWND window, std::string_view text) {
    SetWindowTextW(window, wide(text).c_str());
}

int showMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) {
    return MessageBoxW(owner, wide(text).c_str(), wide(caption).c_str(), type);
}
