#include "geometry/CFeatureSet.h"
#include "geometry/CLinePairs.h"
#include "geometry/CLineSnapshot.h"

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

TEST(PointSets, RemoveAtRenumbersAndKeepsTheLineObject)
{
    CPointSets<int> set;
    for (int i = 0; i < 4; ++i)
        AddLine(set, 10 * i, 0, 10 * i + 5, 5);
    set.Line(3).AddPoint(1, 1, 0, 1); // grown: label 2 + 10 x 3
    ASSERT_EQ(set.Line(3).Point(2).label, 32);
    CPointSet<int>* gone = &set.Line(1);
    gone->m_nState = STATE_POINT_SELECTED;
    gone->m_nSelPoint = 1;

    ASSERT_TRUE(set.RemoveAt(1));
    EXPECT_EQ(set.m_nCount, 3);
    EXPECT_EQ(&set.Line(3), gone) << "the line taken out is the first spare slot";
    EXPECT_EQ(gone->m_nCount, 0);
    EXPECT_EQ(gone->m_nState, STATE_NONE);
    // Lines 0, 1, 2 carry labels 0..5 again; the grown point keeps its kind.
    const int32_t labels[3][3] = {{0, 1, -1}, {2, 3, -1}, {4, 5, 22}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(set.Line(i).m_nIndex, i);
        for (int j = 0; j < set.Line(i).m_nCount; ++j)
            EXPECT_EQ(set.Line(i).Point(j).label, labels[i][j]) << i << j;
    }
    EXPECT_EQ(set.Line(1).Point(0).x, 20);
    EXPECT_FALSE(set.RemoveAt(3));
    EXPECT_FALSE(set.RemoveAt(-1));

    // Putting a line back at 1 renumbers the others as they were and reuses
    // the spare line; an insert into a full collection grows it by ten.
    CPointSet<int>& back = set.InsertAt(1);
    EXPECT_EQ(&back, gone);
    back.AddPoint(10, 0, 0, 1);
    back.AddPoint(15, 5, 0, 1);
    EXPECT_EQ(back.Point(1).label, 3);
    EXPECT_EQ(set.Line(3).Point(2).label, 32);
    EXPECT_EQ(set.Line(2).Point(0).label, 4);
    for (int i = 4; i < 10; ++i)
        AddLine(set, i, i, i + 9, i + 9);
    EXPECT_EQ(set.InsertAt(0).m_nIndex, 0);
    EXPECT_EQ(set.m_nSize, 20);
    EXPECT_EQ(set.m_nCount, 11);
    EXPECT_EQ(set.Line(1).Point(1).label, 3) << "old line 0 is line 1 now";
}

TEST(FeatureSet, PickAtTakesPointsBeforeSegmentsAndSelectionFirst)
{
    // Line 0 runs (0,0)-(100,100); line 1 has a point on line 0's segment.
    CFeatureSet fs;
    AddLine(fs.m_sets[0], 0, 0, 100, 100);
    AddLine(fs.m_sets[0], 50, 50, 90, 10);
    // HitTest keeps its order: the segment of line 0 wins there.
    EXPECT_EQ(fs.HitTest(At(50, 50), 0), 0);
    EXPECT_EQ(fs.m_sets[0].Line(0).m_nState, STATE_SEGMENT_HOVER);

    EXPECT_EQ(fs.PickAt(50, 50, 0, 5.0), 1);
    EXPECT_EQ(fs.m_sets[0].Line(1).m_nState, STATE_POINT_HOVER);
    EXPECT_EQ(fs.m_sets[0].Line(1).m_nSelPoint, 0);
    EXPECT_EQ(fs.m_sets[0].Line(0).m_nState, STATE_NONE) << "every other line misses";

    const struct {
        double u, v, reach;
        int32_t line, state, point;
    } cases[] = {
        {53.9, 50, 5.0, 1, STATE_POINT_HOVER, 0},    // within reach, real position
        {55.5, 50, 5.0, 0, STATE_SEGMENT_HOVER, -1}, // beyond reach: the segment
        {51.0, 50, 1.25, 1, STATE_POINT_HOVER, 0},   // a small reach (zoomed in)
        {88.0, 12, 5.0, 1, STATE_POINT_HOVER, 1},    // the nearer of two points
        {300, 300, 5.0, -1, STATE_NONE, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs.PickAt(c.u, c.v, 0, c.reach), c.line) << c.u << "," << c.v;
        if (c.line >= 0) {
            EXPECT_EQ(fs.m_sets[0].Line(c.line).m_nState, c.state) << c.u;
            if (c.point >= 0) {
                EXPECT_EQ(fs.m_sets[0].Line(c.line).m_nSelPoint, c.point) << c.u;
            }
        }
    }

    // A selected segment wins over another line's segment, a selected point
    // over a nearer one.
    AddLine(fs.m_sets[0], 0, 100, 100, 0); // crosses line 0 at (50, 50)
    fs.m_sets[0].Line(1).m_nCount = 0;
    fs.m_sets[0].Line(2).m_nState = STATE_SEGMENT_SELECTED;
    fs.m_sets[0].Line(2).m_nSelSegment = 0;
    EXPECT_EQ(fs.PickAt(50, 50, 0, 5.0), 2);
    EXPECT_EQ(fs.m_sets[0].Line(2).m_nState, STATE_SEGMENT_SELECTED);
    fs.m_sets[0].Line(0).m_nState = STATE_POINT_SELECTED;
    fs.m_sets[0].Line(0).m_nSelPoint = 1;
    AddLine(fs.m_sets[0], 99, 99, 0, 50);
    EXPECT_EQ(fs.PickAt(99, 99, 0, 5.0), 0);
    EXPECT_EQ(fs.m_sets[0].Line(0).m_nState, STATE_POINT_SELECTED);
    EXPECT_EQ(fs.m_sets[0].Line(2).m_nState, STATE_SEGMENT_SELECTED) << "a miss keeps a selection";
}

