// TWinControl: the window handle's life, the children lists, the window
// procedure and message routing (graphic children get their mouse input
// through their parent), painting; and TCustomControl.
#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

std::function<void(std::exception_ptr)> gHandleException;

namespace {
thread_local TWinControl* tlCreationControl = nullptr;
}

TWinControl* FormOf(TControl* c, bool topForm)
{
    TWinControl* found = nullptr;
    TControl* x = c;
    while (x) {
        auto* w = dynamic_cast<TWinControl*>(x);
        if (w && w->IsFormRoot()) {
            found = w;
            if (!topForm) return found;
        }
        x = x->Parent();
    }
    return found;
}

TWinControl* FindControl(HWND Handle) { return TWinControl::FindControl(Handle); }

TWinControl* TWinControl::FindControl(HWND Handle)
{
    if (!Handle) return nullptr;
    return static_cast<TWinControl*>(WmGetControl(Handle));
}

LRESULT TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* c = static_cast<TWinControl*>(WmGetControl(hwnd));
    if (!c) {
        c = tlCreationControl;
        if (!c) return DefWindowProc(hwnd, msg, wParam, lParam);
        tlCreationControl = nullptr;
        c->FHandle = hwnd;
        WmSetControl(hwnd, c);
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        c->WindowProc ? c->WindowProc(m) : c->WndProc(m);
    } catch (...) {
        if (!gHandleException) throw;
        gHandleException(std::current_exception());
    }
    return m.Result;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FPadding.OnChange = [this] { Realign(); };
}

TWinControl* TWinControl::CreateParented(HWND ParentWindow)
{
    auto* c = new TWinControl(nullptr);
    c->SetParentWindow(ParentWindow);
    return c;
}

TWinControl::~TWinControl()
{
    Destroying();
    if (FParent) RemoveFocus(true);
    // Leave the parent while this is still a windowed control, so its tab
    // order forgets it too (TControl's destructor no longer can).
    if (FParent) FParent->RemoveControl(this);
    if (FHandle) DestroyWindowHandle();
    // Children go with their parent, the last one first.
    while (ControlCount() > 0) {
        TControl* c = Controls(ControlCount() - 1);
        RemoveControl(c);
        delete c;
    }
}

TControl* TWinControl::Controls(Integer Index) const
{
    if (Index < 0 || Index >= ControlCount()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    if (size_t(Index) < FControls.size()) return FControls[size_t(Index)];
    return FWinControls[size_t(Index) - FControls.size()];
}

void TWinControl::AddToLists(TControl* AControl, bool AtEnd)
{
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (AtEnd)
            FWinControls.push_back(w);
        else
            FWinControls.insert(FWinControls.begin(), w);
    } else {
        if (AtEnd)
            FControls.push_back(AControl);
        else
            FControls.insert(FControls.begin(), AControl);
    }
}

void TWinControl::RemoveFromLists(TControl* AControl)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), AControl), FWinControls.end());
}

void TWinControl::InsertControl(TControl* AControl)
{
    AddToLists(AControl, true);
    AControl->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(w);
    if (AControl->FParentColor) AControl->FColor = FColor;
    if (AControl->FParentFont) AControl->ParentFontChanged();
    if (AControl->FParentShowHint) AControl->FShowHint = FShowHint;
    AControl->UpdateAnchorRules();
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) w->UpdateControlState();
    else AControl->Invalidate();
    if (AControl->FAlign != alNone || !(AControl->FAnchors == TAnchors{akLeft, akTop})) Realign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    if (AControl->FParent != this) return;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        w->RemoveFocus(true);
        w->DestroyHandle();
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    } else if (HandleAllocated()) {
        AControl->InvalidateControl(AControl->FVisible, false);
    }
    if (gCaptureControlIs(AControl)) SetCaptureControl(nullptr);
    if (gMouseControl == AControl) gMouseControl = nullptr;
    RemoveFromLists(AControl);
    AControl->FParent = nullptr;
    if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control)
{
    while (Control && Control != this) Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls)
{
    auto hit = [&](TControl* c) {
        return c->FVisible && (AllowDisabled || c->FEnabled) && PtInRect(c->BoundsRect(), Pos);
    };
    if (AllowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hit(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hit(*it)) return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (Integer i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

// ---------------------------------------------------------------------------
// The handle

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND h)
{
    if (FParent || FParentWindow == h) return;
    if (FHandle && h) {
        ::SetParent(FHandle, h);
        FParentWindow = h;
    } else {
        DestroyHandle();
        FParentWindow = h;
    }
    UpdateControlState();
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent) return;
    if (AParent) FParentWindow = nullptr;
    TControl::SetParent(AParent);
}

void TWinControl::CreateParams(TCreateParams& P)
{
    P = TCreateParams{};
    P.Caption = FText;
    P.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        P.Style |= WS_CLIPCHILDREN;
        P.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!FEnabled) P.Style |= WS_DISABLED;
    if (FTabStop) P.Style |= WS_TABSTOP;
    P.X = FLeft;
    P.Y = FTop;
    P.Width = FWidth;
    P.Height = FHeight;
    P.WndParent = FParent ? FParent->Handle() : FParentWindow;
    P.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    P.WindowClass.lpfnWndProc = &DefWindowProc;
    P.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    P.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName)
{
    WNDCLASS wc;
    if (!GetClassInfo(nullptr, ControlClassName, &wc)) return;
    DWORD keep = Params.WindowClass.style & (CS_DBLCLKS);
    Params.WindowClass = wc;
    Params.WindowClass.style = (wc.style & ~DWORD(CS_DBLCLKS)) | keep;
}

