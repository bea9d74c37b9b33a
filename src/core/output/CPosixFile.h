#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file written through the system's descriptor calls, with every failure
// kept as the system's error number. Writes go at the file position the
// object tracks; WriteAt patches earlier bytes without moving it.
class CPosixFile {
public:
    enum Mode {
        kCreateNew,     // create; fail if the name exists
        kWriteExisting, // open an existing file for writing, keep its bytes
    };

    CPosixFile() = default;
    ~CPosixFile();
    CPosixFile(const CPosixFile&) = delete;
    CPosixFile& operator=(const CPosixFile&) = delete;

    // 0 or the system's error number.
    int Open(const std::string& path, Mode mode);
    bool IsOpen() const { return m_fd >= 0; }
    // True for a regular file (not a device, pipe or socket).
    bool IsRegular() const { return m_bRegular; }

    // Each returns false on failure and keeps the error number (Error()).
    bool Write(const void* data, size_t size);
    bool WriteAt(uint64_t position, const void* data, size_t size);
    // Cuts a regular file to `size` bytes and moves the position there;
    // other files only move the position.
    bool Truncate(uint64_t size);
    uint64_t Position() const { return m_nPosition; }

    // Closes the descriptor; 0 or the error number of the close.
    int Close();
    int Error() const { return m_nError; }

private:
    bool Fail(int err);

    int m_fd = -1;
    bool m_bRegular = false;
    uint64_t m_nPosition = 0;
    int m_nError = 0;
};
