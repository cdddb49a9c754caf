#include "controls/grid/VurDateTimePicker.h"

#include "controls/edits/VodSystemProbes.h"
#include "controls/foundation/VodStyleIF.h"

namespace {

// The outline and the disabled frame of a themed picker.
constexpr TColor kThemedBorder = TColor(0xB99D7F);

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }

void FrameIn(HDC dc, const TRect& r, TColor color)
{
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(color)));
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void Lines(HDC dc, TColor color, std::initializer_list<TPoint> pts)
{
    HPEN pen = CreatePen(PS_SOLID, 1, COLORREF(ColorToRGB(color)));
    HGDIOBJ old = SelectObject(dc, pen);
    bool first = true;
    for (TPoint p : pts) {
        if (first) MoveToEx(dc, p.X, p.Y, nullptr);
        else LineTo(dc, p.X, p.Y);
        first = false;
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

TRect WindowBox(HWND h)
{
    TRect wr;
    GetWindowRect(h, &wr);
    return TRect{0, 0, wr.Width(), wr.Height()};
}

}  // namespace

TVurDateTimePicker::TVurDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner)
{
    FIsThemed = VodEdits::ComCtl32MajorVersion() >= 6;
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = VodEdits::IsWinXPOrLater();
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(true);
}

TVurDateTimePicker::~TVurDateTimePicker() = default;

void TVurDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    Invalidate();
}

void TVurDateTimePicker::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    Invalidate();
}

void TVurDateTimePicker::SetMetroStyle(bool v)
{
    if (FMetroStyle == v) return;
    FMetroStyle = v;
    Invalidate();
}

String TVurDateTimePicker::Version() const { return L"1.0.0.0"; }

bool TVurDateTimePicker::IsMetro() const { return FMetroStyle && !Designing(this); }

bool TVurDateTimePicker::DoVisualStyles() const { return FIsThemed && VodEdits::ThemeActive(); }

bool TVurDateTimePicker::IsHot()
{
    if (Designing(this)) return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TVurDateTimePicker::ShowFocusEdge() { return FFocusBorder && !Designing(this) && IsHot(); }

// ---------------------------------------------------------------------------
// Messages

void TVurDateTimePicker::WndProc(TMessage& M)
{
    TDateTimePicker::WndProc(M);
    if (M.Msg == WM_NCPAINT) DrawBordersAfterNCPaint();
}

void TVurDateTimePicker::DrawBordersAfterNCPaint()
{
    if (!Enabled() && DoVisualStyles() && !FDisabledBorder) DrawBorders();
    if ((FFocusBorderColor != clNone && Focused()) || FBorderColor != clNone) DrawBorders();
}

void TVurDateTimePicker::WMNCPaint(TMessage& M)
{
    TDateTimePicker::WMNCPaint(M);
    if (!Ctl3D() && FBorderColor != clNone && HandleAllocated()) {
        if (HDC dc = GetWindowDC(FHandle)) {
            DrawFlatOutline(dc);
            ReleaseDC(FHandle, dc);
        }
    }
    DrawBordersAfterNCPaint();
    M.Result = 0;
}

void TVurDateTimePicker::DrawFlatOutline(HDC DC)
{
    const TColor pen = FBorderStyle == bsNone && Parent() ? Parent()->Color()
                       : FIsThemed                         ? kThemedBorder
                                                           : FBorderColor;
    const Integer W = Width(), H = Height();
    Lines(DC, pen, {TPoint{0, H}, TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{W - 1, H - 1}, TPoint{0, H - 1}});
    if (Parent())
        Lines(DC, FBorderStyle == bsSingle ? Parent()->Color() : pen, {TPoint{1, H - 2}, TPoint{1, 1}, TPoint{W - 1, 1}});
}

void TVurDateTimePicker::CMEnter(TMessage& M)
{
    TDateTimePicker::CMEnter(M);
    if (Designing(this)) return;
    FHasFocus = true;
    DrawBorders();
}

void TVurDateTimePicker::CMExit(TMessage& M)
{
    TDateTimePicker::CMExit(M);
    if (Designing(this)) return;
    FHasFocus = false;
    DrawBorders();
}

void TVurDateTimePicker::CMMouseEnter(TMessage& M)
{
    TDateTimePicker::CMMouseEnter(M);
    if (Designing(this)) return;
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawBorders();
    }
    if (FIsWinXP) Invalidate();
}

void TVurDateTimePicker::CMMouseLeave(TMessage& M)
{
    TDateTimePicker::CMMouseLeave(M);
    if (Designing(this)) return;
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawBorders();
    }
    FButtonHover = false;
    if (FIsWinXP) Invalidate();
}

