// The shell layer: item id lists, raw file names, the namespace's folders.

#include "platform/shell/FileName.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/MyComputerFolder.h"
#include "platform/shell/ShellFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Touch(const QString& path)
{
    const int fd = ::open(EncodeFileName(path).constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0) << path.toStdString();
    ::close(fd);
}

}  // namespace

TEST(ItemIdList, Helpers)
{
    const TItemIdList a({"::{x}", "/"});
    const TItemIdList b({"abc"});
    // 2 + (2 + 5) + (2 + 1) for a; b adds 2 + 3.
    EXPECT_EQ(a.Size(), 12);
    EXPECT_EQ(a.Concat(b).Size(), 17);
    EXPECT_EQ(ItemIdListSize(nullptr), 0);
    EXPECT_EQ(TItemIdList().Size(), 2);

    EXPECT_EQ(TItemIdList::Concat(nullptr, b), b);
    EXPECT_EQ(a.Concat(b).ids, (std::vector<QString>{"::{x}", "/", "abc"}));

    TItemIdList c = a.Clone();
    c.RemoveLast();
    EXPECT_EQ(c.ids, std::vector<QString>{"::{x}"});
    EXPECT_EQ(a.Count(), 2) << "a clone is independent";
    c.RemoveLast();
    c.RemoveLast();
    EXPECT_TRUE(c.IsEmpty()) << "an empty list stays empty";

    // Stored in a combo box's item data and read back.
    EXPECT_EQ(QVariant::fromValue(a).value<TItemIdList>(), a);
}

TEST(FileName, RawBytesRoundTrip)
{
    const QByteArray cases[] = {
        QByteArray("plain.swf"),
        QByteArray("caf\xc3\xa9.swf"),            // valid UTF-8
        QByteArray("bad\xff\xfe.swf"),            // invalid bytes
        QByteArray("half\xc3"),                   // truncated sequence
        QByteArray("\xed\xa0\x80surrogate"),      // encoded surrogate is invalid UTF-8
        QByteArray("\xf0\x90\x82\x80pair"),       // U+10080: a pair whose low half looks like a kept byte
        QByteArray("repl\xef\xbf\xbd"),           // a real U+FFFD
    };
    for (const QByteArray& raw : cases) {
        const QString name = DecodeFileName(raw);
        EXPECT_EQ(EncodeFileName(name), raw) << raw.toHex().toStdString();
        EXPECT_EQ(ToFsPath(name).native(), raw.toStdString());
    }
    EXPECT_EQ(DisplayFileName(DecodeFileName("bad\xff.swf")), QString("bad\uFFFD.swf"));
    EXPECT_EQ(DisplayFileName(DecodeFileName("\xf0\x90\x82\x80")), QString::fromUtf8("\xf0\x90\x82\x80"));
}

TEST(ShellNamespace, MyComputerChildren)
{
    const ShellFolderPtr desktop = DesktopFolder();
    EXPECT_EQ(DisplayNameOf(*desktop, MyComputerIdList(), false), "My Computer");
    EXPECT_EQ(DisplayNameOf(*desktop, MyComputerIdList(), true), MyComputerClassId);

    const ShellFolderPtr computer = desktop->BindToObject(MyComputerIdList());
    const auto children = computer->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    ASSERT_GE(children.size(), 2u);
    EXPECT_EQ(children[0].id, "/");
    EXPECT_EQ(children[1].id, QDir::cleanPath(QDir::homePath()));
    for (const TEnumItem& child : children) {
        EXPECT_TRUE(child.isFolder);
        EXPECT_EQ(computer->ChildDisplayName(child.id, SHGDN_FORPARSING), child.id);
        // Sandbox pseudo mounts (proc, tmpfs, cgroups) are no drives.
        EXPECT_FALSE(child.id.startsWith("/proc") || child.id.startsWith("/sys") || child.id.startsWith("/dev"))
            << child.id.toStdString();
        const ShellFolderPtr bound = computer->BindToObject(TItemIdList::Of(child.id));
        EXPECT_EQ(bound->FileSystemPath(), child.id);
    }
    EXPECT_EQ(computer->ChildDisplayName("/", SHGDN_NORMAL), "File System");
}

