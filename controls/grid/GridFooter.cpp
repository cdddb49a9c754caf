#include "controls/grid/GridFooter.h"

#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"

namespace {

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

void Fill(TCanvas* C, const TRect& R, TColor Color)
{
    if (R.Right <= R.Left || R.Bottom <= R.Top) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Pen()->SetColor(Color);
    C->FillRect(R);
}

// Sets the grid's selection text colour for the duration of a preview.
struct TSelectionTextBlack {
    TVodStringGrid* G;
    TColor Saved;
    explicit TSelectionTextBlack(TVodStringGrid* g) : G(g), Saved(g->SelectionTextColor())
    {
        G->SetSelectionTextColor(clBlack);
    }
    ~TSelectionTextBlack() { G->SetSelectionTextColor(Saved); }
};

// The grid's panel once the grid's second phase has made it; asking for it
// earlier would run that phase from inside the grid's constructor.
TFooterPanel* PanelOf(TVodStringGrid* G) { return G && G->InitDone() ? G->FooterPanel() : nullptr; }

}  // namespace

// ---------------------------------------------------------------------------
// TFooterPanel

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TVodStringGrid*>(AOwner);
}

void TFooterPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    if (!FGrid) return;
    TFloatingFooter* ff = FGrid->FloatingFooter();
    // The panel is one pixel lower than the footer, as Visible makes it.
    SetHeight(ff && ff->Visible() ? std::max(0, ff->Height() - 1) : 0);
    if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(FGrid);
}

