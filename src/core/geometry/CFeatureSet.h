#pragma once

#include "CFeaturePoint.h"
#include "CObject.h"
#include "CPointSets.h"

#include <cstdint>

// The feature lines of a project: m_sets[0] holds the lines of the source
// image, m_sets[1] those of the target image; line i of both forms pair i.
class CFeatureSet : public CObject {
public:
    CFeatureSet() = default;
    ~CFeatureSet() override = default;

    CFeatureSet(const CFeatureSet&) = delete;
    CFeatureSet& operator=(const CFeatureSet&) = delete;

    // Stores or loads both collections in the project file layout.
    void Serialize(CArchive& ar) override;

    // Index of the first line of image `image` (0 or 1) that the point hits,
    // or -1. Lines after the one hit are not tested.
    int32_t HitTest(const CFeaturePoint& pt, int32_t image);

    static constexpr const char* kClassName = "CFeatureSet";
    static constexpr int kSchema = 1;

    CPointSets<int> m_sets[2];
};
