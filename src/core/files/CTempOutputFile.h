#pragma once

#include <cstddef>
#include <string>

// A file written under a fresh hidden name beside its destination
// (".name.tmp-XXXXXX" in the same folder) and renamed over the destination
// only once complete. The destination itself is never opened: whatever is
// there (a file, a FIFO, a device node) stays untouched until the rename
// replaces it, and a failed or abandoned write leaves nothing behind.
class CTempOutputFile {
public:
    CTempOutputFile() = default;
    // Removes the temporary file unless it was committed.
    ~CTempOutputFile();
    CTempOutputFile(const CTempOutputFile&) = delete;
    CTempOutputFile& operator=(const CTempOutputFile&) = delete;

    // Creates the temporary file for `destination` (mode 0666 less the
    // umask). 0 or the system's error number: ENOENT when the folder does
    // not exist, EACCES when it is not writable, and so on.
    int Create(const std::string& destination);
    bool IsOpen() const { return m_fd >= 0; }
    // The temporary file, for writers that open it by name.
    const std::string& Path() const { return m_strPath; }
    const std::string& Destination() const { return m_strDestination; }

    // Appends bytes at the descriptor's position; 0 or the error number.
    int Write(const void* data, size_t size);
    // Flushes the file to disk, closes it and renames it over the
    // destination. 0 or the error number; on failure the temporary file is
    // removed and the destination left as it was.
    int Commit();
    // Closes and removes the temporary file.
    void Discard();

    // The folder part of `path` ("." when it has none).
    static std::string FolderOf(const std::string& path);

private:
    int m_fd = -1;
    std::string m_strPath;
    std::string m_strDestination;
};
