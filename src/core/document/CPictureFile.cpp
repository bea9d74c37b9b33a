#include "CPictureFile.h"

#include "files/CFileAccess.h"
#include "CPictureDecoder.h"
#include "message/CText.h"

#include <cerrno>
#include <new>

bool CPictureFile::Decode(const uint8_t* data, size_t size, CMessage& error)
{
    if (!m_decoder) {
        error = CMessage(TRV_TEXT("CoreText", "没有可用的图片解码器。"));
        return false;
    }
    try {
        auto image = std::make_shared<CPictureImage>();
        if (!m_decoder->Decode(data, size, *image, error)) {
            if (error.IsEmpty()) {
                error = CMessage(TRV_TEXT("CoreText", "无法识别的图片格式。"));
            }
            return false;
        }
        const uint64_t expected = static_cast<uint64_t>(image->width) * static_cast<uint64_t>(image->height) * 4;
        if (image->width <= 0 || image->height <= 0 || image->pixels.size() != expected) {
            error = CMessage(TRV_TEXT("CoreText", "图片解码结果无效。"));
            return false;
        }
        m_image = std::move(image);
    } catch (const std::bad_alloc&) {
        error = CMessage(TRV_TEXT("CoreText", "内存不足,无法载入图片。"));
        return false;
    }
    return true;
}

int32_t CPictureFile::LoadFromStream(const uint8_t* data, size_t size)
{
    m_image.reset();
    m_bLoaded = 0;
    CMessage error;
    if (!Decode(data, size, error)) {
        m_lastError = error;
        return 0;
    }
    m_bLoaded = 1;
    m_missingPath.clear();
    m_lastError = CMessage();
    return 1;
}

int32_t CPictureFile::LoadFromFile(const std::string& path)
{
    CByteVector bytes;
    const CFileAccess::Result read = CFileAccess::ReadFile(path, bytes, kMaxFileBytes);
    if (!read.ok && read.error != EFBIG && read.error != ENOMEM) {
        // Not opened: the holder keeps its picture and path.
        m_lastError = CMessage(kCannotOpen, {CMessage::Name(path), CFileAccess::ErrorMessage(read.error)});
        return 0;
    }
    m_image.reset();
    m_bLoaded = 0;
    CMessage error;
    if (!read.ok) {
        error = CFileAccess::ErrorMessage(read.error);
    } else if (Decode(bytes.data(), bytes.size(), error)) {
        m_bLoaded = 1;
        m_strPath = path;
        m_missingPath.clear();
        m_lastError = CMessage();
        return 1;
    }
    m_lastError = CMessage(kCannotLoad, {CMessage::Name(path), error});
    return 0;
}

void CPictureFile::SetImage(std::shared_ptr<const CPictureImage> image)
{
    m_image = std::move(image);
    m_bLoaded = m_image ? 1 : 0;
    if (m_image) m_missingPath.clear();
    m_lastError = CMessage();
}

void CPictureFile::SetMissing(const std::string& path)
{
    m_image.reset();
    m_bLoaded = 0;
    m_strPath.clear();
    m_missingPath = path;
}

SIZE CPictureFile::GetSizeInPixels() const
{
    if (!m_bLoaded || !m_image) {
        return SIZE{};
    }
    return SIZE{m_image->width, m_image->height};
}
