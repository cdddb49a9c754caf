#include "controls/edits/VodDateTimePicker.h"

#include <algorithm>
#include <cmath>

#include "controls/edits/VodLabelPlace_Internal.h"
#include "controls/edits/VodSystemProbes.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/base/SysUtils.h"

using namespace VodDateTimePicker;
using namespace VodEdits;

namespace {

constexpr TColor kThemedBorder = TColor(0xB99D7F);

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

void FrameIn(HDC dc, const TRect& r, TColor color)
{
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(color)));
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void Polyline(HDC dc, TColor color, std::initializer_list<TPoint> pts)
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

// The message that frees companions released inside their own handlers.
UINT ReleaseMessage() { return RegisterWindowMessage(L"VodDateTimePickerRelease"); }

TDateTime TimeOfDay(TDateTime v) { return std::fabs(v - std::trunc(v)); }

}  // namespace

UINT VodDateTimePicker::ShiftFocusMessage() { return Word(RegisterWindowMessage(L"DTPShiftFocus")); }

// ===========================================================================
// TCustomDateTimePicker

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner)
{
    FIsThemed = ComCtl32MajorVersion() > 5;
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = IsWinXPOrLater();
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(false);
}

TCustomDateTimePicker::~TCustomDateTimePicker() = default;

void TCustomDateTimePicker::CreateParams(TCreateParams& P) { TDateTimePicker::CreateParams(P); }

void TCustomDateTimePicker::CreateWnd()
{
    TDateTimePicker::CreateWnd();
    ApplyWholeFields();
}

void TCustomDateTimePicker::ApplyWholeFields()
{
    // With auto-tab the control moves on by itself: the window then takes a
    // field's digits as one change once the field is complete.
    if (HandleAllocated()) DateTimePickerSetWholeFields(FHandle, FAutoTab);
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    Invalidate();
}

void TCustomDateTimePicker::SetAutoTab(bool v)
{
    FAutoTab = v;
    ApplyWholeFields();
}

void TCustomDateTimePicker::SetAutoTabToNext(bool v) { FAutoTabToNext = v; }

void TCustomDateTimePicker::SetMetroStyle(bool v)
{
    if (FMetroStyle == v) return;
    FMetroStyle = v;
    Invalidate();
}

void TCustomDateTimePicker::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    Invalidate();
}

void TCustomDateTimePicker::KeyPress(wchar_t& Key)
{
    if (Key >= L'0' && Key <= L'9' && FAutoTab) {
        if (TDateTimePicker::Kind() == dtkTime) DecodeTime(TDateTimePicker::DateTime(), Fh, Fm, Fs, Fms);
        TDateTimePicker::KeyPress(Key);
        // Posted: it comes back once the window has taken the digit.
        if (HandleAllocated()) PostMessage(FHandle, ShiftFocusMessage(), 0, 0);
        return;
    }
    TDateTimePicker::KeyPress(Key);
}

void TCustomDateTimePicker::WndProc(TMessage& M)
{
    if (M.Msg == ShiftFocusMessage()) ShiftFocus();
    if (FAutoTab && M.Msg == WM_SETFOCUS && HandleAllocated())
        PostMessage(FHandle, WM_LBUTTONDOWN, 0, MAKELPARAM(ShowCheckbox() ? 24 : 2, 2));
    TDateTimePicker::WndProc(M);
}

void TCustomDateTimePicker::ShiftFocus()
{
    if (TDateTimePicker::Kind() != dtkTime) return;
    Word h, m, s, ms;
    DecodeTime(TDateTimePicker::DateTime(), h, m, s, ms);
    if (h == Fh && m == Fm && s == Fs) return;
    if (h == Fh && m == Fm && FAutoTabToNext) {
        FocusNextControl();
        return;
    }
    if (HandleAllocated()) PostMessage(FHandle, WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::FocusNextControl()
{
    if (!HandleAllocated() || !IsWindowVisible(FHandle)) return;
    if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_NEXTDLGCTL, 0, 0);
}

void TCustomDateTimePicker::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_NCPAINT: NCPaint(M); return;
    case WM_GETDLGCODE:
        TDateTimePicker::Dispatch(M);
        if (FGridTabhandling) {
            bool shift = GetKeyState(VK_SHIFT) < 0;
            if ((FIsTimePicker && !shift) || (shift && !FIsTimePicker)) M.Result |= DLGC_WANTTAB;
        }
        return;
    default: break;
    }
    TDateTimePicker::Dispatch(M);
}

