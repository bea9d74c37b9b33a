#include "support/CRiffReader.h"
#include "support/CFileSizeLimit.h"
#include "support/CTestFrames.h"
#include "output/avi/CAviRecorder.h"
#include "output/bmp/CBitmapInfo.h"
#include "support/CFfmpegRunner.h"
#include "support/CTempDir.h"
#include "support/RunUnprivileged.h"
#include "support/TestFiles.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using R = CRiffReader;
using Chunk = CRiffReader::Chunk;

namespace {

BITMAPINFOHEADER FrameFormat(int32_t width, int32_t height, uint16_t bits = 32)
{
    BITMAP bm;
    bm.bmWidth = width;
    bm.bmHeight = height;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = bits;
    return MakeBitmapHeader(bm)->header;
}

CCompressionChooser Choose(int codec, int quality = 90, int* calls = nullptr)
{
    return [=](CCompressionOptions& o) {
        if (calls != nullptr) {
            ++*calls;
        }
        o.codec = codec;
        o.quality = quality;
        return true;
    };
}

// Frames of the test pattern, bottom-up, for a recorder of the given size.
std::vector<std::vector<uint8_t>> Frames(int32_t width, int32_t height, int count)
{
    std::vector<std::vector<uint8_t>> out;
    for (int k = 0; k < count; ++k) {
        out.push_back(CTestFrames::BottomUp(CTestFrames::Pattern(width, height, k)));
    }
    return out;
}

struct Avi {
    std::vector<uint8_t> bytes;
    CRiffReader riff;

    explicit Avi(const std::string& path) : bytes(testfiles::ReadBytes(path))
    {
        EXPECT_TRUE(riff.Parse(bytes)) << riff.Error();
    }
    const Chunk& First() const { return riff.Top().at(0); }
    const Chunk* Hdrl() const { return First().Find("hdrl"); }
    const Chunk* Strl() const { return Hdrl()->Find("strl"); }
    uint32_t U32(uint64_t at) const { return R::U32(bytes, at); }
    std::vector<uint8_t> Data(const Chunk& c) const
    {
        return {bytes.begin() + static_cast<long>(c.DataOffset()),
                bytes.begin() + static_cast<long>(c.DataOffset() + c.size)};
    }
    std::vector<uint8_t> At(uint64_t offset, uint32_t size) const
    {
        return {bytes.begin() + static_cast<long>(offset), bytes.begin() + static_cast<long>(offset + size)};
    }
};

} // namespace

TEST(AviRecorderTest, InitialStateAndUnopenedRecorder)
{
    CAviRecorder rec;
    EXPECT_EQ(rec.GetFilePath(), "Untitled.avi");
    EXPECT_EQ(rec.m_nFrameRate, 30u);
    EXPECT_EQ(rec.GetFrameFormat().biSize, 0u);
    EXPECT_EQ(rec.GetErrorText(), nullptr);
    EXPECT_TRUE(rec.GetError().IsEmpty());
    EXPECT_FALSE(rec.IsOpen());
    const uint8_t frame[16] = {};
    EXPECT_LT(rec.WriteFrame(frame), 0);
    EXPECT_EQ(rec.CloseVideo(), 0);
}

