#pragma once

#include <cstdint>

struct AVFrame;
struct SwsContext;

// Turns 32-bit screen frames (bytes blue, green, red, 0; rows top to
// bottom) into FFmpeg pictures of another pixel format and size with
// libswscale. Frames of the picture's size are converted without scaling;
// others are scaled bicubically.
class CFrameScaler {
public:
    CFrameScaler() = default;
    ~CFrameScaler();
    CFrameScaler(const CFrameScaler&) = delete;
    CFrameScaler& operator=(const CFrameScaler&) = delete;

    // Fills `out`, whose format, size and buffers are set, from the frame.
    // False when libswscale cannot make the conversion.
    bool Convert(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, AVFrame* out);

private:
    SwsContext* m_pContext = nullptr;
};
