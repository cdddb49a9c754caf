// The application object (message loop, key and hint handling), the screen,
// the mouse, and the hint window.
#include <algorithm>
#include <cstdio>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/Threads.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowManager.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;

void InitForms()
{
    if (Application) return;
    Screen = new TScreen(nullptr);
    Mouse = new TMouse;
    Application = new TApplication(nullptr);
    // The system's own window classes that programs create by name.
    RegisterButtonClasses();
    RegisterEditClass();
    RegisterTooltipClass();
}

void DoneForms()
{
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
    delete Mouse;
    Mouse = nullptr;
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    FTitle = ExtractFileName(ExecutablePath());
    auto dot = FTitle.rfind(L'.');
    if (dot != String::npos && dot > 0) FTitle.resize(dot);
    gHintMouseMessage = [](TControl* c, TMessage& m) {
        if (Application) Application->HintMouseMessage(c, m);
    };
    gControlDestroyed = [](TControl* c) {
        if (Application) Application->ControlDestroyed(c);
    };
    gHandleException = [](std::exception_ptr) {
        if (Application) Application->HandleException(nullptr);
    };
    WmSetPreDispatchHook([](MSG& m) { return Application && (Application->IsHintMsg(m) || Application->IsKeyMsg(m)); });
}

TApplication::~TApplication()
{
    Destroying();
    StopHintTimer();
    WmSetPreDispatchHook(nullptr);
    gHintMouseMessage = nullptr;
    gControlDestroyed = nullptr;
    gHandleException = nullptr;
    // Forms the application owns go first, while the globals still answer.
    DestroyComponents();
    FHintWindow = nullptr;
}

void TApplication::Initialize() {}

String TApplication::ExeName() const { return ExecutablePath(); }

void TApplication::HandleException(TObject* Sender)
{
    try {
        throw;
    } catch (const std::exception& e) {
        if (OnException) {
            OnException(Sender ? Sender : this, e);
            return;
        }
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unknown exception\n");
    }
}

