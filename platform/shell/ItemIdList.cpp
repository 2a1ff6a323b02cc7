#include "platform/shell/ItemIdList.h"

#include "platform/shell/FileName.h"

int TItemIdList::Size() const
{
    int size = 2;   // terminator
    for (const QString& id : ids)
        size += 2 + int(EncodeFileName(id).size());
    return size;
}

TItemIdList TItemIdList::Concat(const TItemIdList* a, const TItemIdList& b)
{
    TItemIdList result;
    if (a) {
        result.ids.reserve(a->ids.size() + b.ids.size());
        result.ids = a->ids;
    }
    result.ids.insert(result.ids.end(), b.ids.begin(), b.ids.end());
    return result;
}

void TItemIdList::RemoveLast()
{
    if (!ids.empty())
        ids.pop_back();
}

int ItemIdListSize(const TItemIdList* list)
{
    return list ? list->Size() : 0;
}
