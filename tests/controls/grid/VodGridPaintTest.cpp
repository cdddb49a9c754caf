// The string grid's own painting: the order of the paint and cell steps on
// the recording canvas, the colour of a cell in each situation on captured
// pixels, the empty area's background, the sizing lines, the alignment of
// cells, the writers of the selection settings and moved pixels on
// scrolling.
#include "tests/controls/grid/StringGridFixture.h"

#include <functional>

#include "platform/base/SysUtils.h"
#include "platform/ui/WindowManager.h"

namespace {

const TColor kWhite = TColor(0xFFFFFF);

class TPaintGrid : public TVodStringGrid {
public:
    explicit TPaintGrid(TComponent* o) : TVodStringGrid(o) {}
    String Content;
    String GetCellContent(Integer ACol, Integer ARow) override
    {
        const String s = Cells(ACol, ARow);
        if (!s.empty() && s[0] == L'=') return Content;
        return TVodStringGrid::GetCellContent(ACol, ARow);
    }
};

class VodGridPaint : public TStringGridFixture<TPaintGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TPaintGrid>::SetUp();
        Grid->SetLook(glClassic);
        Grid->SetColor(kWhite);
        Drv->Pump();
    }
    void Repaint()
    {
        Grid->Invalidate();
        Drv->Pump();
    }
    TColor Pixel(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Grid->Handle(), px, w, h);
        const uint32_t v = px[size_t(y) * size_t(w) + size_t(x)];
        return TColor(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    }
    // A point inside cell (c, r) clear of text: 40 pixels from its left.
    TColor CellPixel(int c, int r)
    {
        const TRect rc = Grid->CellRect(c, r);
        return Pixel(rc.Left + 40, rc.Top + rc.Height() / 2);
    }
    // Paints the grid on a recording memory DC and returns the records.
    std::vector<TGdiRecord> Record(int w = 320, int h = 120)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(dc, bmp);
        GdiStartRecording(dc);
        Grid->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
        GdiStopRecording(dc);
        std::vector<TGdiRecord> out = GdiRecords(dc);
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
        return out;
    }
};

size_t IndexOf(const std::vector<TGdiRecord>& R, const std::function<bool(const TGdiRecord&)>& Match)
{
    for (size_t i = 0; i < R.size(); ++i)
        if (Match(R[i])) return i;
    return size_t(-1);
}

bool Inside(const TRect& Outer, const TRect& Inner)
{
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}

}  // namespace

TEST_F(VodGridPaint, CellStepsRunInTheirOrderAndTheEmptyAreaAfterTheCells)
{
    Grid->SetCells(2, 2, L"Text");
    Grid->OnGetCellBorder = [](TObject*, Integer ARow, Integer ACol, TPen* P, TCellBorders& B) {
        if (ACol == 2 && ARow == 2) {
            B = TCellBorders{cbBottom};
            P->SetColor(TColor(0x0000FF));
        }
    };
    // A gradient behind the cells: the grid is wider than its 5 columns.
    Grid->SetBounds(0, 0, 400, 180);
    Grid->BackGround()->SetDisplay(bdGradientVert);
    Grid->BackGround()->SetColor(TColor(0x00FF00));
    Grid->BackGround()->SetColorTo(TColor(0x008000));
    Grid->BackGround()->SetCells(bcFixed);
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->SetFocus();
    Drv->Pump();
    const std::vector<TGdiRecord> R = Record(400, 180);
    const TRect cell = Grid->CellRect(2, 2);
    const size_t fill = IndexOf(R, [&](const TGdiRecord& r) { return (r.Kind == L"FillRect" || r.Kind == L"Rectangle") && Inside(cell, r.Rect); });
    const size_t text = IndexOf(R, [](const TGdiRecord& r) { return r.Kind == L"DrawText" && r.Text == L"Text"; });
    const size_t border = IndexOf(R, [](const TGdiRecord& r) {
        return (r.Kind == L"LineTo" || r.Kind == L"Polyline") && r.Color == RGB(255, 0, 0);
    });
    const size_t focus = IndexOf(R, [](const TGdiRecord& r) { return r.Kind == L"DrawFocusRect"; });
    const size_t lastCell = IndexOf(R, [](const TGdiRecord& r) { return r.Kind == L"DrawText" && r.Text == L"Text"; });
    size_t emptyArea = size_t(-1);
    for (size_t i = 0; i < R.size(); ++i)
        if (R[i].Kind == L"Rectangle" && R[i].Rect.Top >= 120) emptyArea = std::min(emptyArea, i);
    ASSERT_NE(fill, size_t(-1));
    ASSERT_NE(text, size_t(-1));
    ASSERT_NE(border, size_t(-1));
    ASSERT_NE(focus, size_t(-1));
    ASSERT_NE(emptyArea, size_t(-1));
    EXPECT_LT(fill, text);
    EXPECT_LT(text, border);
    EXPECT_LT(border, focus);
    EXPECT_LT(lastCell, emptyArea);
    // The focus rectangle is the last step of its cell: nothing of the cell
    // is drawn after it.
    for (size_t i = focus + 1; i < R.size(); ++i)
        if (R[i].Kind == L"DrawText") EXPECT_NE(R[i].Text, L"Text");
}

