// Forms: showing, closing, modal loops, activation and the focus chain of
// the controls they hold; scrolling controls.
#include "platform/ui/Forms.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowManager.h"

TCustomForm* GetParentForm(TControl* Control, bool TopForm)
{
    return static_cast<TCustomForm*>(FormOf(Control, TopForm));
}

// ---------------------------------------------------------------------------
// Scrolling controls

Integer TControlScrollBar::ControlSize()
{
    TRect c = FControl->ClientRect();
    return FKind == sbHorizontal ? c.Width() : c.Height();
}

bool TControlScrollBar::IsScrollBarVisible()
{
    return FVisible && FRange > ControlSize();
}

void TControlScrollBar::SetPosition(Integer v)
{
    v = std::clamp(v, 0, std::max(0, FRange - ControlSize()));
    if (v == FPosition) return;
    Integer old = FPosition;
    FPosition = v;
    if (FKind == sbHorizontal)
        FControl->ScrollBy(old - v, 0);
    else
        FControl->ScrollBy(0, old - v);
    if (FControl->HandleAllocated())
        SetScrollPos(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, FPosition, TRUE);
}

void TControlScrollBar::SetRange(Integer v)
{
    FRange = std::max(0, v);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v)
{
    FVisible = v;
    FControl->UpdateScrollBars();
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), FHorz(this, sbHorizontal), FVert(this, sbVertical)
{
    FControlStyle.Include(csAcceptsControls);
}

void TScrollingWinControl::SetAutoScroll(bool v)
{
    if (FAutoScroll == v) return;
    FAutoScroll = v;
    if (!v) {
        FHorz.FRange = 0;
        FVert.FRange = 0;
    }
    UpdateScrollBars();
}

void TScrollingWinControl::CreateParams(TCreateParams& P) { TWinControl::CreateParams(P); }

void TScrollingWinControl::ScrollBy(Integer dx, Integer dy)
{
    if (dx == 0 && dy == 0) return;
    DisableAlign();
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() != alNone) continue;
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    Invalidate();
}

void TScrollingWinControl::CalcAutoRange()
{
    if (!FAutoScroll) return;
    Integer right = 0, bottom = 0;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        right = std::max(right, c->Left() + c->Width() + FHorz.ScrollPos());
        bottom = std::max(bottom, c->Top() + c->Height() + FVert.ScrollPos());
    }
    FHorz.FRange = right > 0 ? right + FHorz.FMargin : 0;
    FVert.FRange = bottom > 0 ? bottom + FVert.FMargin : 0;
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdatingScrollBars || !FHandle) return;
    FUpdatingScrollBars = true;
    // Showing one bar narrows the client area, which may call for the
    // other: settle both.
    for (int round = 0; round < 3; ++round) {
        bool changed = false;
        for (TControlScrollBar* b : {&FVert, &FHorz}) {
            int bar = b->FKind == sbHorizontal ? SB_HORZ : SB_VERT;
            bool show = b->IsScrollBarVisible();
            bool shown = (GetWindowLong(FHandle, GWL_STYLE) & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
            if (show != shown) {
                ShowScrollBar(FHandle, bar, show ? TRUE : FALSE);
                changed = true;
            }
            if (show) {
                // The page is one more than the visible size, so the last
                // position shows the end of the range exactly.
                SCROLLINFO si;
                si.fMask = SIF_ALL;
                si.nMin = 0;
                si.nMax = b->FRange;
                si.nPage = UINT(b->ControlSize() + 1);
                si.nPos = b->FPosition;
                SetScrollInfo(FHandle, bar, &si, TRUE);
                Integer limit = std::max(0, b->FRange - b->ControlSize());
                if (b->FPosition > limit) b->SetPosition(limit);
            } else if (b->FPosition != 0) {
                b->SetPosition(0);
            }
        }
        if (!changed) break;
    }
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    CalcAutoRange();
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (!AControl || AControl == this || !AControl->Parent() || !ContainsControl(AControl->Parent())) return;
    if (!HandleAllocated()) return;
    // The control's rectangle in our client area, with the margins.
    TPoint origin = ScreenToClient(AControl->Parent()->ClientToScreen(AControl->BoundsRect().TopLeft()));
    TRect r = Bounds(origin.X - FHorz.FMargin, origin.Y - FVert.FMargin, AControl->Width() + 2 * FHorz.FMargin,
                     AControl->Height() + 2 * FVert.FMargin);
    TRect c = ClientRect();
    // A control larger than the view shows its top left part.
    if (r.Left < 0)
        FHorz.SetPosition(FHorz.FPosition + r.Left);
    else if (r.Right > c.Width())
        FHorz.SetPosition(FHorz.FPosition + std::min(r.Right - c.Width(), r.Left));
    if (r.Top < 0)
        FVert.SetPosition(FVert.FPosition + r.Top);
    else if (r.Bottom > c.Height())
        FVert.SetPosition(FVert.FPosition + std::min(r.Bottom - c.Height(), r.Top));
}

