#include "font/table_models.h"

#include "font/table_tags.h"

#include "tables/gasp/gasp_header.h"
#include "tables/head/font_header.h"
#include "tables/hhea/hhea_header.h"
#include "tables/name/naming_table.h"
#include "tables/os2/os2.h"

#include <cstring>
#include <iterator>

namespace {

template <class T> std::unique_ptr<fontObject> make(const uint8_t* tableStart, size_t spanLength) {
    return std::make_unique<T>(tableStart, spanLength);
}

// For a model whose table is no use unless it is read whole: a table it
// cannot read gets no object, as if the tag had no model.
template <class T>
std::unique_ptr<fontObject> makeWhenRead(const uint8_t* tableStart, size_t spanLength) {
    auto object = std::make_unique<T>(tableStart, spanLength);
    if (!object->valid)
        return nullptr;
    return object;
}

const TableModel kTableModels[] = {
    {kOS2Tag, make<OS2>},
    {kGaspTag, make<gaspHeader>},
    {kNameTag, makeWhenRead<NamingTable>},
    {kHheaTag, makeWhenRead<hheaHeader>},
    {kHeadTag, makeWhenRead<fontHeader>},
};

} // namespace

const TableModel* tableModelFor(const char* tag) {
    for (const TableModel& model : kTableModels)
        if (std::strcmp(model.tag, tag) == 0)
            return &model;
    return nullptr;
}
