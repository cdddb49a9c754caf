// TDateTimePicker: the class library's date-time picker over the
// "SysDateTimePick32" window, keeping its value while there is no window.
#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"

namespace {

TDateTime DayPart(TDateTime v) { return std::trunc(v); }
TDateTime TimePart(TDateTime v) { return std::fabs(v - std::trunc(v)); }

}  // namespace

void TMonthCalColors::Assign(TPersistent* Source)
{
    if (auto* c = dynamic_cast<TMonthCalColors*>(Source)) {
        BackColor = c->BackColor;
        TextColor = c->TextColor;
        TitleBackColor = c->TitleBackColor;
        TitleTextColor = c->TitleTextColor;
        MonthBackColor = c->MonthBackColor;
        TrailingTextColor = c->TrailingTextColor;
        return;
    }
    TPersistent::Assign(Source);
}

void TMonthCalColors::ApplyTo(HWND calendar) const
{
    if (!calendar) return;
    const TColor colors[] = {BackColor, TextColor, TitleBackColor, TitleTextColor, MonthBackColor, TrailingTextColor};
    for (int i = 0; i < 6; ++i)
        if (colors[i] != clNone) SendMessage(calendar, MCM_SETCOLOR, WPARAM(i), LPARAM(ColorToRGB(colors[i])));
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Exclude(csCaptureMouse);
    FControlStyle.Exclude(csClickEvents);
    FControlStyle.Exclude(csSetCaption);
    FWidth = 186;
    FHeight = 21;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FDateTime = Now();
    FCalColors = std::make_unique<TMonthCalColors>();
    RegisterDateTimeClasses();
}

TDateTimePicker::~TDateTimePicker() { DestroyHandle(); }

void TDateTimePicker::CreateParams(TCreateParams& P)
{
    RegisterDateTimeClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, DATETIMEPICK_CLASS);
    P.Style |= WS_TABSTOP;
    if (FKind == dtkTime) P.Style |= DTS_TIMEFORMAT;
    else if (FDateFormat == dfLong) P.Style |= DTS_LONGDATEFORMAT;
    if (FDateMode == dmUpDown) P.Style |= DTS_UPDOWN;
    if (FShowCheckbox) P.Style |= DTS_SHOWNONE;
    if (FParseInput) P.Style |= DTS_APPCANPARSE;
    if (FCalAlignment == dtaRight) P.Style |= DTS_RIGHTALIGN;
    P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    if (!FFormat.empty()) SendMessage(FHandle, DTM_SETFORMATW, 0, LPARAM(FFormat.c_str()));
    SetRange();
    SYSTEMTIME st;
    DateTimeToSystemTime(FDateTime, st);
    MsgSetDateTime(st);
    if (FShowCheckbox && !FChecked) SendMessage(FHandle, DTM_SETSYSTEMTIME, WPARAM(GDT_NONE), 0);
}

bool TDateTimePicker::MsgSetDateTime(const SYSTEMTIME& Value)
{
    if (!HandleAllocated()) return true;
    return SendMessage(FHandle, DTM_SETSYSTEMTIME, WPARAM(GDT_VALID), LPARAM(&Value)) != 0;
}

void TDateTimePicker::SetRange()
{
    if (!HandleAllocated()) return;
    SYSTEMTIME range[2];
    WPARAM flags = 0;
    if (FMinDate != 0) {
        DateTimeToSystemTime(FMinDate, range[0]);
        flags |= GDTR_MIN;
    }
    if (FMaxDate != 0) {
        DateTimeToSystemTime(FMaxDate, range[1]);
        flags |= GDTR_MAX;
    }
    SendMessage(FHandle, DTM_SETRANGE, flags, LPARAM(range));
}

TDateTime TDateTimePicker::Clamped(TDateTime v) const
{
    // The limits hold days; the time of day is kept.
    if (FMinDate != 0 && DayPart(v) < DayPart(FMinDate)) v = DayPart(FMinDate) + TimePart(v);
    if (FMaxDate != 0 && DayPart(v) > DayPart(FMaxDate)) v = DayPart(FMaxDate) + TimePart(v);
    return v;
}

void TDateTimePicker::SetDateTime(TDateTime v)
{
    v = Clamped(v);
    if (HandleAllocated()) {
        SYSTEMTIME st;
        DateTimeToSystemTime(v, st);
        if (!MsgSetDateTime(st)) return;
        if (FShowCheckbox && !FChecked) SendMessage(FHandle, DTM_SETSYSTEMTIME, WPARAM(GDT_NONE), 0);
    }
    FDateTime = v;
}

