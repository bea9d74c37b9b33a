#include "support/CFileSizeLimit.h"
#include "support/CRiffReader.h"
#include "support/CTestFrames.h"
#include "morph/CBitmap.h"
#include "output/bmp/CBitmapInfo.h"
#include "output/bmp/GetDIBits.h"
#include "output/bmp/WriteBitmapFile.h"
#include "support/CTempDir.h"
#include "support/RunUnprivileged.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using R = CRiffReader;

namespace {

// Writes `bitmap` with its own bitmap-info block; returns the file's bytes.
std::vector<uint8_t> WriteAndRead(const CTempDir& dir, const CBitmap& bitmap, const std::string& name = "f.bmp")
{
    auto info = MakeBitmapInfo(bitmap);
    EXPECT_NE(info, nullptr);
    const std::string path = (dir / name).string();
    const CMessage error = WriteBitmapFile(path, *info, bitmap);
    EXPECT_TRUE(error.IsEmpty()) << error.Text();
    return testfiles::ReadBytes(path);
}

// Names in the folder other than `keep`: leftovers of the writer.
std::vector<std::string> OtherFiles(const CTempDir& dir, const std::string& keep)
{
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.Path())) {
        if (e.path().filename() != keep) {
            out.push_back(e.path().filename().string());
        }
    }
    return out;
}

} // namespace

TEST(BitmapFileTest, ThirtyTwoBitFrameIsWrittenBottomUpBehindA54ByteHeader)
{
    CTempDir dir;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(3, 2));
    for (size_t i = 0; i < 24; ++i) {
        bitmap.Bits()[i] = static_cast<uint8_t>(i + 1);
    }
    const std::vector<uint8_t> f = WriteAndRead(dir, bitmap);
    ASSERT_EQ(f.size(), 78u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(R::U32(f, 2), 78u);
    EXPECT_EQ(R::U32(f, 6), 0u); // both reserved fields
    EXPECT_EQ(R::U32(f, 10), 54u);
    EXPECT_EQ(R::U32(f, 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(R::U32(f, 18)), 3);
    EXPECT_EQ(static_cast<int32_t>(R::U32(f, 22)), 2);
    EXPECT_EQ(R::U16(f, 26), 1);
    EXPECT_EQ(R::U16(f, 28), 32);
    EXPECT_EQ(R::U32(f, 30), 0u);
    EXPECT_EQ(R::U32(f, 34), 24u);
    EXPECT_EQ(R::U32(f, 46), 0u);
    // Bitmap row 1 (bytes 13..24) comes first, then row 0.
    const std::vector<uint8_t> pixels(f.begin() + 54, f.end());
    std::vector<uint8_t> expected;
    for (int i = 13; i <= 24; ++i) {
        expected.push_back(static_cast<uint8_t>(i));
    }
    for (int i = 1; i <= 12; ++i) {
        expected.push_back(static_cast<uint8_t>(i));
    }
    EXPECT_EQ(pixels, expected);
}

TEST(BitmapFileTest, TwentyFourBitRowsArePaddedToFourBytes)
{
    CTempDir dir;
    // Width 1: 3 pixel bytes, device pitch 4, file row 4.
    CBitmap one;
    ASSERT_TRUE(one.CreateBitmap(1, 2, 1, 24));
    const uint8_t oneBytes[] = {1, 2, 3, 0, 4, 5, 6, 0};
    one.SetBitmapBits(sizeof oneBytes, oneBytes);
    const std::vector<uint8_t> f1 = WriteAndRead(dir, one, "one.bmp");
    ASSERT_EQ(f1.size(), 54u + 8u);
    EXPECT_EQ(R::U32(f1, 34), 8u);
    EXPECT_EQ(std::vector<uint8_t>(f1.begin() + 54, f1.end()), (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));

    // Width 3: 9 pixel bytes, device pitch 10, file row 12.
    CBitmap three;
    ASSERT_TRUE(three.CreateBitmap(3, 2, 1, 24));
    ASSERT_EQ(three.WidthBytes(), 10);
    for (size_t i = 0; i < 20; ++i) {
        three.Bits()[i] = static_cast<uint8_t>(100 + i);
    }
    const std::vector<uint8_t> f3 = WriteAndRead(dir, three, "three.bmp");
    ASSERT_EQ(f3.size(), 54u + 24u);
    std::vector<uint8_t> expected;
    for (int row : {1, 0}) {
        for (int i = 0; i < 9; ++i) {
            expected.push_back(static_cast<uint8_t>(100 + row * 10 + i));
        }
        expected.insert(expected.end(), 3, 0);
    }
    EXPECT_EQ(std::vector<uint8_t>(f3.begin() + 54, f3.end()), expected);
}

TEST(BitmapFileTest, LowDepthFilesCarryTheirColourTable)
{
    CTempDir dir;
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(9, 2, 1, 1));
    ASSERT_EQ(mono.WidthBytes(), 2);
    const uint8_t monoBytes[] = {0x80, 0x80, 0xFF, 0x00};
    mono.SetBitmapBits(sizeof monoBytes, monoBytes);
    const std::vector<uint8_t> f = WriteAndRead(dir, mono, "mono.bmp");
    ASSERT_EQ(f.size(), 62u + 8u);
    EXPECT_EQ(R::U32(f, 2), 70u);
    EXPECT_EQ(R::U32(f, 10), 62u);
    EXPECT_EQ(R::U32(f, 46), 2u);
    EXPECT_EQ(R::U32(f, 54), 0x000000u); // black
    EXPECT_EQ(R::U32(f, 58), 0xFFFFFFu); // white
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 62, f.end()), (std::vector<uint8_t>{0xFF, 0, 0, 0, 0x80, 0x80, 0, 0}));

    CBitmap grey;
    ASSERT_TRUE(grey.CreateBitmap(2, 1, 1, 8));
    const std::vector<uint8_t> g = WriteAndRead(dir, grey, "grey.bmp");
    ASSERT_EQ(R::U32(g, 10), 54u + 1024u);
    EXPECT_EQ(R::U32(g, 54), 0u);
    EXPECT_EQ(R::U32(g, 54 + 4 * 255), 0xFFFFFFu);
    EXPECT_EQ(R::U32(g, 54 + 4 * 51), 0x333333u);

    CBitmap high;
    ASSERT_TRUE(high.CreateBitmap(2, 1, 1, 16));
    const std::vector<uint8_t> h = WriteAndRead(dir, high, "high.bmp");
    ASSERT_EQ(R::U32(h, 10), 262198u);
    ASSERT_EQ(h.size(), 262198u + 4u);
    EXPECT_EQ(std::count(h.begin() + 54, h.begin() + 262198, 0), 262144);
}

