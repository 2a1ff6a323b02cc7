#include "engine/display/Player.h"

#include <algorithm>

namespace swf {

Player::Player(std::shared_ptr<const MovieDefinition> movie)
    : FMovie(std::move(movie)), FRoot(&FMovie->timeline, 0)
{
    Rebuild();
}

int Player::TotalFrames() const
{
    return std::max(1, static_cast<int>(FMovie->timeline.frames.size()));
}

int Player::CurrentFrame() const { return std::max(1, FFrame); }

void Player::Rebuild()
{
    FDictionary.clear();
    FRoot.Reset();
    FAlive = 0;
    FFrame = 0;
    FBackground = FMovie->backgroundColor.value_or(Rgba{255, 255, 255, 255});
    StepRoot();
}

void Player::StepRoot()
{
    PlayBudget budget;
    budget.alive = &FAlive;
    FRoot.Step(FDictionary, budget, &FBackground);
    FFrame = FRoot.CurrentFrame();
}

void Player::GotoFrame(int frame)
{
    frame = std::clamp(frame, 1, TotalFrames());
    if (frame == FFrame)
        return;
    if (frame < FFrame)
        Rebuild();
    while (FFrame < frame)
        StepRoot();
}

bool Player::Advance(bool loop)
{
    if (FFrame < TotalFrames()) {
        StepRoot();
        return true;
    }
    if (loop && TotalFrames() > 1) {
        Rebuild();
        return true;
    }
    // the root stays, but the sprites on it go on playing
    PlayBudget budget;
    budget.alive = &FAlive;
    FRoot.StepChildren(FDictionary, budget, &FBackground);
    return false;
}

uint32_t Player::BackgroundColor() const
{
    return uint32_t(FBackground.r) << 16 | uint32_t(FBackground.g) << 8 | FBackground.b;
}

} // namespace swf
