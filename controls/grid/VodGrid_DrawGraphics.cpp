// Cell graphics on the screen: the room a cell's graphic takes beside its
// text, its placement by alignment and the painting of every graphic kind,
// the check box and radio glyphs in each control style, node buttons and
// comment marks.
#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "controls/markup/PictureContainer.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Controls.h"

namespace {

bool IsCheckOrRadio(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctRadioButton || t == ctTriStateCheckBox;
}

// A bitmap resource of the module, drawn with its automatic transparent
// colour (the bottom-left pixel) at (X, Y). A missing resource draws
// nothing.
void DrawGlyphResource(TCanvas* C, Integer X, Integer Y, const wchar_t* Name)
{
    TBitmap b;
    try {
        b.LoadFromResourceName(HInstance, Name);
    } catch (const Exception&) {
        return;
    }
    b.SetTransparentMode(tmAuto);
    b.SetTransparent(true);
    C->Draw(X, Y, &b);
}

void DrawGlyphBitmap(TCanvas* C, Integer X, Integer Y, TBitmap* B)
{
    if (!B || B->Empty()) return;
    const bool t = B->Transparent();
    B->SetTransparent(true);
    C->Draw(X, Y, B);
    B->SetTransparent(t);
}

// Draws a themed part when visual styles are in use; false when it could
// not (no theme library, styles off).
bool DrawThemed(TCanvas* C, HWND W, const wchar_t* Class, int Part, int State, const TRect& R)
{
    const TThemeApiTable& api = ThemeAPI();
    if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
    if (api.IsThemeActive && !api.IsThemeActive()) return false;
    HTHEME t = api.OpenThemeData(W, Class);
    if (!t) return false;
    TRect r = R;
    api.DrawThemeBackground(t, C->Handle(), Part, State, &r, nullptr);
    api.CloseThemeData(t);
    return true;
}

bool ThemesInUse()
{
    const TThemeApiTable& api = ThemeAPI();
    return api.OpenThemeData && api.IsThemeActive && api.IsThemeActive();
}

// The float value of a cell text (0 when it holds none).
double CellFloat(const String& S)
{
    Extended v = 0;
    if (TryStrToFloat(Trim(S), v)) return double(v);
    return 0;
}

// Places a text turned by Angle degrees (counter-clockwise) in R by the
// alignments: the origin of the first line such that the turned block's
// bounding box lies at R's side (or centre).
TPoint PlaceRotatedText(TRect R, Integer Angle, Integer W, Integer H, TAlignment HA, TVAlignment VA)
{
    const double a = Angle * M_PI / 180.0;
    const double ux = std::cos(a), uy = -std::sin(a);   // along the text
    const double vx = std::sin(a), vy = std::cos(a);    // down the text
    const double xs[4] = {0, W * ux, H * vx, W * ux + H * vx};
    const double ys[4] = {0, W * uy, H * vy, W * uy + H * vy};
    const double minx = *std::min_element(xs, xs + 4), maxx = *std::max_element(xs, xs + 4);
    const double miny = *std::min_element(ys, ys + 4), maxy = *std::max_element(ys, ys + 4);
    const double bw = maxx - minx, bh = maxy - miny;
    double left = R.Left, top = R.Top;
    if (HA == taRightJustify) left = R.Right - bw;
    else if (HA == taCenter) left = R.Left + (R.Width() - bw) / 2;
    if (VA == vtaBottom) top = R.Bottom - bh;
    else if (VA == vtaCenter) top = R.Top + (R.Height() - bh) / 2;
    return TPoint{Integer(std::lround(left - minx)), Integer(std::lround(top - miny))};
}

}  // namespace

Integer TVodStringGrid::ClampPercent(double Value)
{
    if (!(Value > 0)) return 0;   // NaN too
    if (Value > 100) return 100;
    return Integer(Value);
}

// ---------------------------------------------------------------------------
// Layout

