// Drawing small fixtures and checking the pixels that matter.
#include "engine/render/Renderer.h"
#include "tests/support/SwfRecords.h"

#include <gtest/gtest.h>

using namespace swf;
using swftest::Bytes;
using swftest::SwfWriter;

namespace {

Bytes Tag(uint16_t code, const Bytes& body)
{
    Bytes out = swftest::TagHeader(code, body.size());
    swftest::PutBytes(out, body);
    return out;
}

Bytes Place(uint16_t depth, int id, int clipDepth = -1)
{
    swftest::Place2 p;
    p.depth = depth;
    p.characterId = id;
    p.matrix = swftest::IdentityMatrix();
    p.clipDepth = clipDepth;
    return Tag(26, swftest::PlaceObject2Body(p));
}

// A 100x100 px stage (2000 twips) with the given tags in frame 1.
Player MovieWith(const Bytes& tags, uint8_t bgR = 255, uint8_t bgG = 255, uint8_t bgB = 255)
{
    SwfWriter w(8);
    w.Stage(0, 2000, 0, 2000).FrameCount(1).SetBackgroundColor(bgR, bgG, bgB);
    w.RawTagBytes(tags).ShowFrame().End();
    return Player(DecodeMovie(w.Build()));
}

QImage Draw(const Player& p, QSize size = {100, 100}, Quality q = Quality::Low)
{
    RenderOptions o;
    o.quality = q;
    return RenderFrameImage(p, size, o);
}

QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

Bytes Square(uint16_t id, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b, bool useFill0)
{
    swftest::ShapeBuilder sb(3, 1, 0);
    sb.Rectangle(x, y, w, h, useFill0 ? 1 : -1, useFill0 ? -1 : 1);
    return Tag(32, swftest::DefineShapeBody(id, 3, swftest::Rect(x, x + w, y, y + h),
                                            {swftest::SolidFill(r, g, b, 255, 3)}, {}, 1, 0, sb.Finish()));
}

} // namespace

TEST(Render, SolidSquareFillsExactlyItsPixels)
{
    // 20..60 px square, fill on either side of the edges: the same pixels
    for (bool fill0 : {false, true}) {
        Bytes tags = Square(1, 400, 400, 800, 800, 255, 0, 0, fill0);
        swftest::PutBytes(tags, Place(1, 1));
        QImage img = Draw(MovieWith(tags));
        int red = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                bool inside = x >= 20 && x < 60 && y >= 20 && y < 60;
                QRgb want = inside ? 0xFF0000 : 0xFFFFFF;
                if (At(img, x, y) == 0xFF0000)
                    ++red;
                ASSERT_EQ(At(img, x, y), want) << "fill0 " << fill0 << " at " << x << "," << y;
            }
        EXPECT_EQ(red, 1600);
    }
}

TEST(Render, TwoFillsShareAnEdge)
{
    // left half fill 1 (red), right half fill 2 (blue), the middle edge carries both sides
    swftest::ShapeBuilder sb(3, 2, 0);
    sb.Change(0, 1, -1, true, 0, 0).Line(1000, 0);            // top of the left half
    sb.Change(2, 1, -1).Line(0, 2000);                          // middle: blue right of it... left is red
    sb.Change(0, 1, -1).Line(-1000, 0).Line(0, -2000);          // close the left half
    sb.Change(0, 2, -1, true, 1000, 0).Line(1000, 0).Line(0, 2000).Line(-1000, 0);
    Bytes tags = Tag(32, swftest::DefineShapeBody(1, 3, swftest::Rect(0, 2000, 0, 2000),
                                                  {swftest::SolidFill(255, 0, 0, 255, 3), swftest::SolidFill(0, 0, 255, 255, 3)},
                                                  {}, 2, 0, sb.Finish()));
    swftest::PutBytes(tags, Place(1, 1));
    QImage img = Draw(MovieWith(tags));
    EXPECT_EQ(At(img, 10, 50), 0xFF0000u);
    EXPECT_EQ(At(img, 49, 50), 0xFF0000u);
    EXPECT_EQ(At(img, 50, 50), 0x0000FFu);
    EXPECT_EQ(At(img, 90, 50), 0x0000FFu);
}

