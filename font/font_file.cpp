#include "font/font_file.h"

#include "font/file_handle.h"
#include "font/path_parts.h"
#include "font/write_out.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

// The folder part of a path, "." for a bare file name.
std::wstring folderOf(const wchar_t* path) {
    const wchar_t* folderEnd = fileNamePart(path);
    return folderEnd == path ? std::wstring(L".") : std::wstring(path, folderEnd);
}

// Asked explicitly: an administrator's process may open a read-only file for
// writing, yet a read-only font must not be opened or replaced.
bool isReadOnly(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A target that exists but cannot be written (read-only, or held open by
// another handle) must not be replaced behind its holder's back.
bool targetIsWritable(const wchar_t* path) {
    if (isReadOnly(path))
        return false;
    FileHandle target(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_ARCHIVE, nullptr));
    return target.isOpen() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// A write-out streamed to a new file: small pieces gathered, large ones
// (the tables as read) written straight from the image.
class FileSink : public ByteSink {
  public:
    explicit FileSink(const wchar_t* path)
        : file_(CreateFileW(path, kReadWrite, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                            nullptr)) {
        buffer_.reserve(kBufferSize);
    }
    bool write(const uint8_t* bytes, size_t count) override {
        if (!file_.isOpen())
            return false;
        if (buffer_.size() + count > kBufferSize && !flush())
            return false;
        if (count >= kBufferSize)
            return writeFully(bytes, count);
        buffer_.insert(buffer_.end(), bytes, bytes + count);
        return true;
    }
    // Everything on the disk and the file closed.
    bool finish() {
        return file_.isOpen() && flush() && FlushFileBuffers(file_.get()) && file_.close();
    }

  private:
    static constexpr size_t kBufferSize = 64 * 1024;
    bool flush() {
        bool written = writeFully(buffer_.data(), buffer_.size());
        buffer_.clear();
        return written;
    }
    bool writeFully(const uint8_t* bytes, size_t count) {
        while (count > 0) {
            const DWORD piece = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes, piece, &written, nullptr) || written != piece)
                return false;
            bytes += piece;
            count -= piece;
        }
        return true;
    }
    FileHandle file_;
    std::vector<uint8_t> buffer_;
};

bool writeWholeFile(const wchar_t* path, const OTF& otf, const uint8_t* image, size_t length) {
    FileSink sink(path);
    return writeOut(otf, image, length, sink) && sink.finish();
}

} // namespace

int32_t loadFontFile(const wchar_t* path, FileImage& image, std::unique_ptr<OTF>& otf) {
    if (isReadOnly(path))
        return 0;
    FileHandle file(
        CreateFileW(path, kReadWrite, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file.isOpen())
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > INT32_MAX)
        return 0;
    DWORD length = static_cast<DWORD>(size.QuadPart);

    FileImage newImage(new uint8_t[length]);
    DWORD read = 0;
    if (!ReadFile(file.get(), newImage.get(), length, &read, nullptr) || read != length)
        return 0;
    auto newOtf = std::make_unique<OTF>(newImage.get(), length);
    if (!newOtf->valid)
        return 0;

    image = std::move(newImage);
    otf = std::move(newOtf);
    return static_cast<int32_t>(length);
}

bool writeFontFile(const wchar_t* path, int32_t length, const uint8_t* image, OTF* otf) {
    if (otf == nullptr || image == nullptr || length <= 0)
        return false;

    if (!targetIsWritable(path))
        return false;
    wchar_t temporary[MAX_PATH];
    if (GetTempFileNameW(folderOf(path).c_str(), L"fab", 0, temporary) == 0)
        return false;
    if (!writeWholeFile(temporary, *otf, image, static_cast<size_t>(length)) ||
        !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary);
        return false;
    }
    otf->markWritten();
    return true;
}

int freeFontFile(FileImage& image, std::unique_ptr<OTF>& otf) {
    image.reset();
    otf.reset();
    return 1;
}
