#pragma once

#include "document/CPictureDecoder.h"
#include "document/CPictureLimits.h"

#include <cstdint>
#include <string>
#include <vector>

// Decodes pictures with Qt's image reader: BMP, JPEG, PNG and whatever other
// format Qt has a reader for, recognised by content. The result is 32 bits
// per pixel (B, G, R, 255). Pictures beyond the limits are refused from their
// header, before any pixel memory is allocated. Decodes on several threads
// run one after another.
class CQtPictureDecoder : public CPictureDecoder {
public:
    // A picture in a format not accepted: %1 the format's name.
    static constexpr const char* kUnsupportedFormat = TRV_TEXT("CoreText", "不支持的图片格式(%1)。");

    using Limits = CPictureLimits;

    CQtPictureDecoder();
    // `formats`: the Qt format names accepted ("bmp", "jpeg", ...); empty
    // accepts every format Qt reads.
    explicit CQtPictureDecoder(Limits limits, std::vector<std::string> formats = {});

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override;

    const Limits& GetLimits() const { return m_limits; }

private:
    Limits m_limits;
    std::vector<std::string> m_formats;
};
