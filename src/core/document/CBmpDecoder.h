#pragma once

#include "CPictureDecoder.h"
#include "CPictureLimits.h"

// Decodes Windows BMP files: the core (12-byte), info (40-byte), V4 and V5
// headers; 1, 4 and 8 bits per pixel through the colour table, 16 and 32
// bits plain or with bit-field masks of up to 8 bits a channel, 24 bits;
// rows bottom-up or top-down; 8- and 4-bit run-length coding. The result is
// what Qt's BMP reader makes of the same file, byte for byte.
//
// It takes only files it reads completely and unambiguously: every pixel
// present (run-length data covering every row, without jumps), every colour
// index inside the colour table, the pixel data after the headers and the
// table, the picture within the limits. Anything else is refused, so that a
// caller can hand it to a decoder that knows what the platform does with it.
class CBmpDecoder : public CPictureDecoder {
public:
    explicit CBmpDecoder(CPictureLimits limits = {}) : m_limits(limits) {}

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override;

    // Whether the data starts like a BMP file.
    static bool Recognizes(const uint8_t* data, size_t size);

private:
    CPictureLimits m_limits;
};
