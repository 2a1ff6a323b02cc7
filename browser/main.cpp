// Moviscope: the movie browser. Takes no arguments.
#include "browser/Globals.h"
#include "browser/MainFrm.h"
#include "platform/shell/ShellIcons.h"
#include "platform/vcl/ErrorReport.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    InitAppDir();
    // The application title: message boxes show it. Set as the name, not the display name,
    // which X11 would append to every window caption.
    QApplication::setApplicationName(ApplicationTitle);
    InitIconTheme();
    auto* window = new TMoviscope_Main;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}
