// The playhead: placing, moving and removing by depth, sprites with their own timelines, seeking.
#include "engine/display/Player.h"
#include "tests/support/SwfRecords.h"

#include <gtest/gtest.h>

#include <functional>

using namespace swf;
using swftest::Bytes;
using swftest::SwfWriter;

namespace {

Bytes Tag(uint16_t code, const Bytes& body)
{
    Bytes out = swftest::TagHeader(code, body.size());
    swftest::PutBytes(out, body);
    return out;
}

Bytes SquareShape(uint16_t id)
{
    swftest::ShapeBuilder sb(1, 1, 0);
    sb.Rectangle(0, 0, 200, 200, -1, 1);
    return swftest::DefineShapeBody(id, 1, swftest::Rect(0, 200, 0, 200), {swftest::SolidFill(255, 0, 0, 255, 1)}, {},
                                    1, 0, sb.Finish());
}

Bytes Place(uint16_t depth, int id, int32_t tx = 0, bool move = false)
{
    swftest::Place2 p;
    p.depth = depth;
    p.characterId = id;
    p.move = move;
    p.matrix = swftest::TranslateMatrix(tx, 0);
    return Tag(26, swftest::PlaceObject2Body(p));
}

// Frame 1: square at depth 1; frame 2: moved to x=100; frame 3: second square at depth 5;
// frame 4: depth 1 removed.
std::shared_ptr<const MovieDefinition> FourFrames()
{
    SwfWriter w(6);
    w.FrameCount(4);
    w.Tag(2, SquareShape(1)).RawTagBytes(Place(1, 1)).ShowFrame();
    w.RawTagBytes(Place(1, -1, 100, true)).ShowFrame();
    w.RawTagBytes(Place(5, 1, 400)).ShowFrame();
    w.Tag(28, swftest::RemoveObject2Body(1)).ShowFrame().End();
    return DecodeMovie(w.Build());
}

std::vector<std::pair<int, int>> DepthsAndX(const Player& p)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& [depth, obj] : p.Root())
        out.emplace_back(depth, obj.matrix.tx);
    return out;
}

} // namespace

TEST(Player, PlaceMoveRemoveFrameByFrame)
{
    Player p(FourFrames());
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(p.CurrentFrame(), 1);
    EXPECT_EQ(DepthsAndX(p), (V{{1, 0}}));
    EXPECT_TRUE(p.Advance(false));
    EXPECT_EQ(DepthsAndX(p), (V{{1, 100}}));
    EXPECT_TRUE(p.Advance(false));
    EXPECT_EQ(DepthsAndX(p), (V{{1, 100}, {5, 400}}));
    EXPECT_TRUE(p.Advance(false));
    EXPECT_EQ(DepthsAndX(p), (V{{5, 400}}));
    EXPECT_EQ(p.CurrentFrame(), 4);
    EXPECT_FALSE(p.Advance(false)); // stays on the last frame without looping
    EXPECT_EQ(p.CurrentFrame(), 4);
    EXPECT_TRUE(p.Advance(true));   // loops back to frame 1, rebuilt
    EXPECT_EQ(p.CurrentFrame(), 1);
    EXPECT_EQ(DepthsAndX(p), (V{{1, 0}}));
}

TEST(Player, SeekingMatchesPlayingInBothDirections)
{
    auto movie = FourFrames();
    for (int target = 1; target <= 4; ++target) {
        Player played(movie);
        while (played.CurrentFrame() < target)
            played.Advance(false);
        Player forward(movie);
        forward.GotoFrame(target);
        Player backward(movie);
        backward.GotoFrame(4);
        backward.GotoFrame(target);
        EXPECT_EQ(DepthsAndX(forward), DepthsAndX(played)) << "frame " << target;
        EXPECT_EQ(DepthsAndX(backward), DepthsAndX(played)) << "frame " << target;
        EXPECT_EQ(backward.CurrentFrame(), target);
    }
    Player p(movie);
    p.GotoFrame(99);
    EXPECT_EQ(p.CurrentFrame(), 4);
    p.GotoFrame(-3);
    EXPECT_EQ(p.CurrentFrame(), 1);
}

