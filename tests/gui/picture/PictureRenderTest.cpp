#include "PictureSamples.h"
#include "document/CPictureFile.h"
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
