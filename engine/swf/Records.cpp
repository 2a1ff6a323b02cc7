#include "engine/swf/Records.h"

#include <algorithm>

namespace swf {

namespace {
uint8_t Channel(int value, int mul, int add)
{
    return static_cast<uint8_t>(std::clamp(value * mul / 256 + add, 0, 255));
}

int16_t Clamp16(long v) { return static_cast<int16_t>(std::clamp<long>(v, -32768, 32767)); }
}

Rgba ColorTransform::Apply(Rgba c) const
{
    return Rgba{Channel(c.r, rMul, rAdd), Channel(c.g, gMul, gAdd), Channel(c.b, bMul, bAdd),
                Channel(c.a, aMul, aAdd)};
}

ColorTransform ColorTransform::Concat(const ColorTransform& in) const
{
    ColorTransform o;
    o.rMul = Clamp16(long(rMul) * in.rMul / 256);
    o.gMul = Clamp16(long(gMul) * in.gMul / 256);
    o.bMul = Clamp16(long(bMul) * in.bMul / 256);
    o.aMul = Clamp16(long(aMul) * in.aMul / 256);
    o.rAdd = Clamp16(long(rMul) * in.rAdd / 256 + rAdd);
    o.gAdd = Clamp16(long(gMul) * in.gAdd / 256 + gAdd);
    o.bAdd = Clamp16(long(bMul) * in.bAdd / 256 + bAdd);
    o.aAdd = Clamp16(long(aMul) * in.aAdd / 256 + aAdd);
    return o;
}

} // namespace swf
