// The drop-down window and the edit's side of its life: opening, sizing,
// placing, closing, deactivation, key and wheel forwarding.
#include <algorithm>

#include "controls/dropdown/DropDownForm.h"
#include "controls/dropdown/VodDropDown.h"
#include "platform/base/Threads.h"
#include "platform/gfx/Gdi.h"

// ---------------------------------------------------------------------------
// TDropDownForm

TDropDownForm::TDropDownForm(TComponent* AOwner, TVodCustomDropDown* Edit) : TForm(AOwner), FVodDropDown(Edit)
{
    SetBorderStyle(bsNone);
    SetBorderIcons(TBorderIcons{});
    SetDoubleBuffered(true);
    SetAutoScroll(false);
    Init();
}

TDropDownForm::~TDropDownForm()
{
    if (FVodDropDown) FVodDropDown->DropDownFormDestroyed();
}

void TDropDownForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
    if (FShadow) Params.WindowClass.style |= CS_DROPSHADOW;
    // The edit's form owns the window, so it stays above that form.
    if (FVodDropDown)
        if (TCustomForm* f = GetParentForm(FVodDropDown); f && f != this) Params.WndParent = f->Handle();
}

void TDropDownForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FHeader) FHeader = nullptr;
    if (AComponent == FFooter) FFooter = nullptr;
    if (AComponent == FScrollBox) FScrollBox = nullptr;
}

void TDropDownForm::AdjustClientRect(TRect& Rect)
{
    Rect = ClientRect();
    if (FVodDropDown) {
        Integer b = std::max(0, FVodDropDown->DropDownBorderWidth());
        Rect.Left += b;
        Rect.Top += b;
        Rect.Right -= b;
        Rect.Bottom -= b;
    }
}

void TDropDownForm::InitializeAndUpdate()
{
    TVodCustomDropDown* e = FVodDropDown;
    if (!e) return;
    if (!FHeader) {
        FHeader = new TVodHeader(this);
        FHeader->SetAlign(alTop);
        FHeader->SetParent(this);
    }
    if (!FFooter) {
        FFooter = new TVodFooter(this);
        FFooter->SetAlign(alBottom);
        FFooter->SetParent(this);
    }
    FHeader->OnDrawBackGround = e->OnDrawHeader;
    FHeader->OnGetText = e->OnGetHeaderText;
    FFooter->OnDrawBackGround = e->OnDrawFooter;
    FFooter->OnGetText = e->OnGetFooterText;
    FHeader->SetVisible(e->DropDownHeader()->Visible());
    FHeader->SetHeight(e->DropDownHeader()->Height());
    FFooter->SetVisible(e->DropDownFooter()->Visible());
    FFooter->SetHeight(e->DropDownFooter()->Height());
    FHeader->SetVodDropDown(e);
    FFooter->SetVodDropDown(e);
    Realign();
    Invalidate();
}

void TDropDownForm::DoHide()
{
    TForm::DoHide();
    FIsDeactivating = false;
    if (FVodDropDown) FVodDropDown->DropDownHidden();
}

void TDropDownForm::WMActivateDropDown(TMessage& M)
{
    if (FBlockActivate) return;
    if (M.WParamLo() != WA_INACTIVE) {
        // Active again: a deactivation that kept the window open (a pop-up
        // of the hosted control) is over.
        FIsDeactivating = false;
        if (FVodDropDown)
            if (TCustomForm* f = GetParentForm(FVodDropDown); f && f != this && f->HandleAllocated())
                SendMessage(GetAncestor(f->Handle(), GA_ROOT), WM_NCACTIVATE, TRUE, 0);
        return;
    }
    if (!Visible()) return;
    FIsDeactivating = true;
    FDeActivate = GetTickCount();
    HWND other = reinterpret_cast<HWND>(M.LParam);
    HWND self = HandleAllocated() ? Handle() : nullptr;
    // The newly active window may be a pop-up of the hosted control: one
    // whose parent or owner chain leads here.
    for (HWND h = other; h; ) {
        HWND up = GetParent(h);
        if (!up) up = GetWindow(h, GW_OWNER);
        if (up == self) return;
        h = up;
    }
    if (FVodDropDown)
        FVodDropDown->DoHideDropDown(FCancelOnDeActivate);
    else
        Hide();
    FIsDeactivating = false;
}

void TDropDownForm::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ACTIVATE:
        TForm::Dispatch(M);
        WMActivateDropDown(M);
        return;
    case WM_NCHITTEST: {
        M.Result = HTNOWHERE;
        if (FSizeable && HandleAllocated()) {
            TPoint p = ScreenToClient(M.Pos());
            if (p.X >= Width() - 10 && p.Y >= Height() - 10) M.Result = HTBOTTOMRIGHT;
        }
        return;
    }
    case WM_GETDLGCODE: M.Result = 5; return;
    case WM_SIZING:
        TForm::Dispatch(M);
        if (OnSizing) OnSizing(this);
        return;
    case WM_SIZE:
        TForm::Dispatch(M);
        if (HandleAllocated() && Visible()) {
            Invalidate();
            Update();
        }
        return;
    default: break;
    }
    TForm::Dispatch(M);
}

