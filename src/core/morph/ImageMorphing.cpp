#include "ImageMorphing.h"

#include "CRowPool.h"

ImageMorphing::ImageMorphing() = default;

ImageMorphing::~ImageMorphing() = default;

void ImageMorphing::PostDraw(CDC*) {}

int32_t ImageMorphing::MorphPairs(CBitmap& out, int32_t k, const CLinePairs&)
{
    return Morph(out, k, nullptr);
}

void ImageMorphing::LoadImage(const CBitmap& bitmap, int32_t index)
{
    if (index < 0 || index > 1) {
        return;
    }
    ShareImage(std::make_shared<const CBitmap>(bitmap), index);
}

void ImageMorphing::ShareImage(std::shared_ptr<const CBitmap> bitmap, int32_t index)
{
    if (index < 0 || index > 1) {
        return;
    }
    BITMAP& record = m_image[index];
    record = BITMAP{};
    m_pictures[index].reset();
    if (!bitmap) {
        return;
    }
    bitmap->GetObject(static_cast<int>(sizeof(BITMAP)), &record);
    // A bitmap holds bmWidthBytes x bmHeight bytes, or none when empty.
    if (bitmap->SizeBytes() > 0) {
        m_pictures[index] = std::move(bitmap);
        record.bmBits = const_cast<uint8_t*>(m_pictures[index]->Bits());
    }
}

int32_t ImageMorphing::IsCompatible() const
{
    const BITMAP& a = m_image[0];
    const BITMAP& b = m_image[1];
    const bool same = a.bmWidth == b.bmWidth && a.bmHeight == b.bmHeight && a.bmBitsPixel == b.bmBitsPixel;
    return same && a.bmBitsPixel >= 8 ? 1 : 0;
}

void ImageMorphing::SetSteps(int32_t n)
{
    m_fSteps = static_cast<float>(n);
}

size_t ImageMorphing::FrameBytes() const
{
    const BITMAP& a = m_image[0];
    if (a.bmWidthBytes <= 0 || a.bmHeight <= 0) {
        return 0;
    }
    return static_cast<size_t>(a.bmWidthBytes) * static_cast<size_t>(a.bmHeight);
}

double ImageMorphing::ShapeFraction(int32_t k) const
{
    return m_options.shape.Apply(static_cast<double>(k) / static_cast<double>(m_fSteps));
}

double ImageMorphing::ColourFraction(int32_t k) const
{
    const double t = m_options.colour.Apply(static_cast<double>(k) / static_cast<double>(m_fSteps));
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

bool ImageMorphing::CanMakeFrame(int32_t k) const
{
    const double n = m_fSteps;
    if (!(n >= 1.0) || k < 0 || static_cast<double>(k) > n) {
        return false;
    }
    const size_t bytes = FrameBytes();
    return bytes > 0 && m_image[0].bmBitsPixel >= 8 && PixelBytes(0) >= bytes && PixelBytes(1) >= bytes;
}

void ImageMorphing::SetRowPool(CRowPool* pPool)
{
    m_pPool = pPool;
}

CRowPool& ImageMorphing::Pool()
{
    if (m_pPool != nullptr) {
        return *m_pPool;
    }
    if (!m_ownPool) {
        m_ownPool = std::make_unique<CRowPool>(CRowPool::DefaultThreadCount());
    }
    return *m_ownPool;
}

uint8_t* ImageMorphing::FrameTarget(CBitmap& out, size_t bytes)
{
    if (out.SizeBytes() >= bytes) {
        return out.Bits();
    }
    m_spareFrame.resize(bytes);
    return m_spareFrame.data();
}

void ImageMorphing::FinishFrame(CBitmap& out, const uint8_t* frame, size_t bytes)
{
    if (frame != out.Bits()) {
        out.SetBitmapBits(static_cast<long>(bytes), frame);
    }
}
