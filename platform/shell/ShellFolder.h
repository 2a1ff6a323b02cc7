#pragma once
// The shell namespace: the desktop at the root, "My Computer" below it with the
// file-system root, the home folder and the mounted volumes as its children, and
// file-system folders below those. Errors are thrown as TShellError.

#include "platform/shell/ItemIdList.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class TShellError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// EnumObjects flags
constexpr uint32_t SHCONTF_FOLDERS = 0x20;
constexpr uint32_t SHCONTF_NONFOLDERS = 0x40;
constexpr uint32_t SHCONTF_INCLUDEHIDDEN = 0x80;
// GetDisplayNameOf flags
constexpr uint32_t SHGDN_NORMAL = 0;
constexpr uint32_t SHGDN_FORPARSING = 0x8000;
// GetAttributesOf bits
constexpr uint32_t SFGAO_FOLDER = 0x20000000;
// File attribute bits, synthesised from the file's mode
constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;  // not writable by this user
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;    // name starts with "."
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;    // neither a regular file nor a folder
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;   // regular file

extern const QString MyComputerClassId;   // "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"
extern const QString MyDocumentsClassId;  // "::{450D8FBA-AD25-11D0-98A8-0800361B1103}"

// What the shell's find data gives for an entry.
struct TFindData {
    uint32_t dwFileAttributes = 0;
    uint64_t nFileSize = 0;
    int64_t ftLastWriteTime = 0;   // ms since the epoch (UTC); 0 when unknown
};

// One child as the enumeration saw it: its id, plus what the single stat of that
// pass gave, so the listing does not ask the file system again.
struct TEnumItem {
    QString id;
    bool isFolder = false;
    bool hasFindData = false;
    TFindData findData;
};

class ShellFolder;
using ShellFolderPtr = std::shared_ptr<const ShellFolder>;

class ShellFolder : public std::enable_shared_from_this<ShellFolder> {
public:
    virtual ~ShellFolder() = default;

    // Absolute list of this folder.
    const TItemIdList& IdList() const { return FIdList; }

    // A relative list of any length; the empty list gives this folder. Throws.
    ShellFolderPtr BindToObject(const TItemIdList& rel) const;
    // Children in enumeration order; throws when the folder cannot be read.
    virtual std::vector<TEnumItem> EnumObjects(uint32_t flags) const = 0;
    // Empty when the entry has no such name.
    QString GetDisplayNameOf(const TItemIdList& rel, uint32_t flags) const;
    // The bits of mask the entry has.
    uint32_t GetAttributesOf(const TItemIdList& rel, uint32_t mask) const;
    // Column 0: the shell's order (folders first, then natural case-insensitive
    // names; virtual folders keep their own order). Negative: a first.
    int CompareIDs(int column, const TItemIdList& a, const TItemIdList& b) const;
    // Absolute list for a display name typed by the user; throws. Only the desktop
    // parses (absolute paths, "~", "~/...", the class ids).
    virtual TItemIdList ParseDisplayName(const QString& text) const;
    // Fresh find data of a child; false (and out zeroed) when there is none.
    bool GetDataFromIDList(const TItemIdList& rel, TFindData& out) const;

    // One level down: the id is a direct child of this folder.
    virtual ShellFolderPtr BindToChild(const QString& id) const = 0;
    virtual QString ChildDisplayName(const QString& id, uint32_t flags) const = 0;
    virtual uint32_t ChildAttributes(const QString& id) const = 0;   // SFGAO bits
    virtual bool ChildFindData(const QString& id, TFindData& out) const;
    // Ordering of two children whose folder flags are known (no file-system calls).
    virtual int CompareChildren(const QString& a, bool aFolder, const QString& b, bool bFolder) const;
    // Index in the shared icon list (ShellIcons.h).
    virtual int ChildIconIndex(const QString& id, bool isFolder, bool open) const = 0;
    // Type name ("Folder", "Shockwave Flash file", ...), empty when unknown.
    virtual QString ChildTypeName(const QString& id, bool isFolder) const = 0;
    // The folder's own parsing path in the file system; empty for virtual folders.
    virtual QString FileSystemPath() const { return QString(); }

protected:
    explicit ShellFolder(TItemIdList idList) : FIdList(std::move(idList)) {}

private:
    TItemIdList FIdList;
};

// The root of the namespace, made once.
ShellFolderPtr DesktopFolder();
// The list of "My Computer" (CSIDL_DRIVES).
TItemIdList MyComputerIdList();
// Absolute list of a file-system folder or file path (absolute, cleaned); throws
// when no My Computer root holds it.
TItemIdList IdListOfPath(const QString& path);

// The item's display name; parsing gives the full path for file-system entries.
QString DisplayNameOf(const ShellFolder& folder, const TItemIdList& rel, bool parsing);
// Index of the entry's icon in the shared icon list (both sizes share the index).
int SystemIconIndex(const TItemIdList& absolute, bool large, bool open);
int SystemIconIndex(const ShellFolder& folder, const TItemIdList& rel, bool large, bool open);
// The shell's type name of an entry, empty when unknown.
QString TypeNameOf(const TItemIdList& absolute);
