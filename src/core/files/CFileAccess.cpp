#include "CFileAccess.h"

#include "CParentFolder.h"
#include "message/CText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An owned file descriptor.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

CFileAccess::Result Failure(int error)
{
    CFileAccess::Result r;
    r.ok = false;
    r.error = error;
    return r;
}

template <class Bytes> CFileAccess::Result ReadWhole(const std::string& path, Bytes& out, uint64_t maxBytes)
{
    out.clear();
    CParentFolder folder;
    if (const int error = folder.Open(path); error != 0) {
        return Failure(error);
    }
    Fd file(::openat(folder.Fd(), folder.Name().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
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
