#include "CFramePipeline.h"

#include <condition_variable>
#include <mutex>

CFramePipeline::CFramePipeline(Compute compute) : m_compute(std::move(compute)) {}

CFramePipeline::Outcome CFramePipeline::Run(const std::vector<int32_t>& plan, const Write& write,
                                            CCancelToken::Ticket ticket)
{
    Outcome outcome;
    if (plan.empty()) return outcome;
    int current = 0;
    bool computed = m_compute(plan.front(), m_frames[current], ticket);

    // The frame computed on the pipeline's thread meanwhile.
    std::mutex mutex;
    std::condition_variable ready;
    bool nextDone = false;
    bool nextComputed = false;

    for (size_t i = 0; i < plan.size(); ++i) {
        if (!computed || ticket.IsAbandoned()) {
            outcome.cancelled = true;
            break;
        }
        const bool nextDiffers = i + 1 < plan.size() && plan[i + 1] != plan[i];
        if (nextDiffers) {
            nextDone = false;
            m_thread.Post([&, k = plan[i + 1], out = &m_frames[1 - current]] {
                const bool made = m_compute(k, *out, ticket);
                std::lock_guard<std::mutex> lock(mutex);
                nextComputed = made;
                nextDone = true;
                ready.notify_one();
            });
        }
        const bool written = write(i, plan[i], m_frames[current]);
        ++outcome.stepsWritten;
        if (nextDiffers) {
            std::unique_lock<std::mutex> lock(mutex);
            ready.wait(lock, [&] { return nextDone; });
            computed = nextComputed;
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
        const bool made = m_compute(k, m_frames[0], ticket) && !ticket.IsAbandoned();
        done(k, made ? &m_frames[0] : nullptr);
    });
}
