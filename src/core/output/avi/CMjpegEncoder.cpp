#include "CMjpegEncoder.h"

#include "output/bmp/CBitmapInfo.h"

#include <algorithm>
#include <turbojpeg.h>

CMjpegEncoder::~CMjpegEncoder()
{
    if (m_pBuffer != nullptr) {
        tjFree(m_pBuffer);
    }
    if (m_handle != nullptr) {
        tjDestroy(m_handle);
    }
}

CMjpegEncoder::Result CMjpegEncoder::Init(const BITMAPINFOHEADER& input, int quality)
{
    if (input.biCompression != BI_RGB || input.biWidth <= 0 || input.biHeight <= 0 || input.biPlanes != 1) {
        return kUnsupported;
    }
    if (input.biBitCount == 32) {
        m_nPixelFormat = TJPF_BGRX;
    } else if (input.biBitCount == 24) {
        m_nPixelFormat = TJPF_BGR;
    } else {
        return kUnsupported;
    }
    const uint64_t pitch = CBitmapInfo::RowBytes(input.biWidth, input.biBitCount);
    if (pitch > INT32_MAX || pitch * static_cast<uint64_t>(input.biHeight) > input.biSizeImage) {
        return kUnsupported;
    }
    m_nPitch = static_cast<int>(pitch);
    m_input = input;
    m_nQuality = std::clamp(quality, 1, 100);
    m_handle = tjInitCompress();
    if (m_handle == nullptr) {
        return kNoMemory;
    }
    m_nBufferSize = tjBufSize(input.biWidth, input.biHeight, TJSAMP_444);
    if (m_nBufferSize == static_cast<unsigned long>(-1)) {
        return kUnsupported;
    }
    m_pBuffer = tjAlloc(static_cast<int>(std::min<unsigned long>(m_nBufferSize, INT32_MAX)));
    if (m_pBuffer == nullptr || m_nBufferSize > INT32_MAX) {
        return kNoMemory;
    }
    return kOk;
}

BITMAPINFOHEADER CMjpegEncoder::OutputFormat() const
{
    BITMAPINFOHEADER out = m_input;
    out.biBitCount = 24;
    out.biCompression = kFourCC;
    out.biSizeImage =
        static_cast<uint32_t>(CBitmapInfo::RowBytes(m_input.biWidth, 24) * static_cast<uint64_t>(m_input.biHeight));
    out.biClrUsed = 0;
    out.biClrImportant = 0;
    return out;
}

bool CMjpegEncoder::Encode(const void* frame, const uint8_t** jpeg, size_t* size)
{
    if (m_handle == nullptr || m_pBuffer == nullptr || frame == nullptr) {
        return false;
    }
    unsigned char* out = m_pBuffer;
    unsigned long outSize = m_nBufferSize;
    // The frame's rows run bottom to top; the JPEG image's top to bottom.
    const int rc =
        tjCompress2(m_handle, static_cast<const unsigned char*>(frame), m_input.biWidth, m_nPitch, m_input.biHeight,
                    m_nPixelFormat, &out, &outSize, TJSAMP_444, m_nQuality, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC);
    if (rc != 0) {
        return false;
    }
    *jpeg = out;
    *size = outSize;
    return true;
}
