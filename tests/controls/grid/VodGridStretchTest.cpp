// Column stretching, proportional resizing after a user resize, the end of
// a resize with its notifications, and the sizing-border test.
#include <gtest/gtest.h>

#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridStretch : public TStringGridFixture<TVodStringGrid> {
protected:
    std::vector<Integer> Widths()
    {
        std::vector<Integer> w;
        for (Integer c = 0; c < Grid->ColCount(); ++c) w.push_back(Grid->ColWidths(c));
        return w;
    }
};

}  // namespace

TEST_F(VodGridStretch, StretchAllSpreadsTheRemainderOverTheFirstColumns)
{
    Grid->SetBounds(0, 0, 365, 120);
    Grid->SetColCount(4);
    Grid->SetColWidths(0, 64);
    Grid->StretchColumns();
    EXPECT_TRUE(Grid->ColumnSize()->Stretch());
    EXPECT_TRUE(Grid->ColumnSize()->StretchAll());
    EXPECT_EQ(Widths(), (std::vector<Integer>{64, 101, 100, 100}));
    // A fixed right column keeps its width and is taken from the total.
    Grid->SetFixedRightCols(1);
    Grid->SetColWidths(3, 40);
    Grid->ApplyColumnStretch(-1, -1);
    EXPECT_EQ(Widths(), (std::vector<Integer>{64, 131, 130, 40}));
}

TEST_F(VodGridStretch, StretchColumnFillsTheClientAndFollowsChanges)
{
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 50);
    Grid->ColumnSize()->SetStretch(true);  // with a parent: stretches at once
    EXPECT_EQ(Grid->ColWidths(4), 320 - 4 * 50);
    // Widening another column narrows the stretched one.
    Grid->SetColWidths(1, 70);
    EXPECT_EQ(Grid->ColWidths(4), 320 - 70 - 3 * 50);
    // A new column becomes the stretched last column.
    Grid->SetColCount(6);
    Grid->SetColWidths(4, 30);
    Integer sum = 0;
    for (Integer c = 0; c < 5; ++c) sum += Grid->ColWidths(c);
    EXPECT_EQ(Grid->ColWidths(5), 320 - sum);
    // A named column is stretched instead.
    Grid->ColumnSize()->SetStretchColumn(2);
    Grid->ApplyColumnStretch(2, -1);
    sum = 0;
    for (Integer c = 0; c < 6; ++c) sum += c == 2 ? 0 : Grid->ColWidths(c);
    EXPECT_EQ(Grid->ColWidths(2), 320 - sum);
}

TEST_F(VodGridStretch, OtherColumnsWiderThanTheClient)
{
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 100);
    Grid->ColumnSize()->SetStretch(true);
    // The others already fill the client: at the first normal column the
    // stretched column gets the default width.
    EXPECT_EQ(Grid->ColWidths(4), Grid->DefaultColWidth());
}

TEST_F(VodGridStretch, NoNegativeWidthOnANarrowClient)
{
    Grid->SetBounds(0, 0, 50, 120);
    Grid->SetColCount(3);
    Grid->SetColWidths(0, 64);
    Grid->StretchColumns();
    EXPECT_EQ(Widths(), (std::vector<Integer>{64, 0, 0}));
    Grid->SetColCount(1);
    Grid->ApplyColumnStretch(-1, -1);
    EXPECT_EQ(Grid->ColWidths(0), 50);
}

TEST_F(VodGridStretch, ColumnIndexOutOfRangeRaises)
{
    Grid->ColumnSize()->SetStretch(true);
    for (Integer bad : {5, 10, -2}) {
        try {
            Grid->ApplyColumnStretch(bad, -1);
            ADD_FAILURE() << bad;
        } catch (const EVodGridError& e) {
            EXPECT_EQ(e.Message(), L"Stretch column index out of range") << bad;
        }
    }
    // Off, the index is still checked; nothing else happens.
    Grid->ColumnSize()->SetStretch(false);
    EXPECT_THROW(Grid->ApplyColumnStretch(7, -1), EVodGridError);
}

