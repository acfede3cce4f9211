#include "tests/wine/wine_test_files.h"

#include "font/file_handle.h"

#include <windows.h>

#include <algorithm>

namespace {

std::vector<std::string> namesIn(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TestFolder::TestFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    do {
        path_ = std::string(temp) + "fontab-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
    } while (!CreateDirectoryA(path_.c_str(), nullptr));
}

TestFolder::~TestFolder() {
    for (const std::string& name : names()) {
        std::string file = path_ + "\\" + name;
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(path_.c_str());
}

std::vector<std::string> TestFolder::names() const {
    return namesIn(path_, "*");
}

std::vector<std::string> fileNamesIn(const std::string& folder) {
    return namesIn(folder, "*");
}

bool writeBytes(const std::string& path, const Bytes& bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

Bytes readBytes(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.isOpen())
        return {};
    Bytes bytes(GetFileSize(file.get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> corpusFonts() {
    const char* folders[] = {"Z:\\usr\\share\\fonts\\truetype\\dejavu",
                             "Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic",
                             "Z:\\usr\\share\\fonts\\truetype\\liberation2"};
    std::vector<std::string> fonts;
    for (const char* folder : folders)
        for (const char* pattern : {"*.ttf", "*.otf"})
            for (const std::string& name : namesIn(folder, pattern))
                fonts.push_back(std::string(folder) + "\\" + name);
    return fonts;
}
