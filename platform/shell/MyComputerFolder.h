#pragma once
// "My Computer": the file-system root, the home folder and the mounted volumes of
// real block devices. The ids of its children are their paths.

#include "platform/shell/ShellFolder.h"

// "/", home, then the volumes in mount order, without duplicates.
std::vector<QString> MyComputerRoots();
QString HomePath();

class TMyComputerFolder : public ShellFolder {
public:
    TMyComputerFolder();

    std::vector<TEnumItem> EnumObjects(uint32_t flags) const override;
    ShellFolderPtr BindToChild(const QString& id) const override;
    QString ChildDisplayName(const QString& id, uint32_t flags) const override;
    uint32_t ChildAttributes(const QString& id) const override;
    bool ChildFindData(const QString& id, TFindData& out) const override;
    int CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const override;
    int ChildIconIndex(const QString& id, bool isFolder, bool open) const override;
    QString ChildTypeName(const QString& id, bool isFolder) const override;
};
