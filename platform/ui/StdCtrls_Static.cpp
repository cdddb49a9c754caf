// The "STATIC" window class, and the texts of the class library: the
// windowless TCustomLabel and TCustomStaticText on "STATIC".
#include <algorithm>

#include "platform/ui/StdCtrls_Button.h"

namespace {

const wchar_t* const kStaticFont = L"VelStaticFont";

HFONT StaticFont(HWND h) { return static_cast<HFONT>(GetProp(h, kStaticFont)); }

// The text of a font measured (DT_CALCRECT) in rect on a memory DC.
TRect MeasureText(TFont* font, const String& text, TRect rect, UINT flags)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    DrawTextStr(dc, text, &rect, flags | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return rect;
}

void PaintStatic(HWND h, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    DWORD st = DWORD(GetWindowLong(h, GWL_STYLE));
    DWORD type = st & SS_TYPEMASK;
    TRect r;
    GetClientRect(h, &r);
    bool enabled = IsWindowEnabled(h) != 0;
    SelectObject(dc, StaticFont(h) ? HGDIOBJ(StaticFont(h)) : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HBRUSH brush = nullptr;
    if (HWND parent = GetParent(h))
        brush = reinterpret_cast<HBRUSH>(SendMessage(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(h)));
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    FillRect(dc, &r, brush);
    switch (type) {
    case SS_ETCHEDHORZ: {
        TRect line{r.Left, r.Top, r.Right, r.Top + 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        break;
    }
    case SS_ETCHEDVERT: {
        TRect line{r.Left, r.Top, r.Left + 2, r.Bottom};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        break;
    }
    case SS_ETCHEDFRAME: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); break;
    default: {
        if (st & SS_SUNKEN) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        }
        SetBkMode(dc, TRANSPARENT);
        UINT fmt = DT_EXPANDTABS;
        switch (type) {
        case SS_CENTER: fmt |= DT_CENTER | DT_WORDBREAK; break;
        case SS_RIGHT: fmt |= DT_RIGHT | DT_WORDBREAK; break;
        case SS_SIMPLE: case SS_LEFTNOWORDWRAP: fmt |= DT_SINGLELINE; break;
        default: fmt |= DT_WORDBREAK; break;
        }
        if (st & SS_CENTERIMAGE) fmt = (fmt & ~UINT(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
        if (st & SS_NOPREFIX) fmt |= DT_NOPREFIX;
        if (st & SS_ENDELLIPSIS) fmt |= DT_END_ELLIPSIS;
        DrawTextStr(dc, GetWindowText(h), &r, fmt);
        break;
    }
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

}  // namespace

LRESULT StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETFONT:
        SetProp(h, kStaticFont, reinterpret_cast<void*>(wp));
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(StaticFont(h));
    case WM_NCDESTROY: RemoveProp(h, kStaticFont); break;
    case WM_NCHITTEST:
        return (GetWindowLong(h, GWL_STYLE) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(h, msg, wp, lp);
        InvalidateRect(h, nullptr, TRUE);
        return r;
    }
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONUP:
        if (GetWindowLong(h, GWL_STYLE) & SS_NOTIFY)
            if (HWND parent = GetParent(h))
                SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), STN_CLICKED), LPARAM(h));
        return 0;
    case WM_PAINT: PaintStatic(h, reinterpret_cast<HDC>(wp)); return 0;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csReplicatable);
    FWidth = 65;
    FHeight = 17;
}

TCustomLabel::~TCustomLabel()
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

void TCustomLabel::SetAlignment(TAlignment v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool v)
{
    if (FAutoSize == v) return;
    FAutoSize = v;
    AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout v)
{
    if (FLayout == v) return;
    FLayout = v;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool v)
{
    if (FWordWrap == v) return;
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    if (FShowAccelChar == v) return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    if (v) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v)
{
    if (FFocusControl == v) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    String text = GetLabelText();
    // An empty text still measures one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == L"&"))) text += L' ';
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    if (Flags & DT_CALCRECT) {
        Rect = MeasureText(FFont.get(), text, Rect, Flags);
        return;
    }
    HDC dc = Canvas()->Handle();
    int saved = SaveDC(dc);
    SelectObject(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    if (FEnabled) {
        SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())));
        DrawTextStr(dc, text, &Rect, Flags);
    } else {
        // Disabled text: engraved, a light copy under a shadowed one.
        TRect lit = Rect;
        OffsetRect(lit, 1, 1);
        SetTextColor(dc, COLORREF(ColorToRGB(clBtnHighlight)));
        DrawTextStr(dc, text, &lit, Flags);
        SetTextColor(dc, COLORREF(ColorToRGB(clBtnShadow)));
        DrawTextStr(dc, text, &Rect, Flags);
    }
    RestoreDC(dc, saved);
}

