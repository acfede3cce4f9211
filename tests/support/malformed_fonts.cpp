#include "tests/support/malformed_fonts.h"

#include <random>

namespace {

using Outcome = MalformedOutcome;

constexpr size_t kCaseTable = 2; // directory index of the table each case breaks

// head and cmap, then the table under test at directory index 2, whose last
// byte is the last byte of the file: a read past it leaves the image.
Bytes fontWith(const std::string& tag, const Bytes& table,
               std::optional<uint32_t> length = std::nullopt) {
    Bytes font = SfntBuilder()
                     .table("head", headTable())
                     .table("cmap", filler(24, 0x20))
                     .table(tag, table, std::nullopt, length)
                     .build();
    font.resize(recordOffset(font, kCaseTable) + table.size());
    return font;
}

Bytes prefix(const Bytes& bytes, size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + size);
}

Bytes randomBytes(size_t size, uint32_t seed) {
    std::mt19937 generator(seed); // its sequence is fixed by the standard
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(generator() >> 24);
    return bytes;
}

// A collection file: its header, then one font whose offsets count from the
// start of the collection.
Bytes collection() {
    const Bytes font = sampleFont();
    constexpr size_t kHeaderSize = 16;
    Bytes bytes(kHeaderSize);
    putU32(bytes, 0, 0x74746366); // "ttcf"
    putU32(bytes, 4, 0x00010000);
    putU32(bytes, 8, 1);
    putU32(bytes, 12, kHeaderSize);
    bytes.insert(bytes.end(), font.begin(), font.end());
    for (size_t i = 0; i < getU16(font, 4); ++i)
        putU32(bytes, kHeaderSize + recordAt(i) + 8, recordOffset(font, i) + kHeaderSize);
    return bytes;
}

// A WOFF file holding the sample's tables stored uncompressed.
Bytes compressedFont() {
    const Bytes font = sampleFont();
    const uint16_t numTables = getU16(font, 4);
    constexpr size_t kHeaderSize = 44, kEntrySize = 20;
    const size_t dataStart = kHeaderSize + kEntrySize * numTables;
    const uint32_t tablesAt = recordOffset(font, 0);
    Bytes bytes(dataStart);
    bytes.insert(bytes.end(), font.begin() + tablesAt, font.end());
    putU32(bytes, 0, 0x774F4646); // "wOFF"
    putU32(bytes, 4, 0x00010000);
    putU32(bytes, 8, static_cast<uint32_t>(bytes.size()));
    putU16(bytes, 12, numTables);
    putU32(bytes, 16, static_cast<uint32_t>(font.size()));
    putU16(bytes, 20, 1);
    for (size_t i = 0; i < numTables; ++i) {
        const size_t entry = kHeaderSize + kEntrySize * i, record = recordAt(i);
        putU32(bytes, entry, getU32(font, record));
        putU32(bytes, entry + 4, recordOffset(font, i) - tablesAt + dataStart);
        putU32(bytes, entry + 8, getU32(font, record + 12));
        putU32(bytes, entry + 12, getU32(font, record + 12));
        putU32(bytes, entry + 16, getU32(font, record + 4));
    }
    return bytes;
}

void addShortOS2Cases(std::vector<MalformedFont>& cases) {
    for (uint16_t version = 0; version <= 5; ++version) {
        Bytes table = os2Table(version);
        table.pop_back();
        cases.push_back({"os2-v" + std::to_string(version) + "-one-byte-short",
                         fontWith("OS/2", table), Outcome::PassesThrough});
    }
}

} // namespace