void TCustomDateTimePicker::CMEnter(TMessage& M)
{
    TDateTimePicker::CMEnter(M);
    if (Designing(this)) return;
    FHasFocus = true;
    DrawBorders();
}

void TCustomDateTimePicker::CMExit(TMessage& M)
{
    TDateTimePicker::CMExit(M);
    FHasFocus = false;
    DrawBorders();
}

void TCustomDateTimePicker::CMMouseEnter(TMessage& M)
{
    TDateTimePicker::CMMouseEnter(M);
    if (Enabled() && !FMouseInControl) {
        FMouseInControl = true;
        DrawBorders();
    }
    if (FIsWinXP) Invalidate();
}

void TCustomDateTimePicker::CMMouseLeave(TMessage& M)
{
    TDateTimePicker::CMMouseLeave(M);
    if (Enabled() && FMouseInControl) {
        FMouseInControl = false;
        DrawBorders();
    }
    FButtonHover = false;
    if (FIsWinXP) Invalidate();
}

void TCustomDateTimePicker::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TDateTimePicker::MouseMove(Shift, X, Y);
    bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TCustomDateTimePicker::Ctl3DChanged()
{
    TDateTimePicker::Ctl3DChanged();
    Invalidate();
}

bool TCustomDateTimePicker::DoVisualStyles() const { return FIsThemed && ThemeActive(); }

