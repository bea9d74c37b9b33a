#pragma once

#include <QImage>
#include <memory>

class CFitTransform;
struct CPictureImage;

// Brings a decoded picture to another size as a fit transform says: the part
// kept scaled smoothly and placed on a black canvas of the new size.
class CPictureFitter {
public:
    // The fitted picture, or a null image when it cannot be made (a size
    // beyond the picture limits, or not enough memory).
    static QImage Fit(const CPictureImage& picture, const CFitTransform& transform);
    // The pixels of an image as a decoded picture (B, G, R, 255).
    static std::shared_ptr<CPictureImage> ToPictureImage(const QImage& image);
};