TEST(Render, OverlappingContoursOfOneFillAreEvenOdd)
{
    // two rectangles of the same fill, the second inside the first: the inner one is a hole
    swftest::ShapeBuilder sb(3, 1, 0);
    sb.Rectangle(0, 0, 2000, 2000, -1, 1);
    sb.Rectangle(500, 500, 1000, 1000, -1, 1);
    Bytes shape = swftest::DefineShapeBody(1, 3, swftest::Rect(0, 2000, 0, 2000), {swftest::SolidFill(0, 128, 0, 255, 3)},
                                           {}, 1, 0, sb.Finish());
    Bytes tags = Tag(32, shape);
    swftest::PutBytes(tags, Place(1, 1));
    QImage img = Draw(MovieWith(tags));
    EXPECT_EQ(At(img, 10, 10), 0x008000u);
    EXPECT_EQ(At(img, 50, 50), 0xFFFFFFu);

    // the same contours in a DefineShape4 with the non-zero flag: no hole
    swftest::ShapeBuilder sb4(4, 1, 0);
    sb4.Rectangle(0, 0, 2000, 2000, -1, 1);
    sb4.Rectangle(500, 500, 1000, 1000, -1, 1);
    Bytes shape4 = swftest::DefineShapeBody(1, 4, swftest::Rect(0, 2000, 0, 2000), {swftest::SolidFill(0, 128, 0, 255, 4)},
                                            {}, 1, 0, sb4.Finish(), /*non-zero*/ 0x04);
    Bytes tags4 = Tag(83, shape4);
    swftest::PutBytes(tags4, Place(1, 1));
    EXPECT_EQ(At(Draw(MovieWith(tags4)), 50, 50), 0x008000u);
}

TEST(Render, ClipDepthMasksOnlyTheDepthsItCovers)
{
    // mask: left half at depth 1 clipping to depth 2; blue full square at 2; red strip at 3 (unmasked)
    Bytes tags = Square(1, 0, 0, 1000, 2000, 0, 0, 0, false);
    swftest::PutBytes(tags, Square(2, 0, 0, 2000, 2000, 0, 0, 255, false));
    swftest::PutBytes(tags, Square(3, 0, 1800, 2000, 200, 255, 0, 0, false));
    swftest::PutBytes(tags, Place(1, 1, 2));
    swftest::PutBytes(tags, Place(2, 2));
    swftest::PutBytes(tags, Place(3, 3));
    for (Quality q : {Quality::Low, Quality::High}) {
        QImage img = Draw(MovieWith(tags), {100, 100}, q);
        EXPECT_EQ(At(img, 20, 40), 0x0000FFu);  // inside the mask
        EXPECT_EQ(At(img, 80, 40), 0xFFFFFFu);  // outside: masked away, mask itself not drawn
        EXPECT_EQ(At(img, 80, 95), 0xFF0000u);  // depth 3 is not under the mask
    }
}

TEST(Render, LinearGradientEndsAndPadding)
{
    // a gradient square 0..16384*2 scaled to the 2000-twip stage: red at the left, blue at the right
    swftest::MatrixValues m;
    m.hasScale = true;
    m.a = m.d = 1000.0 / 16384;
    m.tx = m.ty = 1000;
    swftest::ShapeBuilder sb(3, 1, 0);
    sb.Rectangle(0, 0, 2000, 2000, -1, 1);
    Bytes fill = swftest::GradientFill(0x10, swftest::MatrixBytes(m), {{0, 255, 0, 0, 255}, {255, 0, 0, 255, 255}}, 3);
    Bytes tags = Tag(32, swftest::DefineShapeBody(1, 3, swftest::Rect(0, 2000, 0, 2000), {fill}, {}, 1, 0, sb.Finish()));
    swftest::PutBytes(tags, Place(1, 1));
    QImage img = Draw(MovieWith(tags));
    QColor left(img.pixel(0, 50)), right(img.pixel(99, 50)), mid(img.pixel(50, 50));
    EXPECT_GE(left.red(), 250);
    EXPECT_LE(left.blue(), 5);
    EXPECT_GE(right.blue(), 250);
    EXPECT_LE(right.red(), 5);
    EXPECT_NEAR(mid.red(), 127, 6);
    EXPECT_NEAR(mid.blue(), 127, 6);
}

