#include "engine/render/Renderer.h"

#include "engine/render/BitmapCache.h"
#include "engine/render/Paint.h"
#include "engine/render/ShapeGeometry.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <future>

namespace swf {

namespace {

// Caps on what one frame may cost.
constexpr int MaxDrawsPerFrame = 200000;
constexpr int MaxDrawNesting = PlayLimits::MaxNesting + 2;

struct Context {
    QPainter& painter;
    const Player& player;
    QRectF device;       // the viewport in device pixels, for culling
    double stageScale;   // device pixels per twip at stage level
    bool antialias;
    bool smooth;
    QTransform maskShift;  // masks test pixel centres: they ignore the sample offset
    int drawsLeft = MaxDrawsPerFrame;
};

double ScaleOf(const QTransform& m)
{
    return std::sqrt(std::abs(m.m11() * m.m22() - m.m12() * m.m21()));
}

// Shapes land on whole device pixels, as the reference player places them (the sample offset kept).
QTransform Snapped(const Context& ctx, const QTransform& t)
{
    const double ox = ctx.maskShift.dx(), oy = ctx.maskShift.dy();
    return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), std::round(t.dx() + ox) - ox, std::round(t.dy() + oy) - oy);
}

const BitmapDefinition* FindBitmap(const Context& ctx, uint16_t id)
{
    const Character* c = ctx.player.FindCharacter(id);
    return c && c->kind == Character::Kind::Bitmap ? static_cast<const BitmapDefinition*>(c) : nullptr;
}

void FillBitmap(Context& ctx, const QPainterPath& path, const FillStyle& fill, const QTransform& m,
                const ColorTransform& cx)
{
    const BitmapDefinition* bitmap = FindBitmap(ctx, fill.bitmapId);
    if (!bitmap)
        return;
    QImage image = TransformedBitmapImage(*bitmap, cx);
    if (image.isNull())
        return;
    QPainter& p = ctx.painter;
    const bool smooth = ctx.smooth && (fill.type == FillStyle::RepeatingBitmap || fill.type == FillStyle::ClippedBitmap);
    const QTransform bm = ToQt(fill.matrix);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (fill.type == FillStyle::RepeatingBitmap || fill.type == FillStyle::NonSmoothedRepeatingBitmap) {
        QBrush brush(image);
        brush.setTransform(bm);
        p.fillPath(path, brush);
        return;
    }
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    p.setTransform(bm * m);
    p.drawImage(QPointF(0, 0), image);
    p.restore();
}

QPen MakePen(Context& ctx, const LineStyle& line, const QTransform& m, const ColorTransform& cx)
{
    QPen pen;
    if (line.fill && line.fill->IsGradient())
        pen.setBrush(GradientBrush(*line.fill, cx));
    else
        pen.setColor(ToQColor(cx.Apply(line.color)));
    const double twips = line.width;
    if (line.noHScale || line.noVScale) {
        pen.setCosmetic(true);
        pen.setWidthF(std::max(1.0, twips * ctx.stageScale));
    } else if (twips * ScaleOf(m) < 1.0) {
        pen.setCosmetic(true); // hairline: one device pixel
        pen.setWidthF(1.0);
    } else {
        pen.setWidthF(twips);
    }
    switch (line.startCap) {
    case LineStyle::Cap::Round: pen.setCapStyle(Qt::RoundCap); break;
    case LineStyle::Cap::None: pen.setCapStyle(Qt::FlatCap); break;
    case LineStyle::Cap::Square: pen.setCapStyle(Qt::SquareCap); break;
    }
    switch (line.join) {
    case LineStyle::Join::Round: pen.setJoinStyle(Qt::RoundJoin); break;
    case LineStyle::Join::Bevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case LineStyle::Join::Miter:
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(std::max(1.0, line.miterLimit));
        break;
    }
    return pen;
}

bool Visible(const Context& ctx, const QTransform& m, const Rect& bounds, double margin)
{
    QRectF r(bounds.xMin, bounds.yMin, double(bounds.xMax) - bounds.xMin, double(bounds.yMax) - bounds.yMin);
    QRectF d = m.mapRect(r.adjusted(-margin, -margin, margin, margin));
    return d.intersects(ctx.device) || d.isEmpty();
}

