#pragma once
// A folder of the file system. Ids of its children are their file names.

#include "platform/shell/ShellFolder.h"

struct stat;

class TFileSystemFolder : public ShellFolder {
public:
    TFileSystemFolder(TItemIdList idList, QString path);

    // Throws unless path names a folder (symbolic links followed).
    static ShellFolderPtr Open(TItemIdList idList, const QString& path);

    std::vector<TEnumItem> EnumObjects(uint32_t flags) const override;
    ShellFolderPtr BindToChild(const QString& id) const override;
    QString ChildDisplayName(const QString& id, uint32_t flags) const override;
    uint32_t ChildAttributes(const QString& id) const override;
    bool ChildFindData(const QString& id, TFindData& out) const override;
    int CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const override;
    int ChildIconIndex(const QString& id, bool isFolder, bool open) const override;
    QString ChildTypeName(const QString& id, bool isFolder) const override;
    QString FileSystemPath() const override { return FPath; }

    QString ChildPath(const QString& id) const;

private:
    QString FPath;
};

// Find data of a path: stat, or lstat for a dangling link; false when neither works.
bool FindDataOfPath(const QByteArray& path, const QString& name, TFindData& out, bool* isFolder = nullptr);
// The synthesised attribute bits of a stat result and the entry's name.
uint32_t AttributesOfStat(const struct stat& st, const QString& name);
// Natural, case-insensitive name order (digits as numbers).
int CompareNames(const QString& a, const QString& b);
// "<what> "<path>": <system text>" for the current errno.
[[noreturn]] void ThrowSystemError(const QString& what, const QString& path, int error);
