// The "BUTTON" window class (push buttons, check boxes, radio buttons and
// group boxes) and the class-library controls on it: TButton, TCheckBox,
// TRadioButton, and the self-painting TGroupBox.
#include <algorithm>

#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/Themes.h"

namespace {

const wchar_t* const kButtonProp = L"VelButtonState";

struct TButtonWndState {
    UINT Check = BST_UNCHECKED;
    bool Pushed = false;    // drawn pressed
    bool Tracking = false;  // mouse button held since a press on us
    bool SpaceDown = false;
    bool Focused = false;
    bool Hot = false;
    HFONT Font = nullptr;
};

TButtonWndState* ButtonOf(HWND h) { return static_cast<TButtonWndState*>(GetProp(h, kButtonProp)); }

DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
DWORD TypeOf(HWND h) { return StyleOf(h) & BS_TYPEMASK; }

bool IsCheckType(DWORD t)
{
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}
bool IsRadioType(DWORD t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }
bool IsPushType(DWORD t) { return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON; }

void NotifyParent(HWND h, Word code)
{
    if (HWND parent = GetParent(h))
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), code), LPARAM(h));
}

// The siblings of an auto radio button's group: from the sibling that
// starts the group (WS_GROUP) up to the next one that starts a group.
std::vector<HWND> RadioGroup(HWND h)
{
    std::vector<HWND> all;
    HWND parent = GetParent(h);
    if (!parent) return {h};
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) all.push_back(c);
    auto self = std::find(all.begin(), all.end(), h);
    if (self == all.end()) return {h};
    auto first = self;
    while (first != all.begin() && !(GetWindowLong(*first, GWL_STYLE) & WS_GROUP)) --first;
    auto last = self + 1;
    while (last != all.end() && !(GetWindowLong(*last, GWL_STYLE) & WS_GROUP)) ++last;
    return std::vector<HWND>(first, last);
}

