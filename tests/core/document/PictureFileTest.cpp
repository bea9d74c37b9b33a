#include "document/CPictureFile.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/FakePictureDecoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using testfiles::WriteBytes;

namespace {

class PictureFile : public ::testing::Test {
protected:
    PictureFile() { m_picture.SetDecoder(m_decoder); }

    std::string File(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        WriteBytes(m_dir / name, bytes);
        return (m_dir / name).string();
    }

    CTempDir m_dir;
    std::shared_ptr<FakePictureDecoder> m_decoder = std::make_shared<FakePictureDecoder>();
    CPictureFile m_picture;
};

TEST_F(PictureFile, EmptyHolder)
{
    EXPECT_EQ(m_picture.IsLoaded(), 0);
    EXPECT_EQ(m_picture.GetPath(), "");
    EXPECT_EQ(m_picture.GetImage(), nullptr);
    EXPECT_EQ(m_picture.GetSizeInPixels(), (SIZE{0, 0}));
}

TEST_F(PictureFile, LoadTakesPixelsSizeAndPath)
{
    const std::string path = File("\xE8\x84\xB8.bmp", FakePictureDecoder::Picture(5, 3, 9));
    ASSERT_EQ(m_picture.LoadFromFile(path), 1);
    EXPECT_EQ(m_picture.IsLoaded(), 1);
    EXPECT_EQ(m_picture.GetPath(), path);
    EXPECT_EQ(m_picture.GetSizeInPixels(), (SIZE{5, 3}));
    ASSERT_NE(m_picture.GetImage(), nullptr);
    EXPECT_EQ(m_picture.GetImage()->pixels.size(), 5u * 3u * 4u);
    EXPECT_EQ(m_picture.GetLastError().Text(), "");

    // A second load replaces the first picture.
    ASSERT_EQ(m_picture.LoadFromFile(File("b.bmp", FakePictureDecoder::Picture(2, 2, 1))), 1);
    EXPECT_EQ(m_picture.GetSizeInPixels(), (SIZE{2, 2}));
    EXPECT_EQ(m_picture.GetImage()->pixels[0], 1);
}

TEST_F(PictureFile, UnopenableFileChangesNothing)
{
    const std::string path = File("a.bmp", FakePictureDecoder::Picture(5, 3, 9));
    ASSERT_EQ(m_picture.LoadFromFile(path), 1);
    const CPictureImage* image = m_picture.GetImage();

    std::filesystem::create_directory(m_dir / "folder.bmp");
    ASSERT_EQ(::mkfifo((m_dir / "pipe.bmp").c_str(), 0600), 0);
    const std::vector<std::string> unopenable = {
        (m_dir / "missing.bmp").string(),     (m_dir / "folder.bmp").string(),
        (m_dir / "pipe.bmp").string(), // a pipe is refused, not waited on
        (m_dir / "a.bmp" / "x.bmp").string(), path + std::string(1, '\0') + "junk",
    };
    for (const std::string& bad : unopenable) {
        EXPECT_EQ(m_picture.LoadFromFile(bad), 0) << bad;
        EXPECT_EQ(m_picture.GetImage(), image);
        EXPECT_EQ(m_picture.IsLoaded(), 1);
        EXPECT_EQ(m_picture.GetPath(), path);
        EXPECT_NE(m_picture.GetLastError().Text().find("无法打开图片文件"), std::string::npos);
    }
    EXPECT_NE(m_picture.GetLastError().Text().find(path), std::string::npos);
}

TEST_F(PictureFile, UndecodableFileEmptiesTheHolderButKeepsThePath)
{
    const std::string path = File("a.bmp", FakePictureDecoder::Picture(5, 3, 9));
    ASSERT_EQ(m_picture.LoadFromFile(path), 1);
    for (const std::vector<uint8_t>& junk : {std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M', 0}}) {
        ASSERT_EQ(m_picture.LoadFromFile(File("junk.bmp", junk)), 0);
        EXPECT_EQ(m_picture.IsLoaded(), 0);
        EXPECT_EQ(m_picture.GetImage(), nullptr);
        EXPECT_EQ(m_picture.GetPath(), path);
        EXPECT_EQ(m_picture.GetSizeInPixels(), (SIZE{0, 0}));
        EXPECT_NE(m_picture.GetLastError().Text().find("junk.bmp"), std::string::npos);
        ASSERT_EQ(m_picture.LoadFromFile(path), 1);
    }
}

TEST_F(PictureFile, StreamsAndMissingDecoder)
{
    const std::vector<uint8_t> bytes = FakePictureDecoder::Picture(1, 1, 3);
    ASSERT_EQ(m_picture.LoadFromStream(bytes), 1);
    EXPECT_EQ(m_picture.GetPath(), "");
    EXPECT_EQ(m_picture.GetSizeInPixels(), (SIZE{1, 1}));

    CPictureFile bare;
    EXPECT_EQ(bare.LoadFromStream(bytes), 0);
    EXPECT_EQ(bare.GetLastError().Text(), "没有可用的图片解码器。");
    EXPECT_EQ(bare.LoadFromFile(File("a.bmp", bytes)), 0);
    EXPECT_EQ(bare.GetPath(), "");
}

// A decoder that claims success with pixels that do not match its size.
class LyingDecoder : public CPictureDecoder {
public:
    bool Decode(const uint8_t*, size_t, CPictureImage& out, CMessage&) const override
    {
        out.width = 1000;
        out.height = 1000;
        out.pixels.assign(16, 0);
        return true;
    }
};

TEST_F(PictureFile, InconsistentDecoderOutputIsRefused)
{
    CPictureFile picture;
    picture.SetDecoder(std::make_shared<LyingDecoder>());
    const uint8_t byte = 0;
    EXPECT_EQ(picture.LoadFromStream(&byte, 1), 0);
    EXPECT_EQ(picture.GetImage(), nullptr);
    EXPECT_EQ(picture.GetSizeInPixels(), (SIZE{0, 0}));
}

} // namespace
