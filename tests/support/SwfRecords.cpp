#include "tests/support/SwfRecords.h"

#include <algorithm>
#include <cmath>

namespace swftest {

namespace {
int32_t Fixed16(double v) { return static_cast<int32_t>(std::lround(v * 65536)); }
}

Bytes MatrixBytes(const MatrixValues& m)
{
    BitWriter w;
    w.WriteUB(m.hasScale, 1);
    if (m.hasScale) {
        int n = SignedBitsFor({Fixed16(m.a), Fixed16(m.d)});
        w.WriteUB(n, 5);
        w.WriteSB(Fixed16(m.a), n);
        w.WriteSB(Fixed16(m.d), n);
    }
    w.WriteUB(m.hasRotate, 1);
    if (m.hasRotate) {
        int n = SignedBitsFor({Fixed16(m.b), Fixed16(m.c)});
        w.WriteUB(n, 5);
        w.WriteSB(Fixed16(m.b), n);
        w.WriteSB(Fixed16(m.c), n);
    }
    int n = (m.tx == 0 && m.ty == 0) ? 0 : SignedBitsFor({m.tx, m.ty});
    w.WriteUB(n, 5);
    w.WriteSB(m.tx, n);
    w.WriteSB(m.ty, n);
    return w.Data();
}

Bytes IdentityMatrix() { return MatrixBytes({}); }

Bytes TranslateMatrix(int32_t tx, int32_t ty)
{
    MatrixValues m;
    m.tx = tx;
    m.ty = ty;
    return MatrixBytes(m);
}

Bytes CxFormBytes(const int16_t mul[4], const int16_t add[4], bool withAlpha, bool hasMul, bool hasAdd)
{
    BitWriter w;
    int channels = withAlpha ? 4 : 3;
    int n = 1;
    for (int i = 0; i < channels; ++i)
        n = std::max<int>({n, hasMul ? SignedBitsFor({mul[i]}) : 1, hasAdd ? SignedBitsFor({add[i]}) : 1});
    w.WriteUB(hasAdd, 1);
    w.WriteUB(hasMul, 1);
    w.WriteUB(n, 4);
    if (hasMul)
        for (int i = 0; i < channels; ++i)
            w.WriteSB(mul[i], n);
    if (hasAdd)
        for (int i = 0; i < channels; ++i)
            w.WriteSB(add[i], n);
    return w.Data();
}

Bytes SolidFill(uint8_t r, uint8_t g, uint8_t b, uint8_t a, int shapeVersion)
{
    Bytes out{0x00, r, g, b};
    if (shapeVersion >= 3)
        out.push_back(a);
    return out;
}

Bytes GradientFill(uint8_t type, const Bytes& matrix, const std::vector<Stop>& stops, int shapeVersion,
                   int spread, int interpolation, int16_t focal88)
{
    Bytes out{type};
    PutBytes(out, matrix);
    PutU8(out, static_cast<uint8_t>(spread << 6 | interpolation << 4 | stops.size()));
    for (const Stop& s : stops) {
        Bytes c{s.ratio, s.r, s.g, s.b};
        if (shapeVersion >= 3)
            c.push_back(s.a);
        PutBytes(out, c);
    }
    if (type == 0x13)
        PutU16(out, static_cast<uint16_t>(focal88));
    return out;
}

Bytes LineStyle1(uint16_t width, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int shapeVersion)
{
    Bytes out;
    PutU16(out, width);
    PutBytes(out, {r, g, b});
    if (shapeVersion >= 3)
        PutU8(out, a);
    return out;
}

ShapeBuilder& ShapeBuilder::Change(int fill0, int fill1, int line, bool move, int32_t x, int32_t y)
{
    FBits.WriteUB(0, 1);
    FBits.WriteUB(0, 1); // new styles
    FBits.WriteUB(line >= 0, 1);
    FBits.WriteUB(fill1 >= 0, 1);
    FBits.WriteUB(fill0 >= 0, 1);
    FBits.WriteUB(move, 1);
    if (move) {
        int n = SignedBitsFor({x, y});
        FBits.WriteUB(n, 5);
        FBits.WriteSB(x, n);
        FBits.WriteSB(y, n);
    }
    if (fill0 >= 0)
        FBits.WriteUB(fill0, FFillBits);
    if (fill1 >= 0)
        FBits.WriteUB(fill1, FFillBits);
    if (line >= 0)
        FBits.WriteUB(line, FLineBits);
    return *this;
}

ShapeBuilder& ShapeBuilder::Line(int32_t dx, int32_t dy)
{
    int n = std::max(2, SignedBitsFor({dx, dy}));
    FBits.WriteUB(1, 1);
    FBits.WriteUB(1, 1);
    FBits.WriteUB(n - 2, 4);
    if (dx != 0 && dy != 0) {
        FBits.WriteUB(1, 1);
        FBits.WriteSB(dx, n);
        FBits.WriteSB(dy, n);
    } else {
        FBits.WriteUB(0, 1);
        FBits.WriteUB(dx == 0, 1); // vertical
        FBits.WriteSB(dx == 0 ? dy : dx, n);
    }
    return *this;
}

ShapeBuilder& ShapeBuilder::Curve(int32_t cx, int32_t cy, int32_t ax, int32_t ay)
{
    int n = std::max(2, SignedBitsFor({cx, cy, ax, ay}));
    FBits.WriteUB(1, 1);
    FBits.WriteUB(0, 1);
    FBits.WriteUB(n - 2, 4);
    FBits.WriteSB(cx, n);
    FBits.WriteSB(cy, n);
    FBits.WriteSB(ax, n);
    FBits.WriteSB(ay, n);
    return *this;
}

ShapeBuilder& ShapeBuilder::Rectangle(int32_t x, int32_t y, int32_t w, int32_t h, int fill0, int fill1)
{
    Change(fill0, fill1, -1, true, x, y);
    return Line(w, 0).Line(0, h).Line(-w, 0).Line(0, -h);
}

Bytes ShapeBuilder::Finish()
{
    FBits.WriteUB(0, 6);
    return FBits.Data();
}

int ShapeTagCode(int shapeVersion)
{
    return shapeVersion == 1 ? 2 : shapeVersion == 2 ? 22 : shapeVersion == 3 ? 32 : 83;
}

Bytes DefineShapeBody(uint16_t id, int shapeVersion, const Bytes& bounds, const std::vector<Bytes>& fills,
                      const std::vector<Bytes>& lines, int fillBits, int lineBits, const Bytes& records,
                      uint8_t shape4Flags)
{
    Bytes out;
    PutU16(out, id);
    PutBytes(out, bounds);
    if (shapeVersion == 4) {
        PutBytes(out, bounds);
        PutU8(out, shape4Flags);
    }
    PutU8(out, static_cast<uint8_t>(fills.size()));
    for (const Bytes& f : fills)
        PutBytes(out, f);
    PutU8(out, static_cast<uint8_t>(lines.size()));
    for (const Bytes& l : lines)
        PutBytes(out, l);
    PutU8(out, static_cast<uint8_t>(fillBits << 4 | lineBits));
    PutBytes(out, records);
    return out;
}

Bytes PlaceObject2Body(const Place2& p)
{
    uint8_t flags = (p.move ? 0x01 : 0) | (p.characterId >= 0 ? 0x02 : 0) | (!p.matrix.empty() ? 0x04 : 0) |
                    (!p.cxform.empty() ? 0x08 : 0) | (p.ratio >= 0 ? 0x10 : 0) | (!p.name.empty() ? 0x20 : 0) |
                    (p.clipDepth >= 0 ? 0x40 : 0);
    Bytes out{flags};
    PutU16(out, p.depth);
    if (p.characterId >= 0)
        PutU16(out, static_cast<uint16_t>(p.characterId));
    PutBytes(out, p.matrix);
    PutBytes(out, p.cxform);
    if (p.ratio >= 0)
        PutU16(out, static_cast<uint16_t>(p.ratio));
    if (!p.name.empty()) {
        out.insert(out.end(), p.name.begin(), p.name.end());
        out.push_back(0);
    }
    if (p.clipDepth >= 0)
        PutU16(out, static_cast<uint16_t>(p.clipDepth));
    return out;
}

Bytes RemoveObject2Body(uint16_t depth)
{
    Bytes out;
    PutU16(out, depth);
    return out;
}

Bytes DefineSpriteBody(uint16_t id, uint16_t frameCount, const Bytes& tags)
{
    Bytes out;
    PutU16(out, id);
    PutU16(out, frameCount);
    PutBytes(out, tags);
    PutBytes(out, TagHeader(0, 0));
    return out;
}

} // namespace swftest
