#include "CDlibFaceFinder.h"

#include "document/CPictureImage.h"
#include "faces/CFaceMessages.h"

#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/serialize.h>

#include <algorithm>
#include <cmath>
#include <exception>

struct CDlibFaceFinder::Detector {
    dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
};

struct CDlibFaceFinder::Model {
    dlib::shape_predictor predictor;
    std::string error; // why the model could not be read
};

namespace {

using Grey = dlib::array2d<unsigned char>;

// The picture in grey (ITU-R BT.601 weights), at full size.
void ToGrey(const CPictureImage& picture, Grey& grey)
{
    grey.set_size(picture.height, picture.width);
    const uint8_t* pixels = picture.pixels.data();
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(picture.width) * 4;
        unsigned char* out = &grey[y][0];
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * 4;
            out[x] = static_cast<unsigned char>((29u * p[0] + 150u * p[1] + 77u * p[2] + 128u) >> 8);
        }
    }
}

// `grey` reduced to `width` x `height`, each pixel the mean of the pixels
// its area covers.
void Reduce(const Grey& grey, long width, long height, Grey& reduced)
{
    reduced.set_size(height, width);
    const long sw = grey.nc();
    const long sh = grey.nr();
    for (long y = 0; y < height; ++y) {
        const long y0 = y * sh / height;
        const long y1 = std::max(y0 + 1, (y + 1) * sh / height);
        for (long x = 0; x < width; ++x) {
            const long x0 = x * sw / width;
            const long x1 = std::max(x0 + 1, (x + 1) * sw / width);
            unsigned long sum = 0;
            for (long v = y0; v < y1; ++v) {
                const unsigned char* row = &grey[v][0];
                for (long u = x0; u < x1; ++u)
                    sum += row[u];
            }
            const unsigned long count = static_cast<unsigned long>((y1 - y0) * (x1 - x0));
            reduced[y][x] = static_cast<unsigned char>((sum + count / 2) / count);
        }
    }
}

} // namespace

CDlibFaceFinder::CDlibFaceFinder(std::string modelPath)
    : m_modelPath(std::move(modelPath)), m_detector(std::make_unique<Detector>())
{
    m_model = std::async(std::launch::async, [path = m_modelPath] {
                  auto model = std::make_shared<Model>();
                  try {
                      dlib::deserialize(path) >> model->predictor;
                  } catch (const std::exception& e) {
                      model->error = e.what();
                  }
                  return std::shared_ptr<const Model>(std::move(model));
              }).share();
}

CDlibFaceFinder::~CDlibFaceFinder()
{
    if (m_model.valid()) m_model.wait();
}

CFaceSearch CDlibFaceFinder::Find(const CPictureImage& picture, CCancelToken::Ticket cancel) const
{
    CFaceSearch search;
    auto cancelled = [&] {
        if (!cancel.IsAbandoned()) return false;
        search.result = CFaceSearch::Result::kCancelled;
        return true;
    };
    if (picture.width <= 0 || picture.height <= 0) return search;

    Grey grey;
    ToGrey(picture, grey);
    const double scale =
        std::min(1.0, static_cast<double>(kDetectSide) / static_cast<double>(std::max(picture.width, picture.height)));
    Grey reduced;
    const Grey* detectOn = &grey;
    if (scale < 1.0) {
        const long width = std::max(1L, std::lround(picture.width * scale));
        const long height = std::max(1L, std::lround(picture.height * scale));
        Reduce(grey, width, height, reduced);
        detectOn = &reduced;
    }
    if (cancelled()) return search;

    Detector detector = *m_detector;
    const std::vector<dlib::rectangle> faces = detector.detector(*detectOn);
    if (cancelled()) return search;
    search.faces = static_cast<int32_t>(faces.size());
    if (faces.empty()) return search;
    const dlib::rectangle largest =
        *std::max_element(faces.begin(), faces.end(), [](const auto& a, const auto& b) { return a.area() < b.area(); });
    // The box at full size: its edges through the reduced picture's pixel
    // edges.
    const double up = 1.0 / scale;
    const dlib::rectangle box(std::lround(largest.left() * up), std::lround(largest.top() * up),
                              std::lround((largest.right() + 1) * up) - 1,
                              std::lround((largest.bottom() + 1) * up) - 1);

    const std::shared_ptr<const Model> model = m_model.get();
    if (!model->error.empty()) {
        search.result = CFaceSearch::Result::kFailed;
        search.error = CFaceMessages::BadModel(m_modelPath, model->error);
        return search;
    }
    if (cancelled()) return search;
    const dlib::full_object_detection shape = model->predictor(grey, box);
    if (shape.num_parts() != static_cast<unsigned long>(CFaceLandmarks::kCount)) {
        search.result = CFaceSearch::Result::kFailed;
        search.error = CFaceMessages::BadModel(m_modelPath, "not a 68-point model");
        return search;
    }
    for (int32_t i = 0; i < CFaceLandmarks::kCount; ++i) {
        const dlib::point p = shape.part(static_cast<unsigned long>(i));
        search.face.points[static_cast<size_t>(i)] = {static_cast<double>(p.x()), static_cast<double>(p.y())};
    }
    search.face.left = static_cast<int32_t>(box.left());
    search.face.top = static_cast<int32_t>(box.top());
    search.face.right = static_cast<int32_t>(box.right());
    search.face.bottom = static_cast<int32_t>(box.bottom());
    search.result = CFaceSearch::Result::kFound;
    return search;
}
