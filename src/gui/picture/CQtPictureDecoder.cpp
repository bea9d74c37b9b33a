#include "CQtPictureDecoder.h"

#include "document/CJpegDecoder.h"
#include "document/CPictureHeader.h"
#include "document/CPictureImage.h"
#include "message/CText.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr int64_t kMiB = 1024 * 1024;

std::string Format(const QByteArray& name)
{
    return name.toLower().toStdString();
}

} // namespace

CQtPictureDecoder::CQtPictureDecoder() : CQtPictureDecoder(Limits{}) {}

CQtPictureDecoder::CQtPictureDecoder(Limits limits, std::vector<std::string> formats)
    : m_limits(limits), m_formats(std::move(formats))
{
}

bool CQtPictureDecoder::Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const
{
    if (data == nullptr || size == 0) {
        error = CMessage(TRV_TEXT("CoreText", "图片文件是空的。"));
        return false;
    }
    // BMP and JPEG headers are read here first: Qt gives no size for some
    // headers it considers implausible, and the user should learn why.
    int64_t claimedWidth = 0;
    int64_t claimedHeight = 0;
    if (CPictureHeader::ClaimedSize(data, size, claimedWidth, claimedHeight) &&
        (claimedWidth > m_limits.maxWidth || claimedHeight > m_limits.maxHeight ||
         claimedWidth * claimedHeight > m_limits.maxPixels)) {
        error = m_limits.TooLargeText(claimedWidth, claimedHeight);
        return false;
    }
    if (CPictureHeader::JpegBeyondFile(data, size)) {
        error = CMessage(CJpegDecoder::kBeyondFile, {claimedWidth, claimedHeight, static_cast<uint64_t>(size)});
        return false;
    }
    if (CPictureHeader::BmpPixelsMissing(data, size)) {
        error = CMessage(TRV_TEXT("CoreText", "图片文件不完整:缺少部分像素数据。"));
        return false;
    }
    // Qt's allocation limit is one for the whole program: decodes from
    // several threads take turns.
    static std::mutex qtReader;
    const std::lock_guard<std::mutex> turn(qtReader);
    try {
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(false);
        reader.setDecideFormatFromContent(true);
        const std::string format = Format(reader.format());
        if (format.empty()) {
            error = CMessage(TRV_TEXT("CoreText", "无法识别的图片格式。"));
            return false;
        }
        if (!m_formats.empty() && std::find(m_formats.begin(), m_formats.end(), format) == m_formats.end()) {
            error = CMessage(kUnsupportedFormat, {format});
            return false;
        }
        // The header's size decides before any pixel is allocated; Qt's own
        // allocation limit backs this up for readers that cannot tell.
        const QSize header = reader.size();
        if (header.isValid() && !m_limits.Within(header.width(), header.height())) {
            error = m_limits.TooLargeText(header.width(), header.height());
            return false;
        }
        QImageReader::setAllocationLimit(static_cast<int>((m_limits.maxPixels * 4 + kMiB - 1) / kMiB + 1));
        QImage image;
        if (!reader.read(&image) || image.isNull()) {
            error = CMessage(kDamaged, {reader.errorString().toStdString()});
            return false;
        }
        if (!m_limits.Within(image.width(), image.height())) {
            error = m_limits.TooLargeText(image.width(), image.height());
            return false;
        }
        if (image.format() != QImage::Format_RGB32) {
            image = image.convertToFormat(QImage::Format_RGB32);
            if (image.isNull()) {
                error = CMessage(TRV_TEXT("CoreText", "内存不足,无法载入图片。"));
                return false;
            }
        }
        const int32_t width = image.width();
        const int32_t height = image.height();
        const size_t rowBytes = static_cast<size_t>(width) * 4;
        CByteVector pixels(rowBytes * static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uint8_t* dst = pixels.data() + rowBytes * static_cast<size_t>(y);
            for (int32_t x = 0; x < width; ++x, dst += 4) {
                dst[0] = static_cast<uint8_t>(qBlue(row[x]));
                dst[1] = static_cast<uint8_t>(qGreen(row[x]));
                dst[2] = static_cast<uint8_t>(qRed(row[x]));
                dst[3] = 255;
            }
        }
        out.width = width;
        out.height = height;
        out.pixels = std::move(pixels);
    } catch (const std::bad_alloc&) {
        error = CMessage(TRV_TEXT("CoreText", "内存不足,无法载入图片。"));
        return false;
    }
    return true;
}