TEST(AviRecorderTest, UncompressedFileIsAStandardAvi)
{
    CTempDir dir;
    const std::string path = (dir / "trevalin.avi").string();
    const auto frames = Frames(5, 3, 4);
    {
        CAviRecorder rec;
        rec.m_nFrameRate = 3;
        rec.SetFrameFormat(FrameFormat(5, 3));
        rec.SetFilePath(path);
        ASSERT_EQ(rec.OpenVideo(), 0);
        EXPECT_STREQ(rec.GetErrorText(), "Ok");
        EXPECT_TRUE(rec.IsOpen());
        for (const auto& f : frames) {
            EXPECT_EQ(rec.WriteFrame(f.data()), 0);
        }
        EXPECT_EQ(rec.GetFrameCounter(), 4);
        EXPECT_EQ(rec.CloseVideo(), 0);
        EXPECT_FALSE(rec.IsOpen());
    }
    Avi avi(path);
    ASSERT_EQ(avi.riff.Top().size(), 1u);
    const Chunk& riff = avi.First();
    EXPECT_EQ(riff.id, "RIFF");
    EXPECT_EQ(riff.listType, "AVI ");
    EXPECT_EQ(riff.size + 8u, avi.bytes.size());

    const Chunk* avih = avi.Hdrl()->Find("avih");
    ASSERT_NE(avih, nullptr);
    ASSERT_EQ(avih->size, 56u);
    const uint64_t h = avih->DataOffset();
    EXPECT_EQ(avi.U32(h), 333333u);           // microseconds per frame
    EXPECT_EQ(avi.U32(h + 12) & 0x10, 0x10u); // has an index
    EXPECT_EQ(avi.U32(h + 16), 4u);           // frames
    EXPECT_EQ(avi.U32(h + 24), 1u);           // streams
    EXPECT_EQ(avi.U32(h + 32), 5u);
    EXPECT_EQ(avi.U32(h + 36), 3u);

    const Chunk* strh = avi.Strl()->Find("strh");
    ASSERT_NE(strh, nullptr);
    ASSERT_EQ(strh->size, 56u);
    const uint64_t s = strh->DataOffset();
    EXPECT_EQ(R::FourCC(avi.bytes, s), "vids");
    EXPECT_EQ(avi.U32(s + 4), 0u);   // handler
    EXPECT_EQ(avi.U32(s + 20), 1u);  // scale
    EXPECT_EQ(avi.U32(s + 24), 3u);  // rate
    EXPECT_EQ(avi.U32(s + 32), 4u);  // length
    EXPECT_EQ(avi.U32(s + 36), 60u); // suggested buffer: the image size
    EXPECT_EQ(avi.U32(s + 48), 0u);  // left, top
    EXPECT_EQ(R::U16(avi.bytes, s + 52), 5);
    EXPECT_EQ(R::U16(avi.bytes, s + 54), 3);

    const Chunk* strf = avi.Strl()->Find("strf");
    ASSERT_NE(strf, nullptr);
    CBitmapInfo expectedFormat;
    expectedFormat.header = FrameFormat(5, 3);
    EXPECT_EQ(avi.Data(*strf), expectedFormat.Block());

    // A small file is plain AVI 1.0: no super index, no odml list.
    EXPECT_EQ(avi.Strl()->Find("indx"), nullptr);
    EXPECT_EQ(avi.Hdrl()->Find("odml"), nullptr);

    const Chunk* movi = riff.Find("movi");
    ASSERT_NE(movi, nullptr);
    const auto chunks = movi->All("00db");
    ASSERT_EQ(chunks.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(avi.Data(*chunks[k]), frames[k]) << "frame " << k;
    }
    const Chunk* idx1 = riff.Find("idx1");
    ASSERT_NE(idx1, nullptr);
    ASSERT_EQ(idx1->size, 64u);
    for (size_t k = 0; k < 4; ++k) {
        const uint64_t e = idx1->DataOffset() + 16 * k;
        EXPECT_EQ(R::FourCC(avi.bytes, e), "00db");
        EXPECT_EQ(avi.U32(e + 4), 0x10u);                                  // key frame
        EXPECT_EQ(movi->DataOffset() + avi.U32(e + 8), chunks[k]->offset); // from the 'movi' identifier
        EXPECT_EQ(avi.U32(e + 12), 60u);
    }
}

TEST(AviRecorderTest, FormatOfALowDepthStreamCarriesItsColourTable)
{
    CTempDir dir;
    const std::string path = (dir / "grey.avi").string();
    const BITMAPINFOHEADER format = FrameFormat(6, 2, 8);
    ASSERT_EQ(format.biSizeImage, 16u);
    {
        CAviRecorder rec;
        rec.SetFrameFormat(format);
        rec.SetFilePath(path);
        ASSERT_EQ(rec.OpenVideo(), 0);
        const std::vector<uint8_t> frame(16, 7);
        EXPECT_EQ(rec.WriteFrame(frame.data()), 0);
        EXPECT_EQ(rec.CloseVideo(), 0);
    }
    Avi avi(path);
    const Chunk* strf = avi.Strl()->Find("strf");
    ASSERT_NE(strf, nullptr);
    EXPECT_EQ(strf->size, 40u + 1024u);
    EXPECT_EQ(avi.U32(strf->DataOffset() + 32), 256u);
    EXPECT_EQ(avi.First().Find("movi")->All("00db").size(), 1u);
}

