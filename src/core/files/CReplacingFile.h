#pragma once

#include "CPosixFile.h"

#include <string>

// An output file that replaces whatever stands at its path only once it is
// complete. The bytes go to a fresh temporary file beside the path
// ("<path>.tmp-<pid>-<n>", created exclusively, so nothing already there is
// opened, followed or waited on); Commit renames it over the path, which
// replaces a regular file, a read-only file, a symbolic link, a FIFO or a
// device node alike. A folder at the path is refused before anything is
// written. Until Commit, the path keeps what it held; a file that is
// destroyed or abandoned uncommitted removes its temporary file.
class CReplacingFile {
public:
    CReplacingFile() = default;
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file for `path`. 0 or the system's error number
    // (EISDIR when a folder stands at the path).
    int Create(const std::string& path);
    // The temporary file, for writing.
    CPosixFile& File() { return m_file; }
    const CPosixFile& File() const { return m_file; }
    bool IsOpen() const { return m_file.IsOpen(); }
    const std::string& GetPath() const { return m_strPath; }
    const std::string& GetTempPath() const { return m_strTemp; }

    // Closes the temporary file and renames it over the path. 0 or the
    // system's error number; on failure the temporary file is removed and
    // the path keeps what it held.
    int Commit();
    // Closes and removes the temporary file.
    void Abandon();

    // Whether `name` (a file name without folder) is a temporary name this
    // class makes for a file called `target`.
    static bool IsTempNameFor(const std::string& name, const std::string& target);

private:
    CPosixFile m_file;
    std::string m_strPath;
    std::string m_strTemp;
};
