// The grid's layout (axes with prefix sums over the overrides), counts,
// scrolling by whole lines with the 0..127 thumb, and the selection.
#include "platform/ui/Grids.h"

#include <algorithm>

#include "platform/ui/WindowManager.h"

// ---------------------------------------------------------------------------
// Thumb mapping

Integer GridThumbMap(Integer Value, bool ToThumb, Integer Count, Integer Visible, Integer Fixed)
{
    const Integer range = Count - Visible - Fixed;
    if (ToThumb) {
        if (range <= 0) return 0;
        Int64 t = (Int64(Value - Fixed) * kGridThumbMax * 2 + range) / (Int64(range) * 2);
        return Integer(std::clamp<Int64>(t, 0, kGridThumbMax));
    }
    if (range <= 0) return Fixed;
    Value = std::clamp(Value, 0, kGridThumbMax);
    Int64 l = (Int64(Value) * range * 2 + kGridThumbMax) / (Int64(kGridThumbMax) * 2);
    return Integer(l) + Fixed;
}

// ---------------------------------------------------------------------------
// TGridAxis

Integer TGridAxis::Extent(Integer Index) const
{
    auto it = FOverrides.find(Index);
    return it == FOverrides.end() ? DefaultExtent : it->second;
}

void TGridAxis::SetExtent(Integer Index, Integer Value)
{
    if (Index < 0) return;
    if (Value < 0) Value = 0;
    if (Value == DefaultExtent)
        FOverrides.erase(Index);
    else
        FOverrides[Index] = Value;
    FDirty = true;
}

void TGridAxis::Rebuild() const
{
    FPrefix.clear();
    FPrefix.reserve(FOverrides.size());
    Int64 delta = 0;
    for (auto [i, e] : FOverrides) {
        FPrefix.push_back({i, e, delta});
        delta += Int64(e) - DefaultExtent;
    }
    FDirty = false;
}

Int64 TGridAxis::Start(Integer Index) const
{
    if (FDirty) Rebuild();
    const Int64 step = Int64(DefaultExtent) + LineWidth;
    // Overrides before Index add their difference from the default.
    auto it = std::lower_bound(FPrefix.begin(), FPrefix.end(), Index,
                               [](const TPrefix& p, Integer i) { return p.Index < i; });
    Int64 delta = 0;
    if (it != FPrefix.begin()) {
        const TPrefix& p = *(it - 1);
        delta = p.DeltaBefore + Int64(p.Extent) - DefaultExtent;
    }
    return Int64(Index) * step + delta;
}

Integer TGridAxis::IndexAt(Int64 Pos) const
{
    if (Pos < 0) return -1;
    if (FDirty) Rebuild();
    const Int64 step = Int64(DefaultExtent) + LineWidth;
    // The last override starting at or before Pos.
    auto startOf = [&](const TPrefix& p) { return Int64(p.Index) * step + p.DeltaBefore; };
    auto it = std::upper_bound(FPrefix.begin(), FPrefix.end(), Pos,
                               [&](Int64 pos, const TPrefix& p) { return pos < startOf(p); });
    Int64 base = 0;
    Integer first = 0;
    if (it != FPrefix.begin()) {
        const TPrefix& p = *(it - 1);
        const Int64 s = startOf(p);
        const Int64 end = s + p.Extent + LineWidth;
        if (Pos < end) return p.Index;
        base = end;
        first = p.Index + 1;
    }
    if (step <= 0) {
        // Lines of no extent: the next override (or the end) holds Pos.
        return it != FPrefix.end() ? it->Index : std::max(first, Count);
    }
    Int64 i = first + (Pos - base) / step;
    return Integer(std::min<Int64>(i, INT32_MAX));
}

void TGridAxis::MoveExtent(Integer From, Integer To)
{
    if (From == To || FOverrides.empty()) return;
    std::map<Integer, Integer> moved;
    const Integer lo = std::min(From, To), hi = std::max(From, To);
    for (auto [i, e] : FOverrides) {
        Integer j = i;
        if (i == From)
            j = To;
        else if (i >= lo && i <= hi)
            j = From < To ? i - 1 : i + 1;
        moved[j] = e;
    }
    FOverrides.swap(moved);
    FDirty = true;
}

