// The grid's statistics over the numbers of a column, a row, a rectangle or
// the selection (the footer and the group summaries use them), and the
// selection's own operations: selecting a rectangle, its text as a
// tab-separated block and whether a cell is selected.
#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/RichEdit.h"

// ---------------------------------------------------------------------------
// Column calculations

namespace {

// A row range of -1 stands for the normal rows above the fixed footers.
void ResolveRows(const TVodStringGrid& G, Integer& FromRow, Integer& ToRow)
{
    if (FromRow == -1 || ToRow == -1) {
        FromRow = G.FixedRows();
        ToRow = G.RowCount() - G.FixedFooters() - 1;
    }
}

// Walks the rows of a column calculation. A range that reaches the row
// count is read by real rows (hidden ones included); rows past the store are
// never read.
class TColumnWalk {
public:
    TColumnWalk(TVodStringGrid& G, Integer ACol, Integer FromRow, Integer ToRow)
        : FGrid(G), FCol(ACol), FFrom(FromRow), FTo(ToRow), FReal(ToRow >= G.RowCount())
    {
    }
    Integer From() const { return FFrom; }
    Integer To() const { return FTo; }
    bool RealRows() const { return FReal; }
    // Whether the row exists to be read at all.
    bool InStore(Integer r) const { return r >= 0 && r < (FReal ? FGrid.AllRowCount() : FGrid.RowCount()); }
    // Node and summary rows of a grouped grid do not count unless hidden;
    // cells covered by a merged cell never count.
    bool Counts(Integer r) const
    {
        if (!InStore(r)) return false;
        const Integer d = FReal ? FGrid.DisplRowIndex(r) : r;
        if (FGrid.GroupColumn() != -1 && !FGrid.IsHiddenRow(r) && (FGrid.IsNode(d) || FGrid.IsSummary(d))) return false;
        return FGrid.IsBaseCell(FCol, d);
    }
    // The value, or none when the cell does not read as a number.
    std::optional<double> Value(Integer r) const
    {
        try {
            return Read(r);
        } catch (const EVodGridError&) {
            return std::nullopt;
        }
    }
    // The value; a cell that is no number raises.
    double Read(Integer r) const { return FReal ? FGrid.GetAllFloats(FCol, r) : FGrid.GetFloats(FCol, r); }
    String Text(Integer r) const { return FReal ? FGrid.AllCells(FCol, r) : FGrid.GetCellEx(FCol, r); }

private:
    TVodStringGrid& FGrid;
    Integer FCol, FFrom, FTo;
    bool FReal;
};

}  // namespace

double TVodStringGrid::ColumnCount(Integer, Integer FromRow, Integer ToRow)
{
    if (FromRow != -1 && ToRow != -1) return double(ToRow - FromRow + 1);
    return double(RowCount() - FixedRows() - FFixedFooters);
}

double TVodStringGrid::ColumnSum(Integer ACol, Integer FromRow, Integer ToRow)
{
    ResolveRows(*this, FromRow, ToRow);
    const TColumnWalk w(*this, ACol, FromRow, ToRow);
    // Progress through ExportNotification comes with the cell save, load
    // and export hooks.
    double sum = 0;
    for (Integer r = FromRow; r <= ToRow; ++r)
        if (w.Counts(r))
            if (const auto v = w.Value(r)) sum += *v;
    return sum;
}

double TVodStringGrid::ColumnAvg(Integer ACol, Integer FromRow, Integer ToRow)
{
    // The range is resolved first so that the divisor is that of the rows
    // summed.
    ResolveRows(*this, FromRow, ToRow);
    if (ToRow < FromRow) return 0;
    return ColumnSum(ACol, FromRow, ToRow) / double(ToRow - FromRow + 1);
}

namespace {

// The smallest (Larger false) or largest counted value; 0 when none counts.
double ColumnExtreme(TVodStringGrid& G, Integer ACol, Integer FromRow, Integer ToRow, bool Larger)
{
    ResolveRows(G, FromRow, ToRow);
    const TColumnWalk w(G, ACol, FromRow, ToRow);
    std::optional<double> best;
    for (Integer r = FromRow; r <= ToRow; ++r) {
        if (!w.Counts(r)) continue;
        const auto v = w.Value(r);
        if (!v) continue;
        if (!best || (Larger ? *v > *best : *v < *best)) best = v;
    }
    return best.value_or(0.0);
}

}  // namespace

