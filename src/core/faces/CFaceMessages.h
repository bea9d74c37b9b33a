#pragma once

#include "message/CMessage.h"

#include <cstdint>
#include <string>

// Every message of the automatic face lines, in one place.
class CFaceMessages {
public:
    // The picture's name in messages: 源图像 (0) or 目标图像 (1).
    static CMessage PictureName(int32_t image);
    static CMessage NoPicture(int32_t image);
    // No face was found in picture `image`; nothing was changed.
    static CMessage NoFace(int32_t image);
    // Picture `image` shows `faces` faces; the largest was taken.
    static CMessage SeveralFaces(int32_t image, int32_t faces);
    // The landmark model is not installed at `path`.
    static CMessage MissingModel(const std::string& path);
    // The landmark model at `path` could not be read (`detail`: dlib's reason).
    static CMessage BadModel(const std::string& path, const std::string& detail);
    // The face module could not be found or loaded.
    static CMessage MissingModule(const std::string& detail);
    // `count` line pairs were added.
    static CMessage LinesAdded(int32_t count);
};
