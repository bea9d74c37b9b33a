#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "message/CText.h"

class CArchive;
class CFeatureSet;

// The feature lines of both images as the project file holds them: for each
// image its lines, each line its points (x, y). Loading goes over the block
// twice: Read checks every count against the data left and against the
// project limits, allocating nothing, and ApplyTo reads it again into the
// feature set, which therefore changes only when the whole block is sound.
class CFeatureBlock {
public:
    // The largest project the reader takes, per image.
    static constexpr int32_t kMaxLinesPerImage = 500000;
    static constexpr int64_t kMaxPointsPerImage = 1000000;

    // Reads the line counts, point counts and coordinates of image 0 and
    // then image 1 and remembers where they lie in the archive's data (which
    // must outlive ApplyTo). Counts are signed: 0 or less reads nothing. A
    // count that cannot fit in what is left of the data fails at once (the
    // read would run past the end); one beyond the limits fails with
    // CArchive::Error::kBeyondLimits and a text saying which. Returns false
    // when the archive failed; the archive tells why.
    bool Read(CArchive& ar);

    // Replaces the lines of both images with the block read: RemoveAll,
    // then Add and AddPoint (z = 0, w = 1) for every line and point, reusing
    // the line and point objects the collections already hold.
    void ApplyTo(CFeatureSet& features) const;

    // Writes the lines in use of both images.
    static void Write(CArchive& ar, const CFeatureSet& features);

    int32_t LineCount(int image) const { return m_nLines[image]; }

    // The texts of the two limits ("%1": the image, "%2": its count).
    static constexpr const char* kTooManyLines =
        TRV_TEXT("CoreText", "%1有 %2 条特征线,超过了每幅图像 500000 条的上限。");
    static constexpr const char* kTooManyPoints =
        TRV_TEXT("CoreText", "%1的特征线共有 %2 个以上的点,超过了每幅图像 1000000 个的上限。");
    static constexpr const char* kSourceImage = TRV_TEXT("CoreText", "源图像");
    static constexpr const char* kTargetImage = TRV_TEXT("CoreText", "目标图像");

private:
    const uint8_t* m_pData = nullptr;
    size_t m_nBytes = 0;
    int32_t m_nLines[2] = {0, 0};
};
