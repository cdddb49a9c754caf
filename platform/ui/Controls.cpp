// TControl: place, looks, mouse handling and the message path of every
// control; the helpers shared by the control classes.
#include "platform/ui/Controls.h"

#include <algorithm>
#include <cwctype>

#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/WindowManager.h"

// ---------------------------------------------------------------------------
// Helpers

TShiftState KeysToShiftState(Word keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LONG keyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & (1 << 29)) s.Include(ssAlt);
    return s;
}

TShiftState GetShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
    return s;
}

bool IsAccel(Word VK, const String& Str)
{
    for (size_t i = 0; i + 1 < Str.size(); ++i) {
        if (Str[i] != L'&') continue;
        if (Str[i + 1] == L'&') {
            ++i;
            continue;
        }
        return std::towupper(Str[i + 1]) == std::towupper(wchar_t(VK));
    }
    return false;
}

String GetShortHint(const String& Hint)
{
    auto p = Hint.find(L'|');
    return p == String::npos ? Hint : Hint.substr(0, p);
}

String GetLongHint(const String& Hint)
{
    auto p = Hint.find(L'|');
    return p == String::npos ? Hint : Hint.substr(p + 1);
}

void TPadding::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TPadding*>(Source)) {
        if (s == this) return;
        bool changed = FLeft != s->FLeft || FTop != s->FTop || FRight != s->FRight || FBottom != s->FBottom;
        FLeft = s->FLeft;
        FTop = s->FTop;
        FRight = s->FRight;
        FBottom = s->FBottom;
        if (changed && OnChange) OnChange();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
        MinWidth = s->MinWidth;
        MinHeight = s->MinHeight;
        MaxWidth = s->MaxWidth;
        MaxHeight = s->MaxHeight;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

namespace {
TControl* gCaptureControl = nullptr;
}

TControl* gMouseControl = nullptr;
std::function<void(TControl*, TMessage&)> gHintMouseMessage;
std::function<void(TControl*)> gControlDestroyed;

TControl* GetCaptureControl()
{
    HWND cap = GetCapture();
    if (!cap) {
        gCaptureControl = nullptr;
        return nullptr;
    }
    if (gCaptureControl) {
        TWinControl* host = dynamic_cast<TWinControl*>(gCaptureControl);
        if (!host) host = gCaptureControl->Parent();
        if (host && host->HandleAllocated() && host->Handle() == cap) return gCaptureControl;
    }
    return FindControl(cap);
}

void SetCaptureControl(TControl* Control)
{
    ReleaseCapture();
    gCaptureControl = nullptr;
    if (!Control) return;
    if (auto* w = dynamic_cast<TWinControl*>(Control)) {
        if (!w->HandleAllocated()) return;
        gCaptureControl = Control;
        SetCapture(w->Handle());
        return;
    }
    if (Control->Parent() && Control->Parent()->HandleAllocated()) {
        gCaptureControl = Control;
        SetCapture(Control->Parent()->Handle());
    }
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FColor(clBtnFace)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont = std::make_unique<TFont>();
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    FConstraints.OnChange = [this] {
        Integer w = FWidth, h = FHeight;
        ConstrainedResize(w, h);
        if (w != FWidth || h != FHeight) SetBounds(FLeft, FTop, w, h);
    };
}

TControl::~TControl()
{
    FActionLink.reset();
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    if (gMouseControl == this) gMouseControl = nullptr;
    if (gCaptureControl == this) {
        gCaptureControl = nullptr;
        ReleaseCapture();
    }
    DragControlDestroyed(this);
    if (gControlDestroyed) gControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message)
{
    if (DragHandleMessage(this, Message)) return;
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FDragMode == dmAutomatic &&
        !Dragging()) {
        BeginDrag(false);
        return;
    }
    if (Message.Msg == WM_MOUSEMOVE && gHintMouseMessage) gHintMouseMessage(this, Message);
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(M); break;
    case WM_LBUTTONUP: WMLButtonUp(M); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(M); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: WMRButtonDown(M); break;
    case WM_RBUTTONUP: WMRButtonUp(M); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: WMMButtonDown(M); break;
    case WM_MBUTTONUP: WMMButtonUp(M); break;
    case WM_MOUSEMOVE: WMMouseMove(M); break;
    case CM_MOUSEWHEEL: CMMouseWheel(M); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(M); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(M); break;
    case CM_COLORCHANGED: CMColorChanged(M); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(M); break;
    case CM_FONTCHANGED: CMFontChanged(M); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(M); break;
    case CM_TEXTCHANGED: CMTextChanged(M); break;
    case CM_HINTSHOW: CMHintShow(M); break;
    case CM_MOUSEENTER: CMMouseEnter(M); break;
    case CM_MOUSELEAVE: CMMouseLeave(M); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(M); break;
    default: DefaultHandler(M); break;
    }
}

