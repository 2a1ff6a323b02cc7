#pragma once
// A short-lived connection of its own to one file, for work that must not disturb the
// program's connections (compaction, checks, creation). Removed from Qt's registry on exit.
#include <QSqlDatabase>
#include <QString>

class TPrivateConnection {
public:
    // mode: "ro", "rw" or "rwc" (SQLite URI modes). Throws EDatabaseError when it cannot open.
    TPrivateConnection(const QString& path, const char* mode);
    ~TPrivateConnection();
    TPrivateConnection(const TPrivateConnection&) = delete;
    TPrivateConnection& operator=(const TPrivateConnection&) = delete;

    QSqlDatabase Database() const { return QSqlDatabase::database(FName, false); }
    void Exec(const QString& statement);                  // throws EDatabaseError
    void Exec(const QString& statement, const QVariant& value);

private:
    QString FName;
    QString FPath;
};
