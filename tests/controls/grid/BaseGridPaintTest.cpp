// The paint frame: the hidden last row, one paint per merged area per pass,
// clipping under the fixed cells, colour precedence of hover, active row and
// selection, the selection faces by column range, grid lines of each width,
// and the canvas left with solid brush and pen.
#include "tests/controls/grid/GridTestSupport.h"

#include "tests/platform/gfx/GdiTestUtil.h"

namespace {
const TColor kGrid = TColor(0xFFFFFF);
const TColor kFixed = TColor(0xC0C0C0);
}  // namespace

class BaseGridPaint : public BaseGridFixture {
protected:
    void SetUp() override
    {
        BaseGridFixture::SetUp();
        Grid->SetColor(kGrid);
        Grid->SetFixedColor(kFixed);
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        Drv->Pump();
    }
    void Repaint()
    {
        Grid->Drawn.clear();
        Grid->Invalidate();
        Drv->Pump();
    }
};

TEST_F(BaseGridPaint, AMergedAreaPaintsOncePerPassAsOneCell)
{
    Grid->SetCellEx(1, 1, L"M");
    Grid->MergeCells(1, 1, 2, 2);
    Repaint();
    int n = 0;
    for (auto& d : Grid->Drawn)
        if (d.Col == 1 && d.Row == 1) {
            ++n;
            EXPECT_EQ(d.Rect, (TRect{65, 25, 191, 71}));  // the area less the 1-pixel lines
        }
    EXPECT_EQ(n, 1);
    for (auto& d : Grid->Drawn)
        EXPECT_FALSE(d.Col >= 1 && d.Col <= 2 && d.Row >= 1 && d.Row <= 2 && !(d.Col == 1 && d.Row == 1));
    Repaint();
    n = 0;
    for (auto& d : Grid->Drawn) n += d.Col == 1 && d.Row == 1;
    EXPECT_EQ(n, 1);
}

TEST_F(BaseGridPaint, AnAreaScrolledUnderTheFixedRowsPaintsOnlyBelowThem)
{
    Grid->SetRowCount(20);
    Grid->MergeCells(1, 1, 1, 4);  // rows 1..4 of column 1
    Grid->SelectedColor = TColor(0x0000FF);
    Grid->GetCellProperties(1, 1);
    Grid->SetTopRow(3);  // rows 1 and 2 scrolled out: the area starts under row 0
    Grid->SetCol(3);
    Grid->SetRow(6);
    Repaint();
    // Row 0 (fixed) keeps its colour over column 1; below it the area shows.
    EXPECT_EQ(Pixel(80, 10), kFixed);
    EXPECT_EQ(Pixel(80, 30), kGrid);
}

TEST_F(BaseGridPaint, HiddenLastRowShowsOnlyTheGridColour)
{
    Grid->SetCellEx(1, 4, L"WWWW");
    Grid->SetHideLastRow(true);
    Repaint();
    for (auto& d : Grid->Drawn) EXPECT_NE(d.Row, 4);
    for (int x = 66; x < 127; x += 6) EXPECT_EQ(Pixel(x, 4 * 24 + 12), kGrid);
}

TEST_F(BaseGridPaint, HoverActiveAndSelectionColoursInOrder)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goRangeSelect});
    Grid->SetHoverRow(true);
    Grid->SetHoverRowColor(TColor(0x00FF00));
    Grid->SetActiveRowShow(true);
    Grid->SetActiveRowColor(TColor(0xFF0000));
    Grid->SelectedColor = TColor(0x0000FF);
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->SetSelection(TGridRect{1, 2, 3, 2});
    Grid->SetHoverRowIdx(2);
    Repaint();
    // The hover row wins over the selection with hcSelected, the active row
    // colour wins over both right of the fixed columns except on the current
    // cell.
    EXPECT_EQ(Pixel(64 + 30, 2 * 24 + 12), TColor(0xFF0000));
    EXPECT_EQ(Pixel(4 * 64 + 30, 2 * 24 + 12), TColor(0xFF0000));
    Grid->SetActiveRowShow(false);
    Repaint();
    EXPECT_EQ(Pixel(64 + 30, 2 * 24 + 12), TColor(0x00FF00));
    Grid->SetHoverRowCells(THoverRowCells{hcNormal});
    Repaint();
    EXPECT_EQ(Pixel(64 + 30, 2 * 24 + 12), TColor(0x0000FF));
    EXPECT_EQ(Pixel(4 * 64 + 30, 2 * 24 + 12), TColor(0x00FF00));  // not selected: hovered
}

