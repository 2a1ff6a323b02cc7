// Movie decoding: the three packings, frame counts, kept tags, damaged files; every corpus movie
// decoded, played and drawn without a crash.
#include "engine/display/Player.h"
#include "engine/render/Renderer.h"
#include "engine/swf/Bitmap.h"
#include "engine/swf/Movie.h"
#include "tests/support/SwfRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace swf;
using swftest::Bytes;
using swftest::Packing;
using swftest::SwfWriter;

namespace {

SwfWriter SmallMovie()
{
    SwfWriter w(8);
    w.Stage(0, 4000, 0, 2000).FrameRate(24, 128).FrameCount(2);
    w.SetBackgroundColor(1, 2, 3);
    w.ShowFrame();
    w.Tag(200, Bytes{9, 8, 7}); // unknown
    w.ShowFrame();
    w.End();
    return w;
}

} // namespace

TEST(Movie, SameMovieInEveryPacking)
{
    for (Packing packing : {Packing::Plain, Packing::Zlib, Packing::Lzma}) {
        auto movie = DecodeMovie(SmallMovie().Build(packing));
        SCOPED_TRACE(static_cast<int>(packing));
        EXPECT_EQ(movie->version, 8);
        EXPECT_EQ(movie->stage, (Rect{0, 4000, 0, 2000}));
        EXPECT_DOUBLE_EQ(movie->frameRate, 24.5);
        EXPECT_EQ(movie->headerFrameCount, 2);
        EXPECT_EQ(movie->frameCount, 2);
        ASSERT_TRUE(movie->backgroundColor.has_value());
        EXPECT_EQ(*movie->backgroundColor, (Rgba{1, 2, 3, 255}));
        EXPECT_TRUE(movie->warnings.empty()) << movie->warnings.front();
        const auto& tags = movie->timeline.frames[1].tags;
        ASSERT_EQ(tags.size(), 1u);
        const auto* unknown = std::get_if<UnknownTag>(&tags[0]);
        ASSERT_NE(unknown, nullptr);
        EXPECT_EQ(unknown->code, 200);
        EXPECT_EQ(unknown->data, (Bytes{9, 8, 7}));
    }
}

TEST(Movie, FrameCountComesFromTheTagsPresent)
{
    struct Case { uint16_t header; int showFrames; int expected; };
    for (const Case& c : {Case{0, 20, 20}, Case{6000, 78, 78}, Case{2, 1, 1}, Case{1, 3, 3}, Case{5, 0, 1}}) {
        SwfWriter w(6);
        w.FrameCount(c.header);
        for (int i = 0; i < c.showFrames; ++i)
            w.ShowFrame();
        w.End();
        auto movie = DecodeMovie(w.Build());
        EXPECT_EQ(movie->frameCount, c.expected) << "header " << c.header << ", " << c.showFrames << " ShowFrames";
        EXPECT_EQ(Player(movie).TotalFrames(), c.expected);
    }
}