void TControl::DefaultHandler(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(M.LParam);
        int size = int(M.WParam);
        if (!buf || size <= 0) {
            M.Result = 0;
            return;
        }
        int len = std::min<int>(int(FText.size()), size - 1);
        std::copy(FText.begin(), FText.begin() + len, buf);
        buf[len] = 0;
        M.Result = len;
        return;
    }
    case WM_GETTEXTLENGTH: M.Result = LRESULT(FText.size()); return;
    case WM_SETTEXT:
        FText = M.LParam ? reinterpret_cast<const wchar_t*>(M.LParam) : L"";
        M.Result = 1;
        return;
    default: return;
    }
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent) return;
    if (AParent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight)
{
    bool ok = true;
    if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, ok);
    return ok;
}

void TControl::ConstrainedResize(Integer& w, Integer& h)
{
    if (FConstraints.MinWidth > 0 && w < FConstraints.MinWidth) w = FConstraints.MinWidth;
    if (FConstraints.MaxWidth > 0 && w > FConstraints.MaxWidth) w = FConstraints.MaxWidth;
    if (FConstraints.MinHeight > 0 && h < FConstraints.MinHeight) h = FConstraints.MinHeight;
    if (FConstraints.MaxHeight > 0 && h > FConstraints.MaxHeight) h = FConstraints.MaxHeight;
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    ConstrainedResize(AWidth, AHeight);
    if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
    }
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    InvalidateControl(FVisible, false);
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FParent || !FParent->ControlState().Contains(csAligning)) UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(Integer w, Integer h)
{
    TRect c = ClientRect();
    SetBounds(FLeft, FTop, FWidth - c.Width() + w, FHeight - c.Height() + h);
}

void TControl::SetClientWidth(Integer v) { SetClientSize(v, ClientHeight()); }
void TControl::SetClientHeight(Integer v) { SetClientSize(ClientWidth(), v); }

TPoint TControl::ClientOrigin()
{
    if (!FParent) return {FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& p)
{
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& p)
{
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

TPoint TControl::ClientToParent(const TPoint& p, TWinControl* AParent)
{
    if (!AParent) AParent = FParent;
    if (!AParent) throw EInvalidOperation(L"Control has no parent window");
    TPoint r = p;
    TControl* c = this;
    while (c && c != AParent) {
        r.X += c->FLeft;
        r.Y += c->FTop;
        c = c->FParent;
    }
    if (c != AParent) throw EInvalidOperation(L"The control is not a child of that parent");
    return r;
}

void TControl::SetAlign(TAlign v)
{
    if (FAlign == v) return;
    TAlign old = FAlign;
    FAlign = v;
    FAnchors = TAnchors{akLeft, akTop};
    if (old == alNone || v == alNone || FParent) RequestAlign();
    UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors v)
{
    if (FAnchors == v) return;
    FAnchors = v;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!FParent || FParent->ComponentState().Contains(csLoading) || ComponentState().Contains(csLoading)) {
        FAnchorRules = {FLeft, FTop};
        if (!FParent) return;
    }
    TRect pc = FParent->ClientRect();
    FOriginalParentSize = {pc.Width(), pc.Height()};
    if (FAnchors == TAnchors{akLeft, akTop}) {
        FAnchorRules = {FLeft, FTop};
        return;
    }
    if (FAnchors.Contains(akRight))
        FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
    else
        FAnchorRules.X = FAnchors.Contains(akLeft) ? FLeft : FLeft + FWidth / 2;
    if (FAnchors.Contains(akBottom))
        FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
    else
        FAnchorRules.Y = FAnchors.Contains(akTop) ? FTop : FTop + FHeight / 2;
}

void TControl::BringToFront()
{
    if (!FParent) return;
    FParent->RemoveFromLists(this);
    FParent->AddToLists(this, true);
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        w->SetZOrder(true);
    } else {
        InvalidateControl(FVisible, true);
    }
}

