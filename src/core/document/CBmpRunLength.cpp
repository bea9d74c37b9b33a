#include "CBmpRunLength.h"

namespace {

class CCount : public CBmpRunLength::Visitor {
public:
    bool Pixel(int32_t, int32_t, uint32_t) override { return true; }
};

} // namespace

bool CBmpRunLength::Walk(const uint8_t* data, size_t size, size_t at, int32_t width, int32_t height, bool fourBits,
                         Visitor& visitor)
{
    int32_t row = 0;
    int32_t x = 0;
    const auto filled = [&] { return row == height - 1 && x == width; };
    while (at + 2 <= size) {
        const uint32_t count = data[at];
        const uint32_t value = data[at + 1];
        at += 2;
        if (row >= height) {
            // Only the end-of-bitmap mark may follow the end of the last row.
            return count == 0 && value == 1;
        }
        if (count > 0) { // a run of one index, or two alternating ones
            if (count > static_cast<uint32_t>(width - x)) {
                return false;
            }
            for (uint32_t i = 0; i < count; ++i, ++x) {
                const uint32_t index = fourBits ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
                if (!visitor.Pixel(row, x, index)) {
                    return false;
                }
            }
            continue;
        }
        if (value == 0) { // end of line
            if (x != width) {
                return false;
            }
            ++row;
            x = 0;
            continue;
        }
        if (value == 1) { // end of bitmap
            return filled();
        }
        if (value == 2 || value > static_cast<uint32_t>(width - x)) {
            return false; // a jump leaves pixels unwritten
        }
        // A literal stretch of `value` indices, padded to whole 16-bit words.
        const size_t bytes = fourBits ? (value + 1) / 2 : value;
        if (bytes > size - at) {
            return false;
        }
        for (uint32_t i = 0; i < value; ++i, ++x) {
            const uint8_t b = data[at + (fourBits ? i / 2 : i)];
            const uint32_t index = fourBits ? (i % 2 == 0 ? b >> 4 : b & 15) : b;
            if (!visitor.Pixel(row, x, index)) {
                return false;
            }
        }
        at += bytes + (bytes & 1);
    }
    // The data ended: taken when the last row is complete and no command is
    // cut off (Qt's reader drops the whole picture for a single stray byte).
    return at == size && (filled() || (row == height && x == 0));
}

bool CBmpRunLength::Covers(const uint8_t* data, size_t size, size_t at, int32_t width, int32_t height, bool fourBits)
{
    CCount count;
    return Walk(data, size, at, width, height, fourBits, count);
}
