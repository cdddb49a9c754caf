// How the string grid scrolls: bringing a cell into view, the scroll bar
// messages with their position hints and the scroll bar inside a cell, the
// flat scroll bars of the common-controls library (looked up by name at
// every call, absent on this platform), scroll ranges in proportion to the
// real row heights and column widths, the bars that stay shown, scrolling
// while something is dragged near an edge, and the kinetic scroll step.
#include <algorithm>
#include <cmath>

#include "controls/grid/GridScrollControls.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/os/Modules.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Timers.h"

namespace {

// The flat scroll bar properties and modes of the common-controls library.
enum : UINT {
    WSB_PROP_CYVSCROLL = 0x1, WSB_PROP_CXHSCROLL = 0x2, WSB_PROP_CYHSCROLL = 0x4, WSB_PROP_CXVSCROLL = 0x8,
    WSB_PROP_VBKGCOLOR = 0x40, WSB_PROP_HBKGCOLOR = 0x80, WSB_PROP_VSTYLE = 0x100, WSB_PROP_HSTYLE = 0x200,
};
enum : Integer { FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2 };

using TInitializeFlatSB = BOOL (*)(HWND);
using TUninitializeFlatSB = HRESULT (*)(HWND);
using TFlatSBSetScrollProp = BOOL (*)(HWND, UINT, intptr_t, BOOL);
using TFlatSBShowScrollBar = BOOL (*)(HWND, int, BOOL);
using TFlatSBSetScrollInfo = int (*)(HWND, int, const SCROLLINFO*, BOOL);

// The function of the loaded common-controls library, or null when the
// library or the function is missing.
template <class F>
F FlatSBFunction(const char* Name)
{
    HMODULE m = GetModuleHandle(L"comctl32.dll");
    if (!m) return nullptr;
    return reinterpret_cast<F>(GetProcAddress(m, Name));
}

bool HasVert(TScrollStyle s) { return s == ssVertical || s == ssBoth; }
bool HasHorz(TScrollStyle s) { return s == ssHorizontal || s == ssBoth; }

}  // namespace

// ---------------------------------------------------------------------------
// Bringing a cell into view

void TVodStringGrid::ScrollInView(Integer ColIndex, Integer RowIndex, TScrollPosition Position)
{
    // 1.
    if (ColIndex >= ColCount() || RowIndex >= RowCount() || ColIndex < 0 || RowIndex < 0) return;
    auto first = [Position](Integer Index, Integer Visible) {
        switch (Position) {
        case spMiddle: return Index - Visible / 2;
        case spTrailing: return Index + 1 - Visible;
        case spLeading: break;
        }
        return Index;
    };
    Integer newLeft = LeftCol(), newTop = TopRow();
    // 2.
    const Integer visCols = VisibleColCount();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + visCols) {
        if (IsSelectionHidden()) UnHideSelection();
        if (ColIndex >= FixedCols() && ColIndex < TotalColCount()) SetCol(ColIndex);
        newLeft = std::max(FixedCols(), first(ColIndex, visCols));
    }
    // 3.
    const Integer visRows = VisibleRowCount();
    if (RowIndex < TopRow() || RowIndex >= TopRow() + visRows) {
        if (RowIndex >= FixedRows() && RowIndex < TotalRowCount()) SetRow(RowIndex);
        newTop = std::max(FixedRows(), first(RowIndex, visRows));
    }
    // 4.
    newLeft = std::min(newLeft, ColCount() - visCols + 1);
    if (FixedCols() + visCols < ColCount()) SetLeftCol(std::clamp(newLeft, FixedCols(), ColCount() - 1));
    newTop = std::min(newTop, RowCount() - visRows + 1);
    if (FixedRows() + visRows < RowCount()) SetTopRow(newTop);
}

Integer TVodStringGrid::ScrollPosToCol(Integer Pos)
{
    return MulDiv(Pos, ColCount() - VisibleColCount() - FixedCols(), kGridThumbMax) + FixedCols();
}

Integer TVodStringGrid::ScrollPosToRow(Integer Pos)
{
    return MulDiv(Pos, RowCount() - VisibleRowCount() - FixedRows(), kGridThumbMax) + FixedRows();
}

// ---------------------------------------------------------------------------
// Scroll bar messages

