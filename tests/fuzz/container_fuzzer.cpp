// libFuzzer target: builds the container over arbitrary bytes, looks every
// tag up, edits both table models the way the panes do and writes back into
// the image. Any broken rule aborts, so the fuzzer reports it as a crash.
#include "font/otf.h"
#include "tests/support/guarded_image.h"
#include "tests/support/model_edits.h"
#include "tests/support/write_bounds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The tags the table browser knows, in its order.
const char* const kKnownTags[] = {
    "cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ", "fpgm", "glyf", "loca",
    "prep", "CFF ", "fvar", "MMSD", "MMFX", "BASE", "GDEF", "GPOS", "GSUB", "JSTF", "EBDT", "EBLC",
    "EBSC", "DSIG", "gasp", "hdmx", "kern", "LTSH", "PCLT", "VDMX", "vhea", "vmtx"};

void require(bool ok, const char* rule) {
    if (ok)
        return;
    std::fprintf(stderr, "container_fuzzer: broken rule: %s\n", rule);
    std::abort();
}

// The container is valid exactly when the image holds its offset table and
// the whole directory that the offset table announces.
bool directoryFits(const uint8_t* data, size_t size) {
    if (size < kOffsetTableSize)
        return false;
    uint16_t numTables = static_cast<uint16_t>((data[4] << 8) | data[5]);
    return size >= directorySize(numTables);
}

// Edits vary with the input, so the fuzzer reaches every row, the duplicate
// refusal and all flag values.
ModelEdits editsFor(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    ModelEdits edits;
    edits.gaspRow = hash & 0xFF;
    edits.gaspMaxPPEM = static_cast<uint16_t>(hash >> 8);
    edits.gaspFlags = static_cast<uint16_t>(hash >> 24);
    edits.weightClass = static_cast<uint16_t>(100 * (1 + (hash >> 26) % 9));
    edits.widthClass = static_cast<uint16_t>(1 + (hash >> 28) % 9);
    edits.panoseWeight = static_cast<uint8_t>(hash >> 20);
    return edits;
}

struct RecordShape {
    std::string tag;
    uint32_t offset, length;
    bool operator==(const RecordShape& o) const {
        return tag == o.tag && offset == o.offset && length == o.length;
    }
};

std::vector<RecordShape> shapes(const OTF& otf) {
    std::vector<RecordShape> result;
    for (const TableRecord& record : otf.tableRecords)
        result.push_back({record.tag, record.offset, record.length});
    return result;
}

void checkWriteOut(OTF& otf, GuardedImage& image, const uint8_t* input,
                   const std::vector<bool>& writable, const std::vector<RecordShape>& before) {
    require(otf.writeTable(image.data(), image.size()), "writeTable answers true");
    require(image.guardsIntact(), "nothing is written outside the image");
    require(!strayChange(input, image.data(), image.size(), writable).has_value(),
            "only the objects' fields, checksums and head's adjustment change");
    require(shapes(otf) == before, "no table moves or changes size");
    require(otf.tableRecords.size() == otf.numTables, "the directory keeps its size");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GuardedImage image(data, size);
    OTF otf(image.data(), image.size());
    require((otf.valid != 0) == directoryFits(data, size), "valid exactly when the directory fits");
    if (!otf.valid) {
        require(otf.tableRecords.empty() && otf.tableObjects.empty(), "a refused font is empty");
        otf.writeTable(image.data(), image.size());
        require(image.size() == 0 || std::memcmp(image.data(), data, size) == 0,
                "a refused font writes nothing");
        require(image.guardsIntact(), "nothing is written outside the image");
        return 0;
    }
    require(otf.tableRecords.size() == otf.numTables, "one record per table");

    std::set<std::string> tags;
    for (const TableRecord& record : otf.tableRecords) {
        tags.insert(record.tag);
        fontObject* object = nullptr;
        require(otf.findTable(record.tag, object), "every listed tag is found");
    }
    require(otf.tableObjects.size() == tags.size(), "one registry entry per distinct tag");
    for (const char* tag : kKnownTags) {
        fontObject* object = nullptr;
        require(otf.findTable(tag, object) == (tags.count(tag) != 0),
                "a known tag is found exactly when listed");
    }

    const std::vector<bool> writable = writableBytes(otf, image.size());
    const std::vector<RecordShape> before = shapes(otf);
    checkWriteOut(otf, image, data, writable, before);
    editThroughModels(otf, editsFor(data, size));
    checkWriteOut(otf, image, data, writable, before);
    return 0;
}
