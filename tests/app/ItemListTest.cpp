#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/ItemList.h"

namespace {

TEST(ItemList, RemovingShiftsRecordsAndRenumbersIds)
{
    TItemList list;
    const TItemKey a = list.add_item(40, L"a");
    const TItemKey b = list.add_item(40, L"b");
    const TItemKey c = list.add_item(1, L"c");
    ASSERT_EQ(list.Count(), 3);
    TItem item;
    ASSERT_TRUE(list.Get(2, item));
    EXPECT_EQ(item.enabled, 1);
    EXPECT_EQ(item.id, 2);
    EXPECT_EQ(item.server, 1);
    EXPECT_EQ(item.status, status_appended);
    EXPECT_EQ(item.thread_id, 0u);

    ASSERT_TRUE(list.RemoveAt(1));
    const std::vector<TItem> rest = list.Snapshot();
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].link, L"a");
    EXPECT_EQ(rest[0].id, 0);
    EXPECT_EQ(rest[1].link, L"c");
    EXPECT_EQ(rest[1].id, 1);

    // Keys still find their records after the shift; a removed key finds nothing.
    EXPECT_EQ(list.IndexOfKey(a), 0);
    EXPECT_EQ(list.IndexOfKey(c), 1);
    EXPECT_EQ(list.IndexOfKey(b), -1);
    EXPECT_FALSE(list.Update(b, [](TItem& i) { i.status = status_finished; }));
    EXPECT_FALSE(list.RemoveAt(5));
    EXPECT_FALSE(list.Get(-1, item));

    ASSERT_TRUE(list.Remove(a));
    ASSERT_TRUE(list.Remove(c));
    EXPECT_EQ(list.Count(), 0);
    // Keys are never reused, so a new record is not mistaken for an old one.
    EXPECT_NE(list.add_item(40, L"d"), c);
}

TEST(ItemList, FindsEntriesByThreadId)
{
    TItemList list;
    list.add_item(40, L"a");
    const TItemKey b = list.add_item(40, L"b");
    EXPECT_EQ(list.FindItemIndex(0), -1);  // 0 is "not started", never a thread
    EXPECT_EQ(list.FindItemIndex(77), -1);
    list.Update(b, [](TItem& i) { i.thread_id = 77; i.key = 12345; });
    EXPECT_EQ(list.FindItemIndex(77), 1);
    EXPECT_EQ(list.KeyAt(1), b);  // the key is not the callback's to change
    list.RemoveAt(0);
    EXPECT_EQ(list.FindItemIndex(77), 0);
}

TEST(ItemList, WorkersAndRemovalsDoNotRace)
{
    // Workers update their own entries by key while the user removes others.
    TItemList list;
    std::vector<TItemKey> keys;
    for (int i = 0; i < 64; ++i)
        keys.push_back(list.add_item(40, L"l" + std::to_wstring(i)));

    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            while (!stop)
                for (size_t i = static_cast<size_t>(w); i < keys.size(); i += 4)
                    list.Update(keys[i], [](TItem& it) { it.size += 1; it.filename = L"x"; });
        });
    for (int i = 0; i < 32; ++i)
        list.Remove(keys[static_cast<size_t>(i) * 2]);
    stop = true;
    for (auto& t : workers)
        t.join();

    const std::vector<TItem> rest = list.Snapshot();
    ASSERT_EQ(rest.size(), 32u);
    for (size_t i = 0; i < rest.size(); ++i) {
        EXPECT_EQ(rest[i].id, static_cast<Integer>(i));
        EXPECT_EQ(rest[i].link, L"l" + std::to_wstring(i * 2 + 1));
    }
}

TEST(ItemList, FormatTexts)
{
    ASSERT_EQ(FormatTexts().size(), 11u);
    EXPECT_EQ(FormatTexts()[0], L"FLV for WEB (not converted)");
    EXPECT_EQ(FormatTexts()[3], L"WMV for Windows (WMV2 + WMAV2)");
    EXPECT_EQ(FormatTexts()[10], L"WAV (audio only)");
}

}  // namespace
