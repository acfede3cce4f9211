// Writes the fuzzer's seed corpus: small well-formed fonts that reach every
// branch of the container and both models, and every malformed file of the
// shared list. Run: make_seed_corpus tests/fuzz/corpus
#include "tests/support/malformed_fonts.h"
#include "tests/support/sfnt_builder.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kKnownTags[] = {"cmap", "head", "hhea", "hmtx", "maxp", "name", "post", "cvt ",
                                  "fpgm", "glyf", "loca", "prep", "CFF ", "fvar", "MMSD", "MMFX",
                                  "BASE", "GDEF", "GPOS", "GSUB", "JSTF", "EBDT", "EBLC", "EBSC",
                                  "DSIG", "hdmx", "kern", "LTSH", "PCLT", "VDMX", "vhea", "vmtx"};

std::vector<std::pair<std::string, Bytes>> wellFormedFonts() {
    std::vector<std::pair<std::string, Bytes>> fonts = {{"valid-sample", sampleFont()}};
    for (uint16_t version = 0; version <= 5; ++version)
        fonts.emplace_back("valid-os2-v" + std::to_string(version),
                           SfntBuilder()
                               .table("head", headTable())
                               .table("OS/2", os2Table(version))
                               .table("gasp", gaspTable(0, {{0xFFFF, 3}}))
                               .build());
    fonts.emplace_back("valid-gasp-unsorted-and-duplicate",
                       SfntBuilder()
                           .table("gasp", gaspTable(1, {{20, 3}, {8, 1}, {20, 2}, {0xFFFF, 15}}))
                           .build());
    fonts.emplace_back("valid-gasp-no-ranges",
                       SfntBuilder().table("gasp", gaspTable(0, {})).build());
    fonts.emplace_back("valid-otto", SfntBuilder()
                                         .sfntVersion(0x4F54544F)
                                         .table("CFF ", filler(40))
                                         .table("OS/2", os2Table(3))
                                         .build());
    fonts.emplace_back("valid-no-tables", SfntBuilder().build());
    SfntBuilder everyTag;
    for (const char* tag : kKnownTags)
        everyTag.table(tag, filler(4));
    everyTag.table("OS/2", os2Table(4)).table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 3}}));
    fonts.emplace_back("valid-every-known-tag", everyTag.build());
    return fonts;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seed_corpus FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<std::pair<std::string, Bytes>> seeds = wellFormedFonts();
    for (MalformedFont& font : malformedFonts())
        seeds.emplace_back("malformed-" + font.name, std::move(font.bytes));
    for (const auto& [name, bytes] : seeds) {
        if (!writeFile(folder + "/" + name, bytes)) {
            std::fprintf(stderr, "make_seed_corpus: cannot write %s/%s\n", folder.c_str(),
                         name.c_str());
            return 1;
        }
    }
    std::printf("%zu seeds written to %s\n", seeds.size(), folder.c_str());
    return 0;
}
