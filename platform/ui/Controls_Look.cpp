// The 3D look flag, painting a control into any device context, and the
// (absent) application style.
#include "platform/ui/Controls.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

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

bool IsCustomStyleActive() { return false; }
String ActiveStyleName() { return L"Windows"; }
