// The browser's two database files: the thumbnail database (connection 1) and the library
// database with history, favorites and categories (connection 2), with their maintenance.
#pragma once

#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"

#include <QString>
#include <QStringList>
#include <functional>

class TLibraryDatabases {
public:
    TADOConnection ADOConnection1;   // Thumb.mdb
    TADOConnection ADOConnection2;   // mv160.mdb
    TADOQuery ADOQuery1{ADOConnection1};
    TADOQuery ADOQuery2{ADOConnection2};

    // Opens both files, making a missing one from its definition. A file that cannot be opened
    // is left as it is and its connection stays closed; the returned list holds one error text
    // per such file (empty when both opened), for the caller to report.
    QStringList OpenDatabases(const QString& thumbPath, const QString& libraryPath);
    QStringList OpenDatabases();     // ThumbDbPath and LibraryDbPath
};

// Closes the connection, points it at path and opens it; a missing file is first made from
// definition. Throws EDatabaseError with the engine's message.
void OpenDatabase(TADOConnection& connection, const QString& path, const QStringList& definition);

// Empties FILE_TABLE and IMAGE_TABLE together (one transaction) through the given query.
void DeleteThumbnails(TADOQuery& query);
// Empties WEB_TABLE through the given query.
void DeleteHistory(TADOQuery& query);

// The steps of Compact and Repair, replaceable so tests can make any of them fail.
struct TCompactionSteps {
    std::function<void(const QString& source, const QString& copy)> Compact;
    std::function<bool(const QString& path, QString* findings)> Check;
    std::function<bool(const QString& from, const QString& to)> Replace;   // atomic, over to
    TCompactionSteps();
};

// Compacts the file behind connection into a new file beside it, checks the copy and renames
// it over the original; the original stays untouched until the checked copy replaces it in one
// step. Failures of those steps are swallowed (true only when the file was replaced); the
// connection is always reopened, and an error while reopening is thrown.
bool CompactAndRepair(TADOConnection& connection, const QString& path,
                      const TCompactionSteps& steps = TCompactionSteps());
