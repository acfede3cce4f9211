// font_probe FONT OUT WEIGHTPOS WIDTHPOS PANOSE GASPTYPED GASPFLAGS: makes the panes'
// edits (the first gasp range retyped in ppem) through the program's own
// functions and saves what the container writes back, for an independent
// reader to check. Exit status: 0 done, 1 refused, 2 usage.
#include "font/otf.h"
#include "tables/os2/os2.h"
#include "tests/support/write_bounds.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: font_probe FONT OUT WEIGHTPOS WIDTHPOS PANOSE GASPTYPED GASPFLAGS\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<uint8_t> image{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    OTF otf(image.data(), image.size());
    auto value = [argv](int i) { return static_cast<uint16_t>(std::strtoul(argv[i], nullptr, 0)); };
    const OS2* os2 = otf.tableOf<OS2>("OS/2");
    if (!otf.valid || os2 == nullptr || !os2->valid) {
        std::fprintf(stderr, "font_probe: %s has no OS/2 to edit\n", argv[1]);
        return 1;
    }
    PaneEdits edits;
    edits.weightPosition = value(3);
    edits.widthPosition = value(4);
    edits.panoseWeight = static_cast<uint8_t>(value(5));
    edits.gaspTyped = value(6);
    edits.hinting = (value(7) & 1) != 0;
    edits.smoothing = (value(7) & 2) != 0;
    editLikeThePanes(otf, edits);
    const std::vector<uint8_t> before = image;
    otf.writeTable(image.data(), image.size());
    if (auto at = strayChange(before.data(), image.data(), image.size(),
                              writableBytes(otf, image.size()))) {
        std::fprintf(stderr, "font_probe: byte %zu changed outside what may be written\n", *at);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    if (!out.write(reinterpret_cast<const char*>(image.data()), image.size()).flush()) {
        std::fprintf(stderr, "font_probe: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
