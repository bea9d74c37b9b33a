// The shipped engines against the straightforward ones they replace: random
// pictures, sizes, depths and line sets, every thread count and every
// instruction-set path this processor has, byte for byte.
#include "MorphTestSupport.h"
#include "OracleFBMorphing.h"
#include "OracleLinearMorphing.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CLinePairs.h"
#include "morph/CRowPool.h"
#include "morph/FBMorphing.h"
#include "morph/LinearMorphing.h"
#include "morph/kernels/MorphKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <vector>

namespace {

#ifdef TREVALIN_MORPH_TESTS_LIGHT
constexpr int32_t kFeatureCases = 60;
constexpr int32_t kMaxSide = 28;
#else
constexpr int32_t kFeatureCases = 160;
constexpr int32_t kMaxSide = 72;
#endif

using Rng = std::mt19937;

int32_t Uniform(Rng& rng, int64_t lo, int64_t hi)
{
    return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(lo, hi)(rng));
}

std::vector<MorphKernelPath> Paths()
{
    std::vector<MorphKernelPath> paths{MorphKernelPath::kBaseline};
    if (CpuHasAvx2()) paths.push_back(MorphKernelPath::kAvx2);
    if (CpuHasAvx512()) paths.push_back(MorphKernelPath::kAvx512);
    return paths;
}

const char* Name(MorphKernelPath path)
{
    switch (path) {
    case MorphKernelPath::kAvx512:
        return "avx512";
    case MorphKernelPath::kAvx2:
        return "avx2";
    default:
        return "baseline";
    }
}

std::vector<uint8_t> Bytes(const CBitmap& b)
{
    return std::vector<uint8_t>(b.Bits(), b.Bits() + b.SizeBytes());
}

CBitmap RandomPicture(Rng& rng, int32_t width, int32_t height, uint16_t bpp)
{
    CBitmap b;
    b.CreateBitmap(width, height, 1, bpp);
    // Mostly smooth with some noise, so neighbouring samples differ a little
    // and a one-pixel shift shows.
    const int32_t base = Uniform(rng, 0, 255);
    for (size_t i = 0; i < b.SizeBytes(); ++i) {
        b.Bits()[i] = static_cast<uint8_t>(base + static_cast<int32_t>(i) * 7 + Uniform(rng, 0, 40));
    }
    return b;
}

struct Pictures {
    int32_t width;
    int32_t height;
};

