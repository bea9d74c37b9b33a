#include "LinearMorphing.h"

#include "CRowPool.h"

namespace {

// Bytes per slice handed to a thread.
constexpr size_t kSlice = 64 * 1024;

} // namespace

int32_t LinearMorphing::Morph(CBitmap& out, int32_t k, CDocument*)
{
    if (!CanMakeFrame(k)) {
        return 0;
    }
    const size_t bytes = FrameBytes();
    const double n = m_fSteps;
    const double kf = static_cast<float>(k);
    const MorphKernelPath path = GetKernelPath();

    DissolveJob job{};
    job.source = Pixels(0);
    job.target = Pixels(1);
    job.out = FrameTarget(out, bytes);
    if (GetOptions().ease == CMorphOptions::Ease::kLinear) {
        job.weightSource = (n - kf) / n;
        job.weightTarget = kf / n;
    } else {
        const double t = Fraction(k);
        job.weightSource = 1.0 - t;
        job.weightTarget = t;
    }
    if (DissolveUsesTable(path)) {
        m_table.resize(65536 + 4);
        uint8_t* table = m_table.data();
        const bool whole = Pool().Run(
            256, 16,
            [&job, table](int32_t first, int32_t last, int32_t) {
                for (int32_t t = first; t < last; ++t) {
                    uint8_t* row = table + (static_cast<size_t>(t) << 8);
                    for (int32_t s = 0; s < 256; ++s) {
                        row[s] =
                            static_cast<uint8_t>(static_cast<int32_t>(s * job.weightSource + t * job.weightTarget));
                    }
                }
            },
            Ticket());
        if (!whole) {
            return kAbandoned;
        }
        job.table = table;
    }

    const DissolveKernel kernel = SelectDissolveKernel(path);
    const auto slices = static_cast<int32_t>((bytes + kSlice - 1) / kSlice);
    const bool whole = Pool().Run(
        slices, 1,
        [&job, kernel, bytes](int32_t first, int32_t last, int32_t) {
            const size_t begin = static_cast<size_t>(first) * kSlice;
            const size_t end = static_cast<size_t>(last) * kSlice;
            kernel(job, begin, end < bytes ? end : bytes);
        },
        Ticket());
    FinishFrame(out, job.out, bytes);
    return whole ? 0 : kAbandoned;
}
