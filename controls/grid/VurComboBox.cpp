#include "controls/grid/VurComboBox.h"

#include "controls/edits/VodSystemProbes.h"
#include "platform/ui/Forms.h"

using namespace VurComboBox;

namespace {

// The frame of a disabled themed combo box without its own disabled border.
constexpr TColor kDisabledThemedBorder = TColor(0xB99D7F);

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

void FrameIn(HDC dc, const TRect& r, TColor color)
{
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(color)));
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

// The window rectangle moved to 0,0.
TRect WindowBox(HWND h)
{
    TRect wr;
    GetWindowRect(h, &wr);
    return TRect{0, 0, wr.Width(), wr.Height()};
}

}  // namespace

TPoint VurComboBox::LabelOrigin(TLabelPosition P, Integer L, Integer T, Integer W, Integer H, Integer M, Integer w,
                                Integer LW, Integer LH)
{
    const Integer vCentre = LH <= H ? T + (H - LH) / 2 : T - (LH - H) / 2;
    const Integer hCentre = LW < W ? L + (W - LW) / 2 : L - (LW - W) / 2;
    switch (P) {
    case lpLeftTop: return TPoint{L - w - M, T};
    case lpLeftCenter: return TPoint{L - w - M, vCentre};
    case lpLeftBottom: return TPoint{L - w - M, T + H - LH};
    case lpTopLeft: return TPoint{L, T - LH - M};
    case lpBottomLeft: return TPoint{L, T + H + M};
    case lpLeftTopLeft: return TPoint{L - M, T};
    case lpLeftCenterLeft: return TPoint{L - M, vCentre};
    case lpLeftBottomLeft: return TPoint{L - M, T + H - LH};
    case lpTopCenter: return TPoint{hCentre, T - LH - M};
    case lpBottomCenter: return TPoint{hCentre, T + H + M};
    case lpRightTop: return TPoint{L + W + M, T};
    case lpRightCenter: return TPoint{L + W + M, vCentre};
    case lpRighBottom: return TPoint{L + W + M, T + H - LH};
    }
    return TPoint{L, T};
}

TVurCustomCombo::TVurCustomCombo(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsThemed = VodEdits::ComCtl32MajorVersion() > 5;
    FLabelFont = std::make_unique<TFont>();
    FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
    FNormalColor = Color();
}

TVurCustomCombo::~TVurCustomCombo()
{
    if (FLabel) {
        TLabel* l = FLabel;
        FLabel = nullptr;
        delete l;
    }
    FLabelFont->OnChange = nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TVurCustomCombo::SetButtonWidth(Integer v)
{
    if (v < 14 || v > 32) return;
    FButtonWidth = v;
    Invalidate();
}

void TVurCustomCombo::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    SetCtl3D(!v);
    if (FFlatParentColor && v && Parent()) TControl::SetColor(Parent()->Color());
    else TControl::SetColor(FLoadedColor);
    Invalidate();
}

void TVurCustomCombo::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TVurCustomCombo::SetFlatLineColor(TColor v)
{
    if (FFlatLineColor == v) return;
    FFlatLineColor = v;
    Invalidate();
}

void TVurCustomCombo::SetFlatParentColor(bool v)
{
    if (FFlatParentColor == v) return;
    FFlatParentColor = v;
    Invalidate();
}

void TVurCustomCombo::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    if (HandleAllocated()) SendMessage(FHandle, WM_NCPAINT, 0, 0);
}

void TVurCustomCombo::SetDropWidth(Integer v)
{
    FDropWidth = v;
    if (v > 0 && HandleAllocated()) SendMessage(FHandle, CB_SETDROPPEDWIDTH, WPARAM(v), 0);
}

void TVurCustomCombo::SetColor(TColor v)
{
    if (Loading(this)) FLoadedColor = v;
    TControl::SetColor(v);
}

void TVurCustomCombo::SetEnabled(bool v)
{
    const bool was = Enabled();
    TCustomComboBox::SetEnabled(v);
    if (Loading(this) || Designing(this) || was == v || !FLabel) return;
    if (!FLabelAlwaysEnabled) FLabel->SetEnabled(v);
    UpdateLabel();
}

