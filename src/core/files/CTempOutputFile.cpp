#include "CTempOutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

constexpr int kMaxAttempts = 100;
// Room for the dot, ".tmp-" and the random part within the system's 255
// bytes per name.
constexpr size_t kMaxKeptName = 200;

std::string RandomSuffix()
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
    std::string s(6, 'X');
    for (char& c : s) {
        c = kChars[pick(random)];
    }
    return s;
}

} // namespace

CTempOutputFile::~CTempOutputFile()
{
    Discard();
}

std::string CTempOutputFile::FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int CTempOutputFile::Create(const std::string& destination)
{
    Discard();
    const size_t slash = destination.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
    const std::string name = destination.substr(prefix.size());
    if (name.empty()) {
        return EISDIR;
    }
    const std::string kept = name.substr(0, std::min(name.size(), kMaxKeptName));
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::string path = prefix + "." + kept + ".tmp-" + RandomSuffix();
        int fd = -1;
        do {
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd >= 0) {
            m_fd = fd;
            m_strPath = path;
            m_strDestination = destination;
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int CTempOutputFile::Write(const void* data, size_t size)
{
    if (m_fd < 0) {
        return EBADF;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

int CTempOutputFile::Commit()
{
    if (m_fd < 0) {
        return EBADF;
    }
    int err = ::fsync(m_fd) == 0 ? 0 : errno;
    // EINVAL: a file system without fsync; the data still goes there.
    if (err == EINVAL) {
        err = 0;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err == 0 && ::rename(m_strPath.c_str(), m_strDestination.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(m_strPath.c_str());
    }
    m_strPath.clear();
    return err;
}

void CTempOutputFile::Discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_strPath.empty()) {
        ::unlink(m_strPath.c_str());
        m_strPath.clear();
    }
}
