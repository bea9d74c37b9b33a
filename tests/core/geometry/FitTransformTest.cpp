#include "geometry/CFitTransform.h"

#include <gtest/gtest.h>

namespace {

TEST(FitTransform, SizesOffsetsAndMappedPoints)
{
    const struct {
        FitMode mode;
        int32_t fromW, fromH, toW, toH;
        int32_t scaledW, scaledH, offX, offY;
        int32_t x, y, mappedX, mappedY;
    } cases[] = {
        // 800 x 400 into 400 x 300: half size, bars above and below.
        {FitMode::kPad, 800, 400, 400, 300, 400, 200, 0, 50, 101, 0, 50, 50},
        // Cropped: 600 x 300 centred, 100 columns cut on each side.
        {FitMode::kCrop, 800, 400, 400, 300, 600, 300, -100, 0, 0, 399, 0, 299},
        {FitMode::kCrop, 800, 400, 400, 300, 600, 300, -100, 0, 400, 200, 200, 150},
        {FitMode::kStretch, 800, 400, 400, 300, 400, 300, 0, 0, 799, 399, 399, 299},
        // Enlarged: a pixel lands under the centre of its scaled block.
        {FitMode::kPad, 100, 100, 300, 200, 200, 200, 50, 0, 10, 10, 71, 21},
        // Same size: nothing moves.
        {FitMode::kPad, 64, 48, 64, 48, 64, 48, 0, 0, 63, 47, 63, 47},
        {FitMode::kCrop, 64, 48, 64, 48, 64, 48, 0, 0, 5, 6, 5, 6},
        // Points beyond the picture stay on the canvas.
        {FitMode::kStretch, 100, 100, 50, 50, 50, 50, 0, 0, -30, 130, 0, 49},
    };
    for (const auto& c : cases) {
        const CFitTransform t(c.mode, c.fromW, c.fromH, c.toW, c.toH);
        SCOPED_TRACE(::testing::Message()
                     << int(c.mode) << " " << c.fromW << "x" << c.fromH << " -> " << c.toW << "x" << c.toH);
        EXPECT_EQ(t.ScaledWidth(), c.scaledW);
        EXPECT_EQ(t.ScaledHeight(), c.scaledH);
        EXPECT_EQ(t.OffsetX(), c.offX);
        EXPECT_EQ(t.OffsetY(), c.offY);
        EXPECT_EQ(t.MapX(c.x), c.mappedX);
        EXPECT_EQ(t.MapY(c.y), c.mappedY);
    }
}

TEST(FitTransform, MovesEveryLineAndParsesModes)
{
    CPointSets<int> lines;
    for (int i = 0; i < 2; ++i) {
        lines.Line(lines.Add()).AddPoint(100 * i, 200, 0, 1);
        lines.Line(i).AddPoint(400, 100 * i, 0, 1);
    }
    CFitTransform(FitMode::kPad, 800, 400, 400, 300).Apply(lines);
    EXPECT_EQ(lines.Line(1).Point(0).x, 50);
    EXPECT_EQ(lines.Line(1).Point(0).y, 150);
    EXPECT_EQ(lines.Line(1).Point(1).y, 100);
    EXPECT_EQ(lines.Line(1).Point(1).label, 3) << "labels stay";

    EXPECT_EQ(CFitTransform::ParseMode("pad"), FitMode::kPad);
    EXPECT_EQ(CFitTransform::ParseMode("crop"), FitMode::kCrop);
    EXPECT_EQ(CFitTransform::ParseMode("stretch"), FitMode::kStretch);
    EXPECT_FALSE(CFitTransform::ParseMode("Pad"));
    EXPECT_FALSE(CFitTransform::ParseMode(""));
}

} // namespace
