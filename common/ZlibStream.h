// zlib streams over memory buffers; every failure is EZlibError ("Error").
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct z_stream_s;

namespace swffile {

// Incremental inflate: feed compressed bytes, take out inflated ones.
class TInflater {
public:
    TInflater();
    ~TInflater();
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // The bytes must stay valid until Inflate has consumed them (NeedsInput()).
    void Feed(const uint8_t* data, size_t size);
    // Inflates up to max bytes into out; returns how many were produced.
    size_t Inflate(uint8_t* out, size_t max);
    bool Finished() const { return FFinished; }   // the stream's end was reached
    bool NeedsInput() const;

private:
    z_stream_s* FStream;
    bool FFinished = false;
};

// A complete zlib stream (RFC 1950) of data at the given level.
std::vector<uint8_t> DeflateBuffer(const uint8_t* data, size_t size, int level);

}  // namespace swffile
