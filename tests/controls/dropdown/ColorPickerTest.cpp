// The colour picker and its palette, honeycomb and spectrum: colour texts,
// the choice by colour and index, geometry and hit tests, the generated
// spectrum, keys, wheel and type-ahead open and closed, cancelling.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/ColorPickerDropDown.h"
#include "platform/ui/ExtCtrls.h"

namespace {

class ColorPicker : public DropDownFormTest {
protected:
    TVodColorPickerDropDown* MakePicker(bool defaults = true)
    {
        auto* p = Make<TVodColorPickerDropDown>(20, 40, 160);
        if (defaults) p->AddDefaultColors();
        p->OnSelect = [this](TObject*) { ++Selects; };
        return p;
    }
    int Selects = 0;
};

class ColorPanels : public DropDownFormTest {};

}  // namespace

TEST_F(ColorPicker, ColourTextsForEveryValueText)
{
    auto* p = MakePicker(false);
    struct {
        TColor Color;
        TColorValueText Kind;
        const wchar_t* Want;
    } cases[] = {
        {clRed, cvtNone, L""},
        {clRed, cvtHex, L"0000FF"},
        {clRed, cvtWebName, L"red"},
        {clRed, cvtRGB, L"Red:255,Green:0,Blue:0"},
        {clRed, cvtHTML, L"#FF0000"},
        {TColor(0x563412), cvtWebName, L"#123456"},  // no name: the HTML form
        {TColor(0xFFF8F0), cvtWebName, L"aliceblue"},
        {TColor(0xFFFF00), cvtWebName, L"aqua"},  // the first of aqua and cyan
        {TColor(0x10203), cvtHex, L"010203"},
        {TColor(0x10203), cvtRGB, L"Red:3,Green:2,Blue:1"},
    };
    for (auto& c : cases) {
        p->SetColorValueText(c.Kind);
        p->SetSelectedColor(c.Color);
        EXPECT_EQ(p->SelectedColorText(), c.Want) << c.Color << " " << int(c.Kind);
    }
    // A system colour is resolved when set.
    p->SetColorValueText(cvtHTML);
    p->SetSelectedColor(clWindow);
    Integer w = ColorToRGB(clWindow);
    EXPECT_EQ(p->SelectedColor(), w);
    // In the list style an item's caption wins.
    p->AddDefaultColors();
    p->SetItemIndex(9);
    EXPECT_EQ(p->SelectedColorText(), L"Red");
    p->SetColorSelectionStyle(csDiscrete);
    EXPECT_EQ(p->SelectedColorText(), L"#FF0000");
}

TEST_F(ColorPicker, SelectedColorAndItemIndex)
{
    auto* p = MakePicker();
    EXPECT_EQ(p->Colors()->Count(), 16);
    p->SetSelectedColor(TColor(0x00FF00));
    EXPECT_EQ(p->ItemIndex(), 10);
    EXPECT_EQ(p->Colors()->Items(10)->Caption(), L"Lime");
    EXPECT_EQ(Selects, 1);
    p->SetSelectedColor(TColor(0x00FF00));  // equal: nothing
    EXPECT_EQ(Selects, 1);
    p->SetSelectedColor(TColor(0x123456));  // not listed: the index stays
    EXPECT_EQ(p->ItemIndex(), 10);
    EXPECT_EQ(p->SelectedColor(), TColor(0x123456));
    p->SetItemIndex(16);  // past the end: ignored
    EXPECT_EQ(Selects, 1);
    p->SetItemIndex(10);  // the same index fires again
    p->SetItemIndex(-1);  // and so does -1
    EXPECT_EQ(Selects, 3);
    EXPECT_EQ(p->SelectedColor(), TColor(0x00FF00));
    // A picker made in code starts without colours.
    auto* bare = MakePicker(false);
    EXPECT_EQ(bare->Colors()->Count(), 0);
    EXPECT_FALSE(bare->EditorEnabled());
    EXPECT_EQ(bare->DropDownHeight(), 200);
    ASSERT_NE(bare->ItemSelector(), nullptr);  // the list exists from construction
}

