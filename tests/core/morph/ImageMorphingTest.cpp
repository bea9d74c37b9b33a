#include "MorphTestSupport.h"
#include "document/CTrevalinDoc.h"
#include "morph/FBMorphing.h"
#include "morph/LinearMorphing.h"

#include <gtest/gtest.h>

#include <memory>

using morph_test::Picture;

namespace {

CBitmap Plain(int32_t width, int32_t height, uint16_t bitsPixel, uint8_t value)
{
    return Picture(
        width, height, [value](int32_t, int32_t, int32_t) { return value; }, bitsPixel);
}

TEST(ImageMorphing, NewEngineHoldsNothing)
{
    LinearMorphing engine;
    EXPECT_EQ(engine.m_fSteps, 0.0f);
    for (const BITMAP& record : engine.m_image) {
        EXPECT_EQ(record.bmBits, nullptr);
        EXPECT_EQ(record.bmWidth, 0);
        EXPECT_EQ(record.bmBitsPixel, 0);
    }
    EXPECT_EQ(engine.IsCompatible(), 0);
}

TEST(ImageMorphing, CompatibilityComparesSizeAndDepth)
{
    struct Case {
        int32_t w0, h0;
        uint16_t bpp0;
        int32_t w1, h1;
        uint16_t bpp1;
        int32_t expected;
    };
    const Case cases[] = {
        {100, 80, 32, 100, 80, 32, 1},
        {100, 80, 32, 100, 81, 32, 0},
        {100, 80, 32, 101, 80, 32, 0},
        {100, 80, 24, 100, 80, 32, 0},
        {100, 80, 24, 100, 80, 24, 1},
        {100, 80, 8, 100, 80, 8, 1},
        // Fewer than 8 bits per pixel would give 0 bytes per pixel: refused.
        {100, 80, 4, 100, 80, 4, 0},
        {100, 80, 1, 100, 80, 1, 0},
    };
    for (const Case& c : cases) {
        LinearMorphing engine;
        engine.LoadImage(Plain(c.w0, c.h0, c.bpp0, 1), 0);
        engine.LoadImage(Plain(c.w1, c.h1, c.bpp1, 2), 1);
        EXPECT_EQ(engine.IsCompatible(), c.expected)
            << c.w0 << "x" << c.h0 << "@" << c.bpp0 << " vs " << c.w1 << "x" << c.h1 << "@" << c.bpp1;
    }
}

TEST(ImageMorphing, LoadCopiesRecordAndBytesShareKeepsThem)
{
    LinearMorphing engine;
    CBitmap picture =
        Picture(5, 3, [](int32_t x, int32_t y, int32_t c) { return static_cast<uint8_t>(x + 10 * y + c); });
    engine.LoadImage(picture, 1);
    const BITMAP& record = engine.m_image[1];
    EXPECT_EQ(record.bmWidth, 5);
    EXPECT_EQ(record.bmHeight, 3);
    EXPECT_EQ(record.bmWidthBytes, 20);
    EXPECT_EQ(record.bmPlanes, 1);
    EXPECT_EQ(record.bmBitsPixel, 32);
    ASSERT_NE(record.bmBits, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(record.bmBits);
    EXPECT_NE(bytes, picture.Bits()) << "the engine keeps its own copy";
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 60), std::vector<uint8_t>(picture.Bits(), picture.Bits() + 60));
    picture.Bits()[0] = 99;
    EXPECT_EQ(bytes[0], 0) << "later changes to the bitmap do not reach the copy";
    EXPECT_EQ(engine.m_image[0].bmBits, nullptr);

    // Shared, the engine reads the bitmap's own bytes and keeps the bitmap
    // until another picture takes its place.
    auto shared = std::make_shared<const CBitmap>(picture);
    const std::weak_ptr<const CBitmap> watch = shared;
    engine.ShareImage(shared, 1);
    EXPECT_EQ(engine.m_image[1].bmBits, shared->Bits());
    EXPECT_EQ(engine.m_image[1].bmWidthBytes, 20);
    shared.reset();
    EXPECT_FALSE(watch.expired());
    engine.ShareImage(std::make_shared<const CBitmap>(), 1);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(engine.m_image[1].bmBits, nullptr);
}