void TGridAxis::DeleteLines(Integer Index, Integer Count)
{
    if (Count <= 0 || FOverrides.empty()) return;
    std::map<Integer, Integer> moved;
    for (auto [i, e] : FOverrides) {
        if (i < Index)
            moved.emplace_hint(moved.end(), i, e);
        else if (i >= Index + Count)
            moved.emplace_hint(moved.end(), i - Count, e);
    }
    FOverrides.swap(moved);
    FDirty = true;
}

void TGridAxis::InsertLines(Integer Index, Integer Count)
{
    if (Count <= 0 || FOverrides.empty()) return;
    std::map<Integer, Integer> moved;
    for (auto [i, e] : FOverrides) moved.emplace_hint(moved.end(), i >= Index ? i + Count : i, e);
    FOverrides.swap(moved);
    FDirty = true;
}

void TGridAxis::DeleteLineList(const std::vector<Integer>& Sorted)
{
    if (Sorted.empty() || FOverrides.empty()) return;
    std::map<Integer, Integer> moved;
    for (auto [i, e] : FOverrides) {
        auto it = std::lower_bound(Sorted.begin(), Sorted.end(), i);
        if (it != Sorted.end() && *it == i) continue;
        moved.emplace_hint(moved.end(), i - Integer(it - Sorted.begin()), e);
    }
    FOverrides.swap(moved);
    FDirty = true;
}

void TGridAxis::InsertLineList(const std::vector<Integer>& Sorted)
{
    if (Sorted.empty() || FOverrides.empty()) return;
    std::map<Integer, Integer> moved;
    size_t j = 0;
    for (auto [i, e] : FOverrides) {
        // Line i becomes the i-th index (from 0) that is not in the list.
        while (j < Sorted.size() && Sorted[j] <= i + Integer(j)) ++j;
        moved.emplace_hint(moved.end(), i + Integer(j), e);
    }
    FOverrides.swap(moved);
    FDirty = true;
}

