#include "MorphTestSupport.h"
#include "document/CTrevalinDoc.h"
#include "morph/FBMorphing.h"

#include <gtest/gtest.h>

#include <climits>

using morph_test::AddPair;
using morph_test::AllZero;
using morph_test::CoordinatePicture;
using morph_test::Decode;
using morph_test::Picture;

namespace {

CFeaturePoint Pt(int32_t x, int32_t y)
{
    return CFeaturePoint{x, y, 0, 1, 0};
}

class OtherDoc : public CDocument {
public:
    CFeatureSet* GetFeatureSet() { return &m_lines; }
    CFeatureSet m_lines;
};

class DerivedDoc : public CTrevalinDoc {
public:
    DerivedDoc() : CTrevalinDoc("/nonexistent") {}
};

class FBMorphingTest : public ::testing::Test {
protected:
    // Source pictures tagged 10, targets tagged 200, both 120 x 100.
    void SetUp() override { LoadPictures(CoordinatePicture(120, 100, 10), CoordinatePicture(120, 100, 200)); }

    void LoadPictures(const CBitmap& source, const CBitmap& target)
    {
        engine.LoadImage(target, 1);
        engine.LoadImage(source, 0);
        engine.SetSteps(4);
        out.CreateBitmap(source.Width(), source.Height(), 1, source.BitsPixel());
    }

    CFeatureSet& Lines() { return *doc.GetFeatureSet(); }
    void OneLinePair() { AddPair(Lines(), 10, 10, 90, 10, 20, 30, 100, 30); }

    // Sample positions of pixel (x, y) in frame k.
    std::pair<CFeaturePoint, CFeaturePoint> Positions(int32_t k, int32_t x, int32_t y)
    {
        EXPECT_EQ(engine.InterpolateLines(k, &doc), 1);
        CFeaturePoint src = Pt(-99999, -99999), dst = Pt(-99999, -99999);
        EXPECT_EQ(engine.SamplePositions(Lines(), x, y, src, dst), 1);
        return {src, dst};
    }

    int32_t Frame(int32_t k) { return engine.Morph(out, k, &doc); }