// Appends one line pair of a random kind (or a pair with a one-point line);
// `kinds` 89 keeps to the kinds the row kernels take.
void AddRandomPair(Rng& rng, CFeatureSet& set, const Pictures& pic, int32_t kinds = 100)
{
    CPointSets<int>& src = set.m_sets[0];
    CPointSets<int>& dst = set.m_sets[1];
    const int32_t w = pic.width, h = pic.height;
    auto inside = [&](int32_t v[4]) {
        v[0] = Uniform(rng, 0, w - 1);
        v[1] = Uniform(rng, 0, h - 1);
        v[2] = Uniform(rng, 0, w - 1);
        v[3] = Uniform(rng, 0, h - 1);
    };
    int32_t a[4], b[4];
    const int32_t kind = Uniform(rng, 0, kinds - 1);
    if (kind < 30) { // inside both pictures
        inside(a);
        inside(b);
    } else if (kind < 45) { // partly outside
        for (int32_t i = 0; i < 4; ++i) {
            a[i] = Uniform(rng, -(i % 2 ? h : w), 2 * (i % 2 ? h : w));
            b[i] = Uniform(rng, -(i % 2 ? h : w), 2 * (i % 2 ? h : w));
        }
    } else if (kind < 52) { // wholly outside, on one side
        const int32_t off = Uniform(rng, w + 1, 6 * w + 50) * (Uniform(rng, 0, 1) ? 1 : -1);
        inside(a);
        inside(b);
        a[0] += off, a[2] += off, b[0] += off, b[2] += off;
    } else if (kind < 60 && src.m_nCount > 0) { // nearly parallel to the last pair
        const int32_t last = src.m_nCount - 1;
        const CPointSet<int>& ls = src.Line(last);
        const CPointSet<int>& ld = dst.Line(last);
        if (ls.m_nCount < 2 || ld.m_nCount < 2) {
            inside(a);
            inside(b);
        } else {
            const int32_t dx = Uniform(rng, -1, 1), dy = Uniform(rng, -1, 1);
            a[0] = ls.Point(0).x + dx, a[1] = ls.Point(0).y + dy, a[2] = ls.Point(1).x + dx,
            a[3] = ls.Point(1).y + dy + Uniform(rng, 0, 1);
            b[0] = ld.Point(0).x, b[1] = ld.Point(0).y + 1, b[2] = ld.Point(1).x, b[3] = ld.Point(1).y + 1;
        }
    } else if (kind < 68) { // very short
        inside(a);
        inside(b);
        a[2] = a[0] + Uniform(rng, -2, 2), a[3] = a[1] + Uniform(rng, -1, 1);
        b[2] = b[0] + Uniform(rng, -1, 1), b[3] = b[1] + Uniform(rng, -2, 2);
    } else if (kind < 72) { // zero length in one picture
        inside(a);
        inside(b);
        if (Uniform(rng, 0, 1)) {
            a[2] = a[0], a[3] = a[1];
        } else {
            b[2] = b[0], b[3] = b[1];
        }
    } else if (kind < 76) { // reversed: the in-between line collapses half way
        inside(a);
        b[0] = a[2], b[1] = a[3], b[2] = a[0], b[3] = a[1];
    } else if (kind < 79) { // a line of one point
        inside(a);
        inside(b);
        const bool sourceShort = Uniform(rng, 0, 1) != 0;
        CPointSet<int>& s = src.Line(src.Add());
        s.AddPoint(a[0], a[1], 0, 1);
        if (!sourceShort) s.AddPoint(a[2], a[3], 0, 1);
        CPointSet<int>& d = dst.Line(dst.Add());
        d.AddPoint(b[0], b[1], 0, 1);
        if (sourceShort) d.AddPoint(b[2], b[3], 0, 1);
        return;
    } else if (kind < 84) { // the same line in both pictures
        inside(a);
        for (int32_t i = 0; i < 4; ++i)
            b[i] = a[i];
    } else if (kind < 89) { // long lines, far beyond the picture
        for (int32_t i = 0; i < 4; ++i) {
            a[i] = Uniform(rng, -5000, 5000);
            b[i] = a[i] + Uniform(rng, -3000, 3000);
        }
    } else if (kind < 90) { // longer still: perpendicular offsets beyond 32 bits
        for (int32_t i = 0; i < 4; ++i) {
            a[i] = Uniform(rng, -40000, 40000);
            b[i] = a[i] + Uniform(rng, -3000, 3000);
        }
    } else if (kind < 98) { // a line of three points
        inside(a);
        inside(b);
        morph_test::AddPair(set, a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3]);
        src.Line(src.m_nCount - 1).AddPoint(Uniform(rng, 0, w), 3, 0, 1);
        dst.Line(dst.m_nCount - 1).AddPoint(-4, Uniform(rng, 0, h), 0, 1);
        return;
    } else { // coordinates up to the ends of the 32-bit range
        const int64_t lo = Uniform(rng, 0, 1) ? INT32_MIN : -2000000;
        const int64_t hi = Uniform(rng, 0, 1) ? INT32_MAX : 2000000;
        for (int32_t i = 0; i < 4; ++i) {
            a[i] = Uniform(rng, lo, hi);
            b[i] = Uniform(rng, 0, 1) ? Uniform(rng, lo, hi) : a[i];
        }
        if (Uniform(rng, 0, 1)) {
            a[2] = a[0] + 1; // short in-between lines against huge ones
        }
    }
    morph_test::AddPair(set, a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3]);
}

