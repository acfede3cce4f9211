// font_probe: the table models from the command line, for checking them
// against an independent reader. "dump FONT" prints "name value..." lines of
// what the models read; "edit FONT OUT ..." edits through the models and saves
// the image the container wrote back, refused when a byte it may not write changed. Exit status: 0
// done, 1 refused, 2 usage.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/write_bounds.h"
#include "tests/unit/os2_fields.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

using U16 = uint16_t;
using S16 = int16_t;
using U32 = uint32_t;

void printBytes(const char* name, const uint8_t* bytes, size_t count) {
    std::printf("%s", name);
    for (size_t i = 0; i < count; ++i)
        std::printf(" %u", unsigned{bytes[i]});
    std::printf("\n");
}

void dump(const OTF& otf) {
    if (const gaspHeader* gasp = otf.tableOf<gaspHeader>("gasp")) {
        std::printf("gasp.valid %u\ngasp.version %u\ngasp.numRanges %u\ngasp.ranges",
                    unsigned{gasp->valid}, unsigned{gasp->version}, unsigned{gasp->numRanges});
        for (const auto& [rangeMaxPPEM, behaviour] : gasp->ranges)
            std::printf(" %u %u", unsigned{rangeMaxPPEM}, unsigned{behaviour});
        std::printf("\n");
    }
    if (const OS2* os2 = otf.tableOf<OS2>("OS/2")) {
        std::printf("OS/2.valid %u\n", unsigned{os2->valid});
#define PRINT_FIELD(member, offset, type, firstVersion)                                            \
    std::printf("OS/2." #member " %lld\n", static_cast<long long>(static_cast<type>(os2->member)));
        FONTAB_OS2_FIELDS(PRINT_FIELD)
#undef PRINT_FIELD
        printBytes("OS/2.panose", os2->panose, sizeof os2->panose);
        printBytes("OS/2.achVendID", os2->achVendID, sizeof os2->achVendID);
    }
}

// The edits of the two panes: weight, width, PANOSE weight, and optionally
// the range at PPEM replaced by NEWPPEM with FLAGS.
bool edit(const OTF& otf, int count, char** values) {
    unsigned long v[6] = {};
    for (int i = 0; i < count; ++i)
        v[i] = std::strtoul(values[i], nullptr, 0);
    OS2* os2 = otf.tableOf<OS2>("OS/2");
    gaspHeader* gasp = otf.tableOf<gaspHeader>("gasp");
    if (os2 == nullptr || !os2->valid ||
        (count == 6 && (gasp == nullptr || !gasp->ranges.erase(static_cast<uint16_t>(v[3])))))
        return false;
    os2->usWeightClass = static_cast<uint16_t>(v[0]);
    os2->usWidthClass = static_cast<uint16_t>(v[1]);
    os2->panose[kPanoseWeightIndex] = static_cast<uint8_t>(v[2]);
    if (count == 6)
        gasp->ranges[static_cast<uint16_t>(v[4])] = static_cast<uint16_t>(v[5]);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool dumping = argc == 3 && std::strcmp(argv[1], "dump") == 0;
    if (!dumping && !((argc == 7 || argc == 10) && std::strcmp(argv[1], "edit") == 0)) {
        std::fprintf(stderr, "usage: font_probe dump FONT | edit FONT OUT WEIGHT WIDTH "
                             "PANOSE [PPEM NEWPPEM FLAGS]\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    std::vector<uint8_t> image{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    OTF otf(image.data(), image.size());
    if (!otf.valid) {
        std::fprintf(stderr, "font_probe: %s cannot be read as a font\n", argv[2]);
        return 1;
    }
    if (dumping) {
        dump(otf);
        return 0;
    }
    if (!edit(otf, argc - 4, argv + 4)) {
        std::fprintf(stderr, "font_probe: edit refused\n");
        return 1;
    }
    const std::vector<uint8_t> before = image;
    otf.writeTable(image.data(), image.size());
    if (auto at = strayChange(before.data(), image.data(), image.size(),
                              writableBytes(otf, image.size()))) {
        std::fprintf(stderr, "font_probe: byte %zu changed outside what may be written\n", *at);
        return 1;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(argv[3], "wb"), std::fclose);
    if (!out || std::fwrite(image.data(), 1, image.size(), out.get()) != image.size() ||
        std::fclose(out.release()) != 0) {
        std::fprintf(stderr, "font_probe: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
