#pragma once

#include "export/CVideoSettings.h"

#include <cstdint>

struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;

// The libavfilter graph that gives an animated GIF one palette fitted to a
// sample of its frames: "split [a][b]; [a] select, palettegen [p];
// [b][p] paletteuse".
// palettegen makes its palette only when it has seen the last frame, so the
// paletted frames come out after End; until then the graph holds every
// frame pushed.
class CGifPaletteGraph {
public:
    CGifPaletteGraph() = default;
    ~CGifPaletteGraph();
    CGifPaletteGraph(const CGifPaletteGraph&) = delete;
    CGifPaletteGraph& operator=(const CGifPaletteGraph&) = delete;

    // Builds the graph for BGRA frames of width x height whose times count
    // in 1 / timeBaseDen seconds; quality 0 to 100 chooses the number of
    // colours. `frames` is how many will come (0: not known, all of them
    // make the palette). 0 or an FFmpeg error code.
    int Open(int32_t width, int32_t height, int32_t timeBaseDen, int32_t quality, CVideoSettings::GifDither dither,
             int64_t frames);
    // Feeds one frame (the graph takes its own reference). 0 or an error.
    int Push(AVFrame* frame);
    // Marks the end of the frames. 0 or an error.
    int End();
    // The next paletted frame into `out`: 0, AVERROR(EAGAIN) when none is
    // ready yet, AVERROR_EOF after the last one, or an error.
    int Pull(AVFrame* out);
    void Close();

private:
    AVFilterGraph* m_pGraph = nullptr;
    AVFilterContext* m_pSource = nullptr;
    AVFilterContext* m_pSink = nullptr;
};
