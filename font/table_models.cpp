#include "font/table_models.h"

#include "font/table_tags.h"

#include "tables/gasp/gasp_header.h"
#include "tables/name/naming_table.h"
#include "tables/os2/os2.h"

#include <cstring>
#include <iterator>

namespace {

template <class T> std::unique_ptr<fontObject> make(const uint8_t* tableStart, size_t spanLength) {
    return std::make_unique<T>(tableStart, spanLength);
}

// For a model that refuses a table as a whole: no object at all then.
template <class T>
std::unique_ptr<fontObject> makeWhole(const uint8_t* tableStart, size_t spanLength) {
    auto object = std::make_unique<T>(tableStart, spanLength);
    return object->valid ? std::move(object) : nullptr;
}

const TableModel kTableModels[] = {
    {kOS2Tag, make<OS2>},
    {kGaspTag, make<gaspHeader>},
    {kNameTag, makeWhole<NamingTable>},
};

} // namespace

const TableModel* tableModelFor(const char* tag) {
    for (const TableModel& model : kTableModels)
        if (std::strcmp(model.tag, tag) == 0)
            return &model;
    return nullptr;
}