TEST(EngineMatchesOracle, FeatureMorph)
{
    Rng rng(20240611);
    const std::vector<MorphKernelPath> paths = Paths();
    CRowPool pools[] = {CRowPool(1), CRowPool(2), CRowPool(3), CRowPool(5)};
    const uint16_t depths[] = {8, 16, 24, 32, 32};
    int32_t kernelFrames = 0, positionFrames = 0, blockFrames = 0;
    for (int32_t c = 0; c < kFeatureCases; ++c) {
        const Pictures pic{Uniform(rng, 1, kMaxSide), Uniform(rng, 1, kMaxSide * 2 / 3)};
        const uint16_t bpp = depths[Uniform(rng, 0, 4)];
        const CBitmap a = RandomPicture(rng, pic.width, pic.height, bpp);
        const CBitmap b = RandomPicture(rng, pic.width, pic.height, bpp);
        CTrevalinDoc doc("/nonexistent");
        // Every tenth case has more pairs than the kernels hold at a time,
        // of the kinds they take: they go through them in blocks.
        const bool blocks = c % 10 == 9;
        const int32_t pairs = blocks                    ? Uniform(rng, kLineBlock + 1, 3 * kLineBlock)
                              : Uniform(rng, 0, 9) == 0 ? Uniform(rng, 20, 40)
                                                        : Uniform(rng, 0, 8);
        for (int32_t i = 0; i < pairs; ++i) {
            AddRandomPair(rng, *doc.GetFeatureSet(), pic, blocks ? 89 : 100);
        }
        // Sometimes a surplus line on one side.
        if (Uniform(rng, 0, 4) == 0) {
            morph_test::AddLine(doc.GetFeatureSet()->m_sets[Uniform(rng, 0, 1)], 0, 0, pic.width, pic.height);
        }
        const int32_t n = Uniform(rng, 1, 12);

        OracleFBMorphing oracle;
        oracle.LoadImage(b, 1);
        oracle.LoadImage(a, 0);
        oracle.SetSteps(n);
        std::vector<std::unique_ptr<FBMorphing>> engines;
        for (MorphKernelPath path : paths) {
            for (CRowPool& pool : pools) {
                engines.push_back(std::make_unique<FBMorphing>());
                engines.back()->SetKernelPath(path);
                engines.back()->SetRowPool(&pool);
                engines.back()->LoadImage(b, 1);
                engines.back()->LoadImage(a, 0);
                engines.back()->SetSteps(n);
            }
        }
        const CLinePairs taken(*doc.GetFeatureSet());
        for (int32_t k : {0, n, Uniform(rng, 0, n), Uniform(rng, 0, n)}) {
            CBitmap expected;
            expected.CreateBitmap(pic.width, pic.height, 1, bpp);
            ASSERT_EQ(oracle.Morph(expected, k, &doc), 1);
            for (size_t e = 0; e < engines.size(); ++e) {
                FBMorphing& engine = *engines[e];
                CBitmap out;
                out.CreateBitmap(pic.width, pic.height, 1, bpp);
                std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 0xA5);
                // Half the engines morph from line pairs taken once, as the
                // preview does.
                ASSERT_EQ(e % 2 == 0 ? engine.Morph(out, k, &doc) : engine.MorphPairs(out, k, taken), 1);
                ASSERT_EQ(Bytes(out), Bytes(expected))
                    << "case " << c << ", " << pic.width << "x" << pic.height << "@" << bpp << ", " << pairs
                    << " pairs, k=" << k << " of " << n << ", " << Name(engine.GetKernelPath()) << ", "
                    << pools[e % 4].GetThreadCount() << " threads";
                ASSERT_EQ(engine.PairsInLastFrame(), oracle.m_lines.m_nCount);
                (engine.UsedRowKernels() ? kernelFrames : positionFrames) += e == 0;
                blockFrames += e == 0 && blocks && engine.UsedRowKernels();
            }
        }
    }
    // Both ways of computing a frame were exercised, mostly the kernels,
    // and frames of many pairs through the kernels' blocks.
    EXPECT_GT(kernelFrames, positionFrames * 2);
    EXPECT_GT(positionFrames, 0);
    EXPECT_GT(blockFrames, kFeatureCases / 10);
}

