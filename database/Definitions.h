#pragma once
// The tables of the two database files. The build makes the shipped files from these, and the
// browser makes a missing file from them at start, so both always agree.
#include <QString>
#include <QStringList>

// Database/Thumb.mdb: rendered pictures and the movie file each one shows.
QStringList ThumbDatabaseDefinition();
// Database/mv160.mdb: download history, favorites and categories.
QStringList LibraryDatabaseDefinition();

// The file names inside the Database folder.
inline QString ThumbDatabaseFileName() { return QStringLiteral("Thumb.mdb"); }
inline QString LibraryDatabaseFileName() { return QStringLiteral("mv160.mdb"); }
