// The grid cell model on one window: a small grid on the base grid with
// merged areas (one scrolled partly under the fixed row), gradients, the
// hover and the active row and a hidden last row; grids with lines of
// widths 0, 1 and 3; the four selection styles focused and unfocused; grid
// buttons in each look (up, hot, down, checked, disabled, with a drop-down
// part); check boxes in their three states, themed and classic; a focus glow
// around a cell; the four arrow windows; a file picture. Once painted and
// shown it prints "READY left top width height" (the client area on the
// screen) and runs until closed or its time is up.
//
//   gridcellsdemo [--seconds N]
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/BaseGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

namespace {

// A grid on the base grid: fixed cells in a grey gradient, normal cells in
// the grid's colour or their block's own colours, selected ones in the
// highlight colour.
class TDemoGrid : public TBaseGrid {
public:
    explicit TDemoGrid(TComponent* o) : TBaseGrid(o) {}
    bool IsNode(Integer) override { return false; }
    bool IsSummary(Integer) override { return false; }
    bool CellHasCheckBox(Integer, Integer) override { return false; }
    void SetCheckBoxFromText(Integer c, Integer r, const String& v) override { SetCellEx(c, r, v); }
    bool IsFixed(Integer c, Integer r) override { return c < FixedCols() || r < FixedRows(); }
    void HideLastRow() { FHideLastRow = true; }
    void HoverOver(Integer r) { FHoverRowIdx = r; }
    void GetVisualProperties(Integer c, Integer r, TGridDrawState& st, bool, bool, bool, TBrush* b, TColor& to,
                             TColor& mirror, TColor& mirrorTo, TFont* f, TAlignment&, TVAlignment&, bool&,
                             TCellGradientDirection& gd) override
    {
        if (st.Contains(gdFixed)) {
            b->SetColor(TColor(0xF4F4F4));
            to = TColor(0xD8D8D8);
            return;
        }
        if (st.Contains(gdSelected)) {
            b->SetColor(clHighlight);
            if (SelectionStyle() == ssDefault) f->SetColor(clHighlightText);
            return;
        }
        b->SetColor(Color());
        if (const TCellProperties* p = CellPropertiesOf(RealColIndex(c), r)) {
            if (p->BrushColor() != clNone) b->SetColor(p->BrushColor());
            to = p->BrushColorTo();
            gd = p->GradientDirection();
            if (p->FontColor() != clNone) f->SetColor(p->FontColor());
            if (p->Editor() == edNone) {
                // The demo's marker for a mirrored gradient.
                mirror = TColor(0x40A0FF);
                mirrorTo = TColor(0xC0E8FF);
            }
        }
    }
};

// A grid button that can be shown pressed without a mouse.
class TDemoButton : public TVodGridButton {
public:
    explicit TDemoButton(TComponent* o) : TVodGridButton(o) {}
    void Press()
    {
        Perform(CM_MOUSEENTER);
        MouseDown(mbLeft, TShiftState(), 4, 4);
    }
};

// An arrow window kept inside the form: on this desktop every top-level
// window is a rectangle, while windows inside a form take their region.
class TDemoArrow : public TArrowWindow {
public:
    explicit TDemoArrow(TComponent* o) : TArrowWindow(o) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TArrowWindow::CreateParams(Params);
        Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    }
};

// The captions of the groups, the focus glow around a cell and the file
// picture, painted under the controls.
class TShowcase : public TCustomControl {
public:
    TShowcase(TComponent* owner, TWinControl* parent, TDemoGrid* glowGrid, const String& picture)
        : TCustomControl(owner), FGlowGrid(glowGrid)
    {
        SetParent(parent);
        SetBounds(0, 0, parent->ClientWidth(), parent->ClientHeight());
        FPicture.SetFilename(picture);
    }

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(ClientRect());
        c->Font()->SetName(L"Tahoma");
        c->Font()->SetSize(9);
        c->Font()->SetStyle(TFontStyles{fsBold});
        c->Brush()->SetStyle(bsClear);
        const struct {
            int x, y;
            const wchar_t* text;
        } captions[] = {
            {8, 4, L"Merged areas, gradients, hover and active row, hidden last row"},
            {8, 262, L"Lines 0"},
            {148, 262, L"Lines 1"},
            {288, 262, L"Lines 3"},
            {448, 4, L"Selection: Default, Vista, Win7, Office 2007 (focused | unfocused)"},
            {448, 186, L"Grid buttons: up, hot, down, checked, disabled, drop-down per look"},
            {8, 392, L"Check boxes: themed / classic"},
            {8, 486, L"Focus glow"},
            {176, 486, L"Arrow windows"},
            {330, 486, L"File picture"},
        };
        for (auto& k : captions) c->TextOut(k.x, k.y, k.text);
        c->Font()->SetStyle(TFontStyles());
        c->Brush()->SetStyle(bsSolid);

