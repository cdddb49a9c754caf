// The look of one cell: brush, gradient colours, font, alignment, word wrap
// and gradient direction, from the cell's own block, bands, fixed colours,
// the header look, the filter-edit row, automatic number colours, the hooks,
// the selection modes and disabled rows; the cell's alignment; the writers
// of the selection and alignment settings.
#include <algorithm>
#include <cmath>

#include "controls/foundation/VodHintInfo.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/WindowManager.h"

namespace {

bool LeftButtonDown() { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

bool IsModernLook(TGridLook L)
{
    return L == glQel || L == glXP || L == glVista || L == glWin7 || L == glOffice2007 || L == glCustom;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colour mixing

TColor TVodStringGrid::BlendColors(TColor Color1, TColor Color2, Integer Percent)
{
    if (Percent >= 100) return Color1;
    if (Percent <= 0 || Color1 == clNone) return Color2;
    if (Color2 == clNone) return Color1;
    const Cardinal a = Cardinal(ColorToRGB(Color1)), b = Cardinal(ColorToRGB(Color2));
    const double p = Percent / 100.0;
    Cardinal out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double v = std::round(p * double((a >> shift) & 0xFF) + (1.0 - p) * double((b >> shift) & 0xFF));
        out |= Cardinal(std::min(255.0, v)) << shift;
    }
    return TColor(out);
}

TColor TVodStringGrid::MixSelectionColor(TColor Color1, TColor Color2, bool Mixer, Integer Percent)
{
    return Mixer ? BlendColors(Color1, Color2, Percent) : Color1;
}

TColor TVodStringGrid::SelectionBrushColor(TColor Brush) const
{
    if (Brush == Color()) return FSelectionColor;
    return MixSelectionColor(FSelectionColor, Brush, FSelectionColorMixer, FSelectionColorMixerFactor);
}

// ---------------------------------------------------------------------------
// The visual properties

void TVodStringGrid::GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print,
                                         bool Select, bool Remap, TBrush* ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont,
                                         TAlignment& HA, TVAlignment& VA, bool& WW, TCellGradientDirection& GD)
{
    const Integer RC = Remap ? RealColIndex(ACol) : ACol;
    const Integer fixedCols = FixedCols(), fixedRows = FixedRows();
    const bool fixedByIndex = ACol < fixedCols || ARow < fixedRows;

    // 1. Font.
    if (AFont) {
        TFont* f = fixedByIndex ? FFixedFont.get() : Font();
        if (Print && !FPrintSettings->UseDisplayFont())
            f = fixedByIndex ? FPrintSettings->FixedFont() : FPrintSettings->Font();
        AFont->Assign(f);
    }
    // 2. The row that row selection and enabled rows look at.
    const bool persistent = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent();
    const Integer selRow = (persistent || FUseEnabledRows) ? RealRowIndex(ARow) : ARow;

    // 3.
    TColor brush = clNone;
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    // 4. The cell's own block (read, never created: the block being made
    // asks for these defaults).
    bool ownColor = false;
    if (TCellProperties* p = CellPropertiesOf(RC, ARow)) {
        const TCellType t = GetCellType(RC, ARow);
        if (t == ctNone || t == ctRotated || t == ctEmpty) {
            if (p->BrushColor() != clNone) brush = p->BrushColor();
        } else {
            brush = p->BrushColor();
        }
        ownColor = p->BrushColor() != clNone;
        if (AFont) {
            if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
            if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
            if (!Print || FPrintSettings->UseDisplayFont()) {
                if (p->FontSize() != 0) AFont->SetHeight(p->FontSize());
                if (!p->FontName().empty()) AFont->SetName(p->FontName());
            }
        }
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    // 5.
    if (AState.Contains(gdSelected)) GD = GradientVertical;

    // 6. Defaults: the grid colour, bands over normal cells, the fixed
    // colour over fixed cells, right fixed columns and footer rows.
    const bool normalCell = ACol >= fixedCols && ACol < ColCount() + NumHiddenColumns() - FFixedRightCols &&
                            ARow >= fixedRows && ARow < RowCount() - FFixedFooters;
    if (brush == clNone) {
        brush = Color();
        if (FBands->Active() && (!Print || FBands->Print()) && normalCell && FBands->TotalLength() > 0) {
            brush = (ARow - fixedRows) % FBands->TotalLength() < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                                         : FBands->SecondaryColor();
        }
        if (fixedByIndex || ACol >= ColCount() - FFixedRightCols || ARow >= RowCount() - FFixedFooters)
            brush = FixedColor();
    }

    // 7. The fixed look.
    const bool isFixed = IsFixed(ACol, ARow) || fixedByIndex;
    if (isFixed && !Print && !ownColor) {
        brush = FixedColor();
        if (AFont) AFont->Assign(FFixedFont.get());
        AState.Include(gdFixed);
    }
    if (isFixed && !ownColor && IsModernLook(FLook)) {
        brush = FQelGradFrom;
        AColorTo = FQelGradTo;
        AMirrorColor = FQelGradMirrorFrom;
        AMirrorColorTo = FQelGradMirrorTo;
    }

    // 8. The filter-edit row.
    if (ARow == FFilterEdit->Row && HasFilterEdit(RC, ARow)) {
        brush = FFilterEdit->Color;
        AColorTo = AMirrorColor = AMirrorColorTo = FFilterEdit->Color;
    }

    // 9. Automatic colours of numbers.
    if (FAutoColor->HasColors()) {
        const String s = Trim(Cells(RC, ARow));
        const Byte kind = ClassifyValueText(s);
        if (kind == vcInteger || kind == vcFloat) {
            const String n = ExtractNumberText(s);
            const bool negative = !n.empty() && n[0] == L'-' && n.find_first_of(L"123456789") != String::npos;
            TColorSetting* set = negative ? FAutoColor->NegativeNumber() : FAutoColor->PositiveNumber();
            if (AFont && set->TextColor() != clNone) AFont->SetColor(set->TextColor());
            if (set->BkgColor() != clNone) brush = set->BkgColor();
        }
    }

    // 10. The hooks see the brush as it stands.
    ABrush->SetColor(brush);
    if (Print)
        GetCellPrintColor(RC, ARow, AState, ABrush, AFont);
    else
        GetCellColor(RC, ARow, AState, ABrush, AFont);

    // 11.
    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, RC, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }

    // 12.
    const TColor keptBrush = ABrush->Color();
    const TColor keptFont = AFont ? AFont->Color() : clNone;

    const bool selVisible = IsSelectionVisible();
    const bool down = LeftButtonDown();
    auto selectionLook = [&](bool Mixed) {
        ABrush->SetColor(Mixed ? SelectionBrushColor(ABrush->Color()) : FSelectionColor);
        AColorTo = FSelectionColorTo;
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (AFont && FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
    };

    // 13. Disjunct rows.
    if (normalCell && FMouseActions->DisjunctRowSelect() && !Print && Select && selVisible && !isFixed) {
        const bool rowSel = RowSelect(selRow);
        if (((down && ARow == Row()) || !rowSel) && (!down || rowSel || !AState.Contains(gdSelected))) {
            AState.Exclude(gdSelected);
        } else {
            AState = TGridDrawState{gdSelected};
            selectionLook(true);
        }
    }
    // 14. Disjunct columns.
    if (normalCell && FMouseActions->DisjunctColSelect() && !Print && Select && selVisible && !isFixed) {
        const bool colSel = ColSelect(RC);
        if (((!down || Col() != ACol) && colSel) || (down && !colSel && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            selectionLook(false);
        }
    }
    // 15. The ordinary selection.
    if ((Select && !Print && selVisible && !isFixed && AState.Contains(gdSelected) &&
         !FMouseActions->DisjunctRowSelect() && !FMouseActions->DisjunctColSelect()) ||
        (AState.Contains(gdSelected) && down && selVisible)) {
        selectionLook(true);
        AState.Include(gdSelected);
    }
    // 16. Disjunct cells.
    if (FMouseActions->DisjunctCellSelect() && selVisible) {
        if (SelectedCells(ACol, ARow)) {
            selectionLook(false);
            AState.Include(gdSelected);
        } else if (ACol == Col() && ARow == Row()) {
            AState.Exclude(gdSelected);
            ABrush->SetColor(keptBrush);
            if (AFont) AFont->SetColor(keptFont);
        }
    }
    // 17. Disabled text: of a disabled row, and of a disabled grid.
    if (FUseDisabledFont && AFont && ((FUseEnabledRows && !GetRowEnabled(selRow)) || !Enabled()))
        AFont->SetColor(FDisabledFontColor);

    // 18. Selected rows other than the current one, a shade darker.
    if (AState.Contains(gdSelected) && selVisible && !Print && ARow != Row() &&
        FMouseActions->DisjunctRowSelect() && FSelectionColorTo == clNone) {
        const Cardinal c = Cardinal(ColorToRGB(ABrush->Color()));
        Cardinal out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const Cardinal v = (c >> shift) & 0xFF;
            out |= (v - v * 10 / 100) << shift;
        }
        ABrush->SetColor(TColor(out));
    }

    // 19.
    GetCellWordWrap(RC, ARow, WW);
    CellAlignment(RC, ARow, HA, VA);
}

// ---------------------------------------------------------------------------
// Alignment

void TVodStringGrid::CellAlignment(Integer ACol, Integer ARow, TAlignment& HA, TVAlignment& VA)
{
    HA = DefaultAlignment();
    VA = FVAlignment;
    const String s = (ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount()) ? Cells(ACol, ARow)
                                                                                            : String();
    // A formula, plain or packed as wide text.
    const bool formula = !s.empty() && (s[0] == L'=' || (s.size() >= 4 && s[0] == L'|' && s[1] == L'\\' && s[3] == L'='));
    if (FAutoNumAlign && !s.empty()) {
        const String v = formula ? GetCellContent(ACol, ARow) : s;
        const Byte kind = ClassifyValueText(Trim(v));
        if (kind == vcInteger || kind == vcFloat || kind == vcScientific) HA = taRightJustify;
    } else if (!FAutoNumAlign && !(!s.empty() && s[0] == L'=')) {
        if (TCellProperties* p = CellPropertiesOf(ACol, ARow)) HA = p->Alignment();
    }
    GetCellAlignment(ACol, ARow, HA, VA);
}

// ---------------------------------------------------------------------------
// Writers

#define VEL_SET_REPAINT_FIELD(Field, Value) \
    do {                                    \
        if ((Field) == (Value)) return;     \
        (Field) = (Value);                  \
        Invalidate();                       \
    } while (0)

void TVodStringGrid::SetSelectionColor(TColor Value) { VEL_SET_REPAINT_FIELD(FSelectionColor, Value); }
void TVodStringGrid::SetSelectionColorTo(TColor Value) { VEL_SET_REPAINT_FIELD(FSelectionColorTo, Value); }
void TVodStringGrid::SetSelectionMirrorColor(TColor Value) { VEL_SET_REPAINT_FIELD(FSelectionMirrorColor, Value); }
void TVodStringGrid::SetSelectionMirrorColorTo(TColor Value)
{
    VEL_SET_REPAINT_FIELD(FSelectionMirrorColorTo, Value);
}
void TVodStringGrid::SetSelectionTextColor(TColor Value) { VEL_SET_REPAINT_FIELD(FSelectionTextColor, Value); }
void TVodStringGrid::SetSelectionColorMixer(bool Value) { VEL_SET_REPAINT_FIELD(FSelectionColorMixer, Value); }
void TVodStringGrid::SetSelectionColorMixerFactor(Integer Value)
{
    VEL_SET_REPAINT_FIELD(FSelectionColorMixerFactor, std::clamp(Value, 0, 100));
}
void TVodStringGrid::SetSelectionRectangle(bool Value) { VEL_SET_REPAINT_FIELD(FSelectionRectangle, Value); }
void TVodStringGrid::SetSelectionResizer(bool Value) { VEL_SET_REPAINT_FIELD(FSelectionResizer, Value); }

void TVodStringGrid::SetShowSelection(bool Value)
{
    if (FShowSelection == Value) return;
    FShowSelection = Value;
    FShowSel = Value;
    Invalidate();
}

void TVodStringGrid::SetVAlignment(TVAlignment Value)
{
    FVAlignFlag = Value == vtaCenter ? DT_VCENTER : Value == vtaBottom ? DT_BOTTOM : DT_TOP;
    if (FVAlignment == Value) return;
    FVAlignment = Value;
    if (!IsUpdating()) Invalidate();
}

void TVodStringGrid::SetFlat(bool Value)
{
    if (FFlat == Value) return;
    FFlat = Value;
    if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TVodStringGrid::SetAutoSize(bool Value)
{
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    // Switching on sizes every column to its texts with 10 pixels to spare.
    if (Value && !ComponentState().Contains(csLoading)) AutoSizeColumns(true, 10);
}

void TVodStringGrid::SetSizeWithForm(bool Value)
{
    FSizeWithFormOn = Value;
    if (Value) SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TVodStringGrid::SetSpreadSheet(bool Value)
{
    FSpreadSheet = Value;
    if (!Value) return;
    FSelectionRectangle = true;
    FSelectionResizer = true;
    FNavigation->SetAllowSmartClipboard(true);
    SetOptions(Options() + TGridOptions{goEditing, goRangeSelect});
    FMouseActions->SetRangeSelectAndEdit(true);
    Invalidate();
}

void TVodStringGrid::SetMaxEditLength(Integer Value)
{
    FMaxEditLength = Value;
    if (InplaceEditor()) InplaceEditor()->SetMaxLength(Value);
}

void TVodStringGrid::SetSortSettings(TSortSettings* Value)
{
    if (Value) FSortSettings->Assign(Value);
}

void TVodStringGrid::SetAutoColor(TAutoColor* Value)
{
    if (Value) FAutoColor->Assign(Value);
}

void TVodStringGrid::SetDragScrollOptions(TDragScrollOptions* Value)
{
    if (Value) FDragScrollOptions->Assign(Value);
}

void TVodStringGrid::SetOfficeHint(TVodHintInfo* Value)
{
    if (Value) FOfficeHint->Assign(Value);
}

void TVodStringGrid::SetSyncGrid(TSyncGrid* Value)
{
    if (Value) FSyncGrid->Assign(Value);
}
