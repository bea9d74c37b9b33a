#include "CFeatureBlock.h"

#include "CArchive.h"
#include "geometry/CFeatureSet.h"

namespace {

constexpr size_t kLineRecordMin = 4; // a line is at least its point count
constexpr size_t kPointRecord = 8;   // x and y

CMessage LimitText(const char* format, int image, int64_t count)
{
    return CMessage(format, {CMessage(image == 0 ? CFeatureBlock::kSourceImage : CFeatureBlock::kTargetImage), count});
}

} // namespace

bool CFeatureBlock::Read(CArchive& ar)
{
    const size_t begin = ar.GetPosition();
    for (int image = 0; image < 2; ++image) {
        int32_t lines = 0;
        ar >> lines;
        if (ar.HasFailed()) {
            return false;
        }
        if (lines > 0 && static_cast<size_t>(lines) > ar.GetRemaining() / kLineRecordMin) {
            ar.Fail(CArchive::Error::kEndOfFile);
            return false;
        }
        if (lines > kMaxLinesPerImage) {
            ar.Fail(CArchive::Error::kBeyondLimits, LimitText(kTooManyLines, image, lines));
            return false;
        }
        m_nLines[image] = lines > 0 ? lines : 0;
        int64_t total = 0;
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
            total += points > 0 ? points : 0;
            if (total > kMaxPointsPerImage) {
                ar.Fail(CArchive::Error::kBeyondLimits, LimitText(kTooManyPoints, image, kMaxPointsPerImage));
                return false;
            }
            if (points > 0) {
                ar.Skip(static_cast<size_t>(points) * kPointRecord);
            }
        }
    }
    m_pData = ar.GetData() + begin;
    m_nBytes = ar.GetPosition() - begin;
    return !ar.HasFailed();
}

void CFeatureBlock::ApplyTo(CFeatureSet& features) const
{
    CArchive ar(m_pData, m_nBytes);
    for (int m = 0; m < 2; ++m) {
        CPointSets<int>& lines = features.m_sets[m];
        lines.RemoveAll();
        int32_t count = 0;
        ar >> count;
        lines.Reserve(count);
        for (int32_t k = 0; k < count; ++k) {
            CPointSet<int>& line = lines.Line(lines.Add());
            int32_t points = 0;
            ar >> points;
            line.Reserve(points);
            for (int32_t p = 0; p < points; ++p) {
                int32_t x = 0;
                int32_t y = 0;
                ar >> x >> y;
                line.AddPoint(x, y, 0, 1);
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
