#include "CFramePipeline.h"

#include <condition_variable>
#include <mutex>
#include <new>

CFramePipeline::CFramePipeline(Compute compute) : m_compute(std::move(compute)) {}

bool CFramePipeline::ComputeFrame(int32_t k, CBitmap& out, const CCancelToken::Ticket& ticket, bool& outOfMemory)
{
    outOfMemory = false;
    try {
        return m_compute(k, out, ticket);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
        return false;
    }
}

CFramePipeline::Outcome CFramePipeline::Run(const std::vector<int32_t>& plan, const Write& write,
                                            CCancelToken::Ticket ticket)
{
    Outcome outcome;
    if (plan.empty()) return outcome;
    int current = 0;
    bool outOfMemory = false;
    bool computed = ComputeFrame(plan.front(), m_frames[current], ticket, outOfMemory);

    // The frame computed on the pipeline's thread meanwhile.
    std::mutex mutex;
    std::condition_variable ready;
    bool nextDone = false;
    bool nextComputed = false;
    bool nextOutOfMemory = false;
    const auto waitForNext = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [&] { return nextDone; });
    };

    for (size_t i = 0; i < plan.size(); ++i) {
        if (outOfMemory) {
            outcome.outOfMemory = true;
            outcome.failedFrame = plan[i];
            break;
        }
        if (!computed || ticket.IsAbandoned()) {
            outcome.cancelled = true;
            break;
        }
        const bool nextDiffers = i + 1 < plan.size() && plan[i + 1] != plan[i];
        if (nextDiffers) {
            nextDone = false;
            m_thread.Post([&, k = plan[i + 1], out = &m_frames[1 - current]] {
                bool lacking = false;
                const bool made = ComputeFrame(k, *out, ticket, lacking);
                std::lock_guard<std::mutex> lock(mutex);
                nextComputed = made;
                nextOutOfMemory = lacking;
                nextDone = true;
                ready.notify_one();
            });
        }
        bool written = false;
        try {
            written = write(i, plan[i], m_frames[current]);
        } catch (...) {
            // The next frame uses what goes with this call.
            if (nextDiffers) waitForNext();
            throw;
        }
        ++outcome.stepsWritten;
        if (nextDiffers) {
            waitForNext();
            computed = nextComputed;
            outOfMemory = nextOutOfMemory;
            current = 1 - current;
        }
        if (!written) {
            outcome.stopped = true;
            break;
        }
    }
    return outcome;
}

void CFramePipeline::Post(int32_t k, CCancelToken::Ticket ticket, Done done)
{
    m_thread.Post([this, k, ticket, done = std::move(done)] {
        // A frame abandoned part-way is neither written nor shown.
        bool outOfMemory = false;
        const bool made = ComputeFrame(k, m_frames[0], ticket, outOfMemory) && !ticket.IsAbandoned();
        done(k, made ? &m_frames[0] : nullptr, outOfMemory);
    });
}
