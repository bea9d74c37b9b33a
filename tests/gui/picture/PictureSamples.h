#pragma once

#include "memory/CNoInitAllocator.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// Pictures made by the tests themselves.
namespace picturesamples {

// w x h, RGB32, blocks of 4 x 4 pixels in distinct colours.
QImage Blocks(int w, int h);
// A smooth gradient, which JPEG keeps close to the original.
QImage Gradient(int w, int h);
// The image encoded by Qt in the given format ("BMP", "JPG", "PNG").
std::vector<uint8_t> Encode(const QImage& image, const char* format, int quality = 95);
// The B, G, R, 255 bytes of an RGB32 image, rows top to bottom.
CByteVector Bgra(const QImage& image);

} // namespace picturesamples
