#include "controls/edits/VodCombo.h"

#include <algorithm>

#include "controls/edits/VodLabelPlace_Internal.h"
#include "controls/edits/VodSystemProbes.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"

using namespace VodCombo;
using namespace VodEdits;

namespace {

// The colour of a disabled themed border.
constexpr TColor kDisabledThemedBorder = TColor(0xB99D7F);

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

TColor ParentBrushColor(TControl* c)
{
    return c->Parent() ? c->Parent()->Color() : c->Color();
}

void FrameIn(HDC dc, const TRect& r, TColor color)
{
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(color)));
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

}  // namespace

TVodCustomCombo::TVodCustomCombo(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = IsWinXPOrLater();
    FIsThemed = ComCtl32MajorVersion() > 5;
    FLabelFont = std::make_unique<TFont>();
    FLblFntHeight = FLabelFont->Height();
    FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
    FNormalColor = Color();
    FFontColor = Font()->Color();
}

TVodCustomCombo::~TVodCustomCombo()
{
    UnhookEdit();
    if (FLabel) {
        TLabel* l = FLabel;
        FLabel = nullptr;
        delete l;
    }
    FLabelFont->OnChange = nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TVodCustomCombo::SetButtonWidth(Integer v)
{
    if (v <= 13 || v > 32) return;
    FButtonWidth = v;
    Invalidate();
}

void TVodCustomCombo::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    SetCtl3D(!v);
    if (FFlatParentColor && v) TControl::SetColor(ParentBrushColor(this));
    else TControl::SetColor(FLoadedColor);
    Invalidate();
}

void TVodCustomCombo::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TVodCustomCombo::SetFlatLineColor(TColor v)
{
    FFlatLineColor = v;
    Invalidate();
}

void TVodCustomCombo::SetFlatParentColor(bool v)
{
    FFlatParentColor = v;
    Invalidate();
}

void TVodCustomCombo::SetEmptyText(const String& v)
{
    if (FEmptyText == v) return;
    FEmptyText = v;
    Invalidate();
    if (HandleAllocated() && FEditHandle) InvalidateRect(FEditHandle, nullptr, TRUE);
}

void TVodCustomCombo::SetEmptyTextStyle(TFontStyles v)
{
    if (FEmptyTextStyle == v) return;
    FEmptyTextStyle = v;
    Invalidate();
}

void TVodCustomCombo::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    if (HandleAllocated()) SendMessage(FHandle, WM_NCPAINT, 0, 0);
}

void TVodCustomCombo::SetDropWidth(Integer v)
{
    FDropWidth = v;
    if (v > 0 && HandleAllocated()) SendMessage(FHandle, CB_SETDROPPEDWIDTH, WPARAM(v), 0);
}

void TVodCustomCombo::SetColor(TColor v)
{
    if (Loading(this)) FLoadedColor = v;
    TControl::SetColor(v);
}

void TVodCustomCombo::SetEnabled(bool v)
{
    bool was = Enabled();
    TCustomComboBox::SetEnabled(v);
    if (Loading(this) || Designing(this) || was == v) return;
    if (FLabel && !FLabelAlwaysEnabled) {
        FLabel->SetEnabled(v);
        UpdateLabel();
    }
}

void TVodCustomCombo::SetVisible(bool v)
{
    TCustomComboBox::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

Integer TVodCustomCombo::GetVersionNr() { return 0x01060201; }

String TVodCustomCombo::Version()
{
    Cardinal v = Cardinal(GetVersionNr());
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

void TVodCustomCombo::SelectItem(const String& AString)
{
    Integer i = Items()->IndexOf(AString);
    if (i < 0) return;
    SetItemIndex(i);
    Change();
}

void TVodCustomCombo::Init() { FNormalColor = Color(); }

// ---------------------------------------------------------------------------
// Label

String TVodCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TVodCustomCombo::SetLabelCaption(const String& v)
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

void TVodCustomCombo::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    if (FLabel) UpdateLabel();
}

void TVodCustomCombo::SetLabelMargin(Integer v)
{
    FLabelMargin = v;
    if (FLabel) UpdateLabel();
}

void TVodCustomCombo::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    if (FLabel) UpdateLabel();
}

void TVodCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel) UpdateLabel();
}