// ---------------------------------------------------------------------------
// TCustomGrid: construction and counts

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    FCols.Count = 5;
    FRows.Count = 5;
    FCols.DefaultExtent = 64;
    FRows.DefaultExtent = 24;
    FOptions = TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    FControlStyle.Include(csCaptureMouse);
    FControlStyle.Include(csClickEvents);
    FControlStyle.Include(csDoubleClicks);
    FControlStyle.Include(csOpaque);
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::ChangeCounts(Integer NewColCount, Integer NewRowCount)
{
    const Integer oldCols = FCols.Count, oldRows = FRows.Count;
    if (NewColCount == oldCols && NewRowCount == oldRows) return;
    if (FEditorMode) HideEditor();
    FCols.Count = NewColCount;
    FRows.Count = NewRowCount;
    if (FFixedCols > NewColCount) FFixedCols = NewColCount;
    if (FFixedRows > NewRowCount) FFixedRows = NewRowCount;
    auto clampLine = [](Integer v, Integer fixed, Integer count) {
        return std::max(fixed, std::min(v, count - 1));
    };
    FCurrent = {clampLine(FCurrent.X, FFixedCols, NewColCount), clampLine(FCurrent.Y, FFixedRows, NewRowCount)};
    FAnchor = {clampLine(FAnchor.X, FFixedCols, NewColCount), clampLine(FAnchor.Y, FFixedRows, NewRowCount)};
    if (FOptions.Contains(goRowSelect)) FAnchor.X = NewColCount - 1;
    FTopLeft = {clampLine(FTopLeft.X, FFixedCols, NewColCount), clampLine(FTopLeft.Y, FFixedRows, NewRowCount)};
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetColCount(Integer v)
{
    if (v < 1) v = 1;
    ChangeCounts(v, FRows.Count);
}

void TCustomGrid::SetRowCount(Integer v)
{
    if (v < 1) v = 1;
    ChangeCounts(FCols.Count, v);
}

void TCustomGrid::SetFixedCols(Integer v)
{
    if (v < 0) throw EInvalidGridOperation(L"Grid index out of range");
    if (v >= FCols.Count) throw EInvalidGridOperation(L"Fixed column count must be less than column count");
    FFixedCols = v;
    FCurrent.X = std::max(FCurrent.X, v);
    FAnchor.X = std::max(FAnchor.X, v);
    if (FTopLeft.X != v) FTopLeft.X = v;
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetFixedRows(Integer v)
{
    if (v < 0) throw EInvalidGridOperation(L"Grid index out of range");
    if (v >= FRows.Count) throw EInvalidGridOperation(L"Fixed row count must be less than row count");
    FFixedRows = v;
    FCurrent.Y = std::max(FCurrent.Y, v);
    FAnchor.Y = std::max(FAnchor.Y, v);
    if (FTopLeft.Y != v) FTopLeft.Y = v;
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::SetDefaultColWidth(Integer v)
{
    FCols.DefaultExtent = std::max(0, v);
    FCols.ResetExtents();
    ColWidthsChanged();
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(Integer v)
{
    FRows.DefaultExtent = std::max(0, v);
    FRows.ResetExtents();
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGrid::ChangeScale(Integer M, Integer D)
{
    TCustomControl::ChangeScale(M, D);
    if (M == D || D == 0) return;
    std::vector<Integer> widths(size_t(FCols.Count)), heights(size_t(FRows.Count));
    for (Integer i = 0; i < FCols.Count; ++i) widths[size_t(i)] = MulDiv(FCols.Extent(i), M, D);
    for (Integer i = 0; i < FRows.Count; ++i) heights[size_t(i)] = MulDiv(FRows.Extent(i), M, D);
    SetDefaultColWidth(MulDiv(DefaultColWidth(), M, D));
    SetDefaultRowHeight(MulDiv(DefaultRowHeight(), M, D));
    for (Integer i = 0; i < FCols.Count; ++i) SetColWidths(i, widths[size_t(i)]);
    for (Integer i = 0; i < FRows.Count; ++i) SetRowHeights(i, heights[size_t(i)]);
}

void TCustomGrid::SetColWidths(Integer Index, Integer v)
{
    if (Index < 0 || Index >= FCols.Count) throw EInvalidGridOperation(L"Grid index out of range");
    if (FCols.Extent(Index) == std::max(0, v)) return;
    FCols.SetExtent(Index, v);
    ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(Integer Index, Integer v)
{
    if (Index < 0 || Index >= FRows.Count) throw EInvalidGridOperation(L"Grid index out of range");
    if (FRows.Extent(Index) == std::max(0, v)) return;
    FRows.SetExtent(Index, v);
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(Integer v)
{
    v = std::max(0, v);
    if (v == FCols.LineWidth) return;
    FCols.LineWidth = FRows.LineWidth = v;
    ColWidthsChanged();
    RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    InvalidateGrid();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    InvalidateGrid();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetScrollBars(TScrollStyle v)
{
    if (v == FScrollBars) return;
    FScrollBars = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (v == FOptions) return;
    if (v.Contains(goRowSelect)) v.Exclude(goAlwaysShowEditor);
    FOptions = v;
    if (!v.Contains(goEditing) && FEditorMode) HideEditor();
    if (v.Contains(goRowSelect)) FAnchor.X = FCols.Count - 1;
    if (v.Contains(goAlwaysShowEditor) && v.Contains(goEditing) && HandleAllocated()) ShowEditor();
    InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool v)
{
    if (v == FDefaultDrawing) return;
    FDefaultDrawing = v;
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor v)
{
    if (v == FFixedColor) return;
    FFixedColor = v;
    InvalidateGrid();
}

void TCustomGrid::CreateParams(TCreateParams& P)
{
    TCustomControl::CreateParams(P);
    P.Style |= WS_TABSTOP;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) P.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) P.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
    if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing)) ShowEditor();
}

void TCustomGrid::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomGrid::Resize()
{
    TCustomControl::Resize();
    UpdateScrollRange();
    UpdateEdit();
}

// ---------------------------------------------------------------------------
// Geometry

Integer TCustomGrid::FixedExtent(bool Vertical) const
{
    const TGridAxis& a = Vertical ? FRows : FCols;
    const Integer fixed = Vertical ? FFixedRows : FFixedCols;
    return Integer(a.Start(std::min(fixed, a.Count)));
}

Int64 TCustomGrid::LinePos(bool Vertical, Integer Index) const
{
    const TGridAxis& a = Vertical ? FRows : FCols;
    const Integer fixed = Vertical ? FFixedRows : FFixedCols;
    if (Index < fixed) return a.Start(Index);
    const Integer first = Vertical ? FTopLeft.Y : FTopLeft.X;
    return FixedExtent(Vertical) + a.Start(Index) - a.Start(first);
}

Integer TCustomGrid::AxisCellAt(bool Vertical, Integer Pos)
{
    const TGridAxis& a = Vertical ? FRows : FCols;
    const Integer clientExtent = Vertical ? ClientHeight() : ClientWidth();
    if (Pos < 0 || Pos >= clientExtent) return -1;
    const Integer fixedExt = FixedExtent(Vertical);
    const Integer fixed = Vertical ? FFixedRows : FFixedCols;
    Integer i;
    if (Pos < fixedExt) {
        i = a.IndexAt(Pos);
        return i < fixed ? i : -1;
    }
    const Integer first = Vertical ? FTopLeft.Y : FTopLeft.X;
    i = a.IndexAt(Int64(Pos) - fixedExt + a.Start(first));
    return (i >= first && i < a.Count) ? i : -1;
}

TGridCoord TCustomGrid::MouseCoord(Integer X, Integer Y)
{
    TGridCoord c{AxisCellAt(false, X), AxisCellAt(true, Y)};
    if (c.X < 0 || c.Y < 0) return {-1, -1};
    return c;
}

void TCustomGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow)
{
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TRect TCustomGrid::BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
{
    const Integer w = ClientWidth(), h = ClientHeight();
    auto span = [&](bool vert, Integer lo, Integer hi, Integer& from, Integer& to) {
        const TGridAxis& a = vert ? FRows : FCols;
        const Integer fixed = vert ? FFixedRows : FFixedCols;
        const Integer first = vert ? FTopLeft.Y : FTopLeft.X;
        const Integer extent = vert ? h : w;
        if (lo < 0 || hi >= a.Count || lo > hi) return false;
        // Scrollable lines before the first shown one do not show.
        if (lo >= fixed && lo < first) lo = first;
        if (hi >= fixed && hi < first) hi = fixed - 1;
        if (lo > hi) return false;
        Int64 s = LinePos(vert, lo);
        Int64 e = LinePos(vert, hi) + a.Extent(hi);
        const Int64 clipLo = lo >= fixed ? FixedExtent(vert) : 0;
        s = std::max(s, clipLo);
        e = std::min<Int64>(e, extent);
        if (s >= e) return false;
        from = Integer(s);
        to = Integer(e);
        return true;
    };
    TRect r;
    if (!span(false, ALeft, ARight, r.Left, r.Right) || !span(true, ATop, ABottom, r.Top, r.Bottom)) return TRect{};
    return r;
}

TRect TCustomGrid::CellRect(Integer ACol, Integer ARow) { return BoxRect(ACol, ARow, ACol, ARow); }

// The first line from which the lines up to Last fit the scrollable area.
static Integer FirstShowing(const TGridAxis& a, Integer Fixed, Integer Last, Integer Avail)
{
    if (Last < Fixed) return Fixed;
    const Int64 end = a.Start(Last) + a.Extent(Last);
    const Int64 want = end - Avail;
    if (want <= a.Start(Fixed)) return Fixed;
    Integer j = a.IndexAt(want);
    if (a.Start(j) < want) ++j;
    return std::clamp(j, Fixed, Last);
}

Integer TCustomGrid::MaxTopLeft(bool Vertical)
{
    const TGridAxis& a = Vertical ? FRows : FCols;
    const Integer fixed = Vertical ? FFixedRows : FFixedCols;
    const Integer avail = (Vertical ? ClientHeight() : ClientWidth()) - FixedExtent(Vertical);
    if (a.Count <= fixed) return fixed;
    return FirstShowing(a, fixed, a.Count - 1, std::max(0, avail));
}

static Integer VisibleCount(const TGridAxis& a, Integer First, Int64 Avail)
{
    if (First >= a.Count) return 0;
    const Int64 q = a.Start(First) + Avail;
    Integer j = a.IndexAt(q);
    Integer last = (j >= 0 && j < a.Count && a.Start(j) + a.Extent(j) <= q) ? j : j - 1;
    last = std::min(last, a.Count - 1);
    return std::max(1, last - First + 1);
}

Integer TCustomGrid::VisibleColCount()
{
    return VisibleCount(FCols, FTopLeft.X, Int64(ClientWidth()) - FixedExtent(false));
}

Integer TCustomGrid::VisibleRowCount()
{
    return VisibleCount(FRows, FTopLeft.Y, Int64(ClientHeight()) - FixedExtent(true));
}

// ---------------------------------------------------------------------------
// Scrolling

Integer TCustomGrid::ThumbToLine(bool Vertical, Integer Thumb)
{
    return Vertical ? GridThumbMap(Thumb, false, FRows.Count, VisibleRowCount(), FFixedRows)
                    : GridThumbMap(Thumb, false, FCols.Count, VisibleColCount(), FFixedCols);
}

Integer TCustomGrid::LineToThumb(bool Vertical, Integer Line)
{
    return Vertical ? GridThumbMap(Line, true, FRows.Count, VisibleRowCount(), FFixedRows)
                    : GridThumbMap(Line, true, FCols.Count, VisibleColCount(), FFixedCols);
}

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated() || FInScroll) return;
    FInScroll = true;
    // Showing one bar narrows the client and may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
            const bool need = MaxTopLeft(true) > FFixedRows || FTopLeft.Y > FFixedRows;
            SetScrollRange(FHandle, SB_VERT, 0, need ? kGridThumbMax : 0, TRUE);
        }
        if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
            const bool need = MaxTopLeft(false) > FFixedCols || FTopLeft.X > FFixedCols;
            SetScrollRange(FHandle, SB_HORZ, 0, need ? kGridThumbMax : 0, TRUE);
        }
    }
    FInScroll = false;
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos()
{
    if (!HandleAllocated()) return;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        SetScrollPos(FHandle, SB_VERT, LineToThumb(true, FTopLeft.Y), TRUE);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        SetScrollPos(FHandle, SB_HORZ, LineToThumb(false, FTopLeft.X), TRUE);
}

