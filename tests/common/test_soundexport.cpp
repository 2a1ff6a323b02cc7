// Sound export: file names, extensions and numbering, and files that players can open.
#include "common/SWFFile.h"

#include "tests/support/Corpus.h"
#include "tests/support/SwfWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace fs = std::filesystem;
using namespace swftest;

namespace {

std::set<std::string> FilesIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// ffprobe's view of a file: "codec rate channels duration", or none.
struct Probe { std::string codec; int rate = 0; int channels = 0; double duration = 0; };

std::optional<Probe> ProbeAudio(const fs::path& file)
{
    auto out = RunCommand("ffprobe -v error -select_streams a:0 -show_entries "
                          "stream=codec_name,sample_rate,channels:format=duration -of "
                          "default=noprint_wrappers=1 " + ShellQuote(file.string()) + " 2>/dev/null");
    if (!out)
        return std::nullopt;
    Probe p;
    std::istringstream in(*out);
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string k = line.substr(0, eq), v = line.substr(eq + 1);
        if (k == "codec_name") p.codec = v;
        else if (k == "sample_rate") p.rate = std::atoi(v.c_str());
        else if (k == "channels") p.channels = std::atoi(v.c_str());
        else if (k == "duration") p.duration = std::atof(v.c_str());
    }
    return p;
}

Bytes Sine16(int frames, int channels, int rate)
{
    Bytes out;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            PutU16(out, uint16_t(int16_t(12000 * std::sin(2 * M_PI * 440 * i / rate))));
    return out;
}

class SoundExportTest : public testing::Test {
protected:
    TempDir dir;
    fs::path out() const { return dir / "out"; }
    fs::path Export(const SwfWriter& w, const std::string& name = "movie.swf")
    {
        w.WriteFile(dir / name);
        ExportSounds(dir / name, out());
        return out() / fs::path(name).stem();
    }
};

}  // namespace

TEST(FourDigitsTest, PadsAndWidens)
{
    EXPECT_EQ(FourDigits(0), "0000");
    EXPECT_EQ(FourDigits(7), "0007");
    EXPECT_EQ(FourDigits(123), "0123");
    EXPECT_EQ(FourDigits(9999), "9999");
    EXPECT_EQ(FourDigits(10000), "10000");
    EXPECT_EQ(FourDigits(65535), "65535");
}

TEST(SoundFolderForTest, FolderNamedAfterTheMovie)
{
    EXPECT_EQ(SoundFolderFor("/m/intro.swf", "/out/"), fs::path("/out/intro/"));
    EXPECT_EQ(SoundFolderFor("/m/Intro.SWF", "/out"), fs::path("/out/Intro/"));
    EXPECT_EQ(SoundFolderFor("/m/a.b.swf", "/out/"), fs::path("/out/a.b/"));
    // Four characters, not four bytes.
    EXPECT_EQ(SoundFolderFor("/m/filmé.swf", "/o/"), fs::path("/o/filmé/"));
    EXPECT_EQ(SoundFolderFor("/m/éééé", "/o/"), fs::path("/o/"));
}

