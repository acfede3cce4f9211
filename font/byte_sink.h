// Where a write-out's bytes go, in order: a file, or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Appends count bytes; false once anything could not be written.
    virtual bool write(const uint8_t* bytes, size_t count) = 0;
    // The whole length, told before the first byte when the writer knows it.
    virtual void expectLength(size_t) {}
};

// Keeps what is written, for a write-out held in memory.
class ByteVectorSink : public ByteSink {
  public:
    bool write(const uint8_t* bytes, size_t count) override {
        this->bytes.insert(this->bytes.end(), bytes, bytes + count);
        return true;
    }
    // Room for exactly the file: no spare capacity, no copy on the way.
    void expectLength(size_t length) override { bytes.reserve(bytes.size() + length); }
    std::vector<uint8_t> bytes;
};
