#include "font/table_record.h"

bool tableSpan(const TableRecord& record, size_t imageSize, size_t& spanLength) {
    if (record.offset > imageSize)
        return false;
    size_t available = imageSize - record.offset;
    spanLength = record.length < available ? record.length : available;
    return true;
}
