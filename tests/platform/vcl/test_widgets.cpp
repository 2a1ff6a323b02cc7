// DrawTransparent, the status bar, the error report and the hourglass guard.
#include "platform/vcl/DrawTransparent.h"
#include "platform/vcl/ErrorReport.h"
#include "platform/vcl/Hourglass.h"
#include "platform/vcl/StatusBar.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(DrawTransparent, LeavesOutTheKeyColourOnly)
{
    QImage canvas(6, 2, QImage::Format_ARGB32);
    canvas.fill(QColor(10, 20, 30));
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    bitmap.setPixelColor(1, 0, QColor(255, 0, 0));
    bitmap.setPixelColor(2, 1, QColor(254, 255, 255));   // near the key: drawn
    {
        QPainter p(&canvas);
        DrawTransparent(p, QPixmap::fromImage(bitmap), 2, 0, Qt::white);
    }
    EXPECT_EQ(canvas.pixelColor(2, 0), QColor(10, 20, 30));
    EXPECT_EQ(canvas.pixelColor(3, 0), QColor(255, 0, 0));
    EXPECT_EQ(canvas.pixelColor(4, 0), QColor(10, 20, 30));
    EXPECT_EQ(canvas.pixelColor(4, 1), QColor(254, 255, 255));
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(10, 20, 30));   // outside the bitmap
}

TEST(DrawTransparent, NullBitmapDrawsNothing)
{
    QImage canvas(2, 2, QImage::Format_ARGB32);
    canvas.fill(Qt::blue);
    QPainter p(&canvas);
    DrawTransparent(p, QPixmap(), 0, 0, Qt::white);
    p.end();
    EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::blue));
}

TEST(StatusBar, PanelsKeepTextAndWidthAndLastFillsTheBar)
{
    TStatusBar bar;
    bar.setObjectName("Bar");
    bar.AddPanel(160, " Total 0 file(s), 0 filtered");
    bar.AddPanel(135, QString(), true);
    bar.AddPanel(50);
    bar.resize(600, 23);
    bar.SetPanelText(2, "SWF 6");
    bar.SetPanelText(7, "ignored");
    bar.SetPanelWidth(1, 70);
    EXPECT_EQ(bar.PanelText(0), " Total 0 file(s), 0 filtered");
    EXPECT_EQ(bar.PanelText(2), "SWF 6");
    EXPECT_EQ(bar.PanelText(7), QString());
    EXPECT_EQ(bar.PanelWidth(1), 70);
    EXPECT_TRUE(bar.PanelOwnerDraw(1));
    EXPECT_EQ(bar.PanelRect(1).left(), 160);
    EXPECT_EQ(bar.PanelRect(2).left(), 230);
    EXPECT_EQ(bar.PanelRect(2).right(), 599 - 2);
    EXPECT_EQ(bar.height(), 23);
}

TEST(StatusBar, OwnerDrawnPanelPaintsInBarCoordinates)
{
    TStatusBar bar;
    bar.AddPanel(100, "a");
    bar.AddPanel(80, QString(), true);
    bar.AddPanel(50);
    bar.resize(300, 23);
    std::vector<std::pair<int, QRect>> calls;
    bar.OnDrawPanel = [&](TStatusBar*, QPainter& p, int panel, const QRect& r) {
        calls.emplace_back(panel, r);
        p.fillRect(QRect(r.left() + 6, r.top() + 4, 4, 4), Qt::red);
    };
    const QImage shot = bar.grab().toImage();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, 1);
    EXPECT_EQ(calls[0].second.left(), 100);
    EXPECT_EQ(shot.pixelColor(107, calls[0].second.top() + 5), QColor(Qt::red));
}

TEST(ErrorReport, ExceptionsReachTheSinkWithTheirText)
{
    QStringList shown;
    const TErrorSink old = SetErrorSink([&](const QString& t) { shown << t; });
    EXPECT_FALSE(RunReported([] { throw std::runtime_error("Unable to write to /x"); }));
    EXPECT_FALSE(RunReported([] { throw 42; }));
    EXPECT_TRUE(RunReported([] {}));
    auto handler = Reported([] { throw std::logic_error("from a slot"); });
    handler(true);
    SetErrorSink(old);
    EXPECT_EQ(shown, (QStringList{"Unable to write to /x", "Unknown error", "from a slot"}));
}

TEST(Hourglass, RestoresTheCursorOnEveryPath)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        THourglass outer;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            THourglass inner(true);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("fail");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
