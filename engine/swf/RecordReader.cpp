#include "engine/swf/RecordReader.h"

#include "engine/swf/Movie.h"

namespace swf {

namespace {
// Keeps a hostile shape from exhausting memory; real shapes stay far below.
constexpr size_t MaxShapeRecords = 4'000'000;
constexpr size_t MaxGradientRecords = 15;
}

Rect ReadRect(Reader& r)
{
    Rect rect;
    unsigned n = r.UB(5);
    rect.xMin = r.SB(n);
    rect.xMax = r.SB(n);
    rect.yMin = r.SB(n);
    rect.yMax = r.SB(n);
    r.Align();
    return rect;
}

Matrix ReadMatrix(Reader& r)
{
    Matrix m;
    r.Align();
    if (r.Flag()) {
        unsigned n = r.UB(5);
        m.a = r.FB(n);
        m.d = r.FB(n);
    }
    if (r.Flag()) {
        unsigned n = r.UB(5);
        m.b = r.FB(n);
        m.c = r.FB(n);
    }
    unsigned n = r.UB(5);
    m.tx = r.SB(n);
    m.ty = r.SB(n);
    r.Align();
    return m;
}

ColorTransform ReadColorTransform(Reader& r, bool withAlpha)
{
    ColorTransform cx;
    r.Align();
    bool hasAdd = r.Flag();
    bool hasMul = r.Flag();
    unsigned n = r.UB(4);
    if (hasMul) {
        cx.rMul = static_cast<int16_t>(r.SB(n));
        cx.gMul = static_cast<int16_t>(r.SB(n));
        cx.bMul = static_cast<int16_t>(r.SB(n));
        if (withAlpha)
            cx.aMul = static_cast<int16_t>(r.SB(n));
    }
    if (hasAdd) {
        cx.rAdd = static_cast<int16_t>(r.SB(n));
        cx.gAdd = static_cast<int16_t>(r.SB(n));
        cx.bAdd = static_cast<int16_t>(r.SB(n));
        if (withAlpha)
            cx.aAdd = static_cast<int16_t>(r.SB(n));
    }
    r.Align();
    return cx;
}

Rgba ReadRgb(Reader& r)
{
    Rgba c;
    c.r = r.U8();
    c.g = r.U8();
    c.b = r.U8();
    c.a = 255;
    return c;
}

Rgba ReadRgba(Reader& r)
{
    Rgba c = ReadRgb(r);
    c.a = r.U8();
    return c;
}

Gradient ReadGradient(Reader& r, int shapeVersion, bool focal)
{
    Gradient g;
    r.Align();
    unsigned spread = r.UB(2);
    unsigned interp = r.UB(2);
    unsigned count = r.UB(4);
    // value 3 is reserved for both; treat it as the default
    g.spread = spread <= 2 ? static_cast<Gradient::Spread>(spread) : Gradient::Spread::Pad;
    g.interpolation = interp == 1 ? Gradient::Interpolation::Linear : Gradient::Interpolation::Normal;
    if (count > MaxGradientRecords)
        count = MaxGradientRecords;
    g.records.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        GradientRecord rec;
        rec.ratio = r.U8();
        rec.color = shapeVersion >= 3 ? ReadRgba(r) : ReadRgb(r);
        g.records.push_back(rec);
    }
    if (focal)
        g.focalPoint = r.Fixed8();
    return g;
}

FillStyle ReadFillStyle(Reader& r, int shapeVersion)
{
    FillStyle f;
    f.type = r.U8();
    switch (f.type) {
    case FillStyle::Solid:
        f.color = shapeVersion >= 3 ? ReadRgba(r) : ReadRgb(r);
        break;
    case FillStyle::LinearGradient:
    case FillStyle::RadialGradient:
    case FillStyle::FocalGradient:
        f.matrix = ReadMatrix(r);
        f.gradient = ReadGradient(r, shapeVersion, f.type == FillStyle::FocalGradient);
        break;
    case FillStyle::RepeatingBitmap:
    case FillStyle::ClippedBitmap:
    case FillStyle::NonSmoothedRepeatingBitmap:
    case FillStyle::NonSmoothedClippedBitmap:
        f.bitmapId = r.U16();
        f.matrix = ReadMatrix(r);
        break;
    default:
        throw DecodeError("unknown fill style type " + std::to_string(f.type));
    }
    return f;
}

LineStyle ReadLineStyle(Reader& r, int shapeVersion)
{
    LineStyle l;
    l.width = r.U16();
    if (shapeVersion < 4) {
        l.color = shapeVersion >= 3 ? ReadRgba(r) : ReadRgb(r);
        return l;
    }
    unsigned startCap = r.UB(2);
    unsigned join = r.UB(2);
    bool hasFill = r.Flag();
    l.noHScale = r.Flag();
    l.noVScale = r.Flag();
    l.pixelHinting = r.Flag();
    r.UB(5);
    l.noClose = r.Flag();
    unsigned endCap = r.UB(2);
    l.startCap = startCap <= 2 ? static_cast<LineStyle::Cap>(startCap) : LineStyle::Cap::Round;
    l.endCap = endCap <= 2 ? static_cast<LineStyle::Cap>(endCap) : LineStyle::Cap::Round;
    l.join = join <= 2 ? static_cast<LineStyle::Join>(join) : LineStyle::Join::Round;
    if (l.join == LineStyle::Join::Miter)
        l.miterLimit = r.Fixed8();
    if (hasFill) {
        l.fill = ReadFillStyle(r, shapeVersion);
        l.color = l.fill->type == FillStyle::Solid ? l.fill->color : Rgba{};
    } else {
        l.color = ReadRgba(r);
    }
    return l;
}

