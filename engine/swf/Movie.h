// A decoded movie: immutable, shared by any number of players on any threads.
#pragma once
#include "engine/swf/Records.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace swf {

struct DecodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct BitmapCharacter; // engine/swf/Bitmap.h

// A slot where the renderer keeps what it derives from a character (paths, images), built once.
struct RenderCache {
    mutable std::mutex mutex;
    mutable std::shared_ptr<void> value;
};

struct Character {
    enum class Kind { Shape, Sprite, Bitmap, Other };
    explicit Character(Kind k, uint16_t i, int code) : kind(k), id(i), tagCode(code) {}
    virtual ~Character() = default;
    const Kind kind;
    const uint16_t id;
    const int tagCode;
    RenderCache cache;
};

struct ShapeCharacter : Character {
    ShapeCharacter(uint16_t id, int code) : Character(Kind::Shape, id, code) {}
    int shapeVersion = 1; // 1..4 for DefineShape..DefineShape4
    Rect bounds, edgeBounds;
    bool nonZeroWinding = false, usesNonScalingStrokes = false, usesScalingStrokes = false;
    Shape shape;
};

struct BitmapDefinition : Character {
    BitmapDefinition(uint16_t id, int code) : Character(Kind::Bitmap, id, code) {}
    std::vector<uint8_t> body;                     // the tag's bytes after the id
    std::shared_ptr<const BitmapCharacter> bitmap; // parsed, when the bitmap reader could read it
    std::string error;                             // why it could not, if so
};

// Characters not drawn yet (fonts, text, buttons, morphs, sounds, ...): kept for later work.
struct OtherCharacter : Character {
    OtherCharacter(uint16_t id, int code) : Character(Kind::Other, id, code) {}
    std::vector<uint8_t> body; // the tag's bytes after the id
};

struct PlaceObject {
    int version = 1;                       // 1, 2 or 3
    uint16_t depth = 0;
    bool move = false;
    std::optional<uint16_t> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clipDepth;
    std::optional<std::string> className;
    std::vector<Filter> filters;
    bool hasFilters = false;
    std::optional<uint8_t> blendMode;
    std::optional<uint8_t> bitmapCache;
    std::optional<uint8_t> visible;
    std::optional<Rgba> opaqueBackground;
    std::vector<uint8_t> clipActions;      // raw, for the script work
};

struct RemoveObject {
    uint16_t depth = 0;
    std::optional<uint16_t> characterId;   // RemoveObject (1) only
};

struct DefineCharacter {                   // a definition, taking effect where it stands
    std::shared_ptr<const Character> character;
};

struct FreeCharacter {
    uint16_t id = 0;
};

struct SetBackgroundColor {
    Rgba color;
};

struct UnknownTag {
    int code = 0;
    std::vector<uint8_t> data;
};

using ControlTag = std::variant<PlaceObject, RemoveObject, DefineCharacter, FreeCharacter,
                                SetBackgroundColor, UnknownTag>;

struct Frame {
    std::vector<ControlTag> tags;
    std::vector<std::string> labels;
};

struct Timeline {
    std::vector<Frame> frames;  // at least one
    int headerFrameCount = 0;   // what the header or DefineSprite claimed
};

struct SpriteCharacter : Character {
    SpriteCharacter(uint16_t id, int code) : Character(Kind::Sprite, id, code) {}
    Timeline timeline;
};

struct MovieDefinition {
    int version = 0;
    char signature[3] = {};
    uint32_t storedLength = 0;
    Rect stage;                  // twips
    double frameRate = 0;
    int headerFrameCount = 0;
    int frameCount = 1;          // frames actually present (>= 1)
    Timeline timeline;
    // Every definition by id (the first one when an id is defined again; players follow the
    // definitions in frame order).
    std::map<uint16_t, std::shared_ptr<const Character>> dictionary;
    std::vector<uint8_t> jpegTables;
    std::optional<Rgba> backgroundColor; // the first SetBackgroundColor, if any
    std::vector<std::string> warnings;   // damage met while reading (a cut-off tag list, ...)

    const Character* FindCharacter(uint16_t id) const;
};

std::shared_ptr<const MovieDefinition> DecodeMovie(std::vector<uint8_t> fileBytes); // throws DecodeError
std::shared_ptr<const MovieDefinition> LoadMovie(const std::filesystem::path&);       // throws DecodeError

} // namespace swf
