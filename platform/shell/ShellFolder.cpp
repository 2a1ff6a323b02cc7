#include "platform/shell/ShellFolder.h"

#include "platform/shell/DesktopFolder.h"
#include "platform/shell/FileSystemFolder.h"
#include "platform/shell/MyComputerFolder.h"
#include "platform/shell/ShellIcons.h"

#include <cerrno>

const QString MyComputerClassId = QStringLiteral("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
const QString MyDocumentsClassId = QStringLiteral("::{450D8FBA-AD25-11D0-98A8-0800361B1103}");

ShellFolderPtr ShellFolder::BindToObject(const TItemIdList& rel) const
{
    if (rel.IsEmpty())
        return shared_from_this();
    ShellFolderPtr folder = BindToChild(rel.ids.front());
    for (size_t i = 1; i < rel.ids.size(); ++i)
        folder = folder->BindToChild(rel.ids[i]);
    return folder;
}

QString ShellFolder::GetDisplayNameOf(const TItemIdList& rel, uint32_t flags) const
{
    try {
        if (rel.IsEmpty())
            return IdList().IsEmpty() ? ((flags & SHGDN_FORPARSING) ? TDesktopFolder::DesktopPath()
                                                                    : QStringLiteral("Desktop"))
                                      : QString();
        if (rel.Count() == 1)
            return ChildDisplayName(rel.First(), flags);
        return BindToObject(rel.Parent())->ChildDisplayName(rel.Last(), flags);
    } catch (const TShellError&) {
        return QString();
    }
}

uint32_t ShellFolder::GetAttributesOf(const TItemIdList& rel, uint32_t mask) const
{
    try {
        if (rel.IsEmpty())
            return SFGAO_FOLDER & mask;
        if (rel.Count() == 1)
            return ChildAttributes(rel.First()) & mask;
        return BindToObject(rel.Parent())->ChildAttributes(rel.Last()) & mask;
    } catch (const TShellError&) {
        return 0;
    }
}

int ShellFolder::CompareIDs(int column, const TItemIdList& a, const TItemIdList& b) const
{
    const size_t common = std::min(a.ids.size(), b.ids.size());
    size_t i = 0;
    while (i < common && a.ids[i] == b.ids[i])
        ++i;
    if (i == common)
        return a.Count() == b.Count() ? 0 : (a.Count() < b.Count() ? -1 : 1);
    try {
        TItemIdList prefix(std::vector<QString>(a.ids.begin(), a.ids.begin() + long(i)));
        const ShellFolderPtr folder = prefix.IsEmpty() ? nullptr : BindToObject(prefix);
        const ShellFolder& f = folder ? *folder : *this;
        const bool aFolder = i + 1 < a.ids.size() || (f.ChildAttributes(a.ids[i]) & SFGAO_FOLDER);
        const bool bFolder = i + 1 < b.ids.size() || (f.ChildAttributes(b.ids[i]) & SFGAO_FOLDER);
        return f.CompareChildren(a.ids[i], aFolder, b.ids[i], bFolder);
    } catch (const TShellError&) {
        return CompareNames(a.ids[i], b.ids[i]);
    }
}

TItemIdList ShellFolder::ParseDisplayName(const QString& text) const
{
    return DesktopFolder()->ParseDisplayName(text);
}

bool ShellFolder::GetDataFromIDList(const TItemIdList& rel, TFindData& out) const
{
    out = TFindData();
    try {
        if (rel.IsEmpty())
            return false;
        if (rel.Count() == 1)
            return ChildFindData(rel.First(), out);
        return BindToObject(rel.Parent())->ChildFindData(rel.Last(), out);
    } catch (const TShellError&) {
        out = TFindData();
        return false;
    }
}

bool ShellFolder::ChildFindData(const QString&, TFindData& out) const
{
    out = TFindData();
    return false;
}

int ShellFolder::CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const
{
    if (aFolder != bFolder)
        return aFolder ? -1 : 1;
    return CompareNames(a, b);
}

ShellFolderPtr DesktopFolder()
{
    static const ShellFolderPtr desktop = std::make_shared<TDesktopFolder>();
    return desktop;
}

TItemIdList MyComputerIdList()
{
    return TItemIdList::Of(MyComputerClassId);
}

TItemIdList IdListOfPath(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')))
        ThrowSystemError(QStringLiteral("Cannot find"), path, ENOENT);
    // The deepest My Computer root that holds the path, as Windows goes through the
    // drive of a path.
    QString best;
    for (const QString& root : MyComputerRoots()) {
        const bool holds = root == QLatin1String("/") || path == root || path.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > best.size())
            best = root;
    }
    TItemIdList list = MyComputerIdList().Child(best);
    const QString rest = path.mid(best.size());
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        list.ids.push_back(part);
    return list;
}

QString DisplayNameOf(const ShellFolder& folder, const TItemIdList& rel, bool parsing)
{
    return folder.GetDisplayNameOf(rel, parsing ? SHGDN_FORPARSING : SHGDN_NORMAL);
}

int SystemIconIndex(const ShellFolder& folder, const TItemIdList& rel, bool large, bool open)
{
    try {
        if (rel.IsEmpty())
            return folder.IdList().IsEmpty() ? TShellIcons::Instance().DesktopIcon()
                                             : TShellIcons::Instance().FolderIcon(open);
        const ShellFolderPtr parent = rel.Count() == 1 ? nullptr : folder.BindToObject(rel.Parent());
        const ShellFolder& f = parent ? *parent : folder;
        const bool isFolder = f.ChildAttributes(rel.Last()) & SFGAO_FOLDER;
        return f.ChildIconIndex(rel.Last(), isFolder, open);
    } catch (const TShellError&) {
        return TShellIcons::Instance().GenericFileIcon();
    }
}

int SystemIconIndex(const TItemIdList& absolute, bool large, bool open)
{
    return SystemIconIndex(*DesktopFolder(), absolute, large, open);
}

QString TypeNameOf(const TItemIdList& absolute)
{
    try {
        if (absolute.IsEmpty())
            return QStringLiteral("System Folder");
        const ShellFolderPtr parent = DesktopFolder()->BindToObject(absolute.Parent());
        const bool isFolder = parent->ChildAttributes(absolute.Last()) & SFGAO_FOLDER;
        return parent->ChildTypeName(absolute.Last(), isFolder);
    } catch (const TShellError&) {
        return QString();
    }
}
