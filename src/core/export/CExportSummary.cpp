#include "CExportSummary.h"

#include "message/CText.h"

CMessage CExportSummary::Describe() const
{
    const CMessage endOfLine = CMessage::Plain("\n");
    CMessage text;
    switch (outcome) {
    case Outcome::kDone:
        text = CMessage(TRV_TEXT("CoreText", "导出完成。"));
        break;
    case Outcome::kCancelled:
        text = CMessage(TRV_TEXT("CoreText", "导出已取消。"));
        break;
    case Outcome::kFailed:
        text = CMessage(TRV_TEXT("CoreText", "导出失败:%1"), {error});
        break;
    }
    text.Append(endOfLine);
    if (framesWritten == 1) {
        text.Append(CMessage(TRV_TEXT("CoreText", "已写入 1 个帧文件:%1"), {firstFrameFile})).Append(endOfLine);
    } else if (framesWritten > 1) {
        text.Append(CMessage(TRV_TEXT("CoreText", "已写入 %1 个帧文件:%2 … %3"),
                             {framesWritten, firstFrameFile, lastFrameFile}))
            .Append(endOfLine);
    }
    if (!videoPath.empty()) {
        text.Append(CMessage(TRV_TEXT("CoreText", "已写入视频:%1(%2 帧,%3 x %4,%5 帧/秒)"),
                             {videoPath, videoFrames, width, height, fps}))
            .Append(endOfLine);
    }
    if (framesWritten == 0 && videoPath.empty()) {
        text.Append(CMessage(TRV_TEXT("CoreText", "没有写入任何文件。"))).Append(endOfLine);
    } else if (outcome != Outcome::kDone && videoWanted && videoPath.empty()) {
        text.Append(CMessage(TRV_TEXT("CoreText", "视频没有写入。"))).Append(endOfLine);
    }
    return text;
}
