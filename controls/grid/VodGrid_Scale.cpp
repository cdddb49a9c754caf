// Small members of the grid unit: how the grid follows form scaling and
// screen-density changes, reading a cell as a number, the toolbar popup's
// base and copying a cell graphic with its comment.
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

// ---------------------------------------------------------------------------
// Scaling

void TVodStringGrid::ChangeScale(Integer M, Integer D)
{
    // Column widths are the user's: they stay as they were.
    std::vector<Integer> widths(static_cast<size_t>(ColCount()));
    for (Integer c = 0; c < ColCount(); ++c) widths[size_t(c)] = ColWidths(c);
    TBaseGrid::ChangeScale(M, D);
    for (Integer c = 0; c < ColCount() && c < Integer(widths.size()); ++c) SetColWidths(c, widths[size_t(c)]);
    if (D == 0) return;
    if (FixedRows() > 0) SetRowHeights(0, MulDiv(FixedRowHeight(), M, D));
    if (!ComponentState().Contains(csDesigning) && M != D) {
        FixedFont()->SetHeight(MulDiv(FixedFont()->Height(), M, D));
        ActiveCellFont()->SetSize(MulDiv(ActiveCellFont()->Size(), M, D));
    }
}

void TVodStringGrid::ChangeScale(Integer M, Integer D, bool)
{
    TBaseGrid::ChangeScale(M, D);
    if (D == 0) return;
    if (!ComponentState().Contains(csDesigning) && M != D) {
        FixedFont()->SetHeight(MulDiv(FixedFont()->Height(), M, D));
        ActiveCellFont()->SetSize(MulDiv(ActiveCellFont()->Size(), M, D));
    }
}

// ---------------------------------------------------------------------------
// Cell numbers

double TVodStringGrid::CellToReal(Integer ACol, Integer ARow)
{
    const String s = GetCellEx(ACol, ARow);
    if (s.empty()) return 0;
    Extended v = 0;
    Integer code = 0;
    Val(ExtractNumberText(s), v, code);
    if (code != 0)
        throw EVodGridError(L"Error at position: " + IntToStr(code) + L" in Cell [" + IntToStr(ACol) + L", " +
                            IntToStr(ARow) + L"].");
    return double(v);
}

// ---------------------------------------------------------------------------
// Toolbar popup

void TVodGridPopup::Show(TPoint) { FVisible = true; }

void TVodGridPopup::Hide() { FVisible = false; }

bool TVodGridPopup::MouseInPopup()
{
    TWinControl* w = FVisible ? PopupWindow() : nullptr;
    if (!w || !w->Visible()) return false;
    const TPoint p = w->ScreenToClient(Mouse->CursorPos());
    return p.X >= 0 && p.Y >= 0 && p.X < w->Width() && p.Y < w->Height();
}

// ---------------------------------------------------------------------------
// Cell graphics

void TCellGraphic::Assign(TPersistent* Source)
{
    TBaseCellGraphic::Assign(Source);
    if (auto* g = dynamic_cast<TCellGraphic*>(Source)) {
        FCommentColor = g->FCommentColor;
        FCellComment = g->FCellComment;
    }
}
