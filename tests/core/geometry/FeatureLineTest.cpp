#include "geometry/CFeatureSet.h"

#include <gtest/gtest.h>

namespace {

CFeaturePoint At(int32_t x, int32_t y)
{
    return CFeaturePoint{x, y, 0, 1, 0};
}

void AddLine(CPointSets<int>& set, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const int32_t i = set.Add();
    set.Line(i).AddPoint(x0, y0, 0, 1);
    set.Line(i).AddPoint(x1, y1, 0, 1);
}

TEST(PointSet, NewLineAndCollectionStartEmpty)
{
    CPointSet<int> line;
    EXPECT_EQ(line.m_nCount, 0);
    EXPECT_EQ(line.m_nSize, 2);
    EXPECT_EQ(line.m_nState, STATE_NONE);
    EXPECT_EQ(line.m_nSelPoint, -1);
    EXPECT_EQ(line.m_nSelSegment, -1);
    EXPECT_EQ(line.Point(0).x, 0);
    EXPECT_EQ(line.Point(1).w, 0);

    CPointSets<int> set;
    EXPECT_EQ(set.m_nCount, 0);
    EXPECT_EQ(set.m_nSize, 10);
    EXPECT_EQ(set.Line(9).m_nSize, 2) << "ten constructed lines";
}

TEST(PointSet, LabelsFollowIndexAndGrowthRule)
{
    CPointSet<int> line;
    line.m_nIndex = 3;
    line.AddPoint(1, 1, 0, 1);
    line.AddPoint(2, 2, 0, 1);
    EXPECT_EQ(line.Point(0).label, 6);
    EXPECT_EQ(line.Point(1).label, 7);
    line.AddPoint(3, 3, 0, 1);
    EXPECT_EQ(line.m_nSize, 4);
    EXPECT_EQ(line.Point(2).label, 32);
    line.AddPoint(4, 4, 0, 1);
    EXPECT_EQ(line.Point(3).label, 9);
    EXPECT_EQ(line.m_nSize, 4);
    EXPECT_EQ(line.Point(3).w, 1);
}

TEST(PointSets, EleventhAddGrowsAndReusesAfterRemoveAll)
{
    CPointSets<int> set;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(set.Add(), i);
    CPointSet<int>* first = &set.Line(0);
    EXPECT_EQ(set.Add(), 10);
    EXPECT_EQ(set.m_nSize, 20);
    EXPECT_EQ(&set.Line(0), first) << "growth keeps the existing line objects";
    set.Line(4).AddPoint(5, 5, 0, 1);
    set.Line(4).m_nState = STATE_POINT_SELECTED;
    set.RemoveAll();
    EXPECT_EQ(set.m_nCount, 0);
    EXPECT_EQ(set.m_nSize, 20);
    EXPECT_EQ(set.Line(4).m_nCount, 0);
    EXPECT_EQ(set.Line(4).m_nState, STATE_POINT_SELECTED) << "selection survives RemoveAll";
}

TEST(PointSet, BoundingBoxAndRect)
{
    CPointSet<int> line;
    CFeaturePoint mn, mx;
    line.GetBoundingBox(mn, mx);
    EXPECT_EQ(mn.x, 10000);
    EXPECT_EQ(mx.y, -10000);
    EXPECT_EQ(line.GetBoundingRect(), (RECT{9960, 9960, -9960, -9960}));
    line.AddPoint(120, 80, 0, 1);
    line.AddPoint(30, 200, 0, 1);
    EXPECT_EQ(line.GetBoundingRect(), (RECT{-10, 40, 160, 240}));
}

TEST(PointSet, PointTestIsInclusiveAtFive)
{
    CPointSet<int> line;
    line.AddPoint(100, 100, 0, 1);
    line.AddPoint(200, 100, 0, 1);
    EXPECT_EQ(line.HitTest(At(103, 104)), 1);
    EXPECT_EQ(line.m_nState, STATE_POINT_HOVER);
    EXPECT_EQ(line.m_nSelPoint, 0);
    EXPECT_EQ(line.HitTest(At(104, 104)), 0);
    EXPECT_EQ(line.m_nState, STATE_NONE);
    EXPECT_EQ(line.m_nSelPoint, -1);
}

TEST(PointSet, SegmentTestUsesSingleSlackAndRejectsAxisParallel)
{
    CPointSet<int> line;
    line.AddPoint(0, 0, 0, 1);
    line.AddPoint(100, 50, 0, 1);
    EXPECT_EQ(line.HitTest(At(50, 26)), 1);
    EXPECT_EQ(line.m_nState, STATE_SEGMENT_HOVER);
    EXPECT_EQ(line.m_nSelSegment, 0);
    EXPECT_EQ(line.HitTest(At(50, 46)), 0);

    CPointSet<int> flat;
    flat.AddPoint(0, 0, 0, 1);
    flat.AddPoint(100, 0, 0, 1);
    EXPECT_EQ(flat.HitTest(At(50, 0)), 0);
    EXPECT_EQ(flat.HitTest(At(96, 0)), 1);
    EXPECT_EQ(flat.m_nSelPoint, 1);

    CPointSet<int> single;
    single.AddPoint(10, 10, 0, 1);
    EXPECT_EQ(single.HitTest(At(10, 10)), 0) << "a one-point line is never hit";
}

TEST(PointSet, HitOrderPrefersLowerPointThenSegment)
{
    CPointSet<int> close;
    close.AddPoint(0, 0, 0, 1);
    close.AddPoint(6, 0, 0, 1);
    EXPECT_EQ(close.HitTest(At(3, 0)), 1);
    EXPECT_EQ(close.m_nSelPoint, 0);

    // Segment 0 runs (0,0)-(100,100); point 2 sits near the segment but far
    // from points 0 and 1.
    CPointSet<int> three;
    three.AddPoint(0, 0, 0, 1);
    three.AddPoint(100, 100, 0, 1);
    three.AddPoint(52, 48, 0, 1);
    EXPECT_EQ(three.HitTest(At(50, 50)), 1);
    EXPECT_EQ(three.m_nState, STATE_SEGMENT_HOVER);
    EXPECT_EQ(three.m_nSelSegment, 0);
}

TEST(PointSet, SelectedStatesSurviveMissesAndSameElement)
{
    CPointSet<int> line;
    line.AddPoint(0, 0, 0, 1);
    line.AddPoint(50, 0, 0, 1);
    line.m_nState = STATE_POINT_SELECTED;
    line.m_nSelPoint = 1;
    EXPECT_EQ(line.HitTest(At(25, 30)), 0);
    EXPECT_EQ(line.m_nState, STATE_POINT_SELECTED);
    EXPECT_EQ(line.m_nSelPoint, 1);
    EXPECT_EQ(line.HitTest(At(50, 1)), 1);
    EXPECT_EQ(line.m_nState, STATE_POINT_SELECTED);
    EXPECT_EQ(line.HitTest(At(0, 1)), 1);
    EXPECT_EQ(line.m_nState, STATE_POINT_HOVER);
    EXPECT_EQ(line.m_nSelPoint, 0);

    line.m_nState = STATE_SEGMENT_SELECTED;
    line.m_nSelSegment = 0;
    EXPECT_EQ(line.HitTest(At(25, 30)), 0);
    EXPECT_EQ(line.m_nState, STATE_SEGMENT_SELECTED);
    EXPECT_EQ(line.m_nSelSegment, 0);
    EXPECT_EQ(line.m_nSelPoint, 0) << "only the index of the kind hit changes";
}

TEST(PointSet, MoveSelectionMovesOnlySelectedElements)
{
    CPointSet<int> line;
    line.AddPoint(0, 0, 0, 1);
    line.AddPoint(10, 10, 0, 1);
    line.AddPoint(20, 20, 0, 1);
    for (int32_t state : {STATE_NONE, STATE_POINT_HOVER, STATE_SEGMENT_HOVER}) {
        line.m_nState = state;
        line.m_nSelPoint = 0;
        line.m_nSelSegment = 0;
        line.MoveSelection(At(5, 7));
        EXPECT_EQ(line.Point(0).x, 0);
        EXPECT_EQ(line.Point(1).y, 10);
    }
    line.m_nState = STATE_POINT_SELECTED;
    line.m_nSelPoint = 2;
    line.MoveSelection(At(5, 7));
    EXPECT_EQ(line.Point(2).x, 25);
    EXPECT_EQ(line.Point(2).y, 27);
    line.m_nState = STATE_SEGMENT_SELECTED;
    line.m_nSelSegment = 0;
    line.MoveSelection(At(-1, 2));
    EXPECT_EQ(line.Point(0).x, -1);
    EXPECT_EQ(line.Point(1).y, 12);
    EXPECT_EQ(line.Point(2).x, 25);
}

TEST(FeaturePoint, InterpolateTruncatesTowardZero)
{
    const CFeaturePoint a = At(10, 10);
    const CFeaturePoint b = At(0, 20);
    const CFeaturePoint r = a.Interpolate(0.25, b);
    EXPECT_EQ(r.x, 8);
    EXPECT_EQ(r.y, 12);
    EXPECT_EQ(r.w, 1);
    EXPECT_EQ(a.Interpolate(0.0, b).x, 10);
    EXPECT_EQ(a.Interpolate(1.0, b).y, 20);
    const CFeaturePoint far = At(INT32_MIN, INT32_MAX);
    EXPECT_EQ(far.Interpolate(1.0, At(INT32_MAX, INT32_MIN)).x, INT32_MAX);
}

TEST(FeatureSet, HitTestReturnsFirstLineAndLeavesLaterLines)
{
    CFeatureSet fs;
    AddLine(fs.m_sets[1], 0, 0, 100, 100);
    AddLine(fs.m_sets[1], 0, 0, 100, 100);
    fs.m_sets[1].Line(1).m_nState = STATE_POINT_HOVER;
    fs.m_sets[1].Line(1).m_nSelPoint = 1;
    EXPECT_EQ(fs.HitTest(At(1, 1), 1), 0);
    EXPECT_EQ(fs.m_sets[1].Line(1).m_nState, STATE_POINT_HOVER);
    EXPECT_EQ(fs.HitTest(At(1, 1), 0), -1);
    EXPECT_EQ(fs.HitTest(At(500, 1), 1), -1);
    EXPECT_EQ(fs.m_sets[1].Line(1).m_nState, STATE_NONE);
}

} // namespace