double TVodStringGrid::ColumnMin(Integer ACol, Integer FromRow, Integer ToRow)
{
    return ColumnExtreme(*this, ACol, FromRow, ToRow, false);
}

double TVodStringGrid::ColumnMax(Integer ACol, Integer FromRow, Integer ToRow)
{
    return ColumnExtreme(*this, ACol, FromRow, ToRow, true);
}

double TVodStringGrid::ColumnStdDev(Integer ACol, Integer FromRow, Integer ToRow)
{
    ResolveRows(*this, FromRow, ToRow);
    if (ToRow < FromRow) return 0;
    const double avg = ColumnAvg(ACol, FromRow, ToRow);
    const TColumnWalk w(*this, ACol, FromRow, ToRow);
    double s = 0;
    // Every row of the range enters; a word raises out of the operation.
    for (Integer r = FromRow; r <= ToRow; ++r) {
        if (!w.InStore(r)) continue;
        const double d = w.Read(r) - avg;
        s += d * d;
    }
    return std::sqrt(s / double(ToRow - FromRow + 1));
}

double TVodStringGrid::ColumnDistinct(Integer ACol, Integer FromRow, Integer ToRow)
{
    ResolveRows(*this, FromRow, ToRow);
    const TColumnWalk w(*this, ACol, FromRow, ToRow);
    TStringList seen;
    seen.SetCaseSensitive(false);
    seen.SetDuplicates(dupIgnore);
    seen.SetSorted(true);
    for (Integer r = FromRow; r <= ToRow; ++r)
        if (w.InStore(r)) seen.Add(w.Text(r));
    return double(seen.Count());
}

