#pragma once

#include "CPictureImage.h"

#include <cstdint>
#include <memory>
#include <string>

class CPictureDecoder;

// One input picture: the decoded image, whether one is held, and the path
// of the file it was last loaded from.
class CPictureFile {
public:
    CPictureFile() = default;

    void SetDecoder(std::shared_ptr<const CPictureDecoder> decoder) { m_decoder = std::move(decoder); }

    int32_t IsLoaded() const { return m_bLoaded; }
    std::string GetPath() const { return m_strPath; }
    // The held image, or null.
    const CPictureImage* GetImage() const { return m_image.get(); }

private:
    std::shared_ptr<const CPictureDecoder> m_decoder;
    std::shared_ptr<const CPictureImage> m_image;
    int32_t m_bLoaded = 0;
    std::string m_strPath;
};
