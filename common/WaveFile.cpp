#include "common/WaveFile.h"

#include <cstring>

namespace swffile {

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> WaveFileBytes(const std::vector<int16_t>& samples, int rate, int channels)
{
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);   // PCM
    Put16(out, uint16_t(channels));
    Put32(out, uint32_t(rate));
    Put32(out, uint32_t(rate * channels * 2));
    Put16(out, uint16_t(channels * 2));
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : samples)
        Put16(out, uint16_t(s));
    return out;
}

}  // namespace swffile
