#include "engine/render/ShapeGeometry.h"

#include <map>
#include <unordered_map>

namespace swf {

namespace {

struct Point {
    int32_t x, y;
    bool operator==(const Point&) const = default;
};

struct PointHash {
    size_t operator()(const Point& p) const { return std::hash<int64_t>()((int64_t(p.x) << 32) ^ uint32_t(p.y)); }
};

struct Edge {
    Point from, to;
    bool curved = false;
    Point control{};
    Edge Reversed() const { return Edge{to, from, curved, control}; }
};

// Joins directed edges into closed contours: each contour follows edges end to start.
QPainterPath JoinContours(const std::vector<Edge>& edges, Qt::FillRule rule)
{
    QPainterPath path;
    path.setFillRule(rule);
    std::unordered_multimap<Point, size_t, PointHash> byStart;
    byStart.reserve(edges.size());
    for (size_t i = 0; i < edges.size(); ++i)
        byStart.emplace(edges[i].from, i);
    std::vector<bool> used(edges.size(), false);
    for (size_t first = 0; first < edges.size(); ++first) {
        if (used[first])
            continue;
        const Point start = edges[first].from;
        path.moveTo(start.x, start.y);
        size_t cur = first;
        for (;;) {
            used[cur] = true;
            const Edge& e = edges[cur];
            if (e.curved)
                path.quadTo(e.control.x, e.control.y, e.to.x, e.to.y);
            else
                path.lineTo(e.to.x, e.to.y);
            if (e.to == start)
                break;
            size_t next = SIZE_MAX;
            auto range = byStart.equal_range(e.to);
            for (auto it = range.first; it != range.second; ++it)
                if (!used[it->second]) {
                    next = it->second;
                    break;
                }
            if (next == SIZE_MAX)
                break; // an open contour: closed by the fill anyway
            cur = next;
        }
        path.closeSubpath();
    }
    return path;
}

struct LayerEdges {
    const ShapeStyles* styles;
    std::vector<std::vector<Edge>> fillEdges; // per fill style
    std::vector<std::vector<Edge>> lineEdges; // per line style, in drawing order
};

} // namespace

ShapeGeometry BuildShapeGeometry(const Shape& shape, bool nonZeroWinding)
{
    const Qt::FillRule rule = nonZeroWinding ? Qt::WindingFill : Qt::OddEvenFill;
    std::vector<LayerEdges> layers;
    auto newLayer = [&](const ShapeStyles& styles) {
        LayerEdges l;
        l.styles = &styles;
        l.fillEdges.resize(styles.fills.size());
        l.lineEdges.resize(styles.lines.size());
        layers.push_back(std::move(l));
    };
    newLayer(shape.styles);
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    Point pen{0, 0};
    for (const ShapeRecord& rec : shape.records) {
        if (rec.kind == ShapeRecord::Kind::StyleChange) {
            if (rec.hasNewStyles) {
                newLayer(rec.newStyles);
                fill0 = fill1 = line = 0;
            }
            if (rec.hasFill0)
                fill0 = rec.fill0;
            if (rec.hasFill1)
                fill1 = rec.fill1;
            if (rec.hasLine)
                line = rec.line;
            if (rec.hasMove)
                pen = Point{rec.moveX, rec.moveY};
            continue;
        }
        Edge e;
        e.from = pen;
        if (rec.kind == ShapeRecord::Kind::StraightEdge) {
            e.to = Point{pen.x + rec.dx, pen.y + rec.dy};
        } else {
            e.curved = true;
            e.control = Point{pen.x + rec.dx, pen.y + rec.dy};
            e.to = Point{e.control.x + rec.anchorDx, e.control.y + rec.anchorDy};
        }
        pen = e.to;
        LayerEdges& l = layers.back();
        // fill1 lies on the left of the edge's direction, fill0 on the right: walk fill0 backwards
        if (fill1 >= 1 && fill1 <= l.fillEdges.size())
            l.fillEdges[fill1 - 1].push_back(e);
        if (fill0 >= 1 && fill0 <= l.fillEdges.size() && fill0 != fill1)
            l.fillEdges[fill0 - 1].push_back(e.Reversed());
        if (line >= 1 && line <= l.lineEdges.size())
            l.lineEdges[line - 1].push_back(e);
    }

    ShapeGeometry g;
    g.outline.setFillRule(Qt::WindingFill);
    for (const LayerEdges& l : layers) {
        ShapeGeometry::Layer layer;
        for (size_t i = 0; i < l.fillEdges.size(); ++i) {
            if (l.fillEdges[i].empty())
                continue;
            QPainterPath p = JoinContours(l.fillEdges[i], rule);
            g.outline.addPath(p);
            layer.fills.push_back({&l.styles->fills[i], std::move(p)});
        }
        for (size_t i = 0; i < l.lineEdges.size(); ++i) {
            if (l.lineEdges[i].empty())
                continue;
            QPainterPath p;
            Point last{INT32_MIN, INT32_MIN}, subStart{INT32_MIN, INT32_MIN};
            const bool close = !l.styles->lines[i].noClose;
            for (const Edge& e : l.lineEdges[i]) {
                if (!(e.from == last)) {
                    p.moveTo(e.from.x, e.from.y);
                    subStart = e.from;
                }
                if (e.curved)
                    p.quadTo(e.control.x, e.control.y, e.to.x, e.to.y);
                else
                    p.lineTo(e.to.x, e.to.y);
                last = e.to;
                if (close && e.to == subStart) {
                    p.closeSubpath(); // a loop gets a join, not two caps
                    last = Point{INT32_MIN, INT32_MIN};
                }
            }
            layer.lines.push_back({&l.styles->lines[i], std::move(p)});
        }
        if (!layer.fills.empty() || !layer.lines.empty())
            g.layers.push_back(std::move(layer));
    }
    return g;
}

std::shared_ptr<const ShapeGeometry> GeometryOf(const ShapeCharacter& shape)
{
    std::lock_guard lock(shape.cache.mutex);
    if (!shape.cache.value)
        shape.cache.value = std::make_shared<ShapeGeometry>(BuildShapeGeometry(shape.shape, shape.nonZeroWinding));
    return std::static_pointer_cast<const ShapeGeometry>(shape.cache.value);
}

} // namespace swf
