// Native benchmarks of the container, printed as tab-separated rows for
// scripts/bench:
//   container_bench construction           construction time against the
//                                          number of tables and the file size
//   container_bench memory FILE...         peak memory of a load
//   container_bench relayout-memory FILE... peak memory of a removal and re-laid write-out
//   container_bench rename-memory FILE...   the same of a rename of font 0
//   container_bench preview-memory FILE...  the same of the line-spacing preview's copy
//   container_bench write-font PATH TABLES MIB   writes a synthetic font
//   container_bench write-sample PATH      writes the fixture builder's sample
// (container_bench rss FILE is the fresh process that memory starts.)
#include "bench/font_rename.h"
#include "bench/heap_counter.h"
#include "bench/synthetic_font.h"
#include "font/otf.h"
#include "font/write_out.h"
#include "tables/hhea/preview_copy.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t kMiB = 1024 * 1024;

// Median of repeated constructions, in microseconds: at least 7 of them and
// at least 0.2 s in all, so that short ones are not lost in clock noise.
double constructionMicroseconds(const Bytes& image) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    const Clock::time_point start = Clock::now();
    while (samples.size() < 7 || Clock::now() - start < std::chrono::milliseconds(200)) {
        Clock::time_point before = Clock::now();
        OTF otf(image.data(), image.size());
        Clock::time_point after = Clock::now();
        if (!otf.valid)
            std::abort();
        samples.push_back(std::chrono::duration<double, std::micro>(after - before).count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

int construction() {
    for (size_t tables = 8; tables <= 4096; tables *= 2) {
        Bytes image = syntheticFont(tables, kMiB);
        std::printf("construct-tables\t%zu\t%zu\t%.2f\n", tables, image.size(),
                    constructionMicroseconds(image));
    }
    constexpr size_t kTables = 16;
    for (size_t mib = 1; mib <= 64; mib *= 2) {
        Bytes image = syntheticFont(kTables, mib * kMiB);
        std::printf("construct-size\t%zu\t%zu\t%.2f\n", kTables, image.size(),
                    constructionMicroseconds(image));
    }
    return 0;
}

// What a load holds: the whole file in one block and the container over it,
// read the way the program reads it (one read call into one block).
struct LoadedFont {
    std::unique_ptr<uint8_t[]> image;
    std::unique_ptr<OTF> otf;
    size_t size = 0;
};

bool loadFont(const char* path, LoadedFont& font) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        font.size = static_cast<size_t>(size);
        font.image.reset(new uint8_t[font.size]);
        ok = std::fread(font.image.get(), 1, font.size, file) == font.size;
    }
    std::fclose(file);
    if (ok)
        font.otf = std::make_unique<OTF>(font.image.get(), font.size);
    return ok && font.otf->valid;
}

long maxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int residentGrowth(const char* path) {
    long before = maxResidentKiB();
    LoadedFont font;
    if (!loadFont(path, font))
        return 1;
    std::printf("%ld\n", maxResidentKiB() - before);
    return 0;
}

std::string selfPath() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

// The growth of the resident set, measured in a fresh process so that
// nothing this one did before counts.
long residentGrowthKiB(const char* path) {
    std::string command = "'" + selfPath() + "' rss '" + path + "'";
    std::FILE* child = popen(command.c_str(), "r");
    long growth = -1;
    if (child == nullptr)
        return growth;
    if (std::fscanf(child, "%ld", &growth) != 1)
        growth = -1;
    return pclose(child) == 0 ? growth : -1;
}

int memory(int count, char** paths) {
    for (int i = 0; i < count; ++i) {
        resetHeapPeak();
        const size_t base = heapBytesInUse();
        size_t size = 0;
        {
            LoadedFont font;
            if (!loadFont(paths[i], font)) {
                std::fprintf(stderr, "container_bench: cannot load %s\n", paths[i]);
                return 1;
            }
            size = font.size;
        }
        std::printf("memory\t%s\t%zu\t%zu\t%ld\n", paths[i], size, heapPeakBytes() - base,
                    residentGrowthKiB(paths[i]));
    }
    return 0;
}

