#include "CDissolveSetup.h"

#include <algorithm>
#include <cmath>
#include <numeric>

bool CDissolveSetup::FindDivider(int32_t n)
{
    if (m_nDividerSteps == n) {
        return true;
    }
    // q = (M x magic) >> (16 + shift) with magic = ceil(2^(16 + shift) / n),
    // checked for every M the frame can hold (at most 255 n).
    const uint32_t limit = 255u * static_cast<uint32_t>(n);
    for (uint32_t shift = 0; shift <= 15; ++shift) {
        const uint32_t magic =
            ((uint32_t{1} << (16 + shift)) + static_cast<uint32_t>(n) - 1) / static_cast<uint32_t>(n);
        if (magic > 0xffff) {
            continue;
        }
        bool exact = true;
        for (uint32_t m = 0; m <= limit && exact; ++m) {
            exact = ((m * magic) >> 16 >> shift) == m / static_cast<uint32_t>(n);
        }
        if (exact) {
            m_nDividerSteps = n;
            m_divMagic = static_cast<uint16_t>(magic);
            m_divShift = static_cast<uint16_t>(shift);
            return true;
        }
    }
    return false;
}

bool CDissolveSetup::RoundsAnyDown(int32_t n, int32_t k, double weightSource, double weightTarget)
{
    // M = s n + k (t - s) is a multiple of n exactly when t - s is a
    // multiple of d = n / gcd(n, k). With d a power of two both weights are
    // exact fractions of few bits, every product and the sum are exact.
    const int32_t g = std::gcd(n, k);
    const int32_t d = n / g;
    if ((d & (d - 1)) == 0) {
        return false;
    }
    for (int32_t s = 0; s < 256; ++s) {
        // Each step of d in t adds d k = n (k / g) to M.
        int32_t whole = (s * (n - k) + (s % d) * k) / n;
        for (int32_t t = s % d; t < 256; t += d, whole += k / g) {
            if (static_cast<int32_t>(s * weightSource + t * weightTarget) != whole) {
                return true;
            }
        }
    }
    return false;
}

CDissolveSetup::Form CDissolveSetup::Prepare(float steps, int32_t k, DissolveJob& job)
{
    // Whole numbers for the weights (N - k) / N and k / N alone (eased
    // frames have others).
    const auto n = static_cast<int32_t>(steps);
    const double nd = steps;
    const double kd = static_cast<float>(k);
    const bool whole = steps >= 2.0f && steps <= static_cast<float>(kMaxSteps) && static_cast<float>(n) == steps &&
                       k > 0 && k < n && job.weightSource == (nd - kd) / nd && job.weightTarget == kd / nd &&
                       FindDivider(n);
    Form form = Form::kWhole;
    if (!whole || RoundsAnyDown(n, k, job.weightSource, job.weightTarget)) {
        m_table.resize(65536 + 4);
        job.table = m_table.data();
        if (!whole) {
            return Form::kTable;
        }
        form = Form::kCorrected;
        FillRounding(job.weightSource, job.weightTarget);
        job.rounding = &m_rounding;
    }
    job.stepsLeft = static_cast<uint8_t>(n - k);
    job.stepsDone = static_cast<uint8_t>(k);
    job.divMagic = m_divMagic;
    job.divShift = m_divShift;
    return form;
}

void CDissolveSetup::FillTableRows(const DissolveJob& job, int32_t first, int32_t last)
{
    for (int32_t t = first; t < last; ++t) {
        uint8_t* row = m_table.data() + (static_cast<size_t>(t) << 8);
        for (int32_t s = 0; s < 256; ++s) {
            row[s] = static_cast<uint8_t>(static_cast<int32_t>(s * job.weightSource + t * job.weightTarget));
        }
    }
}

namespace {

// Bits 0..15 of x 2^59 for x = 0 or x >= 2^-7 (then a whole number).
uint16_t Low16Of2To59(double x)
{
    if (x == 0.0) {
        return 0;
    }
    int exponent = 0;
    const auto mantissa = static_cast<uint64_t>(std::ldexp(std::frexp(x, &exponent), 53));
    const int shift = exponent - 53 + 59;
    return shift >= 16 ? 0 : static_cast<uint16_t>(mantissa << shift);
}

} // namespace

void CDissolveSetup::FillRounding(double weightSource, double weightTarget)
{
    // Both weights are at least 1 / kMaxSteps > 2^-7, so is every non-zero
    // product: a whole number of 2^-59.
    for (int32_t v = 0; v < 256; ++v) {
        const uint16_t a = Low16Of2To59(v * weightSource);
        const uint16_t b = Low16Of2To59(v * weightTarget);
        m_rounding.sourceLow[v] = static_cast<uint8_t>(a);
        m_rounding.sourceHigh[v] = static_cast<uint8_t>(a >> 8);
        m_rounding.targetLow[v] = static_cast<uint8_t>(b);
        m_rounding.targetHigh[v] = static_cast<uint8_t>(b >> 8);
        int32_t power = 1; // 2^ceil(log2 v)
        while (power < v) {
            power *= 2;
        }
        m_rounding.limit[v] = static_cast<uint8_t>(-power);
    }
}
