// The player control as its hosts use it: asynchronous loading and ready state 4, frame counts,
// seeking between two controls, Stop, Loop, painting while hidden, Zoom and damaged movies.
#include "platform/flash/ShockwaveFlash.h"
#include "tests/support/SwfWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using swftest::Bytes;

namespace {

// Stage 300 x 300 px. Frame k shows shape k: a square from (100, 100) to (200, 200) px in
// kColours[k-1] on a blue background, so one pixel tells which frame is shown.
constexpr int kStage = 300;
const QRgb kColours[] = {0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
constexpr int kFrames = 5;
constexpr QRgb kBackground = 0xFF0000FF;

Bytes DefineSquare(uint16_t id, QRgb colour)
{
    Bytes b;
    swftest::PutU16(b, id);
    swftest::PutBytes(b, swftest::Rect(2000, 4000, 2000, 4000));
    swftest::PutU8(b, 1);      // one fill style: solid
    swftest::PutU8(b, 0x00);
    swftest::PutU8(b, uint8_t(qRed(colour)));
    swftest::PutU8(b, uint8_t(qGreen(colour)));
    swftest::PutU8(b, uint8_t(qBlue(colour)));
    swftest::PutU8(b, 0);      // no line styles
    swftest::BitWriter bits;
    bits.WriteUB(1, 4);        // fill index bits
    bits.WriteUB(0, 4);        // line index bits
    // Style change: move to (2000, 2000), fill style 1.
    bits.WriteUB(0, 1);
    bits.WriteUB(0, 1); bits.WriteUB(0, 1); bits.WriteUB(1, 1); bits.WriteUB(0, 1); bits.WriteUB(1, 1);
    bits.WriteUB(13, 5);
    bits.WriteSB(2000, 13);
    bits.WriteSB(2000, 13);
    bits.WriteUB(1, 1);
    const int d[4][2] = {{2000, 0}, {0, 2000}, {-2000, 0}, {0, -2000}};
    for (const auto& e : d) {
        bits.WriteUB(1, 1);    // edge
        bits.WriteUB(1, 1);    // straight
        bits.WriteUB(13 - 2, 4);
        bits.WriteUB(1, 1);    // general line
        bits.WriteSB(e[0], 13);
        bits.WriteSB(e[1], 13);
    }
    bits.WriteUB(0, 6);        // end of shape
    swftest::PutBytes(b, bits.Data());
    return b;
}

Bytes PlaceObject2(uint16_t id, bool replace)
{
    Bytes b;
    swftest::PutU8(b, replace ? 0x03 : 0x02);   // has character (+ move)
    swftest::PutU16(b, 1);
    swftest::PutU16(b, id);
    return b;
}

Bytes MakeMovie(uint8_t fps)
{
    swftest::SwfWriter w(6);
    w.Stage(0, kStage * 20, 0, kStage * 20).FrameRate(fps).FrameCount(kFrames);
    w.SetBackgroundColor(0, 0, 255);
    for (int k = 1; k <= kFrames; ++k) {
        w.Tag(2, DefineSquare(uint16_t(k), kColours[k - 1]));
        w.Tag(26, PlaceObject2(uint16_t(k), k > 1));
        w.ShowFrame();
    }
    w.End();
    return w.Build();
}

bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void Pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QImage Paint(const TShockwaveFlash& c)
{
    QImage img(c.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    c.PaintTo(p, QRect(QPoint(0, 0), c.size()));
    return img;
}

bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 16 && std::abs(qGreen(a) - qGreen(b)) < 16 && std::abs(qBlue(a) - qBlue(b)) < 16;
}

class FlashControl : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        slow = dir.filePath("slow.swf");
        fast = dir.filePath("fast.swf");
        swftest::WriteFileBytes(slow.toStdString(), MakeMovie(1));
        swftest::WriteFileBytes(fast.toStdString(), MakeMovie(60));
    }

    // Loads and waits for ready state 4; the control is sized like the stage and never shown.
    void Load(TShockwaveFlash& c, const QString& path)
    {
        c.resize(kStage, kStage);
        bool ready = false;
        QObject::connect(&c, &TShockwaveFlash::OnReadyStateChange, &c, [&ready](int s) { ready = ready || s == 4; });
        c.setMovie(path);
        ASSERT_TRUE(WaitFor([&] { return ready; })) << c.ErrorText().toStdString();
    }

    QTemporaryDir dir;
    QString slow, fast;
};

