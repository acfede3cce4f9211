#include "tests/support/guarded_image.h"

#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FONTAB_ASAN_GUARDS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(FONTAB_ASAN_GUARDS)
#define FONTAB_ASAN_GUARDS 1
#endif
#ifdef FONTAB_ASAN_GUARDS
#include <sanitizer/asan_interface.h>
#endif

namespace {
// Different patterns before and after, so a shifted copy cannot match.
constexpr uint8_t kFrontPattern = 0xA5;
constexpr uint8_t kBackPattern = 0x5A;
} // namespace

GuardedImage::GuardedImage(const Bytes& bytes) : GuardedImage(bytes.data(), bytes.size()) {}

GuardedImage::GuardedImage(const uint8_t* bytes, size_t size)
    : size_(size), block_(new uint8_t[size + 2 * kGuardSize]) {
    std::memset(block_.get(), kFrontPattern, kGuardSize);
    if (size != 0)
        std::memcpy(data(), bytes, size);
    std::memset(data() + size, kBackPattern, kGuardSize);
    poisonGuards(true);
}

GuardedImage::~GuardedImage() {
    poisonGuards(false);
}

bool GuardedImage::guardsIntact() const {
    poisonGuards(false);
    bool intact = true;
    for (size_t i = 0; i < kGuardSize; ++i)
        if (block_[i] != kFrontPattern || data()[size_ + i] != kBackPattern)
            intact = false;
    poisonGuards(true);
    return intact;
}

void GuardedImage::poisonGuards([[maybe_unused]] bool poison) const {
#ifdef FONTAB_ASAN_GUARDS
    if (poison) {
        ASAN_POISON_MEMORY_REGION(block_.get(), kGuardSize);
        ASAN_POISON_MEMORY_REGION(data() + size_, kGuardSize);
    } else {
        ASAN_UNPOISON_MEMORY_REGION(block_.get(), kGuardSize);
        ASAN_UNPOISON_MEMORY_REGION(data() + size_, kGuardSize);
    }
#endif
}