void Click(HWND h, TButtonWndState& s)
{
    switch (TypeOf(h)) {
    case BS_AUTOCHECKBOX:
        SendMessage(h, BM_SETCHECK, s.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE: SendMessage(h, BM_SETCHECK, (s.Check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON:
        for (HWND r : RadioGroup(h))
            if (r != h && GetClassName(r) == GetClassName(h) && TypeOf(r) == BS_AUTORADIOBUTTON)
                SendMessage(r, BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessage(h, BM_SETCHECK, BST_CHECKED, 0);
        break;
    default: break;
    }
    NotifyParent(h, BN_CLICKED);
}

UINT TextFlags(DWORD style, UINT horz)
{
    UINT f = DT_EXPANDTABS | horz;
    if (style & BS_MULTILINE) f |= DT_WORDBREAK;
    else f |= DT_SINGLELINE;
    switch (style & BS_VCENTER) {
    case BS_TOP: f |= DT_TOP; break;
    case BS_BOTTOM: f |= DT_BOTTOM; break;
    default: f |= DT_VCENTER; break;
    }
    return f;
}

// Draws text in rect, centred vertically also for wrapped text (DrawText
// centres single lines only).
void DrawButtonText(HDC dc, const String& text, TRect r, UINT flags)
{
    if ((flags & DT_WORDBREAK) && (flags & (DT_VCENTER | DT_BOTTOM))) {
        TRect calc = r;
        DrawTextStr(dc, text, &calc, (flags & ~UINT(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        int free = r.Height() - calc.Height();
        if (free > 0) r.Top += (flags & DT_BOTTOM) ? free : free / 2;
        flags &= ~UINT(DT_VCENTER | DT_BOTTOM);
    }
    DrawTextStr(dc, text, &r, flags);
}

void PaintPush(HDC dc, HWND h, TButtonWndState& s, HTHEME theme, const TRect& r, bool enabled)
{
    DWORD style = StyleOf(h);
    DWORD type = style & BS_TYPEMASK;
    bool pressed = s.Pushed || ((IsCheckType(type) || IsRadioType(type)) && s.Check == BST_CHECKED);
    int state = !enabled ? PBS_DISABLED : pressed ? PBS_PRESSED : s.Hot ? PBS_HOT
                : (type == BS_DEFPUSHBUTTON || s.Focused) ? PBS_DEFAULTED : PBS_NORMAL;
    if (theme) {
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &r, nullptr);
    } else {
        TRect fr = r;
        if (type == BS_DEFPUSHBUTTON && enabled) {
            // The default button's extra dark frame.
            HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
            FrameRect(dc, &fr, frame);
            InflateRect(fr, -1, -1);
        }
        DrawFrameControl(dc, &fr, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (pressed ? UINT(DFCS_PUSHED) : 0u) | (enabled ? 0u : UINT(DFCS_INACTIVE)));
    }
    TRect tr = r;
    InflateRect(tr, -4, -3);
    if (pressed && !theme) OffsetRect(tr, 1, 1);
    DrawButtonText(dc, GetWindowText(h), tr, TextFlags(style, DT_CENTER));
    if (s.Focused) {
        TRect f = r;
        InflateRect(f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}

void PaintCheck(HDC dc, HWND h, TButtonWndState& s, HTHEME theme, const TRect& r, bool enabled)
{
    DWORD style = StyleOf(h);
    bool radio = IsRadioType(style & BS_TYPEMASK);
    bool leftText = (style & BS_LEFTTEXT) != 0;
    const int box = 13;
    int top = r.Top + (r.Height() - box) / 2;
    TRect b = leftText ? TRect{r.Right - box, top, r.Right, top + box} : TRect{r.Left, top, r.Left + box, top + box};
    int sub = !enabled ? 3 : (s.Pushed ? 2 : s.Hot ? 1 : 0);
    if (theme) {
        int state = Integer(std::min<UINT>(s.Check, radio ? 1 : 2)) * 4 + sub + 1;
        DrawThemeBackground(theme, dc, radio ? BP_RADIOBUTTON : BP_CHECKBOX, state, &b, nullptr);
    } else {
        UINT st = radio ? DFCS_BUTTONRADIO : (s.Check == BST_INDETERMINATE ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK);
        if (s.Check) st |= DFCS_CHECKED;
        if (s.Pushed) st |= DFCS_PUSHED;
        if (!enabled) st |= DFCS_INACTIVE;
        DrawFrameControl(dc, &b, DFC_BUTTON, st);
    }
    TRect tr = leftText ? TRect{r.Left, r.Top, b.Left - 4, r.Bottom} : TRect{b.Right + 4, r.Top, r.Right, r.Bottom};
    UINT horz = (style & BS_CENTER) == BS_CENTER ? DT_CENTER : (style & BS_RIGHT) ? DT_RIGHT : DT_LEFT;
    UINT flags = TextFlags(style, horz);
    String text = GetWindowText(h);
    DrawButtonText(dc, text, tr, flags);
    if (s.Focused && !text.empty()) {
        TRect calc = tr;
        DrawTextStr(dc, text, &calc, (flags & ~UINT(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        int dy = (tr.Height() - calc.Height()) / 2;
        TRect f{tr.Left - 1, tr.Top + dy - 1, std::min(calc.Right, tr.Right) + 1, tr.Top + dy + calc.Height() + 1};
        DrawFocusRect(dc, &f);
    }
}

void PaintGroup(HDC dc, HWND h, HTHEME theme, const TRect& r, bool enabled, HBRUSH brush)
{
    TEXTMETRICW tm;
    GetTextMetrics(dc, &tm);
    String text = GetWindowText(h);
    TRect frame{r.Left, r.Top + tm.tmHeight / 2, r.Right, r.Bottom};
    if (theme) DrawThemeBackground(theme, dc, BP_GROUPBOX, enabled ? GBS_NORMAL : GBS_DISABLED, &frame, nullptr);
    else DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (text.empty()) return;
    TRect calc{0, 0, r.Width(), tm.tmHeight};
    DrawTextStr(dc, text, &calc, DT_SINGLELINE | DT_CALCRECT);
    TRect tr{r.Left + 8, r.Top, std::min(r.Right, r.Left + 8 + calc.Width() + 4), r.Top + tm.tmHeight};
    FillRect(dc, &tr, brush);
    tr.Left += 2;
    DrawTextStr(dc, text, &tr, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void PaintButton(HWND h, TButtonWndState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    DWORD style = StyleOf(h);
    DWORD type = style & BS_TYPEMASK;
    bool enabled = IsWindowEnabled(h) != 0;
    TRect r;
    GetClientRect(h, &r);
    SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HBRUSH brush = nullptr;
    bool push = IsPushType(type) || (style & BS_PUSHLIKE);
    if (HWND parent = GetParent(h))
        brush = reinterpret_cast<HBRUSH>(
            SendMessage(parent, push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(h)));
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    FillRect(dc, &r, brush);
    SetBkMode(dc, TRANSPARENT);
    HTHEME theme = OpenThemeData(h, L"button");
    if (type == BS_GROUPBOX) PaintGroup(dc, h, theme, r, enabled, brush);
    else if (push) PaintPush(dc, h, s, theme, r, enabled);
    else PaintCheck(dc, h, s, theme, r, enabled);
    if (theme) CloseThemeData(theme);
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

void Redraw(HWND h) { InvalidateRect(h, nullptr, TRUE); }

}  // namespace

void RegisterButtonClasses()
{
    WNDCLASS wc;
    if (!GetClassInfo(nullptr, L"BUTTON", &wc)) {
        WNDCLASS b;
        b.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
        b.lpfnWndProc = &ButtonWndProc;
        b.hCursor = LoadCursor(nullptr, IDC_ARROW);
        b.lpszClassName = L"BUTTON";
        RegisterClass(b);
    }
    if (!GetClassInfo(nullptr, L"STATIC", &wc)) {
        WNDCLASS s;
        s.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
        s.lpfnWndProc = &StaticWndProc;
        s.hCursor = LoadCursor(nullptr, IDC_ARROW);
        s.lpszClassName = L"STATIC";
        RegisterClass(s);
    }
}

LRESULT ButtonWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TButtonWndState* s = ButtonOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TButtonWndState;
        SetProp(h, kButtonProp, s);
    }
    DWORD type = TypeOf(h);
    switch (msg) {
    case WM_NCDESTROY:
        RemoveProp(h, kButtonProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_NCHITTEST:
        if (type == BS_GROUPBOX) return HTTRANSPARENT;
        break;
    case WM_GETDLGCODE:
        if (type == BS_GROUPBOX) return DLGC_STATIC;
        if (IsRadioType(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return DLGC_BUTTON;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (lp) Redraw(h);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(h, msg, wp, lp);
        Redraw(h);
        return r;
    }
    case WM_ENABLE:
        if (!wp) {
            s->Pushed = s->Tracking = s->SpaceDown = s->Hot = false;
            if (GetCapture() == h) ReleaseCapture();
        }
        Redraw(h);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintButton(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETFOCUS:
        s->Focused = true;
        Redraw(h);
        // Arrowing onto a radio button chooses it.
        if (IsRadioType(type) && s->Check != BST_CHECKED && GetKeyState(VK_LBUTTON) >= 0 &&
            (GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 ||
             GetKeyState(VK_RIGHT) < 0))
            Click(h, *s);
        return 0;
    case WM_KILLFOCUS:
        s->Focused = false;
        if (s->SpaceDown) {
            s->SpaceDown = false;
            if (!s->Tracking) s->Pushed = false;
        }
        Redraw(h);
        return 0;

    case BM_GETCHECK: return (IsCheckType(type) || IsRadioType(type)) ? s->Check : 0;
    case BM_SETCHECK: {
        if (!IsCheckType(type) && !IsRadioType(type)) return 0;
        UINT v = UINT(wp);
        // Only three-state boxes show the third state; anything else set
        // counts as checked.
        if (v == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) v = BST_CHECKED;
        if (v > BST_INDETERMINATE) v = BST_CHECKED;
        if (v != s->Check) {
            s->Check = v;
            Redraw(h);
        }
        // A checked radio button is the tab stop of its group.
        if (type == BS_AUTORADIOBUTTON) {
            LONG st = GetWindowLong(h, GWL_STYLE);
            SetWindowLong(h, GWL_STYLE, v ? (st | LONG(WS_TABSTOP)) : (st & ~LONG(WS_TABSTOP)));
        }
        return 0;
    }
    case BM_GETSTATE:
        return ((IsCheckType(type) || IsRadioType(type)) ? s->Check : 0) | (s->Pushed ? UINT(BST_PUSHED) : 0u) |
               (s->Focused ? UINT(BST_FOCUS) : 0u);
    case BM_SETSTATE:
        if (s->Pushed != (wp != 0)) {
            s->Pushed = wp != 0;
            Redraw(h);
        }
        return 0;
    case BM_SETSTYLE: {
        LONG st = GetWindowLong(h, GWL_STYLE);
        SetWindowLong(h, GWL_STYLE, LONG((DWORD(st) & ~0xFFFFu) | (DWORD(wp) & 0xFFFF)));
        if (lp) Redraw(h);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(h) && type != BS_GROUPBOX) Click(h, *s);
        return 0;

    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
        if (type == BS_GROUPBOX) return 0;
        if (GetFocus() != h) SetFocus(h);
        s->Tracking = true;
        s->Pushed = true;
        SetCapture(h);
        Redraw(h);
        if (msg == WM_LBUTTONDBLCLK && (IsRadioType(type) || (StyleOf(h) & BS_NOTIFY)))
            NotifyParent(h, BN_DOUBLECLICKED);
        return 0;
    case WM_MOUSEMOVE: {
        TRect r;
        GetClientRect(h, &r);
        bool inside = PtInRect(r, LParamToPoint(lp));
        if (s->Tracking && inside != s->Pushed) {
            s->Pushed = inside;
            Redraw(h);
        }
        if (!s->Tracking && inside != s->Hot) {
            s->Hot = inside;
            Redraw(h);
            if (inside) {
                TRACKMOUSEEVENT tme;
                tme.dwFlags = TME_LEAVE;
                tme.hwndTrack = h;
                TrackMouseEvent(&tme);
            }
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        if (s->Hot) {
            s->Hot = false;
            Redraw(h);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!s->Tracking) return 0;
        s->Tracking = false;
        TRect r;
        GetClientRect(h, &r);
        bool click = PtInRect(r, LParamToPoint(lp));
        s->Pushed = false;
        if (GetCapture() == h) ReleaseCapture();
        Redraw(h);
        if (click) Click(h, *s);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->Tracking) {
            s->Tracking = false;
            s->Pushed = false;
            Redraw(h);
        }
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_SPACE && type != BS_GROUPBOX && !s->Tracking) {
            s->SpaceDown = true;
            s->Pushed = true;
            Redraw(h);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wp == VK_SPACE && s->SpaceDown) {
            s->SpaceDown = false;
            s->Pushed = false;
            Redraw(h);
            Click(h, *s);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == L' ') return 0;
        break;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

// ---------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    RegisterButtonClasses();
}

TButtonControl::~TButtonControl()
{
    if (FBrush) DeleteObject(FBrush);
}

void TButtonControl::SetWordWrap(bool v)
{
    if (FWordWrap == v) return;
    FWordWrap = v;
    if (FHandle) RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    RegisterButtonClasses();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    if (FWordWrap) Params.Style |= BS_MULTILINE;
}

void TButtonControl::CNCtlColor(TMessage& M)
{
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    TColor c = Color();
    if (!FBrush || FBrushColor != c) {
        if (FBrush) DeleteObject(FBrush);
        FBrush = CreateSolidBrush(COLORREF(ColorToRGB(c)));
        FBrushColor = c;
    }
    if (dc) {
        if (FEnabled) SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())));
        SetBkColor(dc, COLORREF(ColorToRGB(c)));
    }
    M.Result = LRESULT(FBrush);
}

void TButtonControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND: CNCommand(M); return;
    case CN_CTLCOLORBTN: case CN_CTLCOLORSTATIC: CNCtlColor(M); return;
    default: break;
    }
    TWinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
}

void TButton::SetDefault(bool v)
{
    if (FDefault == v) return;
    FDefault = v;
    if (FHandle) SendMessage(FHandle, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

bool TButton::IsActive()
{
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (active && dynamic_cast<TButton*>(active)) return active == this && Focused();
    return FDefault;
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::CNCommand(TMessage& M)
{
    if (M.WParamHi() == BN_CLICKED) Click();
}

void TButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_DIALOGKEY: {
        Word key = M.CharCode();
        bool plain = KeyDataToShiftState(M.KeyData()).Empty();
        if (plain && ((key == VK_RETURN && IsActive()) || (key == VK_ESCAPE && FCancel)) && CanFocus()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(M.CharCode(), Caption()) && CanFocus()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TButtonControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
}

void TCustomCheckBox::SetAlignment(TLeftRight v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    if (FHandle) RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessage(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState v)
{
    if (FState == v) return;
    FState = v;
    if (FHandle) SendMessage(FHandle, BM_SETCHECK, WPARAM(v), 0);
    if (!FClicksDisabled) Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::CNCommand(TMessage& M)
{
    if (M.WParamHi() == BN_CLICKED) Toggle();
}

void TCustomCheckBox::Dispatch(TMessage& M)
{
    if (M.Msg == CM_DIALOGCHAR) {
        if (IsAccel(M.CharCode(), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused()) Toggle();
            M.Result = 1;
            return;
        }
    }
    TButtonControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::SetAlignment(TLeftRight v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    if (FHandle) RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessage(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v)
{
    if (FChecked == v) return;
    FChecked = v;
    SetTabStop(v);
    if (FHandle) SendMessage(FHandle, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!v) return;
    // The other radio buttons of the same parent form one group.
    if (FParent)
        for (Integer i = 0; i < FParent->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)); r && r != this) r->SetChecked(false);
    if (!FClicksDisabled) Click();
}

void TRadioButton::CNCommand(TMessage& M)
{
    if (M.WParamHi() == BN_CLICKED) SetChecked(true);
    else if (M.WParamHi() == BN_DOUBLECLICKED) DblClick();
}

void TRadioButton::Dispatch(TMessage& M)
{
    if (M.Msg == CM_DIALOGCHAR) {
        if (IsAccel(M.CharCode(), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused()) SetChecked(true);
            M.Result = 1;
            return;
        }
    }
    TButtonControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csDoubleClicks, csParentBackground};
    FWidth = 185;
    FHeight = 105;
}

namespace {
int FontHeightOf(TFont* font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    TEXTMETRICW tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}
}  // namespace

void TCustomGroupBox::AdjustClientRect(TRect& Rect)
{
    Rect = ClientRect();
    Rect.Top += FontHeightOf(FFont.get());
    InflateRect(Rect, -2, -2);
}

void TCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    TRect r = ClientRect();
    HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
    FillRect(dc, &r, brush);
    int saved = SaveDC(dc);
    SelectObject(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COLORREF(ColorToRGB(FEnabled ? FFont->Color() : clGrayText)));
    TEXTMETRICW tm;
    GetTextMetrics(dc, &tm);
    TRect frame{r.Left, r.Top + tm.tmHeight / 2, r.Right, r.Bottom};
    HTHEME theme = OpenThemeData(FHandle, L"button");
    if (theme) {
        DrawThemeBackground(theme, dc, BP_GROUPBOX, FEnabled ? GBS_NORMAL : GBS_DISABLED, &frame, nullptr);
        CloseThemeData(theme);
    } else {
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    }
    String text = Caption();
    if (!text.empty()) {
        TRect calc{0, 0, r.Width(), tm.tmHeight};
        DrawTextStr(dc, text, &calc, DT_SINGLELINE | DT_CALCRECT);
        TRect tr{r.Left + 8, r.Top, std::min(r.Right, r.Left + 8 + calc.Width() + 4), r.Top + tm.tmHeight};
        FillRect(dc, &tr, brush);
        tr.Left += 2;
        DrawTextStr(dc, text, &tr, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    RestoreDC(dc, saved);
    DeleteObject(brush);
}

void TCustomGroupBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_DIALOGCHAR:
        // Its accelerator moves the focus to the first control inside.
        if (IsAccel(M.CharCode(), Caption()) && CanFocus()) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
            M.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED: case CM_FONTCHANGED:
        TCustomControl::Dispatch(M);
        Invalidate();
        Realign();
        return;
    default: break;
    }
    TCustomControl::Dispatch(M);
}
