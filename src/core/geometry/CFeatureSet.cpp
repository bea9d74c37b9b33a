#include "CFeatureSet.h"

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
    // A selected segment, then any segment.
    for (int32_t i = 0; found < 0 && i < lines.m_nCount; ++i) {
        const CPointSet<int>& line = lines.Line(i);
        if (line.m_nState == STATE_SEGMENT_SELECTED && line.IsOnSegment(line.m_nSelSegment, u, v)) {
            found = i;
            element = line.m_nSelSegment;
            point = false;
        }
    }
    for (int32_t i = 0; found < 0 && i < lines.m_nCount; ++i) {
        const int32_t j = lines.Line(i).SegmentAt(u, v);
        if (j >= 0) {
            found = i;
            element = j;
            point = false;
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
