#include "controls/grid/VurSpinEdit.h"

#include <algorithm>
#include <cmath>

#include "controls/foundation/ThemeApiBinding.h"
#include "platform/base/Resources.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

bool LoadingNow(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

bool HighContrastOn()
{
    HIGHCONTRAST hc;
    return SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void LoadGlyph(TBitmap* b, const wchar_t* name)
{
    try {
        b->LoadFromResourceName(HInstance, name);
    } catch (...) {
        b->SetSize(0, 0);
    }
}

// A filled triangle in one colour (brush and pen).
void Triangle(TCanvas* cv, TColor c, TPoint a, TPoint b, TPoint d)
{
    cv->Brush()->SetColor(c);
    cv->Pen()->SetColor(c);
    cv->Polygon(std::vector<TPoint>{a, b, d});
}

Integer CountOf(Char c, const String& s) { return Integer(std::count(s.begin(), s.end(), c)); }

}  // namespace

// ===========================================================================
// TVodTimerSpeedButton

TVodTimerSpeedButton::TVodTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TVodTimerSpeedButton::~TVodTimerSpeedButton()
{
    // The timer is ours: freed here, before the owner walks its components.
    if (FRepeatTimer) {
        TTimer* t = FRepeatTimer;
        FRepeatTimer = nullptr;
        delete t;
    }
}

void TVodTimerSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRepeatTimer) FRepeatTimer = nullptr;
}

void TVodTimerSpeedButton::SetButtonDirection(TButtonDirection v)
{
    if (FButtonDirection == v) return;
    FButtonDirection = v;
    Invalidate();
}

void TVodTimerSpeedButton::SetIsWinXP(bool v)
{
    if (FIsWinXP == v) return;
    FIsWinXP = v;
    Invalidate();
}

TVurSpinButton* TVodTimerSpeedButton::OwnerPair() const { return dynamic_cast<TVurSpinButton*>(Owner()); }

void TVodTimerSpeedButton::InvalidateParent()
{
    if (FParent && FParent->HandleAllocated()) InvalidateRect(FParent->Handle(), nullptr, TRUE);
}

void TVodTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && FEnabled && FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(nullptr);
            FRepeatTimer->SetEnabled(false);
            FRepeatTimer->SetOnTimer([this](TObject* s) { TimerExpired(s); });
        }
        FRepeatTimer->SetInterval(kSpinFirstRepeatMs);
        FRepeatTimer->SetEnabled(true);
        // One step at once; the timer repeats it while the button is held.
        Click();
    }
    InvalidateParent();
}

void TVodTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    // A repeating button stepped on press already: the release adds none.
    FReleasing = FTimeBtnState.Contains(tbAllowTimer);
    try {
        TSpeedButton::MouseUp(Button, Shift, X, Y);
    } catch (...) {
        FReleasing = false;
        if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
        throw;
    }
    FReleasing = false;
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    InvalidateParent();
}

void TVodTimerSpeedButton::Click()
{
    if (FReleasing) return;
    TSpeedButton::Click();
}