void TVodStringGrid::ShowScrollHint(Integer Code, bool Vertical, Integer Pos)
{
    if (!FScrollHintWnd) return;
    if (Code == SB_ENDSCROLL) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }
    if (Code != SB_THUMBTRACK) return;
    const Integer line = Vertical ? ScrollPosToRow(Pos) : ScrollPosToCol(Pos);
    String hint = String(Vertical ? L"Row : " : L"Col : ") + IntToStr(line);
    if (OnScrollHint) OnScrollHint(this, line, hint);
    TRect r = FScrollHintWnd->CalcHintRect(100, hint, nullptr);
    FScrollHintWnd->SetColor(HintColor());
    TPoint pt{0, 0};
    GetCursorPos(&pt);
    OffsetRect(r, pt.X + 10, pt.Y);
    FScrollHintWnd->ActivateHint(r, hint);
    FScrollHintShow = true;
}

void TVodStringGrid::HandleHScroll(TMessage& M)
{
    const Integer code = Integer(M.WParamLo());
    Integer pos = Integer(SHORT(M.WParamHi()));
    // 1.
    if (FScrollHints == shHorizontal || FScrollHints == shBoth) ShowScrollHint(code, false, pos);
    // 2.
    if (FNavigation->AlwaysEdit() && EditorMode()) HideInplaceEdit();
    // 3. The flat bar's thumb leaves a page of the range unused.
    if (code == SB_THUMBPOSITION && FIsFlat && ColCount() > 0) {
        const Integer t = Integer(std::lround(double(VisibleColCount()) * 128.0 / double(ColCount())));
        if (t != 128 && t < 128) {
            pos = Integer(std::lround(double(pos) * 127.0 / double(128 - t)));
            M.WParam = MAKEWPARAM(code, pos);
        }
    }
    // 4.
    if (code == SB_THUMBTRACK && FScrollSynch) SetLeftCol(std::clamp(ScrollPosToCol(pos), FixedCols(), ColCount() - 1));
    // 5.
    const bool fixedPicture = FBackGround->Display() == bdFixed && FBackGround->Bitmap() &&
                              !FBackGround->Bitmap()->Empty();
    const TGridCoord before{LeftCol(), TopRow()};
    // 6.
    if (FixedCols() == 0 && ScrollPosToCol(pos) >= Col()) HideInplaceEdit();
    // 7.
    TBaseGrid::Dispatch(M);
    // 8. The picture stays put while the cells move over it.
    if (fixedPicture && code != SB_THUMBTRACK && (before.X != LeftCol() || before.Y != TopRow())) Invalidate();
    // 9.
    if (code == SB_ENDSCROLL) {
        if (UseRightToLeftAlignment() && MergeCount() > 0) Invalidate();
        if (ColCount() == 1) Repaint();
    }
    SyncFlatVScrollBar();
    SyncFlatHScrollBar();
    CheckBoxEditorRule();
    UpdateFooter();
}

void TVodStringGrid::HandleVScroll(TMessage& M)
{
    // 1.
    if (ComponentState().Contains(csDesigning)) {
        TBaseGrid::Dispatch(M);
        return;
    }
    const Integer code = Integer(M.WParamLo());
    const Integer pos = Integer(SHORT(M.WParamHi()));
    // 2.
    FLastScrollCode = Byte(code);
    // 3. The scroll bar inside a cell moves by its own steps.
    if (M.LParam && FCellScrollBar && FCellScrollBar->HandleAllocated() &&
        reinterpret_cast<HWND>(M.LParam) == FCellScrollBar->Handle()) {
        TScrollBar* sb = FCellScrollBar;
        const Integer old = sb->Position();
        Integer np = old;
        switch (code) {
        case SB_LINEUP: np = std::max(sb->Min(), old - 10); break;
        case SB_LINEDOWN: np = std::min(sb->Max(), old + 10); break;
        case SB_PAGEUP: np = old - 100; break;
        case SB_PAGEDOWN: np = old + 100; break;
        case SB_THUMBTRACK: np = pos; break;
        default: break;
        }
        np = std::clamp(np, sb->Min(), sb->Max());
        if (np != old) {
            sb->SetPosition(np);
            M.Result = 1;
            if (FScrollCol >= 0 && FScrollRow >= 0) {
                SetScrollPosition(FScrollCol, FScrollRow, np);
                RepaintCell(FScrollCol, FScrollRow);
                ScrollCell(FScrollCol, FScrollRow, sb->Max(), sb->Min(), np);
            }
        }
        return;
    }
    // 4. As the horizontal handler, for rows.
    if (FScrollHints == shVertical || FScrollHints == shBoth) ShowScrollHint(code, true, pos);
    if (FNavigation->AlwaysEdit() && EditorMode()) HideInplaceEdit();
    if (code == SB_THUMBTRACK && FScrollSynch) SetTopRow(std::clamp(ScrollPosToRow(pos), FixedRows(), RowCount() - 1));
    const bool fixedPicture = FBackGround->Display() == bdFixed && FBackGround->Bitmap() &&
                              !FBackGround->Bitmap()->Empty();
    const TGridCoord before{LeftCol(), TopRow()};
    TBaseGrid::Dispatch(M);
    if (fixedPicture && code != SB_THUMBTRACK && (before.X != LeftCol() || before.Y != TopRow())) Invalidate();
    SyncFlatVScrollBar();
    SyncFlatHScrollBar();
    CheckBoxEditorRule();
}

