#pragma once

#include <cstdint>
#include <vector>

class CArchive;
class CFeatureSet;

// The feature lines of both images as the project file holds them: for each
// image its lines, each line its points (x, y). Loading reads the whole block
// into this staging form first and changes the feature set only once every
// byte of it has been read, so a damaged file never leaves half its lines.
class CFeatureBlock {
public:
    // Reads the line counts, point counts and coordinates of image 0 and
    // then image 1. Counts are signed: 0 or less reads nothing. A count that
    // cannot fit in what is left of the data fails at once (the read would
    // run past the end), before anything is allocated for it. Returns false
    // when the archive failed; the archive tells why.
    bool Read(CArchive& ar);

    // Replaces the lines of both images: RemoveAll, then Add and AddPoint
    // (z = 0, w = 1) for every line and point, reusing the line and point
    // objects the collections already hold.
    void ApplyTo(CFeatureSet& features) const;

    // Writes the lines in use of both images.
    static void Write(CArchive& ar, const CFeatureSet& features);

    int32_t LineCount(int image) const { return static_cast<int32_t>(m_images[image].pointCounts.size()); }

private:
    struct Image {
        std::vector<int32_t> pointCounts; // per line
        std::vector<int32_t> coords;      // x, y of every point, line after line
    };
    Image m_images[2];
};
