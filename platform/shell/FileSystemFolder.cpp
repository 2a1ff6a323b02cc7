#include "platform/shell/FileSystemFolder.h"

#include "platform/shell/FileName.h"
#include "platform/shell/ShellIcons.h"

#include <QCollator>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Who we are, for the "not writable by the user" bit; read once, the process does
// not change identity.
struct TIdentity {
    uid_t uid = geteuid();
    gid_t gid = getegid();
    std::vector<gid_t> groups;
    TIdentity()
    {
        const int n = getgroups(0, nullptr);
        if (n > 0) {
            groups.resize(size_t(n));
            if (getgroups(n, groups.data()) < 0)
                groups.clear();
        }
    }
    bool InGroup(gid_t g) const
    {
        if (g == gid)
            return true;
        for (gid_t x : groups)
            if (x == g)
                return true;
        return false;
    }
};

const TIdentity& Identity()
{
    static const TIdentity id;
    return id;
}

bool WritableByUser(const struct stat& st)
{
    const TIdentity& me = Identity();
    if (me.uid == 0)
        return true;
    if (st.st_uid == me.uid)
        return (st.st_mode & S_IWUSR) != 0;
    if (me.InGroup(st.st_gid))
        return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

int64_t MTimeMSecs(const struct stat& st)
{
    return int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

void FillFindData(const struct stat& st, const QString& name, TFindData& out)
{
    out.dwFileAttributes = AttributesOfStat(st, name);
    out.nFileSize = S_ISREG(st.st_mode) ? uint64_t(st.st_size) : 0;
    out.ftLastWriteTime = MTimeMSecs(st);
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

}  // namespace

uint32_t AttributesOfStat(const struct stat& st, const QString& name)
{
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(st.st_mode))
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    else
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    if (name.startsWith(QLatin1Char('.')))
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!S_ISLNK(st.st_mode) && !WritableByUser(st))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

bool FindDataOfPath(const QByteArray& path, const QString& name, TFindData& out, bool* isFolder)
{
    out = TFindData();
    struct stat st;
    if (::stat(path.constData(), &st) != 0 && ::lstat(path.constData(), &st) != 0)
        return false;
    FillFindData(st, name, out);
    if (isFolder)
        *isFolder = S_ISDIR(st.st_mode);
    return true;
}

int CompareNames(const QString& a, const QString& b)
{
    thread_local QCollator collator = [] {
        // Qt's collator for the C locale compares code units and ignores numeric mode.
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int r = collator.compare(a, b);
    if (r != 0)
        return r;
    // Names the collator calls equal ("a" and "A") still need a fixed order.
    return QString::compare(a, b, Qt::CaseSensitive);
}

void ThrowSystemError(const QString& what, const QString& path, int error)
{
    throw TShellError(QStringLiteral("%1 \"%2\": %3")
                          .arg(what, DisplayFileName(path), QString::fromLocal8Bit(std::strerror(error)))
                          .toStdString());
}

TFileSystemFolder::TFileSystemFolder(TItemIdList idList, QString path)
    : ShellFolder(std::move(idList)), FPath(std::move(path))
{
}

ShellFolderPtr TFileSystemFolder::Open(TItemIdList idList, const QString& path)
{
    struct stat st;
    if (::stat(EncodeFileName(path).constData(), &st) != 0)
        ThrowSystemError(QStringLiteral("Cannot open the folder"), path, errno);
    if (!S_ISDIR(st.st_mode))
        ThrowSystemError(QStringLiteral("Cannot open the folder"), path, ENOTDIR);
    return std::make_shared<TFileSystemFolder>(std::move(idList), path);
}

QString TFileSystemFolder::ChildPath(const QString& id) const
{
    return JoinPath(FPath, id);
}

std::vector<TEnumItem> TFileSystemFolder::EnumObjects(uint32_t flags) const
{
    const QByteArray path = EncodeFileName(FPath);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        ThrowSystemError(QStringLiteral("Cannot read the folder"), FPath, errno);
    const int fd = ::dirfd(dir);

    std::vector<TEnumItem> items;
    // One pass: readdir gives the names, one fstatat per entry gives everything the
    // listing needs now (folder flag, attributes, size, time).
    while (dirent* d = ::readdir(dir)) {
        const char* raw = d->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        const bool hidden = raw[0] == '.';
        if (hidden && !(flags & SHCONTF_INCLUDEHIDDEN))
            continue;
        TEnumItem item;
        item.id = DecodeFileName(QByteArray(raw));
        struct stat st;
        if (::fstatat(fd, raw, &st, 0) == 0 || ::fstatat(fd, raw, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            item.hasFindData = true;
            FillFindData(st, item.id, item.findData);
            item.isFolder = S_ISDIR(st.st_mode);
        } else {
            // Gone since readdir saw it: still listed, with what readdir knew.
            item.isFolder = d->d_type == DT_DIR;
        }
        if (item.isFolder ? !(flags & SHCONTF_FOLDERS) : !(flags & SHCONTF_NONFOLDERS))
            continue;
        items.push_back(std::move(item));
    }
    ::closedir(dir);
    return items;
}

ShellFolderPtr TFileSystemFolder::BindToChild(const QString& id) const
{
    return Open(IdList().Child(id), ChildPath(id));
}

QString TFileSystemFolder::ChildDisplayName(const QString& id, uint32_t flags) const
{
    if (flags & SHGDN_FORPARSING)
        return ChildPath(id);
    return DisplayFileName(id);
}

uint32_t TFileSystemFolder::ChildAttributes(const QString& id) const
{
    struct stat st;
    if (::stat(EncodeFileName(ChildPath(id)).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return SFGAO_FOLDER;
    return 0;
}

bool TFileSystemFolder::ChildFindData(const QString& id, TFindData& out) const
{
    return FindDataOfPath(EncodeFileName(ChildPath(id)), id, out);
}

int TFileSystemFolder::CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const
{
    if (aFolder != bFolder)
        return aFolder ? -1 : 1;
    return CompareNames(a, b);
}

int TFileSystemFolder::ChildIconIndex(const QString& id, bool isFolder, bool open) const
{
    TShellIcons& icons = TShellIcons::Instance();
    if (isFolder)
        return icons.FolderIcon(open);
    return icons.TypeOfFileName(id).iconIndex;
}

QString TFileSystemFolder::ChildTypeName(const QString& id, bool isFolder) const
{
    TShellIcons& icons = TShellIcons::Instance();
    if (isFolder)
        return icons.FolderTypeName();
    return icons.TypeOfFileName(id).typeName;
}