TEST(BitmapFileTest, ExistingFileIsReplacedAndNoTemporaryFileStays)
{
    CTempDir dir;
    const std::string path = (dir / "frame.bmp").string();
    testfiles::WriteBytes(path, std::vector<uint8_t>(5000, 0xAB));
    // A second name of the old file keeps the old bytes: the path gets a new file.
    fs::create_hard_link(path, dir / "kept");
    const CBitmap bitmap = CTestFrames::Pattern(4, 3, 1);
    const std::vector<uint8_t> f = WriteAndRead(dir, bitmap, "frame.bmp");
    EXPECT_EQ(f.size(), 54u + 48u);
    EXPECT_EQ(R::U32(f, 2), 102u);
    EXPECT_EQ(testfiles::ReadBytes((dir / "kept").string()), std::vector<uint8_t>(5000, 0xAB));
    EXPECT_EQ(OtherFiles(dir, "frame.bmp"), std::vector<std::string>{"kept"});
}

TEST(BitmapFileTest, FailuresAreReportedAndLeaveNoFile)
{
    CTempDir dir;
    const CBitmap bitmap = CTestFrames::Pattern(4, 3, 0);
    auto info = MakeBitmapInfo(bitmap);
    ASSERT_NE(info, nullptr);
    CMessage error;

    const std::string missing = (dir / "ouput_image" / "Frame-0.bmp").string();
    error = WriteBitmapFile(missing, *info, bitmap);
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_NE(error.Text().find(missing), std::string::npos) << error.Text();
    EXPECT_NE(error.Text().find("No such file or directory"), std::string::npos) << error.Text();
    EXPECT_FALSE(fs::exists(missing));

    // A folder where the file should be.
    fs::create_directory(dir / "taken.bmp");
    error = WriteBitmapFile((dir / "taken.bmp").string(), *info, bitmap);
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_FALSE(error.Text().empty());
    EXPECT_TRUE(OtherFiles(dir, "taken.bmp").empty());

    // A header that does not describe the bitmap.
    auto other = MakeBitmapInfo(CTestFrames::Pattern(5, 3, 0));
    error = WriteBitmapFile((dir / "wrong.bmp").string(), *other, bitmap);
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_FALSE(error.Text().empty());
    EXPECT_FALSE(fs::exists(dir / "wrong.bmp"));
}

