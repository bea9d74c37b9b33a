#include "CBmpDecoder.h"

#include "CBmpRunLength.h"
#include "CPictureImage.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr size_t kFileHeader = 14;

uint32_t Le(const uint8_t* p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

// One colour channel of a bit-field pixel: the masked bits moved down and
// then up to the top of the byte (a mask of n bits gives multiples of
// 2^(8 - n)), as the platform's reader scales them.
struct Channel {
    uint32_t mask = 0;
    uint32_t down = 0;
    uint32_t up = 0;

    // False for masks that are not one run of at most 8 bits.
    bool Set(uint32_t m)
    {
        mask = m;
        if (m == 0) {
            return true;
        }
        down = static_cast<uint32_t>(__builtin_ctz(m));
        const uint32_t run = m >> down;
        if ((run & (run + 1)) != 0) {
            return false;
        }
        const auto bits = static_cast<uint32_t>(__builtin_popcount(run));
        up = 8 - bits;
        return bits <= 8;
    }
    uint8_t Of(uint32_t v) const { return static_cast<uint8_t>(((v & mask) >> down) << up); }
};

// What the headers say, checked against the file.
struct Layout {
    int32_t width = 0;
    int32_t height = 0; // rows, positive
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = kRgb;
    const uint8_t* palette = nullptr;
    uint32_t colours = 0;    // entries of the colour table
    uint32_t entryBytes = 4; // 3 in files with the core header
    Channel channels[3];     // red, green, blue of bit-field pixels
    size_t pixelsAt = 0;
    size_t stride = 0; // bytes of an uncompressed row
};

enum class Verdict { kOk, kNotBmp, kTooLarge, kMissing, kRefused };

Verdict ReadLayout(const uint8_t* data, size_t size, const CPictureLimits& limits, Layout& l, int64_t& claimedW,
                   int64_t& claimedH)
{
    if (size < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M') {
        return Verdict::kNotBmp;
    }
    const uint32_t offset = Le(data + 10, 4);
    const uint32_t headerSize = Le(data + 14, 4);
    const uint8_t* h = data + kFileHeader;
    uint32_t planes = 0;
    int64_t width = 0;
    int64_t height = 0;
    if (headerSize == 12) {
        width = Le(h + 4, 2);
        height = Le(h + 6, 2);
        planes = Le(h + 8, 2);
        l.bits = Le(h + 10, 2);
        l.entryBytes = 3;
    } else if (headerSize == 40 || headerSize == 108 || headerSize == 124) {
        if (size < kFileHeader + headerSize) {
            return Verdict::kRefused;
        }
        width = static_cast<int32_t>(Le(h + 4, 4));
        height = static_cast<int32_t>(Le(h + 8, 4));
        planes = Le(h + 12, 2);
        l.bits = Le(h + 14, 2);
        l.compression = Le(h + 16, 4);
        l.colours = Le(h + 32, 4);
    } else {
        return Verdict::kRefused;
    }
    claimedW = width < 0 ? -width : width;
    claimedH = height < 0 ? -height : height;
    if (planes != 1 || width <= 0 || height == 0 || (height < 0 && headerSize == 12)) {
        return Verdict::kRefused;
    }
    if (!limits.Within(claimedW, claimedH)) {
        return Verdict::kTooLarge;
    }
    l.width = static_cast<int32_t>(width);
    l.height = static_cast<int32_t>(claimedH);
    l.topDown = height < 0;

    size_t tableAt = kFileHeader + headerSize;
    switch (l.compression) {
    case kRgb:
        if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) {
            return Verdict::kRefused;
        }
        if (l.bits == 16) {
            l.channels[0].Set(0x7c00);
            l.channels[1].Set(0x03e0);
            l.channels[2].Set(0x001f);
        }
        break;
    case kRle8:
    case kRle4:
        if (l.bits != (l.compression == kRle8 ? 8u : 4u) || l.topDown) {
            return Verdict::kRefused;
        }
        break;
    case kBitFields: {
        if (l.bits != 16 && l.bits != 32) {
            return Verdict::kRefused;
        }
        // Three masks after a 40-byte header, inside the longer ones.
        const size_t masksAt = kFileHeader + 40;
        if (size < masksAt + 12) {
            return Verdict::kRefused;
        }
        if (headerSize == 40) {
            tableAt += 12;
        }
        // The alpha mask of the longer headers plays no part in the colours,
        // but a mask the platform cannot scale makes it refuse the file.
        const uint64_t within = l.bits == 16 ? 0xffffu : 0xffffffffu;
        Channel alpha;
        const uint32_t alphaMask = headerSize >= 108 ? Le(data + masksAt + 12, 4) : 0;
        if ((alphaMask & ~within) != 0 || !alpha.Set(alphaMask)) {
            return Verdict::kRefused;
        }
        uint32_t any = 0;
        for (int c = 0; c < 3; ++c) {
            const uint32_t mask = Le(data + masksAt + 4 * static_cast<size_t>(c), 4);
            if ((mask & ~within) != 0 || !l.channels[c].Set(mask)) {
                return Verdict::kRefused;
            }
            any |= mask;
        }
        if (any == 0) {
            return Verdict::kRefused; // no colour at all: readers disagree
        }
        break;
    }
    default:
        return Verdict::kRefused;
    }

    if (l.bits <= 8) {
        const uint32_t most = 1u << l.bits;
        if (l.colours == 0) {
            l.colours = most;
        }
        // One-bit pictures take two colours; a table larger than the depth
        // allows is not read the same way everywhere.
        if (l.colours > most || (l.bits == 1 && l.colours != 2)) {
            return Verdict::kRefused;
        }
        l.palette = data + tableAt;
        tableAt += static_cast<size_t>(l.colours) * l.entryBytes;
    } else {
        l.colours = 0;
    }
    if (tableAt > size || offset < tableAt) {
        return Verdict::kRefused;
    }
    l.pixelsAt = offset;
    l.stride = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
    if (l.compression == kRgb || l.compression == kBitFields) {
        // Every row whole, padding included (readers differ over a last
        // row that lacks its padding).
        const uint64_t needed = static_cast<uint64_t>(offset) + l.stride * static_cast<size_t>(l.height);
        if (needed > size) {
            return Verdict::kMissing;
        }
    } else if (offset >= size) {
        return Verdict::kMissing;
    }
    return Verdict::kOk;
}

