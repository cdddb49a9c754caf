// Check boxes and radio buttons in cells. The five check-box kinds keep their
// state in different places: in the graphic (ctCheckBox), in the cell text
// compared with the check-true text (ctDataCheckBox, ctVirtCheckBox), in the
// row selection (ctRowCheckBox, column 0) or as a three-state value
// (ctTriStateCheckBox). Radio buttons belong to the run of adjacent radio
// buttons along their column or row.
//
// A contracted outline or a filter keeps rows in the hidden-row store; the
// state operations reach them there, so that a group's check boxes can be
// read and set whether their rows are shown or not.
#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

constexpr TCellTypes kCheckBoxKinds{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};
constexpr TCellTypes kDataCheckBoxKinds{ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox};
constexpr TCellTypes kDataCellKinds{ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox};

TCellVAlign GraphicVAlign(TVAlignment v)
{
    switch (v) {
    case vtaCenter: return vaCenter;
    case vtaBottom: return vaBottom;
    default: return vaTop;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Finding the cell of a state operation

TCellType TVodStringGrid::BaseCellType(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return ctEmpty;
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y);
}

TVodStringGrid::TCheckCell TVodStringGrid::FindCheckCell(Integer ACol, Integer ARow)
{
    TCheckCell c;
    if (ACol < 0 || ARow < 0) return c;
    c.Real = ARow;
    c.Col = ACol;
    if (NumHiddenRows() > 0) {
        if (TGridItem* item = HiddenRowItem(ARow)) {
            c.Hidden = true;
            if (ACol == 0 && MouseActions()->HotmailRowSelect()) {
                c.Kind = ctRowCheckBox;
                return c;
            }
            if (ACol < item->Row()->Count())
                if (auto* p = dynamic_cast<TCellProperties*>(item->Row()->Objects(ACol)))
                    c.G = dynamic_cast<TCellGraphic*>(p->FGraphicObject);
            c.Kind = c.G ? c.G->CellType() : ctEmpty;
            return c;
        }
    }
    const Integer d = NumHiddenRows() > 0 ? DisplRowIndex(ARow) : ARow;
    const TPoint b = BaseCell(ACol, d);
    c.Col = b.X;
    c.Row = b.Y;
    c.G = GetCellGraphic(b.X, b.Y);
    c.Kind = GetCellType(b.X, b.Y);
    return c;
}

String TVodStringGrid::CheckCellText(const TCheckCell& C)
{
    return C.Hidden ? AllCells(C.Col, C.Real) : GetGridCell(C.Col, C.Row);
}

void TVodStringGrid::SetCheckCellText(const TCheckCell& C, const String& Value)
{
    if (C.Hidden)
        SetAllCells(C.Col, C.Real, Value);
    else
        SetCellEx(C.Col, C.Row, Value);
}

void TVodStringGrid::RepaintCheckCell(const TCheckCell& C)
{
    if (!C.Hidden && C.Row >= 0) RepaintCell(DisplColIndex(C.Col), C.Row);
}

// ---------------------------------------------------------------------------
// Adding and removing

void TVodStringGrid::AddCheckGraphic(Integer ACol, Integer ARow, TCellType Kind, bool State, Integer Angle)
{
    // Negative coordinates are refused as the upper bounds are.
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= TotalRowCount())
        throw EVodGridError(L"Invalid cell");
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(Kind);
    g->SetCellBoolean(State);
    g->SetCellAngle(Angle);
    g->SetCellTransparent(true);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(GraphicVAlign(FVAlignment));
}

void TVodStringGrid::AddCheckBox(Integer ACol, Integer ARow, bool State, bool Data)
{
    AddCheckGraphic(ACol, ARow, Data ? ctDataCheckBox : ctCheckBox, State, 0);
    if (!Data) return;
    String t, f;
    GetCheckTrue(ACol, ARow, t);
    GetCheckFalse(ACol, ARow, f);
    // A cell already holding one of the two texts keeps it.
    const String s = GetGridCell(ACol, ARow);
    if (s != t && s != f) SetCellEx(ACol, ARow, State ? t : f);
}

