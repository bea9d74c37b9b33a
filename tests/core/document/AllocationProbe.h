#pragma once

#include <cstddef>

// Watches the program's allocations through a replaced global operator new:
// while a probe lives it records the largest single request, and the most
// bytes held at once by allocations made since it began.
class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    size_t Largest() const;
    size_t PeakHeld() const;
    size_t Held() const;
};