TEST(FeatureSet, PickAtTakesSegmentsByTrueDistanceInEveryDirection)
{
    // Horizontal, vertical and diagonal, each drawn both ways; the pointer
    // 4.5 pixels to one side of the middle, or beyond the reach.
    const struct {
        int32_t x0, y0, x1, y1;
        double u, v;   // within reach
        double fu, fv; // just beyond it
    } cases[] = {
        {10, 50, 190, 50, 100, 54.5, 100, 55.5},    {190, 50, 10, 50, 100, 45.5, 100, 44.5},
        {50, 10, 50, 190, 54.5, 100, 55.5, 100},    {50, 190, 50, 10, 45.5, 100, 44.5, 100},
        {10, 10, 110, 110, 63.0, 57.0, 64.0, 56.0}, {110, 110, 10, 10, 57.0, 63.0, 56.0, 64.0},
        {10, 110, 110, 10, 63.0, 63.0, 64.0, 64.0},
    };
    for (const auto& c : cases) {
        CFeatureSet fs;
        AddLine(fs.m_sets[1], c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(fs.PickAt(c.u, c.v, 1, 5.0), 0) << c.x0 << "," << c.y0 << " " << c.u << "," << c.v;
        EXPECT_EQ(fs.m_sets[1].Line(0).m_nState, STATE_SEGMENT_HOVER);
        EXPECT_EQ(fs.PickAt(c.fu, c.fv, 1, 5.0), -1) << c.x0 << "," << c.y0 << " " << c.fu << "," << c.fv;
        // A small reach (zoomed in) holds the same way.
        EXPECT_EQ(fs.PickAt(c.u, c.v, 1, 1.25), -1);
    }
    // The nearer of two segments; the historical test would take neither.
    CFeatureSet fs;
    AddLine(fs.m_sets[0], 0, 40, 200, 40);
    AddLine(fs.m_sets[0], 0, 44, 200, 44);
    EXPECT_EQ(fs.HitTest(At(100, 43), 0), -1);
    EXPECT_EQ(fs.PickAt(100, 43, 0, 5.0), 1);
    EXPECT_EQ(fs.PickAt(100, 41.5, 0, 5.0), 0);
    EXPECT_EQ(fs.m_sets[0].Line(1).m_nState, STATE_NONE);
    // Past an end only the end's distance counts.
    EXPECT_DOUBLE_EQ(fs.m_sets[0].Line(0).SegmentDistance(0, 203, 44), 5.0);
    EXPECT_DOUBLE_EQ(fs.m_sets[0].Line(0).SegmentDistance(0, -3, 36), 5.0);
    EXPECT_EQ(fs.m_sets[0].Line(0).SegmentDistance(1, 0, 0), -1.0) << "no such segment";
}

TEST(FeatureSet, NearestPointSkipsOneLineAndSelectPairMarksBothImages)
{
    CFeatureSet fs;
    for (CPointSets<int>& lines : fs.m_sets) {
        AddLine(lines, 10, 10, 50, 50);
        AddLine(lines, 12, 10, 90, 90);
        AddLine(lines, 100, 100, 140, 140);
    }
    using Ref = CFeatureSet::PointRef;
    EXPECT_EQ(fs.NearestPoint(0, 10.9, 10, 5.0, -1), (Ref{0, 0}));
    EXPECT_EQ(fs.NearestPoint(0, 11.1, 10, 5.0, -1), (Ref{1, 0}));
    EXPECT_EQ(fs.NearestPoint(0, 11.1, 10, 5.0, 1), (Ref{0, 0})) << "the skipped line";
    EXPECT_EQ(fs.NearestPoint(1, 54, 53, 5.0, -1), (Ref{0, 1}));
    EXPECT_FALSE(fs.NearestPoint(1, 56, 53, 5.0, -1).IsValid());
    EXPECT_FALSE(fs.NearestPoint(2, 10, 10, 5.0, -1).IsValid());

    fs.m_sets[0].Line(0).m_nState = STATE_POINT_SELECTED;
    fs.m_sets[0].Line(0).m_nSelPoint = 1;
    fs.SelectPair(2);
    for (const CPointSets<int>& lines : fs.m_sets) {
        EXPECT_EQ(lines.Line(0).m_nState, STATE_NONE);
        EXPECT_EQ(lines.Line(0).m_nSelPoint, -1);
        EXPECT_EQ(lines.Line(2).m_nState, STATE_SEGMENT_SELECTED);
        EXPECT_EQ(lines.Line(2).m_nSelSegment, 0);
    }
    AddLine(fs.m_sets[0], 1, 1, 2, 2);
    fs.SelectPair(3); // only the source has it: nothing changes
    EXPECT_EQ(fs.m_sets[0].Line(2).m_nState, STATE_SEGMENT_SELECTED);
    EXPECT_EQ(fs.m_sets[0].Line(3).m_nState, STATE_NONE);
}

TEST(LineSnapshot, PutsBackPointsAndLabels)
{
    CPointSets<int> set;
    AddLine(set, 1, 2, 3, 4);
    set.Line(0).AddPoint(5, 6, 0, 1);
    set.Line(0).Point(1).label = 77;
    const std::vector<CLineSnapshot> before = CLineSnapshot::TakeAll(set);
    set.Line(0).m_nCount = 1;
    set.Line(0).Point(0).x = 40;
    CLineSnapshot::ApplyAll(before, set);
    EXPECT_EQ(CLineSnapshot::TakeAll(set), before);
    EXPECT_EQ(set.Line(0).m_nCount, 3);
    EXPECT_EQ(set.Line(0).Point(1).label, 77);
}

TEST(LinePairs, TakeTheFirstTwoPointsOfEachPairAndHalve)
{
    CFeatureSet lines;
    AddLine(lines.m_sets[0], 1, 2, 3, 4);
    AddLine(lines.m_sets[1], -5, 6, 7, -8);
    lines.m_sets[0].Line(0).AddPoint(90, 90, 0, 1); // a third point is not the engines'
    lines.m_sets[0].Line(lines.m_sets[0].Add()).AddPoint(11, 12, 0, 1);
    lines.m_sets[1].Add();                // no points
    AddLine(lines.m_sets[1], 0, 0, 9, 9); // no partner
    const CLinePairs pairs(lines);
    ASSERT_EQ(pairs.Count(), 2);
    EXPECT_EQ(pairs[0], (CLinePairs::Pair{{{1, 2, 3, 4}, {-5, 6, 7, -8}}}));
    EXPECT_EQ(pairs[1], (CLinePairs::Pair{{{11, 12, 11, 12}, {0, 0, 0, 0}}})) << "without length";
    EXPECT_FALSE(pairs[1].side[0].HasLength());
    const CLinePairs half = pairs.Halved();
    ASSERT_EQ(half.Count(), 2);
    EXPECT_EQ(half[0], (CLinePairs::Pair{{{0, 1, 1, 2}, {-3, 3, 3, -4}}})) << "rounding down";
    EXPECT_EQ(half[1], (CLinePairs::Pair{{{5, 6, 5, 6}, {0, 0, 0, 0}}}));
}

} // namespace
