// The query layer over real database files made from the shipped definitions.
#include "database/Definitions.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/CreateDatabase.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class QueryTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        libraryPath = dir.filePath("mv160.mdb");
        thumbPath = dir.filePath("Thumb.mdb");
        CreateDatabase(libraryPath, LibraryDatabaseDefinition());
        CreateDatabase(thumbPath, ThumbDatabaseDefinition());
        library.Open(libraryPath);
        thumbs.Open(thumbPath);
    }

    int Count(TADOConnection& c, const QString& table)
    {
        TADOQuery q(c);
        q.SQL.Add("SELECT count(*) AS N FROM " + table);
        q.Open();
        return q.FieldByName("N").AsInteger();
    }

    QTemporaryDir dir;
    QString libraryPath, thumbPath;
    TADOConnection library, thumbs;
};

// Names that broke statements built by pasting values between quotes.
const QStringList HostileNames = {
    QStringLiteral("/home/ann/My \"best\" movies/intro.swf"),
    QStringLiteral("/home/ann/Bob's folder/it's.swf"),
    QStringLiteral("/tmp/\"'; DROP TABLE FAV_TABLE; --.swf"),
    QStringLiteral("/tmp/a:FileName:b \\ back\\slash.swf"),
    QStringLiteral("/tmp/Ünïcödé 動画 %20 ?x=1#y.swf"),
    QString(),   // empty text is a value too
};

TEST_F(QueryTest, HostileTextIsStoredAndFoundThroughParameters)
{
    TADOQuery q(library);
    for (const QString& name : HostileNames) {
        // Insert the way the favorites do: look the row up, append when absent.
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM FAV_TABLE");
        q.SQL.Add("WHERE FILE_NAME=:FileName");
        q.Parameters.ParamByName("FileName").Value = name;
        q.Open();
        ASSERT_TRUE(q.IsEmpty()) << name.toStdString();
        q.Append();
        q.FieldByName("FILE_NAME").SetAsString(name);
        q.FieldByName("ATT").SetAsInteger(0);
        q.Post();
        q.Close();

        // And the way the history and categories do: ExecSQL with named values.
        q.SQL.Clear();
        q.SQL.Add("INSERT INTO CAT_TABLE (CAT_NAME, FILE_NAME) VALUES (:CatName, :FileName)");
        q.Parameters.ParamByName("CatName").Value = name;
        q.Parameters.ParamByName("FileName").Value = name;
        EXPECT_EQ(q.ExecSQL(), 1);
    }
    EXPECT_EQ(Count(library, "FAV_TABLE"), HostileNames.size());   // the table survived every name

    for (const QString& name : HostileNames) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM FAV_TABLE");
        q.SQL.Add("WHERE FILE_NAME=:FileName");
        q.Parameters.ParamByName("FileName").Value = name;
        q.Open();
        ASSERT_FALSE(q.IsEmpty()) << name.toStdString();
        EXPECT_EQ(q.FieldByName("FILE_NAME").AsString(), name);
        q.Next();
        EXPECT_TRUE(q.Eof()) << "exactly one row for " << name.toStdString();

        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM CAT_TABLE WHERE CAT_NAME=:Name AND FILE_NAME=:Name");
        q.Parameters.ParamByName("Name").Value = name;
        q.Open();
        ASSERT_FALSE(q.IsEmpty()) << name.toStdString();
        EXPECT_EQ(q.FieldByName("CAT_NAME").AsString(), name);
    }
}

TEST_F(QueryTest, AppendedImageRowsGetIncreasingCountersAndKeepTheirBytes)
{
    QByteArray jpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 12);
    jpeg.append(QByteArray(3000, '\0'));
    jpeg.append("\xFF\xD9", 2);

    TADOQuery q(thumbs);
    int previous = 0;
    for (int i = 0; i < 3; ++i) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("SELECT * FROM IMAGE_TABLE");
        q.Open();
        q.Append();
        QBuffer in(&jpeg);
        in.open(QIODevice::ReadOnly);
        q.FieldByName("IMAGE").LoadFromStream(in);
        q.Post();
        const int id = q.FieldByName("IMAGE_ID").AsInteger();
        EXPECT_GT(id, previous);
        EXPECT_EQ(id, q.LastInsertId());
        previous = id;
    }
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT FILE_TABLE.NAME, IMAGE_TABLE.IMAGE FROM IMAGE_TABLE LEFT JOIN FILE_TABLE ON FILE_TABLE.IMAGE_ID=IMAGE_TABLE.IMAGE_ID");
    q.SQL.Add("WHERE IMAGE_TABLE.IMAGE_ID=:ImageID");
    q.Parameters.ParamByName("ImageID").Value = previous;
    q.Open();
    ASSERT_FALSE(q.IsEmpty());
    QByteArray out;
    QBuffer sink(&out);
    sink.open(QIODevice::WriteOnly);
    q.FieldByName("IMAGE").SaveToStream(sink);
    EXPECT_EQ(out, jpeg);
    EXPECT_TRUE(q.FieldByName("NAME").IsNull());
    EXPECT_THROW(q.Append(), EDatabaseError) << "a join has no single table to change";
}

