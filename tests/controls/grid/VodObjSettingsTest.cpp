// The settings objects of searching, navigation, mouse actions, the
// synchronised grid, bands and focus: values at creation, the writers' side
// effects and announcements, and what Assign copies.
#include <gtest/gtest.h>

#include "controls/grid/VodObj.h"

TEST(SearchFooterTest, CreationCaptionsAndAnnouncements)
{
    TSearchFooter bare(nullptr, false), design(nullptr, true);
    EXPECT_EQ(bare.FindNextCaption(), L"");
    EXPECT_EQ(bare.HintHighlight(), L"");
    EXPECT_EQ(design.FindNextCaption(), L"Find &next");
    EXPECT_EQ(design.FindPrevCaption(), L"Find &previous");
    EXPECT_EQ(design.HighLightCaption(), L"Highlight");
    EXPECT_EQ(design.MatchCaseCaption(), L"Match case");
    EXPECT_EQ(design.HintClose(), L"Close");
    EXPECT_EQ(design.HintFindNext(), L"Find next occurrence");
    EXPECT_EQ(design.HintFindPrev(), L"Find previous occurrence");
    EXPECT_EQ(design.HintHighlight(), L"Highlight occurrences");
    EXPECT_TRUE(design.AutoSearch());
    EXPECT_EQ(design.Color(), TColor(0xFFFFFF));
    EXPECT_EQ(design.ColorTo(), clBtnFace);
    EXPECT_EQ(design.SearchColumn(), -1);
    EXPECT_EQ(design.SearchErrorColor(), TColor(0x0000FF));
    EXPECT_FALSE(design.Visible());
    int n = 0;
    design.OnChange = [&](TObject*) { ++n; };
    design.SetColor(design.Color());  // every write
    design.SetShowClose(true);        // every write
    EXPECT_EQ(n, 2);
    design.SetVisible(false);  // only a change
    design.SetShowFindNext(true);
    EXPECT_EQ(n, 2);
    design.SetVisible(true);
    EXPECT_EQ(n, 3);
    design.LastSearch = L"abc";
    design.SetAutoSearch(false);
    EXPECT_EQ(design.LastSearch, L"");
    EXPECT_EQ(n, 3);
}

TEST(SearchFooterTest, AssignCopiesItsListWithoutEvents)
{
    TSearchFooter a(nullptr, false), b(nullptr, true);
    a.SetAutoSearch(false);
    a.SetSearchFixedCells(true);
    a.SetAutoThemeAdapt(true);
    a.SetVisible(true);
    a.SetSearchColumn(3);
    a.Font()->SetName(L"Tahoma");
    int n = 0;
    b.OnChange = [&](TObject*) { ++n; };
    b.Assign(&a);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(b.FindNextCaption(), L"");
    EXPECT_TRUE(b.Visible());
    EXPECT_EQ(b.SearchColumn(), 3);
    EXPECT_EQ(b.Font()->Name(), L"Tahoma");
    EXPECT_TRUE(b.AutoSearch());
    EXPECT_FALSE(b.SearchFixedCells());
    EXPECT_FALSE(b.AutoThemeAdapt());
    TBands other;
    EXPECT_NO_THROW(b.Assign(&other));
}

TEST(NavigationTest, DefaultsSideEffectsAndAssign)
{
    TNavigation n;
    EXPECT_TRUE(n.AdvanceOnEnterLoop());
    EXPECT_TRUE(n.SkipDisabledRows());
    EXPECT_FALSE(n.AdvanceOnEnter());
    EXPECT_EQ(n.HomeEndKey(), heFirstLastColumn);
    int changes = 0;
    n.OnChange = [&](TObject*) { ++changes; };
    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter());
    n.SetAdvanceAuto(false);
    EXPECT_TRUE(n.AdvanceOnEnter());
    n.SetAdvanceDirection(adLeftRight);
    n.SetAdvanceInsert(false);
    EXPECT_EQ(changes, 0);
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceInsert(true);
    n.SetAutoGotoWhenSorted(true);
    EXPECT_EQ(changes, 2);
    TNavigation m;
    m.SetKeepScrollOnSort(true);
    n.SetKeepScrollOnSort(false);
    n.SetAllowFmtClipboard(true);
    n.SetCursorAdvance(caSnake);
    m.Assign(&n);
    EXPECT_TRUE(m.KeepScrollOnSort());
    EXPECT_TRUE(m.AllowFmtClipboard());
    EXPECT_EQ(m.CursorAdvance(), caSnake);
    EXPECT_EQ(m.AdvanceDirection(), adTopBottom);
    EXPECT_TRUE(m.AdvanceInsert());
}