void DrawShape(Context& ctx, const ShapeCharacter& shape, const QTransform& placed, const ColorTransform& cx)
{
    const QTransform m = Snapped(ctx, placed);
    if (!Visible(ctx, m, shape.bounds, 40))
        return;
    auto geometry = GeometryOf(shape);
    QPainter& p = ctx.painter;
    p.setTransform(m);
    for (const ShapeGeometry::Layer& layer : geometry->layers) {
        for (const ShapeGeometry::Fill& fill : layer.fills) {
            if (--ctx.drawsLeft < 0)
                return;
            const FillStyle& style = *fill.style;
            if (style.IsBitmap())
                FillBitmap(ctx, fill.path, style, m, cx);
            else if (style.IsGradient())
                p.fillPath(fill.path, GradientBrush(style, cx));
            else
                p.fillPath(fill.path, ToQColor(cx.Apply(style.color)));
        }
        for (const ShapeGeometry::Line& line : layer.lines) {
            if (--ctx.drawsLeft < 0)
                return;
            p.strokePath(line.path, MakePen(ctx, *line.style, m, cx));
        }
    }
}

// The area an object covers, in device pixels, for use as a mask.
void CollectMask(Context& ctx, const DisplayObject& obj, const QTransform& m, QPainterPath& out, int nesting)
{
    if (!obj.character || nesting > MaxDrawNesting || --ctx.drawsLeft < 0)
        return;
    if (obj.character->kind == Character::Kind::Shape) {
        auto geometry = GeometryOf(static_cast<const ShapeCharacter&>(*obj.character));
        out.addPath(Snapped(ctx, m).map(geometry->outline));
    } else if (obj.sprite) {
        for (const auto& [depth, child] : obj.sprite->List())
            if (child.clipDepth == 0)
                CollectMask(ctx, child, ToQt(child.matrix) * m, out, nesting + 1);
    }
}

void DrawList(Context& ctx, const DisplayList& list, const QTransform& parent, const ColorTransform& parentCx,
              int nesting);

void DrawObject(Context& ctx, const DisplayObject& obj, const QTransform& m, const ColorTransform& cx, int nesting)
{
    switch (obj.character->kind) {
    case Character::Kind::Shape:
        DrawShape(ctx, static_cast<const ShapeCharacter&>(*obj.character), m, cx);
        break;
    case Character::Kind::Sprite:
        if (obj.sprite)
            DrawList(ctx, obj.sprite->List(), m, cx, nesting + 1);
        break;
    default:
        break; // text, buttons, morphs, video: later work
    }
}

void DrawList(Context& ctx, const DisplayList& list, const QTransform& parent, const ColorTransform& parentCx,
              int nesting)
{
    if (nesting > MaxDrawNesting)
        return;
    QPainter& p = ctx.painter;
    std::vector<uint16_t> masks; // clip depths of the masks in force, innermost last
    for (const auto& [depth, obj] : list) {
        while (!masks.empty() && depth > masks.back()) {
            p.restore();
            masks.pop_back();
        }
        if (ctx.drawsLeft < 0)
            break;
        if (!obj.character)
            continue;
        const QTransform m = ToQt(obj.matrix) * parent;
        if (obj.clipDepth > 0) {
            QPainterPath area;
            area.setFillRule(Qt::WindingFill);
            CollectMask(ctx, obj, m, area, nesting);
            p.save();
            p.setTransform(QTransform());
            p.setClipPath(ctx.maskShift.map(area), Qt::IntersectClip);
            masks.push_back(obj.clipDepth);
            continue;
        }
        if (!obj.visible)
            continue;
        DrawObject(ctx, obj, m, parentCx.Concat(obj.colorTransform), nesting);
    }
    while (!masks.empty()) {
        p.restore();
        masks.pop_back();
    }
}

} // namespace

QTransform StageTransform(const Rect& stage, const QRectF& viewport, const RenderOptions& options)
{
    const double w = double(stage.xMax) - stage.xMin;
    const double h = double(stage.yMax) - stage.yMin;
    double sx = 1.0 / 20, sy = 1.0 / 20;
    if (w > 0 && h > 0 && options.scale != ScaleMode::NoScale) {
        sx = viewport.width() / w;
        sy = viewport.height() / h;
        if (options.scale == ScaleMode::ShowAll)
            sx = sy = std::min(sx, sy);
        else if (options.scale == ScaleMode::NoBorder)
            sx = sy = std::max(sx, sy);
    }
    const double dx = viewport.x() + (viewport.width() - std::max(w, 0.0) * sx) / 2 - stage.xMin * sx;
    const double dy = viewport.y() + (viewport.height() - std::max(h, 0.0) * sy) / 2 - stage.yMin * sy;
    QTransform t(sx, 0, 0, sy, dx, dy);
    if (options.zoom > 0 && options.zoom != 1.0) {
        const QPointF c = viewport.center();
        t = t * QTransform::fromTranslate(-c.x(), -c.y()) * QTransform::fromScale(options.zoom, options.zoom) *
            QTransform::fromTranslate(c.x(), c.y());
    }
    return t;
}

