#include "CGifQuantizer.h"

#include <algorithm>
#include <limits>

namespace {

// The 8 x 8 Bayer matrix: each value 0 to 63 once, spread so that any
// threshold lights the pixels evenly.
constexpr std::array<int8_t, 64> MakeBayer()
{
    std::array<int8_t, 64> m{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int q = x ^ y;
            // Bits of x ^ y and y interleaved, most significant first.
            const int v =
                ((q & 1) << 5) | ((y & 1) << 4) | ((q & 2) << 2) | ((y & 2) << 1) | ((q & 4) >> 1) | ((y & 4) >> 2);
            m[static_cast<size_t>(y * 8 + x)] = static_cast<int8_t>(v / 4 - 8);
        }
    }
    return m;
}
constexpr std::array<int8_t, 64> kBayer = MakeBayer();

inline int32_t Clamp(int32_t v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

} // namespace

void CGifQuantizer::SetPalette(const uint32_t* colours, int32_t count)
{
    m_colours.clear();
    for (int32_t i = 0; i < std::clamp(count, 1, 256); ++i) {
        const uint32_t c = colours[i];
        m_colours.push_back({static_cast<int32_t>((c >> 16) & 0xff), static_cast<int32_t>((c >> 8) & 0xff),
                             static_cast<int32_t>(c & 0xff)});
    }
    // Each cell of the cube takes the colour nearest to its centre.
    m_table.resize(size_t{64} * 64 * 64);
    for (int32_t r = 0; r < 64; ++r) {
        for (int32_t g = 0; g < 64; ++g) {
            for (int32_t b = 0; b < 64; ++b) {
                m_table[static_cast<size_t>(r << 12 | g << 6 | b)] = Nearest(r * 4 + 2, g * 4 + 2, b * 4 + 2);
            }
        }
    }
}

uint8_t CGifQuantizer::Nearest(int32_t r, int32_t g, int32_t b) const
{
    int32_t best = std::numeric_limits<int32_t>::max();
    size_t index = 0;
    for (size_t i = 0; i < m_colours.size(); ++i) {
        const int32_t dr = m_colours[i][0] - r, dg = m_colours[i][1] - g, db = m_colours[i][2] - b;
        const int32_t d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return static_cast<uint8_t>(index);
}

void CGifQuantizer::MapOrdered(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, uint8_t* out,
                               int32_t outStride) const
{
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* src = bgr0 + static_cast<std::ptrdiff_t>(y) * stride;
        uint8_t* dst = out + static_cast<std::ptrdiff_t>(y) * outStride;
        const int8_t* pattern = &kBayer[static_cast<size_t>((y & 7) * 8)];
        for (int32_t x = 0; x < width; ++x) {
            const int32_t d = pattern[x & 7];
            dst[x] = Look(Clamp(src[4 * x + 2] + d), Clamp(src[4 * x + 1] + d), Clamp(src[4 * x] + d));
        }
    }
}

void CGifQuantizer::MapDiffused(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, uint8_t* out,
                                int32_t outStride)
{
    // Errors, four times over so that the quarters stay whole: this row's
    // and the next row's, with a pixel of margin on each side.
    const size_t row = static_cast<size_t>(width + 2) * 3;
    m_errors.assign(2 * row, 0);
    for (int32_t y = 0; y < height; ++y) {
        int32_t* here = &m_errors[(y & 1) * row];
        int32_t* next = &m_errors[((y + 1) & 1) * row];
        std::fill(next, next + row, 0);
        const uint8_t* src = bgr0 + static_cast<std::ptrdiff_t>(y) * stride;
        uint8_t* dst = out + static_cast<std::ptrdiff_t>(y) * outStride;
        for (int32_t x = 0; x < width; ++x) {
            int32_t* e = here + 3 * (x + 1);
            const int32_t r = Clamp(src[4 * x + 2] + e[0] / 4);
            const int32_t g = Clamp(src[4 * x + 1] + e[1] / 4);
            const int32_t b = Clamp(src[4 * x] + e[2] / 4);
            const uint8_t index = Look(r, g, b);
            dst[x] = index;
            const std::array<int32_t, 3>& c = m_colours[index];
            const int32_t err[3] = {r - c[0], g - c[1], b - c[2]};
            // Sierra lite: half to the right, a quarter below-left and
            // a quarter below.
            int32_t* below = next + 3 * (x + 1);
            for (int i = 0; i < 3; ++i) {
                e[3 + i] += 2 * err[i];
                below[i - 3] += err[i];
                below[i] += err[i];
            }
        }
    }
}
