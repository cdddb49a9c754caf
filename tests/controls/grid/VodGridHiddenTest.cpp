// Hidden rows and columns: the mapping between display and real numbers
// (against a walk over the rows as the oracle), contents, property blocks and
// heights restored in place, list levels, runs, the lookup never answering
// from an older state, hidden columns with their widths, suppressed sizes.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "GridRowsSupport.h"

namespace {

// The display-to-real mapping as a walk over the real rows.
Integer WalkRealRow(const std::set<Integer>& hidden, Integer ARow)
{
    if (hidden.empty()) return ARow;
    if (ARow < 0) return -1;
    Integer r = 0, v = 0, last = -1;
    while (v <= ARow) {
        if (!hidden.count(r)) ++v;
        last = r;
        ++r;
    }
    return last;
}

Integer WalkDisplRow(const std::multiset<Integer>& idx, Integer ARow)
{
    Integer n = 0;
    for (Integer i : idx)
        if (i < ARow) ++n;
    return ARow - n;
}

class VodGridHidden : public GridRowsFixture {};

}  // namespace

TEST_F(VodGridHidden, WithNothingHiddenEveryMappingAnswersItsArgument)
{
    for (Integer v : {-5, -1, 0, 3, 4, 9, 10, 1000}) {
        EXPECT_EQ(Grid->RealRowIndex(v), v);
        EXPECT_EQ(Grid->DisplRowIndex(v), v);
        EXPECT_EQ(Grid->RealColIndex(v), v);
        EXPECT_EQ(Grid->DisplColIndex(v), v);
    }
    EXPECT_EQ(Grid->TotalRowCount(), 10);
    EXPECT_EQ(Grid->TotalColCount(), 5);
}

TEST_F(VodGridHidden, HidingTwoRowsShiftsTheMappingAndShowingRestoresContentsBlocksAndHeights)
{
    Fill(Grid);
    TCellProperties* block = Grid->GetCellProperties(2, 3);
    block->FBrushColor = clRed;
    Grid->SetRowHeights(2, 40);
    Grid->SetRowHeights(5, 33);
    Grid->HideRows(2, 3);
    EXPECT_EQ(Grid->RowCount(), 8);
    EXPECT_EQ(Grid->TotalRowCount(), 10);
    EXPECT_EQ(Grid->NumHiddenRows(), 2);
    EXPECT_EQ(Grid->RealRowIndex(2), 4);
    EXPECT_EQ(Grid->DisplRowIndex(4), 2);
    EXPECT_EQ(Grid->DisplRowIndex(3), 2);
    EXPECT_TRUE(Grid->IsHiddenRow(2));
    EXPECT_FALSE(Grid->IsHiddenRow(4));
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 4, 5, 6, 7, 8, 9}));
    // The row below moved up with its height.
    EXPECT_EQ(Grid->RowHeights(3), 33);
    // The block moved into the item: the store no longer refers to it.
    TGridItem* item = Grid->HiddenRowItem(3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Items()->Objects(2), block);
    EXPECT_EQ(item->Items()->Strings(4), L"4,3");
    EXPECT_EQ(Grid->HiddenRowItem(2)->Height(), 40);
    for (Integer r = 0; r < 12; ++r)
        for (Integer c = 0; c < 5; ++c) EXPECT_NE(Grid->Objects(c, r), block) << c << "," << r;

    Grid->UnHideRows(2, 3);
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->Objects(2, 3), block);
    EXPECT_EQ(Grid->RowHeights(2), 40);
    EXPECT_EQ(Grid->RowHeights(5), 33);
    EXPECT_EQ(Grid->Cells(4, 3), L"4,3");
}

TEST_F(VodGridHidden, MappingMatchesTheWalkForScatteredHiddenRows)
{
    TRowsGrid* g = NewGrid(3, 200);
    std::mt19937 rng(7);
    std::set<Integer> hidden;
    for (int round = 0; round < 6; ++round) {
        // Hide a few scattered real rows, each with HideRows.
        for (int k = 0; k < 9; ++k) {
            const Integer r = Integer(rng() % 200);
            g->HideRows(r, r);
            hidden.insert(r);
        }
        std::multiset<Integer> idx(hidden.begin(), hidden.end());
        ASSERT_EQ(g->TotalRowCount(), 200);
        for (Integer d = -2; d < g->RowCount() + 3; ++d) ASSERT_EQ(g->RealRowIndex(d), WalkRealRow(hidden, d)) << d;
        for (Integer r = -2; r < 203; ++r) ASSERT_EQ(g->DisplRowIndex(r), WalkDisplRow(idx, r)) << r;
        // Show some again: the lookup follows at once.
        const Integer s = *std::next(hidden.begin(), Integer(rng() % hidden.size()));
        g->UnHideRow(s);
        hidden.erase(s);
        for (Integer d = 0; d < g->RowCount(); ++d) ASSERT_EQ(g->RealRowIndex(d), WalkRealRow(hidden, d)) << d;
    }
}

