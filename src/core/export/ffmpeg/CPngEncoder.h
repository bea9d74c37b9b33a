#pragma once

#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

// Lossless PNG images (24-bit RGB) of 32-bit screen frames (bytes blue,
// green, red, 0; rows top to bottom) through libavcodec's PNG encoder.
class CPngEncoder {
public:
    CPngEncoder() = default;
    ~CPngEncoder();
    CPngEncoder(const CPngEncoder&) = delete;
    CPngEncoder& operator=(const CPngEncoder&) = delete;

    // The whole PNG file into `png`. 0 or an FFmpeg error code.
    int Encode(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, std::vector<uint8_t>& png);

private:
    int Start(int32_t width, int32_t height);
    void Release();

    AVCodecContext* m_pCodec = nullptr;
    AVFrame* m_pFrame = nullptr;
    AVPacket* m_pPacket = nullptr;
};
