// Records read back from the bytes the test writer makes, and damaged records that must fail cleanly.
#include "engine/swf/Movie.h"
#include "engine/swf/RecordReader.h"
#include "engine/swf/TimelineReader.h"
#include "tests/support/SwfRecords.h"

#include <gtest/gtest.h>

#include <functional>

using namespace swf;
using swftest::Bytes;

namespace {

template <typename F>
auto ReadAll(const Bytes& bytes, F read)
{
    Reader r(bytes.data(), bytes.size());
    auto value = read(r);
    EXPECT_EQ(r.Remaining(), 0u) << "record left bytes unread";
    return value;
}

} // namespace

TEST(Records, RectTable)
{
    struct Case { int32_t x0, x1, y0, y1; int nbits; };
    for (const Case& c : {Case{0, 11000, 0, 8000, -1}, Case{0, 11000, 0, 8000, 31}, Case{-20, 20, -1, 1, -1},
                          Case{0, 0, 0, 0, 0}, Case{-1073741824, 1073741823, 5, 7, 31}}) {
        Rect r = ReadAll(swftest::Rect(c.x0, c.x1, c.y0, c.y1, c.nbits), ReadRect);
        EXPECT_EQ(r, (Rect{c.x0, c.x1, c.y0, c.y1})) << c.x0 << " " << c.x1 << " nbits " << c.nbits;
    }
}

TEST(Records, MatrixTable)
{
    struct Case { swftest::MatrixValues in; Matrix out; };
    swftest::MatrixValues scale;
    scale.hasScale = true;
    scale.a = 2.5;
    scale.d = -0.5;
    scale.tx = -300;
    scale.ty = 40;
    swftest::MatrixValues rotate;
    rotate.hasRotate = true;
    rotate.b = 1;
    rotate.c = -1;
    for (const Case& c : {Case{{}, Matrix{}}, Case{scale, Matrix{2.5, 0, 0, -0.5, -300, 40}},
                          Case{rotate, Matrix{1, 1, -1, 1, 0, 0}}}) {
        Matrix m = ReadAll(swftest::MatrixBytes(c.in), ReadMatrix);
        EXPECT_EQ(m, c.out);
    }
    // no scale, no rotation, zero-bit translation: one byte
    EXPECT_EQ(swftest::IdentityMatrix(), Bytes{0x00});
}

TEST(Records, ColorTransformWithAndWithoutAlpha)
{
    const int16_t mul[4] = {256, 128, 0, 64};
    const int16_t add[4] = {-255, 10, 255, 20};
    ColorTransform a = ReadAll(swftest::CxFormBytes(mul, add, true), [](Reader& r) { return ReadColorTransform(r, true); });
    EXPECT_EQ(a, (ColorTransform{256, 128, 0, 64, -255, 10, 255, 20}));
    ColorTransform b = ReadAll(swftest::CxFormBytes(mul, add, false), [](Reader& r) { return ReadColorTransform(r, false); });
    EXPECT_EQ(b, (ColorTransform{256, 128, 0, 256, -255, 10, 255, 0}));
    ColorTransform onlyAdd = ReadAll(swftest::CxFormBytes(mul, add, true, false, true),
                                     [](Reader& r) { return ReadColorTransform(r, true); });
    EXPECT_EQ(onlyAdd, (ColorTransform{256, 256, 256, 256, -255, 10, 255, 20}));

    // applying: multiply then add, clamped
    EXPECT_EQ(a.Apply(Rgba{200, 200, 200, 200}), (Rgba{0, 110, 255, 70}));
    // nesting: outer(inner(c)) equals the concatenation applied once
    ColorTransform outer{128, 256, 256, 256, 10, 0, 0, 0}, inner{256, 256, 256, 256, 20, 0, 0, 0};
    EXPECT_EQ(outer.Concat(inner).Apply(Rgba{100, 0, 0, 255}), outer.Apply(inner.Apply(Rgba{100, 0, 0, 255})));
}

