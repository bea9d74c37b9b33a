#include "CRowPool.h"

#include <new>
#include <system_error>

CRowPool::CRowPool(int32_t threads)
{
    const int32_t capped = threads < MaxThreadCount() ? threads : MaxThreadCount();
    const int32_t workers = capped > 1 ? capped - 1 : 0;
    try {
        m_threads.reserve(static_cast<size_t>(workers));
        for (int32_t i = 0; i < workers; ++i) {
            m_threads.emplace_back([this] { WorkerLoop(); });
        }
    } catch (const std::system_error&) {
        // No memory for another thread's stack: the threads made do.
    } catch (const std::bad_alloc&) {
        // Nor for the list of threads: the caller alone does.
    }
}

CRowPool::~CRowPool()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads) {
        t.join();
    }
}

int32_t CRowPool::DefaultThreadCount()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int32_t>(n > 256 ? 256 : n);
}

int32_t CRowPool::MaxThreadCount()
{
    constexpr int32_t kPerHardwareThread = 4;
    constexpr int32_t kAlways = 8;
    const int32_t most = DefaultThreadCount() * kPerHardwareThread;
    return most > kAlways ? most : kAlways;
}

int32_t CRowPool::Participants(int32_t count, int32_t grain) const
{
    grain = grain > 0 ? grain : 1;
    const int64_t slices = count > 0 ? (int64_t{count} + grain - 1) / grain : 1;
    return slices < GetThreadCount() ? static_cast<int32_t>(slices) : GetThreadCount();
}

bool CRowPool::Dispatch(int32_t count, int32_t grain, Task task, void* ctx, CCancelToken::Ticket ticket)
{
    if (count <= 0) {
        return !ticket.IsAbandoned();
    }
    std::lock_guard<std::mutex> run(m_runMutex);
    grain = grain > 0 ? grain : 1;
    const int32_t participants = Participants(count, grain);
    if (participants == 1) {
        for (int32_t first = 0; first < count; first += grain) {
            if (ticket.IsAbandoned()) {
                return false;
            }
            task(ctx, first, count - first > grain ? first + grain : count, 0);
        }
        return true;
    }
    {
        // A worker that woke late for the previous job may still be looking
        // for rows in it; wait until it has left before replacing the job.
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return m_active == 0; });
        m_task = task;
        m_ctx = ctx;
        m_count = count;
        m_grain = grain;
        m_participants = participants;
        m_nextParticipant.store(1, std::memory_order_relaxed);
        m_next.store(0, std::memory_order_relaxed);
        m_finished.store(0, std::memory_order_relaxed);
        m_ticket = ticket;
        m_bSkipped.store(false, std::memory_order_relaxed);
        ++m_generation;
    }
    m_wake.notify_all();
    Drain(0);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_finished.load(std::memory_order_acquire) == m_count; });
    return !m_bSkipped.load(std::memory_order_relaxed);
}

void CRowPool::Drain(int32_t worker)
{
    for (;;) {
        const int32_t first = m_next.fetch_add(m_grain, std::memory_order_relaxed);
        if (first >= m_count) {
            return;
        }
        const int32_t last = m_count - first > m_grain ? first + m_grain : m_count;
        // An abandoned job's slices count as finished without running.
        if (m_ticket.IsAbandoned()) {
            m_bSkipped.store(true, std::memory_order_relaxed);
        } else {
            m_task(m_ctx, first, last, worker);
        }
        if (m_finished.fetch_add(last - first, std::memory_order_acq_rel) + (last - first) == m_count) {
            // The last rows: wake the caller (under the lock, so the wake-up
            // cannot fall between its check and its wait).
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done.notify_all();
        }
    }
}

void CRowPool::TakePart()
{
    // Workers beyond the participants of the job leave it to the others.
    const int32_t worker = m_nextParticipant.fetch_add(1, std::memory_order_relaxed);
    if (worker < m_participants) {
        Drain(worker);
    }
}

void CRowPool::WorkerLoop()
{
    uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this, seen] { return m_stop || m_generation != seen; });
            if (m_stop) {
                return;
            }
            seen = m_generation;
            ++m_active;
        }
        TakePart();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_active;
        }
        m_done.notify_all();
    }
}
