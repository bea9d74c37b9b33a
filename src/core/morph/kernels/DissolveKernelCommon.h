#pragma once

// Pieces shared by the whole-number cross-dissolve kernels. Included only by
// the kernel sources, each compiled for its own instruction set; internal
// linkage throughout.

#include "MorphKernels.h"

namespace {

// The bytes of a slice's tail, one at a time.
inline void DissolveWholeTail(const DissolveJob& job, size_t first, size_t last)
{
    for (size_t i = first; i < last; ++i) {
        const uint32_t m = uint32_t{job.source[i]} * job.stepsLeft + uint32_t{job.target[i]} * job.stepsDone;
        job.out[i] = static_cast<uint8_t>(((m * job.divMagic) >> 16) >> job.divShift);
    }
}

} // namespace
