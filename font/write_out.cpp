#include "font/write_out.h"

#include "font/layout.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace {

using Bytes = std::vector<uint8_t>;

bool writeInPlace(const OTF& otf, const uint8_t* image, size_t imageSize,
                  const std::vector<WriteSite>& sites, ByteSink& sink) {
    Overlay file(image, imageSize);
    std::map<fontObject*, Bytes> fields;
    for (const WriteSite& site : sites) {
        auto known = fields.find(site.object);
        if (known == fields.end())
            known = fields.emplace(site.object, serializedFields(*site.object)).first;
        const TableRecord& record = otf.fonts[site.font].tableRecords[site.record];
        file.put(record.offset, known->second.data(), known->second.size());
    }
    // Every record, in every directory, of a table whose bytes changed.
    std::vector<std::pair<const FontDirectory*, size_t>> touched;
    for (const FontDirectory& directory : otf.fonts)
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            size_t spanLength;
            if (tableSpan(record, imageSize, spanLength) &&
                file.changes(record.offset, record.offset + spanLength))
                touched.emplace_back(&directory, i);
        }
    for (const auto& [directory, i] : touched) {
        const TableRecord& record = directory->tableRecords[i];
        size_t spanLength = 0;
        tableSpan(record, imageSize, spanLength);
        file.putU32(directory->checksumFieldAt(i),
                    tableChecksum(record.tag, file, record.offset, spanLength));
    }
    const std::optional<size_t> head = adjustedHeadRecord(otf, imageSize);
    if (!touched.empty() && head) {
        const size_t adjustment = otf.fonts[0].tableRecords[*head].offset + kHeadAdjustmentOffset;
        file.putU32(adjustment, 0);
        file.putU32(adjustment, kChecksumMagic - file.checksum(0, imageSize));
    }
    sink.expectLength(imageSize);
    return file.writeTo(sink, 0, imageSize);
}

} // namespace

std::vector<WriteSite> changedSites(const OTF& otf, size_t imageSize,
                                    std::optional<size_t> onlyFont) {
    std::vector<WriteSite> sites;
    std::map<fontObject*, bool> changed;
    std::set<std::pair<OTF::TableKey, fontObject*>> seen;
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        if (onlyFont && font != *onlyFont)
            continue;
        const FontDirectory& directory = otf.fonts[font];
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            fontObject* object = nullptr;
            size_t spanLength;
            if (!directory.lists(i) || !otf.findTable(record.tag, object, font) ||
                object == nullptr || !tableSpan(record, imageSize, spanLength) ||
                object->writeExtent() == 0 ||
                (!object->writesWholeTable() && object->writeExtent() > spanLength))
                continue;
            auto known = changed.find(object);
            if (known == changed.end())
                known = changed.emplace(object, otf.changed(object)).first;
            if (known->second &&
                seen.emplace(OTF::TableKey{record.tag, record.offset, record.length}, object)
                    .second)
                sites.push_back({font, i, object});
        }
    }
    return sites;
}

bool fitsInPlace(const OTF& otf, size_t imageSize, const std::vector<WriteSite>& sites) {
    if (otf.hasRemovedTables())
        return false;
    for (const WriteSite& site : sites) {
        size_t spanLength = 0;
        tableSpan(otf.fonts[site.font].tableRecords[site.record], imageSize, spanLength);
        if (site.object->writesWholeTable() && site.object->writeExtent() != spanLength)
            return false;
    }
    return true;
}

bool writeOut(const OTF& otf, const uint8_t* image, size_t imageSize, ByteSink& sink) {
    const std::vector<WriteSite> sites = changedSites(otf, imageSize);
    return fitsInPlace(otf, imageSize, sites) ? writeInPlace(otf, image, imageSize, sites, sink)
                                              : writeRelaid(otf, image, imageSize, sites, sink);
}

bool writeFontAlone(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                    const std::map<std::string, fontObject*>& standIns, ByteSink& sink) {
    if (font >= otf.fonts.size())
        return false;
    const FontDirectory& directory = otf.fonts[font];
    std::vector<WriteSite> sites = changedSites(otf, imageSize, font);
    for (const auto& [tag, object] : standIns) {
        const TableRecord* record = directory.record(tag.c_str());
        if (record == nullptr)
            return false;
        const size_t index = static_cast<size_t>(record - directory.tableRecords.data());
        sites.erase(std::remove_if(sites.begin(), sites.end(),
                                   [index](const WriteSite& site) { return site.record == index; }),
                    sites.end());
        sites.push_back({font, index, object});
    }
    return writeFontRelaid(otf, image, imageSize, font, sites, sink);
}
