#include "CZoom.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kSteps[] = {1.0 / 32.0, 1.0 / 16.0, 0.125, 0.25, 1.0 / 3.0, 0.5, 2.0 / 3.0, 1.0,
                             1.5,        2.0,        3.0,   4.0,  6.0,       8.0, 12.0,      16.0};
constexpr double kTolerance = 1e-9;

} // namespace

void CZoom::ZoomIn(const QObject* source, QPoint anchor)
{
    for (double step : kSteps) {
        if (step > m_factor + kTolerance) {
            SetFactor(step, source, anchor);
            return;
        }
    }
}

void CZoom::ZoomOut(const QObject* source, QPoint anchor)
{
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it) {
        if (*it < m_factor - kTolerance) {
            SetFactor(*it, source, anchor);
            return;
        }
    }
}

void CZoom::SetActual()
{
    SetFactor(1.0);
}

void CZoom::SetFactor(double factor, const QObject* source, QPoint anchor)
{
    if (!std::isfinite(factor)) return;
    factor = std::clamp(factor, kMin, kMax);
    if (std::fabs(factor - m_factor) < kTolerance) return;
    emit zoomChanging();
    const double old = m_factor;
    m_factor = factor;
    emit zoomChanged(old, source, anchor);
}

bool CZoom::CanZoomIn() const
{
    return m_factor < kMax - kTolerance;
}

bool CZoom::CanZoomOut() const
{
    return m_factor > kMin + kTolerance;
}

int32_t CZoom::ToScreen(int32_t v, double factor)
{
    if (factor == 1.0) return v;
    return static_cast<int32_t>(std::floor((static_cast<double>(v) + 0.5) * factor));
}

int32_t CZoom::ExtentToScreen(int32_t extent, double factor)
{
    if (factor == 1.0) return extent;
    return static_cast<int32_t>(std::ceil(static_cast<double>(extent) * factor - kTolerance));
}

int32_t CZoom::ToPicture(int32_t s, double factor)
{
    if (factor == 1.0) return s;
    return static_cast<int32_t>(std::floor(static_cast<double>(s) / factor));
}

double CZoom::ToPictureF(int32_t s, double factor)
{
    if (factor == 1.0) return s;
    // Measured from where point 0 is drawn, so that distances to the points
    // come out in screen pixels divided by the factor.
    return static_cast<double>(s - ToScreen(0, factor)) / factor;
}
