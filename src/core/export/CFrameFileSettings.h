#pragma once

#include <cstdint>

// What a sequence of frame files asks for. The writer takes 32-bit screen
// frames of any size and scales them to width x height.
struct CFrameFileSettings {
    enum Format : int32_t {
        kPng = 0,  // lossless, 24-bit colour
        kJpeg = 1, // baseline JPEG, 4:4:4, at `quality`
        kBmp = 2,  // Windows bitmap, 32 bits per pixel
    };

    Format format = kPng;
    int32_t width = 0;
    int32_t height = 0;
    int32_t quality = 90; // JPEG: 0 to 100 (0 is taken as 1)

    // The name users see: "PNG", "JPEG", "BMP".
    static const char* FormatName(Format format);
    // The file name extension with its dot: ".png", ".jpg", ".bmp".
    static const char* Extension(Format format);
};
