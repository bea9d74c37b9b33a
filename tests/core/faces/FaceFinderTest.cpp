#include "document/CPictureImage.h"
#include "faces/CFaceJob.h"
#include "faces/CFaceMessages.h"
#include "faces/CFaceModule.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using Pictures = std::array<std::shared_ptr<const CPictureImage>, 2>;

std::shared_ptr<const CPictureImage> Plain(int32_t width, int32_t height)
{
    auto image = std::make_shared<CPictureImage>();
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 200);
    return image;
}

// A photo from scripts/fetch-face-photo, or null when there is none.
std::shared_ptr<const CPictureImage> Photo(const char* name)
{
    return testfiles::ReadPicture(std::filesystem::path(TREVALIN_FACE_PHOTO_DIR) / name);
}

class FaceFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(CFaceModule::ModelPath()))
            GTEST_SKIP() << "no landmark model at " << CFaceModule::ModelPath() << " (libdlib-data)";
        // One finder for the suite: the model is read once.
        static std::unique_ptr<CFaceFinder> finder;
        CMessage error;
        if (finder == nullptr) finder = CFaceModule::MakeFinder(error);
        ASSERT_NE(finder, nullptr) << error.Text();
        m_finder = finder.get();
    }
    const CFaceFinder* m_finder = nullptr;
    CCancelToken m_cancel;
};

TEST(FaceModuleTest, MissingModelIsNamedWithItsPackage)
{
    const char* old = std::getenv("TREVALIN_FACE_MODEL");
    const std::string kept = old != nullptr ? old : "";
    ::setenv("TREVALIN_FACE_MODEL", "/nonexistent/face.dat", 1);
    CMessage error;
    EXPECT_EQ(CFaceModule::MakeFinder(error), nullptr);
    EXPECT_NE(error.Text().find("/nonexistent/face.dat"), std::string::npos) << error.Text();
    EXPECT_NE(error.Text().find("libdlib-data"), std::string::npos) << error.Text();
    if (old != nullptr)
        ::setenv("TREVALIN_FACE_MODEL", kept.c_str(), 1);
    else
        ::unsetenv("TREVALIN_FACE_MODEL");
}

TEST_F(FaceFinderTest, PlainPicturesHaveNoFaceAndTheMessageNamesThePicture)
{
    const CFaceJob::Outcome outcome = CFaceJob::Run(*m_finder, {Plain(320, 240), Plain(200, 100)}, m_cancel.Issue());
    EXPECT_FALSE(outcome.HasLines());
    EXPECT_EQ(outcome.error.Text(), CFaceMessages::NoFace(0).Text());
    EXPECT_NE(outcome.error.Text().find("源图像"), std::string::npos);

    const CFaceJob::Outcome none = CFaceJob::Run(*m_finder, {Plain(320, 240), nullptr}, m_cancel.Issue());
    EXPECT_EQ(none.error.Text(), CFaceMessages::NoPicture(1).Text());
}

TEST_F(FaceFinderTest, CancelledSearchMakesNothing)
{
    const CCancelToken::Ticket ticket = m_cancel.Issue();
    m_cancel.Cancel();
    const CFaceJob::Outcome outcome = CFaceJob::Run(*m_finder, {Plain(320, 240), Plain(320, 240)}, ticket);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.HasLines());
    EXPECT_TRUE(outcome.error.IsEmpty());
}

TEST_F(FaceFinderTest, PhotoAndItsMirrorGiveMirroredLines)
{
    const Pictures photos{Photo("face.bmp"), Photo("face-mirrored.bmp")};
    if (photos[0] == nullptr || photos[1] == nullptr)
        GTEST_SKIP() << "no face photo in " << TREVALIN_FACE_PHOTO_DIR << " (scripts/fetch-face-photo)";
    const CFaceJob::Outcome outcome = CFaceJob::Run(*m_finder, photos, m_cancel.Issue());
    ASSERT_TRUE(outcome.HasLines()) << outcome.error.Text();
    EXPECT_TRUE(outcome.note.IsEmpty()) << outcome.note.Text();
    ASSERT_EQ(static_cast<int32_t>(outcome.lines[1].size()), CFaceLinePairs::kCount);
    // The nose bridge (line 14) lies on the mirror's axis: its ends mirror
    // each other within a few pixels.
    for (int p : {0, 1}) {
        const CFeaturePoint a = outcome.lines[0][14][static_cast<size_t>(p)];
        const CFeaturePoint b = outcome.lines[1][14][static_cast<size_t>(p)];
        EXPECT_NEAR(a.x, photos[0]->width - 1 - b.x, 6);
        EXPECT_NEAR(a.y, b.y, 6);
    }
    // A face, not the whole picture: the jaw's chin end is below the eyes.
    EXPECT_GT(outcome.lines[0][3][0].y, outcome.lines[0][10][0].y);

    // A face only in the source: the target is named.
    const CFaceJob::Outcome half = CFaceJob::Run(*m_finder, {photos[0], Plain(512, 512)}, m_cancel.Issue());
    EXPECT_EQ(half.error.Text(), CFaceMessages::NoFace(1).Text());
}

// A finder made afresh (module and model loaded) finds both full-size faces;
// how long it takes is measured in trevalin-bench (FaceLines*).
TEST(FaceFinderFreshTest, TwoFullHdPhotos)
{
    const Pictures photos{Photo("face-1080.bmp"), Photo("face-1080-mirrored.bmp")};
    if (photos[0] == nullptr || photos[1] == nullptr || !std::filesystem::exists(CFaceModule::ModelPath()))
        GTEST_SKIP() << "no face photo in " << TREVALIN_FACE_PHOTO_DIR << " or no landmark model";
    CMessage error;
    const std::unique_ptr<CFaceFinder> finder = CFaceModule::MakeFinder(error);
    ASSERT_NE(finder, nullptr) << error.Text();
    const CFaceJob::Outcome outcome = CFaceJob::Run(*finder, photos, CCancelToken::Ticket());
    ASSERT_TRUE(outcome.HasLines()) << outcome.error.Text();
    EXPECT_EQ(static_cast<int32_t>(outcome.lines[0].size()), CFaceLinePairs::kCount);
}

} // namespace
