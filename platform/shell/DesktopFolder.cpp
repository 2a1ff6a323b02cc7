#include "platform/shell/DesktopFolder.h"

#include "platform/shell/FileName.h"
#include "platform/shell/FileSystemFolder.h"
#include "platform/shell/MyComputerFolder.h"
#include "platform/shell/ShellIcons.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool IsVirtualId(const QString& id)
{
    return id == MyComputerClassId || id == MyDocumentsClassId;
}

int VirtualRank(const QString& id)
{
    return id == MyComputerClassId ? 0 : id == MyDocumentsClassId ? 1 : 2;
}

}  // namespace

TDesktopFolder::TDesktopFolder() : ShellFolder(TItemIdList()) {}

QString TDesktopFolder::DesktopPath()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

QString TDesktopFolder::DocumentsPath()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QDir(docs).exists())
        return QDir::cleanPath(docs);
    return HomePath();
}

QString TDesktopFolder::FileSystemPath() const
{
    return DesktopPath();
}

std::shared_ptr<TFileSystemFolder> TDesktopFolder::DesktopFiles() const
{
    // Where there is no desktop folder of its own, XDG points it at home; home is
    // not shown spread over the desktop.
    const QString path = DesktopPath();
    if (path.isEmpty() || path == HomePath() || !QDir(path).exists())
        return nullptr;
    return std::make_shared<TFileSystemFolder>(TItemIdList(), path);
}

std::vector<TEnumItem> TDesktopFolder::EnumObjects(uint32_t flags) const
{
    std::vector<TEnumItem> items;
    if (flags & SHCONTF_FOLDERS) {
        for (const QString& id : {MyComputerClassId, MyDocumentsClassId}) {
            TEnumItem item;
            item.id = id;
            item.isFolder = true;
            items.push_back(item);
        }
    }
    if (const auto files = DesktopFiles()) {
        try {
            for (TEnumItem& item : files->EnumObjects(flags))
                items.push_back(std::move(item));
        } catch (const TShellError&) {
            // An unreadable desktop folder still leaves the virtual entries.
        }
    }
    return items;
}

ShellFolderPtr TDesktopFolder::BindToChild(const QString& id) const
{
    if (id == MyComputerClassId)
        return std::make_shared<TMyComputerFolder>();
    if (id == MyDocumentsClassId)
        return TFileSystemFolder::Open(TItemIdList::Of(id), DocumentsPath());
    return TFileSystemFolder::Open(TItemIdList::Of(id), DesktopPath() + QLatin1Char('/') + id);
}

QString TDesktopFolder::ChildDisplayName(const QString& id, uint32_t flags) const
{
    if (IsVirtualId(id)) {
        if (flags & SHGDN_FORPARSING)
            return id;
        return id == MyComputerClassId ? QStringLiteral("My Computer") : QStringLiteral("My Documents");
    }
    if (flags & SHGDN_FORPARSING)
        return DesktopPath() + QLatin1Char('/') + id;
    return DisplayFileName(id);
}

uint32_t TDesktopFolder::ChildAttributes(const QString& id) const
{
    if (IsVirtualId(id))
        return SFGAO_FOLDER;
    return TFileSystemFolder(TItemIdList(), DesktopPath()).ChildAttributes(id);
}

bool TDesktopFolder::ChildFindData(const QString& id, TFindData& out) const
{
    if (IsVirtualId(id)) {
        out = TFindData();
        return false;
    }
    return TFileSystemFolder(TItemIdList(), DesktopPath()).ChildFindData(id, out);
}

int TDesktopFolder::CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const
{
    const int ra = VirtualRank(a), rb = VirtualRank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    if (ra < 2)
        return 0;
    return TFileSystemFolder(TItemIdList(), DesktopPath()).CompareChildren(a, aFolder, b, bFolder);
}

int TDesktopFolder::ChildIconIndex(const QString& id, bool isFolder, bool open) const
{
    TShellIcons& icons = TShellIcons::Instance();
    if (id == MyComputerClassId)
        return icons.ComputerIcon();
    if (id == MyDocumentsClassId)
        return icons.DocumentsIcon();
    return TFileSystemFolder(TItemIdList(), DesktopPath()).ChildIconIndex(id, isFolder, open);
}

QString TDesktopFolder::ChildTypeName(const QString& id, bool isFolder) const
{
    if (id == MyComputerClassId)
        return QStringLiteral("System Folder");
    if (id == MyDocumentsClassId)
        return TShellIcons::Instance().FolderTypeName();
    return TFileSystemFolder(TItemIdList(), DesktopPath()).ChildTypeName(id, isFolder);
}

TItemIdList TDesktopFolder::ParseDisplayName(const QString& text) const
{
    if (text == MyComputerClassId || text.compare(MyComputerClassId, Qt::CaseInsensitive) == 0)
        return MyComputerIdList();
    if (text.compare(MyDocumentsClassId, Qt::CaseInsensitive) == 0)
        return TItemIdList::Of(MyDocumentsClassId);

    QString path = text;
    if (path == QLatin1String("~"))
        path = HomePath();
    else if (path.startsWith(QLatin1String("~/")))
        path = HomePath() + path.mid(1);
    if (!path.startsWith(QLatin1Char('/')))
        ThrowSystemError(QStringLiteral("Cannot find"), text, ENOENT);
    path = QDir::cleanPath(path);

    struct stat st;
    if (::lstat(EncodeFileName(path).constData(), &st) != 0)
        ThrowSystemError(QStringLiteral("Cannot find"), text, errno);
    return IdListOfPath(path);
}
