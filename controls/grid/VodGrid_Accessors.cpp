// Cell accessors: cells read and written by real row (hidden rows live in
// the hidden-row store), by display column, by the row before sorting and by
// the column before moving; the per-cell looks kept in property blocks and
// the row looks; the current cell, counts and small properties of the same
// group; the sizing decision; and the rich text conversion between cells and
// a rich edit control.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/vurcheck.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/Streams.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"

// ---------------------------------------------------------------------------
// Cells in other coordinate systems

namespace {
// The hidden row's list grown with empty entries until it has entry c.
void GrowTo(TStrings* l, Integer c)
{
    while (l->Count() <= c) l->Add(L"");
}
}  // namespace

String TVodStringGrid::AllCells(Integer c, Integer r)
{
    if (c < 0 || r < 0) return String();
    if (TGridItem* it = HiddenRowItem(r)) {
        TStrings* l = it->Items();
        GrowTo(l, c);
        String s = l->Strings(c);
        GetDisplText(c, r, s);
        return s;
    }
    return GetCellEx(c, DisplRowIndex(r));
}

void TVodStringGrid::SetAllCells(Integer c, Integer r, const String& Value)
{
    if (c < 0 || r < 0) return;
    if (TGridItem* it = HiddenRowItem(r)) {
        TStrings* l = it->Items();
        GrowTo(l, c);
        l->SetStrings(c, Value);
        return;
    }
    const Integer d = DisplRowIndex(r);
    SetCellEx(c, d, Value);
    const Integer dc = DisplColIndex(c);
    if (dc != c) RepaintCell(dc, d);
}

String TVodStringGrid::AllGridCells(Integer c, Integer r)
{
    if (TGridItem* it = HiddenRowItem(r)) return it->Items()->Strings(c);
    return GetGridCell(c, DisplRowIndex(r));
}

void TVodStringGrid::SetAllGridCells(Integer c, Integer r, const String& Value)
{
    if (TGridItem* it = HiddenRowItem(r)) {
        it->Items()->SetStrings(c, Value);
        return;
    }
    const Integer d = DisplRowIndex(r);
    SetGridCell(c, d, Value);
    const Integer dc = DisplColIndex(c);
    if (dc != c) RepaintCell(dc, d);
}

TObject* TVodStringGrid::AllObjects(Integer c, Integer r)
{
    if (c < 0 || r < 0) return nullptr;
    if (TGridItem* it = HiddenRowItem(r)) {
        TStrings* l = it->Items();
        if (c >= l->Count()) return nullptr;
        TObject* o = l->Objects(c);
        if (auto* p = dynamic_cast<TCellProperties*>(o)) return reinterpret_cast<TObject*>(p->FObject);
        return o;
    }
    return GetObjectEx(c, DisplRowIndex(r));
}

void TVodStringGrid::SetAllObjects(Integer c, Integer r, TObject* Value)
{
    if (c < 0 || r < 0) return;
    if (TGridItem* it = HiddenRowItem(r)) {
        TStrings* l = it->Items();
        GrowTo(l, c);
        if (auto* p = dynamic_cast<TCellProperties*>(l->Objects(c))) {
            p->FObject = reinterpret_cast<uintptr_t>(Value);
            return;
        }
        // A new block with the grid's default cell look, kept with the
        // hidden row (the row's item owns it), not in the cell store.
        auto* p = new TCellProperties(this, c, r);
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = FWordWrap;
        TCellGradientDirection gd = GradientVertical;
        GetCellDefaults(c, r, FDefFont.get(), FDefBrush.get(), colorTo, mirror, mirrorTo, ha, va, ww, gd);
        p->FFontName = FDefFont->Name();
        p->FFontHeight = FDefFont->Height();
        p->FFontStyle = FDefFont->Style();
        p->FFontColor = FDefFont->Color();
        p->FGradientDirection = gd;
        p->FAlignment = ha;
        p->FVAlignment = va;
        p->FWordWrap = ww;
        p->FBrushColor = FDefBrush->Color();
        p->FBrushColorTo = colorTo;
        p->FObject = reinterpret_cast<uintptr_t>(Value);
        l->SetObjects(c, p);
        return;
    }
    SetObjectEx(c, DisplRowIndex(r), Value);
}

String TVodStringGrid::RealCells(Integer c, Integer r) { return GetCellEx(RealColIndex(c), r); }
void TVodStringGrid::SetRealCells(Integer c, Integer r, const String& Value) { SetCellEx(RealColIndex(c), r, Value); }

namespace {
// The current position of the row that was row r before sorting; -1 for a
// row inside the sorted range that the record does not hold.
Integer UnsortedPosition(const TIntList* XRef, Integer r)
{
    const Integer n = XRef->Count();
    if (r >= n) return r;
    for (Integer i = 0; i < n; ++i)
        if (XRef->GetInteger(i) == r) return i;
    return -1;
}
}  // namespace

