// Bitmap characters: DefineBits (with JPEGTables), DefineBitsJPEG 2 to 4 and DefineBitsLossless 1 and 2,
// kept compressed in the dictionary and decoded to premultiplied ARGB32 on demand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct BitmapCharacter {
    uint16_t id = 0;
    int tagCode = 0;
    enum class Kind { Jpeg, Png, Gif, Lossless } kind = Kind::Jpeg;
    // Jpeg: one complete JPEG stream (tables merged in, stray SOI/EOI pairs removed);
    // Png/Gif: the file as stored; Lossless: the zlib stream of colour table and pixels.
    std::vector<uint8_t> data;
    std::vector<uint8_t> alphaZlib;   // DefineBitsJPEG3/4: zlib stream of one alpha byte per pixel
    int losslessFormat = 0;           // 3 colour-mapped, 4 15-bit RGB, 5 32-bit (X)RGB
    int width = 0, height = 0;        // lossless only; JPEG/PNG/GIF know their own size
    int colorTableSize = 0;           // number of colour table entries (stored value + 1)
    bool losslessAlpha = false;       // DefineBitsLossless2
};

// Decoding refuses anything larger; the largest bitmap a Flash movie may hold.
constexpr int kMaxBitmapSide = 8191;
constexpr int64_t kMaxBitmapPixels = 16777215;

// body = the tag's bytes after the 16-bit character id; tags 6, 21, 35, 90, 20, 36.
// Throws DecodeError when the fixed fields do not fit or the tag code is not a bitmap tag.
BitmapCharacter ParseBitmapTag(int tagCode, uint16_t id, const uint8_t* body, size_t size,
                               const std::vector<uint8_t>& jpegTables);

// Premultiplied ARGB32 (0xAARRGGBB), rows top to bottom, no padding.
struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

// JPEG (with its alpha plane) and lossless bitmaps; false for PNG/GIF and for damaged or oversized data.
bool DecodeBitmap(const BitmapCharacter& bitmap, RgbaImage& out);

// Joins JPEG pieces into one stream: drops every SOI/EOI before the first scan (the old
// FF D9 FF D8 prefix, ffmpeg's FF D8 FF D9 prefix, tables glued to the image) and ends after the
// first scan's EOI. Exposed for tests.
std::vector<uint8_t> NormalizeJpeg(const uint8_t* data, size_t size);

} // namespace swf
