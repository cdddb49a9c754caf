// TVodEdit: the look. The attached label and its placement, the colour
// states, the flat look, the border frame and hot look, the prompt, the
// error zigzag, transparency, the text rectangle and the link look.
#include <algorithm>
#include <cmath>

#include "controls/edits/VodEdit.h"
#include "controls/edits/VodLabelPlace_Internal.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/os/Modules.h"
#include "platform/os/Shell.h"

namespace {

bool HasLocaleInfoEx()
{
    HMODULE kernel = GetModuleHandle(L"kernel32");
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

COLORREF Ref(TColor c) { return COLORREF(ColorToRGB(c)); }

bool StartsWithNoCase(const String& s, const String& head)
{
    return s.size() >= head.size() && AnsiUpperCase(s.substr(0, head.size())) == AnsiUpperCase(head);
}

}  // namespace

// ---------------------------------------------------------------------------
// TVodEditLabel

void TVodEditLabel::Dispatch(TMessage& M)
{
    TLabel::Dispatch(M);
    if (M.Msg == CM_ENABLEDCHANGED && FAlwaysEnable && !Enabled()) SetEnabled(true);
}

Integer TVodEditLabel::MeasuredWidth()
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, 1000, 255};
    const String c = Caption();
    DrawText(dc, c.c_str(), Integer(c.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return r.Right - r.Left;
}

// ---------------------------------------------------------------------------
// Window creation

void TVodEdit::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    if (!HasLocaleInfoEx()) {
        Params.Style &= ~DWORD(ES_RIGHT | ES_CENTER);
        if (FEditAlign == eaRight) Params.Style |= ES_RIGHT;
        if (FEditAlign == eaCenter) Params.Style |= ES_CENTER;
    }
}

void TVodEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetTextRect();
    if (!ParentFont() && FLabel && !FLabel->Caption().empty() && !Designing() && FLblFntHeight != 0) {
        FLblUpdate = true;
        FLabel->Font()->SetHeight(Integer(Round(double(FLblFntHeight) * EditScreenScale())));
        FLblUpdate = false;
    }
    PlaceLabel();
    FError = !ValidateValue(GetText());
    if (FError && Enabled() && FShowError) ApplyErrorLook();
    if (FOleDropTarget && !FOleDropTargetAssigned) SetOleDropTarget(true);
}

void TVodEdit::Loaded()
{
    TCustomEdit::Loaded();
    if (!Designing()) Init();
    if (FLoadedHeight > 0) SetHeight(Integer(Round(double(FLoadedHeight) * EditScreenScale())));
    if (!Designing()) LoadPersist();
    if (FLabel && !FLabelAlwaysEnabled) {
        FLabel->SetEnabled(Enabled());
        FLabel->SetAlwaysEnable(FLabelAlwaysEnabled);
    }
    UpdateLabel();
    if (FLabel) FLblFntHeight = FLabel->Font()->Height();
    if (FLabel && ParentFont() && !FShowError) FLabel->Font()->Assign(Font());
    FParentFnt = ParentFont();
    UpdateLabel();
    if (Screen) FLookup->Font()->SetSize(Integer(Round(double(FLookup->Font()->Size()) * Screen->PixelsPerInch() / 96.0)));
}

void TVodEdit::Init()
{
    FNormalColor = FColor;
    FFontColor = Font()->Color();
    FOldBorder = BorderStyle();
    const bool flat = FFlat;
    FFlat = !flat;
    SetFlat(flat);
    UpdateLabel();
    if (!Enabled()) TControl::SetColor(FDisabledColor);
}

void TVodEdit::ChangeScale(Integer M, Integer D)
{
    TCustomEdit::ChangeScale(M, D);
    if (!Loading()) FLabelFont->SetSize(Font()->Size());
}