void TWinControl::CreateWnd()
{
    TCreateParams P;
    CreateParams(P);
    if (P.WndParent == nullptr && (P.Style & WS_CHILD))
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    FDefWndProc = P.WindowClass.lpfnWndProc;
    WNDCLASS existing;
    bool registered = GetClassInfo(nullptr, P.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != &TWinControl::StdWndProc) {
        if (registered) UnregisterClass(P.WinClassName.c_str());
        WNDCLASS wc = P.WindowClass;
        wc.lpfnWndProc = &TWinControl::StdWndProc;
        wc.lpszClassName = P.WinClassName.c_str();
        RegisterClass(wc);
    }
    CreateWindowHandle(P);
    if (!FHandle) throw EOutOfResources(L"Error creating window");
    // A child window's id is its handle, so notifications that carry only
    // the id (WM_MEASUREITEM) find their control again.
    if ((GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtr(FHandle, GWL_ID) == 0)
        SetWindowLongPtr(FHandle, GWL_ID, LONG_PTR(reinterpret_cast<uintptr_t>(FHandle)));
    ::SendMessage(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
    if (!FParent && !(P.Style & WS_CHILD) && P.WndParent == nullptr) {
        // Top-level without an owner: fine as is.
    }
}

void TWinControl::CreateWindowHandle(const TCreateParams& P)
{
    TWinControl* saved = tlCreationControl;
    tlCreationControl = this;
    HWND h = CreateWindowEx(P.ExStyle, P.WinClassName.c_str(), P.Caption.c_str(), P.Style, P.X, P.Y,
                            P.Width, P.Height, P.WndParent, nullptr, nullptr, P.Param);
    tlCreationControl = saved;
    if (h) FHandle = h;
}

void TWinControl::CreateHandle()
{
    if (FHandle) return;
    CreateWnd();
    if (FParent && FHandle)
        SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
}

HWND TWinControl::PrecedingWindow(TWinControl* Control)
{
    auto it = std::find(FWinControls.begin(), FWinControls.end(), Control);
    if (it == FWinControls.end()) return HWND_TOP;
    for (++it; it != FWinControls.end(); ++it)
        if ((*it)->HandleAllocated()) return (*it)->FHandle;
    return HWND_TOP;
}

void TWinControl::SetZOrder(bool TopMost)
{
    if (!FHandle || !FParent) return;
    HWND after = TopMost ? HWND_TOP : HWND_BOTTOM;
    SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyWnd()
{
    FText = GetText();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    if (FHandle) ::DestroyWindow(FHandle);
    FControlState.Exclude(csDestroyingHandle);
    FHandle = nullptr;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    for (TWinControl* c : FWinControls) c->DestroyHandle();
    DestroyWnd();
    FShowing = false;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    FControlState.Include(csRecreating);
    DestroyHandle();
    UpdateControlState();
    if (!FHandle && (FParent || FParentWindow || IsFormRoot()) && FShowing == false && FVisible) HandleNeeded();
    FControlState.Exclude(csRecreating);
}

void TWinControl::UpdateShowing()
{
    bool show = FVisible && !FControlState.Contains(csReadingState);
    if (show) {
        if (!FHandle) CreateHandle();
        std::vector<TWinControl*> kids = FWinControls;
        for (TWinControl* c : kids) c->UpdateShowing();
    }
    if (FHandle && FShowing != show) {
        FShowing = show;
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            FShowing = !show;
            throw;
        }
    }
}

void TWinControl::UpdateControlState()
{
    TWinControl* c = this;
    while (c->FParent) {
        c = c->FParent;
        if (!c->FShowing) return;
    }
    if (c->IsFormRoot() || c->FParentWindow) UpdateShowing();
}

void TWinControl::ShowControl(bool Show)
{
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (Show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMShowingChanged(TMessage&) { ShowControl(FShowing); }

void TWinControl::UpdateBounds()
{
    if (!FHandle) return;
    TRect r;
    GetWindowRect(FHandle, &r);
    if (HWND p = ::GetParent(FHandle); p && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) {
        TPoint tl = r.TopLeft();
        ::ScreenToClient(p, &tl);
        r = Bounds(tl.X, tl.Y, r.Width(), r.Height());
    }
    if (r.Left != FLeft || r.Top != FTop || r.Width() != FWidth || r.Height() != FHeight) {
        FLeft = r.Left;
        FTop = r.Top;
        FWidth = r.Width();
        FHeight = r.Height();
        if (!FParent || !FParent->ControlState().Contains(csAligning)) UpdateAnchorRules();
    }
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    ConstrainedResize(AWidth, AHeight);
    if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
    }
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        bool sized = AWidth != FWidth || AHeight != FHeight;
        FLeft = ALeft;
        FTop = ATop;
        FWidth = AWidth;
        FHeight = AHeight;
        if (sized) {
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
        }
    }
    if (!FParent || !FParent->ControlState().Contains(csAligning)) UpdateAnchorRules();
    RequestAlign();
}

TRect TWinControl::ClientRect()
{
    if (FHandle) {
        TRect r;
        GetClientRect(FHandle, &r);
        return r;
    }
    if (!FParent) {
        // A top-level control before its window exists: the frame its window
        // will have (caption, border, edge) is not client area, so a client
        // size set now is the one the window shows.
        TCreateParams P;
        CreateParams(P);
        TRect frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, P.Style, FALSE, P.ExStyle);
        return Rect(0, 0, std::max(0, FWidth - frame.Width()), std::max(0, FHeight - frame.Height()));
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin()
{
    if (FHandle) {
        TPoint p{0, 0};
        ::ClientToScreen(FHandle, &p);
        return p;
    }
    return TControl::ClientOrigin();
}

bool TWinControl::IsVisibleDeep()
{
    if (FHandle) return IsWindowVisible(FHandle) != 0;
    return TControl::IsVisibleDeep();
}

void TWinControl::Invalidate()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::InvalidateControl(bool IsVisible, bool IsOpaque) { TControl::InvalidateControl(IsVisible, IsOpaque); }

void TWinControl::Update()
{
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

// ---------------------------------------------------------------------------
// Messages

void TWinControl::DefaultHandler(TMessage& M)
{
    if (FHandle) {
        M.Result = CallWindowProc(FDefWndProc ? FDefWndProc : &DefWindowProc, FHandle, M.Msg, M.WParam, M.LParam);
        return;
    }
    TControl::DefaultHandler(M);
}

bool TWinControl::IsControlMouseMsg(TMessage& M)
{
    TControl* c = nullptr;
    TControl* cap = GetCaptureControl();
    if (cap && cap->Parent() == this && !dynamic_cast<TWinControl*>(cap))
        c = cap;
    else if (!cap)
        c = ControlAtPos(M.Pos(), false);
    if (!c) return false;
    TPoint p = M.Pos();
    p.X -= c->Left();
    p.Y -= c->Top();
    M.Result = c->Perform(M.Msg, M.WParam, PointToLParam(p));
    return true;
}

namespace {
void MouseEnterLeave(TControl* now)
{
    if (gMouseControl == now) return;
    TControl* old = gMouseControl;
    gMouseControl = now;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (now && gMouseControl == now) now->Perform(CM_MOUSEENTER);
}
}  // namespace

void TWinControl::WndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFOCUS:
        break;
    case WM_MOUSEMOVE: {
        TControl* under = ControlAtPos(M.Pos(), false);
        if (GetCaptureControl() && GetCaptureControl() != this && GetCaptureControl()->Parent() == this)
            under = GetCaptureControl();
        MouseEnterLeave(under ? under : this);
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = FHandle;
        if (FHandle) TrackMouseEvent(&tme);
        if (IsControlMouseMsg(M)) return;
        break;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(M)) {
            // A right click on a graphic child still asks this window for
            // its context menu (the child's popup menu is found by point).
            if (M.Msg == WM_RBUTTONUP && M.Result == 0 && FHandle)
                DefWindowProc(FHandle, M.Msg, M.WParam, M.LParam);
            return;
        }
        break;
    default: break;
    }
    TControl::WndProc(M);
}

void TWinControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PAINT: WMPaint(M); return;
    // Posted by a control whose paint changed its bounds: the window manager
    // validates a window after its WM_PAINT, so the repaint is asked for later.
    case CM_INVALIDATE: Invalidate(); return;
    case WM_ERASEBKGND: WMEraseBkgnd(M); return;
    case WM_SIZE: WMSize(M); return;
    case WM_MOVE: WMMove(M); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(M); return;
    case WM_SETFOCUS: WMSetFocus(M); return;
    case WM_KILLFOCUS: WMKillFocus(M); return;
    case WM_KEYDOWN: WMKeyDown(M); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(M); return;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(M); return;
    case WM_CHAR: WMChar(M); return;
    case WM_SETCURSOR: WMSetCursor(M); return;
    case WM_NCDESTROY: WMNCDestroy(M); return;
    case WM_NCCALCSIZE: WMNCCalcSize(M); return;
    case WM_NCPAINT: WMNCPaint(M); return;
    case WM_MOUSEWHEEL: WMMouseWheel(M); return;
    case WM_MOUSELEAVE: WMMouseLeave(M); return;
    case WM_COMMAND: WMCommand(M); return;
    case WM_NOTIFY: WMNotify(M); return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // A bar control's notification goes back to it (CN_HSCROLL/CN_VSCROLL).
        if (M.LParam)
            if (TWinControl* c = FindControl(reinterpret_cast<HWND>(M.LParam)); c && c != this) {
                M.Result = c->Perform(CN_BASE + M.Msg, M.WParam, M.LParam);
                return;
            }
        break;
    case WM_DRAWITEM: case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        if (!ReflectToControl(M)) DefaultHandler(M);
        return;
    case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(M); return;
    case CN_CHAR: CNChar(M); return;
    case CN_SYSCHAR: CNSysChar(M); return;
    case CM_ENTER: CMEnter(M); return;
    case CM_EXIT: CMExit(M); return;
    case CM_DIALOGKEY: CMDialogKey(M); return;
    case WM_CONTEXTMENU:
        if (DoControlContextMenu(this, LParamToPoint(M.LParam))) {
            M.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR: CMDialogChar(M); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(M); return;
    case CM_FOCUSCHANGED: CMFocusChanged(M); return;
    case CM_FONTCHANGED:
        // The window's own procedure draws with the font it was given.
        if (FHandle) ::SendMessage(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
        Invalidate();
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();  // a change of our own font notifies the children
        return;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(M);
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    default: break;
    }
    TControl::Dispatch(M);
}

void TWinControl::WMCommand(TMessage& M)
{
    // Notifications go back to the control that sent them (CN_COMMAND).
    if (M.LParam) {
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(M.LParam)); c && c != this) {
            M.Result = c->Perform(CN_COMMAND, M.WParam, M.LParam);
            return;
        }
    }
    DefaultHandler(M);
}

