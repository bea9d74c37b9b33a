#pragma once

#include "document/CPictureDecoder.h"
#include "document/CPictureImage.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A stand-in decoder for the core tests. Its format: "FAKE", width and
// height (int32 little-endian, 1 to 64), one grey level; every pixel becomes
// (grey, grey, grey, 255). Anything else fails to decode.
class FakePictureDecoder : public CPictureDecoder {
public:
    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override
    {
        ++m_calls;
        if (size != 13 || std::memcmp(data, "FAKE", 4) != 0) {
            error = CMessage::Plain("not a fake picture");
            return false;
        }
        int32_t w = 0;
        int32_t h = 0;
        std::memcpy(&w, data + 4, 4);
        std::memcpy(&h, data + 8, 4);
        if (w < 1 || w > 64 || h < 1 || h > 64) {
            error = CMessage::Plain("bad fake size");
            return false;
        }
        out.width = w;
        out.height = h;
        out.pixels.assign(static_cast<size_t>(w * h * 4), data[12]);
        for (size_t i = 3; i < out.pixels.size(); i += 4) {
            out.pixels[i] = 255;
        }
        return true;
    }

    static std::vector<uint8_t> Picture(int32_t w, int32_t h, uint8_t grey)
    {
        std::vector<uint8_t> bytes{'F', 'A', 'K', 'E'};
        for (int32_t v : {w, h}) {
            for (int i = 0; i < 4; ++i) {
                bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
            }
        }
        bytes.push_back(grey);
        return bytes;
    }

    int Calls() const { return m_calls; }

private:
    // A document decodes its two pictures on two threads.
    mutable std::atomic<int> m_calls{0};
};
