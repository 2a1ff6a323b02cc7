// The listing without a window: enumeration, filters, kinds, details.

#include "browser/Listing.h"
#include "platform/shell/FileName.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Write(const QString& path, qint64 size = 0)
{
    const int fd = ::open(EncodeFileName(path).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.toStdString();
    if (size > 0) {
        ASSERT_EQ(::ftruncate(fd, size), 0);
    }
    ::close(fd);
}

class ListingTest : public testing::Test {
protected:
    QTemporaryDir tmp;
    QString dir = QDir::cleanPath(tmp.path());
    TListing listing;

    void List(const QString& path) { listing.Browse(IdListOfPath(path)); }
    std::vector<QString> ShownNames()
    {
        std::vector<QString> names;
        for (const TShellItem& e : listing.FShownItems)
            names.push_back(e.DisplayName);
        return names;
    }
    int Find(const QString& name)
    {
        for (int i = 0; i < listing.ShownCount(); ++i)
            if (listing.ShownItem(i)->DisplayName == name)
                return i;
        return -1;
    }
};

}  // namespace

TEST_F(ListingTest, DefaultFiltersShowFoldersMoviesApplications)
{
    Write(dir + "/a.swf");
    Write(dir + "/b.exe");
    Write(dir + "/c.txt");
    Write(dir + "/.d.swf");
    ASSERT_TRUE(QDir(dir).mkdir("sub"));
    List(dir);

    EXPECT_EQ(ShownNames(), (std::vector<QString>{"sub", "a.swf", "b.exe"}));
    EXPECT_EQ(listing.StatusText(), " Total 3 file(s), 2 filtered");
    EXPECT_EQ(listing.AllCount(), 5) << "hidden entries are always enumerated";
    EXPECT_EQ(listing.FFolderPath, dir + "/");
    EXPECT_EQ(listing.FResultFolders, QStringList{dir + "/"});

    const TShellItem* a = listing.ShownItem(1);
    EXPECT_EQ(a->Path, dir + "/a.swf");
    EXPECT_EQ(a->FullPIDL, IdListOfPath(dir + "/a.swf"));
    EXPECT_EQ(a->RelPIDL, TItemIdList::Of("a.swf"));
    EXPECT_TRUE(a->DetailsPending);
    EXPECT_TRUE(a->HeaderPending);
    EXPECT_EQ(a->ThumbIndex, -1);
    EXPECT_GE(a->IconIndex, 0);
    EXPECT_EQ(listing.ShownItem(3), nullptr);
    EXPECT_EQ(listing.ShownItem(-1), nullptr);
    EXPECT_EQ(listing.AllItem(5), nullptr);

    bool hiddenSeen = false;
    for (const TShellItem& e : listing.FAllItems)
        if (e.DisplayName == ".d.swf")
            hiddenSeen = e.IsHidden;
    EXPECT_TRUE(hiddenSeen);
}

