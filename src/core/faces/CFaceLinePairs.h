#pragma once

#include "CFaceLandmarks.h"
#include "geometry/CFeaturePoint.h"

#include <array>
#include <cstdint>
#include <vector>

class CFeatureSet;

// The feature lines made from the landmarks of a face (CFaceLandmarks): a
// fixed set, so that line i of the source and line i of the target join the
// same landmarks, drawn the same way (from the first landmark named to the
// second):
//   jaw line       0-3, 3-6, 6-8, 8-10, 10-13, 13-16   (6 lines)
//   eyebrows       17-19, 19-21 and 22-24, 24-26        (4)
//   eyes           corners 36-39, upper lid 37-38,
//                  corners 42-45, upper lid 43-44       (4)
//   nose           bridge 27-30, base 31-35             (2)
//   outer lips     48-51, 51-54, 54-57, 57-48           (4)
//   inner lips     upper 61-63, lower 67-65             (2)
// then four lines along the picture's edges, which keep the edges in place
// (top left to right, right edge downwards, bottom right to left, left edge
// upwards, corner to corner), 26 lines in all. Landmarks are rounded to the
// nearest pixel and kept inside the picture.
class CFaceLinePairs {
public:
    struct Joint {
        int32_t from;
        int32_t to;
    };
    static constexpr std::array<Joint, 22> kFaceLines = {{
        {0, 3},   {3, 6},   {6, 8},   {8, 10},  {10, 13}, {13, 16}, {17, 19}, {19, 21}, {22, 24}, {24, 26}, {36, 39},
        {37, 38}, {42, 45}, {43, 44}, {27, 30}, {31, 35}, {48, 51}, {51, 54}, {54, 57}, {57, 48}, {61, 63}, {67, 65},
    }};
    static constexpr int32_t kBorderLines = 4;
    static constexpr int32_t kCount = static_cast<int32_t>(kFaceLines.size()) + kBorderLines;

    using Line = std::array<CFeaturePoint, 2>;

    // The kCount lines of a face in a picture of width x height pixels.
    static std::vector<Line> Lines(const CFaceLandmarks& face, int32_t width, int32_t height);
    // Appends `source` to the source's lines of `set` and `target` to the
    // target's, pair by pair (both the same length). Returns the index of
    // the first pair added.
    static int32_t Append(CFeatureSet& set, const std::vector<Line>& source, const std::vector<Line>& target);
};
