#include "CExportMessages.h"

#include "CTempOutputFile.h"

#include "document/CFileAccess.h"

#include <cerrno>
#include <cstdio>

namespace {

std::string Size(int32_t width, int32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

std::string CExportMessages::OddSize(CVideoSettings::Format format, int32_t width, int32_t height)
{
    return std::string(CVideoSettings::FormatName(format)) + " 视频的宽和高必须是偶数:" + Size(width, height) + "。";
}

std::string CExportMessages::SizeOutOfRange(int32_t width, int32_t height)
{
    return "输出的宽和高必须在 1 到 " + std::to_string(CVideoSettings::kMaxSide) + " 像素之间:" + Size(width, height) +
           "。";
}

std::string CExportMessages::FpsOutOfRange(int32_t fps)
{
    return "帧率必须在 " + std::to_string(CVideoSettings::kMinFps) + " 到 " + std::to_string(CVideoSettings::kMaxFps) +
           " 之间:" + std::to_string(fps) + "。";
}

std::string CExportMessages::QualityOutOfRange(int32_t quality)
{
    return "质量必须在 0 到 100 之间:" + std::to_string(quality) + "。";
}

std::string CExportMessages::UnknownFormat()
{
    return "不支持的输出格式。";
}

std::string CExportMessages::MissingPart(const char* formatName, const char* part, const char* name)
{
    return std::string("这个 FFmpeg 不能写 ") + formatName + ":缺少" + part + " " + name + "。";
}

std::string CExportMessages::NoFolder()
{
    return "没有指定输出文件夹。";
}

std::string CExportMessages::FolderMissing(const std::string& folder)
{
    return "文件夹不存在:" + folder + "。";
}

std::string CExportMessages::NotAFolder(const std::string& path)
{
    return "不是文件夹:" + path + "。";
}

std::string CExportMessages::FolderNotWritable(const std::string& folder, int error)
{
    return "无法在文件夹 " + folder + " 中写入文件:" + CFileAccess::ErrorText(error);
}

std::string CExportMessages::EmptyBaseName()
{
    return "文件名不能为空。";
}

std::string CExportMessages::BadBaseName(const std::string& base)
{
    return "无效的文件名:" + base + "。";
}

std::string CExportMessages::CannotCreate(const std::string& path, int error)
{
    const std::string folder = CTempOutputFile::FolderOf(path);
    return error == ENOENT || error == ENOTDIR ? FolderMissing(folder) : FolderNotWritable(folder, error);
}

std::string CExportMessages::WriteFailed(const std::string& path, int error)
{
    return "无法写入 " + path + ":" + CFileAccess::ErrorText(error);
}

std::string CExportMessages::EncodeFailed(const std::string& path, const char* formatName, const std::string& detail)
{
    return "无法写入 " + path + ":" + formatName + " 编码失败(" + detail + ")。";
}

std::string CExportMessages::BadFrame(int32_t width, int32_t height, int32_t stride)
{
    return "无效的帧:" + Size(width, height) + " 像素,每行 " + std::to_string(stride) + " 字节。";
}

std::string CExportMessages::NoFrames(const std::string& path)
{
    return "没有帧可写入 " + path + "。";
}

std::string CExportMessages::NothingToExport()
{
    return "没有要导出的内容:帧文件和视频都选了“无”。";
}

std::string CExportMessages::StepsOutOfRange(int32_t steps)
{
    return "中间步数必须在 1 到 100 之间:" + std::to_string(steps) + "。";
}

std::string CExportMessages::RangeOutOfRange(int32_t first, int32_t last, int32_t steps)
{
    return "帧的范围必须在 0 到 " + std::to_string(steps) + " 之间,且起始帧不大于结束帧:" + std::to_string(first) +
           "-" + std::to_string(last) + "。";
}

std::string CExportMessages::HoldOutOfRange(double seconds)
{
    char shown[32];
    std::snprintf(shown, sizeof shown, "%g", seconds);
    return std::string("首尾帧的停留时间必须在 0 到 60 秒之间:") + shown + "。";
}
