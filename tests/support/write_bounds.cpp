#include "tests/support/write_bounds.h"

#include "font/otf.h"
#include "font/write_out.h"
#include "tables/gasp/gasp_range_edit.h"
#include "tables/hhea/hhea_header.h"
#include "tables/hhea/line_spacing.h"
#include "tables/name/full_name.h"
#include "tables/name/name_edit.h"
#include "tables/os2/os2_edit.h"
#include "tests/support/sfnt_builder.h"

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
    std::map<NamingTable*, std::vector<NamingRecord>> names;
    static auto hheaFields(hheaHeader& t) { return std::tie(t.ascender, t.descender, t.lineGap); }

    explicit Values(const OTF& otf) {
        for (const auto& entry : otf.tableObjects)
            if (auto* gasp = dynamic_cast<gaspHeader*>(entry.second.get()))
                ranges[gasp] = gasp->ranges;
            else if (auto* table = dynamic_cast<OS2*>(entry.second.get()))
                os2[table] = os2Fields(*table);
            else if (auto* header = dynamic_cast<hheaHeader*>(entry.second.get()))
                hhea[header] = hheaFields(*header);
            else if (auto* name = dynamic_cast<NamingTable*>(entry.second.get()))
                names[name] = name->records;
    }
    void setBack() const {
        for (const auto& [name, saved] : names)
            name->records = saved;
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

// What is wrong with out, the re-laid write-out of the font read from data,
// judged from out's own bytes: every font's records those it was read with
// less the removed ones, in order; every table on a 4-byte boundary inside
// the file, at its length as read and, unless its object changed, with its
// bytes as read and a true checksum; zeros in every byte no header,
// directory or table holds. Null when nothing is.
namespace {
// Whether a changed object writes at the table of record: the object that
// the tag stands for in any font listing that very table.
bool writtenByChangedObject(const OTF& otf, const TableRecord& record) {
    for (size_t font = 0; font < otf.fonts.size(); ++font)
        for (size_t i = 0; i < otf.fonts[font].tableRecords.size(); ++i) {
            const TableRecord& other = otf.fonts[font].tableRecords[i];
            fontObject* object = nullptr;
            if (otf.fonts[font].lists(i) && std::strcmp(other.tag, record.tag) == 0 &&
                other.offset == record.offset && other.length == record.length &&
                otf.findTable(other.tag, object, font) && object && otf.changed(object))
                return true;
        }
    return false;
}

void hold(std::vector<std::pair<size_t, size_t>>& held, size_t begin, size_t length) {
    held.emplace_back(begin, begin + length);
}
} // namespace

const char* brokenRelaidRule(const OTF& otf, const uint8_t* data, size_t size,
                             const std::vector<uint8_t>& out) {
    const bool collection = otf.isCollection();
    if (out.size() % 4 != 0 || out.size() < 12)
        return "a re-laid file is whole words";
    std::vector<std::pair<size_t, size_t>> held; // [begin, end) of what the file holds
    auto u16 = [&](size_t at) {
        return at + 2 <= out.size() ? size_t((out[at] << 8) | out[at + 1]) : 0;
    };
    auto u32 = [&](size_t at) { return at + 4 <= out.size() ? (u16(at) << 16) | u16(at + 2) : 0; };
    std::vector<size_t> directories = {0};
    bool hasHead = false;
    if (collection) {
        if (u32(8) != otf.fonts.size())
            return "a re-laid collection keeps its font count";
        directories.clear();
        const size_t offsetsEnd = 12 + 4 * otf.fonts.size();
        const bool signed_ = data[4] == 0 && data[5] == 2;
        hold(held, 0, offsetsEnd + (signed_ ? 12 : 0));
        if (signed_) // the signature block, wherever its fields say
            hold(held, u32(offsetsEnd + 8), u32(offsetsEnd + 4));
        for (size_t font = 0; font < otf.fonts.size(); ++font)
            directories.push_back(u32(12 + 4 * font));
    }
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        const FontDirectory& asRead = otf.fonts[font];
        const size_t at = directories[font];
        size_t listed = 0;
        for (size_t i = 0; i < asRead.tableRecords.size(); ++i)
            listed += asRead.lists(i);
        if (at % 4 != 0 || u16(at + 4) != listed || at + 12 + 16 * listed > out.size())
            return "each re-laid directory lists the records still listed";
        hold(held, at, 12 + 16 * listed);
        size_t record = at + 12 - 16;
        for (size_t i = 0; i < asRead.tableRecords.size(); ++i) {
            if (!asRead.lists(i))
                continue;
            record += 16;
            const TableRecord& was = asRead.tableRecords[i];
            const size_t offset = u32(record + 8), length = u32(record + 12);
            size_t span = 0;
            const bool inFile = tableSpan(was, size, span);
            if (!inFile)
                span = 0;
            fontObject* object = nullptr;
            const bool changed = writtenByChangedObject(otf, was);
            // A changed whole table is re-laid as compiled, at its new length,
            // wherever its record lies in the file.
            const bool compiled = changed && otf.findTable(was.tag, object, font) && object &&
                                  object->writesWholeTable() && otf.changed(object) && inFile;
            if (std::memcmp(&out[record], was.tag, 4) != 0 || offset % 4 != 0 ||
                length != (compiled ? object->writeExtent() : span) || offset + length > out.size())
                return "each re-laid record keeps its tag and its length as read, aligned inside "
                       "the file";
            if (compiled && serializedFields(*object) != Bytes(&out[offset], &out[offset] + length))
                return "a changed whole table is re-laid as its object compiles it";
            hold(held, offset, length);
            hasHead |= font == 0 && std::strcmp(was.tag, "head") == 0 && length >= 12;
            // A single font's head differs from its bytes as read in its adjustment alone.
            const bool head = std::strcmp(was.tag, "head") == 0 && length >= 12;
            const size_t skip = head && !collection ? 8 : length; // the adjustment, 4 bytes
            auto same = [&](size_t from, size_t to) {
                return from >= to ||
                       std::memcmp(data + was.offset + from, &out[offset + from], to - from) == 0;
            };
            if (!changed && !(same(0, skip) && same(std::min(skip + 4, length), length)))
                return "an unchanged table is re-laid with its bytes as read";
            uint32_t sum = wordSum(out, offset, length);
            if (head)
                sum -= u32(offset + 8);
            if (u32(record + 4) != sum)
                return "every re-laid checksum is true";
        }
    }
    std::sort(held.begin(), held.end());
    size_t covered = 0;
    held.emplace_back(out.size(), out.size());
    for (const auto& [begin, end] : held) {
        for (size_t i = covered; i < begin; ++i)
            if (out[i] != 0)
                return "a re-laid file holds nothing but its header, directories and "
                       "tables";
        covered = std::max(covered, end);
    }
    if (!collection && hasHead && wordSum(out, 0, out.size()) != 0xB1B0AFBA)
        return "a re-laid single font's adjustment balances the file";
    return nullptr;
}