void TVodTimerSpeedButton::TimerExpired(TObject*)
{
    if (!FRepeatTimer) return;
    FRepeatTimer->SetInterval(kSpinNextRepeatMs);
    if (FState == bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TVodTimerSpeedButton::CMMouseEnter(TMessage& M)
{
    TSpeedButton::CMMouseEnter(M);
    FHasMouse = true;
    Invalidate();
}

void TVodTimerSpeedButton::CMMouseLeave(TMessage& M)
{
    TSpeedButton::CMMouseLeave(M);
    FHasMouse = false;
    Invalidate();
}

void TVodTimerSpeedButton::Paint()
{
    TCanvas* cv = Canvas();
    const TRect R = ClientRect();
    const bool pressed = FState == bsDown || FState == bsExclusive;
    const Integer L = R.Left, T = R.Top;
    if (HighContrastOn()) {
        cv->Brush()->SetColor(clBlack);
        cv->Pen()->SetColor(clBlack);
        cv->Rectangle(R);
        const Integer X = R.Right, Y = R.Top;
        switch (FButtonDirection) {
        case bdLeft: Triangle(cv, clWhite, {X - 3, Y + 5}, {X - 6, Y + 7}, {X - 3, Y + 9}); break;
        case bdRight: Triangle(cv, clWhite, {X - 6, Y + 5}, {X - 3, Y + 7}, {X - 6, Y + 9}); break;
        case bdUp: Triangle(cv, clWhite, {X - 10, Y + 6}, {X - 4, Y + 6}, {X - 7, Y + 3}); break;
        case bdDown: Triangle(cv, clWhite, {X - 10, Y + 3}, {X - 4, Y + 3}, {X - 7, Y + 6}); break;
        }
        return;
    }
    TVurSpinButton* pair = OwnerPair();
    if (pair && pair->ButtonColor() != clNone) {
        TColor face = pair->ButtonColor();
        if (pressed) face = pair->ButtonColorDown();
        else if (FHasMouse) face = pair->ButtonColorHot();
        cv->Brush()->SetColor(face);
        cv->Pen()->SetColor(face);
        cv->Rectangle(R);
        switch (FButtonDirection) {
        case bdLeft: Triangle(cv, clBlack, {L + 5, T + 5}, {L + 3, T + 7}, {L + 5, T + 9}); break;
        case bdRight: Triangle(cv, clBlack, {L + 3, T + 5}, {L + 5, T + 7}, {L + 3, T + 9}); break;
        case bdUp: Triangle(cv, clBlack, {L + 4, T + 4}, {L + 8, T + 4}, {L + 6, T + 2}); break;
        case bdDown: Triangle(cv, clBlack, {L + 4, T + 2}, {L + 8, T + 2}, {L + 6, T + 4}); break;
        }
        return;
    }
    const bool horizontal = FButtonDirection == bdLeft || FButtonDirection == bdRight;
    if (FIsWinXP) {
        const TThemeApiTable& api = ThemeAPI();
        HWND owner = pair && pair->HandleAllocated() ? pair->Handle() : nullptr;
        HTHEME theme = api.OpenThemeData && (!api.IsThemeActive || api.IsThemeActive())
                           ? api.OpenThemeData(owner, L"spin")
                           : nullptr;
        if (theme) {
            int part = FButtonDirection == bdUp ? SPNP_UP
                       : FButtonDirection == bdDown ? SPNP_DOWN
                       : FButtonDirection == bdRight ? SPNP_UPHORZ
                                                     : SPNP_DOWNHORZ;
            int state = pressed ? 3 : FHasMouse ? 2 : 1;
            TRect r = R;
            api.DrawThemeBackground(theme, cv->Handle(), part, state, &r, nullptr);
            if (api.CloseThemeData) api.CloseThemeData(theme);
            return;
        }
        if (!horizontal) {
            TSpeedButton::Paint();
            return;
        }
    }
    if (horizontal) {
        TRect r = R;
        UINT state = FButtonDirection == bdLeft ? UINT(DFCS_SCROLLLEFT) : UINT(DFCS_SCROLLRIGHT);
        if (pressed) state |= DFCS_PUSHED;
        if (FFlat) state |= DFCS_FLAT;
        DrawFrameControl(cv->Handle(), &r, DFC_SCROLL, state);
        return;
    }
    TSpeedButton::Paint();
}

// ===========================================================================
// TVurSpinButton

TVurSpinButton::TVurSpinButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Exclude(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csOpaque);
    FUpButton = CreateButton();
    FUpButton->SetButtonDirection(bdUp);
    LoadGlyph(FUpButton->Glyph(), L"VurSpinUp");
    FUpButton->SetNumGlyphs(1);
    FDownButton = CreateButton();
    FDownButton->SetButtonDirection(bdDown);
    LoadGlyph(FDownButton->Glyph(), L"VurSpinDown");
    FDownButton->SetNumGlyphs(1);
    SetWidth(15);
    SetHeight(25);
    FFocusedButton = FUpButton;
}

TVurSpinButton::~TVurSpinButton()
{
    // The buttons are owned components, freed with the pair.
    FFocusedButton = FUpButton = FDownButton = nullptr;
}

TVodTimerSpeedButton* TVurSpinButton::CreateButton()
{
    auto* b = new TVodTimerSpeedButton(this);
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    b->OnMouseDown = [this](TObject* s, TMouseButton mb, TShiftState sh, Integer x, Integer y) {
        BtnMouseDown(s, mb, sh, x, y);
    };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
    b->SetParent(this);
    return b;
}

void TVurSpinButton::BtnClick(TObject* Sender)
{
    if (Sender == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (Sender == FDownButton) {
        if (OnDownClick) OnDownClick(this);
    }
}

void TVurSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, Integer, Integer)
{
    if (Button != mbLeft) return;
    SetFocusBtn(dynamic_cast<TVodTimerSpeedButton*>(Sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TVurSpinButton::SetFocusBtn(TVodTimerSpeedButton* Btn)
{
    if (!Btn || !TabStop() || !CanFocus() || Btn == FFocusedButton) return;
    TTimeBtnState old = FFocusedButton->TimeBtnState();
    old.Exclude(tbFocusRect);
    FFocusedButton->SetTimeBtnState(old);
    FFocusedButton = Btn;
    if (Focused()) {
        TTimeBtnState now = FFocusedButton->TimeBtnState();
        now.Include(tbFocusRect);
        FFocusedButton->SetTimeBtnState(now);
        FFocusedButton->Invalidate();
    }
}

void TVurSpinButton::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE: FFocusedButton->Click(); break;
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default: break;
    }
    TWinControl::KeyDown(Key, Shift);
}

bool TVurSpinButton::AdjustSize(Integer& W, Integer& H)
{
    if (!FUpButton || !FDownButton || LoadingNow(this)) return false;
    if (FDirection == spVertical) {
        W = std::max<Integer>(W, 15);
        const Integer half = H / 2;
        FUpButton->SetBounds(0, 0, W, half);
        FDownButton->SetBounds(0, half - 1, W, H - half + 1);
    } else {
        W = std::max<Integer>(W, 20);
        const Integer half = W / 2;
        FDownButton->SetBounds(0, 0, half, H);
        FUpButton->SetBounds(half + 1, 0, half, H);
    }
    return true;
}

void TVurSpinButton::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    Integer w = AWidth, h = AHeight;
    AdjustSize(w, h);
    TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TVurSpinButton::Loaded()
{
    TWinControl::Loaded();
    Integer w = Width(), h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TVurSpinButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE: {
        TWinControl::Dispatch(M);
        Integer w = Width(), h = Height();
        if (AdjustSize(w, h) && (w != Width() || h != Height())) TWinControl::SetBounds(Left(), Top(), w, h);
        M.Result = 0;
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWinControl::Dispatch(M);
        if (FFocusedButton) {
            TTimeBtnState s = FFocusedButton->TimeBtnState();
            if (M.Msg == WM_SETFOCUS) s.Include(tbFocusRect);
            else s.Exclude(tbFocusRect);
            FFocusedButton->SetTimeBtnState(s);
            FFocusedButton->Invalidate();
        }
        return;
    }
    case WM_GETDLGCODE: M.Result = DLGC_WANTARROWS; return;
    default: break;
    }
    TWinControl::Dispatch(M);
}

void TVurSpinButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl == v) return;
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TVurSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
    if (AComponent == FUpButton) FUpButton = nullptr;
    if (AComponent == FDownButton) FDownButton = nullptr;
    if (AComponent == FFocusedButton) FFocusedButton = FUpButton ? FUpButton : FDownButton;
}

