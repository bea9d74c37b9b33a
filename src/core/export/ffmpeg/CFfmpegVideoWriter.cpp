#include "CFfmpegVideoWriter.h"

#include "CExportCheck.h"
#include "export/CExportMessages.h"
#include "FfmpegSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace {

constexpr int32_t kGifTicksPerSecond = 100;

// GIF frame delays count in hundredths of a second, so only the rates
// 100 / d are exact: 25 fps is a delay of 4, but 7 fps becomes 14 (7.14 fps)
// and rates above 66 would round to 1 or 0. The nearest delay is taken, yet
// never less than 2 (50 fps): browsers and most viewers play delays of 0 and
// 1 as 10, which would make a fast animation ten times slower.
int32_t GifDelay(int32_t fps)
{
    return std::max(2, (kGifTicksPerSecond + fps / 2) / fps);
}

// VP9's scale runs to 63; 100 gives 15, 75 gives 27.
int32_t Vp9Crf(int32_t quality)
{
    return (6300 - 48 * quality + 50) / 100;
}

} // namespace

CFfmpegVideoWriter::~CFfmpegVideoWriter()
{
    Release();
}

bool CFfmpegVideoWriter::Open(const std::string& path, const CVideoSettings& settings)
{
    Release();
    m_temp.Abandon();
    m_bOpen = false;
    m_bCancelled = false;
    m_error = CMessage();
    m_nFrames = 0;
    m_encoded = 0;
    m_strPath = path;
    const CMessage problem = CExportCheck::VideoSettings(settings);
    if (!problem.IsEmpty()) {
        return Fail(problem);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return Fail(CExportMessages::WriteFailed(path, EISDIR));
    }
    const int err = m_temp.Create(path, CReplacingFile::Durability::kFlushed);
    if (err != 0) {
        return Fail(CExportMessages::CannotCreate(path, err));
    }
    m_settings = settings;
    FfmpegQuietLog();
    const int rc = StartEncoder();
    if (rc < 0) {
        return FailCode(rc);
    }
    m_bOpen = true;
    return true;
}