void TVurCustomCombo::SetVisible(bool v)
{
    TCustomComboBox::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

void TVurCustomCombo::SetParent(TWinControl* AParent)
{
    TCustomComboBox::SetParent(AParent);
    // A label made before the combo had its parent goes where the combo goes.
    if (FLabel && FLabel->Parent() != AParent && !ComponentState().Contains(csDestroying)) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TVurCustomCombo::Init() { FNormalColor = Color(); }

void TVurCustomCombo::SelectItem(const String& AString)
{
    const Integer i = Items()->IndexOf(AString);
    if (i >= 0) SetItemIndex(i);
}

// ---------------------------------------------------------------------------
// Label

String TVurCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TVurCustomCombo::SetLabelCaption(const String& v)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
    }
    FLabel->SetCaption(v);
    UpdateLabel();
}

void TVurCustomCombo::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    UpdateLabel();
}

void TVurCustomCombo::SetLabelMargin(Integer v)
{
    FLabelMargin = v;
    UpdateLabel();
}

void TVurCustomCombo::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    UpdateLabel();
}

void TVurCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel && v) FLabel->SetEnabled(true);
    else if (FLabel) FLabel->SetEnabled(Enabled());
    UpdateLabel();
}

void TVurCustomCombo::SetLabelFont(TFont* v)
{
    if (!ParentFont()) FLabelFont->Assign(v);
    UpdateLabel();
}

void TVurCustomCombo::LabelFontChanged(TObject*)
{
    if (Designing(this) && !Loading(this)) SetParentFont(false);
    UpdateLabel();
}

void TVurCustomCombo::SetLabelBold(bool Bold)
{
    if (!FLabel) return;
    TFontStyles st = FLabel->Font()->Style();
    if (Bold) st.Include(fsBold);
    else st.Exclude(fsBold);
    FLabel->Font()->SetStyle(st);
    PlaceLabel();
}

void TVurCustomCombo::UpdateLabel()
{
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont()) {
        // The label's bold while focused is kept over the designed font.
        const bool bold = FFocusLabel && FHasFocus;
        FLabel->Font()->Assign(FLabelFont.get());
        if (bold) {
            TFontStyles st = FLabel->Font()->Style();
            st.Include(fsBold);
            FLabel->Font()->SetStyle(st);
        }
    }
    PlaceLabel();
}

void TVurCustomCombo::PlaceLabel()
{
    if (!FLabel || !FLabel->Parent()) return;
    TRect r{0, 0, 1000, 255};
    const String caption = FLabel->Caption();
    TCanvas* lc = FLabel->Canvas();
    lc->Font()->Assign(FLabel->Font());
    DrawText(lc->Handle(), caption.c_str(), int(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
    const TPoint at = LabelOrigin(FLabelPosition, Left(), Top(), Width(), Height(), FLabelMargin, r.Width(),
                                  FLabel->Width(), FLabel->Height());
    FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---------------------------------------------------------------------------
// Life cycle

void TVurCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    // A width set before the window existed holds for the new window too.
    if (FDropWidth > 0) SendMessage(FHandle, CB_SETDROPPEDWIDTH, WPARAM(FDropWidth), 0);
}

void TVurCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat)) TControl::SetColor(FLoadedColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
    UpdateLabel();
    Init();
}

void TVurCustomCombo::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ComponentState().Contains(csDestroying)) UpdateLabel();
}

// ---------------------------------------------------------------------------
// Messages

void TVurCustomCombo::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_FONTCHANGED:
        if ((Designing(this) || Loading(this)) && FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        break;
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::Dispatch(M);
        if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        UpdateLabel();
        return;
    default: break;
    }
    TCustomComboBox::Dispatch(M);
}

bool TVurCustomCombo::HoldsFocus()
{
    if (!HandleAllocated()) return false;
    HWND f = GetFocus();
    return f && (f == FHandle || IsChild(FHandle, f));
}

void TVurCustomCombo::WMNCPaint(TMessage& M)
{
    TCustomComboBox::WMNCPaint(M);
    if (FFlat || (!Enabled() && DoVisualStyles() && !FDisabledBorder)) DrawBorders();
    if ((FFocusBorderColor != clNone && HoldsFocus()) || FBorderColor != clNone) DrawBorders();
}

