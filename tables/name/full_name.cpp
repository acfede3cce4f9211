#include "tables/name/full_name.h"

#include "font/table_tags.h"
#include "tables/name/naming_table.h"

std::u16string currentFullName(const OTF& otf, const uint8_t* image, size_t imageSize,
                               size_t font) {
    fontObject* object = nullptr;
    if (font >= otf.fonts.size() || !otf.findTable(kNameTag, object, font))
        return {};
    if (const NamingTable* table = dynamic_cast<const NamingTable*>(object))
        return fullFontName(*table);
    const TableRecord* record = otf.fonts[font].record(kNameTag);
    size_t spanLength;
    if (image == nullptr || !tableSpan(*record, imageSize, spanLength))
        return {};
    return fullFontName(image + record->offset, spanLength);
}