TEST_F(SoundExportTest, MovieWithoutSoundsCreatesOnlyTheFolder)
{
    fs::path folder = Export(SwfWriter(6).ShowFrame().End(), "intro.swf");
    ASSERT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(folder.filename(), "intro");
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST_F(SoundExportTest, NamesAndExtensions)
{
    const Bytes mp3Event = {0x00, 0x00, 0xFF, 0xFB, 0x90, 0x00};   // seek value, then a frame start
    const Bytes mp3Frames = {0xFF, 0xFB, 0x90, 0x64, 1, 2, 3};
    struct Case { const char* what; SwfWriter movie; std::set<std::string> files; };
    std::vector<Case> cases;
    cases.push_back({"MP3 event sound", SwfWriter(6), {"SOUND_0003.MP3"}});
    cases.back().movie.DefineSound(3, kMp3, 3, true, true, 1152, mp3Event).End();
    cases.push_back({"ADPCM event sound", SwfWriter(6), {"SOUND_0003.WAV"}});
    cases.back().movie.DefineSound(3, kAdpcm, 1, true, false, 0, {0x40, 0, 0, 0}).End();
    cases.push_back({"two streams", SwfWriter(6), {"MUSIC_0000.MP3", "MUSIC_0001.MP3"}});
    cases.back().movie.SoundStreamHead(kMp3, 3, true, true, 1152).Mp3StreamBlock(1152, 0, mp3Frames)
        .ShowFrame().SoundStreamHead(kMp3, 3, true, true, 1152, false).Mp3StreamBlock(1152, 0, mp3Frames).End();
    cases.push_back({"a later ADPCM sound turns the stream's extension", SwfWriter(6),
                     {"MUSIC_0000.WAV", "SOUND_0009.WAV"}});
    cases.back().movie.SoundStreamHead(kMp3, 3, true, true, 1152).Mp3StreamBlock(1152, 0, mp3Frames)
        .DefineSound(9, kAdpcm, 1, true, false, 0, {0x40, 0, 0, 0}).End();
    cases.push_back({"a four-byte stream head is followed by the next tag", SwfWriter(6),
                     {"MUSIC_0000.WAV", "SOUND_0001.WAV"}});
    cases.back().movie.SoundStreamHead(kRawLittleEndian, 1, true, false, 2)
        .SoundStreamBlock(Sine16(2, 1, 11025)).DefineSound(1, kRawLittleEndian, 1, true, false, 2, Sine16(2, 1, 11025)).End();
    cases.push_back({"id above 9999 keeps its digits", SwfWriter(6), {"SOUND_12345.MP3", "SOUND_1234.MP3"}});
    cases.back().movie.DefineSound(12345, kMp3, 3, true, true, 1152, mp3Event)
        .DefineSound(1234, kMp3, 3, true, true, 1152, mp3Event).End();
    cases.push_back({"malformed sound tags are skipped", SwfWriter(6), {"SOUND_0002.MP3"}});
    cases.back().movie.Tag(kDefineSound, {0x01}).SoundStreamHead(kMp3, 3, true, true, 1152)
        .SoundStreamBlock({1, 2}).DefineSound(2, kMp3, 3, true, true, 1152, mp3Event).End();
    cases.push_back({"a tag running past the end ends the walk, the stream is kept", SwfWriter(6),
                     {"MUSIC_0000.MP3"}});
    cases.back().movie.SoundStreamHead(kMp3, 3, true, true, 1152).Mp3StreamBlock(1152, 0, mp3Frames)
        .RawTagBytes(TagHeader(36, 1 << 20, true)).RawTagBytes({1, 2, 3});

    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(out());
        fs::path folder = Export(c.movie);
        EXPECT_EQ(FilesIn(folder), c.files);
    }
    // MP3 files hold the bare frames: no sample count, no seek value.
    fs::remove_all(out());
    SwfWriter w(6);
    w.SoundStreamHead(kMp3, 3, true, true, 1152).Mp3StreamBlock(1152, 0, mp3Frames)
        .DefineSound(2, kMp3, 3, true, true, 1152, mp3Event).Mp3StreamBlock(1152, 5, mp3Frames).End();
    fs::path folder = Export(w);
    EXPECT_EQ(ReadFileBytes(folder / "SOUND_0002.MP3"), Bytes(mp3Event.begin() + 2, mp3Event.end()));
    Bytes twice = mp3Frames;
    PutBytes(twice, mp3Frames);
    EXPECT_EQ(ReadFileBytes(folder / "MUSIC_0000.MP3"), twice);
}

TEST_F(SoundExportTest, UncompressedSoundsBecomePlayableWaveFiles)
{
    if (!HaveProgram("ffprobe"))
        GTEST_SKIP() << "ffprobe not installed";
    struct Case { uint8_t format; int rateCode; bool is16; bool stereo; int frames; };
    const Case cases[] = {{kRawLittleEndian, 2, true, true, 22050}, {kRawNative, 1, true, false, 5512},
                          {kRawLittleEndian, 3, false, false, 44100}, {kRawNative, 0, false, true, 2756}};
    for (const Case& c : cases) {
        const int rate = SoundRateHz(c.rateCode);
        SCOPED_TRACE(std::to_string(c.format) + " at " + std::to_string(rate));
        Bytes data = Sine16(c.frames, c.stereo ? 2 : 1, rate);
        if (!c.is16) {
            Bytes eight;
            for (size_t i = 1; i < data.size(); i += 2)
                eight.push_back(uint8_t(int8_t(data[i]) + 128));
            data = eight;
        }
        SwfWriter w(6);
        w.DefineSound(1, c.format, c.rateCode, c.is16, c.stereo, uint32_t(c.frames), data).End();
        fs::remove_all(out());
        fs::path wav = Export(w) / "SOUND_0001.WAV";
        auto p = ProbeAudio(wav);
        ASSERT_TRUE(p) << "ffprobe cannot read " << wav;
        EXPECT_EQ(p->codec, "pcm_s16le");
        EXPECT_EQ(p->rate, rate);
        EXPECT_EQ(p->channels, c.stereo ? 2 : 1);
        EXPECT_NEAR(p->duration, double(c.frames) / rate, 0.01);
    }
}

