// Draws a bitmap leaving out every pixel of one colour, so the canvas shows through there.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>

void DrawTransparent(QPainter& canvas, const QPixmap& bitmap, int x, int y, QColor transparent);
