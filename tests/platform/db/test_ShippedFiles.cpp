// The database files the build puts beside the programs, as the sqlite3 tool sees them.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

QString Shell(const QString& command)
{
    QByteArray out;
    FILE* pipe = ::popen(command.toLocal8Bit().constData(), "r");
    if (!pipe)
        return {};
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, static_cast<qsizetype>(n));
    ::pclose(pipe);
    return QString::fromUtf8(out).trimmed();
}

QString Quote(const QString& path)
{
    return "'" + QString(path).replace("'", "'\\''") + "'";
}

bool HaveSqlite3() { return std::system("sqlite3 -version >/dev/null 2>&1") == 0; }

// table|column|type for every column of every table, as sqlite3 lists them.
QStringList Columns(const QString& file)
{
    const QString sql = "SELECT m.name || '|' || p.name || '|' || p.type FROM sqlite_master m, pragma_table_info(m.name) p "
                        "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%' ORDER BY m.name, p.cid";
    return Shell("sqlite3 -batch " + Quote(file) + " \"" + sql + "\"").split('\n', Qt::SkipEmptyParts);
}

TEST(ShippedFiles, TablesAndColumnsAsTheProgramReadsThem)
{
    if (!HaveSqlite3())
        GTEST_SKIP() << "sqlite3 is not installed (scripts/setup installs it)";
    const QString folder = QStringLiteral(MOVISCOPE_BIN_DIR) + "/Database/";
    ASSERT_TRUE(QFile::exists(folder + "Thumb.mdb"));
    ASSERT_TRUE(QFile::exists(folder + "mv160.mdb"));

    EXPECT_EQ(Columns(folder + "Thumb.mdb"), QStringList({
        "FILE_TABLE|PATH|TEXT", "FILE_TABLE|NAME|TEXT", "FILE_TABLE|MODI_TIME|INTEGER", "FILE_TABLE|IMAGE_ID|INTEGER",
        "IMAGE_TABLE|IMAGE_ID|INTEGER", "IMAGE_TABLE|IMAGE|BLOB",
    }));
    EXPECT_EQ(Columns(folder + "mv160.mdb"), QStringList({
        "CAT_NAME_TABLE|CAT_NAME|TEXT",
        "CAT_TABLE|CAT_NAME|TEXT", "CAT_TABLE|FILE_NAME|TEXT",
        "FAV_TABLE|FILE_NAME|TEXT", "FAV_TABLE|ATT|INTEGER",
        "WEB_TABLE|URL|TEXT", "WEB_TABLE|TITLE|TEXT", "WEB_TABLE|DATE|TEXT", "WEB_TABLE|FLASH_PATH|TEXT",
    }));
    // IMAGE_ID is the engine's counter.
    EXPECT_TRUE(Shell("sqlite3 -batch " + Quote(folder + "Thumb.mdb") + " '.schema IMAGE_TABLE'")
                    .contains("IMAGE_ID INTEGER PRIMARY KEY AUTOINCREMENT"));
}

TEST(ShippedFiles, TheBuildStepNeverReplacesAFile)
{
    if (!HaveSqlite3())
        GTEST_SKIP() << "sqlite3 is not installed (scripts/setup installs it)";
    QTemporaryDir dir;
    const QString makedb = QStringLiteral(MOVISCOPE_MAKEDB);
    ASSERT_EQ(std::system((Quote(makedb) + " " + Quote(dir.path())).toLocal8Bit().constData()), 0);
    const QString thumb = dir.filePath("Thumb.mdb");
    Shell("sqlite3 -batch " + Quote(thumb) + " \"INSERT INTO FILE_TABLE (NAME) VALUES ('kept')\"");
    QFile::remove(dir.filePath("mv160.mdb"));

    ASSERT_EQ(std::system((Quote(makedb) + " " + Quote(dir.path())).toLocal8Bit().constData()), 0);
    EXPECT_EQ(Shell("sqlite3 -batch " + Quote(thumb) + " 'SELECT NAME FROM FILE_TABLE'"), "kept");
    EXPECT_EQ(Columns(dir.filePath("mv160.mdb")).size(), 9) << "the missing file is made again";
}

} // namespace
