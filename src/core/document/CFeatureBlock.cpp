#include "CFeatureBlock.h"

#include "CArchive.h"
#include "geometry/CFeatureSet.h"

namespace {
constexpr size_t kLineRecordMin = 4; // a line is at least its point count
constexpr size_t kPointRecord = 8;   // x and y
} // namespace

bool CFeatureBlock::Read(CArchive& ar)
{
    for (Image& image : m_images) {
        image.pointCounts.clear();
        image.coords.clear();
        int32_t lines = 0;
        ar >> lines;
        if (ar.HasFailed()) {
            return false;
        }
        if (lines > 0 && static_cast<size_t>(lines) > ar.GetRemaining() / kLineRecordMin) {
            ar.Fail(CArchive::Error::kEndOfFile);
            return false;
        }
        for (int32_t k = 0; k < lines; ++k) {
            int32_t points = 0;
            ar >> points;
            if (ar.HasFailed()) {
                return false;
            }
            if (points > 0 && static_cast<size_t>(points) > ar.GetRemaining() / kPointRecord) {
                ar.Fail(CArchive::Error::kEndOfFile);
                return false;
            }
            const int32_t used = points > 0 ? points : 0;
            image.pointCounts.push_back(used);
            for (int32_t p = 0; p < used; ++p) {
                int32_t x = 0;
                int32_t y = 0;
                ar >> x >> y;
                image.coords.push_back(x);
                image.coords.push_back(y);
            }
            if (ar.HasFailed()) {
                return false;
            }
        }
    }
    return true;
}

void CFeatureBlock::ApplyTo(CFeatureSet& features) const
{
    for (int m = 0; m < 2; ++m) {
        const Image& image = m_images[m];
        CPointSets<int>& lines = features.m_sets[m];
        lines.RemoveAll();
        size_t c = 0;
        for (int32_t points : image.pointCounts) {
            CPointSet<int>& line = lines.Line(lines.Add());
            for (int32_t p = 0; p < points; ++p, c += 2) {
                line.AddPoint(image.coords[c], image.coords[c + 1], 0, 1);
            }
        }
    }
}

void CFeatureBlock::Write(CArchive& ar, const CFeatureSet& features)
{
    for (const CPointSets<int>& lines : features.m_sets) {
        ar << lines.m_nCount;
        for (int32_t k = 0; k < lines.m_nCount; ++k) {
            const CPointSet<int>& line = lines.Line(k);
            ar << line.m_nCount;
            for (int32_t p = 0; p < line.m_nCount; ++p) {
                ar << line.Point(p).x << line.Point(p).y;
            }
        }
    }
}
