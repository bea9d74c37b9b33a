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

} // namespace

CMessage CExportMessages::OddSize(CVideoSettings::Format format, int32_t width, int32_t height)
{
    return CMessage(TRV_TEXT("CoreText", "%1 视频的宽和高必须是偶数:%2。"),
                    {CVideoSettings::FormatName(format), Size(width, height)});
}

CMessage CExportMessages::SizeOutOfRange(int32_t width, int32_t height)
{
    return CMessage(TRV_TEXT("CoreText", "输出的宽和高必须在 1 到 %1 像素之间:%2。"),
                    {CVideoSettings::kMaxSide, Size(width, height)});
}

CMessage CExportMessages::FpsOutOfRange(int32_t fps)
{
    return CMessage(TRV_TEXT("CoreText", "帧率必须在 %1 到 %2 之间:%3。"),
                    {CVideoSettings::kMinFps, CVideoSettings::kMaxFps, fps});
}

CMessage CExportMessages::QualityOutOfRange(int32_t quality)
{
    return CMessage(TRV_TEXT("CoreText", "质量必须在 0 到 100 之间:%1。"), {quality});
}

CMessage CExportMessages::UnknownFormat()
{
    return CMessage(TRV_TEXT("CoreText", "不支持的输出格式。"));
}

CMessage CExportMessages::MissingPart(const CMessage& formatName, const CMessage& part, const std::string& name)
{
    return CMessage(TRV_TEXT("CoreText", "这个 FFmpeg 不能写 %1:缺少%2 %3。"), {formatName, part, name});
}

CMessage CExportMessages::NoFolder()
{
    return CMessage(TRV_TEXT("CoreText", "没有指定输出文件夹。"));
}

CMessage CExportMessages::FolderMissing(const std::string& folder)
{
    return CMessage(TRV_TEXT("CoreText", "文件夹不存在:%1。"), {folder});
}

CMessage CExportMessages::NotAFolder(const std::string& path)
{
    return CMessage(TRV_TEXT("CoreText", "不是文件夹:%1。"), {path});
}

CMessage CExportMessages::FolderNotWritable(const std::string& folder, int error)
{
    return CMessage(TRV_TEXT("CoreText", "无法在文件夹 %1 中写入文件:%2"), {folder, CFileAccess::ErrorMessage(error)});
}

CMessage CExportMessages::FolderBusy(const std::string& folder)
{
    return CMessage(TRV_TEXT("CoreText", "另一个渐变或导出正在写入文件夹 %1,请等它结束后再导出。"), {folder});
}

CMessage CExportMessages::EmptyBaseName()
{
    return CMessage(TRV_TEXT("CoreText", "文件名不能为空。"));
}

CMessage CExportMessages::BadBaseName(const std::string& base)
{
    return CMessage(TRV_TEXT("CoreText", "无效的文件名:%1。"), {base});
}

CMessage CExportMessages::CannotCreate(const std::string& path, int error)
{
    const std::string folder = CReplacingFile::FolderOf(path);
    return error == ENOENT || error == ENOTDIR ? FolderMissing(folder) : FolderNotWritable(folder, error);
}

CMessage CExportMessages::WriteFailed(const std::string& path, int error)
{
    return CMessage(TRV_TEXT("CoreText", "无法写入 %1:%2"), {path, CFileAccess::ErrorMessage(error)});
}

CMessage CExportMessages::EncodeFailed(const std::string& path, const CMessage& formatName, const CMessage& detail)
{
    return CMessage(TRV_TEXT("CoreText", "无法写入 %1:%2 编码失败(%3)。"), {path, formatName, detail});
}

CMessage CExportMessages::BadFrame(int32_t width, int32_t height, int32_t stride)
{
    return CMessage(TRV_TEXT("CoreText", "无效的帧:%1 像素,每行 %2 字节。"), {Size(width, height), stride});
}

CMessage CExportMessages::NoFrames(const std::string& path)
{
    return CMessage(TRV_TEXT("CoreText", "没有帧可写入 %1。"), {path});
}

CMessage CExportMessages::NothingToExport()
{
    return CMessage(TRV_TEXT("CoreText", "没有要导出的内容:帧文件和视频都选了“无”。"));
}

CMessage CExportMessages::StepsOutOfRange(int32_t steps)
{
    return CMessage(TRV_TEXT("CoreText", "中间步数必须在 1 到 100 之间:%1。"), {steps});
}

CMessage CExportMessages::FramesOutOfRange(int64_t frames)
{
    return CMessage(TRV_TEXT("CoreText", "每段变形的帧数必须在 2 到 10000 之间,整个序列不超过 1000000 帧:%1。"),
                    {static_cast<int32_t>(frames < INT32_MAX ? frames : INT32_MAX)});
}

CMessage CExportMessages::RangeOutOfRange(int32_t first, int32_t last, int32_t steps)
{
    return CMessage(TRV_TEXT("CoreText", "帧的范围必须在 0 到 %1 之间,且起始帧不大于结束帧:%2-%3。"),
                    {steps, first, last});
}

CMessage CExportMessages::HoldOutOfRange(double seconds)
{
    char shown[32];
    std::snprintf(shown, sizeof shown, "%g", seconds);
    return CMessage(TRV_TEXT("CoreText", "首尾帧的停留时间必须在 0 到 60 秒之间:%1。"), {std::string(shown)});
}

CMessage CExportMessages::MissingModule(const std::string& detail)
{
    return CMessage(TRV_TEXT("CoreText", "找不到导出组件 libtrevalin_export.so:%1"), {detail});
}