TEST(Player, SpritesRunTheirOwnTimelines)
{
    // sprite 2: frame 1 square at x 0, frame 2 at x 20, frame 3 at x 40 (three frames, loops)
    Bytes inner = Place(1, 1, 0);
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    swftest::PutBytes(inner, Place(1, -1, 20, true));
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    swftest::PutBytes(inner, Place(1, -1, 40, true));
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    SwfWriter w(6);
    w.FrameCount(1);
    w.Tag(2, SquareShape(1)).Tag(39, swftest::DefineSpriteBody(2, 3, inner)).RawTagBytes(Place(1, 2)).ShowFrame().End();
    Player p(DecodeMovie(w.Build()));
    auto spriteX = [&] {
        const DisplayObject& obj = p.Root().at(1);
        EXPECT_NE(obj.sprite, nullptr);
        return obj.sprite ? obj.sprite->List().at(1).matrix.tx : -1;
    };
    EXPECT_EQ(spriteX(), 0);
    // the one-frame root stays, its sprite plays on and loops
    EXPECT_FALSE(p.Advance(true));
    EXPECT_EQ(spriteX(), 20);
    p.Advance(true);
    EXPECT_EQ(spriteX(), 40);
    p.Advance(true);
    EXPECT_EQ(spriteX(), 0);
}

TEST(Player, CharacterFreedAndDefinedAgainIsTheNewOne)
{
    // frame 1: bitmap-less shape id 1 (red) placed; frame 2: id 1 freed and defined again, placed again
    Bytes second = SquareShape(1); // same bytes; told apart by the character object
    SwfWriter w(6);
    w.FrameCount(2);
    w.Tag(2, SquareShape(1)).RawTagBytes(Place(1, 1)).ShowFrame();
    w.Tag(3, Bytes{1, 0}).Tag(2, second).RawTagBytes(Place(1, 1)).ShowFrame().End();
    auto movie = DecodeMovie(w.Build());
    Player p(movie);
    const Character* first = p.Root().at(1).character.get();
    p.Advance(false);
    const Character* again = p.Root().at(1).character.get();
    EXPECT_NE(first, again);
    EXPECT_EQ(p.FindCharacter(1), again);
    p.GotoFrame(1);
    EXPECT_EQ(p.Root().at(1).character.get(), first);
}

TEST(Player, BackgroundColourWhiteUnlessSet)
{
    SwfWriter plain(6);
    plain.ShowFrame().End();
    EXPECT_EQ(Player(DecodeMovie(plain.Build())).BackgroundColor(), 0xFFFFFFu);
    SwfWriter coloured(6);
    coloured.SetBackgroundColor(0x12, 0x34, 0x56).ShowFrame().End();
    EXPECT_EQ(Player(DecodeMovie(coloured.Build())).BackgroundColor(), 0x123456u);
}

TEST(Player, SelfPlacingSpriteIsCappedNotEndless)
{
    // sprite 2 places itself at two depths: a tree that would double every level
    Bytes inner = Place(1, 2);
    swftest::PutBytes(inner, Place(2, 2));
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    SwfWriter w(6);
    w.Tag(39, swftest::DefineSpriteBody(2, 1, inner));
    // defined before it is placed: the dictionary entry exists when the sprite's own tags run
    w.RawTagBytes(Place(1, 2)).ShowFrame().End();
    Player p(DecodeMovie(w.Build()));
    for (int i = 0; i < 3; ++i)
        p.Advance(true);
    size_t count = 0;
    std::function<void(const DisplayList&)> walk = [&](const DisplayList& list) {
        for (const auto& [d, obj] : list) {
            ++count;
            if (obj.sprite)
                walk(obj.sprite->List());
        }
    };
    walk(p.Root());
    EXPECT_LE(count, PlayLimits::MaxObjects + 1);
    EXPECT_GT(count, 10u);
}
