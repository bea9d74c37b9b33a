#pragma once

#include "output/bmp/BITMAPINFOHEADER.h"

#include <cstddef>
#include <cstdint>

// Motion JPEG compressor for video frames: each frame (rows bottom to top,
// 32-bit blue, green, red, 0 or 24-bit blue, green, red, rows padded to a
// multiple of 4 bytes) becomes one baseline JPEG image with 4:4:4 sampling.
// Built on libjpeg-turbo's TurboJPEG interface.
class CMjpegEncoder {
public:
    CMjpegEncoder() = default;
    ~CMjpegEncoder();
    CMjpegEncoder(const CMjpegEncoder&) = delete;
    CMjpegEncoder& operator=(const CMjpegEncoder&) = delete;

    enum Result { kOk, kUnsupported, kNoMemory };
    // Prepares for frames of `input`; quality 1 to 100 (clamped).
    Result Init(const BITMAPINFOHEADER& input, int quality);

    // The stream format of the compressed frames: 'MJPG', 24 bits, image
    // size that of a 24-bit frame.
    BITMAPINFOHEADER OutputFormat() const;

    // Compresses one frame; the image stays valid until the next call.
    bool Encode(const void* frame, const uint8_t** jpeg, size_t* size);

    static constexpr uint32_t kFourCC = 0x47504A4D; // 'M', 'J', 'P', 'G'

private:
    void* m_handle = nullptr;
    BITMAPINFOHEADER m_input{};
    int m_nPixelFormat = 0;
    int m_nPitch = 0;
    int m_nQuality = 90;
    unsigned char* m_pBuffer = nullptr;
    unsigned long m_nBufferSize = 0;
};
