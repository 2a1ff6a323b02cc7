#include "browser/Listing.h"

#include "platform/vcl/Hourglass.h"

#include <algorithm>
#include <ctime>
#include <numeric>

namespace {

// The shell's type-name buffer holds 80 characters.
constexpr int MaxTypeName = 80;

bool EndsWithLower(const QString& name, QLatin1String suffix)
{
    return name.size() >= 4 && name.right(4).toLower() == suffix;
}

}  // namespace

bool IsSwfName(const QString& name)
{
    return EndsWithLower(name, QLatin1String(".swf"));
}

bool IsExeName(const QString& name)
{
    return EndsWithLower(name, QLatin1String(".exe"));
}

int SizeInKBOf(uint64_t size)
{
    const uint32_t low = uint32_t(size);
    const uint32_t kb = uint32_t(low + 1023u) >> 10;
    return kb == 0 ? 1 : int(kb);
}

QString DateTextOf(int64_t msecsSinceEpoch)
{
    if (msecsSinceEpoch == 0)
        return QString();
    // Floor division, so times before 1970 fall into the right second.
    int64_t secs = msecsSinceEpoch / 1000;
    if (msecsSinceEpoch % 1000 < 0)
        --secs;
    const time_t t = time_t(secs);
    struct tm local;
    if (!localtime_r(&t, &local))
        return QString();
    const int year = local.tm_year + 1900;
    // The range a Windows system time can hold.
    if (year < 1601 || year > 30827)
        return QString();
    return QString::asprintf("%02d/%02d/%04d %02d:%02d", local.tm_mon + 1, local.tm_mday, year, local.tm_hour,
                             local.tm_min);
}

TListing::TListing() : FDesktopFolder(DesktopFolder()) {}

bool TListing::PassesFilters(const QString& path, bool isFolder, bool isHidden) const
{
    bool kindShown;
    if (isFolder)
        kindShown = FShowFolders;
    else if (IsSwfName(path))
        kindShown = FShowMovies;
    else if (IsExeName(path))
        kindShown = FShowApplications;
    else
        kindShown = FShowOthers;
    return isHidden ? kindShown && FShowHidden : kindShown;
}

void TListing::Browse(const TItemIdList& pidl)
{
    const ShellFolderPtr folder = FDesktopFolder->BindToObject(pidl);
    BrowseBound(pidl, folder);
}

void TListing::BrowseBound(const TItemIdList& pidl, const ShellFolderPtr& folder)
{
    const TItemIdList previous = FCurrentPIDL;
    FCurrentPIDL = pidl;
    try {
        EnumerateFolder(folder);
    } catch (...) {
        // The old entries stay listed, so the folder they came from stays current.
        FCurrentPIDL = previous;
        throw;
    }
    const QString parsing = CurrentParsingName();
    FFolderPath = parsing.endsWith(QLatin1Char('/')) ? parsing : parsing + QLatin1Char('/');
    FResultFolders = QStringList{FFolderPath};
}

QString TListing::CurrentParsingName() const
{
    if (!FCurrentFolder)
        return QString();
    return DisplayNameOf(*FDesktopFolder, FCurrentPIDL, true);
}

void TListing::EnumerateFolder(const ShellFolderPtr& folder)
{
    THourglass hourglass;
    std::vector<TEnumItem> children = folder->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    FCurrentFolder = folder;
    ClearAllItems();
    ClearShownItems();
    FAllItems.reserve(children.size());

    const ShellFolder& f = *folder;
    for (TEnumItem& child : children) {
        TShellItem item;
        item.RelPIDL = TItemIdList::Of(child.id);
        item.FullPIDL = FCurrentPIDL.Child(child.id);
        item.ParentFolder = folder;
        item.DisplayName = f.ChildDisplayName(child.id, SHGDN_NORMAL);
        item.Path = f.ChildDisplayName(child.id, SHGDN_FORPARSING);
        // The enumeration already knows the folder flag: no second stat per entry.
        item.IconIndex = f.ChildIconIndex(child.id, child.isFolder, false);
        item.Attributes = child.hasFindData ? child.findData.dwFileAttributes : 0;
        item.IsFolder = child.isFolder;
        item.IsHidden = (item.Attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        item.HeaderPending = true;
        item.DetailsPending = true;
        FAllItems.push_back(std::move(item));
        const TShellItem& added = FAllItems.back();
        if (PassesFilters(added.Path, added.IsFolder, added.IsHidden)) {
            FShownItems.push_back(added);
            FShownItems.back().ThumbIndex = -1;
        }
    }
    SortShownItems();
}

void TListing::ClearAllItems()
{
    FAllItems.clear();
}

void TListing::ClearShownItems()
{
    FShownItems.clear();
}

void TListing::SortShownItems()
{
    if (!FCurrentFolder || FShownItems.size() < 2)
        return;
    const ShellFolder& f = *FCurrentFolder;
    // The folder flags are in the entries, so the order needs no file-system calls.
    std::stable_sort(FShownItems.begin(), FShownItems.end(), [&f](const TShellItem& a, const TShellItem& b) {
        if (a.RelPIDL.IsEmpty() || b.RelPIDL.IsEmpty())
            return !a.RelPIDL.IsEmpty() < !b.RelPIDL.IsEmpty();
        return f.CompareChildren(a.RelPIDL.Last(), a.IsFolder, b.RelPIDL.Last(), b.IsFolder) < 0;
    });
}

TShellItem* TListing::ShownItem(int index)
{
    if (index < 0 || index >= int(FShownItems.size()))
        return nullptr;
    return &FShownItems[size_t(index)];
}

TShellItem* TListing::AllItem(int index)
{
    if (index < 0 || index >= int(FAllItems.size()))
        return nullptr;
    return &FAllItems[size_t(index)];
}

void TListing::LoadItemDetails(int index)
{
    TShellItem* e = ShownItem(index);
    if (!e || !e->DetailsPending)
        return;
    TFindData find;
    QString typeName;
    if (e->ParentFolder) {
        e->ParentFolder->GetDataFromIDList(e->RelPIDL, find);
        if (!e->RelPIDL.IsEmpty())
            typeName = e->ParentFolder->ChildTypeName(e->RelPIDL.Last(), e->IsFolder);
    }
    e->SizeInKB = SizeInKBOf(find.nFileSize);
    e->TypeName = typeName.left(MaxTypeName);
    e->DateText = DateTextOf(find.ftLastWriteTime);
    e->Attributes = find.dwFileAttributes;
    e->DetailsPending = false;
}

void TListing::LoadAllDetails()
{
    THourglass hourglass;
    for (int i = 0; i < int(FShownItems.size()); ++i)
        if (FShownItems[size_t(i)].DetailsPending)
            LoadItemDetails(i);
}

QString TListing::StatusText() const
{
    return QStringLiteral(" Total %1 file(s), %2 filtered")
        .arg(FShownItems.size())
        .arg(FAllItems.size() - FShownItems.size());
}