    CTrevalinDoc doc{"/nonexistent"};
    FBMorphing engine;
    CBitmap out;
};

::testing::AssertionResult IsAt(const CFeaturePoint& p, int32_t x, int32_t y)
{
    if (p.x == x && p.y == y) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << p.x << ", " << p.y << ") instead of (" << x << ", " << y << ")";
}

#define EXPECT_POINT(p, ex, ey) EXPECT_TRUE(IsAt((p), (ex), (ey)))

TEST_F(FBMorphingTest, InterpolatesLinesWithTruncation)
{
    OneLinePair();
    const int32_t expected[5][4] = {
        {10, 10, 90, 10}, {12, 15, 92, 15}, {15, 20, 95, 20}, {17, 25, 97, 25}, {20, 30, 100, 30}};
    for (int32_t k = 0; k <= 4; ++k) {
        ASSERT_EQ(engine.InterpolateLines(k, &doc), 1);
        ASSERT_EQ(engine.m_lines.m_nCount, 1);
        const CPointSet<int>& line = engine.m_lines.Line(0);
        ASSERT_EQ(line.m_nCount, 2);
        EXPECT_POINT(line.Point(0), expected[k][0], expected[k][1]) << "k=" << k;
        EXPECT_POINT(line.Point(1), expected[k][2], expected[k][3]) << "k=" << k;
        EXPECT_EQ(line.Point(0).w, 1);
        EXPECT_EQ(line.Point(1).z, 0);
    }
}

TEST_F(FBMorphingTest, LineCoordinatesOfTheWorkedPixel)
{
    // Pixel (50, 20) against the in-between line of k = 4, (20, 30)->(100, 30).
    EXPECT_DOUBLE_EQ(FBMorphing::SignedDistance(Pt(50, 20), Pt(20, 30), Pt(100, 30)), -10.0);
    EXPECT_DOUBLE_EQ(FBMorphing::SignedDistance(Pt(50, 40), Pt(20, 30), Pt(100, 30)), 10.0);
    // u = 0.375 maps exactly onto (40, 0) of the source line.
    const CFeaturePoint s = FBMorphing::MapPoint(0.375, -10.0, Pt(10, 10), Pt(90, 10));
    EXPECT_POINT(s, 40, 0);
    EXPECT_EQ(s.z, 0);
    EXPECT_EQ(s.w, 1);
    // The along-line part is truncated on its own: 0.5 x (3, 4) -> (1, 2).
    EXPECT_POINT(FBMorphing::MapPoint(0.5, 0.0, Pt(0, 0), Pt(3, 4)), 1, 2);
    // The perpendicular part is truncated before the division by the length
    // and again after it: on (0, 0)->(1, 1), v = 1.5 gives trunc(-1.5) = -1,
    // -1 / 1.414 -> 0 and trunc(1.5) = 1, 1 / 1.414 -> 0 (without the inner
    // truncation it would be (-1, 1)).
    EXPECT_POINT(FBMorphing::MapPoint(0.0, 1.5, Pt(0, 0), Pt(1, 1)), 0, 0);
    EXPECT_POINT(FBMorphing::MapPoint(0.0, 3.0, Pt(0, 0), Pt(1, 1)), -2, 2);
}

TEST_F(FBMorphingTest, WorkedPixelsAtTheLastFrame)
{
    OneLinePair();
    const auto [src, dst] = Positions(4, 50, 20);
    EXPECT_POINT(src, 41, 1) << "truncations move the exact (40, 0) toward the pixel";
    EXPECT_POINT(dst, 50, 20);

    const auto [src0, dst0] = Positions(4, 0, 0);
    EXPECT_POINT(src0, -9, -19);
    EXPECT_POINT(dst0, 0, 0);

    ASSERT_EQ(Frame(4), 1);
    const auto shown = Decode(out, 50, 20);
    EXPECT_EQ(shown.x, 50);
    EXPECT_EQ(shown.y, 20);
    EXPECT_EQ(shown.tag, 200) << "only the target contributes at k = N";
    const uint8_t* corner = morph_test::PixelAt(out, 0, 0);
    EXPECT_EQ(corner[0] | corner[1] | corner[2] | corner[3], 0)
        << "the source position is outside: the target is not sampled either";
}

TEST_F(FBMorphingTest, WorkedPixelAtTheFirstFrame)
{
    OneLinePair();
    const auto [src, dst] = Positions(0, 50, 20);
    EXPECT_POINT(src, 50, 20);
    EXPECT_POINT(dst, 59, 39);

    ASSERT_EQ(Frame(0), 1);
    const auto shown = Decode(out, 50, 20);
    EXPECT_EQ(shown.x, 50);
    EXPECT_EQ(shown.y, 20);
    EXPECT_EQ(shown.tag, 10);
}

// Each option on the worked example: warp only samples the source alone,
// with its whole weight, even at k = N; extended edges turn the pixel whose
// source position is outside into the edge pixel's share (0 at k = N) plus
// the target; smooth easing moves the in-between line by the eased t
// (0.15625 at k = 1 of 4, so (11, 13)->(91, 13) instead of (12, 15)->(92, 15)).
TEST_F(FBMorphingTest, OptionsOnTheWorkedPixels)
{
    OneLinePair();
    struct Case {
        CMorphOptions options;
        int32_t k, x, y;        // frame and pixel
        int32_t shownX, shownY; // the picture position the pixel shows
        uint8_t tag;            // the picture it comes from
    };
    using Ease = CTimingCurve::Kind;
    using Edge = CMorphOptions::Edge;
    const Case cases[] = {
        {{true, Ease::kLinear, Ease::kLinear, Edge::kBlack}, 4, 50, 20, 41, 1, 10},
        {{false, Ease::kLinear, Ease::kLinear, Edge::kExtend}, 4, 0, 0, 0, 0, 200},
        {{false, Ease::kLinear, Ease::kLinear, Edge::kExtend}, 4, 50, 20, 50, 20, 200},
        {{true, Ease::kSmooth, Ease::kSmooth, Edge::kExtend}, 4, 0, 0, 0, 0, 10},
    };
    for (const Case& c : cases) {
        engine.SetOptions(c.options);
        ASSERT_EQ(Frame(c.k), 1);
        const auto shown = Decode(out, c.x, c.y);
        EXPECT_EQ(shown.x, c.shownX) << c.x << "," << c.y;
        EXPECT_EQ(shown.y, c.shownY) << c.x << "," << c.y;
        EXPECT_EQ(shown.tag, c.tag) << c.x << "," << c.y;
    }
    engine.SetOptions({false, Ease::kSmooth, Ease::kSmooth, Edge::kBlack});
    ASSERT_EQ(engine.InterpolateLines(1, &doc), 1);
    EXPECT_POINT(engine.m_lines.Line(0).Point(0), 11, 13);
    EXPECT_POINT(engine.m_lines.Line(0).Point(1), 91, 13);
    ASSERT_EQ(engine.InterpolateLines(2, &doc), 1);
    EXPECT_POINT(engine.m_lines.Line(0).Point(0), 15, 20) << "half way stays half way";
    // The lines follow the shape curve alone.
    engine.SetOptions({false, Ease::kLinear, Ease::kSmooth, Edge::kBlack});
    ASSERT_EQ(engine.InterpolateLines(1, &doc), 1);
    EXPECT_POINT(engine.m_lines.Line(0).Point(0), 12, 15);
}

TEST_F(FBMorphingTest, TwoLinePairs)
{
    AddPair(Lines(), 10, 10, 90, 10, 20, 30, 100, 30);
    AddPair(Lines(), 10, 60, 90, 60, 20, 80, 100, 80);
    const int32_t expected[3][4] = {{50, 40, 59, 59}, {46, 31, 54, 49}, {41, 21, 50, 40}};
    for (int32_t i = 0; i < 3; ++i) {
        const auto [src, dst] = Positions(2 * i, 50, 40);
        EXPECT_POINT(src, expected[i][0], expected[i][1]) << "k=" << 2 * i;
        EXPECT_POINT(dst, expected[i][2], expected[i][3]) << "k=" << 2 * i;
    }
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(Decode(out, 50, 40).x, 50);
    EXPECT_EQ(Decode(out, 50, 40).y, 40);
    ASSERT_EQ(Frame(4), 1);
    EXPECT_EQ(Decode(out, 50, 40).x, 50);
    EXPECT_EQ(Decode(out, 50, 40).y, 40);
    EXPECT_EQ(Decode(out, 50, 40).tag, 200);
}

TEST_F(FBMorphingTest, SameLineInBothPicturesShiftsOnlyByTruncation)
{
    AddPair(Lines(), 0, 0, 100, 0, 0, 0, 100, 0);
    ASSERT_EQ(Frame(0), 1);
    const auto shifted = Decode(out, 58, 0);
    EXPECT_EQ(shifted.x, 57);
    EXPECT_EQ(shifted.y, 0);
    int32_t moved = 0;
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const auto d = Decode(out, x, y);
            ASSERT_EQ(d.tag, 10);
            ASSERT_LE(std::abs(d.x - x), 1) << x << "," << y;
            ASSERT_LE(std::abs(d.y - y), 1) << x << "," << y;
            moved += d.x != x || d.y != y;
        }
    }
    EXPECT_GT(moved, 0);
    EXPECT_LT(moved, 120 * 100 / 10);
}

