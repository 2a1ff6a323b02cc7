#include "platform/vcl/CoolBar.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TCoolBar::TCoolBar(QWidget* parent) : QFrame(parent), FRows(new QVBoxLayout(this))
{
    FRows->setContentsMargins(1, 1, 1, 1);
    FRows->setSpacing(1);
}

int TCoolBar::AddBand(QWidget* control, bool breakBefore, int minHeight, int width)
{
    if (!FRow || breakBefore) {
        FRow = new QHBoxLayout;
        FRow->setSpacing(2);
        FRows->addLayout(FRow);
    } else if (FRow->count() > 0) {
        // The band before is no longer the last of its row: it keeps its own width.
        Band& before = FBands.back();
        FRow->setStretchFactor(before.control, 0);
        if (before.width >= 0)
            before.control->setFixedWidth(before.width);
    }
    control->setParent(this);
    // The last band of a row takes the rest of it, whatever its width.
    FRow->addWidget(control, 1);
    Band band;
    band.control = control;
    band.width = width;
    FBands.push_back(band);
    const int index = BandCount() - 1;
    SetBandMinHeight(index, minHeight);
    return index;
}

QWidget* TCoolBar::BandControl(int band) const
{
    return band >= 0 && band < BandCount() ? FBands[size_t(band)].control : nullptr;
}

void TCoolBar::SetBandMinHeight(int band, int height)
{
    if (band < 0 || band >= BandCount())
        return;
    FBands[size_t(band)].minHeight = height;
    FBands[size_t(band)].control->setMinimumHeight(height);
}

int TCoolBar::BandMinHeight(int band) const
{
    return band >= 0 && band < BandCount() ? FBands[size_t(band)].minHeight : 0;
}

void TCoolBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    emit Resized();
}
