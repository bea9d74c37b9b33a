#include "CRunLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CRunLock::~CRunLock()
{
    Release();
}

CRunLock::Result CRunLock::Acquire(const std::string& workDir)
{
    if (m_fd >= 0) {
        return Result::kAcquired;
    }
    const std::string path = (workDir.empty() ? std::string(".") : workDir) + "/" + kFileName;
    // Never follows a link or waits on a FIFO planted at the name; a folder
    // that cannot be written to may still hold a lock file to lock.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | flags, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EISDIR)) {
        fd = ::open(path.c_str(), O_RDONLY | flags);
    }
    if (fd < 0) {
        return Result::kUnavailable;
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::kBusy : Result::kUnavailable;
    }
    m_fd = fd;
    return Result::kAcquired;
}

void CRunLock::Release()
{
    if (m_fd >= 0) {
        ::close(m_fd); // closing the only descriptor releases the lock
        m_fd = -1;
    }
}
