// Decoded bitmaps as QImages, kept with their character; colour-transformed copies cached too.
#pragma once
#include "engine/swf/Movie.h"

#include <QImage>

namespace swf {

// Null when the bitmap cannot be decoded. Safe from any thread.
QImage BitmapImageOf(const BitmapDefinition& bitmap);
QImage TransformedBitmapImage(const BitmapDefinition& bitmap, const ColorTransform& cx);

// Applies a colour transform to a premultiplied image.
QImage ApplyColorTransform(const QImage& image, const ColorTransform& cx);

} // namespace swf
