#include "tests/support/model_edits.h"

#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"

#include <iterator>

bool replaceGaspRange(gaspHeader& gasp, size_t row, uint16_t maxPPEM, uint16_t flags) {
    if (gasp.ranges.empty())
        return false;
    auto entry =
        std::next(gasp.ranges.begin(), static_cast<std::ptrdiff_t>(row % gasp.ranges.size()));
    if (maxPPEM != entry->first && gasp.ranges.count(maxPPEM) != 0)
        return false;
    gasp.ranges.erase(entry);
    gasp.ranges[maxPPEM] = static_cast<uint16_t>(flags & (GASP_GRIDFIT | GASP_DOGRAY));
    return true;
}

void editOS2(OS2& os2, uint16_t weightClass, uint16_t widthClass, uint8_t panoseWeight) {
    os2.usWeightClass = weightClass;
    os2.usWidthClass = widthClass;
    os2.panose[kPanoseWeightIndex] = panoseWeight;
}

int editThroughModels(OTF& otf, const ModelEdits& edits) {
    int edited = 0;
    fontObject* object = nullptr;
    if (otf.findTable("gasp", object)) {
        if (auto* gasp = dynamic_cast<gaspHeader*>(object)) {
            replaceGaspRange(*gasp, edits.gaspRow, edits.gaspMaxPPEM, edits.gaspFlags);
            ++edited;
        }
    }
    object = nullptr;
    if (otf.findTable("OS/2", object)) {
        if (auto* os2 = dynamic_cast<OS2*>(object)) {
            editOS2(*os2, edits.weightClass, edits.widthClass, edits.panoseWeight);
            ++edited;
        }
    }
    return edited;
}