void TVodCustomCombo::SetLabelFont(TFont* v)
{
    if (!ParentFont()) FLabelFont->Assign(v);
    if (FLabel) UpdateLabel();
}

void TVodCustomCombo::LabelFontChanged(TObject*)
{
    if (Designing(this) && !Loading(this)) {
        SetParentFont(false);
        FParentFnt = false;
    }
    if (FLabel) UpdateLabel();
    if (!FLblUpdate) FLblFntHeight = FLabelFont->Height();
}

void TVodCustomCombo::SetLabelBold(bool Bold)
{
    if (!FLabel) return;
    TFontStyles st = FLabel->Font()->Style();
    if (Bold) st.Include(fsBold);
    else st.Exclude(fsBold);
    FLabel->Font()->SetStyle(st);
}

void TVodCustomCombo::UpdateLabel()
{
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    if (FParentFnt) FLabel->Font()->Assign(Font());
    else FLabel->Font()->Assign(FLabelFont.get());
    if (FLabel->Parent() && FLabel->Parent()->HandleAllocated()) PlaceLabel();
}

void TVodCustomCombo::PlaceLabel()
{
    if (!FLabel) return;
    TRect r{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    TCanvas* lc = FLabel->Canvas();
    lc->Font()->Assign(FLabel->Font());
    DrawText(lc->Handle(), caption.c_str(), int(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
    static_assert(Integer(lpRighBottom) == Integer(TLabelPlace::RightBottom));
    TLabelGeometry g;
    g.Left = Left(), g.Top = Top(), g.Width = Width(), g.Height = Height(), g.Margin = FLabelMargin;
    g.CaptionWidth = r.Width(), g.LabelWidth = FLabel->Width(), g.LabelHeight = FLabel->Height();
    g.CentreTop = g.Top + (g.Height - g.LabelHeight) / 2;
    const TPoint at = LabelOrigin(TLabelPlace(FLabelPosition), g);
    const Integer ll = at.X, lt = at.Y;
    FLabel->SetBounds(ll, lt, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---------------------------------------------------------------------------
// Life cycle

void TVodCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    if (!ParentFont() && !LabelCaption().empty() && !Designing(this)) {
        FLblUpdate = true;
        FLabelFont->SetHeight(RoundScaled(ScreenScale(), FLblFntHeight));
        FLblUpdate = false;
    }
    if (FLabel) PlaceLabel();
    // The edit part, once per window.
    COMBOBOXINFO info;
    if (GetComboBoxInfo(FHandle, &info) && info.hwndItem && info.hwndItem != FHandle) {
        HWND edit = info.hwndItem;
        auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(edit, GWLP_WNDPROC));
        if (current != &TVodCustomCombo::EditProc) {
            FWinProc = current;
            FHookedEdit = edit;
            SetWindowLongPtr(edit, GWLP_USERDATA, LONG_PTR(reinterpret_cast<intptr_t>(this)));
            SetWindowLongPtr(edit, GWLP_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&TVodCustomCombo::EditProc)));
        }
    }
}

void TVodCustomCombo::DestroyWnd()
{
    // The edit part goes with the window; the next window is hooked anew.
    UnhookEdit();
    TCustomComboBox::DestroyWnd();
}

void TVodCustomCombo::UnhookEdit()
{
    if (FHookedEdit && IsWindow(FHookedEdit) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(FHookedEdit, GWLP_WNDPROC)) == &TVodCustomCombo::EditProc) {
        SetWindowLongPtr(FHookedEdit, GWLP_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(FWinProc)));
        SetWindowLongPtr(FHookedEdit, GWLP_USERDATA, 0);
    }
    FHookedEdit = nullptr;
}

void TVodCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat)) TControl::SetColor(FLoadedColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (FLabel) {
        if (ParentFont()) FLabel->Font()->Assign(Font());
        else FLabel->Font()->Assign(FLabelFont.get());
    }
    FParentFnt = ParentFont();
    UpdateLabel();
    FLblFntHeight = FLabel ? FLabel->Font()->Height() : FLabelFont->Height();
    Init();
}

