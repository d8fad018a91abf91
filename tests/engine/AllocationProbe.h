#pragma once

#include <cstddef>

// Watches the heap of the whole test executable: AllocationProbe.cpp replaces the
// global operator new and delete, so every allocation made through them is seen.
// From construction on, a probe records the largest single request and how far
// the live bytes rose above where they stood at construction. One probe at a time.
class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // Bytes of the largest single request seen.
    std::size_t LargestAllocation() const;
    // The highest the live bytes (as the allocator counts them) rose above the start.
    std::size_t PeakLiveBytes() const;

private:
    long long m_start;
};
