#pragma once

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
    virtual bool Decode(const uint8_t* data, size_t size, CPictureImage& out, std::string& error) const = 0;
};