TEST_F(FlashControl, ReportsReadyStateFourAfterDecodingAndPlays)
{
    TShockwaveFlash c;
    EXPECT_EQ(c.accessibleName(), "Movie preview");
    std::vector<int> states;
    QObject::connect(&c, &TShockwaveFlash::OnReadyStateChange, [&](int s) { states.push_back(s); });
    c.setMovie(slow);
    // Reported from the event loop, never from inside the setter.
    EXPECT_TRUE(states.empty());
    EXPECT_NE(c.ReadyState(), 4);
    EXPECT_EQ(c.Movie(), slow);
    ASSERT_TRUE(WaitFor([&] { return !states.empty(); }));
    EXPECT_EQ(states, std::vector<int>{4});
    EXPECT_EQ(c.ReadyState(), 4);
    EXPECT_EQ(c.TotalFrames(), kFrames);
    EXPECT_EQ(c.CurrentFrame(), 1);
    EXPECT_TRUE(c.Playing());
    EXPECT_EQ(c.BackgroundColor(), 0x0000FF);
    EXPECT_TRUE(c.ErrorText().isEmpty());
}

TEST_F(FlashControl, PlaceholderUnloadsAndDropsAPendingLoad)
{
    TShockwaveFlash c;
    Load(c, slow);
    c.setMovie(MoviePlaceholder);
    EXPECT_EQ(c.Movie(), MoviePlaceholder);
    EXPECT_EQ(c.TotalFrames(), 0);
    EXPECT_FALSE(c.Playing());
    c.setBackgroundColor(0xFFFFFF);
    EXPECT_EQ(Paint(c).pixel(150, 150), 0xFFFFFFFFu);

    // A load replaced by the placeholder before it finished never reports.
    int reports = 0;
    QObject::connect(&c, &TShockwaveFlash::OnReadyStateChange, [&](int) { ++reports; });
    c.setMovie(fast);
    c.setMovie(MoviePlaceholder);
    Pump(300);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(c.TotalFrames(), 0);
}

TEST_F(FlashControl, CurrentFrameOfOneControlShowsTheSameFrameInAnother)
{
    TShockwaveFlash a, b;
    Load(a, slow);
    Load(b, slow);
    a.Stop();
    b.Stop();
    a.GotoFrame(4);
    EXPECT_EQ(a.CurrentFrame(), 4);
    b.GotoFrame(a.CurrentFrame());
    EXPECT_EQ(b.CurrentFrame(), 4);
    const QImage pa = Paint(a), pb = Paint(b);
    EXPECT_EQ(pa, pb);
    EXPECT_TRUE(Near(pa.pixel(150, 150), kColours[3])) << std::hex << pa.pixel(150, 150);
    // Backwards as well.
    a.GotoFrame(2);
    b.GotoFrame(a.CurrentFrame());
    EXPECT_EQ(Paint(a), Paint(b));
    EXPECT_TRUE(Near(Paint(b).pixel(150, 150), kColours[1]));
    // Out of range numbers are clamped.
    a.GotoFrame(0);
    EXPECT_EQ(a.CurrentFrame(), 1);
    a.GotoFrame(99);
    EXPECT_EQ(a.CurrentFrame(), kFrames);
}

TEST_F(FlashControl, StopFreezesTheFrameAndPlayGoesOn)
{
    TShockwaveFlash c;
    Load(c, fast);
    c.Stop();
    c.GotoFrame(2);
    const QImage before = Paint(c);
    Pump(200);   // about 12 frame intervals at 60 fps
    EXPECT_FALSE(c.Playing());
    EXPECT_EQ(c.CurrentFrame(), 2);
    EXPECT_EQ(Paint(c), before);

    c.Play();
    EXPECT_TRUE(WaitFor([&] { return c.CurrentFrame() != 2; }, 2000));
}

TEST_F(FlashControl, LoopOffStopsAtTheLastFrameAndLoopOnWraps)
{
    TShockwaveFlash c;
    c.setLoop(false);
    Load(c, fast);
    ASSERT_TRUE(WaitFor([&] { return !c.Playing(); }, 3000));
    EXPECT_EQ(c.CurrentFrame(), kFrames);
    EXPECT_TRUE(Near(Paint(c).pixel(150, 150), kColours[kFrames - 1]));
    Pump(100);
    EXPECT_EQ(c.CurrentFrame(), kFrames);

    TShockwaveFlash looping;
    Load(looping, fast);
    EXPECT_TRUE(looping.Loop());
    bool sawLast = false, wrapped = false;
    WaitFor([&] {
        sawLast = sawLast || looping.CurrentFrame() == kFrames;
        wrapped = sawLast && looping.CurrentFrame() < kFrames;
        return wrapped;
    }, 3000);
    EXPECT_TRUE(wrapped);
    EXPECT_TRUE(looping.Playing());
}

TEST_F(FlashControl, StepsAndRewind)
{
    TShockwaveFlash c;
    Load(c, slow);
    c.Forward();
    EXPECT_FALSE(c.Playing());
    EXPECT_EQ(c.CurrentFrame(), 2);
    c.Forward();
    c.Back();
    EXPECT_EQ(c.CurrentFrame(), 2);
    c.Rewind();
    EXPECT_EQ(c.CurrentFrame(), 1);
    c.Back();
    EXPECT_EQ(c.CurrentFrame(), 1);
}