void TCustomGrid::MoveTopLeft(Integer ALeft, Integer ATop)
{
    ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, FCols.Count - 1));
    ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, FRows.Count - 1));
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    const TGridCoord old = FTopLeft;
    FTopLeft = {ALeft, ATop};
    UpdateScrollPos();
    ScrollData(old);
    UpdateEdit();
    TopLeftChanged();
}

bool TCustomGrid::CanScrollPixels() { return true; }

void TCustomGrid::ScrollData(const TGridCoord& OldTopLeft)
{
    if (FUpdating || !HandleAllocated()) return;
    // One axis moved by less than the scrolled part: the pixels move along
    // and only the lines that came into view are painted.
    const bool vert = OldTopLeft.Y != FTopLeft.Y, horz = OldTopLeft.X != FTopLeft.X;
    if (vert != horz && CanScrollPixels()) {
        const Integer w = ClientWidth(), h = ClientHeight();
        const Integer fixed = FixedExtent(vert);
        // Where the old first scrollable line lies now.
        const Int64 shift = LinePos(vert, vert ? OldTopLeft.Y : OldTopLeft.X) - fixed;
        const Integer extent = (vert ? h : w) - fixed;
        if (extent > 0 && shift != 0 && (shift < 0 ? -shift : shift) < extent) {
            const TRect area = vert ? Rect(0, fixed, w, h) : Rect(fixed, 0, w, h);
            ScrollWindowEx(FHandle, vert ? 0 : Integer(shift), vert ? Integer(shift) : 0, &area, &area, nullptr,
                           nullptr, SW_INVALIDATE);
            return;
        }
    }
    InvalidateGrid();
}

