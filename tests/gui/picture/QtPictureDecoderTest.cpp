#include "PictureSamples.h"
#include "document/CPictureFile.h"
#include "document/CPictureImage.h"
#include "picture/CQtPictureDecoder.h"
#include "support/CBmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace picturesamples;

namespace {

struct Decoded {
    bool ok = false;
    CPictureImage image;
    std::string error;
};

Decoded Decode(const std::vector<uint8_t>& bytes, const CQtPictureDecoder& decoder = CQtPictureDecoder())
{
    Decoded d;
    CMessage error;
    d.ok = decoder.Decode(bytes.data(), bytes.size(), d.image, error);
    d.error = error.Text();
    return d;
}

TEST(QtPictureDecoder, BmpAndPngDecodeToExactBgraTopDown)
{
    const QImage source = Blocks(13, 7);
    for (const char* format : {"BMP", "PNG"}) {
        const Decoded d = Decode(Encode(source, format));
        ASSERT_TRUE(d.ok) << format << ": " << d.error;
        EXPECT_EQ(d.image.width, 13);
        EXPECT_EQ(d.image.height, 7);
        EXPECT_EQ(d.image.pixels, Bgra(source)) << format;
    }
}

TEST(QtPictureDecoder, PalettedAndGreyPicturesBecome32Bit)
{
    QImage indexed = Blocks(8, 8).convertToFormat(QImage::Format_Indexed8);
    const Decoded d = Decode(Encode(indexed, "BMP"));
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.image.pixels, Bgra(indexed));

    QImage grey = Gradient(9, 9).convertToFormat(QImage::Format_Grayscale8);
    const Decoded g = Decode(Encode(grey, "PNG"));
    ASSERT_TRUE(g.ok) << g.error;
    EXPECT_EQ(g.image.pixels, Bgra(grey));
}

TEST(QtPictureDecoder, JpegDecodesCloseToTheOriginal)
{
    const QImage source = Gradient(32, 24);
    const Decoded d = Decode(Encode(source, "JPG", 95));
    ASSERT_TRUE(d.ok) << d.error;
    ASSERT_EQ(d.image.width, 32);
    ASSERT_EQ(d.image.height, 24);
    const CByteVector expected = Bgra(source);
    int worst = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        worst = std::max(worst, std::abs(int(expected[i]) - int(d.image.pixels[i])));
    }
    EXPECT_LE(worst, 12);
    for (size_t i = 3; i < d.image.pixels.size(); i += 4) {
        ASSERT_EQ(d.image.pixels[i], 255);
    }
}

TEST(QtPictureDecoder, OnePixelPictures)
{
    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixel(0, 0, qRgb(200, 100, 50));
    for (const char* format : {"BMP", "JPG", "PNG"}) {
        const Decoded d = Decode(Encode(one, format));
        ASSERT_TRUE(d.ok) << format << ": " << d.error;
        EXPECT_EQ(d.image.width, 1);
        EXPECT_EQ(d.image.height, 1);
        EXPECT_EQ(d.image.pixels.size(), 4u);
    }
}

TEST(QtPictureDecoder, EmptyAndUnknownDataAreRefused)
{
    Decoded d = Decode({});
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, "图片文件是空的。");
    d = Decode({'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, "无法识别的图片格式。");
    EXPECT_EQ(d.image.pixels.size(), 0u);
}

TEST(QtPictureDecoder, HeadersClaimingHugeSizesAreRefusedUnallocated)
{
    // 100000 x 100000 at 24 bits would be 30 GB.
    Decoded d = Decode(CBmpBuilder::Grey24(100000, 100000, 64));
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.error.find("图片过大"), std::string::npos) << d.error;
    EXPECT_NE(d.error.find("100000 x 100000"), std::string::npos) << d.error;
    EXPECT_NE(d.error.find("16384 x 16384"), std::string::npos) << d.error;

    // A JPEG whose frame header is patched to 60000 x 60000.
    std::vector<uint8_t> jpeg = Encode(Gradient(16, 16), "JPG");
    bool patched = false;
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = 0xEA; // height 0xEA60
            jpeg[i + 6] = 0x60;
            jpeg[i + 7] = 0xEA; // width
            jpeg[i + 8] = 0x60;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    d = Decode(jpeg);
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.error.find("60000 x 60000"), std::string::npos) << d.error;
}

