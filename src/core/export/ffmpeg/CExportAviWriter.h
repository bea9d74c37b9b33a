#pragma once

#include "message/CMessage.h"

#include "CFrameScaler.h"
#include "files/CReplacingFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAviRecorder;
struct AVFrame;

// An AVI video of an export: uncompressed or Motion JPEG frames of 32 bits
// at any frame rate, through CAviRecorder. Frames of another size are
// scaled to the video's. The video goes to a temporary file beside the
// destination that Finish renames over it; Cancel, a failure or the
// destructor before Finish remove it.
class CExportAviWriter {
public:
    CExportAviWriter();
    ~CExportAviWriter();
    CExportAviWriter(const CExportAviWriter&) = delete;
    CExportAviWriter& operator=(const CExportAviWriter&) = delete;

    bool Open(const std::string& path, int32_t width, int32_t height, int32_t fps, bool motionJpeg, int32_t quality);
    // One frame: bytes blue, green, red, 0, rows top to bottom.
    bool AddFrame(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    bool Finish();
    void Cancel();

    int64_t FrameCount() const { return m_nFrames; }
    const CMessage& Error() const { return m_error; }

private:
    bool Fail(const CMessage& message);

    std::string m_strPath;
    CMessage m_error;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int64_t m_nFrames = 0;
    CReplacingFile m_temp;
    std::unique_ptr<CAviRecorder> m_pRecorder;
    CFrameScaler m_scaler;
    AVFrame* m_pScaled = nullptr;
    std::vector<uint8_t> m_rows;
};