void TCustomGrid::SetLeftCol(Integer v) { MoveTopLeft(v, FTopLeft.Y); }
void TCustomGrid::SetTopRow(Integer v) { MoveTopLeft(FTopLeft.X, v); }

void TCustomGrid::TopLeftChanged() {}

void TCustomGrid::ScrollMessage(bool Vertical, TMessage& M)
{
    const Integer code = Integer(M.WParamLo());
    const Integer pos = Integer(SHORT(M.WParamHi()));
    const Integer first = Vertical ? FTopLeft.Y : FTopLeft.X;
    const Integer fixed = Vertical ? FFixedRows : FFixedCols;
    const Integer page = Vertical ? VisibleRowCount() : VisibleColCount();
    const Integer maxFirst = MaxTopLeft(Vertical);
    Integer n = first;
    switch (code) {
    case SB_LINEUP: n = first - 1; break;
    case SB_LINEDOWN: n = first + 1; break;
    case SB_PAGEUP: n = first - std::max(1, page); break;
    case SB_PAGEDOWN: n = first + std::max(1, page); break;
    case SB_THUMBPOSITION: n = ThumbToLine(Vertical, pos); break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking)) return;
        n = ThumbToLine(Vertical, pos);
        break;
    case SB_TOP: n = fixed; break;
    case SB_BOTTOM: n = maxFirst; break;
    default: return;
    }
    n = std::clamp(n, fixed, std::max(fixed, maxFirst));
    if (Vertical)
        MoveTopLeft(FTopLeft.X, n);
    else
        MoveTopLeft(n, FTopLeft.Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
    if (FRows.Count - 1 > FCurrent.Y) {
        if (FOptions.Contains(goRowSelect))
            MoveColRow(FCurrent.X, FCurrent.Y + 1, true, true);
        else
            MoveTopLeft(FTopLeft.X, std::min(FTopLeft.Y + 1, MaxTopLeft(true)));
    }
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
    if (FOptions.Contains(goRowSelect)) {
        if (FCurrent.Y > FFixedRows) MoveColRow(FCurrent.X, FCurrent.Y - 1, true, true);
    } else if (FTopLeft.Y > FFixedRows) {
        MoveTopLeft(FTopLeft.X, FTopLeft.Y - 1);
    }
    return true;
}