TEST_F(FBMorphingTest, NoLinesGiveBlackFrames)
{
    for (int32_t k = 0; k <= 4; ++k) {
        std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 5);
        ASSERT_EQ(Frame(k), 1);
        EXPECT_TRUE(AllZero(out)) << "k=" << k;
    }
    // Lines on one side only make no pair either.
    morph_test::AddLine(Lines().m_sets[0], 10, 10, 90, 10);
    ASSERT_EQ(Frame(2), 1);
    EXPECT_TRUE(AllZero(out));
}

TEST_F(FBMorphingTest, SurplusLinesOfTheLongerCollectionAreIgnored)
{
    CTrevalinDoc three("/nonexistent");
    for (int32_t i = 0; i < 3; ++i) {
        AddPair(Lines(), 10, 10 + 30 * i, 90, 12 + 30 * i, 20, 20 + 30 * i, 100, 18 + 30 * i);
        AddPair(*three.GetFeatureSet(), 10, 10 + 30 * i, 90, 12 + 30 * i, 20, 20 + 30 * i, 100, 18 + 30 * i);
    }
    morph_test::AddLine(Lines().m_sets[1], 5, 5, 60, 90);
    morph_test::AddLine(Lines().m_sets[1], 0, 90, 110, 0);
    ASSERT_EQ(Lines().m_sets[0].m_nCount, 3);
    ASSERT_EQ(Lines().m_sets[1].m_nCount, 5);

    ASSERT_EQ(Frame(1), 1);
    EXPECT_EQ(engine.PairsInLastFrame(), 3);
    const std::vector<uint8_t> withSurplus(out.Bits(), out.Bits() + out.SizeBytes());
    ASSERT_EQ(engine.Morph(out, 1, &three), 1);
    EXPECT_EQ(withSurplus, std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()));
    EXPECT_FALSE(AllZero(out));
}

