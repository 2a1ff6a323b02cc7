#include "engine/display/DisplayList.h"

#include <type_traits>

namespace swf {

size_t SpriteInstance::CountObjects() const
{
    size_t n = 0;
    for (const auto& [depth, obj] : FList) {
        ++n;
        if (obj.sprite)
            n += obj.sprite->CountObjects();
    }
    return n;
}

size_t SpriteInstance::Reset()
{
    size_t n = CountObjects();
    FList.clear();
    FFrame = 0;
    return n;
}

void SpriteInstance::Remove(uint16_t depth, PlayBudget& budget)
{
    auto it = FList.find(depth);
    if (it == FList.end())
        return;
    size_t n = 1 + (it->second.sprite ? it->second.sprite->CountObjects() : 0);
    if (budget.alive)
        *budget.alive -= std::min(*budget.alive, n);
    FList.erase(it);
}

std::shared_ptr<SpriteInstance> SpriteInstance::MakeSprite(const Character& c, Dictionary& dictionary,
                                                           PlayBudget& budget, Rgba* background)
{
    if (c.kind != Character::Kind::Sprite || FNesting + 1 >= PlayLimits::MaxNesting)
        return nullptr;
    auto sprite = std::make_shared<SpriteInstance>(&static_cast<const SpriteCharacter&>(c).timeline, FNesting + 1);
    sprite->Step(dictionary, budget, background);
    return sprite;
}

void SpriteInstance::Place(const PlaceObject& p, Dictionary& dictionary, PlayBudget& budget, Rgba* background)
{
    std::shared_ptr<const Character> character;
    if (p.characterId) {
        auto it = dictionary.find(*p.characterId);
        if (it == dictionary.end())
            return; // placing an undefined id shows nothing
        character = it->second;
    }
    auto existing = FList.find(p.depth);
    bool modify = p.version >= 2 && p.move;
    if (modify && existing == FList.end())
        return;
    if (!modify && !character)
        return;

    DisplayObject* obj;
    if (modify) {
        obj = &existing->second;
        if (character && character != obj->character) {
            // swapping the character keeps the placement; a sprite starts afresh
            if (obj->sprite && budget.alive)
                *budget.alive -= std::min(*budget.alive, obj->sprite->CountObjects());
            obj->character = character;
            obj->sprite = MakeSprite(*character, dictionary, budget, background);
        }
    } else {
        Remove(p.depth, budget);
        if (budget.alive) {
            if (*budget.alive >= PlayLimits::MaxObjects)
                return;
            ++*budget.alive;
        }
        obj = &FList[p.depth];
        obj->depth = p.depth;
        obj->character = character;
    }
    if (p.matrix)
        obj->matrix = *p.matrix;
    if (p.colorTransform)
        obj->colorTransform = *p.colorTransform;
    if (p.ratio)
        obj->ratio = *p.ratio;
    if (p.name)
        obj->name = *p.name;
    if (p.clipDepth)
        obj->clipDepth = *p.clipDepth;
    if (p.blendMode)
        obj->blendMode = *p.blendMode;
    if (p.hasFilters)
        obj->filters = p.filters;
    if (p.visible)
        obj->visible = *p.visible != 0;
    if (!modify)
        obj->sprite = MakeSprite(*character, dictionary, budget, background);
}

void SpriteInstance::RunFrame(int frame, Dictionary& dictionary, PlayBudget& budget, Rgba* background)
{
    if (frame < 1 || frame > TotalFrames())
        return;
    FFrame = frame;
    for (const ControlTag& tag : FTimeline->frames[frame - 1].tags) {
        if (--budget.tagsLeft < 0)
            return;
        std::visit(
            [&](const auto& t) {
                using T = std::decay_t<decltype(t)>;
                if constexpr (std::is_same_v<T, PlaceObject>) {
                    Place(t, dictionary, budget, background);
                } else if constexpr (std::is_same_v<T, RemoveObject>) {
                    Remove(t.depth, budget);
                } else if constexpr (std::is_same_v<T, DefineCharacter>) {
                    dictionary.emplace(t.character->id, t.character);
                } else if constexpr (std::is_same_v<T, FreeCharacter>) {
                    dictionary.erase(t.id);
                } else if constexpr (std::is_same_v<T, SetBackgroundColor>) {
                    if (background)
                        *background = t.color;
                }
            },
            tag);
    }
}

void SpriteInstance::StepChildren(Dictionary& dictionary, PlayBudget& budget, Rgba* background)
{
    for (auto& [depth, obj] : FList) {
        if (budget.tagsLeft < 0)
            return;
        if (obj.sprite)
            obj.sprite->Step(dictionary, budget, background);
    }
}

void SpriteInstance::Step(Dictionary& dictionary, PlayBudget& budget, Rgba* background)
{
    // Children placed in earlier frames move on first; ones placed now start at their frame 1.
    StepChildren(dictionary, budget, background);
    if (budget.tagsLeft < 0)
        return;
    int total = TotalFrames();
    if (FFrame >= total) {
        if (total <= 1 && FFrame >= 1)
            return; // a one-frame timeline stays as it is
        size_t gone = Reset();
        if (budget.alive)
            *budget.alive -= std::min(*budget.alive, gone);
    }
    RunFrame(FFrame + 1, dictionary, budget, background);
}

} // namespace swf
