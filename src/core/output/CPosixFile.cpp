#include "CPosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CPosixFile::~CPosixFile()
{
    Close();
}

int CPosixFile::Open(const std::string& path, Mode mode)
{
    Close();
    m_nError = 0;
    m_nPosition = 0;
    const int flags = O_WRONLY | O_CLOEXEC | (mode == kCreateNew ? O_CREAT | O_EXCL : 0);
    do {
        m_fd = ::open(path.c_str(), flags, 0666);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        m_nError = errno;
        return m_nError;
    }
    struct stat st {};
    m_bRegular = ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
    return 0;
}

bool CPosixFile::Fail(int err)
{
    if (m_nError == 0) {
        m_nError = err;
    }
    return false;
}

bool CPosixFile::Write(const void* data, size_t size)
{
    if (m_fd < 0) {
        return Fail(EBADF);
    }
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(errno);
        }
        if (n == 0) {
            return Fail(EIO);
        }
        p += n;
        size -= static_cast<size_t>(n);
        m_nPosition += static_cast<uint64_t>(n);
    }
    return true;
}

bool CPosixFile::WriteAt(uint64_t position, const void* data, size_t size)
{
    if (m_fd < 0) {
        return Fail(EBADF);
    }
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(m_fd, p, size, static_cast<off_t>(position));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(errno);
        }
        if (n == 0) {
            return Fail(EIO);
        }
        p += n;
        size -= static_cast<size_t>(n);
        position += static_cast<uint64_t>(n);
    }
    return true;
}

bool CPosixFile::Truncate(uint64_t size)
{
    if (m_fd < 0) {
        return Fail(EBADF);
    }
    // A file already of that size is left alone: ext4 takes a truncation
    // to zero as a sign the file is being rewritten and, on close, writes
    // out all that was written to it since, which for a fresh video of
    // hundreds of megabytes held its close up by a quarter of a second.
    struct stat st {};
    const bool sized = m_bRegular && ::fstat(m_fd, &st) == 0 && static_cast<uint64_t>(st.st_size) == size;
    if (m_bRegular && !sized && ::ftruncate(m_fd, static_cast<off_t>(size)) != 0) {
        return Fail(errno);
    }
    if (::lseek(m_fd, static_cast<off_t>(size), SEEK_SET) < 0) {
        return Fail(errno);
    }
    m_nPosition = size;
    return true;
}

int CPosixFile::Close()
{
    if (m_fd < 0) {
        return 0;
    }
    const int rc = ::close(m_fd);
    m_fd = -1;
    // The descriptor is gone whatever close reports; EINTR is not retried.
    return rc == 0 || errno == EINTR ? 0 : errno;
}
