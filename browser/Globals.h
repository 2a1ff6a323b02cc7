// Process-wide values fixed at start.
#pragma once

#include <QString>

extern QString AppDir;         // folder of the running program, ending in "/"
extern QString ThumbDbPath;    // AppDir + "Database/Thumb.mdb"
extern QString LibraryDbPath;  // AppDir + "Database/mv160.mdb"
extern const QString VersionText;       // "1.6.0", the window caption's version
extern const QString ApplicationTitle;  // "Moviscope 1.6", the task bar text

// AppDir from the running program's folder.
void InitAppDir();
// A folder with "/" appended unless it already ends in one (the root stays "/").
QString WithTrailingSlash(const QString& folder);
