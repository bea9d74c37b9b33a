#include "CAviRecorder.h"

#include "CAviFile.h"
#include "output/bmp/CBitmapInfo.h"
#include "CMjpegEncoder.h"

#include <cerrno>
#include <cstring>

namespace {

// The Video for Windows version this writer stands for: 1.10, the oldest
// that OpenVideo accepts.
constexpr uint32_t kVideoForWindowsVersion = 0x010A0000;
constexpr uint32_t kOldestVersion = 0x010A;

// Largest frame the writer takes: one frame and its chunk header must stay
// well inside the 32-bit sizes of a RIFF part.
constexpr uint32_t kMaxFrameBytes = 0x7FFF0000;

std::string WithPath(const char* text, const std::string& path)
{
    std::string out = text;
    const size_t at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, path);
    }
    return out;
}

// Whether frames of this format and rate can make a stream.
bool StreamUsable(const BITMAPINFOHEADER& f, uint32_t rate)
{
    const bool depthOk = f.biBitCount == 1 || f.biBitCount == 4 || f.biBitCount == 8 || f.biBitCount == 16 ||
                         f.biBitCount == 24 || f.biBitCount == 32;
    if (rate == 0 || f.biSize != 40 || f.biWidth <= 0 || f.biHeight <= 0 || f.biPlanes != 1 || !depthOk ||
        f.biCompression != BI_RGB || f.biSizeImage == 0 || f.biSizeImage > kMaxFrameBytes || f.biClrUsed > 65536) {
        return false;
    }
    return CBitmapInfo::RowBytes(f.biWidth, f.biBitCount) * static_cast<uint64_t>(f.biHeight) <= f.biSizeImage;
}

} // namespace

CAviRecorder::CAviRecorder() : m_nOpenDmlLimit(CAviFile::kDefaultLimit) {}

CAviRecorder::~CAviRecorder()
{
    if (m_pFile) {
        CloseVideo();
    }
}

void CAviRecorder::SetFrameFormat(const BITMAPINFOHEADER& format)
{
    m_frameFormat = format;
}

void CAviRecorder::SetFilePath(const std::string& path)
{
    m_strFilePath = path;
}

void CAviRecorder::SetCompressionChooser(CCompressionChooser chooser)
{
    m_chooser = std::move(chooser);
}

void CAviRecorder::SetOpenDmlLimit(uint64_t bytes)
{
    m_nOpenDmlLimit = bytes < CAviFile::kDefaultLimit ? bytes : CAviFile::kDefaultLimit;
}

const char* CAviRecorder::FileOpenErrorText(int32_t code)
{
    switch (code) {
    case AVIERR_BADFORMAT:
        return "The file couldn't be read, indicating a corrupt file or an unrecognized format.";
    case AVIERR_MEMORY:
        return "The file could not be opened because of insufficient memory.";
    case AVIERR_FILEREAD:
        return "A disk error occurred while reading the file.";
    case AVIERR_FILEOPEN:
        return "A disk error occurred while opening the file.";
    case REGDB_E_CLASSNOTREG:
        return "According to the registry, the type of file specified in AVIFileOpen does not have a handler to "
               "process it";
    default:
        return "";
    }
}

const char* CAviRecorder::StreamErrorText(int32_t code)
{
    return code == AVIERR_READONLY ? kTextReadOnly : "";
}

const char* CAviRecorder::CompressorErrorText(int32_t code)
{
    switch (code) {
    case AVIERR_UNSUPPORTED:
        return "Compression is not supported for this type of data. This error might be returned if you try to "
               "compress data that is not audio or video.";
    case AVIERR_MEMORY:
        return " There is not enough memory to complete the operation.";
    case AVIERR_NOCOMPRESSOR:
        return " A suitable compressor cannot be found.";
    default:
        return "";
    }
}

int32_t CAviRecorder::Fail(int32_t code, std::string text)
{
    m_strStatusText = std::move(text);
    m_bOpenFailed = true;
    return code;
}

void CAviRecorder::Abandon()
{
    if (m_pFile) {
        m_pFile->Discard();
    }
    m_pFile.reset();
    m_pEncoder.reset();
    m_bStream = false;
}

