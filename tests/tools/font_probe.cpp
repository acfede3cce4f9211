// font_probe: the table models seen from the command line, so that an
// independent font reader can check them against real fonts.
//
//   font_probe dump FONT
//       prints, as JSON, the gasp ranges and every OS/2 member the models parsed
//   font_probe edit FONT OUT [weight=N] [width=N] [panose=N] [gasp=PPEM:NEWPPEM:FLAGS]
//       loads FONT, makes the edits through the models, lets the container
//       write the image back and saves it as OUT
//
// Exit status: 0 done, 1 file or edit refused, 2 usage.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

bool readFile(const char* path, Bytes& image) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const char* path, const Bytes& image) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path, "wb"), std::fclose);
    if (!out)
        return false;
    if (std::fwrite(image.data(), 1, image.size(), out.get()) != image.size())
        return false;
    return std::fclose(out.release()) == 0;
}

template <class Table> Table* findModel(const OTF& otf, const char* tag) {
    fontObject* object = nullptr;
    if (!otf.findTable(tag, object))
        return nullptr;
    return dynamic_cast<Table*>(object);
}

void printBytes(const char* name, const uint8_t* bytes, size_t count) {
    std::printf("    \"%s\": [", name);
    for (size_t i = 0; i < count; ++i)
        std::printf("%s%u", i ? ", " : "", unsigned{bytes[i]});
    std::printf("]");
}

void printGasp(const gaspHeader* gasp) {
    if (gasp == nullptr) {
        std::printf("  \"gasp\": null,\n");
        return;
    }
    std::printf("  \"gasp\": {\n    \"valid\": %u,\n    \"version\": %u,\n    \"numRanges\": %u,\n"
                "    \"bytesRead\": %zu,\n    \"ranges\": [",
                unsigned{gasp->valid}, unsigned{gasp->version}, unsigned{gasp->numRanges},
                gasp->bytesRead());
    bool first = true;
    for (const auto& [rangeMaxPPEM, behaviour] : gasp->ranges) {
        std::printf("%s[%u, %u]", first ? "" : ", ", unsigned{rangeMaxPPEM}, unsigned{behaviour});
        first = false;
    }
    std::printf("]\n  },\n");
}

void printOS2(const OS2* os2) {
    if (os2 == nullptr) {
        std::printf("  \"OS/2\": null\n");
        return;
    }
    std::printf("  \"OS/2\": {\n    \"valid\": %u,\n", unsigned{os2->valid});
    const struct {
        const char* name;
        long long value;
    } numbers[] = {
        {"version", os2->version},
        {"xAvgCharWidth", os2->xAvgCharWidth},
        {"usWeightClass", os2->usWeightClass},
        {"usWidthClass", os2->usWidthClass},
        {"fsType", os2->fsType},
        {"ySubscriptXSize", os2->ySubscriptXSize},
        {"ySubscriptYSize", os2->ySubscriptYSize},
        {"ySubscriptXOffset", os2->ySubscriptXOffset},
        {"ySubscriptYOffset", os2->ySubscriptYOffset},
        {"ySuperscriptXSize", os2->ySuperscriptXSize},
        {"ySuperscriptYSize", os2->ySuperscriptYSize},
        {"ySuperscriptXOffset", os2->ySuperscriptXOffset},
        {"ySuperscriptYOffset", os2->ySuperscriptYOffset},
        {"yStrikeoutSize", os2->yStrikeoutSize},
        {"yStrikeoutPosition", os2->yStrikeoutPosition},
        {"sFamilyClass", os2->sFamilyClass},
        {"ulUnicodeRange1", static_cast<long long>(os2->ulUnicodeRange1)},
        {"ulUnicodeRange2", static_cast<long long>(os2->ulUnicodeRange2)},
        {"ulUnicodeRange3", static_cast<long long>(os2->ulUnicodeRange3)},
        {"ulUnicodeRange4", static_cast<long long>(os2->ulUnicodeRange4)},
        {"fsSelection", os2->fsSelection},
        {"usFirstCharIndex", os2->usFirstCharIndex},
        {"usLastCharIndex", os2->usLastCharIndex},
        {"sTypoAscender", os2->sTypoAscender},
        {"sTypoDescender", os2->sTypoDescender},
        {"sTypoLineGap", os2->sTypoLineGap},
        {"usWinAscent", os2->usWinAscent},
        {"usWinDescent", os2->usWinDescent},
        {"ulCodePageRange1", static_cast<long long>(os2->ulCodePageRange1)},
        {"ulCodePageRange2", static_cast<long long>(os2->ulCodePageRange2)},
        {"sxHeight", os2->sxHeight},
        {"sCapHeight", os2->sCapHeight},
        {"usDefaultChar", os2->usDefaultChar},
        {"usBreakChar", os2->usBreakChar},
        {"usMaxContext", os2->usMaxContext},
        {"usLowerOpticalPointSize", os2->usLowerOpticalPointSize},
        {"usUpperOpticalPointSize", os2->usUpperOpticalPointSize},
    };
    for (const auto& number : numbers)
        std::printf("    \"%s\": %lld,\n", number.name, number.value);
    printBytes("panose", os2->panose, sizeof os2->panose);
    std::printf(",\n");
    printBytes("achVendID", os2->achVendID, sizeof os2->achVendID);
    std::printf("\n  }\n");
}