double TVodStringGrid::ColumnCustomCalc(Integer ACol, Integer FromRow, Integer ToRow)
{
    double res = 0;
    if (OnColumnCalc) OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TVodStringGrid::GroupCalcHandler(Integer ACol, Integer FromRow, Integer ToRow)
{
    double res = 0;
    if (OnGroupCalc) OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---------------------------------------------------------------------------
// Row calculations

namespace {

std::optional<double> RowValue(TVodStringGrid& G, Integer c, Integer ARow)
{
    if (!G.IsBaseCell(c, ARow)) return std::nullopt;
    try {
        return G.GetFloats(c, ARow);
    } catch (const EVodGridError&) {
        return std::nullopt;
    }
}

double RowExtreme(TVodStringGrid& G, Integer ARow, Integer fromCol, Integer toCol, bool Larger)
{
    std::optional<double> best;
    for (Integer c = fromCol; c <= toCol; ++c) {
        const auto v = RowValue(G, c, ARow);
        if (v && (!best || (Larger ? *v > *best : *v < *best))) best = v;
    }
    return best.value_or(0.0);
}

}  // namespace

double TVodStringGrid::RowSum(Integer ARow, Integer fromCol, Integer toCol)
{
    double sum = 0;
    for (Integer c = fromCol; c <= toCol; ++c)
        if (const auto v = RowValue(*this, c, ARow)) sum += *v;
    return sum;
}

double TVodStringGrid::RowAvg(Integer ARow, Integer fromCol, Integer toCol)
{
    if (toCol < fromCol) return 0;
    return RowSum(ARow, fromCol, toCol) / double(toCol - fromCol + 1);
}

double TVodStringGrid::RowMin(Integer ARow, Integer fromCol, Integer toCol)
{
    return RowExtreme(*this, ARow, fromCol, toCol, false);
}

double TVodStringGrid::RowMax(Integer ARow, Integer fromCol, Integer toCol)
{
    return RowExtreme(*this, ARow, fromCol, toCol, true);
}

// ---------------------------------------------------------------------------
// Rectangle calculations

double TVodStringGrid::RectCalc(TGridRect GR, TCalcType CalcType)
{
    if (GR.Left > GR.Right) std::swap(GR.Left, GR.Right);
    if (GR.Top > GR.Bottom) std::swap(GR.Top, GR.Bottom);
    double res = CalcType == ctMin || CalcType == ctMax ? GetAllFloats(GR.Left, GR.Top) : 0.0;
    Integer n = 0;
    for (Integer c = GR.Left; c <= GR.Right; ++c)
        for (Integer r = GR.Top; r <= GR.Bottom; ++r) {
            const double v = GetAllFloats(c, r);
            ++n;
            switch (CalcType) {
            case ctSum:
            case ctAvg: res += v; break;
            case ctMin: res = std::min(res, v); break;
            case ctMax: res = std::max(res, v); break;
            }
        }
    if (CalcType == ctAvg && n > 0) res /= double(n);
    return res;
}

// ---------------------------------------------------------------------------
// The selection

void TVodStringGrid::SelectCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow)
{
    if (MouseActions()->DisjunctCellSelect()) {
        FSelectedCells.clear();
        for (Integer c = std::min(FromCol, ToCol); c <= std::max(FromCol, ToCol); ++c)
            for (Integer r = std::min(FromRow, ToRow); r <= std::max(FromRow, ToRow); ++r) SetSelectedCells(c, r, true);
        Invalidate();
        return;
    }
    const bool single = FromCol == ToCol && FromRow == ToRow;
    const bool validCurrent = Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount();
    if (single && validCurrent && Col() != ColCount() - 1 && Row() != RowCount() - 1) {
        FocusCell(FromCol, FromRow, true);
        return;
    }
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

namespace {

// The plain text of a rich text cell.
String RichPlainText(const String& S)
{
    std::string bytes;
    bytes.reserve(S.size());
    for (Char c : S) bytes += char(c <= 0xFF ? c : L'?');
    TRichDocument doc;
    ReadRtf(bytes, doc);
    return doc.Text();
}

}  // namespace

String TVodStringGrid::SelectedText()
{
    TGridRect s = Selection();
    if (s.Left > s.Right) std::swap(s.Left, s.Right);
    if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
    Integer c0 = s.Left, c1 = s.Right;
    if (DragDropSettings()->OleEntireRows) {
        c0 = 0;
        c1 = ColCount() - 1;
    }
    if (FSaveHiddenCells) c1 += NumHiddenColumns();
    auto rowText = [&](Integer r) {
        String line;
        for (Integer c = c0; c <= c1; ++c) {
            String t = GetCellEx(FSaveHiddenCells ? c : RealColIndex(c), r);
            if (t.find(L"{\\") != String::npos) t = RichPlainText(t);
            if (FExcelClipboardFormat && LineCount(t, FMultilinecells) > 1) QuoteMultiLine(t);
            if (c > c0) line += L'\t';
            line += t;
        }
        return line;
    };
    String out;
    if (MouseActions()->DisjunctRowSelect()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r) {
            const Integer flag = MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r;
            if (flag >= 0 && flag < FRowSelect->Count() && FRowSelect->Items(flag)) out += rowText(r) + L"\r\n";
        }
        return out;
    }
    for (Integer r = s.Top; r <= s.Bottom; ++r) {
        if (r > s.Top) out += L"\r\n";
        out += rowText(r);
    }
    return out;
}

bool TVodStringGrid::IsSelected(Integer ACol, Integer ARow)
{
    // Fixed rows and columns, footer rows and right columns included.
    if (ACol < FixedCols() || ARow < FixedRows() || ARow >= RowCount() - FFixedFooters ||
        ACol >= ColCount() - FFixedRightCols)
        return false;
    if (MouseActions()->DisjunctCellSelect())
        return std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{ACol, ARow}) != FSelectedCells.end();
    if (MouseActions()->DisjunctRowSelect()) {
        const Integer r = MouseActions()->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
        return r >= 0 && r < FRowSelect->Count() && FRowSelect->Items(r);
    }
    if (MouseActions()->DisjunctColSelect()) return ACol < FColSelect->Count() && FColSelect->Items(ACol);
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}
