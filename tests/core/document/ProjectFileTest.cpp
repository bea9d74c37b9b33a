#include "document/CArchive.h"
#include "document/CTrevalinDoc.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/FakePictureDecoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <unistd.h>

using doctest::AddLine;
using doctest::Hex;
using doctest::Store;
using testfiles::WriteBytes;

namespace {

const char* const kWorkedExample = "06 5C 61 2E 62 6D 70 | 06 5C 62 2E 6A 70 67 | 01 00 00 00 | 02 00 00 00 | "
                                   "0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00 | 01 00 00 00 | 02 00 00 00 | "
                                   "0C 00 00 00 16 00 00 00 21 00 00 00 2C 00 00 00";

// A working folder with an images folder holding fake pictures.
class ProjectFile : public ::testing::Test {
protected:
    ProjectFile() : m_decoder(std::make_shared<FakePictureDecoder>())
    {
        std::filesystem::create_directory(m_dir / "images");
    }

    std::string Work() const { return m_dir.Str(); }
    std::string Image(const std::string& name) const { return (m_dir / "images" / name).string(); }
    void MakePicture(const std::string& name, int32_t w, int32_t h, uint8_t grey = 7) const
    {
        WriteBytes(Image(name), FakePictureDecoder::Picture(w, h, grey));
    }
    std::unique_ptr<CTrevalinDoc> NewDoc() const { return std::make_unique<CTrevalinDoc>(Work(), m_decoder); }

    // Loads bytes through Serialize, as the open command does.
    static bool Load(CTrevalinDoc& doc, const std::vector<uint8_t>& bytes)
    {
        CArchive ar(bytes.data(), bytes.size());
        doc.Serialize(ar);
        return !ar.HasFailed();
    }