TEST(Movie, UndecodableFilesThrowWithAReason)
{
    const Bytes good = SmallMovie().Build(Packing::Zlib);
    Bytes badZlib = good;
    badZlib[8] = badZlib[9] = 0;
    Bytes lowercase = SmallMovie().Build();
    lowercase[0] = 'f';
    struct Case { const char* what; Bytes bytes; const char* text; };
    for (const Case& c : {Case{"empty", {}, "shorter than a movie header"},
                          Case{"7 bytes", Bytes(good.begin(), good.begin() + 7), "shorter than a movie header"},
                          Case{"header only", Bytes{'F', 'W', 'S', 6, 8, 0, 0, 0}, "header is cut off"},
                          Case{"bad zlib", badZlib, "compressed body"},
                          Case{"signature", lowercase, "FWS, CWS or ZWS"}}) {
        try {
            DecodeMovie(c.bytes);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DecodeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

TEST(Movie, DamageInsideTheTagListIsNotedNotThrown)
{
    // a shape tag whose body is garbage, then a tag whose length runs past the end
    SwfWriter w(6);
    w.Tag(2, Bytes{1, 0, 0xFF});
    w.ShowFrame();
    w.RawTagBytes(swftest::TagHeader(20, 1 << 20, true));
    auto movie = DecodeMovie(w.Build());
    EXPECT_EQ(movie->frameCount, 1);
    ASSERT_GE(movie->warnings.size(), 2u);
    EXPECT_NE(movie->warnings[0].find("DefineShape"), std::string::npos) << movie->warnings[0];
    EXPECT_NE(movie->warnings[1].find("runs past the end"), std::string::npos) << movie->warnings[1];
    EXPECT_EQ(movie->FindCharacter(1), nullptr);
}

TEST(Movie, DefinitionsSpritesAndBitmapsReachTheDictionary)
{
    swftest::ShapeBuilder sb(1, 1, 0);
    sb.Rectangle(0, 0, 200, 200, -1, 1);
    Bytes shape = swftest::DefineShapeBody(1, 1, swftest::Rect(0, 200, 0, 200), {swftest::SolidFill(255, 0, 0, 255, 1)},
                                           {}, 1, 0, sb.Finish());
    swftest::Place2 place;
    place.characterId = 1;
    Bytes inner;
    Bytes body = swftest::PlaceObject2Body(place);
    swftest::PutBytes(inner, swftest::TagHeader(26, body.size()));
    swftest::PutBytes(inner, body);
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    swftest::PutBytes(inner, swftest::TagHeader(1, 0));
    Bytes jpegTables{0xFF, 0xD8, 0xFF, 0xD9};
    SwfWriter w(6);
    w.Tag(2, shape).Tag(39, swftest::DefineSpriteBody(2, 2, inner)).Tag(8, jpegTables);
    w.Tag(6, Bytes{3, 0, 0xFF, 0xD8, 0xFF, 0xD9}); // DefineBits id 3
    w.ShowFrame().End();
    auto movie = DecodeMovie(w.Build());
    ASSERT_NE(movie->FindCharacter(1), nullptr);
    EXPECT_EQ(movie->FindCharacter(1)->kind, Character::Kind::Shape);
    const auto* sprite = dynamic_cast<const SpriteCharacter*>(movie->FindCharacter(2));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->timeline.frames.size(), 2u);
    EXPECT_EQ(movie->jpegTables, jpegTables);
    const auto* bitmap = dynamic_cast<const BitmapDefinition*>(movie->FindCharacter(3));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->body, (Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
    ASSERT_NE(bitmap->bitmap, nullptr) << bitmap->error;
    EXPECT_EQ(bitmap->bitmap->id, 3);
}

TEST(Movie, SpritesNestedTooDeeplyStopDecodingNotTheProgram)
{
    // a sprite inside a sprite, 40 levels deep
    Bytes tags;
    for (int level = 0; level < 40; ++level) {
        Bytes body = swftest::DefineSpriteBody(static_cast<uint16_t>(100 + level), 1, tags);
        tags = swftest::TagHeader(39, body.size(), true);
        swftest::PutBytes(tags, body);
    }
    SwfWriter w(6);
    w.RawTagBytes(tags).ShowFrame().End();
    auto movie = DecodeMovie(w.Build());
    EXPECT_FALSE(movie->warnings.empty());
}

TEST(Corpus, EveryMovieDecodesPlaysAndDrawsWithoutCrashing)
{
    const std::filesystem::path corpus = MOVISCOPE_CORPUS_DIR;
    if (!std::filesystem::exists(corpus / "manifest.tsv"))
        GTEST_SKIP() << "corpus not found at " << corpus;
    int decoded = 0, refused = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.path().extension() != ".swf")
            continue;
        SCOPED_TRACE(entry.path().string());
        std::shared_ptr<const MovieDefinition> movie;
        try {
            movie = LoadMovie(entry.path());
        } catch (const DecodeError& e) {
            EXPECT_GT(std::strlen(e.what()), 10u);
            ++refused;
            continue;
        }
        ++decoded;
        Player player(movie);
        for (int i = 0; i < 30; ++i) {
            player.Advance(true);
            QImage image = RenderFrameImage(player, QSize(80, 80));
            ASSERT_EQ(image.size(), QSize(80, 80));
        }
        player.GotoFrame(1);
        EXPECT_EQ(player.CurrentFrame(), 1);
    }
    // the malformed set holds eight files no reader can take (empty, cut headers, bad zlib, bad signature)
    EXPECT_GT(decoded, 140);
    EXPECT_LE(refused, 8);
}