bool TWinControl::ReflectToControl(TMessage& M)
{
    // Owner-draw and colour requests go back to the control that sent them
    // (CN_DRAWITEM, CN_CTLCOLORLISTBOX ...). Menus draw through their owner.
    HWND from = nullptr;
    switch (M.Msg) {
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
        if (d && d->CtlType != ODT_MENU) from = d->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
        if (mi && mi->CtlType != ODT_MENU) from = reinterpret_cast<HWND>(uintptr_t(mi->CtlID));
        break;
    }
    default: from = reinterpret_cast<HWND>(M.LParam); break;  // WM_CTLCOLOR*
    }
    TWinControl* c = from ? FindControl(from) : nullptr;
    if (!c || c == this) return false;
    M.Result = c->Perform(CN_BASE + M.Msg, M.WParam, M.LParam);
    return true;
}

void TWinControl::WMNotify(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    if (hdr) {
        if (TWinControl* c = FindControl(hdr->hwndFrom); c && c != this) {
            M.Result = c->Perform(CN_NOTIFY, M.WParam, M.LParam);
            return;
        }
    }
    DefaultHandler(M);
}

void TWinControl::WMSize(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& M)
{
    DefaultHandler(M);
    UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
}

void TWinControl::WMNCDestroy(TMessage& M)
{
    DefaultHandler(M);
    if (FHandle) WmSetControl(FHandle, nullptr);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::WMSetCursor(TMessage& M)
{
    if (reinterpret_cast<HWND>(M.WParam) == FHandle && LOWORD(uintptr_t(M.LParam)) == HTCLIENT) {
        TCursor cur = ControlsScreenCursor();
        if (cur == crDefault) {
            TPoint p;
            GetCursorPos(&p);
            p = ScreenToClient(p);
            TControl* c = ControlAtPos(p, false);
            cur = (c && c->Cursor() != crDefault) ? c->Cursor() : FCursor;
        }
        if (cur != crDefault) {
            ::SetCursor(ControlsCursorHandle(cur));
            M.Result = 1;
            return;
        }
    }
    DefaultHandler(M);
}

void TWinControl::WMMouseWheel(TMessage& M)
{
    // The control with the keyboard, then its parents, may take the wheel.
    TControl* c = this;
    while (c) {
        if (c->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam)) {
            M.Result = 1;
            return;
        }
        c = c->Parent();
    }
    DefaultHandler(M);
}