void TVurCustomCombo::CMEnabledChanged(TMessage& M)
{
    if (FFlat && !Loading(this)) {
        if (Enabled()) {
            SetParentColor(FOldParentColor);
            TControl::SetColor(FOldColor);
        } else {
            FOldParentColor = ParentColor();
            FOldColor = Color();
            SetParentColor(true);
        }
    }
    TCustomComboBox::CMEnabledChanged(M);
}

void TVurCustomCombo::CMEnter(TMessage& M)
{
    TCustomComboBox::CMEnter(M);
    if (Designing(this)) return;
    FHasFocus = true;
    DrawBorders();
    if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
    if (FFocusLabel) SetLabelBold(true);
}

void TVurCustomCombo::CMExit(TMessage& M)
{
    TCustomComboBox::CMExit(M);
    if (Designing(this)) return;
    FHasFocus = false;
    DrawBorders();
    if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
    if (FFocusLabel) SetLabelBold(false);
}

void TVurCustomCombo::WMSetFocus(TMessage& M)
{
    TCustomComboBox::WMSetFocus(M);
    if (FFocusBorderColor != clNone) Invalidate();
    if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
    if (FFocusLabel) SetLabelBold(true);
}

void TVurCustomCombo::WMKillFocus(TMessage& M)
{
    TCustomComboBox::WMKillFocus(M);
    if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
    if (FFocusLabel) SetLabelBold(false);
    Invalidate();
}

void TVurCustomCombo::CMMouseEnter(TMessage& M)
{
    TCustomComboBox::CMMouseEnter(M);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawBorders();
    }
    if (FAutoFocus && !Designing(this)) {
        TCustomForm* form = GetParentForm(this);
        if ((!form || (form->HandleAllocated() && GetActiveWindow() == form->Handle())) && CanFocus()) SetFocus();
    }
    if (FIsWinXP) Invalidate();
}

void TVurCustomCombo::CMMouseLeave(TMessage& M)
{
    TCustomComboBox::CMMouseLeave(M);
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawBorders();
    }
    FButtonHover = false;
    if (FIsWinXP) Invalidate();
}

void TVurCustomCombo::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomComboBox::MouseMove(Shift, X, Y);
    const bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TVurCustomCombo::CNCommand(TMessage& M)
{
    TCustomComboBox::CNCommand(M);
    const Word code = M.WParamHi();
    if ((code == CBN_DROPDOWN || code == CBN_CLOSEUP) && HandleAllocated()) {
        TRect c = ClientRect();
        TRect strip{c.Right - FButtonWidth, c.Top, c.Right, c.Bottom};
        InvalidateRect(FHandle, &strip, FALSE);
    }
    if (code == CBN_CLOSEUP && OnDropUp) OnDropUp(this);
}

// ---------------------------------------------------------------------------
// Painting

bool TVurCustomCombo::DoVisualStyles() const { return FIsThemed && VodEdits::ThemeActive(); }

