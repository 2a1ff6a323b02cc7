// RIFF WAVE files of 16-bit PCM.
#pragma once

#include <cstdint>
#include <vector>

namespace swffile {

std::vector<uint8_t> WaveFileBytes(const std::vector<int16_t>& samples, int rate, int channels);

}  // namespace swffile