String TVodStringGrid::UnSortedCells(Integer c, Integer r)
{
    if (c < 0 || r < 0) return String();
    const Integer u = UnsortedPosition(FSortRowXRef.get(), r);
    return u < 0 ? String() : GetCellEx(c, u);
}

void TVodStringGrid::SetUnSortedCells(Integer c, Integer r, const String& Value)
{
    if (c < 0 || r < 0) return;
    const Integer u = UnsortedPosition(FSortRowXRef.get(), r);
    if (u < 0) throw EVodGridError(L"Row " + IntToStr(r) + L" is not in the sorted grid");
    SetCellEx(c, u, Value);
}

String TVodStringGrid::OriginalCells(Integer c, Integer r)
{
    const Integer p = ColumnPosition(c);
    return GetCellEx(p == -1 ? c : p, r);
}

void TVodStringGrid::SetOriginalCells(Integer c, Integer r, const String& Value)
{
    const Integer p = ColumnPosition(c);
    SetCellEx(p == -1 ? c : p, r, Value);
}

String TVodStringGrid::StrippedCells(Integer c, Integer r)
{
    String s;
    StripMarkup(GetCellEx(c, r), s);
    return s;
}

Integer TVodStringGrid::LinesInCell(Integer c, Integer r) { return LineCount(GetCellEx(c, r), true); }

Integer TVodStringGrid::AllColWidths(Integer c) const
{
    if (IsHiddenColumn(c) && size_t(c) < FAllColWidths.size()) return FAllColWidths[size_t(c)];
    return ColWidths(DisplColIndex(c));
}

void TVodStringGrid::SetAllColWidths(Integer c, Integer Value)
{
    if (c < 0) return;
    if (FAllColWidths.size() <= size_t(c)) FAllColWidths.resize(size_t(c) + 1, DefaultColWidth());
    FAllColWidths[size_t(c)] = Value;
    if (!IsHiddenColumn(c)) SetColWidths(DisplColIndex(c), Value);
}

Integer TVodStringGrid::SortedRowIndex(Integer ARow) const
{
    if (ARow >= 0 && ARow < FSortRowXRef->Count()) return FSortRowXRef->GetInteger(ARow);
    return ARow;
}

Integer TVodStringGrid::UnSortedRowIndex(Integer ARow) const
{
    const Integer n = FSortRowXRef->Count();
    if (n == 0) return ARow;
    for (Integer i = 0; i < n; ++i)
        if (FSortRowXRef->GetInteger(i) == ARow) return i;
    return n;
}

// ---------------------------------------------------------------------------
// Per-cell looks

namespace {
Integer PixelsPerInch(TVodStringGrid* G)
{
    if (G->HandleAllocated())
        if (const int ppi = GetDeviceCaps(G->Canvas()->Handle(), LOGPIXELSY); ppi > 0) return ppi;
    return GdiScreenPixelsPerInch();
}
}  // namespace

void TVodStringGrid::RepaintLook(Integer c, Integer r, bool Always)
{
    if (Always || !IsUpdating()) RepaintCell(DisplColIndex(c), r);
}

TColor TVodStringGrid::Colors(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->BrushColor() : clNone;
}

void TVodStringGrid::SetColors(Integer c, Integer r, TColor Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetBrushColor(Value); });
}

TColor TVodStringGrid::ColorsTo(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->BrushColorTo() : clNone;
}

void TVodStringGrid::SetColorsTo(Integer c, Integer r, TColor Value)
{
    WriteLook(c, r, true, [&](TCellProperties& p) { p.SetBrushColorTo(Value); });
}

TCellGradientDirection TVodStringGrid::Gradients(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->GradientDirection() : GradientVertical;
}

void TVodStringGrid::SetGradients(Integer c, Integer r, TCellGradientDirection Value)
{
    WriteLook(c, r, true, [&](TCellProperties& p) { p.SetGradientDirection(Value); });
}

TColor TVodStringGrid::FontColors(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->FontColor() : clNone;
}

void TVodStringGrid::SetFontColors(Integer c, Integer r, TColor Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetFontColor(Value); });
}

TFontStyles TVodStringGrid::FontStyles(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->FontStyle() : TFontStyles();
}

void TVodStringGrid::SetFontStyles(Integer c, Integer r, TFontStyles Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetFontStyle(Value); });
}

Integer TVodStringGrid::FontSizes(Integer c, Integer r)
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    const Integer h = p ? p->FontSize() : Font()->Height();
    return MulDiv(-h, 72, PixelsPerInch(this));
}

void TVodStringGrid::SetFontSizes(Integer c, Integer r, Integer Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetFontSize(-MulDiv(Value, PixelsPerInch(this), 72)); });
}

