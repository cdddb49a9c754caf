// Outline nodes: adding, levels, contracting and expanding one node (nested,
// one at a time), every node at once, parent rows, span types, the node
// button per node type, rows inserted and removed inside an outline with
// spans and hidden-row numbers kept right, and hidden rows keeping their
// texts and blocks (the sanitizers watch the blocks).
#include <gtest/gtest.h>

#include "GridRowsSupport.h"

namespace {

class VodGridNodes : public GridRowsFixture {
protected:
    Integer Level(Integer r) const
    {
        const TCellProperties* p = Grid->CellPropertiesOf(Grid->CellNode()->NodeColumn(), r);
        return p ? p->NodeLevel() : 0;
    }
    std::vector<Integer> Levels() const
    {
        std::vector<Integer> v;
        for (Integer r = 0; r < Grid->RowCount(); ++r) v.push_back(Level(r));
        return v;
    }
};

using Ids = std::vector<Integer>;

}  // namespace

TEST_F(VodGridNodes, AddingANodeGivesItsRowsALevelAndMovesTheFocusOffColumnZero)
{
    Grid->SetFixedCols(0);
    Grid->SetCol(0);
    ASSERT_EQ(Grid->Col(), 0);
    EXPECT_FALSE(Grid->HasNodes());
    Grid->AddNode(5, 3);
    EXPECT_TRUE(Grid->HasNodes());
    EXPECT_EQ(Grid->NodeCount(), 1);
    EXPECT_TRUE(Grid->IsNode(5));
    EXPECT_FALSE(Grid->IsNode(6));
    EXPECT_EQ(Grid->GetNodeSpan(5), 3);
    EXPECT_EQ(Grid->GetNodeSpan(6), -1);
    EXPECT_EQ(Grid->GetNodeLevel(5), 1);
    EXPECT_EQ(Grid->GetNodeLevel(6), -1);
    EXPECT_EQ(Levels(), (Ids{0, 0, 0, 0, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_FALSE(Grid->GetNodeState(5));
    const TCellGraphic* g = Grid->GetCellGraphic(0, 5);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellHAlign(), haBeforeText);
    EXPECT_EQ(g->CellVAlign(), vaCenter);
    EXPECT_EQ(g->CellAngle(), 5);
    // Zero or negative spans make no node.
    Grid->AddNode(1, 0);
    Grid->AddNode(1, -2);
    EXPECT_FALSE(Grid->IsNode(1));
    EXPECT_EQ(Grid->NodeCount(), 1);
    Grid->CellNode()->SetNodeIndent(10);
    EXPECT_EQ(Grid->GetNodeIndent(6), 10);
    EXPECT_EQ(Grid->GetNodeIndent(2), 0);
}

TEST_F(VodGridNodes, ContractingHidesTheSpanAndExpandingShowsItInPlace)
{
    Fill(Grid);
    Grid->SetColors(2, 6, clRed);
    Grid->SetRowHeights(7, 40);
    Grid->AddNode(5, 3);
    Grid->SetColors(3, 5, clBlue);
    Grid->ContractNode(5);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 5, 8, 9}));
    EXPECT_TRUE(Grid->IsHiddenRow(6));
    EXPECT_TRUE(Grid->IsHiddenRow(7));
    EXPECT_TRUE(Grid->GetNodeState(5));
    // The node row's blocks read a vertical merge as collapsed.
    EXPECT_TRUE(Grid->CellPropertiesOf(3, 5)->FMergeCollaps);
    // Contracting again changes nothing.
    Grid->ContractNode(5);
    EXPECT_EQ(Grid->RowCount(), 8);
    Grid->ExpandNode(5);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(Grid->GetNodeState(5));
    EXPECT_FALSE(Grid->CellPropertiesOf(3, 5)->FMergeCollaps);
    EXPECT_EQ(Grid->Colors(2, 6), clRed);
    EXPECT_EQ(Grid->RowHeights(7), 40);
    EXPECT_EQ(Levels(), (Ids{0, 0, 0, 0, 0, 1, 1, 1, 0, 0}));
    // SetNodeState does the same from a display row.
    Grid->SetNodeState(5, true);
    EXPECT_EQ(Grid->RowCount(), 8);
    Grid->SetNodeState(5, false);
    EXPECT_EQ(Grid->RowCount(), 10);
}

TEST_F(VodGridNodes, ContractingAnOuterNodeMarksTheInnerExpandedAndExpandingShowsBoth)
{
    Fill(Grid);
    Grid->AddNode(2, 6);  // rows 2..7
    Grid->AddNode(4, 3);  // rows 4..6
    EXPECT_EQ(Levels(), (Ids{0, 0, 1, 1, 2, 2, 2, 1, 0, 0}));
    EXPECT_EQ(Grid->GetNodeLevel(4), 2);
    Grid->ContractNode(4);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 7, 8, 9}));
    Grid->ContractNode(2);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 8, 9}));
    EXPECT_TRUE(Grid->GetNodeState(2));
    Grid->ExpandNode(2);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(Grid->GetNodeState(4));
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
}