namespace {

void DrawFrame(const Player& player, QPainter& painter, const QTransform& base, const QRectF& device, double stageScale,
               bool antialias, bool smooth, const QTransform& maskShift = {})
{
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    Context ctx{painter, player, device, stageScale, antialias, smooth, maskShift};
    DrawList(ctx, player.Root(), base, ColorTransform{}, 0);
}

// Four samples per pixel in the rotated-grid pattern common graphics hardware uses, so edges get
// the coverage steps the reference player's output shows rather than exact area coverage.
constexpr QPointF SampleOffsets[4] = {{-2 / 16.0, -6 / 16.0}, {6 / 16.0, -2 / 16.0}, {-6 / 16.0, 2 / 16.0},
                                      {2 / 16.0, 6 / 16.0}};

QImage Multisampled(const Player& player, const QTransform& base, const QRect& area, const QColor& background,
                    double stageScale, bool smooth)
{
    QImage samples[4];
    auto pass = [&](int i) {
        samples[i] = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        samples[i].fill(background);
        QPainter p(&samples[i]);
        const QTransform shift = QTransform::fromTranslate(-area.x() - SampleOffsets[i].x(), -area.y() - SampleOffsets[i].y());
        DrawFrame(player, p, base * shift, QRectF(0, 0, area.width(), area.height()), stageScale, false, smooth,
                  QTransform::fromTranslate(SampleOffsets[i].x(), SampleOffsets[i].y()));
    };
    // Large pictures draw their samples two at a time; the player and the caches are only read.
    if (area.width() * int64_t(area.height()) >= 200'000) {
        auto other = std::async(std::launch::async, [&] { pass(1); pass(3); });
        pass(0);
        pass(2);
        other.get();
    } else {
        for (int i = 0; i < 4; ++i)
            pass(i);
    }
    QImage out(area.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < area.height(); ++y) {
        const uint32_t* r0 = reinterpret_cast<const uint32_t*>(samples[0].constScanLine(y));
        const uint32_t* r1 = reinterpret_cast<const uint32_t*>(samples[1].constScanLine(y));
        const uint32_t* r2 = reinterpret_cast<const uint32_t*>(samples[2].constScanLine(y));
        const uint32_t* r3 = reinterpret_cast<const uint32_t*>(samples[3].constScanLine(y));
        uint32_t* o = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const uint32_t a = r0[x], b = r1[x], c = r2[x], d = r3[x];
            if (a == b && a == c && a == d) {
                o[x] = a;
                continue;
            }
            uint32_t v = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF);
                v |= ((sum + 2) / 4) << shift;
            }
            o[x] = v;
        }
    }
    return out;
}

} // namespace

void RenderFrame(const Player& player, QPainter& painter, const QRectF& viewport, const RenderOptions& options)
{
    painter.save();
    const uint32_t bg = player.BackgroundColor();
    const QColor background((bg >> 16) & 0xFF, (bg >> 8) & 0xFF, bg & 0xFF);
    painter.setClipRect(viewport, Qt::IntersectClip);
    const QTransform stage = StageTransform(player.Stage(), viewport, options);
    const bool low = options.quality == Quality::Low || options.quality == Quality::AutoLow;
    const bool medium = options.quality == Quality::Medium;
    const bool smooth = !low && !medium;
    // Drawing works in device coordinates from here on; the painter's own transform is folded in.
    const QTransform base = stage * painter.transform();
    const double stageScale = ScaleOf(base);
    QRect area = painter.transform().mapRect(viewport).toAlignedRect();
    if (QPaintDevice* dev = painter.device())
        area &= QRect(0, 0, dev->width(), dev->height());
    if (!low && !medium && !area.isEmpty() && area.width() * int64_t(area.height()) <= 16'000'000) {
        QImage image = Multisampled(player, base, area, background, stageScale, smooth);
        painter.resetTransform();
        painter.drawImage(area.topLeft(), image);
    } else {
        painter.fillRect(viewport, background);
        DrawFrame(player, painter, base, painter.transform().mapRect(viewport), stageScale, !low, smooth);
    }
    painter.restore();
}

QImage RenderFrameImage(const Player& player, QSize size, const RenderOptions& options)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderFrame(player, painter, QRectF(QPointF(0, 0), QSizeF(image.size())), options);
    painter.end();
    return image;
}

} // namespace swf