// A frame of more pairs than an engine keeps a table of: the kernels make
// their constants a block at a time, and the frames stay the reference's.
TEST(EngineMatchesOracle, FeatureMorphOfVeryManyPairs)
{
    Rng rng(20261209);
    const Pictures pic{9, 5};
    const CBitmap a = RandomPicture(rng, pic.width, pic.height, 32);
    const CBitmap b = RandomPicture(rng, pic.width, pic.height, 32);
    CTrevalinDoc doc("/nonexistent");
    for (int32_t i = 0; i < 6000; ++i)
        AddRandomPair(rng, *doc.GetFeatureSet(), pic, 89);
    OracleFBMorphing oracle;
    oracle.LoadImage(b, 1);
    oracle.LoadImage(a, 0);
    oracle.SetSteps(4);
    CRowPool pool(2);
    for (MorphKernelPath path : Paths()) {
        FBMorphing engine;
        engine.SetKernelPath(path);
        engine.SetRowPool(&pool);
        engine.LoadImage(b, 1);
        engine.LoadImage(a, 0);
        engine.SetSteps(4);
        for (int32_t k : {1, 3}) {
            CBitmap expected, out;
            expected.CreateBitmap(pic.width, pic.height, 1, 32);
            out.CreateBitmap(pic.width, pic.height, 1, 32);
            ASSERT_EQ(oracle.Morph(expected, k, &doc), 1);
            ASSERT_EQ(engine.Morph(out, k, &doc), 1);
            EXPECT_TRUE(engine.UsedRowKernels());
            EXPECT_EQ(Bytes(out), Bytes(expected)) << Name(engine.GetKernelPath()) << ", k=" << k;
        }
    }
}

// The options' own reference: the reference engine's sample positions
// from in-between lines at the (eased) fraction, then each picture sampled
// pixel by pixel with the options' weights and edges.
CBitmap OptionsReference(const CBitmap& a, const CBitmap& b, CTrevalinDoc& doc, int32_t n, int32_t k,
                         const CMorphOptions& o)
{
    OracleFBMorphing oracle;
    oracle.LoadImage(a, 0);
    oracle.LoadImage(b, 1);
    const double s = static_cast<double>(k) / n;
    const double t = o.shape.Apply(s);
    const double mix = std::clamp(o.colour.Apply(s), 0.0, 1.0);
    const CFeatureSet& lines = *doc.GetFeatureSet();
    for (int32_t i = 0; i < lines.m_sets[0].m_nCount && i < lines.m_sets[1].m_nCount; ++i) {
        const CPointSet<int>& from = lines.m_sets[0].Line(i);
        const CPointSet<int>& to = lines.m_sets[1].Line(i);
        CPointSet<int>& mid = oracle.m_lines.Line(oracle.m_lines.Add());
        for (int32_t j = 0; j < from.m_nCount && j < to.m_nCount; ++j) {
            const CFeaturePoint p = from.Point(j).Interpolate(t, to.Point(j));
            mid.AddPoint(p.x, p.y, 0, 1);
        }
    }
    float weights[2] = {static_cast<float>(1.0 - mix), static_cast<float>(mix)};
    if (o.colour.IsLinear()) {
        weights[0] = (static_cast<float>(n) - static_cast<float>(k)) / static_cast<float>(n);
        weights[1] = static_cast<float>(k) / static_cast<float>(n);
    }
    if (o.warpOnly) {
        weights[0] = 1.0f;
        weights[1] = 0.0f;
    }
    const int32_t bpp = a.BitsPixel() / 8;
    const int32_t columns = a.WidthBytes() / bpp;
    const uint8_t* pictures[2] = {a.Bits(), b.Bits()};
    CBitmap frame;
    frame.CreateBitmap(a.Width(), a.Height(), 1, a.BitsPixel());
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < columns; ++x) {
            CFeaturePoint at[2];
            if (oracle.SamplePositions(lines, x, y, at[0], at[1]) == 0) continue;
            uint8_t* px = frame.Bits() + static_cast<size_t>(y) * a.WidthBytes() + static_cast<size_t>(x) * bpp;
            for (int image = 0; image < 2; ++image) {
                int32_t sx = at[image].x, sy = at[image].y;
                if (o.edge == CMorphOptions::Edge::kExtend) {
                    sx = std::clamp(sx, 0, a.Width() - 1);
                    sy = std::clamp(sy, 0, a.Height() - 1);
                }
                if (sx < 0 || sx >= columns || sy < 0 || sy >= a.Height()) break;
                const uint8_t* sample =
                    pictures[image] + static_cast<size_t>(sy) * a.WidthBytes() + static_cast<size_t>(sx) * bpp;
                for (int32_t c = 0; c < bpp; ++c) {
                    px[c] = static_cast<uint8_t>(px[c] + static_cast<int32_t>(sample[c] * double{weights[image]}));
                }
            }
        }
    }
    return frame;
}

