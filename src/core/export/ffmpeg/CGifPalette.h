#pragma once

#include <array>
#include <cstdint>

struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;

// An animated GIF's one palette, fitted by libavfilter's palettegen to a
// sample of the frames: the sampled frames go in one by one (only their
// colour counts are kept), and Make gives the palette.
class CGifPalette {
public:
    // 0xAARRGGBB, as FFmpeg's PAL8 frames hold their colours.
    using Colours = std::array<uint32_t, 256>;

    CGifPalette() = default;
    ~CGifPalette();
    CGifPalette(const CGifPalette&) = delete;
    CGifPalette& operator=(const CGifPalette&) = delete;

    // Starts a palette for BGRA frames of width x height; quality 0 to 100
    // chooses the number of colours (16 to 256). 0 or an FFmpeg error code.
    int Open(int32_t width, int32_t height, int32_t quality);
    // Counts the colours of one frame (the graph takes its own reference).
    int Push(AVFrame* frame);
    // Ends the sample and puts the palette into `colours` (the entries
    // beyond the colours found are black). 0 or an error.
    int Make(Colours& colours);
    void Close();

    // The number of colours a quality asks for.
    static int32_t ColourCount(int32_t quality);

private:
    AVFilterGraph* m_pGraph = nullptr;
    AVFilterContext* m_pSource = nullptr;
    AVFilterContext* m_pSink = nullptr;
    int64_t m_pushed = 0;
};
