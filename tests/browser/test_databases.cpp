// The browser's database files: opening (and making) them at start, the delete actions and
// Compact and Repair, including damaged files, read-only folders and a full disk.
#include "browser/Databases.h"
#include "database/Definitions.h"
#include "platform/db/CompactDatabase.h"
#include "platform/db/CreateDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int Count(TADOQuery& q, const QString& table)
{
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT count(*) AS N FROM " + table);
    q.Open();
    const int n = q.FieldByName("N").AsInteger();
    q.Close();
    return n;
}

void AddImages(TADOQuery& q, int count, int size)
{
    q.Connection().BeginTrans();   // one disk sync for the lot
    for (int i = 0; i < count; ++i) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM IMAGE_TABLE");
        q.Open();
        q.Append();
        q.FieldByName("IMAGE").SetAsBytes(QByteArray(size, char('a' + i % 26)));
        q.Post();
        const int id = q.FieldByName("IMAGE_ID").AsInteger();
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("INSERT INTO FILE_TABLE (PATH, NAME, MODI_TIME, IMAGE_ID) VALUES (:PathName, :FileName, :ModiTime, :ImageID)");
        q.Parameters.ParamByName("PathName").Value = QString("/movies/\"quoted\"/");
        q.Parameters.ParamByName("FileName").Value = QString("/movies/\"quoted\"/it's %1.swf").arg(i);
        q.Parameters.ParamByName("ModiTime").Value = 1000 + i;
        q.Parameters.ParamByName("ImageID").Value = id;
        try {
            q.ExecSQL();
        } catch (...) {
            q.Connection().RollbackTrans();
            throw;
        }
    }
    q.Connection().CommitTrans();
}

void AddHistoryRow(TADOQuery& q, const QString& url)
{
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("INSERT INTO WEB_TABLE (URL, TITLE, DATE, FLASH_PATH) VALUES (:Url, :Title, :Day, :Path)");
    q.Parameters.ParamByName("Url").Value = url;
    q.Parameters.ParamByName("Title").Value = QString("A \"title\"");
    q.Parameters.ParamByName("Day").Value = QString("2026-12-11");
    q.Parameters.ParamByName("Path").Value = QString("/dl/");
    q.ExecSQL();
}

// A folder the program cannot write to, also when the tests run as root (a read-only mount).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : FPath(path)
    {
        QDir().mkpath(path);
        const QByteArray native = QFile::encodeName(path);
        if (::geteuid() == 0) {
            if (::mount("tmpfs", native.constData(), "tmpfs", 0, "size=1m") == 0)
                FMounted = true;
        }
    }
    // Turns the folder read-only once its files are in place; false when that is not possible here.
    bool Seal()
    {
        const QByteArray native = QFile::encodeName(FPath);
        if (FMounted)
            return ::mount(nullptr, native.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        QFile::setPermissions(FPath, QFile::ReadOwner | QFile::ExeOwner);
        return ::access(native.constData(), W_OK) != 0;
    }
    ~ReadOnlyFolder()
    {
        const QByteArray native = QFile::encodeName(FPath);
        if (FMounted)
            ::umount2(native.constData(), MNT_DETACH);
        else
            QFile::setPermissions(FPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QString FPath;
    bool FMounted = false;
};

class DatabasesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        thumbPath = dir.filePath("Database/Thumb.mdb");
        libraryPath = dir.filePath("Database/mv160.mdb");
    }
    QTemporaryDir dir;
    QString thumbPath, libraryPath;
};

TEST_F(DatabasesTest, MissingFilesAreMadeAndExistingOnesKept)
{
    {
        TLibraryDatabases db;
        EXPECT_TRUE(db.OpenDatabases(thumbPath, libraryPath).isEmpty());
        ASSERT_TRUE(db.ADOConnection1.Connected());
        ASSERT_TRUE(db.ADOConnection2.Connected());
        EXPECT_EQ(Count(db.ADOQuery1, "IMAGE_TABLE"), 0);
        EXPECT_EQ(Count(db.ADOQuery2, "CAT_TABLE"), 0);
        AddImages(db.ADOQuery1, 2, 100);
        AddHistoryRow(db.ADOQuery2, "http://example.com/");
    }
    TLibraryDatabases again;
    EXPECT_TRUE(again.OpenDatabases(thumbPath, libraryPath).isEmpty());
    EXPECT_EQ(Count(again.ADOQuery1, "FILE_TABLE"), 2);
    EXPECT_EQ(Count(again.ADOQuery2, "WEB_TABLE"), 1);
}

