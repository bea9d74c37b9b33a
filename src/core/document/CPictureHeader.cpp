#include "CPictureHeader.h"

#include "CBmpRunLength.h"

#include <cstdint>

namespace {

uint32_t Le(const uint8_t* p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

int64_t Magnitude(int32_t v)
{
    return v < 0 ? -static_cast<int64_t>(v) : v;
}

bool Bmp(const uint8_t* data, size_t size, int64_t& width, int64_t& height)
{
    if (size < 26 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    const uint32_t headerSize = Le(data + 14, 4);
    if (headerSize == 12) { // the old core header: 16-bit sizes
        width = Le(data + 18, 2);
        height = Le(data + 20, 2);
        return true;
    }
    width = Magnitude(static_cast<int32_t>(Le(data + 18, 4)));
    height = Magnitude(static_cast<int32_t>(Le(data + 22, 4)));
    return true;
}

// Walks the marker segments up to the first start-of-frame; `frameMarker`
// is its marker.
bool Jpeg(const uint8_t* data, size_t size, int64_t& width, int64_t& height, uint8_t& frameMarker)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
        return false;
    }
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF) {
            return false;
        }
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // markers without a length
            continue;
        }
        const size_t length = (size_t{data[pos + 2]} << 8) | data[pos + 3];
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (pos + 9 > size) {
                return false;
            }
            height = (int64_t{data[pos + 5]} << 8) | data[pos + 6];
            width = (int64_t{data[pos + 7]} << 8) | data[pos + 8];
            frameMarker = marker;
            return true;
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2) {
            return false; // end of image or scan data before any frame
        }
        pos += 2 + length;
    }
    return false;
}

} // namespace

bool CPictureHeader::BmpPixelsMissing(const uint8_t* data, size_t size)
{
    int64_t width = 0;
    int64_t height = 0;
    if (data == nullptr || !Bmp(data, size, width, height) || width == 0 || height == 0) {
        return false;
    }
    const uint32_t headerSize = Le(data + 14, 4);
    uint32_t bits = 0;
    uint32_t compression = 0;
    if (headerSize == 12) {
        bits = Le(data + 24, 2);
    } else {
        if (size < 34) {
            return true;
        }
        bits = Le(data + 28, 2);
        compression = Le(data + 30, 4);
    }
    constexpr uint32_t kRgb = 0;
    constexpr uint32_t kRle8 = 1;
    constexpr uint32_t kRle4 = 2;
    constexpr uint32_t kBitfields = 3;
    const uint64_t offset = Le(data + 10, 4);
    if ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4)) {
        // Qt's reader leaves the pixels that run-length data jumps over or
        // never reaches as whatever memory held.
        return width > INT32_MAX || height > INT32_MAX || offset >= size ||
               !CBmpRunLength::Covers(data, size, static_cast<size_t>(offset), static_cast<int32_t>(width),
                                      static_cast<int32_t>(height), compression == kRle4);
    }
    if ((compression != kRgb && compression != kBitfields) || bits == 0 || bits > 32) {
        return false; // embedded formats carry no fixed size
    }
    // The last row's padding counts too: Qt's reader takes such a file and
    // fills the last row from memory it never wrote.
    const uint64_t row = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t needed = offset + row * static_cast<uint64_t>(height);
    return size < needed;
}

bool CPictureHeader::ClaimedSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height)
{
    if (data == nullptr) {
        return false;
    }
    uint8_t frame = 0;
    return Bmp(data, size, width, height) || Jpeg(data, size, width, height, frame);
}

bool CPictureHeader::JpegBeyondFile(const uint8_t* data, size_t size)
{
    int64_t width = 0;
    int64_t height = 0;
    uint8_t frame = 0;
    if (data == nullptr || !Jpeg(data, size, width, height, frame)) {
        return false;
    }
    const bool arithmetic = frame >= 0xC9;
    return !arithmetic && width * height > kJpegPixelsPerByte * static_cast<int64_t>(size);
}
