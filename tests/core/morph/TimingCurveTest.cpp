#include "morph/CTimingCurve.h"

#include <gtest/gtest.h>

using Kind = CTimingCurve::Kind;

// Each curve at its ends and a few points between (CSS's ease-in and
// ease-out values to 1e-6; smooth is 3 s^2 - 2 s^3 to the last bit).
TEST(TimingCurve, ValuesOfEachCurve)
{
    const struct {
        CTimingCurve curve;
        double at[5]; // s = 0, 0.25, 0.5, 0.75, 1
    } table[] = {
        {Kind::kLinear, {0, 0.25, 0.5, 0.75, 1}},
        {Kind::kSmooth, {0, 0.15625, 0.5, 0.84375, 1}},
        {Kind::kEaseIn, {0, 0.093465, 0.315357, 0.621862, 1}},
        {Kind::kEaseOut, {0, 0.378138, 0.684643, 0.906535, 1}},
        {CTimingCurve::Bezier(0, 0, 1, 1), {0, 0.25, 0.5, 0.75, 1}},
        {CTimingCurve::Bezier(0.25, 0.1, 0.25, 1), {0, 0.408511, 0.802403, 0.960459, 1}},
    };
    for (const auto& row : table) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(row.curve.Apply(i * 0.25), row.at[i], 1e-6) << row.curve.Name() << " at " << i * 0.25;
        }
        EXPECT_EQ(row.curve.Apply(0.0), 0.0) << row.curve.Name();
        EXPECT_EQ(row.curve.Apply(1.0), 1.0) << row.curve.Name();
    }
    const double s = 0.3;
    EXPECT_EQ(CTimingCurve(Kind::kSmooth).Apply(s), s * s * (3.0 - 2.0 * s)) << "the arithmetic of the old easing";
    EXPECT_GT(CTimingCurve::Bezier(0.5, 1.5, 0.5, 1.5).Apply(0.5), 1.0) << "a Bezier may overshoot";
}

// The words name each curve and read back the same; anything else is refused.
TEST(TimingCurve, NamesAndWords)
{
    for (const CTimingCurve& curve :
         {CTimingCurve(Kind::kLinear), CTimingCurve(Kind::kEaseIn), CTimingCurve(Kind::kEaseOut),
          CTimingCurve(Kind::kSmooth), CTimingCurve::Bezier(0.1, -0.5, 0.9, 1.25)}) {
        CTimingCurve read(Kind::kEaseIn);
        ASSERT_TRUE(CTimingCurve::Parse(curve.Name(), read)) << curve.Name();
        EXPECT_EQ(read, curve) << curve.Name();
    }
    EXPECT_EQ(CTimingCurve::Bezier(0.1, -0.5, 0.9, 1.25).Name(), "bezier:0.1,-0.5,0.9,1.25");
    CTimingCurve kept(Kind::kSmooth);
    for (const char* word : {"", "fast", "bezier:", "bezier:0,0,1", "bezier:1.5,0,1,1", "bezier:0,0,-0.1,1",
                             "bezier:0,3,1,1", "bezier:0,0,1,1,", "bezier:a,0,1,1", "Linear"}) {
        EXPECT_FALSE(CTimingCurve::Parse(word, kept)) << word;
    }
    EXPECT_EQ(kept, CTimingCurve(Kind::kSmooth));
}
