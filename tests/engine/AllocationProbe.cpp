#include "tests/engine/AllocationProbe.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// The allocator's own size of each block is used on both sides, so a block that
// another operator new handed out and this delete frees (or the other way round)
// cannot upset the count by more than its own size.
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakLiveBytes{0};
std::atomic<std::size_t> g_largest{0};
std::atomic<bool> g_watching{false};

template <typename T>
void Raise(std::atomic<T>& highest, T value) {
    T seen = highest.load();
    while (value > seen && !highest.compare_exchange_weak(seen, value)) {
    }
}

void* Allocate(std::size_t size) noexcept {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) return nullptr;
    const long long live = g_liveBytes += static_cast<long long>(malloc_usable_size(block));
    if (g_watching) {
        Raise(g_peakLiveBytes, live);
        Raise(g_largest, size);
    }
    return block;
}

void* AllocateOrThrow(std::size_t size) {
    for (;;) {
        if (void* block = Allocate(size)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void Release(void* block) noexcept {
    if (block == nullptr) return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

}  // namespace

AllocationProbe::AllocationProbe() : m_start(g_liveBytes.load()) {
    g_peakLiveBytes = m_start;
    g_largest = 0;
    g_watching = true;
}

AllocationProbe::~AllocationProbe() {
    g_watching = false;
}

std::size_t AllocationProbe::LargestAllocation() const {
    return g_largest.load();
}

std::size_t AllocationProbe::PeakLiveBytes() const {
    const long long rise = g_peakLiveBytes.load() - m_start;
    return rise > 0 ? static_cast<std::size_t>(rise) : 0;
}

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void operator delete(void* block) noexcept {
    Release(block);
}

void operator delete[](void* block) noexcept {
    Release(block);
}

void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    Release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    Release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
