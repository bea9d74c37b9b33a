#include "PictureSamples.h"
#include "document/CArchive.h"
#include "document/CTrevalinDoc.h"
#include "picture/CQtPictureDecoder.h"
#include "support/CBmpBuilder.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace picturesamples;
using testfiles::WriteBytes;

namespace {

// Projects whose pictures are real BMP and JPEG files with Chinese names,
// decoded by Qt.
class QtProject : public ::testing::Test {
protected:
    QtProject() : m_doc(m_dir.Str(), std::make_shared<CQtPictureDecoder>())
    {
        std::filesystem::create_directory(m_dir / "images");
        WriteBytes(m_dir / "images" / kSource, Encode(Blocks(24, 16), "BMP"));
        WriteBytes(m_dir / "images" / kTarget, Encode(Gradient(24, 16), "JPG"));
    }

    std::string Project(const std::string& source, const std::string& target)
    {
        CArchive ar;
        ar << "\\" + source << "\\" + target << int32_t{1} << int32_t{2} << 1 << 2 << 20 << 10;
        ar << int32_t{1} << int32_t{2} << 3 << 4 << 22 << 12;
        WriteBytes(m_dir / "p.tvl", ar.GetBuffer());
        return (m_dir / "p.tvl").string();
    }

    static inline const std::string kSource = "\xE6\xBA\x90\xE5\x9B\xBE.bmp"; // 源图.bmp
    static inline const std::string kTarget = "\xE7\x9B\xAE\xE6\xA0\x87.jpg"; // 目标.jpg
    CTempDir m_dir;
    CTrevalinDoc m_doc;
};

TEST_F(QtProject, BmpAndJpegPicturesLoadWithTheProject)
{
    const CDocStatus status = m_doc.OnOpenDocument(Project(kSource, kTarget));
    ASSERT_TRUE(status.ok) << status.message.Text();
    EXPECT_EQ(m_doc.GetPicture(0)->IsLoaded(), 1);
    EXPECT_EQ(m_doc.GetPicture(1)->IsLoaded(), 1);
    EXPECT_EQ(m_doc.GetPicture(0)->GetSizeInPixels(), (SIZE{24, 16}));
    EXPECT_EQ(m_doc.GetPicture(1)->GetSizeInPixels(), (SIZE{24, 16}));
    EXPECT_EQ(m_doc.GetPicture(0)->GetImage()->pixels, Bgra(Blocks(24, 16)));
}

TEST_F(QtProject, AHostilePictureIsRefusedAndTheRestLoads)
{
    ASSERT_TRUE(m_doc.OnOpenDocument(Project(kSource, kTarget)).ok);
    WriteBytes(m_dir / "images" / "huge.bmp", CBmpBuilder::Grey24(100000, 100000, 16));

    const CDocStatus status = m_doc.OnOpenDocument(Project(kSource, "huge.bmp"));
    ASSERT_TRUE(status.ok);
    // The target holder is empty (the previous project's picture gone),
    // marked missing with the file, and it says why.
    EXPECT_EQ(m_doc.GetPicture(1)->IsLoaded(), 0);
    EXPECT_EQ(m_doc.GetPicture(1)->GetPath(), "");
    EXPECT_EQ(m_doc.GetPicture(1)->GetMissingPath(), (m_dir / "images" / "huge.bmp").string());
    EXPECT_NE(m_doc.GetPicture(1)->GetLastError().Text().find("图片过大"), std::string::npos);
    EXPECT_NE(m_doc.GetPicture(1)->GetLastError().Text().find("huge.bmp"), std::string::npos);
    // The source picture and the lines are there.
    EXPECT_EQ(m_doc.GetPicture(0)->IsLoaded(), 1);
    EXPECT_EQ(m_doc.GetPicture(0)->GetImage()->pixels, Bgra(Blocks(24, 16)));
    EXPECT_EQ(m_doc.GetFeatureSet()->m_sets[1].m_nCount, 1);
}

} // namespace