std::vector<uint8_t> writtenOut(const OTF& otf, const std::vector<uint8_t>& image) {
    ByteVectorSink sink;
    sink.bytes.reserve(image.size());
    writeOut(otf, image.data(), image.size(), sink);
    return sink.bytes;
}

void renameLikeThePane(OTF& otf, const PaneEdits& edits) {
    NamingTable* name = otf.fonts.empty()
                            ? nullptr
                            : otf.tableOf<NamingTable>("name", edits.font % otf.fonts.size());
    if (name != nullptr && !name->records.empty())
        storeName(*name, edits.nameRecord % name->records.size(), edits.newName);
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
    if (!otf.valid)
        return otf.fonts.empty() ? nullptr : "a refused font has no directory";
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
        currentFullName(otf, image, size, font); // as the tree reads it, for the sanitizers
    }
    const Bytes input(data, data + size);
    const std::vector<bool> writable = writableBytes(otf, size);
    if (writtenOut(otf, input) != input)
        return "an unedited write-out is byte-identical";
    const Values asRead(otf);
    editLikeThePanes(otf, edits);
    Bytes out = writtenOut(otf, input);
    if (out.size() != size || strayChange(data, out.data(), size, writable))
        return "only the objects' bytes, the checksums and head's adjustment "
               "change";
    asRead.setBack();
    if (writtenOut(otf, input) != input)
        return "an edit set back is written as the file was read";
    if (otf.hasUnsavedEdits())
        return "an edit set back leaves nothing unsaved";

    // Re-laid: a table removed from the edited font, then an edit on top.
    // Hostile directories whose tables would together be far larger than the
    // file are left out: laying them out is bounded only by 32-bit offsets.
    const size_t font = edits.font % otf.fonts.size();
    size_t total = 0;
    for (const FontDirectory& directory : otf.fonts)
        for (const TableRecord& record : directory.tableRecords)
            total += std::min<size_t>(record.length, size);
    const FontDirectory& directory = otf.fonts[font];
    auto removable =
        std::find_if(directory.tableRecords.begin(), directory.tableRecords.end(),
                     [](const TableRecord& record) { return OTF::isRemovable(record.tag); });
    if (total > 16 * size + (1 << 20))
        return nullptr;

    // Renamed: in place while the compiled name keeps the length of every
    // table it writes (a tag in two records writes at both; none that lies
    // outside the file), else re-laid.
    renameLikeThePane(otf, edits);
    auto* name = otf.tableOf<NamingTable>("name", font);
    bool inPlace = name == nullptr || !otf.changed(name);
    if (!inPlace) {
        inPlace = true;
        for (size_t other = 0; other < otf.fonts.size(); ++other)
            for (const TableRecord& record : otf.fonts[other].tableRecords) {
                size_t span = 0;
                if (std::strcmp(record.tag, "name") == 0 &&
                    otf.tableOf<NamingTable>("name", other) == name)
                    inPlace &= !tableSpan(record, size, span) || span == name->writeExtent();
            }
    }
    out = writtenOut(otf, input);
    // The whole compiled table, at its length now, may change.
    if (inPlace &&
        (out.size() != size || strayChange(data, out.data(), size, writableBytes(otf, size))))
        return "a rename of the same length changes only the name, the checksums "
               "and head's "
               "adjustment";
    if (const char* rule = inPlace ? nullptr : brokenRelaidRule(otf, data, size, out))
        return rule;
    asRead.setBack();
    if (writtenOut(otf, input) != input)
        return "a rename set back is written as the file was read";
    if (removable == directory.tableRecords.end())
        return nullptr;
    if (!otf.removeTable(removable->tag, font) || !otf.hasUnsavedEdits())
        return "a removable table is removed, and that is an unsaved edit";
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            editLikeThePanes(otf, edits);
        out = writtenOut(otf, input);
        if (const char* rule = brokenRelaidRule(otf, data, size, out))
            return rule;
    }
    return nullptr;
}