TEST_F(ListingTest, KindsAndFilters)
{
    struct Case {
        const char* path;
        bool isFolder, isHidden;
        bool shownByDefault;
    } cases[] = {
        {"/m/CLIP.SWF", false, false, true},
        {"/m/clip.swf.txt", false, false, false},
        {"/m/x.swf", true, false, true},     // a folder named like a movie is a folder
        {"/m/RUN.Exe", false, false, true},
        {"swf", false, false, false},        // three characters: never a movie
        {"exe", false, false, false},
        {".swf", false, true, false},        // hidden movie: off by default
        {"/m/.hidden", true, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listing.PassesFilters(c.path, c.isFolder, c.isHidden), c.shownByDefault) << c.path;
    EXPECT_TRUE(IsSwfName("CLIP.SWF"));
    EXPECT_FALSE(IsSwfName("clip.swf.txt"));
    EXPECT_FALSE(IsSwfName("swf"));
    EXPECT_TRUE(IsExeName("a.EXE"));

    // A hidden entry needs both its kind's switch and the hidden switch.
    listing.FShowHidden = true;
    EXPECT_TRUE(listing.PassesFilters(".swf", false, true));
    listing.FShowMovies = false;
    EXPECT_FALSE(listing.PassesFilters(".swf", false, true));
}

TEST_F(ListingTest, SizesDatesAndDetails)
{
    EXPECT_EQ(SizeInKBOf(0), 1);
    EXPECT_EQ(SizeInKBOf(1), 1);
    EXPECT_EQ(SizeInKBOf(1024), 1);
    EXPECT_EQ(SizeInKBOf(1025), 2);
    EXPECT_EQ(SizeInKBOf(0x100000000ull + 1025), 2) << "low 32 bits only";
    EXPECT_EQ(SizeInKBOf(0xFFFFFFFFull), 1) << "wraps in 32-bit arithmetic, then at least 1";
    EXPECT_EQ(DateTextOf(0), "");

    Write(dir + "/zero.swf", 0);
    Write(dir + "/k.swf", 1024);
    Write(dir + "/k1.swf", 1025);
    Write(dir + "/old.swf", 10);
    const struct timespec zero[2] = {{0, 0}, {0, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, EncodeFileName(dir + "/old.swf").constData(), zero, 0), 0);
    ASSERT_TRUE(QDir(dir).mkdir("folder"));
    List(dir);
    listing.LoadAllDetails();

    auto item = [&](const char* name) { return listing.ShownItem(Find(name)); };
    EXPECT_EQ(item("zero.swf")->SizeInKB, 1);
    EXPECT_EQ(item("k.swf")->SizeInKB, 1);
    EXPECT_EQ(item("k1.swf")->SizeInKB, 2);
    EXPECT_EQ(item("old.swf")->DateText, "") << "a zero time gives no date";
    EXPECT_EQ(item("k.swf")->TypeName, "Shockwave Flash file");
    EXPECT_EQ(item("k.swf")->Attributes & 0x30u, 0x20u);
    EXPECT_EQ(item("folder")->Attributes & 0x10u, 0x10u);
    EXPECT_FALSE(item("k.swf")->DetailsPending);

    // "mm/dd/yyyy hh:mm" in local time, with "/" whatever the locale.
    const QString date = item("k.swf")->DateText;
    EXPECT_TRUE(QRegularExpression("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$").match(date).hasMatch()) << date.toStdString();
    EXPECT_EQ(date, QDateTime::currentDateTime().toString("MM/dd/yyyy hh:mm").left(10) + date.mid(10));

    // Details are loaded into the shown copy only.
    for (const TShellItem& e : listing.FAllItems)
        EXPECT_TRUE(e.DetailsPending);
}

TEST_F(ListingTest, BadNamesAndVanishingFiles)
{
    const QString raw = DecodeFileName(QByteArray("bad\xff\xfe.swf"));
    Write(dir + "/" + raw, 3000);
    const QString longName = QString(251, QLatin1Char('x')) + ".swf";   // 255 bytes, the limit
    Write(dir + "/" + longName);
    ASSERT_EQ(::symlink("nowhere.swf", EncodeFileName(dir + "/broken.swf").constData()), 0);
    Write(dir + "/gone.swf");
    List(dir);
    ASSERT_EQ(listing.ShownCount(), 4);

    ::unlink(EncodeFileName(dir + "/gone.swf").constData());
    listing.LoadAllDetails();

    const TShellItem* bad = listing.ShownItem(Find("bad\uFFFD\uFFFD.swf"));
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(EncodeFileName(bad->Path), QByteArray(EncodeFileName(dir)) + "/bad\xff\xfe.swf") << "path keeps the bytes";
    EXPECT_EQ(bad->SizeInKB, 3) << "details found through the raw path";
    EXPECT_NE(Find(longName), -1);
    const TShellItem* broken = listing.ShownItem(Find("broken.swf"));
    ASSERT_NE(broken, nullptr);
    EXPECT_FALSE(broken->IsFolder);
    EXPECT_EQ(broken->Attributes & 0x04u, 0x04u);
    const TShellItem* gone = listing.ShownItem(Find("gone.swf"));
    EXPECT_EQ(gone->SizeInKB, 1);
    EXPECT_EQ(gone->DateText, "");
    EXPECT_EQ(gone->Attributes, 0u);

    // A folder with a raw name can be entered too.
    const QString rawDir = DecodeFileName(QByteArray("d\xff"));
    ASSERT_EQ(::mkdir(EncodeFileName(dir + "/" + rawDir).constData(), 0755), 0);
    Write(dir + "/" + rawDir + "/in.swf");
    List(dir + "/" + rawDir);
    EXPECT_EQ(ShownNames(), std::vector<QString>{"in.swf"});
}

TEST_F(ListingTest, FailuresKeepThePreviousListing)
{
    Write(dir + "/a.swf");
    ASSERT_TRUE(QDir(dir).mkdir("locked"));
    ASSERT_TRUE(QDir(dir).mkdir("deleted"));
    List(dir);
    const TItemIdList listed = listing.FCurrentPIDL;

    // Cannot be bound: nothing changes.
    EXPECT_THROW(List(dir + "/a.swf"), TShellError);
    EXPECT_THROW(listing.Browse(IdListOfPath(dir).Child("missing")), TShellError);
    EXPECT_EQ(listing.FCurrentPIDL, listed);
    EXPECT_EQ(listing.ShownCount(), 3);

    // Bound, then gone before it is read.
    const TItemIdList deleted = IdListOfPath(dir + "/deleted");
    const ShellFolderPtr folder = listing.FDesktopFolder->BindToObject(deleted);
    ASSERT_TRUE(QDir(dir).rmdir("deleted"));
    EXPECT_THROW(listing.BrowseBound(deleted, folder), TShellError);
    EXPECT_EQ(listing.ShownCount(), 3);
    EXPECT_EQ(listing.FFolderPath, dir + "/");
    EXPECT_EQ(listing.FCurrentPIDL, listed);

    if (geteuid() != 0) {   // root reads everything
        ::chmod(EncodeFileName(dir + "/locked").constData(), 0);
        try {
            List(dir + "/locked");
            ADD_FAILURE() << "an unreadable folder listed";
        } catch (const TShellError& e) {
            EXPECT_NE(QString(e.what()).indexOf("Permission denied"), -1) << e.what();
        }
        ::chmod(EncodeFileName(dir + "/locked").constData(), 0755);
        EXPECT_EQ(listing.ShownCount(), 3);
    }

    // An empty folder.
    ASSERT_TRUE(QDir(dir).mkdir("empty"));
    List(dir + "/empty");
    EXPECT_EQ(listing.StatusText(), " Total 0 file(s), 0 filtered");
}

TEST_F(ListingTest, MyComputerAtTheTop)
{
    listing.Browse(MyComputerIdList());
    ASSERT_GE(listing.ShownCount(), 2);
    EXPECT_EQ(listing.ShownItem(0)->Path, "/");
    EXPECT_EQ(listing.ShownItem(1)->Path, QDir::cleanPath(QDir::homePath()));
    EXPECT_TRUE(listing.ShownItem(0)->IsFolder);
    EXPECT_EQ(listing.CurrentParsingName(), MyComputerClassId);
    // Entering a child gives the path's own list.
    listing.Browse(listing.ShownItem(0)->FullPIDL);
    EXPECT_EQ(listing.FFolderPath, "/");
}
