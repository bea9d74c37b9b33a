#include "BenchScene.h"

#include <cmath>
#include <random>

namespace {

CBitmap Pattern(int32_t width, int32_t height, uint32_t seed)
{
    CBitmap b;
    b.CreateCompatibleBitmap(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> noise(0, 15);
    const double fx = 0.013 + 0.002 * (seed % 5), fy = 0.021 - 0.003 * (seed % 3);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = b.Bits() + static_cast<size_t>(y) * b.WidthBytes();
        for (int32_t x = 0; x < width; ++x) {
            row[4 * x + 0] = static_cast<uint8_t>(128 + 100 * std::sin(x * fx + y * fy) + noise(rng));
            row[4 * x + 1] = static_cast<uint8_t>((x * 255) / width);
            row[4 * x + 2] = static_cast<uint8_t>((y * 255) / height + noise(rng));
            row[4 * x + 3] = 0;
        }
    }
    return b;
}

} // namespace

BenchScene::BenchScene(int32_t width, int32_t height, int32_t pairs)
    : source(Pattern(width, height, 1)), target(Pattern(width, height, 2)),
      doc(std::make_unique<CTrevalinDoc>("/nonexistent"))
{
    std::mt19937 rng(static_cast<uint32_t>(width * 131 + height * 7 + pairs));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    CFeatureSet& lines = *doc->GetFeatureSet();
    for (int32_t i = 0; i < pairs; ++i) {
        const double cx = width * (0.1 + 0.8 * unit(rng)), cy = height * (0.1 + 0.8 * unit(rng));
        const double len = width * (0.05 + 0.3 * unit(rng));
        const double angle = 6.283185307179586 * unit(rng);
        const double moveX = width * 0.08 * (unit(rng) - 0.5), moveY = height * 0.08 * (unit(rng) - 0.5);
        const double turn = 0.3 * (unit(rng) - 0.5), stretch = 0.85 + 0.3 * unit(rng);
        auto add = [&lines](int32_t set, double x, double y, double l, double a) {
            CPointSet<int>& line = lines.m_sets[set].Line(lines.m_sets[set].Add());
            line.AddPoint(static_cast<int32_t>(x - 0.5 * l * std::cos(a)),
                          static_cast<int32_t>(y - 0.5 * l * std::sin(a)), 0, 1);
            line.AddPoint(static_cast<int32_t>(x + 0.5 * l * std::cos(a)),
                          static_cast<int32_t>(y + 0.5 * l * std::sin(a)), 0, 1);
        };
        add(0, cx, cy, len, angle);
        add(1, cx + moveX, cy + moveY, len * stretch, angle + turn);
    }
}