void TVodStringGrid::AddCheckBox(Integer ACol, Integer ARow, TCheckBoxState State)
{
    AddCheckGraphic(ACol, ARow, ctTriStateCheckBox, false, 0);
    if (TCellGraphic* g = GetCellGraphic(ACol, ARow)) g->SetCellCheckBoxState(State);
}

void TVodStringGrid::AddCheckBoxColumn(Integer ACol, bool DefaultState, bool DataCheckBox)
{
    const Integer first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r <= RowCount() - FFixedFooters - 1; ++r) {
        if (IsSummary(r)) continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, BoolToCheckBoxState(DefaultState));
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TVodStringGrid::AddTriStateCheckBoxColumn(Integer ACol, TCheckBoxState State)
{
    const Integer first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void TVodStringGrid::RemoveCheckBox(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (!g) return;
    // A balloon's list goes with the graphic that carries it.
    if (g->CellType() == ctCheckBox || g->CellType() == ctDataCheckBox || g->CellType() == ctTriStateCheckBox)
        RemoveCellGraphic(ACol, ARow);
}

void TVodStringGrid::RemoveCheckBoxColumn(Integer ACol)
{
    const Integer first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r < RowCount(); ++r)
        if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

void TVodStringGrid::AddRadioButton(Integer ACol, Integer ARow, bool State)
{
    AddCheckGraphic(ACol, ARow, ctRadioButton, State, rgCol);
}

void TVodStringGrid::AddRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group, bool State)
{
    AddCheckGraphic(ACol, ARow, ctRadioButton, State, Group);
}

void TVodStringGrid::AddRadioButtonColumn(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r) AddRadioButtonGroup(ACol, r, rgCol, false);
}

void TVodStringGrid::AddRadioButtonGroupColumn(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r) AddRadioButtonGroup(ACol, r, rgRow, false);
}

void TVodStringGrid::RemoveRadioButton(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadioButton); }

void TVodStringGrid::RemoveRadioButtonColumn(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r)) RemoveRadioButton(ACol, r);
}

// ---------------------------------------------------------------------------
// Queries

bool TVodStringGrid::HasCheckBox(Integer ACol, Integer ARow) { return kCheckBoxKinds.Contains(BaseCellType(ACol, ARow)); }
bool TVodStringGrid::CellHasCheckBox(Integer ACol, Integer ARow) { return HasCheckBox(ACol, ARow); }

bool TVodStringGrid::HasDataCheckBox(Integer ACol, Integer ARow)
{
    return kDataCheckBoxKinds.Contains(BaseCellType(ACol, ARow));
}

bool TVodStringGrid::IsDataCheckBoxColumn(Integer ACol)
{
    const Integer r = FixedRows();
    return r + 1 < RowCount() && HasDataCheckBox(ACol, r) && HasDataCheckBox(ACol, r + 1);
}

bool TVodStringGrid::IsDataCell(Integer ACol, Integer ARow) { return kDataCellKinds.Contains(BaseCellType(ACol, ARow)); }

bool TVodStringGrid::IsClickControlCell(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TCellType k = BaseCellType(ACol, ARow);
    if (kCheckBoxKinds.Contains(k) || k == ctRadio || k == ctRadioButton) return true;
    return (k == ctButton || k == ctBitButton) && !Navigation()->AllowEditButtonCells();
}

bool TVodStringGrid::GetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState& State)
{
    const TCheckCell c = FindCheckCell(ACol, ARow);
    switch (c.Kind) {
    case ctCheckBox:
        if (!c.G) return false;
        State = BoolToCheckBoxState(c.G->CellBoolean());
        return true;
    case ctTriStateCheckBox:
        if (!c.G) return false;
        State = c.G->CellCheckBoxState();
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String t;
        GetCheckTrue(c.Col, c.Hidden ? c.Real : c.Row, t);
        State = BoolToCheckBoxState(CheckCellText(c) == t);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        State = BoolToCheckBoxState(RowSelect(c.Hidden ? c.Real : c.Row));
        return true;
    default: return false;
    }
}

