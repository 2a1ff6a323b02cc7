#include "platform/db/CompactDatabase.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/PrivateConnection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

void CompactDatabase(const QString& source, const QString& destination)
{
    // Read-only on the source: compaction writes nothing but the new file.
    TPrivateConnection connection(source, "ro");
    connection.Exec(QStringLiteral("VACUUM INTO ?"), QFileInfo(destination).absoluteFilePath());
}

bool CheckDatabase(const QString& path, QString* findings)
{
    try {
        TPrivateConnection connection(path, "ro");
        QSqlQuery q(connection.Database());
        if (!q.exec(QStringLiteral("PRAGMA integrity_check"))) {
            if (findings)
                *findings = EngineErrorText(q.lastError());
            return false;
        }
        QStringList lines;
        while (q.next())
            lines.append(q.value(0).toString());
        if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError)
            lines.append(EngineErrorText(q.lastError()));
        if (findings)
            *findings = lines.join(QLatin1Char('\n'));
        return lines == QStringList{QStringLiteral("ok")};
    } catch (const EDatabaseError& e) {
        if (findings)
            *findings = QString::fromStdString(e.what());
        return false;
    }
}
