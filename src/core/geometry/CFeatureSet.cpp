#include "CFeatureSet.h"

#include <cmath>

int32_t CFeatureSet::HitTest(const CFeaturePoint& pt, int32_t image)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        if (lines.Line(i).HitTest(pt) == 1) {
            return i;
        }
    }
    return -1;
}

int32_t CFeatureSet::PickAt(double u, double v, int32_t image, double reach)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    int32_t found = -1;
    int32_t element = -1;
    bool point = true;
    // A selected point under the pointer.
    for (int32_t i = 0; found < 0 && i < lines.m_nCount; ++i) {
        const CPointSet<int>& line = lines.Line(i);
        if (line.m_nState == STATE_POINT_SELECTED && line.IsNearPoint(line.m_nSelPoint, u, v, reach)) {
            found = i;
            element = line.m_nSelPoint;
        }
    }
    // The nearest point; the lower line on a tie.
    if (found < 0) {
        double nearest = 0.0;
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
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
    for (int32_t i = 0; found < 0 && i < lines.m_nCount; ++i) {
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
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
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

CFeatureSet::PointRef CFeatureSet::NearestPoint(int32_t image, double u, double v, double reach, int32_t skipLine) const
{
    PointRef best;
    if (image < 0 || image > 1) return best;
    const CPointSets<int>& lines = m_sets[image];
    double nearest = 0.0;
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
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