Integer TFooterPanel::FooterWidth()
{
    if (!FGrid) return 0;
    Integer w = 0;
    for (Integer c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
    for (Integer c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c)
        w += FGrid->ColWidths(c);
    return w;
}

Integer TFooterPanel::ColumnAt(Integer X)
{
    if (!FGrid) return -1;
    Integer sum = 0;
    for (Integer c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount(); ++c) sum += FGrid->ColWidths(c);
    // Over the fixed columns this answers the column before the left one.
    Integer c = FGrid->LeftCol() - 1;
    while (sum <= X) {
        ++c;
        if (c >= FGrid->ColCount()) return -1;
        sum += FGrid->ColWidths(c);
    }
    return c;
}

String TFooterPanel::ExpandTemplate(const String& Template)
{
    String out;
    size_t i = 0;
    while (i < Template.size()) {
        if (Template.compare(i, 2, L"<#") == 0) {
            const size_t close = Template.find(L'>', i + 2);
            if (close != String::npos) {
                const String num = Template.substr(i + 2, close - i - 2);
                Integer n = 0;
                if (FGrid && TryStrToInt(num, n) && n >= 0 && n < FGrid->ColCount())
                    out += FGrid->Cells(n, FGrid->Row());
                i = close + 1;
                continue;
            }
        }
        out += Template[i++];
    }
    return out;
}

void TFooterPanel::PreviewFrame(TCanvas* C, Integer W)
{
    const TRect cr = ClientRect();
    const Integer bottom = cr.Bottom - 1, left = 0, top = 0;
    Fill(C, TRect{0, 0, W, cr.Bottom}, FGrid->FloatingFooter()->Color());
    C->Pen()->SetColor(TColor(0x808080));
    Line(C, left, bottom, W - 1, bottom);
    C->LineTo(W - 1, top);
    C->Pen()->SetColor(clWhite);
    C->LineTo(left, top);
    C->LineTo(left, bottom);
}

Integer TFooterPanel::PaintFixedLastRow(TCanvas* C)
{
    TVodStringGrid* g = FGrid;
    TFloatingFooter* ff = g->FloatingFooter();
    const TRect cr = ClientRect();
    const Integer W = FooterWidth(), top = 0, bottom = cr.Bottom;
    const bool rtl = g->UseRightToLeftAlignment();
    const auto mirrorX = [&](Integer x) { return rtl ? cr.Right - x : x; };
    // 1.
    if (rtl) {
        Fill(C, TRect{cr.Right - W, 0, cr.Right, bottom}, ff->Color());
        Fill(C, TRect{0, 0, cr.Right - W, bottom}, g->Color());
    } else {
        Fill(C, TRect{0, 0, W, bottom}, ff->Color());
        Fill(C, TRect{W, 0, cr.Right, bottom}, g->Color());
    }
    // The columns the footer shows: the fixed ones, then those from the
    // left column on.
    std::vector<Integer> cols;
    for (Integer c = 0; c < g->FixedCols() && c < g->ColCount(); ++c) cols.push_back(c);
    for (Integer c = std::max(g->LeftCol(), g->FixedCols()); c < g->ColCount(); ++c) cols.push_back(c);
    const TGridOptions opt = g->Options();
    const TGridLook look = g->Look();
    const bool raised = opt.Contains(goFixedVertLine) && !(!g->Ctl3D()) &&
                        (look == glSoft || look == glQel || look == glXP || look == glVista);
    // 2. Column lines.
    Integer x = 0;
    for (Integer c : cols) {
        const Integer cw = g->ColWidths(c);
        if (cw <= 0) continue;
        if (raised) {
            C->Pen()->SetColor(clWhite);
            Line(C, mirrorX(x), bottom, mirrorX(x), top);
        }
        const Integer prev = x;
        x += cw;
        C->Pen()->SetColor(g->GridLineColor());
        if (opt.Contains(goFixedHorzLine)) Line(C, mirrorX(prev), top, mirrorX(x - 1), top);
        if (c >= g->FixedCols() && look != glVista) C->Pen()->SetColor(TColor(0x808080));
        if (opt.Contains(goFixedVertLine)) Line(C, mirrorX(x - 1), top, mirrorX(x - 1), bottom);
    }
    // 3. The cells of the last row.
    const Integer row = g->RowCount() - 1;
    if (row < 0) return W;
    const Integer cellTop = top + (opt.Contains(goFixedHorzLine) ? 1 : 0);
    const bool shiftLeft = opt.Contains(goFixedHorzLine) && raised;
    x = 0;
    for (Integer c : cols) {
        const Integer cw = g->ColWidths(c);
        if (cw <= 0) continue;
        const Integer real = g->RealColIndex(c);
        Integer span = cw;
        const TPoint s = g->CellSpan(real, row);
        if (g->IsBaseCell(real, row) && s.X > 0)
            for (Integer k = 1; k <= s.X && c + k < g->ColCount(); ++k) span += g->ColWidths(c + k);
        TRect r{x, cellTop, x + span - 1, bottom};
        if (shiftLeft) r.Left += 1;
        if (rtl) r = TRect{cr.Right - r.Right, r.Top, cr.Right - r.Left, r.Bottom};
        const bool base = g->IsBaseCell(real, row);
        if (c < g->FixedCols()) {
            if (base) g->DrawGridCell(C, c, row, r, TGridDrawState{gdFixed});
        } else {
            if (g->OnGetCellColor) {
                C->Brush()->SetColor(clNone);
                g->OnGetCellColor(g, row, real, TGridDrawState{gdFixed}, C->Brush(), C->Font());
                if (C->Brush()->Color() != clNone) Fill(C, r, C->Brush()->Color());
            }
            const TColor own = g->Colors(c, row);
            if (own != clNone) Fill(C, r, own);
            if (base) {
                if (g->OnPaintFooter)
                    g->OnPaintFooter(this, c, C, r);
                else
                    g->DrawGridCell(C, c, row, r, TGridDrawState{gdFixed});
            }
        }
        x += cw;
    }
    return W;
}

Integer TFooterPanel::PaintColumnPreview(TCanvas* C)
{
    TVodStringGrid* g = FGrid;
    TFloatingFooter* ff = g->FloatingFooter();
    const Integer W = FooterWidth();
    PreviewFrame(C, W);
    const TRect cr = ClientRect();
    const TRect r{1, 1, W - 1, cr.Bottom - 1};
    {
        TSelectionTextBlack black(g);
        if (g->OnPaintFooter)
            g->OnPaintFooter(this, ff->Column(), C, r);
        else if (ff->Column() >= 0 && ff->Column() < g->ColCount() && g->Row() >= 0 && g->Row() < g->RowCount())
            g->DrawGridCell(C, ff->Column(), g->Row(), r, TGridDrawState{});
    }
    Fill(C, TRect{W, 0, cr.Right, cr.Bottom}, g->Color());
    return W;
}

Integer TFooterPanel::PaintCustomPreview(TCanvas* C)
{
    TVodStringGrid* g = FGrid;
    TFloatingFooter* ff = g->FloatingFooter();
    const Integer W = FooterWidth();
    PreviewFrame(C, W);
    const TRect cr = ClientRect();
    TSelectionTextBlack black(g);
    TRect r{2, 2, W - 2, cr.Bottom - 1};
    C->Font()->Assign(g->Font());
    C->Brush()->SetStyle(bsClear);
    if (ComponentState().Contains(csDesigning)) {
        const String& t = ff->CustomTemplate();
        DrawText(C->Handle(), t.c_str(), int(t.size()), &r, DT_LEFT | DT_NOPREFIX);
    } else {
        TMarkupParams p;
        p.Canvas = C;
        p.Text = ExpandTemplate(ff->CustomTemplate());
        p.Rect = r;
        p.Images = g->GridImages();
        p.Container = g->PictureContainer();
        p.ImageCache = g->ImageCache();
        p.URLColor = g->URLColor();
        p.ShadowColor = TColor(0x808080);
        p.HoverColor = clNone;
        p.HoverFontColor = clNone;
        VurHTMLE::RenderMarkup(p);
    }
    Fill(C, TRect{W, 0, cr.Right, cr.Bottom}, g->Color());
    return W;
}

void TFooterPanel::Paint()
{
    if (!FGrid || !FGrid->FloatingFooter()) {
        TCustomPanel::Paint();
        return;
    }
    TFloatingFooter* ff = FGrid->FloatingFooter();
    TCanvas* C = Canvas();
    SetBiDiMode(FGrid->BiDiMode());
    Integer W = ClientWidth();
    switch (ff->FooterStyle()) {
    case fsFixedLastRow: W = PaintFixedLastRow(C); break;
    case fsColumnPreview: W = PaintColumnPreview(C); break;
    case fsCustomPreview: W = PaintCustomPreview(C); break;
    case fsCustomPaint:
        if (FGrid->OnPaintFooter) FGrid->OnPaintFooter(this, ff->Column(), C, ClientRect());
        break;
    }
    if (ff->BorderColor() != clNone) {
        C->Pen()->SetColor(ff->BorderColor());
        Line(C, 0, 0, W, 0);
    }
}

void TFooterPanel::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    if (!FGrid || !FGrid->FloatingFooter()->ShowHint()) return;
    const Integer c = ColumnAt(X);
    if (c != FLastHintCol && FLastHintCol != -1) {
        Application->CancelHint();
        FLastHintCol = c;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!FGrid) return;
    if (FGrid->OnClick) FGrid->OnClick(FGrid);
    // The clicked display column: the fixed columns, then the columns from
    // the left column on; a click past the last column reports none.
    Integer sum = 0, col = -1;
    for (Integer c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount() && col < 0; ++c) {
        sum += FGrid->ColWidths(c);
        if (X < sum) col = c;
    }
    for (Integer c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount() && col < 0; ++c) {
        sum += FGrid->ColWidths(c);
        if (X < sum) col = c;
    }
    if (col >= 0) FGrid->ClickCell(FGrid->RowCount() - 1, col);
}

