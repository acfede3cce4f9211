#include "bench/heap_counter.h"

#include <cstdlib>
#include <new>

// The replaced allocation functions below are process-wide by nature, so the
// counters they keep are too. The benchmark is single-threaded.
namespace {

size_t bytesInUse = 0;
size_t peakBytes = 0;

// Each block carries its size in front of it, so a delete without a size
// still knows what it gives back. The header keeps the block's alignment.
constexpr size_t kHeaderSize = alignof(std::max_align_t);

void* allocate(size_t size) {
    void* block = std::malloc(size + kHeaderSize);
    if (block == nullptr)
        return nullptr;
    *static_cast<size_t*>(block) = size;
    bytesInUse += size;
    if (bytesInUse > peakBytes)
        peakBytes = bytesInUse;
    return static_cast<char*>(block) + kHeaderSize;
}

void release(void* pointer) {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeaderSize;
    bytesInUse -= *static_cast<size_t*>(block);
    std::free(block);
}

void* allocateOrThrow(size_t size) {
    void* pointer = allocate(size);
    if (pointer == nullptr)
        throw std::bad_alloc();
    return pointer;
}

} // namespace

size_t heapBytesInUse() {
    return bytesInUse;
}
size_t heapPeakBytes() {
    return peakBytes;
}
void resetHeapPeak() {
    peakBytes = bytesInUse;
}

void* operator new(size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](size_t size) {
    return allocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
