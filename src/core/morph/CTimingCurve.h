#pragma once

#include <cstdint>
#include <string>

// How the fraction s = k / N of a frame runs over the morph: a curve from
// (0, 0) to (1, 1) that takes s to the fraction the engine uses.
//
//   linear    s
//   ease-in   the cubic Bezier with control points (0.42, 0) and (1, 1)
//   ease-out  the cubic Bezier with control points (0, 0) and (0.58, 1)
//   smooth    3 s^2 - 2 s^3, slow at both ends
//   bezier    the cubic Bezier with control points (x1, y1) and (x2, y2),
//             x1 and x2 in [0, 1]: x(u) = s is solved for u and y(u)
//             returned, as a CSS cubic-bezier() does
//
// Every curve takes 0 to 0 and 1 to 1 exactly; a Bezier with y1 or y2
// outside [0, 1] overshoots in between.
class CTimingCurve {
public:
    enum class Kind : int32_t { kLinear, kEaseIn, kEaseOut, kSmooth, kBezier };

    // Control points of a Bezier: y1 and y2 are kept within these.
    static constexpr double kMinY = -1.0;
    static constexpr double kMaxY = 2.0;

    // The curve of a kind; a Bezier takes the control points of ease-in-out
    // (0.42, 0, 0.58, 1) until given its own.
    CTimingCurve(Kind kind = Kind::kLinear); // NOLINT: a kind names its curve
    static CTimingCurve Bezier(double x1, double y1, double x2, double y2);

    Kind GetKind() const { return m_kind; }
    bool IsLinear() const { return m_kind == Kind::kLinear; }
    // The control points: those of the Bezier a kind stands for (linear:
    // (0, 0) and (1, 1); smooth, which is no Bezier: (1/3, 0) and (2/3, 1),
    // the Bezier nearest to it).
    double X1() const { return m_x1; }
    double Y1() const { return m_y1; }
    double X2() const { return m_x2; }
    double Y2() const { return m_y2; }

    // The curve at s (s taken into [0, 1]).
    double Apply(double s) const;

    // "linear", "ease-in", "ease-out", "smooth" or "bezier:X1,Y1,X2,Y2".
    std::string Name() const;
    // False (and `out` untouched) for any other word or control points out
    // of range.
    static bool Parse(const std::string& word, CTimingCurve& out);

    bool operator==(const CTimingCurve& o) const
    {
        return m_kind == o.m_kind && m_x1 == o.m_x1 && m_y1 == o.m_y1 && m_x2 == o.m_x2 && m_y2 == o.m_y2;
    }
    bool operator!=(const CTimingCurve& o) const { return !(*this == o); }

private:
    Kind m_kind = Kind::kLinear;
    double m_x1 = 0.0;
    double m_y1 = 0.0;
    double m_x2 = 1.0;
    double m_y2 = 1.0;
};
