// Brushes and pens from fill and line styles, with colour transforms applied.
#pragma once
#include "engine/display/Player.h"

#include <QBrush>
#include <QPen>
#include <QTransform>

namespace swf {

QTransform ToQt(const Matrix& m);
QColor ToQColor(Rgba c);
// A gradient fill as a brush in shape space (the gradient square is -16384..16384 twips).
QBrush GradientBrush(const FillStyle& fill, const ColorTransform& cx);

} // namespace swf
