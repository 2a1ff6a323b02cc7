#include "common/SoundFormat.h"

namespace swffile {

TSoundFormat TSoundFormat::FromByte(uint8_t b)
{
    static const int rates[4] = {5512, 11025, 22050, 44100};
    TSoundFormat f;
    f.Format = uint8_t(b >> 4);
    f.Rate = rates[(b >> 2) & 3];
    f.Is16Bit = (b & 2) != 0;
    f.Stereo = (b & 1) != 0;
    return f;
}

void DecodeRawSamples(const TSoundFormat& format, const uint8_t* data, size_t size,
                      std::vector<int16_t>& out)
{
    const size_t sampleBytes = format.Is16Bit ? 2 : 1;
    const size_t frameBytes = sampleBytes * size_t(format.Channels());
    const size_t usable = size - size % frameBytes;
    out.reserve(out.size() + usable / sampleBytes);
    for (size_t i = 0; i < usable; i += sampleBytes) {
        if (format.Is16Bit)
            out.push_back(int16_t(uint16_t(data[i]) | uint16_t(data[i + 1]) << 8));
        else
            out.push_back(int16_t((int(data[i]) - 128) * 256));
    }
}

}  // namespace swffile
