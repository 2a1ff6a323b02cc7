#pragma once
// The listing of one shell folder: every entry (FAllItems) and the ones the
// filters let through, in display order (FShownItems). Enumeration fills only
// the cheap fields; size, type and date wait for LoadItemDetails, which the view
// asks for just the rows it is about to show. No widgets here.

#include "common/SWFFile.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/ShellFolder.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct TShellItem {
    TItemIdList FullPIDL;
    TItemIdList RelPIDL;
    ShellFolderPtr ParentFolder;
    QString Location;              // folder of a search result, with a trailing "/"
    bool IsFolder = false;
    bool IsHidden = false;
    bool DetailsPending = true;    // SizeInKB, TypeName, DateText not loaded yet
    QString Path;                  // parsing name: the full path for file-system entries
    QString DisplayName;
    QString TypeName;
    int IconIndex = -1;
    int ThumbIndex = -1;
    int SizeInKB = 0;
    uint32_t Attributes = 0;
    TSWFHeader Header{};
    bool HeaderPending = true;
    QString DateText;              // "mm/dd/yyyy hh:mm", local time
};

// The kind tests: the last four characters, lower-cased.
bool IsSwfName(const QString& name);
bool IsExeName(const QString& name);

// (size + 1023) >> 10 in unsigned 32-bit arithmetic of the size's low 32 bits, at least 1.
int SizeInKBOf(uint64_t size);
// "mm/dd/yyyy hh:mm" of a time in ms since the epoch, in local time; empty for 0.
QString DateTextOf(int64_t msecsSinceEpoch);

class TListing {
public:
    TListing();

    std::vector<TShellItem> FAllItems;     // enumeration order
    std::vector<TShellItem> FShownItems;   // display order
    TItemIdList FCurrentPIDL;
    ShellFolderPtr FCurrentFolder;
    ShellFolderPtr FDesktopFolder;
    QString FFolderPath;                   // parsing name of the listed folder + "/"
    QStringList FResultFolders;

    bool FShowFolders = true;
    bool FShowMovies = true;
    bool FShowApplications = true;
    bool FShowOthers = false;
    bool FShowHidden = false;

    // Whether icon indexes are asked for the large images (the Titles view).
    bool FLargeIcons = true;

    bool PassesFilters(const QString& path, bool isFolder, bool isHidden) const;

    // The listing part of BrowseTo: bind, enumerate, then the folder's parsing name
    // into FFolderPath and FResultFolders. A folder that cannot be bound throws with
    // nothing changed; one that cannot be read throws with the previous entries,
    // FCurrentPIDL and FFolderPath kept.
    void Browse(const TItemIdList& pidl);
    // Browse after the bind: for callers that do something between the two steps.
    void BrowseBound(const TItemIdList& pidl, const ShellFolderPtr& folder);
    // Parsing name of FCurrentPIDL (empty before the first listing).
    QString CurrentParsingName() const;

    // Fills both lists from the folder (FCurrentPIDL must name it). Throws when the
    // folder cannot be enumerated; the lists then keep their old entries.
    void EnumerateFolder(const ShellFolderPtr& folder);
    void ClearAllItems();
    void ClearShownItems();
    // The shell's own order, by CompareIDs of FCurrentFolder.
    void SortShownItems();

    TShellItem* ShownItem(int index);
    TShellItem* AllItem(int index);
    int ShownCount() const { return int(FShownItems.size()); }
    int AllCount() const { return int(FAllItems.size()); }

    void LoadItemDetails(int index);
    void LoadAllDetails();

    // " Total N file(s), M filtered"
    QString StatusText() const;
};