TEST_F(ColorPicker, ListKeysOpenAndClosedTypeAheadAndCancel)
{
    auto* p = MakePicker();
    ShowForm();
    p->SetFocus();
    // Closed: Down from none selects the first, then steps; Home and End.
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ItemIndex(), 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ItemIndex(), 1);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(p->ItemIndex(), 15);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ItemIndex(), 15);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(p->ItemIndex(), 0);

    // Type-ahead: R then E within 500 ms finds "Red"; after a pause anew.
    SendMessage(p->Handle(), WM_KEYDOWN, 'R', 0);
    SendMessage(p->Handle(), WM_KEYDOWN, 'E', 0);
    EXPECT_EQ(p->SearchText(), L"RE");
    EXPECT_EQ(p->ItemIndex(), 9);
    Drv->Advance(600);
    Drv->Pump();
    EXPECT_EQ(p->SearchText(), L"");
    SendMessage(p->Handle(), WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(p->ItemIndex(), 12);  // Blue: the search starts at the selected colour
    p->SetItemIndex(0);

    // Open: Down moves by Columns; the window stays open; Esc restores.
    p->SetColumns(2);
    p->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(p->DroppedDown());
    EXPECT_EQ(p->ItemSelector()->Columns(), 2);
    // The window is wide enough for the items and the vertical bar.
    EXPECT_FALSE(p->ItemSelector()->HorzScrollBar()->IsScrollBarVisible());
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ItemIndex(), 2);
    EXPECT_TRUE(p->DroppedDown());
    SendMessage(p->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Drv->Pump();
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->ItemIndex(), 0);

    // The wheel in the open list moves the hot item; Enter takes it.
    p->ShowDropDown();
    Drv->Pump();
    TVodCustomItemSelector* s = p->ItemSelector();
    // (The pointer over the first item makes it hot first.)
    Drv->Wheel(At(s, 10, 10), -120);
    Drv->Wheel(At(s, 10, 10), -120);
    Drv->Pump();
    EXPECT_EQ(s->ItemHot(), 2);
    EXPECT_EQ(p->ItemIndex(), 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Drv->Pump();
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->ItemIndex(), 2);
}

