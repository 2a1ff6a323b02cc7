// DefineBitsLossless 1 and 2: colour tables, row padding, pixel formats, premultiplied alpha,
// and tags that are short, damaged or too large.
#include "engine/render/BitmapImage.h"
#include "engine/swf/Bitmap.h"
#include "engine/swf/Movie.h"
#include "tests/support/SwfWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using swftest::Bytes;

namespace {

// Body after the character id: format, width, height, [table size - 1], zlib data.
Bytes LosslessBody(int format, int w, int h, int tableEntries, const Bytes& raw)
{
    Bytes b;
    swftest::PutU8(b, uint8_t(format));
    swftest::PutU16(b, uint16_t(w));
    swftest::PutU16(b, uint16_t(h));
    if (format == 3)
        swftest::PutU8(b, uint8_t(tableEntries - 1));
    swftest::PutBytes(b, swftest::ZlibDeflate(raw));
    return b;
}

swf::BitmapCharacter Parse(int tag, const Bytes& body)
{
    return swf::ParseBitmapTag(tag, 7, body.data(), body.size(), {});
}

struct LosslessCase {
    const char* name;
    int tag, format, width, height, tableEntries;
    Bytes raw;                       // inflated payload: colour table, then padded rows
    std::vector<uint32_t> expected;  // premultiplied 0xAARRGGBB, row by row
};

class LosslessDecode : public testing::TestWithParam<LosslessCase> {};

TEST_P(LosslessDecode, GivesPremultipliedPixels)
{
    const LosslessCase& c = GetParam();
    const swf::BitmapCharacter bm = Parse(c.tag, LosslessBody(c.format, c.width, c.height, c.tableEntries, c.raw));
    EXPECT_EQ(bm.kind, swf::BitmapCharacter::Kind::Lossless);
    EXPECT_EQ(bm.id, 7);
    EXPECT_EQ(bm.losslessAlpha, c.tag == 36);

    swf::RgbaImage img;
    ASSERT_TRUE(swf::DecodeBitmap(bm, img));
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    ASSERT_EQ(img.pixels.size(), c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_EQ(img.pixels[i], c.expected[i]) << "pixel " << i;

    // The QImage carries the same premultiplied values.
    const QImage q = swf::BitmapToImage(bm);
    ASSERT_FALSE(q.isNull());
    EXPECT_EQ(q.format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ(q.pixel(x, y), c.expected[size_t(y * c.width + x)]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessDecode, testing::Values(
    // 3 pixels wide: each row of indices is padded to 4 bytes.
    LosslessCase{"Mapped8", 20, 3, 3, 2, 2,
                 {0x10, 0x20, 0x30,  0xF0, 0xE0, 0xD0,
                  0, 1, 0, 0xEE,  1, 1, 0, 0xEE},
                 {0xFF102030, 0xFFF0E0D0, 0xFF102030, 0xFFF0E0D0, 0xFFF0E0D0, 0xFF102030}},
    // An index past the table of an opaque bitmap is black.
    LosslessCase{"Mapped8IndexPastTable", 20, 3, 2, 1, 1,
                 {0x11, 0x22, 0x33,  0, 5, 0, 0},
                 {0xFF112233, 0xFF000000}},
    // 15-bit: 0RRRRRGG GGGBBBBB, high byte first; a 1-pixel row is padded from 2 to 4 bytes.
    LosslessCase{"Rgb15", 20, 4, 1, 3, 0,
                 {0x7C, 0x00, 0, 0,  0x03, 0xE0, 0, 0,  0x40, 0x1F, 0, 0},
                 {0xFFFF0000, 0xFF00FF00, 0xFF8400FF}},
    // 24-bit as XRGB: the first byte is ignored.
    LosslessCase{"Xrgb", 20, 5, 2, 1, 0,
                 {0x00, 0x11, 0x22, 0x33,  0x7F, 0xAA, 0xBB, 0xCC},
                 {0xFF112233, 0xFFAABBCC}},
    // Colour table of RGBA entries, premultiplied on decoding; past the table is transparent.
    LosslessCase{"MappedRgba", 36, 3, 3, 1, 2,
                 {0xFF, 0x00, 0x00, 0x80,  0x00, 0x00, 0xFF, 0xFF,
                  0, 1, 9, 0},
                 {0x80800000, 0xFF0000FF, 0x00000000}},
    // ARGB stored premultiplied; a channel above its alpha is clamped to it.
    LosslessCase{"Argb", 36, 5, 3, 1, 0,
                 {0x80, 0x80, 0x00, 0x00,  0xFF, 0x01, 0x02, 0x03,  0x40, 0xFF, 0x10, 0x00},
                 {0x80800000, 0xFF010203, 0x40401000}},
    // A stream that stops after the first row: the rest stays at the default.
    LosslessCase{"ShortStream", 20, 3, 1, 2, 1,
                 {0x01, 0x02, 0x03,  0, 0, 0, 0},
                 {0xFF010203, 0xFF000000}}),
    [](const testing::TestParamInfo<LosslessCase>& i) { return std::string(i.param.name); });

struct BadTag {
    const char* name;
    int tag;
    Bytes body;
};

class BitmapTagRejected : public testing::TestWithParam<BadTag> {};

TEST_P(BitmapTagRejected, ThrowsDecodeError)
{
    const BadTag& c = GetParam();
    EXPECT_THROW(Parse(c.tag, c.body), swf::DecodeError);
}

INSTANTIATE_TEST_SUITE_P(Bodies, BitmapTagRejected, testing::Values(
    BadTag{"LosslessEmpty", 20, {}},
    BadTag{"LosslessNoHeight", 20, {5, 1, 0, 1}},
    BadTag{"MappedNoTableSize", 36, {3, 1, 0, 1, 0}},
    BadTag{"UnknownFormat", 20, {7, 1, 0, 1, 0, 0x78, 0x9C}},
    BadTag{"Jpeg3NoOffset", 35, {1, 0, 0}},
    BadTag{"Jpeg3OffsetPastEnd", 35, {10, 0, 0, 0, 0xFF, 0xD8}},
    BadTag{"Jpeg4NoDeblock", 90, {0, 0, 0, 0, 0}},
    BadTag{"Jpeg4OffsetPastEnd", 90, {3, 0, 0, 0, 0, 0, 0xFF, 0xD8}},
    BadTag{"NotABitmapTag", 2, {1, 2, 3}}),
    [](const testing::TestParamInfo<BadTag>& i) { return std::string(i.param.name); });

struct UndecodableCase {
    const char* name;
    int tag;
    Bytes body;
};

class LosslessUndecodable : public testing::TestWithParam<UndecodableCase> {};

TEST_P(LosslessUndecodable, FailsWithoutCrash)
{
    const swf::BitmapCharacter bm = Parse(GetParam().tag, GetParam().body);
    swf::RgbaImage img;
    EXPECT_FALSE(swf::DecodeBitmap(bm, img));
    EXPECT_TRUE(swf::BitmapToImage(bm).isNull());
}

Bytes WithRawZlib(Bytes head, const Bytes& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

INSTANTIATE_TEST_SUITE_P(Bodies, LosslessUndecodable, testing::Values(
    // Would need 8192 x 8192 x 4 bytes.
    UndecodableCase{"TooWide", 20, LosslessBody(5, 8192, 8192, 0, {0, 0, 0, 0})},
    UndecodableCase{"TooManyPixels", 36, LosslessBody(5, 8000, 8000, 0, {0, 0, 0, 0})},
    UndecodableCase{"ZeroWidth", 20, LosslessBody(5, 0, 4, 0, {0, 0, 0, 0})},
    // Not a zlib stream at all.
    UndecodableCase{"GarbageStream", 20, WithRawZlib({3, 2, 0, 2, 0, 1}, {0x12, 0x34, 0x56, 0x78, 0x9A})},
    // The stream ends inside the colour table.
    UndecodableCase{"TableCutShort", 36, LosslessBody(3, 2, 2, 4, {1, 2, 3, 4, 5})}),
    [](const testing::TestParamInfo<UndecodableCase>& i) { return std::string(i.param.name); });

} // namespace
