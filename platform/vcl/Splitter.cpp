#include "platform/vcl/Splitter.h"

#include <QMouseEvent>

TSplitter::TSplitter(Qt::Orientation orientation, int thickness, QWidget* parent)
    : QWidget(parent), FOrientation(orientation)
{
    if (orientation == Qt::Horizontal) {
        setFixedWidth(thickness);
        setCursor(Qt::SplitHCursor);
    } else {
        setFixedHeight(thickness);
        setCursor(Qt::SplitVCursor);
    }
}

int TSplitter::Coord(const QPointF& p) const
{
    return FOrientation == Qt::Horizontal ? qRound(p.x()) : qRound(p.y());
}

void TSplitter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTarget)
        return;
    FDragging = true;
    FStartCoord = Coord(event->globalPosition());
    FStartSize = FOrientation == Qt::Horizontal ? FTarget->width() : FTarget->height();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging || !FTarget || !parentWidget())
        return;
    const int room = FOrientation == Qt::Horizontal ? parentWidget()->width() : parentWidget()->height();
    int size = FStartSize + Coord(event->globalPosition()) - FStartCoord;
    size = qMax(MinSize, qMin(size, room - MinSize));
    if (FOrientation == Qt::Horizontal)
        FTarget->setFixedWidth(size);
    else
        FTarget->setFixedHeight(size);
    emit Moved();
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    FDragging = false;
}