void TScrollingWinControl::ScrollMessage(TMessage& M, TControlScrollBar& B)
{
    Integer page = B.ControlSize();
    Integer pos = B.FPosition;
    switch (int(M.WParamLo())) {
    case SB_LINEUP: pos -= B.FIncrement; break;
    case SB_LINEDOWN: pos += B.FIncrement; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: {
        // The message carries 16 bits; the bar keeps the whole position.
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        if (HandleAllocated() &&
            GetScrollInfo(FHandle, B.FKind == sbHorizontal ? SB_HORZ : SB_VERT, &si))
            pos = si.nTrackPos;
        else
            pos = Integer(SHORT(M.WParamHi()));
        break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = B.FRange; break;
    default: return;
    }
    B.SetPosition(pos);
    M.Result = 0;
}

void TScrollingWinControl::Dispatch(TMessage& M)
{
    if (M.Msg == WM_HSCROLL && M.LParam == 0) {
        ScrollMessage(M, FHorz);
        return;
    }
    if (M.Msg == WM_VSCROLL && M.LParam == 0) {
        ScrollMessage(M, FVert);
        return;
    }
    TWinControl::Dispatch(M);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
}

void TScrollBox::SetBorderStyle(TFormBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& P)
{
    TScrollingWinControl::CreateParams(P);
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
}

// ---------------------------------------------------------------------------
// Forms

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    InitForms();
    FComponentState.Include(csLoading);
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FWidth = 320;
    FHeight = 240;
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    Screen->FForms.push_back(this);
}

TCustomForm* TCustomForm::CreateNew(TComponent* AOwner)
{
    auto* f = new TCustomForm(AOwner);
    f->Init();
    return f;
}

void TCustomForm::Init()
{
    if (FInitDone) return;
    FInitDone = true;
    // The children were created and configured while the form was loading;
    // now they settle (their Loaded), the layout runs once, and the form
    // tells its creator it is ready.
    for (Integer i = 0; i < ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TControl*>(Components(i)))
            if (c->ComponentState().Contains(csLoading)) c->Loaded();
    Loaded();
    if (OnCreate) OnCreate(this);
    if (FVisible) {
        FVisible = false;
        SetVisible(true);
    }
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (FInitDone && OnDestroy) OnDestroy(this);
    if (Screen) {
        auto& f = Screen->FForms;
        f.erase(std::remove(f.begin(), f.end(), this), f.end());
        if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
        if (Screen->FFocusedForm == this) Screen->FFocusedForm = nullptr;
        if (Screen->FActiveControl && ContainsControl(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
    }
    if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
    if (FHandle) DestroyHandle();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    if (FBorderIcons == v) return;
    FBorderIcons = v;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v)
{
    if (FFormStyle == v) return;
    FFormStyle = v;
    if (FHandle)
        SetWindowPos(FHandle, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState v)
{
    FWindowState = v;
    if (FHandle && FShowing)
        ShowWindow(FHandle, v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetAlphaBlend(bool v)
{
    if (FAlphaBlend == v) return;
    FAlphaBlend = v;
    if (!FHandle) return;
    LONG ex = GetWindowLong(FHandle, GWL_EXSTYLE);
    SetWindowLong(FHandle, GWL_EXSTYLE, v ? (ex | LONG(WS_EX_LAYERED)) : (ex & ~LONG(WS_EX_LAYERED)));
    if (v) SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
}

void TCustomForm::SetAlphaBlendValue(Byte v)
{
    FAlphaBlendValue = v;
    if (FHandle && FAlphaBlend) SetLayeredWindowAttributes(FHandle, 0, v, LWA_ALPHA);
}

void TCustomForm::CreateParams(TCreateParams& P)
{
    TScrollingWinControl::CreateParams(P);
    P.WindowClass.style |= CS_DBLCLKS;
    if (FParent) return;
    P.Style &= ~DWORD(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_CLIPSIBLINGS);
    P.Style |= WS_CLIPCHILDREN;
    P.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
    if (FPopupParent)
        P.WndParent = FPopupParent;
    else if (Application && Application->MainForm() && Application->MainForm() != this &&
             Application->MainForm()->HandleAllocated())
        P.WndParent = Application->MainForm()->Handle();
    else
        P.WndParent = nullptr;
    switch (FBorderStyle) {
    case bsNone: P.Style |= WS_POPUP; break;
    case bsSingle: P.Style |= WS_CAPTION | WS_BORDER; break;
    case bsToolWindow: P.Style |= WS_CAPTION | WS_BORDER; P.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsSizeToolWin: P.Style |= WS_CAPTION | WS_THICKFRAME; P.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsDialog:
        P.Style |= WS_POPUP | WS_CAPTION;
        P.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu)) P.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize)) P.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize) && FBorderStyle == bsSizeable) P.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
    if (FAlphaBlend) P.ExStyle |= WS_EX_LAYERED;
}