TEST(BitmapFileTest, WhateverStandsAtThePathIsReplacedWithoutBeingOpenedExceptAFolder)
{
    for (const std::string kind : {"fifo", "symlink", "read-only", "folder"}) {
        SCOPED_TRACE(kind);
        CTempDir dir;
        const std::string path = (dir / "Frame-1.bmp").string();
        const std::string aside = (dir / "aside").string();
        testfiles::Plant(path, kind, aside);
        const CBitmap bitmap = CTestFrames::Pattern(4, 3, 1);
        const CMessage error = WriteBitmapFile(path, *MakeBitmapInfo(bitmap), bitmap);
        const bool written = error.IsEmpty();
        if (kind == "folder") {
            EXPECT_FALSE(written);
            EXPECT_NE(error.Text().find(path + ": Is a directory"), std::string::npos) << error.Text();
            EXPECT_TRUE(fs::is_directory(path));
            continue;
        }
        ASSERT_TRUE(written) << error.Text();
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        EXPECT_EQ(fs::file_size(path), 54u + 48u);
        if (kind == "symlink") {
            EXPECT_EQ(testfiles::ReadBytes(aside), (std::vector<uint8_t>{1, 2, 3}));
        }
    }
}

TEST(BitmapFileTest, FullDiskIsReportedAndKeepsWhatWasThere)
{
    CTempDir dir;
    const std::string path = (dir / "Frame-0.bmp").string();
    testfiles::WriteBytes(path, std::vector<uint8_t>(20, 0xAB));
    const CBitmap bitmap = CTestFrames::Pattern(40, 30, 0);
    auto info = MakeBitmapInfo(bitmap);
    CMessage error;
    {
        CFileSizeLimit full(1000);
        ASSERT_TRUE(full.Ok());
        error = WriteBitmapFile(path, *info, bitmap);
        EXPECT_FALSE(error.IsEmpty());
    }
    EXPECT_NE(error.Text().find(path), std::string::npos) << error.Text();
    EXPECT_NE(error.Text().find("File too large"), std::string::npos) << error.Text();
    EXPECT_EQ(testfiles::ReadBytes(path), std::vector<uint8_t>(20, 0xAB));
    EXPECT_TRUE(OtherFiles(dir, "Frame-0.bmp").empty());
}

TEST(BitmapFileTest, FolderWithoutWritePermissionIsReported)
{
    CTempDir dir;
    testfiles::LockedFolder(dir.Path());
    const CBitmap bitmap = CTestFrames::Pattern(4, 3, 0);
    auto info = MakeBitmapInfo(bitmap);
    const std::string path = (dir / "locked" / "Frame-0.bmp").string();
    // 0: refused with the system's reason; 1: written; 2: refused without it.
    const int outcome = RunUnprivileged([&] {
        const CMessage error = WriteBitmapFile(path, *info, bitmap);
        if (error.IsEmpty()) return 1;
        return error.Text().find("Permission denied") != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

TEST(BitmapFileTest, DeviceRowsBecomeBottomUpPixelArray)
{
    // The conversion the video frames use too: rows reversed, 32-bit rows unchanged.
    const CBitmap bitmap = CTestFrames::Pattern(7, 5, 3);
    auto info = MakeBitmapInfo(bitmap);
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(GetDIBits(bitmap, *info, pixels).IsEmpty());
    EXPECT_EQ(pixels, CTestFrames::BottomUp(bitmap));
}
