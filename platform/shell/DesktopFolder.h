#pragma once
// The root of the namespace: "My Computer", "My Documents" and the entries of the
// user's desktop folder.

#include "platform/shell/ShellFolder.h"

class TDesktopFolder : public ShellFolder {
public:
    TDesktopFolder();

    std::vector<TEnumItem> EnumObjects(uint32_t flags) const override;
    ShellFolderPtr BindToChild(const QString& id) const override;
    QString ChildDisplayName(const QString& id, uint32_t flags) const override;
    uint32_t ChildAttributes(const QString& id) const override;
    bool ChildFindData(const QString& id, TFindData& out) const override;
    int CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const override;
    int ChildIconIndex(const QString& id, bool isFolder, bool open) const override;
    QString ChildTypeName(const QString& id, bool isFolder) const override;
    TItemIdList ParseDisplayName(const QString& text) const override;
    QString FileSystemPath() const override;

    static QString DesktopPath();     // the XDG desktop folder
    static QString DocumentsPath();   // the XDG documents folder, or home

private:
    std::shared_ptr<class TFileSystemFolder> DesktopFiles() const;
};
