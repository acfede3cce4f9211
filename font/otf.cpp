#include "font/otf.h"

#include "font/collection_header.h"
#include "font/table_models.h"
#include "font/table_tags.h"

namespace {

OTF::TableKey keyOf(const TableRecord& record) {
    return {record.tag, record.offset, record.length};
}

} // namespace

OTF::OTF(const uint8_t* image, size_t imageSize) {
    if (!readDirectories(image, imageSize)) {
        fonts.clear();
        return;
    }
    valid = 1;
    buildTableObjects(image, imageSize);
    // loca gives each glyph 2 bytes at least: an honest file's glyphs fit.
    size_t glyphsLeft = imageSize / 2;
    for (const FontDirectory& font : fonts)
        needs_.push_back(readFontNeeds(font, image, imageSize, glyphsLeft));
    for (const auto& entry : tableObjects)
        asRead_.emplace(entry.second.get(), serializedFields(*entry.second));
    saved_ = asRead_;
}

OTF::~OTF() = default;

bool OTF::readDirectories(const uint8_t* image, size_t imageSize) {
    CollectionHeaderFields header;
    switch (readCollectionHeader(image, imageSize, header)) {
    case CollectionHeader::refused:
        return false;
    case CollectionHeader::none:
        fonts.resize(1);
        return fonts[0].read(image, imageSize, 0);
    case CollectionHeader::read:
        break;
    }
    collection_ = true;
    // Directories may overlap, but together they never hold more records
    // than the file has room for: what a file can make the program allocate
    // stays in proportion to its size.
    size_t directoryBytes = 0;
    fonts.resize(header.fontOffsets.size());
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (!fonts[i].read(image, imageSize, header.fontOffsets[i]))
            return false;
        directoryBytes += directorySize(fonts[i].numTables);
        if (directoryBytes > imageSize)
            return false;
    }
    return true;
}

void OTF::buildTableObjects(const uint8_t* image, size_t imageSize) {
    // Objects are built for the tables the fonts' tags stand for, in
    // directory order; tables of the same key share the first one built.
    // Their parses never read more bytes, in all, than the file holds.
    size_t parsed = 0;
    for (const FontDirectory& font : fonts)
        for (const TableRecord& record : font.tableRecords) {
            const TableModel* model = tableModelFor(record.tag);
            size_t spanLength;
            if (model == nullptr || font.record(record.tag) != &record ||
                tableObjects.count(keyOf(record)) != 0 || !tableSpan(record, imageSize, spanLength))
                continue;
            std::unique_ptr<fontObject> object = model->make(image + record.offset, spanLength);
            if (object == nullptr)
                continue;
            parsed += object->writeExtent();
            if (parsed <= imageSize)
                tableObjects.emplace(keyOf(record), std::move(object));
        }
}

bool OTF::findTable(const char* tag, fontObject*& table, size_t font) const {
    const TableRecord* record = font < fonts.size() ? fonts[font].record(tag) : nullptr;
    if (record == nullptr)
        return false;
    auto object = tableObjects.find(keyOf(*record));
    table = object == tableObjects.end() ? nullptr : object->second.get();
    return true;
}

std::vector<size_t> OTF::fontsSharing(const char* tag, size_t font) const {
    std::vector<size_t> sharing;
    const TableRecord* record = font < fonts.size() ? fonts[font].record(tag) : nullptr;
    if (record == nullptr)
        return sharing;
    for (size_t other = 0; other < fonts.size(); ++other)
        for (size_t i = 0; i < fonts[other].tableRecords.size(); ++i)
            if (fonts[other].lists(i) && keyOf(fonts[other].tableRecords[i]) == keyOf(*record)) {
                sharing.push_back(other);
                break;
            }
    return sharing;
}

bool OTF::isRemovable(const char* tag) {
    return !isRequiredTable(tag);
}

TableRemoval OTF::removalOf(const char* tag, size_t font) const {
    return font < fonts.size() ? tableRemoval(fonts[font], needs_[font], tag) : TableRemoval();
}

bool OTF::removeTable(const char* tag, size_t font) {
    const TableRemoval removal = removalOf(tag, font);
    for (const std::string& removed : removal.tags)
        fonts[font].removedTags.insert(removed);
    return !removal.tags.empty();
}

bool OTF::hasRemovedTables() const {
    return removedTagCount() != 0;
}

// Removals only grow until another file is opened, so their count says
// whether any came since the last write-out.
size_t OTF::removedTagCount() const {
    size_t count = 0;
    for (const FontDirectory& font : fonts)
        count += font.removedTags.size();
    return count;
}

bool OTF::differs(fontObject* object, const Snapshot& from) {
    auto known = from.find(object);
    return known != from.end() && serializedFields(*object) != known->second;
}

bool OTF::hasUnsavedEdits() const {
    if (removedTagCount() != removedAtLastWrite_)
        return true;
    for (const auto& entry : tableObjects)
        if (differs(entry.second.get(), saved_))
            return true;
    return false;
}

void OTF::markWritten() {
    removedAtLastWrite_ = removedTagCount();
    for (const auto& entry : tableObjects)
        saved_[entry.second.get()] = serializedFields(*entry.second);
}