TEST(Render, ShowAllLetterboxesInTheBackgroundColour)
{
    Bytes tags = Square(1, 0, 0, 2000, 2000, 0, 255, 0, false);
    swftest::PutBytes(tags, Place(1, 1));
    Player p = MovieWith(tags, 10, 20, 30);
    QImage img = Draw(p, {200, 100}); // square stage in a wide picture: bars left and right
    EXPECT_EQ(At(img, 10, 50), 0x0A141Eu);
    EXPECT_EQ(At(img, 190, 50), 0x0A141Eu);
    EXPECT_EQ(At(img, 51, 50), 0x00FF00u);
    EXPECT_EQ(At(img, 148, 50), 0x00FF00u);
    // the stage is scaled, not cut: its corners land on the square's corners
    EXPECT_EQ(At(img, 50, 0), 0x00FF00u);
    EXPECT_EQ(At(img, 149, 99), 0x00FF00u);
    EXPECT_EQ(At(img, 49, 0), 0x0A141Eu);
}

TEST(Render, ColourTransformMultipliesAndAdds)
{
    const int16_t mul[4] = {128, 256, 0, 256};
    const int16_t add[4] = {0, 0, 100, 0};
    swftest::Place2 place;
    place.depth = 1;
    place.characterId = 1;
    place.cxform = swftest::CxFormBytes(mul, add, true);
    Bytes tags = Square(1, 0, 0, 2000, 2000, 200, 100, 50, false);
    swftest::PutBytes(tags, Tag(26, swftest::PlaceObject2Body(place)));
    EXPECT_EQ(At(Draw(MovieWith(tags)), 50, 50), qRgb(100, 100, 100) & 0xFFFFFF);
}

TEST(Render, HighQualitySmoothsEdgesLowDoesNot)
{
    // a square whose edge falls mid-pixel (x = 20.5 px)
    Bytes tags = Square(1, 410, 0, 800, 2000, 0, 0, 0, false);
    swftest::PutBytes(tags, Place(1, 1));
    Player p = MovieWith(tags);
    QRgb low = At(Draw(p, {100, 100}, Quality::Low), 20, 50);
    QRgb high = At(Draw(p, {100, 100}, Quality::High), 20, 50);
    EXPECT_TRUE(low == 0 || low == 0xFFFFFF);
    EXPECT_NE(high, 0u);
    EXPECT_NE(high, 0xFFFFFFu);
}

TEST(Render, GradientRatiosThatFallBackKeepTheFirstSegment)
{
    // red 0 -> green 128, then a record "back" at 64 (blue): 0..128 stays red-green, past 128 blue holds
    swftest::MatrixValues m;
    m.hasScale = true;
    m.a = m.d = 1000.0 / 16384;
    m.tx = m.ty = 1000;
    swftest::ShapeBuilder sb(3, 1, 0);
    sb.Rectangle(0, 0, 2000, 2000, -1, 1);
    Bytes fill = swftest::GradientFill(0x10, swftest::MatrixBytes(m),
                                       {{0, 255, 0, 0, 255}, {128, 0, 255, 0, 255}, {64, 0, 0, 255, 255}}, 3);
    Bytes tags = Tag(32, swftest::DefineShapeBody(1, 3, swftest::Rect(0, 2000, 0, 2000), {fill}, {}, 1, 0, sb.Finish()));
    swftest::PutBytes(tags, Place(1, 1));
    QImage img = Draw(MovieWith(tags));
    QColor quarter(img.pixel(25, 50)), late(img.pixel(90, 50));
    EXPECT_NEAR(quarter.red(), 128, 10);   // halfway from red to green, no blue
    EXPECT_NEAR(quarter.green(), 128, 10);
    EXPECT_LE(quarter.blue(), 5);
    EXPECT_EQ(late.rgb() & 0xFFFFFF, 0x0000FFu);
}