int CFfmpegVideoWriter::StartEncoder()
{
    const CVideoSettings& s = m_settings;
    const bool gif = s.format == CVideoSettings::kGif;
    const AVCodec* codec = avcodec_find_encoder_by_name(CVideoSettings::EncoderName(s.format));
    const AVOutputFormat* muxer = av_guess_format(CVideoSettings::MuxerName(s.format), nullptr, nullptr);
    if (codec == nullptr || muxer == nullptr) {
        return AVERROR_ENCODER_NOT_FOUND;
    }
    // The muxer opens the file by name (MP4's fast start reads it back);
    // "file:" keeps a colon in the path from naming a protocol.
    const std::string url = "file:" + m_temp.GetTempPath();
    int rc = avformat_alloc_output_context2(&m_pFormat, muxer, nullptr, url.c_str());
    if (rc < 0) {
        return rc;
    }
    m_pStream = avformat_new_stream(m_pFormat, nullptr);
    m_pCodec = avcodec_alloc_context3(codec);
    m_pPicture = av_frame_alloc();
    m_pPacket = av_packet_alloc();
    if (m_pStream == nullptr || m_pCodec == nullptr || m_pPicture == nullptr || m_pPacket == nullptr) {
        return AVERROR(ENOMEM);
    }
    m_pCodec->width = s.width;
    m_pCodec->height = s.height;
    m_pCodec->sample_aspect_ratio = AVRational{1, 1};
    AVDictionary* options = nullptr;
    if (gif) {
        m_nPtsStep = GifDelay(s.fps);
        m_pCodec->time_base = AVRational{1, kGifTicksPerSecond};
        m_pCodec->framerate = av_make_q(kGifTicksPerSecond, m_nPtsStep);
        m_pCodec->pix_fmt = AV_PIX_FMT_PAL8;
        m_pPicture->format = AV_PIX_FMT_BGRA;
    } else {
        m_nPtsStep = 1;
        m_pCodec->time_base = AVRational{1, s.fps};
        m_pCodec->framerate = AVRational{s.fps, 1};
        m_pCodec->pix_fmt = AV_PIX_FMT_YUV420P;
        // libswscale converts with BT.601 coefficients to limited range;
        // say so, or players guess (BT.709 for HD sizes).
        m_pCodec->colorspace = AVCOL_SPC_SMPTE170M;
        m_pCodec->color_primaries = AVCOL_PRI_SMPTE170M;
        m_pCodec->color_trc = AVCOL_TRC_SMPTE170M;
        m_pCodec->color_range = AVCOL_RANGE_MPEG;
        m_pPicture->format = AV_PIX_FMT_YUV420P;
        m_pCodec->thread_count = s.threads;
        if (s.format == CVideoSettings::kMp4H264) {
            const int32_t preset = std::clamp(s.mp4Preset, 0, CVideoSettings::kMp4PresetCount - 1);
            av_dict_set_int(&options, "crf", CVideoSettings::Mp4Crf(s.quality, preset), 0);
            av_dict_set(&options, "preset", CVideoSettings::kMp4Presets[preset], 0);
        } else {
            // Constant quality: a rate factor and no bit rate.
            av_dict_set_int(&options, "crf", Vp9Crf(s.quality), 0);
            av_dict_set(&options, "b", "0", 0);
            // Speeds from 5 on are libvpx's real-time ones. Rows and tile
            // columns (log2: 2 at 1080p, each at least 256 pixels wide)
            // let every thread encode.
            av_dict_set(&options, "deadline", s.webmSpeed >= 5 ? "realtime" : "good", 0);
            av_dict_set_int(&options, "cpu-used", std::clamp(s.webmSpeed, 0, CVideoSettings::kMaxWebmSpeed), 0);
            av_dict_set(&options, "row-mt", "1", 0);
            int32_t tiles = 0;
            while (tiles < 6 && (s.width >> (tiles + 1)) >= 256) {
                ++tiles;
            }
            av_dict_set_int(&options, "tile-columns", tiles, 0);
        }
    }
    if ((m_pFormat->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        m_pCodec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    rc = avcodec_open2(m_pCodec, codec, &options);
    av_dict_free(&options);
    if (rc < 0) {
        return rc;
    }
    rc = avcodec_parameters_from_context(m_pStream->codecpar, m_pCodec);
    if (rc < 0) {
        return rc;
    }
    m_pStream->time_base = m_pCodec->time_base;
    m_pStream->avg_frame_rate = m_pCodec->framerate;
    m_pStream->r_frame_rate = m_pCodec->framerate;
    rc = avio_open(&m_pFormat->pb, url.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0) {
        return rc;
    }
    AVDictionary* muxOptions = nullptr;
    if (s.format == CVideoSettings::kMp4H264) {
        // The index at the front: playback starts before the whole file is read.
        av_dict_set(&muxOptions, "movflags", "+faststart", 0);
    }
    rc = avformat_write_header(m_pFormat, &muxOptions);
    av_dict_free(&muxOptions);
    m_bTrailerDue = rc >= 0;
    if (rc < 0) {
        return rc;
    }
    m_pPicture->width = s.width;
    m_pPicture->height = s.height;
    rc = av_frame_get_buffer(m_pPicture, 0);
    if (rc < 0 || !gif) {
        return rc;
    }
    m_pPaletted = av_frame_alloc();
    if (m_pPaletted == nullptr) {
        return AVERROR(ENOMEM);
    }
    m_pPaletted->format = AV_PIX_FMT_PAL8;
    m_pPaletted->width = s.width;
    m_pPaletted->height = s.height;
    rc = av_frame_get_buffer(m_pPaletted, 0);
    if (rc < 0) {
        return rc;
    }
    m_pSample = av_frame_alloc();
    if (m_pSample == nullptr) {
        return AVERROR(ENOMEM);
    }
    m_pSample->format = AV_PIX_FMT_BGRA;
    m_pSample->width = (s.width + 1) / 2;
    m_pSample->height = (s.height + 1) / 2;
    rc = av_frame_get_buffer(m_pSample, 0);
    if (rc < 0) {
        return rc;
    }
    m_bPaletteMade = false;
    return m_palette.Open(m_pSample->width, m_pSample->height, s.quality);
}

int CFfmpegVideoWriter::Scale(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    if (bgr0 == nullptr || width <= 0 || height <= 0 || stride / 4 < width) {
        return AVERROR(EINVAL);
    }
    // The encoder or the palette may still hold the last picture's buffer.
    const int rc = av_frame_make_writable(m_pPicture);
    if (rc < 0) {
        return rc;
    }
    return m_scaler.Convert(bgr0, stride, width, height, m_pPicture) ? 0 : AVERROR(EINVAL);
}

bool CFfmpegVideoWriter::Accept(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    if (!m_bOpen) {
        return false;
    }
    if (CancelRequested()) {
        Cancel();
        return false;
    }
    if (bgr0 == nullptr || width <= 0 || height <= 0 || stride / 4 < width) {
        return Fail(CExportMessages::BadFrame(width, height, stride));
    }
    return true;
}

bool CFfmpegVideoWriter::AddPaletteSample(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    if (!Accept(bgr0, stride, width, height)) {
        return false;
    }
    if (m_settings.format != CVideoSettings::kGif || m_bPaletteMade) {
        return true;
    }
    const int rc = PushSample(bgr0, stride, width, height);
    return rc < 0 ? FailCode(rc) : true;
}

int CFfmpegVideoWriter::PushSample(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    int rc = Scale(bgr0, stride, width, height);
    if (rc < 0) {
        return rc;
    }
    rc = av_frame_make_writable(m_pSample);
    if (rc < 0) {
        return rc;
    }
    // Every other pixel of every other row, counted at 6 bits a channel
    // (the centre of each step): palettegen keeps each distinct colour, and
    // a photograph's noise would give it millions. The colours' shares stay
    // as they were, and the palette loses nothing a GIF shows.
    for (int32_t y = 0; y < m_pSample->height; ++y) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(
            m_pPicture->data[0] + static_cast<std::ptrdiff_t>(2 * y) * m_pPicture->linesize[0]);
        uint32_t* to =
            reinterpret_cast<uint32_t*>(m_pSample->data[0] + static_cast<std::ptrdiff_t>(y) * m_pSample->linesize[0]);
        for (int32_t x = 0; x < m_pSample->width; ++x)
            to[x] = (from[2 * x] & 0xfcfcfcfcu) | 0x02020202u;
    }
    rc = m_palette.Push(m_pSample);
    if (rc >= 0) {
        ++m_samples;
    }
    return rc;
}

bool CFfmpegVideoWriter::AddFrame(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height)
{
    if (!Accept(bgr0, stride, width, height)) {
        return false;
    }
    int rc = 0;
    if (m_settings.format == CVideoSettings::kGif && !m_bPaletteMade) {
        // No samples given: the first frame makes the palette.
        if (m_samples == 0) {
            rc = PushSample(bgr0, stride, width, height);
        }
        if (rc >= 0) {
            rc = MakePalette();
        }
    }
    if (rc >= 0) {
        rc = Scale(bgr0, stride, width, height);
    }
    m_pPicture->pts = m_nFrames * m_nPtsStep;
    if (rc >= 0) {
        rc = m_settings.format == CVideoSettings::kGif ? EncodePaletted() : Encode(m_pPicture);
    }
    if (rc < 0) {
        return FailCode(rc);
    }
    ++m_nFrames;
    return true;
}

int CFfmpegVideoWriter::MakePalette()
{
    const int rc = m_palette.Make(m_colours);
    if (rc < 0) {
        return rc;
    }
    m_quantizer.SetPalette(m_colours.data(), static_cast<int32_t>(m_colours.size()));
    m_bPaletteMade = true;
    return 0;
}

int CFfmpegVideoWriter::EncodePaletted()
{
    int rc = av_frame_make_writable(m_pPaletted);
    if (rc < 0) {
        return rc;
    }
    const int32_t w = m_settings.width, h = m_settings.height;
    if (m_settings.gifDither == CVideoSettings::GifDither::kOrdered) {
        m_quantizer.MapOrdered(m_pPicture->data[0], m_pPicture->linesize[0], w, h, m_pPaletted->data[0],
                               m_pPaletted->linesize[0]);
    } else {
        m_quantizer.MapDiffused(m_pPicture->data[0], m_pPicture->linesize[0], w, h, m_pPaletted->data[0],
                                m_pPaletted->linesize[0]);
    }
    std::memcpy(m_pPaletted->data[1], m_colours.data(), sizeof(uint32_t) * m_colours.size());
    m_pPaletted->pts = m_nFrames * m_nPtsStep;
    m_pPaletted->pict_type = AV_PICTURE_TYPE_NONE;
    rc = Encode(m_pPaletted);
    return rc;
}

int CFfmpegVideoWriter::Encode(AVFrame* frame)
{
    int rc = avcodec_send_frame(m_pCodec, frame);
    while (rc >= 0) {
        rc = avcodec_receive_packet(m_pCodec, m_pPacket);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) {
            return 0;
        }
        if (rc < 0) {
            break;
        }
        av_packet_rescale_ts(m_pPacket, m_pCodec->time_base, m_pStream->time_base);
        m_pPacket->stream_index = m_pStream->index;
        rc = av_interleaved_write_frame(m_pFormat, m_pPacket);
        if (rc >= 0) {
            ++m_encoded;
            if (m_onEncoded) m_onEncoded(m_encoded);
        }
    }
    return rc;
}

