#include "CExportSequence.h"

CExportSequence::CExportSequence(const CTrevalinDoc& doc, const CMorphOptions& morph, int32_t steps)
{
    Add(doc, morph, steps);
}

void CExportSequence::Add(const CTrevalinDoc& doc, const CMorphOptions& morph, int32_t steps)
{
    m_parts.push_back({&doc, morph, steps});
}

int64_t CExportSequence::CountFrames(const std::vector<int32_t>& steps, int32_t hold)
{
    if (steps.empty()) {
        return 0;
    }
    int64_t count = 1 + int64_t{hold} * static_cast<int64_t>(steps.size() + 1);
    for (int32_t n : steps)
        count += n;
    return count;
}

int64_t CExportSequence::FrameCount() const
{
    std::vector<int32_t> steps;
    for (const Part& part : m_parts)
        steps.push_back(part.steps);
    return CountFrames(steps, m_hold);
}

CExportSequence::Place CExportSequence::Locate(int64_t g) const
{
    if (m_parts.empty()) {
        return {};
    }
    int64_t left = g < 0 ? 0 : g;
    for (size_t i = 0; i < m_parts.size(); ++i) {
        const int32_t n = m_parts[i].steps;
        const auto part = static_cast<int32_t>(i);
        // The morph's first frame and its copies, then frames 1 .. N - 1.
        if (left <= m_hold) {
            return {part, 0, n};
        }
        left -= m_hold;
        if (left < n) {
            return {part, static_cast<int32_t>(left), n};
        }
        left -= n;
    }
    // The last picture's frame and its copies.
    const Part& last = m_parts.back();
    return {PartCount() - 1, last.steps, last.steps};
}