// ---------------------------------------------------------------------------
// Selection

TGridRect TCustomGrid::Selection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = FCols.Count - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& v)
{
    TGridRect old = Selection();
    auto cx = [&](Integer x) { return std::clamp(x, FFixedCols, FCols.Count - 1); };
    auto cy = [&](Integer y) { return std::clamp(y, FFixedRows, FRows.Count - 1); };
    FAnchor = {cx(v.Left), cy(v.Top)};
    FCurrent = {cx(v.Right), cy(v.Bottom)};
    SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel)
{
    if (FUpdating) return;
    InvalidateGridRect(OldSel);
    InvalidateGridRect(Selection());
}

bool TCustomGrid::SelectCell(Integer ACol, Integer ARow) { return true; }

void TCustomGrid::MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= FCols.Count || ARow >= FRows.Count)
        throw EInvalidGridOperation(L"Grid index out of range");
    if (!SelectCell(ACol, ARow)) return;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCur = FCurrent;
    const bool moved = !(oldCur == TGridCoord{ACol, ARow});
    if (moved && FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor))
            UpdateText();
        else
            HideEditor();
    }
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count - 1;
    if (Show) ClampInView(FCurrent);
    SelectionMoved(oldSel);
    InvalidateCell(oldCur.X, oldCur.Y);
    InvalidateCell(ACol, ARow);
    if (moved && FEditorMode) UpdateEdit();
}

void TCustomGrid::MoveAnchorTo(const TGridCoord& NewAnchor)
{
    const TGridRect old = Selection();
    FAnchor = NewAnchor;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count - 1;
    SelectionMoved(old);
}

void TCustomGrid::ClampInView(const TGridCoord& Coord)
{
    if (!HandleAllocated() && (Width() <= 0 || Height() <= 0)) return;
    Integer left = FTopLeft.X, top = FTopLeft.Y;
    if (Coord.X >= FFixedCols) {
        if (Coord.X < left)
            left = Coord.X;
        else if (Coord.X >= left + VisibleColCount())
            left = FirstShowing(FCols, FFixedCols, Coord.X, std::max(0, ClientWidth() - FixedExtent(false)));
    }
    if (Coord.Y >= FFixedRows) {
        if (Coord.Y < top)
            top = Coord.Y;
        else if (Coord.Y >= top + VisibleRowCount())
            top = FirstShowing(FRows, FFixedRows, Coord.Y, std::max(0, ClientHeight() - FixedExtent(true)));
    }
    MoveTopLeft(left, top);
}