TEST_F(VodGridPaint, CellColoursBySituation)
{
    struct TCase {
        const char* Name;
        std::function<void(TPaintGrid*)> Setup;
        int Col, Row;
        TColor Expected;
    };
    const TColor band1 = TColor(0x0000FF), band2 = TColor(0x00FFFF), sel = TColor(0xFF0000);
    const std::vector<TCase> cases = {
        {"own colour in a fixed row", [](TPaintGrid* g) { g->SetColors(2, 0, TColor(0x00A0FF)); }, 2, 0,
         TColor(0x00A0FF)},
        {"fixed cell without one", [](TPaintGrid*) {}, 2, 0, ColorToRGB(clBtnFace)},
        {"first band",
         [&](TPaintGrid* g) {
             g->Bands()->SetPrimaryColor(band1);
             g->Bands()->SetSecondaryColor(band2);
             g->Bands()->SetActive(true);
         },
         2, 1, band1},
        {"second band",
         [&](TPaintGrid* g) {
             g->Bands()->SetPrimaryColor(band1);
             g->Bands()->SetSecondaryColor(band2);
             g->Bands()->SetActive(true);
         },
         2, 2, band2},
        {"bands leave fixed cells",
         [&](TPaintGrid* g) {
             g->Bands()->SetPrimaryColor(band1);
             g->Bands()->SetActive(true);
         },
         0, 1, ColorToRGB(clBtnFace)},
        {"mixer over a band: 40 % selection, 60 % band",
         [&](TPaintGrid* g) {
             g->Bands()->SetPrimaryColor(band1);
             g->Bands()->SetSecondaryColor(band1);
             g->Bands()->SetActive(true);
             g->SetSelectionColor(sel);
             g->SetSelectionColorMixer(true);
             g->SetSelectionColorMixerFactor(40);
             g->SetOptions(g->Options() + TGridOptions{goRangeSelect});
             g->SetSelection(TGridRect{1, 1, 3, 3});
         },
         2, 1, TColor(0x660099)},
        {"mixer over the grid colour: pure selection colour",
         [&](TPaintGrid* g) {
             g->SetSelectionColor(sel);
             g->SetSelectionColorMixer(true);
             g->SetSelectionColorMixerFactor(40);
             g->SetOptions(g->Options() + TGridOptions{goRangeSelect});
             g->SetSelection(TGridRect{1, 1, 3, 3});
         },
         2, 1, sel},
        {"disjunct row other than the current one: 10 % darker",
         [](TPaintGrid* g) {
             g->SetSelectionColor(TColor(0xEACAB6));
             g->MouseActions()->SetDisjunctRowSelect(true);
             g->SetRowSelect(3, true);
         },
         2, 3, TColor(0xD3B6A4)},
        {"negative number on AutoColor's background",
         [](TPaintGrid* g) {
             g->SetCells(2, 2, L"-5");
             g->AutoColor()->NegativeNumber()->SetBkgColor(TColor(0x00FF00));
         },
         2, 2, TColor(0x00FF00)},
        {"positive number keeps the grid colour",
         [](TPaintGrid* g) {
             g->SetCells(2, 2, L"5");
             g->AutoColor()->NegativeNumber()->SetBkgColor(TColor(0x00FF00));
         },
         2, 2, kWhite},
        {"filter-edit row",
         [](TPaintGrid* g) {
             g->FilterEdit()->Enabled = true;
             g->FilterEdit()->Row = 1;
             g->FilterEdit()->Color = TColor(0x80FF80);
         },
         2, 1, TColor(0x80FF80)},
        {"colour hook",
         [](TPaintGrid* g) {
             g->OnGetCellColor = [](TObject*, Integer ARow, Integer ACol, TGridDrawState, TBrush* B, TFont*) {
                 if (ACol == 3 && ARow == 3) B->SetColor(TColor(0x123456));
             };
         },
         3, 3, TColor(0x123456)},
        {"own colour in a fixed row of a modern look",
         [](TPaintGrid* g) {
             g->SetLook(glXP);
             g->SetColors(2, 0, TColor(0x00A0FF));
         },
         2, 0, TColor(0x00A0FF)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        c.Setup(Grid);
        Repaint();
        // The filter edit row shows its condition's name as a grey
        // placeholder at the left: its colour is read at the cell's right.
        const TRect rc = Grid->CellRect(c.Col, c.Row);
        const TColor got = c.Row == Grid->FilterEdit()->Row && Grid->FilterEdit()->Enabled
                               ? Pixel(rc.Right - 4, rc.Top + rc.Height() / 2)
                               : CellPixel(c.Col, c.Row);
        EXPECT_EQ(got, c.Expected) << std::hex << unsigned(got);
    }
}

TEST_F(VodGridPaint, DisabledGridGreysItsText)
{
    Grid->SetCells(2, 2, L"WWWW");
    Grid->SetEnabled(false);
    const std::vector<TGdiRecord> R = Record();
    const size_t t = IndexOf(R, [](const TGdiRecord& r) { return r.Kind == L"DrawText" && r.Text == L"WWWW"; });
    ASSERT_NE(t, size_t(-1));
    EXPECT_EQ(R[t].Color, COLORREF(ColorToRGB(Grid->DisabledFontColor())));
}

TEST_F(VodGridPaint, EmptyAreaBackgroundOnlyWhereTheCellsLeaveRoom)
{
    const TColor green = TColor(0x00FF00);
    Grid->BackGround()->SetDisplay(bdGradientHorz);
    Grid->BackGround()->SetColor(green);
    Grid->BackGround()->SetColorTo(green);
    Grid->BackGround()->SetCells(bcFixed);
    Grid->SetBounds(0, 0, 400, 150);
    Repaint();
    const TRect last = Grid->CellRect(4, 4);
    // Right of the last column and below the last row.
    EXPECT_EQ(Pixel(last.Right + 20, 10), green);
    EXPECT_EQ(Pixel(10, last.Bottom + 10), green);
    // A grid whose cells fill the client: the cells' own colours only.
    Grid->SetRowCount(50);
    Grid->SetColCount(50);
    Repaint();
    EXPECT_NE(Pixel(395, 145), green);
    Grid->SetRowCount(5);
    Grid->SetColCount(5);
    // A gradient without its end colour paints nothing there.
    Grid->BackGround()->SetColorTo(clNone);
    Repaint();
    EXPECT_EQ(Pixel(last.Right + 20, 10), kWhite);
    // A tiled picture over the fixed cells only leaves the empty area alone.
    Grid->BackGround()->SetDisplay(bdTile);
    TBitmap* b = Grid->BackGround()->Bitmap();
    b->SetSize(8, 8);
    b->Canvas()->Brush()->SetColor(green);
    b->Canvas()->FillRect(TRect{0, 0, 8, 8});
    Grid->BackGround()->SetCells(bcFixed);
    Repaint();
    EXPECT_EQ(Pixel(last.Right + 20, 10), kWhite);
    Grid->BackGround()->SetCells(bcAll);
    Repaint();
    EXPECT_EQ(Pixel(last.Right + 20, 10), green);
}

TEST_F(VodGridPaint, SizeLinesRestoreThePixelsOnTheSecondCall)
{
    Grid->SetCells(1, 1, L"WWWWWWWW");
    Repaint();
    auto grab = [&] {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Grid->Handle(), px, w, h);
        return px;
    };
    const auto before = grab();
    Grid->DrawColSizeLine(100);
    Grid->DrawRowSizeLine(30);
    Drv->Pump();
    EXPECT_NE(grab(), before);
    Grid->DrawColSizeLine(100);
    Grid->DrawRowSizeLine(30);
    Drv->Pump();
    EXPECT_EQ(grab(), before);
}