void TVodCustomCombo::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    if (FLabel) {
        TAlign a = Align();
        Integer lw = FLabel->Width() + FLabelMargin;
        switch (FLabelPosition) {
        case lpLeftTop: case lpLeftCenter: case lpLeftBottom:
            if (a == alTop || a == alBottom || a == alClient) {
                ALeft += lw;
                AWidth -= lw;
            }
            break;
        case lpTopLeft: case lpTopCenter:
            if (a == alTop || a == alLeft || a == alRight || a == alClient) ATop += FLabel->Height();
            break;
        case lpRightTop: case lpRightCenter: case lpRighBottom:
            if (a == alTop || a == alBottom || a == alClient) AWidth -= lw;
            break;
        default: break;
        }
    }
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ComponentState().Contains(csDestroying)) UpdateLabel();
}

void TVodCustomCombo::ChangeScale(Integer M, Integer D)
{
    TCustomComboBox::ChangeScale(M, D);
    if (!Loading(this)) FLabelFont->SetSize(Font()->Size());
}

// ---------------------------------------------------------------------------
// Messages

void TVodCustomCombo::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_FONTCHANGED:
        if ((Designing(this) || Loading(this)) && FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        TCustomComboBox::Dispatch(M);
        return;
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::Dispatch(M);
        if (FLabel && ParentFont()) {
            FLabel->Font()->Assign(Font());
            UpdateLabel();
        }
        return;
    case WM_KILLFOCUS:
        TCustomComboBox::Dispatch(M);
        return;
    case WM_NCPAINT:
        TCustomComboBox::Dispatch(M);
        if (FFlat || (!Enabled() && DoVisualStyles() && !FDisabledBorder)) DrawBorders();
        if ((FFocusBorderColor != clNone && HandleAllocated() && GetFocus() == FHandle) || FBorderColor != clNone)
            DrawBorders();
        return;
    default: break;
    }
    TCustomComboBox::Dispatch(M);
}

void TVodCustomCombo::CMEnabledChanged(TMessage& M)
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

void TVodCustomCombo::CMEnter(TMessage& M)
{
    TCustomComboBox::CMEnter(M);
    if (Designing(this)) return;
    FHasFocus = true;
    DrawBorders();
    if (FFocusColor != clNone) SetColor(FFocusColor);
    if (FFocusLabel && FLabel) {
        SetLabelBold(true);
        PlaceLabel();
    }
}

void TVodCustomCombo::CMExit(TMessage& M)
{
    TCustomComboBox::CMExit(M);
    if (Designing(this)) return;
    FHasFocus = false;
    DrawBorders();
    if (FFocusColor != clNone && FNormalColor != clNone) SetColor(FNormalColor);
    if (FFocusLabel && FLabel) {
        SetLabelBold(false);
        PlaceLabel();
    }
}

void TVodCustomCombo::WMSetFocus(TMessage& M)
{
    TCustomComboBox::WMSetFocus(M);
    if (FFocusBorderColor != clNone) Invalidate();
    if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
    if (FFocusFontColor != clNone && FFocusFontColor != Font()->Color()) {
        FFontColor = Font()->Color();
        Font()->SetColor(FFocusFontColor);
        UpdateLabel();
    }
    if (FFocusLabel && FLabel) {
        SetLabelBold(true);
        PlaceLabel();
    }
}

void TVodCustomCombo::DoExit()
{
    TCustomComboBox::DoExit();
    if (FFocusColor != clNone && FNormalColor != clNone) SetColor(FNormalColor);
    if (FFocusFontColor != clNone) {
        Font()->SetColor(FFontColor);
        UpdateLabel();
    }
    if (FFocusLabel && FLabel) {
        SetLabelBold(false);
        PlaceLabel();
    }
    Invalidate();
}

void TVodCustomCombo::CMMouseEnter(TMessage& M)
{
    TCustomComboBox::CMMouseEnter(M);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawBorders();
    }
    if (FAutoFocus && !Designing(this)) {
        TCustomForm* form = GetParentForm(this);
        if (!form || (form->HandleAllocated() && GetActiveWindow() == form->Handle())) {
            if (CanFocus()) SetFocus();
        }
    }
    if (FIsWinXP) Invalidate();
}

void TVodCustomCombo::CMMouseLeave(TMessage& M)
{
    TCustomComboBox::CMMouseLeave(M);
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawBorders();
    }
    FButtonHover = false;
    if (FIsWinXP) Invalidate();
}

