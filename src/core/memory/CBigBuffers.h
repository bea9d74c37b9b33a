#pragma once

#include <cstddef>

// Memory of big buffers (pictures, frames, files): mapped from the system in
// whole 2 MiB pages where it offers them, so that a buffer is brought in by
// a few page faults instead of thousands. Small requests, and every request
// in builds with AddressSanitizer (whose checks need its own allocator), go
// to operator new.
class CBigBuffers {
public:
    // Throws std::bad_alloc when there is no memory.
    static void* Allocate(size_t bytes);
    // `bytes` as given to Allocate.
    static void Free(void* p, size_t bytes) noexcept;
};
