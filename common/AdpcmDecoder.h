// The ADPCM variant of SWF sounds (format 1): a 2-bit code size, then packets of
// an initial sample and step index per channel followed by up to 4095 codes per channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swffile {

// Decodes one ADPCMSOUNDDATA block and appends interleaved 16-bit samples to out, at most
// maxFrames sample frames (the sample count of the tag; 0 = as many as the data holds).
// Returns the number of frames decoded; stops quietly where the data ends.
size_t DecodeAdpcm(const uint8_t* data, size_t size, int channels, size_t maxFrames,
                   std::vector<int16_t>& out);

}  // namespace swffile