TEST_F(VodGridHidden, HidingARangeWithARowHiddenAlreadyHidesTheOthersWithTheirOwnContents)
{
    Fill(Grid);
    Grid->HideRow(6);
    Grid->HideRows(5, 7);
    EXPECT_EQ(Grid->NumHiddenRows(), 3);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 8, 9}));
    // The store is kept sorted by row.
    for (Integer i = 0; i < 3; ++i) EXPECT_EQ(Grid->GridItem(i)->Idx(), 5 + i);
    for (Integer r = 5; r <= 7; ++r) EXPECT_EQ(Grid->HiddenRowItem(r)->Items()->Strings(1), L"1," + IntToStr(r));
    // Hiding rows that are all hidden changes nothing.
    Grid->HideRows(5, 7);
    EXPECT_EQ(Grid->NumHiddenRows(), 3);
    // Showing a range whose first row is visible does nothing.
    Grid->UnHideRows(4, 9);
    EXPECT_EQ(Grid->NumHiddenRows(), 3);
    Grid->UnHideRows(5, 9);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(VodGridHidden, ShowingAllPutsScatteredRunsBackInPlace)
{
    Fill(Grid);
    Grid->GetCellProperties(1, 8)->FFontColor = clBlue;
    TCellProperties* b8 = Grid->CellPropertiesOf(1, 8);
    Grid->HideRows(7, 8);
    Grid->HideRow(2);
    Grid->HideRows(4, 5);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 3, 6, 9}));
    Grid->UnHideRowsAll();
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->CellPropertiesOf(1, 8), b8);

    // Numbers that repeat (two list levels) take the run by run way.
    TIntList one(0, 0), again(0, 0);
    one.Add(3);
    again.Add(3);
    Grid->HideRowList(&one);
    Grid->HideRowList(&again);
    EXPECT_EQ(Grid->RowCount(), 8);
    Grid->UnHideRowsAll();
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(Grid->RowCount(), 10);
    std::vector<Integer> ids = RowIds(Grid);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(VodGridHidden, ListLevelsHideAndShowInOnePassEach)
{
    Fill(Grid);
    Grid->SetRowHeights(6, 50);
    TIntList first(0, 0);
    for (Integer r : {2, 4, 6}) first.Add(r);
    Grid->HideRowList(&first);
    EXPECT_EQ(Grid->FilterLevel(), 1);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 3, 5, 7, 8, 9}));
    TIntList second(0, 0);
    for (Integer r : {1, 5}) second.Add(r);  // display rows: real 1 and 8
    Grid->HideRowList(&second);
    EXPECT_EQ(Grid->FilterLevel(), 2);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 3, 5, 7, 9}));
    EXPECT_EQ(Grid->GridItem(3)->Level(), 1);

    Grid->UnHideRowList();
    Grid->FFilterLevel--;  // lowering the level is the caller's task
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 3, 5, 7, 8, 9}));
    EXPECT_EQ(Grid->NumHiddenRows(), 3);
    Grid->UnHideRowList();
    Grid->FFilterLevel--;
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->RowHeights(6), 50);
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    // Without a level nothing is put back, and hidden rows stay hidden.
    Grid->HideRow(3);
    Grid->UnHideRowList();
    EXPECT_EQ(Grid->NumHiddenRows(), 1);
    EXPECT_EQ(Grid->RowCount(), 9);
}

TEST_F(VodGridHidden, AListOfEveryRowKeepsTheFirstVisibleAndShortensTheCallersList)
{
    Fill(Grid);
    TIntList all(0, 0);
    for (Integer r = 0; r < 10; ++r) all.Add(r);
    Grid->HideRowList(&all);
    EXPECT_EQ(all.Count(), 9);
    EXPECT_EQ(all.GetInteger(0), 1);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0}));
    EXPECT_EQ(Grid->TotalRowCount(), 10);
}