    CTempDir m_dir;
    std::shared_ptr<FakePictureDecoder> m_decoder;
};

TEST_F(ProjectFile, WorkedExampleIsWrittenByteForByte)
{
    MakePicture("a.bmp", 4, 3);
    MakePicture("b.jpg", 4, 3);
    auto doc = NewDoc();
    ASSERT_EQ(doc->GetPicture(0)->LoadFromFile(Image("a.bmp")), 1);
    ASSERT_EQ(doc->GetPicture(1)->LoadFromFile(Image("b.jpg")), 1);
    AddLine(*doc, 0, {{10, 20}, {30, 40}});
    AddLine(*doc, 1, {{12, 22}, {33, 44}});

    const std::vector<uint8_t> bytes = Store(*doc);
    EXPECT_EQ(bytes.size(), 62u);
    EXPECT_EQ(bytes, Hex(kWorkedExample));
}

TEST_F(ProjectFile, WorkedExampleLoadsPicturesFromTheImagesFolderAndTheLines)
{
    MakePicture("a.bmp", 5, 6);
    MakePicture("b.jpg", 7, 8);
    auto doc = NewDoc();
    ASSERT_TRUE(Load(*doc, Hex(kWorkedExample)));

    EXPECT_EQ(doc->GetPicture(0)->GetPath(), Image("a.bmp"));
    EXPECT_EQ(doc->GetPicture(1)->GetPath(), Image("b.jpg"));
    EXPECT_EQ(doc->GetPicture(0)->GetSizeInPixels(), (SIZE{5, 6}));
    EXPECT_EQ(doc->GetPicture(1)->GetSizeInPixels(), (SIZE{7, 8}));

    const CFeatureSet& fs = *doc->GetFeatureSet();
    ASSERT_EQ(fs.m_sets[0].m_nCount, 1);
    ASSERT_EQ(fs.m_sets[1].m_nCount, 1);
    const CPointSet<int>& src = fs.m_sets[0].Line(0);
    const CPointSet<int>& dst = fs.m_sets[1].Line(0);
    ASSERT_EQ(src.m_nCount, 2);
    ASSERT_EQ(dst.m_nCount, 2);
    EXPECT_EQ(src.Point(0).x, 10);
    EXPECT_EQ(src.Point(0).y, 20);
    EXPECT_EQ(src.Point(1).x, 30);
    EXPECT_EQ(src.Point(1).y, 40);
    EXPECT_EQ(dst.Point(1).x, 33);
    EXPECT_EQ(dst.Point(1).y, 44);
    EXPECT_EQ(src.Point(1).z, 0);
    EXPECT_EQ(src.Point(1).w, 1);
    EXPECT_EQ(src.Point(1).label, 1);

    // Stored again, the same 62 bytes come out.
    EXPECT_EQ(Store(*doc), Hex(kWorkedExample));
}

TEST_F(ProjectFile, PictureNamesAreTheTailWithALeadingBackslash)
{
    EXPECT_EQ(CTrevalinDoc::StoredName("/w/images/face1.bmp"), "\\face1.bmp");
    EXPECT_EQ(CTrevalinDoc::StoredName("C:\\work\\images\\face1.bmp"), "\\face1.bmp");
    EXPECT_EQ(CTrevalinDoc::StoredName("/w/images/\xE8\x84\xB8.bmp"), "\\\xE8\x84\xB8.bmp");
    EXPECT_EQ(CTrevalinDoc::StoredName("face1.bmp"), "\\face1.bmp");
    EXPECT_EQ(CTrevalinDoc::StoredName(""), "");

    // A picture that never held one is stored as the empty string.
    auto doc = NewDoc();
    EXPECT_EQ(Store(*doc), Hex("00 00 00 00 00 00 00 00 00 00"));
}

TEST_F(ProjectFile, NamesAreLookedForInTheImagesFolderWhateverTheSeparator)
{
    auto doc = NewDoc();
    EXPECT_EQ(doc->PicturePathFor("\\a.bmp"), Image("a.bmp"));
    EXPECT_EQ(doc->PicturePathFor("/a.bmp"), Image("a.bmp"));
    EXPECT_EQ(doc->PicturePathFor("a.bmp"), Image("a.bmp"));
    EXPECT_EQ(doc->PicturePathFor("\\\xE8\x84\xB8.bmp"), Image("\xE8\x84\xB8.bmp"));
    // Nothing escapes the images folder.
    EXPECT_EQ(doc->PicturePathFor("\\..\\..\\secret.bmp"), Image("secret.bmp"));
    EXPECT_EQ(doc->PicturePathFor("/../../secret.bmp"), Image("secret.bmp"));
    EXPECT_EQ(doc->PicturePathFor("\\.."), Work() + "/images");
    EXPECT_EQ(doc->PicturePathFor(""), Work() + "/images");

    CTrevalinDoc root("/");
    EXPECT_EQ(root.PicturePathFor("\\a.bmp"), "/images/a.bmp");
    CTrevalinDoc slashed(Work() + "//");
    EXPECT_EQ(slashed.GetWorkDir(), Work());
}

TEST_F(ProjectFile, SlashNamesAndChineseNamesLoad)
{
    MakePicture("\xE6\xBA\x90\xE5\x9B\xBE.bmp", 3, 3); // 源图.bmp
    MakePicture("t.bmp", 2, 2);
    CArchive ar;
    ar << "/\xE6\xBA\x90\xE5\x9B\xBE.bmp";
    ar.WriteWideString(u"\\t.bmp");
    ar << int32_t{0} << int32_t{0};
    auto doc = NewDoc();
    ASSERT_TRUE(Load(*doc, ar.GetBuffer()));
    EXPECT_EQ(doc->GetPicture(0)->GetPath(), Image("\xE6\xBA\x90\xE5\x9B\xBE.bmp"));
    EXPECT_EQ(doc->GetPicture(1)->GetPath(), Image("t.bmp"));
    EXPECT_EQ(doc->GetPictureName(0), "/\xE6\xBA\x90\xE5\x9B\xBE.bmp");
    EXPECT_EQ(doc->GetPictureName(1), "\\t.bmp");
    // Stored back in the narrow form with backslashes.
    CArchive expected;
    expected << "\\\xE6\xBA\x90\xE5\x9B\xBE.bmp"
             << "\\t.bmp" << int32_t{0} << int32_t{0};
    EXPECT_EQ(Store(*doc), expected.GetBuffer());
}

TEST_F(ProjectFile, LongNamesUseTheSixteenBitPrefix)
{
    // The longest file name the system allows: 255 bytes, 256 with the backslash.
    const std::string name(251, 'p');
    MakePicture(name + ".bmp", 1, 1);
    auto doc = NewDoc();
    ASSERT_EQ(doc->GetPicture(0)->LoadFromFile(Image(name + ".bmp")), 1);
    const std::vector<uint8_t> bytes = Store(*doc);
    ASSERT_GE(bytes.size(), 259u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), Hex("FF 00 01 5C"));
    EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 259), name + ".bmp");

    // A 300-byte name (from another system) names no file here: the
    // project opens without the picture and keeps the name.
    CArchive ar;
    ar << "\\" + std::string(299, 'q') << "" << int32_t{0} << int32_t{0};
    EXPECT_EQ(std::vector<uint8_t>(ar.GetBuffer().begin(), ar.GetBuffer().begin() + 3), Hex("FF 2C 01"));
    ASSERT_TRUE(Load(*doc, ar.GetBuffer()));
    EXPECT_EQ(doc->GetPicture(0)->GetPath(), "");
    EXPECT_EQ(doc->GetPicture(0)->IsLoaded(), 0);
    EXPECT_EQ(Store(*doc), ar.GetBuffer());
}

