#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// A thread of its own that runs the jobs posted to it one at a time, in the
// order they were posted: the frames of a run computed and written away
// from the thread that drives the run. Jobs must not throw.
class CFrameThread {
public:
    CFrameThread();
    // Lets the job in progress finish, drops the jobs still waiting and
    // ends the thread.
    ~CFrameThread();
    CFrameThread(const CFrameThread&) = delete;
    CFrameThread& operator=(const CFrameThread&) = delete;

    void Post(std::function<void()> job);
    // Blocks until every job posted so far has run.
    void WaitIdle();
    bool IsIdle() const;

private:
    void Loop();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_bBusy = false;
    bool m_bStop = false;
    std::thread m_thread;
};
