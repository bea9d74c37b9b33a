#pragma once

#include <string>
#include <sys/stat.h>

// The folder that holds the last name of a path, opened one folder at a time
// so that no system call ever sees more than one name: paths beyond the
// system's PATH_MAX work. Relative paths start at the current folder.
class CParentFolder {
public:
    CParentFolder() = default;
    ~CParentFolder();
    CParentFolder(const CParentFolder&) = delete;
    CParentFolder& operator=(const CParentFolder&) = delete;

    // 0 or the system's error number (ENOENT for an empty path).
    int Open(const std::string& path);
    // Follows symbolic links at the last name until it names something else
    // or nothing; the folder and name are then those of the link's target.
    // `exists` says whether that is something, `st` what. 0 or the error
    // number (ELOOP after too many links).
    int FollowLinks(struct stat& st, bool& exists);
    // The status of what the name stands for, links not followed; false
    // when there is nothing (or it cannot be looked at).
    bool Stat(struct stat& st) const;

    bool IsOpen() const { return m_fd >= 0; }
    // A descriptor of the folder (O_PATH), for the *at calls.
    int Fd() const { return m_fd; }
    const std::string& Name() const { return m_name; }
    void Close();

private:
    // Opens the folder of `path` starting at `start`.
    int OpenFrom(int start, const std::string& path);

    int m_fd = -1;
    std::string m_name;
};
