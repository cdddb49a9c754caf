// Three cell graphics with state of their own: the balloon (a titled text
// with an icon shown for the cell, either as its own graphic or as a mark on
// an icon, check box or radio button), the radio group (several options in
// one cell, one of them selected) and the expand button (a small button that
// switches its row between two heights).
#include "controls/grid/VodGrid.h"

namespace {

// The kinds that can carry a balloon beside their own content; the mark is
// CellAngle 1 and the balloon's list sits in the object slot.
constexpr TCellTypes kBalloonCarriers{ctIcon, ctCheckBox, ctDataCheckBox, ctRadioButton};

TCellGraphic* GraphicOf(TVodStringGrid* G, Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    return dynamic_cast<TCellGraphic*>(G->GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic* BaseGraphicOf(TVodStringGrid* G, Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    const TPoint b = G->BaseCell(ACol, ARow);
    return GraphicOf(G, b.X, b.Y);
}

TCellGraphic* BaseGraphicOfKind(TVodStringGrid* G, Integer ACol, Integer ARow, TCellType Kind)
{
    TCellGraphic* g = BaseGraphicOf(G, ACol, ARow);
    return g && g->CellType() == Kind ? g : nullptr;
}

// A carrier marked with a balloon whose list is there (a radio button of the
// column group has the mark's value without a balloon).
bool CarriesBalloon(const TCellGraphic* g)
{
    return g && kBalloonCarriers.Contains(g->CellType()) && g->CellAngle() == 1 && g->CellBitmap();
}

}  // namespace

// ---------------------------------------------------------------------------
// Balloons

void TVodStringGrid::AddBalloon(Integer ACol, Integer ARow, const String& Title, const String& Text, TBalloonIcon Icon)
{
    if (ACol < 0 || ARow < 0) return;
    TCellGraphic* g = GraphicOf(this, ACol, ARow);
    if (g && kBalloonCarriers.Contains(g->CellType())) {
        // A balloon added again replaces the one the graphic carried.
        if (CarriesBalloon(g)) delete g->CellBitmap();
        g->SetCellAngle(1);
    } else if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        if (!g) return;
        g->SetCellType(ctBalloon);
        g->SetCellAngle(0);
    } else {
        return;
    }
    auto* list = new TStringList;
    list->Add(Title);
    list->Add(Text);
    g->SetCellIndex(Icon);
    g->SetCellBitmap(list);
}

void TVodStringGrid::RemoveBalloon(Integer ACol, Integer ARow)
{
    TCellGraphic* g = GraphicOf(this, ACol, ARow);
    if (!g) return;
    if (kBalloonCarriers.Contains(g->CellType())) {
        if (g->CellAngle() != 1) return;
        delete g->CellBitmap();
        g->SetCellBitmap(nullptr);
        g->SetCellAngle(0);
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

bool TVodStringGrid::HasBalloon(Integer ACol, Integer ARow) { return BaseGraphicOfKind(this, ACol, ARow, ctBalloon) != nullptr; }

bool TVodStringGrid::IsBalloon(Integer ACol, Integer ARow, String& Title, String& Text, Integer& Icon)
{
    const TCellGraphic* g = BaseGraphicOf(this, ACol, ARow);
    if (!g || !(g->CellType() == ctBalloon || CarriesBalloon(g))) return false;
    if (auto* list = dynamic_cast<TStrings*>(g->CellBitmap())) {
        Title = list->Count() > 0 ? list->Strings(0) : String();
        Text = list->Count() > 1 ? list->Strings(1) : String();
        Icon = g->CellIndex();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Radio groups

void TVodStringGrid::AddRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio, TStrings* sl)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctRadio);
    g->SetCellBitmap(sl);
    g->SetCellCreated(false);
    g->SetCellIndex(IdxRadio);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellAngle(sl ? sl->Count() : 0);
}

TStrings* TVodStringGrid::CreateRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* sl = new TStringList;
    g->SetCellType(ctRadio);
    g->SetCellBitmap(sl);
    g->SetCellCreated(true);
    g->SetCellIndex(IdxRadio);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellAngle(0);
    return sl;
}

bool TVodStringGrid::GetRadioIdx(Integer ACol, Integer ARow, Integer& IdxRadio)
{
    const TCellGraphic* g = BaseGraphicOf(this, ACol, ARow);
    if (!g) return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

bool TVodStringGrid::SetRadioIdx(Integer ACol, Integer ARow, Integer IdxRadio)
{
    // Only a radio group takes the index: in other graphics the field holds
    // a node's span, an icon or a padding.
    TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctRadio);
    if (!g) return false;
    const TPoint b = BaseCell(ACol, ARow);
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1) SetCellEx(b.X, b.Y, String());
    RepaintCell(DisplColIndex(b.X), b.Y);
    return true;
}

