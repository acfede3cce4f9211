#include "font/write_back.h"

#include "font/byte_reader.h"
#include "font/byte_writer.h"
#include "font/checksum.h"
#include "font/otf.h"
#include "font/table_tags.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

using Bytes = std::vector<uint8_t>;

// Every field goes through one bounds-checked reader or writer over the image.
uint32_t loadU32(const uint8_t* image, size_t imageSize, size_t at) {
    ByteReader reader(image, imageSize);
    uint32_t value = 0;
    if (reader.seek(at))
        reader.readU32(value);
    return value;
}

void storeU32(uint8_t* image, size_t imageSize, size_t at, uint32_t value) {
    ByteWriter writer(image, imageSize);
    if (writer.seek(at))
        writer.writeU32(value);
}

bool isHead(const TableRecord& record) {
    return std::strcmp(record.tag, kHeadTag) == 0;
}

// A table's checksum; head's is taken with its checkSumAdjustment as zero.
uint32_t tableChecksum(const TableRecord& record, const uint8_t* image, size_t imageSize,
                       size_t spanLength) {
    uint32_t sum = sfntChecksum(image + record.offset, spanLength);
    if (isHead(record) && spanLength >= kHeadMinimumSize)
        sum -= loadU32(image, imageSize, record.offset + kHeadAdjustmentOffset);
    return sum;
}

// Sorted, disjoint [begin, end) ranges of image offsets.
class Ranges {
  public:
    void add(size_t begin, size_t end) {
        if (begin < end)
            ranges_.emplace_back(begin, end);
    }
    void merge() {
        std::sort(ranges_.begin(), ranges_.end());
        std::vector<std::pair<size_t, size_t>> merged;
        for (const auto& range : ranges_)
            if (!merged.empty() && range.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, range.second);
            else
                merged.push_back(range);
        ranges_ = std::move(merged);
    }
    bool empty() const { return ranges_.empty(); }
    // Whether [begin, end) shares a byte with a range: of disjoint sorted
    // ranges, only the last one starting before end can.
    bool touch(size_t begin, size_t end) const {
        auto after =
            std::lower_bound(ranges_.begin(), ranges_.end(), std::make_pair(end, size_t{0}));
        return begin < end && after != ranges_.begin() && std::prev(after)->second > begin;
    }
    const std::vector<std::pair<size_t, size_t>>& all() const { return ranges_; }

  private:
    std::vector<std::pair<size_t, size_t>> ranges_;
};

// The object's fields written onto zeros: two calls compare equal exactly
// when the fields are the same. Empty when the object writes nothing.
Bytes serialized(fontObject* object) {
    Bytes bytes(object->writeExtent(), 0);
    if (bytes.empty() || !object->writeTable(bytes.data(), bytes.size()))
        return {};
    return bytes;
}

} // namespace

WriteBack::WriteBack(const OTF& font, const uint8_t* image, size_t imageSize) {
    Ranges written;
    for (size_t index = 0; index < font.fonts.size(); ++index)
        for (const TableRecord& record : font.fonts[index].tableRecords) {
            // A tag in two records: the object the font's tag stands for writes at both.
            fontObject* object = nullptr;
            size_t spanLength;
            if (!font.findTable(record.tag, object, index) || object == nullptr ||
                !tableSpan(record, imageSize, spanLength) || object->writeExtent() > spanLength ||
                !siteKeys_.emplace(record.offset, object).second)
                continue;
            if (unedited_.count(object) == 0) {
                Bytes fields = serialized(object);
                if (fields.empty())
                    continue;
                unedited_.emplace(object, std::move(fields));
            }
            sites_.push_back({record.offset, object});
            written.add(record.offset, record.offset + object->writeExtent());
        }
    written.merge();
    saved_ = unedited_;
    for (const auto& [begin, end] : written.all())
        asRead_.emplace(begin, Bytes(image + begin, image + end));

    // A collection's fonts ignore head's adjustment, and real ones hold no
    // whole-file value in it: it is left as read.
    if (font.isCollection() || font.fonts.empty())
        return;
    for (const TableRecord& record : font.fonts[0].tableRecords) {
        size_t spanLength;
        if (isHead(record) && tableSpan(record, imageSize, spanLength) &&
            spanLength >= kHeadMinimumSize) {
            size_t at = size_t{record.offset} + kHeadAdjustmentOffset;
            headAdjustment_.emplace(at, loadU32(image, imageSize, at));
            return;
        }
    }
}

bool WriteBack::differs(fontObject* object, const std::map<fontObject*, Bytes>& from) {
    return serialized(object) != from.at(object);
}

bool WriteBack::unsaved() const {
    for (const auto& entry : saved_)
        if (differs(entry.first, saved_))
            return true;
    return false;
}

void WriteBack::markWritten() {
    for (auto& [object, bytes] : saved_)
        bytes = serialized(object);
}

void WriteBack::writeInto(const OTF& font, uint8_t* image, size_t imageSize) const {
    // Back to the bytes as read: the objects' tables, every checksum, head's adjustment.
    ByteWriter writer(image, imageSize);
    for (const auto& [begin, bytes] : asRead_)
        if (writer.seek(begin))
            writer.writeBytes(bytes.data(), bytes.size());
    for (const FontDirectory& directory : font.fonts)
        for (size_t i = 0; i < directory.tableRecords.size(); ++i)
            storeU32(image, imageSize, directory.checksumFieldAt(i),
                     directory.tableRecords[i].checkSum);
    if (headAdjustment_)
        storeU32(image, imageSize, headAdjustment_->first, headAdjustment_->second);

    // Then every edited object, and the ranges its fields changed.
    Ranges changed;
    std::map<fontObject*, bool> isEdited;
    for (const Site& site : sites_) {
        auto known = isEdited.find(site.object);
        if (known == isEdited.end())
            known = isEdited.emplace(site.object, edited(site.object)).first;
        if (!known->second)
            continue;
        const size_t extent = site.object->writeExtent();
        uint8_t* table = image + site.offset;
        site.object->writeTable(table, extent);
        auto saved = std::prev(asRead_.upper_bound(site.offset));
        const uint8_t* before = saved->second.data() + (site.offset - saved->first);
        size_t first = 0, last = extent;
        while (first < last && table[first] == before[first])
            ++first;
        while (last > first && table[last - 1] == before[last - 1])
            --last;
        changed.add(site.offset + first, site.offset + last);
    }
    changed.merge();
    if (changed.empty())
        return;

    // Every record, in every directory, of a table whose bytes changed.
    for (const FontDirectory& directory : font.fonts)
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            size_t spanLength;
            if (tableSpan(record, imageSize, spanLength) &&
                changed.touch(record.offset, record.offset + spanLength))
                storeU32(image, imageSize, directory.checksumFieldAt(i),
                         tableChecksum(record, image, imageSize, spanLength));
        }
    if (headAdjustment_) {
        storeU32(image, imageSize, headAdjustment_->first, 0);
        storeU32(image, imageSize, headAdjustment_->first,
                 kChecksumMagic - sfntChecksum(image, imageSize));
    }
}
