#include "geometry/CFeatureSet.h"
#include "geometry/CLineGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The same random lines (1 to 4 points, some far off or long) in `features`,
// some of them selected or hovered.
void Fill(CFeatureSet& features, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> coord(0, 200);
    std::uniform_int_distribution<int> step(-20, 20);
    for (CPointSets<int>& lines : features.m_sets) {
        for (int k = 0; k < 400; ++k) {
            CPointSet<int>& line = lines.Line(lines.Add());
            int x = coord(rng);
            int y = coord(rng);
            const int points = 1 + static_cast<int>(rng() % 4);
            for (int p = 0; p < points; ++p) {
                line.AddPoint(x, y, 0, 1);
                x += rng() % 50 == 0 ? 400 * step(rng) : step(rng);
                y += step(rng);
            }
            const unsigned state = rng() % 20;
            if (state == 0 && points >= 2) {
                line.m_nState = STATE_POINT_SELECTED;
                line.m_nSelPoint = 1;
            } else if (state == 1 && points >= 2) {
                line.m_nState = STATE_SEGMENT_SELECTED;
                line.m_nSelSegment = 0;
            } else if (state == 2) {
                line.MarkPoint(0);
            }
        }
    }
}

void ExpectSameStates(const CFeatureSet& a, const CFeatureSet& b)
{
    for (int m = 0; m < 2; ++m) {
        for (int32_t i = 0; i < a.m_sets[m].m_nCount; ++i) {
            const CPointSet<int>& x = a.m_sets[m].Line(i);
            const CPointSet<int>& y = b.m_sets[m].Line(i);
            ASSERT_EQ(x.m_nState, y.m_nState) << i;
            ASSERT_EQ(x.m_nSelPoint, y.m_nSelPoint) << i;
            ASSERT_EQ(x.m_nSelSegment, y.m_nSelSegment) << i;
        }
    }
}

// Each pick through the grid gives the line, point and marks the full scan
// gives, at random pointer positions (many of them over lines).
TEST(LineGrid, PicksAsTheScanDoes)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        CFeatureSet scanned;
        CFeatureSet indexed;
        Fill(scanned, seed);
        Fill(indexed, seed);
        CLineGrid grids[2];
        grids[0].Build(indexed.m_sets[0]);
        grids[1].Build(indexed.m_sets[1]);
        std::mt19937 rng(seed + 100);
        std::uniform_real_distribution<double> at(-30.0, 230.0);
        int hits = 0;
        for (int k = 0; k < 600; ++k) {
            const int image = k % 2;
            const double u = at(rng);
            const double v = at(rng);
            const double reach = 1.0 + k % 9;
            const int32_t picked = scanned.PickAt(u, v, image, reach);
            EXPECT_EQ(indexed.PickAt(u, v, image, reach, &grids[image]), picked);
            const CFeaturePoint pt{static_cast<int32_t>(u), static_cast<int32_t>(v), 0, 1, 0};
            const int32_t hit = scanned.HitTest(pt, image);
            EXPECT_EQ(indexed.HitTest(pt, image, &grids[image]), hit);
            const int32_t skip = k % 3 == 0 ? picked : -1;
            EXPECT_EQ(indexed.NearestPoint(image, u, v, reach, skip, &grids[image]),
                      scanned.NearestPoint(image, u, v, reach, skip));
            ExpectSameStates(scanned, indexed);
            // The grid's tests know every marked line (and touch only those).
            const std::vector<int32_t>* marked = indexed.MarkedLines(image);
            ASSERT_NE(marked, nullptr);
            for (int32_t i = 0; i < indexed.m_sets[image].m_nCount; ++i) {
                const CPointSet<int>& line = indexed.m_sets[image].Line(i);
                const bool has = line.m_nState != STATE_NONE || line.m_nSelPoint >= 0 || line.m_nSelSegment >= 0;
                ASSERT_EQ(has, std::binary_search(marked->begin(), marked->end(), i)) << i;
            }
            // A line taken out moves the others: the next test finds the
            // marks by a pass over every line.
            if (k == 300 + image) {
                scanned.m_sets[image].RemoveAt(0);
                indexed.m_sets[image].RemoveAt(0);
                grids[image].Build(indexed.m_sets[image]);
                EXPECT_EQ(indexed.MarkedLines(image), nullptr);
            }
            hits += picked >= 0 ? 1 : 0;
            hits += hit >= 0 ? 1 : 0;
        }
        EXPECT_GT(hits, 100); // the positions do fall on lines
    }
}

// Candidates come in line order, each once; a grid of other lines (or none
// built) is not used.
TEST(LineGrid, CandidatesAreOrderedAndStaleGridsIgnored)
{
    CFeatureSet features;
    Fill(features, 7);
    CLineGrid grid;
    grid.Build(features.m_sets[0]);
    std::vector<int32_t> out;
    grid.Candidates(-1e9, -1e9, 1e9, 1e9, out);
    std::vector<int32_t> every;
    for (int32_t i = 0; i < features.m_sets[0].m_nCount; ++i)
        every.push_back(i);
    EXPECT_EQ(out, every);
    grid.Candidates(5000, 5000, 5001, 5001, out);
    EXPECT_FALSE(out.empty());
    for (int32_t line : out) {
        const RECT box = features.m_sets[0].Line(line).GetBoundingRect();
        EXPECT_GT(box.right - box.left, 300) << line; // only the lines reaching far
    }
    CLineGrid empty;
    features.m_sets[0].Line(0).MarkMiss();
    const CFeaturePoint first = features.m_sets[0].Line(3).Point(0);
    EXPECT_EQ(features.NearestPoint(0, first.x, first.y, 0.0, -1, &empty).line,
              features.NearestPoint(0, first.x, first.y, 0.0, -1).line);
}

// A line moved after the grid was built is found where it went once
// touched; too many touched lines ask for a new grid.
TEST(LineGrid, TouchedLinesAreAlwaysCandidates)
{
    CFeatureSet scanned;
    CFeatureSet indexed;
    Fill(scanned, 9);
    Fill(indexed, 9);
    CLineGrid grid;
    grid.Build(indexed.m_sets[0]);
    for (CFeatureSet* features : {&scanned, &indexed}) {
        CPointSet<int>& line = features->m_sets[0].Line(17);
        line.m_nState = STATE_NONE;
        line.Point(0) = CFeaturePoint{900, 900, 0, 1, line.Point(0).label};
    }
    EXPECT_EQ(indexed.NearestPoint(0, 900, 900, 3.0, -1, &grid).line, -1); // not told yet
    EXPECT_TRUE(grid.Touch(17));
    EXPECT_EQ(indexed.NearestPoint(0, 900, 900, 3.0, -1, &grid).line, 17);
    EXPECT_EQ(indexed.PickAt(901, 899, 0, 5.0, &grid), scanned.PickAt(901, 899, 0, 5.0));
    ExpectSameStates(scanned, indexed);
    bool sound = true;
    for (int32_t i = 0; i <= static_cast<int32_t>(CLineGrid::kMaxTouched); ++i)
        sound = grid.Touch(i);
    EXPECT_FALSE(sound);
    EXPECT_FALSE(grid.Touch(-1));
}

} // namespace