TEST_F(DatabasesTest, AFileThatIsNotADatabaseIsReportedAndLeftAlone)
{
    QDir().mkpath(dir.filePath("Database"));
    const QByteArray junk = QByteArray("Standard Jet DB") + QByteArray(2048, '\x7f');
    {
        QFile f(libraryPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    TLibraryDatabases db;
    const QStringList errors = db.OpenDatabases(thumbPath, libraryPath);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("mv160.mdb")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("not a database")) << errors[0].toStdString();
    EXPECT_FALSE(db.ADOConnection2.Connected());
    EXPECT_EQ(ReadAll(libraryPath), junk);
    // The thumbnail side works, and using the broken side is an error, not a crash.
    ASSERT_TRUE(db.ADOConnection1.Connected());
    AddImages(db.ADOQuery1, 1, 10);
    EXPECT_THROW(DeleteHistory(db.ADOQuery2), EDatabaseError);
    // Compaction of the broken file keeps it and reports only the failed reopening.
    EXPECT_THROW(CompactAndRepair(db.ADOConnection2, libraryPath), EDatabaseError);
    EXPECT_EQ(ReadAll(libraryPath), junk);
    EXPECT_EQ(QDir(dir.filePath("Database")).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList({"Thumb.mdb", "mv160.mdb"}));
}

TEST_F(DatabasesTest, AMissingFileInAReadOnlyFolderIsReported)
{
    const QString folder = dir.filePath("Database");
    ReadOnlyFolder guard(folder);
    CreateDatabase(thumbPath, ThumbDatabaseDefinition());
    if (!guard.Seal())
        GTEST_SKIP() << "cannot make a read-only folder here";
    TLibraryDatabases db;
    const QStringList errors = db.OpenDatabases(thumbPath, libraryPath);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("mv160.mdb")) << errors[0].toStdString();
    EXPECT_TRUE(db.ADOConnection1.Connected());
    EXPECT_EQ(Count(db.ADOQuery1, "IMAGE_TABLE"), 0);
    // Compacting in a folder that takes no new file leaves the database as it is and open.
    const QByteArray before = ReadAll(thumbPath);
    EXPECT_FALSE(CompactAndRepair(db.ADOConnection1, thumbPath));
    EXPECT_TRUE(db.ADOConnection1.Connected());
    EXPECT_EQ(ReadAll(thumbPath), before);
    // Deleting fails with the engine's message; the rows (none here) stay readable.
    EXPECT_THROW(AddImages(db.ADOQuery1, 1, 10), EDatabaseError);
}

TEST_F(DatabasesTest, DeleteActionsEmptyOnlyTheirTables)
{
    TLibraryDatabases db;
    ASSERT_TRUE(db.OpenDatabases(thumbPath, libraryPath).isEmpty());
    AddImages(db.ADOQuery1, 3, 100);
    AddHistoryRow(db.ADOQuery2, "http://a/");
    AddHistoryRow(db.ADOQuery2, "http://b/");
    db.ADOQuery2.SQL.Clear();
    db.ADOQuery2.SQL.Add("INSERT INTO FAV_TABLE (FILE_NAME, ATT) VALUES ('/x.swf', 0)");
    db.ADOQuery2.ExecSQL();

    TADOQuery dialogQuery1(db.ADOConnection1), dialogQuery2(db.ADOConnection2);
    DeleteThumbnails(dialogQuery1);
    EXPECT_EQ(Count(db.ADOQuery1, "FILE_TABLE"), 0);
    EXPECT_EQ(Count(db.ADOQuery1, "IMAGE_TABLE"), 0);
    EXPECT_FALSE(dialogQuery1.Active());
    DeleteHistory(dialogQuery2);
    EXPECT_EQ(Count(db.ADOQuery2, "WEB_TABLE"), 0);
    EXPECT_EQ(Count(db.ADOQuery2, "FAV_TABLE"), 1);
}

class CompactTest : public DatabasesTest {
protected:
    void SetUp() override
    {
        DatabasesTest::SetUp();
        ASSERT_TRUE(db.OpenDatabases(thumbPath, libraryPath).isEmpty());
        AddImages(db.ADOQuery1, 60, 4000);
        // Deleted rows leave free pages for the compaction to drop.
        db.ADOQuery1.SQL.Clear();
        db.ADOQuery1.SQL.Add("DELETE FROM IMAGE_TABLE WHERE IMAGE_ID > 30");
        db.ADOQuery1.ExecSQL();
        db.ADOQuery1.SQL.Clear();
        db.ADOQuery1.SQL.Add("DELETE FROM FILE_TABLE WHERE IMAGE_ID > 30");
        db.ADOQuery1.ExecSQL();
        db.ADOQuery1.Close();
    }

    // Every row as text, to compare before and after.
    QStringList Rows()
    {
        QStringList rows;
        TADOQuery& q = db.ADOQuery1;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT FILE_TABLE.NAME, FILE_TABLE.MODI_TIME, IMAGE_TABLE.IMAGE_ID, IMAGE_TABLE.IMAGE FROM FILE_TABLE, IMAGE_TABLE");
        q.SQL.Add("WHERE FILE_TABLE.IMAGE_ID=IMAGE_TABLE.IMAGE_ID ORDER BY IMAGE_TABLE.IMAGE_ID");
        for (q.Open(); !q.Eof(); q.Next())
            rows << q.FieldByName("NAME").AsString() + "|" + q.FieldByName("MODI_TIME").AsString() + "|"
                        + q.FieldByName("IMAGE_ID").AsString() + "|" + QString::number(qHash(q.FieldByName("IMAGE").AsBytes()));
        q.Close();
        return rows;
    }

