#include "platform/vcl/Hourglass.h"

#include <QApplication>
#include <QCursor>

THourglass::THourglass(bool busy)
{
    QApplication::setOverrideCursor(QCursor(busy ? Qt::BusyCursor : Qt::WaitCursor));
}

THourglass::~THourglass()
{
    QApplication::restoreOverrideCursor();
}