bool CFfmpegVideoWriter::Finish()
{
    if (!m_bOpen) {
        return false;
    }
    if (m_nFrames == 0) {
        return Fail(CExportMessages::NoFrames(m_strPath));
    }
    int rc = CancelRequested() ? AVERROR_EXIT : 0;
    if (rc >= 0) {
        rc = Encode(nullptr);
    }
    if (rc >= 0) {
        rc = av_write_trailer(m_pFormat);
        m_bTrailerDue = false;
    }
    if (rc >= 0) {
        rc = avio_closep(&m_pFormat->pb);
    }
    if (rc == AVERROR_EXIT && CancelRequested()) {
        Cancel();
        return false;
    }
    if (rc < 0) {
        return FailCode(rc);
    }
    Release();
    m_bOpen = false;
    const int err = m_temp.Commit();
    if (err != 0) {
        return Fail(CExportMessages::WriteFailed(m_strPath, err));
    }
    return true;
}

void CFfmpegVideoWriter::Cancel()
{
    Release();
    m_temp.Abandon();
    m_bCancelled = m_bOpen || m_bCancelled;
    m_bOpen = false;
}

bool CFfmpegVideoWriter::CancelRequested() const
{
    return m_cancel.IsAbandoned();
}

bool CFfmpegVideoWriter::Fail(const CMessage& message)
{
    Release();
    m_temp.Abandon();
    m_bOpen = false;
    m_error = message;
    return false;
}