void TVurDateTimePicker::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TVurDateTimePicker::Ctl3DChanged()
{
    TDateTimePicker::Ctl3DChanged();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TVurDateTimePicker::WMPaint(TMessage& M)
{
    TDateTimePicker::WMPaint(M);
    if ((Ctl3D() && !IsMetro()) || !IsVistaOrLater() || !HandleAllocated()) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    const int saved = SaveDC(dc);
    if (IsMetro() && Kind() != dtkTime) {
        if (VodEdits::ComCtl32MajorVersion() >= 6) {
            const TRect c = ClientRect();
            TRect r = VodEdits::ThemeActive() ? TRect{c.Right - FButtonWidth - 15, 1, c.Right, Height()}
                                              : TRect{c.Right - FButtonWidth - 2, 4, c.Right - 2, Height() - 4};
            HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
        DrawButton(dc);
    }
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
    DrawBorders();
}

void TVurDateTimePicker::DrawButton(HDC DC)
{
    const Integer cw = ClientWidth(), ch = ClientHeight();
    TRect R = WindowBox(FHandle);
    R.Left = cw - FButtonWidth + 2;
    InflateRect(R, -1, -1);
    const bool down = VodEdits::IsMouseButtonDown();
    if (FButtonColor != clNone) {
        // Hot and pressed colours left at clNone keep the plain one; a border
        // line at clNone is not drawn; the arrow defaults to the button text.
        TColor fill = FButtonColor;
        if (FButtonHover && down) {
            if (FButtonColorDown != clNone) fill = FButtonColorDown;
        } else if (FButtonHover && FButtonColorHot != clNone) {
            fill = FButtonColorHot;
        }
        TColor arrow = down && FButtonTextColorDown != clNone ? FButtonTextColorDown : FButtonTextColor;
        if (arrow == clNone) arrow = clBtnText;
        TCanvas cv;
        cv.SetHandle(DC);
        cv.Brush()->SetColor(fill);
        cv.FillRect(TRect{R.Left + 2, R.Top, R.Right, R.Bottom});
        if (FButtonBorderColor != clNone) {
            cv.Pen()->SetColor(FButtonBorderColor);
            cv.MoveTo(R.Left, R.Top);
            cv.LineTo(R.Left, R.Bottom);
        }
        cv.Brush()->SetColor(arrow);
        cv.Pen()->SetColor(arrow);
        cv.Polygon({TPoint{R.Left + 5, R.Top + 7}, TPoint{R.Left + 11, R.Top + 7}, TPoint{R.Left + 8, R.Top + 10}});
        cv.SetHandle(nullptr);
    } else if (DoVisualStyles()) {
        const bool dropped = DroppedDown();
        const int state = !Enabled()                            ? 4
                          : (down && dropped)                   ? 3
                          : (!down && FButtonHover && !dropped) ? 2
                                                                : 1;
        VodEdits::DrawThemedPart(FHandle, DC, L"combobox", 1, state, R);
    } else {
        DrawFrameControl(DC, &R, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (Enabled() ? UINT(DFCS_FLAT) : UINT(DFCS_INACTIVE)));
    }
    ExcludeClipRect(DC, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

void TVurDateTimePicker::DrawBorders()
{
    if (!IsMetro() || !HandleAllocated()) return;
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    const int saved = SaveDC(dc);
    DrawBorder(dc);
    if (!(FIsWinXP && DoVisualStyles())) DrawButtonArea(dc);
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
}

void TVurDateTimePicker::DrawBorder(HDC DC)
{
    TRect W = WindowBox(FHandle);
    if (!Enabled() && DoVisualStyles() && !FDisabledBorder) {
        FrameIn(DC, W, kThemedBorder);
        return;
    }
    if (FHasFocus && FFocusBorderColor != clNone) {
        FrameIn(DC, W, FFocusBorderColor);
        return;
    }
    if (FBorderColor != clNone) {
        FrameIn(DC, W, FBorderColor);
        return;
    }
    if (FFocusBorderColor != clNone) return;
    const bool edge = ShowFocusEdge();
    const TColor outer = edge ? TColor(clBtnFace) : (Parent() ? Parent()->Color() : Color());
    if (edge) {
        DrawEdge(DC, &W, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        FrameIn(DC, W, Color());
    } else {
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        W.Right -= FButtonWidth;
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        FrameIn(DC, W, Color());
    }
}

void TVurDateTimePicker::DrawButtonArea(HDC DC)
{
    const Integer cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(DC, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
    TRect R = WindowBox(FHandle);
    R.Left = cw - FButtonWidth - 2;
    InflateRect(R, -2, -2);
    if (IsHot()) {
        DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | (DroppedDown() ? UINT(BF_FLAT) : 0u));
    } else {
        TRect f = R;
        InflateRect(f, 0, -1);
        f.Right -= 1;
        FillRect(DC, &f, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
}