void TCustomForm::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    if (FAlphaBlend) SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
    if (FMenu && FHandle && !FParent) ::SetMenu(FHandle, FMenu->Handle());
}

void TCustomForm::DestroyWindowHandle()
{
    // The menu's handle belongs to the menu: the window must not take it
    // along when it goes.
    if (FHandle)
        if (TWnd* w = WndOf(FHandle)) w->menu = nullptr;
    TScrollingWinControl::DestroyWindowHandle();
}

TRect TCustomForm::ClientRect()
{
    TRect r = TScrollingWinControl::ClientRect();
    if (!FHandle && !FParent && FMenu) r.Bottom = std::max(0, r.Bottom - GetSystemMetrics(SM_CYMENU));
    return r;
}

void TCustomForm::SetMenu(TMainMenu* v)
{
    if (v == FMenu) return;
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = v;
    if (v) {
        v->FreeNotification(this);
        v->SetForm(this);
    }
    if (FHandle && !FParent) ::SetMenu(FHandle, v ? v->Handle() : nullptr);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr;
        if (FHandle && !FParent) ::SetMenu(FHandle, nullptr);
    }
}

bool TCustomForm::MenuMessage(TMessage& M)
{
    if (!FMenu) return false;
    switch (M.Msg) {
    case WM_COMMAND:
        // A menu's command: no control sent it.
        return M.LParam == 0 && HIWORD(M.WParam) == 0 && FMenu->DispatchCommand(LOWORD(M.WParam));
    case WM_INITMENUPOPUP: return FMenu->DispatchPopup(reinterpret_cast<HMENU>(M.WParam));
    case WM_MEASUREITEM: case WM_DRAWITEM: return PopupList()->HandleMenuMessage(M, {FMenu});
    case WM_EXITMENULOOP:
        FMenu->Handle();  // changes made while the bar was open
        return false;
    default: return false;
    }
}

