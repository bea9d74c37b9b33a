#pragma once

#include "CPointSets.h"

#include <cstdint>
#include <optional>
#include <string>

// How a picture is brought to another picture's size.
enum class FitMode {
    kPad,     // scaled to fit inside, the rest black
    kCrop,    // scaled to cover, the overhang cut off
    kStretch, // scaled to the size in each direction on its own
};

// Where a picture of one size goes on a canvas of another: it is scaled to
// ScaledWidth() x ScaledHeight() and placed with its top-left corner at
// (OffsetX(), OffsetY()) on a black canvas of the new size; padding centres
// it (a negative offset when cropping). Only the part of the picture that
// stays (Kept*) needs scaling: it is scaled to the place it covers on the
// canvas (Place*). When cropping, that part is the centred whole number of
// rows or columns nearest to what the canvas shows, scaled to the whole
// canvas, so a crop never costs more than the canvas whatever the scale
// (the scaled size of the whole picture may not even fit in memory). The
// picture itself and the feature lines drawn on it move the same way.
class CFitTransform {
public:
    CFitTransform(FitMode mode, int32_t fromWidth, int32_t fromHeight, int32_t toWidth, int32_t toHeight);

    FitMode Mode() const { return m_mode; }
    int32_t ToWidth() const { return m_toWidth; }
    int32_t ToHeight() const { return m_toHeight; }
    int32_t ScaledWidth() const { return m_scaledWidth; }
    int32_t ScaledHeight() const { return m_scaledHeight; }
    int32_t OffsetX() const { return m_offsetX; }
    int32_t OffsetY() const { return m_offsetY; }
    // The part of the picture kept, in picture pixels, and the canvas
    // rectangle it is scaled to.
    int32_t KeptX() const { return m_keptX; }
    int32_t KeptY() const { return m_keptY; }
    int32_t KeptWidth() const { return m_keptWidth; }
    int32_t KeptHeight() const { return m_keptHeight; }
    int32_t PlaceX() const { return m_placeX; }
    int32_t PlaceY() const { return m_placeY; }
    int32_t PlaceWidth() const { return m_placeWidth; }
    int32_t PlaceHeight() const { return m_placeHeight; }

    // The canvas pixel a picture pixel lands on: the one under the scaled
    // centre of that pixel, kept on the canvas (a point cut off by the crop
    // goes to the canvas's edge).
    int32_t MapX(int32_t x) const;
    int32_t MapY(int32_t y) const;
    // Moves every point of every line of one image; labels stay.
    void Apply(CPointSets<int>& lines) const;

    // "pad", "crop" or "stretch".
    static std::optional<FitMode> ParseMode(const std::string& name);

private:
    static int32_t Map(int32_t v, int32_t kept, int32_t keptExtent, int32_t place, int32_t placeExtent, int32_t to);

    FitMode m_mode;
    int32_t m_fromWidth;
    int32_t m_fromHeight;
    int32_t m_toWidth;
    int32_t m_toHeight;
    int32_t m_scaledWidth;
    int32_t m_scaledHeight;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    int32_t m_keptX = 0;
    int32_t m_keptY = 0;
    int32_t m_keptWidth;
    int32_t m_keptHeight;
    int32_t m_placeX = 0;
    int32_t m_placeY = 0;
    int32_t m_placeWidth;
    int32_t m_placeHeight;
};