TEST(AviRecorderTest, MotionJpegFramesAreJpegImagesInCompressedChunks)
{
    CTempDir dir;
    const std::string path = (dir / "mjpeg.avi").string();
    int calls = 0;
    {
        CAviRecorder rec;
        rec.m_nFrameRate = 3;
        rec.SetFrameFormat(FrameFormat(33, 17));
        rec.SetFilePath(path);
        rec.SetCompressionChooser(Choose(CCompressionOptions::kMotionJpeg, 75, &calls));
        ASSERT_EQ(rec.OpenVideo(), 0);
        for (const auto& f : Frames(33, 17, 3)) {
            EXPECT_EQ(rec.WriteFrame(f.data()), 0);
        }
        EXPECT_EQ(rec.CloseVideo(), 0);
    }
    EXPECT_EQ(calls, 1);
    Avi avi(path);
    const Chunk* strf = avi.Strl()->Find("strf");
    ASSERT_NE(strf, nullptr);
    ASSERT_EQ(strf->size, 40u);
    const uint64_t f = strf->DataOffset();
    EXPECT_EQ(static_cast<int32_t>(avi.U32(f + 4)), 33);
    EXPECT_EQ(static_cast<int32_t>(avi.U32(f + 8)), 17);
    EXPECT_EQ(R::U16(avi.bytes, f + 14), 24);
    EXPECT_EQ(R::FourCC(avi.bytes, f + 16), "MJPG");
    EXPECT_EQ(avi.U32(f + 20), 100u * 17u); // a 24-bit frame: rows of 99 bytes padded to 100

    const Chunk* movi = avi.First().Find("movi");
    EXPECT_TRUE(movi->All("00db").empty());
    const auto chunks = movi->All("00dc");
    ASSERT_EQ(chunks.size(), 3u);
    for (const Chunk* c : chunks) {
        const std::vector<uint8_t> jpeg = avi.Data(*c);
        ASSERT_GT(jpeg.size(), 4u);
        EXPECT_EQ(jpeg[0], 0xFF);
        EXPECT_EQ(jpeg[1], 0xD8); // start of image
        EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
        EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9); // end of image
    }
    const Chunk* idx1 = avi.First().Find("idx1");
    ASSERT_NE(idx1, nullptr);
    for (size_t k = 0; k < 3; ++k) {
        const uint64_t e = idx1->DataOffset() + 16 * k;
        EXPECT_EQ(R::FourCC(avi.bytes, e), "00dc");
        EXPECT_EQ(avi.U32(e + 4), 0x10u);
        EXPECT_EQ(avi.U32(e + 12), chunks[k]->size);
    }
}

TEST(AviRecorderTest, OpenFailuresGiveTheirCodesAndTexts)
{
    CTempDir dir;
    {
        SCOPED_TRACE("folder missing");
        CAviRecorder rec;
        const std::string path = (dir / "output_video" / "trevalin.avi").string();
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath(path);
        EXPECT_EQ(rec.OpenVideo(), AVIERR_FILEOPEN);
        EXPECT_EQ(AVIERR_FILEOPEN, static_cast<int32_t>(0x8004406F));
        EXPECT_STREQ(rec.GetErrorText(), ("AVI Engine failed to initialize. Check filename " + path +
                                          ".A disk error occurred while opening the file.")
                                             .c_str());
        EXPECT_FALSE(rec.IsOpen());
        const std::vector<uint8_t> frame(64);
        EXPECT_LT(rec.WriteFrame(frame.data()), 0);
        EXPECT_FALSE(fs::exists(dir / "output_video"));
    }
    {
        SCOPED_TRACE("no frame format");
        CAviRecorder rec;
        rec.SetFilePath((dir / "a.avi").string());
        EXPECT_EQ(rec.OpenVideo(), AVIERR_BADFORMAT);
        EXPECT_STREQ(rec.GetErrorText(), "AVI Stream creation failed. Check Bitmap info.");
        EXPECT_EQ(rec.GetError().Text(), rec.GetErrorText()); // no reason of the system's
        EXPECT_FALSE(fs::exists(dir / "a.avi"));
    }
    {
        SCOPED_TRACE("Motion JPEG of 8-bit frames");
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4, 8));
        rec.SetFilePath((dir / "b.avi").string());
        rec.SetCompressionChooser(Choose(CCompressionOptions::kMotionJpeg));
        EXPECT_EQ(rec.OpenVideo(), AVIERR_UNSUPPORTED);
        EXPECT_STREQ(rec.GetErrorText(),
                     "AVI Compressed Stream creation failed.Compression is not supported for this type of data. "
                     "This error might be returned if you try to compress data that is not audio or video.");
        EXPECT_FALSE(fs::exists(dir / "b.avi"));
    }
    {
        SCOPED_TRACE("unknown codec");
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath((dir / "c.avi").string());
        rec.SetCompressionChooser(Choose(7));
        EXPECT_EQ(rec.OpenVideo(), AVIERR_NOCOMPRESSOR);
        EXPECT_STREQ(rec.GetErrorText(),
                     "AVI Compressed Stream creation failed. A suitable compressor cannot be found.");
    }
}

