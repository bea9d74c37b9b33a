#include "CFrameFileWriter.h"

#include "output/bmp/CBitmapInfo.h"
#include "CExportCheck.h"
#include "export/CExportMessages.h"
#include "files/CReplacingFile.h"
#include "FfmpegSupport.h"
#include "output/bmp/WriteBitmapFile.h"

#include "morph/CBitmap.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <turbojpeg.h>

extern "C" {
#include <libavutil/frame.h>
}

CFrameFileWriter::~CFrameFileWriter()
{
    av_frame_free(&m_pScaled);
    if (m_hJpeg != nullptr) {
        tjDestroy(m_hJpeg);
    }
}

bool CFrameFileWriter::Open(const CFrameFileSettings& settings)
{
    m_bOpen = false;
    m_error = CMessage();
    const CMessage problem = CExportCheck::FrameFileSettings(settings);
    if (!problem.IsEmpty()) {
        return Fail(problem);
    }
    m_settings = settings;
    av_frame_free(&m_pScaled);
    FfmpegQuietLog();
    m_bOpen = true;
    return true;
}

bool CFrameFileWriter::Write(const std::string& path, const uint8_t* bgr0, int32_t stride, int32_t width,
                             int32_t height)
{
    m_error = CMessage();
    if (!m_bOpen) {
        return Fail(CExportMessages::UnknownFormat());
    }
    if (bgr0 == nullptr || width <= 0 || height <= 0 || stride / 4 < width) {
        return Fail(CExportMessages::BadFrame(width, height, stride));
    }
    if (width != m_settings.width || height != m_settings.height) {
        if (m_pScaled == nullptr) {
            m_pScaled = av_frame_alloc();
            if (m_pScaled == nullptr) {
                return Fail(CExportMessages::WriteFailed(path, ENOMEM));
            }
            m_pScaled->format = AV_PIX_FMT_BGR0;
            m_pScaled->width = m_settings.width;
            m_pScaled->height = m_settings.height;
            if (av_frame_get_buffer(m_pScaled, 0) < 0) {
                av_frame_free(&m_pScaled);
                return Fail(CExportMessages::WriteFailed(path, ENOMEM));
            }
        }
        if (!m_scaler.Convert(bgr0, stride, width, height, m_pScaled)) {
            return Fail(CExportMessages::BadFrame(width, height, stride));
        }
        bgr0 = m_pScaled->data[0];
        stride = m_pScaled->linesize[0];
    }
    if (!Encode(path, bgr0, stride)) {
        return false;
    }
    CReplacingFile file;
    int err = file.Create(path, CReplacingFile::Durability::kFlushed);
    if (err != 0) {
        return Fail(err == EISDIR ? CExportMessages::WriteFailed(path, err) : CExportMessages::CannotCreate(path, err));
    }
    if (!file.File().Write(m_bytes.data(), m_bytes.size())) {
        err = file.File().Error();
    }
    if (err == 0) {
        err = file.Commit();
    }
    if (err != 0) {
        return Fail(CExportMessages::WriteFailed(path, err));
    }
    return true;
}

bool CFrameFileWriter::Encode(const std::string& path, const uint8_t* bgr0, int32_t stride)
{
    const int32_t width = m_settings.width;
    const int32_t height = m_settings.height;
    const CMessage name = CMessage::Plain(CFrameFileSettings::FormatName(m_settings.format));
    switch (m_settings.format) {
    case CFrameFileSettings::kPng:
        if (const int rc = m_png.Encode(bgr0, stride, width, height, m_bytes); rc < 0) {
            return Fail(CExportMessages::EncodeFailed(path, name, CMessage::Plain(FfmpegErrorText(rc))));
        }
        return true;
    case CFrameFileSettings::kJpeg:
        if (!EncodeJpeg(bgr0, stride)) {
            return Fail(CExportMessages::EncodeFailed(
                path, name, CMessage::Plain(m_hJpeg != nullptr ? tjGetErrorStr2(m_hJpeg) : "")));
        }
        return true;
    case CFrameFileSettings::kBmp: {
        // Every byte of the kept bitmap is written: 32-bit rows have no padding.
        if (!m_frame.Reshape(width, height, 32)) {
            return Fail(CExportMessages::BadFrame(width, height, stride));
        }
        for (int32_t y = 0; y < height; ++y) {
            std::memcpy(m_frame.Bits() + static_cast<size_t>(y) * m_frame.WidthBytes(),
                        bgr0 + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(width) * 4);
        }
        const auto info = MakeBitmapInfo(m_frame);
        const CMessage reason = info ? BitmapFileBytes(*info, m_frame, m_pixels, m_bytes) : CMessage();
        if (info == nullptr || !reason.IsEmpty()) {
            return Fail(CExportMessages::EncodeFailed(path, name, reason));
        }
        return true;
    }
    }
    return Fail(CExportMessages::UnknownFormat());
}

bool CFrameFileWriter::EncodeJpeg(const uint8_t* bgr0, int32_t stride)
{
    if (m_hJpeg == nullptr) {
        m_hJpeg = tjInitCompress();
        if (m_hJpeg == nullptr) {
            return false;
        }
    }
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    // Rows top to bottom as they come; 4:4:4 keeps the colour edges of
    // morph frames sharp.
    const int rc = tjCompress2(m_hJpeg, bgr0, m_settings.width, stride, m_settings.height, TJPF_BGRX, &jpeg, &size,
                               TJSAMP_444, std::max(1, m_settings.quality), 0);
    if (rc == 0) {
        m_bytes.assign(jpeg, jpeg + size);
    }
    tjFree(jpeg);
    return rc == 0;
}

bool CFrameFileWriter::Fail(const CMessage& message)
{
    m_error = message;
    return false;
}