void TControl::SendToBack()
{
    if (!FParent) return;
    FParent->RemoveFromLists(this);
    FParent->AddToLists(this, false);
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        w->SetZOrder(false);
    } else {
        InvalidateControl(FVisible, true);
    }
}

void TControl::SetVisible(bool v)
{
    if (FVisible == v) return;
    VisibleChanging();
    FVisible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    RequestAlign();
}

bool TControl::IsVisibleDeep()
{
    if (!FVisible) return false;
    return !FParent || FParent->IsVisibleDeep();
}

void TControl::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor v)
{
    if (FColor == v && !FParentColor) return;
    FColor = v;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    if (FParentColor == v) return;
    FParentColor = v;
    if (FParent && v) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool v)
{
    if (FParentFont == v) return;
    FParentFont = v;
    if (FParent && v) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetFont(TFont* v)
{
    if (v && v != FFont.get()) FFont->Assign(v);
}

void TControl::FontChanged()
{
    if (!FTakingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent) return;
    FTakingParentFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FTakingParentFont = false;
        throw;
    }
    FTakingParentFont = false;
}

void TControl::ParentColorChanged()
{
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        Invalidate();
    }
}

String TControl::GetText()
{
    int len = int(Perform(WM_GETTEXTLENGTH));
    String s(size_t(len) + 1, L'\0');
    int got = int(Perform(WM_GETTEXT, WPARAM(len + 1), LPARAM(s.data())));
    s.resize(size_t(std::clamp(got, 0, len)));
    return s;
}

void TControl::SetText(const String& v)
{
    if (GetText() == v) return;
    Perform(WM_SETTEXT, 0, LPARAM(v.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v)
{
    if (FShowHint == v && !FParentShowHint) return;
    FShowHint = v;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v)
{
    if (FParentShowHint == v) return;
    FParentShowHint = v;
    if (FParent && v) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
}

void TControl::SetCursor(TCursor v)
{
    if (FCursor == v) return;
    FCursor = v;
    Perform(CM_CURSORCHANGED);
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque)
{
    if (!FParent || !IsVisible || !FParent->HandleAllocated()) return;
    TRect r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, !IsOpaque);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    if (!FParent || !FVisible || !FParent->HandleAllocated()) return;
    Invalidate();
    FParent->Update();
}

bool TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool v)
{
    if (MouseCapture() == v) return;
    SetCaptureControl(v ? this : nullptr);
}

void TControl::RequestAlign()
{
    if (FParent) FParent->AlignControl(this);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FParent && FParentColor) FColor = FParent->Color();
    if (FParent && FParentFont) ParentFontChanged();
    UpdateAnchorRules();
    RequestAlign();
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::Click()
{
    // The control's own handler wins; without one the action runs.
    if (OnClick) OnClick(this);
    else if (FActionLink && !ComponentState().Contains(csDesigning)) FActionLink->Execute(this);
}

void TControl::SetPopupMenu(TComponent* v)
{
    if (v == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = v;
    if (v) v->FreeNotification(this);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* v)
{
    if (!v) {
        FActionLink.reset();
        FControlStyle.Exclude(csActionClient);
        return;
    }
    if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
    FActionLink->SetAction(v);
    FActionLink->OnChange = [this](TObject*) { if (FActionLink) ActionChange(FActionLink->Action(), false); };
    FControlStyle.Include(csActionClient);
    ActionChange(v, ComponentState().Contains(csLoading));
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || Caption().empty()) SetCaption(a->Caption());
    if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
    if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
    if (!CheckDefaults || FVisible) SetVisible(a->Visible());
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::SendCancelMode(TControl* Sender)
{
    // The form closes pop-ups and ends modes other controls run.
    if (TWinControl* f = FormOf(this)) f->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}

void TControl::DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift)
{
    if (FControlStyle.Contains(csNoStdEvents)) return;
    TShiftState s = KeysToShiftState(M.Keys()) + Shift;
    MouseDown(Button, s, M.XPos(), M.YPos());
}