TEST_F(VodGridHidden, ARowHiddenWithoutItsHeightComesBackAtHeightZero)
{
    Fill(Grid);
    Grid->HideRowsEx(3, 4);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->HiddenRowItem(3)->Height(), 0);
    // Hidden already: nothing happens.
    Grid->HideRowsEx(3, 3);
    EXPECT_EQ(Grid->NumHiddenRows(), 2);
    Grid->UnHideRows(3, 4);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->RowHeights(3), 0);
    EXPECT_EQ(Grid->RowHeights(4), 0);
}

TEST_F(VodGridHidden, TheLookupNeverAnswersFromAnOlderStore)
{
    Grid->HideRows(2, 2);
    EXPECT_EQ(Grid->RealRowIndex(2), 3);
    // An item renumbered directly, and one added directly.
    Grid->GridItem(0)->SetIdx(5);
    EXPECT_EQ(Grid->RealRowIndex(2), 2);
    EXPECT_EQ(Grid->RealRowIndex(5), 6);
    auto* extra = static_cast<TGridItem*>(Grid->GridItems()->Add());
    extra->SetIdx(0);
    EXPECT_EQ(Grid->RealRowIndex(0), 1);
    delete extra;
    EXPECT_EQ(Grid->RealRowIndex(0), 0);
}

TEST_F(VodGridHidden, StoreItemsOutliveTheirGridAndReuseFreedPlaces)
{
    // Rows hidden, shown and hidden again; an item taken out of the store
    // (and a plain one made on its own) stays usable after the grid has gone
    // and is freed by its user. The sanitizers check every item is freed
    // once, and no freed one is read.
    Fill(Grid);
    for (int round = 0; round < 3; ++round) {
        Grid->HideRows(2, 6);
        ASSERT_EQ(Grid->NumHiddenRows(), 5);
        EXPECT_EQ(Grid->GridItem(1)->Items()->Strings(1), L"1,3");
        Grid->UnHideRowsAll();
        ASSERT_EQ(Grid->NumHiddenRows(), 0);
        EXPECT_EQ(Grid->Cells(1, 3), L"1,3");
    }
    Grid->HideRows(2, 3);
    auto* kept = Grid->GridItem(0);
    kept->SetCollection(nullptr);
    EXPECT_EQ(Grid->NumHiddenRows(), 1);
    TCollection own(CollectionItemClass<TGridItem>());
    auto* plain = static_cast<TGridItem*>(own.Add());
    plain->SetIdx(4);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(kept->Idx(), 2);
    EXPECT_EQ(kept->Items()->Strings(1), L"1,2");
    kept->SetHeight(7);
    EXPECT_EQ(kept->Height(), 7);
    delete kept;
    EXPECT_EQ(plain->Idx(), 4);
}

TEST_F(VodGridHidden, AVetoedDeletionLeavesTheGridAsItWas)
{
    Fill(Grid);
    Grid->GetCellProperties(0, 9)->FBrushColor = clLime;
    TCellProperties* b = Grid->CellPropertiesOf(0, 9);
    Grid->SetRow(9);
    int asked = 0;
    Grid->OnRowChanging = [&](TObject*, Integer, Integer, bool& allow) {
        ++asked;
        allow = false;
    };
    Grid->HideRow(9);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(Grid->RowCount(), 10);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->Cells(3, 9), L"3,9");
    EXPECT_EQ(Grid->CellPropertiesOf(0, 9), b);
}

TEST_F(VodGridHidden, AGridWithHiddenRowsAndBlocksFreesEveryBlockOnce)
{
    TRowsGrid* g = NewGrid(4, 20);
    Fill(g);
    for (Integer r = 0; r < 20; r += 3) g->GetCellProperties(r % 4, r)->FBrushColor = clAqua;
    g->HideRows(3, 6);
    TIntList l(0, 0);
    l.Add(2);
    l.Add(9);
    g->HideRowList(&l);
    g->HideColumn(2);
    delete g;  // the sanitizers report a leak or a double free
}