TEST_F(ProjectFile, CountsOfZeroOrLessReadNothing)
{
    auto doc = NewDoc();
    CArchive ar;
    ar << ""
       << "";
    ar << int32_t{3};                             // image 0: three lines
    ar << int32_t{0};                             //   no points
    ar << std::numeric_limits<int32_t>::min();    //   negative: no points
    ar << int32_t{1} << int32_t{4} << int32_t{5}; //   one point
    ar << int32_t{-1};                            // image 1: negative: no lines
    ASSERT_TRUE(Load(*doc, ar.GetBuffer()));
    const CFeatureSet& fs = *doc->GetFeatureSet();
    ASSERT_EQ(fs.m_sets[0].m_nCount, 3);
    EXPECT_EQ(fs.m_sets[0].Line(0).m_nCount, 0);
    EXPECT_EQ(fs.m_sets[0].Line(1).m_nCount, 0);
    EXPECT_EQ(fs.m_sets[0].Line(2).m_nCount, 1);
    EXPECT_EQ(fs.m_sets[0].Line(2).Point(0).x, 4);
    EXPECT_EQ(fs.m_sets[1].m_nCount, 0);
    // Negative counts come back as 0.
    CArchive expected;
    expected << ""
             << "" << int32_t{3} << int32_t{0} << int32_t{0} << int32_t{1} << int32_t{4} << int32_t{5} << int32_t{0};
    EXPECT_EQ(Store(*doc), expected.GetBuffer());
}