void TVurSpinButton::SetDirection(TSpinDirection v)
{
    if (FDirection == v) return;
    FDirection = v;
    if (v == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    }
    RecreateWnd();
}

void TVurSpinButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FUpButton) FUpButton->SetIsWinXP(v);
    if (FDownButton) FDownButton->SetIsWinXP(v);
}

void TVurSpinButton::InvalidateButtons()
{
    if (FUpButton) FUpButton->Invalidate();
    if (FDownButton) FDownButton->Invalidate();
}

TBitmap* TVurSpinButton::UpGlyph() const { return FUpButton->Glyph(); }
TBitmap* TVurSpinButton::DownGlyph() const { return FDownButton->Glyph(); }
TNumGlyphs TVurSpinButton::UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
TNumGlyphs TVurSpinButton::DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
void TVurSpinButton::SetUpNumGlyphs(TNumGlyphs v) { FUpButton->SetNumGlyphs(v); }
void TVurSpinButton::SetDownNumGlyphs(TNumGlyphs v) { FDownButton->SetNumGlyphs(v); }

void TVurSpinButton::SetUpGlyph(TBitmap* v)
{
    if (v) {
        FUpButton->SetGlyph(v);
        return;
    }
    LoadGlyph(FUpButton->Glyph(), L"VurSpinUp");
    FUpButton->SetNumGlyphs(1);
    FUpButton->Invalidate();
}