TEST_F(BaseGridPaint, SelectionFacesFollowTheColumnRangeAndFocus)
{
    Grid->SetSelectionStyle(ssWin7);
    Grid->SetCol(3);
    Grid->SetRow(2);
    Grid->SetSelection(TGridRect{1, 2, 3, 2});
    Repaint();
    // Focused Win7 face: the gradient starts at FCEBDC near the top.
    const TColor top = Pixel(2 * 64 + 30, 2 * 24 + 3);
    EXPECT_NEAR(int(top & 0xFF), 0xDC, 6);
    // Left end: the border's rounded corner leaves the corner pixel in the
    // grid colour; the middle segment runs edge to edge.
    EXPECT_EQ(Pixel(64, 48), kGrid);
    EXPECT_NE(Pixel(2 * 64, 2 * 24 + 12), kGrid);
    // Segment kinds by the selection's column range (drawn focused by
    // option so the current cell is part of it): rounded corners, which
    // show the grid's colour, only at the outer ends.
    Grid->SetOptions(Grid->Options() + TGridOptions{goDrawFocusSelected});
    Repaint();
    const int cornerRow[] = {48, 70};
    for (int y : cornerRow) {
        EXPECT_EQ(Pixel(64, y), kGrid) << "left end, left corner " << y;
        EXPECT_EQ(Pixel(254, y), kGrid) << "right end, right corner " << y;
        for (int x : {126, 128, 190, 192}) EXPECT_NE(Pixel(x, y), kGrid) << "no corner at " << x << "," << y;
    }
    // A one-column selection is rounded at both ends.
    Grid->SetSelection(TGridRect{2, 2, 2, 2});
    Repaint();
    EXPECT_EQ(Pixel(128, 48), kGrid);
    EXPECT_EQ(Pixel(190, 48), kGrid);
    Grid->SetOptions(Grid->Options() - TGridOptions{goDrawFocusSelected});
    Grid->SetSelection(TGridRect{1, 2, 3, 2});
    // Without focus every style shows the grey face.
    Form->SetFocus();
    Grid->Parent()->SetFocus();
    ::SetFocus(nullptr);
    Repaint();
    const TColor grey = Pixel(2 * 64 + 30, 2 * 24 + 3);
    EXPECT_NEAR(int(grey & 0xFF), 0xF8, 6);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
}

TEST_F(BaseGridPaint, GridLinesOfEachWidthInsideTheCells)
{
    Grid->SetGridLineColor(TColor(0x0000FF));
    Grid->SetGridFixedLineColor(TColor(0x00FF00));
    struct Case {
        int width;
        int yLine;  // row 2's bottom line
        TColor line;
    };
    const Case cases[] = {{1, 71, TColor(0x0000FF)}, {3, 70, TColor(0x0000FF)}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.width);
        Grid->SetGridLineWidth(k.width);
        Repaint();
        EXPECT_EQ(Pixel(64 + 30, k.yLine), k.line);
        EXPECT_EQ(Pixel(64 + 30, 60), kGrid);
        // Fixed cells keep their 1-pixel line in the fixed line colour.
        EXPECT_EQ(Pixel(30, 23), TColor(0x00FF00));
    }
    // Width 0: a pen of width 0 in the colour the background left on it.
    Grid->SetGridLineWidth(0);
    Repaint();
    EXPECT_EQ(Pixel(64 + 30, 71), kGrid);
    EXPECT_EQ(Pixel(30, 23), TColor(0x00FF00));
}

TEST_F(BaseGridPaint, TheFrameLeavesSolidBrushAndPenAndRecordsItsLinesInOrder)
{
    TTestCanvas surface(200, 100);
    TCanvas c;
    c.SetHandle(surface.Dc);
    c.Brush()->SetStyle(bsClear);
    GdiStartRecording(surface.Dc);
    Grid->SetCellEx(1, 1, L"ab");
    Grid->PaintCell(&c, 1, 1, TRect{10, 10, 74, 34}, TGridDrawState());
    std::vector<String> kinds;
    for (const TGdiRecord& r : GdiRecords(surface.Dc)) kinds.push_back(r.Kind);
    // Background first, text last.
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back().substr(0, 8), L"DrawText");
    EXPECT_EQ(c.Brush()->Style(), bsSolid);
    EXPECT_EQ(c.Pen()->Style(), psSolid);
    c.SetHandle(nullptr);
}

