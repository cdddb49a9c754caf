// The string grid's structural store changes for descendants that move many
// rows at once (ranges and lists of rows leaving or coming in, rows taken
// into and put back from string lists) and the row axis's matching list
// operations, against plain models, with rows far past the counts too.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class GridStoreRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Grid = new TStringGrid(Application);
        Grid->SetColCount(6);
        Grid->SetRowCount(40);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TStringGrid* Grid = nullptr;
};

// Row r of the model goes to Map(r), or leaves when Map answers -1.
template <class F>
std::map<std::pair<int, int>, String> Remap(const std::map<std::pair<int, int>, String>& m, F Map)
{
    std::map<std::pair<int, int>, String> next;
    for (auto& [k, v] : m) {
        const int r = Map(k.second);
        if (r >= 0) next[{k.first, r}] = v;
    }
    return next;
}

std::vector<Integer> RandomList(std::mt19937& rng, int n, int range)
{
    std::set<Integer> s;
    while (int(s.size()) < n) s.insert(Integer(rng() % range));
    return {s.begin(), s.end()};
}

}  // namespace

TEST_F(GridStoreRows, RangesAndListsOfRowsMatchAPlainModel)
{
    std::mt19937 rng(5);
    std::map<std::pair<int, int>, String> model;
    auto write = [&](int c, int r, const String& v) {
        Grid->SetCells(c, r, v);
        model[{c, r}] = v;
    };
    for (int k = 0; k < 150; ++k) write(int(rng() % 6), rng() % 7 ? int(rng() % 60) : 90000 + int(rng() % 5), IntToStr(k));
    for (int k = 0; k < 200; ++k) {
        const int op = int(rng() % 4);
        if (op == 0) {
            const int at = int(rng() % 70), n = 1 + int(rng() % 6);
            Grid->DeleteStoreRows(at, n);
            model = Remap(model, [&](int r) { return r < at ? r : r < at + n ? -1 : r - n; });
        } else if (op == 1) {
            const int at = int(rng() % 70), n = 1 + int(rng() % 6);
            Grid->InsertStoreRows(at, n);
            model = Remap(model, [&](int r) { return r < at ? r : r + n; });
        } else if (op == 2) {
            const auto list = RandomList(rng, 1 + int(rng() % 8), 70);
            Grid->DeleteStoreRowList(list);
            model = Remap(model, [&](int r) {
                auto it = std::lower_bound(list.begin(), list.end(), r);
                if (it != list.end() && *it == r) return -1;
                return r - int(it - list.begin());
            });
        } else {
            const auto list = RandomList(rng, 1 + int(rng() % 8), 70);
            Grid->InsertStoreRowList(list);
            model = Remap(model, [&](int r) {
                int j = 0;
                while (j < int(list.size()) && list[size_t(j)] <= r + j) ++j;
                return r + j;
            });
        }
        if (k % 20 == 0) write(int(rng() % 6), int(rng() % 60), L"w" + IntToStr(k));
    }
    for (auto& [key, v] : model) ASSERT_EQ(Grid->Cells(key.first, key.second), v) << key.first << "," << key.second;
    int stored = 0, expected = 0;
    for (int r = 0; r < 400; ++r)
        for (int c = 0; c < 6; ++c) stored += !Grid->Cells(c, r).empty();
    for (auto& [key, v] : model) expected += key.second < 400;
    EXPECT_EQ(stored, expected);
}

TEST_F(GridStoreRows, RowsTravelThroughStringListsWithTheirObjects)
{
    TObject a, b;
    Grid->SetCells(0, 3, L"x");
    Grid->SetCells(2, 3, L"y");
    Grid->SetObjects(1, 3, &a);
    Grid->SetCells(9, 3, L"past the columns");
    TStringList row;
    Grid->TakeStoreRow(3, 6, &row);
    // Every cell the row held, also past the column count.
    ASSERT_EQ(row.Count(), 10);
    EXPECT_EQ(row.Strings(0), L"x");
    EXPECT_EQ(row.Objects(1), &a);
    EXPECT_EQ(row.Strings(9), L"past the columns");
    EXPECT_EQ(Grid->Cells(0, 3), L"");
    EXPECT_EQ(Grid->Objects(1, 3), nullptr);
    // A row with nothing gives empty lines.
    TStringList empty;
    Grid->TakeStoreRow(20, 6, &empty);
    EXPECT_EQ(empty.Count(), 6);
    Grid->SetObjects(4, 7, &b);
    Grid->PutStoreRow(7, &row);
    EXPECT_EQ(Grid->Cells(2, 7), L"y");
    EXPECT_EQ(Grid->Objects(1, 7), &a);
    EXPECT_EQ(Grid->Objects(4, 7), nullptr);  // what the row held is dropped
    EXPECT_EQ(Grid->Cells(9, 7), L"past the columns");
    Grid->MoveStoreRow(7, 30);
    EXPECT_EQ(Grid->Cells(0, 7), L"");
    EXPECT_EQ(Grid->Cells(0, 30), L"x");
    EXPECT_EQ(Grid->Objects(1, 30), &a);
}

