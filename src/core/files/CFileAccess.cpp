#include "CFileAccess.h"

#include "message/CText.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kMaxTempAttempts = 100;

// An owned file descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : m_fd(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    // Closes and reports the close's own failure (a delayed write error).
    int Close()
    {
        const int fd = Release();
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int m_fd = -1;
};

// Opens the folder that holds the last component of `path` (relative paths
// start at `start`) one component at a time, so no system call ever sees more
// than one name. `name` receives the last component.
bool OpenParent(int start, const std::string& path, Fd& dir, std::string& name, int& error)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = ENOENT;
        return false;
    }
    Fd current(path[0] == '/' ? ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)
                              : ::openat(start, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!current.Valid()) {
        error = errno;
        return false;
    }
    std::string last = ".";
    size_t pos = 0;
    while (pos < path.size()) {
        const size_t end = std::min(path.find('/', pos), path.size());
        if (end > pos) {
            if (last != ".") {
                Fd next(::openat(current.Get(), last.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (!next.Valid()) {
                    error = errno;
                    return false;
                }
                current = std::move(next);
            }
            last = path.substr(pos, end - pos);
        }
        pos = end + 1;
    }
    dir = std::move(current);
    name = last;
    return true;
}

int WriteAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

CFileAccess::Result Failure(int error, bool targetExisted = false)
{
    CFileAccess::Result r;
    r.ok = false;
    r.error = error;
    r.targetExisted = targetExisted;
    return r;
}

// Follows symbolic links at the last component until it names something
// else or nothing. `st` receives that thing's status; `exists` whether it
// exists.
bool ResolveLinks(Fd& dir, std::string& name, struct stat& st, bool& exists, int& error)
{
    for (int hops = 0;; ++hops) {
        if (::fstatat(dir.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                error = errno;
                return false;
            }
            exists = false;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return true;
        }
        if (hops == kMaxLinkHops) {
            error = ELOOP;
            return false;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlinkat(dir.Get(), name.c_str(), target.data(), target.size());
            if (n < 0) {
                error = errno;
                return false;
            }
            if (static_cast<size_t>(n) < target.size()) {
                target.resize(static_cast<size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        Fd next;
        if (!OpenParent(dir.Get(), target, next, name, error)) {
            return false;
        }
        dir = std::move(next);
    }
}

std::string TempName()
{
    static std::atomic<unsigned> counter{0};
    return ".trevalin-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

template <class Bytes> CFileAccess::Result ReadWhole(const std::string& path, Bytes& out, uint64_t maxBytes)
{
    out.clear();
    Fd dir;
    std::string name;
    int error = 0;
    if (!OpenParent(AT_FDCWD, path, dir, name, error)) {
        return Failure(error);
    }
    Fd file(::openat(dir.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid()) {
        return Failure(errno);
    }
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) {
        return Failure(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return Failure(EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        return Failure(ENODEV);
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        return Failure(EFBIG);
    }
    try {
        out.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::read(file.Get(), out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                const int readError = errno;
                out.clear();
                return Failure(readError);
            }
            if (n == 0) {
                break; // the file shrank since fstat
            }
            done += static_cast<size_t>(n);
        }
        out.resize(done);
        // The file may also have grown since fstat: read on to its end.
        uint8_t chunk[16384];
        for (;;) {
            const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                const int readError = errno;
                out.clear();
                return Failure(readError);
            }
            if (n == 0) {
                break;
            }
            if (out.size() + static_cast<size_t>(n) > maxBytes) {
                out.clear();
                return Failure(EFBIG);
            }
            out.insert(out.end(), chunk, chunk + n);
        }
    } catch (const std::bad_alloc&) {
        out.clear();
        out.shrink_to_fit();
        return Failure(ENOMEM);
    }
    return CFileAccess::Result{};
}

} // namespace

CFileAccess::Result CFileAccess::ReadFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes)
{
    return ReadWhole(path, out, maxBytes);
}

CFileAccess::Result CFileAccess::ReadFile(const std::string& path, CByteVector& out, uint64_t maxBytes)
{
    return ReadWhole(path, out, maxBytes);
}

CFileAccess::Result CFileAccess::ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    Fd dir;
    std::string name;
    int error = 0;
    if (!OpenParent(AT_FDCWD, path, dir, name, error)) {
        return Failure(error);
    }
    struct stat st {};
    bool exists = false;
    if (!ResolveLinks(dir, name, st, exists, error)) {
        return Failure(error);
    }
    if (exists && S_ISDIR(st.st_mode)) {
        return Failure(EISDIR);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or pipe cannot be replaced by renaming; write into it.
        Fd file(::openat(dir.Get(), name.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        if (!file.Valid()) {
            return Failure(errno);
        }
        error = WriteAll(file.Get(), bytes);
        const int closeError = file.Close();
        if (error != 0 || closeError != 0) {
            return Failure(error != 0 ? error : closeError);
        }
        return Result{};
    }

    Fd temp;
    std::string tempName;
    for (int attempt = 0; attempt < kMaxTempAttempts && !temp.Valid(); ++attempt) {
        tempName = TempName();
        temp.Reset(::openat(dir.Get(), tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!temp.Valid() && errno != EEXIST) {
            return Failure(errno, exists);
        }
    }
    if (!temp.Valid()) {
        return Failure(EEXIST, exists);
    }
    if (exists) {
        // The replacement keeps the old file's permissions (and owner, when allowed).
        (void)::fchmod(temp.Get(), st.st_mode & 07777);
        if (::geteuid() == 0) {
            (void)::fchown(temp.Get(), st.st_uid, st.st_gid);
        }
    }
    error = WriteAll(temp.Get(), bytes);
    if (error == 0 && ::fsync(temp.Get()) != 0) {
        error = errno;
    }
    const int closeError = temp.Close();
    if (error == 0) {
        error = closeError;
    }
    if (error == 0 && ::renameat(dir.Get(), tempName.c_str(), dir.Get(), name.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(dir.Get(), tempName.c_str(), 0);
        return Failure(error, exists);
    }
    // Make the rename itself durable; a failure here loses nothing.
    Fd syncDir(::openat(dir.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (syncDir.Valid()) {
        (void)::fsync(syncDir.Get());
    }
    Result r;
    r.targetExisted = exists;
    return r;
}

CMessage CFileAccess::ErrorMessage(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return CMessage(TRV_TEXT("CoreText", "磁盘空间不足。"), {}, error);
    case EFBIG:
        return CMessage(TRV_TEXT("CoreText", "文件过大。"), {}, error);
    case EACCES:
    case EPERM:
        return CMessage(TRV_TEXT("CoreText", "没有访问权限。"), {}, error);
    case EROFS:
        return CMessage(TRV_TEXT("CoreText", "磁盘是只读的。"), {}, error);
    case ENOENT:
    case ENOTDIR:
        return CMessage(TRV_TEXT("CoreText", "文件或文件夹不存在。"), {}, error);
    case EISDIR:
        return CMessage(TRV_TEXT("CoreText", "这是一个文件夹。"), {}, error);
    case ENODEV:
        return CMessage(TRV_TEXT("CoreText", "不是普通文件。"), {}, error);
    case ENAMETOOLONG:
        return CMessage(TRV_TEXT("CoreText", "文件名过长。"), {}, error);
    case ENOMEM:
        return CMessage(TRV_TEXT("CoreText", "内存不足。"), {}, error);
    case ELOOP:
        return CMessage(TRV_TEXT("CoreText", "符号链接过多。"), {}, error);
    default:
        // The system's own words (English).
        return CMessage::Plain(std::strerror(error), error);
    }
}
