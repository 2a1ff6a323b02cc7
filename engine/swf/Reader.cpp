#include "engine/swf/Reader.h"

#include "engine/swf/Movie.h"

#include <cstring>

namespace swf {

void Reader::Need(size_t n) const
{
    if (n > FSize - FPos)
        throw DecodeError("unexpected end of data (" + std::to_string(n) + " bytes needed at offset " +
                          std::to_string(FPos) + " of " + std::to_string(FSize) + ")");
}

uint8_t Reader::U8()
{
    Align();
    Need(1);
    return FData[FPos++];
}

uint16_t Reader::U16()
{
    Align();
    Need(2);
    uint16_t v = static_cast<uint16_t>(FData[FPos] | (FData[FPos + 1] << 8));
    FPos += 2;
    return v;
}

uint32_t Reader::U32()
{
    Align();
    Need(4);
    uint32_t v = static_cast<uint32_t>(FData[FPos]) | (static_cast<uint32_t>(FData[FPos + 1]) << 8) |
                 (static_cast<uint32_t>(FData[FPos + 2]) << 16) | (static_cast<uint32_t>(FData[FPos + 3]) << 24);
    FPos += 4;
    return v;
}

double Reader::Fixed8() { return S16() / 256.0; }
double Reader::Fixed16() { return S32() / 65536.0; }

float Reader::Float()
{
    uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string Reader::String()
{
    Align();
    const void* end = std::memchr(FData + FPos, 0, FSize - FPos);
    if (!end)
        throw DecodeError("string without terminator at offset " + std::to_string(FPos));
    size_t len = static_cast<const uint8_t*>(end) - (FData + FPos);
    std::string s(reinterpret_cast<const char*>(FData + FPos), len);
    FPos += len + 1;
    return s;
}

void Reader::Skip(size_t n)
{
    Align();
    Need(n);
    FPos += n;
}

Reader Reader::Sub(size_t n)
{
    Align();
    Need(n);
    Reader r(FData + FPos, n);
    FPos += n;
    return r;
}

uint32_t Reader::UB(unsigned bits)
{
    if (bits > 32)
        throw DecodeError("bit field wider than 32 bits");
    uint64_t v = 0;
    while (bits > 0) {
        if (FBitCount == 0) {
            Need(1);
            FBitBuffer = FData[FPos++];
            FBitCount = 8;
        }
        unsigned take = bits < FBitCount ? bits : FBitCount;
        unsigned shift = FBitCount - take;
        uint32_t part = (FBitBuffer >> shift) & ((1u << take) - 1);
        v = (v << take) | part;
        FBitCount -= take;
        bits -= take;
    }
    return static_cast<uint32_t>(v);
}

int32_t Reader::SB(unsigned bits)
{
    if (bits == 0)
        return 0;
    uint32_t v = UB(bits);
    if (bits < 32 && (v & (1u << (bits - 1))))
        v |= ~((1u << bits) - 1);
    return static_cast<int32_t>(v);
}

} // namespace swf
