#pragma once

#include "message/CMessage.h"

#include "CFrameScaler.h"
#include "CGifPalette.h"
#include "CGifQuantizer.h"
#include "files/CReplacingFile.h"
#include "export/CVideoSettings.h"
#include "morph/CCancelToken.h"

#include <cstdint>
#include <functional>
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// Writes a video through FFmpeg's libraries: H.264 in MP4, VP9 in WebM or an
// animated GIF (see CVideoSettings). Frames are 32-bit screen bitmaps (bytes
// blue, green, red, 0; rows top to bottom) of any size, scaled to the
// video's size. The video goes to a temporary file beside the destination
// that Finish renames over it; Cancel, a failure or the destructor before
// Finish remove it, so the destination is either the complete video or
// left as it was.
//
// One thread uses a writer at a time. Another thread stops a long export
// through a cancel ticket, which AddFrame and Finish check.
class CFfmpegVideoWriter {
public:
    CFfmpegVideoWriter() = default;
    ~CFfmpegVideoWriter();
    CFfmpegVideoWriter(const CFfmpegVideoWriter&) = delete;
    CFfmpegVideoWriter& operator=(const CFfmpegVideoWriter&) = delete;

    // Checks the settings (CExportCheck::VideoSettings), creates the
    // temporary file and starts the encoder. False with Error() set when
    // anything is wrong; nothing is left on disk then.
    bool Open(const std::string& path, const CVideoSettings& settings);
    // An animated GIF's palette is made from sample frames given before the
    // first AddFrame (typically the first, the last and evenly spaced ones:
    // CVideoSettings::IsPaletteSample); without any, from the first frame.
    // Other formats ignore the samples.
    bool AddPaletteSample(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Appends one frame shown for 1 / fps seconds; `stride` is the byte
    // distance between rows (at least 4 x width).
    bool AddFrame(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Completes the video and renames it over the destination.
    bool Finish();
    // Stops and removes the temporary file; the destination is untouched.
    void Cancel();

    // Once `ticket` is abandoned, the next AddFrame or the running Finish
    // cancels (and returns false with IsCancelled() true, Error() empty).
    void SetCancelTicket(CCancelToken::Ticket ticket) { m_cancel = ticket; }

    bool IsOpen() const { return m_bOpen; }
    bool IsCancelled() const { return m_bCancelled; }
    int64_t FrameCount() const { return m_nFrames; }
    // Frames the encoder has given back and the file holds: behind
    // FrameCount by the encoder's look-ahead. `encoded` hears of each,
    // during Finish too.
    int64_t EncodedCount() const { return m_encoded; }
    void SetEncodedCallback(std::function<void(int64_t)> encoded) { m_onEncoded = std::move(encoded); }
    // Why the last call failed; empty otherwise.
    const CMessage& Error() const { return m_error; }

private:
    int StartEncoder();
    // Sends `frame` (null: the end) to the encoder and writes the packets
    // it gives back. 0 or an FFmpeg error code.
    int Encode(AVFrame* frame);
    // Whether a frame may be taken: the writer open, not cancelled (else it
    // cancels), the frame's size sound (else it fails).
    bool Accept(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Checks a frame and scales it into m_pPicture. 0 or an error.
    int Scale(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Counts a frame's colours into the GIF's palette. 0 or an error.
    int PushSample(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height);
    // Makes the GIF's palette from the samples given. 0 or an error.
    int MakePalette();
    // Puts m_pPicture into the palette and encodes it. 0 or an error.
    int EncodePaletted();
    bool CancelRequested() const;
    bool Fail(const CMessage& message);
    bool FailCode(int averror);
    void Release();

    CVideoSettings m_settings;
    std::string m_strPath;
    CMessage m_error;
    bool m_bOpen = false;
    bool m_bCancelled = false;
    int64_t m_nFrames = 0;
    int64_t m_encoded = 0;
    std::function<void(int64_t)> m_onEncoded;
    int32_t m_nPtsStep = 1;
    CCancelToken::Ticket m_cancel;

    CReplacingFile m_temp;
    CFrameScaler m_scaler;
    CGifPalette m_palette;
    bool m_bPaletteMade = false;
    bool m_bTrailerDue = false; // the header is written, the trailer not yet
    int64_t m_samples = 0;
    CGifPalette::Colours m_colours{};
    CGifQuantizer m_quantizer;
    AVFormatContext* m_pFormat = nullptr;
    AVCodecContext* m_pCodec = nullptr;
    AVStream* m_pStream = nullptr;
    AVFrame* m_pPicture = nullptr;  // the scaled frame
    AVFrame* m_pPaletted = nullptr; // a GIF frame in its palette
    AVFrame* m_pSample = nullptr;   // a GIF's palette sample, a quarter of the frame
    AVPacket* m_pPacket = nullptr;
};
