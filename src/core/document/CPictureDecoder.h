#pragma once

#include "message/CMessage.h"
#include "message/CText.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct CPictureImage;

// Turns the bytes of a picture file into pixels. The picture holder calls it;
// the application supplies one that reads BMP, JPEG and whatever else its
// image library knows.
class CPictureDecoder {
public:
    virtual ~CPictureDecoder();

    // Fills `out` (B, G, R, 255 per pixel, rows top to bottom) and returns
    // true, or returns false with a message for the user in `error` and
    // `out` untouched. Must not throw.
    virtual bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const = 0;

    // The template of the message for a file that could not be decoded, %1
    // saying what went wrong (the decoding library's own words).
    static constexpr const char* kDamaged = TRV_TEXT("CoreText", "图片文件已损坏或无法解码(%1)。");
};
