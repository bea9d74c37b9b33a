#include "CExportCheck.h"

#include "export/CExportMessages.h"
#include "files/CReplacingFile.h"
#include "message/CText.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
}

namespace {

bool SizeInRange(int32_t width, int32_t height)
{
    return width >= 1 && height >= 1 && width <= CVideoSettings::kMaxSide && height <= CVideoSettings::kMaxSide;
}

bool QualityInRange(int32_t quality)
{
    return quality >= 0 && quality <= 100;
}

} // namespace

CMessage CExportCheck::VideoSettings(const CVideoSettings& settings)
{
    const auto format = settings.format;
    if (format != CVideoSettings::kMp4H264 && format != CVideoSettings::kWebmVp9 && format != CVideoSettings::kGif) {
        return CExportMessages::UnknownFormat();
    }
    if (!SizeInRange(settings.width, settings.height)) {
        return CExportMessages::SizeOutOfRange(settings.width, settings.height);
    }
    if (CVideoSettings::NeedsEvenSize(format) && (settings.width % 2 != 0 || settings.height % 2 != 0)) {
        return CExportMessages::OddSize(format, settings.width, settings.height);
    }
    if (settings.fps < CVideoSettings::kMinFps || settings.fps > CVideoSettings::kMaxFps) {
        return CExportMessages::FpsOutOfRange(settings.fps);
    }
    if (!QualityInRange(settings.quality)) {
        return CExportMessages::QualityOutOfRange(settings.quality);
    }
    const CMessage name = CVideoSettings::FormatName(format);
    if (avcodec_find_encoder_by_name(CVideoSettings::EncoderName(format)) == nullptr) {
        return CExportMessages::MissingPart(name, CMessage(TRV_TEXT("CoreText", "编码器")),
                                            CVideoSettings::EncoderName(format));
    }
    if (av_guess_format(CVideoSettings::MuxerName(format), nullptr, nullptr) == nullptr) {
        return CExportMessages::MissingPart(name, CMessage(TRV_TEXT("CoreText", "封装格式")),
                                            CVideoSettings::MuxerName(format));
    }
    if (format == CVideoSettings::kGif) {
        for (const char* filter : {"buffer", "buffersink", "split", "palettegen", "paletteuse"}) {
            if (avfilter_get_by_name(filter) == nullptr) {
                return CExportMessages::MissingPart(name, CMessage(TRV_TEXT("CoreText", "滤镜")), filter);
            }
        }
    }
    return CMessage();
}

CMessage CExportCheck::FrameFileSettings(const CFrameFileSettings& settings)
{
    const auto format = settings.format;
    if (format != CFrameFileSettings::kPng && format != CFrameFileSettings::kJpeg &&
        format != CFrameFileSettings::kBmp) {
        return CExportMessages::UnknownFormat();
    }
    if (!SizeInRange(settings.width, settings.height)) {
        return CExportMessages::SizeOutOfRange(settings.width, settings.height);
    }
    if (!QualityInRange(settings.quality)) {
        return CExportMessages::QualityOutOfRange(settings.quality);
    }
    if (format == CFrameFileSettings::kPng && avcodec_find_encoder(AV_CODEC_ID_PNG) == nullptr) {
        return CExportMessages::MissingPart(CMessage::Plain("PNG"), CMessage(TRV_TEXT("CoreText", "编码器")), "png");
    }
    return CMessage();
}

CMessage CExportCheck::Folder(const std::string& folder)
{
    if (folder.empty()) {
        return CExportMessages::NoFolder();
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        const int err = errno;
        return err == ENOENT || err == ENOTDIR ? CExportMessages::FolderMissing(folder)
                                               : CExportMessages::FolderNotWritable(folder, err);
    }
    if (!S_ISDIR(st.st_mode)) {
        return CExportMessages::NotAFolder(folder);
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return CExportMessages::FolderNotWritable(folder, errno);
    }
    // Permissions are not the whole story (read-only mounts, quotas, access
    // control lists): try the real thing.
    CReplacingFile probe;
    const int err = probe.Create(folder + "/trevalin-export", CReplacingFile::Durability::kFlushed);
    if (err != 0) {
        return CExportMessages::FolderNotWritable(folder, err);
    }
    probe.Abandon();
    return CMessage();
}

CMessage CExportCheck::BaseName(const std::string& base)
{
    if (base.empty()) {
        return CExportMessages::EmptyBaseName();
    }
    if (base.find('/') != std::string::npos || base.find('\0') != std::string::npos || base == "." || base == "..") {
        return CExportMessages::BadBaseName(base);
    }
    return CMessage();
}

CMessage CExportCheck::FileName(const std::string& path)
{
    const std::string folder = CReplacingFile::FolderOf(path);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t slash = path.find_last_of('/');
    const size_t length = slash == std::string::npos ? path.size() : path.size() - slash - 1;
    if (length > static_cast<size_t>(limit > 0 ? limit : NAME_MAX)) {
        return CExportMessages::WriteFailed(path, ENAMETOOLONG);
    }
    return CMessage();
}