// Every combination of the options against their reference, on random
// pictures and lines, every path and a few thread counts.
TEST(EngineMatchesOracle, FeatureMorphOptions)
{
    using Ease = CTimingCurve::Kind;
    using Edge = CMorphOptions::Edge;
    const CTimingCurve over = CTimingCurve::Bezier(0.3, -0.4, 0.7, 1.4);
    const CMorphOptions table[] = {
        {true, Ease::kLinear, Ease::kLinear, Edge::kBlack},   {false, Ease::kSmooth, Ease::kSmooth, Edge::kBlack},
        {false, Ease::kLinear, Ease::kLinear, Edge::kExtend}, {true, Ease::kSmooth, Ease::kSmooth, Edge::kExtend},
        {false, Ease::kSmooth, Ease::kSmooth, Edge::kExtend}, {false, Ease::kLinear, Ease::kLinear, Edge::kBlack},
        {false, Ease::kEaseIn, Ease::kLinear, Edge::kBlack},  {false, over, Ease::kEaseOut, Edge::kExtend}};
    Rng rng(1303);
    CRowPool pools[] = {CRowPool(1), CRowPool(3)};
    const uint16_t depths[] = {8, 24, 32, 32};
    for (int32_t c = 0; c < kFeatureCases / 4; ++c) {
        const Pictures pic{Uniform(rng, 1, kMaxSide), Uniform(rng, 1, kMaxSide * 2 / 3)};
        const uint16_t bpp = depths[Uniform(rng, 0, 3)];
        const CBitmap a = RandomPicture(rng, pic.width, pic.height, bpp);
        const CBitmap b = RandomPicture(rng, pic.width, pic.height, bpp);
        CTrevalinDoc doc("/nonexistent");
        for (int32_t i = Uniform(rng, 1, 6); i > 0; --i)
            AddRandomPair(rng, *doc.GetFeatureSet(), pic);
        const int32_t n = Uniform(rng, 1, 12);
        for (const CMorphOptions& options : table) {
            for (int32_t k : {0, n, Uniform(rng, 0, n)}) {
                const CBitmap expected = OptionsReference(a, b, doc, n, k, options);
                for (MorphKernelPath path : Paths()) {
                    for (CRowPool& pool : pools) {
                        FBMorphing engine;
                        engine.SetKernelPath(path);
                        engine.SetRowPool(&pool);
                        engine.SetOptions(options);
                        engine.LoadImage(b, 1);
                        engine.LoadImage(a, 0);
                        engine.SetSteps(n);
                        CBitmap out;
                        out.CreateBitmap(pic.width, pic.height, 1, bpp);
                        ASSERT_EQ(engine.Morph(out, k, &doc), 1);
                        ASSERT_EQ(Bytes(out), Bytes(expected))
                            << "case " << c << ", " << pic.width << "x" << pic.height << "@" << bpp << ", k=" << k
                            << " of " << n << ", warp only " << options.warpOnly << ", " << options.shape.Name() << "/"
                            << options.colour.Name() << ", " << CMorphOptions::EdgeName(options.edge) << ", "
                            << Name(path) << ", " << pool.GetThreadCount() << " threads";
                    }
                }
            }
        }
    }
}