bool TApplication::IsKeyMsg(MSG& Msg)
{
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
    HWND wnd = GetCapture();
    if (!wnd) {
        wnd = Msg.hwnd;
        // The nearest control of ours: other windows do not know CN_ messages.
        while (wnd && !TWinControl::FindControl(wnd)) wnd = ::GetParent(wnd);
        if (!wnd) wnd = Msg.hwnd;
    }
    return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsHintMsg(MSG& Msg)
{
    if (FHintActive) {
        switch (Msg.message) {
        case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_ACTIVATE:
        case WM_ACTIVATEAPP: case WM_MOUSEWHEEL:
            CancelHint();
            break;
        default: break;
        }
    }
    return false;
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (IsHintMsg(Msg) || IsKeyMsg(Msg)) return true;
    TranslateMessage(&Msg);
    DispatchMessage(&Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    if (GetCurrentThreadId() != MainThreadID) return;
    MSG msg;
    for (int guard = 0; guard < 100000 && ProcessMessage(msg); ++guard) {}
}

void TApplication::Idle()
{
    if (OnIdle) OnIdle(this);
    WaitMessage();
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run()
{
    FRunning = true;
    if (FMainForm && FShowMainForm) FMainForm->Show();
    while (!FTerminated) HandleMessage();
    FRunning = false;
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::DoActivate(bool Active)
{
    if (FActive == Active || ComponentState().Contains(csDestroying)) return;
    FActive = Active;
    if (Active) {
        if (OnActivate) OnActivate(this);
    } else {
        CancelHint();
        if (OnDeactivate) OnDeactivate(this);
    }
}

void TApplication::ControlDestroyed(TControl* c)
{
    if (c == FHintControl) {
        FHintControl = nullptr;
        HideHint();
        StopHintTimer();
    }
    if (c == FMouseControl) FMouseControl = nullptr;
    if (c == FHintWindow) FHintWindow = nullptr;
    if (c == FMainForm) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------
// Hints

void TApplication::SetShowHint(bool v)
{
    FShowHint = v;
    if (!v) CancelHint();
}

void TApplication::CALLBACK_HintTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (Application) Application->HintTimerExpired();
}

void TApplication::StartHintTimer(UINT ms, int kind)
{
    StopHintTimer();
    FHintTimerKind = kind;
    FHintTimer = SetTimer(nullptr, 0, ms, &TApplication::CALLBACK_HintTimer);
}

void TApplication::StopHintTimer()
{
    if (FHintTimer) KillTimer(nullptr, FHintTimer);
    FHintTimer = 0;
    FHintTimerKind = 0;
}

void TApplication::HintTimerExpired()
{
    int kind = FHintTimerKind;
    StopHintTimer();
    if (kind == 1) {
        TPoint p;
        GetCursorPos(&p);
        ActivateHint(p);
    } else if (kind == 2) {
        HideHint();
    }
}

namespace {
TControl* HintControlOf(TControl* c)
{
    while (c && !c->ShowHint()) c = c->Parent();
    return c;
}
}  // namespace

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message)
{
    FMouseControl = Control;
    TControl* target = HintControlOf(Control);
    TPoint screen;
    GetCursorPos(&screen);
    if (target == FHintControl && target) {
        if (FHintActive) {
            TPoint p = target->ScreenToClient(screen);
            if (!PtInRect(FHintCursorRect, p)) {
                HideHint();
                StartHintTimer(UINT(FHintPause), 1);
            }
        }
        return;
    }
    bool wasActive = FHintActive;
    HideHint();
    StopHintTimer();
    FHintControl = target;
    if (FHintControl && FShowHint && !GetShortHint(FHintControl->Hint()).empty())
        StartHintTimer(UINT(wasActive ? FHintShortPause : FHintPause), 1);
    (void)Message;
}

void TApplication::ActivateHint(TPoint CursorPos)
{
    if (!FHintControl || !FShowHint) return;
    THintInfo info;
    info.HintControl = FHintControl;
    info.HintPos = {CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 5 / 8};
    info.HintMaxWidth = Screen->Width();
    info.HintColor = FHintColor;
    info.CursorRect = FHintControl->ClientRect();
    info.CursorPos = FHintControl->ScreenToClient(CursorPos);
    info.HintStr = GetShortHint(FHintControl->Hint());
    info.HideTimeout = FHintHidePause;
    bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    FHintActive = canShow && !info.HintStr.empty();
    if (!FHintActive) {
        HideHint();
        return;
    }
    if (!FHintWindow) {
        FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    }
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    // Kept on the monitor under the cursor.
    MONITORINFO mi;
    GetMonitorInfo(::MonitorFromPoint(CursorPos, MONITOR_DEFAULTTONEAREST), &mi);
    if (r.Right > mi.rcWork.Right) OffsetRect(r, mi.rcWork.Right - r.Right, 0);
    if (r.Left < mi.rcWork.Left) OffsetRect(r, mi.rcWork.Left - r.Left, 0);
    if (r.Bottom > mi.rcWork.Bottom) OffsetRect(r, 0, CursorPos.Y - r.Height() - 2 - r.Top);
    FHintCursorRect = info.CursorRect;
    FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.HideTimeout > 0) StartHintTimer(UINT(info.HideTimeout), 2);
}

void TApplication::HideHint()
{
    FHintActive = false;
    if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
        ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

void TApplication::CancelHint()
{
    if (!FHintControl && !FHintActive && !FHintTimer) return;
    HideHint();
    StopHintTimer();
    FHintControl = nullptr;
}

// ---------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    FVisible = false;
    FColor = clInfoBk;
    FParentColor = false;
    FControlStyle.Exclude(csAcceptsControls);
}

void THintWindow::CreateParams(TCreateParams& P)
{
    TCustomControl::CreateParams(P);
    P.Style = WS_POPUP | WS_BORDER;
    P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    P.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
    P.WndParent = nullptr;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint, void*)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TRect r = Rect(0, 0, MaxWidth, 0);
    DrawText(dc, AHint.c_str(), int(AHint.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint)
{
    SetCaption(AHint);
    HandleNeeded();
    SetWindowPos(FHandle, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const String& AHint, void*) { ActivateHint(Rect, AHint); }

void THintWindow::Paint() {}

void THintWindow::PaintWindow(HDC DC)
{
    TRect r = ClientRect();
    ControlsFillBackground(this, DC, r);
    HGDIOBJ old = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(COLOR_INFOTEXT));
    InflateRect(r, -2, -1);
    String text = Caption();
    DrawText(DC, text.c_str(), int(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(DC, old);
    TCustomControl::PaintWindow(DC);
}

// ---------------------------------------------------------------------------
// TScreen and TMouse

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    gScreenCursor = [] { return Screen ? Screen->Cursor() : TCursor(crDefault); };
    gCursorHandle = [](TCursor c) { return Screen ? Screen->Cursors(c) : nullptr; };
}

TScreen::~TScreen()
{
    gScreenCursor = nullptr;
    gCursorHandle = nullptr;
}

Integer TScreen::Width() { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect()
{
    TRect r;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

Integer TScreen::MonitorCount() { return GetSystemMetrics(SM_CMONITORS); }

namespace {
TMonitor MonitorRecord(HMONITOR h)
{
    TMonitor m;
    MONITORINFO mi;
    if (!h || !GetMonitorInfo(h, &mi)) return m;
    m.Handle = h;
    m.MonitorNum = Integer(reinterpret_cast<uintptr_t>(h)) - 1;
    m.BoundsRect = mi.rcMonitor;
    m.WorkareaRect = mi.rcWork;
    m.Primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return m;
}
}  // namespace

TMonitor TScreen::Monitors(Integer Index)
{
    if (Index < 0 || Index >= MonitorCount()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    return MonitorRecord(reinterpret_cast<HMONITOR>(uintptr_t(Index) + 1));
}

TMonitor TScreen::MonitorFromPoint(TPoint p) { return MonitorRecord(::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)); }

TMonitor TScreen::MonitorFromWindow(HWND h) { return MonitorRecord(::MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST)); }

void TScreen::SetCursor(TCursor v)
{
    if (FCursor == v) return;
    FCursor = v;
    if (v != crDefault) {
        ::SetCursor(Cursors(v));
        return;
    }
    // Back to what the window under the mouse wants.
    TPoint p;
    GetCursorPos(&p);
    LRESULT hit;
    HWND h = WindowFromPoint(p);
    if (h) {
        hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p));
        SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(int(hit), WM_MOUSEMOVE));
    }
}

HCURSOR TScreen::Cursors(TCursor Index)
{
    auto it = FCursors.find(Index);
    if (it != FCursors.end()) return it->second;
    auto saved = std::move(gCursorHandle);
    gCursorHandle = nullptr;
    HCURSOR h = ControlsCursorHandle(Index);
    gCursorHandle = std::move(saved);
    return h;
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle)
{
    if (Handle)
        FCursors[Index] = Handle;
    else
        FCursors.erase(Index);
}

TFont* TScreen::MenuFont()
{
    if (!FMenuFont) {
        FMenuFont = std::make_unique<TFont>();
        LOGFONTW lf = MenuFontInfo();
        HFONT f = CreateFontIndirect(&lf);
        FMenuFont->SetHandle(f);
        DeleteObject(f);
    }
    return FMenuFont.get();
}

LOGFONTW TScreen::MenuFontInfo() const
{
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = 400;
    const wchar_t* face = L"Segoe UI";
    std::wcsncpy(lf.lfFaceName, face, 31);
    return lf;
}

TPoint TMouse::CursorPos() const
{
    TPoint p;
    GetCursorPos(&p);
    return p;
}

Integer TMouse::WheelScrollLines() const
{
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return Integer(lines);
}