// Writes the pixel rows of an uncompressed file into `out` (B, G, R, 255,
// top to bottom); false when an index lies outside the colour table.
bool ReadRows(const uint8_t* data, const Layout& l, uint8_t* out)
{
    const size_t outRow = static_cast<size_t>(l.width) * 4;
    for (int32_t r = 0; r < l.height; ++r) {
        const uint8_t* src = data + l.pixelsAt + l.stride * static_cast<size_t>(r);
        const int32_t y = l.topDown ? r : l.height - 1 - r;
        uint8_t* dst = out + outRow * static_cast<size_t>(y);
        switch (l.bits) {
        case 24:
            for (int32_t x = 0; x < l.width; ++x, src += 3, dst += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = 255;
            }
            break;
        case 32:
            if (l.compression == kRgb) {
                for (int32_t x = 0; x < l.width; ++x, src += 4, dst += 4) {
                    uint32_t pixel;
                    std::memcpy(&pixel, src, 4);
                    pixel |= 0xff000000u;
                    std::memcpy(dst, &pixel, 4);
                }
                break;
            }
            for (int32_t x = 0; x < l.width; ++x, src += 4, dst += 4) {
                const uint32_t v = Le(src, 4);
                dst[0] = l.channels[2].Of(v);
                dst[1] = l.channels[1].Of(v);
                dst[2] = l.channels[0].Of(v);
                dst[3] = 255;
            }
            break;
        case 16:
            for (int32_t x = 0; x < l.width; ++x, src += 2, dst += 4) {
                const uint32_t v = Le(src, 2);
                dst[0] = l.channels[2].Of(v);
                dst[1] = l.channels[1].Of(v);
                dst[2] = l.channels[0].Of(v);
                dst[3] = 255;
            }
            break;
        default: { // 1, 4 or 8 bits of colour index, high bits first
            const uint32_t perByte = 8 / l.bits;
            const uint32_t top = (1u << l.bits) - 1;
            for (int32_t x = 0; x < l.width; ++x, dst += 4) {
                const uint32_t shift = 8 - l.bits * (static_cast<uint32_t>(x) % perByte + 1);
                const uint32_t index = (src[static_cast<uint32_t>(x) / perByte] >> shift) & top;
                if (index >= l.colours) {
                    return false;
                }
                const uint8_t* entry = l.palette + static_cast<size_t>(index) * l.entryBytes;
                dst[0] = entry[0];
                dst[1] = entry[1];
                dst[2] = entry[2];
                dst[3] = 255;
            }
            break;
        }
        }
    }
    return true;
}

