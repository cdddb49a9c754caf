// The 3D look flag, the bevel in the non-client area, painting a control
// into any device context, and the (absent) application style.
#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

bool NewStyleControls = true;

bool TControl::Ctl3D() const
{
    if (FParentCtl3D && FParent) return FParent->Ctl3D();
    return FCtl3D;
}

void TControl::SetCtl3D(bool v)
{
    const bool old = Ctl3D();
    FCtl3D = v;
    FParentCtl3D = false;
    if (old != v) Ctl3DChanged();
}

void TControl::SetParentCtl3D(bool v)
{
    if (v == FParentCtl3D) return;
    const bool old = Ctl3D();
    if (!v) FCtl3D = old;
    FParentCtl3D = v;
    if (old != Ctl3D()) Ctl3DChanged();
}

void TControl::Ctl3DChanged()
{
    Perform(CM_CTL3DCHANGED);
    Invalidate();
    // Children that follow this control's look change with it.
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (Integer i = 0; i < w->ControlCount(); ++i) {
            TControl* c = w->Controls(i);
            if (c->ParentCtl3D()) {
                c->Perform(CM_PARENTCTL3DCHANGED);
                c->Ctl3DChanged();
            }
        }
}

void TWinControl::PaintTo(HDC DC, Integer X, Integer Y)
{
    if (!DC) return;
    HandleNeeded();
    if (!HandleAllocated()) return;
    FControlState.Include(csPaintCopy);
    const int saved = SaveDC(DC);
    try {
        TPoint org;
        OffsetViewportOrgEx(DC, X, Y, &org);
        IntersectClipRect(DC, 0, 0, FWidth, FHeight);
        // The client area's place inside the window.
        RECT wr{};
        GetWindowRect(FHandle, &wr);
        TPoint co = ClientOrigin();
        const int dx = co.X - wr.Left, dy = co.Y - wr.Top;
        if (GetWindowLongPtr(FHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
            TRect r = Rect(0, 0, FWidth, FHeight);
            DrawEdge(DC, &r, Ctl3D() ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
        }
        PaintBevel(DC);
        OffsetViewportOrgEx(DC, dx, dy, &org);
        const TRect client = ClientRect();
        IntersectClipRect(DC, 0, 0, client.Width(), client.Height());
        if (!FControlStyle.Contains(csOpaque)) Perform(WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(DC)), 0);
        Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(DC)), 0);
        for (TWinControl* c : FWinControls)
            if (c->Visible()) c->PaintTo(DC, c->Left(), c->Top());
    } catch (...) {
        RestoreDC(DC, saved);
        FControlState.Exclude(csPaintCopy);
        throw;
    }
    RestoreDC(DC, saved);
    FControlState.Exclude(csPaintCopy);
}

void TWinControl::PaintTo(TCanvas* Canvas, Integer X, Integer Y)
{
    if (!Canvas) return;
    Canvas->Lock();
    try {
        PaintTo(Canvas->Handle(), X, Y);
    } catch (...) {
        Canvas->Unlock();
        throw;
    }
    Canvas->Unlock();
}

// ---------------------------------------------------------------------------
// Bevels in the non-client area
// ---------------------------------------------------------------------------

void TWinControl::SetBevelKind(TBevelKind v)
{
    if (v == FBevelKind) return;
    FBevelKind = v;
    BevelChanged();
}

void TWinControl::SetBevelInner(TBevelCut v)
{
    if (v == FBevelInner) return;
    FBevelInner = v;
    BevelChanged();
}

void TWinControl::SetBevelOuter(TBevelCut v)
{
    if (v == FBevelOuter) return;
    FBevelOuter = v;
    BevelChanged();
}

void TWinControl::SetBevelEdges(TBevelEdges v)
{
    if (v == FBevelEdges) return;
    FBevelEdges = v;
    BevelChanged();
}

void TWinControl::SetBevelWidth(Integer v)
{
    v = std::max<Integer>(v, 1);
    if (v == FBevelWidth) return;
    FBevelWidth = v;
    BevelChanged();
}