int32_t CAviRecorder::OpenVideo()
{
    if (m_pFile) {
        CloseVideo(); // a recorder opened twice completes its first video
    }
    m_strStatusText = kTextOk;
    m_nWriteStatus = 0;
    m_bCompleted = false;
    m_bOpenFailed = false;
    m_writeError = CMessage();
    if ((kVideoForWindowsVersion >> 16) < kOldestVersion) {
        m_strStatusText = kTextVersionTooOld;
        return 1;
    }

    // The file is written beside the path and replaces what stands there
    // only when it is complete: a failed, cancelled or killed recording
    // leaves it as it was.
    auto file = std::make_unique<CAviFile>();
    const int err = file->Create(m_strFilePath);
    if (err != 0) {
        const int32_t code = err == ENOMEM ? AVIERR_MEMORY : AVIERR_FILEOPEN;
        m_writeError = CMessage::Plain("Cannot create " + m_strFilePath + ": " + std::strerror(err), err);
        return Fail(code, WithPath(kTextFileOpenFailed, m_strFilePath) + FileOpenErrorText(code));
    }
    m_pFile = std::move(file);
    m_pFile->SetPartLimit(m_nOpenDmlLimit);

    // The stream.
    if (!StreamUsable(m_frameFormat, m_nFrameRate)) {
        Abandon();
        return Fail(AVIERR_BADFORMAT, std::string(kTextStreamFailed) + StreamErrorText(AVIERR_BADFORMAT));
    }

    // The compression options.
    CCompressionOptions options;
    if (m_chooser && !m_chooser(options)) {
        Abandon();
        return 1;
    }

    // The compressed stream and its format.
    CBitmapInfo format;
    if (options.codec == CCompressionOptions::kMotionJpeg) {
        auto encoder = std::make_unique<CMjpegEncoder>();
        const CMjpegEncoder::Result result = encoder->Init(m_frameFormat, options.quality);
        if (result != CMjpegEncoder::kOk) {
            const int32_t code = result == CMjpegEncoder::kNoMemory ? AVIERR_MEMORY : AVIERR_UNSUPPORTED;
            Abandon();
            return Fail(code, std::string(kTextCompressedFailed) + CompressorErrorText(code));
        }
        format.header = encoder->OutputFormat();
        m_pEncoder = std::move(encoder);
    } else if (options.codec == CCompressionOptions::kUncompressed) {
        format.header = m_frameFormat;
        format.colours.assign(m_frameFormat.biClrUsed, 0);
    } else {
        Abandon();
        return Fail(AVIERR_NOCOMPRESSOR, std::string(kTextCompressedFailed) + CompressorErrorText(AVIERR_NOCOMPRESSOR));
    }

    CAviFile::Stream stream;
    stream.rate = m_nFrameRate;
    stream.width = m_frameFormat.biWidth;
    stream.height = m_frameFormat.biHeight;
    stream.suggestedBufferSize = m_frameFormat.biSizeImage;
    stream.format = format.Block();
    stream.compressed = m_pEncoder != nullptr;
    if (!m_pFile->Begin(stream)) {
        m_writeError =
            CMessage::Plain("Cannot write " + m_strFilePath + ": " + std::strerror(m_pFile->Error()), m_pFile->Error());
        Abandon();
        return Fail(AVIERR_FILEWRITE, kTextFormatFailed);
    }
    m_nFrameCounter = 0;
    m_bStream = true;
    return 0;
}

int32_t CAviRecorder::WriteFrame(const void* bits)
{
    if (!m_bStream || !m_pFile) {
        return AVIERR_BADHANDLE;
    }
    if (bits == nullptr) {
        return AVIERR_BADPARAM;
    }
    ++m_nFrameCounter;
    if (m_nWriteStatus != 0) {
        return m_nWriteStatus;
    }
    const void* data = bits;
    size_t size = m_frameFormat.biSizeImage;
    if (m_pEncoder) {
        const uint8_t* jpeg = nullptr;
        if (!m_pEncoder->Encode(bits, &jpeg, &size)) {
            return AVIERR_COMPRESSOR;
        }
        data = jpeg;
    }
    if (size > kMaxFrameBytes || !m_pFile->WriteFrame(data, static_cast<uint32_t>(size))) {
        const int err = m_pFile->Error() != 0 ? m_pFile->Error() : EFBIG;
        m_writeError = CMessage::Plain("Cannot write " + m_strFilePath + ": " + std::strerror(err), err);
        m_nWriteStatus = AVIERR_FILEWRITE;
        return m_nWriteStatus;
    }
    return 0;
}

int32_t CAviRecorder::CloseVideo()
{
    int32_t status = m_nWriteStatus;
    if (m_pFile && m_bStream) {
        m_bCompleted = m_pFile->Finish();
        if (!m_bCompleted) {
            const int err = m_pFile->Error() != 0 ? m_pFile->Error() : EIO;
            m_writeError = CMessage::Plain("Cannot complete " + m_strFilePath + ": " + std::strerror(err), err);
            status = status != 0 ? status : AVIERR_FILEWRITE;
        }
    } else if (m_pFile) {
        m_pFile->Discard();
    }
    m_pFile.reset();
    m_pEncoder.reset();
    m_bStream = false;
    m_nWriteStatus = 0;
    return status;
}

CMessage CAviRecorder::GetError() const
{
    if (!m_bOpenFailed) {
        return m_writeError;
    }
    CMessage error = CMessage::Plain(m_strStatusText);
    if (!m_writeError.IsEmpty()) {
        error.Append(CMessage::Plain("\n")).Append(m_writeError);
    }
    return error;
}

const char* CAviRecorder::GetErrorText() const
{
    return m_strStatusText.empty() ? nullptr : m_strStatusText.c_str();
}

bool CAviRecorder::IsOpen() const
{
    return m_bStream && m_pFile != nullptr;
}