void TVodCustomCombo::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomComboBox::MouseMove(Shift, X, Y);
    bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TVodCustomCombo::CNCommand(TMessage& M)
{
    TCustomComboBox::CNCommand(M);
    Word code = M.WParamHi();
    if ((code == CBN_DROPDOWN || code == CBN_CLOSEUP) && HandleAllocated()) {
        TRect c = ClientRect();
        TRect strip{c.Right - FButtonWidth, c.Top, c.Right, c.Bottom};
        InvalidateRect(FHandle, &strip, FALSE);
    }
    if (code == CBN_CLOSEUP && OnDropUp) OnDropUp(this);
}

// ---------------------------------------------------------------------------
// Painting

bool TVodCustomCombo::DoVisualStyles() const { return FIsThemed && ThemeActive(); }

bool TVodCustomCombo::IsActive()
{
    if (Designing(this)) return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TVodCustomCombo::ShowFocusBorder()
{
    return !Designing(this) && (FMouseInControl || (Screen && Screen->ActiveControl() == this)) && FFocusBorder;
}

void TVodCustomCombo::WMPaint(TMessage& M)
{
    TCustomComboBox::WMPaint(M);
    bool own = FFlat || FButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
               (!Enabled() && DoVisualStyles() && !FDisabledBorder);
    if (!own || !HandleAllocated()) return;
    HDC given = reinterpret_cast<HDC>(M.WParam);
    HDC dc = given ? given : GetDC(FHandle);
    if (!dc) return;
    int saved = SaveDC(dc);
    try {
        if (Style() != csSimple) {
            TRect c = ClientRect();
            HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
            FillRect(dc, &c, b);
            DeleteObject(b);
            DrawButtonFace(dc);
        }
        PaintWindow(dc);
        RestoreDC(dc, saved);
        DrawBorders();
    } catch (...) {
        if (!given) ReleaseDC(FHandle, dc);
        throw;
    }
    if (!given) ReleaseDC(FHandle, dc);
}

void TVodCustomCombo::DrawButtonFace(HDC DC)
{
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect R{0, 0, wr.Width(), wr.Height()};
    Integer cw = ClientWidth(), ch = ClientHeight();
    R.Left += cw - FButtonWidth + 2;
    InflateRect(R, -1, -1);
    if (FButtonColor != clNone) {
        TCanvas cv;
        cv.SetHandle(DC);
        TColor fill = FButtonColor;
        bool down = IsMouseButtonDown();
        if (FButtonHover) fill = FButtonColorHot;
        if (down && FButtonHover) fill = FButtonColorDown;
        cv.Brush()->SetColor(fill);
        cv.Pen()->SetColor(fill);
        R.Left -= 1;
        R.Top += 1;
        R.Bottom -= 1;
        R.Right -= 1;
        cv.FillRect(R);
        cv.Pen()->SetColor(FButtonBorderColor);
        cv.MoveTo(R.Left, R.Top);
        cv.LineTo(R.Left, R.Bottom);
        TColor text = down ? FButtonTextColorDown : FButtonTextColor;
        cv.Brush()->SetColor(text);
        cv.Pen()->SetColor(text);
        cv.Polygon({TPoint{R.Left + 4, R.Top + 7}, TPoint{R.Left + 10, R.Top + 7}, TPoint{R.Left + 7, R.Top + 10}});
        cv.SetHandle(nullptr);
    } else if (DoVisualStyles()) {
        bool dropped = DroppedDown();
        bool down = IsMouseButtonDown();
        int state = !Enabled() ? 4 : (down && dropped) ? 3 : (!down && FButtonHover && !dropped) ? 2 : 1;
        DrawThemedPart(FHandle, DC, L"combobox", 1, state, R);
    } else {
        DrawFrameControl(DC, &R, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? UINT(DFCS_FLAT) : UINT(DFCS_INACTIVE)));
    }
    ExcludeClipRect(DC, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

void TVodCustomCombo::DrawBorders()
{
    if (!HandleAllocated()) return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    DrawBorder(dc);
    if (Style() != csSimple && !(FIsWinXP && DoVisualStyles())) DrawButtonEdge(dc);
    ReleaseDC(FHandle, dc);
}

void TVodCustomCombo::DrawBorder(HDC DC)
{
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect W{0, 0, wr.Width(), wr.Height()};
    if (!Enabled() && FIsThemed && !FDisabledBorder) {
        FrameIn(DC, W, kDisabledThemedBorder);
        return;
    }
    if (FBorderColor != clNone && !(FHasFocus && FFocusBorderColor != clNone)) {
        FrameIn(DC, W, FBorderColor);
        return;
    }
    if (FFocusBorderColor != clNone) {
        if (FHasFocus) FrameIn(DC, W, FFocusBorderColor);
        return;
    }
    bool focus = ShowFocusBorder();
    TColor outer = focus ? TColor(clBtnFace) : ParentBrushColor(this);
    TColor inner = Color();
    if (focus) {
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

void TVodCustomCombo::DrawButtonEdge(HDC DC)
{
    Integer cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(DC, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect R{0, 0, wr.Width(), wr.Height()};
    R.Left += cw - FButtonWidth - 2;
    InflateRect(R, -2, -2);
    if (IsActive()) {
        UINT edge = FEtched ? UINT(BDR_SUNKENOUTER | BDR_RAISEDINNER) : UINT(BDR_RAISEDOUTER | BDR_RAISEDINNER);
        DrawEdge(DC, &R, edge, BF_RECT | (DroppedDown() ? UINT(BF_FLAT) : 0u));
    } else {
        InflateRect(R, 0, -1);
        R.Right -= 1;
        FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
}

// ---------------------------------------------------------------------------
// The edit part

LRESULT TVodCustomCombo::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<TVodCustomCombo*>(GetWindowLongPtr(h, GWLP_USERDATA));
    if (!self || !self->FWinProc) return DefWindowProc(h, msg, wp, lp);
    return self->EditMessage(h, msg, wp, lp);
}

LRESULT TVodCustomCombo::EditMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC previous = FWinProc;
    // 1. A click into an empty edit that shows its prompt only focuses it.
    if (msg == WM_LBUTTONDOWN && Text().empty() && !FEmptyText.empty() && FEmptyTextFocused) {
        ::SetFocus(h);
        InvalidateRect(h, nullptr, TRUE);
        return 1;
    }
    // 2. Enter as Tab, and Tab while the list is dropped, give no character.
    if (msg == WM_CHAR && ((wp == 13 && FReturnIsTab) || (wp == 9 && DroppedDown()))) return 1;
    // 3.
    LRESULT result = CallWindowProc(previous, h, msg, wp, lp);
    if (!IsWindow(h)) return result;
    // 4. Tab released while the list is dropped: commit the highlighted item, then move on.
    if (msg == WM_KEYUP && wp == VK_TAB && (lp & (1L << 30)) && DroppedDown() && Style() != csSimple) {
        // The item highlighted in the open list (the list's selection while
        // it is dropped), else the combo box's own.
        Integer index = ItemIndex();
        if (HWND list = ListHandle())
            if (LRESULT hi = SendMessage(list, LB_GETCURSEL, 0, 0); hi >= 0) index = Integer(hi);
        PostMessage(FHandle, CB_SHOWDROPDOWN, 0, 0);
        PostMessage(FHandle, CB_SETCURSEL, WPARAM(index), 0);
        PostMessage(FHandle, WM_KEYDOWN, VK_TAB, 0);
        return 1;
    }
    // 5.
    if (msg == WM_KEYDOWN) {
        FGotReturn = wp == VK_RETURN;
        if (wp == VK_TAB && DroppedDown()) result = 1;
    }
    // 6.
    if (msg == WM_KEYUP && FReturnIsTab && FGotReturn) {
        FGotReturn = false;
        if (wp == VK_RETURN) {
            PostMessage(FHandle, WM_KEYDOWN, VK_TAB, 0);
            result = 1;
        }
    }
    // 7. The prompt over an empty edit.
    if (msg == WM_PAINT && Text().empty() && !FEmptyText.empty() && (FEmptyTextFocused || GetFocus() != h)) {
        HDC dc = GetDC(h);
        if (dc) {
            TCanvas cv;
            cv.SetHandle(dc);
            cv.Font()->Assign(Font());
            cv.Font()->SetColor(TColor(0x808080));
            cv.Font()->SetStyle(FEmptyTextStyle);
            cv.Brush()->SetStyle(bsClear);
            SetBkMode(dc, TRANSPARENT);
            cv.TextOut(3, 1, FEmptyText);
            cv.SetHandle(nullptr);
            ReleaseDC(h, dc);
        }
    }
    return result;
}
