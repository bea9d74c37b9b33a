#pragma once

#include <cstdint>
#include <string>

// The name of frame `index` of `count` in a sequence of frame files:
// "base-0000.png", the number zero-padded to 4 digits, or to as many as the
// largest number (count - 1) needs, so the names sort in frame order.
// `extension` carries its dot.
std::string FrameFileName(const std::string& base, int64_t index, int64_t count, const std::string& extension);
