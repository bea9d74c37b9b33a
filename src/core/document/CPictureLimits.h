#pragma once

#include "message/CMessage.h"
#include "message/CText.h"

#include <cstdint>
#include <string>

// The largest picture the decoders take, and what the user is told about a
// larger one.
struct CPictureLimits {
    int32_t maxWidth = 16384;
    int32_t maxHeight = 16384;
    int64_t maxPixels = int64_t{64} * 1024 * 1024; // 256 MiB at 4 bytes a pixel

    // The template of TooLargeText.
    static constexpr const char* kTooLarge =
        TRV_TEXT("CoreText", "图片过大(%1 x %2 像素);最大支持 %3 x %4 像素,共 %5 兆像素。");

    // Both sides at least 1 and within the limits.
    bool Within(int64_t width, int64_t height) const;
    CMessage TooLargeText(int64_t width, int64_t height) const;
};
