// Smooth frames of the feature morph against their double-precision
// reference (OracleSmoothMorphing): random pictures and lines, every path
// this processor has, one and three threads; the frames at the ends; and
// how much nearer to the picture's true edges they come than classic
// frames.
#include "MorphTestSupport.h"
#include "OracleSmoothMorphing.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CLinePairs.h"
#include "morph/CRowPool.h"
#include "morph/FBMorphing.h"
#include "morph/kernels/SmoothKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

#ifdef TREVALIN_MORPH_TESTS_LIGHT
constexpr int32_t kCases = 16;
#else
constexpr int32_t kCases = 48;
#endif

using Rng = std::mt19937;
using Ease = CTimingCurve::Kind;
using Edge = CMorphOptions::Edge;
using Quality = CMorphOptions::Quality;

int32_t Uniform(Rng& rng, int32_t lo, int32_t hi)
{
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
}

std::vector<MorphKernelPath> Paths()
{
    std::vector<MorphKernelPath> paths{MorphKernelPath::kBaseline};
    if (CpuHasAvx2()) paths.push_back(MorphKernelPath::kAvx2);
    if (CpuHasAvx512()) paths.push_back(MorphKernelPath::kAvx512);
    return paths;
}

CBitmap RandomPicture(Rng& rng, int32_t width, int32_t height, uint16_t bits)
{
    CBitmap b;
    b.CreateBitmap(width, height, 1, bits);
    const int32_t base = Uniform(rng, 0, 255);
    for (size_t i = 0; i < b.SizeBytes(); ++i) {
        b.Bits()[i] = static_cast<uint8_t>(base + static_cast<int32_t>(i) * 7 + Uniform(rng, 0, 40));
    }
    return b;
}

// One line pair of a random kind, of two or (rarely) one or three points.
void AddRandomPair(Rng& rng, CFeatureSet& set, int32_t w, int32_t h)
{
    int32_t a[4] = {Uniform(rng, 0, w - 1), Uniform(rng, 0, h - 1), Uniform(rng, 0, w - 1), Uniform(rng, 0, h - 1)};
    int32_t b[4] = {Uniform(rng, 0, w - 1), Uniform(rng, 0, h - 1), Uniform(rng, 0, w - 1), Uniform(rng, 0, h - 1)};
    const int32_t kind = Uniform(rng, 0, 9);
    if (kind == 1) { // partly outside
        for (int32_t i = 0; i < 4; ++i) {
            const int32_t side = i % 2 ? h : w;
            a[i] = Uniform(rng, -side, 2 * side);
            b[i] = Uniform(rng, -side, 2 * side);
        }
    } else if (kind == 2) { // short, or of no length in one picture
        a[2] = a[0] + Uniform(rng, -1, 1), a[3] = a[1] + Uniform(rng, -1, 1);
        b[2] = b[0] + Uniform(rng, -2, 2), b[3] = b[1];
    } else if (kind == 3) { // reversed: the in-between line shrinks to a point half way
        b[0] = a[2], b[1] = a[3], b[2] = a[0], b[3] = a[1];
    } else if (kind == 4) { // the same line in both pictures
        for (int32_t i = 0; i < 4; ++i)
            b[i] = a[i];
    } else if (kind == 5) { // long and far beyond the picture
        for (int32_t i = 0; i < 4; ++i) {
            a[i] = Uniform(rng, -5000, 5000);
            b[i] = a[i] + Uniform(rng, -300, 300);
        }
    }
    morph_test::AddPair(set, a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3]);
    if (kind == 6) {
        set.m_sets[Uniform(rng, 0, 1)].Line(set.m_sets[0].m_nCount - 1).AddPoint(Uniform(rng, 0, w), 3, 0, 1);
    } else if (kind == 7) { // a line of one point
        set.m_sets[Uniform(rng, 0, 1)].Line(set.m_sets[0].m_nCount - 1).m_nCount = 1;
    }
}

CMorphOptions Smooth(bool warpOnly, Ease ease)
{
    return {warpOnly, ease, ease, Edge::kBlack, Quality::kSmooth};
}

