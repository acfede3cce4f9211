// Base of every table object and of the container itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class fontObject {
  public:
    fontObject() = default;
    fontObject(const fontObject&) = delete;
    fontObject& operator=(const fontObject&) = delete;
    virtual ~fontObject() = default;

    // Writes the object's fields into the table that starts at tableStart.
    // spanLength is how many bytes of that table lie inside the file image;
    // nothing is ever written at or past tableStart + spanLength.
    virtual bool writeTable(uint8_t* tableStart, size_t spanLength) = 0;

    // How many bytes from its table's start writeTable writes now: for most
    // models the bytes the parse read. 0 for an object that writes nothing.
    // Every model must say, so there is no default.
    virtual size_t writeExtent() const = 0;

    // True for a model that writes its whole table, compiled anew, so that
    // writeExtent is the table's length and may differ from the length read.
    virtual bool writesWholeTable() const { return false; }

    // 1 when the object was built from the image and may write itself back.
    uint8_t valid = 0;
};

// The object's fields written onto zeros: two calls compare equal exactly
// when the fields are the same. Empty when the object writes nothing.
std::vector<uint8_t> serializedFields(fontObject& object);