TEST(QtPictureDecoder, LimitsApplyToEachSideAndToTheArea)
{
    // Small enough for Qt's own allocation limit, too wide for ours.
    Decoded d = Decode(Encode(Blocks(20000, 1), "BMP"));
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.error.find("20000 x 1"), std::string::npos) << d.error;

    CQtPictureDecoder::Limits limits;
    limits.maxWidth = 64;
    limits.maxHeight = 64;
    limits.maxPixels = 1000;
    const CQtPictureDecoder small(limits);
    EXPECT_FALSE(Decode(Encode(Blocks(40, 40), "PNG"), small).ok); // 1600 pixels
    EXPECT_FALSE(Decode(Encode(Blocks(65, 2), "BMP"), small).ok);  // too wide
    EXPECT_TRUE(Decode(Encode(Blocks(30, 30), "BMP"), small).ok);  // 900 pixels
}

TEST(QtPictureDecoder, FormatListRestrictsWhatIsAccepted)
{
    const CQtPictureDecoder bmpOnly(CQtPictureDecoder::Limits{}, {"bmp"});
    EXPECT_TRUE(Decode(Encode(Blocks(4, 4), "BMP"), bmpOnly).ok);
    const Decoded d = Decode(Encode(Blocks(4, 4), "PNG"), bmpOnly);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, "不支持的图片格式(png)。");
}

// Cut and damaged files: every outcome is either a clean refusal with a
// message or a picture of consistent size within the limits.
void ExpectCleanOutcomes(const std::vector<uint8_t>& good, const char* what)
{
    auto check = [what](const std::vector<uint8_t>& bytes, const std::string& how) {
        CPictureFile picture;
        picture.SetDecoder(std::make_shared<CQtPictureDecoder>());
        if (picture.LoadFromStream(bytes) == 1) {
            const SIZE s = picture.GetSizeInPixels();
            ASSERT_GT(s.cx, 0) << what << how;
            ASSERT_EQ(picture.GetImage()->pixels.size(), static_cast<size_t>(s.cx) * s.cy * 4) << what << how;
        } else {
            ASSERT_FALSE(picture.GetLastError().Text().empty()) << what << how;
            ASSERT_EQ(picture.GetImage(), nullptr);
        }
    };
    for (size_t n = 0; n < good.size(); n += (n < 200 ? 1 : 37)) {
        check(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)),
              " cut at " + std::to_string(n));
    }
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = good;
        const int flips = 1 + round % 8;
        for (int f = 0; f < flips; ++f) {
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        }
        check(bytes, " damaged, round " + std::to_string(round));
    }
}

TEST(QtPictureDecoder, TruncatedAndCorruptBmpAndJpegFailCleanly)
{
    ExpectCleanOutcomes(Encode(Blocks(24, 16), "BMP"), "bmp");
    ExpectCleanOutcomes(Encode(Blocks(24, 16).convertToFormat(QImage::Format_Indexed8), "BMP"), "bmp8");
    ExpectCleanOutcomes(Encode(Gradient(24, 16), "JPG"), "jpeg");
}

TEST(QtPictureDecoder, BmpCutInsideItsPixelsIsRefused)
{
    // Cut anywhere in the pixel rows, the last row's padding included, an
    // uncompressed BMP is refused rather than decoded with rows of stale
    // memory (which Qt's reader does for a last row without its padding).
    for (const QImage& image : {Blocks(25, 16), Blocks(25, 16).convertToFormat(QImage::Format_Indexed8),
                                Blocks(25, 16).convertToFormat(QImage::Format_RGB888)}) {
        const std::vector<uint8_t> good = Encode(image, "BMP");
        const size_t offset = good[10] | good[11] << 8;
        CQtPictureDecoder decoder;
        for (size_t n = offset; n <= good.size(); ++n) {
            CPictureImage out;
            CMessage message;
            const bool decoded = decoder.Decode(good.data(), n, out, message);
            const std::string error = message.Text();
            EXPECT_EQ(decoded, n == good.size())
                << "cut at " << n << " of " << good.size() << ", " << int(good[28]) << " bits";
            if (!decoded) {
                EXPECT_NE(error.find("不完整"), std::string::npos) << error;
            }
        }
    }
}

} // namespace
