#include "common/AdpcmDecoder.h"

#include <algorithm>

namespace swffile {

namespace {

constexpr int kStepSizes[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Step index changes per code magnitude, for 2, 3, 4 and 5 bits per code.
constexpr int kIndexShift2[2] = {-1, 2};
constexpr int kIndexShift3[4] = {-1, -1, 2, 4};
constexpr int kIndexShift4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kIndexShift5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* kIndexShifts[4] = {kIndexShift2, kIndexShift3, kIndexShift4, kIndexShift5};

constexpr int kSamplesPerPacket = 4096;   // the initial sample and 4095 codes

class TBitReader {
public:
    TBitReader(const uint8_t* data, size_t size) : FData(data), FBits(size * 8) {}
    bool Has(size_t n) const { return FBits - FPos >= n; }
    uint32_t Take(unsigned n)
    {
        uint32_t v = 0;
        for (unsigned i = 0; i < n; ++i, ++FPos)
            v = (v << 1) | ((FData[FPos / 8] >> (7 - FPos % 8)) & 1u);
        return v;
    }

private:
    const uint8_t* FData;
    size_t FBits;
    size_t FPos = 0;
};

struct TChannel {
    int Sample = 0;
    int Index = 0;

    int16_t Expand(uint32_t code, unsigned bits, const int* shifts)
    {
        const uint32_t signBit = 1u << (bits - 1);
        int step = kStepSizes[Index];
        int delta = step >> (bits - 1);
        for (uint32_t k = signBit >> 1; k; k >>= 1, step >>= 1)
            if (code & k)
                delta += step;
        Sample += (code & signBit) ? -delta : delta;
        Sample = std::clamp(Sample, -32768, 32767);
        Index = std::clamp(Index + shifts[code & (signBit - 1)], 0, 88);
        return int16_t(Sample);
    }
};

}  // namespace

size_t DecodeAdpcm(const uint8_t* data, size_t size, int channels, size_t maxFrames,
                   std::vector<int16_t>& out)
{
    channels = channels == 2 ? 2 : 1;
    TBitReader in(data, size);
    if (!in.Has(2))
        return 0;
    const unsigned bits = in.Take(2) + 2;
    const int* shifts = kIndexShifts[bits - 2];
    const size_t limit = maxFrames ? maxFrames : SIZE_MAX;
    size_t frames = 0;
    TChannel ch[2];
    while (frames < limit && in.Has(size_t(22 * channels))) {
        for (int c = 0; c < channels; ++c) {
            uint32_t raw = in.Take(16);
            ch[c].Sample = int16_t(uint16_t(raw));
            ch[c].Index = std::min<int>(int(in.Take(6)), 88);
            out.push_back(int16_t(ch[c].Sample));
        }
        ++frames;
        for (int i = 1; i < kSamplesPerPacket && frames < limit && in.Has(bits * channels); ++i) {
            for (int c = 0; c < channels; ++c)
                out.push_back(ch[c].Expand(in.Take(bits), bits, shifts));
            ++frames;
        }
    }
    return frames;
}

}  // namespace swffile
