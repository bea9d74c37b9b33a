#include "CSmoothFrame.h"

#include "CRowPool.h"
#include "geometry/CLinePairs.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    double x, y;
};

bool FirstTwoPoints(const CLinePairs::Ends& line, Point& p, Point& q)
{
    p = {static_cast<double>(line.x0), static_cast<double>(line.y0)};
    q = {static_cast<double>(line.x1), static_cast<double>(line.y1)};
    return line.HasLength();
}

} // namespace

void CSmoothFrame::Release(size_t kept)
{
    if (m_lines.capacity() > kept) std::vector<SmoothLine>().swap(m_lines);
    if (m_lengths.capacity() > kept) std::vector<double>().swap(m_lengths);
}

int32_t CSmoothFrame::Prepare(const CLinePairs& lines, double t)
{
    m_lines.clear();
    std::vector<double>& lengths = m_lengths;
    lengths.clear();
    for (int32_t i = 0; i < lines.Count(); ++i) {
        Point side[2][2];
        if (!FirstTwoPoints(lines[i].side[0], side[0][0], side[0][1]) ||
            !FirstTwoPoints(lines[i].side[1], side[1][0], side[1][1])) {
            continue;
        }
        const auto between = [t, &side](int32_t j) {
            return Point{side[0][j].x + (side[1][j].x - side[0][j].x) * t,
                         side[0][j].y + (side[1][j].y - side[0][j].y) * t};
        };
        const Point p = between(0), q = between(1);
        const double dx = q.x - p.x, dy = q.y - p.y;
        const double l2 = dx * dx + dy * dy;
        if (!(l2 > kMinLength * kMinLength)) continue;
        const double len = std::sqrt(l2);
        // u = ux x + uy y + u0 and v likewise.
        const double ux = dx / l2, uy = dy / l2, u0 = -(p.x * dx + p.y * dy) / l2;
        const double vx = -dy / len, vy = dx / len, v0 = -(p.x * vx + p.y * vy);
        SmoothLine c{};
        c.ux = static_cast<float>(ux);
        c.vx = static_cast<float>(vx);
        c.l2 = static_cast<float>(l2);
        c.uAt = u0;
        c.uPerY = uy;
        c.vAt = v0;
        c.vPerY = vy;
        for (int32_t s = 0; s < 2; ++s) {
            // X' - X = P' + u d' + v n' - X, n' the unit normal (-d'y, d'x) / len'.
            const Point& ps = side[s][0];
            const double ex = side[s][1].x - ps.x, ey = side[s][1].y - ps.y;
            const double lens = std::sqrt(ex * ex + ey * ey);
            const double nx = -ey / lens, ny = ex / lens;
            c.dispX[s][0] = static_cast<float>(ux * ex + vx * nx - 1.0);
            c.dispX[s][1] = static_cast<float>(ux * ey + vx * ny);
            c.dispPerY[s][0] = uy * ex + vy * nx;
            c.dispPerY[s][1] = uy * ey + vy * ny - 1.0;
            c.dispAt[s][0] = ps.x + u0 * ex + v0 * nx;
            c.dispAt[s][1] = ps.y + u0 * ey + v0 * ny;
        }
        m_lines.push_back(c);
        lengths.push_back(l2);
    }
    // Only the ratios of the weights matter: they are scaled so that the
    // longest line's weight is at most 2^20, far from the ends of the
    // single-precision range whatever the lines' lengths.
    const double longest = lengths.empty() ? 1.0 : *std::max_element(lengths.begin(), lengths.end());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i].weightL2 = static_cast<float>(lengths[i] / longest * 0x1p20);
    }
    return Count();
}

bool CSmoothFrame::Compute(SmoothFrameJob& job, CRowPool& pool, MorphKernelPath resolved,
                           const CCancelToken::Ticket& ticket)
{
    job.lines = m_lines.data();
    job.count = Count();
    const SmoothRowsKernel kernel = SelectSmoothKernel(resolved);
    const int32_t grain = 2;
    // A block of line pairs per thread taking part, whatever the count.
    const size_t perThread = SmoothScratchFloats(job.count);
    const size_t needed = perThread * static_cast<size_t>(pool.Participants(job.height, grain));
    if (m_scratch.size() < needed) {
        m_scratch.resize(needed);
    }
    float* scratch = m_scratch.data();
    return pool.Run(
        job.height, grain,
        [&job, kernel, scratch, perThread](int32_t first, int32_t last, int32_t worker) {
            kernel(job, first, last, scratch + perThread * static_cast<size_t>(worker));
        },
        ticket);
}