TEST_F(VodGridNodes, ExpandOneContractsTheOtherNodesButNotTheParentOfTheExpandedOne)
{
    Fill(Grid);
    Grid->AddNode(1, 2);  // 1..2
    Grid->AddNode(3, 5);  // 3..7
    Grid->AddNode(5, 2);  // 5..6 inside 3
    Grid->ContractNode(5);
    Grid->CellNode()->SetExpandOne(true);
    Grid->ExpandNode(5);
    // Node 1 contracted; node 3 holds node 5 and stays open.
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(Grid->GetNodeState(1));
    EXPECT_FALSE(Grid->GetNodeState(2));
    EXPECT_FALSE(Grid->GetNodeState(4));
    Grid->ExpandNode(1);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 8, 9}));
    EXPECT_FALSE(Grid->GetNodeState(1));
    EXPECT_TRUE(Grid->GetNodeState(3));
}

TEST_F(VodGridNodes, ContractAllAndExpandAllMoveEveryNodeAndLeaveContractedGridsAlone)
{
    Fill(Grid);
    Grid->SetColors(1, 6, clRed);
    Grid->AddNode(1, 3);  // 1..3
    Grid->AddNode(4, 5);  // 4..8
    Grid->AddNode(5, 2);  // 5..6 inside 4
    Grid->ContractNode(5);
    Grid->ContractAll();
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 4, 9}));
    EXPECT_TRUE(Grid->GetNodeState(1));
    EXPECT_TRUE(Grid->GetNodeState(2));
    EXPECT_EQ(Grid->FFilterLevel, 1);
    // All contracted: nothing happens, not even another list level.
    Grid->ContractAll();
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->FFilterLevel, 1);
    Grid->ExpandAll();
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (Integer r : {1, 4, 5}) EXPECT_FALSE(Grid->GetNodeState(r)) << r;
    EXPECT_EQ(Grid->Colors(1, 6), clRed);
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
}

TEST_F(VodGridNodes, ParentRowsSpanTypesAndTheCorrectionForContractedSpans)
{
    Grid->AddNode(1, 3);  // 1..3
    Grid->AddNode(5, 3);  // 5..7
    struct Case {
        Integer row, parent, spanType;
    };
    for (const Case& c : {Case{0, -1, 2}, Case{1, 1, 0}, Case{2, 1, 2}, Case{3, 1, 1}, Case{4, -1, 2}, Case{5, 5, 0},
                          Case{6, 5, 2}, Case{7, 5, 1}, Case{8, -1, 1}, Case{9, -1, 1}}) {
        EXPECT_EQ(Grid->GetParentRow(c.row), c.parent) << c.row;
        EXPECT_EQ(Grid->GetNodeSpanType(c.row), c.spanType) << c.row;
    }
    Grid->ContractNode(1);
    // Display rows 0, 1, then real 4 at 2, node 5 at 3.
    EXPECT_EQ(Grid->GetParentRow(2), -1);
    EXPECT_EQ(Grid->GetParentRow(3), 3);
    EXPECT_EQ(Grid->GetParentRow(4), 3);
    EXPECT_EQ(Grid->GetParentRow(5), 3);
    EXPECT_EQ(Grid->GetParentRow(6), -1);
}

TEST_F(VodGridNodes, TheNodeButtonDependsOnTheNodeTypeAndLevel)
{
    Grid->SetColWidths(0, 60);
    Grid->AddNode(1, 4);  // level 1
    Grid->AddNode(2, 2);  // level 2
    Grid->CellNode()->SetNodeIndent(12);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    struct Case {
        TNodeType type;
        bool withGlyph;
        Integer row, lo, hi;  // lo < x < hi
    };
    for (const Case& c : {Case{cnXP, false, 1, 4, 16}, Case{cnFlat, false, 1, 4, 16}, Case{cn3D, false, 1, 0, 18},
                          Case{cnLeaf, false, 1, 2, 20}, Case{cnGlyph, false, 1, 0, 12},
                          Case{cnGlyph, true, 1, 2, 20}, Case{cnXP, false, 2, 16, 28}}) {
        Grid->CellNode()->SetNodeType(c.type);
        if (c.withGlyph) Grid->CellNode()->SetExpandGlyph(&glyph);
        const Integer left = Grid->CellRect(0, c.row).Left;
        for (Integer x = 0; x < 40; ++x)
            EXPECT_EQ(Grid->IsInNodeButton(c.row, left + x), c.lo < x && x < c.hi)
                << "type " << c.type << " row " << c.row << " x " << x;
    }
    Grid->MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(Grid->IsInNodeButton(1, 1000));
}

