// The per-cell conversions every file and clipboard writer and reader goes
// through (SaveCell, LoadCell, ExportCell, GetCellContent), the export and
// import progress hooks, and the small hooks beside them.
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/RichEdit.h"

namespace {

std::string NarrowBytes(const String& s)
{
    std::string r;
    r.reserve(s.size());
    for (Char c : s) r += char(c < 0x100 ? c : '?');
    return r;
}

}  // namespace

void TVodStringGrid::SaveCell(Integer ACol, Integer ARow, String& Value)
{
    Value = SaveVirtCells() ? GetFormattedCell(ACol, ARow) : GetCellEx(ACol, ARow);
    if (!SaveMergedCells() && IsMergedNonBaseCell(ACol, ARow)) Value.clear();
    if (Value.empty()) {
        const TCellType t = GetCellType(ACol, ARow);
        if (t == ctCheckBox) {
            if (IsChecked(ACol, ARow))
                GetCheckTrue(ACol, ARow, Value);
            else
                GetCheckFalse(ACol, ARow, Value);
        } else if (t == ctTriStateCheckBox) {
            const TCellGraphic* g = GetCellGraphic(ACol, ARow);
            if (g && g->CellCheckBoxState() == cbChecked)
                GetCheckTrue(ACol, ARow, Value);
            else
                GetCheckFalse(ACol, ARow, Value);
        }
    }
    switch (DetectTextMarkup(Value, true)) {
    case tkMarkup:
        if (!SaveWithHTML()) {
            String plain;
            StripMarkup(Value, plain);
            Value = plain;
        }
        break;
    case tkRichText:
        if (SaveWithRTF()) {
            String r;
            r.reserve(Value.size());
            for (Char c : Value)
                if (c != L'\r' && c != L'\n') r += c;
            Value = r;
        } else {
            TRichDocument d;
            ReadRtf(NarrowBytes(Value), d);
            Value = d.Text();
        }
        break;
    default: break;
    }
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}

void TVodStringGrid::LoadCell(Integer ACol, Integer ARow, const String& Value)
{
    if (!OnLoadCell) {
        SetGridCell(ACol, ARow, Value);
        return;
    }
    String v = Value;
    OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

void TVodStringGrid::ExportCell(Integer ACol, Integer ARow, String& Value) { Value = GetCellEx(ACol, ARow); }

String TVodStringGrid::GetCellContent(Integer ACol, Integer ARow) { return GetCellEx(ACol, ARow); }

void TVodStringGrid::ExportNotification(TGridExportState, Integer) {}
void TVodStringGrid::ImportNotification(TGridImportState, Integer) {}

void TVodStringGrid::SelectionChanged(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
{
    if (Look() == glVista || Look() == glWin7 || Look() == glOffice2007) Invalidate();
    FSelectionChangedFlag = true;
    FPrevSelection = Selection();
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TVodStringGrid::InsertRowFromKey(Integer ARow)
{
    // With outline nodes a child row goes under the row's parent node; the
    // outline family brings nodes, until then every row is a normal row.
    InsertRows(ARow, 1);
}

void TVodStringGrid::DeleteRowFromKey(Integer ARow)
{
    // (Outline nodes: the outline family removes child rows; until it lands
    // the grid has none.)
    if (RowCount() - FixedRows() - FixedFooters() != 1 || FixedRowAlways())
        DeleteGridRow(ARow, 1);
    else
        ClearRows(ARow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TVodStringGrid::ShowFixedInplaceEdit(Integer ACol, Integer ARow)
{
    if (!IsFixed(ACol, ARow)) throw Exception(L"Cannot start fixed inplace editor in non-fixed cell");
    StartFixedCellEdit(ACol, ARow, false);
}

void TVodStringGrid::HideFixedInplaceEdit()
{
    if (CanFocus()) SetFocus();
}