void TCustomForm::SetVisible(bool v)
{
    if (FVisible == v) return;
    if (!v && FModal) {
        // Hiding a modal form ends its loop.
        if (FModalResult == mrNone) FModalResult = mrCancel;
    }
    TScrollingWinControl::SetVisible(v);
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (FHandle) {
        if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
        SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

void TCustomForm::PlaceOnShow()
{
    if (FPlaced || FParent) return;
    FPlaced = true;
    auto center = [&](const TRect& r) {
        SetBounds(r.Left + (r.Width() - FWidth) / 2, r.Top + (r.Height() - FHeight) / 2, FWidth, FHeight);
    };
    switch (FPosition) {
    case poScreenCenter: {
        TMonitor m = Screen->Monitors(0);
        center(m.BoundsRect);
        break;
    }
    case poDesktopCenter:
        center(Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      Screen->DesktopWidth(), Screen->DesktopHeight()));
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* ref = nullptr;
        if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
        if (!ref && Application) ref = Application->MainForm();
        if (ref && ref != this)
            center(ref->BoundsRect());
        else
            center(Screen->Monitors(0).BoundsRect);
        break;
    }
    default: break;
    }
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::CMShowingChanged(TMessage&)
{
    if (FShowing) {
        DoShow();
        PlaceOnShow();
        int cmd = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                  : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOWNORMAL;
        ShowWindow(FHandle, cmd);
    } else {
        DoHide();
        if (Screen && Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
        ShowWindow(FHandle, SW_HIDE);
    }
}

TModalResult TCustomForm::ShowModal()
{
    if (FVisible || !FEnabled || FModal) throw EInvalidOperation(L"Cannot make a visible window modal");
    if (HWND cap = GetCapture()) {
        SendMessage(cap, WM_CANCELMODE);
        ReleaseCapture();
    }
    Application->CancelHint();
    HWND before = GetActiveWindow();
    FModal = true;
    FModalResult = mrNone;
    HandleNeeded();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), [&](HWND h) {
        if (h != FHandle && IsWindowVisible(h) && IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
        return true;
    });
    auto restore = [&] {
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        FModal = false;
    };
    try {
        Show();
        for (;;) {
            if (FModalResult == mrNone && !Application->Terminated()) Application->HandleMessage();
            if (Application->Terminated()) FModalResult = mrCancel;
            if (FModalResult != mrNone) {
                TCloseAction action = CloseQuery() ? caHide : caNone;
                if (Application->Terminated()) action = caHide;
                DoClose(action);
                if (action == caNone) {
                    FModalResult = mrNone;
                    continue;
                }
                break;
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    TModalResult result = FModalResult;
    restore();
    if (before && IsWindow(before)) SetActiveWindow(before);
    FModal = true;  // hiding a form that ends its modal state keeps the result
    Hide();
    FModal = false;
    return result;
}

bool TCustomForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release()
{
    // Freed once the messages already queued for it have run.
    PostMessage(Handle(), CM_RELEASE);
}

void TCustomForm::SetActiveControl(TWinControl* Control)
{
    if (FActiveControl == Control) return;
    if (Control && !ComponentState().Contains(csLoading) &&
        (Control == this || GetParentForm(Control) != this || (FShowing && !Control->CanFocus())))
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (FActive && Control && FShowing) SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    if (!FHandle) return;
    if (FActiveControl && FActiveControl->CanFocus())
        ::SetFocus(FActiveControl->Handle());
    else
        ::SetFocus(FHandle);
}

void TCustomForm::SetFocus()
{
    if (!FVisible || !FEnabled) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    if (!Control || !Control->CanFocus()) return;
    FActiveControl = Control;
    if (FHandle || FShowing) ::SetFocus(Control->Handle());
}

namespace {
bool SendFocusMessage(TWinControl* c, UINT msg)
{
    HWND before = GetFocus();
    c->Perform(msg);
    return GetFocus() == before;
}
}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
    if (Control->ControlState().Contains(csFocusing)) return false;
    FActiveControl = Control != this ? Control : nullptr;
    Screen->FActiveControl = Control;
    Screen->FActiveForm = this;
    Control->ControlState().Include(csFocusing);
    bool ok = true;
    if (Screen->FFocusedForm != this) {
        if (TCustomForm* old = Screen->FFocusedForm) {
            Screen->FFocusedForm = nullptr;
            ok = SendFocusMessage(old, CM_DEACTIVATE);
        }
        if (ok) {
            Screen->FFocusedForm = this;
            ok = SendFocusMessage(this, CM_ACTIVATE);
        }
    }
    if (ok) {
        if (!FFocusedControl) FFocusedControl = this;
        if (FFocusedControl != Control) {
            while (ok && FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
                TWinControl* leaving = FFocusedControl;
                FFocusedControl = FFocusedControl->Parent();
                ok = SendFocusMessage(leaving, CM_EXIT);
            }
            while (ok && FFocusedControl && FFocusedControl != Control) {
                TWinControl* t = Control;
                while (t->Parent() != FFocusedControl) t = t->Parent();
                FFocusedControl = t;
                ok = SendFocusMessage(t, CM_ENTER);
            }
            if (ok) {
                for (TWinControl* p = Control->Parent(); p; p = p->Parent())
                    if (auto* s = dynamic_cast<TScrollingWinControl*>(p)) s->ScrollInView(Control);
                Perform(CM_FOCUSCHANGED, 0, LPARAM(reinterpret_cast<intptr_t>(Control)));
            }
        }
    }
    Control->ControlState().Exclude(csFocusing);
    if (ok && Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
    return ok;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing)
{
    if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (FActiveControl && Control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        HWND f = GetFocus();
        if (f && Control->HandleAllocated() && (f == Control->Handle() || IsChild(Control->Handle(), f)) &&
            FHandle && !ComponentState().Contains(csDestroying))
            ::SetFocus(FHandle);
    }
    if (Screen && Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl))
        Screen->FActiveControl = nullptr;
}

void TCustomForm::Activate()
{
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& M)
{
    DefaultHandler(M);
    bool active = M.WParamLo() != WA_INACTIVE;
    if (FActive == active) return;
    FActive = active;
    if (active) {
        Screen->FActiveForm = this;
        if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
        SetWindowFocus();
        Activate();
        if (Screen->OnActiveFormChange) Screen->OnActiveFormChange(Screen);
    } else {
        Deactivate();
    }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMGetMinMaxInfo(TMessage& M)
{
    DefaultHandler(M);
    auto* mmi = reinterpret_cast<MINMAXINFO*>(M.LParam);
    if (!mmi) return;
    if (FConstraints.MinWidth > 0) mmi->ptMinTrackSize.X = FConstraints.MinWidth;
    if (FConstraints.MinHeight > 0) mmi->ptMinTrackSize.Y = FConstraints.MinHeight;
    if (FConstraints.MaxWidth > 0) mmi->ptMaxTrackSize.X = FConstraints.MaxWidth;
    if (FConstraints.MaxHeight > 0) mmi->ptMaxTrackSize.Y = FConstraints.MaxHeight;
}

void TCustomForm::CMDialogKey(TMessage& M)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (M.CharCode()) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                M.Result = 1;
                return;
            }
            break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl,
                                                     M.CharCode() == VK_RIGHT || M.CharCode() == VK_DOWN, false);
                M.Result = 1;
            }
            return;
        default: break;
        }
    }
    TScrollingWinControl::CMDialogKey(M);
}

