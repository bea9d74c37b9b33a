#pragma once

#include <string>

// The exclusive right of one run to a working folder's outputs: an advisory
// lock (flock) on the file ".trevalin.lock" in the working folder, held
// from Acquire until Release or destruction. The kernel releases it when the
// process ends, however it ends, so a killed run never blocks the next one.
// Two runs in one process exclude each other too.
class CRunLock {
public:
    enum class Result {
        kAcquired,    // held (also when it was held already)
        kBusy,        // another run holds it
        kUnavailable, // the lock file cannot be made (the run goes on unlocked)
    };

    CRunLock() = default;
    ~CRunLock();
    CRunLock(const CRunLock&) = delete;
    CRunLock& operator=(const CRunLock&) = delete;

    // Takes the lock of `workDir` without waiting.
    Result Acquire(const std::string& workDir);
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

    static constexpr const char* kFileName = ".trevalin.lock";

private:
    int m_fd = -1;
};
