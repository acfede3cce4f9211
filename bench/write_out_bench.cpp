// Open + edit + write-out of whole fonts through loadFontFile and
// writeFontFile, against CopyFileA of the same file and against the floor
// any such edit pays, run under Wine:
//   write_out_bench REPEATS OUTPUT_FOLDER FONT...
// Two tab-separated rows per font, medians in seconds:
//   writeout  FONT  SIZE  FONTAB  LOAD  WRITE_OUT  COPY  COPY_AND_FLUSH
//   floor     FONT  SIZE  FONTS  FONTAB  FLOOR  READ  WRITE
//   relayout  FONT  SIZE  FONTS  REMOVAL  FLOOR
//   rename    FONT  SIZE  FONTS  RENAME  FLOOR     (fonts with a Windows family name)
// FONTAB is the whole edit, LOAD and WRITE_OUT its two file operations.
// COPY_AND_FLUSH copies and then flushes the copy to disk, which is what a
// write-out does before it replaces its target. FLOOR reads the whole file
// into a fresh block of its size (READ) and writes the block to a new file,
// flushed (WRITE): a load and a write-out can do no less. REMOVAL is open,
// remove a table, write out re-laid; RENAME is open, rename font 0 (see
// font_rename.h), write out re-laid.
#include "bench/font_rename.h"
#include "font/font_file.h"
#include "font/file_handle.h"
#include "font/table_tags.h"
#include "tables/os2/os2_edit.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The bench's own paths come from its ANSI command line; the program's file
// operations take them as Windows spells them.
std::wstring widePath(const char* path) {
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(units, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), units);
    return wide.c_str();
}

double seconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

struct EditTimes {
    double whole = 0;
    double load = 0;
    double writeOut = 0;
    size_t fonts = 0;
};

// The whole edit as a user makes it: open, weight class 700 on the first
// font's OS/2 (the trackbar at 7), write out.
bool openEditWriteOut(const char* font, const char* target, int32_t& length, EditTimes& times) {
    const double start = seconds();
    FileImage image;
    std::unique_ptr<OTF> otf;
    length = loadFontFile(widePath(font).c_str(), image, otf);
    if (length == 0)
        return false;
    const double loaded = seconds();
    if (OS2* os2 = otf->tableOf<OS2>(kOS2Tag, 0))
        storeWeightPosition(*os2, 7);
    times.fonts = otf->fonts.size();
    const double edited = seconds();
    bool written = writeFontFile(widePath(target).c_str(), length, image.get(), otf.get());
    const double writtenOut = seconds();
    freeFontFile(image, otf);
    times.whole = seconds() - start;
    times.load = loaded - start;
    times.writeOut = writtenOut - edited;
    return written;
}

// A removal as a user makes it: open, remove font 0's first table that a
// font can do without, write out (re-laid).
bool openRemoveWriteOut(const char* font, const char* target, double& whole) {
    const double start = seconds();
    FileImage image;
    std::unique_ptr<OTF> otf;
    const int32_t length = loadFontFile(widePath(font).c_str(), image, otf);
    if (length == 0)
        return false;
    bool removed = false;
    for (const TableRecord& record : otf->fonts.at(0).tableRecords)
        if (!removed && OTF::isRemovable(record.tag))
            removed = otf->removeTable(record.tag, 0);
    bool written =
        removed && writeFontFile(widePath(target).c_str(), length, image.get(), otf.get());
    freeFontFile(image, otf);
    whole = seconds() - start;
    return written;
}

// A rename as a user starts one: open, font 0's family renamed, write out.
// False, with no time, for a font with no Windows family name.
bool openRenameWriteOut(const char* font, const char* target, double& whole) {
    const double start = seconds();
    FileImage image;
    std::unique_ptr<OTF> otf;
    const int32_t length = loadFontFile(widePath(font).c_str(), image, otf);
    bool written = length != 0 && renameFirstFont(*otf) &&
                   writeFontFile(widePath(target).c_str(), length, image.get(), otf.get());
    freeFontFile(image, otf);
    whole = seconds() - start;
    return written;
}

