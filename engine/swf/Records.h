// Plain values of the movie format's records; the reading code lives in RecordReader.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swf {

struct Rect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0; // twips
    bool operator==(const Rect&) const = default;
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

// x' = a*x + c*y + tx ; y' = b*x + d*y + ty (a = ScaleX, b = RotateSkew0, c = RotateSkew1, d = ScaleY)
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1;
    int32_t tx = 0, ty = 0; // twips
    bool operator==(const Matrix&) const = default;
};

// Multiply terms as 8.8 fixed point (256 = 1.0), add terms in colour units.
struct ColorTransform {
    int16_t rMul = 256, gMul = 256, bMul = 256, aMul = 256;
    int16_t rAdd = 0, gAdd = 0, bAdd = 0, aAdd = 0;
    bool operator==(const ColorTransform&) const = default;
    bool IsIdentity() const { return *this == ColorTransform{}; }
    Rgba Apply(Rgba c) const;
    // this after inner: the transform an object gets inside a transformed parent
    ColorTransform Concat(const ColorTransform& inner) const;
};

struct GradientRecord {
    uint8_t ratio = 0;
    Rgba color;
    bool operator==(const GradientRecord&) const = default;
};

struct Gradient {
    enum class Spread : uint8_t { Pad = 0, Reflect = 1, Repeat = 2 };
    enum class Interpolation : uint8_t { Normal = 0, Linear = 1 };
    Spread spread = Spread::Pad;
    Interpolation interpolation = Interpolation::Normal;
    std::vector<GradientRecord> records;
    double focalPoint = 0; // -1..1, focal gradients only
    bool operator==(const Gradient&) const = default;
};

struct FillStyle {
    enum Type : uint8_t {
        Solid = 0x00, LinearGradient = 0x10, RadialGradient = 0x12, FocalGradient = 0x13,
        RepeatingBitmap = 0x40, ClippedBitmap = 0x41, NonSmoothedRepeatingBitmap = 0x42,
        NonSmoothedClippedBitmap = 0x43
    };
    uint8_t type = Solid;
    Rgba color;          // Solid
    Matrix matrix;       // gradients and bitmaps
    Gradient gradient;   // gradients
    uint16_t bitmapId = 0;
    bool IsGradient() const { return type == LinearGradient || type == RadialGradient || type == FocalGradient; }
    bool IsBitmap() const { return type >= 0x40 && type <= 0x43; }
    bool operator==(const FillStyle&) const = default;
};

struct LineStyle {
    enum class Cap : uint8_t { Round = 0, None = 1, Square = 2 };
    enum class Join : uint8_t { Round = 0, Bevel = 1, Miter = 2 };
    uint16_t width = 0; // twips
    Rgba color;
    // LINESTYLE2 (DefineShape4) only; the defaults are what older shapes mean
    Cap startCap = Cap::Round, endCap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3;
    bool noHScale = false, noVScale = false, pixelHinting = false, noClose = false;
    std::optional<FillStyle> fill;
    bool operator==(const LineStyle&) const = default;
};

struct ShapeStyles {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    bool operator==(const ShapeStyles&) const = default;
};

// One shape record. Style indices are 1-based into the current style arrays, 0 = none.
struct ShapeRecord {
    enum class Kind : uint8_t { StyleChange, StraightEdge, CurvedEdge };
    Kind kind = Kind::StyleChange;
    // StyleChange
    bool hasMove = false, hasFill0 = false, hasFill1 = false, hasLine = false, hasNewStyles = false;
    int32_t moveX = 0, moveY = 0;               // absolute, twips
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    ShapeStyles newStyles;
    // Edges: deltas in twips
    int32_t dx = 0, dy = 0;                     // straight: to anchor; curved: control delta
    int32_t anchorDx = 0, anchorDy = 0;         // curved only
    bool operator==(const ShapeRecord&) const = default;
};

struct Shape {
    ShapeStyles styles;
    std::vector<ShapeRecord> records;
    bool operator==(const Shape&) const = default;
};

// Kept as read; drawing them is later work.
struct Filter {
    uint8_t id = 0;                 // 0 drop shadow, 1 blur, 2 glow, 3 bevel, 4 gradient glow, 5 convolution, 6 colour matrix, 7 gradient bevel
    std::vector<uint8_t> data;      // the filter's bytes after its id
    bool operator==(const Filter&) const = default;
};

} // namespace swf
