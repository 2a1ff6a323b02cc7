#include "platform/flash/ShockwaveFlash.h"

#include "engine/swf/Movie.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <mutex>

const QString MoviePlaceholder = QStringLiteral("http://");

namespace {

// Frame rates outside this range are clamped: no rate at all gives the common default, and
// very high rates would only starve the event loop.
constexpr double kDefaultFrameRate = 12.0;
constexpr double kMaxFrameRate = 120.0;

swf::Quality QualityFromText(const QString& text)
{
    const QString t = text.toLower();
    if (t == QLatin1String("low")) return swf::Quality::Low;
    if (t == QLatin1String("medium")) return swf::Quality::Medium;
    if (t == QLatin1String("best")) return swf::Quality::Best;
    if (t == QLatin1String("autolow")) return swf::Quality::AutoLow;
    if (t == QLatin1String("autohigh")) return swf::Quality::AutoHigh;
    return swf::Quality::High;
}

} // namespace

// Lets a decoding worker hand its result back only while the control still exists.
struct TShockwaveFlash::LoadGuard {
    std::mutex mutex;
    QPointer<TShockwaveFlash> control;
};

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWidget(parent), FGuard(std::make_shared<LoadGuard>())
{
    FGuard->control = this;
    setObjectName(QStringLiteral("ShockwaveFlash1"));
    setAccessibleName(tr("Movie preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &TShockwaveFlash::Tick);
}

TShockwaveFlash::~TShockwaveFlash()
{
    std::lock_guard lock(FGuard->mutex);
    FGuard->control = nullptr;
}

void TShockwaveFlash::setMovie(const QString& movie)
{
    Unload();
    FMovie = movie;
    FErrorText.clear();
    const QString trimmed = movie.trimmed();
    if (trimmed.isEmpty() || trimmed == MoviePlaceholder)
        return;

    QString path = trimmed;
    if (trimmed.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        path = QUrl(trimmed).toLocalFile();
    const unsigned generation = ++FGeneration;
    if (trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        // Web addresses come with the download work; until then they fail like a bad file.
        const QString reason = tr("Movies from web addresses cannot be played yet: %1").arg(trimmed);
        QMetaObject::invokeMethod(this, [this, generation, reason] { Loaded(generation, nullptr, reason); },
                                  Qt::QueuedConnection);
        return;
    }

    std::shared_ptr<LoadGuard> guard = FGuard;
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    QThreadPool::globalInstance()->start([guard, file, generation] {
        std::shared_ptr<const swf::MovieDefinition> movie;
        QString error;
        try {
            movie = swf::LoadMovie(file);
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        } catch (...) {
            error = QStringLiteral("Unknown error while reading the movie");
        }
        std::lock_guard lock(guard->mutex);
        if (TShockwaveFlash* control = guard->control.data())
            QMetaObject::invokeMethod(control, [control, generation, movie, error] {
                control->Loaded(generation, movie, error);
            }, Qt::QueuedConnection);
    });
}

void TShockwaveFlash::Loaded(unsigned generation, std::shared_ptr<const swf::MovieDefinition> movie, const QString& error)
{
    if (generation != FGeneration)
        return;   // a later Movie replaced this one
    if (!movie) {
        FErrorText = error.isEmpty() ? tr("The movie could not be read") : error;
        emit OnLoadFailed(FErrorText);
        return;
    }
    try {
        FPlayer = std::make_unique<swf::Player>(std::move(movie));
    } catch (const std::exception& e) {
        FErrorText = QString::fromUtf8(e.what());
        emit OnLoadFailed(FErrorText);
        return;
    }
    FZoom = 1.0;
    FReadyState = 4;
    FPlaying = true;   // loading a movie starts it, as the hosts expect
    UpdateTimer();
    update();
    emit OnReadyStateChange(4);
}

void TShockwaveFlash::Unload()
{
    ++FGeneration;
    FTimer.stop();
    FPlayer.reset();
    FPlaying = false;
    FReadyState = 0;
    FZoom = 1.0;
    update();
}

void TShockwaveFlash::setScaleMode(int mode)
{
    FScaleMode = std::clamp(mode, 0, 3);
    update();
}

void TShockwaveFlash::setPlaying(bool playing)
{
    FPlaying = playing && FPlayer;
    UpdateTimer();
}

void TShockwaveFlash::setQuality2(const QString& quality)
{
    FQuality2 = quality;
    update();
}

int TShockwaveFlash::BackgroundColor() const
{
    if (FBackgroundColor >= 0)
        return FBackgroundColor;
    return FPlayer ? int(FPlayer->BackgroundColor() & 0xFFFFFF) : 0xFFFFFF;
}

void TShockwaveFlash::setBackgroundColor(int color)
{
    FBackgroundColor = color < 0 ? -1 : (color & 0xFFFFFF);
    update();
}

int TShockwaveFlash::TotalFrames() const
{
    return FPlayer ? FPlayer->TotalFrames() : 0;
}

int TShockwaveFlash::CurrentFrame() const
{
    return FPlayer ? FPlayer->CurrentFrame() : 0;
}

void TShockwaveFlash::Zoom(int percent)
{
    if (percent <= 0 || percent == 100)
        FZoom = 1.0;
    else
        FZoom = std::max(1.0, FZoom * 100.0 / percent);
    update();
}

void TShockwaveFlash::Play()
{
    setPlaying(true);
}

void TShockwaveFlash::Stop()
{
    setPlaying(false);
}

void TShockwaveFlash::Back()
{
    Stop();
    if (FPlayer)
        GotoFrame(FPlayer->CurrentFrame() - 1);
}

void TShockwaveFlash::Forward()
{
    Stop();
    if (FPlayer)
        GotoFrame(FPlayer->CurrentFrame() + 1);
}

void TShockwaveFlash::Rewind()
{
    GotoFrame(1);
}

void TShockwaveFlash::GotoFrame(int frame)
{
    if (!FPlayer)
        return;
    FPlayer->GotoFrame(std::clamp(frame, 1, FPlayer->TotalFrames()));
    update();
}

void TShockwaveFlash::Tick()
{
    if (!FPlayer || !FPlaying) {
        FTimer.stop();
        return;
    }
    if (!FPlayer->Advance(FLoop)) {
        FPlaying = false;   // the last frame, without looping
        FTimer.stop();
    }
    update();
}

void TShockwaveFlash::UpdateTimer()
{
    if (!FPlaying || !FPlayer) {
        FTimer.stop();
        return;
    }
    double rate = FPlayer->Movie().frameRate;
    if (!(rate > 0))
        rate = kDefaultFrameRate;
    rate = std::min(rate, kMaxFrameRate);
    FTimer.start(std::max(1, int(1000.0 / rate + 0.5)));
}

swf::RenderOptions TShockwaveFlash::Options() const
{
    swf::RenderOptions options;
    options.scale = static_cast<swf::ScaleMode>(FScaleMode);
    options.quality = QualityFromText(FQuality2);
    options.zoom = FZoom;
    return options;
}

void TShockwaveFlash::PaintTo(QPainter& painter, const QRect& target) const
{
    if (!FPlayer) {
        painter.fillRect(target, QColor(QRgb(BackgroundColor())));
        return;
    }
    painter.save();
    swf::RenderFrame(*FPlayer, painter, QRectF(target), Options());
    painter.restore();
}

void TShockwaveFlash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter, rect());
}

void TShockwaveFlash::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit RightButtonDown(event->globalPosition().toPoint());
    event->ignore();   // the control has no menu of its own: the host decides
}

void TShockwaveFlash::contextMenuEvent(QContextMenuEvent* event)
{
    event->ignore();
}
