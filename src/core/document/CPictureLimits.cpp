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
    return "图片过大(" + std::to_string(width) + " x " + std::to_string(height) + " 像素);最大支持 " +
           std::to_string(maxWidth) + " x " + std::to_string(maxHeight) + " 像素,共 " +
           std::to_string(maxPixels / kMiB) + " 兆像素。";
}
