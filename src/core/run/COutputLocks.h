#pragma once

#include "CRunLock.h"

#include <string>
#include <vector>

// The exclusive right of one run or export to the folders it writes its
// outputs to (frame folder, video folder): an advisory lock (flock) on each
// folder itself, so nothing is added to the folder. Every run and every
// export, of this program or of trevalin-render, takes the locks of its
// output folders before it writes; the second one to come refuses. The
// locks are taken in one order (by device and inode, a folder named twice
// once), so of two that want the same folders one always gets them, and
// without waiting. The kernel releases them when the process ends, however
// it ends; two holders in one process exclude each other too.
class COutputLocks {
public:
    COutputLocks() = default;
    ~COutputLocks();
    COutputLocks(const COutputLocks&) = delete;
    COutputLocks& operator=(const COutputLocks&) = delete;

    // Takes the locks of the existing folders `folders`. kBusy: another
    // holder has one of them (BusyFolder names it) and nothing is held;
    // kUnavailable: a folder cannot be opened and the others are held.
    CRunLock::Result Acquire(const std::vector<std::string>& folders);
    void Release();
    bool IsHeld() const { return !m_fds.empty(); }
    // The folder another holder had at the last kBusy.
    const std::string& BusyFolder() const { return m_busy; }

private:
    std::vector<int> m_fds;
    std::string m_busy;
};
