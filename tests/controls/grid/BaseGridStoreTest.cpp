// The cell store of the base grid: when blocks come into being, who owns
// them (moves, shrinking and growing, clearing, destruction under the
// sanitizers), negative coordinates, the merge-aware text accessors with the
// display events and the packed form, and the block's Assign list.
#include "tests/controls/grid/GridTestSupport.h"

#include "controls/foundation/VodUtil.h"

namespace {

// A graphic of the class the grid frees with its block, and one of another
// class that it leaves to its owner.
class TCellGraphic : public TObject {
    VEL_CLASS(TCellGraphic, TObject)
public:
    static inline int Alive = 0;
    TCellGraphic() { ++Alive; }
    ~TCellGraphic() override { --Alive; }
};
class TOtherGraphic : public TObject {
    VEL_CLASS(TOtherGraphic, TObject)
};

// A block that counts its instances.
class TCountedProps : public TCellProperties {
public:
    static inline int Alive = 0;
    TCountedProps(TBaseGrid* g, Integer c, Integer r) : TCellProperties(g, c, r) { ++Alive; }
    ~TCountedProps() override { --Alive; }
};

}  // namespace

using BaseGridStore = BaseGridFixture;

TEST_F(BaseGridStore, OnlyTheCreatingOperationsLeaveABlock)
{
    TOtherGraphic g;
    struct Case {
        const char* name;
        std::function<void(TTestGrid*)> op;
        bool block;
    };
    const Case cases[] = {
        {"HasCellProperties", [](TTestGrid* t) { t->HasCellProperties(2, 2); }, false},
        {"GetObjectEx", [](TTestGrid* t) { t->GetObjectEx(2, 2); }, false},
        {"GetGraphicObjectEx", [](TTestGrid* t) { t->GetGraphicObjectEx(2, 2); }, false},
        {"merge queries",
         [](TTestGrid* t) {
             t->BaseCell(2, 2);
             t->IsBaseCell(2, 2);
             t->IsMergedCell(2, 2);
             t->CellSpan(2, 2);
             t->CellExt(2, 2);
             t->FullCell(2, 2);
             t->MinRowSpan(2);
             t->RowSpanIdentical(2, 3);
             t->ColSpanIdentical(2, 3);
         },
         false},
        {"GetCellEx/SetCellEx",
         [](TTestGrid* t) {
             t->SetCellEx(2, 2, L"x");
             t->GetCellEx(2, 2);
         },
         false},
        {"CellRect", [](TTestGrid* t) { t->CellRect(2, 2); }, false},
        {"GetCellProperties", [](TTestGrid* t) { t->GetCellProperties(2, 2); }, true},
        {"SetObjectEx nil", [](TTestGrid* t) { t->SetObjectEx(2, 2, nullptr); }, true},
        {"SetGraphicObjectEx", [&](TTestGrid* t) { t->SetGraphicObjectEx(2, 2, &g); }, true},
        {"SetCellProperties", [](TTestGrid* t) { t->SetCellProperties(2, 2, new TCellProperties(t, 2, 2)); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid->FreeCellProperties(2, 2);
        Grid->SetGridCell(2, 2, L"");
        c.op(Grid);
        EXPECT_EQ(Grid->HasCellProperties(2, 2), c.block);
    }
    // The temporary text leaves no trace.
    Grid->FreeCellProperties(2, 2);
    Grid->SetObjectEx(3, 3, nullptr);
    EXPECT_EQ(Grid->GetGridCell(3, 3), L"");
    EXPECT_TRUE(Grid->HasCellProps());
    Grid->SetGraphicObjectEx(3, 1, &g);
    EXPECT_EQ(Grid->GetGridCell(3, 1), L"");
    EXPECT_EQ(Grid->GetGraphicObjectEx(3, 1), &g);
    Grid->SetGraphicObjectEx(3, 1, nullptr);
}

TEST_F(BaseGridStore, ANewBlockTakesTheGridsDefaultsAndKeepsTheWholeUserObject)
{
    Grid->SetColor(TColor(0x123456));
    Grid->Font()->SetName(L"Tahoma");
    Grid->SetWordWrap(false);
    TCellProperties* p = Grid->GetCellProperties(1, 1);
    EXPECT_EQ(p->BrushColor(), TColor(0x123456));
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->FontName(), L"Tahoma");
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->Editor(), edNormal);
    TOtherGraphic user;
    Grid->SetObjectEx(1, 1, &user);
    EXPECT_EQ(p->CellObject(), reinterpret_cast<uintptr_t>(&user));
    EXPECT_EQ(Grid->GetObjectEx(1, 1), &user);
    EXPECT_EQ(Grid->GetObjectEx(1, 2), nullptr);
}

