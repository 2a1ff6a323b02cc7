#include "browser/Globals.h"

#include <QCoreApplication>

QString AppDir;
QString ThumbDbPath;
QString LibraryDbPath;
const QString VersionText = QStringLiteral("1.6.0");
const QString ApplicationTitle = QStringLiteral("Moviscope 1.6");

QString WithTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void InitAppDir()
{
    AppDir = WithTrailingSlash(QCoreApplication::applicationDirPath());
}
