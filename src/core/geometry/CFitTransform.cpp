#include "CFitTransform.h"

#include <algorithm>
#include <cmath>

namespace {

// round(v * num / den) for positive den, at least 1.
int32_t ScaleRounded(int64_t v, int64_t num, int64_t den)
{
    const int64_t r = (2 * v * num + den) / (2 * den);
    return static_cast<int32_t>(std::clamp<int64_t>(r, 1, INT32_MAX));
}

} // namespace

CFitTransform::CFitTransform(FitMode mode, int32_t fromWidth, int32_t fromHeight, int32_t toWidth, int32_t toHeight)
    : m_mode(mode), m_fromWidth(fromWidth), m_fromHeight(fromHeight), m_toWidth(toWidth), m_toHeight(toHeight),
      m_scaledWidth(toWidth), m_scaledHeight(toHeight)
{
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0 || mode == FitMode::kStretch) {
        return;
    }
    // Which side meets the canvas's side: the one whose scale is smaller
    // (padding) or larger (cropping). Compared as toW / fromW vs toH / fromH.
    const int64_t byWidth = int64_t{toWidth} * fromHeight;
    const int64_t byHeight = int64_t{toHeight} * fromWidth;
    const bool widthLimits = mode == FitMode::kPad ? byWidth <= byHeight : byWidth >= byHeight;
    if (widthLimits) {
        m_scaledHeight = ScaleRounded(fromHeight, toWidth, fromWidth);
    } else {
        m_scaledWidth = ScaleRounded(fromWidth, toHeight, fromHeight);
    }
    m_offsetX = static_cast<int32_t>((int64_t{toWidth} - m_scaledWidth) / 2);
    m_offsetY = static_cast<int32_t>((int64_t{toHeight} - m_scaledHeight) / 2);
}

int32_t CFitTransform::Map(int32_t v, int32_t from, int32_t scaled, int32_t offset, int32_t to)
{
    if (to <= 0) return 0;
    double mapped = static_cast<double>(v);
    if (from > 0) mapped = std::floor((mapped + 0.5) * static_cast<double>(scaled) / static_cast<double>(from));
    mapped += offset;
    return static_cast<int32_t>(std::clamp(mapped, 0.0, static_cast<double>(to - 1)));
}

int32_t CFitTransform::MapX(int32_t x) const
{
    return Map(x, m_fromWidth, m_scaledWidth, m_offsetX, m_toWidth);
}

int32_t CFitTransform::MapY(int32_t y) const
{
    return Map(y, m_fromHeight, m_scaledHeight, m_offsetY, m_toHeight);
}

void CFitTransform::Apply(CPointSets<int>& lines) const
{
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; j < line.m_nCount; ++j) {
            CFeaturePoint& p = line.Point(j);
            p.x = MapX(p.x);
            p.y = MapY(p.y);
        }
    }
}

std::optional<FitMode> CFitTransform::ParseMode(const std::string& name)
{
    if (name == "pad") return FitMode::kPad;
    if (name == "crop") return FitMode::kCrop;
    if (name == "stretch") return FitMode::kStretch;
    return std::nullopt;
}
