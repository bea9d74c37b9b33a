#pragma once

#include <QImage>

class CBitmap;

// Frame bitmaps as Qt images.
class CBitmapImage {
public:
    // A 32-bit screen-compatible bitmap (bytes B, G, R, 0) as an opaque
    // QImage of its own (RGB32, the fourth byte set to 255 as Qt expects).
    // Null for other depths or an empty bitmap.
    static QImage ToImage(const CBitmap& bitmap);
    // The same into `image`, reusing its pixel memory when it is of that
    // size and shared with no other QImage (otherwise it gets new memory).
    static void CopyInto(const CBitmap& bitmap, QImage& image);
};
