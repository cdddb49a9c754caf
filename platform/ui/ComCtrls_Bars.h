// Bar controls: the "SCROLLBAR" window class and TScrollBar, the track bar
// ("msctls_trackbar32") and TTrackBar, and the up-down control
// ("msctls_updown32") and TUpDown. The window classes behave as the
// operating system's controls do (messages, notifications to the parent);
// the classes wrap them for the class library.
#pragma once

#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

// Registers the three window classes (idempotent; a reset of the window
// system unregisters them, the controls register them again).
void RegisterBarClasses();

constexpr const wchar_t* TRACKBAR_CLASS = L"msctls_trackbar32";
constexpr const wchar_t* UPDOWN_CLASS = L"msctls_updown32";

// Track bar styles, messages and the WM_HSCROLL/WM_VSCROLL codes it sends.
enum : DWORD {
    TBS_AUTOTICKS = 0x1, TBS_VERT = 0x2, TBS_HORZ = 0x0, TBS_TOP = 0x4, TBS_BOTTOM = 0x0,
    TBS_LEFT = 0x4, TBS_RIGHT = 0x0, TBS_BOTH = 0x8, TBS_NOTICKS = 0x10, TBS_ENABLESELRANGE = 0x20,
    TBS_FIXEDLENGTH = 0x40, TBS_NOTHUMB = 0x80, TBS_REVERSED = 0x200,
};
enum : UINT {
    TBM_GETPOS = WM_USER, TBM_GETRANGEMIN = WM_USER + 1, TBM_GETRANGEMAX = WM_USER + 2,
    TBM_GETTIC = WM_USER + 3, TBM_SETTIC = WM_USER + 4, TBM_SETPOS = WM_USER + 5,
    TBM_SETRANGE = WM_USER + 6, TBM_SETRANGEMIN = WM_USER + 7, TBM_SETRANGEMAX = WM_USER + 8,
    TBM_CLEARTICS = WM_USER + 9, TBM_SETSEL = WM_USER + 10, TBM_SETSELSTART = WM_USER + 11,
    TBM_SETSELEND = WM_USER + 12, TBM_GETTICPOS = WM_USER + 15, TBM_GETNUMTICS = WM_USER + 16,
    TBM_GETSELSTART = WM_USER + 17, TBM_GETSELEND = WM_USER + 18, TBM_CLEARSEL = WM_USER + 19,
    TBM_SETTICFREQ = WM_USER + 20, TBM_SETPAGESIZE = WM_USER + 21, TBM_GETPAGESIZE = WM_USER + 22,
    TBM_SETLINESIZE = WM_USER + 23, TBM_GETLINESIZE = WM_USER + 24, TBM_GETTHUMBRECT = WM_USER + 25,
    TBM_GETCHANNELRECT = WM_USER + 26,
};
enum : int {
    TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8,
};

// Up-down styles, messages and notification.
enum : DWORD {
    UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8,
    UDS_AUTOBUDDY = 0x10, UDS_ARROWKEYS = 0x20, UDS_HORZ = 0x40, UDS_NOTHOUSANDS = 0x80,
    UDS_HOTTRACK = 0x100,
};
enum : UINT {
    UDM_SETRANGE = WM_USER + 101, UDM_GETRANGE = WM_USER + 102, UDM_SETPOS = WM_USER + 103,
    UDM_GETPOS = WM_USER + 104, UDM_SETBUDDY = WM_USER + 105, UDM_GETBUDDY = WM_USER + 106,
    UDM_SETACCEL = WM_USER + 107, UDM_GETACCEL = WM_USER + 108,
    UDM_SETBASE = WM_USER + 109, UDM_GETBASE = WM_USER + 110, UDM_SETRANGE32 = WM_USER + 111,
    UDM_GETRANGE32 = WM_USER + 112, UDM_SETPOS32 = WM_USER + 113, UDM_GETPOS32 = WM_USER + 114,
};
enum : int { UDN_FIRST = -721, UDN_DELTAPOS = UDN_FIRST - 1 };
struct UDACCEL {
    UINT nSec = 0;  // seconds held before this step applies
    UINT nInc = 1;
};
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// ---------------------------------------------------------------------------
// TScrollBar

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
    VEL_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind v);
    Integer Min() const { return FMin; }
    void SetMin(Integer v) { SetParams(FPosition, v, FMax); }
    Integer Max() const { return FMax; }
    void SetMax(Integer v) { SetParams(FPosition, FMin, v); }
    Integer Position() const { return FPosition; }
    void SetPosition(Integer v) { SetParams(v, FMin, FMax); }
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer v);
    Integer SmallChange() const { return FSmallChange; }
    void SetSmallChange(Integer v) { FSmallChange = v; }
    Integer LargeChange() const { return FLargeChange; }
    void SetLargeChange(Integer v) { FLargeChange = v; }
    // Position within Min..Max; Max below Min raises EInvalidOperation.
    void SetParams(Integer APosition, Integer AMin, Integer AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);
    void DoScroll(TMessage& Message);
    void UpdateBar();

    TScrollBarKind FKind = sbHorizontal;
    Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    Integer FSmallChange = 1, FLargeChange = 1;
};

// ---------------------------------------------------------------------------
// TTrackBar

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
    VEL_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* AOwner);

    Integer Min() const { return FMin; }
    void SetMin(Integer v);
    Integer Max() const { return FMax; }
    void SetMax(Integer v);
    // Kept within Min..Max.
    Integer Position();
    void SetPosition(Integer v);
    Integer Frequency() const { return FFrequency; }
    void SetFrequency(Integer v);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation v);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark v);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle v);
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer v);
    Integer LineSize() const { return FLineSize; }
    void SetLineSize(Integer v);
    // A tick of its own (TickStyle tsManual).
    void SetTick(Integer Value);

    // The user moved the thumb (keyboard or mouse).
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Changed();

    Integer FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FPageSize = 2, FLineSize = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    std::vector<Integer> FTicks;
};

// ---------------------------------------------------------------------------
// TUpDown

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
    VEL_CLASS(TUpDown, TWinControl)
public:
    explicit TUpDown(TComponent* AOwner);
    ~TUpDown() override;

    // The control whose text shows the position (an edit), placed beside it.
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* v);
    Integer Min() const { return FMin; }
    void SetMin(Integer v);
    Integer Max() const { return FMax; }
    void SetMax(Integer v);
    Integer Position();
    void SetPosition(Integer v);
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer v) { FIncrement = v; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool v);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool v);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool v);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation v);
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton v);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    virtual bool CanChange();
    virtual void Click(TUDBtnType Button);

    TWinControl* FAssociate = nullptr;
    Integer FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    bool FWrap = false, FArrowKeys = true, FThousands = true;
    TUDOrientation FOrientation = udVertical;
    TUDAlignButton FAlignButton = udRight;
    Integer FLastDelta = 0;  // of the step last announced (UDN_DELTAPOS)
};
