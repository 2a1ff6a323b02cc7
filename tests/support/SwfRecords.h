// Record writers for engine fixtures, on top of SwfWriter: matrices, colour transforms, styles,
// shapes, placements and sprites as the bytes a movie holds.
#pragma once
#include "tests/support/SwfWriter.h"

#include <cstdint>
#include <vector>

namespace swftest {

struct MatrixValues {
    double a = 1, b = 0, c = 0, d = 1;  // scale / rotate-skew as 16.16 values
    int32_t tx = 0, ty = 0;
    bool hasScale = false, hasRotate = false;
};

Bytes MatrixBytes(const MatrixValues& m);
Bytes IdentityMatrix();
Bytes TranslateMatrix(int32_t tx, int32_t ty);
// mul/add terms; withAlpha writes CXFORMWITHALPHA
Bytes CxFormBytes(const int16_t mul[4], const int16_t add[4], bool withAlpha, bool hasMul = true, bool hasAdd = true);

Bytes SolidFill(uint8_t r, uint8_t g, uint8_t b, uint8_t a, int shapeVersion);
// type 0x10 linear / 0x12 radial; stops as (ratio, r, g, b, a)
struct Stop { uint8_t ratio, r, g, b, a; };
Bytes GradientFill(uint8_t type, const Bytes& matrix, const std::vector<Stop>& stops, int shapeVersion,
                   int spread = 0, int interpolation = 0, int16_t focal88 = 0);
Bytes LineStyle1(uint16_t width, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int shapeVersion);

// Shape records written bit by bit; coordinates in twips.
class ShapeBuilder {
public:
    ShapeBuilder(int shapeVersion, int fillBits, int lineBits)
        : FVersion(shapeVersion), FFillBits(fillBits), FLineBits(lineBits) {}
    // A style change record; pass -1 to leave a field unchanged.
    ShapeBuilder& Change(int fill0, int fill1, int line, bool move = false, int32_t x = 0, int32_t y = 0);
    ShapeBuilder& Line(int32_t dx, int32_t dy);
    ShapeBuilder& Curve(int32_t cx, int32_t cy, int32_t ax, int32_t ay);
    // A closed rectangle from the pen, drawn clockwise on screen (y down)
    ShapeBuilder& Rectangle(int32_t x, int32_t y, int32_t w, int32_t h, int fill0, int fill1);
    Bytes Finish(); // end record, aligned
    BitWriter& Bits() { return FBits; }

private:
    int FVersion, FFillBits, FLineBits;
    BitWriter FBits;
};

// DefineShape1..4 body: id, bounds, styles (already written arrays), bit counts, records.
Bytes DefineShapeBody(uint16_t id, int shapeVersion, const Bytes& bounds, const std::vector<Bytes>& fills,
                      const std::vector<Bytes>& lines, int fillBits, int lineBits, const Bytes& records,
                      uint8_t shape4Flags = 0);
int ShapeTagCode(int shapeVersion); // 2, 22, 32, 83

// PlaceObject2 body from its optional parts.
struct Place2 {
    uint16_t depth = 1;
    bool move = false;
    int characterId = -1;
    Bytes matrix, cxform;  // empty: absent
    int ratio = -1;
    std::string name;
    int clipDepth = -1;
};
Bytes PlaceObject2Body(const Place2& p);
Bytes RemoveObject2Body(uint16_t depth);
// DefineSprite body: id, frame count, then tags (End added)
Bytes DefineSpriteBody(uint16_t id, uint16_t frameCount, const Bytes& tags);

} // namespace swftest
