// The application's default error report: an exception that a command does not catch ends up
// here, is shown in a critical message box with its text, and the program goes on.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

void ShowDefaultError(const QString& text);

// Where ShowDefaultError sends its text instead of a message box (tests, batch runs); an empty
// function restores the message box. Returns the previous sink.
using TErrorSink = std::function<void(const QString&)>;
TErrorSink SetErrorSink(TErrorSink sink);

// Runs fn and reports any exception it lets escape; true when fn ran through.
bool RunReported(const std::function<void()>& fn);

// Wraps a handler for a signal connection so an exception in it reaches the report instead of
// unwinding through Qt's signal machinery.
template <typename Fn>
auto Reported(Fn fn)
{
    return [fn = std::move(fn)](auto&&...) { RunReported(fn); };
}

// The application object: catches exceptions that escape event handlers.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