// Frames go straight into the output bitmap when it is large enough; the
// bytes a bitmap of another size ends up with are those SetBitmapBits gives.
TEST(EngineMatchesOracle, OutputBitmapsOfAnotherSize)
{
    Rng rng(7);
    const CBitmap a = RandomPicture(rng, 30, 20, 32);
    const CBitmap b = RandomPicture(rng, 30, 20, 32);
    CTrevalinDoc doc("/nonexistent");
    morph_test::AddPair(*doc.GetFeatureSet(), 3, 4, 25, 6, 5, 2, 28, 12);
    morph_test::AddPair(*doc.GetFeatureSet(), 10, 18, 12, 1, 8, 19, 14, 3);
    OracleFBMorphing oracleFB;
    FBMorphing fb;
    OracleLinearMorphing oracleLinear;
    LinearMorphing linear;
    ImageMorphing* engines[] = {&oracleFB, &fb, &oracleLinear, &linear};
    for (ImageMorphing* e : engines) {
        e->LoadImage(a, 0);
        e->LoadImage(b, 1);
        e->SetSteps(5);
    }
    for (int32_t size : {10, 40}) {
        for (int32_t pair = 0; pair < 2; ++pair) {
            CBitmap expected, out;
            expected.CreateBitmap(size, size, 1, 32);
            out.CreateBitmap(size, size, 1, 32);
            std::fill(expected.Bits(), expected.Bits() + expected.SizeBytes(), 0x5A);
            std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 0x5A);
            engines[2 * pair]->Morph(expected, 2, &doc);
            engines[2 * pair + 1]->Morph(out, 2, &doc);
            EXPECT_EQ(Bytes(out), Bytes(expected)) << "size " << size << (pair ? " dissolve" : " feature");
        }
    }
}

TEST(EngineMatchesOracle, Dissolve)
{
    Rng rng(99);
    const std::vector<MorphKernelPath> paths = Paths();
    CRowPool pools[] = {CRowPool(1), CRowPool(2), CRowPool(3)};
    const uint16_t depths[] = {8, 16, 24, 32};
    for (int32_t c = 0; c < 60; ++c) {
        // Up to a few slices of work, with odd tails.
        const int32_t width = c < 5 ? c + 1 : Uniform(rng, 1, 400);
        const int32_t height = Uniform(rng, 1, c % 10 == 0 ? 200 : 30);
        const uint16_t bpp = depths[Uniform(rng, 0, 3)];
        const CBitmap a = RandomPicture(rng, width, height, bpp);
        const CBitmap b = RandomPicture(rng, width, height, bpp);
        const int32_t n = Uniform(rng, 1, 120);
        OracleLinearMorphing oracle;
        oracle.LoadImage(a, 0);
        oracle.LoadImage(b, 1);
        oracle.SetSteps(n);
        for (int32_t k : {0, n, Uniform(rng, 0, n), Uniform(rng, 0, n)}) {
            CBitmap expected;
            expected.CreateBitmap(width, height, 1, bpp);
            oracle.Morph(expected, k, nullptr);
            for (MorphKernelPath path : paths) {
                for (CRowPool& pool : pools) {
                    LinearMorphing engine;
                    engine.SetKernelPath(path);
                    engine.SetRowPool(&pool);
                    engine.LoadImage(a, 0);
                    engine.LoadImage(b, 1);
                    engine.SetSteps(n);
                    CBitmap out;
                    out.CreateBitmap(width, height, 1, bpp);
                    EXPECT_EQ(engine.Morph(out, k, nullptr), 0);
                    ASSERT_EQ(Bytes(out), Bytes(expected))
                        << width << "x" << height << "@" << bpp << " k=" << k << " of " << n << ", " << Name(path)
                        << ", " << pool.GetThreadCount() << " threads";
                }
            }
        }
    }
}

// Every byte pair at frames where the double rounding of the weights
// decides (whole-number results), on every path: every frame of short runs,
// frames of runs up to the largest of the vector kernels' whole-number form
// and one beyond it. A picture dissolved into itself has every byte's
// result decided by the rounding.
TEST(EngineMatchesOracle, DissolveAllBytePairs)
{
    const CBitmap a = morph_test::Picture(
        256, 64, [](int32_t x, int32_t, int32_t c) { return static_cast<uint8_t>((x * 4 + c) & 0xff); });
    const CBitmap b = morph_test::Picture(
        256, 64, [](int32_t x, int32_t y, int32_t c) { return static_cast<uint8_t>(y * 4 + c + ((x * 4 + c) >> 8)); });
    for (const CBitmap* target : {&b, &a}) {
        for (int32_t n : {2, 3, 7, 9, 10, 12, 30, 99, 100, 126, 127, 128}) {
            OracleLinearMorphing oracle;
            oracle.LoadImage(a, 0);
            oracle.LoadImage(*target, 1);
            oracle.SetSteps(n);
            for (int32_t k = 0; k <= n; k += (n <= 12 || k < 2 || k > n - 3) ? 1 : 9) {
                CBitmap expected;
                expected.CreateCompatibleBitmap(256, 64);
                oracle.Morph(expected, k, nullptr);
                for (MorphKernelPath path : Paths()) {
                    LinearMorphing engine;
                    engine.SetKernelPath(path);
                    engine.LoadImage(a, 0);
                    engine.LoadImage(*target, 1);
                    engine.SetSteps(n);
                    CBitmap out;
                    out.CreateCompatibleBitmap(256, 64);
                    engine.Morph(out, k, nullptr);
                    ASSERT_EQ(Bytes(out), Bytes(expected))
                        << "k=" << k << " of " << n << ", " << Name(path) << (target == &a ? ", into itself" : "");
                }
            }
        }
    }
}

