// Pieces the control units share among themselves.
#pragma once

#include <functional>

#include "platform/ui/Controls.h"

// The form (the top-level control answering IsFormRoot) that holds c.
TWinControl* FormOf(TControl* c, bool topForm = true);

// The control under the mouse (for CM_MOUSEENTER/CM_MOUSELEAVE).
extern TControl* gMouseControl;
// Set by the application: hint tracking and forgetting destroyed controls.
extern std::function<void(TControl*, TMessage&)> gHintMouseMessage;
extern std::function<void(TControl*)> gControlDestroyed;
// Set by the application: what happens to an exception a window procedure
// raises. Without one it goes on to the caller.
extern std::function<void(std::exception_ptr)> gHandleException;

// Canvas glue: a control canvas for a control, bound to a DC while painting.
TCanvas* MakeControlCanvas(TControl* control);
void DestroyControlCanvas(TCanvas*& canvas);
void BindControlCanvas(TCanvas* canvas, HDC dc);