TEST_F(BaseGridStore, NegativeCoordinatesNeverReachTheStore)
{
    EXPECT_EQ(Grid->GetCellProperties(-1, 0), nullptr);
    EXPECT_NO_THROW(Grid->SetCellEx(-1, 2, L"x"));
    EXPECT_NO_THROW(Grid->SetGridCell(1, -3, L"x"));
    EXPECT_NO_THROW(Grid->SetObjectEx(-2, -2, nullptr));
    EXPECT_NO_THROW(Grid->SetGraphicObjectEx(-2, 0, nullptr));
    EXPECT_NO_THROW(Grid->MergeCells(-1, -1, 2, 2));
    EXPECT_FALSE(Grid->HasCellProperties(-1, -1));
    EXPECT_EQ(Grid->GetCellEx(-1, 0), L"");
    EXPECT_EQ(Grid->GetObjectEx(0, -1), nullptr);
    // The merge over (-1..0, -1..0) reached only (0, 0).
    EXPECT_TRUE(Grid->HasCellProperties(0, 0));
    EXPECT_FALSE(Grid->HasCellProperties(1, 1));
}

TEST_F(BaseGridStore, GraphicsAreFreedWithTheirBlockOnlyWhenTheyAreCellGraphics)
{
    TCellGraphic::Alive = 0;
    auto* own = new TCellGraphic();
    TOtherGraphic other;
    Grid->SetGraphicObjectEx(1, 1, own);
    Grid->SetGraphicObjectEx(2, 1, &other);
    TOtherGraphic user;
    Grid->SetObjectEx(2, 1, &user);
    Grid->FreeCellPropertiesRect(0, 0, 4, 4);
    EXPECT_EQ(TCellGraphic::Alive, 0);
    EXPECT_FALSE(Grid->HasCellProperties(2, 1));
    // FreeCellProperties never frees the graphic.
    auto* kept = new TCellGraphic();
    Grid->SetGraphicObjectEx(3, 3, kept);
    Grid->FreeCellProperties(3, 3);
    EXPECT_EQ(TCellGraphic::Alive, 1);
    delete kept;
}

TEST_F(BaseGridStore, EachBlockHasOneOwnerThroughMovesCountsAndDestruction)
{
    TCountedProps::Alive = 0;
    auto put = [&](Integer c, Integer r) { Grid->SetCellProperties(c, r, new TCountedProps(Grid, c, r)); };
    Grid->SetColCount(6);
    Grid->SetRowCount(8);
    put(1, 1);
    put(2, 3);
    put(5, 7);
    Grid->SetCellEx(2, 3, L"b");
    // Moving rows and columns carries the block with its text and empties
    // the source slot.
    Grid->MoveRow(3, 6);
    EXPECT_FALSE(Grid->HasCellProperties(2, 3));
    EXPECT_TRUE(Grid->HasCellProperties(2, 6));
    EXPECT_EQ(Grid->GetGridCell(2, 6), L"b");
    Grid->MoveColumn(2, 4);
    EXPECT_TRUE(Grid->HasCellProperties(4, 6));
    EXPECT_FALSE(Grid->HasCellProperties(2, 6));
    // Shrinking keeps the entries beyond the counts with their blocks; they
    // are seen again when the count grows back.
    Grid->SetRowCount(4);
    Grid->SetColCount(3);
    EXPECT_FALSE(Grid->HasCellProperties(4, 6));
    Grid->SetRowCount(8);
    Grid->SetColCount(6);
    EXPECT_TRUE(Grid->HasCellProperties(4, 6));
    // Replacing a block frees the old one.
    put(1, 1);
    EXPECT_EQ(TCountedProps::Alive, 3);
    // Destruction frees every block once, those beyond the counts too.
    Grid->SetRowCount(2);
    Grid->SetColCount(2);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(TCountedProps::Alive, 0);
}

TEST_F(BaseGridStore, ClearingFreesBlocksOnceAndClearingAgainFindsNothing)
{
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r) Grid->GetCellProperties(c, r);
    Grid->FreeAllCellProperties();
    Grid->FreeAllCellProperties();
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r) EXPECT_FALSE(Grid->HasCellProperties(c, r));
}

