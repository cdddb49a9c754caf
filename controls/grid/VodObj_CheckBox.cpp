// The check box control: a themed or classic box with a caption and focus
// rectangle, three states, transparency over the parent with an optional
// cache, toggling by mouse, Space and accelerator. A read-only box still
// fires its click.
#include "controls/edits/VodSystemProbes.h"
#include "controls/grid/VodObj.h"
#include "platform/ui/WindowManager.h"

TVodCheckBox::TVodCheckBox(TComponent* AOwner) : TCustomControl(AOwner), FBkgBmp(std::make_unique<TBitmap>())
{
    FIsWinXP = VodEdits::IsWinXPOrLater();
    SetBounds(Left(), Top(), 98, 20);
    // The box fires its click itself on release.
    FControlStyle.Exclude(csClickEvents);
    FTabStop = true;
}

TVodCheckBox::~TVodCheckBox() = default;

bool TVodCheckBox::Themed() const
{
    return FIsWinXP && VodEdits::ThemeActive() && VodEdits::ComCtl32MajorVersion() >= 6;
}

void TVodCheckBox::Toggle()
{
    if (!ReadOnly()) SetChecked(!Checked());
}

void TVodCheckBox::SetChecked(bool v)
{
    FState = v ? cbChecked : cbUnchecked;
    Invalidate();
}

void TVodCheckBox::InvalidateBoxStrip()
{
    if (!HandleAllocated()) return;
    TRect r = ClientRect();
    if (FAlignment == taRightJustify)
        r.Left = r.Right - 20;
    else
        r.Right = r.Left + 20;
    InvalidateRect(Handle(), &r, TRUE);
}

void TVodCheckBox::InvalidateBoxCorner()
{
    if (!HandleAllocated()) return;
    TRect r{0, 0, 16, 16};
    InvalidateRect(Handle(), &r, TRUE);
}

void TVodCheckBox::SetState(TCheckBoxState v)
{
    if (FState == v) return;
    FState = v;
    InvalidateBoxStrip();
}

void TVodCheckBox::SetTransparent(bool v)
{
    if (FTransparent != v) FBkgCache = false;
    FTransparent = v;
    Invalidate();
}

void TVodCheckBox::SetButtonVertAlign(TTextLayout v)
{
    if (FBtnVAlign == v) return;
    FBtnVAlign = v;
    Invalidate();
}

void TVodCheckBox::SetAlignment(TLeftRight v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    Invalidate();
}

void TVodCheckBox::SetEllipsis(bool v)
{
    if (FEllipsis == v) return;
    FEllipsis = v;
    Invalidate();
}

void TVodCheckBox::SetCaption(const String& v)
{
    if (HandleAllocated()) TCustomControl::SetText(v);
    FCaption = v;
    Invalidate();
}

void TVodCheckBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) {
        FBkgCache = false;
        Invalidate();
    }
}

void TVodCheckBox::PaintParentBackground(HDC dc)
{
    if (!FParent || !FParent->HandleAllocated()) return;
    const int saved = SaveDC(dc);
    POINT old{};
    SetViewportOrgEx(dc, -Left(), -Top(), &old);
    const TRect pr = FParent->ClientRect();
    IntersectClipRect(dc, pr.Left, pr.Top, pr.Right, pr.Bottom);
    FParent->Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    FParent->Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, saved);
}

void TVodCheckBox::Paint()
{
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    if (FTransparent) {
        if (!FTransparentCaching) {
            PaintParentBackground(C->Handle());
        } else {
            if (!FBkgCache) {
                FBkgBmp->SetPixelFormat(pf24bit);
                FBkgBmp->SetSize(Width(), Height());
                PaintParentBackground(FBkgBmp->Canvas()->Handle());
                FBkgCache = true;
            }
            C->Draw(0, 0, FBkgBmp.get());
        }
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
    }
    if (HandleAllocated() && TCustomControl::GetText() != FCaption) TCustomControl::SetText(FCaption);
    const TRect cr = ClientRect();
    if (Themed()) {
        const Integer x = FAlignment == taRightJustify ? cr.Right - 15 : 0;
        const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? cr.Height() / 2 - 6 : cr.Bottom - 14;
        const int base = FState == cbUnchecked ? 0 : FState == cbChecked ? 4 : 8;
        const int st = base + (!FEnabled ? 4 : FDown ? 3 : FHot ? 2 : 1);
        VodEdits::DrawThemedPart(Handle(), C->Handle(), L"button", 3, st, TRect{x, y, x + 14, y + 14});
    } else {
        const Integer x = FAlignment == taRightJustify ? cr.Right - 13 : 0;
        const Integer y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? cr.Height() / 2 - 6 : cr.Bottom - 17;
        RECT r{x, y, x + 13, y + 13};
        UINT state = DFCS_BUTTONCHECK;
        if (FState == cbChecked) state |= DFCS_CHECKED;
        if (FState == cbGrayed || !FEnabled) state |= DFCS_INACTIVE;
        DrawFrameControl(C->Handle(), &r, DFC_BUTTON, state);
    }
    // Caption.
    TRect r = cr;
    if (FAlignment == taRightJustify) {
        r.Left = 0;
        r.Right -= 9;
    } else {
        r.Left += 9;
    }
    r.Top += 4;
    r.Left += 6;
    C->Brush()->SetStyle(bsClear);
    UINT flags = DT_LEFT | DT_SINGLELINE | DT_TOP;
    if (FEllipsis) flags |= DT_END_ELLIPSIS;
    HDC dc = C->Handle();
    const int mode = SetBkMode(dc, TRANSPARENT);
    if (!FEnabled) {
        TRect sh{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        SetTextColor(dc, COLORREF(clWhite));
        DrawText(dc, FCaption.c_str(), Integer(FCaption.size()), &sh, flags);
        C->Font()->SetColor(TColor(0x808080));
    }
    SetTextColor(dc, COLORREF(ColorToRGB(C->Font()->Color())));
    DrawText(dc, FCaption.c_str(), Integer(FCaption.size()), &r, flags);
    SetBkMode(dc, mode);
    if (FFocused) {
        const TSize ts = C->TextExtent(FCaption);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(TRect{r.Left - 2, r.Top, r.Left + ts.cx + 1, r.Top + ts.cy + 1});
    }
    C->Brush()->SetStyle(bsSolid);
}

void TVodCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FMouseDown = true;
    if (!Focused() && CanFocus()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    SetMouseCapture(true);
    FDown = true;
    if (FIsWinXP) InvalidateBoxCorner();
}

void TVodCheckBox::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    if (MouseCapture()) {
        const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
        if (inside != FDown) {
            FDown = inside;
            InvalidateBoxCorner();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TVodCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    SetMouseCapture(false);
    FDown = false;
    const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
    if (inside && Focused() && FMouseDown) {
        Toggle();
        Click();
    }
    FMouseDown = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FIsWinXP) InvalidateBoxCorner();
}

void TVodCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab()) {
        Key = VK_TAB;
        if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE) {
        FDown = true;
        InvalidateBoxCorner();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TVodCheckBox::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        FDown = false;
        Toggle();
        Click();
    }
}

void TVodCheckBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND:
        if (FTransparent) {
            M.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
        FFocused = true;
        Invalidate();
        break;
    case WM_KILLFOCUS:
        FFocused = false;
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(Word(M.WParam), FCaption) && CanFocus()) {
            Toggle();
            if (TabStop()) SetFocus();
            M.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
        FHot = true;
        InvalidateBoxCorner();
        break;
    case CM_MOUSELEAVE:
        FHot = false;
        InvalidateBoxCorner();
        break;
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(M);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(M);
}