TEST_F(ProjectFile, UnevenLinesManyPointsAndExtremeCoordinatesRoundTrip)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    auto doc = NewDoc();
    AddLine(*doc, 0, {{kMax, kMin}, {kMin, kMax}});
    AddLine(*doc, 0, {{-1, -1}});
    AddLine(*doc, 0, {});
    std::vector<std::pair<int32_t, int32_t>> many;
    for (int32_t i = 0; i < 1000; ++i) {
        many.emplace_back(i, kMax - i);
    }
    AddLine(*doc, 1, many);
    AddLine(*doc, 1, {{0, 0}, {kMax, kMax}});
    const std::vector<uint8_t> bytes = Store(*doc);

    auto other = NewDoc();
    ASSERT_TRUE(Load(*other, bytes));
    EXPECT_EQ(other->GetFeatureSet()->m_sets[0].m_nCount, 3);
    EXPECT_EQ(other->GetFeatureSet()->m_sets[1].m_nCount, 2);
    EXPECT_EQ(other->GetFeatureSet()->m_sets[1].Line(0).m_nCount, 1000);
    EXPECT_EQ(other->GetFeatureSet()->m_sets[0].Line(0).Point(0).y, kMin);
    EXPECT_EQ(Store(*other), bytes);
    // Saving twice without changes gives identical bytes.
    EXPECT_EQ(Store(*other), Store(*other));
}

TEST_F(ProjectFile, LoadingReusesLineObjectsAndReplacesEveryLine)
{
    auto doc = NewDoc();
    for (int i = 0; i < 12; ++i) {
        AddLine(*doc, 0, {{i, i}, {i + 1, i + 1}, {i + 2, i + 2}});
    }
    CPointSets<int>& lines = doc->GetFeatureSet()->m_sets[0];
    lines.Line(0).m_nState = STATE_POINT_SELECTED;
    lines.Line(0).m_nSelPoint = 1;
    const CPointSet<int>* firstLine = &lines.Line(0);
    const CFeaturePoint* firstPoint = &lines.Line(0).Point(0);
    ASSERT_EQ(lines.m_nSize, 20);
    ASSERT_EQ(lines.Line(0).m_nSize, 4);

    // Two lines, the second of three points: it fits the four slots the old
    // line 1 grew to, so its labels follow the 2 x index rule throughout.
    CArchive ar;
    ar << ""
       << "" << int32_t{2} << int32_t{0} << int32_t{3};
    for (int32_t v : {1, 2, 3, 4, 5, 6}) {
        ar << v;
    }
    ar << int32_t{0};
    ASSERT_TRUE(Load(*doc, ar.GetBuffer()));
    EXPECT_EQ(lines.m_nCount, 2);
    EXPECT_EQ(lines.m_nSize, 20);
    EXPECT_EQ(&lines.Line(0), firstLine);
    EXPECT_EQ(&lines.Line(0).Point(0), firstPoint);
    EXPECT_EQ(lines.Line(0).m_nCount, 0);
    EXPECT_EQ(lines.Line(1).Point(2).x, 5);
    EXPECT_EQ(lines.Line(1).Point(2).label, 4);
    // Selection fields survive the reload, as RemoveAll keeps them.
    EXPECT_EQ(lines.Line(0).m_nState, STATE_POINT_SELECTED);
    EXPECT_EQ(lines.Line(0).m_nSelPoint, 1);
    EXPECT_EQ(lines.Line(2).m_nCount, 0);

    // On a fresh document the third point grows the line: 2 + 10 x 1.
    auto fresh = NewDoc();
    ASSERT_TRUE(Load(*fresh, ar.GetBuffer()));
    EXPECT_EQ(fresh->GetFeatureSet()->m_sets[0].Line(1).Point(2).label, 12);
    EXPECT_EQ(fresh->GetFeatureSet()->m_sets[0].Line(1).m_nSize, 4);
}

