#include "engine/swf/Bitmap.h"

#include "engine/swf/Movie.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

namespace swf {

namespace {

// A progressive JPEG may hold any number of scans; libjpeg decodes each one in full, so a crafted
// file with thousands of tiny scans can take minutes. Real encoders write about ten.
constexpr int kMaxJpegScans = 1000;

bool StartsWith(const uint8_t* p, size_t size, const char* sig, size_t n)
{
    return size >= n && std::memcmp(p, sig, n) == 0;
}

BitmapCharacter::Kind SniffKind(const uint8_t* p, size_t size)
{
    if (StartsWith(p, size, "\x89PNG\r\n\x1a\n", 8))
        return BitmapCharacter::Kind::Png;
    if (StartsWith(p, size, "GIF89a", 6) || StartsWith(p, size, "GIF87a", 6))
        return BitmapCharacter::Kind::Gif;
    return BitmapCharacter::Kind::Jpeg;
}

// Image data of DefineBitsJPEG2/3/4: PNG and GIF are kept as they are, JPEG is normalised.
void SetImageData(BitmapCharacter& bm, const uint8_t* p, size_t size)
{
    bm.kind = SniffKind(p, size);
    if (bm.kind == BitmapCharacter::Kind::Jpeg)
        bm.data = NormalizeJpeg(p, size);
    else
        bm.data.assign(p, p + size);
}

uint32_t ReadU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

const char* TagName(int tagCode)
{
    switch (tagCode) {
    case 6: return "DefineBits";
    case 21: return "DefineBitsJPEG2";
    case 35: return "DefineBitsJPEG3";
    case 90: return "DefineBitsJPEG4";
    case 20: return "DefineBitsLossless";
    case 36: return "DefineBitsLossless2";
    default: return "bitmap tag";
    }
}

[[noreturn]] void Fail(int tagCode, uint16_t id, const std::string& what)
{
    throw DecodeError(std::string(TagName(tagCode)) + " " + std::to_string(id) + ": " + what);
}

bool SizeAllowed(int64_t w, int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxBitmapSide && h <= kMaxBitmapSide && w * h <= kMaxBitmapPixels;
}

// Inflates at most `limit` bytes; a damaged or short stream yields what came out before the damage.
std::vector<uint8_t> InflateUpTo(const std::vector<uint8_t>& in, size_t limit)
{
    std::vector<uint8_t> out(limit);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return {};
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = uInt(in.size());
    zs.next_out = out.data();
    zs.avail_out = uInt(limit);
    while (zs.avail_out > 0) {
        int rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK)
            break;   // end of stream, damage, or no more input
    }
    out.resize(limit - zs.avail_out);
    inflateEnd(&zs);
    return out;
}

uint32_t Premultiply(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    if (a == 255)
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

// ---- JPEG through libjpeg ------------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void JpegSilence(j_common_ptr) {}

void JpegProgress(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxJpegScans)
        JpegErrorExit(cinfo);
}

// No C++ object with a destructor is created between setjmp and a possible longjmp here: the
// output vector belongs to the caller and only its storage is touched.
bool DecodeJpegPixels(const uint8_t* data, size_t size, int& width, int& height, std::vector<uint32_t>& pixels)
{
    jpeg_decompress_struct cinfo;
    JpegError err;
    jpeg_progress_mgr progress;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegSilence;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || !SizeAllowed(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else
        // Bytes B, G, R, A in memory are 0xAARRGGBB on a little-endian machine.
        cinfo.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&cinfo);
    const int w = int(cinfo.output_width), h = int(cinfo.output_height);
    pixels.assign(size_t(w) * size_t(h), 0xFF000000u);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + size_t(cinfo.output_scanline) * size_t(w));
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted; that is the only kind found in practice.
            auto* px = pixels.data() + size_t(cinfo.output_scanline - 1) * size_t(w);
            const uint8_t* b = reinterpret_cast<const uint8_t*>(px);
            for (int x = 0; x < w; ++x) {
                uint32_t c = b[4 * x], m = b[4 * x + 1], y = b[4 * x + 2], k = b[4 * x + 3];
                px[x] = 0xFF000000u | ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    width = w;
    height = h;
    return true;
}

bool DecodeJpeg(const BitmapCharacter& bm, RgbaImage& out)
{
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!DecodeJpegPixels(bm.data.data(), bm.data.size(), w, h, pixels))
        return false;
    if (!bm.alphaZlib.empty()) {
        // A short or damaged alpha plane leaves the rest of the picture opaque.
        const std::vector<uint8_t> alpha = InflateUpTo(bm.alphaZlib, pixels.size());
        for (size_t i = 0; i < alpha.size(); ++i) {
            const uint32_t p = pixels[i];
            pixels[i] = Premultiply(alpha[i], (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
    }
    out.width = w;
    out.height = h;
    out.pixels = std::move(pixels);
    return true;
}

// ---- lossless ------------------------------------------------------------------------------

bool DecodeLossless(const BitmapCharacter& bm, RgbaImage& out)
{
    if (!SizeAllowed(bm.width, bm.height))
        return false;
    const size_t w = size_t(bm.width), h = size_t(bm.height);
    const bool alpha = bm.losslessAlpha;
    size_t rowBytes = 0, tableBytes = 0;
    switch (bm.losslessFormat) {
    case 3:
        rowBytes = (w + 3) & ~size_t(3);
        tableBytes = size_t(bm.colorTableSize) * (alpha ? 4 : 3);
        break;
    case 4: rowBytes = (w * 2 + 3) & ~size_t(3); break;
    case 5: rowBytes = w * 4; break;
    default: return false;
    }
    const std::vector<uint8_t> raw = InflateUpTo(bm.data, tableBytes + rowBytes * h);
    if (raw.size() < tableBytes)
        return false;

    std::vector<uint32_t> pixels(w * h, alpha ? 0u : 0xFF000000u);
    std::vector<uint32_t> table;
    if (bm.losslessFormat == 3) {
        table.resize(256, alpha ? 0u : 0xFF000000u);   // indices past the table stay transparent/black
        for (int i = 0; i < bm.colorTableSize && i < 256; ++i) {
            const uint8_t* c = raw.data() + size_t(i) * (alpha ? 4 : 3);
            table[size_t(i)] = Premultiply(alpha ? c[3] : 255, c[0], c[1], c[2]);
        }
    }
    // Rows that the stream does not reach keep their default.
    const size_t rows = std::min(h, (raw.size() - tableBytes) / rowBytes);
    for (size_t y = 0; y < rows; ++y) {
        const uint8_t* src = raw.data() + tableBytes + y * rowBytes;
        uint32_t* dst = pixels.data() + y * w;
        for (size_t x = 0; x < w; ++x) {
            switch (bm.losslessFormat) {
            case 3: dst[x] = table[src[x]]; break;
            case 4: {
                // PIX15 is a bit field read from the high byte first: 0 RRRRR GGGGG BBBBB.
                const uint32_t v = (uint32_t(src[2 * x]) << 8) | src[2 * x + 1];
                auto five = [](uint32_t c) { return (c << 3) | (c >> 2); };
                dst[x] = 0xFF000000u | (five((v >> 10) & 31) << 16) | (five((v >> 5) & 31) << 8) | five(v & 31);
                break;
            }
            default: {
                const uint8_t* p = src + 4 * x;
                if (!alpha) {
                    dst[x] = 0xFF000000u | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
                } else {
                    // Stored premultiplied; a colour above its alpha would overflow when composited.
                    const uint32_t a = p[0];
                    dst[x] = (a << 24) | (std::min<uint32_t>(p[1], a) << 16) | (std::min<uint32_t>(p[2], a) << 8)
                        | std::min<uint32_t>(p[3], a);
                }
            }
            }
        }
    }
    out.width = int(w);
    out.height = int(h);
    out.pixels = std::move(pixels);
    return true;
}

} // namespace

std::vector<uint8_t> NormalizeJpeg(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out;
    out.reserve(size + 4);
    out.push_back(0xFF);
    out.push_back(0xD8);
    bool seenScan = false;
    size_t pos = 0;
    while (pos < size) {
        if (data[pos] != 0xFF) {   // junk between segments
            ++pos;
            continue;
        }
        while (pos + 1 < size && data[pos + 1] == 0xFF)   // fill bytes
            ++pos;
        if (pos + 1 >= size)
            break;
        const uint8_t m = data[pos + 1];
        pos += 2;
        if (m == 0xD8 || m == 0x00)
            continue;
        if (m == 0xD9) {
            if (seenScan)
                break;
            continue;
        }
        if ((m >= 0xD0 && m <= 0xD7) || m == 0x01) {
            out.push_back(0xFF);
            out.push_back(m);
            continue;
        }
        out.push_back(0xFF);
        out.push_back(m);
        if (pos + 2 > size)
            break;
        const size_t len = (size_t(data[pos]) << 8) | data[pos + 1];
        const size_t end = std::min(size, pos + std::max<size_t>(len, 2));
        out.insert(out.end(), data + pos, data + end);
        pos = end;
        if (m != 0xDA)
            continue;
        seenScan = true;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        while (pos < size) {
            if (data[pos] == 0xFF && pos + 1 < size) {
                const uint8_t n = data[pos + 1];
                if (n == 0x00 || (n >= 0xD0 && n <= 0xD7)) {
                    out.push_back(0xFF);
                    out.push_back(n);
                    pos += 2;
                    continue;
                }
                break;
            }
            out.push_back(data[pos++]);
        }
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

BitmapCharacter ParseBitmapTag(int tagCode, uint16_t id, const uint8_t* body, size_t size,
                               const std::vector<uint8_t>& jpegTables)
{
    BitmapCharacter bm;
    bm.id = id;
    bm.tagCode = tagCode;
    if (size > 0 && body == nullptr)
        Fail(tagCode, id, "no data");
    switch (tagCode) {
    case 6: {
        bm.kind = BitmapCharacter::Kind::Jpeg;
        std::vector<uint8_t> joined(jpegTables);
        joined.insert(joined.end(), body, body + size);
        bm.data = NormalizeJpeg(joined.data(), joined.size());
        break;
    }
    case 21:
        SetImageData(bm, body, size);
        break;
    case 35:
    case 90: {
        const size_t fixed = tagCode == 35 ? 4 : 6;   // JPEG4 adds the 8.8 deblocking strength, unused here
        if (size < fixed)
            Fail(tagCode, id, "tag too short");
        const uint32_t alphaOffset = ReadU32(body);
        if (alphaOffset > size - fixed)
            Fail(tagCode, id, "alpha data offset past the end of the tag");
        const uint8_t* image = body + fixed;
        SetImageData(bm, image, alphaOffset);
        // PNG and GIF carry their own transparency; the format puts no alpha plane after them.
        if (bm.kind == BitmapCharacter::Kind::Jpeg)
            bm.alphaZlib.assign(image + alphaOffset, body + size);
        break;
    }
    case 20:
    case 36: {
        if (size < 5)
            Fail(tagCode, id, "tag too short");
        bm.kind = BitmapCharacter::Kind::Lossless;
        bm.losslessAlpha = tagCode == 36;
        bm.losslessFormat = body[0];
        bm.width = ReadU16(body + 1);
        bm.height = ReadU16(body + 3);
        size_t pos = 5;
        if (bm.losslessFormat == 3) {
            if (size < 6)
                Fail(tagCode, id, "tag too short");
            bm.colorTableSize = body[5] + 1;
            pos = 6;
        } else if (bm.losslessFormat != 4 && bm.losslessFormat != 5) {
            Fail(tagCode, id, "unknown bitmap format " + std::to_string(bm.losslessFormat));
        }
        bm.data.assign(body + pos, body + size);
        break;
    }
    default:
        throw DecodeError("tag " + std::to_string(tagCode) + " is not a bitmap tag");
    }
    return bm;
}

bool DecodeBitmap(const BitmapCharacter& bitmap, RgbaImage& out)
{
    switch (bitmap.kind) {
    case BitmapCharacter::Kind::Jpeg: return DecodeJpeg(bitmap, out);
    case BitmapCharacter::Kind::Lossless: return DecodeLossless(bitmap, out);
    default: return false;
    }
}

} // namespace swf
