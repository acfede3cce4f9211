#include "font/layout.h"

#include "font/byte_writer.h"
#include "font/checksum.h"
#include "font/collection_header.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kSfntVersionSize = 4;
constexpr uint64_t kLargestOffset = UINT32_MAX;
constexpr uint8_t kZeros[4] = {};

size_t padded(size_t at) {
    return (at + 3) & ~size_t{3};
}

// One table of the new file.
struct Table {
    const TableRecord* record = nullptr; // one record listing it
    const uint8_t* bytes = nullptr;      // as read, or a whole-table object's bytes
    size_t length = 0;
    Bytes whole;
    std::unique_ptr<Overlay> overlay; // the changed objects' fields over the bytes
    std::vector<fontObject*> objects; // changed objects writing here, in site order
    size_t offset = 0;
    uint32_t checksum = 0; // its record's: a head's without its adjustment
    uint32_t wordSum = 0;  // of every byte, for the file's sum

    Overlay& laid() {
        if (!overlay)
            overlay = std::make_unique<Overlay>(bytes, length);
        return *overlay;
    }
};

// A collection's version 2 signature block, as read.
struct Signature {
    uint32_t tag = 0;
    const uint8_t* bytes = nullptr;
    size_t length = 0;
    size_t offset = 0; // in the new file
};

class Relayout {
  public:
    // fonts are the directories written, in order; a collection only when
    // asCollection is set, a single font (fonts[0]) otherwise.
    Relayout(const OTF& otf, const uint8_t* image, size_t imageSize, std::vector<size_t> fonts,
             bool asCollection)
        : otf_(otf), image_(image), imageSize_(imageSize), fonts_(std::move(fonts)),
          asCollection_(asCollection) {}

    bool write(const std::vector<WriteSite>& sites, ByteSink& sink) {
        if (asCollection_)
            readCollectionHeader(image_, imageSize_, collection_);
        collectTables();
        layChangedObjects(sites);
        if (!place())
            return false;
        sink.expectLength(length_);
        Bytes header = headerBytes();
        adjustHead(header);
        return writeAll(header, sink);
    }

