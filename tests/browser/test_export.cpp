// The export chain: a compressed movie is decompressed, exported and compressed again on
// worker threads; errors leave the movie as it was, restore the cursor and are reported.
#include "browser/CompressTrd.h"
#include "browser/DeCompressTrd.h"
#include "browser/ExportFrm.h"
#include "platform/vcl/ErrorReport.h"

#include "tests/support/SwfWriter.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;
using namespace swftest;

namespace {

bool SpinUntil(const std::function<bool()>& cond)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // deleteLater outside a running loop (the plain movie's synchronous path) waits for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return cond();
}

QString Q(const fs::path& p) { return QFile::decodeName(p.c_str()); }

TSWFHeader HeaderOf(const fs::path& p)
{
    TSWFHeader h{};
    ReadSWFHeader(p, h);
    return h;
}

SwfWriter SoundMovie(uint8_t version)
{
    SwfWriter w(version);
    const Bytes frames = {0xFF, 0xFB, 0x90, 0x64, 9, 8, 7, 6};
    w.SoundStreamHead(kMp3, 3, true, true, 1152);
    for (int i = 0; i < 20; ++i)
        w.Mp3StreamBlock(1152, 0, frames).ShowFrame();
    w.DefineSound(4, kMp3, 3, true, true, 1152, {0, 0, 0xFF, 0xFB, 0x90, 0x64});
    w.End();
    return w;
}

class ExportChainTest : public testing::Test {
protected:
    void SetUp() override
    {
        FOldSink = SetErrorSink([this](const QString& text) { Errors << text; });
    }
    void TearDown() override { SetErrorSink(FOldSink); }

    // Runs one export to its end; false when the coordinator did not close.
    bool RunExport(const fs::path& movie, const TSWFHeader& header)
    {
        QPointer<TExportForm> form = new TExportForm(nullptr, header, Q(movie), Q(dir / "out/"));
        bool closed = false;
        QObject::connect(form, &TExportForm::Closed, [&] { closed = true; });
        form->StartExport();
        if (!closed) {
            EXPECT_NE(QApplication::overrideCursor(), nullptr) << "no hourglass during the export";
        }
        const bool ok = SpinUntil([&] { return closed && form.isNull(); });
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "cursor not restored";
        return ok;
    }

    fs::path SoundFolder() const { return dir / "out" / "m"; }

    TempDir dir;
    QStringList Errors;

private:
    TErrorSink FOldSink;
};

}  // namespace

TEST_F(ExportChainTest, CompressedMovieIsDecompressedExportedAndCompressedAgain)
{
    const fs::path m = dir / "m.swf";
    SoundMovie(8).WriteFile(m, Packing::Zlib);
    const Bytes original = ReadFileBytes(m);

    ASSERT_TRUE(RunExport(m, HeaderOf(m)));
    // Sound files exist only if the walk saw the plain movie.
    EXPECT_TRUE(fs::exists(SoundFolder() / "MUSIC_0000.MP3"));
    EXPECT_TRUE(fs::exists(SoundFolder() / "SOUND_0004.MP3"));
    EXPECT_EQ(ReadFileBytes(m), original);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("; ").toStdString();
}