void TCustomForm::Dispatch(TMessage& M)
{
    if (MenuMessage(M)) return;
    switch (M.Msg) {
    case WM_ACTIVATE: WMActivate(M); return;
    case WM_CLOSE: WMClose(M); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(M); return;
    case WM_SIZE:
        // The caption buttons and the desktop change the state too; a
        // hidden window's sizes (while it is made) say nothing about it.
        if (FHandle && IsWindowVisible(FHandle)) {
            if (M.WParam == SIZE_MINIMIZED) FWindowState = wsMinimized;
            else if (M.WParam == SIZE_MAXIMIZED) FWindowState = wsMaximized;
            else if (M.WParam == SIZE_RESTORED) FWindowState = wsNormal;
        }
        break;
    case WM_ACTIVATEAPP:
        DefaultHandler(M);
        if (Application) Application->DoActivate(M.WParam != 0);
        return;
    case CM_RELEASE:
        delete this;
        return;
    case CM_CANCELMODE:
        if (Application) Application->CancelHint();
        return;
    case WM_NEXTDLGCTL: {
        // lParam's low word set: wParam is the window to focus; else wParam
        // zero moves to the next tab stop and non-zero to the previous one.
        TWinControl* target = nullptr;
        if (LOWORD(M.LParam)) {
            target = FindControl(reinterpret_cast<HWND>(M.WParam));
        } else {
            TWinControl* cur = FindControl(::GetFocus());
            target = FindNextControl(cur && ContainsControl(cur) ? cur : nullptr, M.WParam == 0, true, false);
        }
        if (target && target->CanFocus()) target->SetFocus();
        M.Result = 0;
        return;
    }
    default: break;
    }
    TScrollingWinControl::Dispatch(M);
}
