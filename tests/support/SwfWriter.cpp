#include "tests/support/SwfWriter.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace swftest {

int SoundRateHz(int rateCode)
{
    static const int rates[4] = {5512, 11025, 22050, 44100};
    return rates[rateCode & 3];
}

void PutU8(Bytes& out, uint8_t v) { out.push_back(v); }

void PutU16(Bytes& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void PutBytes(Bytes& out, const Bytes& data) { out.insert(out.end(), data.begin(), data.end()); }

void BitWriter::WriteUB(uint32_t value, int nbits)
{
    for (int i = nbits - 1; i >= 0; --i) {
        if (FBitCount == 0)
            FBytes.push_back(0);
        if ((value >> i) & 1u)
            FBytes.back() |= uint8_t(0x80u >> FBitCount);
        FBitCount = (FBitCount + 1) % 8;
    }
}

void BitWriter::WriteSB(int32_t value, int nbits)
{
    WriteUB(uint32_t(value) & (nbits >= 32 ? 0xFFFFFFFFu : ((1u << nbits) - 1u)), nbits);
}

void BitWriter::Align() { FBitCount = 0; }

const Bytes& BitWriter::Data()
{
    Align();
    return FBytes;
}

int SignedBitsFor(std::initializer_list<int32_t> values)
{
    int bits = 0;
    for (int32_t v : values) {
        int n = 1;   // the sign bit
        for (uint32_t m = uint32_t(v < 0 ? ~v : v); m; m >>= 1)
            ++n;
        if (v != 0)
            bits = std::max(bits, n);
    }
    return bits;
}

Bytes Rect(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax, int nbits)
{
    if (nbits < 0)
        nbits = SignedBitsFor({xmin, xmax, ymin, ymax});
    BitWriter w;
    w.WriteUB(uint32_t(nbits), 5);
    for (int32_t v : {xmin, xmax, ymin, ymax})
        w.WriteSB(v, nbits);
    return w.Data();
}

Bytes TagHeader(uint16_t code, uint32_t length, bool forceLong)
{
    Bytes out;
    if (!forceLong && length < 63) {
        PutU16(out, uint16_t((code << 6) | length));
    } else {
        PutU16(out, uint16_t((code << 6) | 63));
        PutU32(out, length);
    }
    return out;
}

Bytes ZlibDeflate(const Bytes& data, int level)
{
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), level) != Z_OK)
        throw std::runtime_error("deflate failed");
    out.resize(size);
    return out;
}

Bytes ZlibInflate(const Bytes& data)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        throw std::runtime_error("inflateInit failed");
    Bytes out;
    uint8_t chunk[65536];
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = uInt(data.size());
    int rc;
    do {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            inflateEnd(&zs);
            throw std::runtime_error("inflate failed");
        }
        out.insert(out.end(), chunk, chunk + (sizeof chunk - zs.avail_out));
    } while (rc != Z_STREAM_END && (zs.avail_in > 0 || zs.avail_out == 0));
    inflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("zlib stream incomplete");
    return out;
}

namespace {

// ZWS keeps the LZMA properties (5 bytes) and the raw stream, not the "alone" size field.
Bytes LzmaForZws(const Bytes& body, uint32_t& dataLength)
{
    lzma_options_lzma opt;
    if (lzma_lzma_preset(&opt, 6))
        throw std::runtime_error("lzma preset failed");
    lzma_stream ls = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&ls, &opt) != LZMA_OK)
        throw std::runtime_error("lzma encoder failed");
    Bytes out(body.size() + body.size() / 2 + 1024);
    ls.next_in = body.data();
    ls.avail_in = body.size();
    ls.next_out = out.data();
    ls.avail_out = out.size();
    lzma_ret rc = lzma_code(&ls, LZMA_FINISH);
    while (rc == LZMA_OK) {
        size_t used = out.size() - ls.avail_out;
        out.resize(out.size() * 2);
        ls.next_out = out.data() + used;
        ls.avail_out = out.size() - used;
        rc = lzma_code(&ls, LZMA_FINISH);
    }
    if (rc != LZMA_STREAM_END) {
        lzma_end(&ls);
        throw std::runtime_error("lzma encoding failed");
    }
    out.resize(out.size() - ls.avail_out);
    lzma_end(&ls);
    // "alone" layout: 5 property bytes, 8 size bytes, stream.
    Bytes result(out.begin(), out.begin() + 5);
    result.insert(result.end(), out.begin() + 13, out.end());
    dataLength = uint32_t(out.size() - 13);
    return result;
}

}  // namespace

