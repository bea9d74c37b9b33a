#include "PictureBitmap.h"

#include "document/CPictureFile.h"
#include "morph/CBitmap.h"

void DrawPictureBitmap(const CPictureFile& picture, CBitmap& out)
{
    DrawPictureBitmap(picture.IsLoaded() ? picture.GetImage() : nullptr, out);
}

void DrawPictureBitmap(const CPictureImage* image, CBitmap& out)
{
    if (image == nullptr || !out.CreateCompatibleBitmap(image->width, image->height)) {
        out.CreateCompatibleBitmap(0, 0);
        return;
    }
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    const uint8_t* src = image->pixels.data();
    uint8_t* dst = out.Bits();
    if (image->pixels.size() < count * 4) {
        return; // a malformed image stays black
    }
    for (size_t i = 0; i < count; ++i) {
        dst[4 * i] = src[4 * i];
        dst[4 * i + 1] = src[4 * i + 1];
        dst[4 * i + 2] = src[4 * i + 2];
        dst[4 * i + 3] = 0;
    }
}
