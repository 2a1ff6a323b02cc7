#include "browser/Databases.h"

#include "browser/Globals.h"
#include "database/Definitions.h"
#include "platform/db/CompactDatabase.h"
#include "platform/db/CreateDatabase.h"
#include "platform/vcl/Hourglass.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void SyncPath(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool RenameOver(const QString& from, const QString& to)
{
    // rename(2) swaps the name in one step: readers see the old file or the new one, never none.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString CompactionPattern(const QFileInfo& file)
{
    return file.fileName() + QStringLiteral(".compact-");
}

// Copies left by an earlier run that failed before its rename: the original was never touched,
// so they hold nothing that is not in it.
void RemoveStaleCopies(const QFileInfo& file)
{
    const QDir dir = file.absoluteDir();
    const QStringList stale = dir.entryList({CompactionPattern(file) + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    for (const QString& name : stale)
        QFile::remove(dir.filePath(name));
}

} // namespace

TCompactionSteps::TCompactionSteps()
    : Compact(CompactDatabase), Check(CheckDatabase), Replace(RenameOver)
{
}

void OpenDatabase(TADOConnection& connection, const QString& path, const QStringList& definition)
{
    connection.Close();
    connection.SetDatabasePath(path);
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        CreateDatabase(path, definition);
    connection.Open();
}

QStringList TLibraryDatabases::OpenDatabases(const QString& thumbPath, const QString& libraryPath)
{
    QStringList errors;
    const struct {
        TADOConnection& connection;
        const QString& path;
        QStringList definition;
    } files[] = {
        {ADOConnection1, thumbPath, ThumbDatabaseDefinition()},
        {ADOConnection2, libraryPath, LibraryDatabaseDefinition()},
    };
    for (const auto& f : files) {
        try {
            OpenDatabase(f.connection, f.path, f.definition);
        } catch (const std::exception& e) {
            errors.append(QString::fromStdString(e.what()));
        }
    }
    return errors;
}

QStringList TLibraryDatabases::OpenDatabases()
{
    return OpenDatabases(ThumbDbPath, LibraryDbPath);
}

namespace {

void RunStatement(TADOQuery& query, const QString& statement)
{
    query.Close();
    query.SQL.Clear();
    query.SQL.Add(statement);
    query.ExecSQL();
    query.Close();
}

} // namespace

void DeleteThumbnails(TADOQuery& query)
{
    // Both tables or neither: a picture row without its file row (or the reverse) is garbage.
    TADOConnection& connection = query.Connection();
    connection.BeginTrans();
    try {
        RunStatement(query, QStringLiteral("DELETE FROM FILE_TABLE"));
        RunStatement(query, QStringLiteral("DELETE FROM IMAGE_TABLE"));
        connection.CommitTrans();
    } catch (...) {
        try {
            connection.RollbackTrans();
        } catch (...) {
        }
        throw;
    }
}

void DeleteHistory(TADOQuery& query)
{
    RunStatement(query, QStringLiteral("DELETE FROM WEB_TABLE"));
}

bool CompactAndRepair(TADOConnection& connection, const QString& path, const TCompactionSteps& steps)
{
    if (connection.Connected())
        connection.Close();
    THourglass hourglass;

    bool replaced = false;
    const QFileInfo file(path);
    QString copy;
    try {
        RemoveStaleCopies(file);
        // The copy lives beside the database, so the rename stays on one file system.
        QTemporaryFile reserve(file.absoluteDir().filePath(CompactionPattern(file) + QStringLiteral("XXXXXX")));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw EDatabaseError(QStringLiteral("Unable to create a file beside ") + path + QStringLiteral(": ") + reserve.errorString());
        copy = reserve.fileName();
        reserve.close();   // an empty file: the engine may write its copy into it

        steps.Compact(path, copy);
        SyncPath(copy, O_RDONLY);
        QString findings;
        if (!steps.Check(copy, &findings))
            throw EDatabaseError(QStringLiteral("The compacted copy of %1 failed its check: %2").arg(path, findings));
        QFile::setPermissions(copy, QFile::permissions(path));
        if (!steps.Replace(copy, file.absoluteFilePath()))
            throw EDatabaseError(QStringLiteral("Unable to put the compacted copy in place of ") + path);
        SyncPath(file.absolutePath(), O_RDONLY | O_DIRECTORY);
        replaced = true;
    } catch (const std::exception& e) {
        // Nothing is reported to the user; the original file is still the database.
        qWarning("Compact and Repair left %s as it was: %s", qPrintable(path), e.what());
    }
    if (!replaced && !copy.isEmpty()) {
        QFile::remove(copy);
        QFile::remove(copy + QStringLiteral("-journal"));
    }
    connection.SetDatabasePath(path);
    connection.Open();
    return replaced;
}
