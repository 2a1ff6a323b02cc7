#include "engine/swf/TimelineReader.h"

#include "engine/swf/RecordReader.h"
#include "engine/swf/TagNames.h"

#if __has_include("engine/swf/Bitmap.h")
#include "engine/swf/Bitmap.h"
#define MOVISCOPE_HAVE_BITMAP 1
#endif

namespace swf {

namespace {

// A hostile tag list of millions of empty tags would otherwise cost memory and time.
constexpr size_t MaxTagsPerMovie = 4'000'000;
constexpr size_t MaxWarnings = 50;

void Warn(MovieDefinition& movie, std::string text)
{
    if (movie.warnings.size() < MaxWarnings)
        movie.warnings.push_back(std::move(text));
}

std::vector<uint8_t> Rest(Reader& r)
{
    std::vector<uint8_t> v(r.Current(), r.Current() + r.Remaining());
    r.Skip(r.Remaining());
    return v;
}

void Define(MovieDefinition& movie, Frame& frame, std::shared_ptr<const Character> c)
{
    movie.dictionary.emplace(c->id, c);
    frame.tags.push_back(DefineCharacter{std::move(c)});
}

std::shared_ptr<const Character> ReadShape(int code, Reader& r)
{
    int version = code == TagDefineShape ? 1 : code == TagDefineShape2 ? 2 : code == TagDefineShape3 ? 3 : 4;
    auto shape = std::make_shared<ShapeCharacter>(r.U16(), code);
    shape->shapeVersion = version;
    shape->bounds = ReadRect(r);
    if (version == 4) {
        shape->edgeBounds = ReadRect(r);
        uint8_t flags = r.U8();
        shape->nonZeroWinding = flags & 0x04;
        shape->usesNonScalingStrokes = flags & 0x02;
        shape->usesScalingStrokes = flags & 0x01;
    } else {
        shape->edgeBounds = shape->bounds;
    }
    shape->shape = ReadShapeWithStyle(r, version);
    return shape;
}

std::shared_ptr<const Character> ReadBitmap(int code, Reader& r, const MovieDefinition& movie)
{
    auto bitmap = std::make_shared<BitmapDefinition>(r.U16(), code);
    bitmap->body = Rest(r);
#ifdef MOVISCOPE_HAVE_BITMAP
    try {
        bitmap->bitmap = std::make_shared<const BitmapCharacter>(
            ParseBitmapTag(code, bitmap->id, bitmap->body.data(), bitmap->body.size(), movie.jpegTables));
    } catch (const std::exception& e) {
        bitmap->error = e.what();
    }
#endif
    return bitmap;
}

bool IsBitmapTag(int code)
{
    return code == TagDefineBits || code == TagDefineBitsJPEG2 || code == TagDefineBitsJPEG3 ||
           code == TagDefineBitsJPEG4 || code == TagDefineBitsLossless || code == TagDefineBitsLossless2;
}

// Definitions drawn by later work; kept whole so they can be placed and read then.
bool IsOtherDefinition(int code)
{
    switch (code) {
    case TagDefineButton: case TagDefineFont: case TagDefineText: case TagDefineSound:
    case TagDefineText2: case TagDefineButton2: case TagDefineEditText: case TagDefineMorphShape:
    case TagDefineFont2: case TagDefineVideoStream: case TagDefineFont3: case TagDefineMorphShape2:
    case TagDefineBinaryData: case TagDefineFont4:
        return true;
    default:
        return false;
    }
}

} // namespace

PlaceObject ReadPlaceObject(int code, Reader& r, int swfVersion)
{
    PlaceObject p;
    if (code == TagPlaceObject) {
        p.version = 1;
        p.characterId = r.U16();
        p.depth = r.U16();
        p.matrix = ReadMatrix(r);
        if (!r.AtEnd())
            p.colorTransform = ReadColorTransform(r, false);
        return p;
    }
    p.version = code == TagPlaceObject2 ? 2 : 3;
    uint8_t flags = r.U8();
    uint8_t flags2 = p.version == 3 ? r.U8() : 0;
    p.move = flags & 0x01;
    p.depth = r.U16();
    if (p.version == 3 && ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02))))
        p.className = r.String();
    if (flags & 0x02)
        p.characterId = r.U16();
    if (flags & 0x04)
        p.matrix = ReadMatrix(r);
    if (flags & 0x08)
        p.colorTransform = ReadColorTransform(r, true);
    if (flags & 0x10)
        p.ratio = r.U16();
    if (flags & 0x20)
        p.name = r.String();
    if (flags & 0x40)
        p.clipDepth = r.U16();
    if (p.version == 3) {
        if (flags2 & 0x01) {
            p.hasFilters = true;
            p.filters = ReadFilterList(r);
        }
        if (flags2 & 0x02)
            p.blendMode = r.U8();
        // Some writers set these flags without their byte: an absent byte means "not given".
        if ((flags2 & 0x04) && !r.AtEnd())
            p.bitmapCache = r.U8();
        if ((flags2 & 0x20) && !r.AtEnd())
            p.visible = r.U8();
        if ((flags2 & 0x40) && r.Remaining() >= 4)
            p.opaqueBackground = ReadRgba(r);
    }
    if (flags & 0x80)
        p.clipActions = Rest(r);
    (void)swfVersion;
    return p;
}

