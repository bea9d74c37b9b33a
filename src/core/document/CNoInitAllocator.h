#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

// An allocator that leaves the elements a vector grows by as they are
// (default-initialized, so bytes are not zero-filled): for buffers that are
// written whole right after they are sized. assign(n, value) and
// resize(n, value) still fill.
template <class T> class CNoInitAllocator : public std::allocator<T> {
public:
    template <class U> struct rebind {
        using other = CNoInitAllocator<U>;
    };

    CNoInitAllocator() noexcept = default;
    template <class U> CNoInitAllocator(const CNoInitAllocator<U>&) noexcept {}

    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) { ::new (p) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) { ::new (p) U(std::forward<Args>(args)...); }
};

// Bytes of files and pixels.
using CByteVector = std::vector<uint8_t, CNoInitAllocator<uint8_t>>;
