// A playhead over a movie definition: display list, sprites, seeking.
#pragma once
#include "engine/display/DisplayList.h"
#include "engine/swf/Movie.h"

#include <memory>

namespace swf {

class Player {
public:
    explicit Player(std::shared_ptr<const MovieDefinition> movie);

    const MovieDefinition& Movie() const { return *FMovie; }
    std::shared_ptr<const MovieDefinition> MoviePtr() const { return FMovie; }
    int TotalFrames() const;                // >= 1
    int CurrentFrame() const;               // 1-based
    void GotoFrame(int frame);              // clamps to 1..TotalFrames; backwards rebuilds from frame 1
    bool Advance(bool loop);                // one frame of playback; false when it stayed on the last frame
    uint32_t BackgroundColor() const;       // 0xRRGGBB, white when the movie sets none

    // For the renderer
    const DisplayList& Root() const { return FRoot.List(); }
    Rect Stage() const { return FMovie->stage; }
    // Characters as defined so far on the timeline (an id may be freed and defined again).
    const Dictionary& Characters() const { return FDictionary; }
    const Character* FindCharacter(uint16_t id) const
    {
        auto it = FDictionary.find(id);
        return it != FDictionary.end() ? it->second.get() : nullptr;
    }

private:
    void Rebuild();
    void StepRoot();
    std::shared_ptr<const MovieDefinition> FMovie;
    Dictionary FDictionary;
    SpriteInstance FRoot;
    size_t FAlive = 0;
    int FFrame = 0;
    Rgba FBackground{255, 255, 255, 255};
};

} // namespace swf