TEST_F(FBMorphingTest, ContributionsAreTruncatedSeparately)
{
    auto white = Picture(120, 100, [](int32_t, int32_t, int32_t) -> uint8_t { return 255; });
    LoadPictures(white, white);
    AddPair(Lines(), 0, 50, 119, 50, 0, 50, 119, 50);
    ASSERT_EQ(Frame(1), 1);
    EXPECT_EQ(morph_test::PixelAt(out, 30, 40)[0], 254) << "191 + 63";
    EXPECT_EQ(morph_test::PixelAt(out, 30, 40)[3], 254);
    ASSERT_EQ(Frame(2), 1);
    EXPECT_EQ(morph_test::PixelAt(out, 30, 40)[1], 254) << "127 + 127";
    ASSERT_EQ(Frame(4), 1);
    EXPECT_EQ(morph_test::PixelAt(out, 30, 40)[2], 255);
}

TEST_F(FBMorphingTest, OnlyAProjectDocumentIsAccepted)
{
    OneLinePair();
    ASSERT_EQ(Frame(2), 1);
    ASSERT_EQ(engine.InterpolateLines(2, &doc), 1);
    std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 33);

    OtherDoc other;
    AddPair(*other.GetFeatureSet(), 0, 0, 50, 50, 0, 0, 50, 50);
    DerivedDoc derived;
    AddPair(*derived.GetFeatureSet(), 0, 0, 50, 50, 0, 0, 50, 50);
    for (CDocument* wrong :
         {static_cast<CDocument*>(&other), static_cast<CDocument*>(&derived), static_cast<CDocument*>(nullptr)}) {
        EXPECT_EQ(engine.Morph(out, 3, wrong), 0);
        EXPECT_EQ(engine.InterpolateLines(3, wrong), 0);
        // Lines of the last accepted question (k = 2) are kept.
        EXPECT_POINT(engine.m_lines.Line(0).Point(0), 15, 20);
        EXPECT_EQ(engine.m_lines.m_nCount, 1);
    }
    EXPECT_EQ(out.Bits()[0], 33);
    EXPECT_EQ(out.Bits()[out.SizeBytes() - 1], 33);
}

TEST_F(FBMorphingTest, PaddingPixelOfAnEightBitRowIsComputed)
{
    // 9 pixels of one byte make rows of 10 bytes: position 9 is padding and
    // is computed and sampled like any other pixel.
    auto a = Picture(
        9, 4, [](int32_t x, int32_t y, int32_t) { return static_cast<uint8_t>(1 + x + 10 * y); }, 8);
    auto b = Picture(
        9, 4, [](int32_t x, int32_t y, int32_t) { return static_cast<uint8_t>(101 + x + 10 * y); }, 8);
    ASSERT_EQ(a.WidthBytes(), 10);
    LoadPictures(a, b);
    AddPair(Lines(), 0, 0, 0, 100, 0, 0, 0, 100);
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(out.Bits()[9], 10) << "the source's padding byte, sampled at (9, 0)";
    EXPECT_EQ(out.Bits()[8], 9);
    ASSERT_EQ(Frame(4), 1);
    EXPECT_EQ(out.Bits()[10 + 8], 119);
}

// Pairs that cannot define a field (a line of one point, or two coincident
// first points on any side, also in between) take no part.
TEST_F(FBMorphingTest, DegeneratePairsTakeNoPart)
{
    CTrevalinDoc good("/nonexistent");
    AddPair(*good.GetFeatureSet(), 10, 10, 90, 10, 20, 30, 100, 30);
    ASSERT_EQ(engine.Morph(out, 2, &good), 1);
    const std::vector<uint8_t> reference(out.Bits(), out.Bits() + out.SizeBytes());

    CPointSets<int>& src = Lines().m_sets[0];
    CPointSets<int>& dst = Lines().m_sets[1];
    AddPair(Lines(), 40, 40, 40, 40, 10, 80, 90, 70); // zero-length source
    AddPair(Lines(), 10, 80, 90, 70, 60, 60, 60, 60); // zero-length target
    src.Line(src.Add()).AddPoint(30, 30, 0, 1);       // one-point source
    morph_test::AddLine(dst, 30, 30, 70, 90);
    morph_test::AddLine(src, 5, 90, 70, 10); // one-point target
    dst.Line(dst.Add()).AddPoint(30, 30, 0, 1);
    AddPair(Lines(), 40, 20, 80, 20, 80, 20, 40, 20); // reversed: collapses at t = 0.5
    ASSERT_EQ(Frame(2), 1);
    EXPECT_TRUE(AllZero(out)) << "no pair left";
    ASSERT_EQ(engine.InterpolateLines(2, &doc), 1);
    ASSERT_EQ(engine.m_lines.m_nCount, 5);
    EXPECT_EQ(engine.m_lines.Line(2).m_nCount, 1);
    EXPECT_POINT(engine.m_lines.Line(4).Point(0), 60, 20);
    EXPECT_POINT(engine.m_lines.Line(4).Point(1), 60, 20);

    AddPair(Lines(), 10, 10, 90, 10, 20, 30, 100, 30);
    ASSERT_EQ(Frame(2), 1);
    EXPECT_EQ(reference, std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()));
    // At k = 1 the reversed pair is a proper line again and takes part.
    ASSERT_EQ(Frame(1), 1);
    const std::vector<uint8_t> withReversed(out.Bits(), out.Bits() + out.SizeBytes());
    ASSERT_EQ(engine.Morph(out, 1, &good), 1);
    EXPECT_NE(withReversed, std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()));
}