void TFooterPanel::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_MOUSELEAVE) {
        FLastHintCol = -1;
    } else if (Message.Msg == CM_HINTSHOW && FGrid) {
        auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
        TFloatingFooter* ff = FGrid->FloatingFooter();
        const Integer c = info ? ColumnAt(info->CursorPos.X) : -1;
        if (info && c >= 0 && FGrid->OnGridHint) {
            String hint = info->HintStr;
            FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, c, hint);
            info->HintStr = hint;
        }
        FLastHintCol = ff->ShowHint() ? c : -1;
        Message.Result = ff->ShowHint() ? 0 : 1;
        return;
    }
    TCustomPanel::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// TFloatingFooter

void TFloatingFooter::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFloatingFooter*>(Source);
    if (!s) return;
    FCalculateHiddenRows = s->FCalculateHiddenRows;
    SetColor(s->FColor);
    SetColumn(s->FColumn);
    SetCustomTemplate(s->FCustomTemplate);
    SetFooterStyle(s->FFooterStyle);
    SetVisible(s->FVisible);
    SetShowHint(s->FShowHint);
    Changed();
}

void TFloatingFooter::Changed()
{
    if (OnChange) OnChange(this);
}

void TFloatingFooter::Invalidate()
{
    if (TFooterPanel* p = PanelOf(FGrid)) p->Invalidate();
}

TColumnCalcType TFloatingFooter::GetColumnCalc(Integer ACol)
{
    if (!FGrid || FGrid->RowCount() <= 0) return acNONE;
    const TCellProperties* p = FGrid->CellPropertiesOf(ACol, FGrid->RowCount() - 1);
    return p ? p->FCalcType : acNONE;
}

void TFloatingFooter::SetColumnCalc(Integer ACol, TColumnCalcType Calc)
{
    if (!FGrid || FGrid->RowCount() <= 0) return;
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->FCalcType = Calc;
    FGrid->RecalcFooter(ACol);
}

void TFloatingFooter::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    if (FGrid) FGrid->FloatingFooterVisibleChanged();
    Changed();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    if (FFooterStyle == v) return;
    FFooterStyle = v;
    if (FGrid) FGrid->FloatingFooterStyleChanged();
    Changed();
}

void TFloatingFooter::SetHeight(Integer v)
{
    FHeight = v;
    if (TFooterPanel* p = PanelOf(FGrid); p && v > 0) p->SetHeight(v - 1);
}

void TFloatingFooter::SetColumn(Integer v)
{
    if (FColumn == v) return;
    FColumn = v;
    Invalidate();
    Changed();
}

void TFloatingFooter::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Invalidate();
    Changed();
}

void TFloatingFooter::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    Invalidate();
    Changed();
}

void TFloatingFooter::SetCustomTemplate(const String& v)
{
    if (FCustomTemplate == v) return;
    FCustomTemplate = v;
    Invalidate();
    Changed();
}

void TFloatingFooter::SetShowHint(bool v)
{
    FShowHint = v;
    if (TFooterPanel* p = PanelOf(FGrid)) p->SetShowHint(v);
}
