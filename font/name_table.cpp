#include "font/name_table.h"

#include "font/byte_reader.h"
#include "font/otf.h"
#include "font/table_tags.h"

namespace {

constexpr uint16_t kWindowsPlatform = 3;
constexpr uint16_t kUnicodeBmp = 1;
constexpr uint16_t kUnicodeFull = 10;
constexpr uint16_t kFullNameId = 4;
constexpr uint16_t kJapanese = 0x0411;
constexpr uint16_t kEnglish = 0x0409;

// Lower is preferred; 3 for a record that is not a Windows Unicode full name.
int rank(uint16_t platform, uint16_t encoding, uint16_t language, uint16_t nameId) {
    if (platform != kWindowsPlatform || (encoding != kUnicodeBmp && encoding != kUnicodeFull) ||
        nameId != kFullNameId)
        return 3;
    return language == kJapanese ? 0 : language == kEnglish ? 1 : 2;
}

bool readString(const uint8_t* table, size_t spanLength, size_t at, uint16_t length,
                std::u16string& text) {
    ByteReader reader(table, spanLength);
    if (!reader.seek(at) || reader.remaining() < length)
        return false;
    text.clear();
    for (size_t i = 0; i + 2 <= length; i += 2) { // UTF-16BE; an odd last byte is no unit
        uint16_t unit = 0;
        reader.readU16(unit);
        text.push_back(static_cast<char16_t>(unit));
    }
    return true;
}

} // namespace

std::u16string fullFontName(const uint8_t* table, size_t spanLength) {
    ByteReader reader(table, spanLength);
    uint16_t version = 0, count = 0, storage = 0;
    if (!reader.readU16(version) || !reader.readU16(count) || !reader.readU16(storage))
        return {};
    std::u16string best;
    int bestRank = 3;
    for (uint16_t i = 0; i < count && bestRank > 0; ++i) {
        uint16_t platform, encoding, language, nameId, length, offset;
        if (!reader.readU16(platform) || !reader.readU16(encoding) || !reader.readU16(language) ||
            !reader.readU16(nameId) || !reader.readU16(length) || !reader.readU16(offset))
            break;
        const int recordRank = rank(platform, encoding, language, nameId);
        std::u16string text;
        if (recordRank < bestRank &&
            readString(table, spanLength, size_t{storage} + offset, length, text)) {
            best = std::move(text);
            bestRank = recordRank;
        }
    }
    return best;
}

std::u16string currentFullName(const OTF& otf, size_t font) {
    if (font >= otf.fonts.size())
        return {};
    fontObject* table = nullptr;
    if (!otf.findTable(kNameTag, table, font) || table == nullptr || !table->writesWholeTable())
        return otf.fonts[font].fullName;
    const std::vector<uint8_t> bytes = serializedFields(*table);
    return fullFontName(bytes.data(), bytes.size());
}
