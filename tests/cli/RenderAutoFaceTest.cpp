#include "CRenderFixture.h"
#include "faces/CFaceLinePairs.h"
#include "faces/CFaceModule.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST_F(RenderAutoFaceTest, FacesMorphEachPictureIntoTheNextWithJoinFramesOnce)
{
    const std::filesystem::path photos(TREVALIN_FACE_PHOTO_DIR);
    if (!std::filesystem::exists(photos / "face-mirrored.bmp"))
        GTEST_SKIP() << "no face photo in " << photos << " (scripts/fetch-face-photo)";
    const std::filesystem::path work(m_run.Work());
    std::filesystem::create_directory(work / "out");
    const std::string a = (photos / "face.bmp").string();
    const std::string b = (photos / "face-mirrored.bmp").string();
    const CRenderFixture::Outcome outcome =
        m_run.Render({"--faces", a, b, a, "--out", "out", "--steps", "2", "--video", "none", "--image-format", "bmp"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    // Two morphs of 2 steps: 2 N + 1 frames.
    for (int g = 0; g <= 5; ++g) {
        char name[32];
        std::snprintf(name, sizeof name, "faces-%04d.bmp", g);
        EXPECT_EQ(std::filesystem::exists(work / "out" / name), g < 5) << name;
    }
    CRenderFixture::Bmp first;
    ASSERT_TRUE(CRenderFixture::ReadBmp((work / "out/faces-0000.bmp").string(), first));
    EXPECT_EQ(first.width, 512);

    const CRenderFixture::Outcome plain =
        m_run.Render({"--faces", a, (work / "images/source.bmp").string(), "--out", "out", "--video", "none"});
    EXPECT_EQ(plain.exitCode, 1) << plain.output;
    EXPECT_NE(plain.output.find("目标图像中找不到人脸"), std::string::npos) << plain.output;
}

} // namespace
