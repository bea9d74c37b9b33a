#pragma once

#include "geometry/RECT.h"

#include <cstdint>

class CPictureFile;
class QPainter;
class QRect;

// Draws a held input picture through a QPainter, which stands in for the
// device context.
class CPicturePainter {
public:
    // Draws the whole picture upright into r, or at its natural size at the
    // origin when r is (0, 0, 0, 0). Returns 0 and draws nothing when no
    // picture is held, else 1.
    static int32_t Render(const CPictureFile& picture, QPainter& dc, const RECT& r);
    // For a picture marked missing: a grey line naming the file that was
    // not found, centred in `area`. Returns whether it drew anything.
    static bool RenderMissing(const CPictureFile& picture, QPainter& dc, const QRect& area);
};
