#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"
#include "tests/platform/ui/WmTestSupport.h"

namespace {

TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0) { return EncodeDateTime(y, mo, d, h, mi, s, 0); }

SYSTEMTIME St(TDateTime v)
{
    SYSTEMTIME st;
    DateTimeToSystemTime(v, st);
    return st;
}

// The picker's text is what the window shows; tests read it back through
// the value, not pixels.
TDateTime ValueOf(HWND dtp, LRESULT* flags = nullptr)
{
    SYSTEMTIME st;
    LRESULT r = SendMessage(dtp, DTM_GETSYSTEMTIME, 0, LPARAM(&st));
    if (flags) *flags = r;
    return SystemTimeToDateTime(st);
}

// The client point of a day in a month calendar, found by hit testing.
bool DayPoint(HWND cal, Word day, TPoint& out)
{
    TRect c;
    GetClientRect(cal, &c);
    for (int y = c.Top; y < c.Bottom; y += 3)
        for (int x = c.Left; x < c.Right; x += 3) {
            MCHITTESTINFO ht;
            ht.pt = {x, y};
            SendMessage(cal, MCM_HITTEST, 0, LPARAM(&ht));
            if (ht.uHit == UINT(MCHT_CALENDARDATE) && ht.st.wDay == day) {
                out = ht.pt;
                return true;
            }
        }
    return false;
}

struct TDtNote {
    int Code;
    DWORD Flags;
    TDateTime Value;
    String Text;
};

