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

namespace {

// How many bytes from a table's start its model reads and writes back, from
// the OpenType layouts: OS/2 by version (0: 78, through usWinDescent; 1: 86,
// the code page ranges; 2 to 4: 96, through usMaxContext; 5: 100, the optical
// sizes), gasp's 4-byte header and the 4-byte ranges that fit, hhea's 36; a
// name table is compiled whole. head is never written.
size_t fieldBytes(const std::string& tag, const uint8_t* table, size_t span) {
    auto u16 = [&](size_t at) {
        return at + 2 <= span ? size_t((table[at] << 8) | table[at + 1]) : 0;
    };
    const size_t os2Sizes[] = {78, 86, 96, 96, 96, 100};
    if (tag == "OS/2")
        return u16(0) < 6 ? os2Sizes[u16(0)] : 0;
    if (tag == "gasp")
        return span < 4 ? 0 : 4 + 4 * std::min(u16(2), (span - 4) / 4);
    if (tag == "hhea")
        return 36;
    return tag == "name" ? span : 0;
}

size_t spanOf(const TableRecord& record, size_t size) { // 0 for a table outside the file
    size_t span = 0;
    return tableSpan(record, size, span) ? span : 0;
}

bool isHead(const TableRecord& record, size_t span) { // holds checkSumAdjustment, at 8
    return std::strcmp(record.tag, "head") == 0 && span >= 12;
}

// Whether a table now holds its bytes as read but where writable says yes,
// or, for a tag whose object compiles whole tables, what an object compiles.
bool holdsItsBytes(const OTF& otf, const TableRecord& was, const uint8_t* data, size_t size,
                   const std::vector<bool>& writable, const uint8_t* now, size_t length) {
    const size_t span = spanOf(was, size);
    if (length == span && std::equal(now, now + length, data + (span ? was.offset : 0)))
        return true;
    // A font's object for the tag writes at each of its records, and a table
    // fonts share (the same tag, offset and length) takes what any of them
    // writes, so any object of the tag may have compiled it.
    bool whole = false;
    for (const auto& [key, object] : otf.tableObjects)
        whole |= std::get<0>(key) == was.tag && object->writesWholeTable();
    if (whole) {
        for (const auto& entry : otf.tableObjects)
            if (entry.second->writesWholeTable() &&
                serializedFields(*entry.second) == Bytes(now, now + length))
                return true;
        return false;
    }
    if (length != span)
        return false;
    for (size_t k = 0; k < length; ++k)
        if (now[k] != data[was.offset + k] && !writable[was.offset + k])
            return false;
    return true;
}

// What is wrong with out as the in-place write-out: the file as read but for
// writable bytes; every table whose bytes changed (head's apart from its
// adjustment) with a true checksum, every other one's as read; in a single
// font with a head, a changed file balanced by the adjustment.
const char* brokenInPlaceRule(const OTF& otf, const uint8_t* data, size_t size, const Bytes& out,
                              const std::vector<bool>& writable) {
    // The checksums and adjustments written, and the tables: in a hostile
    // file a table over one of the first, or a checksum inside a table or
    // across another's field, has no value that could stay true.
    std::vector<size_t> sums;
    std::vector<std::tuple<size_t, size_t, std::string>> tables; // [begin, end), tag
    for (const FontDirectory& directory : otf.fonts)
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            const size_t span = spanOf(record, size);
            sums.push_back(directory.offset + 12 + 16 * i + 4);
            tables.emplace_back(record.offset, record.offset + span, record.tag);
            if (!otf.isCollection() && isHead(record, span))
                sums.push_back(record.offset + 8);
        }
    auto overlap = [](size_t begin, size_t end, size_t from, size_t to) {
        return begin < to && from < end;
    };
    // The file's sum runs over aligned words: a head that lies off a word
    // boundary has no adjustment that could balance it.
    bool adjusted = false, unaligned = false;
    for (size_t font = 0; font < otf.fonts.size(); ++font)
        for (size_t i = 0; i < otf.fonts[font].tableRecords.size(); ++i) {
            const TableRecord& record = otf.fonts[font].tableRecords[i];
            const size_t span = spanOf(record, size), at = record.offset;
            const size_t field = otf.fonts[font].offset + 12 + 16 * i + 4;
            const bool head = isHead(record, span);
            adjusted |= head && !otf.isCollection();
            unaligned |= head && at % 4 != 0;
            bool hostile = span == 0;
            for (size_t sum : sums)
                hostile |= (overlap(at, at + span, sum, sum + 4) && !(head && sum == at + 8)) ||
                           (overlap(field, field + 4, sum, sum + 4) && sum != field);
            for (const auto& [begin, end, tag] : tables)
                hostile |= overlap(begin, end, field, field + 4);
            auto same = [&](size_t from, size_t to) {
                return std::equal(&out[at + from], &out[at + to], data + at + from);
            };
            const uint32_t now = getU32(out, field);
            const bool changed = head ? !same(0, 8) || !same(12, span) : !same(0, span);
            if (hostile || (!changed && std::equal(&out[field], &out[field] + 4, data + field)))
                continue;
            if (now != wordSum(out, at, span) - (head ? getU32(out, at + 8) : 0))
                return "in place, a changed table's checksum is true and any other's as read";
            // Where another table lies over part of it, or a table of another tag
            // over all of it, what that one writes wins there.
            bool overlaid = false;
            for (const auto& [begin, end, tag] : tables)
                overlaid |= overlap(begin, end, at, at + span) &&
                            (begin != at || end != at + span || tag != record.tag);
            if (!overlaid && !holdsItsBytes(otf, record, data, size, writable, &out[at], span))
                return "in place, a changed whole table holds what its object compiles";
        }
    if (adjusted && !unaligned && !std::equal(out.begin(), out.end(), data) &&
        wordSum(out, 0, out.size()) != 0xB1B0AFBA)
        return "in place, a changed single font's adjustment balances the file";
    return nullptr;
}

} // namespace

