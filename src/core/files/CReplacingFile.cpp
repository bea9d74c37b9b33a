#include "CReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kTempMark = ".tmp-";
constexpr size_t kTempMarkSize = 5;
constexpr int kMaxAttempts = 100;

// `name` cut to at most `size` bytes, not inside a UTF-8 character.
std::string Cut(const std::string& name, size_t size)
{
    if (name.size() <= size) {
        return name;
    }
    while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80) {
        --size;
    }
    return name.substr(0, size);
}

std::string TempName(const std::string& name)
{
    static std::atomic<unsigned> counter{0};
    return Cut(name, CReplacingFile::kMaxKeptName) + kTempMark + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

bool AllDigits(const std::string& s, size_t from, size_t to)
{
    if (from >= to) {
        return false;
    }
    for (size_t i = from; i < to; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

// Puts the file `from` in place of `to`, both in `folder`. Over a regular
// file the two are exchanged and the old one removed (see the class).
int Replace(int folder, const std::string& from, const std::string& to)
{
    struct stat st {};
    if (::fstatat(folder, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        ::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_EXCHANGE) == 0) {
        if (::unlinkat(folder, from.c_str(), 0) == 0) {
            return 0;
        }
        // A folder came in between the check and the exchange: it goes back.
        const int err = errno;
        ::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_EXCHANGE);
        return err;
    }
    return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

// Flushes the file `name` in `folder` to disk, whoever wrote it (a writer
// may have put its own file at the temporary name). EINVAL: a file system
// without fsync; the data still goes there.
int Flush(int folder, const char* name, int flags)
{
    const int fd = ::openat(folder, name, flags | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return err;
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    Abandon();
}

std::string CReplacingFile::FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int CReplacingFile::Create(const std::string& path, Durability durability, Existing existing)
{
    Abandon();
    m_strPath = path;
    m_durability = durability;
    m_bHadFile = false;
    if (!path.empty() && path.back() == '/') {
        return EISDIR;
    }
    if (const int err = m_folder.Open(path); err != 0) {
        return err;
    }
    struct stat st {};
    bool exists = false;
    bool followed = false;
    if (existing == Existing::kUpdated) {
        const std::string name = m_folder.Name();
        if (const int err = m_folder.FollowLinks(st, exists); err != 0) {
            return err;
        }
        followed = m_folder.Name() != name;
    } else {
        exists = m_folder.Stat(st);
    }
    if (exists && S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    m_bHadFile = exists && S_ISREG(st.st_mode);
    if (existing == Existing::kUpdated && exists && !m_bHadFile) {
        // A device or pipe cannot be replaced by renaming; write into it.
        m_bInPlace = true;
        const int err = m_file.OpenAt(m_folder.Fd(), m_folder.Name(), CPosixFile::kWriteExisting);
        if (err != 0) {
            m_bInPlace = false;
        }
        return err;
    }
    int err = EEXIST;
    for (int attempt = 0; attempt < kMaxAttempts && err == EEXIST; ++attempt) {
        m_strTemp = TempName(m_folder.Name());
        err = m_file.OpenAt(m_folder.Fd(), m_strTemp, CPosixFile::kCreateNew);
    }
    if (err != 0) {
        m_strTemp.clear();
        return err;
    }
    if (!followed) {
        const size_t slash = path.find_last_of('/');
        m_strTempPath = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + m_strTemp;
    }
    if (existing == Existing::kUpdated && m_bHadFile) {
        // The replacement keeps the old file's permissions (and owner, when allowed).
        (void)::fchmodat(m_folder.Fd(), m_strTemp.c_str(), st.st_mode & 07777, 0);
        if (::geteuid() == 0) {
            (void)::fchownat(m_folder.Fd(), m_strTemp.c_str(), st.st_uid, st.st_gid, AT_SYMLINK_NOFOLLOW);
        }
    }
    return 0;
}

int CReplacingFile::Commit()
{
    if (m_bInPlace) {
        m_bInPlace = false;
        return m_file.Close();
    }
    if (m_strTemp.empty()) {
        return EBADF;
    }
    const bool flushed = m_durability == Durability::kFlushed;
    int err = m_file.Close();
    if (err == 0 && flushed) {
        err = Flush(m_folder.Fd(), m_strTemp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    }
    if (err == 0) {
        err = Replace(m_folder.Fd(), m_strTemp, m_folder.Name());
    }
    if (err != 0) {
        Abandon();
        return err;
    }
    m_strTemp.clear();
    m_strTempPath.clear();
    if (flushed) {
        // Makes the replacement itself durable; a failure here loses nothing.
        (void)Flush(m_folder.Fd(), ".", O_RDONLY | O_DIRECTORY);
    }
    m_folder.Close();
    return 0;
}

void CReplacingFile::Abandon()
{
    m_file.Close();
    m_bInPlace = false;
    if (!m_strTemp.empty()) {
        ::unlinkat(m_folder.Fd(), m_strTemp.c_str(), 0);
        m_strTemp.clear();
    }
    m_strTempPath.clear();
    m_folder.Close();
}

bool CReplacingFile::FinalNameOf(const std::string& name, std::string& finalName, pid_t& pid)
{
    const size_t mark = name.rfind(kTempMark);
    if (mark == std::string::npos || mark == 0) {
        return false;
    }
    const size_t from = mark + kTempMarkSize;
    const size_t dash = name.find('-', from);
    if (dash == std::string::npos || !AllDigits(name, from, dash) || !AllDigits(name, dash + 1, name.size())) {
        return false;
    }
    if (dash - from > 9) {
        return false; // no process number is that long
    }
    finalName = name.substr(0, mark);
    pid = static_cast<pid_t>(std::stol(name.substr(from, dash - from)));
    return true;
}

void CReplacingFile::RemoveLeftovers(const std::string& folder, const std::function<bool(const std::string&)>& isOurs)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string finalName;
        pid_t pid = 0;
        // A process that still lives may be writing its file.
        const auto alive = [&pid] { return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM; };
        if (FinalNameOf(entry->d_name, finalName, pid) && isOurs(finalName) && !alive()) {
            names.emplace_back(entry->d_name);
        }
    }
    const int fd = ::dirfd(dir);
    for (const std::string& name : names) {
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            ::unlinkat(fd, name.c_str(), 0);
        }
    }
    ::closedir(dir);
}
