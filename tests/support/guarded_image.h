// A writable copy of a font image with guard bytes on both sides, to show
// any write that strays past either end. Under AddressSanitizer the guards
// are also poisoned, so a read of them stops the program at once.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class GuardedImage {
  public:
    explicit GuardedImage(const Bytes& bytes);
    GuardedImage(const uint8_t* bytes, size_t size);
    GuardedImage(const GuardedImage&) = delete;
    GuardedImage& operator=(const GuardedImage&) = delete;
    ~GuardedImage();

    uint8_t* data() { return block_.get() + kGuardSize; }
    const uint8_t* data() const { return block_.get() + kGuardSize; }
    size_t size() const { return size_; }
    Bytes bytes() const { return Bytes(data(), data() + size_); }

    // True while every guard byte still holds its pattern.
    bool guardsIntact() const;

    static constexpr size_t kGuardSize = 64;

  private:
    void poisonGuards(bool poison) const;

    size_t size_;
    std::unique_ptr<uint8_t[]> block_;
};
