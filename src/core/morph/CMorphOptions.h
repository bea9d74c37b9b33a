#pragma once

#include "CTimingCurve.h"

#include <cstdint>

// How the engines make frame k of N beyond the choice of engine. The
// defaults are the engines' plain behaviour, byte for byte.
struct CMorphOptions {
    // The shorthand of the command line's --ease: one curve for both uses.
    enum class Ease : int32_t {
        kLinear = 0, // t = k / N
        kSmooth = 1, // t = 3 s^2 - 2 s^3 with s = k / N: slow at both ends
    };
    enum class Edge : int32_t {
        kBlack = 0,  // a sample that maps outside the picture adds nothing
        kExtend = 1, // it takes the nearest pixel on the picture's edge
    };
    enum class Quality : int32_t {
        kClassic = 0, // whole-pixel positions and samples, the engine's first arithmetic
        kSmooth = 1,  // positions in real numbers, both pictures sampled bilinearly
    };

    // Feature morph only: frame k is the source picture warped to the lines
    // at t, without the dissolve into the target.
    bool warpOnly = false;
    // The curves taking s = k / N to the fraction t of frame k: `shape`'s t
    // places the in-between lines, `colour`'s t gives the weights of the
    // dissolve (1 - t and t, taken into [0, 1]).
    CTimingCurve shape;
    CTimingCurve colour;
    // Feature morph only (the dissolve never samples outside the picture).
    Edge edge = Edge::kBlack;
    // Feature morph only: how a frame is computed (see FBMorphing). Smooth
    // frames ignore `edge`: a sample outside a picture always takes the
    // nearest edge pixel.
    Quality quality = Quality::kClassic;

    bool IsDefault() const
    {
        return !warpOnly && shape.IsLinear() && colour.IsLinear() && edge == Edge::kBlack &&
               quality == Quality::kClassic;
    }
    bool operator==(const CMorphOptions& o) const
    {
        return warpOnly == o.warpOnly && shape == o.shape && colour == o.colour && edge == o.edge &&
               quality == o.quality;
    }
    bool operator!=(const CMorphOptions& o) const { return !(*this == o); }
    // Both curves set from the shorthand.
    void SetEase(Ease ease)
    {
        shape = colour = ease == Ease::kSmooth ? CTimingCurve::Kind::kSmooth : CTimingCurve::Kind::kLinear;
    }

    // The words of the command line and the options file: "linear",
    // "smooth", "black", "extend", "classic" (and "smooth" for the quality).
    static const char* EdgeName(Edge edge) { return edge == Edge::kExtend ? "extend" : "black"; }
    static const char* QualityName(Quality quality) { return quality == Quality::kSmooth ? "smooth" : "classic"; }
    // False (and `out` untouched) for any other word.
    static bool ParseEase(const char* word, Ease& out);
    static bool ParseEdge(const char* word, Edge& out);
    static bool ParseQuality(const char* word, Quality& out);
};