SwfWriter::SwfWriter(uint8_t version) : FVersion(version), FRect(Rect(0, 11000, 0, 8000)) {}

SwfWriter& SwfWriter::Stage(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax, int nbits)
{
    FRect = Rect(xmin, xmax, ymin, ymax, nbits);
    return *this;
}

SwfWriter& SwfWriter::Tag(uint16_t code, const Bytes& body, bool forceLong)
{
    PutBytes(FTags, TagHeader(code, uint32_t(body.size()), forceLong));
    PutBytes(FTags, body);
    return *this;
}

SwfWriter& SwfWriter::RawTagBytes(const Bytes& bytes)
{
    PutBytes(FTags, bytes);
    return *this;
}

SwfWriter& SwfWriter::SetBackgroundColor(uint8_t r, uint8_t g, uint8_t b)
{
    return Tag(kSetBackgroundColor, {r, g, b});
}

namespace {
uint8_t SoundFlags(uint8_t format, int rateCode, bool is16Bit, bool stereo)
{
    return uint8_t((format << 4) | ((rateCode & 3) << 2) | (is16Bit ? 2 : 0) | (stereo ? 1 : 0));
}
}  // namespace

SwfWriter& SwfWriter::DefineSound(uint16_t id, uint8_t format, int rateCode, bool is16Bit,
                                  bool stereo, uint32_t sampleCount, const Bytes& data)
{
    Bytes body;
    PutU16(body, id);
    PutU8(body, SoundFlags(format, rateCode, is16Bit, stereo));
    PutU32(body, sampleCount);
    PutBytes(body, data);
    return Tag(kDefineSound, body);
}

SwfWriter& SwfWriter::SoundStreamHead(uint8_t format, int rateCode, bool is16Bit, bool stereo,
                                      uint16_t samplesPerBlock, bool head2, int16_t latency)
{
    Bytes body;
    PutU8(body, SoundFlags(0, rateCode, is16Bit, stereo));   // playback: format bits reserved
    PutU8(body, SoundFlags(format, rateCode, is16Bit, stereo));
    PutU16(body, samplesPerBlock);
    if (format == kMp3)
        PutU16(body, uint16_t(latency));
    return Tag(head2 ? kSoundStreamHead2 : kSoundStreamHead, body);
}

SwfWriter& SwfWriter::SoundStreamBlock(const Bytes& data) { return Tag(kSoundStreamBlock, data); }

SwfWriter& SwfWriter::Mp3StreamBlock(uint16_t sampleCount, int16_t seek, const Bytes& frames)
{
    Bytes body;
    PutU16(body, sampleCount);
    PutU16(body, uint16_t(seek));
    PutBytes(body, frames);
    return Tag(kSoundStreamBlock, body, frames.size() + 4 >= 63);
}

Bytes SwfWriter::PlainBytes() const
{
    Bytes body = FRect;
    PutU8(body, FRateFrac);
    PutU8(body, FRateInt);
    PutU16(body, FFrameCount);
    PutBytes(body, FTags);
    Bytes out{'F', 'W', 'S', FVersion};
    PutU32(out, FStoredLength.value_or(uint32_t(body.size() + 8)));
    PutBytes(out, body);
    return out;
}

Bytes SwfWriter::Build(Packing packing) const
{
    Bytes plain = PlainBytes();
    Bytes out(plain.begin(), plain.begin() + 8);
    Bytes body(plain.begin() + 8, plain.end());
    switch (packing) {
    case Packing::Plain:
        PutBytes(out, body);
        break;
    case Packing::Zlib:
        out[0] = 'C';
        PutBytes(out, ZlibDeflate(body));
        break;
    case Packing::Lzma: {
        out[0] = 'Z';
        uint32_t len = 0;
        Bytes lz = LzmaForZws(body, len);
        PutU32(out, len);
        PutBytes(out, lz);
        break;
    }
    }
    if (FSignature)
        std::copy_n(FSignature->begin(), std::min<size_t>(3, FSignature->size()), out.begin());
    return out;
}

void SwfWriter::WriteFile(const std::filesystem::path& path, Packing packing) const
{
    WriteFileBytes(path, Build(packing));
}

Bytes ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + path.string());
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace swftest
