#include "common/ZlibStream.h"

#include "common/SWFFile.h"

#include <zlib.h>

#include <climits>

namespace swffile {

TInflater::TInflater() : FStream(new z_stream{})
{
    if (inflateInit(FStream) != Z_OK) {
        delete FStream;
        throw EZlibError();
    }
}

TInflater::~TInflater()
{
    inflateEnd(FStream);
    delete FStream;
}

void TInflater::Feed(const uint8_t* data, size_t size)
{
    FStream->next_in = const_cast<Bytef*>(data);
    FStream->avail_in = uInt(size);
}

bool TInflater::NeedsInput() const { return FStream->avail_in == 0; }

size_t TInflater::Inflate(uint8_t* out, size_t max)
{
    size_t produced = 0;
    while (produced < max && !FFinished && FStream->avail_in > 0) {
        size_t room = max - produced;
        FStream->next_out = out + produced;
        FStream->avail_out = uInt(room > UINT_MAX ? UINT_MAX : room);
        uInt before = FStream->avail_out;
        int rc = inflate(FStream, Z_NO_FLUSH);
        produced += before - FStream->avail_out;
        if (rc == Z_STREAM_END)
            FFinished = true;
        else if (rc == Z_BUF_ERROR)
            break;   // no progress possible without more input
        else if (rc != Z_OK)
            throw EZlibError();
    }
    return produced;
}

std::vector<uint8_t> DeflateBuffer(const uint8_t* data, size_t size, int level)
{
    z_stream zs{};
    if (deflateInit(&zs, level) != Z_OK)
        throw EZlibError();
    std::vector<uint8_t> out(deflateBound(&zs, uLong(size)));
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = uInt(size);
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    int rc = deflate(&zs, Z_FINISH);
    size_t written = out.size() - zs.avail_out;
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw EZlibError();
    out.resize(written);
    return out;
}

}  // namespace swffile