TEST_F(SoundExportTest, AdpcmSoundDecodesLikeAReferenceDecoder)
{
    if (!HaveProgram("ffmpeg") || !HaveProgram("ffprobe"))
        GTEST_SKIP() << "ffmpeg not installed";
    // ffmpeg writes SWF ADPCM into FLV: one audio tag per packet, each a complete
    // ADPCMSOUNDDATA block, which is what a SoundStreamBlock holds.
    const fs::path flv = dir / "tone.flv";
    ASSERT_TRUE(RunCommand("ffmpeg -v error -y -f lavfi -i sine=frequency=440:sample_rate=22050 -t 1 "
                           "-ac 2 -c:a adpcm_swf " + ShellQuote(flv.string()) + " 2>&1"));
    const Bytes f = ReadFileBytes(flv);
    std::vector<Bytes> packets;
    size_t pos = 9 + 4;   // FLV header, first previous-tag size
    while (pos + 11 <= f.size()) {
        size_t size = size_t(f[pos + 1]) << 16 | size_t(f[pos + 2]) << 8 | f[pos + 3];
        if (f[pos] == 8 && size > 1 && pos + 11 + size <= f.size())
            packets.emplace_back(f.begin() + pos + 12, f.begin() + pos + 11 + size);   // after the flags byte
        pos += 11 + size + 4;
    }
    ASSERT_GT(packets.size(), 2u);

    SwfWriter w(6);
    w.DefineSound(1, kAdpcm, 2, true, true, 4096, packets[0]);
    w.SoundStreamHead(kAdpcm, 2, true, true, 0);
    for (const Bytes& p : packets)
        w.SoundStreamBlock(p);
    w.End();
    fs::path folder = Export(w);

    auto stream = ProbeAudio(folder / "MUSIC_0000.WAV");
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->codec, "pcm_s16le");
    EXPECT_EQ(stream->rate, 22050);
    EXPECT_EQ(stream->channels, 2);
    EXPECT_NEAR(stream->duration, 1.0, 4096.0 / 22050);

    // Sample for sample against ffmpeg's own decoding of the same packets.
    const fs::path ref = dir / "ref.raw";
    ASSERT_TRUE(RunCommand("ffmpeg -v error -y -i " + ShellQuote(flv.string()) +
                           " -f s16le -acodec pcm_s16le " + ShellQuote(ref.string()) + " 2>&1"));
    const Bytes expected = ReadFileBytes(ref);
    const Bytes wav = ReadFileBytes(folder / "MUSIC_0000.WAV");
    ASSERT_GT(wav.size(), 44u);
    const Bytes got(wav.begin() + 44, wav.end());
    const size_t n = std::min(got.size(), expected.size());
    ASSERT_GT(n, 80000u);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + n, expected.begin()))
        << "decoded samples differ from the reference";

    auto event = ProbeAudio(folder / "SOUND_0001.WAV");
    ASSERT_TRUE(event);
    EXPECT_EQ(event->channels, 2);
    EXPECT_NEAR(event->duration, 4096.0 / 22050, 0.001);
    const Bytes ev = ReadFileBytes(folder / "SOUND_0001.WAV");
    EXPECT_TRUE(std::equal(ev.begin() + 44, ev.end(), expected.begin()));
}

TEST(SoundExportCorpus, Mp3StreamOfTheFfmpegMovie)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    if (!HaveProgram("ffprobe"))
        GTEST_SKIP() << "ffprobe not installed";
    TempDir dir;
    for (const char* name : {"testsrc_flv_mp3.swf", "sine_mp3_audio_only.swf", "testsrc_flv_mp3_22050_mono.swf"}) {
        SCOPED_TRACE(name);
        ExportSounds(*corpus / "ffmpeg" / name, dir.Path());
        const fs::path folder = dir.Path() / fs::path(name).stem();
        EXPECT_EQ(FilesIn(folder), std::set<std::string>{"MUSIC_0000.MP3"});
        auto p = ProbeAudio(folder / "MUSIC_0000.MP3");
        ASSERT_TRUE(p);
        EXPECT_EQ(p->codec, "mp3");
        EXPECT_NEAR(p->duration, 2.0, 0.1);
    }
}

TEST(SoundExportCorpus, EveryMovieGivesADefinedResult)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    TempDir dir;
    int exported = 0;
    for (const ManifestRow& row : ReadTsv(*corpus / "manifest.tsv")) {
        SCOPED_TRACE(row["path"]);
        const fs::path movie = *corpus / row["path"];
        const fs::path target = dir.Path() / std::to_string(exported++);
        EXPECT_NO_THROW(ExportSounds(movie, target));
        EXPECT_TRUE(fs::is_directory(SoundFolderFor(movie, target)));
        if (row["signature"] == "FWS" && row["n_definesound"] != "0" && !row["n_definesound"].empty()) {
            EXPECT_FALSE(FilesIn(SoundFolderFor(movie, target)).empty());
        }
    }
}
