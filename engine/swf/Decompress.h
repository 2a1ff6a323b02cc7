// The movie body after the 8-byte header, inflated from zlib (CWS) or LZMA (ZWS).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace swf {

struct Inflated {
    std::vector<uint8_t> data;
    std::string damage; // non-empty when the stream broke off; data holds what came before
};

// Caps keep a small hostile file from filling memory.
constexpr size_t MaxMovieBodySize = 256u * 1024 * 1024;

Inflated InflateZlib(const uint8_t* data, size_t size, size_t expected);
Inflated InflateLzma(const uint8_t* data, size_t size, size_t expected); // data starts at byte 12 of the file

} // namespace swf