void TVodStringGrid::ScrollCell(Integer ACol, Integer ARow, Integer Max, Integer Min, Integer Position)
{
    if (OnScrollCell) OnScrollCell(this, ACol, ARow, Position, Min, Max);
}

// ---------------------------------------------------------------------------
// Flat scroll bars

void TVodStringGrid::FlatInit()
{
    if (!HandleAllocated()) return;
    auto f = FlatSBFunction<TInitializeFlatSB>("InitializeFlatSB");
    FIsFlat = f != nullptr;
    if (f) f(Handle());
}

void TVodStringGrid::FlatDone()
{
    FIsFlat = false;
    if (!HandleAllocated()) return;
    if (auto f = FlatSBFunction<TUninitializeFlatSB>("UninitializeFlatSB")) f(Handle());
}

void TVodStringGrid::FlatSetScrollProp(UINT Index, intptr_t Value)
{
    if (!FIsFlat || !HandleAllocated()) return;
    if (auto f = FlatSBFunction<TFlatSBSetScrollProp>("FlatSB_SetScrollProp")) f(Handle(), Index, Value, TRUE);
}

void TVodStringGrid::FlatSetStyle()
{
    Integer mode;
    switch (FScrollType) {
    case ssNormal: mode = FSB_REGULAR_MODE; break;
    case ssFlat: mode = FSB_FLAT_MODE; break;
    case ssEncarta: mode = FSB_ENCARTA_MODE; break;
    default: return;
    }
    FlatSetScrollProp(WSB_PROP_VSTYLE, mode);
    FlatSetScrollProp(WSB_PROP_HSTYLE, mode);
}

void TVodStringGrid::FlatSetColor()
{
    if (FScrollColor == clNone) return;
    FlatSetScrollProp(WSB_PROP_VBKGCOLOR, intptr_t(FScrollColor));
    FlatSetScrollProp(WSB_PROP_HBKGCOLOR, intptr_t(FScrollColor));
}

void TVodStringGrid::FlatSetWidth()
{
    FlatSetScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    FlatSetScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TVodStringGrid::FlatShowScrollBar(Integer Bar, bool Show)
{
    if (!FIsFlat || !HandleAllocated()) return;
    if (Bar == SB_VERT && !HasVert(ScrollBars())) return;
    if (Bar == SB_HORZ && !HasHorz(ScrollBars())) return;
    if (auto f = FlatSBFunction<TFlatSBShowScrollBar>("FlatSB_ShowScrollBar")) f(Handle(), Bar, Show ? TRUE : FALSE);
}

namespace {
void SyncFlatBar(HWND Wnd, int Bar)
{
    auto f = FlatSBFunction<TFlatSBSetScrollInfo>("FlatSB_SetScrollInfo");
    if (!f) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Wnd, Bar, &si);
    f(Wnd, Bar, &si, TRUE);
}
}  // namespace

void TVodStringGrid::SyncFlatVScrollBar()
{
    if (HasVert(ScrollBars()) && FIsFlat && HandleAllocated()) SyncFlatBar(Handle(), SB_VERT);
}

void TVodStringGrid::SyncFlatHScrollBar()
{
    if (HasHorz(ScrollBars()) && FIsFlat && HandleAllocated()) SyncFlatBar(Handle(), SB_HORZ);
}

void TVodStringGrid::UpdateFlatScrollBars()
{
    if (!FIsFlat) return;
    const bool rowsOut = VisibleRowCount() + FixedRows() < RowCount();
    const bool colsOut = VisibleColCount() + FixedCols() < ColCount();
    FlatShowScrollBar(SB_VERT, rowsOut);
    if (rowsOut) SyncFlatVScrollBar();
    FlatShowScrollBar(SB_HORZ, colsOut);
    if (colsOut) SyncFlatHScrollBar();
}

