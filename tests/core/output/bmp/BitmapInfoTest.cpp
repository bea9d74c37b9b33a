#include "morph/CBitmap.h"
#include "output/bmp/CBitmapInfo.h"

#include <gtest/gtest.h>

namespace {

BITMAP Description(int32_t width, int32_t height, uint16_t planes, uint16_t bits)
{
    BITMAP bm;
    bm.bmWidth = width;
    bm.bmHeight = height;
    bm.bmPlanes = planes;
    bm.bmBitsPixel = bits;
    bm.bmWidthBytes = CBitmap::RowPitch(width, bits);
    return bm;
}

struct DepthCase {
    uint16_t planes;
    uint16_t bits;
    uint16_t rounded;
};

} // namespace

TEST(BitmapInfoTest, RoundedDepthFollowsTheTable)
{
    const DepthCase cases[] = {
        {1, 1, 1},
        {1, 0, 4},
        {1, 2, 4},
        {1, 3, 4},
        {1, 4, 4},
        {1, 5, 8},
        {1, 8, 8},
        {1, 9, 16},
        {1, 16, 16},
        {1, 17, 24},
        {1, 24, 24},
        {1, 25, 32},
        {1, 32, 32},
        {3, 8, 24},
        {2, 1, 4},
        {4, 1, 4},
        {2, 4, 8},
        {4, 8, 32},
        {2, 12, 24},
        // The product is a 16-bit value: 2 x 32768 wraps to 0, 257 x 256 to 256.
        {2, 32768, 4},
        {257, 256, 32},
    };
    for (const DepthCase& c : cases) {
        EXPECT_EQ(CBitmapInfo::RoundedDepth(c.planes, c.bits), c.rounded) << c.planes << " x " << c.bits;
    }
}

TEST(BitmapInfoTest, HeaderFieldsForEachDisplayDepth)
{
    struct Case {
        uint16_t bits;
        int32_t width;
        uint32_t imageSize; // for height 5
        uint32_t colours;
    };
    const Case cases[] = {
        {1, 3, 4 * 5, 2},      {1, 33, 8 * 5, 2}, {4, 9, 8 * 5, 16},  {8, 5, 8 * 5, 256},
        {16, 3, 8 * 5, 65536}, {24, 1, 4 * 5, 0}, {24, 3, 12 * 5, 0}, {32, 3, 12 * 5, 0},
    };
    for (const Case& c : cases) {
        const auto info = MakeBitmapHeader(Description(c.width, 5, 1, c.bits));
        ASSERT_NE(info, nullptr);
        const BITMAPINFOHEADER& h = info->header;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, c.width);
        EXPECT_EQ(h.biHeight, 5);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, c.bits);
        EXPECT_EQ(h.biCompression, 0u);
        EXPECT_EQ(h.biSizeImage, c.imageSize) << c.bits << " bits, width " << c.width;
        EXPECT_EQ(h.biXPelsPerMeter, 0);
        EXPECT_EQ(h.biYPelsPerMeter, 0);
        EXPECT_EQ(h.biClrUsed, c.colours) << c.bits << " bits";
        EXPECT_EQ(h.biClrImportant, 0u);
        EXPECT_EQ(info->colours.size(), c.colours);
        EXPECT_EQ(info->BlockSize(), 40 + 4 * static_cast<size_t>(c.colours));
    }
}

TEST(BitmapInfoTest, BitCountIsTheBitmapsOwnAndSizesUseTheRoundedDepth)
{
    // 3 bits per pixel rounds to 4: rows of 10 pixels take 40 bits -> 8 bytes.
    const auto info = MakeBitmapHeader(Description(10, 2, 1, 3));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->header.biBitCount, 3);
    EXPECT_EQ(info->header.biSizeImage, 16u);
    EXPECT_EQ(info->header.biClrUsed, 16u);

    // Two planes of 12 bits make 24: no colour table, 3-byte pixels.
    const auto planar = MakeBitmapHeader(Description(5, 1, 2, 12));
    ASSERT_NE(planar, nullptr);
    EXPECT_EQ(planar->header.biPlanes, 2);
    EXPECT_EQ(planar->header.biBitCount, 12);
    EXPECT_EQ(planar->header.biSizeImage, 16u);
    EXPECT_EQ(planar->header.biClrUsed, 0u);
}

TEST(BitmapInfoTest, BlockIsLittleEndianHeaderThenZeroColourTable)
{
    const auto info = MakeBitmapHeader(Description(0x0102, 0x0304, 1, 1));
    ASSERT_NE(info, nullptr);
    const std::vector<uint8_t> block = info->Block();
    ASSERT_EQ(block.size(), 48u);
    const std::vector<uint8_t> expectedHead = {40, 0, 0, 0, 0x02, 0x01, 0, 0, 0x04, 0x03, 0, 0, 1, 0, 1, 0};
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 16), expectedHead);
    // Image size: rows of 0x102 bits -> 36 bytes, times 0x304 rows.
    const uint32_t imageSize = 36u * 0x304u;
    EXPECT_EQ(block[20] | block[21] << 8 | block[22] << 16 | block[23] << 24, static_cast<int>(imageSize));
    EXPECT_EQ(block[32], 2); // colours used
    for (size_t i = 40; i < 48; ++i) {
        EXPECT_EQ(block[i], 0) << i;
    }
}

TEST(BitmapInfoTest, MakeBitmapInfoDescribesTheBitmapOrNothing)
{
    CBitmap bitmap;
    EXPECT_EQ(MakeBitmapInfo(bitmap), nullptr);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(3, 2));
    const auto info = MakeBitmapInfo(bitmap);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->header.biWidth, 3);
    EXPECT_EQ(info->header.biHeight, 2);
    EXPECT_EQ(info->header.biBitCount, 32);
    EXPECT_EQ(info->header.biSizeImage, 24u);
    EXPECT_EQ(info->header.biClrUsed, 0u);
}

TEST(BitmapInfoTest, ImpossibleDescriptionsGiveNoBlock)
{
    EXPECT_EQ(MakeBitmapHeader(Description(-1, 2, 1, 32)), nullptr);
    EXPECT_EQ(MakeBitmapHeader(Description(2, -1, 1, 32)), nullptr);
    // 65536 x 65536 x 4 bytes does not fit the 32-bit image size.
    EXPECT_EQ(MakeBitmapHeader(Description(65536, 65536, 1, 32)), nullptr);
    EXPECT_NE(MakeBitmapHeader(Description(0, 0, 1, 32)), nullptr);
}
