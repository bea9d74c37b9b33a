#pragma once

#include "memory/CNoInitAllocator.h"
#include "message/CMessage.h"

#include <cstdint>
#include <string>
#include <vector>

// Whole-file reading, for paths of any length: the path is
// walked one folder at a time, so paths beyond the system's PATH_MAX work.
class CFileAccess {
public:
    struct Result {
        bool ok = true;
        int error = 0; // errno value on failure
    };

    // Reads a regular file. A folder fails with EISDIR, any other kind of file
    // (device, pipe, socket) with ENODEV without being read, a file larger
    // than maxBytes with EFBIG before anything is read.
    static Result ReadFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes);
    // The same into a buffer that is not zero-filled before the read.
    static Result ReadFile(const std::string& path, CByteVector& out, uint64_t maxBytes);

    // What an errno value means, in a short sentence, for the detail line of
    // a message; it carries the number.
    static CMessage ErrorMessage(int error);
};
