// Bounds-checked little-endian byte and bit reading over a borrowed byte range.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace swf {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

    size_t Position() const { return FPos; }
    size_t Size() const { return FSize; }
    size_t Remaining() const { return FSize - FPos; }
    bool AtEnd() const { return FPos >= FSize; }
    const uint8_t* Current() const { return FData + FPos; }

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int16_t S16() { return static_cast<int16_t>(U16()); }
    int32_t S32() { return static_cast<int32_t>(U32()); }
    double Fixed8();   // 8.8 signed
    double Fixed16();  // 16.16 signed
    float Float();
    std::string String(); // zero-terminated; a missing terminator is an error
    void Skip(size_t n);
    // A reader over the next n bytes, which this reader then steps past.
    Reader Sub(size_t n);

    // Bit reading (most significant bit first); byte reads align to the next byte.
    uint32_t UB(unsigned bits);
    int32_t SB(unsigned bits);
    double FB(unsigned bits) { return SB(bits) / 65536.0; }
    bool Flag() { return UB(1) != 0; }
    void Align() { FBitCount = 0; }

private:
    void Need(size_t n) const;
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
    uint8_t FBitBuffer = 0;
    unsigned FBitCount = 0; // bits left in FBitBuffer
};

} // namespace swf
