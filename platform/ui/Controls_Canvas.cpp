// TControlCanvas: the canvas of a control. While the control paints it
// draws on the paint DC; at other times it takes a DC of the control's
// window (for a graphic control: of its parent, moved and clipped to it).
#include "platform/ui/Controls.h"
#include "platform/ui/ControlsInternal.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* c)
{
    if (FControl == c) return;
    FreeHandle();
    FControl = c;
}

void TControlCanvas::CreateHandle()
{
    if (!FControl) return;
    auto* w = dynamic_cast<TWinControl*>(FControl);
    TWinControl* host = w ? w : FControl->Parent();
    if (!host || !host->HandleAllocated()) return;
    FWindow = host->Handle();
    HDC dc = GetDC(FWindow);
    if (!dc) return;
    if (!w) {
        TRect b = FControl->BoundsRect();
        IntersectClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
        SetViewportOrgEx(dc, b.Left, b.Top, nullptr);
    }
    FOwnDC = dc;
    SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
    if (!FOwnDC) return;
    HDC dc = FOwnDC;
    FOwnDC = nullptr;
    SetHandle(nullptr);
    ReleaseDC(FWindow, dc);
    FWindow = nullptr;
}

void TControlCanvas::Bind(HDC dc)
{
    FreeHandle();
    SetHandle(dc);
}

TCanvas* MakeControlCanvas(TControl* control)
{
    auto* c = new TControlCanvas;
    c->SetControl(control);
    return c;
}

void DestroyControlCanvas(TCanvas*& canvas)
{
    delete canvas;
    canvas = nullptr;
}

void BindControlCanvas(TCanvas* canvas, HDC dc)
{
    if (auto* c = dynamic_cast<TControlCanvas*>(canvas)) {
        c->Bind(dc);
    }
}