TEST(AviRecorderTest, AppendedTextsFollowTheirTables)
{
    EXPECT_STREQ(CAviRecorder::FileOpenErrorText(AVIERR_BADFORMAT),
                 "The file couldn't be read, indicating a corrupt file or an unrecognized format.");
    EXPECT_STREQ(CAviRecorder::FileOpenErrorText(AVIERR_MEMORY),
                 "The file could not be opened because of insufficient memory.");
    EXPECT_STREQ(CAviRecorder::FileOpenErrorText(AVIERR_FILEREAD), "A disk error occurred while reading the file.");
    EXPECT_STREQ(CAviRecorder::FileOpenErrorText(REGDB_E_CLASSNOTREG),
                 "According to the registry, the type of file specified in AVIFileOpen does not have a handler to "
                 "process it");
    EXPECT_STREQ(CAviRecorder::FileOpenErrorText(AVIERR_NOCOMPRESSOR), "");
    EXPECT_STREQ(CAviRecorder::CompressorErrorText(AVIERR_MEMORY),
                 " There is not enough memory to complete the operation.");
    EXPECT_STREQ(CAviRecorder::CompressorErrorText(AVIERR_FILEOPEN), "");
    EXPECT_STREQ(CAviRecorder::StreamErrorText(AVIERR_READONLY), " Read only file.");
    EXPECT_STREQ(CAviRecorder::StreamErrorText(AVIERR_BADFORMAT), "");
    EXPECT_EQ(static_cast<uint32_t>(REGDB_E_CLASSNOTREG), 0x80040154u);
    EXPECT_EQ(static_cast<uint32_t>(AVIERR_READONLY), 0x80044072u);
}

