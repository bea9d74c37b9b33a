#include "PictureSamples.h"
#include "document/CPictureFile.h"
#include "geometry/CFitTransform.h"
#include "picture/CPictureFitter.h"
#include "picture/CPicturePainter.h"
#include "picture/CQtPictureDecoder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace picturesamples;

namespace {

constexpr QRgb kBackground = 0xFF102030;

class PictureRender : public ::testing::Test {
protected:
    PictureRender() : m_canvas(64, 48, QImage::Format_RGB32)
    {
        m_canvas.fill(kBackground);
        m_picture.SetDecoder(std::make_shared<CQtPictureDecoder>());
    }

    int32_t RenderInto(const RECT& r)
    {
        QPainter painter(&m_canvas);
        return CPicturePainter::Render(m_picture, painter, r);
    }

    QImage m_canvas;
    CPictureFile m_picture;
};

TEST_F(PictureRender, NothingHeldDrawsNothing)
{
    EXPECT_EQ(RenderInto(RECT{0, 0, 10, 10}), 0);
    EXPECT_EQ(RenderInto(RECT{}), 0);
    for (int y = 0; y < m_canvas.height(); ++y) {
        for (int x = 0; x < m_canvas.width(); ++x) {
            ASSERT_EQ(m_canvas.pixel(x, y), kBackground);
        }
    }
}

TEST_F(PictureRender, EmptyRectangleDrawsUprightAtNaturalSizeAtTheOrigin)
{
    const QImage source = Blocks(20, 12);
    ASSERT_EQ(m_picture.LoadFromStream(Encode(source, "BMP")), 1);
    EXPECT_EQ(RenderInto(RECT{}), 1);
    for (int y = 0; y < m_canvas.height(); ++y) {
        for (int x = 0; x < m_canvas.width(); ++x) {
            const QRgb expected = (x < 20 && y < 12) ? source.pixel(x, y) : kBackground;
            ASSERT_EQ(m_canvas.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(PictureRender, RectangleScalesThePictureIntoIt)
{
    const QImage source = Blocks(16, 8);
    ASSERT_EQ(m_picture.LoadFromStream(Encode(source, "PNG")), 1);
    // Twice the size, offset by (10, 5).
    EXPECT_EQ(RenderInto(RECT{10, 5, 42, 21}), 1);
    EXPECT_EQ(m_canvas.pixel(9, 5), kBackground);
    EXPECT_EQ(m_canvas.pixel(10, 4), kBackground);
    EXPECT_EQ(m_canvas.pixel(42, 21), kBackground);
    // Block centres land where the doubled block centres are.
    for (int by = 0; by < 2; ++by) {
        for (int bx = 0; bx < 4; ++bx) {
            const QRgb expected = source.pixel(bx * 4 + 2, by * 4 + 2);
            EXPECT_EQ(m_canvas.pixel(10 + bx * 8 + 4, 5 + by * 8 + 4), expected) << bx << "," << by;
        }
    }
}

} // namespace

namespace {

// A w x h picture whose pixels are colour(x, y) (0xRRGGBB).
template <typename Colour> CPictureImage Painted(int w, int h, Colour colour)
{
    CPictureImage p;
    p.width = w;
    p.height = h;
    p.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            uint8_t* px = p.pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(w) + x) * 4;
            px[0] = c & 0xFF, px[1] = (c >> 8) & 0xFF, px[2] = (c >> 16) & 0xFF, px[3] = 255;
        }
    }
    return p;
}

// Cropping cuts before it scales: a 1 x 4000 picture fitted to 4000 x 1
// (whose whole would scale to 4000 x 16 million) keeps its middle row, and
// the middle third of a wide picture fills a small canvas alone.
TEST(PictureFitter, CropCutsFirstAtAnyAspectRatio)
{
    const struct {
        CPictureImage picture;
        int toW, toH;
    } cases[] = {
        {Painted(1, 4000, [](int, int y) { return y == 1999 ? 0xFF0000u : 0x0000FFu; }), 4000, 1},
        {Painted(4000, 1, [](int x, int) { return x == 1999 ? 0xFF0000u : 0x0000FFu; }), 1, 4000},
        {Painted(6000, 1000, [](int x, int) { return x < 2400 || x >= 3600 ? 0x0000FFu : 0xFF0000u; }), 100, 100},
    };
    for (const auto& c : cases) {
        const CFitTransform fit(FitMode::kCrop, c.picture.width, c.picture.height, c.toW, c.toH);
        const QImage fitted = CPictureFitter::Fit(c.picture, fit);
        ASSERT_EQ(fitted.size(), QSize(c.toW, c.toH)) << c.picture.width;
        for (int y = 0; y < c.toH; ++y) {
            for (int x = 0; x < c.toW; ++x)
                ASSERT_EQ(fitted.pixel(x, y), 0xFFFF0000u) << c.picture.width << ": " << x << ", " << y;
        }
        // The kept part's pixels go under the canvas's centre.
        EXPECT_EQ(fit.MapX(c.picture.width / 2), c.toW / 2);
        EXPECT_EQ(fit.MapY(c.picture.height / 2), c.toH / 2);
    }
    // Padding the same extremes leaves a pixel of the picture on black.
    const QImage padded = CPictureFitter::Fit(cases[0].picture, CFitTransform(FitMode::kPad, 1, 4000, 4000, 1));
    ASSERT_EQ(padded.size(), QSize(4000, 1));
    EXPECT_EQ(padded.pixel(0, 0), 0xFF000000u);
    // A canvas beyond the picture limits cannot be made.
    EXPECT_TRUE(CPictureFitter::Fit(cases[0].picture, CFitTransform(FitMode::kCrop, 1, 4000, 20000, 1)).isNull());
}

} // namespace
