// Edits made the way the editor panes make them, for tests that must show
// that no edit can carry a write outside the image.
#pragma once

#include <cstddef>
#include <cstdint>

class OTF;
class gaspHeader;
class OS2;

struct ModelEdits {
    size_t gaspRow = 0; // counted from the smallest rangeMaxPPEM, taken modulo the count
    uint16_t gaspMaxPPEM = 0;
    uint16_t gaspFlags = 0; // only the hinting and smoothing bits are kept
    uint16_t weightClass = 700;
    uint16_t widthClass = 3;
    uint8_t panoseWeight = 8;
};

// Replaces one range as the gasp pane does after its dialog: a size held by
// another range is refused (false, nothing changed); otherwise the old entry
// is erased and the new one inserted with the two flag bits.
bool replaceGaspRange(gaspHeader& gasp, size_t row, uint16_t maxPPEM, uint16_t flags);

// Stores the three values the OS/2 pane edits, valid object or not.
void editOS2(OS2& os2, uint16_t weightClass, uint16_t widthClass, uint8_t panoseWeight);

// Finds "gasp" and "OS/2" through findTable, as the panes do, and edits the
// objects found. Returns how many objects were edited.
int editThroughModels(OTF& otf, const ModelEdits& edits);
