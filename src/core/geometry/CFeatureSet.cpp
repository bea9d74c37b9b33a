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