TEST(Records, FillStylesByShapeVersion)
{
    // DefineShape 1/2 colours are RGB, 3/4 RGBA
    FillStyle s1 = ReadAll(swftest::SolidFill(1, 2, 3, 4, 1), [](Reader& r) { return ReadFillStyle(r, 1); });
    EXPECT_EQ(s1.color, (Rgba{1, 2, 3, 255}));
    FillStyle s3 = ReadAll(swftest::SolidFill(1, 2, 3, 4, 3), [](Reader& r) { return ReadFillStyle(r, 3); });
    EXPECT_EQ(s3.color, (Rgba{1, 2, 3, 4}));

    Bytes radial = swftest::GradientFill(0x13, swftest::TranslateMatrix(100, 200),
                                         {{0, 255, 0, 0, 255}, {128, 0, 255, 0, 128}, {255, 0, 0, 255, 0}}, 4,
                                         /*spread reflect*/ 1, /*linear RGB*/ 1, /*focal -0.5*/ -128);
    FillStyle g = ReadAll(radial, [](Reader& r) { return ReadFillStyle(r, 4); });
    EXPECT_EQ(g.type, FillStyle::FocalGradient);
    EXPECT_EQ(g.matrix, (Matrix{1, 0, 0, 1, 100, 200}));
    EXPECT_EQ(g.gradient.spread, Gradient::Spread::Reflect);
    EXPECT_EQ(g.gradient.interpolation, Gradient::Interpolation::Linear);
    EXPECT_DOUBLE_EQ(g.gradient.focalPoint, -0.5);
    ASSERT_EQ(g.gradient.records.size(), 3u);
    EXPECT_EQ(g.gradient.records[1], (GradientRecord{128, Rgba{0, 255, 0, 128}}));

    Bytes bitmap{0x41, 0x07, 0x00};
    swftest::PutBytes(bitmap, swftest::IdentityMatrix());
    FillStyle b = ReadAll(bitmap, [](Reader& r) { return ReadFillStyle(r, 2); });
    EXPECT_TRUE(b.IsBitmap());
    EXPECT_EQ(b.bitmapId, 7);

    Bytes unknown{0x20};
    Reader r(unknown.data(), unknown.size());
    EXPECT_THROW(ReadFillStyle(r, 3), DecodeError);
}

