#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};
// Bytes held, signed: blocks from before the probe may be freed while it
// watches.
std::atomic<long long> g_held{0};
std::atomic<long long> g_peak{0};

// Every block carries its size in a header of 16 bytes (keeping the
// alignment of new), so that freeing it can be counted.
constexpr size_t kHeader = 16;

void* Allocate(size_t size)
{
    if (g_armed.load(std::memory_order_relaxed)) {
        size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<size_t*>(block) = size;
    const long long held = g_held.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
    long long peak = g_peak.load(std::memory_order_relaxed);
    while (held > peak && !g_peak.compare_exchange_weak(peak, held)) {
    }
    return block + kHeader;
}

void Free(void* p)
{
    if (p == nullptr) {
        return;
    }
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    g_held.fetch_sub(static_cast<long long>(*reinterpret_cast<size_t*>(block)));
    std::free(block);
}
} // namespace

AllocationProbe::AllocationProbe()
{
    g_largest = 0;
    g_held = 0;
    g_peak = 0;
    g_armed = true;
}

AllocationProbe::~AllocationProbe()
{
    g_armed = false;
}

size_t AllocationProbe::Largest() const
{
    return g_largest.load();
}

size_t AllocationProbe::PeakHeld() const
{
    return static_cast<size_t>(g_peak.load() > 0 ? g_peak.load() : 0);
}

size_t AllocationProbe::Held() const
{
    return static_cast<size_t>(g_held.load() > 0 ? g_held.load() : 0);
}

void* operator new(size_t size)
{
    return Allocate(size);
}
void* operator new[](size_t size)
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    Free(p);
}
void operator delete[](void* p) noexcept
{
    Free(p);
}
void operator delete(void* p, size_t) noexcept
{
    Free(p);
}
void operator delete[](void* p, size_t) noexcept
{
    Free(p);
}
