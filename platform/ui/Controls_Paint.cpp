// Painting of controls: the WM_PAINT handler of windowed controls, graphic
// children painted on their parent's DC, backgrounds; the cursor numbers.
#include <map>

#include "platform/ui/Controls.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

std::function<TCursor()> gScreenCursor;
std::function<HCURSOR(TCursor)> gCursorHandle;

bool gCaptureControlIs(TControl* c) { return c && GetCaptureControl() == c; }

TCursor ControlsScreenCursor() { return gScreenCursor ? gScreenCursor() : TCursor(crDefault); }

HCURSOR ControlsCursorHandle(TCursor cursor)
{
    if (gCursorHandle) return gCursorHandle(cursor);
    static const std::map<TCursor, uintptr_t> builtIn{
        {crArrow, IDC_ARROW},      {crCross, IDC_CROSS},         {crIBeam, IDC_IBEAM},
        {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},      {crSizeNWSE, IDC_SIZENWSE},
        {crSizeWE, IDC_SIZEWE},    {crUpArrow, IDC_UPARROW},     {crHourGlass, IDC_WAIT},
        {crNo, IDC_NO},            {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
        {crHandPoint, IDC_HAND},   {crSizeAll, IDC_SIZEALL},     {crHSplit, IDC_SIZEWE},
        {crVSplit, IDC_SIZENS},    {crDrag, IDC_ARROW},          {crNoDrop, IDC_NO},
        {crMultiDrag, IDC_ARROW},  {crSQLWait, IDC_WAIT},        {crDefault, IDC_ARROW},
    };
    auto it = builtIn.find(cursor);
    if (it != builtIn.end()) return LoadCursor(nullptr, it->second);
    if (cursor == crNone) return nullptr;
    return LoadCursor(nullptr, IDC_ARROW);
}

void ControlsPaintHandler(TWinControl* control, TMessage& message)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control->Handle(), &ps);
    if (!dc) return;
    TMessage m{WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0, 0};
    try {
        control->Perform(WM_PAINT, m.WParam, 0);
    } catch (...) {
        EndPaint(control->Handle(), &ps);
        throw;
    }
    EndPaint(control->Handle(), &ps);
    (void)message;
}

void ControlsPaintGraphic(TWinControl* parent, TControl* c, HDC dc)
{
    int saved = SaveDC(dc);
    TRect b = c->BoundsRect();
    IntersectClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
    TPoint old;
    OffsetViewportOrgEx(dc, b.Left, b.Top, &old);
    try {
        c->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
    (void)parent;
}

void ControlsFillBackground(TControl* control, HDC dc, const TRect& r)
{
    HBRUSH br = CreateSolidBrush(COLORREF(ColorToRGB(control->Color())));
    FillRect(dc, &r, br);
    DeleteObject(br);
}

