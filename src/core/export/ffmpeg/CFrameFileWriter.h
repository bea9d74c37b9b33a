#pragma once

#include "message/CMessage.h"

#include "export/CFrameFileSettings.h"
#include "CFrameScaler.h"
#include "CPngEncoder.h"
#include "memory/CNoInitAllocator.h"
#include "morph/CBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

struct AVFrame;

// Writes 32-bit screen frames (bytes blue, green, red, 0; rows top to
// bottom) as PNG, JPEG or BMP files, scaled to the settings' size. Each file
// goes to a temporary file beside it that is renamed over it when complete:
// a failed write leaves the destination as it was and nothing else behind.
// PNG and BMP keep every pixel: the two of one frame decode to the same
// colours. One writer per thread; several may run side by side.
class CFrameFileWriter {
public:
    CFrameFileWriter() = default;
    ~CFrameFileWriter();
    CFrameFileWriter(const CFrameFileWriter&) = delete;
    CFrameFileWriter& operator=(const CFrameFileWriter&) = delete;

    // Checks and takes the settings (CExportCheck::FrameFileSettings).
    bool Open(const CFrameFileSettings& settings);
    // Writes one frame to `path`, replacing what is there.
    bool Write(const std::string& path, const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Why the last call failed; empty otherwise.
    const CMessage& Error() const { return m_error; }

private:
    bool Encode(const std::string& path, const uint8_t* bgr0, int32_t stride);
    bool EncodeJpeg(const uint8_t* bgr0, int32_t stride);
    bool Fail(const CMessage& message);

    CFrameFileSettings m_settings;
    bool m_bOpen = false;
    CMessage m_error;
    CFrameScaler m_scaler;
    AVFrame* m_pScaled = nullptr;
    CPngEncoder m_png;
    void* m_hJpeg = nullptr;
    // Kept from frame to frame: a BMP's frame, its rows bottom to top, and
    // the bytes of the file.
    CBitmap m_frame;
    CByteVector m_pixels;
    std::vector<uint8_t> m_bytes;
};
