#pragma once
// One open database file. The file is an SQLite database; opening never creates it, so a
// missing or foreign file fails loudly instead of being replaced by an empty one.
#include "platform/db/DatabaseError.h"

#include <QString>
#include <QSqlDatabase>
#include <vector>

class TADOQuery;

class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    // The file the connection opens; stands in for the connection string.
    QString DatabasePath() const { return FPath; }
    void SetDatabasePath(const QString& path);

    // Opens the file for reading and writing; throws EDatabaseError with the engine's message.
    void Open();
    void Open(const QString& path) { SetDatabasePath(path); Open(); }
    void Close();                  // also closes every query bound to it
    bool Connected() const { return FConnected; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // For the query objects: the Qt handle behind this connection; throws when not connected.
    QSqlDatabase Database() const;
    QString ConnectionName() const { return FName; }

private:
    friend class TADOQuery;
    void Attach(TADOQuery* query);
    void Detach(TADOQuery* query);

    QString FName;
    QString FPath;
    bool FConnected = false;
    std::vector<TADOQuery*> FQueries;
};

// The text of an engine error, as short as the engine words it.
QString EngineErrorText(const class QSqlError& error);