void TWinControl::BevelChanged()
{
    if (!FHandle) return;  // the window is framed when it is made
    // The client area grows or shrinks: the window manager asks for the
    // frame again, the children realign, and frame and client repaint.
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

TRect TWinControl::BevelInsets() const
{
    TRect in{0, 0, 0, 0};
    if (FBevelKind == bkNone) return in;
    int size = 0;
    if (FBevelInner != bvNone) size += FBevelWidth;
    if (FBevelOuter != bvNone) size += FBevelWidth;
    if (FBevelEdges.Contains(beLeft)) in.Left = size;
    if (FBevelEdges.Contains(beTop)) in.Top = size;
    if (FBevelEdges.Contains(beRight)) in.Right = size;
    if (FBevelEdges.Contains(beBottom)) in.Bottom = size;
    return in;
}

void TWinControl::WMNCCalcSize(TMessage& M)
{
    // The border, edge and scroll bars keep their places on the outside;
    // the bevel lies between them and the client area.
    DefaultHandler(M);
    auto* r = reinterpret_cast<TRect*>(M.LParam);
    if (!r) return;
    const TRect in = BevelInsets();
    r->Left += in.Left;
    r->Top += in.Top;
    r->Right = std::max(r->Left, r->Right - in.Right);
    r->Bottom = std::max(r->Top, r->Bottom - in.Bottom);
}

void TWinControl::WMNCPaint(TMessage& M)
{
    DefaultHandler(M);
    if (FBevelKind == bkNone || !FHandle) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    PaintBevel(dc);
    ReleaseDC(FHandle, dc);
}

void TWinControl::PaintBevel(HDC DC)
{
    const TRect in = BevelInsets();
    if (!FHandle || (in.Left | in.Top | in.Right | in.Bottom) == 0) return;
    // The rectangle of the bevel's outside: the client area, in window
    // coordinates, widened by the bevel.
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    TPoint co{0, 0};
    ::ClientToScreen(FHandle, &co);
    RECT cr{};
    GetClientRect(FHandle, &cr);
    TRect r{co.X - wr.Left - in.Left, co.Y - wr.Top - in.Top, co.X - wr.Left + cr.Right + in.Right,
            co.Y - wr.Top + cr.Bottom + in.Bottom};
    UINT sides = 0;
    if (FBevelEdges.Contains(beLeft)) sides |= BF_LEFT;
    if (FBevelEdges.Contains(beTop)) sides |= BF_TOP;
    if (FBevelEdges.Contains(beRight)) sides |= BF_RIGHT;
    if (FBevelEdges.Contains(beBottom)) sides |= BF_BOTTOM;
    const UINT look = FBevelKind == bkSoft ? UINT(BF_SOFT) : FBevelKind == bkFlat ? UINT(BF_FLAT) : 0u;
    // One pixel ring at a time, BevelWidth rings per cut, outer cut first.
    auto ring = [&](TBevelCut cut, bool outer) {
        if (cut == bvNone) return;
        for (Integer i = 0; i < FBevelWidth; ++i) {
            if (cut == bvSpace) {
                HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
                TRect s[4] = {{r.Left, r.Top, r.Left + 1, r.Bottom}, {r.Left, r.Top, r.Right, r.Top + 1},
                              {r.Right - 1, r.Top, r.Right, r.Bottom}, {r.Left, r.Bottom - 1, r.Right, r.Bottom}};
                const UINT bits[4] = {BF_LEFT, BF_TOP, BF_RIGHT, BF_BOTTOM};
                for (int k = 0; k < 4; ++k)
                    if (sides & bits[k]) FillRect(DC, &s[k], face);
            } else {
                UINT edge = cut == bvLowered ? (outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER)
                                             : (outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER);
                TRect e = r;
                DrawEdge(DC, &e, edge, sides | look);
            }
            if (sides & BF_LEFT) ++r.Left;
            if (sides & BF_TOP) ++r.Top;
            if (sides & BF_RIGHT) --r.Right;
            if (sides & BF_BOTTOM) --r.Bottom;
        }
    };
    ring(FBevelOuter, true);
    ring(FBevelInner, false);
}

