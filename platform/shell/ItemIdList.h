#pragma once
// Item identifier lists: the shell's way of naming a namespace entry.
// An absolute list starts at the desktop (the empty list is the desktop itself);
// a relative list starts at some folder. Each id is one step down the namespace:
// a virtual folder's class id ("::{...}"), a My Computer root ("/", home, a mount
// point) or a file name. File names keep their raw bytes (see FileName.h).

#include <QMetaType>
#include <QString>
#include <vector>

class TItemIdList {
public:
    std::vector<QString> ids;

    TItemIdList() = default;
    explicit TItemIdList(std::vector<QString> list) : ids(std::move(list)) {}
    static TItemIdList Of(const QString& id) { return TItemIdList({id}); }

    bool IsEmpty() const { return ids.empty(); }
    int Count() const { return int(ids.size()); }
    const QString& First() const { return ids.front(); }   // not for an empty list
    const QString& Last() const { return ids.back(); }     // not for an empty list

    // Bytes the list would take in the shell's form: a 16-bit count before each
    // item's bytes plus the 2-byte terminator.
    int Size() const;
    TItemIdList Clone() const { return *this; }
    // A without its terminator, then all of B; A may be absent.
    static TItemIdList Concat(const TItemIdList* a, const TItemIdList& b);
    TItemIdList Concat(const TItemIdList& b) const { return Concat(this, b); }
    // Drops the last item; an empty list stays empty.
    void RemoveLast();
    TItemIdList Parent() const { TItemIdList p = *this; p.RemoveLast(); return p; }
    TItemIdList Child(const QString& id) const { TItemIdList c = *this; c.ids.push_back(id); return c; }

    bool operator==(const TItemIdList& o) const { return ids == o.ids; }
    bool operator!=(const TItemIdList& o) const { return ids != o.ids; }
};

// Size of a list that may be absent: 0 for no list.
int ItemIdListSize(const TItemIdList* list);

Q_DECLARE_METATYPE(TItemIdList)
