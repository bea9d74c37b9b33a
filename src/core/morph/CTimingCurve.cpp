#include "CTimingCurve.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// One coordinate of the cubic Bezier from 0 to 1 with inner points a, b.
double Cubic(double a, double b, double u)
{
    const double v = 1.0 - u;
    return 3.0 * v * v * u * a + 3.0 * v * u * u * b + u * u * u;
}

double CubicSlope(double a, double b, double u)
{
    const double v = 1.0 - u;
    return 3.0 * v * v * a + 6.0 * v * u * (b - a) + 3.0 * u * u * (1.0 - b);
}

// The u in [0, 1] with x(u) = s: Newton's steps from s, bisection when they
// stall or leave the bracket (x rises with u for a, b in [0, 1]).
double SolveForU(double a, double b, double s)
{
    double lo = 0.0, hi = 1.0, u = s;
    for (int i = 0; i < 64; ++i) {
        const double x = Cubic(a, b, u) - s;
        if (std::fabs(x) < 1e-14) {
            return u;
        }
        if (x < 0.0) {
            lo = u;
        } else {
            hi = u;
        }
        const double slope = CubicSlope(a, b, u);
        double next = slope > 1e-9 ? u - x / slope : -1.0;
        if (!(next > lo && next < hi)) {
            next = 0.5 * (lo + hi);
        }
        u = next;
    }
    return u;
}

bool ParseNumber(const std::string& text, double& out)
{
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) return false;
    out = value;
    return true;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

} // namespace

CTimingCurve::CTimingCurve(Kind kind) : m_kind(kind)
{
    switch (kind) {
    case Kind::kLinear:
        break;
    case Kind::kEaseIn:
        m_x1 = 0.42;
        break;
    case Kind::kEaseOut:
        m_x2 = 0.58;
        break;
    case Kind::kSmooth:
        m_x1 = 1.0 / 3.0;
        m_x2 = 2.0 / 3.0;
        break;
    case Kind::kBezier:
        m_x1 = 0.42;
        m_x2 = 0.58;
        break;
    }
}

CTimingCurve CTimingCurve::Bezier(double x1, double y1, double x2, double y2)
{
    CTimingCurve curve(Kind::kBezier);
    curve.m_x1 = std::fmin(std::fmax(x1, 0.0), 1.0);
    curve.m_y1 = std::fmin(std::fmax(y1, kMinY), kMaxY);
    curve.m_x2 = std::fmin(std::fmax(x2, 0.0), 1.0);
    curve.m_y2 = std::fmin(std::fmax(y2, kMinY), kMaxY);
    return curve;
}

double CTimingCurve::Apply(double s) const
{
    switch (m_kind) {
    case Kind::kLinear:
        return s;
    case Kind::kSmooth:
        return s * s * (3.0 - 2.0 * s);
    default:
        break;
    }
    if (!(s > 0.0)) {
        return 0.0;
    }
    if (s >= 1.0) {
        return 1.0;
    }
    return Cubic(m_y1, m_y2, SolveForU(m_x1, m_x2, s));
}

std::string CTimingCurve::Name() const
{
    switch (m_kind) {
    case Kind::kLinear:
        return "linear";
    case Kind::kEaseIn:
        return "ease-in";
    case Kind::kEaseOut:
        return "ease-out";
    case Kind::kSmooth:
        return "smooth";
    case Kind::kBezier:
        break;
    }
    return "bezier:" + Number(m_x1) + "," + Number(m_y1) + "," + Number(m_x2) + "," + Number(m_y2);
}

bool CTimingCurve::Parse(const std::string& word, CTimingCurve& out)
{
    const std::pair<const char*, Kind> words[] = {
        {"linear", Kind::kLinear}, {"ease-in", Kind::kEaseIn}, {"ease-out", Kind::kEaseOut}, {"smooth", Kind::kSmooth}};
    for (const auto& [name, kind] : words) {
        if (word == name) {
            out = CTimingCurve(kind);
            return true;
        }
    }
    const std::string prefix = "bezier:";
    if (word.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    double p[4] = {};
    size_t at = prefix.size();
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? word.find(',', at) : word.size();
        if (comma == std::string::npos || !ParseNumber(word.substr(at, comma - at), p[i])) {
            return false;
        }
        at = comma + 1;
    }
    if (p[0] < 0.0 || p[0] > 1.0 || p[2] < 0.0 || p[2] > 1.0 || p[1] < kMinY || p[1] > kMaxY || p[3] < kMinY ||
        p[3] > kMaxY) {
        return false;
    }
    out = Bezier(p[0], p[1], p[2], p[3]);
    return true;
}