TEST_F(BaseGridStore, TextAccessorsResolveMergesAndKeepTheirOrder)
{
    Grid->SetCellEx(1, 1, L"base");
    Grid->SetGridCell(2, 2, L"hidden");
    Grid->MergeCells(1, 1, 2, 2);
    for (auto [c, r] : std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 2}, {2, 2}})
        EXPECT_EQ(Grid->GetCellEx(c, r), L"base") << c << "," << r;
    Grid->Log.clear();
    Grid->SetCellEx(2, 2, L"new");
    EXPECT_EQ(Grid->GetGridCell(1, 1), L"new");
    EXPECT_EQ(Grid->GetGridCell(2, 2), L"hidden");
    EXPECT_EQ(Grid->Log, std::vector<String>{L"scroll 1,1 new"});
    Grid->SetCellEx(3, 3, L"plain");
    EXPECT_FALSE(Grid->EditCellSet());
    // The last row with HideLastRow announces, with or without a block.
    Grid->SetHideLastRow(true);
    Grid->Log.clear();
    Grid->SetCellEx(3, 4, L"x");
    Grid->GetCellProperties(2, 4);
    Grid->SetCellEx(2, 4, L"y");
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"changed", L"scroll 2,4 y", L"changed"}));
}

TEST_F(BaseGridStore, DisplayEventsFireForBaseRowsBelowTheNormalCountWithThePackedForm)
{
    Grid->SetCellEx(1, 1, L"abc");
    Grid->SetCellEx(1, 3, L"low");
    std::vector<String> calls;
    Grid->OnGetDisplText = [&](TObject*, Integer c, Integer r, String& v) {
        calls.push_back(IntToStr(c) + L"," + IntToStr(r));
        v += L"!";
    };
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"abc");  // nothing set the normal count
    EXPECT_TRUE(calls.empty());
    Grid->SetNormalRowCount(3);
    Grid->MergeCells(1, 1, 1, 2);
    EXPECT_EQ(Grid->GetCellEx(1, 2), L"abc!");
    EXPECT_EQ(calls, std::vector<String>{L"1,1"});
    EXPECT_EQ(Grid->GetCellEx(1, 3), L"low");
    // The wide event always gives the packed form.
    Grid->OnGetDisplText = nullptr;
    Grid->OnGetDisplWideText = [](TObject*, Integer, Integer, String&) {};
    const String packed = Grid->GetCellEx(1, 1);
    const String want = String(L"|\\") + String({wchar_t(0), L'a', wchar_t(0), L'b', wchar_t(0), L'c'});
    EXPECT_EQ(packed, want);
    Grid->SetCellEx(2, 1, PackWideText(L"\u4e2d"));
    Grid->OnGetDisplWideText = [](TObject*, Integer, Integer, String& v) { v += L"x"; };
    EXPECT_EQ(UnpackWideText(Grid->GetCellEx(2, 1)), L"\u4e2dx");
}

TEST(CellPropertiesTest, AssignCopiesExactlyItsListAndIgnoresOtherClasses)
{
    TCellProperties a(nullptr, 1, 2), b(nullptr, 7, 8);
    a.FIsBaseCell = false;
    a.FCellSpanX = 2;
    a.FCellSpanY = 3;
    a.FMergeCollaps = true;
    a.FObject = 99;
    a.FBrushColor = 0x11;
    a.FBrushColorTo = 0x22;
    a.FGradientDirection = GradientHorizontal;
    a.FFontName = L"Arial";
    a.FEditor = edNone;
    a.FPaintID = 5;
    a.FCalcType = acSUM;
    a.FNodeLevel = 4;
    b.Assign(&a);
    EXPECT_FALSE(b.FIsBaseCell);
    EXPECT_EQ(b.FCellSpanX, 2);
    EXPECT_EQ(b.FCellSpanY, 0);  // as read: collapsed
    EXPECT_TRUE(b.FMergeCollaps);
    EXPECT_EQ(b.FOwnerCol, 1);
    EXPECT_EQ(b.FOwnerRow, 2);
    EXPECT_EQ(b.FObject, 99u);
    EXPECT_EQ(b.FBrushColor, TColor(0x11));
    EXPECT_EQ(b.FFontName, L"Arial");
    EXPECT_EQ(b.FEditor, edNone);
    EXPECT_EQ(b.FNodeLevel, 4);
    EXPECT_EQ(b.FBrushColorTo, clNone);
    EXPECT_EQ(b.FGradientDirection, GradientVertical);
    EXPECT_EQ(b.FPaintID, 0);
    EXPECT_EQ(b.FCalcType, acNONE);
    TPersistent foreign;
    EXPECT_NO_THROW(b.Assign(&foreign));
    EXPECT_EQ(b.FCellSpanX, 2);
}