void TWinControl::WMMouseLeave(TMessage& M)
{
    if (gMouseControl && (gMouseControl == this || gMouseControl->Parent() == this)) MouseEnterLeave(nullptr);
    DefaultHandler(M);
}

void TWinControl::CMEnabledChanged(TMessage& M)
{
    if (!FEnabled && FParent) RemoveFocus(false);
    if (FHandle) EnableWindow(FHandle, FEnabled ? TRUE : FALSE);
    TControl::CMEnabledChanged(M);
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (!FVisible && FParent) RemoveFocus(false);
    UpdateControlState();
}

void TWinControl::CMTextChanged(TMessage&) { Invalidate(); }

void TWinControl::CMColorChanged(TMessage& M)
{
    TControl::CMColorChanged(M);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

// ---------------------------------------------------------------------------
// Painting

void TWinControl::WMEraseBkgnd(TMessage& M)
{
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    if (dc && !FControlStyle.Contains(csOpaque)) PaintBackground(dc, ClientRect());
    M.Result = 1;
}

void TWinControl::WMPaint(TMessage& M) { PaintHandler(M); }

void TWinControl::PaintWindow(HDC DC)
{
    // Plain windows have nothing of their own to draw; a standard control's
    // class procedure paints on the DC it is given.
    if (!FDefWndProc || FDefWndProc == &DefWindowProc) return;
    TMessage m{WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(DC)), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& M)
{
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    if (dc) {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    ControlsPaintHandler(this, M);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    auto it = FControls.begin();
    if (First) it = std::find(FControls.begin(), FControls.end(), First);
    std::vector<TControl*> list(it, FControls.end());
    for (TControl* c : list) {
        if (!c->FVisible || c->Width() <= 0 || c->Height() <= 0) continue;
        ControlsPaintGraphic(this, c, DC);
    }
}

void TWinControl::PaintBackground(HDC DC, const TRect& r) { ControlsFillBackground(this, DC, r); }

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
}

TCustomControl::~TCustomControl() { DestroyControlCanvas(FCanvas); }

TCanvas* TCustomControl::Canvas()
{
    if (!FCanvas) FCanvas = MakeControlCanvas(this);
    return FCanvas;
}

void TCustomControl::PaintWindow(HDC DC)
{
    BindControlCanvas(Canvas(), DC);
    try {
        Paint();
    } catch (...) {
        BindControlCanvas(FCanvas, nullptr);
        throw;
    }
    BindControlCanvas(FCanvas, nullptr);
}