ShapeStyles ReadShapeStyles(Reader& r, int shapeVersion)
{
    ShapeStyles s;
    unsigned n = r.U8();
    if (n == 0xFF && shapeVersion >= 2)
        n = r.U16();
    s.fills.reserve(std::min<size_t>(n, r.Remaining()));
    for (unsigned i = 0; i < n; ++i)
        s.fills.push_back(ReadFillStyle(r, shapeVersion));
    n = r.U8();
    if (n == 0xFF && shapeVersion >= 2)
        n = r.U16();
    s.lines.reserve(std::min<size_t>(n, r.Remaining()));
    for (unsigned i = 0; i < n; ++i)
        s.lines.push_back(ReadLineStyle(r, shapeVersion));
    return s;
}

std::vector<ShapeRecord> ReadShapeRecords(Reader& r, int shapeVersion, unsigned fillBits, unsigned lineBits)
{
    std::vector<ShapeRecord> records;
    r.Align();
    for (;;) {
        if (records.size() >= MaxShapeRecords)
            throw DecodeError("shape has too many records");
        ShapeRecord rec;
        bool isEdge = r.Flag();
        if (!isEdge) {
            bool newStyles = r.Flag();
            rec.hasLine = r.Flag();
            rec.hasFill1 = r.Flag();
            rec.hasFill0 = r.Flag();
            rec.hasMove = r.Flag();
            if (!newStyles && !rec.hasLine && !rec.hasFill1 && !rec.hasFill0 && !rec.hasMove)
                break; // end of shape
            rec.kind = ShapeRecord::Kind::StyleChange;
            if (rec.hasMove) {
                unsigned n = r.UB(5);
                rec.moveX = r.SB(n);
                rec.moveY = r.SB(n);
            }
            if (rec.hasFill0)
                rec.fill0 = r.UB(fillBits);
            if (rec.hasFill1)
                rec.fill1 = r.UB(fillBits);
            if (rec.hasLine)
                rec.line = r.UB(lineBits);
            // DefineShape (1) has no new styles; the bit is then meaningless padding
            if (newStyles && shapeVersion >= 2) {
                rec.hasNewStyles = true;
                rec.newStyles = ReadShapeStyles(r, shapeVersion);
                fillBits = r.UB(4);
                lineBits = r.UB(4);
            }
        } else {
            bool straight = r.Flag();
            unsigned n = r.UB(4) + 2;
            if (straight) {
                rec.kind = ShapeRecord::Kind::StraightEdge;
                bool general = r.Flag();
                if (general) {
                    rec.dx = r.SB(n);
                    rec.dy = r.SB(n);
                } else if (r.Flag()) {
                    rec.dy = r.SB(n);
                } else {
                    rec.dx = r.SB(n);
                }
            } else {
                rec.kind = ShapeRecord::Kind::CurvedEdge;
                rec.dx = r.SB(n);
                rec.dy = r.SB(n);
                rec.anchorDx = r.SB(n);
                rec.anchorDy = r.SB(n);
            }
        }
        records.push_back(std::move(rec));
    }
    r.Align();
    return records;
}

Shape ReadShapeWithStyle(Reader& r, int shapeVersion)
{
    Shape s;
    s.styles = ReadShapeStyles(r, shapeVersion);
    unsigned fillBits = r.UB(4);
    unsigned lineBits = r.UB(4);
    s.records = ReadShapeRecords(r, shapeVersion, fillBits, lineBits);
    return s;
}

std::vector<Filter> ReadFilterList(Reader& r)
{
    std::vector<Filter> filters;
    unsigned count = r.U8();
    for (unsigned i = 0; i < count; ++i) {
        Filter f;
        f.id = r.U8();
        size_t len = 0;
        switch (f.id) {
        case 0: len = 23; break;                       // drop shadow
        case 1: len = 9; break;                        // blur
        case 2: len = 15; break;                       // glow
        case 3: len = 27; break;                       // bevel
        case 4: case 7: {                              // gradient glow / bevel
            if (r.Remaining() < 1)
                throw DecodeError("filter list cut off");
            size_t colors = *r.Current();
            len = 1 + colors * 5 + 19;
            break;
        }
        case 5: {                                      // convolution
            if (r.Remaining() < 2)
                throw DecodeError("filter list cut off");
            size_t cells = size_t(r.Current()[0]) * r.Current()[1];
            len = 2 + 4 + 4 + cells * 4 + 4 + 1;
            break;
        }
        case 6: len = 80; break;                       // colour matrix
        default:
            throw DecodeError("unknown filter " + std::to_string(f.id));
        }
        Reader body = r.Sub(len);
        f.data.assign(body.Current(), body.Current() + len);
        filters.push_back(std::move(f));
    }
    return filters;
}

} // namespace swf
