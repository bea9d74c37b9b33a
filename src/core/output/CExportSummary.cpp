#include "CExportSummary.h"

std::string CExportSummary::Describe() const
{
    std::string text;
    switch (outcome) {
    case Outcome::kDone:
        text = "导出完成。\n";
        break;
    case Outcome::kCancelled:
        text = "导出已取消。\n";
        break;
    case Outcome::kFailed:
        text = "导出失败:" + error + "\n";
        break;
    }
    if (framesWritten == 1) {
        text += "已写入 1 个帧文件:" + firstFrameFile + "\n";
    } else if (framesWritten > 1) {
        text +=
            "已写入 " + std::to_string(framesWritten) + " 个帧文件:" + firstFrameFile + " … " + lastFrameFile + "\n";
    }
    if (!videoPath.empty()) {
        text += "已写入视频:" + videoPath + "(" + std::to_string(videoFrames) + " 帧," + std::to_string(width) + " x " +
                std::to_string(height) + "," + std::to_string(fps) + " 帧/秒)\n";
    }
    if (framesWritten == 0 && videoPath.empty()) {
        text += "没有写入任何文件。\n";
    } else if (outcome != Outcome::kDone && videoWanted && videoPath.empty()) {
        text += "视频没有写入。\n";
    }
    return text;
}