String TVodStringGrid::FontNames(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->FontName() : const_cast<TVodStringGrid*>(this)->Font()->Name();
}

void TVodStringGrid::SetFontNames(Integer c, Integer r, const String& Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetFontName(Value); });
}

void TVodStringGrid::SetFonts(Integer c, Integer r, TFont* Value)
{
    if (!Value) return;
    WriteLook(c, r, false, [&](TCellProperties& p) {
        p.SetFontName(Value->Name());
        p.SetFontSize(Value->Height());
        p.SetFontStyle(Value->Style());
        p.SetFontColor(Value->Color());
    });
}

TAlignment TVodStringGrid::Alignments(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->Alignment() : taLeftJustify;
}

void TVodStringGrid::SetAlignments(Integer c, Integer r, TAlignment Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetAlignment(Value); });
}

bool TVodStringGrid::ReadOnly(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p && p->ReadOnly();
}

void TVodStringGrid::SetReadOnly(Integer c, Integer r, bool Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetReadOnly(Value); });
}

bool TVodStringGrid::WordWraps(Integer c, Integer r)
{
    TCellProperties* p = GetCellProperties(c, r);
    return p && p->WordWrap();
}

void TVodStringGrid::SetWordWraps(Integer c, Integer r, bool Value)
{
    WriteLook(c, r, false, [&](TCellProperties& p) { p.SetWordWrap(Value); });
}

TControl* TVodStringGrid::CellControls(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->Control() : nullptr;
}

void TVodStringGrid::SetCellControls(Integer c, Integer r, TControl* Value)
{
    if (c < 0 || r < 0) return;
    // The control list records cells by real row; looking the entry up the
    // same way keeps it found while rows are hidden.
    const Integer rr = RealRowIndex(r);
    if (!Value) {
        TCellProperties* p = CellPropertiesOf(c, r);
        if (!p || !p->Control()) return;
        if (FControlList) {
            const Integer i = FControlList->ControlIndex(c, rr);
            if (i >= 0) FControlList->RemoveControl(i);
        }
        if (FNumCellControls > 0) --FNumCellControls;
        p->SetControl(nullptr);
        return;
    }
    TCellProperties* p = GetCellProperties(c, r);
    if (!p) return;
    if (const Integer i = FControlList->ControlIndex(c, rr); i >= 0) FControlList->RemoveControl(i);
    if (!p->Control()) ++FNumCellControls;
    FControlList->AddControl(c, rr, Value);
    p->SetControl(Value);
    Value->SetParent(this);
    const TRect cr = CellRect(c, r);
    Value->SetBounds(cr.Left, cr.Top, cr.Right - cr.Left - 1, cr.Bottom - cr.Top - 1);
}

// ---------------------------------------------------------------------------
// Row looks

namespace {
// A cell whose block may go: no text, no user object, no graphic, not part
// of a merged area. (A graphic keeps the block: the block is its home.)
bool BlockHoldsNothing(TVodStringGrid* G, Integer c, Integer r, const TCellProperties* p)
{
    return G->GetGridCell(c, r).empty() && p->CellObject() == 0 && !p->GraphicObject() && !G->IsMergedCell(c, r);
}
}  // namespace

void TVodStringGrid::SetRowColor(Integer r, TColor Value)
{
    if (r < 0) return;
    for (Integer c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone) {
            GetCellProperties(c, r)->FBrushColor = Value;
            continue;
        }
        TCellProperties* p = CellPropertiesOf(c, r);
        if (!p) continue;
        if (BlockHoldsNothing(this, c, r, p))
            FreeCellProperties(c, r);
        else
            p->FBrushColor = clNone;
    }
    InvalidateRow(r);
}

void TVodStringGrid::SetRowColorTo(Integer r, TColor Value)
{
    if (r < 0) return;
    for (Integer c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone) {
            GetCellProperties(c, r)->FBrushColorTo = Value;
            continue;
        }
        TCellProperties* p = CellPropertiesOf(c, r);
        if (!p) continue;
        if (BlockHoldsNothing(this, c, r, p))
            FreeCellProperties(c, r);
        else
            p->FBrushColorTo = clNone;
    }
    InvalidateRow(r);
}

void TVodStringGrid::SetRowFontColor(Integer r, TColor Value)
{
    if (r < 0) return;
    for (Integer c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone) {
            GetCellProperties(c, r)->FFontColor = Value;
            continue;
        }
        TCellProperties* p = CellPropertiesOf(c, r);
        // Cells with a brush colour keep their font colour.
        if (!p || p->BrushColor() != clNone) continue;
        if (BlockHoldsNothing(this, c, r, p))
            FreeCellProperties(c, r);
        else
            p->FFontColor = clNone;
    }
    InvalidateRow(r);
}

// ---------------------------------------------------------------------------
// The current cell and small properties