TEST(ShellNamespace, ParseAndBindPaths)
{
    QTemporaryDir tmp;
    const QString dir = QDir::cleanPath(tmp.path());
    ASSERT_TRUE(QDir(dir).mkdir("sub"));
    Touch(dir + "/sub/file.swf");

    const ShellFolderPtr desktop = DesktopFolder();
    const TItemIdList list = desktop->ParseDisplayName(dir + "/sub/");
    EXPECT_EQ(list.First(), MyComputerClassId);
    EXPECT_EQ(list.Last(), "sub");
    EXPECT_EQ(DisplayNameOf(*desktop, list, true), dir + "/sub");
    EXPECT_EQ(desktop->BindToObject(list)->FileSystemPath(), dir + "/sub");

    EXPECT_EQ(desktop->ParseDisplayName("~"), IdListOfPath(QDir::cleanPath(QDir::homePath())));
    EXPECT_EQ(desktop->ParseDisplayName(MyComputerClassId), MyComputerIdList());

    // Errors carry the path and the system's text.
    try {
        desktop->ParseDisplayName(dir + "/missing");
        ADD_FAILURE() << "no error for a missing path";
    } catch (const TShellError& e) {
        EXPECT_NE(QString(e.what()).indexOf("missing"), -1) << e.what();
        EXPECT_NE(QString(e.what()).indexOf("No such file"), -1) << e.what();
    }
    EXPECT_THROW(desktop->ParseDisplayName("relative/path"), TShellError);
    EXPECT_THROW(desktop->BindToObject(list.Child("file.swf")), TShellError) << "a file is no folder";
    EXPECT_THROW(desktop->BindToObject(list.Child("gone")), TShellError);
}

TEST(ShellNamespace, AttributesOrderAndNames)
{
    QTemporaryDir tmp;
    const QString dir = QDir::cleanPath(tmp.path());
    ASSERT_TRUE(QDir(dir).mkdir("folder10"));
    ASSERT_TRUE(QDir(dir).mkdir("Folder9"));
    Touch(dir + "/file10.txt");
    Touch(dir + "/File9.txt");
    Touch(dir + "/.hidden");
    ASSERT_EQ(::symlink("nowhere", EncodeFileName(dir + "/dangling").constData()), 0);
    Touch(dir + "/readonly");
    ::chmod(EncodeFileName(dir + "/readonly").constData(), 0444);

    const ShellFolderPtr folder = DesktopFolder()->BindToObject(IdListOfPath(dir));
    const auto all = folder->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    EXPECT_EQ(all.size(), 7u);
    EXPECT_EQ(folder->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 6u) << "hidden only when asked";
    EXPECT_EQ(folder->EnumObjects(SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN).size(), 2u);

    auto attributes = [&](const QString& id) {
        TFindData find;
        EXPECT_TRUE(folder->GetDataFromIDList(TItemIdList::Of(id), find)) << id.toStdString();
        return find.dwFileAttributes;
    };
    EXPECT_EQ(attributes("folder10"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(attributes("file10.txt"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(attributes(".hidden"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(attributes("dangling") & ~FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_SYSTEM);
    if (geteuid() != 0)
        EXPECT_EQ(attributes("readonly"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(folder->GetAttributesOf(TItemIdList::Of("folder10"), SFGAO_FOLDER), SFGAO_FOLDER);
    EXPECT_EQ(folder->GetAttributesOf(TItemIdList::Of("dangling"), SFGAO_FOLDER), 0u);

    // Folders first, then natural case-insensitive names.
    std::vector<QString> ids;
    for (const auto& c : all)
        ids.push_back(c.id);
    std::sort(ids.begin(), ids.end(), [&](const QString& a, const QString& b) {
        return folder->CompareIDs(0, TItemIdList::Of(a), TItemIdList::Of(b)) < 0;
    });
    EXPECT_EQ(ids, (std::vector<QString>{"Folder9", "folder10", ".hidden", "dangling", "File9.txt", "file10.txt",
                                         "readonly"}));
    EXPECT_EQ(folder->ChildTypeName("x.swf", false), "Shockwave Flash file");
}
