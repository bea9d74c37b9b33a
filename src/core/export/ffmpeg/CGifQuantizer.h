#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Puts 32-bit frames (bytes blue, green, red, unused) into one palette of up
// to 256 colours, for an animated GIF. The nearest colour comes from a
// table over the colour cube at 6 bits a channel, made once per palette, so
// a pixel costs a table look-up rather than a search.
//
// Ordered dithering adds an 8 x 8 Bayer pattern of -8 to +7 before the
// look-up: each pixel on its own (rows may be mapped in any order), and the
// same picture gives the same pattern in every frame, which keeps a still
// part of a GIF still. Error diffusion (Sierra's two-row "lite" filter)
// carries each pixel's error to its neighbours: smoother gradients, one row
// after the other.
class CGifQuantizer {
public:
    // 0xAARRGGBB words, as FFmpeg's PAL8 frames hold them; the alpha is
    // ignored. At least one colour.
    void SetPalette(const uint32_t* colours, int32_t count);

    void MapOrdered(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, uint8_t* out,
                    int32_t outStride) const;
    void MapDiffused(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, uint8_t* out,
                     int32_t outStride);

    // The index of the palette colour nearest to the colour (exactly, by
    // squared distance; the first of equals).
    uint8_t Nearest(int32_t r, int32_t g, int32_t b) const;

private:
    uint8_t Look(int32_t r, int32_t g, int32_t b) const
    {
        return m_table[static_cast<std::size_t>((r >> 2) << 12 | (g >> 2) << 6 | (b >> 2))];
    }

    std::vector<std::array<int32_t, 3>> m_colours; // red, green, blue
    std::vector<uint8_t> m_table;                  // 64 x 64 x 64, red major
    std::vector<int32_t> m_errors;                 // two rows of three channels, diffusion only
};