void TDropDownForm::PaintBackground(TCanvas* C)
{
    TVodCustomDropDown* e = FVodDropDown;
    if (!e) return;
    TRect r = ClientRect();
    Integer bw = e->DropDownBorderWidth();
    TRect inner{r.Left + std::max(0, bw), r.Top + std::max(0, bw), r.Right - std::max(0, bw),
                r.Bottom - std::max(0, bw)};
    if (e->DropDownColor() != clNone && e->DropDownColorTo() != clNone) {
        e->DrawBackgroundGradient(C, e->DropDownColor(), e->DropDownColorTo(), e->DropDownGradient(), inner, 80);
    } else if (e->DropDownColor() != clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(e->DropDownColor());
        C->FillRect(inner);
    }
    if (bw > 0 && e->DropDownBorderColor() != clNone) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(e->DropDownBorderColor());
        C->Pen()->SetWidth(bw);
        Integer h = bw / 2;
        C->Rectangle(r.Left + h, r.Top + h, r.Right - (bw - 1 - h), r.Bottom - (bw - 1 - h));
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TDropDownForm::PaintWindow(HDC DC)
{
    TCanvas c;
    c.SetHandle(DC);
    PaintBackground(&c);
    c.SetHandle(nullptr);
    TForm::PaintWindow(DC);
}

// ---------------------------------------------------------------------------
// The edit's side

void TVodCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm) return;
    FDropDownForm = new TDropDownForm(this, this);
    FDropDownForm->SetVisible(false);
    FDropDownForm->SetBounds(0, 0, std::max(FDropDownWidth, 0), std::max(FDropDownHeight, 0));
    FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
    FDropDownForm->OnKeyPress = [this](TObject*, wchar_t& Key) { FormKeyPress(Key); };
    FDropDownForm->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    FDropDownForm->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
    // Taken here, the wheel goes no further (else the edit would step twice).
    FDropDownForm->OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool& Handled) {
        FormMouseWheelDown();
        Handled = true;
    };
    FDropDownForm->OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool& Handled) {
        FormMouseWheelUp();
        Handled = true;
    };
    FDropDownForm->OnSizing = [this](TObject*) { FormSizing(); };
}

void TVodCustomDropDown::OpenFromButton()
{
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->Visible()) return;
    // The click that closed the window by deactivating it must not open it
    // again; unsigned arithmetic keeps this right across the counter's wrap.
    DWORD since = GetTickCount() - FDropDownForm->DeActivateTime();
    if (since > 250) DoShowDropDown();
}

