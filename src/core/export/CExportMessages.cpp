#include "CExportMessages.h"

#include "files/CReplacingFile.h"

#include "files/CFileAccess.h"
#include "message/CText.h"

#include <cerrno>
#include <cstdio>

namespace {

std::string Size(int32_t width, int32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string Number(int64_t value)
{
    return std::to_string(value);
}

} // namespace

const char* const CExportMessages::kPatterns[] = {
    TRV_TEXT("CoreText", "%1 视频的宽和高必须是偶数:%2。"),
    TRV_TEXT("CoreText", "输出的宽和高必须在 1 到 %1 像素之间:%2。"),
    TRV_TEXT("CoreText", "帧率必须在 %1 到 %2 之间:%3。"),
    TRV_TEXT("CoreText", "质量必须在 0 到 100 之间:%1。"),
    TRV_TEXT("CoreText", "这个 FFmpeg 不能写 %1:缺少%2 %3。"),
    TRV_TEXT("CoreText", "文件夹不存在:%1。"),
    TRV_TEXT("CoreText", "不是文件夹:%1。"),
    TRV_TEXT("CoreText", "无法在文件夹 %1 中写入文件:%2"),
    TRV_TEXT("CoreText", "无效的文件名:%1。"),
    TRV_TEXT("CoreText", "无法写入 %1:%2 编码失败(%3)。"),
    TRV_TEXT("CoreText", "无法写入 %1:%2"),
    TRV_TEXT("CoreText", "无效的帧:%1 像素,每行 %2 字节。"),
    TRV_TEXT("CoreText", "没有帧可写入 %1。"),
    TRV_TEXT("CoreText", "中间步数必须在 1 到 100 之间:%1。"),
    TRV_TEXT("CoreText", "帧的范围必须在 0 到 %1 之间,且起始帧不大于结束帧:%2-%3。"),
    TRV_TEXT("CoreText", "首尾帧的停留时间必须在 0 到 60 秒之间:%1。"),
    TRV_TEXT("CoreText", "找不到导出组件 libtrevalin_export.so:%1"),
    nullptr,
};

namespace {
enum Pattern {
    kOddSize,
    kSizeOutOfRange,
    kFpsOutOfRange,
    kQualityOutOfRange,
    kMissingPart,
    kFolderMissing,
    kNotAFolder,
    kFolderNotWritable,
    kBadBaseName,
    kEncodeFailed,
    kWriteFailed,
    kBadFrame,
    kNoFrames,
    kStepsOutOfRange,
    kRangeOutOfRange,
    kHoldOutOfRange,
    kMissingModule,
};

const char* P(Pattern pattern)
{
    return CExportMessages::kPatterns[pattern];
}
} // namespace

std::string CExportMessages::OddSize(CVideoSettings::Format format, int32_t width, int32_t height)
{
    return CText::Fill(P(kOddSize), {CVideoSettings::FormatName(format), Size(width, height)});
}

std::string CExportMessages::SizeOutOfRange(int32_t width, int32_t height)
{
    return CText::Fill(P(kSizeOutOfRange), {Number(CVideoSettings::kMaxSide), Size(width, height)});
}

std::string CExportMessages::FpsOutOfRange(int32_t fps)
{
    return CText::Fill(P(kFpsOutOfRange),
                       {Number(CVideoSettings::kMinFps), Number(CVideoSettings::kMaxFps), Number(fps)});
}

std::string CExportMessages::QualityOutOfRange(int32_t quality)
{
    return CText::Fill(P(kQualityOutOfRange), {Number(quality)});
}

std::string CExportMessages::UnknownFormat()
{
    return TRV_TEXT("CoreText", "不支持的输出格式。");
}

std::string CExportMessages::MissingPart(const char* formatName, const char* part, const char* name)
{
    return CText::Fill(P(kMissingPart), {formatName, part, name});
}

std::string CExportMessages::NoFolder()
{
    return TRV_TEXT("CoreText", "没有指定输出文件夹。");
}

std::string CExportMessages::FolderMissing(const std::string& folder)
{
    return CText::Fill(P(kFolderMissing), {folder});
}

std::string CExportMessages::NotAFolder(const std::string& path)
{
    return CText::Fill(P(kNotAFolder), {path});
}

std::string CExportMessages::FolderNotWritable(const std::string& folder, int error)
{
    return CText::Fill(P(kFolderNotWritable), {folder, CFileAccess::ErrorText(error)});
}

std::string CExportMessages::EmptyBaseName()
{
    return TRV_TEXT("CoreText", "文件名不能为空。");
}

std::string CExportMessages::BadBaseName(const std::string& base)
{
    return CText::Fill(P(kBadBaseName), {base});
}

std::string CExportMessages::CannotCreate(const std::string& path, int error)
{
    const std::string folder = CReplacingFile::FolderOf(path);
    return error == ENOENT || error == ENOTDIR ? FolderMissing(folder) : FolderNotWritable(folder, error);
}

std::string CExportMessages::WriteFailed(const std::string& path, int error)
{
    return CText::Fill(P(kWriteFailed), {path, CFileAccess::ErrorText(error)});
}

std::string CExportMessages::EncodeFailed(const std::string& path, const char* formatName, const std::string& detail)
{
    return CText::Fill(P(kEncodeFailed), {path, formatName, detail});
}

std::string CExportMessages::BadFrame(int32_t width, int32_t height, int32_t stride)
{
    return CText::Fill(P(kBadFrame), {Size(width, height), Number(stride)});
}

std::string CExportMessages::NoFrames(const std::string& path)
{
    return CText::Fill(P(kNoFrames), {path});
}

std::string CExportMessages::NothingToExport()
{
    return TRV_TEXT("CoreText", "没有要导出的内容:帧文件和视频都选了“无”。");
}

std::string CExportMessages::StepsOutOfRange(int32_t steps)
{
    return CText::Fill(P(kStepsOutOfRange), {Number(steps)});
}

std::string CExportMessages::RangeOutOfRange(int32_t first, int32_t last, int32_t steps)
{
    return CText::Fill(P(kRangeOutOfRange), {Number(steps), Number(first), Number(last)});
}

std::string CExportMessages::HoldOutOfRange(double seconds)
{
    char shown[32];
    std::snprintf(shown, sizeof shown, "%g", seconds);
    return CText::Fill(P(kHoldOutOfRange), {shown});
}

std::string CExportMessages::MissingModule(const std::string& detail)
{
    return CText::Fill(P(kMissingModule), {detail});
}