TEST(MouseActionsTest, WritersAndAssign)
{
    TMouseActions m;
    EXPECT_TRUE(m.AutoSizeColOnDblClick());
    EXPECT_TRUE(m.PreciseNodeClick());
    EXPECT_EQ(m.WheelAction(), waMoveSelection);
    int inval = 0, disable = 0, change = 0;
    m.OnInvalidate = [&](TObject*) { ++inval; };
    m.OnDisableEdit = [&](TObject*) { ++disable; };
    m.OnChange = [&](TObject*) { ++change; };
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck());
    EXPECT_EQ(inval, 1);
    m.SetEditOnDblClickOnly(false);
    m.SetEditOnDblClickOnly(true);
    EXPECT_EQ(disable, 1);
    m.SetWheelAction(waMoveSelection);
    m.SetWheelAction(waScroll);
    EXPECT_EQ(change, 1);
    // Disjunct modes exclude each other only at design time.
    m.SetDisjunctColSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    m.OnIsDesigning = [](TObject*, bool& d) { d = true; };
    m.SetDisjunctCellSelect(true);
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_FALSE(m.DisjunctColSelect());
    m.FixedComboValues()->Add(L"x");
    m.SetSizeFixedRow(true);
    TMouseActions c;
    c.Assign(&m);
    EXPECT_TRUE(c.DisjunctCellSelect());
    EXPECT_TRUE(c.CheckAllCheck());
    EXPECT_EQ(c.WheelAction(), waScroll);
    EXPECT_FALSE(c.HotmailRowSelect());
    EXPECT_FALSE(c.EditOnDblClickOnly());
    EXPECT_FALSE(c.SizeFixedRow());
    EXPECT_EQ(c.FixedComboValues()->Count(), 0);
}

TEST(SyncGridTest, NeverItsOwnGrid)
{
    TStringGrid owner(nullptr), other(nullptr);
    TSyncGrid s(&owner);
    s.SetGrid(&owner);
    EXPECT_EQ(s.Grid(), nullptr);
    s.SetGrid(&other);
    s.SetMoveRow(true);
    TSyncGrid t(&other);
    t.Assign(&s);
    EXPECT_EQ(t.Grid(), nullptr);  // other is t's own grid
    EXPECT_TRUE(t.MoveRow());
}

TEST(BandsTest, LengthsColoursAndAnnouncements)
{
    TBands b;
    EXPECT_EQ(b.TotalLength(), 2);
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), clWindow);
    int n = 0;
    b.OnChange = [&](TObject*) { ++n; };
    b.SetPrimaryLength(2);  // inactive: no announcement
    EXPECT_EQ(n, 0);
    EXPECT_EQ(b.TotalLength(), 3);
    b.SetActive(true);
    b.SetPrimaryColor(TColor(1));
    b.SetPrimaryColor(TColor(1));
    EXPECT_EQ(n, 2);
    std::vector<TColor> rows;
    for (int r = 1; r <= 6; ++r) rows.push_back(b.BandColor(r, 1, clNone));
    EXPECT_EQ(rows, (std::vector<TColor>{TColor(1), TColor(1), clWindow, TColor(1), TColor(1), clWindow}));
    TBands c;
    c.OnChange = [&](TObject*) { ++n; };
    c.Assign(&b);
    EXPECT_EQ(c.TotalLength(), 3);
    EXPECT_EQ(n, 2);
    c.SetPrimaryLength(0);
    c.SetSecondaryLength(0);
    EXPECT_EQ(c.BandColor(5, 1, TColor(7)), TColor(7));
    TFocusHelper f, g;
    f.SetEnabled(true);
    g.Assign(&f);
    EXPECT_TRUE(g.Enabled());
}