// A write-out's bytes counted, not kept: what a streamed write-out holds
// is the load and the write-out's own state.
class CountingSink : public ByteSink {
  public:
    bool write(const uint8_t*, size_t count) override {
        written += count;
        return true;
    }
    size_t written = 0;
};

// The first table of font 0 that a font can do without; empty when none is.
std::string firstRemovableTag(const OTF& otf) {
    for (const TableRecord& record : otf.fonts.at(0).tableRecords)
        if (OTF::isRemovable(record.tag))
            return record.tag;
    return "";
}

bool removeFirstRemovable(OTF& otf) {
    return otf.removeTable(firstRemovableTag(otf).c_str(), 0);
}

// The peak heap of a load, an edit that re-lays the file (a removal of font
// 0's first removable table, or a rename of font 0) and the re-laid
// write-out, against the file's size: one row per file.
int relayoutMemory(const char* row, bool (*edit)(OTF&), int count, char** paths) {
    for (int i = 0; i < count; ++i) {
        resetHeapPeak();
        const size_t base = heapBytesInUse();
        size_t size = 0, written = 0;
        {
            LoadedFont font;
            if (!loadFont(paths[i], font) || !edit(*font.otf)) {
                std::fprintf(stderr, "container_bench: cannot load or edit %s for %s\n", paths[i],
                             row);
                return 1;
            }
            size = font.size;
            CountingSink sink;
            writeOut(*font.otf, font.image.get(), font.size, sink);
            written = sink.written;
        }
        std::printf("%s\t%s\t%zu\t%zu\t%zu\n", row, paths[i], size, written,
                    heapPeakBytes() - base);
    }
    return 0;
}

// The peak heap of a load and the line-spacing preview's copy of font 0,
// held in memory as the preview holds it until Windows has its own.
int previewMemory(int count, char** paths) {
    for (int i = 0; i < count; ++i) {
        resetHeapPeak();
        const size_t base = heapBytesInUse();
        size_t size = 0, copied = 0;
        {
            LoadedFont font;
            ByteVectorSink copy;
            if (!loadFont(paths[i], font) ||
                !writePreviewCopy(*font.otf, font.image.get(), font.size, 0, u"fontab preview 1",
                                  copy)) {
                std::fprintf(stderr, "container_bench: cannot copy %s for the preview\n", paths[i]);
                return 1;
            }
            size = font.size;
            copied = copy.bytes.size();
        }
        std::printf("preview-memory\t%s\t%zu\t%zu\t%zu\n", paths[i], size, copied,
                    heapPeakBytes() - base);
    }
    return 0;
}

bool writeFile(const char* path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

int usage() {
    std::fprintf(stderr, "usage: container_bench construction | memory FILE... |\n"
                         "       relayout-memory FILE... | rename-memory FILE... |\n"
                         "       preview-memory FILE... |\n"
                         "       write-font PATH TABLES MIB | write-sample PATH\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string mode = argv[1];
    if (mode == "construction" && argc == 2)
        return construction();
    if (mode == "memory" && argc >= 3)
        return memory(argc - 2, argv + 2);
    if (mode == "relayout-memory" && argc >= 3)
        return relayoutMemory("relayout-memory", removeFirstRemovable, argc - 2, argv + 2);
    if (mode == "rename-memory" && argc >= 3)
        return relayoutMemory("rename-memory", renameFirstFont, argc - 2, argv + 2);
    if (mode == "preview-memory" && argc >= 3)
        return previewMemory(argc - 2, argv + 2);
    if (mode == "rss" && argc == 3)
        return residentGrowth(argv[2]);
    if (mode == "write-font" && argc == 5) {
        size_t tables = std::strtoul(argv[3], nullptr, 10);
        size_t mib = std::strtoul(argv[4], nullptr, 10);
        return writeFile(argv[2], syntheticFont(tables, mib * kMiB)) ? 0 : 1;
    }
    if (mode == "write-sample" && argc == 3)
        return writeFile(argv[2], sampleFont()) ? 0 : 1;
    return usage();
}
