#include "CRenderFixture.h"
#include "faces/CFaceLinePairs.h"
#include "faces/CFaceModule.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// trevalin-render --auto-face on a project without lines over the demo
// pictures (no face) and over a face photo with its mirror image.
class RenderAutoFaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(CFaceModule::ModelPath())) GTEST_SKIP() << "no landmark model (libdlib-data)";
        m_run.WriteHeavyProject("faces.tvl", 0);
        m_project = testfiles::ReadBytes(std::filesystem::path(m_run.Work()) / "faces.tvl");
    }

    CRenderFixture m_run;
    std::vector<uint8_t> m_project;
};

TEST_F(RenderAutoFaceTest, PicturesWithoutAFaceAreRefusedByName)
{
    const CRenderFixture::Outcome outcome = m_run.Render({"--auto-face", "--steps", "2", "faces.tvl"});
    EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("源图像中找不到人脸"), std::string::npos) << outcome.output;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(m_run.Work()) / "ouput_image/Frame-0.bmp"));
}

TEST_F(RenderAutoFaceTest, FacePairGetsItsLinesForThisRunOnly)
{
    const std::filesystem::path photos(TREVALIN_FACE_PHOTO_DIR);
    if (!std::filesystem::exists(photos / "face-mirrored.bmp"))
        GTEST_SKIP() << "no face photo in " << photos << " (scripts/fetch-face-photo)";
    const std::filesystem::path images = std::filesystem::path(m_run.Work()) / "images";
    std::filesystem::copy_file(photos / "face.bmp", images / "source.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(photos / "face-mirrored.bmp", images / "target.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    m_run.SetLocale("");
    const CRenderFixture::Outcome outcome = m_run.Render({"--auto-face", "--steps", "2", "faces.tvl"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Added " + std::to_string(CFaceLinePairs::kCount) + " face line pairs"),
              std::string::npos)
        << outcome.output;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(m_run.Work()) / "ouput_image/Frame-2.bmp"));
    EXPECT_EQ(testfiles::ReadBytes(std::filesystem::path(m_run.Work()) / "faces.tvl"), m_project);
}

} // namespace
