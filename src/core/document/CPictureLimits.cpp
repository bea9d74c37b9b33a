#include "CPictureLimits.h"

namespace {

constexpr int64_t kMiB = 1024 * 1024;

} // namespace

bool CPictureLimits::Within(int64_t width, int64_t height) const
{
    return width > 0 && height > 0 && width <= maxWidth && height <= maxHeight && width * height <= maxPixels;
}

CMessage CPictureLimits::TooLargeText(int64_t width, int64_t height) const
{
    return CMessage(kTooLarge, {width, height, maxWidth, maxHeight, maxPixels / kMiB});
}
