// The control drag inside the process: the source holds the mouse; each
// move finds the control under the cursor and asks it (DragOver with enter,
// move and leave), the release drops on a target that accepted, and the
// source hears how it ended (OnEndDrag).
#include <cstdlib>

#include "platform/ui/Controls.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

namespace {

struct TDragSession {
    TControl* Source = nullptr;
    TDragObject* Object = nullptr;   // the source's, when OnStartDrag gave one
    TControl* Target = nullptr;
    TPoint StartPos;                 // screen
    TPoint Pos;                      // screen, last seen
    Integer Threshold = 5;
    bool Started = false;
    bool Accepted = false;
};
TDragSession gDrag;

TObject* SourceObject() { return gDrag.Object ? static_cast<TObject*>(gDrag.Object) : gDrag.Source; }

void SetDragCursorFor(bool accepted)
{
    if (!gDrag.Source) return;
    ::SetCursor(ControlsCursorHandle(accepted ? gDrag.Source->DragCursor() : TCursor(crNoDrop)));
}

}  // namespace

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled)
{
    HWND h = WindowFromPoint(Pos);
    TWinControl* w = nullptr;
    while (h && !(w = FindControl(h))) h = GetParent(h);
    if (!w) return nullptr;
    TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled);
    if (c) return c;
    return (AllowDisabled || w->Enabled()) ? w : nullptr;
}

namespace {

bool Tell(TControl* target, TDragState state)
{
    if (!target) return false;
    TPoint p = target->ScreenToClient(gDrag.Pos);
    bool accept = false;
    target->DragOver(SourceObject(), p.X, p.Y, state, accept);
    return accept;
}

void DragTo(const TPoint& screen)
{
    gDrag.Pos = screen;
    TControl* t = FindDragTarget(screen, false);
    if (t != gDrag.Target) {
        if (gDrag.Target) Tell(gDrag.Target, dsDragLeave);
        gDrag.Target = t;
        gDrag.Accepted = Tell(t, dsDragEnter);
    } else {
        gDrag.Accepted = Tell(t, dsDragMove);
    }
    SetDragCursorFor(gDrag.Accepted);
}

void DragDone(bool drop)
{
    if (!gDrag.Source) return;
    TDragSession d = gDrag;
    gDrag = TDragSession();
    if (GetCaptureControl() == d.Source) SetCaptureControl(nullptr);
    ::SetCursor(ControlsCursorHandle(crDefault));
    if (!d.Started) return;
    TObject* src = d.Object ? static_cast<TObject*>(d.Object) : d.Source;
    TControl* target = d.Target;
    const bool dropped = drop && d.Accepted && target;
    TPoint p = target ? target->ScreenToClient(d.Pos) : d.Source->ScreenToClient(d.Pos);
    if (target) {
        bool ignored = false;
        target->DragOver(src, p.X, p.Y, dsDragLeave, ignored);
    }
    if (dropped) target->DragDrop(src, p.X, p.Y);
    d.Source->DoEndDrag(dropped ? target : nullptr, p.X, p.Y);
}

void StartMoving()
{
    gDrag.Started = true;
    TDragObject* obj = nullptr;
    gDrag.Source->DoStartDrag(obj);
    if (gDrag.Source) gDrag.Object = obj;
}

}  // namespace

bool DragHandleMessage(TControl* control, TMessage& M)
{
    if (!gDrag.Source || gDrag.Source != control) return false;
    switch (M.Msg) {
    case WM_MOUSEMOVE: {
        TPoint screen = control->ClientToScreen(M.Pos());
        if (!gDrag.Started) {
            if (std::abs(screen.X - gDrag.StartPos.X) < gDrag.Threshold &&
                std::abs(screen.Y - gDrag.StartPos.Y) < gDrag.Threshold)
                return false;
            StartMoving();
            if (!gDrag.Source) return true;
        }
        DragTo(screen);
        return true;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: {
        const bool started = gDrag.Started;
        if (started) gDrag.Pos = control->ClientToScreen(M.Pos());
        DragDone(true);
        return started;
    }
    case WM_KEYDOWN:
        if (M.WParam == VK_ESCAPE) {
            DragDone(false);
            return true;
        }
        return false;
    case WM_CANCELMODE:
        DragDone(false);
        return false;
    default: return false;
    }
}

void DragControlDestroyed(TControl* control)
{
    if (gDrag.Target == control) gDrag.Target = nullptr;
    if (gDrag.Source == control) {
        gDrag = TDragSession();
        ReleaseCapture();
    }
}

void TControl::BeginDrag(bool Immediate, Integer Threshold)
{
    if (gDrag.Source) return;
    gDrag = TDragSession();
    gDrag.Source = this;
    gDrag.Threshold = Threshold < 0 ? 5 : Threshold;
    TPoint p;
    GetCursorPos(&p);
    gDrag.StartPos = gDrag.Pos = p;
    SetCaptureControl(this);
    if (Immediate) {
        StartMoving();
        if (gDrag.Source == this) DragTo(p);
    }
}

void TControl::EndDrag(bool Drop)
{
    if (gDrag.Source == this) DragDone(Drop);
}

bool TControl::Dragging() const { return gDrag.Source == this; }

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)
{
    Accept = bool(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}