// Smooth easing sets the dissolve's weights (1 - t, t) from the eased t;
// warp only and edges leave the dissolve as it is.
TEST(EngineMatchesOracle, DissolveOptions)
{
    Rng rng(1304);
    const CBitmap a = RandomPicture(rng, 97, 31, 24);
    const CBitmap b = RandomPicture(rng, 97, 31, 24);
    // 8 steps: every linear frame has weights of few bits (whole numbers for
    // the vector kernels), the eased ones do not.
    for (int32_t n : {7, 8})
        for (int32_t k = 0; k <= n; ++k) {
            const double s = static_cast<double>(k) / n;
            const double t = s * s * (3.0 - 2.0 * s);
            CBitmap expected;
            expected.CreateBitmap(97, 31, 1, 24);
            for (size_t i = 0; i < a.SizeBytes(); ++i) {
                expected.Bits()[i] =
                    static_cast<uint8_t>(static_cast<int32_t>(a.Bits()[i] * (1.0 - t) + b.Bits()[i] * t));
            }
            OracleLinearMorphing oracle;
            oracle.LoadImage(a, 0);
            oracle.LoadImage(b, 1);
            oracle.SetSteps(n);
            CBitmap plain;
            plain.CreateBitmap(97, 31, 1, 24);
            oracle.Morph(plain, k, nullptr);
            const std::pair<CMorphOptions, const CBitmap*> table[] = {
                {{false, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth, CMorphOptions::Edge::kBlack},
                 &expected},
                {{true, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth, CMorphOptions::Edge::kExtend},
                 &expected},
                {{true, CTimingCurve::Kind::kLinear, CTimingCurve::Kind::kLinear, CMorphOptions::Edge::kExtend},
                 &plain},
            };
            for (const auto& [options, want] : table) {
                for (MorphKernelPath path : Paths()) {
                    LinearMorphing engine;
                    engine.SetKernelPath(path);
                    engine.SetOptions(options);
                    engine.LoadImage(a, 0);
                    engine.LoadImage(b, 1);
                    engine.SetSteps(n);
                    CBitmap out;
                    out.CreateBitmap(97, 31, 1, 24);
                    engine.Morph(out, k, nullptr);
                    ASSERT_EQ(Bytes(out), Bytes(*want)) << "k=" << k << ", " << Name(path) << ", "
                                                        << options.shape.Name() << "/" << options.colour.Name();
                }
            }
        }
}

TEST(EngineMatchesOracle, KernelPathsFallBackToWhatTheProcessorHas)
{
    EXPECT_EQ(ResolveKernelPath(MorphKernelPath::kBaseline), MorphKernelPath::kBaseline);
    const MorphKernelPath best = ResolveKernelPath(MorphKernelPath::kAuto);
    EXPECT_EQ(best, CpuHasAvx512() ? MorphKernelPath::kAvx512
                                   : (CpuHasAvx2() ? MorphKernelPath::kAvx2 : MorphKernelPath::kBaseline));
    EXPECT_EQ(ResolveKernelPath(MorphKernelPath::kAvx2),
              CpuHasAvx2() ? MorphKernelPath::kAvx2 : MorphKernelPath::kBaseline);
    FBMorphing engine;
    engine.SetKernelPath(MorphKernelPath::kAvx512);
    EXPECT_EQ(engine.GetKernelPath(), ResolveKernelPath(MorphKernelPath::kAvx512));
}

} // namespace
