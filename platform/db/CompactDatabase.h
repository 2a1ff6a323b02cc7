#pragma once
// Engine-level maintenance of a database file, each on a private connection of its own.
#include <QString>

// Writes a compacted copy of the database at source into destination, which must not exist or
// be an empty file. Throws EDatabaseError with the engine's message.
void CompactDatabase(const QString& source, const QString& destination);

// The engine's full consistency check: true only when it finds nothing wrong. findings gets the
// engine's report (or its error when the file cannot even be read).
bool CheckDatabase(const QString& path, QString* findings = nullptr);
