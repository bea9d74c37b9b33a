#pragma once

#include "CPictureImage.h"
#include "message/CMessage.h"
#include "message/CText.h"
#include "SIZE.h"
#include "geometry/RECT.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPictureDecoder;

// One input picture: the decoded image, whether one is held, and the path
// of the file it was last loaded from.
//
// Failure rules: a file that cannot be opened (missing, unreadable, a folder,
// not a regular file) changes nothing; a file that opens but does not decode
// (corrupt, unknown format, too large) leaves the holder empty with its path
// unchanged. Either way the result is 0 and GetLastError says why.
//
// A holder marked missing (SetMissing) holds nothing and no path but
// remembers the file that was looked for; any picture it takes later
// clears the mark.
class CPictureFile {
public:
    CPictureFile() = default;

    void SetDecoder(std::shared_ptr<const CPictureDecoder> decoder) { m_decoder = std::move(decoder); }
    const std::shared_ptr<const CPictureDecoder>& GetDecoder() const { return m_decoder; }

    // Reads the file whole and decodes it; on success takes `path` as the
    // picture's path. Returns 1 on success, 0 on failure.
    int32_t LoadFromFile(const std::string& path);
    // Decodes a picture from memory; the path is not touched. Returns 1 or 0.
    int32_t LoadFromStream(const uint8_t* data, size_t size);
    int32_t LoadFromStream(const std::vector<uint8_t>& bytes) { return LoadFromStream(bytes.data(), bytes.size()); }

    // Holds an image made elsewhere (a picture brought to another size);
    // the path stays. A null image leaves the holder empty.
    void SetImage(std::shared_ptr<const CPictureImage> image);

    // Lets go of the picture and its path and remembers `path` as the file
    // that should have been loaded (empty: none was named).
    void SetMissing(const std::string& path);
    // The file last marked missing, or empty when the holder is not marked.
    const std::string& GetMissingPath() const { return m_missingPath; }
    bool IsMissing() const { return !m_missingPath.empty(); }

    // The picture's size in pixels, (0, 0) when none is held.
    SIZE GetSizeInPixels() const;

    int32_t IsLoaded() const { return m_bLoaded; }
    std::string GetPath() const { return m_strPath; }
    // The held image, or null.
    const CPictureImage* GetImage() const { return m_image.get(); }
    // The held image as a shared handle (it never changes once decoded; a
    // new load makes a new one), or null when none is held.
    std::shared_ptr<const CPictureImage> GetSharedImage() const { return m_bLoaded ? m_image : nullptr; }
    // Why the last load failed; empty after a successful one.
    const CMessage& GetLastError() const { return m_lastError; }

    // Picture files beyond this size are refused without being read.
    static constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;
    // Load failures: %1 the path, %2 why.
    static constexpr const char* kCannotOpen = TRV_TEXT("CoreText", "无法打开图片文件 %1:%2");
    static constexpr const char* kCannotLoad = TRV_TEXT("CoreText", "无法载入图片 %1:%2");

private:
    bool Decode(const uint8_t* data, size_t size, CMessage& error);

    std::shared_ptr<const CPictureDecoder> m_decoder;
    std::shared_ptr<const CPictureImage> m_image;
    int32_t m_bLoaded = 0;
    std::string m_strPath;
    std::string m_missingPath;
    CMessage m_lastError;
};
