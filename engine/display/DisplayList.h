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
    static constexpr size_t MaxObjects = 100000;    // display objects alive at once, all levels
};

struct PlayBudget {
    int tagsLeft = PlayLimits::MaxTagsPerFrame;
    size_t* alive = nullptr;                        // the player's count of live objects
};

using Dictionary = std::map<uint16_t, std::shared_ptr<const Character>>;

// A timeline being played: the root movie or one sprite instance.
class SpriteInstance {
public:
    SpriteInstance(const Timeline* timeline, int nesting) : FTimeline(timeline), FNesting(nesting) {}
    const DisplayList& List() const { return FList; }
    int CurrentFrame() const { return FFrame; } // 1-based, 0 before the first frame ran
    int TotalFrames() const { return static_cast<int>(FTimeline->frames.size()); }

    // Runs the control tags of the next frame (looping at the end) after moving the children on.
    void Step(Dictionary& dictionary, PlayBudget& budget,
              Rgba* background);
    // Moves only the sprites on this timeline on (a stopped timeline's children keep playing).
    void StepChildren(Dictionary& dictionary, PlayBudget& budget, Rgba* background);
    // Runs the tags of one frame without moving anything else.
    void RunFrame(int frame, Dictionary& dictionary,
                  PlayBudget& budget, Rgba* background);
    // Empties the list; returns how many objects went, descendants included.
    size_t Reset();
    size_t CountObjects() const;

private:
    void Place(const PlaceObject&, Dictionary& dictionary,
               PlayBudget& budget, Rgba* background);
    void Remove(uint16_t depth, PlayBudget& budget);
    std::shared_ptr<SpriteInstance> MakeSprite(const Character& c, Dictionary& dictionary, PlayBudget& budget,
                                               Rgba* background);
    const Timeline* FTimeline;
    int FNesting;
    int FFrame = 0;
    DisplayList FList;
};

} // namespace swf
