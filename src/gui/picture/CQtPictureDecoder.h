#pragma once

#include "document/CPictureDecoder.h"

#include <cstdint>
#include <string>
#include <vector>

// Decodes pictures with Qt's image reader: BMP, JPEG, PNG and whatever other
// format Qt has a reader for, recognised by content. The result is 32 bits
// per pixel (B, G, R, 255). Pictures beyond the limits are refused from their
// header, before any pixel memory is allocated.
class CQtPictureDecoder : public CPictureDecoder {
public:
    // The templates of the decoder's composed messages (core texts, see
    // document/CText.h), ended by a null.
    static const char* const kPatterns[];

    struct Limits {
        int32_t maxWidth = 16384;
        int32_t maxHeight = 16384;
        int64_t maxPixels = int64_t{64} * 1024 * 1024; // 256 MiB at 4 bytes a pixel
    };

    CQtPictureDecoder();
    // `formats`: the Qt format names accepted ("bmp", "jpeg", ...); empty
    // accepts every format Qt reads.
    explicit CQtPictureDecoder(Limits limits, std::vector<std::string> formats = {});

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, std::string& error) const override;

    const Limits& GetLimits() const { return m_limits; }

private:
    bool WithinLimits(int64_t width, int64_t height) const;
    std::string TooLargeText(int64_t width, int64_t height) const;

    Limits m_limits;
    std::vector<std::string> m_formats;
};
