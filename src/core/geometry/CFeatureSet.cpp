#include "CFeatureSet.h"

#include "CLineGrid.h"

#include <cmath>

namespace {
// CPointSet::HitTest finds a point within 5 of the pointer or a segment
// whose box holds it: nothing farther than this from a line's box.
constexpr double kHitReach = 5.0;
} // namespace

const std::vector<int32_t>* CFeatureSet::Near(int32_t image, double u, double v, double reach,
                                              const CLineGrid* index) const
{
    if (index == nullptr || index->LineCount() != m_sets[image].m_nCount) return nullptr;
    // A margin of a pixel beyond the reach keeps rounding on the safe side.
    const double r = reach + 1.0;
    index->Candidates(u - r, v - r, u + r, v + r, m_near);
    return &m_near;
}

int32_t CFeatureSet::HitTest(const CFeaturePoint& pt, int32_t image, const CLineGrid* index)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    const std::vector<int32_t>* near = Near(image, pt.x, pt.y, kHitReach, index);
    if (near == nullptr) {
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
            if (lines.Line(i).HitTest(pt) == 1) {
                return i;
            }
        }
        return -1;
    }
    // The lines that cannot be hit are only marked as missed, up to the
    // first line hit, as the plain scan marks them.
    int32_t next = 0;
    for (const int32_t i : *near) {
        for (; next < i; ++next)
            lines.Line(next).MarkMiss();
        next = i + 1;
        if (lines.Line(i).HitTest(pt) == 1) {
            return i;
        }
    }
    for (; next < lines.m_nCount; ++next)
        lines.Line(next).MarkMiss();
    return -1;
}

int32_t CFeatureSet::PickAt(double u, double v, int32_t image, double reach, const CLineGrid* index)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    std::vector<int32_t> all;
    const std::vector<int32_t>* near = Near(image, u, v, reach, index);
    if (near == nullptr) {
        all.resize(static_cast<size_t>(lines.m_nCount));
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            all[static_cast<size_t>(i)] = i;
        near = &all;
    }
    int32_t found = -1;
    int32_t element = -1;
    bool point = true;
    // A selected point under the pointer.
    for (const int32_t i : *near) {
        const CPointSet<int>& line = lines.Line(i);
        if (line.m_nState == STATE_POINT_SELECTED && line.IsNearPoint(line.m_nSelPoint, u, v, reach)) {
            found = i;
            element = line.m_nSelPoint;
            break;
        }
    }
    // The nearest point; the lower line on a tie.
    if (found < 0) {
        double nearest = 0.0;
        for (const int32_t i : *near) {
            double d = 0.0;
            const int32_t j = lines.Line(i).NearestPoint(u, v, reach, &d);
            if (j >= 0 && (found < 0 || d < nearest)) {
                found = i;
                element = j;
                nearest = d;
            }
        }
    }
    // A selected segment, then the nearest segment; the lower line on a tie.
    for (const int32_t i : *near) {
        if (found >= 0) break;
        const CPointSet<int>& line = lines.Line(i);
        const double d = line.SegmentDistance(line.m_nSelSegment, u, v);
        if (line.m_nState == STATE_SEGMENT_SELECTED && d >= 0.0 && d <= reach) {
            found = i;
            element = line.m_nSelSegment;
            point = false;
        }
    }
    if (found < 0) {
        double nearest = 0.0;
        for (const int32_t i : *near) {
            double d = 0.0;
            const int32_t j = lines.Line(i).NearestSegment(u, v, reach, &d);
            if (j >= 0 && (found < 0 || d < nearest)) {
                found = i;
                element = j;
                nearest = d;
                point = false;
            }
        }
    }
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        CPointSet<int>& line = lines.Line(i);
        if (i != found) {
            line.MarkMiss();
        } else if (point) {
            line.MarkPoint(element);
        } else {
            line.MarkSegment(element);
        }
    }
    return found;
}

CFeatureSet::PointRef CFeatureSet::NearestPoint(int32_t image, double u, double v, double reach, int32_t skipLine,
                                                const CLineGrid* index) const
{
    PointRef best;
    if (image < 0 || image > 1) return best;
    const CPointSets<int>& lines = m_sets[image];
    const std::vector<int32_t>* near = Near(image, u, v, reach, index);
    double nearest = 0.0;
    auto test = [&](int32_t i) {
        const CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; i != skipLine && j < line.m_nCount; ++j) {
            const double dx = u - line.Point(j).x;
            const double dy = v - line.Point(j).y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= reach && (!best.IsValid() || d < nearest)) {
                best = PointRef{i, j};
                nearest = d;
            }
        }
    };
    if (near == nullptr) {
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            test(i);
    } else {
        for (const int32_t i : *near)
            test(i);
    }
    return best;
}

void CFeatureSet::SelectPair(int32_t line)
{
    if (line < 0 || line >= m_sets[0].m_nCount || line >= m_sets[1].m_nCount) return;
    for (CPointSets<int>& lines : m_sets) {
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
            CPointSet<int>& each = lines.Line(i);
            const bool chosen = i == line && each.m_nCount >= 2;
            each.m_nState = chosen ? STATE_SEGMENT_SELECTED : STATE_NONE;
            each.m_nSelSegment = chosen ? 0 : -1;
            each.m_nSelPoint = -1;
        }
    }
}
