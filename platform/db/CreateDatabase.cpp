#include "platform/db/CreateDatabase.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/PrivateConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// An empty file of our own beside the target (created with O_EXCL, the umask's permissions).
QString CreateBesideFile(const QString& path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = path + QStringLiteral(".%1.new").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QByteArray native = QFile::encodeName(name);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            throw EDatabaseError(QStringLiteral("Unable to create %1: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    }
    throw EDatabaseError(QStringLiteral("Unable to create a new file beside ") + path);
}

void SyncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts from at to unless to exists; false with errno EEXIST when it does.
bool MoveNoReplace(const QString& from, const QString& to)
{
    const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link also refuses an existing name.
    if (::link(f.constData(), t.constData()) != 0)
        return false;
    ::unlink(f.constData());
    return true;
}

} // namespace

void CreateDatabase(const QString& path, const QStringList& definition)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        throw EDatabaseError(path + QStringLiteral(" already exists"));
    if (!QDir().mkpath(target.absolutePath()))
        throw EDatabaseError(QStringLiteral("Unable to create the folder ") + target.absolutePath());

    const QString work = CreateBesideFile(target.absoluteFilePath());
    try {
        {
            TPrivateConnection connection(work, "rw");
            connection.Exec(QStringLiteral("BEGIN"));
            for (const QString& statement : definition)
                connection.Exec(statement);
            connection.Exec(QStringLiteral("COMMIT"));
        }
        SyncFile(work);
        if (!MoveNoReplace(work, target.absoluteFilePath())) {
            const int error = errno;
            if (error == EEXIST)
                throw EDatabaseError(path + QStringLiteral(" already exists"));
            throw EDatabaseError(QStringLiteral("Unable to create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
        }
    } catch (...) {
        QFile::remove(work);
        QFile::remove(work + QStringLiteral("-journal"));
        throw;
    }
}