void TVurSpinButton::SetDownGlyph(TBitmap* v)
{
    if (v) {
        FDownButton->SetGlyph(v);
        return;
    }
    LoadGlyph(FDownButton->Glyph(), L"VurSpinDown");
    FDownButton->SetNumGlyphs(1);
    FDownButton->Invalidate();
}

// ===========================================================================
// TVurSpinEdit

TVurSpinEdit::TVurSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TVurSpinButton(this);
    FButton->SetWidth(15);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* s) { UpClick(s); };
    FButton->OnDownClick = [this](TObject* s) { DownClick(s); };
    SetText(L"0");
    FControlStyle.Exclude(csSetCaption);
}

TVurSpinEdit::~TVurSpinEdit()
{
    // The pair is an owned component: the owner frees it.
    FButton = nullptr;
}

bool TVurSpinEdit::Loading() const { return LoadingNow(this); }

// ---------------------------------------------------------------------------
// Value

Integer TVurSpinEdit::Value()
{
    const String s = Trim(Text());
    if (s.empty()) return 0;
    Integer v = 0;
    return TryStrToInt(s, v) ? v : FMinValue;
}

void TVurSpinEdit::SetValue(Integer v)
{
    if (FMinValue != FMaxValue) {
        if (v < FMinValue) v = FMinValue;
        else if (v > FMaxValue) v = FMaxValue;
    }
    SetText(IntToStr(v));
    if (!FEditorEnabled) SelectAll();
}

double TVurSpinEdit::FloatValue()
{
    Extended v = 0;
    // An unparseable text reads as the integer minimum (kept as designed).
    return TryStrToFloat(Trim(Text()), v) ? v : double(FMinValue);
}

void TVurSpinEdit::SetFloatValue(double v)
{
    if (FMinFloatValue != FMaxFloatValue) {
        if (v < FMinFloatValue) v = FMinFloatValue;
        else if (v > FMaxFloatValue) v = FMaxFloatValue;
    }
    SetText(FPrecision > 0 ? FloatToStrF(v, ffFixed, 15, FPrecision) : FloatToStr(v));
}

TDateTime TVurSpinEdit::DateValue()
{
    const String s = Text();
    if (s.empty() || s == L"0") return Now();
    TDateTime v = 0;
    return TryStrToDate(s, v) ? v : FMinDateValue;
}

