// Bitmap characters as QImages for drawing.
#pragma once

#include "engine/swf/Bitmap.h"

#include <QImage>

namespace swf {

// Every kind (PNG and GIF through Qt's readers), with the JPEG alpha plane applied; always
// Format_ARGB32_Premultiplied; a null image when the data cannot be decoded.
QImage BitmapToImage(const BitmapCharacter& bitmap);

} // namespace swf