TEST_F(ColorPicker, PageDownStopsAtTheLastColour)
{
    auto* p = MakePicker(false);
    for (int i = 0; i < 10; ++i) {
        TColorItem* c = p->Colors()->Add();
        c->SetColor(TColor(i * 0x10));
        c->SetCaption(L"C" + IntToStr(i));
    }
    p->SetDropDownHeight(4 * 22 + 4);
    ShowForm();
    p->SetFocus();
    p->SetItemIndex(8);
    p->ShowDropDown();
    Drv->Pump();
    TVodCustomItemSelector* s = p->ItemSelector();
    const Integer n = s->GetVisibleItemCount();
    ASSERT_GT(n, 1);
    EXPECT_TRUE(s->VertScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(s->HorzScrollBar()->IsScrollBarVisible());
    SendMessage(p->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(p->ItemIndex(), 9);  // not past the last
    SendMessage(p->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(p->ItemIndex(), 9 - n);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(p->ItemIndex(), std::max(9 - 4 * n, 0));
    p->HideDropDown(false);
}

TEST_F(ColorPicker, FixedStylesSizeTheWindowAndAPickCloses)
{
    auto* p = MakePicker();
    ShowForm();
    struct {
        TColorSelectionStyle Style;
        Integer W, H;
    } cases[] = {{csDiscrete, 165, 84}, {csColorCube, 182, 160}, {csSpectrum, 150, 174}};
    for (auto& c : cases) {
        p->SetColorSelectionStyle(c.Style);
        p->ShowDropDown();
        Drv->Pump();
        ASSERT_TRUE(p->DroppedDown()) << int(c.Style);
        TDropDownForm* f = p->DropDownForm();
        EXPECT_EQ(f->Width(), c.W + 2) << int(c.Style);
        EXPECT_EQ(f->Height(), c.H + 2) << int(c.Style);
        EXPECT_FALSE(f->Sizeable());
        p->HideDropDown(true);
        Drv->Pump();
    }

    // A click on the honeycomb's white centre cell picks it and closes.
    p->SetColorSelectionStyle(csColorCube);
    p->SetSelectedColor(clBlack);
    p->ShowDropDown();
    Drv->Pump();
    TVodColorCubePanel* cube = p->ColorCubePanel();
    Drv->Click(At(cube, 91, 80));
    Drv->Pump();
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->SelectedColor(), clWhite);
    EXPECT_EQ(p->ItemIndex(), -1);

    // The palette: keys move the box with the window open, Esc takes the
    // colour back.
    p->SetColorSelectionStyle(csDiscrete);
    p->ShowDropDown();
    Drv->Pump();
    SendMessage(p->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(p->ColorSelector()->ItemIndex(), 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ColorSelector()->ItemIndex(), 10);
    EXPECT_EQ(p->SelectedColor(), TColor(0xF2F2F2));
    EXPECT_TRUE(p->DroppedDown());
    SendMessage(p->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Drv->Pump();
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->SelectedColor(), clWhite);
}

TEST_F(ColorPicker, TheEditShowsBoxAndText)
{
    auto* p = MakePicker();
    p->SetSelectedColor(clRed);
    ShowForm();
    Form->SetFocus();
    Drv->Pump();
    HWND h = p->Handle();
    // The box: a black frame around the colour, 4 pixels in.
    const int top = 1 + (p->Height() - 14) / 2;
    EXPECT_EQ(PixelAt(h, 5 + 1 + 7, top + 2 + 7), 0xFF0000u);
    int drawn = 0;
    p->OnDrawSelectedColor = [&](TObject*, TCanvas*, TRect r) {
        ++drawn;
        EXPECT_EQ(r.Left, 1);
        EXPECT_EQ(r.Right, p->Width() - p->DropDownButtonWidth() - 2);
    };
    p->Invalidate();
    Drv->Pump();
    EXPECT_GE(drawn, 1);
}

// ---------------------------------------------------------------------------

TEST_F(ColorPanels, PaletteGeometryHitTestsAndKeys)
{
    auto* pal = new TCustomColorSelector(Form);
    pal->SetParent(Form);
    pal->AddDefaultBoxes();
    pal->ArrangeItems();
    ASSERT_EQ(pal->Items()->Count(), 60);
    struct {
        Integer Index;
        TRect R;
    } boxes[] = {{0, {4, 4, 16, 16}}, {1, {20, 4, 32, 16}}, {10, {4, 20, 16, 32}},  // a gap under stand-alone
                 {20, {4, 32, 16, 44}},                                              // grouped rows touch
                 {59, {148, 68, 160, 80}}};
    for (auto& b : boxes) EXPECT_EQ(pal->Items()->Items(b.Index)->Rect(), b.R) << b.Index;
    EXPECT_EQ(pal->Width(), 148 + 12 + 4 + 1);
    EXPECT_EQ(pal->Height(), 68 + 12 + 4);
    EXPECT_EQ(pal->ItemAtPos(21, 5), 1);
    EXPECT_EQ(pal->ItemAtPos(17, 5), -1);  // the gap

    // Keys: (key, editor enabled, dropped down, from, to).
    struct {
        Word Key;
        bool Editor, Dropped;
        Integer From, To;
    } keys[] = {
        {VK_HOME, false, true, 30, 0},  {VK_PRIOR, false, false, 30, 0}, {VK_END, false, true, 0, 59},
        {VK_RIGHT, false, true, 5, 6},  {VK_RIGHT, true, false, 5, 5},   {VK_LEFT, false, false, 5, 4},
        {VK_DOWN, false, true, 5, 15},  {VK_DOWN, false, true, 55, 55},  {VK_DOWN, false, false, 5, 6},
        {VK_UP, false, true, 15, 5},    {VK_UP, false, true, -1, 0},     {VK_RIGHT, false, true, 59, 59},
    };
    for (auto& k : keys) {
        pal->SetItemIndex(k.From);
        pal->HandleKey(k.Key, k.Editor, k.Dropped);
        EXPECT_EQ(pal->ItemIndex(), k.To) << k.Key << " from " << k.From;
    }
    // SelectedColor picks the first box of exactly that colour, or none.
    pal->SetSelectedColor(TColor(0x7F7F7F));
    EXPECT_EQ(pal->ItemIndex(), 11);
    pal->SetSelectedColor(TColor(0x123456));
    EXPECT_EQ(pal->ItemIndex(), -1);
}

TEST_F(ColorPanels, GroupedPaletteRowsDrawOneOutlinedColumn)
{
    auto* pal = new TCustomColorSelector(Form);
    pal->SetParent(Form);
    pal->SetColor(clWhite);
    pal->AddDefaultBoxes();
    pal->ArrangeItems();
    ShowForm();
    HWND h = pal->Handle();
    const uint32_t border = 0xC5C5C5;
    TRect top = pal->Items()->Items(12)->Rect(), bottom = pal->Items()->Items(52)->Rect();
    // The left and right edges run unbroken from the top box to the bottom.
    for (int y = top.Top; y < bottom.Bottom; ++y) {
        EXPECT_EQ(PixelAt(h, top.Left, y), border) << y;
        EXPECT_EQ(PixelAt(h, top.Right - 1, y), border) << y;
    }
    // No line between two grouped boxes; the top and bottom closed.
    TRect mid = pal->Items()->Items(22)->Rect();
    EXPECT_NE(PixelAt(h, mid.Left + 5, mid.Top), border);
    EXPECT_EQ(PixelAt(h, top.Left + 5, top.Top), border);
    EXPECT_EQ(PixelAt(h, bottom.Left + 5, bottom.Bottom - 1), border);
    // The stand-alone row is framed all round.
    TRect lone = pal->Items()->Items(2)->Rect();
    EXPECT_EQ(PixelAt(h, lone.Left + 5, lone.Bottom - 1), border);
}

TEST_F(ColorPanels, HoneycombCellsHitTestsAndHints)
{
    auto* cube = new TVodColorCubePanel(Form);
    cube->SetParent(Form);
    EXPECT_EQ(cube->Width(), 182);
    EXPECT_EQ(cube->Height(), 160);
    EXPECT_EQ(cube->GetCubeCellColor(64), clWhite);
    EXPECT_EQ(cube->CellCenter(64), (TPoint{91, 80}));
    EXPECT_EQ(cube->CellCenter(1), (TPoint{55, 20}));
    EXPECT_EQ(cube->CellCenter(127), (TPoint{127, 140}));
    EXPECT_EQ(cube->GetCubeCellColor(127), TColor(0x2100A5));
    struct {
        TPoint At;
        Integer Cell;
    } hits[] = {
        {{91, 80}, 64}, {{97, 80}, 64},  // on both circles: the lower number
        {{98, 80}, 65}, {{55, 13}, -1},  // 7 above the top row: nothing
        {{0, 0}, -1},
    };
    for (auto& h : hits) EXPECT_EQ(cube->CellAtPos(h.At.X, h.At.Y), h.Cell) << h.At.X << "," << h.At.Y;
    // Outside 1..127 nothing is written and clNone is read.
    cube->SetCubeCellColor(0, clRed);
    cube->SetCubeCellColor(128, clRed);
    EXPECT_EQ(cube->GetCubeCellColor(0), clNone);
    EXPECT_EQ(cube->GetCubeCellColor(128), clNone);
    EXPECT_EQ(cube->GetCubeCellColor(1), TColor(0x663300));
    // A colour no cell has selects none.
    cube->SetSelectedColor(TColor(0x123456));
    EXPECT_EQ(cube->SelectedIndex(), -1);
    cube->SetSelectedColor(TColor(0x0000FF));
    EXPECT_EQ(cube->SelectedIndex(), 118);

    ShowForm();
    // Hovering the pure red cell sets the RGB hint; a click selects.
    TPoint red = cube->CellCenter(118);
    Drv->MouseMove(At(cube, red.X, red.Y));
    Drv->Pump();
    EXPECT_EQ(cube->HotIndex(), 118);
    EXPECT_EQ(cube->Hint(), L"Red: 255,  Green: 0,  Blue: 0");
    Drv->MouseMove(At(cube, 2, 2));
    Drv->Pump();
    EXPECT_EQ(cube->Hint(), L"");
    EXPECT_EQ(cube->HotIndex(), 118);  // the hot cell keeps its frame
    int selects = 0;
    cube->OnSelect = [&](TObject*) { ++selects; };
    Drv->Click(At(cube, 91, 80));
    Drv->Pump();
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(cube->SelectedIndex(), 64);
    EXPECT_EQ(cube->SelectedColor(), clWhite);
    // The cell shows its colour; the selected cell a black frame.
    EXPECT_EQ(PixelAt(cube->Handle(), 55, 20), 0x003366u);
}

TEST_F(ColorPanels, TheSpectrumBitmapAndPicks)
{
    auto* sp = new TVodColorSpectrumPanel(Form);
    sp->SetParent(Form);
    TBitmap* bmp = sp->SpectrumImage()->Picture()->Bitmap();
    ASSERT_EQ(bmp->Width(), 128);
    ASSERT_EQ(bmp->Height(), 128);
    struct {
        int X, Y;
        uint32_t Rgb;
    } px[] = {
        {0, 0, 0xFFFFFF},     // white at the top
        {0, 64, 0xFF0000},    // the full red at the middle row
        {64, 64, 0x00FFFF},   // cyan half way
        {0, 127, 0x000000},   // black at the bottom
        {127, 127, 0x000000},
    };
    for (auto& p : px) EXPECT_EQ(Rgb(bmp->Canvas()->Pixels(p.X, p.Y)), p.Rgb) << p.X << "," << p.Y;
    // Green near a third, blue near two thirds, on the middle row.
    uint32_t g = Rgb(bmp->Canvas()->Pixels(43, 64)), b = Rgb(bmp->Canvas()->Pixels(85, 64));
    EXPECT_GT(g & 0xFF00, 0xF000u);
    EXPECT_LT(g >> 16, 0x10u);
    EXPECT_GT(b & 0xFF, 0xF0u);
    EXPECT_LT(b >> 16, 0x10u);

    EXPECT_EQ(sp->Width(), 150);
    EXPECT_EQ(sp->Height(), 174);
    EXPECT_EQ(sp->SpectrumImage()->Left(), 11);
    EXPECT_EQ(sp->SelectedRect(), (TRect{10, 146, 73, 166}));
    EXPECT_EQ(sp->HotRect(), (TRect{77, 146, 140, 166}));
    EXPECT_EQ(sp->SpectrumImage()->Cursor(), TCursor(crQelPointer));
    EXPECT_NE(Screen->Cursors(crQelPointer), nullptr);

    ShowForm();
    int selects = 0;
    sp->OnSelect = [&](TObject*) { ++selects; };
    // A click before any move picks the initial hot colour: none.
    Drv->Click(At(sp, 11 + 5, 10 + 64));
    Drv->Pump();
    EXPECT_EQ(selects, 1);
    // A move reads the shown pixel; a click takes it.
    Drv->MouseMove(At(sp, 11 + 0, 10 + 70));
    Drv->MouseMove(At(sp, 11 + 1, 10 + 64));
    Drv->Pump();
    EXPECT_EQ(Rgb(sp->HotColor()) & 0xFF0000, 0xFF0000u);
    Drv->Click(At(sp, 11 + 1, 10 + 64));
    Drv->Pump();
    EXPECT_EQ(sp->SelectedColor(), sp->HotColor());
    EXPECT_EQ(PixelAt(sp->Handle(), 40, 156), Rgb(sp->HotColor()));
}
