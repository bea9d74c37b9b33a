#include "faces/CFaceLinePairs.h"
#include "geometry/CFeatureSet.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Landmark i at (10 + 3 i, 20 + 2 i), moved by (dx, dy).
CFaceLandmarks Synthetic(double dx, double dy)
{
    CFaceLandmarks face;
    for (int i = 0; i < CFaceLandmarks::kCount; ++i)
        face.points[static_cast<size_t>(i)] = {10.0 + 3 * i + dx, 20.0 + 2 * i + dy};
    return face;
}

TEST(FaceLinePairsTest, FaceLinesJoinTheirLandmarksInOrderThenTheBorders)
{
    const auto lines = CFaceLinePairs::Lines(Synthetic(0.4, -0.4), 640, 480);
    ASSERT_EQ(static_cast<int32_t>(lines.size()), CFaceLinePairs::kCount);
    EXPECT_EQ(CFaceLinePairs::kCount, 26);
    for (size_t i = 0; i < CFaceLinePairs::kFaceLines.size(); ++i) {
        const CFaceLinePairs::Joint joint = CFaceLinePairs::kFaceLines[i];
        EXPECT_EQ(lines[i][0], (CFeaturePoint{10 + 3 * joint.from, 20 + 2 * joint.from, 0, 1, 0})) << i;
        EXPECT_EQ(lines[i][1], (CFeaturePoint{10 + 3 * joint.to, 20 + 2 * joint.to, 0, 1, 0})) << i;
    }
    const CFeaturePoint corners[4] = {{0, 0, 0, 1, 0}, {639, 0, 0, 1, 0}, {639, 479, 0, 1, 0}, {0, 479, 0, 1, 0}};
    for (int i = 0; i < CFaceLinePairs::kBorderLines; ++i) {
        EXPECT_EQ(lines[22 + i][0], corners[i]);
        EXPECT_EQ(lines[22 + i][1], corners[(i + 1) % 4]);
    }
}

TEST(FaceLinePairsTest, TableCoversEveryFeatureWithDistinctLandmarks)
{
    std::set<int32_t> used;
    for (const CFaceLinePairs::Joint& joint : CFaceLinePairs::kFaceLines) {
        EXPECT_NE(joint.from, joint.to);
        EXPECT_TRUE(joint.from >= 0 && joint.to < CFaceLandmarks::kCount);
        used.insert({joint.from, joint.to});
    }
    // Jaw ends and chin, brow ends, eye corners, nose, mouth corners.
    for (int32_t landmark : {0, 8, 16, 17, 21, 22, 26, 36, 39, 42, 45, 27, 30, 31, 35, 48, 54, 61, 65})
        EXPECT_EQ(used.count(landmark), 1u) << landmark;
}

TEST(FaceLinePairsTest, LandmarksOutsideThePictureAreKeptInside)
{
    const auto lines = CFaceLinePairs::Lines(Synthetic(-100.0, 500.0), 100, 300);
    for (const auto& line : lines) {
        for (const CFeaturePoint& p : line) {
            EXPECT_TRUE(p.x >= 0 && p.x < 100 && p.y >= 0 && p.y < 300);
        }
    }
}

TEST(FaceLinePairsTest, AppendKeepsTheLinesThereAndPairsTheNewOnes)
{
    CFeatureSet set;
    for (int image : {0, 1}) {
        CPointSet<int>& line = set.m_sets[image].Line(set.m_sets[image].Add());
        line.AddPoint(1, 2, 0, 1);
        line.AddPoint(3, 4, 0, 1);
    }
    const auto source = CFaceLinePairs::Lines(Synthetic(0, 0), 640, 480);
    const auto target = CFaceLinePairs::Lines(Synthetic(30, 40), 800, 600);
    EXPECT_EQ(CFaceLinePairs::Append(set, source, target), 1);
    for (int image : {0, 1}) {
        const CPointSets<int>& lines = set.m_sets[image];
        ASSERT_EQ(lines.m_nCount, 1 + CFaceLinePairs::kCount);
        EXPECT_EQ(lines.Line(0).Point(1).x, 3);
        const auto& expected = image == 0 ? source : target;
        for (int32_t i = 0; i < CFaceLinePairs::kCount; ++i) {
            const CPointSet<int>& line = lines.Line(1 + i);
            ASSERT_EQ(line.m_nCount, 2);
            EXPECT_EQ(line.m_nIndex, 1 + i);
            for (int p : {0, 1}) {
                EXPECT_EQ(line.Point(p).x, expected[static_cast<size_t>(i)][static_cast<size_t>(p)].x);
                EXPECT_EQ(line.Point(p).y, expected[static_cast<size_t>(i)][static_cast<size_t>(p)].y);
            }
        }
    }
}

} // namespace
