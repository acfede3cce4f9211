#include "tests/support/write_bounds.h"

#include "font/otf.h"
#include "tables/gasp/gasp_range_edit.h"
#include "tables/hhea/hhea_header.h"
#include "tables/hhea/line_spacing.h"
#include "tables/os2/os2_edit.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <tuple>

namespace {

void allow(std::vector<bool>& writable, size_t begin, size_t length) {
    for (size_t i = begin; i < begin + length && i < writable.size(); ++i)
        writable[i] = true;
}

// The values the panes can change, of every object, to set them back.
struct Values {
    std::map<gaspHeader*, std::map<uint16_t, uint16_t>> ranges;
    using OS2Values = std::tuple<uint16_t, uint16_t, uint8_t, int16_t, int16_t, int16_t, uint16_t,
                                 uint16_t, uint16_t>;
    std::map<OS2*, OS2Values> os2;
    std::map<hheaHeader*, std::tuple<int16_t, int16_t, int16_t>> hhea;

    static auto os2Fields(OS2& t) {
        return std::tie(t.usWeightClass, t.usWidthClass, t.panose[2], t.sTypoAscender,
                        t.sTypoDescender, t.sTypoLineGap, t.usWinAscent, t.usWinDescent,
                        t.fsSelection);
    }
    static auto hheaFields(hheaHeader& t) { return std::tie(t.ascender, t.descender, t.lineGap); }

    explicit Values(const OTF& otf) {
        for (const auto& entry : otf.tableObjects)
            if (auto* gasp = dynamic_cast<gaspHeader*>(entry.second.get()))
                ranges[gasp] = gasp->ranges;
            else if (auto* table = dynamic_cast<OS2*>(entry.second.get()))
                os2[table] = os2Fields(*table);
            else if (auto* header = dynamic_cast<hheaHeader*>(entry.second.get()))
                hhea[header] = hheaFields(*header);
    }
    void setBack() const {
        for (const auto& [gasp, saved] : ranges)
            gasp->ranges = saved;
        for (const auto& [table, saved] : os2)
            os2Fields(*table) = saved;
        for (const auto& [header, saved] : hhea)
            hheaFields(*header) = saved;
    }
};

} // namespace

std::vector<bool> writableBytes(const OTF& otf, size_t imageSize) {
    std::vector<bool> writable(imageSize, false);
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        const FontDirectory& directory = otf.fonts[font];
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            allow(writable, directory.offset + 12 + 16 * i + 4, 4);
            size_t spanLength;
            fontObject* object = nullptr;
            if (!tableSpan(record, imageSize, spanLength))
                continue;
            // An object never writes into a span shorter than what it read.
            if (otf.findTable(record.tag, object, font) && object != nullptr &&
                object->writeExtent() <= spanLength)
                allow(writable, record.offset, object->writeExtent());
            if (!otf.isCollection() && std::strcmp(record.tag, "head") == 0 && spanLength >= 12)
                allow(writable, record.offset + 8, 4);
        }
    }
    return writable;
}

std::optional<size_t> strayChange(const uint8_t* before, const uint8_t* after, size_t size,
                                  const std::vector<bool>& writable) {
    for (size_t i = 0; i < size; ++i)
        if (before[i] != after[i] && !(i < writable.size() && writable[i]))
            return i;
    return std::nullopt;
}

void editLikeThePanes(OTF& otf, const PaneEdits& edits) {
    if (otf.fonts.empty())
        return;
    const size_t font = edits.font % otf.fonts.size();
    if (gaspHeader* gasp = otf.tableOf<gaspHeader>("gasp", font); gasp && !gasp->ranges.empty()) {
        auto row = std::next(gasp->ranges.begin(),
                             static_cast<std::ptrdiff_t>(edits.gaspRow % gasp->ranges.size()));
        const uint16_t oldPPEM = row->first;
        if (auto confirmed = confirmedGaspRange(edits.gaspTyped, edits.gaspInPoints, edits.hinting,
                                                edits.smoothing, oldPPEM))
            replaceGaspRange(gasp->ranges, oldPPEM, *confirmed);
    }
    if (OS2* os2 = otf.tableOf<OS2>("OS/2", font)) {
        storeWeightPosition(*os2, edits.weightPosition);
        storeWidthPosition(*os2, edits.widthPosition);
        storePanoseWeight(*os2, edits.panoseWeight);
    }
    for (size_t i = 0; i < lineMetricFields.size(); ++i)
        storeLineMetric(otf, font, lineMetricFields[i].metric, edits.lineMetrics[i],
                        edits.allFonts);
    storeUseTypoMetrics(otf, font, edits.useTypoMetrics, edits.allFonts);
}

const char* brokenWriteRule(const uint8_t* data, size_t size, const PaneEdits& edits) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[size]);
    uint8_t* image = block.get();
    std::copy(data, data + size, image);
    OTF otf(image, size);
    const bool collection = size >= 4 && std::memcmp(data, "ttcf", 4) == 0;
    const bool fits = size >= 12 && size >= 12 + 16 * size_t((data[4] << 8) | data[5]);
    if (!collection && (otf.valid != 0) != fits)
        return "a single font is valid exactly when its directory fits";
    if (!otf.valid) {
        otf.writeTable(image, size);
        return otf.fonts.empty() && std::equal(data, data + size, image)
                   ? nullptr
                   : "a refused font has no directory and writes nothing";
    }
    fontObject* object = nullptr;
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        const FontDirectory& directory = otf.fonts[font];
        if (directory.offset > size ||
            size - directory.offset < 12 + 16 * size_t{directory.numTables} ||
            directory.tableRecords.size() != directory.numTables)
            return "every directory lies in the image, one record per table";
        for (const TableRecord& record : directory.tableRecords)
            if (!otf.findTable(record.tag, object, font))
                return "every listed tag is found";
    }
    const std::vector<bool> writable = writableBytes(otf, size);
    otf.writeTable(image, size);
    if (!std::equal(data, data + size, image))
        return "an unedited write-out is byte-identical";
    const Values asRead(otf);
    editLikeThePanes(otf, edits);
    otf.writeTable(image, size);
    if (strayChange(data, image, size, writable))
        return "only the objects' bytes, the checksums and head's adjustment change";
    asRead.setBack();
    otf.writeTable(image, size);
    if (!std::equal(data, data + size, image))
        return "an edit set back is written as the file was read";
    return nullptr;
}