std::vector<MalformedFont> malformedFonts() {
    const Bytes sample = sampleFont();
    const Bytes gasp = gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}});
    std::vector<MalformedFont> cases = {
        {"empty", {}, Outcome::Refused},
        {"eleven-bytes", prefix(sample, 11), Outcome::Refused},
        {"offset-table-without-directory", prefix(sample, 12), Outcome::Refused},
        {"directory-cut-mid-record", prefix(sample, recordAt(3) + 7), Outcome::Refused},
    };
    Bytes font = sample;
    putU16(font, 4, 65535);
    cases.push_back({"num-tables-65535-short-file", font, Outcome::Refused});

    font = fontWith("gasp", gasp);
    setRecordOffset(font, kCaseTable, 0x7FFFFFF0);
    cases.push_back({"record-offset-past-end", font, Outcome::PassesThrough});

    font = fontWith("gasp", gasp);
    setRecordOffset(font, kCaseTable, static_cast<uint32_t>(font.size()));
    cases.push_back({"record-offset-at-end", font, Outcome::PassesThrough});

    font = fontWith("OS/2", os2Table(4), 0xFFFFFFF0);
    cases.push_back({"offset-plus-length-wraps", font, Outcome::PassesThrough});

    cases.push_back({"length-past-end", fontWith("gasp", gasp, 0x10000), Outcome::EditsInside});

    // gasp lies inside the OS/2 table: both objects write the shared bytes.
    font = SfntBuilder().table("OS/2", os2Table(4)).table("gasp", gasp).build();
    setRecordOffset(font, 1, recordOffset(font, 0) + 40);
    cases.push_back({"overlapping-tables", font, Outcome::EditsInside});

    // An OS/2 record at offset 0 reads the offset table and directory as a
    // version 1 table; its edits land on the directory's bytes in the image.
    font = SfntBuilder().table("OS/2", os2Table(2)).table("post", filler(32)).build();
    setRecordOffset(font, 0, 0);
    cases.push_back({"os2-over-the-directory", font, Outcome::EditsInside});

    font = fontWith("gasp", gaspTable(0, {{9, 1}, {0xFFFF, 3}}));
    putU16(font, recordOffset(font, kCaseTable) + 2, 65535);
    cases.push_back({"gasp-num-ranges-65535", font, Outcome::EditsInside});

    cases.push_back(
        {"gasp-cut-mid-record", fontWith("gasp", gasp, 4 + 4 * 2 + 2), Outcome::EditsInside});
    cases.push_back({"gasp-header-cut", fontWith("gasp", gasp, 3), Outcome::PassesThrough});

    addShortOS2Cases(cases);
    cases.push_back({"os2-record-one-byte-short-of-its-table", fontWith("OS/2", os2Table(4), 95),
                     Outcome::PassesThrough});
    cases.push_back(
        {"os2-version-ffff", fontWith("OS/2", os2Table(0xFFFF)), Outcome::PassesThrough});

    // The later object wins and cannot fit the earlier, shorter table.
    font = SfntBuilder().table("OS/2", os2Table(0)).table("OS/2", os2Table(4)).build();
    cases.push_back({"duplicate-os2-records", font, Outcome::EditsInside});
    font = SfntBuilder().table("OS/2", os2Table(4)).table("OS/2", os2Table(6)).build();
    cases.push_back({"duplicate-os2-records-later-refused", font, Outcome::PassesThrough});
    font = SfntBuilder()
               .table("gasp", gaspTable(0, {{0xFFFF, 1}}))
               .table("gasp", gaspTable(0, {{8, 1}, {0xFFFF, 3}}))
               .build();
    cases.push_back({"duplicate-gasp-records-of-different-sizes", font, Outcome::EditsInside});

    font = SfntBuilder().table("head", filler(8)).table("OS/2", os2Table(3)).build();
    cases.push_back({"head-too-short-for-its-adjustment", font, Outcome::EditsInside});

    cases.push_back({"collection-header", collection(), Outcome::PassesThrough});
    cases.push_back({"compressed-font-header", compressedFont(), Outcome::PassesThrough});
    cases.push_back({"random-bytes", randomBytes(4096, 7), Outcome::Refused});

    Bytes directory = randomBytes(1024, 11);
    putU16(directory, 4, 16);
    cases.push_back({"random-directory", directory, Outcome::PassesThrough});

    // Random OS/2 bytes behind a known version: parsed, edited, written back.
    Bytes os2 = randomBytes(96, 13);
    putU16(os2, 0, 3);
    cases.push_back({"random-os2-fields", fontWith("OS/2", os2), Outcome::EditsInside});
    return cases;
}

const char* outcomeName(MalformedOutcome outcome) {
    switch (outcome) {
    case MalformedOutcome::Refused:
        return "refused";
    case MalformedOutcome::PassesThrough:
        return "passes through";
    case MalformedOutcome::EditsInside:
        return "edits inside";
    }
    return "?";
}
