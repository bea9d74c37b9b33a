#include "support/CFileSizeLimit.h"
#include "support/TestFiles.h"
#include "files/CPosixFile.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kBlock = CPosixFile::kDirectBlock;

// Appends of sizes around blocks and the stage, patches of bytes already on
// the device, still held and straddling both, and a truncation (which ends
// direct writing): the file holds what ordinary writes would have made.
TEST(PosixFileTest, DirectWritesLeaveTheSameBytes)
{
    CTempDir dir;
    const std::string path = (dir / "video.avi").string();
    CPosixFile file;
    ASSERT_EQ(file.Open(path, CPosixFile::kCreateNew), 0);
    file.PreferDirect();
    std::vector<uint8_t> want;
    uint8_t next = 1;
    const auto append = [&](size_t size) {
        std::vector<uint8_t> bytes(size);
        for (uint8_t& b : bytes) {
            b = next++;
        }
        want.insert(want.end(), bytes.begin(), bytes.end());
        return file.Write(bytes.data(), bytes.size());
    };
    const auto patch = [&](uint64_t at, uint32_t value) {
        std::memcpy(want.data() + at, &value, 4);
        return file.WriteAt(at, &value, 4);
    };
    for (size_t size : {size_t{8}, kBlock - 3, size_t{5}, CPosixFile::kDirectStage + 7, 3 * kBlock, size_t{1}}) {
        ASSERT_TRUE(append(size)) << size;
    }
    const bool direct = file.IsDirect(); // where the file system allows it
    ASSERT_TRUE(patch(4, 0xdeadbeef));
    ASSERT_TRUE(patch(want.size() - 6, 0x01020304));
    ASSERT_TRUE(patch(want.size() / kBlock * kBlock - 2, 0x0a0b0c0d));
    ASSERT_TRUE(append(2 * CPosixFile::kDirectStage + 11));
    EXPECT_EQ(file.IsDirect(), direct);
    EXPECT_EQ(file.Position(), want.size());
    ASSERT_TRUE(file.Truncate(want.size() - 100));
    want.resize(want.size() - 100);
    EXPECT_FALSE(file.IsDirect());
    ASSERT_TRUE(append(kBlock + 9));
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(testfiles::ReadBytes(path), want);
}

// A write past the file size limit fails at that call, with its cause.
TEST(PosixFileTest, DirectWriteFailuresAreReportedAtOnce)
{
    CTempDir dir;
    CPosixFile file;
    ASSERT_EQ(file.Open((dir / "full.avi").string(), CPosixFile::kCreateNew), 0);
    file.PreferDirect();
    const std::vector<uint8_t> bytes(3 * kBlock + 5, 7);
    CFileSizeLimit full(5 * kBlock);
    ASSERT_TRUE(full.Ok());
    EXPECT_TRUE(file.Write(bytes.data(), bytes.size()));
    EXPECT_FALSE(file.Write(bytes.data(), bytes.size()));
    EXPECT_EQ(file.Error(), EFBIG);
}

} // namespace
