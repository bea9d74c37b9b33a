#include "CBigBuffers.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapped = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMapped = false;
#else
constexpr bool kMapped = true;
#endif
#else
constexpr bool kMapped = true;
#endif

constexpr size_t kPage = size_t{2} << 20;

bool Mapped(size_t bytes)
{
    return kMapped && bytes >= kPage;
}

size_t Rounded(size_t bytes)
{
    return (bytes + kPage - 1) & ~(kPage - 1);
}

} // namespace

void* CBigBuffers::Allocate(size_t bytes)
{
    if (!Mapped(bytes)) {
        return ::operator new(bytes);
    }
    if (bytes > SIZE_MAX - 2 * kPage) {
        throw std::bad_alloc();
    }
    // Map a page more than needed and keep the part that starts on a page
    // boundary.
    const size_t size = Rounded(bytes);
    void* p = ::mmap(nullptr, size + kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto at = reinterpret_cast<uintptr_t>(p);
    const uintptr_t start = (at + kPage - 1) & ~uintptr_t{kPage - 1};
    if (start > at) {
        ::munmap(p, start - at);
    }
    if (start + size < at + size + kPage) {
        ::munmap(reinterpret_cast<void*>(start + size), at + size + kPage - (start + size));
    }
    ::madvise(reinterpret_cast<void*>(start), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

void CBigBuffers::Free(void* p, size_t bytes) noexcept
{
    if (p == nullptr) {
        return;
    }
    if (!Mapped(bytes)) {
        ::operator delete(p);
        return;
    }
    ::munmap(p, Rounded(bytes));
}