bool TVodStringGrid::GetCheckBoxState(Integer ACol, Integer ARow, bool& State)
{
    TCheckBoxState s = cbUnchecked;
    if (!GetCheckBoxState(ACol, ARow, s)) return false;
    State = s == cbChecked;
    return true;
}

bool TVodStringGrid::IsChecked(Integer ACol, Integer ARow)
{
    bool b = false;
    return GetCheckBoxState(ACol, ARow, b) && b;
}

bool TVodStringGrid::HasRadioButton(Integer ACol, Integer ARow) { return BaseCellType(ACol, ARow) == ctRadioButton; }

bool TVodStringGrid::HasRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group)
{
    if (!HasRadioButton(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellAngle() == Integer(Group);
}

bool TVodStringGrid::IsRadioButtonChecked(Integer ACol, Integer ARow)
{
    if (!HasRadioButton(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellBoolean();
}

Integer TVodStringGrid::GetRadioButtonColumnIndex(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r)) return r;
    return -1;
}

// ---------------------------------------------------------------------------
// Changing state

bool TVodStringGrid::SetCheckBoxState(Integer ACol, Integer ARow, bool State)
{
    const TCheckCell c = FindCheckCell(ACol, ARow);
    switch (c.Kind) {
    case ctCheckBox:
        if (!c.G) return false;
        c.G->SetCellBoolean(State);
        RepaintCheckCell(c);
        return true;
    case ctTriStateCheckBox:
        if (!c.G) return false;
        c.G->SetCellCheckBoxState(BoolToCheckBoxState(State));
        RepaintCheckCell(c);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String v;
        if (State)
            GetCheckTrue(c.Col, c.Hidden ? c.Real : c.Row, v);
        else
            GetCheckFalse(c.Col, c.Hidden ? c.Real : c.Row, v);
        SetCheckCellText(c, v);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        SetRowSelect(c.Hidden ? c.Real : c.Row, State);
        RepaintCheckCell(c);
        return true;
    default: return false;
    }
}

bool TVodStringGrid::SetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState State)
{
    const TCheckCell c = FindCheckCell(ACol, ARow);
    if (c.Kind != ctTriStateCheckBox || !c.G) return false;
    c.G->SetCellCheckBoxState(State);
    RepaintCheckCell(c);
    return true;
}

void TVodStringGrid::SetCheckBoxFromText(Integer ACol, Integer ARow, const String& Value)
{
    String t;
    GetCheckTrue(ACol, ARow, t);
    // The undo component names the cell as the grid shows it.
    SetCheckBoxState(ACol, RealRowIndex(ARow), Value == t);
}

bool TVodStringGrid::SetCheckBoxStateNotify(Integer ACol, Integer ARow, bool Value)
{
    const TCheckCell c = FindCheckCell(ACol, ARow);
    switch (c.Kind) {
    case ctCheckBox:
        if (!c.G) return false;
        if (c.G->CellBoolean() != Value) {
            c.G->SetCellBoolean(Value);
            CheckBoxChange(ACol, ARow, Value);
            RepaintCheckCell(c);
        }
        return true;
    case ctTriStateCheckBox:
        if (c.G) {
            c.G->SetCellCheckBoxState(BoolToCheckBoxState(Value));
            RepaintCheckCell(c);
        }
        return false;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const Integer r = c.Hidden ? c.Real : c.Row;
        String t, f;
        GetCheckTrue(c.Col, r, t);
        GetCheckFalse(c.Col, r, f);
        const bool was = CheckCellText(c) == t;
        SetCheckCellText(c, Value ? t : f);
        if (was != Value) CheckBoxChange(ACol, ARow, Value);
        return true;
    }
    case ctRowCheckBox: {
        if (ACol != 0) return false;
        const Integer r = c.Hidden ? c.Real : c.Row;
        if (RowSelect(r) != Value) {
            SetRowSelect(r, Value);
            RepaintCheckCell(c);
            CheckBoxChange(ACol, ARow, Value);
        }
        return true;
    }
    default: return false;
    }
}