TStrings* TVodStringGrid::GetRadioStrings(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctRadio);
    return g ? dynamic_cast<TStrings*>(g->CellBitmap()) : nullptr;
}

bool TVodStringGrid::IsRadio(Integer ACol, Integer ARow) { return BaseGraphicOfKind(this, ACol, ARow, ctRadio) != nullptr; }

void TVodStringGrid::RemoveRadio(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }

bool TVodStringGrid::ClickRadioCell(Integer ACol, Integer ARow, bool FromUser)
{
    TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctRadio);
    if (!g) return false;
    if (FromUser && !FControlLook->RadioAlwaysActive() && !IsCellEditable(ACol, ARow)) return false;
    auto* options = dynamic_cast<TStrings*>(g->CellBitmap());
    // A group without options has nothing to select.
    if (!options || options->Count() == 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    Integer next = g->CellIndex() >= 0 ? g->CellIndex() + 1 : options->IndexOf(GetGridCell(b.X, b.Y)) + 1;
    if (next >= options->Count()) next = 0;
    if (g->CellIndex() >= -1) g->SetCellIndex(next);
    g->SetCellVar(Variant(next));
    SetCellEx(b.X, b.Y, options->Strings(next));
    RepaintCell(DisplColIndex(b.X), b.Y);
    return true;
}

// ---------------------------------------------------------------------------
// Expand buttons

void TVodStringGrid::AddExpand(Integer ACol, Integer ARow, Integer ExpandedHeight)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellVar(Variant(false));
    g->SetCellIndex(ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight());
}

void TVodStringGrid::RemoveExpand(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctExpand); }

bool TVodStringGrid::HasExpand(Integer ACol, Integer ARow) { return BaseGraphicOfKind(this, ACol, ARow, ctExpand) != nullptr; }

namespace {
bool ExpandStateOf(const TCellGraphic* g)
{
    const Variant& v = g->CellVar();
    return v.VarType() == varBoolean && v.AsBoolean();
}
}  // namespace

bool TVodStringGrid::ToggleExpand(Integer ACol, Integer ARow)
{
    TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctExpand);
    if (!g) return false;
    const bool state = !ExpandStateOf(g);
    g->SetCellVar(Variant(state));
    return state;
}

bool TVodStringGrid::GetExpandState(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctExpand);
    return g && ExpandStateOf(g);
}

Integer TVodStringGrid::GetExpandHeight(Integer ACol, Integer ARow, bool Expanded)
{
    // Other graphics keep other values in these fields: their rows take the
    // default height.
    const TCellGraphic* g = BaseGraphicOfKind(this, ACol, ARow, ctExpand);
    if (!g) return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

TRect TVodStringGrid::GetExpandButtonRect(Integer ACol, Integer ARow)
{
    if (!BaseGraphicOfKind(this, ACol, ARow, ctExpand)) return TRect{0, 0, 0, 0};
    const TRect R = CellRect(DisplColIndex(ACol), ARow);
    return TRect{R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13};
}
