// Reelstage: the standalone movie player.
#include "player/PlayerMainFrm.h"
#include "platform/vcl/ErrorReport.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reelstage"));
    auto* window = new TPlayerMainForm;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}
