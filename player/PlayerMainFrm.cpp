#include "player/PlayerMainFrm.h"

TPlayerMainForm::TPlayerMainForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("PlayerMainForm"));
    setWindowTitle(QStringLiteral("Reelstage"));
    resize(550, 400);
}