TEST_F(VodGridHidden, HiddenColumnsStayInPlaceAndComeBackWithTheirWidths)
{
    Fill(Grid);
    Grid->SetColWidths(1, 80);
    Grid->SetColWidths(2, 90);
    Grid->SetColWidths(3, 70);
    Grid->HideColumn(2);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->TotalColCount(), 5);
    EXPECT_EQ(Grid->NumHiddenColumns(), 1);
    EXPECT_TRUE(Grid->IsHiddenColumn(2));
    EXPECT_FALSE(Grid->IsHiddenColumn(5));
    EXPECT_EQ(Grid->Cells(2, 1), L"2,1");  // texts never move
    EXPECT_EQ(Grid->DisplColIndex(3), 2);
    EXPECT_EQ(Grid->RealColIndex(2), 3);
    EXPECT_EQ(Grid->ColWidths(2), 70);  // the widths after it moved left
    Grid->HideColumns(0, 1);
    EXPECT_EQ(Grid->ColCount(), 2);
    EXPECT_EQ(Grid->RealColIndex(0), 3);
    EXPECT_EQ(Grid->RealColIndex(1), 4);
    EXPECT_EQ(Grid->RealColIndex(7), 7);
    Grid->HideColumns(3, 4);  // the last visible column stays
    EXPECT_EQ(Grid->ColCount(), 1);
    Grid->UnHideColumnsAll();
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->NumHiddenColumns(), 0);
    EXPECT_EQ(Grid->ColWidths(1), 80);
    EXPECT_EQ(Grid->ColWidths(2), 90);
    EXPECT_EQ(Grid->ColWidths(3), 70);
    for (Integer c = 0; c < 5; ++c) EXPECT_EQ(Grid->RealColIndex(c), c);
}

TEST_F(VodGridHidden, HiddenRowsCarryEveryRealColumnWhileColumnsAreHidden)
{
    Fill(Grid);
    Grid->HideColumn(4);
    Grid->HideRow(1);
    EXPECT_EQ(Grid->HiddenRowItem(1)->Items()->Strings(4), L"4,1");
    Grid->UnHideRow(1);
    EXPECT_EQ(Grid->Cells(4, 1), L"4,1");
}

TEST_F(VodGridHidden, SuppressedSizesComeBackFromTheirLists)
{
    Grid->SetColWidths(1, 77);
    Grid->SuppressColumn(1);
    EXPECT_TRUE(Grid->IsSuppressedColumn(1));
    Grid->UnSuppressColumn(1);
    EXPECT_EQ(Grid->ColWidths(1), 77);
    Grid->SetRowHeights(3, 31);
    Grid->SuppressRow(3);
    EXPECT_TRUE(Grid->IsSuppressedRow(3));
    Grid->SuppressColumn(1);
    Grid->UnSuppressAllRows();
    Grid->UnSuppressAllColumns();
    EXPECT_EQ(Grid->RowHeights(3), 31);
    EXPECT_EQ(Grid->ColWidths(1), 77);
}

TEST_F(VodGridHidden, HidingBySelectionUsesTheRowFlags)
{
    Fill(Grid);
    // Row flags count with disjunct row selection; without it the selection
    // rectangle decides.
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    Grid->SetRowSelect(3, true);
    Grid->SetRowSelect(5, true);
    Grid->HideSelectedRows();
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 4, 6, 7, 8, 9}));
    Grid->UnHideRowsAll();
    Grid->ResetRowSelection();
    Grid->SetRowSelect(2, true);
    Grid->MouseActions()->SetRowSelectPersistent(true);
    Grid->HideUnSelectedRows();
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 2}));
}

TEST_F(VodGridHidden, RowsHiddenBelowAShrunkRowCountComeBackAtTheEnd)
{
    Fill(Grid);
    Grid->GetCellProperties(1, 6)->FBrushColor = clRed;
    Grid->HideRows(5, 6);
    Grid->SetRowCount(4);
    Grid->UnHideRowsAll();
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 2, 3, 5, 6}));
    EXPECT_EQ(Grid->GetCellProperties(1, 5)->FBrushColor, clRed);

    // One row alone, and a grid freed with such rows still hidden (the
    // sanitizers count the blocks).
    Grid->HideRows(4, 4);
    Grid->SetRowCount(2);
    Grid->UnHideRow(4);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5}));
    Grid->GetCellProperties(1, 1)->FBrushColor = clBlue;
    Grid->HideRows(1, 1);
    Grid->SetRowCount(0);
    delete Grid;
    Grid = nullptr;
}
