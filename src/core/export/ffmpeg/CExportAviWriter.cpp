#include "CExportAviWriter.h"

#include "output/avi/CAviRecorder.h"
#include "output/bmp/CBitmapInfo.h"
#include "export/CExportMessages.h"

#include <cerrno>
#include <cstring>

extern "C" {
#include <libavutil/frame.h>
}

CExportAviWriter::CExportAviWriter() = default;

CExportAviWriter::~CExportAviWriter()
{
    Cancel();
    av_frame_free(&m_pScaled);
}

bool CExportAviWriter::Fail(const CMessage& message)
{
    m_error = message;
    Cancel();
    return false;
}

bool CExportAviWriter::Open(const std::string& path, int32_t width, int32_t height, int32_t fps, bool motionJpeg,
                            int32_t quality)
{
    Cancel();
    m_error = CMessage();
    m_strPath = path;
    m_nWidth = width;
    m_nHeight = height;
    m_nFrames = 0;
    BITMAP description{};
    description.bmWidth = width;
    description.bmHeight = height;
    description.bmWidthBytes = 4 * width;
    description.bmPlanes = 1;
    description.bmBitsPixel = 32;
    const std::unique_ptr<CBitmapInfo> format = MakeBitmapHeader(description);
    if (width <= 0 || height <= 0 || format == nullptr) {
        return Fail(CExportMessages::SizeOutOfRange(width, height));
    }
    // The recorder writes into the temporary file, which it finds there
    // and takes over.
    const int err = m_temp.Create(path, CReplacingFile::Durability::kFlushed);
    if (err != 0) {
        return Fail(err == EISDIR ? CExportMessages::WriteFailed(path, err) : CExportMessages::CannotCreate(path, err));
    }
    m_pRecorder = std::make_unique<CAviRecorder>();
    m_pRecorder->m_nFrameRate = static_cast<uint32_t>(fps);
    m_pRecorder->SetFrameFormat(format->header);
    m_pRecorder->SetFilePath(m_temp.GetTempPath());
    CCompressionOptions chosen;
    chosen.codec = motionJpeg ? CCompressionOptions::kMotionJpeg : CCompressionOptions::kUncompressed;
    chosen.quality = quality < 1 ? 1 : quality;
    m_pRecorder->SetCompressionChooser([chosen](CCompressionOptions& o) {
        o = chosen;
        return true;
    });
    if (m_pRecorder->OpenVideo() != 0) {
        // The system's reason where there is one, else the recorder's status text.
        CMessage why = m_pRecorder->GetWriteError();
        if (why.IsEmpty()) why = m_pRecorder->GetError();
        return Fail(CExportMessages::EncodeFailed(path, CMessage::Plain("AVI"), why));
    }
    m_rows.assign(format->header.biSizeImage, 0);
    return true;
}

bool CExportAviWriter::AddFrame(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    if (!m_pRecorder || !m_pRecorder->IsOpen()) {
        return Fail(CExportMessages::NoFrames(m_strPath));
    }
    if (bgr0 == nullptr || width <= 0 || height <= 0 || stride / 4 < width) {
        return Fail(CExportMessages::BadFrame(width, height, stride));
    }
    if (width != m_nWidth || height != m_nHeight) {
        if (m_pScaled == nullptr) {
            m_pScaled = av_frame_alloc();
            if (m_pScaled == nullptr) return Fail(CExportMessages::WriteFailed(m_strPath, ENOMEM));
            m_pScaled->format = AV_PIX_FMT_BGR0;
            m_pScaled->width = m_nWidth;
            m_pScaled->height = m_nHeight;
            if (av_frame_get_buffer(m_pScaled, 0) < 0) {
                av_frame_free(&m_pScaled);
                return Fail(CExportMessages::WriteFailed(m_strPath, ENOMEM));
            }
        }
        if (!m_scaler.Convert(bgr0, stride, width, height, m_pScaled)) {
            return Fail(CExportMessages::BadFrame(width, height, stride));
        }
        bgr0 = m_pScaled->data[0];
        stride = m_pScaled->linesize[0];
    }
    // Rows bottom to top, 4 bytes a pixel (already a multiple of 4).
    const size_t row = static_cast<size_t>(m_nWidth) * 4;
    for (int32_t y = 0; y < m_nHeight; ++y) {
        std::memcpy(m_rows.data() + static_cast<size_t>(m_nHeight - 1 - y) * row,
                    bgr0 + static_cast<ptrdiff_t>(y) * stride, row);
    }
    if (m_pRecorder->WriteFrame(m_rows.data()) < 0) {
        const CMessage why = m_pRecorder->GetError();
        return Fail(why.IsEmpty() ? CExportMessages::WriteFailed(m_strPath, EIO) : why);
    }
    ++m_nFrames;
    return true;
}

bool CExportAviWriter::Finish()
{
    if (!m_pRecorder) {
        return Fail(CExportMessages::NoFrames(m_strPath));
    }
    if (m_nFrames == 0) {
        return Fail(CExportMessages::NoFrames(m_strPath));
    }
    const int32_t closed = m_pRecorder->CloseVideo();
    const CMessage why = m_pRecorder->GetError();
    m_pRecorder.reset();
    if (closed < 0) {
        return Fail(why.IsEmpty() ? CExportMessages::WriteFailed(m_strPath, EIO) : why);
    }
    const int err = m_temp.Commit();
    if (err != 0) {
        return Fail(CExportMessages::WriteFailed(m_strPath, err));
    }
    return true;
}

void CExportAviWriter::Cancel()
{
    if (m_pRecorder) {
        m_pRecorder->CloseVideo();
        m_pRecorder.reset();
    }
    m_temp.Abandon();
}
