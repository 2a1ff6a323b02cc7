// The header reader against hand-made movies, the corpus manifest and the malformed files.
#include "common/SWFFile.h"

#include "tests/support/Corpus.h"
#include "tests/support/SwfWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace fs = std::filesystem;
using namespace swftest;

namespace {

std::string Sig(const TSWFHeader& h) { return std::string(h.Signature, 3); }

TSWFHeader Read(const fs::path& path, bool* result = nullptr)
{
    TSWFHeader h{};
    bool ok = ReadSWFHeader(path, h);
    if (result)
        *result = ok;
    return h;
}

bool AllZeroFrom(const TSWFHeader& h, size_t offset)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&h);
    for (size_t i = offset; i < sizeof h; ++i)
        if (p[i])
            return false;
    return true;
}

class SwfHeaderTest : public testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST(GetBitsTest, ReadsMostSignificantBitFirst)
{
    const uint8_t bytes[] = {0xA5, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(GetBits(bytes, 4, 8), 0x50u);
    EXPECT_EQ(GetBits(bytes, 0, 3), 0x5u);    // 101
    EXPECT_EQ(GetBits(bytes, 0, 0), 0u);
    EXPECT_EQ(GetBits(bytes, 12, 32), 0xFFFFFFFFu);
    EXPECT_EQ(GetBits(bytes, 8, 16), 0x0FFFu);
}

TEST_F(SwfHeaderTest, PlainAndCompressedMovieGiveTheSameFields)
{
    SwfWriter w(6);
    w.Stage(0, 11000, 0, 8000, 15).FrameRate(24, 128).FrameCount(120).ShowFrame().End();
    w.WriteFile(dir / "plain.swf");
    w.WriteFile(dir / "packed.swf", Packing::Zlib);

    // With NBits 15 the rate bytes are file bytes 17, 18 and the count bytes 19, 20.
    Bytes raw = ReadFileBytes(dir / "plain.swf");
    ASSERT_EQ(raw[17], 128);
    ASSERT_EQ(raw[18], 24);
    ASSERT_EQ(raw[19], 120);

    for (const char* name : {"plain.swf", "packed.swf"}) {
        SCOPED_TRACE(name);
        bool ok = false;
        TSWFHeader h = Read(dir / name, &ok);
        const bool packed = std::string(name) == "packed.swf";
        EXPECT_TRUE(ok);
        EXPECT_EQ(Sig(h), packed ? "CWS" : "FWS");
        EXPECT_EQ(+h.Compressed, packed ? 1 : 0);
        EXPECT_EQ(+h.Version, 6);
        EXPECT_EQ(+h.FileLength, raw.size());
        EXPECT_EQ(+h.XMin, 0);
        EXPECT_EQ(+h.XMax, 11000);
        EXPECT_EQ(+h.YMin, 0);
        EXPECT_EQ(+h.YMax, 8000);
        EXPECT_EQ(+h.FrameRateInt, 24);
        EXPECT_EQ(+h.FrameRateFrac, 128);
        EXPECT_EQ(+h.FrameCount, 120u);
        EXPECT_EQ(HeaderVersionText(h), "VER:6");
        EXPECT_EQ(HeaderCompressionText(h), packed ? "C:Yes" : "C:No");
        EXPECT_EQ(HeaderSizeText(h), "  Width:550  Height:400   Frames:120");
    }
}

TEST_F(SwfHeaderTest, RectEdgeCases)
{
    struct Case { const char* what; int32_t xmin, xmax, ymin, ymax; int nbits; };
    const Case cases[] = {
        {"NBits 0", 0, 0, 0, 0, 0},
        {"negative XMin with NBits 8", -20, 100, -1, 127, 8},
        {"most negative values", -16384, 16383, -16384, 0, 15},
        {"NBits 31", -1073741824, 1073741823, 0, 8000, 31},
        {"NBits 1", -1, 0, -1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SwfWriter w(8);
        w.Stage(c.xmin, c.xmax, c.ymin, c.ymax, c.nbits).FrameRate(30, 7).FrameCount(65535).End();
        // Pad past the 22-byte minimum so that NBits 0 files are still long enough.
        w.RawTagBytes(Bytes(16, 0));
        w.WriteFile(dir / "m.swf");
        bool ok = false;
        TSWFHeader h = Read(dir / "m.swf", &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(+h.XMin, c.xmin);
        EXPECT_EQ(+h.XMax, c.xmax);
        EXPECT_EQ(+h.YMin, c.ymin);
        EXPECT_EQ(+h.YMax, c.ymax);
        EXPECT_EQ(+h.FrameRateInt, 30);
        EXPECT_EQ(+h.FrameRateFrac, 7);
        EXPECT_EQ(+h.FrameCount, 65535u);
    }
    // XMin -20 in 8 bits is the byte value 0xEC.
    Bytes rect = Rect(-20, 100, -1, 127, 8);
    EXPECT_EQ(GetBits(rect.data(), 5, 8), 0xECu);
}

TEST_F(SwfHeaderTest, NBitsZeroReadsRateAndCountFromTheNextBytes)
{
    SwfWriter w(6);
    w.RawRect({0x00}).FrameRate(12, 34).FrameCount(0x0201);
    w.RawTagBytes(Bytes(20, 0xEE));
    w.WriteFile(dir / "m.swf");
    TSWFHeader h = Read(dir / "m.swf");
    EXPECT_EQ(+h.XMax, 0);
    EXPECT_EQ(+h.FrameRateFrac, 34);
    EXPECT_EQ(+h.FrameRateInt, 12);
    EXPECT_EQ(+h.FrameCount, 0x0201u);
}

TEST_F(SwfHeaderTest, ShortAndForeignFiles)
{
    SwfWriter w(7);
    w.Stage(0, 12800, 0, 8000, 15).FrameRate(12).FrameCount(2).End();
    Bytes full = w.Build();
    full.resize(40, 0);

    // 22 bytes: false, only FileLength set.
    WriteFileBytes(dir / "22.swf", Bytes(full.begin(), full.begin() + 22));
    bool ok = true;
    TSWFHeader h = Read(dir / "22.swf", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(+h.FileLength, uint32_t(full[4] | full[5] << 8));
    EXPECT_EQ(Sig(h), std::string(3, '\0'));
    EXPECT_EQ(+h.Version, 0);
    EXPECT_EQ(+h.XMax, 0);
    EXPECT_EQ(+h.FrameCount, 0u);

    // 23 bytes with "FWS": true, the missing bytes count as zero.
    Bytes b23(full.begin(), full.begin() + 23);
    WriteFileBytes(dir / "23.swf", b23);
    h = Read(dir / "23.swf", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(+h.XMax, 12800);
    EXPECT_EQ(+h.FrameCount, 2u);

    // Lower-case signature: not recognised.
    Bytes lower = full;
    std::memcpy(lower.data(), "fws", 3);
    WriteFileBytes(dir / "lower.swf", lower);
    h = Read(dir / "lower.swf", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Sig(h), "fws");
    EXPECT_EQ(+h.Version, 7);
    EXPECT_EQ(+h.Compressed, 0);
    EXPECT_EQ(+h.XMax, 0);
    EXPECT_EQ(+h.FrameCount, 0u);

    // Shorter than the 8-byte header: FileLength stays zero.
    WriteFileBytes(dir / "5.swf", Bytes(full.begin(), full.begin() + 5));
    h = Read(dir / "5.swf", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(AllZeroFrom(h, 0));
}

TEST_F(SwfHeaderTest, MissingFileLeavesTheRecordAlone)
{
    TSWFHeader h{};
    h.Version = 99;
    EXPECT_FALSE(ReadSWFHeader(dir / "nothing.swf", h));
    EXPECT_EQ(+h.Version, 99);
}

TEST_F(SwfHeaderTest, DirectoryRaisesFileError)
{
    fs::create_directory(dir / "folder.swf");
    TSWFHeader h{};
    EXPECT_THROW(ReadSWFHeader(dir / "folder.swf", h), EFileError);
}

TEST_F(SwfHeaderTest, DamagedZlibBodyRaisesError)
{
    SwfWriter w(7);
    w.End();
    Bytes b = w.Build(Packing::Zlib);
    b.resize(40, 0);
    b[8] = 0;
    b[9] = 0;
    WriteFileBytes(dir / "bad.swf", b);
    TSWFHeader h{};
    try {
        ReadSWFHeader(dir / "bad.swf", h);
        ADD_FAILURE() << "no error raised";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Error");
    }
}

TEST_F(SwfHeaderTest, CompressedHeaderNeedsOnlyTheFirstBytes)
{
    // A large compressed movie whose body is cut after 4 KB still gives the full header.
    SwfWriter w(8);
    w.Stage(-200, 11019, 0, 8000).FrameRate(25).FrameCount(77);
    Bytes noise(400000);
    uint32_t x = 12345;
    for (auto& b : noise)
        b = uint8_t((x = x * 1103515245 + 12345) >> 24);
    w.Tag(99, noise).End();
    Bytes packed = w.Build(Packing::Zlib);
    ASSERT_GT(packed.size(), 100000u);
    packed.resize(4096);
    WriteFileBytes(dir / "cut.swf", packed);
    bool ok = false;
    TSWFHeader h = Read(dir / "cut.swf", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(+h.XMin, -200);
    EXPECT_EQ(+h.XMax, 11019);
    EXPECT_EQ(+h.FrameCount, 77u);
    // 11019 twips are 550 pixels: truncated, not rounded.
    EXPECT_EQ(MovieWidth(h), 550);
    EXPECT_EQ(MovieHeight(h), 400);
}

TEST(SwfHeaderCorpus, EveryMovieMatchesTheManifest)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    int checked = 0;
    for (const ManifestRow& row : ReadTsv(*corpus / "manifest.tsv")) {
        if (row["path"].rfind("malformed/", 0) == 0)
            continue;
        SCOPED_TRACE(row["path"]);
        bool ok = false;
        TSWFHeader h = Read(*corpus / row["path"], &ok);
        const std::string sig = row["signature"];
        EXPECT_EQ(Sig(h), sig);
        EXPECT_EQ(+h.Version, std::stoi(row["version"]));
        EXPECT_EQ(+h.FileLength, std::stoul(row["stored_length"]));
        if (sig != "FWS" && sig != "CWS") {
            // The reader knows only these two; the rest of the record stays zero.
            EXPECT_FALSE(ok);
            EXPECT_EQ(+h.XMax, 0);
            continue;
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(+h.Compressed, sig == "CWS" ? 1 : 0);
        EXPECT_EQ(+h.XMin, std::stoi(row["xmin"]));
        EXPECT_EQ(+h.XMax, std::stoi(row["xmax"]));
        EXPECT_EQ(+h.YMin, std::stoi(row["ymin"]));
        EXPECT_EQ(+h.YMax, std::stoi(row["ymax"]));
        EXPECT_DOUBLE_EQ(h.FrameRateInt + h.FrameRateFrac / 256.0, std::stod(row["frame_rate"]));
        EXPECT_EQ(+h.FrameCount, std::stoul(row["frame_count"]));
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(SwfHeaderCorpus, MalformedFilesGiveTheirDocumentedResult)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    const fs::path m = *corpus / "malformed";
    // Outcome per file: 1 true, 0 false, 'E' the decompressor's error.
    struct Case { const char* file; char outcome; bool stage; };
    const Case cases[] = {
        {"trunc_0.swf", 0, false},          {"trunc_7.swf", 0, false},
        {"trunc_8.swf", 0, false},          {"trunc_22.swf", 0, false},
        {"trunc_23.swf", 1, true},          {"trunc_mid.swf", 1, true},
        {"trunc_mid_cws.swf", 1, true},     {"cws_bad_zlib_header.swf", 'E', false},
        {"cws_bad_zlib_data.swf", 1, true}, {"cws_len_larger.swf", 1, true},
        {"cws_len_smaller.swf", 1, true},   {"tag_len_past_end.swf", 1, true},
        {"definesound_short.swf", 1, true}, {"streamblock_short.swf", 1, true},
        {"rect_nbits31.swf", 1, true},      {"rect_nbits0.swf", 1, false},
        {"rate_fractional.swf", 1, false},  {"sig_lowercase_fws.swf", 0, false},
        {"zws_lzma.swf", 0, false},
    };
    std::map<std::string, ManifestRow> manifest;
    for (const ManifestRow& row : ReadTsv(*corpus / "manifest.tsv"))
        manifest[row["path"]] = row;
    int listed = 0;
    for (const ManifestRow& row : ReadTsv(m / "expect.tsv"))
        listed += row["file"].empty() ? 0 : 1;
    EXPECT_EQ(listed, int(std::size(cases))) << "expect.tsv lists files this table lacks";

    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const ManifestRow& row = manifest[std::string("malformed/") + c.file];
        TSWFHeader h{};
        if (c.outcome == 'E') {
            EXPECT_THROW(ReadSWFHeader(m / c.file, h), EZlibError);
            continue;
        }
        bool ok = ReadSWFHeader(m / c.file, h);
        EXPECT_EQ(ok, c.outcome == 1);
        const std::string stored = row["stored_length"];
        EXPECT_EQ(+h.FileLength, stored.empty() ? 0u : std::stoul(stored));
        if (c.stage) {
            EXPECT_EQ(+h.XMax, 12800);
            EXPECT_EQ(+h.YMax, 8000);
            EXPECT_EQ(+h.FrameRateInt, 12);
            EXPECT_EQ(+h.FrameCount, 2u);
        }
        if (!ok) {
            EXPECT_EQ(+h.XMax, 0);
        }
    }
    TSWFHeader h{};
    ReadSWFHeader(m / "rect_nbits0.swf", h);
    EXPECT_EQ(+h.XMax, 0);
    EXPECT_EQ(+h.FrameCount, 2u);
    ReadSWFHeader(m / "rate_fractional.swf", h);
    EXPECT_EQ(+h.FrameRateInt, 29);
    EXPECT_EQ(+h.FrameRateFrac, 248);
}