class DateTimePickWndTest : public WmTest {
protected:
    TFormatSettingsScope FSettings;
    void SetUp() override
    {
        WmTest::SetUp();
        FormatSettings.DateSeparator = L'/';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.ShortDateFormat = L"dd/mm/yyyy";
        FormatSettings.LongTimeFormat = L"hh:nn:ss";
        Drv->SetNow(At(2024, 3, 14, 9, 30));
        RegisterDateTimeClasses();
        Parent = Top(0, 0, 400, 300);
        Log().Handlers[{Parent, WM_NOTIFY}] = [this](WPARAM, LPARAM l) -> LRESULT {
            auto* hdr = reinterpret_cast<NMHDR*>(l);
            TDtNote n{hdr->code, 0, 0, L""};
            if (hdr->code == DTN_DATETIMECHANGE) {
                auto* nm = reinterpret_cast<NMDATETIMECHANGE*>(l);
                n.Flags = nm->dwFlags;
                n.Value = SystemTimeToDateTime(nm->st);
            } else if (hdr->code == DTN_USERSTRING) {
                auto* nm = reinterpret_cast<NMDATETIMESTRING*>(l);
                n.Text = nm->pszUserString;
                if (n.Text == L"tomorrow") {
                    nm->st = St(At(2024, 3, 15));
                    nm->dwFlags = GDT_VALID;
                }
            } else if (hdr->code == DTN_DROPDOWN && OnDrop) {
                OnDrop();
            }
            Notes.push_back(n);
            return 0;
        };
    }
    HWND NewPicker(DWORD style, const wchar_t* format, TDateTime value)
    {
        HWND h = CreateWindowEx(0, DATETIMEPICK_CLASS, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 22, Parent,
                                reinterpret_cast<HMENU>(9));
        if (format) SendMessage(h, DTM_SETFORMAT, 0, LPARAM(format));
        SYSTEMTIME st = St(value);
        SendMessage(h, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
        SetFocus(h);
        Notes.clear();
        return h;
    }
    std::vector<TDtNote> Of(int code) const
    {
        std::vector<TDtNote> r;
        for (auto& n : Notes)
            if (n.Code == code) r.push_back(n);
        return r;
    }
    void Type(const String& keys)
    {
        for (wchar_t c : keys) {
            switch (c) {
            case L'>': Drv->PressKey(VK_RIGHT); break;
            case L'<': Drv->PressKey(VK_LEFT); break;
            case L'^': Drv->PressKey(VK_UP); break;
            case L'v': Drv->PressKey(VK_DOWN); break;
            default: Drv->TypeText(String(1, c)); break;
            }
        }
    }
    HWND Parent = nullptr;
    std::vector<TDtNote> Notes;
    std::function<void()> OnDrop;
};

TEST_F(DateTimePickWndTest, FieldEditingWithArrowsAndDigits)
{
    struct Case {
        const char* Name;
        const wchar_t* Format;
        TDateTime Start;
        const wchar_t* Keys;   // > < move fields, ^ v step, others typed
        TDateTime Want;
        size_t Changes;
    } cases[] = {
        {"day up", L"dd/MM/yyyy", At(2024, 3, 5), L"^", At(2024, 3, 6), 1},
        {"day wraps in the month", L"dd/MM/yyyy", At(2024, 2, 29), L"^", At(2024, 2, 1), 1},
        {"day down wraps", L"dd/MM/yyyy", At(2024, 4, 1), L"v", At(2024, 4, 30), 1},
        {"month field", L"dd/MM/yyyy", At(2024, 3, 5), L">^^", At(2024, 5, 5), 2},
        {"left wraps to the year", L"dd/MM/yyyy", At(2024, 3, 5), L"<v", At(2023, 3, 5), 1},
        {"typed day and month", L"dd/MM/yyyy", At(2024, 3, 5), L"1712", At(2024, 12, 17), 4},
        {"one digit that cannot grow", L"dd/MM/yyyy", At(2024, 3, 5), L"7", At(2024, 3, 7), 1},
        {"time fields", L"HH:mm:ss", At(2024, 3, 5, 10, 0, 0), L">59^", At(2024, 3, 5, 10, 59, 1), 3},
        {"hour wraps", L"HH:mm", At(2024, 3, 5, 23, 15), L"^", At(2024, 3, 5, 0, 15), 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        HWND h = NewPicker(0, k.Format, k.Start);
        Type(k.Keys);
        EXPECT_EQ(ValueOf(h), k.Want);
        auto ch = Of(DTN_DATETIMECHANGE);
        EXPECT_EQ(ch.size(), k.Changes);
        if (!ch.empty()) {
            EXPECT_EQ(ch.back().Value, k.Want);
            EXPECT_EQ(ch.back().Flags, DWORD(GDT_VALID));
        }
        DestroyWindow(h);
    }
}

TEST_F(DateTimePickWndTest, LimitsClampEditsAndValues)
{
    HWND h = NewPicker(0, L"dd/MM/yyyy", At(2024, 3, 12));
    SYSTEMTIME range[2] = {St(At(2024, 3, 10)), St(At(2024, 3, 20))};
    EXPECT_TRUE(SendMessage(h, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, LPARAM(range)));
    SYSTEMTIME back[2];
    EXPECT_EQ(SendMessage(h, DTM_GETRANGE, 0, LPARAM(back)), LRESULT(GDTR_MIN | GDTR_MAX));
    EXPECT_EQ(SystemTimeToDateTime(back[1]), At(2024, 3, 20));

    Type(L"vvv");
    EXPECT_EQ(ValueOf(h), At(2024, 3, 10)) << "stepping stops at the minimum";
    Type(L"25");
    EXPECT_EQ(ValueOf(h), At(2024, 3, 20)) << "a typed day past the maximum is held at it";
    SYSTEMTIME st = St(At(2030, 1, 1, 8, 0));
    SendMessage(h, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
    EXPECT_EQ(ValueOf(h), At(2024, 3, 20, 8, 0)) << "the day is clamped, the time kept";
    // A broken date is refused.
    SYSTEMTIME bad = St(At(2024, 3, 12));
    bad.wMonth = 13;
    EXPECT_FALSE(SendMessage(h, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&bad)));
    EXPECT_EQ(ValueOf(h), At(2024, 3, 20, 8, 0));
}

TEST_F(DateTimePickWndTest, CheckBoxTurnsTheValueOnAndOff)
{
    HWND h = NewPicker(DTS_SHOWNONE, L"dd/MM/yyyy", At(2024, 3, 5));
    LRESULT flags;
    Drv->PressKey(VK_SPACE);
    ValueOf(h, &flags);
    EXPECT_EQ(flags, GDT_NONE);
    ASSERT_EQ(Of(DTN_DATETIMECHANGE).size(), 1u);
    EXPECT_EQ(Of(DTN_DATETIMECHANGE)[0].Flags, DWORD(GDT_NONE));
    Type(L"^");
    EXPECT_EQ(ValueOf(h), At(2024, 3, 5)) << "an unchecked value does not step";
    Drv->ClickWindow(h, {5, 10});   // the check box
    EXPECT_EQ(ValueOf(h, &flags), At(2024, 3, 5));
    EXPECT_EQ(flags, GDT_VALID);
    EXPECT_EQ(SendMessage(h, DTM_SETSYSTEMTIME, GDT_NONE, 0), TRUE);
    ValueOf(h, &flags);
    EXPECT_EQ(flags, GDT_NONE);

    // Without the style there is no "none".
    HWND plain = NewPicker(0, L"dd/MM/yyyy", At(2024, 3, 5));
    EXPECT_EQ(SendMessage(plain, DTM_SETSYSTEMTIME, GDT_NONE, 0), FALSE);
    Drv->PressKey(VK_SPACE);
    ValueOf(plain, &flags);
    EXPECT_EQ(flags, GDT_VALID);
}

TEST_F(DateTimePickWndTest, UserStringGoesToTheParent)
{
    HWND h = NewPicker(DTS_APPCANPARSE, L"dd/MM/yyyy", At(2024, 3, 5));
    Drv->PressKey(VK_F2);
    for (int i = 0; i < 10; ++i) Drv->PressKey(VK_BACK);
    Drv->TypeText(L"tomorrow");
    Drv->PressKey(VK_RETURN);
    auto us = Of(DTN_USERSTRING);
    ASSERT_EQ(us.size(), 1u);
    EXPECT_EQ(us[0].Text, L"tomorrow");
    EXPECT_EQ(ValueOf(h), At(2024, 3, 15));
    EXPECT_EQ(Of(DTN_DATETIMECHANGE).size(), 1u);

    // A text the parent doesn't take leaves the value; Escape sends nothing.
    Notes.clear();
    Drv->TypeText(L"xyz");
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(Of(DTN_USERSTRING).size(), 1u);
    EXPECT_EQ(ValueOf(h), At(2024, 3, 15));
    Drv->TypeText(L"abc");
    Drv->PressKey(VK_ESCAPE);
    EXPECT_EQ(Of(DTN_USERSTRING).size(), 1u);
    // Without the style letters are just ignored.
    HWND plain = NewPicker(0, L"dd/MM/yyyy", At(2024, 3, 5));
    Drv->TypeText(L"q");
    Drv->PressKey(VK_RETURN);
    EXPECT_TRUE(Of(DTN_USERSTRING).empty());
    EXPECT_EQ(ValueOf(plain), At(2024, 3, 5));
}

TEST_F(DateTimePickWndTest, CalendarDropsDownPicksAndCloses)
{
    HWND h = NewPicker(0, L"dd/MM/yyyy", At(2024, 3, 5, 14, 0));
    OnDrop = [&] {
        // The parent styles the calendar before it shows.
        HWND cal = reinterpret_cast<HWND>(SendMessage(h, DTM_GETMONTHCAL, 0, 0));
        ASSERT_TRUE(cal);
        SetWindowLong(cal, GWL_STYLE, GetWindowLong(cal, GWL_STYLE) | MCS_WEEKNUMBERS);
    };
    TRect c;
    GetClientRect(h, &c);
    Drv->ClickWindow(h, {c.Right - 4, c.Bottom / 2});
    HWND cal = reinterpret_cast<HWND>(SendMessage(h, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(cal);
    EXPECT_EQ(Of(DTN_DROPDOWN).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(cal));
    EXPECT_TRUE(GetWindowLong(cal, GWL_STYLE) & MCS_WEEKNUMBERS);
    SYSTEMTIME sel;
    SendMessage(cal, MCM_GETCURSEL, 0, LPARAM(&sel));
    EXPECT_EQ(sel.wDay, 5);
    TRect cr, pr;
    GetWindowRect(cal, &cr);
    GetWindowRect(h, &pr);
    EXPECT_EQ(cr.Top, pr.Bottom) << "below the picker";

    // A click on a day picks it (the time stays) and closes the calendar.
    TPoint p;
    ASSERT_TRUE(DayPoint(cal, 21, p));
    Drv->ClickWindow(cal, p);
    EXPECT_FALSE(IsWindow(cal));
    EXPECT_EQ(SendMessage(h, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(ValueOf(h), At(2024, 3, 21, 14, 0));
    ASSERT_EQ(Of(DTN_CLOSEUP).size(), 1u);
    ASSERT_EQ(Of(DTN_DATETIMECHANGE).size(), 1u);

    // Keyboard: F4 opens, arrows move in the calendar, Enter takes it.
    Notes.clear();
    Drv->PressKey(VK_F4);
    cal = reinterpret_cast<HWND>(SendMessage(h, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(cal);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(ValueOf(h), At(2024, 3, 28, 14, 0));
    EXPECT_EQ(SendMessage(h, DTM_GETMONTHCAL, 0, 0), 0);

    // Escape and a click elsewhere close without a change.
    Notes.clear();
    Drv->PressKey(VK_F4);
    Drv->PressKey(VK_RIGHT);
    Drv->PressKey(VK_ESCAPE);
    EXPECT_EQ(SendMessage(h, DTM_GETMONTHCAL, 0, 0), 0);
    Drv->PressKey(VK_F4);
    cal = reinterpret_cast<HWND>(SendMessage(h, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(cal);
    Drv->ClickWindow(Parent, {380, 280});
    Drv->Pump();
    EXPECT_FALSE(IsWindow(cal));
    EXPECT_EQ(ValueOf(h), At(2024, 3, 28, 14, 0));
    EXPECT_TRUE(Of(DTN_DATETIMECHANGE).empty());
    EXPECT_EQ(Of(DTN_CLOSEUP).size(), 2u);

    // The up-down style has no calendar: its buttons step the field.
    DestroyWindow(h);
    HWND ud = NewPicker(DTS_UPDOWN, L"dd/MM/yyyy", At(2024, 3, 5));
    GetClientRect(ud, &c);
    Drv->ClickWindow(ud, {c.Right - 4, 2});
    Drv->ClickWindow(ud, {c.Right - 4, 2});
    Drv->ClickWindow(ud, {c.Right - 4, c.Bottom - 2});
    EXPECT_EQ(ValueOf(ud), At(2024, 3, 6));
    Drv->PressKey(VK_F4);
    EXPECT_EQ(SendMessage(ud, DTM_GETMONTHCAL, 0, 0), 0);
}

TEST_F(DateTimePickWndTest, CalendarPagesMonthsAndKeepsItsStyles)
{
    HWND cal = CreateWindowEx(0, MONTHCAL_CLASS, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Parent, nullptr);
    TRect need;
    SendMessage(cal, MCM_GETMINREQRECT, 0, LPARAM(&need));
    SetWindowPos(cal, nullptr, 0, 0, need.Width(), need.Height(), SWP_NOZORDER);
    SYSTEMTIME st = St(At(2024, 1, 31));
    SendMessage(cal, MCM_SETCURSEL, 0, LPARAM(&st));

    MCHITTESTINFO ht;
    TRect c;
    GetClientRect(cal, &c);
    ht.pt = {c.Right - 8, 8};
    EXPECT_EQ(SendMessage(cal, MCM_HITTEST, 0, LPARAM(&ht)), LRESULT(MCHT_TITLEBTNNEXT));
    Drv->ClickWindow(cal, ht.pt);
    TPoint p;
    ASSERT_TRUE(DayPoint(cal, 29, p)) << "February shows";
    Drv->ClickWindow(cal, p);
    SendMessage(cal, MCM_GETCURSEL, 0, LPARAM(&st));
    EXPECT_EQ(SystemTimeToDateTime(st), At(2024, 2, 29));
    EXPECT_EQ(Of(MCN_SELECT).size(), 1u);

    // Week numbers and no today line change the room it needs.
    TRect wide, shorter;
    SetWindowLong(cal, GWL_STYLE, GetWindowLong(cal, GWL_STYLE) | MCS_WEEKNUMBERS);
    SendMessage(cal, MCM_GETMINREQRECT, 0, LPARAM(&wide));
    SetWindowLong(cal, GWL_STYLE, GetWindowLong(cal, GWL_STYLE) | MCS_NOTODAY);
    SendMessage(cal, MCM_GETMINREQRECT, 0, LPARAM(&shorter));
    EXPECT_GT(wide.Width(), need.Width());
    EXPECT_LT(shorter.Height(), need.Height());

    // Out-of-range days are refused.
    SYSTEMTIME range[2] = {St(At(2024, 2, 10)), St(At(2024, 2, 20))};
    SendMessage(cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, LPARAM(range));
    SendMessage(cal, MCM_GETCURSEL, 0, LPARAM(&st));
    EXPECT_EQ(SystemTimeToDateTime(st), At(2024, 2, 20)) << "the selection moves into the range";
    SYSTEMTIME out = St(At(2024, 2, 25));
    EXPECT_FALSE(SendMessage(cal, MCM_SETCURSEL, 0, LPARAM(&out)));
}

// ---------------------------------------------------------------------------
// TDateTimePicker

class DateTimePickerTest : public ::testing::Test {
protected:
    TFormatSettingsScope FSettings;
    void SetUp() override
    {
        FormatSettings.DateSeparator = L'/';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.ShortDateFormat = L"dd/mm/yyyy";
        FormatSettings.LongTimeFormat = L"hh:nn:ss";
        Drv = std::make_unique<THeadlessDriver>();
        Drv->SetNow(At(2024, 3, 14, 9, 30));
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(50, 50, 400, 300);
        Pick = new TDateTimePicker(Form);
        Pick->SetParent(Form);
        Pick->SetBounds(10, 10, 200, 22);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TDateTimePicker* Pick = nullptr;
};

TEST_F(DateTimePickerTest, PropertiesReachTheWindowAndEditsComeBack)
{
    Pick->SetDateTime(At(2024, 3, 5, 10, 0));
    Pick->SetFormat(L"dd/MM/yyyy HH:mm");
    Pick->SetMinDate(At(2024, 3, 1));
    Pick->SetMaxDate(At(2024, 3, 31));
    Form->Show();
    Pick->SetFocus();
    EXPECT_EQ(ValueOf(Pick->Handle()), At(2024, 3, 5, 10, 0));
    int changes = 0;
    Pick->OnChange = [&](TObject*) { ++changes; };
    Drv->TypeText(L"2");
    Drv->TypeText(L"0");
    EXPECT_EQ(Pick->DateTime(), At(2024, 3, 20, 10, 0));
    EXPECT_EQ(Pick->Date(), At(2024, 3, 20));
    EXPECT_EQ(changes, 2) << "each digit shows at once";

    Pick->SetDateTime(At(2025, 1, 1, 7, 0));
    EXPECT_EQ(Pick->DateTime(), At(2024, 3, 31, 7, 0)) << "clamped to the maximum day";
    EXPECT_EQ(ValueOf(Pick->Handle()), At(2024, 3, 31, 7, 0));
    EXPECT_THROW(Pick->SetMinDate(At(2024, 4, 2)), EDateTimeError);
    Pick->SetTime(EncodeTime(18, 45, 0, 0));
    EXPECT_EQ(Pick->DateTime(), At(2024, 3, 31, 18, 45));

    // The kind and the check box survive a new window.
    Pick->SetShowCheckbox(true);
    Pick->SetChecked(false);
    Pick->SetKind(dtkTime);
    Pick->SetFormat(L"");
    Pick->HandleNeeded();
    LRESULT flags;
    ValueOf(Pick->Handle(), &flags);
    EXPECT_EQ(flags, GDT_NONE);
    EXPECT_TRUE(GetWindowLong(Pick->Handle(), GWL_STYLE) & DTS_SHOWNONE);
    EXPECT_EQ(GetWindowLong(Pick->Handle(), GWL_STYLE) & DTS_TIMEFORMAT, LONG(DTS_TIMEFORMAT));
    Pick->SetFocus();
    Drv->PressKey(VK_SPACE);
    EXPECT_TRUE(Pick->Checked());
    EXPECT_EQ(DateTimePickerFormatOf(DTS_TIMEFORMAT), L"HH':'mm':'ss");
}

TEST_F(DateTimePickerTest, DropDownEventsAndUserInput)
{
    Pick->SetDateTime(At(2024, 3, 5));
    Pick->SetParseInput(true);
    std::vector<String> log;
    Pick->OnDropDown = [&](TObject*) {
        log.push_back(L"drop");
        EXPECT_TRUE(Pick->DroppedDown());
    };
    Pick->OnCloseUp = [&](TObject*) { log.push_back(L"close"); };
    Pick->OnChange = [&](TObject*) { log.push_back(L"change"); };
    Pick->OnUserInput = [&](TObject*, const String& text, TDateTime& value, bool& allow) {
        log.push_back(L"input " + text);
        if (text == L"next") {
            value = At(2024, 3, 9);
            allow = true;
        }
    };
    Form->Show();
    Pick->SetFocus();
    Drv->PressKey(VK_DOWN, {VK_MENU});
    ASSERT_TRUE(Pick->DroppedDown());
    Drv->PressKey(VK_RIGHT);
    Drv->PressKey(VK_RETURN);
    EXPECT_FALSE(Pick->DroppedDown());
    EXPECT_EQ(Pick->Date(), At(2024, 3, 6));
    std::vector<String> want = {L"drop", L"change", L"close"};
    EXPECT_EQ(log, want);

    log.clear();
    Drv->TypeText(L"next");
    Drv->PressKey(VK_RETURN);
    want = {L"input next", L"change"};
    EXPECT_EQ(log, want);
    log.clear();
    Drv->TypeText(L"nonsense");
    Drv->PressKey(VK_RETURN);
    want = {L"input nonsense"};
    EXPECT_EQ(log, want);
    EXPECT_EQ(Pick->Date(), At(2024, 3, 9));
}

}  // namespace

TEST_F(DateTimePickWndTest, WindowTextAndWholeFieldTyping)
{
    HWND h = NewPicker(0, L"HH:mm:ss", At(2024, 3, 14, 9, 30, 0));
    wchar_t buf[32] = {};
    EXPECT_EQ(8, GetWindowText(h, buf, 32));
    EXPECT_EQ(String(L"09:30:00"), String(buf));
    EXPECT_EQ(8, GetWindowTextLength(h));
    DateTimePickerSetWholeFields(h, true);
    Type(L"1");
    EXPECT_TRUE(Of(DTN_DATETIMECHANGE).empty()) << "a pending digit is no change";
    GetWindowText(h, buf, 32);
    EXPECT_EQ(String(L"1:30:00"), String(buf));
    Type(L"4");
    ASSERT_EQ(1u, Of(DTN_DATETIMECHANGE).size());
    EXPECT_EQ(At(2024, 3, 14, 14, 30, 0), Of(DTN_DATETIMECHANGE)[0].Value);
    Type(L"2");
    EXPECT_EQ(1u, Of(DTN_DATETIMECHANGE).size()) << "still the hour field";
    // Switching off commits the pending digit.
    DateTimePickerSetWholeFields(h, false);
    ASSERT_EQ(2u, Of(DTN_DATETIMECHANGE).size());
    EXPECT_EQ(At(2024, 3, 14, 2, 30, 0), Of(DTN_DATETIMECHANGE)[1].Value);
}
