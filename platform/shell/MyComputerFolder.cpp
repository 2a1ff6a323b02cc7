#include "platform/shell/MyComputerFolder.h"

#include "platform/shell/FileName.h"
#include "platform/shell/FileSystemFolder.h"
#include "platform/shell/ShellIcons.h"

#include <QDir>
#include <QStorageInfo>

#include <sys/stat.h>

namespace {

// Mounts of real devices that are not places for the user's files.
bool IsSystemMount(const QString& root)
{
    static const char* const prefixes[] = {"/boot", "/proc", "/sys", "/dev", "/snap", "/var/snap", "/run"};
    if (root.startsWith(QLatin1String("/run/media/")))
        return false;
    for (const char* p : prefixes) {
        const QLatin1String prefix(p);
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool IsFolderPath(const QString& path)
{
    struct stat st;
    return ::stat(EncodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRemovableMount(const QString& root)
{
    return root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"));
}

}  // namespace

QString HomePath()
{
    return QDir::cleanPath(QDir::homePath());
}

std::vector<QString> MyComputerRoots()
{
    std::vector<QString> roots{QStringLiteral("/")};
    const QString home = HomePath();
    if (home != QLatin1String("/"))
        roots.push_back(home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QByteArray device = volume.device();
        // Sandboxes and containers mount pseudo and bind file systems everywhere; only
        // a block device is a volume the user would call a drive.
        if (!device.startsWith("/dev/") || device.startsWith("/dev/loop"))
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (IsSystemMount(root) || std::find(roots.begin(), roots.end(), root) != roots.end())
            continue;
        if (IsFolderPath(root))
            roots.push_back(root);
    }
    return roots;
}

TMyComputerFolder::TMyComputerFolder() : ShellFolder(MyComputerIdList()) {}

std::vector<TEnumItem> TMyComputerFolder::EnumObjects(uint32_t flags) const
{
    std::vector<TEnumItem> items;
    if (!(flags & SHCONTF_FOLDERS))
        return items;
    for (const QString& root : MyComputerRoots()) {
        TEnumItem item;
        item.id = root;
        item.isFolder = true;
        item.hasFindData = FindDataOfPath(EncodeFileName(root), root, item.findData);
        items.push_back(item);
    }
    return items;
}

ShellFolderPtr TMyComputerFolder::BindToChild(const QString& id) const
{
    if (!id.startsWith(QLatin1Char('/')))
        ThrowSystemError(QStringLiteral("Cannot open the folder"), id, ENOENT);
    return TFileSystemFolder::Open(IdList().Child(id), id);
}

QString TMyComputerFolder::ChildDisplayName(const QString& id, uint32_t flags) const
{
    if (flags & SHGDN_FORPARSING)
        return id;
    if (id == QLatin1String("/"))
        return QStringLiteral("File System");
    if (id == HomePath())
        return QStringLiteral("Home");
    const QString name = DisplayFileName(id.section(QLatin1Char('/'), -1));
    return name.isEmpty() ? DisplayFileName(id) : name;
}

uint32_t TMyComputerFolder::ChildAttributes(const QString& id) const
{
    return SFGAO_FOLDER;
}

bool TMyComputerFolder::ChildFindData(const QString& id, TFindData& out) const
{
    return FindDataOfPath(EncodeFileName(id), id, out);
}

int TMyComputerFolder::CompareChildren(const QString& a, bool, const QString& b, bool) const
{
    // Root first, home second, volumes by name.
    auto rank = [](const QString& id) { return id == QLatin1String("/") ? 0 : id == HomePath() ? 1 : 2; };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    return CompareNames(a, b);
}

int TMyComputerFolder::ChildIconIndex(const QString& id, bool, bool) const
{
    TShellIcons& icons = TShellIcons::Instance();
    if (id == HomePath())
        return icons.HomeIcon();
    return IsRemovableMount(id) ? icons.RemovableDriveIcon() : icons.DriveIcon();
}

QString TMyComputerFolder::ChildTypeName(const QString& id, bool) const
{
    if (id == HomePath())
        return TShellIcons::Instance().FolderTypeName();
    return IsRemovableMount(id) ? QStringLiteral("Removable Disk") : QStringLiteral("Local Disk");
}
