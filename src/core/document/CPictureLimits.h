#pragma once

#include <cstdint>
#include <string>

// The largest picture the decoders take, and what the user is told about a
// larger one.
struct CPictureLimits {
    int32_t maxWidth = 16384;
    int32_t maxHeight = 16384;
    int64_t maxPixels = int64_t{64} * 1024 * 1024; // 256 MiB at 4 bytes a pixel

    // Both sides at least 1 and within the limits.
    bool Within(int64_t width, int64_t height) const;
    std::string TooLargeText(int64_t width, int64_t height) const;
};
