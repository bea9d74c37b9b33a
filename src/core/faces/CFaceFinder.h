#pragma once

#include "CFaceLandmarks.h"
#include "message/CMessage.h"
#include "morph/CCancelToken.h"

#include <cstdint>
#include <string>

struct CPictureImage;

// What a search of one picture found.
struct CFaceSearch {
    enum class Result : int32_t {
        kFound,     // `face` holds the largest face's landmarks
        kNoFace,    // the picture shows no face the detector knows
        kCancelled, // the ticket was abandoned
        kFailed,    // `error` says why (the model could not be read)
    };
    Result result = Result::kNoFace;
    // How many faces the detector saw (the largest is the one in `face`).
    int32_t faces = 0;
    CFaceLandmarks face;
    CMessage error;
};

// Finds faces and their landmarks, made by the face module (see
// CFaceModule): the detector and the landmark model link dlib, which only a
// process that looks for faces loads.
class CFaceFinder {
public:
    virtual ~CFaceFinder() = default;

    // The largest face of `picture`: found on a copy reduced to at most
    // kDetectSide pixels on its longer side, its landmarks placed on the
    // picture at full size. The ticket is checked between the steps. May be
    // called from several threads at once.
    virtual CFaceSearch Find(const CPictureImage& picture, CCancelToken::Ticket cancel) const = 0;

    static constexpr int32_t kDetectSide = 640;

    // The module's one exported function, by this name: a new finder, owned
    // by the caller, over the landmark model at `modelPath` (a file known to
    // exist). The model is read in the background from then on; Find waits
    // for it where it needs it, and reports a model that cannot be read.
    using MakeFunction = CFaceFinder* (*)(const std::string& modelPath);
    static constexpr const char* kMakeFunctionName = "trevalin_make_face_finder";
};
