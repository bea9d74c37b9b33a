#include "CParentFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40;

int OpenFolder(int at, const char* name)
{
    return ::openat(at, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

CParentFolder::~CParentFolder()
{
    Close();
}

void CParentFolder::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_name.clear();
}

int CParentFolder::Open(const std::string& path)
{
    Close();
    return OpenFrom(AT_FDCWD, path);
}

int CParentFolder::OpenFrom(int start, const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        return ENOENT;
    }
    int current = path[0] == '/' ? OpenFolder(AT_FDCWD, "/") : OpenFolder(start, ".");
    if (current < 0) {
        return errno;
    }
    std::string last = ".";
    size_t pos = 0;
    while (pos < path.size()) {
        const size_t end = std::min(path.find('/', pos), path.size());
        if (end > pos) {
            if (last != ".") {
                const int next = OpenFolder(current, last.c_str());
                const int err = errno;
                ::close(current);
                if (next < 0) {
                    return err;
                }
                current = next;
            }
            last = path.substr(pos, end - pos);
        }
        pos = end + 1;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = current;
    m_name = last;
    return 0;
}

bool CParentFolder::Stat(struct stat& st) const
{
    return m_fd >= 0 && ::fstatat(m_fd, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

int CParentFolder::FollowLinks(struct stat& st, bool& exists)
{
    if (m_fd < 0) {
        return EBADF;
    }
    for (int hops = 0;; ++hops) {
        if (::fstatat(m_fd, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                return errno;
            }
            exists = false;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return 0;
        }
        if (hops == kMaxLinkHops) {
            return ELOOP;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlinkat(m_fd, m_name.c_str(), target.data(), target.size());
            if (n < 0) {
                return errno;
            }
            if (static_cast<size_t>(n) < target.size()) {
                target.resize(static_cast<size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        // The target is relative to the link's own folder.
        const int err = OpenFrom(m_fd, target);
        if (err != 0) {
            return err;
        }
    }
}
