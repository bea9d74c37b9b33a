#pragma once

#include "morph/kernels/MorphKernels.h"

#include <cstdint>
#include <vector>

// How the vector kernels compute a cross-dissolve frame. Byte i of frame k
// of N is trunc(s (N - k) / N + t k / N) with the weights and the sum
// rounded in double precision. The sum's exact value is M / N with
// M = s (N - k) + t k; when M is not a multiple of N that value is at least
// 1 / N away from a whole number, far more than the roundings (below
// 2^-43), so the byte is M div N. When M is a multiple of N the roundings
// decide between M / N and one less. A frame where they never make it one
// less (found by doing the reference's arithmetic for every such pair) is
// computed in whole numbers; where they do, its whole numbers are corrected
// where M is a multiple of N, from the rounding of the two products
// (DissolveRounding) or from a table of the frame's results; any other
// frame looks every byte pair up in that table.
class CDissolveSetup {
public:
    enum class Form {
        kWhole,     // whole numbers: the fields of DissolveJob are filled
        kTable,     // lookups: the caller fills the table (FillTableRows)
        kCorrected, // both: the fields of DissolveJob are filled; the table is filled only for a
                    // kernel that reads it (DissolveKernelReadsTable)
    };

    // Largest N of the whole-number form: N - k and k must fit the kernels'
    // signed 8-bit weights and M their unsigned 16-bit words.
    static constexpr int32_t kMaxSteps = 127;

    // The form of frame k of N = `steps` (0 < k < N, job.weightSource and
    // job.weightTarget set: whole numbers need them to be (N - k) / N and
    // k / N); fills the job's whole-number fields or points its table at
    // this object's.
    Form Prepare(float steps, int32_t k, DissolveJob& job);
    // Table rows [first, last) (target bytes t) of the job's frame.
    void FillTableRows(const DissolveJob& job, int32_t first, int32_t last);

private:
    bool FindDivider(int32_t n);
    // Whether the reference's rounding makes any whole quotient one less.
    static bool RoundsAnyDown(int32_t n, int32_t k, double weightSource, double weightTarget);
    // The corrected form's tables (see DissolveRounding).
    void FillRounding(double weightSource, double weightTarget);

    int32_t m_nDividerSteps = 0; // the N that m_divMagic and m_divShift divide by
    uint16_t m_divMagic = 0;
    uint16_t m_divShift = 0;
    std::vector<uint8_t> m_table; // [t << 8 | s], with room for 4-byte reads at the last entry
    DissolveRounding m_rounding{};
};