TEST_F(FlashControl, PaintsTheCurrentFrameWhileHidden)
{
    TShockwaveFlash c;
    c.resize(80, 80);
    c.setMovie(slow);
    ASSERT_TRUE(WaitFor([&] { return c.ReadyState() == 4; }));
    ASSERT_FALSE(c.isVisible());
    c.GotoFrame(3);
    QImage img(80, 80, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    c.PaintTo(p, QRect(0, 0, 80, 80));
    p.end();
    EXPECT_TRUE(Near(img.pixel(40, 40), kColours[2])) << std::hex << img.pixel(40, 40);
    EXPECT_TRUE(Near(img.pixel(5, 5), kBackground)) << std::hex << img.pixel(5, 5);
}

TEST_F(FlashControl, ZoomMagnifiesAboutTheCentreButNeverShrinksBelowTheStage)
{
    TShockwaveFlash c;
    Load(c, slow);
    c.Stop();
    const QRgb square = kColours[0];
    // x = 70 is background at full view and inside the square once magnified twice about the centre.
    EXPECT_TRUE(Near(Paint(c).pixel(70, 150), kBackground));
    c.Zoom(50);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 2.0);
    EXPECT_TRUE(Near(Paint(c).pixel(70, 150), square));
    c.Zoom(50);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 4.0);
    c.Zoom(200);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 2.0);
    c.Zoom(200);
    c.Zoom(200);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 1.0);
    // x = 120 would fall outside the square if the stage were shrunk.
    EXPECT_TRUE(Near(Paint(c).pixel(120, 150), square));
    c.Zoom(50);
    c.Zoom(0);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 1.0);
    c.Zoom(25);
    c.Zoom(100);
    EXPECT_DOUBLE_EQ(c.ZoomFactor(), 1.0);
}

TEST_F(FlashControl, RightButtonReachesTheHostFirst)
{
    QWidget host;
    TShockwaveFlash* c = new TShockwaveFlash(&host);
    int presses = 0;
    QObject::connect(c, &TShockwaveFlash::RightButtonDown, [&](const QPoint&) { ++presses; });
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(c, &right);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(right.isAccepted());   // left for the parent as well
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &left);
    EXPECT_EQ(presses, 1);
}

struct BadMovie {
    const char* name;
    std::function<QString(const QString& dir)> make;   // writes the file, returns the Movie text
};

class FlashBadMovie : public testing::TestWithParam<BadMovie> {};

TEST_P(FlashBadMovie, NeverReachesReadyStateFour)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TShockwaveFlash c;
    int ready = 0;
    QString failure;
    QObject::connect(&c, &TShockwaveFlash::OnReadyStateChange, [&](int s) { ready += s == 4; });
    QObject::connect(&c, &TShockwaveFlash::OnLoadFailed, [&](const QString& r) { failure = r; });
    c.setMovie(GetParam().make(dir.path()));
    ASSERT_TRUE(WaitFor([&] { return !failure.isEmpty(); }));
    Pump(50);
    EXPECT_EQ(ready, 0);
    EXPECT_NE(c.ReadyState(), 4);
    EXPECT_EQ(c.ErrorText(), failure);
    EXPECT_EQ(c.TotalFrames(), 0);
    EXPECT_FALSE(c.Playing());
    c.resize(20, 20);
    const QImage img = Paint(c);
    EXPECT_EQ(img.pixel(10, 10), 0xFFFFFFFFu);
}

QString Write(const QString& dir, const Bytes& bytes)
{
    const QString path = dir + "/bad.swf";
    swftest::WriteFileBytes(path.toStdString(), bytes);
    return path;
}

INSTANTIATE_TEST_SUITE_P(Files, FlashBadMovie, testing::Values(
    BadMovie{"Missing", [](const QString& d) { return d + "/none.swf"; }},
    BadMovie{"Garbage", [](const QString& d) { return Write(d, {'X', 'Y', 'Z', 1, 2, 3, 4, 5, 6, 7}); }},
    BadMovie{"TruncatedHeader", [](const QString& d) { Bytes b = MakeMovie(12); b.resize(10); return Write(d, b); }},
    BadMovie{"BrokenZlib", [](const QString& d) {
        swftest::SwfWriter w(6);
        w.ShowFrame().End();
        Bytes b = w.Build(swftest::Packing::Zlib);
        for (size_t i = 8; i < b.size(); ++i)
            b[i] ^= 0xA5;
        return Write(d, b);
    }},
    BadMovie{"WebAddress", [](const QString&) { return QStringLiteral("http://example.invalid/movie.swf"); }}),
    [](const testing::TestParamInfo<BadMovie>& i) { return std::string(i.param.name); });

} // namespace