void TVodStringGrid::CheckAll(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r) SetCheckBoxStateNotify(ACol, RealRowIndex(r), true);
    if (NumHiddenColumns() > 0) Invalidate();
}

void TVodStringGrid::UnCheckAll(Integer ACol)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r) SetCheckBoxStateNotify(ACol, RealRowIndex(r), false);
}

bool TVodStringGrid::SetRadioButtonState(Integer ACol, Integer ARow, bool State)
{
    if (!HasRadioButton(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g) return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
    return true;
}

void TVodStringGrid::SetRadioButtonRowIndex(Integer ARow, Integer Index)
{
    for (Integer c = FixedCols(); c < ColCount(); ++c) SetRadioButtonState(c, ARow, c == Index);
}

void TVodStringGrid::SetRadioButtonColumnIndex(Integer ACol, Integer Index)
{
    for (Integer r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

// ---------------------------------------------------------------------------
// Toggles

bool TVodStringGrid::ToggleCellCheckBox(Integer ACol, Integer ARow, bool FromUser)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g) return false;
    bool allow = true;
    if (OnCheckBoxCanToggle) OnCheckBoxCanToggle(this, ACol, ARow, g->CellBoolean(), allow);
    if (!allow) return false;
    const TCellType kind = GetCellType(b.X, b.Y);
    // Only check boxes toggle; any other graphic is left alone and reported
    // as not toggled.
    if (!kCheckBoxKinds.Contains(kind)) return false;

    // The group around the row, noted before the toggle.
    bool grouped = false, nodeRow = false;
    Integer span = 0, parent = -1, parentSpan = 0;
    if (FGrouping->AutoCheckGroup() && FGroupColumn != -1 && ARow >= FixedRows()) {
        grouped = true;
        nodeRow = IsNode(ARow);
        if (nodeRow) {
            span = NodeSpanRows(ARow);
        } else {
            parent = GetParentRow(ARow);
            if (parent != -1) parentSpan = NodeSpanRows(parent);
        }
    }

    if (FromUser && !FControlLook->CheckAlwaysActive() && !IsCellEditable(ACol, ARow)) return false;

    String t, f;
    GetCheckTrue(b.X, b.Y, t);
    GetCheckFalse(b.X, b.Y, f);
    bool oldState = false, newState = false;
    switch (kind) {
    case ctCheckBox:
        oldState = g->CellBoolean();
        newState = !oldState;
        g->SetCellBoolean(newState);
        break;
    case ctTriStateCheckBox: {
        const TCheckBoxState s = g->CellCheckBoxState();
        oldState = s == cbChecked;
        TCheckBoxState n = cbChecked;
        if (s == cbChecked)
            n = cbUnchecked;
        else if (s == cbUnchecked && !IsNode(ARow) && FNavigation->ToggleTriStateCheck() == tsAllStates)
            n = cbGrayed;
        g->SetCellCheckBoxState(n);
        newState = n == cbChecked;
        break;
    }
    case ctRowCheckBox:
        // Its state is the row's selection.
        oldState = RowSelect(b.Y);
        newState = !oldState;
        SetRowSelect(b.Y, newState);
        break;
    default: {
        oldState = GetGridCell(b.X, b.Y) == t;
        newState = !oldState;
        SetCellEx(b.X, b.Y, newState ? t : f);
        break;
    }
    }
    RepaintCell(DisplColIndex(b.X), b.Y);
    CheckBoxChange(ACol, ARow, newState);

    if (grouped) {
        if (nodeRow) {
            const Integer real = RealRowIndex(ARow);
            for (Integer k = 1; k < span; ++k) SetCheckBoxState(ACol, real + k, newState);
        } else if (parent != -1) {
            const Integer real = RealRowIndex(parent);
            bool anyChecked = false, anyOther = false;
            for (Integer k = 1; k < parentSpan; ++k) {
                TCheckBoxState s = cbUnchecked;
                if (!GetCheckBoxState(ACol, real + k, s)) continue;
                if (s == cbChecked)
                    anyChecked = true;
                else
                    anyOther = true;
                if (s == cbGrayed) anyChecked = true;
            }
            const TCheckBoxState ps = anyChecked && anyOther ? cbGrayed : anyChecked ? cbChecked : cbUnchecked;
            if (!SetCheckBoxState(ACol, real, ps)) SetCheckBoxState(ACol, real, ps == cbChecked);
        }
    }
    if (UndoRedo()) UndoRedo()->RegisterChange(ACol, ARow, oldState ? t : f, newState ? t : f);
    return true;
}

bool TVodStringGrid::ToggleCellRadio(Integer ACol, Integer ARow, bool FromUser)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton) return false;
    if (FromUser && !FControlLook->CheckAlwaysActive() && !IsCellEditable(ACol, ARow)) return false;
    if (!g->CellBoolean()) {
        g->SetCellBoolean(true);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
    // The run of radio buttons next to it, each way up to the first cell
    // without one.
    auto clear = [&](Integer c, Integer r) {
        TCellGraphic* o = GetCellGraphic(c, r);
        if (!o || o->CellType() != ctRadioButton) return false;
        if (o->CellBoolean()) {
            o->SetCellBoolean(false);
            RepaintCell(DisplColIndex(c), r);
        }
        return true;
    };
    if (g->CellAngle() == rgCol) {
        for (Integer r = b.Y + 1; r < RowCount() && clear(b.X, r); ++r) {
        }
        for (Integer r = b.Y - 1; r >= 0 && clear(b.X, r); --r) {
        }
    } else if (g->CellAngle() == rgRow) {
        for (Integer c = b.X + 1; c < TotalColCount() && clear(c, b.Y); ++c) {
        }
        for (Integer c = b.X - 1; c >= 0 && clear(c, b.Y); --c) {
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// The precise hit test

bool TVodStringGrid::IsInCheckBox(Integer ACol, Integer ARow, Integer XPos, Integer YPos)
{
    if (ACol < 0 || ARow < 0) return false;
    const TCellType kind = GetCellType(ACol, ARow);
    if (!kCheckBoxKinds.Contains(kind) && kind != ctRadioButton) return false;
    if (!MouseActions()->PreciseCheckBoxCheck()) return true;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    const Integer dc = DisplColIndex(ACol);
    const TRect R = CellRect(dc, ARow);
    const Integer S = FControlLook->CheckSize();
    const double D = FDPIScale;
    const Integer m = Integer(Round(2 * D)), s = Integer(Round(S * D));
    TVAlignment va = vtaTop;
    if (g && g->CellVAlign() == vaCenter) va = vtaCenter;
    if (g && g->CellVAlign() == vaBottom) va = vtaBottom;
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    TAlignment ha = p ? p->Alignment() : FDefaultAlignment;
    GetCellAlignment(ACol, ARow, ha, va);
    Integer top = R.Top + m;
    if (va == vtaCenter) top = R.Top + (R.Height() - S) / 2;
    if (va == vtaBottom) top = R.Bottom - m - S;
    Integer left = R.Left + m;
    if (ha == taRightJustify) {
        left = R.Right - m - s;
        const String text = GetCellEx(ACol, ARow);
        if (!text.empty()) {
            Canvas()->Font()->Assign(GetCellFont(ACol, ARow));
            left -= Canvas()->TextWidth(text);
        }
    } else if (ha == taCenter) {
        left = R.Left + (R.Width() - s) / 2;
    }
    return XPos >= left && XPos < left + s && YPos >= top && YPos < top + s;
}
