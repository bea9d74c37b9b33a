#include "OracleLinearMorphing.h"

#include "OracleArithmetic.h"

#include <vector>

int32_t OracleLinearMorphing::Morph(CBitmap& out, int32_t k, CDocument*)
{
    if (!CanMakeFrame(k)) {
        return 0;
    }
    const size_t bytes = FrameBytes();
    const double n = m_fSteps;
    const double kf = static_cast<float>(k);
    const double weightSource = (n - kf) / n;
    const double weightTarget = kf / n;
    const uint8_t* source = Pixels(0);
    const uint8_t* target = Pixels(1);

    std::vector<uint8_t> frame(bytes, 0);
    for (size_t i = 0; i < bytes; ++i) {
        const double sum = source[i] * weightSource + target[i] * weightTarget;
        frame[i] = static_cast<uint8_t>(oracle_arith::TruncToInt32(sum));
    }
    out.SetBitmapBits(static_cast<long>(bytes), frame.data());
    return 0;
}
