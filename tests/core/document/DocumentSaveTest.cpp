#include "document/CTrevalinDoc.h"
#include "support/CFileSizeLimit.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using doctest::AddLine;
using doctest::Dump;
using doctest::Store;
using testfiles::ReadBytes;
using testfiles::WriteBytes;

namespace fs = std::filesystem;

namespace {

// Saving must never destroy the file already on disk: every failure below
// leaves the old bytes, the document's own state, and no stray files.
class DocumentSave : public ::testing::Test {
protected:
    DocumentSave() : m_doc(m_dir.Str())
    {
        AddLine(m_doc, 0, {{1, 2}, {3, 4}});
        AddLine(m_doc, 1, {{5, 6}, {7, 8}});
        m_doc.SetPathName((m_dir / "earlier.tvl").string());
    }

    // Makes the project big enough not to fit where the tests put it.
    void MakeBig()
    {
        std::vector<std::pair<int32_t, int32_t>> points;
        for (int32_t i = 0; i < 20000; ++i) {
            points.emplace_back(i, -i);
        }
        AddLine(m_doc, 0, points);
    }

    // Saves to `path`, which holds `old`, expecting failure; checks the old
    // bytes, the document and the folder are as they were.
    void ExpectFailedSaveKeeps(const fs::path& path, const std::vector<uint8_t>& old, const std::string& why)
    {
        const std::string before = Dump(m_doc);
        const size_t filesBefore = Entries(path.parent_path());
        const CDocStatus status = m_doc.OnSaveDocument(path.string());
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message.Text(), "保存文档失败。");
        EXPECT_NE(status.detail.Text().find(why), std::string::npos) << status.detail.Text();
        EXPECT_NE(status.detail.Text().find("原来的文件没有改动。"), std::string::npos) << status.detail.Text();
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(Dump(m_doc), before);
        EXPECT_EQ(Entries(path.parent_path()), filesBefore);
    }

    static size_t Entries(const fs::path& dir)
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    CTempDir m_dir;
    CTrevalinDoc m_doc;
};

// A small tmpfs mounted over a folder, when the tests run with the right to
// mount (as root in the CI container); unmounted at the end.
class SmallDisk {
public:
    explicit SmallDisk(const fs::path& where) : m_where(where)
    {
        fs::create_directory(where);
        m_mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted) {
            ::umount(m_where.c_str());
        }
    }
    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly() { return ::mount("tmpfs", m_where.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0; }

private:
    fs::path m_where;
    bool m_mounted = false;
};

TEST_F(DocumentSave, WritesTheProjectAndTakesThePath)
{
    const fs::path path = m_dir / "\xE9\xA1\xB9\xE7\x9B\xAE.tvl";
    m_doc.SetModifiedFlag(true);
    const CDocStatus status = m_doc.OnSaveDocument(path.string());
    ASSERT_TRUE(status.ok) << status.detail.Text();
    EXPECT_EQ(ReadBytes(path), Store(m_doc));
    EXPECT_EQ(m_doc.GetPathName(), path.string());
    EXPECT_EQ(m_doc.GetTitle(), "\xE9\xA1\xB9\xE7\x9B\xAE.tvl");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(Entries(m_dir.Path()), 1u); // no temporary file left behind

    // Saving again over the file gives the same bytes.
    const std::vector<uint8_t> first = ReadBytes(path);
    ASSERT_TRUE(m_doc.OnSaveDocument(path.string()).ok);
    EXPECT_EQ(ReadBytes(path), first);
}

TEST_F(DocumentSave, ReplacingKeepsPermissionsAndFollowsLinks)
{
    const fs::path real = m_dir / "real.tvl";
    WriteBytes(real, {1, 2, 3});
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.tvl", m_dir / "link.tvl");
    ASSERT_TRUE(m_doc.OnSaveDocument((m_dir / "link.tvl").string()).ok);
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.tvl"));
    EXPECT_EQ(ReadBytes(real), Store(m_doc));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(DocumentSave, FileSizeLimitLeavesTheOldFile)
{
    const fs::path path = m_dir / "p.tvl";
    const std::vector<uint8_t> old = {6, 0x5C, 0x61, 0x2E, 0x62, 0x6D, 0x70};
    WriteBytes(path, old);
    MakeBig();

    CFileSizeLimit small(4096);
    ASSERT_TRUE(small.Ok());
    ExpectFailedSaveKeeps(path, old, "文件过大。");
}

TEST_F(DocumentSave, FullDiskLeavesTheOldFile)
{
    SmallDisk disk(m_dir / "disk");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const fs::path path = m_dir / "disk" / "p.tvl";
    const std::vector<uint8_t> old = Store(m_doc);
    WriteBytes(path, old);
    MakeBig(); // 160 kB, more than the disk holds
    ExpectFailedSaveKeeps(path, old, "磁盘空间不足。");
}

TEST_F(DocumentSave, ReadOnlyFolderLeavesTheOldFile)
{
    const std::vector<uint8_t> old = Store(m_doc);
    AddLine(m_doc, 0, {{9, 9}});
    if (::geteuid() != 0) {
        const fs::path folder = m_dir / "ro";
        fs::create_directory(folder);
        WriteBytes(folder / "p.tvl", old);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ExpectFailedSaveKeeps(folder / "p.tvl", old, "没有访问权限。");
        fs::permissions(folder, fs::perms::owner_all);
        return;
    }
    SmallDisk disk(m_dir / "disk");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "root without the right to mount: permissions do not stop root";
    }
    WriteBytes(m_dir / "disk" / "p.tvl", old);
    ASSERT_TRUE(disk.MakeReadOnly());
    ExpectFailedSaveKeeps(m_dir / "disk" / "p.tvl", old, "磁盘是只读的。");
}

TEST_F(DocumentSave, DevicesFoldersAndMissingFoldersFail)
{
    const std::string before = Dump(m_doc);
    if (fs::exists("/dev/full")) {
        const CDocStatus status = m_doc.OnSaveDocument("/dev/full");
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message.Text(), "保存文档失败。");
        EXPECT_EQ(status.detail.Text(), "磁盘空间不足。");
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
    fs::create_directory(m_dir / "folder.tvl");
    CDocStatus status = m_doc.OnSaveDocument((m_dir / "folder.tvl").string());
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(fs::is_directory(m_dir / "folder.tvl"));
    status = m_doc.OnSaveDocument((m_dir / "missing" / "p.tvl").string());
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message.Text(), "保存文档失败。");
    EXPECT_EQ(Dump(m_doc), before);
}

} // namespace
