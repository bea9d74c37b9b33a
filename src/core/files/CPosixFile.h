#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A file written through the system's descriptor calls, with every failure
// kept as the system's error number. Writes go at the file position the
// object tracks; WriteAt patches earlier bytes without moving it.
class CPosixFile {
public:
    enum Mode {
        kCreateNew,     // create; fail if the name exists
        kWriteExisting, // open an existing file for writing, keep its bytes;
                        // a device or FIFO is opened without waiting
    };

    CPosixFile() = default;
    ~CPosixFile();
    CPosixFile(const CPosixFile&) = delete;
    CPosixFile& operator=(const CPosixFile&) = delete;

    // 0 or the system's error number.
    int Open(const std::string& path, Mode mode);
    // The same for `name` in the folder with the descriptor `folder`.
    int OpenAt(int folder, const std::string& name, Mode mode);
    bool IsOpen() const { return m_fd >= 0; }
    // True for a regular file (not a device, pipe or socket).
    bool IsRegular() const { return m_bRegular; }

    // Each returns false on failure and keeps the error number (Error()).
    bool Write(const void* data, size_t size);
    bool WriteAt(uint64_t position, const void* data, size_t size);
    // Cuts a regular file to `size` bytes and moves the position there;
    // other files only move the position.
    bool Truncate(uint64_t size);

    // From here on, appended bytes bypass the page cache where the file
    // system allows it (O_DIRECT): they are gathered into whole aligned
    // blocks and written straight to the device, for as long as it takes
    // them at kDirectMinRate or faster; then, and for a truncation or a
    // patch beyond what was written, the file goes back to ordinary writes.
    // For big files written once from start to end (a video), where the
    // copy into fresh page-cache pages is most of what writing costs, and
    // which would otherwise push what else is cached out. Only a regular
    // file at a block boundary takes it; the bytes written are the same.
    void PreferDirect();
    bool IsDirect() const { return m_bDirect; }

    static constexpr size_t kDirectBlock = 4096;
    static constexpr size_t kDirectStage = size_t{4} << 20;
    static constexpr double kDirectMinRate = 400e6; // bytes per second
    uint64_t Position() const { return m_nPosition; }

    // Closes the descriptor; 0 or the error number of the close.
    int Close();
    int Error() const { return m_nError; }

private:
    struct FreeStage {
        void operator()(uint8_t* p) const;
    };

    bool Fail(int err);
    bool WriteAll(uint64_t position, const uint8_t* p, size_t size);
    bool WriteDirect(const uint8_t* p, size_t size);
    // Writes the first `whole` bytes of the stage (whole blocks) straight to
    // the device, or the ordinary way where it refuses them.
    bool WriteBlocks(size_t whole);
    // Drops bytes written from the front of the stage.
    bool Consume(size_t bytes);
    // Moves the position past bytes written the ordinary way.
    bool Advance(size_t bytes);
    bool SetDirectFlag(bool on);
    // Stops bypassing the cache (nothing is pending: every call leaves its
    // bytes in the file).
    bool LeaveDirect();

    int m_fd = -1;
    bool m_bRegular = false;
    uint64_t m_nPosition = 0;
    int m_nError = 0;

    bool m_bDirect = false;
    std::unique_ptr<uint8_t, FreeStage> m_pStage; // kDirectStage bytes, block-aligned
    size_t m_nStaged = 0;                         // bytes gathered, from file offset m_nStageAt
    uint64_t m_nStageAt = 0;                      // a block boundary
    uint64_t m_nDirectBytes = 0;                  // written straight to the device,
    double m_dDirectSeconds = 0.0;                // in this long
};
