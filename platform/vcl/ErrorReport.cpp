#include "platform/vcl/ErrorReport.h"

#include <QMessageBox>
#include <exception>

namespace {

TErrorSink& Sink()
{
    static TErrorSink sink;
    return sink;
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowDefaultError(QStringLiteral("Unknown error"));
    }
}

} // namespace

void ShowDefaultError(const QString& text)
{
    if (Sink()) {
        Sink()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
}

TErrorSink SetErrorSink(TErrorSink sink)
{
    TErrorSink old = std::move(Sink());
    Sink() = std::move(sink);
    return old;
}

bool RunReported(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}