void TCustomLabel::Paint()
{
    TRect r = ClientRect();
    if (!FTransparent) {
        HDC dc = Canvas()->Handle();
        HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    UINT flags = DT_EXPANDTABS | (FWordWrap ? UINT(DT_WORDBREAK) : 0u);
    flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int free = r.Height() - calc.Height();
        r.Top += FLayout == tlBottom ? free : free / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || FAdjusting || ComponentState().Contains(csLoading)) return;
    FAdjusting = true;
    TRect r = ClientRect();
    if (!FWordWrap) r.Right = r.Left + 0x3FFF;
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? UINT(DT_WORDBREAK) : 0u));
    Integer x = FLeft;
    Integer w = FWordWrap ? FWidth : r.Width();
    if (FAlignment == taRightJustify) x += FWidth - w;
    else if (FAlignment == taCenter) x += (FWidth - w) / 2;
    SetBounds(x, FTop, w, r.Height());
    FAdjusting = false;
}

void TCustomLabel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_TEXTCHANGED: case CM_FONTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && FEnabled && FShowAccelChar && IsAccel(M.CharCode(), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            M.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TGraphicControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TCustomStaticText

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable,
                                  csDoubleClicks};
    FWidth = 65;
    FHeight = 17;
    RegisterButtonClasses();
}

TCustomStaticText::~TCustomStaticText()
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    if (FBrush) DeleteObject(FBrush);
}

void TCustomStaticText::CreateParams(TCreateParams& Params)
{
    RegisterButtonClasses();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"STATIC");
    Params.Style |= SS_NOTIFY;
    Params.Style |= FAlignment == taCenter ? SS_CENTER : FAlignment == taRightJustify ? SS_RIGHT : SS_LEFT;
    if (FBorderStyle == sbsSingle) Params.Style |= WS_BORDER;
    if (FBorderStyle == sbsSunken) Params.Style |= SS_SUNKEN;
    if (!FShowAccelChar) Params.Style |= SS_NOPREFIX;
}

void TCustomStaticText::CreateWnd()
{
    TWinControl::CreateWnd();
    AdjustBounds();
}

void TCustomStaticText::SetAlignment(TAlignment v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    if (FHandle) RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool v)
{
    if (FAutoSize == v) return;
    FAutoSize = v;
    AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    if (FHandle) RecreateWnd();
    AdjustBounds();
}

void TCustomStaticText::SetShowAccelChar(bool v)
{
    if (FShowAccelChar == v) return;
    FShowAccelChar = v;
    if (FHandle) RecreateWnd();
    AdjustBounds();
}

void TCustomStaticText::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    Invalidate();
}

void TCustomStaticText::SetFocusControl(TWinControl* v)
{
    if (FFocusControl == v) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    String text = Caption();
    if (text.empty()) text = L" ";
    TRect r = MeasureText(FFont.get(), text, TRect{0, 0, 0x3FFF, 0x3FFF},
                          DT_EXPANDTABS | (FShowAccelChar ? 0u : UINT(DT_NOPREFIX)));
    int frame = FBorderStyle == sbsNone ? 0 : 2;
    Integer w = r.Width() + 2 * frame;
    Integer x = FLeft;
    if (FAlignment == taRightJustify) x += FWidth - w;
    SetBounds(x, FTop, w, r.Height() + 2 * frame);
}

void TCustomStaticText::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(M.WParam);
        // A transparent text takes its parent's colour as background.
        TColor c = FTransparent && FParent ? FParent->Color() : Color();
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
        return;
    }
    case CM_TEXTCHANGED: case CM_FONTCHANGED:
        TWinControl::Dispatch(M);
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && FEnabled && FShowAccelChar && IsAccel(M.CharCode(), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            M.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TWinControl::Dispatch(M);
}
