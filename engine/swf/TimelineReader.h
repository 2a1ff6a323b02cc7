// Reads a tag list (the movie's or a sprite's) into frames of control tags.
#pragma once
#include "engine/swf/Movie.h"
#include "engine/swf/Reader.h"

namespace swf {

constexpr int MaxSpriteDefinitionNesting = 8;

// Reads tags until End or the end of r; damage is noted in movie.warnings, not thrown.
// tagCount counts every tag of the movie, sprites included, against a cap.
Timeline ReadTimeline(Reader& r, MovieDefinition& movie, int nesting, int headerFrameCount, size_t& tagCount);

// One tag body (after the tag header) into the frame being built; throws DecodeError.
void ReadTag(int code, Reader& body, MovieDefinition& movie, Frame& frame, int nesting, size_t& tagCount);

PlaceObject ReadPlaceObject(int code, Reader& body, int swfVersion);

} // namespace swf
