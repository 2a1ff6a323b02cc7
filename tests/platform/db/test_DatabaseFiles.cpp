// Opening, creating, compacting and checking database files, including files that are not databases.
#include "database/Definitions.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/CompactDatabase.h"
#include "platform/db/CreateDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(DatabaseFiles, OpeningNeverCreatesOrDamagesAFile)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray contents;   // null: leave the file absent
        const char* engineWords;
    } cases[] = {
        {"missing.mdb", QByteArray(), "unable to open"},
        {"text.mdb", QByteArray("Standard Jet DB\0 this is not SQLite at all, just some bytes......", 64), "not a database"},
        {"truncated.mdb", QByteArray("SQLite format 3\0", 16) + QByteArray(100, '\x01'), ""},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        if (!c.contents.isNull())
            WriteAll(path, c.contents);
        TADOConnection connection;
        try {
            connection.Open(path);
            FAIL() << c.name << " opened";
        } catch (const EDatabaseError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.name), std::string::npos) << what;
            EXPECT_NE(what.find(c.engineWords), std::string::npos) << what;
        }
        EXPECT_FALSE(connection.Connected());
        EXPECT_EQ(QFile::exists(path), !c.contents.isNull()) << c.name;
        if (!c.contents.isNull()) {
            EXPECT_EQ(ReadAll(path), c.contents) << c.name << " was changed";
        }
    }
    // A folder in the file's place.
    QDir(dir.path()).mkdir("folder.mdb");
    TADOConnection connection;
    EXPECT_THROW(connection.Open(dir.filePath("folder.mdb")), EDatabaseError);
}

TEST(DatabaseFiles, CreateMakesTheTablesAndNeverReplacesAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/Database/mv160.mdb");
    CreateDatabase(path, LibraryDatabaseDefinition());
    TADOConnection c;
    c.Open(path);
    TADOQuery q(c);
    q.SQL.Add("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    q.Open();
    QStringList tables;
    for (; !q.Eof(); q.Next())
        tables << q.FieldByName("name").AsString();
    EXPECT_EQ(tables, QStringList({"CAT_NAME_TABLE", "CAT_TABLE", "FAV_TABLE", "WEB_TABLE"}));
    q.Close();
    c.Close();

    const QByteArray before = ReadAll(path);
    EXPECT_THROW(CreateDatabase(path, ThumbDatabaseDefinition()), EDatabaseError);
    EXPECT_EQ(ReadAll(path), before);

    // Something that is not a database is not replaced either.
    const QString other = dir.filePath("other.mdb");
    WriteAll(other, "precious");
    EXPECT_THROW(CreateDatabase(other, ThumbDatabaseDefinition()), EDatabaseError);
    EXPECT_EQ(ReadAll(other), QByteArray("precious"));
    EXPECT_EQ(QDir(dir.filePath("sub/Database")).entryList(QDir::Files), QStringList({"mv160.mdb"}))
        << "no work files left behind";
}

TEST(DatabaseFiles, CreateFailsCleanlyOnABadDefinition)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.mdb");
    EXPECT_THROW(CreateDatabase(path, {"CREATE TABLE A (X TEXT)", "CREATE TABLE oops ("}), EDatabaseError);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(DatabaseFiles, CompactCopiesEveryRowAndChecksClean)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Thumb.mdb");
    CreateDatabase(path, ThumbDatabaseDefinition());
    {
        TADOConnection c;
        c.Open(path);
        TADOQuery q(c);
        for (int i = 0; i < 50; ++i) {
            q.SQL.Clear();
            q.SQL.Add("INSERT INTO IMAGE_TABLE (IMAGE) VALUES (:Image)");
            q.Parameters.ParamByName("Image").Value = QByteArray(2000, char(i));
            q.ExecSQL();
        }
        q.SQL.Clear();
        q.SQL.Add("DELETE FROM IMAGE_TABLE WHERE IMAGE_ID <= 25");
        q.ExecSQL();
    }
    const QString copy = dir.filePath("copy.mdb");
    CompactDatabase(path, copy);
    EXPECT_LT(QFileInfo(copy).size(), QFileInfo(path).size());
    QString findings;
    EXPECT_TRUE(CheckDatabase(copy, &findings)) << findings.toStdString();
    EXPECT_EQ(findings, "ok");

    TADOConnection c;
    c.Open(copy);
    TADOQuery q(c);
    q.SQL.Add("SELECT count(*) AS N, min(IMAGE_ID) AS LO FROM IMAGE_TABLE");
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 25);
    EXPECT_EQ(q.FieldByName("LO").AsInteger(), 26);

    EXPECT_THROW(CompactDatabase(path, copy), EDatabaseError) << "an existing copy is not overwritten";
}

TEST(DatabaseFiles, CheckFindsDamage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Thumb.mdb");
    CreateDatabase(path, ThumbDatabaseDefinition());
    {
        TADOConnection c;
        c.Open(path);
        TADOQuery q(c);
        for (int i = 0; i < 40; ++i) {
            q.SQL.Clear();
            q.SQL.Add("INSERT INTO FILE_TABLE (PATH, NAME, MODI_TIME, IMAGE_ID) VALUES (:P, :N, :M, :I)");
            q.Parameters.ParamByName("P").Value = QString("/movies/");
            q.Parameters.ParamByName("N").Value = QString("/movies/%1.swf").arg(i, 200, 10, QLatin1Char('x'));
            q.Parameters.ParamByName("M").Value = i;
            q.Parameters.ParamByName("I").Value = i;
            q.ExecSQL();
        }
    }
    QByteArray bytes = ReadAll(path);
    ASSERT_GT(bytes.size(), 4096 * 3);
    // Scribble over the header of every page but the first (the schema stays readable).
    for (int page = 1; page * 4096 < bytes.size(); ++page)
        for (int i = 0; i < 12; ++i)
            bytes[page * 4096 + i] = char(0xA5);
    WriteAll(path, bytes);
    QString findings;
    EXPECT_FALSE(CheckDatabase(path, &findings));
    EXPECT_NE(findings, "ok");
    EXPECT_FALSE(CheckDatabase(dir.filePath("absent.mdb")));
}

} // namespace
