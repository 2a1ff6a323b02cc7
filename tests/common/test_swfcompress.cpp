// Compression and decompression in place: round trips, refusals, and a movie that is never
// left half written.
#include "common/SWFFile.h"

#include "tests/support/Corpus.h"
#include "tests/support/SwfWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace swftest;

namespace {

TSWFHeader HeaderOf(const fs::path& p)
{
    TSWFHeader h{};
    ReadSWFHeader(p, h);
    return h;
}

TSWFHeader Claimed(const char* sig, uint8_t version)
{
    TSWFHeader h{};
    std::memcpy(h.Signature, sig, 3);
    h.Version = version;
    h.Compressed = std::strcmp(sig, "CWS") == 0;
    return h;
}

Bytes SampleMovie(uint8_t version)
{
    SwfWriter w(version);
    w.SetBackgroundColor(1, 2, 3);
    for (int i = 0; i < 50; ++i)
        w.Tag(77, Bytes(100, uint8_t(i))).ShowFrame();
    w.End();
    return w.Build();
}

size_t EntriesIn(const fs::path& dir)
{
    return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class SwfCompressTest : public testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST_F(SwfCompressTest, CompressThenDecompressGivesBackTheBytes)
{
    const Bytes original = SampleMovie(6);
    const fs::path m = dir / "m.swf";
    WriteFileBytes(m, original);

    ASSERT_TRUE(CompressSWF(m, HeaderOf(m)));
    Bytes packed = ReadFileBytes(m);
    EXPECT_EQ(packed[0], 'C');
    EXPECT_TRUE(std::equal(packed.begin() + 1, packed.begin() + 8, original.begin() + 1));
    EXPECT_EQ(ZlibInflate(Bytes(packed.begin() + 8, packed.end())),
              Bytes(original.begin() + 8, original.end()));
    // Level 9: no larger than zlib's own best compression of the body.
    EXPECT_LE(packed.size() - 8, ZlibDeflate(Bytes(original.begin() + 8, original.end()), 9).size());

    TSWFHeader h = HeaderOf(m);
    EXPECT_EQ(+h.Compressed, 1);
    ASSERT_TRUE(DecompressSWF(m, h));
    EXPECT_EQ(ReadFileBytes(m), original);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u) << "temporary file left behind";
}

TEST_F(SwfCompressTest, HeaderPassedDecidesWhetherToAct)
{
    const fs::path m = dir / "m.swf";
    struct Case { const char* what; Bytes file; TSWFHeader header; bool compress; };
    const Case cases[] = {
        {"version 5 is not compressed", SampleMovie(5), Claimed("FWS", 5), true},
        {"a header saying CWS is not compressed again", SampleMovie(6), Claimed("CWS", 6), true},
        {"a lower-case signature is not compressed", SampleMovie(6), Claimed("fws", 6), true},
        {"a plain header is not decompressed", SampleMovie(6), Claimed("FWS", 6), false},
        // The cached header is stale: the file is already compressed.
        {"a compressed file is not compressed twice", SwfWriter(6).End().Build(Packing::Zlib),
         Claimed("FWS", 6), true},
        {"a plain file is not inflated", SampleMovie(6), Claimed("CWS", 6), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(m, c.file);
        EXPECT_FALSE(c.compress ? CompressSWF(m, c.header) : DecompressSWF(m, c.header));
        EXPECT_EQ(ReadFileBytes(m), c.file);
    }
    EXPECT_FALSE(CompressSWF(dir / "missing.swf", Claimed("FWS", 6)));
    EXPECT_FALSE(DecompressSWF(dir / "missing.swf", Claimed("CWS", 6)));
}

TEST_F(SwfCompressTest, StoredLengthDecidesTheDecompressedSize)
{
    SwfWriter w(6);
    w.Tag(77, Bytes(2000, 0x55)).End();
    const Bytes body = [&] { Bytes p = w.Build(); return Bytes(p.begin() + 8, p.end()); }();
    const fs::path m = dir / "m.swf";

    auto make = [&](uint32_t stored) {
        Bytes f{'C', 'W', 'S', 6};
        PutU32(f, stored);
        PutBytes(f, ZlibDeflate(body));
        WriteFileBytes(m, f);
        return f;
    };
    // Shorter than the body: exactly the stored length is written.
    make(1000);
    ASSERT_TRUE(DecompressSWF(m, Claimed("CWS", 6)));
    EXPECT_EQ(fs::file_size(m), 1000u);

    // Below 8 or beyond what the body holds: refused, untouched.
    for (uint32_t stored : {0u, 7u, uint32_t(body.size() + 9), 0xFFFFFFFFu}) {
        SCOPED_TRACE(stored);
        Bytes before = make(stored);
        EXPECT_FALSE(DecompressSWF(m, Claimed("CWS", 6)));
        EXPECT_EQ(ReadFileBytes(m), before);
    }
    // Exactly 8: the header alone.
    make(8);
    EXPECT_TRUE(DecompressSWF(m, Claimed("CWS", 6)));
    EXPECT_EQ(fs::file_size(m), 8u);
}

TEST_F(SwfCompressTest, DamagedBodyRaisesErrorAndKeepsTheFile)
{
    Bytes f = SwfWriter(6).Tag(77, Bytes(5000, 1)).End().Build(Packing::Zlib);
    f[8] = 0;
    f[9] = 0;
    const fs::path m = dir / "m.swf";
    WriteFileBytes(m, f);
    try {
        DecompressSWF(m, Claimed("CWS", 6));
        ADD_FAILURE() << "no error";
    } catch (const EZlibError& e) {
        EXPECT_STREQ(e.what(), "Error");
    }
    EXPECT_EQ(ReadFileBytes(m), f);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST_F(SwfCompressTest, KeepsPermissionsAndReplacesTheLinkTarget)
{
    const fs::path m = dir / "m.swf";
    WriteFileBytes(m, SampleMovie(7));
    fs::permissions(m, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(m, dir / "link.swf");

    ASSERT_TRUE(CompressSWF(dir / "link.swf", Claimed("FWS", 7)));
    EXPECT_TRUE(fs::is_symlink(dir / "link.swf"));
    EXPECT_EQ(ReadFileBytes(m)[0], 'C');
    EXPECT_EQ(fs::status(m).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SwfCompressTest, UnwritableMovieOrFolderLeavesTheFileWhole)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: permissions are not enforced";
    const fs::path sub = dir / "sub";
    fs::create_directory(sub);
    const fs::path m = sub / "m.swf";
    const Bytes original = SampleMovie(6);
    WriteFileBytes(m, original);

    // A read-only movie stays as it is, though its folder would allow a rename.
    fs::permissions(m, fs::perms::owner_read);
    EXPECT_THROW(CompressSWF(m, Claimed("FWS", 6)), EFileError);
    EXPECT_EQ(ReadFileBytes(m), original);

    // The temporary file cannot be made: the movie is untouched, nothing is left over.
    fs::permissions(m, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(CompressSWF(m, Claimed("FWS", 6)), EFileError);
    fs::permissions(sub, fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(m), original);
    EXPECT_EQ(EntriesIn(sub), 1u);
}

TEST_F(SwfCompressTest, WriteFailurePartWayLeavesTheMovieWhole)
{
    // A file size limit makes the write fail part way, as a full disk would.
    SwfWriter w(6);
    Bytes noise(300000);
    uint32_t x = 7;
    for (auto& b : noise)
        b = uint8_t((x = x * 1664525 + 1013904223) >> 24);
    w.Tag(77, noise).End();
    const fs::path m = dir / "m.swf";
    const Bytes original = w.Build();
    WriteFileBytes(m, original);

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        CompressSWF(m, Claimed("FWS", 6));
    } catch (const EFileError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadFileBytes(m), original);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u) << "temporary file left behind";
}

TEST_F(SwfCompressTest, FileSizeKB)
{
    struct Case { size_t bytes; int kb; };
    for (Case c : {Case{0, 1}, Case{1, 1}, Case{1024, 1}, Case{1025, 2}, Case{4096, 4}}) {
        WriteFileBytes(dir / "f", Bytes(c.bytes, 0));
        EXPECT_EQ(FileSizeKB(dir / "f"), c.kb) << c.bytes << " bytes";
    }
    EXPECT_EQ(FileSizeKB(dir / "missing"), 0);
}

TEST(SwfCompressCorpus, RoundTripOfEveryPlainMovie)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    TempDir dir;
    int roundTrips = 0;
    for (const ManifestRow& row : ReadTsv(*corpus / "manifest.tsv")) {
        if (row["signature"] != "FWS" || row["path"].rfind("malformed/", 0) == 0)
            continue;
        SCOPED_TRACE(row["path"]);
        const fs::path m = CopyInto(*corpus / row["path"], dir.Path(), "m.swf");
        const Bytes original = ReadFileBytes(m);
        const TSWFHeader h = HeaderOf(m);
        if (std::stoi(row["version"]) < 6) {
            EXPECT_FALSE(CompressSWF(m, h));
            EXPECT_EQ(ReadFileBytes(m), original);
            continue;
        }
        ASSERT_TRUE(CompressSWF(m, h));
        const uint64_t stored = std::stoull(row["stored_length"]);
        if (stored == original.size()) {
            ASSERT_TRUE(DecompressSWF(m, HeaderOf(m)));
            EXPECT_EQ(ReadFileBytes(m), original);
            ++roundTrips;
        } else if (stored < original.size()) {
            // The stored length rules: the movie is cut to it.
            ASSERT_TRUE(DecompressSWF(m, HeaderOf(m)));
            EXPECT_EQ(fs::file_size(m), stored);
        } else {
            // The body cannot fill the length it claims: refused, the file stays compressed.
            const Bytes packed = ReadFileBytes(m);
            EXPECT_FALSE(DecompressSWF(m, HeaderOf(m)));
            EXPECT_EQ(ReadFileBytes(m), packed);
        }
    }
    EXPECT_GT(roundTrips, 40);
}

TEST(SwfCompressCorpus, MalformedFilesAreRefusedUntouchedOrConverted)
{
    auto corpus = CorpusDir();
    if (!corpus)
        GTEST_SKIP() << "corpus not found (MOVISCOPE_CORPUS_DIR)";
    TempDir dir;
    for (const auto& e : fs::directory_iterator(*corpus / "malformed")) {
        if (e.path().extension() != ".swf")
            continue;
        SCOPED_TRACE(e.path().filename().string());
        const fs::path m = CopyInto(e.path(), dir.Path(), "m.swf");
        const Bytes before = ReadFileBytes(m);
        TSWFHeader h{};
        try {
            ReadSWFHeader(m, h);
        } catch (const EZlibError&) {
            std::memcpy(h.Signature, before.data(), 3);
        }
        bool changed = false;
        try {
            changed = HasSignature(h, "CWS") ? DecompressSWF(m, h) : CompressSWF(m, h);
        } catch (const EZlibError& err) {
            EXPECT_STREQ(err.what(), "Error");
        }
        if (!changed) {
            EXPECT_EQ(ReadFileBytes(m), before);
        } else if (HasSignature(h, "CWS")) {
            EXPECT_EQ(fs::file_size(m), +HeaderOf(m).FileLength);
        }
        EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    }
    // The documented outcomes of the compressed ones.
    struct Case { const char* file; int outcome; };   // 1 true, 0 false, -1 error
    for (Case c : {Case{"cws_len_larger.swf", 0}, Case{"cws_len_smaller.swf", 1},
                   Case{"trunc_mid_cws.swf", 0}, Case{"cws_bad_zlib_header.swf", -1},
                   Case{"cws_bad_zlib_data.swf", -1}}) {
        SCOPED_TRACE(c.file);
        const fs::path m = CopyInto(*corpus / "malformed" / c.file, dir.Path(), "m.swf");
        if (c.outcome < 0)
            EXPECT_THROW(DecompressSWF(m, Claimed("CWS", 7)), EZlibError);
        else
            EXPECT_EQ(DecompressSWF(m, Claimed("CWS", 7)), c.outcome == 1);
    }
}
