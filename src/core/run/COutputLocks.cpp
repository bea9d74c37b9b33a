#include "COutputLocks.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

COutputLocks::~COutputLocks()
{
    Release();
}

CRunLock::Result COutputLocks::Acquire(const std::vector<std::string>& folders)
{
    Release();
    m_busy.clear();
    struct Folder {
        dev_t dev;
        ino_t ino;
        int fd;
        const std::string* name;
    };
    std::vector<Folder> open;
    CRunLock::Result result = CRunLock::Result::kAcquired;
    for (const std::string& name : folders) {
        // Read access is enough to lock; a folder that cannot be written to
        // is locked all the same.
        const int fd = ::open(name.empty() ? "." : name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            if (fd >= 0) ::close(fd);
            result = CRunLock::Result::kUnavailable;
            continue;
        }
        open.push_back({st.st_dev, st.st_ino, fd, &name});
    }
    std::sort(open.begin(), open.end(),
              [](const Folder& a, const Folder& b) { return std::tie(a.dev, a.ino) < std::tie(b.dev, b.ino); });
    for (size_t i = 0; i < open.size(); ++i) {
        const Folder& folder = open[i];
        if (result == CRunLock::Result::kBusy ||
            (i > 0 && folder.dev == open[i - 1].dev && folder.ino == open[i - 1].ino)) {
            ::close(folder.fd);
            continue;
        }
        int rc = 0;
        do {
            rc = ::flock(folder.fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc == 0) {
            m_fds.push_back(folder.fd);
            continue;
        }
        const bool busy = errno == EWOULDBLOCK;
        ::close(folder.fd);
        if (busy) {
            m_busy = *folder.name;
            result = CRunLock::Result::kBusy;
        } else {
            result = CRunLock::Result::kUnavailable;
        }
    }
    if (result == CRunLock::Result::kBusy) {
        Release();
    }
    return result;
}

void COutputLocks::Release()
{
    for (int fd : m_fds) {
        ::close(fd); // closing the only descriptor releases the lock
    }
    m_fds.clear();
}