// A long line weighs a pixel on it with len^2: 4000^2 x a displacement of
// 200 is beyond 32 bits, but the average still comes out as 200.
TEST_F(FBMorphingTest, WeightedDisplacementsBeyond32Bits)
{
    AddPair(Lines(), -2000, 5, 2000, 5, -2000, 205, 2000, 205);
    const auto [src, dst] = Positions(0, 0, 5);
    EXPECT_POINT(src, 0, 5);
    EXPECT_POINT(dst, 0, 205);
    // Two such pairs pushing in opposite directions cancel.
    AddPair(Lines(), -2000, 5, 2000, 5, -2000, -195, 2000, -195);
    const auto [src2, dst2] = Positions(0, 0, 5);
    EXPECT_POINT(src2, 0, 5);
    EXPECT_POINT(dst2, 0, 5);
}

// Coordinates near the ends of the 32-bit range (only a project file can
// hold them) give defined results: out-of-range steps saturate, and a
// sample that lands outside the picture is not taken.
TEST_F(FBMorphingTest, ExtremeCoordinatesStayDefined)
{
    const int32_t big = 2000000000;
    AddPair(Lines(), big, big, big + 100, big, big, big, big + 100, big);
    ASSERT_EQ(Frame(0), 1);
    // The pair is the identity far away: its weight is negligible and every
    // pixel samples itself.
    for (int32_t y = 0; y < 100; y += 7) {
        for (int32_t x = 0; x < 120; x += 5) {
            const auto d = Decode(out, x, y);
            ASSERT_EQ(d.x, x);
            ASSERT_EQ(d.y, y);
        }
    }

    // A short in-between line mapped onto a source line 2^31 long: the
    // source position runs far outside, the pixel stays black, and the
    // target (the in-between line itself at k = N) is the identity.
    Lines().m_sets[0].RemoveAll();
    Lines().m_sets[1].RemoveAll();
    AddPair(Lines(), 0, 0, INT32_MAX, 0, 0, 0, 1, 0);
    const auto [src, dst] = Positions(4, 50, 50);
    EXPECT_GT(src.x, 1000000000);
    EXPECT_POINT(dst, 50, 50);
    ASSERT_EQ(Frame(4), 1);
    const uint8_t* p = morph_test::PixelAt(out, 50, 50);
    EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0);

    // Lines spanning the whole range, every frame: whatever is shown is a
    // real pixel of a picture.
    Lines().m_sets[0].RemoveAll();
    Lines().m_sets[1].RemoveAll();
    AddPair(Lines(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX);
    AddPair(Lines(), 0, 0, 1, 0, INT32_MAX, 0, INT32_MIN, 0);
    AddPair(Lines(), INT32_MIN, 7, INT32_MIN + 1, 7, 60, INT32_MAX, 60, INT32_MAX - 3);
    for (int32_t k : {0, 4}) {
        ASSERT_EQ(Frame(k), 1);
        for (int32_t y = 0; y < 100; ++y) {
            for (int32_t x = 0; x < 120; ++x) {
                const auto d = Decode(out, x, y);
                if (d.tag == 0) {
                    ASSERT_EQ(d.x | d.y, 0);
                    continue;
                }
                ASSERT_EQ(d.tag, k == 0 ? 10 : 200);
                ASSERT_TRUE(d.x >= 0 && d.x < 120 && d.y >= 0 && d.y < 100) << d.x << "," << d.y;
            }
        }
    }
}

} // namespace