TEST_F(VodGridPaint, AlignmentOfNumbersFormulasAndBlocks)
{
    TAlignment ha;
    TVAlignment va;
    Grid->SetCells(1, 1, L"12.5");
    Grid->SetCells(2, 1, L"=A1");
    Grid->SetCells(3, 1, L"abc");
    Grid->SetAlignments(3, 1, taCenter);
    Grid->Content = L"42";
    Grid->SetAutoNumAlign(true);
    Grid->CellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taRightJustify);
    // A formula is classified by what GetCellContent gives for it.
    Grid->CellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, taRightJustify);
    Grid->Content = L"text";
    Grid->CellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    // Without AutoNumAlign the block's alignment counts, not a number's.
    Grid->SetAutoNumAlign(false);
    Grid->CellAlignment(3, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
    Grid->CellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    Grid->SetVAlignment(vtaBottom);
    Grid->CellAlignment(1, 1, ha, va);
    EXPECT_EQ(va, vtaBottom);
    EXPECT_EQ(Grid->VAlignFlag(), Cardinal(DT_BOTTOM));
    // The hook has the last word.
    Grid->OnGetAlignment = [](TObject*, Integer, Integer, TAlignment& H, TVAlignment&) { H = taCenter; };
    Grid->CellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
}