TEST(SmoothMorphing, MatchesTheReferenceOnEveryPathAndThreadCount)
{
    Rng rng(2312);
    CRowPool pools[] = {CRowPool(1), CRowPool(3)};
    const uint16_t depths[] = {8, 24, 32, 32, 32};
    const struct {
        bool warpOnly;
        Ease ease;
        int32_t supersample;
    } table[] = {{false, Ease::kLinear, 1},
                 {true, Ease::kLinear, 1},
                 {false, Ease::kSmooth, 2},
                 {true, Ease::kSmooth, 2},
                 {false, Ease::kLinear, 2}};
    for (MorphKernelPath path : Paths()) {
        int64_t bytes = 0, offByMore = 0, kernelFrames = 0;
        for (int32_t c = 0; c < kCases; ++c) {
            const int32_t w = Uniform(rng, 1, 70), h = Uniform(rng, 1, 40);
            const uint16_t bits = depths[Uniform(rng, 0, 4)];
            const CBitmap a = RandomPicture(rng, w, h, bits), b = RandomPicture(rng, w, h, bits);
            CTrevalinDoc doc("/nonexistent");
            // Every eighth case has more pairs than the kernels hold at a
            // time: they go through them in blocks.
            for (int32_t i = c % 8 == 7 ? Uniform(rng, kSmoothLineBlock + 1, 2 * kSmoothLineBlock) : Uniform(rng, 1, 9);
                 i > 0; --i)
                AddRandomPair(rng, *doc.GetFeatureSet(), w, h);
            const int32_t n = Uniform(rng, 2, 10);
            const auto& row = table[c % 5];
            const int32_t k = row.warpOnly ? Uniform(rng, 1, n) : Uniform(rng, 1, n - 1);
            OracleSmoothMorphing oracle;
            oracle.LoadImage(a, 0);
            oracle.LoadImage(b, 1);
            oracle.SetSteps(n);
            oracle.SetOptions(Smooth(row.warpOnly, row.ease));
            oracle.SetSamples(row.supersample);
            CBitmap expected;
            expected.CreateBitmap(w, h, 1, bits);
            ASSERT_EQ(oracle.Morph(expected, k, &doc), 1);
            for (CRowPool& pool : pools) {
                FBMorphing engine;
                engine.SetKernelPath(path);
                engine.SetRowPool(&pool);
                engine.LoadImage(a, 0);
                engine.LoadImage(b, 1);
                engine.SetSteps(n);
                engine.SetOptions(Smooth(row.warpOnly, row.ease));
                engine.SetSupersample(row.supersample);
                CBitmap out;
                out.CreateBitmap(w, h, 1, bits);
                std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 0xA5);
                // One pool's engines morph from line pairs taken before.
                ASSERT_EQ(&pool == &pools[0] ? engine.MorphPairs(out, k, CLinePairs(*doc.GetFeatureSet()))
                                             : engine.Morph(out, k, &doc),
                          1);
                kernelFrames += engine.UsedRowKernels();
                ASSERT_EQ(out.SizeBytes(), expected.SizeBytes());
                for (size_t i = 0; i < out.SizeBytes(); ++i) {
                    const int32_t diff = std::abs(out.Bits()[i] - expected.Bits()[i]);
                    ASSERT_LE(diff, 2) << "case " << c << ", " << w << "x" << h << "@" << bits << ", byte " << i
                                       << ", k=" << k << " of " << n << ", " << KernelPathName(path) << ", "
                                       << pool.GetThreadCount() << " threads";
                    offByMore += diff > 1;
                }
                bytes += static_cast<int64_t>(out.SizeBytes());
            }
        }
        EXPECT_GT(kernelFrames, kCases) << "most frames have line pairs taking part";
        EXPECT_LE(offByMore * 1000, bytes) << KernelPathName(path) << ": " << offByMore << " of " << bytes;
    }
}

