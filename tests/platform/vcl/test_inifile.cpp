// The INI reader and writer: reading rules, unknown content kept, atomic replacement.
#include "platform/vcl/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

namespace {

class IniFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("test.ini"));

    void Write(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read()
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

struct IntCase {
    const char* value;
    int expected;
};

TEST(IniFileParse, IntegerRules)
{
    const IntCase cases[] = {
        {"42", 42}, {"-7", -7}, {" 12 ", 12}, {"+5", 5}, {"0x1F4", 500}, {"0X10", 16},
        {"0xFFFFFFFF", -1}, {"0x100000000", 99}, {"0x", 99}, {"0xZZ", 99}, {"abc", 99},
        {"", 99}, {"12abc", 99}, {"2147483648", 99}, {"-2147483648", -2147483647 - 1},
        {"1.5", 99}, {"0x-5", 99},
    };
    for (const IntCase& c : cases)
        EXPECT_EQ(TIniFile::ParseInteger(QString::fromUtf8(c.value), 99), c.expected) << c.value;
}

TEST_F(IniFileTest, ReadsSectionsAndKeysWithoutRegardToCase)
{
    Write("; comment\n[General]\nLeft = 15\n[connection]\nPROXY=host.example\nBad line\n"
          "[General]\nLeft=99\nTop=4\n");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("general", "LEFT", 0), 15);        // the first section wins
    EXPECT_EQ(ini.ReadInteger("General", "Top", 3), 3);          // a later duplicate is not read
    EXPECT_EQ(ini.ReadString("Connection", "proxy", ""), "host.example");
    EXPECT_EQ(ini.ReadString("Connection", "Bad line", "def"), "def");
    EXPECT_EQ(ini.ReadString("Missing", "Left", "def"), "def");
}

TEST_F(IniFileTest, BooleansAreNonZeroIntegers)
{
    Write("[S]\nA=1\nB=0\nC=7\nD=yes\nE=0x0\nF=\n");
    const TIniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("S", "A", false));
    EXPECT_FALSE(ini.ReadBool("S", "B", true));
    EXPECT_TRUE(ini.ReadBool("S", "C", false));
    EXPECT_TRUE(ini.ReadBool("S", "D", true));    // not a number: the default
    EXPECT_FALSE(ini.ReadBool("S", "D", false));
    EXPECT_FALSE(ini.ReadBool("S", "E", true));
    EXPECT_TRUE(ini.ReadBool("S", "F", true));
    EXPECT_FALSE(ini.ReadBool("S", "Missing", false));
}

TEST_F(IniFileTest, TextsAreCutAt2047Characters)
{
    Write("[S]\nLong=" + QByteArray(5000, 'x') + "\n");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "Long", "").size(), 2047);
}

TEST_F(IniFileTest, WriterKeepsEverythingElseByteForByte)
{
    const QByteArray original =
        "; my notes\r\n[Other]\r\nKey With Spaces = keep me\r\n\xff\xfe raw bytes\r\n\r\n"
        "[General]\r\nleft=1\r\nUnknown=stays\r\n\r\n[Tail]\r\nx=y\r\n";
    Write(original);
    TIniFile ini(path);
    ini.WriteInteger("General", "Left", 20);       // existing key, other spelling
    ini.WriteInteger("General", "Top", 3);         // new key in an existing section
    ini.WriteString("Database", "Keep Days", "30"); // new section
    ini.UpdateFile();
    EXPECT_EQ(Read(),
              "; my notes\r\n[Other]\r\nKey With Spaces = keep me\r\n\xff\xfe raw bytes\r\n\r\n"
              "[General]\r\nleft=20\r\nUnknown=stays\r\nTop=3\r\n\r\n[Tail]\r\nx=y\r\n\r\n"
              "[Database]\r\nKeep Days=30\r\n");
}

TEST_F(IniFileTest, ValuesCannotAddLines)
{
    TIniFile ini(path);
    ini.WriteString("S", "Password", "a\r\n[Evil]\nLeft=1");
    ini.UpdateFile();
    const TIniFile back(path);
    EXPECT_EQ(back.Sections(), QStringList{"S"});
    EXPECT_EQ(back.Keys("S"), QStringList{"Password"});
    EXPECT_EQ(back.ReadString("S", "Password", ""), "a  [Evil] Left=1");
}

TEST_F(IniFileTest, GarbageFileReadsWithoutCrashAndKeepsItsBytes)
{
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char((i * 7919) % 256);
    garbage += "\n[General\n=\n==\n[]\n[General]\nWidth=abc\n";
    Write(garbage);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("General", "Width", 760), 760);
    ini.WriteInteger("General", "Width", 800);
    ini.UpdateFile();
    const QByteArray after = Read();
    EXPECT_TRUE(after.startsWith(garbage.left(20000)));
    EXPECT_EQ(TIniFile(path).ReadInteger("General", "Width", 0), 800);
}

TEST_F(IniFileTest, FailedWriteReportsThePathAndKeepsTheOldFile)
{
    Write("[S]\nA=1\n");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    TIniFile ini(path);
    ini.WriteInteger("S", "A", 2);
    try {
        ini.UpdateFile();
        // Running as root ignores the folder's permissions; nothing to check then.
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (geteuid() != 0)
            ADD_FAILURE() << "write into a read-only folder succeeded";
    } catch (const std::runtime_error& e) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to write to " + path);
        EXPECT_EQ(Read(), "[S]\nA=1\n");
    }
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails)
{
    TIniFile ini(dir.filePath("no/such/folder/x.ini"));
    ini.WriteInteger("S", "A", 1);
    try {
        ini.UpdateFile();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to write to " + dir.filePath("no/such/folder/x.ini"));
    }
}

TEST_F(IniFileTest, ReplacementLeavesNoTemporaryFiles)
{
    TIniFile ini(path);
    ini.WriteInteger("S", "A", 1);
    ini.UpdateFile();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

} // namespace