TEST_F(GridStoreRows, AxisListOperationsMatchAPlainModel)
{
    std::mt19937 rng(9);
    TGridAxis axis;
    axis.Count = 1000;
    axis.DefaultExtent = 20;
    std::map<int, int> model;
    for (int k = 0; k < 60; ++k) {
        const int i = int(rng() % 200), e = 5 + int(rng() % 50);
        axis.SetExtent(i, e);
        if (e == 20)
            model.erase(i);
        else
            model[i] = e;
    }
    auto remap = [&](auto Map) {
        std::map<int, int> next;
        for (auto [i, e] : model)
            if (int j = Map(i); j >= 0) next[j] = e;
        model.swap(next);
    };
    for (int k = 0; k < 100; ++k) {
        const int at = int(rng() % 220), n = 1 + int(rng() % 5);
        const auto list = RandomList(rng, 1 + int(rng() % 6), 220);
        switch (rng() % 4) {
        case 0:
            axis.DeleteLines(at, n);
            remap([&](int i) { return i < at ? i : i < at + n ? -1 : i - n; });
            break;
        case 1:
            axis.InsertLines(at, n);
            remap([&](int i) { return i < at ? i : i + n; });
            break;
        case 2:
            axis.DeleteLineList(list);
            remap([&](int i) {
                auto it = std::lower_bound(list.begin(), list.end(), i);
                return it != list.end() && *it == i ? -1 : i - int(it - list.begin());
            });
            break;
        default:
            axis.InsertLineList(list);
            remap([&](int i) {
                int j = 0;
                while (j < int(list.size()) && list[size_t(j)] <= i + j) ++j;
                return i + j;
            });
        }
    }
    for (int i = 0; i < 400; ++i) ASSERT_EQ(axis.Extent(i), model.count(i) ? model[i] : 20) << i;
    Int64 sum = 0;
    for (int i = 0; i < 300; ++i) sum += axis.Extent(i) + axis.LineWidth;
    EXPECT_EQ(axis.Start(300), sum);
}

TEST_F(GridStoreRows, ADetachedRowReadsAndEditsAsAStringListAndGoesBackWhole)
{
    TObject a;
    Grid->SetCells(0, 5, L"a");
    Grid->SetCells(3, 5, L"d");
    Grid->SetObjects(2, 5, &a);
    TStringGridRow row;
    Grid->DetachStoreRow(5, 6, &row);
    EXPECT_EQ(Grid->Cells(0, 5), L"");
    ASSERT_EQ(row.Count(), 6);
    EXPECT_EQ(row.Strings(3), L"d");
    EXPECT_EQ(row.Objects(2), &a);
    EXPECT_THROW(row.Strings(6), Exception);
    // Lines come and go as in any string list.
    row.Insert(1, L"new");
    row.Add(L"end");
    row.Delete(0);
    EXPECT_EQ(row.Count(), 7);
    EXPECT_EQ(row.Strings(0), L"new");
    EXPECT_EQ(row.Objects(2), &a);
    EXPECT_EQ(row.Strings(6), L"end");
    row.SetStrings(5, L"five");
    Grid->SetCells(1, 9, L"dropped");
    Grid->AttachStoreRow(9, &row);
    EXPECT_EQ(row.Count(), 0);
    EXPECT_EQ(Grid->Cells(0, 9), L"new");
    EXPECT_EQ(Grid->Cells(1, 9), L"");
    EXPECT_EQ(Grid->Cells(3, 9), L"d");
    EXPECT_EQ(Grid->Objects(2, 9), &a);
    EXPECT_EQ(Grid->Cells(5, 9), L"five");
    EXPECT_EQ(Grid->Cells(6, 9), L"end");
    // An empty row detaches as empty lines and attaches as nothing.
    Grid->DetachStoreRow(30, 3, &row);
    EXPECT_EQ(row.Count(), 3);
    EXPECT_EQ(row.Strings(2), L"");
    Grid->AttachStoreRow(9, &row);
    EXPECT_EQ(Grid->Cells(0, 9), L"");
}
