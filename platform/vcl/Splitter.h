// A splitter bar that resizes one neighbour, as a left- or top-aligned bar does: dragging it
// changes the fixed width (vertical bar) or height (horizontal bar) of its target.
#pragma once

#include <QPointer>
#include <QWidget>

class TSplitter : public QWidget {
    Q_OBJECT
public:
    // Qt::Horizontal: a vertical bar between left and right, resizing the target's width.
    TSplitter(Qt::Orientation orientation, int thickness, QWidget* parent = nullptr);
    void SetTarget(QWidget* target) { FTarget = target; }
    QWidget* Target() const { return FTarget; }

    static constexpr int MinSize = 30;  // neither side is dragged below this

signals:
    void Moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int Coord(const QPointF& p) const;
    Qt::Orientation FOrientation;
    QPointer<QWidget> FTarget;
    bool FDragging = false;
    int FStartCoord = 0;
    int FStartSize = 0;
};