// Run-length data (see CBmpRunLength): colour indices into `out`, rows
// bottom-up.
class CRunLengthPixels : public CBmpRunLength::Visitor {
public:
    CRunLengthPixels(const Layout& l, uint8_t* out) : m_l(l), m_out(out) {}

    bool Pixel(int32_t row, int32_t x, uint32_t index) override
    {
        if (index >= m_l.colours) {
            return false;
        }
        const uint8_t* entry = m_l.palette + static_cast<size_t>(index) * m_l.entryBytes;
        uint8_t* dst =
            m_out +
            (static_cast<size_t>(m_l.height - 1 - row) * static_cast<size_t>(m_l.width) + static_cast<size_t>(x)) * 4;
        dst[0] = entry[0];
        dst[1] = entry[1];
        dst[2] = entry[2];
        dst[3] = 255;
        return true;
    }

private:
    const Layout& m_l;
    uint8_t* m_out;
};

} // namespace

bool CBmpDecoder::Recognizes(const uint8_t* data, size_t size)
{
    return data != nullptr && size >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool CBmpDecoder::Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const
{
    if (data == nullptr || size == 0) {
        error = CMessage(TRV_TEXT("CoreText", "图片文件是空的。"));
        return false;
    }
    Layout l;
    int64_t claimedW = 0;
    int64_t claimedH = 0;
    switch (ReadLayout(data, size, m_limits, l, claimedW, claimedH)) {
    case Verdict::kOk:
        break;
    case Verdict::kNotBmp:
        error = CMessage(TRV_TEXT("CoreText", "无法识别的图片格式。"));
        return false;
    case Verdict::kTooLarge:
        error = m_limits.TooLargeText(claimedW, claimedH);
        return false;
    case Verdict::kMissing:
        error = CMessage(TRV_TEXT("CoreText", "图片文件不完整:缺少部分像素数据。"));
        return false;
    case Verdict::kRefused:
        error = CMessage(kDamaged, {std::string("BMP")});
        return false;
    }
    try {
        CByteVector pixels(static_cast<size_t>(l.width) * static_cast<size_t>(l.height) * 4);
        bool read = false;
        if (l.compression == kRle8 || l.compression == kRle4) {
            CRunLengthPixels visitor(l, pixels.data());
            read = CBmpRunLength::Walk(data, size, l.pixelsAt, l.width, l.height, l.compression == kRle4, visitor);
        } else {
            read = ReadRows(data, l, pixels.data());
        }
        if (!read) {
            error = CMessage(kDamaged, {std::string("BMP")});
            return false;
        }
        out.width = l.width;
        out.height = l.height;
        out.pixels = std::move(pixels);
    } catch (const std::bad_alloc&) {
        error = CMessage(TRV_TEXT("CoreText", "内存不足,无法载入图片。"));
        return false;
    }
    return true;
}
