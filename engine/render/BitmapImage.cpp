#include "engine/render/BitmapImage.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>

namespace swf {

QImage BitmapToImage(const BitmapCharacter& bitmap)
{
    if (bitmap.kind == BitmapCharacter::Kind::Png || bitmap.kind == BitmapCharacter::Kind::Gif) {
        if (bitmap.data.size() > size_t(INT32_MAX))
            return {};
        const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(bitmap.data.data()),
                                                         qsizetype(bitmap.data.size()));
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, bitmap.kind == BitmapCharacter::Kind::Png ? "png" : "gif");
        // Refuse absurd sizes from the header before anything is allocated.
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > kMaxBitmapSide || size.height() > kMaxBitmapSide
            || int64_t(size.width()) * size.height() > kMaxBitmapPixels)
            return {};
        QImage image = reader.read();
        if (image.isNull())
            return {};
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    RgbaImage decoded;
    if (!DecodeBitmap(bitmap, decoded))
        return {};
    QImage image(decoded.width, decoded.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    const size_t rowBytes = size_t(decoded.width) * 4;
    for (int y = 0; y < decoded.height; ++y)
        std::memcpy(image.scanLine(y), decoded.pixels.data() + size_t(y) * size_t(decoded.width), rowBytes);
    return image;
}

} // namespace swf