bool CFfmpegVideoWriter::FailCode(int averror)
{
    // A system error is the file's trouble (no space, no permission);
    // anything else, an invalid argument included, the encoder's.
    if (const int err = FfmpegSystemError(averror); err != 0 && err != EINVAL) {
        return Fail(CExportMessages::WriteFailed(m_strPath, err));
    }
    return Fail(CExportMessages::EncodeFailed(m_strPath, CVideoSettings::FormatName(m_settings.format),
                                              CMessage::Plain(FfmpegErrorText(averror))));
}

void CFfmpegVideoWriter::Release()
{
    // The GIF muxer frees the packet it holds back only in its trailer;
    // written into the temporary file that is going anyway. (The other
    // muxers free theirs with the context, and MP4's trailer would rewrite
    // the whole file for its index.)
    if (m_bTrailerDue && m_pFormat != nullptr && m_settings.format == CVideoSettings::kGif) {
        av_write_trailer(m_pFormat);
    }
    m_bTrailerDue = false;
    m_palette.Close();
    m_bPaletteMade = false;
    m_samples = 0;
    if (m_pFormat != nullptr) {
        avio_closep(&m_pFormat->pb);
        avformat_free_context(m_pFormat);
        m_pFormat = nullptr;
    }
    m_pStream = nullptr;
    avcodec_free_context(&m_pCodec);
    av_frame_free(&m_pPicture);
    av_frame_free(&m_pPaletted);
    av_frame_free(&m_pSample);
    av_packet_free(&m_pPacket);
}