TCellGraphic* TVodStringGrid::GetCellGraphicLayout(Integer RCol, Integer ARow, Integer& GW, Integer& GH,
                                                   bool& ShowText, TCellHAlign& HAlign, TCellVAlign& VAlign)
{
    GW = GH = 0;
    ShowText = true;
    HAlign = haLeft;
    VAlign = vaTop;
    TCellGraphic* g = GetCellGraphic(RCol, ARow);
    if (!g) return nullptr;
    HAlign = g->CellHAlign();
    VAlign = g->CellVAlign();
    const Integer check = Integer(std::nearbyint(ControlLook()->CheckSize() * FDPIScale));
    auto listSize = [&] {
        if (TCustomImageList* il = GetCellImageList(RCol, ARow)) {
            GW = il->Width();
            GH = il->Height();
        }
    };
    switch (g->CellType()) {
    case ctBitmap:
        if (TBitmap* b = g->Bitmap()) {
            GW = b->Width();
            GH = b->Height();
        }
        break;
    case ctIcon:
        if (g->CellIcon()) {
            GW = g->CellIcon()->Width();
            GH = g->CellIcon()->Height();
        }
        break;
    case ctImageList: listSize(); break;
    case ctDataImage:
        listSize();
        ShowText = false;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox: GW = GH = check; break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        GW = GH = check;
        ShowText = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress: ShowText = false; break;
    case ctImages:
        if (TCustomImageList* il = GetCellImageList(RCol, ARow)) {
            const Integer n = g->ImageList() ? g->ImageList()->Count() : 0;
            GW = g->CellBoolean() ? n * il->Width() : il->Width();
            GH = g->CellBoolean() ? il->Height() : n * il->Height();
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        const TRect cr = CellRect(DisplColIndex(RCol), ARow);
        const TPoint p = g->GetPictureSize(cr.Width(), cr.Height(), !GetCellEx(RCol, ARow).empty());
        GW = p.X;
        GH = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        GW = g->CellIndex() & 0xFFFF;
        GH = (g->CellIndex() >> 16) & 0xFFFF;
        break;
    case ctProgressPie: GW = GH = 20; break;
    case ctInterface: {
        IGridCellDraw* d = nullptr;
        if (Supports(g->CellBitmap(), d)) {
            GW = d->CellDrawWidth();
            GH = d->CellDrawHeight();
        }
        break;
    }
    case ctRadioButton: GW = GH = ControlLook()->RadioSize() + 4; break;
    case ctShape: GW = GH = RowHeights(ARow) - 2 * FXYOffset.Y; break;
    case ctRating:
        GW = g->CellAngle() * 18;
        GH = 16;
        ShowText = false;
        break;
    case ctDataPicture:
        if (FPictureContainer) {
            if (THTMLPicture* p = FPictureContainer->FindPicture(GetCellEx(RCol, ARow))) {
                GW = p->Width();
                GH = p->Height();
                ShowText = false;
            }
        }
        break;
    default: break;
    }
    return g;
}

// ---------------------------------------------------------------------------
// Painting

void TVodStringGrid::DrawCellGraphic(TCellDrawFrame& F, TRect R, TCellGraphic* G, TVAlignment VA)
{
    if (!G || !F.Canvas) return;
    TCanvas* C = F.Canvas;
    const Integer RCol = F.RCol, ARow = F.ARow;
    const TCellType type = G->CellType();
    const bool rtl = UseRightToLeftAlignment();
    const Integer GW = F.GW, GH = F.GH, TW = F.TextWidth;

    // 1. The working rectangle.
    if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress) {
        InflateRect(R, -(FXYOffset.X - 1), -(FXYOffset.Y - 1));
        if (TW > 0) InflateRect(R, 2, 2);
    }
    const Integer cw = R.Width(), ch = R.Height();

    // 2. Horizontal placement.
    Integer X1 = R.Left + 1, X2;
    switch (G->CellHAlign()) {
    case haLeft: X1 = R.Left + 1; break;
    case haRight: X1 = R.Right - GW - 1; break;
    case haCenter: X1 = GW < cw ? R.Left + (cw - GW) / 2 : R.Left + 1; break;
    case haBeforeText:
        if (F.HA == taRightJustify) X1 = R.Right - TW - GW;
        else if (F.HA == taCenter) X1 = R.Left + (cw - TW - GW) / 2;
        else X1 = R.Left + 1;
        if (X1 < R.Left) X1 = R.Left + 1;
        break;
    case haAfterText:
        if (F.HA == taRightJustify) X1 = R.Right - GW - 1;
        else if (F.HA == taCenter) X1 = R.Left + TW + (cw - TW - GW) / 2;
        else X1 = R.Left + TW;
        if (X1 < R.Left) X1 = R.Left + 1;
        break;
    case haFull: X1 = R.Left; break;
    }
    X2 = G->CellHAlign() == haFull ? R.Right : X1 + GW;

    // 3. Vertical placement; check boxes and radios follow the text's
    // alignment when the grid's differs from it.
    TCellVAlign gva = G->CellVAlign();
    if (IsCheckOrRadio(type) && FVAlignment != VA) gva = VA == vtaTop ? vaTop : VA == vtaCenter ? vaCenter : vaBottom;
    Integer Y1 = R.Top + 1, Y2;
    switch (gva) {
    case vaBottom: Y1 = R.Bottom - GH - 1; break;
    case vaCenter: Y1 = GH < ch ? R.Top + (ch - GH) / 2 : R.Top + 1; break;
    case vaUnderText: Y1 = R.Bottom - GH; break;
    case vaFull: Y1 = R.Top; break;
    default: Y1 = R.Top + 1; break;
    }
    Y2 = gva == vaFull ? R.Bottom : gva == vaBottom ? R.Bottom - 1 : gva == vaUnderText ? R.Bottom : Y1 + GH;

    // 4. The graphic.
    const TColor savedBrush = C->Brush()->Color();
    switch (type) {
    case ctBitmap:
        if (TBitmap* b = G->Bitmap()) {
            if (G->CellTransparent()) {
                if (rtl) std::swap(X1, X2);
                const bool t = b->Transparent();
                b->SetTransparentMode(tmAuto);
                b->SetTransparent(true);
                C->Draw(std::min(X1, X2), Y1, b);
                b->SetTransparent(t);
            } else {
                C->Draw(X1, Y1, b);
            }
        }
        break;
    case ctIcon:
        if (G->CellIcon()) C->Draw(X1, Y1, G->CellIcon());
        break;
    case ctImageList:
        if (TCustomImageList* il = GetCellImageList(RCol, ARow))
            if (G->CellIndex() >= 0 && G->CellIndex() < il->Count()) il->Draw(C, X1, Y1, G->CellIndex());
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton: {
        if (OnGetAlignment || HasCustomAlignment(RCol, ARow)) {
            const bool dataKind = type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox;
            if (F.HA == taRightJustify) X1 = (dataKind ? R.Right : R.Right - TW) - GW - 1;
            else if (F.HA == taCenter)
                X1 = TW > 0 ? R.Left + std::max(0, R.Right - TW - R.Left) / 2 - GW
                            : R.Left + std::max(0, R.Right - GW - R.Left) / 2;
            else X1 = R.Left + 1;
            X1 = std::max(X1, R.Left + 1);
        }
        const bool enabled = IsCellEditable(RCol, ARow);
        const TRect box{X1, Y1, X1 + GW, Y1 + GH};
        if (type == ctCheckBox || type == ctRowCheckBox) {
            DrawCheckGlyph(C, box, G->CellBoolean(), cbUnchecked, false, ControlLook()->ControlStyle(),
                           G->CellAngle() > 0, enabled);
        } else if (type == ctDataCheckBox || type == ctVirtCheckBox) {
            String t;
            GetCheckTrue(RCol, ARow, t);
            // Case counts: "y" is not the check-true text "Y".
            DrawCheckGlyph(C, box, GetCellEx(RCol, ARow) == t, cbUnchecked, false, ControlLook()->ControlStyle(),
                           false, enabled);
        } else if (type == ctTriStateCheckBox) {
            DrawCheckGlyph(C, box, false, G->CellCheckBoxState(), true, ControlLook()->ControlStyle(),
                           G->CellAngle() > 0, enabled);
        } else {
            const Integer rs = ControlLook()->RadioSize();
            const TRect rb{X1 + FXYOffset.X, Y1, X1 + FXYOffset.X + rs, Y1 + rs};
            TStringList one;
            one.Add(String());
            DrawRadioGroup(C, rb, false, 1.0, ControlLook()->ControlStyle(), ARow, RCol, false, &one, !enabled,
                           false, G->CellBoolean() ? 0 : -1, 1);
        }
        break;
    }
    case ctRotated: {
        const String s = GetFormattedCell(RCol, ARow);
        TRect tr = R;
        InflateRect(tr, -1, -1);
        TFont saved;
        saved.Assign(C->Font());
        C->Font()->SetOrientation(G->CellAngle() * 10);
        const UINT oldAlign = SetTextAlign(C->Handle(), TA_LEFT | TA_TOP);
        C->Brush()->SetStyle(bsClear);
        std::vector<String> lines;
        if ((Multilinecells() || F.WW) && (G->CellAngle() == 90 || G->CellAngle() == 270)) {
            String rest = s;
            do {
                lines.push_back(CutFirstLine(rest, true));
            } while (!rest.empty());
        } else {
            lines.push_back(s);
        }
        Integer w = 0;
        for (const String& l : lines) w = std::max(w, C->TextWidth(l));
        const Integer lh = C->TextHeight(L"gh");
        const TPoint o = PlaceRotatedText(tr, G->CellAngle(), w, lh * Integer(lines.size()), F.HA, VA);
        const double a = G->CellAngle() * M_PI / 180.0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const Integer dx = Integer(std::lround(std::sin(a) * lh * Integer(i)));
            const Integer dy = Integer(std::lround(std::cos(a) * lh * Integer(i)));
            C->TextOut(o.X + dx, o.Y + dy, lines[i]);
        }
        SetTextAlign(C->Handle(), oldAlign);
        C->Font()->Assign(&saved);
        C->Brush()->SetStyle(bsSolid);
        if (ShowsSortGlyph(RCol, ARow)) DrawSortIndicator(C, RCol, Y1 + 8, X2 - 10);
        break;
    }
    case ctDataImage: {
        const String s = Trim(GetCellEx(RCol, ARow));
        if (!s.empty())
            if (TCustomImageList* il = GetCellImageList(RCol, ARow)) {
                const Integer idx = StrToIntDef(s, -1);
                if (idx >= 0 && idx < il->Count()) il->Draw(C, X1, Y1, idx);
            }
        break;
    }
    case ctNode: DrawNodeButton(C, R, RCol, ARow, F.State, G); break;
    case ctRadio: {
        auto* items = dynamic_cast<TStrings*>(G->CellBitmap());
        DrawRadioGroup(C, R, false, 1.0, ControlLook()->ControlStyle(), ARow, RCol, F.State.Contains(gdSelected),
                       items, !IsCellEditable(RCol, ARow), G->CellBoolean(), G->CellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctImages:
        if (TCustomImageList* il = GetCellImageList(RCol, ARow))
            if (TIntList* l = G->ImageList())
                for (Integer i = 0; i < l->Count(); ++i) {
                    const Integer idx = l->GetInteger(i);
                    if (idx >= 0 && idx < il->Count()) il->Draw(C, X1, Y1, idx);
                    if (G->CellBoolean()) X1 += il->Width();
                    else Y1 += il->Height();
                }
        break;
    case ctPicture:
        if (TPicture* p = G->Picture(); p && p->Graphic()) {
            if (!Options().Contains(goVertLine)) X1 -= 1;
            if (!Options().Contains(goHorzLine)) Y1 -= 2;
            if (G->CellAngle() != 0) C->StretchDraw(TRect{X1, Y1, X1 + GW, Y1 + GH}, p->Graphic());
            else C->Draw(X1, Y1, p->Graphic());
        }
        break;
    case ctFilePicture:
        if (TFilePicture* fp = G->FilePicture()) fp->DrawPicture(C, TRect{X1, Y1, X1 + GW, Y1 + GH});
        break;
    case ctProgress: {
        const double v = CellFloat(GetCellEx(RCol, ARow));
        const TControlLook::TControlStyle cs = ControlLook()->ControlStyle();
        TRect pr = R;
        if ((cs == TControlLook::csWinXP || cs == TControlLook::csTheme) && ThemesInUse() &&
            ControlLook()->ProgressXP()) {
            InflateRect(pr, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
            if (DrawThemed(C, Handle(), L"Progress", 1, 1, pr)) {
                InflateRect(pr, -2, -2);
                pr.Right = pr.Left + ClampPercent(v) * pr.Width() / 100;
                DrawThemed(C, Handle(), L"Progress", 3, 1, pr);
                break;
            }
        }
        InflateRect(pr, -2, -2);
        const TColor fg = G->CellBitmapColor(), bk = G->CellIconColor();
        const TColor fgText = G->CellBoolean() ? TColor(G->CellIndex()) : TColor(ColorToRGB(fg) ^ 0xFFFFFF);
        const TColor bkText = G->CellBoolean() ? TColor(G->CellAngle()) : TColor(ColorToRGB(bk) ^ 0xFFFFFF);
        DrawSimpleProgress(C, pr, fg, fgText, bk, bkText, v, ControlLook()->ProgressMarginX(),
                           ControlLook()->ProgressMarginY(), G->CellErrFrom(), G->CellErrLen(), G->CellText(),
                           ControlLook()->ProgressBorderColor(), false);
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand: {
        TRect box{X1, Y1, X2, Y2};
        if (type == ctExpand) box = TRect{R.Right - 13, R.Top, R.Right, R.Top + 13};
        const TRect cell = CellRect(F.ACol, ARow);
        G->SetCellValue(double(((box.Top - cell.Top) & 0xFFFF) << 16 | ((box.Left - cell.Left) & 0xFFFF)));
        const bool enabled = ControlLook()->NoDisabledButtonLook() || IsCellEditable(RCol, ARow);
        TPartState st = pstNormal;
        if (G->CellBoolean()) st = pstDown;
        else if (FPushedCellButton.X == F.ACol && FPushedCellButton.Y == ARow) st = pstHot;
        if (!enabled && type != ctExpand) st = pstDisabled;
        TPartKind kind = ControlLook()->FlatButton() ? pkFlat : ThemesInUse() ? pkThemed : pkClassic;
        // A flat grid (Ctl3D off) with colour tones draws buttons in them.
        if (!Ctl3D() && FTones.Background.BrushColor != clNone) kind = pkOwnColors;
        C->Brush()->SetColor(clBtnFace);
        DrawPushButton(C, Handle(), box, kind, st, FTones, false, String());
        TRect content = box;
        if (st == pstDown) OffsetRect(content, 1, 1);
        if (type == ctExpand) {
            C->Pen()->SetColor(clBlack);
            C->Pen()->SetWidth(1);
            const Integer r = content.Right, t = content.Top;
            if (G->CellVar().VarType() != varBoolean || !G->CellVar().AsBoolean()) {
                C->MoveTo(r - 10, t + 5);
                C->LineTo(r - 7, t + 8);
                C->LineTo(r - 3, t + 4);
            } else {
                C->MoveTo(r - 10, t + 8);
                C->LineTo(r - 7, t + 5);
                C->LineTo(r - 3, t + 9);
            }
            break;
        }
        TRect capR = content;
        if (type == ctBitButton)
            if (TBitmap* b = G->Bitmap(); b && !b->Empty()) {
                const Integer free = content.Width() - b->Width();
                const Integer by = b->Height() < content.Height()
                                       ? content.Top + (content.Height() - b->Height()) / 2
                                       : content.Top + 3;
                Integer bx = content.Left + 3;
                if (free > 0 && G->CellText().empty()) bx = content.Left + free / 2;
                DrawGlyphBitmap(C, bx, by, b);
                capR.Left = bx + b->Width() + 4;
            }
        if (!G->CellText().empty()) {
            UINT fl = DT_CENTER | DT_VCENTER;
            if (G->CellText().find(L'\r') == String::npos) fl |= DT_SINGLELINE;
            if (!ControlLook()->ButtonPrefix()) fl |= DT_NOPREFIX;
            const TColor oldFont = C->Font()->Color();
            if (kind == pkOwnColors) {
                const TColorTone& tone = st == pstHot    ? FTones.Hover
                                         : st == pstDown ? FTones.Selected
                                         : st == pstDisabled ? FTones.Disabled
                                                              : FTones.Background;
                C->Font()->SetColor(tone.TextColor);
            } else if (st == pstDisabled) {
                C->Font()->SetColor(clGrayText);
            }
            C->Brush()->SetStyle(bsClear);
            DrawText(C->Handle(), G->CellText().c_str(), Integer(G->CellText().size()), &capR, fl);
            C->Brush()->SetStyle(bsSolid);
            C->Font()->SetColor(oldFont);
        }
        break;
    }
    case ctProgressPie:
        DrawProgressPie(C, TRect{X1, Y1, X1 + 20, Y1 + 20}, G->CellBitmapColor(), G->CellAngle(), false);
        break;
    case ctRangeIndicator: {
        TRect pr = R;
        InflateRect(pr, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
        DrawBalanceBar(C, pr, Integer(CellFloat(GetCellEx(RCol, ARow))), G->CellIndex(), G->CellBoolean(),
                       G->CellBitmapColor(), G->CellIconColor());
        break;
    }
    case ctXPProgress: {
        TGridProgressAppearance* pa = ProgressAppearance();
        TProgressLook look;
        look.Level0Color = pa->Level0Color();
        look.Level0ColorTo = pa->Level0ColorTo();
        look.Level1Color = pa->Level1Color();
        look.Level1ColorTo = pa->Level1ColorTo();
        look.Level2Color = pa->Level2Color();
        look.Level2ColorTo = pa->Level2ColorTo();
        look.Level3Color = pa->Level3Color();
        look.Level3ColorTo = pa->Level3ColorTo();
        look.Level1Perc = pa->Level1Perc();
        look.Level2Perc = pa->Level2Perc();
        look.BorderColor = pa->BorderColor();
        look.ShowBorder = pa->ShowBorder();
        look.Stacked = pa->Stacked();
        look.ShowPercentage = pa->ShowPercentage();
        look.FontColor = pa->CompleteFontColor();
        look.CompletionSmooth = pa->CompletionSmooth();
        look.ShowGradient = pa->ShowGradient();
        look.Steps = pa->Steps();
        look.BackgroundColor = pa->UnCompleteColor() == clNone ? savedBrush : pa->UnCompleteColor();
        TRect pr = R;
        InflateRect(pr, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
        pr.Right -= 1;
        pr.Bottom -= 1;
        const double v = CellFloat(GetCellEx(RCol, ARow));
        const double lo = G->CellErrFrom(), hi = G->CellErrLen();
        Integer percent;
        if (hi == lo) {
            // An empty range has no fraction: nothing done below it, all
            // done at or above it.
            percent = v >= hi ? 100 : 0;
        } else {
            percent = Integer(std::lround(std::fabs(v - lo) / (hi - lo) * 100));
        }
        DrawStyledProgress(C, pr, percent, look);
        break;
    }
    case ctInterface: {
        IGridCellDraw* d = nullptr;
        if (Supports(G->CellBitmap(), d))
            d->CellDraw(C, TRect{R.Left - 1, R.Top - 1, R.Right, R.Bottom}, this, ARow, RCol,
                        F.State.Contains(gdSelected));
        break;
    }
    case ctShape:
        DrawCellShape(C, X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1, TCellShape(G->CellAngle()), TColor(G->CellIndex()),
                      G->CellBitmapColor());
        break;
    case ctRating: {
        const double v = std::floor(CellFloat(GetCellEx(RCol, ARow)) * 2) / 2;
        const TColor on = TColor(G->CellIndex()), off = G->CellBitmapColor();
        Integer x = X1;
        for (Integer i = 0; i < G->CellAngle(); ++i) {
            const bool empty = i + 1 > v;
            DrawCellShape(C, x, Y1, 16, 16, csStar, empty ? off : on, empty ? off : on);
            if (empty && i < v) DrawCellShape(C, x, Y1, 16, 16, csHalfStar, on, on);
            x += 18;
        }
        break;
    }
    case ctDataPicture:
        if (FPictureContainer)
            if (THTMLPicture* p = FPictureContainer->FindPicture(GetCellEx(RCol, ARow))) C->Draw(X1, Y1, p);
        break;
    default: break;
    }
    C->Brush()->SetColor(savedBrush);
    C->Brush()->SetStyle(bsSolid);

    // 5. The comment mark in the top-right corner.
    if (type != ctNode && !G->CellComment().empty()) {
        const TColor cc = G->CommentColor() != clNone ? G->CommentColor() : ControlLook()->CommentColor();
        if (cc != clNone) {
            const Integer rx = R.Right + FXYOffset.X, ty = R.Top - FXYOffset.Y;
            C->Pen()->SetColor(cc);
            C->Brush()->SetColor(cc);
            C->Polygon({TPoint{rx - 8, ty + 1}, TPoint{rx - 3, ty + 1}, TPoint{rx - 3, ty + 6}});
            C->Brush()->SetColor(Color());
        }
    }
}

// ---------------------------------------------------------------------------
// Check box and radio glyphs

void TVodStringGrid::DrawCheckGlyph(TCanvas* ACanvas, TRect R, bool Checked, TCheckBoxState State, bool TriStateMode,
                                    TControlLook::TControlStyle Style, bool Grayed, bool Enabled)
{
    TCanvas* C = ACanvas;
    if (ControlLook()->NoDisabledCheckRadioLook() || ControlLook()->CheckAlwaysActive()) Enabled = true;
    if (Style == TControlLook::csTheme && !(FIsComCtl6 && ThemesInUse())) Style = TControlLook::csClassic;
    if (TriStateMode) {
        Checked = State == cbChecked;
        Grayed = State == cbGrayed;
    }
    const Integer side = Integer(std::nearbyint(ControlLook()->CheckSize() * FDPIScale));
    switch (Style) {
    case TControlLook::csWinXP:
        DrawGlyphResource(C, R.Left, R.Top,
                          Checked ? (Enabled ? L"VURCHK05" : L"VURCHK07") : (Enabled ? L"VURCHK06" : L"VURCHK08"));
        break;
    case TControlLook::csQel:
        DrawGlyphResource(C, R.Left, R.Top,
                          Checked ? (Enabled ? L"VURCHK01" : L"VURCHK03") : (Enabled ? L"VURCHK02" : L"VURCHK04"));
        break;
    case TControlLook::csGlyph:
        DrawGlyphBitmap(C, R.Left, R.Top, Checked ? ControlLook()->CheckedGlyph() : ControlLook()->UnCheckedGlyph());
        break;
    case TControlLook::csBorland: {
        const Integer s = R.Width();
        C->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        C->Pen()->SetColor(clBtnFace);
        C->Rectangle(R);
        C->Pen()->SetColor(clBtnHighlight);
        C->MoveTo(R.Left, R.Bottom - 1);
        C->LineTo(R.Left, R.Top);
        C->LineTo(R.Right - 1, R.Top);
        C->Pen()->SetColor(clBtnShadow);
        C->LineTo(R.Right - 1, R.Bottom - 1);
        C->LineTo(R.Left, R.Bottom - 1);
        if (Checked) {
            C->Pen()->SetColor(Enabled ? ControlLook()->Color() : TColor(0x808080));
            const Integer x = R.Left + s / 4, y = R.Top + s / 2;
            for (Integer i = 0; i < 2; ++i) {
                C->MoveTo(x, y + i);
                C->LineTo(x + s / 4, y + s / 4 + i);
                C->LineTo(R.Right - s / 4, R.Top + s / 4 + i);
            }
        }
        break;
    }
    case TControlLook::csTheme: {
        const int st = Grayed ? (Enabled ? 9 : 12) : Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4);
        if (DrawThemed(C, HandleAllocated() ? Handle() : nullptr, L"button", 3, st,
                       TRect{R.Left, R.Top, R.Left + side, R.Top + side}))
            break;
        [[fallthrough]];
    }
    default: {
        TRect box{R.Left + (R.Width() - side) / 2, R.Top + (R.Height() - side) / 2, 0, 0};
        box.Right = box.Left + side;
        box.Bottom = box.Top + side;
        UINT st = DFCS_BUTTONCHECK;
        if (Checked) st |= DFCS_CHECKED;
        if (Grayed) st |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (Style == TControlLook::csFlat) st |= DFCS_FLAT;
        if (!Enabled) st |= DFCS_INACTIVE;
        DrawFrameControl(C->Handle(), &box, DFC_BUTTON, st);
        break;
    }
    }
}

void TVodStringGrid::DrawRadioGroup(TCanvas* ACanvas, TRect R, bool Upward, double Scale,
                                    TControlLook::TControlStyle Style, Integer ARow, Integer ACol, bool Selected,
                                    TStrings* Items, bool Disabled, bool Horizontal, Integer Index, Integer Count)
{
    TCanvas* C = ACanvas;
    if (Count <= 0) return;
    if (ControlLook()->NoDisabledCheckRadioLook() || ControlLook()->RadioAlwaysActive()) Disabled = false;
    if (Style == TControlLook::csTheme && !ThemesInUse()) Style = TControlLook::csClassic;
    const Integer oldMode = SetBkMode(C->Handle(), TRANSPARENT);
    const TColor oldFont = C->Font()->Color();
    if (Selected && IsSelectionVisible() && FSelectionTextColor != clNone) C->Font()->SetColor(FSelectionTextColor);
    const String cellText = GetCellEx(ACol, ARow);
    const Integer th = C->TextHeight(L"gh");
    const Integer rs = ControlLook()->RadioSize();
    const bool classic = Style == TControlLook::csClassic || Style == TControlLook::csFlat;
    const bool bitmaps =
        Style == TControlLook::csWinXP || Style == TControlLook::csQel || Style == TControlLook::csGlyph;
    Integer textsBefore = 0;
    for (Integer i = 1; i <= Count; ++i) {
        const String s = Items && i - 1 < Items->Count() ? Items->Strings(i - 1) : String();
        const bool on = i == Index + 1 || (Index == -1 && s == cellText);
        Integer bx, by, tx, ty;
        if (classic) {
            const Integer side = Integer(std::lround(rs * Scale)) + (Style == TControlLook::csFlat ? 2 : 0);
            // Upward (paper, y up): every distance down the cell is taken
            // off its top, and the box and text reach down from there.
            const Integer down = Upward ? -1 : 1;
            if (Horizontal) {
                bx = R.Left + 2 + (i - 1) * Integer(std::lround(rs * Scale)) + textsBefore;
                by = R.Top + down * ((std::abs(R.Height()) - side) / 2);
                tx = bx + Integer(std::lround(rs * Scale));
                ty = by - down * 2;
            } else {
                bx = R.Left + 2;
                by = R.Top + down * (th * (i - 1) + 2);
                tx = bx + Integer(std::lround((rs + 4) * Scale));
                ty = by - down * 2;
                if (s.empty()) bx = R.Left + (R.Width() - side) / 2;
            }
            TRect box{bx, by, bx + side, by + down * side};
            UINT st = DFCS_BUTTONRADIO;
            if (Style == TControlLook::csFlat) st |= DFCS_FLAT;
            if (Disabled) st |= DFCS_INACTIVE;
            if (on) st |= DFCS_CHECKED;
            DrawFrameControl(C->Handle(), &box, DFC_BUTTON, st);
        } else {
            const Integer lh = std::max(16, th);
            if (Horizontal) {
                bx = R.Left + 2 + (i - 1) * 16 + textsBefore;
                by = R.Top + (R.Height() - 16) / 2;
                tx = bx + 16;
                ty = bitmaps ? by + 1 : by - 2;
            } else {
                bx = R.Left + 2;
                by = R.Top + lh * (i - 1) * (Upward ? -1 : 1) + 2;
                tx = R.Left + (bitmaps ? 18 : 20);
                ty = bitmaps ? by + 1 : by - 2;
            }
            switch (Style) {
            case TControlLook::csBorland: {
                auto P = [&](Integer x, Integer y) { return TPoint{bx + x, by + y}; };
                C->Brush()->SetColor(clBtnFace);
                C->Pen()->SetColor(clBtnFace);
                C->Polygon({P(2, 8), P(8, 2), P(14, 8), P(8, 14)});
                C->Pen()->SetColor(on ? TColor(0x808080) : clWhite);
                C->MoveTo(bx + 2, by + 8);
                C->LineTo(bx + 8, by + 2);
                C->LineTo(bx + 14, by + 8);
                C->Pen()->SetColor(on ? clWhite : TColor(0x808080));
                C->LineTo(bx + 8, by + 14);
                C->LineTo(bx + 2, by + 8);
                if (on) {
                    C->Brush()->SetColor(ControlLook()->Color());
                    C->Pen()->SetColor(ControlLook()->Color());
                    C->Polygon({P(6, 8), P(8, 6), P(10, 8), P(8, 10)});
                }
                break;
            }
            case TControlLook::csTheme:
                DrawThemed(C, HandleAllocated() ? Handle() : nullptr, L"button", 2,
                           on ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1), TRect{bx, by, bx + 16, by + 16});
                break;
            case TControlLook::csWinXP:
                DrawGlyphResource(C, bx, by,
                                  on ? (Disabled ? L"VURRAD07" : L"VURRAD05") : (Disabled ? L"VURRAD08" : L"VURRAD06"));
                break;
            case TControlLook::csQel:
                DrawGlyphResource(C, bx, by,
                                  on ? (Disabled ? L"VURRAD03" : L"VURRAD01") : (Disabled ? L"VURRAD04" : L"VURRAD02"));
                break;
            default:
                DrawGlyphBitmap(C, bx, by, on ? ControlLook()->RadioOnGlyph() : ControlLook()->RadioOffGlyph());
                break;
            }
        }
        if (!s.empty()) {
            C->Brush()->SetStyle(bsClear);
            C->TextOut(tx, ty, s);
            C->Brush()->SetStyle(bsSolid);
        }
        textsBefore += C->TextWidth(s);
    }
    C->Font()->SetColor(oldFont);
    SetBkMode(C->Handle(), oldMode);
}

// ---------------------------------------------------------------------------
// Node buttons

void TVodStringGrid::DrawNodeButton(TCanvas* ACanvas, TRect R, Integer ACol, Integer ARow, TGridDrawState AState,
                                    TCellGraphic* G)
{
    TCanvas* C = ACanvas;
    TCellNode* cn = CellNode();
    const Integer I = cn->NodeIndent();
    const Integer level = GetNodeIndent(ARow);
    const Integer mid = R.Top + R.Height() / 2;
    const bool collapsed = G->CellBoolean();

    // 1. Tree connectors.
    if (cn->ShowTree() && ARow >= FixedRows()) {
        C->Pen()->SetColor(cn->TreeColor());
        C->Pen()->SetWidth(1);
        const Integer x = R.Left + level - I + I / 2 + 2;
        if (ARow + 1 < RowCount()) {
            const Integer next = GetNodeIndent(ARow + 1);
            if (next > 0 && !(!collapsed && next < level)) {
                C->MoveTo(x, mid);
                C->LineTo(x, R.Bottom);
            }
        }
        if (ARow > 0 && GetNodeIndent(ARow - 1) >= level) {
            C->MoveTo(x, R.Top);
            C->LineTo(x, mid);
        }
    }

    // 2. The background behind the button.
    R.Left = R.Left + level - I / 2 - 4;
    TColor bk = C->Brush()->Color();
    if (bk == clNone) bk = FixedCols() == 0 ? Color() : FixedColor();
    if (IsSelectionVisible() &&
        ((AState.Contains(gdSelected) && !MouseActions()->DisjunctRowSelect()) ||
         (MouseActions()->DisjunctRowSelect() && RowSelect(ARow) && Options().Contains(goRowSelect) &&
          ACol >= FixedCols())))
        bk = FSelectionColor;

    const Integer bx = R.Left + 4, by = mid - 4;
    auto flatBox = [&](bool raisedEdge) {
        C->Brush()->SetColor(cn->Color());
        C->Pen()->SetColor(cn->NodeColor());
        const TRect box{bx, by, bx + 9, by + 9};
        if (raisedEdge) {
            TRect e = box;
            DrawEdge(C->Handle(), &e, collapsed ? BDR_RAISEDINNER : BDR_SUNKENINNER, BF_RECT | BF_SOFT);
        } else {
            C->Rectangle(box);
        }
        C->Pen()->SetColor(cn->NodeColor());
        C->MoveTo(bx + 2, by + 4);
        C->LineTo(bx + 7, by + 4);
        if (collapsed) {
            C->MoveTo(bx + 4, by + 2);
            C->LineTo(bx + 4, by + 7);
        }
    };
    switch (cn->NodeType()) {
    case cn3D: {
        C->Brush()->SetColor(cn->Color());
        C->FillRect(R);
        TRect f = R;
        Frame3D(C, f, clWhite, clGray, 1);
        flatBox(true);
        break;
    }
    case cnGlyph:
        if (cn->ExpandGlyph() && !cn->ExpandGlyph()->Empty() && cn->ContractGlyph() && !cn->ContractGlyph()->Empty()) {
            TBitmap* b = collapsed ? cn->ContractGlyph() : cn->ExpandGlyph();
            const Integer y = R.Top + (R.Height() - b->Height()) / 2;
            DrawBitmapTransparent(C, b, bk, TRect{R.Left, y, R.Left + b->Width(), y + b->Height()});
            break;
        }
        flatBox(false);
        break;
    case cnLeaf: {
        const Integer y = R.Top + (R.Height() - 12) / 2;
        DrawResourceBitmap(C, bk, TRect{R.Left, y, R.Left + 16, y + 16}, collapsed ? L"VURLEAFCLOSE" : L"VURLEAFOPEN");
        break;
    }
    case cnXP: {
        const Integer x = R.Left + 4, y = R.Top + (R.Height() - 10) / 2;
        DrawResourceBitmap(C, bk, TRect{x, y, x + 9, y + 9}, collapsed ? L"XPNODEC" : L"XPNODEO");
        break;
    }
    default: flatBox(false); break;
    }
    C->Brush()->SetColor(bk);
}
