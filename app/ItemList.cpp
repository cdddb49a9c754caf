#include "app/ItemList.h"

TItemList item_list;

const std::vector<String>& FormatTexts()
{
    static const std::vector<String> texts = {
        L"FLV for WEB (not converted)",    L"AVI for Windows (XVID + MP3)",
        L"MPEG for Windows (MPEG2 + MP2)", L"WMV for Windows (WMV2 + WMAV2)",
        L"MP4 for Ipod (MP4 + AAC)",       L"MOV for Mac (MP4 + MP3)",
        L"MP4 for PSP (MP4 + AAC)",        L"3GP for Mobile (H263 + AMR_NB)",
        L"3G2 for Mobile (MP4 + AAC)",     L"MP3 (audio only)",
        L"WAV (audio only)",
    };
    return texts;
}

TItemKey TItemList::add_item(Integer server, const String& link)
{
    std::lock_guard<std::mutex> g(FLock);
    TItem item;
    item.enabled = 1;
    item.id = static_cast<Integer>(FItems.size());
    item.thread_id = 0;
    item.link = link;
    item.server = server;
    item.idcookiemanager = nullptr;
    item.key = FNextKey++;
    FItems.push_back(std::move(item));
    return FItems.back().key;
}

Integer TItemList::Count() const
{
    std::lock_guard<std::mutex> g(FLock);
    return static_cast<Integer>(FItems.size());
}

Integer TItemList::IndexOfKeyLocked(TItemKey key) const
{
    if (key == 0)
        return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].key == key)
            return static_cast<Integer>(i);
    return -1;
}

Integer TItemList::IndexOfKey(TItemKey key) const
{
    std::lock_guard<std::mutex> g(FLock);
    return IndexOfKeyLocked(key);
}

Integer TItemList::FindItemIndex(Cardinal threadId) const
{
    std::lock_guard<std::mutex> g(FLock);
    if (threadId == 0)
        return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].thread_id == threadId)
            return static_cast<Integer>(i);
    return -1;
}

TItemKey TItemList::KeyAt(Integer index) const
{
    std::lock_guard<std::mutex> g(FLock);
    if (index < 0 || index >= static_cast<Integer>(FItems.size()))
        return 0;
    return FItems[static_cast<size_t>(index)].key;
}

bool TItemList::Get(Integer index, TItem& out) const
{
    std::lock_guard<std::mutex> g(FLock);
    if (index < 0 || index >= static_cast<Integer>(FItems.size()))
        return false;
    out = FItems[static_cast<size_t>(index)];
    return true;
}

bool TItemList::GetByKey(TItemKey key, TItem& out) const
{
    std::lock_guard<std::mutex> g(FLock);
    Integer i = IndexOfKeyLocked(key);
    if (i < 0)
        return false;
    out = FItems[static_cast<size_t>(i)];
    return true;
}

std::vector<TItem> TItemList::Snapshot() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FItems;
}

bool TItemList::Update(TItemKey key, const std::function<void(TItem&)>& fn)
{
    std::lock_guard<std::mutex> g(FLock);
    Integer i = IndexOfKeyLocked(key);
    if (i < 0)
        return false;
    TItem& item = FItems[static_cast<size_t>(i)];
    const TItemKey keep = item.key;
    fn(item);
    item.key = keep;  // the identity is not the caller's to change
    return true;
}

void TItemList::RemoveLocked(Integer index)
{
    FItems.erase(FItems.begin() + index);
    for (size_t i = static_cast<size_t>(index); i < FItems.size(); ++i)
        FItems[i].id = static_cast<Integer>(i);
}

bool TItemList::RemoveAt(Integer index)
{
    std::lock_guard<std::mutex> g(FLock);
    if (index < 0 || index >= static_cast<Integer>(FItems.size()))
        return false;
    RemoveLocked(index);
    return true;
}

bool TItemList::Remove(TItemKey key)
{
    std::lock_guard<std::mutex> g(FLock);
    Integer i = IndexOfKeyLocked(key);
    if (i < 0)
        return false;
    RemoveLocked(i);
    return true;
}

void TItemList::Clear()
{
    std::lock_guard<std::mutex> g(FLock);
    FItems.clear();
}