void TVodStringGrid::FlatUpdateAll()
{
    FlatSetStyle();
    FlatSetColor();
    FlatSetWidth();
    UpdateFlatScrollBars();
}

void TVodStringGrid::StartFlatScrollBars()
{
    if (FScrollType == ssNormal || ComponentState().Contains(csLoading)) return;
    FlatInit();
    FlatSetWidth();
    FlatSetColor();
}

// ---------------------------------------------------------------------------
// Scroll settings

void TVodStringGrid::SetScrollType(TScrollType Value)
{
    if (Value != FScrollType) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            FlatInit();
            FlatUpdateAll();
        } else {
            FlatDone();
        }
        if (HandleAllocated()) {
            if (Value == ssMetro) {
                CreateMetroScrollControls();
                SetScrollBars(ssNone);
            } else if (FMetroScroll[0] || FMetroScroll[1]) {
                FreeMetroScrollControls();
                SetScrollBars(ssBoth);
            }
        }
    }
    FlatSetStyle();
}

void TVodStringGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    FlatSetColor();
}

void TVodStringGrid::SetScrollWidth(Integer Value)
{
    FScrollWidth = Value;
    FlatSetWidth();
}

void TVodStringGrid::SetScrollHints(TScrollHintType Value)
{
    FScrollHints = Value;
    // The hint window is made with the window; a grid that has its window
    // already makes it now.
    if (Value != shNone && !FScrollHintWnd && HandleAllocated() && !ComponentState().Contains(csDesigning))
        FScrollHintWnd = new THTMLHintWindow(this);
}

void TVodStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateProportionalVScroll();
        UpdateProportionalHScroll();
        return;
    }
    if (FIsFlat && FScrollType == ssNormal) FlatDone();
    // The bars go back to the plain thumb range without a page, which the
    // platform grid's positions assume.
    if (HandleAllocated()) {
        SCROLLINFO si;
        si.fMask = SIF_PAGE;
        si.nPage = 0;
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
        SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
        UpdateScrollRange();
    }
}

void TVodStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    FScrollBarAlways = Value;
    ApplyScrollBarAlways(true);
}

void TVodStringGrid::ApplyScrollBarAlways(bool Hide) { UpdateScrollBarVisibility(Hide); }

void TVodStringGrid::SetScrollLock(bool Value) { FScrollLock = Value; }

// ---------------------------------------------------------------------------
// Proportional scroll ranges

void TVodStringGrid::UpdateProportionalVScroll()
{
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    if (!FScrollProportional || FScrollType == ssMetro || !HasVert(ScrollBars()) || FScrollLock) return;
    if (!HandleAllocated() || VisibleRowCount() + FixedRows() >= RowCount()) return;
    const Int64 w = GridLineWidth();
    Int64 h = Height();
    if (VisibleColCount() + FixedCols() < ColCount()) h -= GetSystemMetrics(SM_CYHSCROLL);
    // Sums of (grid line + line extent), from the axis's running offsets.
    auto span = [this, w](Integer From, Integer To) { return FRows.Start(To) - FRows.Start(From) + w * (To - From); };
    const Int64 F = w + span(0, FixedRows());
    const Int64 T = w + span(FixedRows(), RowCount());
    const Int64 A = w + span(FixedRows(), std::max(FixedRows(), TopRow()));
    if (T == 0) return;
    const float e = float(h - F) / float(T);
    if (!(e < 0.9999f)) return;
    const Integer nMax = Integer(std::trunc((e + 127.0f) / (1.0f - e)));
    const Integer nPage = nMax - 126;
    const Integer nPos = h < T ? Integer(std::trunc(double(A) / double(T - h) * 128.0)) : 127;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = UINT(std::max(0, nPage));
    si.nPos = nPos;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    SyncFlatVScrollBar();
}

