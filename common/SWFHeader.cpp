// The header reader: signature, version, stored length, stage RECT, frame rate, frame count.
#include "common/SWFFile.h"

#include "common/FileBytes.h"
#include "common/ZlibStream.h"

#include <cmath>
#include <cstring>

namespace fs = std::filesystem;

namespace {

// RECT (at most 17 bytes), frame rate and frame count always fit in the first 25 body bytes.
constexpr size_t kWindowSize = 25;
constexpr uint64_t kMinimumMovieSize = 23;

int32_t SignedField(uint32_t value, uint32_t nbits)
{
    if (nbits == 0)
        return 0;
    if (value & (1u << (nbits - 1)))
        return int32_t(int64_t(value) - (int64_t(1) << nbits));
    return int32_t(value);
}

}  // namespace

uint32_t GetBits(const uint8_t* buffer, uint32_t bitPosition, uint32_t width)
{
    if (width == 0)
        return 0;
    uint32_t result = 0;
    uint32_t mask = 1u << (width - 1);
    for (uint32_t i = 0; i < width; ++i, mask >>= 1) {
        uint32_t p = bitPosition + i;
        if (buffer[p / 8] & (0x80u >> (p % 8)))
            result |= mask;
    }
    return result;
}

bool HasSignature(const TSWFHeader& header, const char* sig3)
{
    return std::memcmp(header.Signature, sig3, 3) == 0;
}

bool ReadSWFHeader(const fs::path& fileName, TSWFHeader& header)
{
    std::error_code ec;
    if (!fs::exists(fileName, ec))
        return false;

    swffile::TReadFile file(fileName);
    uint8_t first[8] = {};
    size_t got = file.Read(first, 8);
    header.FileLength = got == 8 ? uint32_t(first[4]) | uint32_t(first[5]) << 8 |
                                       uint32_t(first[6]) << 16 | uint32_t(first[7]) << 24
                                 : 0;
    if (file.Size() < kMinimumMovieSize)
        return false;

    std::memcpy(header.Signature, first, 3);
    header.Version = first[3];

    uint8_t w[kWindowSize] = {};
    bool result;
    if (HasSignature(header, "CWS")) {
        header.Compressed = 1;
        result = true;
        // Only as much of the body as the first bytes need is read and inflated.
        swffile::TInflater inflater;
        uint8_t chunk[4096];
        size_t have = 0;
        while (have < kWindowSize && !inflater.Finished()) {
            size_t n = file.Read(chunk, sizeof chunk);
            if (n == 0)
                break;
            inflater.Feed(chunk, n);
            have += inflater.Inflate(w + have, kWindowSize - have);
        }
    } else {
        header.Compressed = 0;
        file.Read(w, kWindowSize);
        result = HasSignature(header, "FWS");
    }

    if (result) {
        uint32_t nbits = GetBits(w, 0, 5);
        header.XMin = SignedField(GetBits(w, 5, nbits), nbits);
        header.XMax = SignedField(GetBits(w, 5 + nbits, nbits), nbits);
        header.YMin = SignedField(GetBits(w, 5 + 2 * nbits, nbits), nbits);
        header.YMax = SignedField(GetBits(w, 5 + 3 * nbits, nbits), nbits);
        uint32_t p = (5 + 4 * nbits + 7) / 8;
        header.FrameRateFrac = w[p];
        header.FrameRateInt = w[p + 1];
        header.FrameCount = uint32_t(w[p + 2]) + 256u * w[p + 3];
    }
    return result;
}

int MovieWidth(const TSWFHeader& header) { return int(std::trunc(header.XMax / 20.0)); }
int MovieHeight(const TSWFHeader& header) { return int(std::trunc(header.YMax / 20.0)); }

std::string HeaderVersionText(const TSWFHeader& header)
{
    return "VER:" + std::to_string(header.Version);
}

std::string HeaderCompressionText(const TSWFHeader& header)
{
    return header.Compressed ? "C:Yes" : "C:No";
}

std::string HeaderSizeText(const TSWFHeader& header)
{
    return "  Width:" + std::to_string(MovieWidth(header)) + "  Height:" +
           std::to_string(MovieHeight(header)) + "   Frames:" + std::to_string(header.FrameCount);
}
