#pragma once

#include "AVIERR.h"
#include "output/bmp/BITMAPINFOHEADER.h"
#include "CCompressionOptions.h"
#include "message/CMessage.h"

#include <cstdint>
#include <memory>
#include <string>

class CAviFile;
class CMjpegEncoder;

// Writes the frames of one run into an AVI file with a single video stream:
// set the frame rate, frame format and path, OpenVideo, WriteFrame for each
// frame, CloseVideo. Operations return status codes (the Video for Windows
// values of AVIERR.h) and keep a status text; GetError is what the owner
// shows of a failure. The recorder shows nothing itself.
//
// The file is a standard AVI (RIFF) file; once it would grow past the
// OpenDML limit it goes on as an OpenDML (AVI 2.0) file, so every frame
// stays readable. Frames are stored uncompressed or as Motion JPEG, as the
// compression chooser decides.
class CAviRecorder {
public:
    CAviRecorder();
    // Completes the file if the owner left it open.
    ~CAviRecorder();
    CAviRecorder(const CAviRecorder&) = delete;
    CAviRecorder& operator=(const CAviRecorder&) = delete;

    void SetFrameFormat(const BITMAPINFOHEADER& format);
    void SetFilePath(const std::string& path);
    // Asked by OpenVideo for the compression options. Without one the
    // options are accepted as they are: full frames, uncompressed.
    void SetCompressionChooser(CCompressionChooser chooser);
    // Largest size in bytes of one RIFF part of the file (default and
    // maximum 1 GiB); a part always holds at least one frame. Takes effect
    // at the next OpenVideo.
    void SetOpenDmlLimit(uint64_t bytes);
    uint64_t GetOpenDmlLimit() const { return m_nOpenDmlLimit; }

    // 0: open and ready for frames. 1: not opened, no error (the chooser
    // cancelled; the status text stays "Ok"). Negative: the status code of
    // the step that failed, with its status text (and the system's reason
    // in GetWriteErrorText). The video is written to a temporary file beside
    // the path and renamed over it by CloseVideo: until then, and whenever
    // the recording cannot be completed, whatever is at the path stays as
    // it was. A folder at the path fails the open.
    int32_t OpenVideo();
    // Appends one frame: biSizeImage bytes, rows bottom to top in the layout
    // the frame format declares. 0 or a negative status; the status text is
    // not changed. After a failed write to the file every later frame fails
    // too (the file keeps the frames written before).
    int32_t WriteFrame(const void* bits);
    // Completes the file (index, headers), puts it at the path and releases
    // everything. Returns 0, or the first write failure of the recording:
    // the file then holds the frames written before it, complete and
    // playable, unless the closing writes failed too (IsCompleted false:
    // the path keeps what it held). A second call releases nothing and
    // returns 0.
    int32_t CloseVideo();
    // Whether the last CloseVideo put a complete file at the path.
    bool IsCompleted() const { return m_bCompleted; }

    // What went wrong, in the recorder's own English words. After a failed
    // OpenVideo: the status text, then on a line of its own the system's
    // reason where there is one (GetWriteError). After a failed frame or
    // closing: the system's reason. Empty when nothing failed.
    CMessage GetError() const;
    // Why the file could not be created, written or completed: the path
    // and the system's reason, with its error number; empty when nothing
    // failed.
    const CMessage& GetWriteError() const { return m_writeError; }
    // The status text, or null when it is empty.
    const char* GetErrorText() const;
    // The text of GetWriteError.
    const std::string& GetWriteErrorText() const { return m_writeError.PlainText(); }
    bool IsOpen() const;
    int32_t GetFrameCounter() const { return m_nFrameCounter; }
    const std::string& GetFilePath() const { return m_strFilePath; }
    const BITMAPINFOHEADER& GetFrameFormat() const { return m_frameFormat; }

    // Status texts.
    static constexpr const char* kTextOk = "Ok";
    static constexpr const char* kTextVersionTooOld =
        "Version of Video for Windows too old. Come on, join the 21th century!";
    static constexpr const char* kTextFileOpenFailed = "AVI Engine failed to initialize. Check filename %s.";
    static constexpr const char* kTextStreamFailed = "AVI Stream creation failed. Check Bitmap info.";
    static constexpr const char* kTextReadOnly = " Read only file.";
    static constexpr const char* kTextCompressedFailed = "AVI Compressed Stream creation failed.";
    static constexpr const char* kTextReleaseFailed = "Error releasing memory";
    static constexpr const char* kTextFormatFailed = "AVI Compressed Stream format setting failed.";
    // Text appended to kTextFileOpenFailed for a file-creation code, or "".
    static const char* FileOpenErrorText(int32_t code);
    // Text appended to kTextStreamFailed for a stream-creation code, or "".
    static const char* StreamErrorText(int32_t code);
    // Text appended to kTextCompressedFailed for a compressor code, or "".
    static const char* CompressorErrorText(int32_t code);

    uint32_t m_nFrameRate = 30; // frames per second

    // Drops the video being written: the file at the path stays as it was.
    void Abandon();

private:
    int32_t Fail(int32_t code, std::string text);

    std::string m_strFilePath = "Untitled.avi";
    BITMAPINFOHEADER m_frameFormat{};
    std::string m_strStatusText;
    int32_t m_nFrameCounter = 0;

    CCompressionChooser m_chooser;
    uint64_t m_nOpenDmlLimit;
    std::unique_ptr<CAviFile> m_pFile;         // the open file
    bool m_bStream = false;                    // frames may be written
    std::unique_ptr<CMjpegEncoder> m_pEncoder; // the compressor, for Motion JPEG
    int32_t m_nWriteStatus = 0;                // first write failure
    bool m_bOpenFailed = false;                // the last OpenVideo failed
    CMessage m_writeError;
    bool m_bCompleted = false;
};
