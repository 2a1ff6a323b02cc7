// JPEG bitmaps (DefineBits with JPEGTables, DefineBitsJPEG 2 to 4), the marker prefixes that
// real files carry, the alpha plane, PNG and GIF data, ffmpeg's JPEG frames and damaged data.
#include "engine/render/BitmapImage.h"
#include "engine/swf/Bitmap.h"
#include "engine/swf/Movie.h"
#include "tests/support/SwfWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using swftest::Bytes;

namespace {

constexpr QRgb kColour = 0xFFC83C28;   // (200, 60, 40)

Bytes Encode(const QImage& image, const char* format)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, 95));
    return Bytes(out.begin(), out.end());
}

Bytes SolidJpeg(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return Encode(img, "JPG");
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Splits a JPEG file the way DefineBits stores it: the quantisation and Huffman tables as their
// own SOI..EOI stream for JPEGTables, and the image without them.
void SplitTables(const Bytes& jpeg, Bytes& tables, Bytes& image)
{
    tables = {0xFF, 0xD8};
    image = {0xFF, 0xD8};
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF && jpeg[pos + 1] != 0xDA) {
        const size_t len = size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        Bytes& to = (jpeg[pos + 1] == 0xDB || jpeg[pos + 1] == 0xC4) ? tables : image;
        to.insert(to.end(), jpeg.begin() + long(pos), jpeg.begin() + long(pos + 2 + len));
        pos += 2 + len;
    }
    image.insert(image.end(), jpeg.begin() + long(pos), jpeg.end());
    tables.push_back(0xFF);
    tables.push_back(0xD9);
}

