#include "CReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kTempMark = ".tmp-";
constexpr int kMaxAttempts = 100;

std::string TempName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + kTempMark + std::to_string(::getpid()) + "-" + std::to_string(counter++);
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

// Puts the file `from` in place of `to`. Over a regular file the two are
// swapped (where the file system can) and the old one removed: ext4 takes
// a rename over a file for a rewrite made without care and writes the new
// file out before the rename returns (a quarter of a second and more for a
// video), while the swap, like the rename, never leaves the path empty.
int Replace(const std::string& from, const std::string& to)
{
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
        if (::unlink(from.c_str()) == 0) {
            return 0;
        }
        // A folder came in between the check and the swap: it goes back.
        const int err = errno;
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE);
        return err;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    Abandon();
}

int CReplacingFile::Create(const std::string& path)
{
    Abandon();
    m_strPath = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    int err = EEXIST;
    for (int attempt = 0; attempt < kMaxAttempts && err == EEXIST; ++attempt) {
        m_strTemp = TempName(path);
        err = m_file.Open(m_strTemp, CPosixFile::kCreateNew);
    }
    if (err != 0) {
        m_strTemp.clear();
    }
    return err;
}

int CReplacingFile::Commit()
{
    if (m_strTemp.empty()) {
        return EBADF;
    }
    int err = m_file.Close();
    if (err == 0) {
        err = Replace(m_strTemp, m_strPath);
    }
    if (err != 0) {
        Abandon();
        return err;
    }
    m_strTemp.clear();
    return 0;
}

void CReplacingFile::Abandon()
{
    m_file.Close();
    if (!m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
}

bool CReplacingFile::IsTempNameFor(const std::string& name, const std::string& target)
{
    const std::string prefix = target + kTempMark;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const size_t dash = name.find('-', prefix.size());
    return dash != std::string::npos && AllDigits(name, prefix.size(), dash) && AllDigits(name, dash + 1, name.size());
}
