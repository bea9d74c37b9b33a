#include "CExportSummary.h"

#include "message/CText.h"

const char* const CExportSummary::kPatterns[] = {
    TRV_TEXT("CoreText", "导出失败:%1"),
    TRV_TEXT("CoreText", "已写入 1 个帧文件:%1"),
    TRV_TEXT("CoreText", "已写入 %1 个帧文件:%2 … %3"),
    TRV_TEXT("CoreText", "已写入视频:%1(%2 帧,%3 x %4,%5 帧/秒)"),
    nullptr,
};

std::string CExportSummary::Describe() const
{
    std::string text;
    switch (outcome) {
    case Outcome::kDone:
        text = TRV_TEXT("CoreText", "导出完成。");
        break;
    case Outcome::kCancelled:
        text = TRV_TEXT("CoreText", "导出已取消。");
        break;
    case Outcome::kFailed:
        text = CText::Fill(kPatterns[0], {error});
        break;
    }
    text += "\n";
    if (framesWritten == 1) {
        text += CText::Fill(kPatterns[1], {firstFrameFile}) + "\n";
    } else if (framesWritten > 1) {
        text += CText::Fill(kPatterns[2], {std::to_string(framesWritten), firstFrameFile, lastFrameFile}) + "\n";
    }
    if (!videoPath.empty()) {
        text += CText::Fill(kPatterns[3], {videoPath, std::to_string(videoFrames), std::to_string(width),
                                           std::to_string(height), std::to_string(fps)}) +
                "\n";
    }
    if (framesWritten == 0 && videoPath.empty()) {
        text += TRV_TEXT("CoreText", "没有写入任何文件。");
        text += "\n";
    } else if (outcome != Outcome::kDone && videoWanted && videoPath.empty()) {
        text += TRV_TEXT("CoreText", "视频没有写入。");
        text += "\n";
    }
    return text;
}
