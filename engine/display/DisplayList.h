// What is on stage: character instances by depth, sprites with their own playheads.
#pragma once
#include "engine/swf/Movie.h"

#include <map>
#include <memory>

namespace swf {

class SpriteInstance;

struct DisplayObject {
    uint16_t depth = 0;
    std::shared_ptr<const Character> character;
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;
    std::string name;
    uint16_t clipDepth = 0;        // > 0: a mask over depths (depth, clipDepth]
    uint8_t blendMode = 0;
    std::vector<Filter> filters;
    bool visible = true;
    std::shared_ptr<SpriteInstance> sprite; // for sprite characters
};

using DisplayList = std::map<uint16_t, DisplayObject>;

// Limits that keep a hostile movie from running away.
struct PlayLimits {
    static constexpr int MaxNesting = 24;           // sprite inside sprite
    static constexpr int MaxTagsPerFrame = 200000;  // control tags run for one frame, all levels
    static constexpr size_t MaxObjects = 100000;    // display objects alive at once
};

struct PlayBudget {
    int tagsLeft = PlayLimits::MaxTagsPerFrame;
    size_t objects = 0;
};

// A timeline being played: the root movie or one sprite instance.
class SpriteInstance {
public:
    SpriteInstance(const Timeline* timeline, int nesting) : FTimeline(timeline), FNesting(nesting) {}
    const DisplayList& List() const { return FList; }
    int CurrentFrame() const { return FFrame; } // 1-based, 0 before the first frame ran
    int TotalFrames() const { return static_cast<int>(FTimeline->frames.size()); }

    // Runs the control tags of the next frame (looping at the end) after moving the children on.
    void Step(std::map<uint16_t, std::shared_ptr<const Character>>& dictionary, PlayBudget& budget,
              Rgba* background);
    // Runs the tags of one frame without moving anything else.
    void RunFrame(int frame, std::map<uint16_t, std::shared_ptr<const Character>>& dictionary,
                  PlayBudget& budget, Rgba* background);
    void Reset();

private:
    void Place(const PlaceObject&, std::map<uint16_t, std::shared_ptr<const Character>>& dictionary,
               PlayBudget& budget, Rgba* background);
    const Timeline* FTimeline;
    int FNesting;
    int FFrame = 0;
    DisplayList FList;
};

} // namespace swf