int dump(const char* path) {
    Bytes image;
    if (!readFile(path, image)) {
        std::fprintf(stderr, "font_probe: cannot read %s\n", path);
        return 1;
    }
    OTF otf(image.data(), image.size());
    std::printf("{\n  \"valid\": %u,\n  \"numTables\": %u,\n", unsigned{otf.valid},
                unsigned{otf.numTables});
    printGasp(findModel<gaspHeader>(otf, "gasp"));
    printOS2(findModel<OS2>(otf, "OS/2"));
    std::printf("}\n");
    return 0;
}

std::optional<unsigned long> number(const std::string& text, unsigned long limit) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (*end != '\0' || value > limit)
        return std::nullopt;
    return value;
}

// Replaces one range the way the gasp pane does: a limit held by another
// range is refused.
bool editGasp(gaspHeader& gasp, const std::string& spec) {
    size_t first = spec.find(':');
    size_t second = spec.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    auto limit = number(spec.substr(0, first), 0xFFFF);
    auto newLimit = number(spec.substr(first + 1, second - first - 1), 0xFFFF);
    auto flags = number(spec.substr(second + 1), 0xFFFF);
    if (!limit || !newLimit || !flags || gasp.ranges.count(static_cast<uint16_t>(*limit)) == 0)
        return false;
    if (*newLimit != *limit && gasp.ranges.count(static_cast<uint16_t>(*newLimit)) != 0)
        return false;
    gasp.ranges.erase(static_cast<uint16_t>(*limit));
    gasp.ranges[static_cast<uint16_t>(*newLimit)] = static_cast<uint16_t>(*flags);
    return true;
}

bool applyEdit(const OTF& otf, const std::string& edit) {
    size_t equals = edit.find('=');
    if (equals == std::string::npos)
        return false;
    std::string key = edit.substr(0, equals);
    std::string value = edit.substr(equals + 1);
    if (key == "gasp") {
        gaspHeader* gasp = findModel<gaspHeader>(otf, "gasp");
        return gasp != nullptr && gasp->valid && editGasp(*gasp, value);
    }
    OS2* os2 = findModel<OS2>(otf, "OS/2");
    if (os2 == nullptr || !os2->valid)
        return false;
    if (key == "weight" || key == "width") {
        auto parsed = number(value, 0xFFFF);
        if (!parsed)
            return false;
        (key == "weight" ? os2->usWeightClass : os2->usWidthClass) = static_cast<uint16_t>(*parsed);
        return true;
    }
    if (key == "panose") {
        auto parsed = number(value, 0xFF);
        if (!parsed)
            return false;
        os2->panose[kPanoseWeightIndex] = static_cast<uint8_t>(*parsed);
        return true;
    }
    return false;
}

int edit(const char* path, const char* outPath, int editCount, char** edits) {
    Bytes image;
    if (!readFile(path, image)) {
        std::fprintf(stderr, "font_probe: cannot read %s\n", path);
        return 1;
    }
    OTF otf(image.data(), image.size());
    if (!otf.valid) {
        std::fprintf(stderr, "font_probe: %s has no directory\n", path);
        return 1;
    }
    for (int i = 0; i < editCount; ++i) {
        if (!applyEdit(otf, edits[i])) {
            std::fprintf(stderr, "font_probe: edit refused: %s\n", edits[i]);
            return 1;
        }
    }
    otf.writeTable(image.data(), image.size());
    if (!writeFile(outPath, image)) {
        std::fprintf(stderr, "font_probe: cannot write %s\n", outPath);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return dump(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "edit") == 0)
        return edit(argv[2], argv[3], argc - 4, argv + 4);
    std::fprintf(stderr, "usage: font_probe dump FONT\n"
                         "       font_probe edit FONT OUT [weight=N] [width=N] [panose=N] "
                         "[gasp=PPEM:NEWPPEM:FLAGS]\n");
    return 2;
}
