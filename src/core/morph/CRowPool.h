#pragma once

#include "CCancelToken.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// A small persistent pool that splits a range of rows over threads. The
// thread that calls Run takes part as the last worker, so a pool of one
// thread runs everything on the caller. Run returns as soon as every row is
// done (it does not wait for workers that never got to start, which matters
// when the machine is busy); calls from several threads are served one after
// another.
class CRowPool {
public:
    // `threads` workers in all (at least 1, at most MaxThreadCount()), the
    // caller included. Threads the system refuses to start (for want of
    // memory) are done without: the pool then has fewer.
    explicit CRowPool(int32_t threads);
    ~CRowPool();
    CRowPool(const CRowPool&) = delete;
    CRowPool& operator=(const CRowPool&) = delete;

    int32_t GetThreadCount() const { return static_cast<int32_t>(m_threads.size()) + 1; }
    // The machine's hardware threads, at least 1.
    static int32_t DefaultThreadCount();
    // The most threads a pool takes: more than a few per hardware thread
    // only cost memory (a stack each, and the scratch of the engines).
    static int32_t MaxThreadCount();
    // Threads that take part in a Run of `count` rows in slices of `grain`:
    // no more than there are slices.
    int32_t Participants(int32_t count, int32_t grain) const;

    // Calls body(first, last, worker) for consecutive slices [first, last)
    // of [0, count), at most `grain` rows each; `worker` is 0 ..
    // Participants(count, grain) - 1 and names the thread taking part, so
    // per-thread scratch can be indexed by it. The body must not throw.
    // Before each slice the ticket is checked: once it is abandoned the
    // remaining slices are skipped and Run returns false (true when every
    // slice ran).
    template <class Body> bool Run(int32_t count, int32_t grain, Body&& body, CCancelToken::Ticket ticket = {})
    {
        auto call = [](void* ctx, int32_t first, int32_t last, int32_t worker) {
            (*static_cast<Body*>(ctx))(first, last, worker);
        };
        return Dispatch(count, grain, call, &body, ticket);
    }

private:
    using Task = void (*)(void* ctx, int32_t first, int32_t last, int32_t worker);

    bool Dispatch(int32_t count, int32_t grain, Task task, void* ctx, CCancelToken::Ticket ticket);
    void WorkerLoop();
    void Drain(int32_t worker);
    void TakePart();

    std::vector<std::thread> m_threads;
    std::mutex m_runMutex;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    uint64_t m_generation = 0;
    // Workers inside Drain; the job's fields change only when it is 0.
    int32_t m_active = 0;
    bool m_stop = false;

    Task m_task = nullptr;
    void* m_ctx = nullptr;
    int32_t m_count = 0;
    int32_t m_grain = 1;
    int32_t m_participants = 1;
    std::atomic<int32_t> m_nextParticipant{1}; // the caller is participant 0
    std::atomic<int32_t> m_next{0};
    std::atomic<int32_t> m_finished{0};
    CCancelToken::Ticket m_ticket;
    std::atomic<bool> m_bSkipped{false};
};
