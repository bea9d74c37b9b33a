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
      m_scaledWidth(toWidth), m_scaledHeight(toHeight), m_keptWidth(fromWidth), m_keptHeight(fromHeight),
      m_placeWidth(toWidth), m_placeHeight(toHeight)
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
    if (mode == FitMode::kPad) {
        m_placeX = m_offsetX;
        m_placeY = m_offsetY;
        m_placeWidth = m_scaledWidth;
        m_placeHeight = m_scaledHeight;
    } else if (widthLimits) {
        // The rows the canvas shows: toHeight x fromWidth / toWidth of them.
        m_keptHeight = std::min(ScaleRounded(toHeight, fromWidth, toWidth), fromHeight);
        m_keptY = (fromHeight - m_keptHeight) / 2;
    } else {
        m_keptWidth = std::min(ScaleRounded(toWidth, fromHeight, toHeight), fromWidth);
        m_keptX = (fromWidth - m_keptWidth) / 2;
    }
}

int32_t CFitTransform::Map(int32_t v, int32_t kept, int32_t keptExtent, int32_t place, int32_t placeExtent, int32_t to)
{
    if (to <= 0) return 0;
    double mapped = static_cast<double>(v);
    if (keptExtent > 0) {
        mapped = std::floor((mapped - kept + 0.5) * static_cast<double>(placeExtent) / static_cast<double>(keptExtent));
    }
    mapped += place;
    return static_cast<int32_t>(std::clamp(mapped, 0.0, static_cast<double>(to - 1)));
}

int32_t CFitTransform::MapX(int32_t x) const
{
    return Map(x, m_keptX, m_keptWidth, m_placeX, m_placeWidth, m_toWidth);
}

int32_t CFitTransform::MapY(int32_t y) const
{
    return Map(y, m_keptY, m_keptHeight, m_placeY, m_placeHeight, m_toHeight);
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