void TControl::DoMouseUp(TMessage& M, TMouseButton Button)
{
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(Button, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::WMLButtonDown(TMessage& M)
{
    SendCancelMode(this);
    DefaultHandler(M);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
    DoMouseDown(M, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& M)
{
    SendCancelMode(this);
    DefaultHandler(M);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(M, mbLeft, TShiftState{ssDouble});
}

void TControl::WMLButtonUp(TMessage& M)
{
    DefaultHandler(M);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        if (PtInRect(ClientRect(), M.Pos())) Click();
    }
    DoMouseUp(M, mbLeft);
}

void TControl::WMRButtonDown(TMessage& M)
{
    DefaultHandler(M);
    DoMouseDown(M, mbRight, M.Msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::WMRButtonUp(TMessage& M)
{
    DefaultHandler(M);
    DoMouseUp(M, mbRight);
}

void TControl::WMMButtonDown(TMessage& M)
{
    DefaultHandler(M);
    DoMouseDown(M, mbMiddle, M.Msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::WMMButtonUp(TMessage& M)
{
    DefaultHandler(M);
    DoMouseUp(M, mbMiddle);
}

void TControl::WMMouseMove(TMessage& M)
{
    DefaultHandler(M);
    if (!FControlStyle.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::CMMouseWheel(TMessage& M)
{
    TShiftState s = KeysToShiftState(M.WParamLo());
    if (DoMouseWheel(s, SHORT(M.WParamHi()), M.Pos())) M.Result = 1;
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMParentColorChanged(TMessage&) { ParentColorChanged(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMParentFontChanged(TMessage&) { ParentFontChanged(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMHintShow(TMessage&) {}

void TControl::CMMouseEnter(TMessage&)
{
    FMouseInControl = true;
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage&)
{
    FMouseInControl = false;
    if (OnMouseLeave) OnMouseLeave(this);
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() { DestroyControlCanvas(FCanvas); }

TCanvas* TGraphicControl::Canvas()
{
    if (!FCanvas) FCanvas = MakeControlCanvas(this);
    return FCanvas;
}

void TGraphicControl::Dispatch(TMessage& M)
{
    if (M.Msg == WM_PAINT) {
        // The parent paints its graphic children with its own DC in wParam.
        FPaintDC = reinterpret_cast<HDC>(M.WParam);
        BindControlCanvas(Canvas(), FPaintDC);
        try {
            Paint();
        } catch (...) {
            BindControlCanvas(FCanvas, nullptr);
            FPaintDC = nullptr;
            throw;
        }
        BindControlCanvas(FCanvas, nullptr);
        FPaintDC = nullptr;
        return;
    }
    TControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Bidirectional mode

TBiDiMode TControl::BiDiMode() const
{
    if (FParentBiDiMode && FParent) return static_cast<const TControl*>(FParent)->BiDiMode();
    return FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode v)
{
    FBiDiMode = v;
    FParentBiDiMode = false;
}

bool TControl::UseRightToLeftAlignment() const { return SysLocale.MiddleEast && BiDiMode() == bdRightToLeft; }

bool TControl::UseRightToLeftReading() const { return SysLocale.MiddleEast && BiDiMode() != bdLeftToRight; }

LONG TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? LONG(DT_RTLREADING) : 0; }

LONG TControl::DrawTextBiDiModeFlags(LONG Flags) const
{
    if (UseRightToLeftAlignment() && (Flags & DT_CENTER) == 0) Flags ^= DT_RIGHT;
    return Flags | DrawTextBiDiModeFlagsReadingOnly();
}
