// The sound format byte of DefineSound and SoundStreamHead, and raw sample conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swffile {

enum : uint8_t { kSoundRawNative = 0, kSoundAdpcm = 1, kSoundMp3 = 2, kSoundRawLittleEndian = 3 };

struct TSoundFormat {
    uint8_t Format = 0;      // top four bits of the byte
    int     Rate = 5512;     // Hz
    bool    Is16Bit = false;
    bool    Stereo = false;

    static TSoundFormat FromByte(uint8_t b);
    int Channels() const { return Stereo ? 2 : 1; }
};

// Uncompressed samples (formats 0 and 3) as interleaved 16-bit values, appended to out.
// 8-bit samples are unsigned; 16-bit ones little-endian, which is what "native" means in
// every movie made on the machines Flash authoring ran on. An incomplete last frame is dropped.
void DecodeRawSamples(const TSoundFormat& format, const uint8_t* data, size_t size,
                      std::vector<int16_t>& out);

}  // namespace swffile