void TCustomGrid::FocusCell(Integer ACol, Integer ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveColRow(Integer ACol, Integer ARow, bool MoveAnchor, bool Show)
{
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid::SetCol(Integer v)
{
    if (v != FCurrent.X) FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(Integer v)
{
    if (v != FCurrent.Y) FocusCell(FCurrent.X, v, true);
}

// ---------------------------------------------------------------------------
// Invalidation

void TCustomGrid::InvalidateGridRect(const TGridRect& R)
{
    if (FUpdating || !HandleAllocated()) return;
    const Integer r = std::min(R.Right, FCols.Count - 1), b = std::min(R.Bottom, FRows.Count - 1);
    TRect rc = BoxRect(std::max(0, R.Left), std::max(0, R.Top), r, b);
    if (rc.Right <= rc.Left) {
        // Partly scrolled out: repaint what shows of the lines in view.
        Integer l = std::max(R.Left, 0), t = std::max(R.Top, 0);
        if (l >= FFixedCols && l < FTopLeft.X) l = FTopLeft.X;
        if (t >= FFixedRows && t < FTopLeft.Y) t = FTopLeft.Y;
        rc = BoxRect(l, t, r, b);
        if (rc.Right <= rc.Left) return;
    }
    // The grid lines right of and below the cells go too.
    rc.Right += FCols.LineWidth;
    rc.Bottom += FRows.LineWidth;
    InvalidateRect(FHandle, &rc, FALSE);
}

void TCustomGrid::InvalidateCell(Integer ACol, Integer ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }
void TCustomGrid::InvalidateRow(Integer ARow) { InvalidateGridRect({0, ARow, FCols.Count - 1, ARow}); }
void TCustomGrid::InvalidateCol(Integer ACol) { InvalidateGridRect({ACol, 0, ACol, FRows.Count - 1}); }

void TCustomGrid::InvalidateGrid()
{
    if (FUpdating) return;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Moving lines

void TCustomGrid::ColumnMoved(Integer FromIndex, Integer ToIndex) { FCols.MoveExtent(FromIndex, ToIndex); }
void TCustomGrid::RowMoved(Integer FromIndex, Integer ToIndex) { FRows.MoveExtent(FromIndex, ToIndex); }

// Where a line at Pos goes when the line From moves to To.
static Integer MovedIndex(Integer Pos, Integer From, Integer To)
{
    if (Pos == From) return To;
    if (From < To && Pos > From && Pos <= To) return Pos - 1;
    if (From > To && Pos >= To && Pos < From) return Pos + 1;
    return Pos;
}

void TCustomGrid::MoveColumn(Integer FromIndex, Integer ToIndex)
{
    if (FromIndex == ToIndex) return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FCols.Count || ToIndex >= FCols.Count)
        throw EInvalidGridOperation(L"Grid index out of range");
    if (FEditorMode) HideEditor();
    ColumnMoved(FromIndex, ToIndex);
    FCurrent.X = std::clamp(MovedIndex(FCurrent.X, FromIndex, ToIndex), FFixedCols, FCols.Count - 1);
    if (!FOptions.Contains(goRowSelect))
        FAnchor.X = std::clamp(MovedIndex(FAnchor.X, FromIndex, ToIndex), FFixedCols, FCols.Count - 1);
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::MoveRow(Integer FromIndex, Integer ToIndex)
{
    if (FromIndex == ToIndex) return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRows.Count || ToIndex >= FRows.Count)
        throw EInvalidGridOperation(L"Grid index out of range");
    if (FEditorMode) HideEditor();
    RowMoved(FromIndex, ToIndex);
    FCurrent.Y = std::clamp(MovedIndex(FCurrent.Y, FromIndex, ToIndex), FFixedRows, FRows.Count - 1);
    FAnchor.Y = std::clamp(MovedIndex(FAnchor.Y, FromIndex, ToIndex), FFixedRows, FRows.Count - 1);
    UpdateScrollRange();
    InvalidateGrid();
}

void TCustomGrid::DeleteColumn(Integer ACol)
{
    MoveColumn(ACol, FCols.Count - 1);
    SetColCount(FCols.Count - 1);
}

void TCustomGrid::DeleteRow(Integer ARow)
{
    MoveRow(ARow, FRows.Count - 1);
    SetRowCount(FRows.Count - 1);
}
