// Build step: makes Thumb.mdb and mv160.mdb in the folder given, leaving any existing file alone.
#include "database/Definitions.h"
#include "platform/db/CreateDatabase.h"
#include "platform/db/DatabaseError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATABASE-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const struct {
        QString name;
        QStringList definition;
    } files[] = {
        {ThumbDatabaseFileName(), ThumbDatabaseDefinition()},
        {LibraryDatabaseFileName(), LibraryDatabaseDefinition()},
    };
    int status = 0;
    for (const auto& f : files) {
        const QString path = QDir(folder).filePath(f.name);
        if (QFileInfo::exists(path))
            continue;   // made before, possibly holding data: never replaced
        try {
            CreateDatabase(path, f.definition);
        } catch (const EDatabaseError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            status = 1;
        }
    }
    return status;
}
