#include "export/ffmpeg/CExportCheck.h"
#include "support/CTempDir.h"
#include "support/RunUnprivileged.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(ExportCheckTest, VideoSettingsOutsideWhatTheFormatTakesAreNamed)
{
    const struct {
        CVideoSettings settings;
        const char* message;
    } cases[] = {
        {{CVideoSettings::kMp4H264, 1920, 1080, 25, 75}, ""},
        {{CVideoSettings::kMp4H264, 1921, 1080, 25, 75}, "MP4 (H.264) 视频的宽和高必须是偶数:1921 x 1080。"},
        {{CVideoSettings::kWebmVp9, 640, 481, 25, 75}, "WebM (VP9) 视频的宽和高必须是偶数:640 x 481。"},
        {{CVideoSettings::kGif, 641, 481, 120, 0}, ""},
        {{CVideoSettings::kGif, 0, 480, 25, 75}, "输出的宽和高必须在 1 到 16384 像素之间:0 x 480。"},
        {{CVideoSettings::kMp4H264, 16386, 480, 25, 75}, "输出的宽和高必须在 1 到 16384 像素之间:16386 x 480。"},
        {{CVideoSettings::kWebmVp9, 640, 480, 0, 75}, "帧率必须在 1 到 120 之间:0。"},
        {{CVideoSettings::kGif, 640, 480, 121, 75}, "帧率必须在 1 到 120 之间:121。"},
        {{CVideoSettings::kMp4H264, 640, 480, 25, 101}, "质量必须在 0 到 100 之间:101。"},
        {{static_cast<CVideoSettings::Format>(3), 640, 480, 25, 75}, "不支持的输出格式。"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CExportCheck::VideoSettings(c.settings).Text(), c.message);
    }
    EXPECT_EQ(CExportCheck::FrameFileSettings({CFrameFileSettings::kPng, 641, 481, 90}).Text(), "");
    EXPECT_EQ(CExportCheck::FrameFileSettings({CFrameFileSettings::kJpeg, 64, 48, -1}).Text(),
              "质量必须在 0 到 100 之间:-1。");
}

TEST(ExportCheckTest, FolderMustExistAndTakeNewFiles)
{
    CTempDir dir;
    std::ofstream((dir / "file").string()) << "x";
    testfiles::LockedFolder(dir.Path());
    const std::string locked = (dir / "locked").string();
    EXPECT_EQ(CExportCheck::Folder(dir.Str()).Text(), "");
    EXPECT_EQ(CExportCheck::Folder("").Text(), "没有指定输出文件夹。");
    EXPECT_EQ(CExportCheck::Folder((dir / "gone").string()).Text(), "文件夹不存在:" + (dir / "gone").string() + "。");
    EXPECT_EQ(CExportCheck::Folder((dir / "file").string()).Text(), "不是文件夹:" + (dir / "file").string() + "。");
    const int outcome = RunUnprivileged([&] {
        return CExportCheck::Folder(locked).Text() == "无法在文件夹 " + locked + " 中写入文件:没有访问权限。" ? 0 : 1;
    });
    EXPECT_EQ(outcome, 0);
    // The trial file is gone again.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(ExportCheckTest, BaseNameIsOneFileName)
{
    EXPECT_EQ(CExportCheck::BaseName("morph 1").Text(), "");
    EXPECT_EQ(CExportCheck::BaseName("").Text(), "文件名不能为空。");
    EXPECT_EQ(CExportCheck::BaseName("a/b").Text(), "无效的文件名:a/b。");
    EXPECT_EQ(CExportCheck::BaseName("..").Text(), "无效的文件名:..。");
}