TEST(SmoothMorphing, FirstAndLastFramesAreThePictures)
{
    Rng rng(77);
    // Rows of 135 pixel bytes and a byte that pads them, 0 as in computed frames.
    CBitmap a = RandomPicture(rng, 45, 31, 24), b = RandomPicture(rng, 45, 31, 24);
    for (int32_t y = 0; y < 31; ++y) {
        a.Bits()[y * a.WidthBytes() + 135] = b.Bits()[y * b.WidthBytes() + 135] = 0;
    }
    CTrevalinDoc doc("/nonexistent"), none("/nonexistent"), same("/nonexistent");
    for (int32_t i = 0; i < 6; ++i)
        AddRandomPair(rng, *doc.GetFeatureSet(), 45, 31);
    morph_test::AddPair(*doc.GetFeatureSet(), 3, 4, 30, 20, 10, 2, 40, 25);
    // The same lines in both pictures: a field that moves nothing.
    morph_test::AddPair(*same.GetFeatureSet(), 3, 4, 30, 20, 3, 4, 30, 20);
    morph_test::AddPair(*same.GetFeatureSet(), 44, 0, 0, 30, 44, 0, 0, 30);
    const CBitmap black = morph_test::Picture(
        45, 31, [](int32_t, int32_t, int32_t) { return 0; }, 24);
    const struct {
        CTrevalinDoc* doc;
        bool warpOnly;
        Ease ease;
        int32_t supersample;
        int32_t k;
        const CBitmap* expected;
    } table[] = {
        {&doc, false, Ease::kLinear, 1, 0, &a},      {&doc, false, Ease::kLinear, 1, 6, &b},
        {&doc, false, Ease::kSmooth, 2, 0, &a},      {&doc, false, Ease::kSmooth, 2, 6, &b},
        {&doc, true, Ease::kLinear, 2, 0, &a},       {&none, false, Ease::kLinear, 1, 0, &black},
        {&none, false, Ease::kLinear, 1, 3, &black}, {&none, true, Ease::kSmooth, 2, 6, &black},
        {&same, true, Ease::kLinear, 1, 3, &a},
    };
    for (const auto& row : table) {
        FBMorphing engine;
        engine.LoadImage(a, 0);
        engine.LoadImage(b, 1);
        engine.SetSteps(6);
        engine.SetOptions(Smooth(row.warpOnly, row.ease));
        engine.SetSupersample(row.supersample);
        CBitmap out;
        out.CreateBitmap(45, 31, 1, 24);
        std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 0x5A);
        ASSERT_EQ(engine.Morph(out, row.k, row.doc), 1);
        EXPECT_EQ(std::vector<uint8_t>(out.Bits(), out.Bits() + out.SizeBytes()),
                  std::vector<uint8_t>(row.expected->Bits(), row.expected->Bits() + row.expected->SizeBytes()))
            << "k=" << row.k << (row.doc == &none ? " without lines" : "") << (row.doc == &same ? " same lines" : "")
            << (row.warpOnly ? ", warp only" : "");
    }
}

// A sharp diagonal edge warped by turning its lines a little: the smooth
// frame's mean error against the frame sampled 4 x 4 times per pixel is at
// most a third of the classic frame's.
TEST(SmoothMorphing, EdgesComeNearerThanClassicFrames)
{
    constexpr int32_t kSide = 96;
    const CBitmap picture = morph_test::Picture(kSide, kSide, [](int32_t x, int32_t y, int32_t c) -> uint8_t {
        return c < 3 && 5 * x - 3 * y > 100 ? 250 : 10;
    });
    CTrevalinDoc doc("/nonexistent");
    // Four lines around the middle, turned by 4 degrees about it.
    const double turn = 4.0 * 3.14159265358979 / 180.0;
    const auto turned = [turn](int32_t x, int32_t y, int32_t axis) {
        const double dx = x - 48.0, dy = y - 48.0;
        return static_cast<int32_t>(std::lround(48.0 + (axis == 0 ? dx * std::cos(turn) - dy * std::sin(turn)
                                                                  : dx * std::sin(turn) + dy * std::cos(turn))));
    };
    for (const auto& l :
         {std::array<int32_t, 4>{10, 10, 86, 10}, {86, 10, 86, 86}, {86, 86, 10, 86}, {10, 86, 10, 10}}) {
        morph_test::AddPair(*doc.GetFeatureSet(), l[0], l[1], l[2], l[3], turned(l[0], l[1], 0), turned(l[0], l[1], 1),
                            turned(l[2], l[3], 0), turned(l[2], l[3], 1));
    }
    OracleSmoothMorphing oracle;
    oracle.SetSamples(4);
    FBMorphing classic, smooth;
    classic.SetOptions({true, Ease::kLinear, Ease::kLinear, Edge::kExtend, Quality::kClassic});
    smooth.SetOptions(Smooth(true, Ease::kLinear));
    oracle.SetOptions(Smooth(true, Ease::kLinear));
    CBitmap frames[3];
    ImageMorphing* engines[3] = {&oracle, &classic, &smooth};
    for (int32_t e = 0; e < 3; ++e) {
        engines[e]->LoadImage(picture, 0);
        engines[e]->LoadImage(picture, 1);
        engines[e]->SetSteps(1);
        frames[e].CreateCompatibleBitmap(kSide, kSide);
        ASSERT_EQ(engines[e]->Morph(frames[e], 1, &doc), 1);
    }
    double error[2] = {};
    for (int32_t e = 1; e < 3; ++e) {
        for (size_t i = 0; i < frames[0].SizeBytes(); ++i)
            error[e - 1] += std::abs(frames[e].Bits()[i] - frames[0].Bits()[i]);
        error[e - 1] /= static_cast<double>(frames[0].SizeBytes());
    }
    EXPECT_GT(error[0], 0.1) << "the classic frame differs from the reference";
    EXPECT_LE(error[1] * 3.0, error[0]) << "smooth " << error[1] << ", classic " << error[0];
}

} // namespace