String TVodStringGrid::CurrentCell()
{
    if (VirtualEdit) return GetCurrentCellText();
    const TPoint b = BaseCell(RealCol(), Row());
    return GetGridCell(b.X, b.Y);
}

void TVodStringGrid::SetCurrentCell(const String& Value)
{
    const TPoint b = BaseCell(RealCol(), Row());
    SetCellEx(b.X, b.Y, Value);
}

String TVodStringGrid::GetCurrentCellText()
{
    const TPoint b = BaseCell(RealCol(), Row());
    return GetCellEx(b.X, b.Y);
}

String TVodStringGrid::GetGridCellText(Integer c, Integer r) { return GetGridCell(c, r); }

void TVodStringGrid::SetEditorCellText(const String& Value)
{
    if (IsBaseCell(Col(), Row())) {
        SetEditText(Col(), Row(), Value);
        return;
    }
    const TPoint b = BaseCell(Col(), Row());
    SetEditText(b.X, b.Y, Value);
}

void TVodStringGrid::SetCursor(TCursor Value)
{
    TBaseGrid::SetCursor(Value);
    FOldCursor = Value;
}

void TVodStringGrid::SetCellChecker(TVodStringGridCheck* Value)
{
    FCellChecker = Value;
    if (Value) {
        Value->SetGrid(this);
        Value->FreeNotification(this);
    }
}

void TVodStringGrid::SetFormatType(TFormatType Value)
{
    if (FFormatType == Value) return;
    FFormatType = Value;
    Invalidate();
}

void TVodStringGrid::UpdateCellScrollBar(Integer ACol, Integer ARow)
{
    if (!HasAutoRangeScrollBar(ACol, ARow)) return;
    // The wrapped height of the cell text in the cell's width.
    const String s = GetCellEx(ACol, ARow);
    TRect r{0, 0, std::max(1, ColWidths(DisplColIndex(ACol))), 0};
    Integer textHeight = 0;
    if (HandleAllocated()) {
        TCanvas* cv = Canvas();
        cv->Font()->Assign(Font());
        textHeight = DrawText(cv->Handle(), s.c_str(), Integer(s.size()), &r,
                              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    }
    SetScrollProp(ACol, ARow, TScrollProp{RowHeights(ARow), textHeight});
}

// ---------------------------------------------------------------------------
// The sizing decision

void TVodStringGrid::CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& SizingPos,
                                     Integer& SizingOfs)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    if (State == gsColSizing) {
        Integer c = -1, r = -1;
        MouseToCell(X - 6, Y, c, r);
        if (c >= 0 && r >= 0 && r < FixedRows() && OnColumnSize) {
            bool allow = true;
            OnColumnSize(this, c, allow);
            if (!allow) {
                State = gsNormal;
                FFixedColSizeOffer = false;
            }
        }
    }
    if (State == gsRowSizing) {
        Integer c = -1, r = -1;
        MouseToCell(X, Y - 6, c, r);
        if (r >= 0 && c >= 0 && c < FixedCols() && OnRowSize) {
            bool allow = true;
            OnRowSize(this, r, allow);
            if (!allow) State = gsNormal;
        }
    }
}

// ---------------------------------------------------------------------------
// Rich text

void TVodStringGrid::CellToRich(Integer Col, Integer Row, TCustomRichEdit* Richeditor)
{
    if (!Richeditor) return;
    const String s = GetCellEx(Col, Row);
    if (s.empty()) {
        Richeditor->Lines()->Clear();
        return;
    }
    TStringStream ss(s);
    Richeditor->Lines()->LoadFromStream(&ss);
}

String TVodStringGrid::RichToString(TCustomRichEdit* Richeditor)
{
    if (!Richeditor || ComponentState().Contains(csDestroying)) return String();
    TStringStream ss;
    Richeditor->Lines()->SaveToStream(&ss);
    return ss.DataString();
}

void TVodStringGrid::RichToCell(Integer Col, Integer Row, TCustomRichEdit* Richeditor)
{
    SetCellEx(Col, Row, RichToString(Richeditor));
}

// ---------------------------------------------------------------------------
// Markup hints

void TVodStringGrid::SetUseHTMLHints(bool Value)
{
    FUseHTMLHints = Value;
    // The hint window class is the application's: the setting holds for
    // every control of the process.
    if (Value)
        Application->HintWindowClass = [](TComponent* o) -> THintWindow* { return new THTMLHintWindow(o); };
    else
        Application->HintWindowClass = [](TComponent* o) -> THintWindow* { return new THintWindow(o); };
}

void TVodStringGrid::SetIntegralHeight(bool v)
{
    FIntegralHeight = v;
    // The height snaps to whole rows when the bounds are applied.
    SetBounds(Left(), Top(), Width(), Height());
}
