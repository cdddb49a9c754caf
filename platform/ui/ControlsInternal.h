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
// WM_DRAWITEM of a list or combo box: binds the canvas to the item's DC with
// the control's font and colours (highlight when selected), lets draw paint
// a real item (an empty list only gets its background), adds the focus
// rectangle, and unbinds even when draw raises.
void PaintOwnerDrawnItem(TControl* control, TCanvas* canvas, const DRAWITEMSTRUCT& item,
                         const std::function<void(Integer, TRect, TOwnerDrawState)>& draw);

bool gCaptureControlIs(TControl* c);
// The cursor the screen forces (Screen->Cursor), crDefault for none, and the
// handle behind a cursor number.
TCursor ControlsScreenCursor();
HCURSOR ControlsCursorHandle(TCursor cursor);
extern std::function<TCursor()> gScreenCursor;
extern std::function<HCURSOR(TCursor)> gCursorHandle;

// Painting glue.
void ControlsPaintHandler(TWinControl* control, TMessage& message);
void ControlsPaintGraphic(TWinControl* parent, TControl* control, HDC dc);
void ControlsFillBackground(TControl* control, HDC dc, const TRect& r);

// The control drag: the source's mouse and key messages while it drags
// (true when eaten), and forgetting a control that goes away mid-drag.
bool DragHandleMessage(TControl* control, TMessage& message);
void DragControlDestroyed(TControl* control);