        // A cell with the grid's focus glow around it: the blurred rounded
        // outline merged into a premultiplied mask and blended on.
        const TRect cell{40, 530, 40 + 80, 530 + 24};
        FGlowGrid->PaintCell(c, 1, 1, cell, TGridDrawState());
        const int w = cell.Width() + 18, h = cell.Height() + 18;
        TBitmap mask, colour;
        DrawRoundRectMask(&mask, w, h, 4, 5, 3);
        colour.SetPixelFormat(pf24bit);
        colour.SetSize(w, h);
        colour.Canvas()->Brush()->SetColor(TColor(0xFDD397));
        colour.Canvas()->FillRect(TRect{0, 0, w, h});
        TGridAlphaMask glow;
        glow.MergeMask(&mask, &colour, clNone);
        glow.SetOpacity(230);
        BLENDFUNCTION bf{AC_SRC_OVER, 0, glow.Opacity(), AC_SRC_ALPHA};
        AlphaBlend(c->Handle(), cell.Left - 9, cell.Top - 9, w, h, glow.Canvas()->Handle(), 0, 0, w, h, bf);

        // The file picture is read from its file as it is drawn.
        c->Pen()->SetColor(TColor(0xC0C0C0));
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(329, 507, 331 + 96, 509 + 64);
        c->Brush()->SetStyle(bsSolid);
        FPicture.DrawPicture(c, TRect{330, 508, 330 + 96, 508 + 64});

        for (auto& [at, bmp] : Classic) c->Draw(at.X, at.Y, bmp.get());
    }

public:
    // The classic check boxes as they painted with the visual styles off
    // (styles are process-wide, so they are kept as pictures).
    std::vector<std::pair<TPoint, std::unique_ptr<TBitmap>>> Classic;

private:
    TDemoGrid* FGlowGrid;
    TFilePicture FPicture;
};

TDemoGrid* MakeGrid(TForm* f, int x, int y, int w, int h, int cols, int rows)
{
    auto* g = new TDemoGrid(f);
    g->SetParent(f);
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->SetDefaultColWidth(64);
    g->SetDefaultRowHeight(22);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetColor(clWhite);
    g->SetBounds(x, y, w, h);
    g->Font()->SetName(L"Tahoma");
    g->Font()->SetSize(8);
    return g;
}

