// Cell text: the display text of a cell (float formatting), its drawing as
// plain text, markup or rich text with the text-drawing flags that realise
// alignment, word wrap and ellipsis, and its measuring for autosizing, hit
// tests and cell scroll bars.
#include <algorithm>
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridFilter.h"
#include "controls/grid/GridSortSettings.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/vurxlsfmt.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/RichEdit.h"

namespace {

// Cell texts are drawn and measured up to this many characters: nothing
// beyond shows in a cell anyway, and wrapping costs grow faster than the
// length.
constexpr size_t kTextLimit = 4096;

void LimitText(String& S)
{
    if (S.size() > kTextLimit) S.resize(kTextLimit);
}

// The number a cell text holds, read in invariant form.
double CellNumber(const String& S)
{
    const String inv = ExtractNumberText(S);
    Extended v = 0;
    TFormatSettings fs = FormatSettings;
    fs.DecimalSeparator = L'.';
    fs.ThousandSeparator = L',';
    if (!TryStrToFloat(inv, v, fs)) throw EConvertError(L"'" + S + L"' is not a valid number");
    return double(v);
}

bool IsEditorType(TEditorType e, std::initializer_list<TEditorType> Kinds)
{
    return std::find(Kinds.begin(), Kinds.end(), e) != Kinds.end();
}

// The lines of a text at carriage returns (a following line feed skipped),
// the last piece included.
std::vector<String> SplitCellLines(String S)
{
    std::vector<String> out;
    do {
        out.push_back(CutFirstLine(S, true));
    } while (!S.empty());
    return out;
}

Integer TextHeightOf(TCanvas* C, const String& S, UINT Flags)
{
    TRect r{0, 0, 32767, 0};
    return DrawText(C->Handle(), S.c_str(), Integer(S.size()), &r, Flags | DT_CALCRECT);
}

}  // namespace

// ---------------------------------------------------------------------------
// Display text

String TVodStringGrid::GetFormattedCell(Integer ACol, Integer ARow)
{
    String s = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat) return s;
    const Byte kind = ClassifyValueText(s);
    if (kind != 0 && kind != 1 && kind != 5) return s;
    bool isFloat = true;
    String fmt = FFloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!isFloat || fmt.empty()) return s;
    try {
        const double v = CellNumber(s);
        if (FFormatType == ftExcel) {
            String r;
            XlsFormatValue(Variant(v), fmt, r);
            return r;
        }
        if (fmt.find(L'd') != String::npos || fmt.find(L'x') != String::npos)
            return Format(fmt, {Int64(std::trunc(v))});
        return Format(fmt, {v});
    } catch (const std::exception&) {
        // A format that does not fit the value leaves the text as it is.
        return s;
    }
}

// ---------------------------------------------------------------------------
// Fonts and the hidden rich edit

