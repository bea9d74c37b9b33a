#include "CPosixFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The rate is judged once this much has gone straight to the device.
constexpr uint64_t kJudgeAfter = uint64_t{32} << 20;

} // namespace

void CPosixFile::FreeStage::operator()(uint8_t* p) const
{
    std::free(p);
}

CPosixFile::~CPosixFile()
{
    Close();
}

int CPosixFile::Open(const std::string& path, Mode mode)
{
    return OpenAt(AT_FDCWD, path, mode);
}

int CPosixFile::OpenAt(int folder, const std::string& name, Mode mode)
{
    Close();
    m_nError = 0;
    m_nPosition = 0;
    const int flags = O_WRONLY | O_CLOEXEC | (mode == kCreateNew ? O_CREAT | O_EXCL : O_NONBLOCK | O_NOCTTY);
    do {
        m_fd = ::openat(folder, name.c_str(), flags, 0666);
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
    if (m_bDirect) {
        return WriteDirect(p, size);
    }
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

bool CPosixFile::WriteDirect(const uint8_t* p, size_t size)
{
    // The stage holds the bytes of the last partial block (already in the
    // file, through the page cache); they go to the device again with the
    // block they start.
    while (size > 0) {
        const size_t n = std::min(size, kDirectStage - m_nStaged);
        std::memcpy(m_pStage.get() + m_nStaged, p, n);
        m_nStaged += n;
        m_nPosition += n;
        p += n;
        size -= n;
        const size_t whole = m_nStaged / kDirectBlock * kDirectBlock;
        if (whole > 0 && !WriteBlocks(whole)) {
            return false;
        }
        if (!m_bDirect) {
            // Gone back to ordinary writes: the rest of this call goes that way.
            return WriteAll(m_nPosition, p, size) && Advance(size);
        }
    }
    // Every byte written so far is in the file when the call returns: the
    // partial block the ordinary way.
    return m_nStaged == 0 || (SetDirectFlag(false) && WriteAll(m_nStageAt, m_pStage.get(), m_nStaged) &&
                              (SetDirectFlag(true) || LeaveDirect()));
}

bool CPosixFile::WriteBlocks(size_t whole)
{
    const auto begin = std::chrono::steady_clock::now();
    size_t done = 0;
    while (done < whole) {
        const ssize_t n = ::pwrite(m_fd, m_pStage.get() + done, whole - done, static_cast<off_t>(m_nStageAt + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EINVAL) {
            return Fail(errno);
        }
        if (n <= 0 || static_cast<size_t>(n) % kDirectBlock != 0) {
            // Refused (EINVAL: the file system wants other alignments) or
            // cut short: the rest goes the ordinary way.
            done += n > 0 ? static_cast<size_t>(n) : 0;
            Consume(done);
            return LeaveDirect() && WriteAll(m_nStageAt, m_pStage.get(), m_nStaged) && Consume(m_nStaged);
        }
        done += static_cast<size_t>(n);
    }
    m_dDirectSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    m_nDirectBytes += whole;
    Consume(whole);
    if (m_nDirectBytes >= kJudgeAfter && static_cast<double>(m_nDirectBytes) < kDirectMinRate * m_dDirectSeconds) {
        // A slow device: the page cache lets the run go on meanwhile.
        return LeaveDirect() && WriteAll(m_nStageAt, m_pStage.get(), m_nStaged) && Consume(m_nStaged);
    }
    return true;
}

bool CPosixFile::Consume(size_t bytes)
{
    std::memmove(m_pStage.get(), m_pStage.get() + bytes, m_nStaged - bytes);
    m_nStaged -= bytes;
    m_nStageAt += bytes;
    return true;
}

bool CPosixFile::Advance(size_t bytes)
{
    m_nPosition += bytes;
    return ::lseek(m_fd, static_cast<off_t>(m_nPosition), SEEK_SET) >= 0 || Fail(errno);
}

bool CPosixFile::WriteAt(uint64_t position, const void* data, size_t size)
{
    if (m_fd < 0) {
        return Fail(EBADF);
    }
    const auto* p = static_cast<const uint8_t*>(data);
    if (!m_bDirect) {
        return WriteAll(position, p, size);
    }
    // Every byte before the position is in the file; the copy of the last
    // partial block kept for the device is patched too.
    if (position + size > m_nPosition) {
        return LeaveDirect() && WriteAll(position, p, size);
    }
    if (position + size > m_nStageAt) {
        const uint64_t from = std::max(position, m_nStageAt);
        std::memcpy(m_pStage.get() + (from - m_nStageAt), p + (from - position),
                    static_cast<size_t>(position + size - from));
    }
    return SetDirectFlag(false) && WriteAll(position, p, size) && (SetDirectFlag(true) || LeaveDirect());
}

bool CPosixFile::WriteAll(uint64_t position, const uint8_t* p, size_t size)
{
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
    if (m_bDirect && !LeaveDirect()) {
        return false;
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
    // Every byte written is in the file already, direct or not.
    m_bDirect = false;
    const int rc = ::close(m_fd);
    m_fd = -1;
    // The descriptor is gone whatever close reports; EINTR is not retried.
    return rc == 0 || errno == EINTR ? 0 : errno;
}

void CPosixFile::PreferDirect()
{
    if (m_fd < 0 || !m_bRegular || m_bDirect || m_nPosition % kDirectBlock != 0) {
        return;
    }
    if (!m_pStage) {
        void* p = nullptr;
        if (::posix_memalign(&p, kDirectBlock, kDirectStage) != 0) {
            return;
        }
        m_pStage.reset(static_cast<uint8_t*>(p));
    }
    if (SetDirectFlag(true)) {
        m_bDirect = true;
        m_nStaged = 0;
        m_nStageAt = m_nPosition;
    }
}

bool CPosixFile::SetDirectFlag(bool on)
{
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, on ? flags | O_DIRECT : flags & ~O_DIRECT) != 0) {
        return on ? false : Fail(errno);
    }
    return true;
}

bool CPosixFile::LeaveDirect()
{
    m_bDirect = false;
    if (!SetDirectFlag(false)) {
        return false;
    }
    // Direct writes leave the descriptor's offset where it was.
    return ::lseek(m_fd, static_cast<off_t>(m_nPosition), SEEK_SET) >= 0 || Fail(errno);
}
