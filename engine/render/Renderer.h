// Draws a player's current frame with QPainter into any paint device, at any size.
#pragma once
#include "engine/display/Player.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>

namespace swf {

enum class ScaleMode { ShowAll = 0, NoBorder = 1, ExactFit = 2, NoScale = 3 };
enum class Quality { Low = 0, High = 1, AutoLow = 2, AutoHigh = 3, Medium = 4, Best = 5 };

struct RenderOptions {
    ScaleMode scale = ScaleMode::ShowAll;
    Quality quality = Quality::High;
    double zoom = 1.0; // > 1 magnifies about the viewport centre
};

// Fills the viewport with the background colour and draws the frame scaled into it.
void RenderFrame(const Player& player, QPainter& painter, const QRectF& viewport,
                 const RenderOptions& options = {});
QImage RenderFrameImage(const Player& player, QSize size, const RenderOptions& options = {});

// The stage-to-viewport transform used by RenderFrame (twips to device pixels).
QTransform StageTransform(const Rect& stage, const QRectF& viewport, const RenderOptions& options);

} // namespace swf
