// TShockwaveFlash: the movie player control that the programs host, drawn by our own engine.
//
// Setting Movie to a file path decodes the movie on a worker thread; once decoded the control
// reports OnReadyStateChange(4) on the user interface thread and starts playing. A movie that
// cannot be decoded never reaches 4: OnLoadFailed and ErrorText() give the reason.
#pragma once

#include "engine/display/Player.h"
#include "engine/render/Renderer.h"

#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

class QPainter;

extern const QString MoviePlaceholder;   // "http://": written to Movie to unload

class TShockwaveFlash : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Movie READ Movie WRITE setMovie)
    Q_PROPERTY(int ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(bool Playing READ Playing WRITE setPlaying)
    Q_PROPERTY(bool Loop READ Loop WRITE setLoop)
    Q_PROPERTY(QString Quality2 READ Quality2 WRITE setQuality2)
    Q_PROPERTY(int BackgroundColor READ BackgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(int TotalFrames READ TotalFrames)
    Q_PROPERTY(int ReadyState READ ReadyState)

public:
    explicit TShockwaveFlash(QWidget* parent = nullptr);
    ~TShockwaveFlash() override;

    QString Movie() const { return FMovie; }
    void setMovie(const QString& movie);
    int ScaleMode() const { return FScaleMode; }   // 0 show all, 1 no border, 2 exact fit, 3 no scale
    void setScaleMode(int mode);
    bool Playing() const { return FPlaying; }
    void setPlaying(bool playing);
    bool Loop() const { return FLoop; }
    void setLoop(bool loop) { FLoop = loop; }
    QString Quality2() const { return FQuality2; }  // "Low", "Medium", "High", "Best", "AutoLow", "AutoHigh"
    void setQuality2(const QString& quality);
    // 0xRRGGBB; -1 (the default) uses the movie's own colour. Shown with no movie loaded.
    int BackgroundColor() const;
    void setBackgroundColor(int color);
    int TotalFrames() const;     // 0 with no movie
    int ReadyState() const { return FReadyState; }   // 4 once the movie is decoded
    QString ErrorText() const { return FErrorText; }

    void Zoom(int percent);      // 0 or 100: whole stage; < 100 magnifies by 100/percent; > 100 shrinks back
    double ZoomFactor() const { return FZoom; }
    void Play();
    void Stop();                 // freezes the shown frame
    void Back();                 // one frame back, stopped
    void Forward();              // one frame on, stopped
    void Rewind();               // to frame 1
    void GotoFrame(int frame);   // 1-based, clamped to 1..TotalFrames
    int CurrentFrame() const;    // 1-based; 0 with no movie

    // Draws the current frame at the size of `target` into any painter, also while hidden.
    void PaintTo(QPainter& painter, const QRect& target) const;
    void PaintTo(QPainter& painter) const { PaintTo(painter, rect()); }

signals:
    void OnReadyStateChange(int state);
    void OnLoadFailed(const QString& reason);
    // A right-button press, before the control does anything with it; the event itself is
    // left unaccepted so it also travels on to the parent.
    void RightButtonDown(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct LoadGuard;
    void Unload();
    void Loaded(unsigned generation, std::shared_ptr<const swf::MovieDefinition> movie, const QString& error);
    void Tick();
    void UpdateTimer();
    swf::RenderOptions Options() const;

    QString FMovie;
    int FScaleMode = 0;
    bool FPlaying = false;
    bool FLoop = true;
    QString FQuality2 = QStringLiteral("High");
    int FBackgroundColor = -1;
    int FReadyState = 0;
    QString FErrorText;
    double FZoom = 1.0;
    std::unique_ptr<swf::Player> FPlayer;
    QTimer FTimer;
    unsigned FGeneration = 0;
    std::shared_ptr<LoadGuard> FGuard;
};