bool copyAndFlush(const char* font, const char* target) {
    if (!CopyFileA(font, target, FALSE))
        return false;
    FileHandle copy(CreateFileA(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return copy.isOpen() && FlushFileBuffers(copy.get());
}

struct FloorTimes {
    double read = 0;
    double write = 0;
};

// The least a load and a write-out do: the whole file read into a fresh
// block of its size, the block written to a new file and flushed, freed.
bool readAndWriteFlushed(const char* font, const char* target, FloorTimes& times) {
    const double start = seconds();
    FileHandle source(CreateFileA(font, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!source.isOpen() || !GetFileSizeEx(source.get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > INT32_MAX)
        return false;
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    std::unique_ptr<uint8_t[]> block(new uint8_t[length]);
    DWORD done = 0;
    if (!ReadFile(source.get(), block.get(), length, &done, nullptr) || done != length ||
        !source.close())
        return false;
    const double read = seconds();
    FileHandle copy(CreateFileA(target, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!copy.isOpen() || !WriteFile(copy.get(), block.get(), length, &done, nullptr) ||
        done != length || !FlushFileBuffers(copy.get()) || !copy.close())
        return false;
    block.reset();
    const double end = seconds();
    times.read = read - start;
    times.write = end - read;
    return true;
}

bool measure(const char* font, const std::string& folder, int repeats) {
    const std::string target = folder + "\\bench-out.ttf";
    std::vector<double> fontab, load, writeOut, copy, copyFlushed, least, leastRead, leastWrite,
        relayout, renames;
    int32_t length = 0;
    size_t fonts = 0;
    // Interleaved, so that each sees the same state of the file cache.
    for (int i = 0; i < repeats; ++i) {
        DeleteFileA(target.c_str());
        EditTimes times;
        if (!openEditWriteOut(font, target.c_str(), length, times))
            return false;
        fontab.push_back(times.whole);
        load.push_back(times.load);
        writeOut.push_back(times.writeOut);
        fonts = times.fonts;

        DeleteFileA(target.c_str());
        double start = seconds();
        if (!CopyFileA(font, target.c_str(), FALSE))
            return false;
        copy.push_back(seconds() - start);

        DeleteFileA(target.c_str());
        start = seconds();
        if (!copyAndFlush(font, target.c_str()))
            return false;
        copyFlushed.push_back(seconds() - start);

        DeleteFileA(target.c_str());
        FloorTimes floor;
        if (!readAndWriteFlushed(font, target.c_str(), floor))
            return false;
        least.push_back(floor.read + floor.write);
        leastRead.push_back(floor.read);
        leastWrite.push_back(floor.write);

        DeleteFileA(target.c_str());
        double removal = 0;
        if (!openRemoveWriteOut(font, target.c_str(), removal))
            return false;
        relayout.push_back(removal);

        DeleteFileA(target.c_str());
        double rename = 0;
        if (openRenameWriteOut(font, target.c_str(), rename))
            renames.push_back(rename);
    }
    DeleteFileA(target.c_str());
    std::printf("writeout\t%s\t%ld\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n", font,
                static_cast<long>(length), median(fontab), median(load), median(writeOut),
                median(copy), median(copyFlushed));
    std::printf("floor\t%s\t%ld\t%lu\t%.6f\t%.6f\t%.6f\t%.6f\n", font, static_cast<long>(length),
                static_cast<unsigned long>(fonts), median(fontab), median(least), median(leastRead),
                median(leastWrite));
    std::printf("relayout\t%s\t%ld\t%lu\t%.6f\t%.6f\n", font, static_cast<long>(length),
                static_cast<unsigned long>(fonts), median(relayout), median(least));
    if (!renames.empty())
        std::printf("rename\t%s\t%ld\t%lu\t%.6f\t%.6f\n", font, static_cast<long>(length),
                    static_cast<unsigned long>(fonts), median(renames), median(least));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: write_out_bench REPEATS OUTPUT_FOLDER FONT...\n");
        return 2;
    }
    const int repeats = std::max(1, std::atoi(argv[1]));
    for (int i = 3; i < argc; ++i) {
        if (!measure(argv[i], argv[2], repeats)) {
            std::fprintf(stderr, "write_out_bench: %s failed (error %lu)\n", argv[i],
                         GetLastError());
            return 1;
        }
    }
    return 0;
}