TEST_F(VodGridPaint, SelectionWritersRepaintOnlyOnAChange)
{
    ValidateRect(Grid->Handle(), nullptr);
    TRect u;
    Grid->SetSelectionColor(Grid->SelectionColor());
    Grid->SetSelectionColorMixerFactor(Grid->SelectionColorMixerFactor());
    Grid->SetShowSelection(Grid->ShowSelection());
    EXPECT_FALSE(GetUpdateRect(Grid->Handle(), &u, FALSE));
    Grid->SetSelectionColor(TColor(0x123456));
    EXPECT_TRUE(GetUpdateRect(Grid->Handle(), &u, FALSE));
    Grid->SetSelectionColorMixerFactor(140);
    EXPECT_EQ(Grid->SelectionColorMixerFactor(), 100);
    Grid->SetSelectionColorMixerFactor(-3);
    EXPECT_EQ(Grid->SelectionColorMixerFactor(), 0);
    EXPECT_EQ(TVodStringGrid::BlendColors(TColor(0xFF0000), TColor(0x0000FF), 40), TColor(0x660099));
    EXPECT_EQ(TVodStringGrid::BlendColors(clNone, TColor(0x0000FF), 40), TColor(0x0000FF));
    EXPECT_EQ(TVodStringGrid::BlendColors(TColor(0xFF0000), clNone, 40), TColor(0xFF0000));
    Grid->SetSpreadSheet(true);
    EXPECT_TRUE(Grid->SelectionRectangle());
    EXPECT_TRUE(Grid->SelectionResizer());
    EXPECT_TRUE(Grid->Options().Contains(goEditing));
    EXPECT_TRUE(Grid->MouseActions()->RangeSelectAndEdit());
}

TEST_F(VodGridPaint, ScrollingOneRowPaintsOnlyTheRowThatCameIntoView)
{
    Grid->SetRowCount(100);
    Drv->Pump();
    ValidateRect(Grid->Handle(), nullptr);
    Grid->SetTopRow(2);
    TRect u;
    ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &u, FALSE));
    // The strip at the bottom one row high, not the whole grid.
    EXPECT_EQ(u, (TRect{0, 120 - Grid->RowHeights(2), 320, 120}));
    Drv->Pump();
    // A background picture follows the control: the whole grid repaints.
    Grid->BackGround()->SetDisplay(bdGradientVert);
    Drv->Pump();
    ValidateRect(Grid->Handle(), nullptr);
    Grid->SetTopRow(3);
    ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &u, FALSE));
    EXPECT_EQ(u, (TRect{0, 0, 320, 120}));
}