TEST(ImageMorphing, LoadingTwiceKeepsOnlyTheSecondPicture)
{
    LinearMorphing engine;
    engine.LoadImage(Plain(100, 80, 32, 7), 0);
    engine.LoadImage(Plain(3, 2, 32, 9), 0);
    const BITMAP& record = engine.m_image[0];
    EXPECT_EQ(record.bmWidth, 3);
    EXPECT_EQ(record.bmHeight, 2);
    const auto* bytes = static_cast<const uint8_t*>(record.bmBits);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(bytes[i], 9);
    }

    // Frames use the second copy's size.
    engine.LoadImage(Plain(3, 2, 32, 1), 1);
    engine.SetSteps(2);
    CBitmap out;
    out.CreateCompatibleBitmap(3, 2);
    engine.Morph(out, 1, nullptr);
    EXPECT_EQ(out.Bits()[23], 5); // trunc(9 x 0.5 + 1 x 0.5)
}

TEST(ImageMorphing, LoadIgnoresOtherIndicesAndEmptyBitmaps)
{
    LinearMorphing engine;
    engine.LoadImage(Plain(4, 4, 32, 1), 2);
    engine.LoadImage(Plain(4, 4, 32, 1), -1);
    EXPECT_EQ(engine.m_image[0].bmBits, nullptr);
    EXPECT_EQ(engine.m_image[1].bmBits, nullptr);
    engine.LoadImage(CBitmap(), 0);
    EXPECT_EQ(engine.m_image[0].bmBits, nullptr);
    EXPECT_EQ(engine.m_image[0].bmWidth, 0);
}

TEST(ImageMorphing, SetStepsStoresAFloat)
{
    LinearMorphing engine;
    engine.SetSteps(10);
    EXPECT_EQ(engine.m_fSteps, 10.0f);
    engine.SetSteps(100);
    EXPECT_EQ(engine.m_fSteps, 100.0f);
}

// Frames the caller must not ask for are refused rather than computed from
// undefined weights or out-of-range reads.
TEST(ImageMorphing, RefusesFramesOutsideTheRunOrWithoutPictures)
{
    CBitmap out;
    out.CreateCompatibleBitmap(4, 4);
    std::fill(out.Bits(), out.Bits() + out.SizeBytes(), 77);
    auto untouched = [&out] {
        for (size_t i = 0; i < out.SizeBytes(); ++i) {
            if (out.Bits()[i] != 77) return false;
        }
        return true;
    };

    LinearMorphing engine;
    engine.SetSteps(4);
    engine.Morph(out, 1, nullptr);
    EXPECT_TRUE(untouched()) << "no pictures";

    engine.LoadImage(Plain(4, 4, 32, 10), 0);
    engine.Morph(out, 1, nullptr);
    EXPECT_TRUE(untouched()) << "no target";

    engine.LoadImage(Plain(4, 3, 32, 20), 1);
    engine.Morph(out, 1, nullptr);
    EXPECT_TRUE(untouched()) << "target shorter than the source";

    engine.LoadImage(Plain(4, 4, 32, 20), 1);
    engine.SetSteps(0);
    engine.Morph(out, 0, nullptr);
    EXPECT_TRUE(untouched()) << "N = 0";
    engine.SetSteps(4);
    engine.Morph(out, 5, nullptr);
    engine.Morph(out, -1, nullptr);
    EXPECT_TRUE(untouched()) << "k outside 0..N";

    engine.Morph(out, 4, nullptr);
    EXPECT_EQ(out.Bits()[0], 20);
}

TEST(ImageMorphing, BothEnginesGiveUpAFrameWhoseTicketIsAbandoned)
{
    CTrevalinDoc doc(".");
    morph_test::AddPair(*doc.GetFeatureSet(), 2, 2, 30, 20, 3, 3, 28, 21);
    FBMorphing feature;
    FBMorphing smooth;
    smooth.SetOptions({false, CTimingCurve::Kind::kLinear, CTimingCurve::Kind::kLinear, CMorphOptions::Edge::kBlack,
                       CMorphOptions::Quality::kSmooth});
    LinearMorphing dissolve;
    for (ImageMorphing* engine : std::initializer_list<ImageMorphing*>{&feature, &smooth, &dissolve}) {
        engine->LoadImage(Plain(64, 48, 32, 10), 0);
        engine->LoadImage(Plain(64, 48, 32, 200), 1);
        engine->SetSteps(4);
        CBitmap out;
        out.CreateCompatibleBitmap(64, 48);
        CCancelToken token;
        const CCancelToken::Ticket ticket = token.Issue();
        token.Cancel();
        engine->SetCancelTicket(ticket);
        EXPECT_EQ(engine->Morph(out, 2, &doc), ImageMorphing::kAbandoned);
        engine->SetCancelTicket(token.Issue());
        EXPECT_NE(engine->Morph(out, 4, &doc), ImageMorphing::kAbandoned);
        if (engine == &dissolve) {
            EXPECT_EQ(out.Bits()[0], 200);
        }
    }
}

} // namespace