TEST_F(VodGridStretch, StretchRightColumnWithoutTheSetting)
{
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 40);
    Grid->StretchRightColumn();
    EXPECT_EQ(Grid->ColWidths(4), 320 - 160);
    EXPECT_FALSE(Grid->ColumnSize()->Stretch());
    // Later changes leave it alone while the setting is off.
    Grid->SetColWidths(0, 60);
    EXPECT_EQ(Grid->ColWidths(4), 160);
}

TEST_F(VodGridStretch, EndedColumnResizeScalesOthersAndNotifiesInOrder)
{
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, c == 0 ? 20 : 30 + c);
    Grid->MouseActions()->SetAllColumnSize(true);
    std::vector<String> log;
    Grid->OnEndColumnSize = [&](TObject*, Integer c) { log.push_back(L"end " + IntToStr(c)); };
    Grid->OnUpdateColumnSize = [&](TObject*, Integer c, Integer& w) { log.push_back(L"update " + IntToStr(c) + L"=" + IntToStr(w)); };
    // The mouse handling grabbed column 2 at 50 pixels (as recorded) and
    // the resize ends with the new width.
    Grid->Colclicked = 2;
    Grid->Colclickedsize = 50;
    Grid->ColSized = true;
    Grid->SetColWidths(2, 100);
    EXPECT_EQ(Widths(), (std::vector<Integer>{20, 62, 100, 66, 68}));
    EXPECT_EQ(log, (std::vector<String>{L"end 2", L"update 2=100"}));
    EXPECT_EQ(Grid->Colclicked, -1);
    EXPECT_FALSE(Grid->ColSized);
}

TEST_F(VodGridStretch, UpdateColumnSizeHookChangesTheWidth)
{
    Grid->OnUpdateColumnSize = [](TObject*, Integer, Integer& w) { w = 80; };
    Grid->Colclicked = 1;
    Grid->Colclickedsize = 64;
    Grid->ColSized = true;
    Grid->SetColWidths(1, 120);
    EXPECT_EQ(Grid->ColWidths(1), 80);
    // The hook changed it: the resize does not count as ended.
    EXPECT_EQ(Grid->Colclicked, 1);
    EXPECT_FALSE(Grid->ColSized);
}

TEST_F(VodGridStretch, EndedRowResizeScalesNormalRowsAndKeepsFixedHeights)
{
    Grid->SetRowHeights(0, 30);
    Grid->MouseActions()->SetAllRowSize(true);
    Integer ended = -5;
    Grid->OnEndRowSize = [&](TObject*, Integer r) { ended = r; };
    const Integer h = Grid->RowHeights(2);
    Grid->Rowclicked = 2;
    Grid->Rowclickedsize = h;
    Grid->RowSized = true;
    Grid->SetRowHeights(2, h * 2);
    for (Integer r = 1; r < 5; ++r) EXPECT_EQ(Grid->RowHeights(r), h * 2) << r;
    EXPECT_EQ(Grid->RowHeights(0), 30);
    EXPECT_EQ(Grid->DefaultRowHeight(), h * 2);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(Grid->Rowclicked, -1);
    EXPECT_FALSE(Grid->RowSized);
}

TEST_F(VodGridStretch, SizingBorderWithinThreePixels)
{
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 64);
    Grid->SetDefaultRowHeight(20);
    TGridOptions o = Grid->Options();
    o.Include(goColSizing).Include(goRowSizing);
    Grid->SetOptions(o);
    const TRect h = Grid->CellRect(2, 0);
    const TRect n = Grid->CellRect(2, 3);
    const TRect f = Grid->CellRect(0, 3);
    struct TCase {
        Integer X, Y;
        bool On;
    } cases[] = {
        {h.Right - 2, h.Top + 5, true},    // header, near the right edge
        {h.Left + 2, h.Top + 5, true},     // header, near the left edge
        {h.Left + 20, h.Top + 5, false},   // header, middle
        {n.Right - 1, n.Top + 5, false},   // normal row 3: no column sizing
        {f.Left + 10, f.Bottom - 1, true}, // fixed column, near the bottom
        {f.Left + 10, f.Top + 8, false},   // fixed column, middle
        {400, 10, false},                  // outside the cells
    };
    for (const TCase& c : cases) EXPECT_EQ(Grid->IsOnSizingBorder(c.X, c.Y), c.On) << c.X << "," << c.Y;
}
