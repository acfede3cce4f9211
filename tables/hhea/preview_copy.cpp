#include "tables/hhea/preview_copy.h"

#include "font/otf.h"
#include "font/table_tags.h"
#include "font/write_out.h"
#include "tables/name/name_edit.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The names a family is looked up by: the family, the typographic family
// and the WWS family.
constexpr uint16_t kFamilyIds[] = {1, 16, 21};

} // namespace

bool writePreviewCopy(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                      const std::u16string& privateFamily, ByteSink& sink) {
    NamingTable* name = otf.tableOf<NamingTable>(kNameTag, font);
    if (name == nullptr || !name->valid)
        return false;
    // The copy is read from the object's compiled bytes, so the object
    // itself is never touched.
    const std::vector<uint8_t> compiled = serializedFields(*name);
    NamingTable renamed(compiled.data(), compiled.size());
    size_t families = 0;
    for (size_t i = 0; i < renamed.records.size(); ++i)
        if (std::find(std::begin(kFamilyIds), std::end(kFamilyIds), renamed.records[i].nameID) !=
            std::end(kFamilyIds)) {
            const NameEdit edit = storeName(renamed, i, privateFamily);
            families += edit == NameEdit::stored || edit == NameEdit::unchanged;
        }
    return families != 0 &&
           writeFontAlone(otf, image, imageSize, font, {{kNameTag, &renamed}}, sink);
}
