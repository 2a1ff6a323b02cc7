#include "platform/db/PrivateConnection.h"
#include "platform/db/ADOConnection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
QAtomicInt NextPrivateNumber;
}

TPrivateConnection::TPrivateConnection(const QString& path, const char* mode)
    : FName(QStringLiteral("moviscope-private-%1").arg(NextPrivateNumber.fetchAndAddRelaxed(1))), FPath(path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(FName);
        throw EDatabaseError(QStringLiteral("The SQLite driver for Qt (QSQLITE) is not installed"));
    }
    db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                       + QStringLiteral("?mode=") + QLatin1String(mode));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString message = path + QStringLiteral(": ") + EngineErrorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(FName);
        throw EDatabaseError(message);
    }
}

TPrivateConnection::~TPrivateConnection()
{
    {
        QSqlDatabase db = Database();
        db.close();
    }
    QSqlDatabase::removeDatabase(FName);
}

void TPrivateConnection::Exec(const QString& statement)
{
    QSqlQuery q(Database());
    if (!q.exec(statement))
        throw EDatabaseError(FPath + QStringLiteral(": ") + EngineErrorText(q.lastError()));
}

void TPrivateConnection::Exec(const QString& statement, const QVariant& value)
{
    QSqlQuery q(Database());
    if (!q.prepare(statement))
        throw EDatabaseError(FPath + QStringLiteral(": ") + EngineErrorText(q.lastError()));
    q.addBindValue(value);
    if (!q.exec())
        throw EDatabaseError(FPath + QStringLiteral(": ") + EngineErrorText(q.lastError()));
}
