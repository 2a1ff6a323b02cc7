// A shape's records turned into paths once: closed fill contours per fill style, strokes per line style.
#pragma once
#include "engine/swf/Movie.h"

#include <QPainterPath>

#include <memory>
#include <vector>

namespace swf {

struct ShapeGeometry {
    struct Fill {
        const FillStyle* style;
        QPainterPath path;       // twips, shape space
    };
    struct Line {
        const LineStyle* style;
        QPainterPath path;
    };
    struct Layer {               // styles in force until the next new-styles record
        std::vector<Fill> fills;
        std::vector<Line> lines;
    };
    std::vector<Layer> layers;
    QPainterPath outline;        // union of all fill areas, for masks
};

ShapeGeometry BuildShapeGeometry(const Shape& shape, bool nonZeroWinding);

// Built on first use and kept with the character; safe from any thread.
std::shared_ptr<const ShapeGeometry> GeometryOf(const ShapeCharacter& shape);

} // namespace swf