void TVodCustomDropDown::DoBeforeDropDown()
{
    if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TVodCustomDropDown::SizeDropDownForm()
{
    if (!FDropDownForm) return;
    Integer w = FDropDownWidth > 0                ? FDropDownWidth
                : (FControl && FControl->Visible()) ? FControl->Width()
                                                    : Width();
    Integer h = FDropDownHeight;
    if (h <= 0) {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
        if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
        if (FControl && FControl->Visible()) h += FControl->Height();
    }
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TVodCustomDropDown::PlaceDropDownControl()
{
    if (!FDropDownForm || !FControl) return;
    if (FControl->Align() != alClient) {
        // Placed for the first time: the window takes the control's size
        // first, so aligning the control to it keeps that size.
        Integer bw = std::max(FDropDownBorderWidth, 0);
        Integer w = std::max(FDropDownForm->Width(), FControl->Width() + 2 * bw);
        Integer h = FControl->Height() + 2 * bw;
        if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
        if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
        h = std::max(FDropDownForm->Height(), h);
        FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
    }
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : FDropDownBorderWidth);
    FControl->SetAlign(alClient);
    FControl->SetVisible(true);
}

void TVodCustomDropDown::FocusDropDownControl()
{
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
}

void TVodCustomDropDown::DoShowDropDown()
{
    Init();
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->Visible() || !Enabled() ||
        ReadOnly() || FDropDownForm->IsDeactivating() || FDoShowBusy)
        return;
    FDoShowBusy = true;
    struct TBusy {
        bool& Flag;
        ~TBusy() { Flag = false; }
    } busy{FDoShowBusy};

    DoBeforeDropDown();
    FDropDownForm->SetShadow(FDropDownShadow);
    FDropDownForm->SetSizeable(FDropDownSizeable);
    FDropDownForm->InitializeAndUpdate();
    if (FDropDownForm->HandleAllocated()) {
        DWORD st = DWORD(GetClassLong(FDropDownForm->Handle(), GCL_STYLE));
        st = FDropDownForm->Shadow() ? (st | CS_DROPSHADOW) : (st & ~DWORD(CS_DROPSHADOW));
        SetClassLong(FDropDownForm->Handle(), GCL_STYLE, LONG(st));
    }
    FDropDownForm->SetBounds(Left(), Top(), FDropDownForm->Width(), FDropDownForm->Height());
    SizeDropDownForm();
    PlaceDropDownControl();
    FDropDownForm->Constraints()->SetMinWidth(80);
    FDropDownForm->Constraints()->SetMinHeight(50);
    if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
        wc->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
        wc->OnKeyPress = [this](TObject*, wchar_t& Key) { ControlKeyPress(Key); };
        wc->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
    }

    TPoint P = Parent() ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : ClientOrigin();

    // The final size first (the remembered user size, then the descendant's
    // adjustment), then the place: so an upward window ends on the edit's
    // top and no window overlaps the edit.
    Integer W = FUserDropDownWidth != -1 ? FUserDropDownWidth : FDropDownForm->Width();
    Integer H = FUserDropDownHeight != -1 ? FUserDropDownHeight : FDropDownForm->Height();
    AdjustDropDownSize(H);

    HMONITOR mon = MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi;
    bool haveMonitor = mon && GetMonitorInfo(mon, &mi);
    TRect monitorRect = haveMonitor ? mi.rcMonitor : TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    TRect work;
    if (haveMonitor)
        work = mi.rcWork;
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);

    TPoint pos;
    TPoint below{P.X, P.Y + Height() - 1};
    TPoint above{P.X, P.Y - H};
    switch (FDropPosition) {
    case dpDown: pos = below; break;
    case dpUp: pos = above; break;
    case dpAuto: pos = below.Y + H <= monitorRect.Bottom ? below : above; break;
    }

    bool accept = true;
    if (OnDropDown) OnDropDown(this, accept);
    if (!accept) return;

    if (pos.X + W > work.Right && pos.X <= work.Right) pos.X = work.Right - W;
    if (OnGetDropDownPos) OnGetDropDownPos(this, pos);

    FDropDownForm->SetBounds(pos.X, pos.Y, W, H);
    FDropDownForm->Show();
    FDroppedDown = true;
    SetWindowPos(FDropDownForm->Handle(), HWND_TOPMOST, pos.X, pos.Y, W, H, 0);

    if (auto* wc = dynamic_cast<TWinControl*>(FControl))
        if (wc->CanFocus()) wc->SetFocus();
    FocusDropDownControl();
}

void TVodCustomDropDown::DoHideDropDown(bool Cancelled)
{
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || !FDropDownForm->Visible()) return;
    if (OnBeforeDropUp) OnBeforeDropUp(this);
    FUserDropDownWidth = FDropDownForm->Width();
    FUserDropDownHeight = FDropDownForm->Height();
    FDropDownForm->Hide();
    if (Application) Application->CancelHint();
    if (Cancelled) SetText(FOldText);
    if (OnDropUp) OnDropUp(this, Cancelled);
}

void TVodCustomDropDown::DropDownHidden()
{
    FDroppedDown = false;
    if (FDropDownForm) FDropDownForm->SetIsDeactivating(false);
    if (FDestroying || ComponentState().Contains(csDestroying)) return;
    if (TabStop() && CanFocus() && !Focused()) SetFocus();
}

void TVodCustomDropDown::ToggleDropDown()
{
    if (FDroppedDown)
        DoHideDropDown(false);
    else
        DoShowDropDown();
}

void TVodCustomDropDown::FormMouseWheelDown() { HandleMouseWheelDown(); }
void TVodCustomDropDown::FormMouseWheelUp() { HandleMouseWheelUp(); }

void TVodCustomDropDown::FormKeyPress(wchar_t& Key)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_CHAR, WPARAM(Key), 0);
}

void TVodCustomDropDown::FormKeyDown(Word& Key, TShiftState)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, WPARAM(Key), 0);
}

void TVodCustomDropDown::FormKeyUp(Word& Key, TShiftState)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_KEYUP, WPARAM(Key), 0);
}

void TVodCustomDropDown::ControlKeyDown(Word& Key, TShiftState)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, WPARAM(Key), 0);
}

void TVodCustomDropDown::ControlKeyUp(Word& Key, TShiftState)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_KEYUP, WPARAM(Key), 0);
}

void TVodCustomDropDown::ControlKeyPress(wchar_t& Key)
{
    if (HandleAllocated()) SendMessage(Handle(), WM_CHAR, WPARAM(Key), 0);
}

bool TVodCustomDropDown::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos)
{
    bool result = TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
    bool over = false;
    if (HandleAllocated()) {
        TPoint p = ScreenToClient(Mouse ? Mouse->CursorPos() : MousePos);
        over = PtInRect(ClientRect(), p);
    }
    if (FDroppedDown || over) {
        if (WheelDelta < 0)
            HandleMouseWheelDown();
        else
            HandleMouseWheelUp();
    }
    return result;
}