TEST(Records, LineStyle2CapsJoinsAndFill)
{
    // width 40; start cap square(2), join miter(2), has fill, no-h-scale; end cap none(1); miter 2.5; solid fill
    Bytes bytes{40, 0, 0b10'10'1'1'0'0, 0b00000'0'01, 0x80, 0x02, 0x00, 9, 8, 7, 6};
    LineStyle l = ReadAll(bytes, [](Reader& r) { return ReadLineStyle(r, 4); });
    EXPECT_EQ(l.width, 40);
    EXPECT_EQ(l.startCap, LineStyle::Cap::Square);
    EXPECT_EQ(l.endCap, LineStyle::Cap::None);
    EXPECT_EQ(l.join, LineStyle::Join::Miter);
    EXPECT_DOUBLE_EQ(l.miterLimit, 2.5);
    EXPECT_TRUE(l.noHScale);
    EXPECT_FALSE(l.noVScale);
    ASSERT_TRUE(l.fill.has_value());
    EXPECT_EQ(l.color, (Rgba{9, 8, 7, 6}));

    LineStyle old = ReadAll(swftest::LineStyle1(20, 1, 2, 3, 0, 2), [](Reader& r) { return ReadLineStyle(r, 2); });
    EXPECT_EQ(old.width, 20);
    EXPECT_EQ(old.color, (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(old.startCap, LineStyle::Cap::Round);
}

TEST(Records, ShapeRecordsEdgesAndStyleChanges)
{
    swftest::ShapeBuilder b(3, 2, 1);
    b.Change(0, 1, 1, true, -100, 250).Line(300, 0).Line(0, -7).Line(5, 6).Curve(10, -20, 30, 40);
    Bytes bytes = b.Finish();
    auto records = ReadAll(bytes, [](Reader& r) { return ReadShapeRecords(r, 3, 2, 1); });
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].kind, ShapeRecord::Kind::StyleChange);
    EXPECT_TRUE(records[0].hasMove && records[0].hasFill0 && records[0].hasFill1 && records[0].hasLine);
    EXPECT_EQ(records[0].moveX, -100);
    EXPECT_EQ(records[0].moveY, 250);
    EXPECT_EQ(records[0].fill1, 1u);
    struct Edge { ShapeRecord::Kind kind; int dx, dy, ax, ay; };
    const Edge expected[] = {{ShapeRecord::Kind::StraightEdge, 300, 0, 0, 0},
                             {ShapeRecord::Kind::StraightEdge, 0, -7, 0, 0},
                             {ShapeRecord::Kind::StraightEdge, 5, 6, 0, 0},
                             {ShapeRecord::Kind::CurvedEdge, 10, -20, 30, 40}};
    for (int i = 0; i < 4; ++i) {
        const ShapeRecord& r = records[i + 1];
        EXPECT_EQ(r.kind, expected[i].kind) << i;
        EXPECT_EQ(r.dx, expected[i].dx) << i;
        EXPECT_EQ(r.dy, expected[i].dy) << i;
        EXPECT_EQ(r.anchorDx, expected[i].ax) << i;
        EXPECT_EQ(r.anchorDy, expected[i].ay) << i;
    }
}

TEST(Records, PlaceObject2AllFields)
{
    const int16_t mul[4] = {256, 256, 256, 128};
    const int16_t add[4] = {0, 0, 0, 0};
    swftest::Place2 p;
    p.depth = 9;
    p.characterId = 3;
    p.matrix = swftest::TranslateMatrix(20, -40);
    p.cxform = swftest::CxFormBytes(mul, add, true, true, false);
    p.ratio = 7;
    p.name = "clip";
    p.clipDepth = 12;
    Bytes body = swftest::PlaceObject2Body(p);
    PlaceObject po = ReadAll(body, [](Reader& r) { return ReadPlaceObject(26, r, 6); });
    EXPECT_EQ(po.version, 2);
    EXPECT_EQ(po.depth, 9);
    EXPECT_EQ(po.characterId, 3);
    EXPECT_EQ(po.matrix, (Matrix{1, 0, 0, 1, 20, -40}));
    EXPECT_EQ(po.colorTransform->aMul, 128);
    EXPECT_EQ(po.ratio, 7);
    EXPECT_EQ(po.name, "clip");
    EXPECT_EQ(po.clipDepth, 12);
    EXPECT_FALSE(po.move);
}

TEST(Records, PlaceObject3KeepsFiltersAndBlendMode)
{
    // flags: has character; flags2: filter list + blend mode; depth 1, id 2, one blur filter, blend 3
    Bytes body{0x02, 0x03, 0x01, 0x00, 0x02, 0x00, 0x01, 0x01};
    Bytes blur(9, 0x11);
    swftest::PutBytes(body, blur);
    body.push_back(3);
    PlaceObject po = ReadAll(body, [](Reader& r) { return ReadPlaceObject(70, r, 8); });
    EXPECT_EQ(po.version, 3);
    ASSERT_EQ(po.filters.size(), 1u);
    EXPECT_EQ(po.filters[0].id, 1);
    EXPECT_EQ(po.filters[0].data, blur);
    EXPECT_EQ(po.blendMode, 3);
}

TEST(Records, DamagedRecordsThrowDecodeError)
{
    struct Case { const char* what; Bytes bytes; std::function<void(Reader&)> read; };
    const std::vector<Case> cases = {
        {"rect cut off", {0xF8, 0x00}, [](Reader& r) { ReadRect(r); }},
        {"matrix cut off", {0xFF}, [](Reader& r) { ReadMatrix(r); }},
        {"string without end", {'a', 'b'}, [](Reader& r) { r.String(); }},
        {"fill array longer than data", {0x05, 0x00, 1, 2}, [](Reader& r) { ReadShapeStyles(r, 3); }},
        {"edge cut off", {0xFF, 0xFF}, [](Reader& r) { ReadShapeRecords(r, 3, 1, 1); }},
        {"filter list cut off", {0x01, 0x00, 0x01}, [](Reader& r) { ReadFilterList(r); }},
        {"unknown filter", {0x01, 0x09}, [](Reader& r) { ReadFilterList(r); }},
        {"place object cut off", {0x02, 0x01}, [](Reader& r) { ReadPlaceObject(26, r, 6); }},
    };
    for (const Case& c : cases) {
        Reader r(c.bytes.data(), c.bytes.size());
        EXPECT_THROW(c.read(r), DecodeError) << c.what;
    }
}

TEST(Records, BitReaderSignExtendsAndAligns)
{
    Bytes bytes{0b10110000, 0xAB};
    Reader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.SB(3), -3); // 101
    EXPECT_EQ(r.UB(1), 1u);
    EXPECT_EQ(r.U8(), 0xAB); // the rest of the first byte is skipped
    EXPECT_THROW(r.UB(1), DecodeError);
    EXPECT_THROW(r.UB(33), DecodeError);
}
