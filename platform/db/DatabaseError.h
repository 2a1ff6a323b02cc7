#pragma once
// Errors of the database layer carry the engine's own message, as the default error report shows it.
#include <QString>
#include <stdexcept>

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
