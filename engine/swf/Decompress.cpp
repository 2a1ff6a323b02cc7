#include "engine/swf/Decompress.h"

#include "engine/swf/Movie.h"

#include <algorithm>
#include <lzma.h>
#include <zlib.h>

namespace swf {

namespace {
constexpr size_t Chunk = 64 * 1024;

size_t InitialReserve(size_t expected) { return std::min<size_t>(expected, 64u * 1024 * 1024); }
}

Inflated InflateZlib(const uint8_t* data, size_t size, size_t expected)
{
    Inflated out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw DecodeError("zlib could not be initialised");
    out.data.reserve(InitialReserve(expected));
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT32_MAX));
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.data.size() >= MaxMovieBodySize) {
            out.damage = "inflated body exceeds the size limit";
            break;
        }
        size_t old = out.data.size();
        out.data.resize(old + Chunk);
        z.next_out = out.data.data() + old;
        z.avail_out = Chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        out.data.resize(old + (Chunk - z.avail_out));
        if (rc == Z_BUF_ERROR && z.avail_in == 0) {
            out.damage = "compressed body ends before its stream does";
            break;
        }
    }
    if (rc != Z_STREAM_END && out.damage.empty())
        out.damage = std::string("compressed body is damaged (") + (z.msg ? z.msg : "zlib error") + ")";
    inflateEnd(&z);
    return out;
}

Inflated InflateLzma(const uint8_t* data, size_t size, size_t expected)
{
    Inflated out;
    // 4 bytes compressed length, 5 bytes LZMA properties, then the raw stream
    if (size < 9)
        throw DecodeError("LZMA header cut off");
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_properties_decode(&filters[0], nullptr, data + 4, 5) != LZMA_OK)
        throw DecodeError("LZMA properties are invalid");
    lzma_stream s = LZMA_STREAM_INIT;
    lzma_ret rc = lzma_raw_decoder(&s, filters);
    free(filters[0].options);
    if (rc != LZMA_OK)
        throw DecodeError("LZMA decoder could not be initialised");
    size_t limit = std::min(expected, MaxMovieBodySize);
    out.data.reserve(InitialReserve(limit));
    s.next_in = data + 9;
    s.avail_in = size - 9;
    while (out.data.size() < limit) {
        size_t old = out.data.size();
        size_t room = std::min(Chunk, limit - old);
        out.data.resize(old + room);
        s.next_out = out.data.data() + old;
        s.avail_out = room;
        rc = lzma_code(&s, s.avail_in ? LZMA_RUN : LZMA_FINISH);
        out.data.resize(old + (room - s.avail_out));
        if (rc == LZMA_STREAM_END)
            break;
        if (rc != LZMA_OK) {
            if (out.data.size() < limit)
                out.damage = rc == LZMA_BUF_ERROR ? "LZMA body ends before its stream does" : "LZMA body is damaged";
            break;
        }
        if (out.data.size() == old && s.avail_in == 0) {
            out.damage = "LZMA body ends before its stream does";
            break;
        }
    }
    lzma_end(&s);
    return out;
}

} // namespace swf