bool TCustomDateTimePicker::IsActive()
{
    if (Designing(this)) return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

bool TCustomDateTimePicker::ShowFocusBorder()
{
    return !Designing(this) && (FMouseInControl || (Screen && Screen->ActiveControl() == this)) && FFocusBorder;
}

void TCustomDateTimePicker::NCPaint(TMessage& M)
{
    TDateTimePicker::Dispatch(M);
    if (!Ctl3D() && HandleAllocated()) {
        HDC dc = GetWindowDC(FHandle);
        if (dc) {
            DrawFlatFrame(dc, false);
            ReleaseDC(FHandle, dc);
        }
    }
    if (!Enabled() && DoVisualStyles() && !FDisabledBorder) DrawBorders();
    if ((FFocusBorderColor != clNone && HandleAllocated() && GetFocus() == FHandle) || FBorderColor != clNone) DrawBorders();
    M.Result = 0;
}

void TCustomDateTimePicker::DrawFlatFrame(HDC DC, bool SecondOutline)
{
    TColor pen = FBorderStyle == bsNone && Parent() ? Parent()->Color() : FIsThemed ? kThemedBorder : FBorderColor;
    Integer W = Width(), H = Height();
    Polyline(DC, pen, {TPoint{0, H}, TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{W - 1, H - 1}, TPoint{0, H - 1}});
    if (SecondOutline) {
        Polyline(DC, pen, {TPoint{1, H}, TPoint{1, 1}, TPoint{W - 2, 1}, TPoint{W - 2, H - 2}, TPoint{0, H - 2}});
        return;
    }
    if (Parent() && FBorderStyle == bsSingle)
        Polyline(DC, Parent()->Color(), {TPoint{1, H - 2}, TPoint{1, 1}, TPoint{W - 1, 1}});
}

void TCustomDateTimePicker::WMPaint(TMessage& M)
{
    TDateTimePicker::WMPaint(M);
    if ((Ctl3D() && !IsMetro()) || !IsVistaOrLater() || !HandleAllocated()) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    int saved = SaveDC(dc);
    TPoint org = ClientOrigin();
    TRect wr;
    GetWindowRect(FHandle, &wr);
    // The whole-window DC: client coordinates are offset by the frame.
    TPoint off{org.X - wr.Left, org.Y - wr.Top};
    if (IsMetro() && TDateTimePicker::Kind() != dtkTime) {
        if (ComCtl32MajorVersion() >= 6) {
            Integer cw = ClientWidth();
            TRect c = ClientRect();
            TRect r = ThemeActive() ? TRect{cw - FButtonWidth - 4, 1, c.Right, Height()}
                                    : TRect{cw - FButtonWidth - 2, 4, c.Right - 2, Height() - 4};
            OffsetRect(r, off.X, off.Y);
            HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
        DrawButtonFace(dc);
    }
    if (!Ctl3D()) DrawFlatFrame(dc, !ThemeActive());
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
    DrawBorders();
}

void TCustomDateTimePicker::DrawButtonFace(HDC DC)
{
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect R{0, 0, wr.Width(), wr.Height()};
    Integer cw = ClientWidth(), ch = ClientHeight();
    R.Left += cw - FButtonWidth + 2;
    InflateRect(R, -1, -1);
    bool down = IsMouseButtonDown();
    bool dropped = DroppedDown();
    if (FButtonColor != clNone) {
        TCanvas cv;
        cv.SetHandle(DC);
        TColor fill = FButtonColor;
        if (FButtonHover) fill = FButtonColorHot;
        if (FButtonHover && down) fill = FButtonColorDown;
        if (fill == clNone) fill = FButtonColor;
        cv.Brush()->SetColor(fill);
        cv.Pen()->SetColor(fill);
        cv.FillRect(TRect{R.Left + 2, R.Top, R.Right, R.Bottom});
        cv.Pen()->SetColor(FButtonBorderColor == clNone ? fill : FButtonBorderColor);
        cv.MoveTo(R.Left, R.Top);
        cv.LineTo(R.Left, R.Bottom);
        TColor text = down && FButtonTextColorDown != clNone ? FButtonTextColorDown : FButtonTextColor;
        if (text == clNone) text = clBlack;
        cv.Brush()->SetColor(text);
        cv.Pen()->SetColor(text);
        cv.Polygon({TPoint{R.Left + 5, R.Top + 7}, TPoint{R.Left + 11, R.Top + 7}, TPoint{R.Left + 8, R.Top + 10}});
        cv.SetHandle(nullptr);
    } else if (DoVisualStyles()) {
        int state = !Enabled() ? 4 : (down && dropped) ? 3 : (down || !FButtonHover || dropped) ? 1 : 2;
        DrawThemedPart(FHandle, DC, L"combobox", 1, state, R);
    } else {
        DrawFrameControl(DC, &R, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? UINT(DFCS_FLAT) : UINT(DFCS_INACTIVE)));
    }
    ExcludeClipRect(DC, cw - FButtonWidth - 4, 0, cw + 2, ch);
}

void TCustomDateTimePicker::DrawBorders()
{
    if (UseSystemBorder() || !IsMetro()) return;
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(FHandle);
    if (!dc) return;
    DrawBorder(dc);
    if (!(FIsWinXP && DoVisualStyles())) DrawButtonEdge(dc);
    ReleaseDC(FHandle, dc);
}

void TCustomDateTimePicker::DrawBorder(HDC DC)
{
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect W{0, 0, wr.Width(), wr.Height()};
    if (!Enabled() && FIsThemed && !FDisabledBorder) {
        FrameIn(DC, W, kThemedBorder);
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
    TColor outer = focus ? TColor(clBtnFace) : (Parent() ? Parent()->Color() : Color());
    if (focus) {
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

void TCustomDateTimePicker::DrawButtonEdge(HDC DC)
{
    Integer cw = ClientWidth(), ch = ClientHeight();
    ExcludeClipRect(DC, cw - FButtonWidth + 4, 4, cw - 4, ch - 4);
    TRect wr;
    GetWindowRect(FHandle, &wr);
    TRect R{0, 0, wr.Width(), wr.Height()};
    R.Left += cw - FButtonWidth - 2;
    InflateRect(R, -2, -2);
    if (IsActive()) {
        DrawEdge(DC, &R, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RECT | (DroppedDown() ? UINT(BF_FLAT) : 0u));
    } else {
        InflateRect(R, 0, -1);
        R.Right -= 1;
        FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
}

// ===========================================================================
// TVodDateTimePicker

TVodDateTimePicker::TVodDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner)
{
    FLabelFont = std::make_unique<TFont>();
    FLblFntHeight = FLabelFont->Height();
    FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
    SetBorderStyle(bsSingle);
    SetCtl3D(true);
    SetMetroStyle(false);
    FOriginalFormat = TDateTimePicker::Format();
}

TVodDateTimePicker::~TVodDateTimePicker()
{
    if (FLabel) {
        TLabel* l = FLabel;
        FLabel = nullptr;
        l->SetParent(nullptr);
        delete l;
    }
    FLabelFont->OnChange = nullptr;
    delete FTimePicker;
    FTimePicker = nullptr;
    for (TCustomDateTimePicker* t : FReleased) delete t;
    FReleased.clear();
}

String TVodDateTimePicker::Version()
{
    Cardinal v = Cardinal(GetVersionNr());
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

// ---------------------------------------------------------------------------
// Values

TDateTime TVodDateTimePicker::DateTime()
{
    if (FTimePicker) {
        TDateTime own = TDateTimePicker::DateTime();
        TDateTime merged = std::trunc(own) + TimeOfDay(FTimePicker->TDateTimePicker::DateTime());
        if (merged != own) TDateTimePicker::SetDateTime(merged);
    }
    return TDateTimePicker::DateTime();
}

void TVodDateTimePicker::SetDateTime(TDateTime v)
{
    InternalSet(v);
    FInternalChangedFlag = false;
}

void TVodDateTimePicker::SetDate(TDateTime v)
{
    Word h, m, s, ms;
    DecodeTime(DateTime(), h, m, s, ms);
    SetDateTime(std::trunc(v) + EncodeTime(h, m, s, 0));
}

TDateTime TVodDateTimePicker::Time() const
{
    if (FKind == dkDateTime && FTimePicker) return FTimePicker->TDateTimePicker::Time();
    return TDateTimePicker::Time();
}

void TVodDateTimePicker::SetTime(TDateTime v)
{
    TDateTimePicker::SetTime(v);
    UpdateTimePicker();
}

void TVodDateTimePicker::SetKind(TVodDateTimeKind v)
{
    if (FKind == v) return;
    FKind = v;
    TDateTimePicker::SetKind(v == dkTime ? dtkTime : dtkDate);
    if (v == dkDateTime) {
        TDateTime keep = DateTime();
        if (!FTimePicker) CreateTimePicker();
        SetDateTime(keep);
    }
    UpdateTimePicker();
}

void TVodDateTimePicker::SetFormat(const String& v)
{
    if (v != FNullDateFormat) FOriginalFormat = v;
    TDateTimePicker::SetFormat(v);
}

void TVodDateTimePicker::SetTimeFormat(const String& v)
{
    if (FTimePicker) FTimePicker->TDateTimePicker::SetFormat(v);
    if (FKind == dkTime) SetFormat(v);
    FTimeFormat = v;
    UpdateTimePicker();
}

void TVodDateTimePicker::SetTabStop(bool v)
{
    TDateTimePicker::SetTabStop(v);
    if (FTimePicker) FTimePicker->SetTabStop(v);
}

void TVodDateTimePicker::SetAutoTab(bool v)
{
    TCustomDateTimePicker::SetAutoTab(v);
    if (FTimePicker) FTimePicker->SetAutoTab(v);
}

void TVodDateTimePicker::SetAutoTabToNext(bool v)
{
    TCustomDateTimePicker::SetAutoTabToNext(v);
    if (FTimePicker) FTimePicker->SetAutoTabToNext(v);
}

void TVodDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    TCustomDateTimePicker::SetBorderStyle(v);
    UpdateTimePicker();
}

void TVodDateTimePicker::InternalSet(TDateTime x)
{
    Word h, m, s, ms;
    DecodeTime(x, h, m, s, ms);
    CreateTimePicker();
    if (MinDate() != 0 && x < MinDate()) x = MinDate();
    if (MaxDate() != 0 && x > MaxDate()) x = MaxDate();
    TDateTime time = EncodeTime(h, m, s, 0);
    if (std::trunc(x) == 0 && FNullDateIsToday) TDateTimePicker::SetDateTime(std::trunc(::Date()) + time);
    else TDateTimePicker::SetDateTime(std::trunc(x) + time);
    if (FTimePicker) FTimePicker->TDateTimePicker::SetDateTime(std::trunc(::Date()) + time);
    ApplyNullFormat();
}

void TVodDateTimePicker::ApplyNullFormat()
{
    if (DateTime() == FNullDateDate && !FNullDateFormat.empty()) TDateTimePicker::SetFormat(FNullDateFormat);
    else TDateTimePicker::SetFormat(FOriginalFormat);
}

void TVodDateTimePicker::ClampTime()
{
    if (FMinTime == FMaxTime) return;
    TDateTime v = TDateTimePicker::DateTime();
    TDateTime t = TimeOfDay(v), lo = TimeOfDay(FMinTime), hi = TimeOfDay(FMaxTime);
    if (t < lo) SetDateTime(std::trunc(v) + lo);
    else if (t > hi) SetDateTime(std::trunc(v) + hi);
}

// ---------------------------------------------------------------------------
// The companion time picker

void TVodDateTimePicker::CreateTimePicker()
{
    if (FKind != dkDateTime || FTimePicker) return;
    auto* tp = new TCustomDateTimePicker(this);
    FTimePicker = tp;
    if (!(Loading(this) && Designing(this))) tp->SetParent(this);
    tp->SetBounds(tp->Left(), tp->Top(), 90, 17);
    tp->FIsTimePicker = true;
    tp->SetVisible(false);
    tp->SetEnabled(Enabled());
    tp->TDateTimePicker::SetKind(dtkTime);
    // A handler may change Kind and so release the companion: it is freed
    // only after the companion's own call has returned.
    auto guarded = [this](auto&& call) {
        ++FInCompanionEvent;
        try {
            call();
        } catch (...) {
            --FInCompanionEvent;
            throw;
        }
        --FInCompanionEvent;
    };
    tp->OnChange = [this, guarded](TObject* s) { guarded([&] { TimeChanged(s); }); };
    tp->OnClick = [this, guarded](TObject*) { guarded([&] { DoClick(); }); };
    tp->OnKeyPress = [this, guarded](TObject* s, wchar_t& k) { guarded([&] { DoTimePickerKeyPress(s, k); }); };
    tp->OnKeyDown = [this, guarded](TObject*, Word& k, TShiftState sh) { guarded([&] { KeyDown(k, sh); }); };
    tp->OnExit = [this, guarded](TObject*) { guarded([&] { Invalidate(); }); };
    tp->FAutoTabToNext = FAutoTabToNext;
    tp->FGridTabhandling = FGridTabhandling;
    tp->SetAutoTab(FAutoTab);
}

void TVodDateTimePicker::TimeChanged(TObject*)
{
    DoChange();
    if (FTimePicker && FMinTime != FMaxTime) {
        TDateTime v = FTimePicker->TDateTimePicker::DateTime();
        TDateTime t = TimeOfDay(v), lo = TimeOfDay(FMinTime), hi = TimeOfDay(FMaxTime);
        if (t < lo) FTimePicker->TDateTimePicker::SetDateTime(std::trunc(v) + lo);
        else if (t > hi) FTimePicker->TDateTimePicker::SetDateTime(std::trunc(v) + hi);
    }
    if (OnTimeChange) OnTimeChange(this);
}

void TVodDateTimePicker::ReleaseTimePicker()
{
    TCustomDateTimePicker* tp = FTimePicker;
    if (!tp) return;
    FTimePicker = nullptr;
    if (FInCompanionEvent > 0 && HandleAllocated()) {
        // Inside one of its handlers: hidden now, freed when the post returns.
        tp->SetVisible(false);
        FReleased.push_back(tp);
        PostMessage(FHandle, ReleaseMessage(), 0, 0);
        return;
    }
    delete tp;
}

void TVodDateTimePicker::UpdateTimePicker()
{
    TCustomDateTimePicker* tp = FTimePicker;
    if (!tp) return;
    if (tp->Parent() != this) tp->SetParent(this);
    tp->SetColor(Color());
    tp->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
    tp->SetVisible(FKind == dkDateTime);
    tp->TDateTimePicker::SetTime(Time());
    tp->TDateTimePicker::SetDateTime(std::trunc(::Date()) + TimeOfDay(DateTime()));
    tp->TDateTimePicker::SetFormat(FTimeFormat);
    tp->Font()->Assign(Font());
    if (tp->Visible() || (Loading(this) && !Designing(this))) {
        String text;
        if (tp->HandleAllocated()) {
            wchar_t buf[256] = {};
            GetWindowText(tp->Handle(), buf, 255);
            text = buf;
        }
        HDC dc = CreateScreenIC();
        HGDIOBJ old = SelectObject(dc, Font()->Handle());
        TRect r{0, 0, 1000, 200};
        DrawTextStr(dc, text, &r, DT_SINGLELINE | DT_CALCRECT);
        SelectObject(dc, old);
        DeleteDC(dc);
        Integer w = r.Width() + 31;
        // The bevel's room, when there is one to see.
        const Integer p =
            (BevelInner() != bvNone || BevelOuter() != bvNone) && BevelKind() != bkNone ? 4 : 0;
        Integer W = Width(), H = Height();
        bool vista = IsVistaOrLater(), cc6 = ComCtl32MajorVersion() >= 6;
        if (vista && cc6 && ThemeActive()) {
            if (IsMetro()) tp->SetBounds(W - w - 21 - p, 1, w, H - 2 - p);
            else tp->SetBounds(W - w - 34 - p, 1, w, H - 2 - p);
        } else if (vista && cc6) {
            tp->SetBounds(W - w - 21 - p, 2, w, H - p - 4);
        } else if (vista) {
            tp->SetBounds(W - w - 23 - p, -2, w, H - p);
        } else {
            tp->SetBounds(W - w - 21, -2, w, H);
        }
        return;
    }
    ReleaseTimePicker();
}

// ---------------------------------------------------------------------------
// Label

String TVodDateTimePicker::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TVodDateTimePicker::SetLabelCaption(const String& v)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetFocusControl(this);
        FLabel->SetParent(Parent());
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->OnClick = [this](TObject*) { if (OnLabelClick) OnLabelClick(this); };
        FLabel->OnDblClick = [this](TObject*) { if (OnLabelDblClick) OnLabelDblClick(this); };
        FLabel->SetParentFont(ParentFont());
    }
    FLabel->SetCaption(v);
    UpdateLabel();
}

void TVodDateTimePicker::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    if (FLabel) UpdateLabel();
}

void TVodDateTimePicker::SetLabelMargin(Integer v)
{
    FLabelMargin = v;
    if (FLabel) UpdateLabel();
}

void TVodDateTimePicker::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    if (FLabel) UpdateLabel();
}

