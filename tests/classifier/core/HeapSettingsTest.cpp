#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/HeapSettings.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_ASAN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_ASAN_HEAP 1
#endif
#endif

namespace {

#if defined(__GLIBC__)
// Whether a block of `bytes` is mapped on its own rather than taken from the heap.
bool MappedOnItsOwn(std::size_t bytes) {
    const std::size_t mappedBefore = mallinfo2().hblks;
    void* volatile block = std::malloc(bytes);
    std::memset(block, 1, 64);
    const bool mapped = mallinfo2().hblks > mappedBefore;
    std::free(block);
    return mapped;
}
#endif

}  // namespace

// Left to itself glibc moves its thresholds up to the largest block freed; the
// program's settings must stay where start-up put them whatever it frees.
TEST(HeapSettings, ABigFreedBlockDoesNotMoveTheThresholds) {
#if !defined(__GLIBC__)
    GTEST_SKIP() << "the heap's thresholds are glibc's";
#elif defined(CORVANE_ASAN_HEAP)
    GTEST_SKIP() << "AddressSanitizer's allocator stands in for glibc's heap here";
#else
    KeepHeapThresholdsSteady();
    EXPECT_FALSE(MappedOnItsOwn(std::size_t{2} << 20));  // a window's grab: from the heap
    // Freeing a mapped block of 8 MiB would raise a free-moving threshold to it.
    void* volatile big = std::malloc(std::size_t{8} << 20);
    std::memset(big, 1, 64);
    std::free(big);
    EXPECT_TRUE(MappedOnItsOwn(std::size_t{6} << 20));
    EXPECT_FALSE(MappedOnItsOwn(std::size_t{2} << 20));
#endif
}
