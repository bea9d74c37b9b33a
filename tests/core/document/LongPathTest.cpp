#include "document/CArchive.h"
#include "files/CFileAccess.h"
#include "document/CTrevalinDoc.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/FakePictureDecoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using doctest::AddLine;
using doctest::Store;

namespace {

// A long Chinese folder name: "变形图片工作文件夹" three times over and more.
const std::string kChineseComponent =
    "\xE5\x8F\x98\xE5\xBD\xA2\xE5\x9B\xBE\xE7\x89\x87\xE5\xB7\xA5\xE4\xBD\x9C\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4"
    "\xB9\xE5\x8F\x98\xE5\xBD\xA2\xE5\x9B\xBE\xE7\x89\x87\xE5\xB7\xA5\xE4\xBD\x9C\xE6\x96\x87\xE4\xBB\xB6\xE5"
    "\xA4\xB9\xE5\x8F\x98\xE5\xBD\xA2\xE5\x9B\xBE\xE7\x89\x87\xE5\xB7\xA5\xE4\xBD\x9C\xE6\x96\x87\xE4\xBB\xB6"
    "\xE5\xA4\xB9\xE5\x8F\x98\xE5\xBD\xA2";

// Deletes a folder tree of any depth, one level at a time.
void RemoveTreeAt(int parent, const char* name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        ::unlinkat(parent, name, 0);
        return;
    }
    DIR* dir = ::fdopendir(fd);
    std::vector<std::string> entries;
    while (dirent* e = ::readdir(dir)) {
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") {
            entries.emplace_back(e->d_name);
        }
    }
    for (const std::string& entry : entries) {
        RemoveTreeAt(::dirfd(dir), entry.c_str());
    }
    ::closedir(dir);
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

// A chain of folders named kChineseComponent + index under a temporary
// folder, deeper than PATH_MAX, built and removed through relative calls.
class LongPath : public ::testing::Test {
protected:
    LongPath()
    {
        m_work = m_dir.Str();
        int fd = ::open(m_dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; m_work.size() <= PATH_MAX + 200; ++i) {
            const std::string name = kChineseComponent + std::to_string(i);
            ::mkdirat(fd, name.c_str(), 0755);
            const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            if (next < 0) {
                throw std::runtime_error("cannot build the deep folder");
            }
            fd = next;
            m_work += "/" + name;
        }
        ::mkdirat(fd, "images", 0755);
        m_deepFd = fd;
    }
    ~LongPath() override
    {
        ::close(m_deepFd);
        const int top = ::open(m_dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        RemoveTreeAt(top, (kChineseComponent + "0").c_str());
        ::close(top);
    }

    // Writes a file in the deep folder (relative name).
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const int fd = ::openat(m_deepFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }

    CTempDir m_dir;
    std::string m_work;
    int m_deepFd = -1;
};

TEST_F(LongPath, ProjectsAndPicturesBeyondPathMaxOpenAndSave)
{
    ASSERT_GT(m_work.size(), static_cast<size_t>(PATH_MAX));
    const std::string source = "\xE6\xBA\x90\xE5\x9B\xBE.bmp"; // 源图.bmp
    const std::string target = "\xE7\x9B\xAE\xE6\xA0\x87.bmp"; // 目标.bmp
    Write("images/" + source, FakePictureDecoder::Picture(3, 2, 50));
    Write("images/" + target, FakePictureDecoder::Picture(3, 2, 60));
    CArchive ar;
    ar << "\\" + source << "\\" + target << int32_t{1} << int32_t{2} << 1 << 2 << 3 << 4 << int32_t{0};
    Write("\xE9\xA1\xB9\xE7\x9B\xAE.tvl", ar.GetBuffer());

    CTrevalinDoc doc(m_work, std::make_shared<FakePictureDecoder>());
    const std::string project = m_work + "/\xE9\xA1\xB9\xE7\x9B\xAE.tvl";
    const CDocStatus opened = doc.OnOpenDocument(project);
    ASSERT_TRUE(opened.ok) << opened.message.Text() << opened.detail.Text();
    EXPECT_EQ(doc.GetPathName(), project);
    EXPECT_EQ(doc.GetPicture(0)->GetPath(), m_work + "/images/" + source);
    EXPECT_EQ(doc.GetPicture(1)->GetPath(), m_work + "/images/" + target);
    EXPECT_EQ(doc.GetPicture(1)->GetSizeInPixels(), (SIZE{3, 2}));
    EXPECT_EQ(doc.GetFeatureSet()->m_sets[0].m_nCount, 1);

    // Saving writes the same bytes next to it, through a temporary file.
    AddLine(doc, 1, {{5, 5}});
    const std::string copy = m_work + "/\xE5\x89\xAF\xE6\x9C\xAC.tvl"; // 副本.tvl
    const CDocStatus saved = doc.OnSaveDocument(copy);
    ASSERT_TRUE(saved.ok) << saved.detail.Text();
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(CFileAccess::ReadFile(copy, bytes, 1 << 20).ok);
    EXPECT_EQ(bytes, Store(doc));
    ASSERT_TRUE(doc.OnSaveDocument(copy).ok);
}

TEST_F(LongPath, WorkingFolderIsTheCurrentDirectoryWhateverItsLength)
{
    const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::fchdir(m_deepFd), 0);
    CTrevalinDoc doc;
    ::fchdir(home);
    ::close(home);
    EXPECT_EQ(doc.GetWorkDir(), m_work);
    EXPECT_GT(doc.GetWorkDir().size(), 128u);
}

} // namespace