void TVodStringGrid::UpdateProportionalHScroll()
{
    if (HandleAllocated() && FSearchPanel && FSearchPanel->Visible()) UpdateSearchPanel();
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    if (!FScrollProportional || FScrollType == ssMetro || !HasHorz(ScrollBars()) || FScrollLock) return;
    if (!HandleAllocated() || VisibleColCount() + FixedCols() >= ColCount()) return;
    const Int64 w = GridLineWidth();
    Int64 wd = Width();
    if (VisibleRowCount() + FixedRows() < RowCount()) wd -= GetSystemMetrics(SM_CXVSCROLL);
    auto span = [this, w](Integer From, Integer To) { return FCols.Start(To) - FCols.Start(From) + w * (To - From); };
    const Int64 F = w + span(0, FixedCols());
    const Int64 T = w + span(FixedCols(), ColCount());
    const Int64 A = w + span(FixedCols(), std::max(FixedCols(), LeftCol()));
    if (T == 0 || F + T < wd) return;
    const float e = float(wd - F) / float(T);
    if (!(e < 0.99999f)) return;
    const Integer nMax = Integer(std::trunc((e + 127.0f) / (1.0f - e)));
    const Integer nPage = nMax - 126;
    const Integer nPos =
        wd < T ? Integer(std::trunc(double(A) / double(T - wd) * 128.0)) : GetScrollPos(Handle(), SB_HORZ);
    if (nPage >= 4000) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = UINT(std::max(0, nPage));
    si.nPos = nPos;
    SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
    SyncFlatHScrollBar();
}

// ---------------------------------------------------------------------------
// Drag scrolling and the kinetic scroll step

void TVodStringGrid::FreeDragTimer()
{
    delete FDragTmr;
    FDragTmr = nullptr;
}

void TVodStringGrid::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)
{
    // 1.
    if (!FDragScrollOptions->Active()) {
        FreeDragTimer();
    } else {
        const TDragScrollDirection old = FDragScrollDirection;
        FDragScrollDirection = TDragScrollDirection();
        if (State == dsDragLeave) {
            FreeDragTimer();
        } else {
            const TDragScrollMargins* m = FDragScrollOptions->Margins();
            if (Y < m->TopMargin())
                FDragScrollDirection.Include(dsdUp);
            else if (Y > Height() - m->BottomMargin())
                FDragScrollDirection.Include(dsdDown);
            if (X < m->LeftMargin())
                FDragScrollDirection.Include(dsdLeft);
            else if (X > Width() - m->RightMargin())
                FDragScrollDirection.Include(dsdRight);
            if (!FDragScrollDirection.Empty()) {
                // The timer belongs to the grid (it may fire only while the
                // grid lives).
                if (!FDragTmr) {
                    FDragTmr = new TTimer(this);
                    FDragTmr->SetInterval(Cardinal(std::max(0, FDragScrollOptions->Delays()->InitialDelay())));
                    FDragTmr->SetOnTimer([this](TObject* S) { DragScrollTick(S); });
                    FDragTmr->SetEnabled(true);
                } else if (!old.Empty()) {
                    FDragTmr->SetInterval(Cardinal(std::max(0, FDragScrollOptions->Delays()->InitialDelay())));
                }
            } else {
                FreeDragTimer();
            }
        }
    }
    // 2.
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TVodStringGrid::DragScrollTick(TObject*)
{
    if (!FDragTmr) return;
    if (!FDragScrollOptions->Active()) {
        // Freed by the next drag notification or with the grid: a timer is
        // not freed from inside its own tick.
        FDragTmr->SetEnabled(false);
        return;
    }
    FDragTmr->SetInterval(Cardinal(std::max(0, FDragScrollOptions->Delays()->RepeatDelay())));
    bool canScroll = true;
    TDragScrollDirection dir = FDragScrollDirection;
    if (OnDragScroll) OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
    FDragScrollDirection = dir;
    if (!canScroll) return;
    if (dir.Contains(dsdUp) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
    if (dir.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
    if (dir.Contains(dsdLeft) && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if (dir.Contains(dsdRight) && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
}

TTimer* TVodStringGrid::KineticScrollTimer()
{
    if (!FScrollTimer) {
        FScrollTimer = new TTimer(this);
        FScrollTimer->SetEnabled(false);
        FScrollTimer->SetOnTimer([this](TObject* S) { KineticScrollTick(S); });
    }
    return FScrollTimer;
}

void TVodStringGrid::KineticScrollTick(TObject*)
{
    if (FScrollSteps <= 0) return;
    if (FScrollVert)
        SetTopRow(std::max(FixedRows(), TopRow() + FScrollDelta));
    else
        SetLeftCol(std::clamp(LeftCol() + FScrollDelta, FixedCols(), std::max(FixedCols(), ColCount() - 1)));
    --FScrollSteps;
    FScrollEnd = false;
    if (FScrollTimer) FScrollTimer->SetEnabled(FScrollSteps > 0);
}
