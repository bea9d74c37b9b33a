#include "LinearMorphing.h"

#include "CRowPool.h"

#include <algorithm>
#include <cstring>

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

    DissolveJob job{};
    job.source = Pixels(0);
    job.target = Pixels(1);
    job.out = FrameTarget(out, bytes);
    if (GetOptions().colour.IsLinear()) {
        job.weightSource = (n - kf) / n;
        job.weightTarget = kf / n;
    } else {
        const double t = ColourFraction(k);
        job.weightSource = 1.0 - t;
        job.weightTarget = t;
    }
    const auto slices = static_cast<int32_t>((bytes + kSlice - 1) / kSlice);
    bool whole = true;
    // The first and the last frame weigh one picture by 1 and the other by
    // 0, exactly: they are copies.
    if ((job.weightSource == 1.0 && job.weightTarget == 0.0) || (job.weightSource == 0.0 && job.weightTarget == 1.0)) {
        const uint8_t* from = job.weightSource == 1.0 ? job.source : job.target;
        whole = Pool().Run(
            slices, 1,
            [&job, from, bytes](int32_t first, int32_t last, int32_t) {
                const size_t begin = static_cast<size_t>(first) * kSlice;
                const size_t end = std::min(static_cast<size_t>(last) * kSlice, bytes);
                std::memcpy(job.out + begin, from + begin, end - begin);
            },
            Ticket());
    } else {
        const MorphKernelPath path = GetKernelPath();
        DissolveForm form = DissolveForm::kDoubles;
        if (DissolveTakesWholeNumbers(path)) {
            switch (m_setup.Prepare(m_fSteps, k, job)) {
            case CDissolveSetup::Form::kWhole:
                form = DissolveForm::kWhole;
                break;
            case CDissolveSetup::Form::kCorrected:
                form = DissolveForm::kCorrected;
                break;
            case CDissolveSetup::Form::kTable:
                form = DissolveForm::kTable;
                break;
            }
        }
        const DissolveKernel kernel = SelectDissolveKernel(path, form);
        if (DissolveKernelReadsTable(kernel)) {
            whole = Pool().Run(
                256, 16,
                [this, &job](int32_t first, int32_t last, int32_t) { m_setup.FillTableRows(job, first, last); },
                Ticket());
            if (!whole) {
                return kAbandoned;
            }
        }
        whole = Pool().Run(
            slices, 1,
            [&job, kernel, bytes](int32_t first, int32_t last, int32_t) {
                const size_t begin = static_cast<size_t>(first) * kSlice;
                const size_t end = static_cast<size_t>(last) * kSlice;
                kernel(job, begin, end < bytes ? end : bytes);
            },
            Ticket());
    }
    FinishFrame(out, job.out, bytes);
    return whole ? 0 : kAbandoned;
}
