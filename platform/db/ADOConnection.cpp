#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>

namespace {
QAtomicInt NextConnectionNumber;
}

QString EngineErrorText(const QSqlError& error)
{
    // The engine's own words; Qt's driver text ("Unable to execute statement") only when it has none.
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Unknown database error");
    return text;
}

TADOConnection::TADOConnection()
    : FName(QStringLiteral("moviscope-db-%1").arg(NextConnectionNumber.fetchAndAddRelaxed(1)))
{
}

TADOConnection::~TADOConnection()
{
    Close();
    for (TADOQuery* query : FQueries)
        query->ConnectionClosing();
    if (QSqlDatabase::contains(FName))
        QSqlDatabase::removeDatabase(FName);
}

void TADOConnection::SetDatabasePath(const QString& path)
{
    if (path != FPath)
        Close();
    FPath = path;
}

void TADOConnection::Open()
{
    Close();
    if (FPath.isEmpty())
        throw EDatabaseError(QStringLiteral("No database file given"));
    QSqlDatabase db = QSqlDatabase::contains(FName) ? QSqlDatabase::database(FName, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
    if (!db.isValid())
        throw EDatabaseError(QStringLiteral("The SQLite driver for Qt (QSQLITE) is not installed"));
    // mode=rw: an absent file is an error, never silently created empty.
    const QString absolute = QFileInfo(FPath).absoluteFilePath();
    db.setDatabaseName(QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw EDatabaseError(FPath + QStringLiteral(": ") + EngineErrorText(db.lastError()));
    // The engine reads the file lazily; touch the schema now so a foreign or damaged file fails here.
    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            const QString message = FPath + QStringLiteral(": ") + EngineErrorText(probe.lastError());
            probe = QSqlQuery();
            db.close();
            throw EDatabaseError(message);
        }
    }
    FConnected = true;
}

void TADOConnection::Close()
{
    for (TADOQuery* query : FQueries)
        query->ConnectionClosing();
    if (QSqlDatabase::contains(FName)) {
        QSqlDatabase db = QSqlDatabase::database(FName, false);
        if (db.isOpen())
            db.close();
    }
    FConnected = false;
}

QSqlDatabase TADOConnection::Database() const
{
    if (!FConnected)
        throw EDatabaseError(QStringLiteral("Database is not open: ") + FPath);
    return QSqlDatabase::database(FName, false);
}

void TADOConnection::BeginTrans()
{
    QSqlDatabase db = Database();
    if (!db.transaction())
        throw EDatabaseError(EngineErrorText(db.lastError()));
}

void TADOConnection::CommitTrans()
{
    QSqlDatabase db = Database();
    if (!db.commit())
        throw EDatabaseError(EngineErrorText(db.lastError()));
}

void TADOConnection::RollbackTrans()
{
    QSqlDatabase db = Database();
    if (!db.rollback())
        throw EDatabaseError(EngineErrorText(db.lastError()));
}

void TADOConnection::Attach(TADOQuery* query)
{
    FQueries.push_back(query);
}

void TADOConnection::Detach(TADOQuery* query)
{
    FQueries.erase(std::remove(FQueries.begin(), FQueries.end(), query), FQueries.end());
}
