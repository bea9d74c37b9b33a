#pragma once

#include <functional>

// What the compression-options dialog chooses for a video.
struct CCompressionOptions {
    enum Codec : int { kUncompressed = 0, kMotionJpeg = 1 };
    int codec = kUncompressed;
    int quality = 90; // Motion JPEG quality, 1 to 100
};

// Shows the compression-options dialog: fills in the choice and returns
// true for OK, false when the user cancels. Headless runs pass a chooser that
// accepts the options it is given.
using CCompressionChooser = std::function<bool(CCompressionOptions&)>;
