#include "FrameFileName.h"

#include <algorithm>

std::string FrameFileName(const std::string& base, int64_t index, int64_t count, const std::string& extension)
{
    constexpr size_t kMinDigits = 4;
    const size_t digits = std::max(kMinDigits, std::to_string(std::max<int64_t>(count - 1, 0)).size());
    std::string number = std::to_string(index);
    if (number.size() < digits) {
        number.insert(0, digits - number.size(), '0');
    }
    return base + "-" + number + extension;
}