void TVodDateTimePicker::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel && v) FLabel->SetEnabled(true);
    Invalidate();
}

void TVodDateTimePicker::SetLabelFont(TFont* v)
{
    if (!ParentFont()) FLabelFont->Assign(v);
    if (FLabel) UpdateLabel();
}

void TVodDateTimePicker::LabelFontChanged(TObject*)
{
    if (FLabel) UpdateLabel();
    if (Designing(this) && !Loading(this)) SetParentFont(false);
    if (!FLblUpdate) FLblFntHeight = FLabelFont->Height();
}

void TVodDateTimePicker::SetLabelBold(bool Bold)
{
    if (!FLabel) return;
    TFontStyles st = FLabel->Font()->Style();
    if (Bold) st.Include(fsBold);
    else st.Exclude(fsBold);
    FLabel->Font()->SetStyle(st);
}

void TVodDateTimePicker::UpdateLabel()
{
    if (!FLabel || !FLabel->Parent()) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    if (FFocusLabel) SetLabelBold(HandleAllocated() && GetFocus() == FHandle);
    if (FLabel->Parent()->HandleAllocated()) PlaceLabel();
    FLabel->Invalidate();
}

void TVodDateTimePicker::PlaceLabel()
{
    TRect r{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    TCanvas* lc = FLabel->Canvas();
    lc->Font()->Assign(FLabel->Font());
    DrawText(lc->Handle(), caption.c_str(), int(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
    static_assert(Integer(lpBottomRight) == Integer(TLabelPlace::BottomRight));
    TLabelGeometry g;
    g.Left = Left(), g.Top = Top(), g.Width = Width(), g.Height = Height(), g.Margin = FLabelMargin;
    g.CaptionWidth = r.Width(), g.LabelWidth = FLabel->Width(), g.LabelHeight = FLabel->Height();
    const Integer B = FBorderStyle == bsSingle ? 2 : 0, H = g.LabelHeight, E = g.Height, T = g.Top;
    g.CentreTop = H < E ? T + (E - B - H) / 2 : T - (B + H - E) / 2;
    const TPoint at = LabelOrigin(TLabelPlace(FLabelPosition), g);
    const Integer ll = at.X, lt = at.Y;
    FLabel->SetBounds(ll, lt, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---------------------------------------------------------------------------
// Life cycle, focus, keys and messages

void TVodDateTimePicker::SetParent(TWinControl* AParent)
{
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) FLabel->SetParent(AParent);
}

void TVodDateTimePicker::SetVisible(bool v)
{
    TCustomDateTimePicker::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

void TVodDateTimePicker::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
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
        case lpTopLeft: case lpTopCenter: case lpTopRight:
            if (a == alTop || a == alLeft || a == alRight || a == alClient) ATop += FLabel->Height();
            break;
        case lpRightTop: case lpRightCenter: case lpRighBottom:
            if (a == alTop || a == alBottom || a == alClient) AWidth -= lw;
            break;
        default: break;
        }
    }
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) UpdateLabel();
}

void TVodDateTimePicker::ChangeScale(Integer M, Integer D)
{
    TCustomDateTimePicker::ChangeScale(M, D);
    if (!Loading(this)) FLabelFont->SetSize(Font()->Size());
}

void TVodDateTimePicker::CreateWnd()
{
    TCustomDateTimePicker::CreateWnd();
    TVodDateTimeKind stored = FKind;
    FKind = dkDate;
    SetKind(stored);
    if (!ParentFont() && !LabelCaption().empty() && !Designing(this)) {
        FLblUpdate = true;
        FLabelFont->SetHeight(RoundScaled(ScreenScale(), FLblFntHeight));
        FLblUpdate = false;
    }
    if (FLabel && FLabel->Parent() && FLabel->Parent()->HandleAllocated()) PlaceLabel();
}

void TVodDateTimePicker::Loaded()
{
    TCustomDateTimePicker::Loaded();
    FOriginalFormat = TDateTimePicker::Format();
    if (!Designing(this)) {
        CreateTimePicker();
        UpdateTimePicker();
        if (!Checked()) {
            SetChecked(false);
            if (FTimePicker) FTimePicker->SetEnabled(false);
        }
    }
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    UpdateLabel();
    if (FLabel) FLblFntHeight = FLabel->Font()->Height();
    if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
    FParentFnt = ParentFont();
    UpdateLabel();
}

void TVodDateTimePicker::DoEnter()
{
    FInternalChangedFlag = false;
    if (DateTime() == FNullDateDate) {
        InternalSet(::Date());
        FInternalChangedFlag = true;
    }
    TDateTimePicker::SetFormat(FOriginalFormat);
    TCustomDateTimePicker::DoEnter();
}

void TVodDateTimePicker::DoExit()
{
    if (FInternalChangedFlag) {
        FInternalChangedFlag = false;
        InternalSet(FNullDateDate);
    }
    ApplyNullFormat();
    TCustomDateTimePicker::DoExit();
}

void TVodDateTimePicker::Change()
{
    TCustomDateTimePicker::Change();
    FInternalChangedFlag = false;
    if (FKind == dkTime) ClampTime();
}

void TVodDateTimePicker::DoChange()
{
    if (OnChange) OnChange(this);
}

void TVodDateTimePicker::DoClick()
{
    if (OnClick) OnClick(this);
}

void TVodDateTimePicker::KeyPress(wchar_t& Key)
{
    if (Key >= L'0' && Key <= L'9' && FAutoTab) DecodeDate(TDateTimePicker::DateTime(), Fy[0], Fy[1], Fy[2]);
    TCustomDateTimePicker::KeyPress(Key);
}

void TVodDateTimePicker::ShiftFocus()
{
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    Word y, m, d;
    DecodeDate(TDateTimePicker::DateTime(), y, m, d);
    bool dayChanged = d != Fy[2], monthChanged = m != Fy[1], yearChanged = y != Fy[0];
    auto right = [this] { if (HandleAllocated()) PostMessage(FHandle, WM_KEYDOWN, VK_RIGHT, 0); };
    const String& fmt = TDateTimePicker::Format();
    if (!fmt.empty()) {
        wchar_t c = fmt.back();
        bool last = (dayChanged && (c == L'd' || c == L'D')) || (monthChanged && (c == L'm' || c == L'M')) ||
                    (yearChanged && (c == L'y' || c == L'Y'));
        if (last) {
            if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
        } else if (dayChanged || monthChanged || yearChanged) {
            right();
        }
        return;
    }
    if (dayChanged || monthChanged) {
        right();
    } else if (yearChanged) {
        if (FKind == dkDate) FocusNextControl();
        else if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
    }
}

void TVodDateTimePicker::WndProc(TMessage& M)
{
    if (M.Msg == ReleaseMessage()) {
        for (TCustomDateTimePicker* t : FReleased) delete t;
        FReleased.clear();
        return;
    }
    bool noDate = M.Msg == DTM_SETSYSTEMTIME && M.WParam == WPARAM(GDT_NONE);
    TCustomDateTimePicker::WndProc(M);
    if (noDate && ShowCheckbox() && !Designing(this) && FTimePicker)
        FTimePicker->SetEnabled(Enabled() && Checked());
}

bool TVodDateTimePicker::MsgSetDateTime(const SYSTEMTIME& Value)
{
    // A change notice that our own setting of the value causes is no
    // choice of the user's: the companion's state is set here instead. The
    // flag covers only this call, so the user's next tick of the check box
    // is never swallowed when the window sends no notice for a set.
    const bool before = FIgnoreTimePickerCheck;
    FIgnoreTimePickerCheck = true;
    bool ok = TCustomDateTimePicker::MsgSetDateTime(Value);
    FIgnoreTimePickerCheck = before;
    if (ShowCheckbox() && FTimePicker) FTimePicker->SetEnabled(Enabled() && Checked());
    return ok;
}

void TVodDateTimePicker::NotifyCN(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    if (!hdr) {
        TCustomDateTimePicker::Dispatch(M);
        return;
    }
    switch (hdr->code) {
    case DTN_DATETIMECHANGE: {
        DWORD flags = reinterpret_cast<NMDATETIMECHANGE*>(M.LParam)->dwFlags;
        TCustomDateTimePicker::Dispatch(M);
        if (ShowCheckbox()) {
            if (FTimePicker && !FIgnoreTimePickerCheck) {
                FTimePicker->SetEnabled(Enabled() && Checked());
                if (flags == DWORD(GDT_NONE)) FTimePicker->SetEnabled(false);
            }
            FIgnoreTimePickerCheck = false;
        }
        return;
    }
    case DTN_USERSTRINGW: case DTN_USERSTRINGA: {
        auto* nm = reinterpret_cast<NMDATETIMESTRING*>(M.LParam);
        String text = nm->pszUserString ? String(nm->pszUserString) : String();
        TDateTime value = TDateTimePicker::DateTime();
        TDateTime parsed;
        bool ok = TryStrToDateTime(text, parsed);
        if (ok) value = parsed;
        if (OnUserInput) {
            OnUserInput(this, text, value, ok);
            nm->dwFlags = ok ? DWORD(GDT_VALID) : DWORD(GDT_ERROR);
        } else {
            nm->dwFlags = DWORD(GDT_VALID);
        }
        DateTimeToSystemTime(value, nm->st);
        FIgnoreTimePickerCheck = false;
        M.Result = 0;
        return;
    }
    case DTN_DROPDOWN: case DTN_CLOSEUP: TCustomDateTimePicker::Dispatch(M); return;
    default:
        FIgnoreTimePickerCheck = false;
        TCustomDateTimePicker::Dispatch(M);
        return;
    }
}

void TVodDateTimePicker::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_NOTIFY: NotifyCN(M); return;
    case WM_KEYUP:
        TCustomDateTimePicker::Dispatch(M);
        if (M.WParam == VK_DELETE && GetKeyState(VK_CONTROL) < 0 && !FNullDateFormat.empty()) SetDateTime(0);
        return;
    case WM_SETFOCUS:
        if (FFocusLabel && FLabel && !Loading(this)) SetLabelBold(true);
        TCustomDateTimePicker::Dispatch(M);
        return;
    case WM_KILLFOCUS:
        if (FFocusLabel && FLabel && !Loading(this)) SetLabelBold(false);
        TCustomDateTimePicker::Dispatch(M);
        return;
    case CM_FONTCHANGED:
        if ((Designing(this) || Loading(this)) && FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        TCustomDateTimePicker::Dispatch(M);
        return;
    case CM_PARENTFONTCHANGED:
        TCustomDateTimePicker::Dispatch(M);
        if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
        return;
    case CM_COLORCHANGED:
        TCustomDateTimePicker::Dispatch(M);
        UpdateTimePicker();
        return;
    case CM_VISIBLECHANGED: case CM_SHOWINGCHANGED:
        TCustomDateTimePicker::Dispatch(M);
        if (FLabel) FLabel->SetVisible(Visible());
        return;
    case WM_SIZE:
        TCustomDateTimePicker::Dispatch(M);
        UpdateTimePicker();
        return;
    default: break;
    }
    TCustomDateTimePicker::Dispatch(M);
}

void TVodDateTimePicker::CMEnabledChanged(TMessage& M)
{
    TCustomDateTimePicker::CMEnabledChanged(M);
    if (FTimePicker) FTimePicker->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
}

void TVodDateTimePicker::WMPaint(TMessage& M)
{
    TCustomDateTimePicker::WMPaint(M);
    if (FFirstRun) {
        FFirstRun = false;
        UpdateTimePicker();
    }
}
