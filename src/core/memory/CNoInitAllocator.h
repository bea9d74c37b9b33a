#pragma once

#include "CBigBuffers.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

// An allocator that leaves the elements a vector grows by as they are
// (default-initialized, so bytes are not zero-filled): for buffers that are
// written whole right after they are sized. assign(n, value) and
// resize(n, value) still fill. Memory comes from CBigBuffers.
template <class T> class CNoInitAllocator {
public:
    using value_type = T;

    CNoInitAllocator() noexcept = default;
    template <class U> CNoInitAllocator(const CNoInitAllocator<U>&) noexcept {}

    T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(CBigBuffers::Allocate(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept { CBigBuffers::Free(p, n * sizeof(T)); }

    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) { ::new (p) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) { ::new (p) U(std::forward<Args>(args)...); }

    template <class U> bool operator==(const CNoInitAllocator<U>&) const noexcept { return true; }
};

// Bytes of files and pixels.
using CByteVector = std::vector<uint8_t, CNoInitAllocator<uint8_t>>;
