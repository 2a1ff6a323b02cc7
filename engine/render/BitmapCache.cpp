#include "engine/render/BitmapCache.h"

#include "engine/render/BitmapImage.h"
#include "engine/swf/Bitmap.h"

#include <algorithm>
#include <deque>

namespace swf {

namespace {

struct Images {
    bool decoded = false;
    QImage image;
    std::deque<std::pair<ColorTransform, QImage>> transformed; // most recent first
};

constexpr size_t MaxTransformedCopies = 4;

Images& ImagesOf(const BitmapDefinition& bitmap) // cache mutex held
{
    if (!bitmap.cache.value)
        bitmap.cache.value = std::make_shared<Images>();
    auto& images = *static_cast<Images*>(bitmap.cache.value.get());
    if (!images.decoded) {
        images.decoded = true;
        if (bitmap.bitmap) {
            images.image = BitmapToImage(*bitmap.bitmap);
            if (!images.image.isNull() && images.image.format() != QImage::Format_ARGB32_Premultiplied)
                images.image = images.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
    return images;
}

} // namespace

QImage BitmapImageOf(const BitmapDefinition& bitmap)
{
    std::lock_guard lock(bitmap.cache.mutex);
    return ImagesOf(bitmap).image;
}

QImage ApplyColorTransform(const QImage& src, const ColorTransform& cx)
{
    QImage out = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = row[x];
            int a = qAlpha(p);
            Rgba c{0, 0, 0, uint8_t(a)};
            if (a > 0) { // back to straight colour for the transform
                c.r = uint8_t(std::min(255, qRed(p) * 255 / a));
                c.g = uint8_t(std::min(255, qGreen(p) * 255 / a));
                c.b = uint8_t(std::min(255, qBlue(p) * 255 / a));
            }
            Rgba t = cx.Apply(c);
            row[x] = qPremultiply(qRgba(t.r, t.g, t.b, t.a));
        }
    }
    return out;
}

QImage TransformedBitmapImage(const BitmapDefinition& bitmap, const ColorTransform& cx)
{
    std::lock_guard lock(bitmap.cache.mutex);
    Images& images = ImagesOf(bitmap);
    if (images.image.isNull() || cx.IsIdentity())
        return images.image;
    auto it = std::find_if(images.transformed.begin(), images.transformed.end(),
                           [&](const auto& e) { return e.first == cx; });
    if (it != images.transformed.end()) {
        QImage hit = it->second;
        if (it != images.transformed.begin()) {
            auto entry = *it;
            images.transformed.erase(it);
            images.transformed.push_front(entry);
        }
        return hit;
    }
    QImage made = ApplyColorTransform(images.image, cx);
    images.transformed.emplace_front(cx, made);
    if (images.transformed.size() > MaxTransformedCopies)
        images.transformed.pop_back();
    return made;
}

} // namespace swf