// A picture file of the demo's own making, so that it needs no data.
String WritePicture()
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(48, 32);
    DrawGradient(b.Canvas(), TColor(0x2060C0), TColor(0xA0E0FF), 16, TRect{0, 0, 48, 32}, true);
    b.Canvas()->Brush()->SetColor(TColor(0x20A020));
    b.Canvas()->Pen()->SetColor(TColor(0x108010));
    b.Canvas()->Ellipse(14, 6, 34, 26);
    const std::filesystem::path p = std::filesystem::temp_directory_path() / "gridcellsdemo_picture.bmp";
    const String name = UTF8ToString(p.string());
    b.SaveToFile(name);
    return name;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Grid cells");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(980);
        SetAutoScroll(false);
        SetClientHeight(590);
        SetColor(clWhite);

        // The main grid: 6 columns, 12 rows, scrolled so that rows 1..3 lie
        // under the fixed row.
        TDemoGrid* g = MakeGrid(this, 8, 24, 420, 222, 6, 12);
        FShowcase = new TShowcase(this, this, g, WritePicture());
        g->BringToFront();
        for (int c = 1; c < 6; ++c) g->SetCellEx(c, 0, String(L"Col ") + IntToStr(c));
        for (int r = 1; r < 12; ++r) g->SetCellEx(0, r, IntToStr(r));
        g->SetCellEx(1, 2, L"Under the header");
        g->MergeCells(1, 2, 1, 4);  // rows 2..5 of column 1
        g->SetCellEx(3, 6, L"Merged 2 x 2");
        g->MergeCells(3, 6, 2, 2);
        g->GetCellProperties(3, 6)->SetBrushColor(TColor(0xFFE8C8));
        g->SetCellEx(2, 5, L"Gradient");
        g->GetCellProperties(2, 5)->SetBrushColor(TColor(0xFFFFFF));
        g->GetCellProperties(2, 5)->SetBrushColorTo(TColor(0x40C040));
        g->SetCellEx(4, 5, L"Horizontal");
        g->GetCellProperties(4, 5)->SetBrushColor(TColor(0x4040FF));
        g->GetCellProperties(4, 5)->SetBrushColorTo(TColor(0xFFFFFF));
        g->GetCellProperties(4, 5)->SetGradientDirection(GradientHorizontal);
        g->SetCellEx(5, 5, L"Mirror");
        g->GetCellProperties(5, 5)->SetBrushColor(TColor(0xFFF0E0));
        g->GetCellProperties(5, 5)->SetBrushColorTo(TColor(0xFFC080));
        g->GetCellProperties(5, 5)->SetEditor(edNone);
        g->SetCellEx(2, 8, L"Hovered row");
        g->SetHoverRow(true);
        g->SetHoverRowColor(TColor(0xC0FFC0));
        g->HoverOver(8);
        g->SetActiveRowShow(true);
        g->SetActiveRowColor(TColor(0xC0F0FF));
        g->SetCellEx(1, 9, L"Active row");
        g->SetTopRow(4);
        g->SetCol(2);
        g->SetRow(9);
        g->SetCellEx(1, 11, L"hidden");
        g->HideLastRow();
        FMain = g;

        // Grid lines of widths 0, 1 and 3.
        const int widths[] = {0, 1, 3};
        for (int i = 0; i < 3; ++i) {
            TDemoGrid* l = MakeGrid(this, 8 + i * 140, 280, 130, 100, 3, 4);
            l->SetDefaultColWidth(42);
            l->SetGridLineWidth(widths[i]);
            l->SetGridLineColor(TColor(0x2040C0));
            l->SetCellEx(1, 1, L"a");
            l->SetCellEx(2, 2, L"b");
        }

        // The selection styles, focused (drawn focused by option) and not.
        const TGridSelectionStyle styles[] = {ssDefault, ssVista, ssWin7, ssOffice2007};
        for (int i = 0; i < 4; ++i)
            for (int focused = 0; focused < 2; ++focused) {
                TDemoGrid* s = MakeGrid(this, 448 + focused * 264, 24 + i * 40, 256, 34, 5, 2);
                s->SetDefaultColWidth(50);
                s->SetDefaultRowHeight(16);
                s->SetSelectionStyle(styles[i]);
                TGridOptions o = s->Options();
                if (focused == 0) o.Include(goDrawFocusSelected);
                s->SetOptions(o);
                s->SetCol(1);
                s->SetSelection(TGridRect{1, 1, 3, 1});
                for (int c = 1; c < 5; ++c) s->SetCellEx(c, 1, IntToStr(c));
            }

        // Grid buttons in each look and state, on a panel of their own (they
        // are windowless and paint on their parent).
        auto* panel = new TPanel(this);
        panel->SetParent(this);
        panel->SetBevelOuter(bvNone);
        panel->SetParentBackground(false);
        panel->SetColor(clWhite);
        panel->SetCaption(L"");
        panel->SetBounds(448, 206, 520, 7 * 26);
        for (int look = 0; look <= 6; ++look)
            for (int state = 0; state < 6; ++state) {
                auto* b = new TDemoButton(this);
                b->SetParent(panel);
                b->SetBounds(state * 86, look * 26, 80, 22);
                b->SetLook(look);
                b->SetCaption(String(L"Look ") + IntToStr(look));
                switch (state) {
                case 1: b->Perform(CM_MOUSEENTER); break;
                case 2: b->Press(); break;
                case 3:
                    b->SetStyle(tasCheck);
                    b->SetDown(true);
                    break;
                case 4: b->SetEnabled(false); break;
                case 5:
                    b->SetDropDownButton(true);
                    b->Perform(CM_MOUSEENTER);
                    break;
                default: break;
                }
            }

        // Check boxes in their three states, themed and classic.
        const TCheckBoxState states[] = {cbUnchecked, cbChecked, cbGrayed};
        const wchar_t* names[] = {L"Unchecked", L"Checked", L"Grayed"};
        for (int i = 0; i < 3; ++i) {
            auto* t = new TVodCheckBox(this);
            t->SetParent(this);
            t->SetBounds(8 + i * 110, 408, 104, 22);
            t->SetColor(clWhite);
            t->SetCaption(names[i]);
            t->SetState(states[i]);
            auto* k = new TVodCheckBox(this);
            k->SetParent(this);
            k->SetBounds(8 + i * 110, 440, 104, 22);
            k->SetColor(clWhite);
            k->SetCaption(names[i]);
            k->SetState(states[i]);
            FClassic.push_back(k);
        }

        // The four arrow windows around a spot, as they mark a drop place.
        const TArrowDirection dirs[] = {arrUp, arrDown, arrLeft, arrRight};
        const TPoint where[] = {{210, 530}, {210, 548}, {196, 539}, {224, 539}};
        for (int i = 0; i < 4; ++i) {
            auto* a = new TDemoArrow(this);
            a->Init(this, dirs[i]);
            a->SetBounds(where[i].X, where[i].Y, 11, 11);
            FArrows[i] = a;
        }
    }

    void Finish()
    {
        // The classic boxes paint once with the visual styles off.
        SetVisualStylesEnabled(false);
        for (TVodCheckBox* k : FClassic) {
            auto bmp = std::make_unique<TBitmap>();
            bmp->SetPixelFormat(pf24bit);
            bmp->SetSize(k->Width(), k->Height());
            k->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(bmp->Canvas()->Handle())), 0);
            FShowcase->Classic.emplace_back(TPoint{k->Left(), k->Top()}, std::move(bmp));
            k->Hide();
        }
        SetVisualStylesEnabled(true);
        FShowcase->Invalidate();
        for (TArrowWindow* a : FArrows) {
            a->Show();
            a->BringToFront();
        }
        FMain->SetTopRow(4);
    }

private:
    TDemoGrid* FMain = nullptr;
    TShowcase* FShowcase = nullptr;
    std::vector<TVodCheckBox*> FClassic;
    TArrowWindow* FArrows[4] = {};
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("gridcellsdemo", argc, argv, {}, [](auto* f) { f->Finish(); });
}