namespace {

TDateTime ClampDate(TDateTime v, TDateTime lo, TDateTime hi)
{
    if (lo == hi) return v;
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

}  // namespace

void TVurSpinEdit::SetDateValue(TDateTime v)
{
    FDateValue = v;
    if (Loading()) return;
    FDateValue = ClampDate(v, FMinDateValue, FMaxDateValue);
    const Integer caret = SelStart();
    SetText(DateToStr(FDateValue));
    SetSelStart(caret);
}

TDateTime TVurSpinEdit::TimeValue()
{
    TDateTime v = 0;
    return TryStrToTime(Trim(Text()), v) ? v : 0.0;
}

void TVurSpinEdit::SetTimeValue(TDateTime v)
{
    FTimeValue = v;
    if (Loading()) return;
    FTimeValue = ClampDate(v, FMinDateValue, FMaxDateValue);
    const Integer caret = SelStart();
    SetText(FShowSeconds ? TimeToStr(FTimeValue) : FormatDateTime(L"h:nn", FTimeValue));
    SetSelStart(caret);
}

void TVurSpinEdit::ClampToRange()
{
    switch (FSpinType) {
    case sptNormal: {
        if (FMinValue == FMaxValue) return;
        const Integer v = Value();
        if (v < FMinValue || v > FMaxValue) SetValue(v);
        return;
    }
    case sptFloat: {
        if (FMinFloatValue == FMaxFloatValue) return;
        const double v = FloatValue();
        if (v < FMinFloatValue || v > FMaxFloatValue) SetFloatValue(v);
        return;
    }
    case sptDate: {
        if (FMinDateValue == FMaxDateValue) return;
        const TDateTime v = DateValue();
        if (v < FMinDateValue || v > FMaxDateValue) SetDateValue(v);
        return;
    }
    case sptTime: {
        if (FMinDateValue == FMaxDateValue) return;
        const TDateTime v = TimeValue();
        if (v < FMinDateValue || v > FMaxDateValue) SetTimeValue(v);
        return;
    }
    }
}

// ---------------------------------------------------------------------------
// Steps

void TVurSpinEdit::UpClick(TObject*) { StepUp(false); }
void TVurSpinEdit::DownClick(TObject*) { StepDown(false); }

void TVurSpinEdit::StepUp(bool Page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case sptNormal: SetValue(Integer(std::clamp<Int64>(Int64(Value()) + FIncrement, INT32_MIN, INT32_MAX))); break;
    case sptFloat: SetFloatValue(FloatValue() + (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: StepDate(+1); break;
    case sptTime: StepTime(true); break;
    }
}

void TVurSpinEdit::StepDown(bool Page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case sptNormal: SetValue(Integer(std::clamp<Int64>(Int64(Value()) - FIncrement, INT32_MIN, INT32_MAX))); break;
    case sptFloat: SetFloatValue(FloatValue() - (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: StepDate(-1); break;
    case sptTime: StepTime(false); break;
    }
}

namespace {

enum TDatePart { dpDay, dpMonth, dpYear };

// The parts of the short date format in the order they stand: the first
// "D", "M" and "Y" of the upper-cased format tell it (a letter the format
// lacks goes last, day before month before year).
void DatePartOrder(const String& shortDateFormat, TDatePart order[3])
{
    const String f = UpperCase(shortDateFormat);
    struct TAt {
        TDatePart Part;
        size_t At;
    } at[3] = {{dpDay, f.find(L'D')}, {dpMonth, f.find(L'M')}, {dpYear, f.find(L'Y')}};
    std::stable_sort(at, at + 3, [](const TAt& a, const TAt& b) { return a.At < b.At; });
    for (int i = 0; i < 3; ++i) order[i] = at[i].Part;
}

}  // namespace

void TVurSpinEdit::StepDate(Integer Delta)
{
    const String fmt = UpperCase(FormatSettings.ShortDateFormat);
    const size_t m = fmt.find(L'M'), d = fmt.find(L'D');
    FUsDates = m != String::npos && (d == String::npos || m < d);
    TDatePart order[3];
    DatePartOrder(FormatSettings.ShortDateFormat, order);

    const String text = Text();
    const String sep(1, FormatSettings.DateSeparator);
    const Integer p1 = Pos(sep, text);
    const Integer p2 = PosEx(sep, text, p1 + 1);
    const Integer caret = SelStart();
    const TDatePart part = caret < p1 ? order[0] : caret < p2 ? order[1] : order[2];

    // The calendar runs from the year 1 to 9999: a step past its ends keeps
    // the date.
    static const TDateTime first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
    TDateTime v = DateValue();
    switch (part) {
    case dpDay:
        if (v + Delta >= first && v + Delta < last + 1) v += Delta;
        break;
    case dpMonth:
        try {
            v = IncMonth(v, Delta);
        } catch (const EConvertError&) {
        }
        break;
    case dpYear: {
        Word y = 0, mo = 0, dd = 0;
        DecodeDate(v, y, mo, dd);
        const Integer ny = Integer(y) + Delta;
        if (ny < 1 || ny > 9999) break;
        // 29 February has no place in a common year: the 28th takes it.
        if (mo == 2 && dd == 29 && !IsLeapYear(Word(ny))) dd = 28;
        TDateTime nd = 0;
        if (TryEncodeDate(Word(ny), mo, dd, nd)) v = nd + std::fabs(v - std::trunc(v));
        break;
    }
    }
    SetDateValue(v);
}

void TVurSpinEdit::StepTime(bool Up)
{
    const String text = Text();
    const String sep(1, FormatSettings.TimeSeparator);
    const Integer caret = SelStart();
    const Integer p1 = Pos(sep, text);
    // The second separator, counted within the text after the first.
    const Integer p2 = p1 > 0 ? Pos(sep, Copy(text, p1 + 1, Integer(text.size()))) : 0;
    double step;
    if (caret < p1) step = FIncrementHours / 24.0;
    else if (FShowSeconds && p2 > 0 && caret - p1 >= p2) step = FIncrementSeconds / 86400.0;
    else step = FIncrementMinutes / 1440.0;
    // A time of day holds less than a day: larger steps count modulo one day.
    step = std::fmod(step, 1.0);

    const TDateTime now = TimeValue();
    TDateTime t;
    if (Up) {
        t = now + step;
    } else {
        t = now + 1.0 - step;
        if (t > 1.0) t -= 1.0;
    }
    // Steps land on whole milliseconds (no drift over many steps); past
    // midnight shows as the time of the next day, so the time of day is kept.
    t = std::round(t * 86400000.0) / 86400000.0;
    t -= std::floor(t);
    SetTimeValue(t);
}

// ---------------------------------------------------------------------------
// Keys and characters

void TVurSpinEdit::WMKeyDown(TMessage& M)
{
    switch (M.CharCode()) {
    case VK_PRIOR: StepUp(true); M.Result = 0; return;
    case VK_NEXT: StepDown(true); M.Result = 0; return;
    case VK_UP: StepUp(false); M.Result = 0; return;
    case VK_DOWN: StepDown(false); M.Result = 0; return;
    default: break;
    }
    TCustomMaskEdit::WMKeyDown(M);
}

void TVurSpinEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        if (HandleAllocated()) PostMessage(FHandle, WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TVurSpinEdit::KeyPress(wchar_t& Key)
{
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TVurSpinEdit::WMChar(TMessage& M)
{
    // The keypad's decimal key (bit 22 of the key data is part of its scan
    // code) types the locale's separator.
    if (M.WParam == WPARAM(L'.') && FExcelStyleDecimalSeparator && (M.LParam & (LPARAM(1) << 22)))
        M.WParam = WPARAM(FormatSettings.DecimalSeparator);
    TCustomMaskEdit::WMChar(M);
}

bool TVurSpinEdit::IsValidChar(wchar_t& Key)
{
    const Char DS = FormatSettings.DecimalSeparator, TS = FormatSettings.ThousandSeparator;
    const Char DateSep = FormatSettings.DateSeparator, TimeSep = FormatSettings.TimeSeparator;
    // 1. Backspace.
    if (Key == 8) return FEditorEnabled;
    const bool digit = Key >= L'0' && Key <= L'9';
    const bool printable = Key >= 32;
    // 2.
    bool ok = Key == DS || Key == TS || Key == TimeSep || Key == DateSep || digit || Key == L'-' ||
              (Key < 32 && Key != 13);
    // 3. A time separator outside the time kind.
    if (Key == TimeSep && FSpinType != sptTime) {
        if (TimeSep == DS || TimeSep == TS || TimeSep == L'-' || TimeSep == L'+')
            ok = ok && (FSpinType == sptNormal || FSpinType == sptFloat);
        else
            ok = false;
    }
    // 4. A date separator outside the date kind.
    if (Key == DateSep && FSpinType != sptDate) {
        if (DateSep == DS || DateSep == TS || DateSep == L'-' || DateSep == L'+')
            ok = ok && (FSpinType == sptNormal || FSpinType == sptFloat);
        else
            ok = false;
    }
    const String text = Text();
    // 5. The minus sign, once and in front. Where "-" separates a date's or
    // a time's parts it is a separator there, typed anywhere.
    const bool dashSeparates =
        (FSpinType == sptDate && DateSep == L'-') || (FSpinType == sptTime && TimeSep == L'-');
    if (Key == L'-' && !dashSeparates) {
        if (text.find(L'-') == String::npos) ok = ok && SelStart() <= 0;
        else ok = ok && SelText().find(L'-') != String::npos && SelStart() <= 0;
    }
    // 6. Integers take digits and the sign; control characters (clipboard
    // keys, Escape) keep their answer from step 2.
    if (FSpinType == sptNormal && printable) ok = ok && (digit || Key == L'-');
    // 7. Floats.
    if (FSpinType == sptFloat && Key != 27 && Key != 13) {
        if (Key == TS) ok = false;
        const Integer f = Pos(String(1, DS), text);
        if (Key == DS && f > 0) ok = ok && SelText().find(DS) != String::npos;
        if (printable && FPrecision > 0 && f > 0 && SelStart() >= f && SelLength() == 0)
            ok = ok && Integer(text.size()) < f + FPrecision;
    }
    // 8. Times: three parts at most.
    if (FSpinType == sptTime && Key == TimeSep) ok = ok && CountOf(TimeSep, text) <= 1;
    // 9.
    if (!FEditorEnabled && ok && printable) ok = false;
    return ok;
}

// ---------------------------------------------------------------------------
// Messages, focus, layout

void TVurSpinEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PASTE:
    case WM_CUT:
        if (!FEditorEnabled || ReadOnly()) return;
        break;
    case CM_ENTER:
        if (AutoSelect() && (GetKeyState(VK_LBUTTON) >= 0 || !FEditorEnabled)) SelectAll();
        TCustomMaskEdit::Dispatch(M);
        return;
    case CM_EXIT:
        TCustomMaskEdit::Dispatch(M);
        ClampToRange();
        return;
    default: break;
    }
    TCustomMaskEdit::Dispatch(M);
}

DWORD TVurSpinEdit::EditStyle() const
{
    DWORD st = TCustomMaskEdit::EditStyle() | ES_MULTILINE;
    if (FEditAlign == VurSpin::eaRight) st = (st & ~DWORD(ES_CENTER)) | ES_RIGHT;
    else if (FEditAlign == VurSpin::eaCenter) st = (st & ~DWORD(ES_RIGHT)) | ES_CENTER;
    return st;
}

void TVurSpinEdit::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TVurSpinEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TVurSpinEdit::SetEditRect()
{
    if (!HandleAllocated() || !FButton) return;
    const TRect c = ClientRect();
    TRect r;
    r.Left = r.Top = BorderStyle() == bsNone ? 3 : 0;
    r.Right = c.Width() - FButton->Width() - r.Left - 2;
    r.Bottom = c.Height() + 1;
    SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

Integer TVurSpinEdit::GetMinHeight()
{
    HDC dc = GetDC(nullptr);
    TEXTMETRICW sys{}, mine{};
    GetTextMetrics(dc, &sys);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    GetTextMetrics(dc, &mine);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    Integer h = mine.tmHeight + std::min(sys.tmHeight, mine.tmHeight) / 4 + 2;
    if (BorderStyle() == bsSingle) h += 4 * GetSystemMetrics(SM_CYBORDER);
    return h;
}

void TVurSpinEdit::WMSize(TMessage& M)
{
    TCustomMaskEdit::WMSize(M);
    const Integer minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    PlaceButton();
}

void TVurSpinEdit::PlaceButton()
{
    if (!FButton) return;
    const Integer bw = FButton->Width();
    if (NewStyleControls && Ctl3D()) {
        const Integer k = BorderStyle() == bsNone ? 1 : 5;
        FButton->SetBounds(Width() - bw - k, 0, bw, Height() - k);
    } else {
        FButton->SetBounds(Width() - bw, 1, bw, Height() - 3);
    }
    SetEditRect();
}

void TVurSpinEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate) SetDateValue(FDateValue);
    if (FSpinType == sptTime) SetTimeValue(FTimeValue);
    ApplySpinType();
}

void TVurSpinEdit::ApplySpinType()
{
    switch (FSpinType) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TVurSpinEdit::SetSpinType(TVurSpinType v)
{
    FSpinType = v;
    ApplySpinType();
}

void TVurSpinEdit::SetPrecision(Integer v)
{
    FPrecision = v;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TVurSpinEdit::SetDirection(TSpinDirection v)
{
    if (FDirection == v) return;
    FDirection = v;
    if (FButton) FButton->SetDirection(v);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TVurSpinEdit::SetSpinTransparent(bool v)
{
    FSpinTransparent = v;
    if (FButton) {
        FButton->UpButton()->SetTransparent(v);
        FButton->DownButton()->SetTransparent(v);
    }
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TVurSpinEdit::SetSpinFlat(bool v)
{
    FSpinFlat = v;
    if (FButton) {
        FButton->UpButton()->SetFlat(v);
        FButton->DownButton()->SetFlat(v);
    }
}

void TVurSpinEdit::SetEditAlign(TEditAlign v)
{
    if (FEditAlign == v) return;
    FEditAlign = v;
    RecreateWnd();
}

void TVurSpinEdit::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FButton) FButton->SetIsWinXP(v);
}
