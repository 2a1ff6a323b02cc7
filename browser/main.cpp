// Moviscope: the movie browser. Takes no arguments.
#include "browser/Globals.h"
#include "browser/MainFrm.h"
#include "platform/shell/ShellIcons.h"
#include "platform/vcl/ErrorReport.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    InitAppDir();
    QApplication::setApplicationName(QStringLiteral("Moviscope"));
    QApplication::setApplicationDisplayName(ApplicationTitle);
    InitIconTheme();
    auto* window = new TMoviscope_Main;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}
