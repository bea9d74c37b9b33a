// Cross-dissolve kernel of the baseline instruction set.
#include "MorphKernels.h"

void DissolveBaseline(const DissolveJob& job, size_t first, size_t last)
{
    const double ws = job.weightSource;
    const double wt = job.weightTarget;
    const uint8_t* s = job.source;
    const uint8_t* t = job.target;
    uint8_t* o = job.out;
    // With 0 <= k <= N the sum lies in [0, 256): the conversion is in range.
    for (size_t i = first; i < last; ++i) {
        o[i] = static_cast<uint8_t>(static_cast<int32_t>(s[i] * ws + t[i] * wt));
    }
}