void TVodStringGrid::GetFontProperties(Integer ACol, Integer RCol, bool, TBrush* ABrush, TFont* AFont,
                                       TGridDrawState& AState, Integer ARow)
{
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? FixedFont() : Font());
    if (const TCellProperties* p = CellPropertiesOf(RCol, ARow)) {
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (p->FontStyle() != TFontStyles()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetHeight(p->FontSize());
        if (!p->FontName().empty()) AFont->SetName(p->FontName());
    }
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

TCustomRichEdit* TVodStringGrid::CellRichEdit()
{
    if (FCellRich) return FCellRich;
    if (!Parent() || ComponentState().Contains(csDestroying)) return nullptr;
    auto* r = new TRichEdit(this);
    r->SetVisible(false);
    r->SetBorderStyle(bsNone);
    r->SetParent(Parent());
    r->SetBounds(0, 0, 0, 0);
    // A hidden control gets no window of its own until asked, and the rich
    // text is laid out by the window: make it now.
    r->HandleNeeded();
    FCellRich = r;
    return r;
}

// ---------------------------------------------------------------------------
// Measuring

void TVodStringGrid::GetCellTextSize(Integer ACol, Integer ARow, TPoint& Size, bool ButtonRoom, bool Wrapped)
{
    // ACol counts visible columns: the text is read from its real column,
    // mapped once.
    MeasureCellText(ACol, RealColIndex(ACol), Size, ButtonRoom, Wrapped, false, ARow);
}

void TVodStringGrid::MeasureCellText(Integer ACol, Integer RCol, TPoint& Size, bool ButtonRoom, bool Wrapped,
                                     bool Unlimited, Integer ARow)
{
    Size = TPoint{0, 0};
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
    TCanvas* C = Canvas();
    if (!C) return;

    // 1. The text: the editor's while this very cell is being edited.
    const bool editingHere = EditorMode() && InplaceEditor() && Col() == ACol && Row() == ARow;
    String s = editingHere ? InplaceEditor()->Text() : GetFormattedCell(RCol, ARow);
    if (DetectTextMarkup(s, FEnableHTML) != 2) LimitText(s);

    // 2. Kind and font.
    Byte kind = DetectTextMarkup(s, FEnableHTML);
    TGridDrawState st;
    TBrush brush;
    TFont font;
    GetFontProperties(ACol, RCol, false, &brush, &font, st, ARow);
    if ((ACol < FixedCols() || ARow < FixedRows()) && FActiveCellShow && FActiveCellFont &&
        FActiveCellFont->Style().Contains(fsBold))
        font.SetStyle(font.Style() + TFontStyles{fsBold});
    if (FZoomFactor != 0) {
        Integer sz = font.Size() + FZoomFactor;
        if (sz == 0) sz = 1;
        font.SetSize(sz);
    }
    TFont saved;
    saved.Assign(C->Font());
    struct TRestore {
        TCanvas* C;
        TFont* F;
        ~TRestore() { C->Font()->Assign(F); }
    } restore{C, &saved};
    C->Font()->Assign(&font);
    if (kind == 3) {
        s = GetCellContent(RCol, ARow);
        kind = DetectTextMarkup(s, FEnableHTML);
    }

    // 3. The room inside the cell.
    TRect r = CellRect(ACol, ARow);
    r.Left += FXYOffset.X + 1;
    r.Top += FXYOffset.Y + 1;
    if (!FXYOffsetTopLeftOnly) {
        r.Right -= FXYOffset.X + 1;
        r.Bottom -= FXYOffset.Y;
    }
    if (ButtonRoom) r.Right -= 17;
    {
        TEditorType ed = FDefaultEditor;
        GetCellEditorType(RCol, ARow, ed);
        if (ControlLook()->DropDownAlwaysVisible() &&
            (IsEditorType(ed, {edComboEdit, edComboList, edEditBtn}) ||
             (ed >= edTrackbarDropDown && ed <= edVodGridDropDown)))
            r.Right -= 17;
        if (ControlLook()->SpinButtonsAlwaysVisible() && IsEditorType(ed, {edSpinEdit, edFloatSpinEdit}))
            r.Right -= 17;
    }

    // 4. Markup.
    if (kind == 1) {
        if (Unlimited) r.Right = 65535;
        r.Bottom = 65535;
        TMarkupParams p;
        p.Canvas = C;
        p.Text = s;
        p.Rect = r;
        p.CheckHeight = true;
        p.Images = FGridImages;
        p.Container = FPictureContainer;
        p.ImageCache = ImageCache();
        p.ShadowColor = TColor(0x808080);
        p.URLColor = FURLColor;
        p.BiDiMode = BiDiMode();
        p.ThemeWindow = HandleAllocated() ? Handle() : nullptr;
        VurHTMLE::RenderMarkup(p);
        Size = TPoint{p.XSize + 2, p.YSize + 2};
        return;
    }

    // 5. Rich text: its plain text measures the lines; the rich edit the size.
    TCustomRichEdit* rich = nullptr;
    if (kind == 2 && !ComponentState().Contains(csDesigning)) {
        rich = CellRichEdit();
        if (rich) {
            rich->Lines()->Clear();
            rich->SetBounds(0, 0, 0, 0);
            rich->SetBounds(0, 0, std::max(0, r.Width()), std::max(0, r.Height()));
            rich->SetWordWrap(false);
            CellToRich(RCol, ARow, rich);
            C->Font()->SetName(rich->SelAttributes()->Name());
            C->Font()->SetSize(rich->SelAttributes()->Size());
            C->Font()->SetStyle(rich->SelAttributes()->Style());
            s = rich->Text();
        } else {
            s.clear();
        }
    }

    // 6. The text's extent.
    Integer angle = 0;
    const bool rotated = IsRotated(RCol, ARow, angle);
    if (Wrapped) {
        if (editingHere && !s.empty() && s.back() == L'\n') s += L'w';
        if (Unlimited) r.Right = 65535;
        if (!s.empty()) {
            UINT fl = DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
            fl |= rotated ? DT_SINGLELINE : DT_WORDBREAK;
            TRect calc = r;
            const Integer h = DrawText(C->Handle(), s.c_str(), Integer(s.size()), &calc, fl);
            Size = TPoint{r.Width(), h};
        }
    } else if (!s.empty()) {
        const Integer lh = TextHeightOf(C, L"gh", DT_SINGLELINE | DT_NOPREFIX);
        std::vector<String> lines = Multilinecells() ? SplitCellLines(s) : std::vector<String>{s};
        Integer w = 0;
        for (String l : lines) {
            if (kind == 4 && !FURLFull) StripURLProtocol(l);
            w = std::max(w, C->TextWidth(l));
        }
        Size = TPoint{w, Integer(lines.size()) * lh};
    }

    // 7. A rotated text takes the box its turned extent needs.
    if (rotated) {
        const double a = angle * M_PI / 180.0;
        const double W = Size.X, H = Size.Y;
        const Integer hs = Integer(std::fabs(H * std::sin(a))), wc = Integer(std::fabs(W * std::cos(a)));
        const Integer hc = Integer(std::fabs(H * std::cos(a))), ws = Integer(std::fabs(W * std::sin(a)));
        Size = TPoint{std::abs(hs - wc) + 12, std::abs(hc - ws) + 12};
    }

    // 8. Rich text: the size the rich edit asks for.
    if (rich) {
        TRect req{0, 0, 0, 0};
        bool asked = false;
        auto saved = rich->OnResizeRequest;
        rich->OnResizeRequest = [&](TObject*, TRect R) {
            req = R;
            asked = true;
        };
        rich->SetBounds(0, 0, std::max(0, r.Width()), std::max(0, r.Height()));
        rich->SetWordWrap(true);
        rich->SetWordWrap(false);
        rich->SetWordWrap(FWordWrapEx);
        if (rich->HandleAllocated()) SendMessage(rich->Handle(), EM_REQUESTRESIZE, 0, 0);
        rich->OnResizeRequest = saved;
        if (asked) Size = TPoint{req.Width(), req.Height() + 4};
    }
}

// ---------------------------------------------------------------------------
// Drawing

void TVodStringGrid::DrawRichTextCell(Integer RCol, Integer ARow, TRect R, TCanvas* ACanvas)
{
    if (ComponentState().Contains(csDesigning) || !ACanvas) return;
    TCustomRichEdit* rich = CellRichEdit();
    if (!rich || !rich->HandleAllocated()) return;
    // 1. The cell into the rich edit.
    CellToRich(RCol, ARow, rich);
    HDC dc = ACanvas->Handle();
    // 2. Selected cells that are not the focused one show the selection's
    // text colour (unless the rich colours are to be kept).
    const Integer selRow = MouseActions()->DisjunctRowSelect() && MouseActions()->RowSelectPersistent()
                               ? RealRowIndex(ARow)
                               : ARow;
    const Integer dcol = DisplColIndex(RCol);
    const TGridRect sel = Selection();
    const bool inSel = dcol >= sel.Left && dcol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
    const bool focusedCell = dcol == Col() && ARow == Row() && Focused() && !Options().Contains(goDrawFocusSelected);
    const bool disjunct = (MouseActions()->DisjunctRowSelect() && RowSelect(selRow)) ||
                          (MouseActions()->DisjunctColSelect() && ColSelect(RCol));
    if (((inSel && !focusedCell) || disjunct) && !FSelectionRTFKeep && GetMapMode(dc) == MM_TEXT &&
        FSelectionTextColor != clNone) {
        rich->SelectAll();
        rich->SelAttributes()->SetColor(FSelectionTextColor);
    }
    // 3. Device units and resolution.
    POINT pts[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    LPtoDP(dc, pts, 2);
    Integer resX = GetDeviceCaps(dc, LOGPIXELSX), resY = GetDeviceCaps(dc, LOGPIXELSY);
    if (resX <= 0) resX = 96;
    if (resY <= 0) resY = 96;
    POINT off[2] = {{0, 0}, {FXYOffset.X, 0}};
    LPtoDP(dc, off, 2);
    const Integer offset = (off[1].X - off[0].X) * resX / 96;
    // 4. The range in twips.
    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = dc;
    const Integer w = pts[1].X - pts[0].X, h = pts[1].Y - pts[0].Y;
    fr.rc.Left = Integer(Int64(pts[0].X + offset) * 1440 / resX);
    fr.rc.Top = Integer(Int64(pts[0].Y + offset) * 1440 / resY);
    fr.rc.Right = fr.rc.Left + Integer(Int64(std::max(0, w - 2 * offset)) * 1440 / resX);
    fr.rc.Bottom = fr.rc.Top + Integer(Int64(std::max(0, h - 2 * offset)) * 1440 / resY);
    fr.rcPage = fr.rc;
    fr.chrg = CHARRANGE{0, -1};
    // 5. Drawn in the plain text mapping mode; the second request frees the
    // rich edit's cached layout.
    const int oldMode = SetMapMode(dc, MM_TEXT);
    SendMessage(rich->Handle(), EM_FORMATRANGE, 1, LPARAM(&fr));
    SendMessage(rich->Handle(), EM_FORMATRANGE, 0, 0);
    SetMapMode(dc, oldMode);
}

// The height at which the sort glyph sits beside the text.
static Integer SortGlyphY(const TVodStringGrid::TCellDrawFrame& F)
{
    const TRect& r = F.TextRect;
    return F.VA == vtaTop ? r.Top + 8 : F.VA == vtaBottom ? r.Bottom - 8 : r.Top + (r.Bottom - r.Top) / 2;
}

void TVodStringGrid::PrepareCellText(TCellDrawFrame& F)
{
    // 1. The display text.
    F.Text = GetFormattedCell(F.RCol, F.ARow);
    // 2. The search highlight: the matches wrapped in the highlight tag.
    if (SearchHighlightCell(F.RCol, F.ARow)) F.Text = SearchHighlightText(F.Text);
    // 3. The kind; a formula shows what it stands for.
    F.Kind = DetectTextMarkup(F.Text, FEnableHTML);
    if (F.Kind == 3) {
        F.Text = GetCellContent(F.RCol, F.ARow);
        F.Kind = DetectTextMarkup(F.Text, FEnableHTML);
    }
    // 4. The marked range and the password mask.
    F.MarkerPos = F.MarkerLen = 0;
    GetMarker(F.RCol, F.ARow, F.MarkerPos, F.MarkerLen);
    if (IsMaskedTextCell(F.RCol, F.ARow)) FillWithChar(F.Text, FPasswordChar);
}

void TVodStringGrid::DrawCellText(TCellDrawFrame& F)
{
    TRect R = F.TextRect;
    TCanvas* C = F.Canvas;
    if (!C) return;
    F.TextWidth = 0;
    F.GraphicOffset = 0;
    String s = F.Text;
    if (F.Kind != 2) LimitText(s);

    // 5. Margins and the graphic's room.
    if (!FXYOffsetTopLeftOnly) R.Right -= FXYOffset.X;
    R.Left += FXYOffset.X;
    R.Top += FXYOffset.Y;
    const Integer lineH = C->TextHeight(L"gh");
    if (F.Graphic) {
        switch (F.GraphicHAlign) {
        case haBeforeText: R.Left += F.GW; break;
        case haAfterText: R.Right -= F.GW; break;
        case haLeft: F.GraphicOffset = F.GW; break;
        default: break;
        }
        if (F.GraphicVAlign == vaAboveText) R.Top += F.GH;
        else if (F.GraphicVAlign == vaUnderText) R.Bottom -= F.GH;
    }
    if (F.RCol == 0 && HasNodes() && !IsNode(F.ARow)) R.Left += GetNodeIndent(F.ARow);

    // 6. The filter edit row: the condition's type glyph and name.
    String placeholder;
    if (HasFilterEdit(F.RCol, F.ARow)) {
        TFilterType ft = ftStartsWith;
        for (Integer i = 0; i < Filter()->Count(); ++i)
            if (Filter()->Items(i)->Column == F.RCol) ft = Filter()->Items(i)->FilterType;
        if (TImageList* il = FilterTypeImages(); il && Integer(ft) < il->Count()) il->Draw(C, R.Left, R.Top, Integer(ft));
        R.Left += 18;
        if (FilterEdit() && Integer(ft) < FilterEdit()->TypeNames()->Count())
            placeholder = FilterEdit()->TypeNames()->Strings(Integer(ft));
    }

    // 7. Markup.
    if (F.Kind == 1) {
        if (F.ShowFilterGlyph) R.Right -= 18;
        R.Left -= 1;
        if (IsSortIndicatorCell(F.ACol, F.ARow)) R.Right -= 10;
        TMarkupParams p;
        p.Canvas = C;
        p.Text = s;
        p.Rect = R;
        p.BiDiMode = BiDiMode();
        p.ThemeWindow = HandleAllocated() ? Handle() : nullptr;
        p.Container = FPictureContainer;
        p.ImageCache = ImageCache();
        p.Images = FGridImages;
        p.ShadowColor = TColor(0x808080);
        p.HoverColor = clNone;
        p.HoverFontColor = clNone;
        p.URLColor = F.LinkColor == clNone ? FURLColor : F.LinkColor;
        p.Hover = FURLUnderlineOnHover;
        p.Blink = FGridBlink;
        p.HoverLink = -1;
        if (FHoverLink >= 0 && HandleAllocated()) {
            TPoint m;
            GetCursorPos(&m);
            m = ScreenToClient(m);
            const TGridCoord g = MouseCoord(m.X, m.Y);
            if (g.X == F.ACol && g.Y == F.ARow) p.HoverLink = FHoverLink;
        }
        p.WordWrap = F.WW;
        VurHTMLE::RenderMarkup(p);
        F.TextWidth = p.XSize + 2;
        if (ShowsSortGlyph(F.RCol, F.ARow)) DrawSortIndicator(C, F.RCol, SortGlyphY(F), R.Right + 2);
        return;
    }

    // 8. Rich text.
    if (F.Kind == 2) {
        C->Pen()->SetColor(C->Brush()->Color());
        const bool keepBack = F.State.Contains(gdSelected) && !F.State.Contains(gdFocused) && FSelectionColor == clNone;
        if (!keepBack) C->FillRect(R);
        C->Brush()->SetStyle(bsClear);
        DrawRichTextCell(F.RCol, F.ARow, R, C);
        C->Brush()->SetStyle(bsSolid);
        C->Font()->SetColor(clWhite);
        C->Font()->SetColor(clBlack);
        return;
    }

    // 9. Plain text.
    HDC dc = C->Handle();
    if (F.HA == taCenter && IsSortIndicatorCell(F.ACol, F.ARow) &&
        (SortSettings()->Column == F.RCol || (SortIndexes() && SortIndexes()->FindIndex(F.RCol) >= 0)))
        R.Left += 10;
    const bool url = FURLShow && F.Kind == 4;
    TFontStyles oldStyle = C->Font()->Style();
    if (url) {
        if (!FURLFull) StripURLProtocol(s);
        C->Font()->SetStyle(oldStyle + TFontStyles{fsUnderline});
        C->Font()->SetColor(F.LinkColor == clNone ? FURLColor : F.LinkColor);
    }
    if (F.Kind == 5) s = UnpackWideText(s);

    UINT flags = DT_EDITCONTROL;
    const Integer lines = LineCount(s, Multilinecells());
    if (lines == 1 && !F.WW) {
        String rest = s;
        s = CutFirstLine(rest, false);
        flags = DT_SINGLELINE;
        if (FEnhTextSize) flags |= DT_END_ELLIPSIS;
    }
    if (F.WW && !Multilinecells() && FEnhTextSize) flags |= DT_END_ELLIPSIS;
    FVAlign = F.VA == vtaCenter ? DT_VCENTER : F.VA == vtaBottom ? DT_BOTTOM : 0;
    flags |= DT_EXPANDTABS | DT_NOPREFIX | FVAlign;
    flags |= F.HA == taRightJustify ? DT_RIGHT : F.HA == taCenter ? DT_CENTER : DT_LEFT;
    if (F.WW) flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else flags |= DT_SINGLELINE;
    flags = UINT(DrawTextBiDiModeFlagsReadingOnly() | LONG(flags));
    const int oldBk = SetBkMode(dc, TRANSPARENT);

    if (F.ShowFilterGlyph) R.Right -= 16;

    if (F.Graphic && !s.empty()) {
        TRect m = R;
        DrawText(dc, s.c_str(), Integer(s.size()), &m, flags | DT_CALCRECT);
        F.TextWidth = m.Right - R.Left + 2;
    }
    const COLORREF oldText = SetTextColor(dc, COLORREF(ColorToRGB(C->Font()->Color())));
    if (Multilinecells() && lines > 1) {
        const Integer lh = TextHeightOf(C, L"gh", DT_SINGLELINE | DT_NOPREFIX);
        if (F.VA == vtaCenter) R.Top = R.Top + (R.Height() - lh * lines) / 2;
        else if (F.VA == vtaBottom) R.Top = R.Bottom - lh * lines;
        const UINT lf = flags & ~UINT(DT_VCENTER | DT_BOTTOM);
        String rest = s;
        for (Integer i = 0; i < lines && R.Top < R.Bottom; ++i) {
            const String line = CutFirstLine(rest, true);
            TRect lr = R;
            const Integer h = DrawText(dc, line.c_str(), Integer(line.size()), &lr, lf);
            R.Top += std::max(h, 1);
        }
    } else if (s.empty() && !placeholder.empty()) {
        TFont saved;
        saved.Assign(C->Font());
        C->Font()->SetStyle(TFontStyles{fsItalic});
        C->Font()->SetColor(TColor(0x808080));
        SetTextColor(dc, COLORREF(ColorToRGB(TColor(0x808080))));
        DrawText(dc, placeholder.c_str(), Integer(placeholder.size()), &R, flags);
        C->Font()->Assign(&saved);
    } else {
        if (!placeholder.empty()) C->Font()->SetStyle(TFontStyles());
        DrawText(dc, s.c_str(), Integer(s.size()), &R, flags);
    }
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldBk);

    // The wavy mark under the marked characters.
    if (F.MarkerLen > 0 && (!F.Graphic || F.Graphic->CellType() == ctEmpty || F.Graphic->CellType() == ctValue))
        DrawWavyUnderline(this, C, s, R, lineH, F.MarkerPos, F.MarkerLen);
    // The sort glyph beside the text, in the cell's text rectangle.
    if (ShowsSortGlyph(F.RCol, F.ARow)) {
        TRect r = F.TextRect;
        if (F.ShowFilterGlyph) r.Right -= 16;
        if (!F.Graphic && !s.empty()) F.TextWidth = C->TextWidth(s) + 2;
        const Integer X = std::max(0, std::min(r.Width() - 16, F.TextWidth));
        const Integer x = F.HA == taRightJustify ? r.Right - X - 10
                          : F.HA == taCenter     ? r.Left + 8
                                                 : r.Left + X + 10 + F.GraphicOffset;
        DrawSortIndicator(C, F.RCol, SortGlyphY(F), x);
    }
    if (url) C->Font()->SetStyle(oldStyle);
}
