#pragma once

#include "faces/CFaceFinder.h"

#include <future>
#include <memory>
#include <string>

// The face finder over dlib: its HOG frontal face detector (built into the
// library, no model file) on a reduced grey copy of the picture, then the
// 68-point shape predictor (the model file, read in the background from
// construction on) on the full-size grey picture in the detector's box
// brought back to full size.
class CDlibFaceFinder : public CFaceFinder {
public:
    explicit CDlibFaceFinder(std::string modelPath);
    ~CDlibFaceFinder() override;

    CFaceSearch Find(const CPictureImage& picture, CCancelToken::Ticket cancel) const override;

private:
    struct Detector;
    struct Model;

    std::string m_modelPath;
    std::unique_ptr<Detector> m_detector; // a copy per search
    std::shared_future<std::shared_ptr<const Model>> m_model;
};
