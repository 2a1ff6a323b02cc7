#include "platform/vcl/DrawTransparent.h"

#include <QImage>

void DrawTransparent(QPainter& canvas, const QPixmap& bitmap, int x, int y, QColor transparent)
{
    if (bitmap.isNull())
        return;
    QImage image = bitmap.toImage().convertToFormat(QImage::Format_ARGB32);
    // The colour key compares red, green and blue only, as a mask blit does.
    const QRgb key = transparent.rgb() & 0x00FFFFFF;
    for (int row = 0; row < image.height(); ++row) {
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < image.width(); ++col)
            if ((px[col] & 0x00FFFFFF) == key)
                px[col] = 0;
    }
    canvas.drawImage(x, y, image);
}