std::vector<bool> writableBytes(const OTF& otf, const uint8_t* image, size_t imageSize) {
    std::vector<bool> writable(imageSize, false);
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        const FontDirectory& directory = otf.fonts[font];
        for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
            const TableRecord& record = directory.tableRecords[i];
            const size_t span = spanOf(record, imageSize);
            allow(writable, directory.offset + 12 + 16 * i + 4, 4);
            if (!otf.isCollection() && isHead(record, span))
                allow(writable, record.offset + 8, 4);
            // The object the tag stands for writes at every record of the tag
            // whose span holds its fields; what it writes it read from its own table.
            const TableRecord* read = directory.record(record.tag);
            fontObject* object = nullptr;
            if (read == nullptr || !otf.findTable(record.tag, object, font) || object == nullptr)
                continue;
            const size_t fields =
                fieldBytes(record.tag, image + read->offset, spanOf(*read, imageSize));
            if (std::strcmp(record.tag, "name") == 0 || fields <= span)
                allow(writable, record.offset, std::min(fields, span));
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

const char* brokenRelaidRule(const OTF& otf, const uint8_t* data, size_t size,
                             const std::vector<uint8_t>& out) {
    const bool collection = otf.isCollection();
    if (out.size() % 4 != 0 || out.size() < 12)
        return "a re-laid file is whole words";
    const std::vector<bool> writable = writableBytes(otf, data, size);
    std::vector<std::pair<size_t, size_t>> held; // [begin, end) of what the file holds
    auto u16 = [&](size_t at) {
        return at + 2 <= out.size() ? size_t((out[at] << 8) | out[at + 1]) : 0;
    };
    auto u32 = [&](size_t at) { return at + 4 <= out.size() ? (u16(at) << 16) | u16(at + 2) : 0; };
    std::vector<size_t> directories = {0};
    bool hasHead = false, needed = false; // needed: a table went or changed its length
    if (collection) {
        if (u32(8) != otf.fonts.size())
            return "a re-laid collection keeps its font count";
        directories.clear();
        const size_t offsetsEnd = 12 + 4 * otf.fonts.size();
        const bool signed_ = data[4] == 0 && data[5] == 2;
        held.emplace_back(0, offsetsEnd + (signed_ ? 12 : 0));
        if (signed_) // the signature block, wherever its fields say
            held.emplace_back(u32(offsetsEnd + 8), u32(offsetsEnd + 8) + u32(offsetsEnd + 4));
        for (size_t font = 0; font < otf.fonts.size(); ++font)
            directories.push_back(u32(12 + 4 * font));
    }
    for (size_t font = 0; font < otf.fonts.size(); ++font) {
        const FontDirectory& asRead = otf.fonts[font];
        const size_t at = directories[font];
        size_t listed = 0;
        for (size_t i = 0; i < asRead.tableRecords.size(); ++i)
            listed += asRead.lists(i);
        needed |= listed != asRead.tableRecords.size();
        if (at % 4 != 0 || u16(at + 4) != listed || at + 12 + 16 * listed > out.size())
            return "each re-laid directory lists the records still listed";
        held.emplace_back(at, at + 12 + 16 * listed);
        size_t record = at + 12 - 16;
        for (size_t i = 0; i < asRead.tableRecords.size(); ++i) {
            if (!asRead.lists(i))
                continue;
            record += 16;
            const TableRecord& was = asRead.tableRecords[i];
            const size_t offset = u32(record + 8), length = u32(record + 12);
            if (std::memcmp(&out[record], was.tag, 4) != 0 || offset % 4 != 0 ||
                offset + length > out.size())
                return "each re-laid record keeps its tag, aligned inside the file";
            if (!holdsItsBytes(otf, was, data, size, writable, out.data() + offset, length))
                return "a re-laid table holds its bytes as read but for its objects' fields, or "
                       "a whole table as its object compiles it";
            needed |= length != spanOf(was, size);
            held.emplace_back(offset, offset + length);
            const bool head = isHead(was, length);
            hasHead |= font == 0 && head;
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
    return needed ? nullptr : "a file is re-laid only once a table went or changed its length";
}

const char* brokenWriteOut(const OTF& otf, const uint8_t* data, size_t size, const Bytes& out) {
    const std::vector<bool> writable = writableBytes(otf, data, size);
    if (out.size() == size && !strayChange(data, out.data(), size, writable))
        return brokenInPlaceRule(otf, data, size, out, writable);
    return brokenRelaidRule(otf, data, size, out);
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
    if (writtenOut(otf, input) != input)
        return "an unedited write-out is byte-identical";
    const Values asRead(otf);
    editLikeThePanes(otf, edits);
    Bytes out = writtenOut(otf, input);
    if (out.size() != size)
        return "edited fields are written in place";
    if (const char* rule = brokenWriteOut(otf, data, size, out))
        return rule;
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
    auto removable = std::find_if(
        directory.tableRecords.begin(), directory.tableRecords.end(),
        [&](const TableRecord& record) { return !otf.removalOf(record.tag, font).tags.empty(); });
    if (total > 16 * size + (1 << 20))
        return nullptr;

    // Renamed: in place or re-laid, as the written file shows.
    renameLikeThePane(otf, edits);
    if (const char* rule = brokenWriteOut(otf, data, size, writtenOut(otf, input)))
        return rule;
    asRead.setBack();
    if (writtenOut(otf, input) != input)
        return "a rename set back is written as the file was read";
    if (removable == directory.tableRecords.end())
        return nullptr;
    const TableRemoval group = otf.removalOf(removable->tag, font);
    if (!otf.removeTable(removable->tag, font) || !otf.hasUnsavedEdits())
        return "a removable table is removed, and that is an unsaved edit";
    for (const std::string& tag : group.tags)
        if (otf.fonts[font].record(tag.c_str()) != nullptr)
            return "a removal takes every table of its group";
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            editLikeThePanes(otf, edits);
        if (const char* rule = brokenWriteOut(otf, data, size, writtenOut(otf, input)))
            return rule;
    }
    return nullptr;
}
