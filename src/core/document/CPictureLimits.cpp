#include "CPictureLimits.h"

namespace {

constexpr int64_t kMiB = 1024 * 1024;

} // namespace

bool CPictureLimits::Within(int64_t width, int64_t height) const
{
    return width > 0 && height > 0 && width <= maxWidth && height <= maxHeight && width * height <= maxPixels;
}

std::string CPictureLimits::TooLargeText(int64_t width, int64_t height) const
{
    return CText::Fill(kTooLarge, {std::to_string(width), std::to_string(height), std::to_string(maxWidth),
                                   std::to_string(maxHeight), std::to_string(maxPixels / kMiB)});
}
