#include "MorphTestSupport.h"
#include "document/CTrevalinDoc.h"
#include "morph/LinearMorphing.h"

#include <gtest/gtest.h>

using morph_test::Picture;

namespace {

// One byte pair dissolved at frame k of n on a 1 x 1 picture of the given
// depth (all bytes of the source s, of the target t).
uint8_t Dissolve(uint8_t s, uint8_t t, int32_t k, int32_t n, CTimingCurve colour = CTimingCurve::Kind::kLinear)
{
    LinearMorphing engine;
    // The dissolve takes the colour curve alone.
    engine.SetOptions({false, CTimingCurve::Kind::kEaseOut, colour, CMorphOptions::Edge::kBlack});
    engine.LoadImage(Picture(1, 1, [s](int32_t, int32_t, int32_t) { return s; }), 0);
    engine.LoadImage(Picture(1, 1, [t](int32_t, int32_t, int32_t) { return t; }), 1);
    engine.SetSteps(n);
    CBitmap out;
    out.CreateCompatibleBitmap(1, 1);
    EXPECT_EQ(engine.Morph(out, k, nullptr), 0);
    return out.Bits()[0];
}

TEST(LinearMorphing, WorkedValues)
{
    EXPECT_EQ(Dissolve(255, 255, 1, 4), 255);
    EXPECT_EQ(Dissolve(200, 100, 1, 4), 175);
    EXPECT_EQ(Dissolve(1, 2, 1, 2), 1) << "1.5 truncated";
    EXPECT_EQ(Dissolve(0, 255, 3, 4), 191) << "191.25";
    EXPECT_EQ(Dissolve(255, 0, 3, 4), 63) << "63.75";
    // Smooth easing: t = 0.15625 at k = 1 of 4, 0.84375 at k = 3.
    EXPECT_EQ(Dissolve(200, 100, 1, 4, CTimingCurve::Kind::kSmooth), 184) << "184.375";
    EXPECT_EQ(Dissolve(0, 255, 3, 4, CTimingCurve::Kind::kSmooth), 215) << "215.15625";
    EXPECT_EQ(Dissolve(0, 255, 2, 4, CTimingCurve::Kind::kSmooth), 127) << "127.5";
    // Curves that leave [0, 1] on the way are held within it.
    EXPECT_EQ(Dissolve(0, 255, 1, 4, CTimingCurve::Bezier(0, 2, 1, 2)), 255) << "t over 1";
    EXPECT_EQ(Dissolve(0, 255, 3, 4, CTimingCurve::Bezier(0, -1, 1, -1)), 0) << "t under 0";
}

// The weights are rounded doubles and the sum is truncated once, so where
// the exact value is a whole number the rounding of the weights decides:
// 1 x 2/3 + 7 x 1/3 is 3 exactly but 2.999... in double precision.
TEST(LinearMorphing, TruncatesTheRoundedDoubleSum)
{
    EXPECT_EQ(Dissolve(1, 7, 1, 3), 2);
    EXPECT_EQ(Dissolve(1, 10, 1, 3), 3);
    EXPECT_EQ(Dissolve(7, 1, 2, 3), 2);
    EXPECT_EQ(Dissolve(3, 3, 1, 3), 3);
}

TEST(LinearMorphing, EndFramesCopyThePicturesPaddingIncluded)
{
    // 8 bits per pixel and an odd width: each row carries one padding byte.
    auto a = Picture(
        7, 5, [](int32_t x, int32_t y, int32_t) { return static_cast<uint8_t>(x * 31 + y * 7); }, 8);
    auto b = Picture(
        7, 5, [](int32_t x, int32_t y, int32_t) { return static_cast<uint8_t>(200 - x * 3 - y); }, 8);
    ASSERT_EQ(a.WidthBytes(), 8);
    LinearMorphing engine;
    engine.LoadImage(a, 0);
    engine.LoadImage(b, 1);
    ASSERT_EQ(engine.IsCompatible(), 1);
    engine.SetSteps(6);
    CBitmap out;
    out.CreateBitmap(7, 5, 1, 8);
    CTrevalinDoc doc("/nonexistent");
    engine.Morph(out, 0, &doc);
    EXPECT_EQ(std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()),
              std::vector<uint8_t>(a.Bits(), a.Bits() + a.SizeBytes()));
    engine.Morph(out, 6, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()),
              std::vector<uint8_t>(b.Bits(), b.Bits() + b.SizeBytes()));
}

} // namespace