bool Near(uint32_t got, uint32_t want, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

swf::BitmapCharacter Parse(int tag, const Bytes& body, const Bytes& tables = {})
{
    return swf::ParseBitmapTag(tag, 3, body.data(), body.size(), tables);
}

Bytes Jpeg3Body(const Bytes& image, const Bytes& alphaZlib, bool jpeg4 = false)
{
    Bytes b;
    swftest::PutU32(b, uint32_t(image.size()));
    if (jpeg4)
        swftest::PutU16(b, 0x0100);   // deblocking 1.0
    swftest::PutBytes(b, image);
    swftest::PutBytes(b, alphaZlib);
    return b;
}

// ---- prefixes and tables --------------------------------------------------------------------

struct JpegLayout {
    const char* name;
    int tag;
    Bytes (*tables)(const Bytes& t);
    Bytes (*body)(const Bytes& whole, const Bytes& t, const Bytes& image);
};

const Bytes kEoiSoi{0xFF, 0xD9, 0xFF, 0xD8};
const Bytes kSoiEoi{0xFF, 0xD8, 0xFF, 0xD9};

Bytes NoTables(const Bytes&) { return {}; }
Bytes OwnTables(const Bytes& t) { return t; }

class JpegLayouts : public testing::TestWithParam<JpegLayout> {};

TEST_P(JpegLayouts, DecodeToTheEncodedColour)
{
    const JpegLayout& c = GetParam();
    const Bytes whole = SolidJpeg(24, 16, kColour);
    Bytes t, image;
    SplitTables(whole, t, image);
    const swf::BitmapCharacter bm = Parse(c.tag, c.body(whole, t, image), c.tables(t));
    ASSERT_EQ(bm.kind, swf::BitmapCharacter::Kind::Jpeg);
    swf::RgbaImage img;
    ASSERT_TRUE(swf::DecodeBitmap(bm, img));
    ASSERT_EQ(img.width, 24);
    ASSERT_EQ(img.height, 16);
    for (uint32_t p : img.pixels)
        ASSERT_TRUE(Near(p, kColour, 6)) << std::hex << p;
}

INSTANTIATE_TEST_SUITE_P(Prefixes, JpegLayouts, testing::Values(
    JpegLayout{"Plain", 21, NoTables, [](const Bytes& w, const Bytes&, const Bytes&) { return w; }},
    // SWF before version 8: an EOI SOI pair in front of the real SOI.
    JpegLayout{"OldPrefix", 21, NoTables, [](const Bytes& w, const Bytes&, const Bytes&) { return Cat({kEoiSoi, w}); }},
    // ffmpeg's muxer: SOI EOI in front.
    JpegLayout{"FfmpegPrefix", 21, NoTables, [](const Bytes& w, const Bytes&, const Bytes&) { return Cat({kSoiEoi, w}); }},
    // Tables and image glued into one stream, leaving EOI SOI in the middle.
    JpegLayout{"GluedTables", 21, NoTables, [](const Bytes&, const Bytes& t, const Bytes& i) { return Cat({t, i}); }},
    JpegLayout{"GluedTablesOldPrefix", 21, NoTables,
               [](const Bytes&, const Bytes& t, const Bytes& i) { return Cat({kEoiSoi, t, i}); }},
    // DefineBits: the tables come from JPEGTables.
    JpegLayout{"DefineBits", 6, OwnTables, [](const Bytes&, const Bytes&, const Bytes& i) { return i; }},
    JpegLayout{"DefineBitsOldPrefixes", 6, [](const Bytes& t) { return Cat({kEoiSoi, t}); },
               [](const Bytes&, const Bytes&, const Bytes& i) { return Cat({kEoiSoi, i}); }},
    // DefineBits whose image carries its own tables, with an empty JPEGTables.
    JpegLayout{"DefineBitsFullImage", 6, NoTables, [](const Bytes& w, const Bytes&, const Bytes&) { return w; }},
    JpegLayout{"Jpeg3NoAlpha", 35, NoTables, [](const Bytes& w, const Bytes&, const Bytes&) { return Jpeg3Body(w, {}); }},
    JpegLayout{"Jpeg4NoAlpha", 90, NoTables,
               [](const Bytes& w, const Bytes&, const Bytes&) { return Jpeg3Body(Cat({kEoiSoi, w}), {}, true); }}),
    [](const testing::TestParamInfo<JpegLayout>& i) { return std::string(i.param.name); });

TEST(JpegNormalize, DropsMarkersOnlyOutsideSegmentsAndScans)
{
    // An APP segment whose payload happens to hold EOI SOI must come through untouched.
    Bytes whole = SolidJpeg(8, 8, kColour);
    const Bytes app{0xFF, 0xE5, 0x00, 0x06, 0xFF, 0xD9, 0xFF, 0xD8};
    Bytes withApp(whole.begin(), whole.begin() + 2);
    withApp.insert(withApp.end(), app.begin(), app.end());
    withApp.insert(withApp.end(), whole.begin() + 2, whole.end());
    const Bytes out = swf::NormalizeJpeg(withApp.data(), withApp.size());
    EXPECT_EQ(out, withApp);
    // Anything after the image's EOI is left out.
    const Bytes trailing = Cat({whole, {0x12, 0x34, 0xFF, 0xD8, 0xFF, 0xD9}});
    EXPECT_EQ(swf::NormalizeJpeg(trailing.data(), trailing.size()), whole);
}

// ---- alpha plane ----------------------------------------------------------------------------

class JpegAlpha : public testing::TestWithParam<int> {};

TEST_P(JpegAlpha, AppliesPremultipliedAlphaRowByRow)
{
    const int tag = GetParam();
    const Bytes jpeg = SolidJpeg(4, 3, 0xFFFFFFFF);
    // Row 0 transparent, row 1 half, row 2 opaque.
    const Bytes alpha{0, 0, 0, 0, 128, 128, 128, 128, 255, 255, 255, 255};
    const swf::BitmapCharacter bm = Parse(tag, Jpeg3Body(jpeg, swftest::ZlibDeflate(alpha), tag == 90));
    EXPECT_FALSE(bm.alphaZlib.empty());
    const QImage q = swf::BitmapToImage(bm);
    ASSERT_FALSE(q.isNull());
    ASSERT_EQ(q.format(), QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(q.size(), QSize(4, 3));
    EXPECT_EQ(q.pixel(1, 0), 0x00000000u);
    EXPECT_TRUE(Near(q.pixel(2, 1), 0x80808080u, 2)) << std::hex << q.pixel(2, 1);
    EXPECT_TRUE(Near(q.pixel(3, 2), 0xFFFFFFFFu, 2)) << std::hex << q.pixel(3, 2);
}

INSTANTIATE_TEST_SUITE_P(Tags, JpegAlpha, testing::Values(35, 90));

TEST(JpegAlpha, DamagedOrShortPlaneLeavesTheRestOpaque)
{
    const Bytes jpeg = SolidJpeg(4, 2, 0xFFFFFFFF);
    // Only the first row's alpha is present.
    const swf::BitmapCharacter shortPlane = Parse(35, Jpeg3Body(jpeg, swftest::ZlibDeflate({0, 0, 0, 0})));
    swf::RgbaImage img;
    ASSERT_TRUE(swf::DecodeBitmap(shortPlane, img));
    EXPECT_EQ(img.pixels[0], 0u);
    EXPECT_EQ(img.pixels[5] >> 24, 0xFFu);

    const swf::BitmapCharacter garbage = Parse(35, Jpeg3Body(jpeg, {0x01, 0x02, 0x03}));
    ASSERT_TRUE(swf::DecodeBitmap(garbage, img));
    for (uint32_t p : img.pixels)
        EXPECT_EQ(p >> 24, 0xFFu);
}

// ---- PNG and GIF ----------------------------------------------------------------------------

// A 2 x 1 GIF89a: a red and a blue pixel from a two-entry colour table, written out by hand.
const Bytes kGif{'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,
                 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,
                 0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,
                 2, 2, 0x44, 0x0A, 0, 0x3B};

TEST(BitmapOtherFormats, PngAndGifGoThroughQImage)
{
    QImage src(3, 2, QImage::Format_ARGB32);
    src.fill(qRgba(0, 255, 0, 255));
    src.setPixel(0, 0, qRgba(255, 0, 0, 0));
    const Bytes png = Encode(src, "PNG");

    struct Case { const char* name; int tag; Bytes body; swf::BitmapCharacter::Kind kind; };
    const Case cases[] = {
        {"PngJpeg2", 21, png, swf::BitmapCharacter::Kind::Png},
        // JPEG3 with PNG data has no alpha plane: whatever follows is not applied.
        {"PngJpeg3", 35, Jpeg3Body(png, {1, 2, 3}), swf::BitmapCharacter::Kind::Png},
        {"GifJpeg2", 21, kGif, swf::BitmapCharacter::Kind::Gif},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const swf::BitmapCharacter bm = Parse(c.tag, c.body);
        EXPECT_EQ(bm.kind, c.kind);
        EXPECT_TRUE(bm.alphaZlib.empty());
        swf::RgbaImage img;
        EXPECT_FALSE(swf::DecodeBitmap(bm, img));   // left to Qt's readers
        const QImage q = swf::BitmapToImage(bm);
        ASSERT_FALSE(q.isNull());
        EXPECT_EQ(q.format(), QImage::Format_ARGB32_Premultiplied);
        if (c.kind == swf::BitmapCharacter::Kind::Png) {
            EXPECT_EQ(q.size(), QSize(3, 2));
            EXPECT_EQ(q.pixel(0, 0), 0x00000000u);
            EXPECT_EQ(q.pixel(2, 1), 0xFF00FF00u);
        } else {
            EXPECT_EQ(q.size(), QSize(2, 1));
            EXPECT_EQ(q.pixel(0, 0), 0xFFFF0000u);
            EXPECT_EQ(q.pixel(1, 0), 0xFF0000FFu);
        }
    }
}

// ---- damaged data ---------------------------------------------------------------------------

TEST(JpegDamaged, FailsWithoutCrash)
{
    const Bytes whole = SolidJpeg(16, 16, kColour);
    size_t sos = 0;
    for (size_t i = 0; i + 1 < whole.size(); ++i)
        if (whole[i] == 0xFF && whole[i + 1] == 0xDA) { sos = i; break; }
    ASSERT_GT(sos, 0u);
    Bytes badSof = whole;
    for (size_t i = 0; i + 1 < badSof.size(); ++i)
        if (badSof[i] == 0xFF && badSof[i + 1] == 0xC0) { badSof[i + 9] = 0; break; }   // 0 components

    struct Case { const char* name; Bytes body; };
    const Case cases[] = {
        {"Empty", {}},
        {"Garbage", {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
        {"SoiOnly", {0xFF, 0xD8}},
        {"PrefixesOnly", Cat({kEoiSoi, kSoiEoi})},
        {"CutBeforeScan", Bytes(whole.begin(), whole.begin() + long(sos))},
        {"CutInHeader", Bytes(whole.begin(), whole.begin() + 40)},
        {"TablesOnly", [&] { Bytes t, i; SplitTables(whole, t, i); return t; }()},
        {"ZeroComponents", badSof},
        // A frame header claiming 60000 x 60000 pixels.
        {"Huge", [&] {
             Bytes b = whole;
             for (size_t i = 0; i + 8 < b.size(); ++i)
                 if (b[i] == 0xFF && b[i + 1] == 0xC0) { b[i + 5] = 0xEA; b[i + 6] = 0x60; b[i + 7] = 0xEA; b[i + 8] = 0x60; break; }
             return b;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const swf::BitmapCharacter bm = Parse(21, c.body);
        swf::RgbaImage img;
        EXPECT_FALSE(swf::DecodeBitmap(bm, img));
        EXPECT_TRUE(swf::BitmapToImage(bm).isNull());
    }
}

TEST(JpegDamaged, CutOrFlippedScansNeverCrash)
{
    // Damage inside the entropy-coded data may still give a (partly grey) picture; it must end.
    const Bytes whole = SolidJpeg(32, 32, kColour);
    for (size_t cut = 2; cut < whole.size(); cut += 7) {
        const Bytes part(whole.begin(), whole.begin() + long(cut));
        swf::RgbaImage img;
        if (swf::DecodeBitmap(Parse(21, part), img)) {
            EXPECT_EQ(img.width, 32);
            EXPECT_EQ(img.pixels.size(), 32u * 32u);
        }
    }
    for (size_t at = 2; at < whole.size(); at += 5) {
        Bytes flipped = whole;
        flipped[at] ^= 0x5A;
        swf::RgbaImage img;
        if (swf::DecodeBitmap(Parse(21, flipped), img)) {
            EXPECT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height));
        }
    }
}

// ---- ffmpeg's mjpeg movie -------------------------------------------------------------------

// The bodies of every DefineBitsJPEG2 of an uncompressed movie, in file order.
std::vector<Bytes> Jpeg2Bodies(const Bytes& file)
{
    std::vector<Bytes> out;
    if (file.size() < 9)
        return out;
    const int nbits = file[8] >> 3;
    size_t pos = 8 + (5 + 4 * size_t(nbits) + 7) / 8 + 4;
    while (pos + 2 <= file.size()) {
        const uint16_t codeLen = uint16_t(file[pos] | file[pos + 1] << 8);
        pos += 2;
        size_t len = codeLen & 0x3F;
        if (len == 0x3F) {
            if (pos + 4 > file.size())
                break;
            len = file[pos] | file[pos + 1] << 8 | file[pos + 2] << 16 | size_t(file[pos + 3]) << 24;
            pos += 4;
        }
        if (pos + len > file.size() || (codeLen >> 6) == 0)
            break;
        if ((codeLen >> 6) == 21)
            out.emplace_back(file.begin() + long(pos), file.begin() + long(pos + len));
        pos += len;
    }
    return out;
}

TEST(JpegCorpus, FfmpegFramesMatchTheirSource)
{
    const std::filesystem::path corpus = MOVISCOPE_CORPUS_DIR;
    const auto movie = corpus / "ffmpeg/testsrc_mjpeg_mp3.swf";
    if (!std::filesystem::exists(movie))
        GTEST_SKIP() << "corpus not found at " << corpus;
    const std::vector<Bytes> tags = Jpeg2Bodies(swftest::ReadFileBytes(movie));
    ASSERT_EQ(tags.size(), 20u);

    std::vector<QImage> frames;
    for (const Bytes& t : tags) {
        ASSERT_GE(t.size(), 2u);
        // ffmpeg's FF D8 FF D9 comes before the real SOI.
        EXPECT_EQ(Bytes(t.begin() + 2, t.begin() + 6), kSoiEoi);
        const swf::BitmapCharacter bm = swf::ParseBitmapTag(21, uint16_t(t[0] | t[1] << 8), t.data() + 2, t.size() - 2, {});
        EXPECT_EQ(bm.id, 0);
        frames.push_back(swf::BitmapToImage(bm));
        ASSERT_FALSE(frames.back().isNull());
        ASSERT_EQ(frames.back().size(), QSize(160, 120));
    }
    // The corpus rule for these pictures: tolerance 40, at most 96 outliers.
    auto outliers = [](const QImage& a, const QImage& b) {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += Near(a.pixel(x, y), b.pixel(x, y), 40) ? 0 : 1;
        return n;
    };
    for (int frame : {1, 5, 10}) {
        SCOPED_TRACE(frame);
        const QImage ref = QImage(QString::fromStdString(
            (corpus / "ffmpeg/testsrc_mjpeg_mp3.ref" / ("frame" + std::string(frame < 10 ? "0" : "") + std::to_string(frame) + ".png")).string()))
            .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(ref.size(), QSize(160, 120));
        EXPECT_LE(outliers(frames[size_t(frame - 1)], ref), 96);
        // The comparison tells the pictured frames apart.
        for (int other : {1, 5, 10})
            if (other != frame) {
                EXPECT_GT(outliers(frames[size_t(other - 1)], ref), 1000) << "frame " << other;
            }
    }
}

} // namespace
