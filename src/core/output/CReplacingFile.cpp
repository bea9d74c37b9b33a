#include "CReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
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
    if (err == 0 && ::rename(m_strTemp.c_str(), m_strPath.c_str()) != 0) {
        err = errno;
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