TEST_F(ExportChainTest, PlainMovieIsExportedAtOnceAndLeftAlone)
{
    const fs::path m = dir / "m.swf";
    SoundMovie(6).WriteFile(m);
    const Bytes original = ReadFileBytes(m);
    ASSERT_TRUE(RunExport(m, HeaderOf(m)));
    EXPECT_TRUE(fs::exists(SoundFolder() / "MUSIC_0000.MP3"));
    EXPECT_EQ(ReadFileBytes(m), original);
    EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(ExportChainTest, CompressedVersionFiveMovieStaysPlain)
{
    const fs::path m = dir / "m.swf";
    SoundMovie(5).WriteFile(m, Packing::Zlib);
    ASSERT_TRUE(RunExport(m, HeaderOf(m)));
    EXPECT_TRUE(fs::exists(SoundFolder() / "MUSIC_0000.MP3"));
    EXPECT_EQ(ReadFileBytes(m), SoundMovie(5).Build());
    EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(ExportChainTest, FailedDecompressionStopsTheChain)
{
    struct Case { const char* what; Bytes file; };
    Bytes damaged = SoundMovie(8).Build(Packing::Zlib);
    damaged[8] = 0;
    damaged[9] = 0;
    Bytes shortBody = SoundMovie(8).StoredLength(100000).Build(Packing::Zlib);
    const Case cases[] = {{"damaged zlib body", damaged},
                          {"body shorter than its stored length", shortBody},
                          {"the file is plain after all", SoundMovie(8).Build()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Errors.clear();
        fs::remove_all(dir / "out");
        const fs::path m = dir / "m.swf";
        WriteFileBytes(m, c.file);
        TSWFHeader h{};
        std::memcpy(h.Signature, "CWS", 3);
        h.Version = 8;
        h.Compressed = 1;
        ASSERT_TRUE(RunExport(m, h));
        // Never compressed a second time, never walked.
        EXPECT_EQ(ReadFileBytes(m), c.file);
        EXPECT_FALSE(fs::exists(SoundFolder() / "MUSIC_0000.MP3"));
        EXPECT_EQ(Errors.size(), 1);
    }
}

TEST_F(ExportChainTest, ErrorInTheWalkStillCompressesTheMovieAgain)
{
    const fs::path m = dir / "m.swf";
    SoundMovie(8).WriteFile(m, Packing::Zlib);
    const Bytes original = ReadFileBytes(m);
    // The sound folder cannot be made: a file has its name.
    fs::create_directories(dir / "out");
    WriteFileBytes(SoundFolder(), {1});

    ASSERT_TRUE(RunExport(m, HeaderOf(m)));
    EXPECT_EQ(ReadFileBytes(m), original);
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors[0].contains("Cannot create folder")) << Errors[0].toStdString();
}

TEST(CompressThreadTest, ResultsAndSwallowedErrorsReachTheEndHandler)
{
    TempDir dir;
    const fs::path m = dir / "m.swf";
    SoundMovie(7).WriteFile(m);
    const Bytes plain = ReadFileBytes(m);

    struct Outcome { bool done = false; bool result = false; QString error; };
    auto run = [](TThread* t, auto result) {
        Outcome o;
        t->OnTerminate = [&o, result](TThread* self) {
            o.done = true;
            o.result = result(self);
            o.error = self->FatalException();
        };
        t->Start();
        SpinUntil([&] { return o.done; });
        return o;
    };
    auto compressed = [](TThread* t) { return static_cast<TCompressThread*>(t)->Result(); };
    auto decompressed = [](TThread* t) { return static_cast<TDeCompressThread*>(t)->Result(); };

    Outcome o = run(new TCompressThread(Q(m), HeaderOf(m)), compressed);
    EXPECT_TRUE(o.done && o.result && o.error.isEmpty());
    EXPECT_EQ(ReadFileBytes(m)[0], 'C');

    o = run(new TDeCompressThread(Q(m), HeaderOf(m)), decompressed);
    EXPECT_TRUE(o.done && o.result);
    EXPECT_EQ(ReadFileBytes(m), plain);

    // Refused: the header says it is already plain.
    o = run(new TDeCompressThread(Q(m), HeaderOf(m)), decompressed);
    EXPECT_TRUE(o.done && !o.result && o.error.isEmpty());

    // An error in the body is swallowed; the handler still runs and can read it.
    fs::create_directory(dir / "folder.swf");
    o = run(new TCompressThread(Q(dir / "folder.swf"), HeaderOf(m)), compressed);
    EXPECT_TRUE(o.done && !o.result);
    EXPECT_FALSE(o.error.isEmpty());
}
