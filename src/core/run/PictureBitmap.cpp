#include "PictureBitmap.h"

#include "document/CPictureFile.h"
#include "morph/CBitmap.h"

#include <cstdint>
#include <cstring>

void DrawPictureBitmap(const CPictureFile& picture, CBitmap& out)
{
    DrawPictureBitmap(picture.IsLoaded() ? picture.GetImage() : nullptr, out);
}

void DrawPictureBitmap(const CPictureImage* image, CBitmap& out)
{
    if (image == nullptr || !out.Reshape(image->width, image->height, 32)) {
        out.CreateCompatibleBitmap(0, 0);
        return;
    }
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    uint8_t* dst = out.Bits();
    if (image->pixels.size() < count * 4) {
        std::memset(dst, 0, out.SizeBytes()); // a malformed image stays black
        return;
    }
    // Four bytes at a time: blue, green and red kept, the fourth cleared.
    const uint8_t* src = image->pixels.data();
    for (size_t i = 0; i < count; ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, src + 4 * i, 4);
        pixel &= 0x00ffffffu;
        std::memcpy(dst + 4 * i, &pixel, 4);
    }
}