TEST_F(QueryTest, WalkEditAndDeleteRows)
{
    TADOQuery q(library);
    for (const char* name : {"A", "B", "C", "D"}) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("INSERT INTO CAT_NAME_TABLE (CAT_NAME) VALUES (:N)");
        q.Parameters.ParamByName("N").Value = QString::fromLatin1(name);
        q.ExecSQL();
    }
    q.SQL.Clear();
    EXPECT_TRUE(q.IsEmpty()) << "closed counts as empty";
    EXPECT_TRUE(q.Eof());
    q.SQL.Add("SELECT * FROM CAT_NAME_TABLE ORDER BY CAT_NAME");
    q.Open();
    QStringList seen;
    for (; !q.Eof(); q.Next())
        seen << q.FieldByName("cat_name").AsString();   // names compare without case
    EXPECT_EQ(seen, QStringList({"A", "B", "C", "D"}));

    q.First();
    q.Next();   // on B
    q.Edit();
    q.FieldByName("CAT_NAME").SetAsString("B2");
    q.Post();
    EXPECT_EQ(q.FieldByName("CAT_NAME").AsString(), "B2");
    q.Next();   // on C
    q.Delete();
    EXPECT_EQ(q.FieldByName("CAT_NAME").AsString(), "D") << "Delete stands on the next row";
    q.Delete();
    EXPECT_TRUE(q.Eof());

    q.Close();
    q.Open();   // same statement again
    seen.clear();
    for (; !q.Eof(); q.Next())
        seen << q.FieldByName("CAT_NAME").AsString();
    EXPECT_EQ(seen, QStringList({"A", "B2"}));

    // The favourites' delete loop: delete, close, run again until no row is left.
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT * FROM CAT_NAME_TABLE");
    for (q.Open(); !q.IsEmpty(); q.Open()) {
        q.Delete();
        q.Close();
    }
    EXPECT_EQ(Count(library, "CAT_NAME_TABLE"), 0);
}

TEST_F(QueryTest, MistakesAreReportedNotGuessed)
{
    TADOQuery q(library);
    q.SQL.Add("SELECT * FROM FAV_TABLE WHERE FILE_NAME=:FileName");
    EXPECT_THROW(q.Parameters.ParamByName("Other"), EDatabaseError);
    EXPECT_THROW(q.Open(), EDatabaseError) << "a parameter without a value";
    q.Parameters.ParamByName("FileName").Value = QString("x");
    q.Open();
    EXPECT_THROW(q.FieldByName("NOPE"), EDatabaseError);
    EXPECT_THROW(q.FieldByName("ATT").SetAsInteger(1), EDatabaseError) << "not in edit mode";
    EXPECT_THROW(q.Edit(), EDatabaseError) << "no current row";
    EXPECT_THROW(q.Delete(), EDatabaseError) << "no current row";

    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT * FROM NO_SUCH_TABLE");
    try {
        q.Open();
        FAIL() << "opened a missing table";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("no such table"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(q.Active());

    // A new statement forgets the old values.
    q.SQL.Clear();
    q.SQL.Add("DELETE FROM FAV_TABLE WHERE FILE_NAME=:FileName");
    EXPECT_THROW(q.ExecSQL(), EDatabaseError);
}

TEST(QueryParameters, NamesOutsideQuotesAndComments)
{
    const struct {
        const char* statement;
        QStringList names;
    } cases[] = {
        {"INSERT INTO FILE_TABLE (PATH, NAME, MODI_TIME, IMAGE_ID) VALUES (:PathName, :FileName, :ModiTime, :ImageID)",
         {"PathName", "FileName", "ModiTime", "ImageID"}},
        {"SELECT * FROM T WHERE A=':NotMe' AND B=\":NorMe\" AND C=:Me", {"Me"}},
        {"SELECT * FROM T WHERE A='it''s :x' AND B=:y -- :comment\nAND C=:z /* :block */", {"y", "z"}},
        {"SELECT * FROM T WHERE A=:a AND B=:a", {"a", "a"}},
        {"SELECT '12:30' AS t", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TADOQuery::ParameterNames(QString::fromUtf8(c.statement)), c.names) << c.statement;
}

TEST_F(QueryTest, ClosingTheConnectionClosesItsQueries)
{
    TADOQuery q(library);
    q.SQL.Add("SELECT * FROM FAV_TABLE");
    q.Open();
    library.Close();
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_THROW(q.Open(), EDatabaseError) << "no connection";
    library.Open();
    q.Open();
    EXPECT_TRUE(q.Active());
}

TEST_F(QueryTest, TransactionRollsBackBothDeletes)
{
    TADOQuery q(thumbs);
    q.SQL.Add("INSERT INTO FILE_TABLE (PATH, NAME, MODI_TIME, IMAGE_ID) VALUES ('/a/', '/a/b.swf', 1, 1)");
    q.ExecSQL();
    thumbs.BeginTrans();
    q.SQL.Clear();
    q.SQL.Add("DELETE FROM FILE_TABLE");
    q.ExecSQL();
    thumbs.RollbackTrans();
    EXPECT_EQ(Count(thumbs, "FILE_TABLE"), 1);
}

} // namespace