TEST_F(VodGridNodes, InsertingAChildIntoANodeRowMovesItsContentsAndRenumbersHiddenRows)
{
    Fill(Grid);
    Grid->SetColors(2, 3, clRed);
    Grid->AddNode(3, 3);  // 3..5
    Grid->AddNode(7, 2);  // 7..8
    Grid->ContractNode(7);
    Grid->InsertChildRow(3, 0);
    EXPECT_EQ(Grid->GetNodeSpan(3), 4);
    EXPECT_EQ(Grid->GetSubNodeCount(3), 1);
    EXPECT_TRUE(Grid->IsNode(3));
    for (Integer c = 0; c < 5; ++c) {
        EXPECT_EQ(Grid->Cells(c, 3), L"") << c;
        EXPECT_EQ(Grid->Cells(c, 4), IntToStr(c) + L",3") << c;
    }
    EXPECT_EQ(Grid->Colors(2, 4), clRed);
    EXPECT_EQ(Grid->Colors(2, 3), clNone);
    EXPECT_EQ(Level(4), 1);
    // The contracted node below still holds its own row.
    EXPECT_TRUE(Grid->IsHiddenRow(9));
    Grid->ExpandNode(8);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, -1, 3, 4, 5, 6, 7, 8, 9}));

    // A child row below a node row goes InsertAt rows down.
    Grid->InsertChildRow(4, 2);
    EXPECT_EQ(Grid->GetNodeSpan(3), 5);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, -1, 3, 4, -1, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Level(6), 1);
}

TEST_F(VodGridNodes, InsertingIntoANestedSpanGrowsEveryAncestor)
{
    Grid->AddNode(1, 6);  // 1..6
    Grid->AddNode(2, 3);  // 2..4
    Grid->InsertChildRow(3, 1);
    EXPECT_EQ(Grid->GetNodeSpan(2), 4);
    EXPECT_EQ(Grid->GetNodeSpan(1), 7);
    EXPECT_EQ(Level(4), 2);
}

TEST_F(VodGridNodes, RemovingAChildShrinksItsParentAndKeepsHiddenRowsBelow)
{
    Fill(Grid);
    Grid->AddNode(1, 4);  // 1..4
    Grid->AddNode(6, 3);  // 6..8
    Grid->ContractNode(6);
    const Integer maxBefore = Grid->RowCount();
    Grid->RemoveChildRow(2);
    EXPECT_EQ(Grid->GetNodeSpan(1), 3);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 3, 4, 5, 6, 9}));
    EXPECT_LE(Grid->RowCount(), maxBefore);
    Grid->ExpandNode(5);
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 3, 4, 5, 6, 7, 8, 9}));
    // Removing a node row removes its node with it.
    Grid->RemoveChildRow(5);
    EXPECT_EQ(Grid->NodeCount(), 1);
    EXPECT_EQ(Level(5), 0);
}

TEST_F(VodGridNodes, InsertingAndRemovingNormalRowsRenumbersHiddenRows)
{
    Fill(Grid);
    Grid->AddNode(5, 3);
    Grid->ContractNode(5);
    Grid->InsertNormalRow(2);
    EXPECT_TRUE(Grid->IsHiddenRow(7));
    EXPECT_TRUE(Grid->IsHiddenRow(8));
    Grid->RemoveNormalRow(0);
    Grid->ExpandNode(5);
    EXPECT_EQ(RowIds(Grid), (Ids{1, -1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(VodGridNodes, RemovingNodesExpandsThemAndDropsTheirLevels)
{
    Fill(Grid);
    Grid->AddNode(1, 6);
    Grid->AddNode(2, 3);
    Grid->AddNode(8, 2);
    Grid->ContractNode(2);
    Grid->RemoveNode(2);
    EXPECT_EQ(Grid->NodeCount(), 2);
    EXPECT_EQ(Grid->RowCount(), 10);
    EXPECT_EQ(Levels(), (Ids{0, 1, 1, 1, 1, 1, 1, 0, 1, 1}));
    Grid->ContractAll();
    Grid->RemoveAllNodes();
    EXPECT_EQ(Grid->NodeCount(), 0);
    EXPECT_FALSE(Grid->HasNodes());
    EXPECT_EQ(RowIds(Grid), (Ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Levels(), (Ids(10, 0)));
    for (Integer r = 0; r < 10; ++r) EXPECT_FALSE(Grid->IsNode(r));
}

TEST_F(VodGridNodes, SummaryRowsAreMarkedInColumnZero)
{
    Grid->SetSummaryRow(4);
    EXPECT_TRUE(Grid->IsSummary(4));
    EXPECT_FALSE(Grid->IsSummary(3));
    EXPECT_FALSE(Grid->IsSummary(-1));
    EXPECT_FALSE(Grid->IsNode(-1));
}

TEST_F(VodGridNodes, AGridFreedWithContractedNodesFreesTheHiddenRowsBlocks)
{
    auto* g = NewGrid(4, 8);
    Fill(g);
    for (Integer r = 0; r < 8; ++r) g->SetColors(2, r, clRed);
    g->AddNode(1, 4);
    g->AddNode(5, 3);
    g->ContractAll();
    EXPECT_EQ(g->NumHiddenRows(), 5);
    delete g;
}