bool TVurCustomCombo::IsHot()
{
    if (Designing(this)) return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TVurCustomCombo::ShowFocusEdge() { return FFocusBorder && !Designing(this) && IsHot(); }

bool TVurCustomCombo::DisabledThemedFrame() { return !Enabled() && DoVisualStyles() && !FDisabledBorder; }

void TVurCustomCombo::WMPaint(TMessage& M)
{
    if (FIsVista && FButtonColor == clNone) {
        TCustomComboBox::WMPaint(M);
        return;
    }
    const bool own = FFlat || FButtonColor != clNone || FBorderColor != clNone ||
                     (FFocusBorderColor != clNone && FHasFocus) || DisabledThemedFrame();
    if (!own || !HandleAllocated()) {
        TCustomComboBox::WMPaint(M);
        return;
    }
    HDC given = reinterpret_cast<HDC>(M.WParam);
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(FHandle, &ps);
    if (!dc) return;
    const int saved = SaveDC(dc);
    try {
        if (Style() != csSimple) {
            TRect c = ClientRect();
            HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
            FillRect(dc, &c, b);
            DeleteObject(b);
            if (!UseRightToLeftReading()) DrawButton(dc);
        }
        // The platform paints the rest; the button's area is clipped away.
        PaintWindow(dc);
    } catch (...) {
        RestoreDC(dc, saved);
        if (!given) EndPaint(FHandle, &ps);
        throw;
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(FHandle, &ps);
    if (!UseRightToLeftReading()) DrawBorders();
}

void TVurCustomCombo::DrawButton(HDC DC)
{
    const Integer cw = ClientWidth(), ch = ClientHeight();
    TRect R = WindowBox(FHandle);
    R.Left = cw - FButtonWidth + 2;
    InflateRect(R, -1, -1);
    const bool down = VodEdits::IsMouseButtonDown();
    if (FButtonColor != clNone) {
        // A hot or pressed colour left at clNone keeps the plain one; a
        // border line at clNone is not drawn; the arrow defaults to the
        // button text colour.
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
        cv.Pen()->SetColor(fill);
        R.Left -= 1;
        R.Top += 1;
        R.Bottom -= 1;
        R.Right -= 1;
        cv.Rectangle(R);
        if (FButtonBorderColor != clNone) {
            cv.Pen()->SetColor(FButtonBorderColor);
            cv.MoveTo(R.Left, R.Top);
            cv.LineTo(R.Left, R.Bottom);
        }
        cv.Brush()->SetColor(arrow);
        cv.Pen()->SetColor(arrow);
        cv.Polygon({TPoint{R.Left + 4, R.Top + 7}, TPoint{R.Left + 10, R.Top + 7}, TPoint{R.Left + 7, R.Top + 10}});
        cv.SetHandle(nullptr);
    } else if (DoVisualStyles()) {
        const bool dropped = DroppedDown();
        const int state = !Enabled()                                ? 4
                          : (down && dropped)                       ? 3
                          : (!down && FButtonHover && !dropped)     ? 2
                                                                    : 1;
        VodEdits::DrawThemedPart(FHandle, DC, L"combobox", 1, state, R);
    } else {
        R.Left -= 4;
        R.Top += 1;
        R.Bottom -= 1;
        DrawFrameControl(DC, &R, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (Enabled() ? UINT(DFCS_FLAT) : UINT(DFCS_INACTIVE)));
    }
    ExcludeClipRect(DC, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

void TVurCustomCombo::DrawBorders()
{
    if (!HandleAllocated()) return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (FIsVista && FBorderColor == clNone) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    const int saved = SaveDC(dc);
    DrawBorder(dc);
    if (Style() != csSimple && !(FIsWinXP && DoVisualStyles())) DrawButtonArea(dc);
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
}

void TVurCustomCombo::DrawBorder(HDC DC)
{
    TRect W = WindowBox(FHandle);
    if (DisabledThemedFrame()) {
        FrameIn(DC, W, kDisabledThemedBorder);
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
    // The flat border.
    const bool edge = ShowFocusEdge();
    const TColor outer = edge ? TColor(clBtnFace) : (Parent() ? Parent()->Color() : Color());
    const TColor inner = Color();
    if (edge) {
        DrawEdge(DC, &W, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        FrameIn(DC, W, inner);
    } else {
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        W.Right -= FButtonWidth;
        FrameIn(DC, W, outer);
        InflateRect(W, -1, -1);
        FrameIn(DC, W, inner);
        W.Right += FButtonWidth;
    }
    if (FFlat && FFlatLineColor != clNone) {
        HPEN pen = CreatePen(PS_SOLID, 1, COLORREF(ColorToRGB(FFlatLineColor)));
        HGDIOBJ old = SelectObject(DC, pen);
        MoveToEx(DC, W.Left - 2, Height() - 1, nullptr);
        LineTo(DC, W.Right - FButtonWidth - 1, Height() - 1);
        SelectObject(DC, old);
        DeleteObject(pen);
    }
}

void TVurCustomCombo::DrawButtonArea(HDC DC)
{
    const Integer cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(DC, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
    TRect R = WindowBox(FHandle);
    R.Left = cw - FButtonWidth - 2;
    InflateRect(R, -2, -2);
    if (!IsHot()) {
        TRect f = R;
        InflateRect(f, 0, -1);
        f.Right -= 1;
        FillRect(DC, &f, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
}