TEST(AviRecorderTest, CancelledChooserLeavesNoVideoAndNoFile)
{
    CTempDir dir;
    const std::string path = (dir / "trevalin.avi").string();
    const std::string existing = (dir / "old.avi").string();
    testfiles::WriteBytes(existing, {1, 2, 3});
    for (const std::string& p : {path, existing}) {
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath(p);
        rec.SetCompressionChooser([](CCompressionOptions&) { return false; });
        EXPECT_EQ(rec.OpenVideo(), 1);
        EXPECT_STREQ(rec.GetErrorText(), "Ok");
        EXPECT_FALSE(rec.IsOpen());
        const std::vector<uint8_t> frame(64);
        EXPECT_LT(rec.WriteFrame(frame.data()), 0);
        EXPECT_LT(rec.WriteFrame(frame.data()), 0);
        EXPECT_STREQ(rec.GetErrorText(), "Ok");
        EXPECT_EQ(rec.CloseVideo(), 0);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(testfiles::ReadBytes(existing), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(AviRecorderTest, ClosingTwiceChangesNothingAndExistingFileIsReplaced)
{
    CTempDir dir;
    const std::string path = (dir / "trevalin.avi").string();
    testfiles::WriteBytes(path, std::vector<uint8_t>(100000, 0xEE));
    CAviRecorder rec;
    rec.SetFrameFormat(FrameFormat(4, 4));
    rec.SetFilePath(path);
    ASSERT_EQ(rec.OpenVideo(), 0);
    const auto frames = Frames(4, 4, 2);
    EXPECT_EQ(rec.WriteFrame(frames[0].data()), 0);
    EXPECT_EQ(rec.WriteFrame(frames[1].data()), 0);
    EXPECT_EQ(rec.CloseVideo(), 0);
    const std::vector<uint8_t> first = testfiles::ReadBytes(path);
    EXPECT_LT(first.size(), 100000u);
    Avi avi(path);
    EXPECT_EQ(avi.First().size + 8u, first.size());
    EXPECT_EQ(rec.CloseVideo(), 0);
    EXPECT_EQ(testfiles::ReadBytes(path), first);
    EXPECT_LT(rec.WriteFrame(frames[0].data()), 0);
    EXPECT_EQ(testfiles::ReadBytes(path), first);
}

TEST(AviRecorderTest, RecorderLeftOpenIsCompletedWhenDestroyed)
{
    CTempDir dir;
    const std::string path = (dir / "left-open.avi").string();
    {
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath(path);
        ASSERT_EQ(rec.OpenVideo(), 0);
        for (const auto& f : Frames(4, 4, 3)) {
            EXPECT_EQ(rec.WriteFrame(f.data()), 0);
        }
    }
    Avi avi(path);
    EXPECT_EQ(avi.First().Find("movi")->All("00db").size(), 3u);
    ASSERT_NE(avi.First().Find("idx1"), nullptr);
    EXPECT_EQ(avi.First().Find("idx1")->size, 48u);
}

TEST(AviRecorderTest, WhateverStandsAtThePathIsReplacedAtCloseExceptAFolder)
{
    for (const std::string kind : {"fifo", "symlink", "read-only", "folder"}) {
        SCOPED_TRACE(kind);
        CTempDir dir;
        const std::string path = (dir / "trevalin.avi").string();
        const std::string aside = (dir / "aside").string();
        testfiles::Plant(path, kind, aside);
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath(path);
        const int32_t opened = rec.OpenVideo();
        if (kind == "folder") {
            EXPECT_EQ(opened, AVIERR_FILEOPEN);
            // The writer's text as it always was, the system's reason beside it.
            EXPECT_STREQ(rec.GetErrorText(), ("AVI Engine failed to initialize. Check filename " + path +
                                              ".A disk error occurred while opening the file.")
                                                 .c_str());
            EXPECT_EQ(rec.GetWriteErrorText(), "Cannot create " + path + ": Is a directory");
            EXPECT_EQ(rec.GetError().Text(), rec.GetErrorText() + ("\n" + rec.GetWriteErrorText()));
            EXPECT_EQ(rec.GetError().Errno(), EISDIR);
            EXPECT_TRUE(fs::is_directory(path));
            continue;
        }
        ASSERT_EQ(opened, 0);
        EXPECT_EQ(rec.WriteFrame(Frames(4, 4, 1)[0].data()), 0);
        EXPECT_EQ(rec.CloseVideo(), 0);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        Avi avi(path);
        EXPECT_EQ(avi.First().Find("movi")->All("00db").size(), 1u);
        if (kind == "symlink") {
            EXPECT_EQ(testfiles::ReadBytes(aside), (std::vector<uint8_t>{1, 2, 3}));
        }
    }
}

TEST(AviRecorderTest, FullDiskFailsTheOpenAndKeepsWhatWasThere)
{
    CTempDir dir;
    const std::string path = (dir / "trevalin.avi").string();
    testfiles::WriteBytes(path, std::vector<uint8_t>(300, 0xEE));
    CAviRecorder rec;
    rec.SetFrameFormat(FrameFormat(4, 4));
    rec.SetFilePath(path);
    {
        CFileSizeLimit full(100); // not even the headers fit
        ASSERT_TRUE(full.Ok());
        EXPECT_EQ(rec.OpenVideo(), AVIERR_FILEWRITE);
    }
    EXPECT_STREQ(rec.GetErrorText(), "AVI Compressed Stream format setting failed.");
    EXPECT_NE(rec.GetWriteErrorText().find(path), std::string::npos);
    EXPECT_NE(rec.GetWriteErrorText().find("File too large"), std::string::npos) << rec.GetWriteErrorText();
    const std::vector<uint8_t> frame(64);
    EXPECT_LT(rec.WriteFrame(frame.data()), 0);
    EXPECT_EQ(rec.CloseVideo(), 0);
    EXPECT_EQ(testfiles::ReadBytes(path), std::vector<uint8_t>(300, 0xEE));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(AviRecorderTest, FolderWithoutWritePermissionFailsTheOpen)
{
    CTempDir dir;
    testfiles::LockedFolder(dir.Path());
    const std::string path = (dir / "locked" / "trevalin.avi").string();
    const std::string expected =
        "AVI Engine failed to initialize. Check filename " + path + ".A disk error occurred while opening the file.";
    // 0: the open failed with the file-open code and text; 1: it did not.
    const int outcome = RunUnprivileged([&] {
        CAviRecorder rec;
        rec.SetFrameFormat(FrameFormat(4, 4));
        rec.SetFilePath(path);
        const bool failed =
            rec.OpenVideo() == AVIERR_FILEOPEN && rec.GetErrorText() != nullptr && expected == rec.GetErrorText();
        return failed ? 0 : 1;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

TEST(AviRecorderTest, WriteFailureMidwayFailsLaterFramesAndKeepsTheEarlierOnes)
{
    CTempDir dir;
    const std::string path = (dir / "short.avi").string();
    const auto frames = Frames(16, 16, 6);
    CAviRecorder rec;
    rec.SetFrameFormat(FrameFormat(16, 16));
    rec.SetFilePath(path);
    ASSERT_EQ(rec.OpenVideo(), 0);
    // The video is written beside its path until it is closed.
    ASSERT_FALSE(fs::exists(path));
    const uintmax_t headers = fs::file_size(fs::directory_iterator(dir.Path())->path());
    std::vector<int32_t> results;
    int32_t closed = 0;
    {
        // Room for three frames of 1024 bytes (plus chunk headers) and half a fourth.
        CFileSizeLimit limit(headers + 3 * 1032 + 512);
        ASSERT_TRUE(limit.Ok());
        for (const auto& f : frames) {
            results.push_back(rec.WriteFrame(f.data()));
        }
        closed = rec.CloseVideo();
    }
    EXPECT_EQ(results, (std::vector<int32_t>{0, 0, 0, AVIERR_FILEWRITE, AVIERR_FILEWRITE, AVIERR_FILEWRITE}));
    EXPECT_EQ(rec.GetFrameCounter(), 6);
    EXPECT_EQ(closed, AVIERR_FILEWRITE);
    EXPECT_NE(rec.GetWriteErrorText().find("File too large"), std::string::npos) << rec.GetWriteErrorText();
    EXPECT_STREQ(rec.GetErrorText(), "Ok");
    EXPECT_EQ(rec.GetError().Text(), rec.GetWriteErrorText()); // the reason alone
    EXPECT_EQ(rec.GetError().Errno(), EFBIG);
    // The index fits where the cut frame was: the file holds the first three frames.
    Avi avi(path);
    const auto chunks = avi.First().Find("movi")->All("00db");
    ASSERT_EQ(chunks.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(avi.Data(*chunks[k]), frames[k]);
    }
    EXPECT_EQ(avi.First().Find("idx1")->size, 48u);
}

namespace {

// Records `count` pattern frames of 8 x 8 pixels with a small part limit.
void RecordOpenDml(const std::string& path, uint64_t limit, int count, std::vector<int32_t>* results = nullptr,
                   int32_t* closed = nullptr)
{
    CAviRecorder rec;
    rec.m_nFrameRate = 3;
    rec.SetFrameFormat(FrameFormat(8, 8));
    rec.SetFilePath(path);
    rec.SetOpenDmlLimit(limit);
    ASSERT_EQ(rec.OpenVideo(), 0);
    for (const auto& f : Frames(8, 8, count)) {
        const int32_t r = rec.WriteFrame(f.data());
        if (results != nullptr) {
            results->push_back(r);
        } else {
            EXPECT_EQ(r, 0);
        }
    }
    const int32_t c = rec.CloseVideo();
    if (closed != nullptr) {
        *closed = c;
    } else {
        EXPECT_EQ(c, 0);
    }
}

// Checks the OpenDML indexes of `avi` against the frames written, and
// returns the number of RIFF parts.
size_t CheckOpenDml(const Avi& avi, const std::vector<std::vector<uint8_t>>& frames, uint64_t limit)
{
    const auto& parts = avi.riff.Top();
    EXPECT_EQ(parts.front().listType, "AVI ");
    for (size_t i = 1; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].id, "RIFF");
        EXPECT_EQ(parts[i].listType, "AVIX");
        EXPECT_EQ(parts[i].Find("idx1"), nullptr);
    }
    for (const Chunk& p : parts) {
        if (p.Find("movi")->All("00db").size() > 1) {
            EXPECT_LE(p.size + 8u, limit) << "part at " << p.offset;
        }
    }
    // Super index: one entry per part, each naming that part's 'ix00'.
    const Chunk* indx = avi.Strl()->Find("indx");
    EXPECT_NE(indx, nullptr);
    if (indx == nullptr) {
        return 0;
    }
    const uint64_t s = indx->DataOffset();
    EXPECT_EQ(R::U16(avi.bytes, s), 4);
    EXPECT_EQ(avi.bytes[s + 3], 0); // index of indexes
    const uint32_t used = avi.U32(s + 4);
    EXPECT_EQ(used, parts.size());
    EXPECT_EQ(R::FourCC(avi.bytes, s + 8), "00db");
    size_t frame = 0;
    for (uint32_t i = 0; i < used && i < parts.size(); ++i) {
        const uint64_t e = s + 24 + 16 * uint64_t{i};
        const uint64_t ix = R::U64(avi.bytes, e);
        const Chunk* movi = parts[i].Find("movi");
        const Chunk* own = movi->Find("ix00");
        EXPECT_NE(own, nullptr);
        if (own == nullptr) {
            continue;
        }
        EXPECT_EQ(ix, own->offset);
        EXPECT_EQ(avi.U32(e + 8), own->size + 8);
        const uint32_t count = avi.U32(e + 12);
        EXPECT_EQ(count, movi->All("00db").size());
        // Standard index: base offset plus entry offset is each frame's data.
        const uint64_t d = own->DataOffset();
        EXPECT_EQ(avi.bytes[d + 3], 1); // index of chunks
        EXPECT_EQ(avi.U32(d + 4), count);
        const uint64_t base = R::U64(avi.bytes, d + 12);
        for (uint32_t j = 0; j < count; ++j, ++frame) {
            const uint32_t offset = avi.U32(d + 24 + 8 * uint64_t{j});
            const uint32_t size = avi.U32(d + 28 + 8 * uint64_t{j});
            EXPECT_EQ(size & 0x80000000u, 0u); // key frame
            EXPECT_LT(frame, frames.size());
            if (frame < frames.size()) {
                EXPECT_EQ(avi.At(base + offset, size), frames[frame]) << "frame " << frame;
            }
        }
    }
    EXPECT_EQ(frame, frames.size());
    // Totals: dmlh all frames, avih the first part's, strh all.
    const Chunk* odml = avi.Hdrl()->Find("odml");
    EXPECT_NE(odml, nullptr);
    if (odml != nullptr) {
        EXPECT_EQ(avi.U32(odml->Find("dmlh")->DataOffset()), frames.size());
    }
    const size_t firstPart = parts.front().Find("movi")->All("00db").size();
    EXPECT_EQ(avi.U32(avi.Hdrl()->Find("avih")->DataOffset() + 16), firstPart);
    EXPECT_EQ(avi.U32(avi.Strl()->Find("strh")->DataOffset() + 32), frames.size());
    EXPECT_EQ(avi.First().Find("idx1")->size, 16 * firstPart);
    return parts.size();
}

} // namespace

TEST(AviRecorderTest, FileBeyondTheLimitContinuesAsOpenDml)
{
    CTempDir dir;
    const std::string path = (dir / "long.avi").string();
    RecordOpenDml(path, 8192, 100);
    Avi avi(path);
    EXPECT_GE(CheckOpenDml(avi, Frames(8, 8, 100), 8192), 4u);
}

TEST(AviRecorderTest, FullSuperIndexEndsTheFileCompleteAtItsLastFrame)
{
    CTempDir dir;
    const std::string path = (dir / "parts.avi").string();
    std::vector<int32_t> results;
    int32_t closed = 0;
    // A limit of 0 puts every frame in a part of its own.
    RecordOpenDml(path, 0, 258, &results, &closed);
    ASSERT_EQ(results.size(), 258u);
    EXPECT_EQ(std::count(results.begin(), results.end(), 0), 256);
    EXPECT_EQ(results[256], AVIERR_FILEWRITE);
    EXPECT_EQ(results[257], AVIERR_FILEWRITE);
    EXPECT_EQ(closed, AVIERR_FILEWRITE);
    Avi avi(path);
    EXPECT_EQ(CheckOpenDml(avi, Frames(8, 8, 256), 0), 256u);
}

// The recorder's writes go through the system's write and pwrite; these
// stand-ins fail the one call chosen by g_failAt (counting from 1 after
// arming) with ENOSPC, as a disk that fills up and frees space again would.
namespace {

std::atomic<int> g_calls{-1}; // -1: not armed
std::atomic<int> g_failAt{0};

bool FaultNow(int fd)
{
    if (fd <= 2 || g_calls.load() < 0) {
        return false;
    }
    if (g_calls.fetch_add(1) + 1 == g_failAt.load()) {
        errno = ENOSPC;
        return true;
    }
    return false;
}

template <class F> F Real(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" ssize_t write(int fd, const void* buf, size_t n)
{
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    return FaultNow(fd) ? -1 : real(fd, buf, n);
}

extern "C" ssize_t pwrite(int fd, const void* buf, size_t n, off_t at)
{
    static const auto real = Real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return FaultNow(fd) ? -1 : real(fd, buf, n, at);
}

TEST(AviRecorderTest, AFailedWriteAnywhereLeavesAPlayableVideoOfTheFramesBefore)
{
    constexpr int kFrames = 12;
    constexpr uint64_t kLimit = 1024; // three frames a part
    const auto frames = Frames(8, 8, kFrames);
    int calls = 0;
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("write call " + std::to_string(failAt));
        CTempDir dir;
        const std::string path = (dir / "trevalin.avi").string();
        CAviRecorder rec;
        rec.m_nFrameRate = 3;
        rec.SetFrameFormat(FrameFormat(8, 8));
        rec.SetFilePath(path);
        rec.SetOpenDmlLimit(kLimit);
        ASSERT_EQ(rec.OpenVideo(), 0);
        g_failAt = failAt;
        g_calls = 0;
        int written = 0;
        for (const auto& f : frames) {
            written += rec.WriteFrame(f.data()) == 0 ? 1 : 0;
        }
        rec.CloseVideo();
        calls = g_calls.exchange(-1);
        ASSERT_TRUE(rec.IsCompleted());
        // The frames before the failure, in a complete file of their own.
        const std::vector<std::vector<uint8_t>> kept(frames.begin(), frames.begin() + written);
        Avi avi(path);
        if (avi.riff.Top().size() > 1) {
            CheckOpenDml(avi, kept, kLimit);
        } else {
            const auto chunks = avi.First().Find("movi")->All("00db");
            ASSERT_EQ(chunks.size(), kept.size());
            for (size_t k = 0; k < kept.size(); ++k) {
                EXPECT_EQ(avi.Data(*chunks[k]), kept[k]);
            }
            EXPECT_EQ(avi.First().Find("idx1")->size, 16 * kept.size());
        }
        // ffprobe agrees (on every third failure point, to keep the test short).
        if (failAt % 3 == 0 && CFfmpegRunner::Available()) {
            std::string err;
            const std::string probe = CFfmpegRunner::ProbeStream(path, err);
            const std::string read = CFfmpegRunner::Value(probe, "nb_read_frames");
            EXPECT_EQ(read, written == 0 ? "N/A" : std::to_string(written)) << err;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
        if (failAt > calls) {
            EXPECT_EQ(written, kFrames);
            break;
        }
    }
    EXPECT_GT(calls, 2 * kFrames);
}
