#pragma once

#include <array>
#include <cstdint>

// The 68 landmarks of one face, in the numbering of the iBUG 300-W
// annotation (the one dlib's shape_predictor_68_face_landmarks model gives):
//   0-16 jaw line, from the face's right ear (the picture's left) round the
//        chin to its left ear
//   17-21 right eyebrow, 22-26 left eyebrow (outer to inner, inner to outer)
//   27-30 nose bridge, top down; 31-35 nose base, picture left to right
//   36-41 right eye, 42-47 left eye (from the outer corner, upper lid first)
//   48-59 outer lips, 60-67 inner lips (from the picture's left corner,
//        upper lip first)
// Positions are in the picture's pixels (a pixel's centre is its integer
// position), with the face's box as the detector found it.
struct CFaceLandmarks {
    struct Point {
        double x = 0.0;
        double y = 0.0;
    };
    static constexpr int32_t kCount = 68;

    std::array<Point, kCount> points{};
    // The face's box: left, top, right, bottom.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