TDateTime TDateTimePicker::Date() const { return DayPart(FDateTime); }
void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(DayPart(v) + TimePart(FDateTime)); }
TDateTime TDateTimePicker::Time() const { return TimePart(FDateTime); }
void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(DayPart(FDateTime) + TimePart(v)); }

void TDateTimePicker::SetChecked(bool v)
{
    FChecked = v;
    if (!HandleAllocated() || !FShowCheckbox) return;
    if (v) {
        SYSTEMTIME st;
        DateTimeToSystemTime(FDateTime, st);
        MsgSetDateTime(st);
    } else {
        SendMessage(FHandle, DTM_SETSYSTEMTIME, WPARAM(GDT_NONE), 0);
    }
}

void TDateTimePicker::SetShowCheckbox(bool v)
{
    if (FShowCheckbox == v) return;
    FShowCheckbox = v;
    RecreateWnd();
}

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    if (FKind == v) return;
    FKind = v;
    RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    if (FDateMode == v) return;
    FDateMode = v;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat v)
{
    if (FDateFormat == v) return;
    FDateFormat = v;
    RecreateWnd();
}

void TDateTimePicker::SetCalAlignment(TDTCalAlignment v)
{
    if (FCalAlignment == v) return;
    FCalAlignment = v;
    RecreateWnd();
}

void TDateTimePicker::SetParseInput(bool v)
{
    if (FParseInput == v) return;
    FParseInput = v;
    RecreateWnd();
}

void TDateTimePicker::SetFormat(const String& v)
{
    FFormat = v;
    if (HandleAllocated()) SendMessage(FHandle, DTM_SETFORMATW, 0, v.empty() ? 0 : LPARAM(v.c_str()));
}

void TDateTimePicker::SetMinDate(TDateTime v)
{
    if (v != 0 && FMaxDate != 0 && DayPart(v) > DayPart(FMaxDate))
        throw EDateTimeError(L"Date exceeds maximum of " + DateToStr(FMaxDate));
    FMinDate = v;
    SetRange();
    FDateTime = Clamped(FDateTime);
}

void TDateTimePicker::SetMaxDate(TDateTime v)
{
    if (v != 0 && FMinDate != 0 && DayPart(v) < DayPart(FMinDate))
        throw EDateTimeError(L"Date is less than minimum of " + DateToStr(FMinDate));
    FMaxDate = v;
    SetRange();
    FDateTime = Clamped(FDateTime);
}

bool TDateTimePicker::DroppedDown() const { return MonthCalHandle() != nullptr; }

HWND TDateTimePicker::MonthCalHandle() const
{
    return HandleAllocated() ? reinterpret_cast<HWND>(SendMessage(FHandle, DTM_GETMONTHCAL, 0, 0)) : nullptr;
}

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}

void TDateTimePicker::DoDropDown()
{
    if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::DoCloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::CNNotify(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    M.Result = 0;
    if (!hdr) return;
    switch (hdr->code) {
    case DTN_DATETIMECHANGE: {
        auto* nm = reinterpret_cast<NMDATETIMECHANGE*>(M.LParam);
        if (nm->dwFlags == DWORD(GDT_NONE)) {
            FChecked = false;
        } else {
            FChecked = true;
            FDateTime = SystemTimeToDateTime(nm->st);
        }
        Change();
        return;
    }
    case DTN_USERSTRINGW: {
        auto* nm = reinterpret_cast<NMDATETIMESTRING*>(M.LParam);
        if (!OnUserInput) return;
        TDateTime value = FDateTime;
        bool allow = false;
        OnUserInput(this, nm->pszUserString ? String(nm->pszUserString) : String(), value, allow);
        if (allow) {
            DateTimeToSystemTime(Clamped(value), nm->st);
            nm->dwFlags = DWORD(GDT_VALID);
        }
        return;
    }
    case DTN_DROPDOWN:
        FCalColors->ApplyTo(MonthCalHandle());
        DoDropDown();
        return;
    case DTN_CLOSEUP: DoCloseUp(); return;
    default: return;
    }
}

void TDateTimePicker::Dispatch(TMessage& M)
{
    if (M.Msg == CN_NOTIFY) {
        CNNotify(M);
        return;
    }
    TWinControl::Dispatch(M);
}