void TVodEdit::SetTextRect()
{
    if (!HandleAllocated()) return;
    const Integer k = Ctl3D() ? 0 : Font()->Size() / 3;
    TRect c = ClientRect();
    TRect r;
    if (FFlat) r = TRect{k + FIndentL + 4, 3, c.Width() - FIndentR - k - 4, c.Height() - 4};
    else r = TRect{k + FIndentL, 0, c.Width() - FIndentR - k, c.Height()};
    if (!Ctl3D()) {
        r.Left += 1;
        r.Right -= 1;
    }
    SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

// The client area changes size also without new bounds (a bevel taken on or
// off): the text rectangle follows it.
void TVodEdit::WMSize(TMessage& M)
{
    TCustomEdit::WMSize(M);
    SetTextRect();
}

void TVodEdit::NudgeWidth()
{
    const Integer w = Width();
    SetWidth(w + 1);
    SetWidth(w);
}

Integer TVodEdit::GetTextSize()
{
    if (!HandleAllocated()) return 0;
    HDC dc = GetDC(FHandle);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    const String t = GetText();
    SIZE sz{};
    GetTextExtentPoint32(dc, t.c_str(), Integer(t.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
    return sz.cx;
}

// ---------------------------------------------------------------------------
// Colour states

void TVodEdit::SetColor(TColor v)
{
    TControl::SetColor(v);
    FNormalColor = v;
}

void TVodEdit::SetEnabled(bool Value)
{
    if (Value == Enabled()) return;
    TCustomEdit::SetEnabled(Value);
    if (Loading() || Designing()) return;
    if (Value) {
        TControl::SetColor(FNormalColor);
        if (FError && FShowError) ApplyErrorLook();
    } else {
        const TColor keep = FError ? FNormalColor : FColor;
        TControl::SetColor(FDisabledColor);
        FNormalColor = keep;
    }
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
    NudgeWidth();
}

void TVodEdit::SetDisabledColor(TColor v)
{
    FDisabledColor = v;
    if (!Enabled() && !Loading()) TControl::SetColor(v);
    Invalidate();
}

void TVodEdit::ApplyErrorLook()
{
    if (FError) {
        TControl::SetColor(FErrorColor);
        Font()->SetColor(FErrorFontColor);
    } else if (Focused()) {
        TControl::SetColor(FFocusColor != clNone ? FFocusColor : FNormalColor);
        if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
    } else {
        TControl::SetColor(FNormalColor);
        Font()->SetColor(FFontColor);
    }
}

void TVodEdit::SetFlat(bool v)
{
    if (Loading()) {
        FFlat = v;
        return;
    }
    if (v == FFlat) return;
    FFlat = v;
    if (v) {
        const TColor remembered = FColor;
        if (FFlatParentColor && Parent()) {
            TControl::SetColor(Parent()->Color());
            FFocusColor = Parent()->Color();
        } else {
            TControl::SetColor(FNormalColor);
        }
        FNormalColor = remembered;
        SetBorderStyle(bsNone);
    } else {
        TControl::SetColor(FNormalColor);
        SetBorderStyle(FOldBorder);
    }
    SetTextRect();
    Invalidate();
}

void TVodEdit::SetEditAlign(TEditAlign v)
{
    if (v == FEditAlign) return;
    FEditAlign = v;
    if (HandleAllocated()) {
        RecreateWnd();
        NudgeWidth();
    }
}

void TVodEdit::SetBorderColor(TColor v)
{
    if (v == FBorderColor) return;
    FBorderColor = v;
    if (HandleAllocated()) SendMessage(FHandle, WM_NCPAINT, 0, 0);
}

// ---------------------------------------------------------------------------
// The label

String TVodEdit::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TVodEdit::SetLabelCaption(const String& v)
{
    if (!FLabel) {
        FLabel = new TVodEditLabel(this);
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->OnClick = [this](TObject*) {
            if (OnLabelClick) OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](TObject*) {
            if (OnLabelDblClick) OnLabelDblClick(this);
        };
        FLabel->SetParentFont(ParentFont());
        if (Parent()) FLabel->SetParent(Parent());
    }
    FLabel->SetCaption(v);
    UpdateLabel();
}

void TVodEdit::SetLabelFont(TFont* v)
{
    if (!ParentFont()) FLabelFont->Assign(v);
    UpdateLabel();
}

void TVodEdit::LabelFontChanged(TObject*)
{
    if (FLabel && !FLblUpdate) FLabel->Font()->Assign(FLabelFont.get());
    UpdateLabel();
    if (Designing() && !Loading()) SetParentFont(false);
    if (!FLblUpdate) FLblFntHeight = FLabelFont->Height();
}

void TVodEdit::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel) {
        if (v) FLabel->SetEnabled(true);
        FLabel->SetAlwaysEnable(v);
    }
    Invalidate();
}

void TVodEdit::UpdateLabel()
{
    if (!FLabel || !FLabel->Parent()) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLblUpdate = true;
    if (FParentFnt && !FShowError) FLabel->Font()->Assign(Font());
    else FLabel->Font()->Assign(FLabelFont.get());
    FLblUpdate = false;
    if (FFocusLabel) {
        TFontStyles st = FLabel->Font()->Style();
        if (HandleAllocated() && Focused()) st.Include(fsBold);
        else st.Exclude(fsBold);
        FLabel->Font()->SetStyle(st);
    }
    if (FLabel->Parent()->HandleAllocated()) PlaceLabel();
}

void TVodEdit::PlaceLabel()
{
    if (!FLabel || !FLabel->Parent()) return;
    using namespace VodEdit;
    static_assert(Integer(lpBottomRight) == Integer(VodEdits::TLabelPlace::BottomRight));
    VodEdits::TLabelGeometry g;
    g.Left = Left(), g.Top = Top(), g.Width = Width(), g.Height = Height(), g.Margin = FLabelMargin;
    g.CaptionWidth = FLabel->MeasuredWidth(), g.LabelWidth = FLabel->Width(), g.LabelHeight = FLabel->Height();
    const Integer B = BorderStyle() == bsSingle ? 2 : 0, H = g.LabelHeight, E = g.Height, T = g.Top;
    g.CentreTop = H < E ? T + (E - B - H) / 2 : T - (B + H - E) / 2;
    const TPoint at = VodEdits::LabelOrigin(VodEdits::TLabelPlace(FLabelPosition), g);
    const Integer x = at.X, y = at.Y;
    FLabel->SetBounds(x, y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TVodEdit::SetVisible(bool v)
{
    TCustomEdit::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

void TVodEdit::SetParent(TWinControl* AParent)
{
    TCustomEdit::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TVodEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    if (Loading()) FLoadedHeight = AHeight;
    if (FLabel) {
        using namespace VodEdit;
        const Integer LW = FLabel->Width(), H = FLabel->Height(), M = FLabelMargin;
        const TAlign a = Align();
        const bool leftSide = FLabelPosition == lpLeftTop || FLabelPosition == lpLeftCenter ||
                              FLabelPosition == lpLeftBottom;
        const bool topSide = FLabelPosition == lpTopLeft || FLabelPosition == lpTopCenter ||
                             FLabelPosition == lpTopRight;
        const bool rightSide = FLabelPosition == lpRightTop || FLabelPosition == lpRightCenter ||
                               FLabelPosition == lpRighBottom;
        if (leftSide && (a == alTop || a == alBottom || a == alClient)) {
            ALeft += LW + M;
            AWidth -= LW + M;
        }
        if (topSide && (a == alTop || a == alLeft || a == alRight || a == alClient)) ATop += H;
        if (rightSide && (a == alTop || a == alBottom || a == alClient)) AWidth -= LW + M;
    }
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateLabel();
    SetTextRect();
}

// ---------------------------------------------------------------------------
// The link look

bool TVodEdit::IsURL()
{
    const String t = GetText();
    return Pos(L"://", t) > 0 || Pos(L"@", t) > 1 || StartsWithNoCase(t, L"www.");
}

void TVodEdit::SetURLLook(bool On)
{
    if (On) {
        FParentFnt = false;
        TFontStyles st = Font()->Style();
        st.Include(fsUnderline);
        Font()->SetStyle(st);
        Font()->SetColor(FURLColor);
        FIsUrl = true;
        SetCursor(crHandPoint);
        Invalidate();
    } else if (FIsUrl) {
        TFontStyles st = Font()->Style();
        st.Exclude(fsUnderline);
        Font()->SetStyle(st);
        Font()->SetColor(FFontColor);
        FIsUrl = false;
        SetCursor(crDefault);
    }
}

// ---------------------------------------------------------------------------
// Painting

void TVodEdit::WMPaint(TMessage& M)
{
    if (FTransparent && M.WParam == 0 && HandleAllocated() && (Enabled() || FDisabledTextColor == clNone)) {
        // The parent's picture first, then the text over it.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FHandle, &ps);
        if (dc) {
            TMessage erase{WM_ERASEBKGND, WPARAM(dc), 0, 0};
            WMEraseBkgnd(erase);
            TMessage paint{WM_PAINT, WPARAM(dc), 0, 0};
            TCustomEdit::WMPaint(paint);
            DrawOverlay(dc);
            EndPaint(FHandle, &ps);
        }
    } else if (Enabled() || FDisabledTextColor == clNone) {
        TCustomEdit::WMPaint(M);
        if (HandleAllocated()) {
            HDC dc = GetDC(FHandle);
            DrawOverlay(dc);
            ReleaseDC(FHandle, dc);
        }
    } else {
        PAINTSTRUCT ps;
        HDC given = reinterpret_cast<HDC>(M.WParam);
        HDC dc = given ? given : BeginPaint(FHandle, &ps);
        if (dc) {
            if (!given && ps.fErase) SendMessage(FHandle, WM_ERASEBKGND, WPARAM(dc), 0);
            TRect c = ClientRect();
            HBRUSH br = CreateSolidBrush(Ref(FColor));
            FillRect(dc, &c, br);
            DeleteObject(br);
            const int saved = SaveDC(dc);
            SetBkMode(dc, TRANSPARENT);
            SelectObject(dc, Font()->Handle());
            SetTextColor(dc, Ref(FDisabledTextColor));
            const String t = GetText();
            TextOut(dc, 1, 1, t.c_str(), Integer(t.size()));
            RestoreDC(dc, saved);
            if (!given) EndPaint(FHandle, &ps);
        }
    }
    if (FBorder3D || FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder) ||
        FFlat || (FFocusBorder && FMouseInControl))
        DrawBorder();
}

void TVodEdit::WMNCPaint(TMessage& M)
{
    // The frame and any bevel first; the coloured border goes over them.
    TCustomEdit::WMNCPaint(M);
    if (FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder)) DrawBorder();
}

void TVodEdit::DrawOverlay(HDC DC)
{
    const TRect c = ClientRect();
    const Integer w = c.Width(), h = c.Height();
    TRect R;
    SendMessage(FHandle, EM_GETRECT, 0, LPARAM(&R));
    const bool focused = ::GetFocus() == FHandle;
    // Flat: the hot frame or the line under the text.
    if (FFlat) {
        if (FFocusBorder && focused) {
            DrawBorder();
        } else if (FFlatLineColor != clNone) {
            HPEN pen = CreatePen(PS_SOLID, 1, Ref(Enabled() ? FFlatLineColor : clGray));
            HGDIOBJ old = SelectObject(DC, pen);
            if (FSoftBorder) {
                POINT pts[5] = {{R.Left + FIndentL - 4, h - 1}, {w - 1, h - 1}, {w - 1, R.Top - 3},
                                {R.Left + FIndentL - 4, R.Top - 3}, {R.Left + FIndentL - 4, h - 1}};
                Polyline(DC, pts, 5);
            } else {
                MoveToEx(DC, R.Left + FIndentL - 2, h - 1, nullptr);
                LineTo(DC, w - FIndentR, h - 1);
            }
            SelectObject(DC, old);
            DeleteObject(pen);
        }
    }
    DrawDropMarker(DC);
    // The prompt.
    if (GetText().empty() && (FEmptyTextFocused || !focused) && !FEmptyText.empty()) {
        const int saved = SaveDC(DC);
        if (HasLocaleInfoEx()) SetBkColor(DC, Ref(FColor));
        else SetBkMode(DC, TRANSPARENT);
        if (IsCustomStyleActive() && ActiveStyleName() != L"Windows") SetBkMode(DC, TRANSPARENT);
        TFont f;
        f.Assign(Font());
        f.SetStyle(FEmptyTextStyle);
        f.SetColor(clGray);
        SelectObject(DC, f.Handle());
        SetTextColor(DC, Ref(clGray));
        const Integer x = Ctl3D() ? 3 : 6;
        TextOut(DC, x, 2, FEmptyText.c_str(), Integer(FEmptyText.size()));
        RestoreDC(DC, saved);
    }
    // The error zigzag.
    if (!focused && FErrorMarkerLen > 0) {
        const int saved = SaveDC(DC);
        SelectObject(DC, Font()->Handle());
        SIZE gh{};
        GetTextExtentPoint32(DC, L"gh", 2, &gh);
        const Integer G = gh.cy;
        const Integer len = Integer(WindowText().size());
        auto at = [&](Integer i) {
            if (i >= len) {
                TPoint p = PosFromChar(len);
                p.X += 4;
                return p;
            }
            return PosFromChar(i);
        };
        const TPoint s = at(FErrorMarkerPos);
        const TPoint e = at(FErrorMarkerPos + FErrorMarkerLen - 1 < len ? FErrorMarkerPos + FErrorMarkerLen - 1 : len);
        HPEN pen = CreatePen(PS_SOLID, 2, Ref(clRed));
        SelectObject(DC, pen);
        Integer x = s.X;
        bool low = false;
        MoveToEx(DC, x, s.Y + G + 2, nullptr);
        while (x < e.X + 3) {
            x += 3;
            LineTo(DC, x, low ? e.Y + G - 1 : e.Y + G + 2);
            low = !low;
        }
        RestoreDC(DC, saved);
        DeleteObject(pen);
    }
}

void TVodEdit::DrawBorder()
{
    if (!HandleAllocated()) return;
    if (FBorderColor == clNone && Designing()) return;
    TColor colour = clNone;
    if (!Enabled() && FIsThemed && FDisabledBorder) colour = clSilver;
    else if (FFocusBorderColor != clNone && ::GetFocus() == FHandle) colour = FFocusBorderColor;
    else colour = FBorderColor;
    const bool draw = !Enabled() || FFlat || FBorderColor != clNone || FFocusBorderColor != clNone ||
                      (FFocusBorder && FMouseInControl) || FBorder3D;
    if (!draw) return;
    HDC dc = GetWindowDC(FHandle);
    TRect r;
    GetWindowRect(FHandle, &r);
    OffsetRect(r, -r.Left, -r.Top);
    if (colour != clNone) {
        HBRUSH br = CreateSolidBrush(Ref(colour));
        FrameRect(dc, &r, br);
        DeleteObject(br);
    } else if (!(!Enabled()) && !(FFocusBorder && FIsThemed)) {
        TCustomForm* form = GetParentForm(this);
        const bool active = form && form->ActiveControl() == this;
        const bool hot = FBorder3D || (FFocusBorder && (FMouseInControl || active));
        if (hot) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        } else if (BorderStyle() == bsSingle) {
            HBRUSH br = CreateSolidBrush(Ref(Parent() ? Parent()->Color() : clBtnFace));
            FrameRect(dc, &r, br);
            InflateRect(r, -1, -1);
            FrameRect(dc, &r, br);
            DeleteObject(br);
        }
    }
    ReleaseDC(FHandle, dc);
}

void TVodEdit::WMEraseBkgnd(TMessage& M)
{
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    if (FTransparent && Parent() && dc && Parent()->HandleAllocated()) {
        const int saved = SaveDC(dc);
        POINT old;
        OffsetWindowOrgEx(dc, Left(), Top(), &old);
        SendMessage(Parent()->Handle(), WM_ERASEBKGND, WPARAM(dc), 0);
        SendMessage(Parent()->Handle(), WM_PAINT, WPARAM(dc), 0);
        TWinCtrl::PaintCtrlsOf(Parent(), dc, nullptr);
        RestoreDC(dc, saved);
        M.Result = 1;
        return;
    }
    TCustomEdit::WMEraseBkgnd(M);
}

void TVodEdit::CNCtlColor(TMessage& M)
{
    TCustomEdit::Dispatch(M);
    if (FTransparent) {
        SetBkMode(reinterpret_cast<HDC>(M.WParam), TRANSPARENT);
        // The parent's picture is already in place: nothing to fill.
        M.Result = LRESULT(GetStockObject(NULL_BRUSH));
    }
}

// ---------------------------------------------------------------------------
// Mouse enter and leave, hint, fonts

void TVodEdit::CMMouseEnter(TMessage& M)
{
    TCustomEdit::CMMouseEnter(M);
    if (FAutoFocus && !Designing()) {
        TCustomForm* form = GetParentForm(this);
        if (!form || (form->HandleAllocated() && GetActiveWindow() == form->Handle()))
            if (CanFocus()) SetFocus();
    }
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFocusBorder) DrawBorder();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TVodEdit::CMMouseLeave(TMessage& M)
{
    TCustomEdit::CMMouseLeave(M);
    if (Enabled()) {
        FMouseInControl = false;
        if (FFocusBorder) Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TVodEdit::CMHintShow(TMessage& M)
{
    TCustomEdit::CMHintShow(M);
    auto* hi = reinterpret_cast<THintInfo*>(M.LParam);
    if (hi && FHintShowLargeText && GetTextSize() > Width()) {
        hi->HintStr = GetText();
        hi->HintPos = ClientToScreen(TPoint{0, 0});
    }
}

void TVodEdit::CMFontChanged(TMessage& M)
{
    if ((Designing() || Loading()) && FLabel && ParentFont() && !FShowError) FLabel->Font()->Assign(Font());
    TCustomEdit::Dispatch(M);
    SetTextRect();
}

// ---------------------------------------------------------------------------
// The link click

void TVodEdit::CMEnabledChangedEdit(TMessage& M) { TCustomEdit::Dispatch(M); }
