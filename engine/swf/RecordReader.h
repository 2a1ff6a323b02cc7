// Reading the format's records from a Reader; shapeVersion is 1..4 for DefineShape..DefineShape4.
#pragma once
#include "engine/swf/Reader.h"
#include "engine/swf/Records.h"

namespace swf {

Rect ReadRect(Reader& r);
Matrix ReadMatrix(Reader& r);
ColorTransform ReadColorTransform(Reader& r, bool withAlpha);
Rgba ReadRgb(Reader& r);
Rgba ReadRgba(Reader& r);
Gradient ReadGradient(Reader& r, int shapeVersion, bool focal);
FillStyle ReadFillStyle(Reader& r, int shapeVersion);
LineStyle ReadLineStyle(Reader& r, int shapeVersion);
ShapeStyles ReadShapeStyles(Reader& r, int shapeVersion);
// Shape records up to the end record; the style bit counts come from the caller's styles.
std::vector<ShapeRecord> ReadShapeRecords(Reader& r, int shapeVersion, unsigned fillBits, unsigned lineBits);
Shape ReadShapeWithStyle(Reader& r, int shapeVersion);
std::vector<Filter> ReadFilterList(Reader& r);

} // namespace swf