void ReadTag(int code, Reader& r, MovieDefinition& movie, Frame& frame, int nesting, size_t& tagCount)
{
    switch (code) {
    case TagDefineShape: case TagDefineShape2: case TagDefineShape3: case TagDefineShape4:
        Define(movie, frame, ReadShape(code, r));
        return;
    case TagDefineSprite: {
        auto sprite = std::make_shared<SpriteCharacter>(r.U16(), code);
        int frames = r.U16();
        if (nesting >= MaxSpriteDefinitionNesting)
            throw DecodeError("sprites nested too deeply");
        sprite->timeline = ReadTimeline(r, movie, nesting + 1, frames, tagCount);
        Define(movie, frame, sprite);
        return;
    }
    case TagPlaceObject: case TagPlaceObject2: case TagPlaceObject3:
        frame.tags.push_back(ReadPlaceObject(code, r, movie.version));
        return;
    case TagRemoveObject: {
        RemoveObject rm;
        rm.characterId = r.U16();
        rm.depth = r.U16();
        frame.tags.push_back(rm);
        return;
    }
    case TagRemoveObject2: {
        RemoveObject rm;
        rm.depth = r.U16();
        frame.tags.push_back(rm);
        return;
    }
    case TagSetBackgroundColor: {
        SetBackgroundColor bg{ReadRgb(r)};
        if (!movie.backgroundColor)
            movie.backgroundColor = bg.color;
        frame.tags.push_back(bg);
        return;
    }
    case TagFrameLabel:
        frame.labels.push_back(r.String());
        return;
    case TagFreeCharacter:
        frame.tags.push_back(FreeCharacter{r.U16()});
        return;
    case TagJPEGTables:
        if (movie.jpegTables.empty())
            movie.jpegTables = Rest(r);
        return;
    default:
        break;
    }
    if (IsBitmapTag(code)) {
        Define(movie, frame, ReadBitmap(code, r, movie));
        return;
    }
    if (IsOtherDefinition(code)) {
        auto other = std::make_shared<OtherCharacter>(r.U16(), code);
        other->body = Rest(r);
        Define(movie, frame, other);
        return;
    }
    frame.tags.push_back(UnknownTag{code, Rest(r)});
}

Timeline ReadTimeline(Reader& r, MovieDefinition& movie, int nesting, int headerFrameCount, size_t& tagCount)
{
    Timeline t;
    t.headerFrameCount = headerFrameCount;
    Frame frame;
    bool ended = false;
    while (!r.AtEnd()) {
        if (++tagCount > MaxTagsPerMovie) {
            Warn(movie, "too many tags; the rest is ignored");
            break;
        }
        size_t offset = r.Position();
        if (r.Remaining() < 2) {
            Warn(movie, "tag header cut off at offset " + std::to_string(offset));
            break;
        }
        uint16_t head = r.U16();
        int code = head >> 6;
        size_t length = head & 0x3F;
        if (length == 0x3F) {
            if (r.Remaining() < 4) {
                Warn(movie, "tag header cut off at offset " + std::to_string(offset));
                break;
            }
            length = r.U32();
        }
        if (length > r.Remaining()) {
            Warn(movie, TagName(code) + " at offset " + std::to_string(offset) + " runs past the end (" +
                            std::to_string(length) + " bytes, " + std::to_string(r.Remaining()) + " left)");
            break;
        }
        Reader body = r.Sub(length);
        if (code == TagEnd) {
            ended = true;
            break;
        }
        if (code == TagShowFrame) {
            t.frames.push_back(std::move(frame));
            frame = Frame{};
            continue;
        }
        try {
            ReadTag(code, body, movie, frame, nesting, tagCount);
        } catch (const DecodeError& e) {
            Warn(movie, TagName(code) + " at offset " + std::to_string(offset) + ": " + e.what());
        }
    }
    if (!ended)
        Warn(movie, nesting == 0 ? "tag list has no End tag" : "sprite tag list has no End tag");
    // Tags after the last ShowFrame: a frame of their own when the header counts one more.
    if (!frame.tags.empty() || !frame.labels.empty() || t.frames.empty()) {
        if (t.frames.empty() || static_cast<int>(t.frames.size()) < t.headerFrameCount)
            t.frames.push_back(std::move(frame));
        else
            for (auto& tag : frame.tags)
                t.frames.back().tags.push_back(std::move(tag));
    }
    return t;
}

} // namespace swf