  private:
    // The tables some font lists, once each, in the order of the file as read.
    void collectTables() {
        std::map<OTF::TableKey, size_t> indexOf;
        std::vector<std::pair<OTF::TableKey, const TableRecord*>> keys;
        for (size_t font : fonts_) {
            const FontDirectory& directory = otf_.fonts[font];
            for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
                const TableRecord& record = directory.tableRecords[i];
                OTF::TableKey key{record.tag, record.offset, record.length};
                if (directory.lists(i) && indexOf.emplace(key, 0).second)
                    keys.emplace_back(key, &record);
            }
        }
        std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
            const auto& [tagA, offsetA, lengthA] = a.first;
            const auto& [tagB, offsetB, lengthB] = b.first;
            return std::tie(offsetA, lengthA, tagA) < std::tie(offsetB, lengthB, tagB);
        });
        tables_.resize(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            Table& table = tables_[i];
            table.record = keys[i].second;
            indexOf[keys[i].first] = i;
            // A record past the file's end keeps what the file holds of it.
            if (tableSpan(*table.record, imageSize_, table.length))
                table.bytes = image_ + table.record->offset;
            else
                table.length = 0;
        }
        recordTable_.resize(otf_.fonts.size());
        for (size_t font : fonts_) {
            const FontDirectory& directory = otf_.fonts[font];
            for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
                const TableRecord& record = directory.tableRecords[i];
                recordTable_[font].push_back(
                    directory.lists(i) ? indexOf[{record.tag, record.offset, record.length}]
                                       : SIZE_MAX);
            }
        }
    }

    // A whole-table object's bytes replace its table; any other object's
    // fields lie over the table's start.
    void layChangedObjects(const std::vector<WriteSite>& sites) {
        std::map<fontObject*, Bytes> fields;
        for (const WriteSite& site : sites) {
            Table& table = tables_[recordTable_[site.font][site.record]];
            auto known = fields.find(site.object);
            if (known == fields.end())
                known = fields.emplace(site.object, serializedFields(*site.object)).first;
            const Bytes& bytes = known->second;
            if (site.object->writesWholeTable()) {
                table.whole = bytes;
                table.bytes = table.whole.data();
                table.length = table.whole.size();
                table.overlay.reset();
            } else {
                table.laid().put(0, bytes.data(), bytes.size());
            }
        }
    }

    size_t headerSize() const {
        if (!asCollection_)
            return 0;
        size_t size = kCollectionHeaderSize + kFontOffsetSize * fonts_.size();
        return collectionVersion() == kSignedCollectionVersion ? size + kSignatureFieldsSize : size;
    }

    uint16_t collectionVersion() const { return collection_.majorVersion; }

    void readSignature() {
        signature_.tag = collection_.dsigTag;
        if (!collection_.hasSignatureFields)
            return;
        TableRecord block;
        block.offset = collection_.dsigOffset;
        block.length = collection_.dsigLength;
        if (tableSpan(block, imageSize_, signature_.length))
            signature_.bytes = image_ + block.offset;
        else
            signature_.length = 0;
    }

    // Every directory, table and the signature block its offset; false when
    // the file would pass what 32-bit offsets reach.
    bool place() {
        uint64_t at = headerSize();
        directoryAt_.resize(otf_.fonts.size());
        for (size_t font : fonts_) {
            directoryAt_[font] = static_cast<size_t>(at);
            at += directorySize(listedCount(font));
        }
        for (Table& table : tables_) {
            at = padded(static_cast<size_t>(at));
            table.offset = static_cast<size_t>(at);
            at += table.length;
            if (at > kLargestOffset)
                return false;
        }
        if (asCollection_ && collectionVersion() == kSignedCollectionVersion) {
            readSignature();
            at = padded(static_cast<size_t>(at));
            signature_.offset = signature_.length != 0 ? static_cast<size_t>(at) : 0;
            at += signature_.length;
        }
        length_ = padded(static_cast<size_t>(at));
        return length_ <= kLargestOffset;
    }

    uint16_t listedCount(size_t font) const {
        return static_cast<uint16_t>(std::count_if(recordTable_[font].begin(),
                                                   recordTable_[font].end(),
                                                   [](size_t table) { return table != SIZE_MAX; }));
    }

    uint32_t checksumOf(Table& table) const {
        return tableChecksum(table.record->tag, table.laid(), 0, table.length);
    }

    Bytes headerBytes() {
        // In a single font head's adjustment is taken as zero until the
        // whole file's sum is known.
        if (Table* head = adjustedHead())
            head->laid().putU32(kHeadAdjustmentOffset, 0);
        for (Table& table : tables_) {
            table.checksum = checksumOf(table);
            table.wordSum = table.laid().checksum(0, table.length);
        }

        size_t size = headerSize();
        for (size_t font : fonts_)
            size += directorySize(listedCount(font));
        Bytes header(size, 0);
        ByteWriter writer(header.data(), header.size());
        if (asCollection_) {
            writer.writeU32(kCollectionTag);
            writer.writeU16(collection_.majorVersion);
            writer.writeU16(collection_.minorVersion);
            writer.writeU32(static_cast<uint32_t>(collection_.fontOffsets.size()));
            for (size_t font : fonts_)
                writer.writeU32(static_cast<uint32_t>(directoryAt_[font]));
            if (collectionVersion() == kSignedCollectionVersion) {
                writer.writeU32(signature_.tag);
                writer.writeU32(static_cast<uint32_t>(signature_.length));
                writer.writeU32(static_cast<uint32_t>(signature_.offset));
            }
        }
        for (size_t font : fonts_) {
            const FontDirectory& directory = otf_.fonts[font];
            const uint16_t count = listedCount(font);
            const SearchFields search = searchFields(count);
            writer.seek(directoryAt_[font]);
            writer.writeBytes(directory.sfntVersion, kSfntVersionSize);
            writer.writeU16(count);
            writer.writeU16(search.searchRange);
            writer.writeU16(search.entrySelector);
            writer.writeU16(search.rangeShift);
            for (size_t i = 0; i < recordTable_[font].size(); ++i) {
                const size_t index = recordTable_[font][i];
                if (index == SIZE_MAX)
                    continue;
                const Table& table = tables_[index];
                // Each record keeps its own tag bytes, even past a NUL that
                // makes two tags one.
                uint8_t tag[4];
                for (size_t k = 0; k < sizeof tag; ++k)
                    tag[k] = static_cast<uint8_t>(directory.tableRecords[i].tag[k]);
                writer.writeBytes(tag, sizeof tag);
                writer.writeU32(table.checksum);
                writer.writeU32(static_cast<uint32_t>(table.offset));
                writer.writeU32(static_cast<uint32_t>(table.length));
            }
        }
        return header;
    }

    // The head table whose adjustment a single font's write-out sets.
    Table* adjustedHead() {
        if (asCollection_ || fonts_.empty())
            return nullptr;
        const std::optional<size_t> head = adjustedHeadRecordOf(otf_.fonts[fonts_[0]], imageSize_);
        return head ? &tables_[recordTable_[fonts_[0]][*head]] : nullptr;
    }

    void adjustHead(const Bytes& header) {
        Table* head = adjustedHead();
        if (head == nullptr)
            return;
        // Tables start on 4-byte boundaries and are padded with zeros, so
        // the file's sum is the header's plus every table's.
        uint32_t sum = sfntChecksum(header.data(), header.size());
        for (const Table& table : tables_)
            sum += table.wordSum;
        head->laid().putU32(kHeadAdjustmentOffset, kChecksumMagic - sum);
    }

    bool writeZeros(ByteSink& sink, size_t count) {
        return count == 0 || sink.write(kZeros, count);
    }

    bool writeAll(const Bytes& header, ByteSink& sink) {
        if (!sink.write(header.data(), header.size()))
            return false;
        size_t at = header.size();
        for (Table& table : tables_) {
            if (!writeZeros(sink, table.offset - at))
                return false;
            bool written = table.overlay ? table.overlay->writeTo(sink, 0, table.length)
                                         : sink.write(table.bytes, table.length);
            if (!written)
                return false;
            at = table.offset + table.length;
        }
        if (signature_.length != 0) {
            if (!writeZeros(sink, signature_.offset - at) ||
                !sink.write(signature_.bytes, signature_.length))
                return false;
            at = signature_.offset + signature_.length;
        }
        return writeZeros(sink, padded(at) - at);
    }

    const OTF& otf_;
    const uint8_t* image_;
    size_t imageSize_;
    std::vector<Table> tables_;
    std::vector<size_t> fonts_;
    bool asCollection_;
    std::vector<std::vector<size_t>> recordTable_; // each record's table, SIZE_MAX once removed
    std::vector<size_t> directoryAt_;              // by font
    size_t length_ = 0;                            // of the whole new file
    CollectionHeaderFields collection_;
    Signature signature_;
};

} // namespace

SearchFields searchFields(uint16_t numTables) {
    SearchFields fields;
    if (numTables == 0)
        return fields;
    uint32_t power = 1;
    while (power * 2 <= numTables) {
        power *= 2;
        ++fields.entrySelector;
    }
    // Past 4095 tables the fields wrap, as their 16 bits do in every font.
    const uint32_t range = power * kTableRecordSize;
    fields.searchRange = static_cast<uint16_t>(range);
    fields.rangeShift = static_cast<uint16_t>(numTables * kTableRecordSize - range);
    return fields;
}

bool writeRelaid(const OTF& otf, const uint8_t* image, size_t imageSize,
                 const std::vector<WriteSite>& sites, ByteSink& sink) {
    std::vector<size_t> fonts(otf.fonts.size());
    for (size_t font = 0; font < fonts.size(); ++font)
        fonts[font] = font;
    return Relayout(otf, image, imageSize, std::move(fonts), otf.isCollection()).write(sites, sink);
}

bool writeFontRelaid(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                     const std::vector<WriteSite>& sites, ByteSink& sink) {
    return font < otf.fonts.size() &&
           Relayout(otf, image, imageSize, {font}, false).write(sites, sink);
}