TEST_F(ProjectFile, FeatureSetSerializeStoresAndLoadsTheLineBlockAlone)
{
    auto doc = NewDoc();
    AddLine(*doc, 0, {{10, 20}, {30, 40}});
    AddLine(*doc, 1, {{12, 22}, {33, 44}});
    CArchive out;
    doc->GetFeatureSet()->Serialize(out);
    const std::vector<uint8_t> worked = Hex(kWorkedExample);
    EXPECT_EQ(out.GetBuffer(), std::vector<uint8_t>(worked.begin() + 14, worked.end()));

    CFeatureSet loaded;
    CArchive in(out.GetBuffer().data(), out.GetBuffer().size());
    loaded.Serialize(in);
    EXPECT_FALSE(in.HasFailed());
    EXPECT_EQ(loaded.m_sets[1].Line(0).Point(1).x, 33);

    // A cut block changes nothing.
    AddLine(*doc, 0, {{1, 1}});
    CArchive cut(out.GetBuffer().data(), out.GetBuffer().size() - 1);
    loaded.Serialize(cut);
    EXPECT_TRUE(cut.HasFailed());
    EXPECT_EQ(loaded.m_sets[0].m_nCount, 1);
    EXPECT_EQ(loaded.m_sets[1].m_nCount, 1);
}

TEST_F(ProjectFile, MissingFolderOrUndecodablePicturesFollowTheHolderRules)
{
    MakePicture("a.bmp", 2, 2, 1);
    MakePicture("b.bmp", 3, 3, 2);
    auto doc = NewDoc();
    ASSERT_EQ(doc->GetPicture(0)->LoadFromFile(Image("a.bmp")), 1);
    ASSERT_EQ(doc->GetPicture(1)->LoadFromFile(Image("b.bmp")), 1);

    // Picture 0 names a folder, picture 1 a file that is no picture.
    std::filesystem::create_directory(Image("dir.bmp"));
    WriteBytes(Image("junk.bmp"), {1, 2, 3});
    CArchive ar;
    ar << "\\dir.bmp"
       << "\\junk.bmp" << int32_t{0} << int32_t{0};
    ASSERT_TRUE(Load(*doc, ar.GetBuffer()));
    // Neither holds the picture of before: both are empty, marked missing.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc->GetPicture(i)->IsLoaded(), 0);
        EXPECT_EQ(doc->GetPicture(i)->GetImage(), nullptr);
        EXPECT_EQ(doc->GetPicture(i)->GetPath(), "");
    }
    EXPECT_EQ(doc->GetPicture(0)->GetMissingPath(), Image("dir.bmp"));
    EXPECT_EQ(doc->GetPicture(1)->GetMissingPath(), Image("junk.bmp"));
    // The names read are kept, for messages about pictures that did not load.
    EXPECT_EQ(doc->GetPictureName(0), "\\dir.bmp");
    EXPECT_EQ(doc->PicturePathFor(doc->GetPictureName(0)), Image("dir.bmp"));

    // Missing files and empty names leave the holders empty; an empty name
    // marks nothing missing.
    ASSERT_EQ(doc->GetPicture(1)->LoadFromFile(Image("b.bmp")), 1);
    CArchive missing;
    missing << "\\nothere.bmp"
            << "" << int32_t{0} << int32_t{0};
    ASSERT_TRUE(Load(*doc, missing.GetBuffer()));
    EXPECT_EQ(doc->GetPicture(0)->GetMissingPath(), Image("nothere.bmp"));
    EXPECT_EQ(doc->GetPicture(1)->GetImage(), nullptr);
    EXPECT_FALSE(doc->GetPicture(1)->IsMissing());
    EXPECT_EQ(Store(*doc), missing.GetBuffer());

    // A picture without read permission (root reads everything).
    if (::geteuid() != 0) {
        MakePicture("locked.bmp", 2, 2, 9);
        std::filesystem::permissions(Image("locked.bmp"), std::filesystem::perms::none);
        CArchive locked;
        locked << "\\locked.bmp"
               << "" << int32_t{0} << int32_t{0};
        ASSERT_EQ(doc->GetPicture(0)->LoadFromFile(Image("a.bmp")), 1);
        ASSERT_TRUE(Load(*doc, locked.GetBuffer()));
        EXPECT_EQ(doc->GetPicture(0)->GetImage(), nullptr);
        EXPECT_EQ(doc->GetPicture(0)->GetMissingPath(), Image("locked.bmp"));
    }
}

} // namespace
