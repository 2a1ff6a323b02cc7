#pragma once
// Makes a new database file from a list of definition statements (CREATE TABLE ...).
#include <QString>
#include <QStringList>

// Builds the file aside and then links it into place, so an existing file at path is never
// replaced or touched and a failed build leaves nothing behind. Throws EDatabaseError
// ("... already exists" when path is taken).
void CreateDatabase(const QString& path, const QStringList& definition);