    QStringList FolderFiles() { return QDir(dir.filePath("Database")).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    TLibraryDatabases db;
};

TEST_F(CompactTest, KeepsEveryRowAndShrinksTheFile)
{
    const QStringList before = Rows();
    ASSERT_EQ(before.size(), 30);
    const qint64 sizeBefore = QFileInfo(thumbPath).size();
    QFile::setPermissions(thumbPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(thumbPath);

    // Compaction must not depend on the current folder (nor write into it).
    QTemporaryDir elsewhere;
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const bool replaced = CompactAndRepair(db.ADOConnection1, thumbPath);
    QDir::setCurrent(oldCwd);

    EXPECT_TRUE(replaced);
    EXPECT_TRUE(db.ADOConnection1.Connected());
    EXPECT_LT(QFileInfo(thumbPath).size(), sizeBefore);
    EXPECT_EQ(Rows(), before);
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    EXPECT_EQ(FolderFiles(), QStringList({"Thumb.mdb", "mv160.mdb"}));
    EXPECT_EQ(QFile::permissions(thumbPath), permissions);
    AddImages(db.ADOQuery1, 1, 10);   // writable again
    EXPECT_EQ(Rows().size(), 31);
    EXPECT_TRUE(CompactAndRepair(db.ADOConnection2, libraryPath));
}

TEST_F(CompactTest, LeftoverTemporaryFilesDoNotBlock)
{
    const QStringList before = Rows();
    for (const QString& name : {"Thumb.mdb.compact-AAAAAA", "Thumb.mdb.compact-stale"}) {
        QFile f(dir.filePath("Database/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half a copy from a crashed run");
    }
    QFile temp(QDir::current().filePath("temp.mdb"));   // the name older versions used
    const bool madeTemp = !temp.exists() && temp.open(QIODevice::WriteOnly);
    EXPECT_TRUE(CompactAndRepair(db.ADOConnection1, thumbPath));
    EXPECT_TRUE(CompactAndRepair(db.ADOConnection1, thumbPath));
    if (madeTemp)
        temp.remove();
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(FolderFiles(), QStringList({"Thumb.mdb", "mv160.mdb"}));
}

TEST_F(CompactTest, AFailingStepKeepsTheOriginal)
{
    const QByteArray original = ReadAll(thumbPath);
    const QStringList rows = Rows();
    db.ADOConnection1.Close();   // so the bytes compared are the settled file

    TCompactionSteps renameFails;
    renameFails.Replace = [](const QString&, const QString&) { return false; };

    TCompactionSteps copyDamaged;
    copyDamaged.Compact = [](const QString& source, const QString& copy) {
        CompactDatabase(source, copy);
        QFile f(copy);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        for (qint64 page = 1; page * 4096 < f.size(); ++page) {
            f.seek(page * 4096);
            f.write(QByteArray(12, char(0xA5)));
        }
    };

    TCompactionSteps copyFails;
    copyFails.Compact = [](const QString&, const QString&) { throw EDatabaseError("database or disk is full"); };

    const struct {
        const char* what;
        TCompactionSteps steps;
    } cases[] = {{"rename fails", renameFails}, {"copy fails its check", copyDamaged}, {"copy cannot be written", copyFails}};
    for (const auto& c : cases) {
        EXPECT_FALSE(CompactAndRepair(db.ADOConnection1, thumbPath, c.steps)) << c.what;
        EXPECT_TRUE(db.ADOConnection1.Connected()) << c.what;
        db.ADOConnection1.Close();
        EXPECT_EQ(ReadAll(thumbPath), original) << c.what;
        EXPECT_EQ(FolderFiles(), QStringList({"Thumb.mdb", "mv160.mdb"})) << c.what;
    }
    db.ADOConnection1.Open();
    EXPECT_EQ(Rows(), rows);
}

TEST_F(CompactTest, AFullDiskKeepsTheOriginal)
{
    const QStringList rows = Rows();
    const qint64 size = QFileInfo(thumbPath).size();
    db.ADOConnection1.Close();
    const QByteArray original = ReadAll(thumbPath);

    // A file size limit makes every write past it fail as on a full disk (EFBIG, not a signal).
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(size / 4);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool replaced = CompactAndRepair(db.ADOConnection1, thumbPath);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(replaced);
    EXPECT_TRUE(db.ADOConnection1.Connected());
    EXPECT_EQ(ReadAll(thumbPath), original);
    EXPECT_EQ(FolderFiles(), QStringList({"Thumb.mdb", "mv160.mdb"}));
    EXPECT_EQ(Rows(), rows);
}

} // namespace
