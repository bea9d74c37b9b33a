#include "CFrameThread.h"

CFrameThread::CFrameThread() : m_thread([this] { Loop(); }) {}

CFrameThread::~CFrameThread()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void CFrameThread::Post(std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CFrameThread::WaitIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_bBusy; });
}

bool CFrameThread::IsIdle() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_jobs.empty() && !m_bBusy;
}

void CFrameThread::Loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStop || !m_jobs.empty(); });
        if (m_bStop) {
            break;
        }
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_bBusy = true;
        lock.unlock();
        job();
        lock.lock();
        m_bBusy = false;
        if (m_jobs.empty()) {
            m_idle.notify_all();
        }
    }
    m_bBusy = false;
    m_idle.notify_all();
}
