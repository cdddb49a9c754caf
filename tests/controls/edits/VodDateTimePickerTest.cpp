// The date-time pickers: auto-tab after the window took the digit (time kind
// by field, date kind by the format's last character), the first field
// clicked on focus, the grid's Tab codes, the null date, the time clamp,
// the companion time picker (bounds, kind switching, release from inside its
// own handler), user strings, the label positions and the metro look.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/edits/VodDateTimePicker.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "tests/controls/edits/EditsTestSupport.h"

using namespace VodDateTimePicker;

namespace {

TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0)
{
    return EncodeDateTime(y, mo, d, h, mi, s, 0);
}

// Exposes the grid's switch and the companion for the tests.
class TGridPicker : public TVodDateTimePicker {
public:
    explicit TGridPicker(TComponent* AOwner) : TVodDateTimePicker(AOwner) { FGridTabhandling = true; }
    TCustomDateTimePicker* Companion() const { return FTimePicker; }
};

class VodDateTimePickerTest : public EditsFormTest {
protected:
    void SetUp() override
    {
        EditsFormTest::SetUp();
        FormatSettings.DateSeparator = L'/';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.ShortDateFormat = L"dd/mm/yyyy";
        FormatSettings.LongTimeFormat = L"hh:nn:ss";
        Drv->SetNow(At(2024, 3, 14, 9, 30));
    }
    template <class T = TVodDateTimePicker>
    T* NewPicker(TVodDateTimeKind kind, int y = 40)
    {
        auto* p = new T(Form);
        p->SetParent(Form);
        p->SetBounds(100, y, 240, 24);
        p->SetKind(kind);
        return p;
    }
    TEdit* NewEdit(int y)
    {
        auto* e = new TEdit(Form);
        e->SetParent(Form);
        e->SetBounds(100, y, 100, 24);
        return e;
    }
    void Focus(TWinControl* c)
    {
        c->SetFocus();
        Drv->Pump();
    }
    TFormatSettingsScope FSettings;
};

}  // namespace

TEST_F(VodDateTimePickerTest, TimeKindAutoTabMovesFieldByFieldThenToTheNextControl)
{
    auto* p = NewPicker(dkTime);
    p->SetFormat(L"HH:mm:ss");
    p->SetAutoTab(true);
    TEdit* next = NewEdit(100);
    ShowForm();
    p->SetDateTime(At(2024, 3, 14, 9, 30, 0));
    Focus(p);
    Drv->TypeText(L"14");   // the first field was clicked on focus
    Drv->TypeText(L"35");   // the hour completed: the caret went on
    EXPECT_EQ(GetFocus(), p->Handle());
    Drv->TypeText(L"07");
    Drv->Pump();
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 14, 35, 7));
    EXPECT_EQ(GetFocus(), next->Handle()) << "only the second changed: on to the next control";

    // Without AutoTabToNext the caret moves on (wrapping to the hour) instead.
    p->SetAutoTabToNext(false);
    Focus(p);
    Drv->TypeText(L"5");        // hour 05 (cannot grow)
    Drv->TypeText(L"3");        // minutes: 3 pending
    Drv->TypeText(L"6");        // minute 36
    Drv->TypeText(L"08");       // second 08: stays inside, caret wraps to the hour
    Drv->TypeText(L"22");
    Drv->Pump();
    EXPECT_EQ(GetFocus(), p->Handle());
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 22, 36, 8));
}

TEST_F(VodDateTimePickerTest, ADigitThatChangesNothingMovesNothing)
{
    auto* p = NewPicker(dkTime);
    p->SetFormat(L"HH:mm:ss");
    p->SetAutoTab(true);
    ShowForm();
    p->SetDateTime(At(2024, 3, 14, 14, 30, 0));
    Focus(p);
    Drv->TypeText(L"14");   // same hour: the caret stays in the hour
    Drv->TypeText(L"20");
    Drv->Pump();
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 20, 30, 0));
}

TEST_F(VodDateTimePickerTest, DateKindAutoTabByTheFormatsLastField)
{
    // dkDate: the year is the last field; completing it does nothing further.
    auto* d = NewPicker(dkDate);
    d->SetFormat(L"dd/MM/yyyy");
    d->SetAutoTab(true);
    TEdit* next = NewEdit(100);
    (void)next;
    ShowForm();
    d->SetDateTime(At(2024, 1, 1));
    Focus(d);
    Drv->TypeText(L"1503");
    Drv->TypeText(L"2031");
    Drv->Pump();
    EXPECT_EQ(std::trunc(d->DateTime()), At(2031, 3, 15));
    EXPECT_EQ(GetFocus(), d->Handle());

    // dkDateTime: completing the last field goes into the companion.
    auto* dt = NewPicker(dkDateTime, 160);
    dt->SetFormat(L"dd/MM/yyyy");
    dt->SetAutoTab(true);
    Drv->Pump();
    dt->SetDateTime(At(2024, 1, 1, 8, 0, 0));
    Focus(dt);
    Drv->TypeText(L"0207");
    Drv->TypeText(L"2029");
    Drv->Pump();
    ASSERT_NE(dt->TimePicker(), nullptr);
    EXPECT_EQ(GetFocus(), dt->TimePicker()->Handle());
    EXPECT_EQ(std::trunc(dt->DateTime()), At(2029, 7, 2));
}

TEST_F(VodDateTimePickerTest, AutoTabClicksTheFirstFieldOnFocus)
{
    auto* p = NewPicker(dkTime);
    p->SetFormat(L"HH:mm:ss");
    p->SetAutoTab(true);
    TEdit* other = NewEdit(100);
    ShowForm();
    p->SetDateTime(At(2024, 3, 14, 9, 30, 0));
    Focus(p);
    Drv->PressKey(VK_RIGHT);   // to the minutes
    Focus(other);
    Focus(p);                  // back in: the hour again
    Drv->TypeText(L"11");
    Drv->Pump();
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 11, 30, 0));
}

TEST_F(VodDateTimePickerTest, GridTabHandlingClaimsTabPerRole)
{
    auto* g = NewPicker<TGridPicker>(dkDateTime);
    ShowForm();
    ASSERT_NE(g->Companion(), nullptr);
    struct Case { bool Time; bool Shift; bool Claimed; };
    for (Case k : {Case{false, false, false}, Case{false, true, true}, Case{true, false, true}, Case{true, true, false}}) {
        if (k.Shift) Drv->KeyDown(VK_SHIFT);
        HWND h = k.Time ? g->Companion()->Handle() : g->Handle();
        LRESULT code = SendMessage(h, WM_GETDLGCODE, 0, 0);
        if (k.Shift) Drv->KeyUp(VK_SHIFT);
        EXPECT_EQ((code & DLGC_WANTTAB) != 0, k.Claimed) << "time " << k.Time << " shift " << k.Shift;
    }
    auto* plain = NewPicker(dkDate, 100);
    EXPECT_EQ(SendMessage(plain->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
}

TEST_F(VodDateTimePickerTest, NullDateIsTodayWhileEditingAndComesBackUnlessChanged)
{
    auto* p = NewPicker(dkDate);
    TEdit* other = NewEdit(100);
    p->SetFormat(L"dd/MM/yyyy");
    p->SetNullDateFormat(L"'(none)'");
    ShowForm();
    Focus(other);
    p->SetDateTime(0);
    EXPECT_EQ(p->Format(), L"'(none)'");
    Focus(p);
    EXPECT_EQ(std::trunc(p->DateTime()), At(2024, 3, 14));
    EXPECT_EQ(p->Format(), L"dd/MM/yyyy");
    Focus(other);
    EXPECT_EQ(p->DateTime(), 0);
    EXPECT_EQ(p->Format(), L"'(none)'");

    // A change by the user stays.
    Focus(p);
    Drv->PressKey(VK_UP);
    Focus(other);
    EXPECT_EQ(std::trunc(p->DateTime()), At(2024, 3, 15));
    EXPECT_EQ(p->Format(), L"dd/MM/yyyy");

    // Ctrl+Delete sets the value to 0.
    Focus(p);
    Drv->PressKey(VK_DELETE, {VK_CONTROL});
    EXPECT_EQ(p->DateTime(), 0);
}

TEST_F(VodDateTimePickerTest, ValuesKeepTheirParts)
{
    auto* p = NewPicker(dkDate);
    ShowForm();
    p->SetDateTime(At(2024, 5, 6, 13, 14, 15) + 0.4 / 86400);
    p->SetDate(At(2030, 1, 2, 23, 0, 0));
    EXPECT_EQ(p->DateTime(), At(2030, 1, 2, 13, 14, 15)) << "the time of day stays, to the second";
    p->SetMinDate(At(2024, 1, 1));
    p->SetDateTime(At(2020, 6, 1, 10, 20, 30));
    EXPECT_EQ(p->DateTime(), At(2024, 1, 1, 10, 20, 30)) << "raised to the minimum date, time kept";
    EXPECT_EQ(p->Version(), L"1.2.5.0");
}

TEST_F(VodDateTimePickerTest, MinAndMaxTimeClampTheTimeKind)
{
    auto* p = NewPicker(dkTime);
    p->SetFormat(L"HH:mm");
    ShowForm();
    p->SetMinTime(EncodeTime(8, 0, 0, 0));
    p->SetMaxTime(EncodeTime(17, 0, 0, 0));
    p->SetDateTime(At(2024, 3, 14, 16, 0, 0));
    Focus(p);
    Drv->PressKey(VK_UP);
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 17, 0, 0));
    Drv->PressKey(VK_UP);   // 18:00 comes back as 17:00
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 17, 0, 0));
    p->SetDateTime(At(2024, 3, 14, 8, 0, 0));
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 8, 0, 0));
    // Equal limits: no clamp.
    p->SetMaxTime(p->MinTime());
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(p->DateTime(), At(2024, 3, 14, 7, 0, 0));
}

TEST_F(VodDateTimePickerTest, CompanionBoundsFollowTheLookTable)
{
    auto* p = NewPicker(dkDateTime);
    p->SetTimeFormat(L"HH:mm:ss");
    ShowForm();
    p->SetDateTime(At(2024, 3, 14, 8, 0, 0));
    Drv->Pump();
    TCustomDateTimePicker* tp = p->TimePicker();
    ASSERT_NE(tp, nullptr);
    EXPECT_TRUE(tp->Visible());
    const Integer w = 8 * 8 + 31, W = p->Width(), H = p->Height();
    EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 34, 1, w, H - 2)) << "themed";
    p->SetMetroStyle(true);
    p->SetColor(clWhite);   // a colour change lays the companion out again
    EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 21, 1, w, H - 2)) << "themed metro";
    SetVisualStylesEnabled(false);
    p->SetColor(clWindow);
    EXPECT_EQ(tp->BoundsRect(), Bounds(W - w - 21, 2, w, H - 4)) << "no theme";
    EXPECT_EQ(FormatDateTime(L"hh:nn:ss", p->Time()), L"08:00:00");
}

TEST_F(VodDateTimePickerTest, LeavingTheDateTimeKindFreesTheCompanionAndKeepsTheDate)
{
    auto* p = NewPicker(dkDateTime);
    ShowForm();
    p->SetDateTime(At(2024, 7, 8, 10, 11, 12));
    ASSERT_NE(p->TimePicker(), nullptr);
    EXPECT_EQ(p->DateTime(), At(2024, 7, 8, 10, 11, 12));
    p->SetKind(dkDate);
    EXPECT_EQ(p->TimePicker(), nullptr);
    EXPECT_EQ(std::trunc(p->DateTime()), At(2024, 7, 8));
    p->SetKind(dkDateTime);
    ASSERT_NE(p->TimePicker(), nullptr);
    EXPECT_EQ(std::trunc(p->DateTime()), At(2024, 7, 8));
}

TEST_F(VodDateTimePickerTest, AHandlerOfTheCompanionMayChangeTheKind)
{
    auto* p = NewPicker(dkDateTime);
    p->SetTimeFormat(L"HH:mm");
    ShowForm();
    int calls = 0;
    p->OnTimeChange = [&](TObject*) {
        ++calls;
        p->SetKind(dkDate);   // releases the companion while its change runs
    };
    ASSERT_NE(p->TimePicker(), nullptr);
    Focus(p->TimePicker());
    Drv->PressKey(VK_UP);
    Drv->Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p->TimePicker(), nullptr);
    Drv->Pump();   // the release comes back and frees it
}

TEST_F(VodDateTimePickerTest, UserStringsGoThroughOnUserInput)
{
    auto* p = NewPicker(dkDate);
    p->SetParseInput(true);
    p->SetFormat(L"dd/MM/yyyy");
    ShowForm();
    p->SetDateTime(At(2024, 3, 14));
    String seen;
    bool parsedOk = true;
    p->OnUserInput = [&](TObject*, const String& s, TDateTime& value, bool& ok) {
        seen = s;
        parsedOk = ok;
        if (s == L"xmas") {
            value = At(2024, 12, 25);
            ok = true;
        }
    };
    Focus(p);
    Drv->TypeText(L"xmas");
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(seen, L"xmas");
    EXPECT_FALSE(parsedOk) << "the platform parser could not read it";
    EXPECT_EQ(p->DateTime(), At(2024, 12, 25));
    Drv->TypeText(L"zz");
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(p->DateTime(), At(2024, 12, 25)) << "refused";
    // Without a handler an unreadable text keeps the value.
    p->OnUserInput = nullptr;
    Drv->TypeText(L"zz");
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(p->DateTime(), At(2024, 12, 25));
}

TEST_F(VodDateTimePickerTest, LabelPositionsCountTheBorder)
{
    auto* p = NewPicker(dkDate, 100);
    p->SetLabelCaption(L"Due");
    ShowForm();
    TLabel* l = p->PickerLabel();
    const Integer H = l->Height(), LW = l->Width(), W = 24, M = 4, B = 2;
    const Integer T = p->Top(), L = p->Left(), E = p->Height(), CW = p->Width();
    const Integer centre = H < E ? T + (E - B - H) / 2 : T - (B + H - E) / 2;
    struct Case { TLabelPosition P; Integer Top, Left; };
    const Case cases[] = {
        {lpLeftTop, T, L - W - M}, {lpLeftCenter, centre, L - W - M}, {lpLeftBottom, T + E - H, L - W - M},
        {lpTopLeft, T - H - M, L}, {lpBottomLeft, T + E + M, L}, {lpLeftTopLeft, T, L - M},
        {lpLeftCenterLeft, centre, L - M}, {lpLeftBottomLeft, T + E - H, L - M},
        {lpTopCenter, T - H - M, L + (CW - LW) / 2}, {lpBottomCenter, T + E + M, L + (CW - LW) / 2},
        {lpRightTop, T, L + CW + M}, {lpRightCenter, centre, L + CW + M}, {lpRighBottom, T + E - H, L + CW + M},
        {lpTopRight, T - H - M, L + CW - LW}, {lpBottomRight, T + E + M, L + CW - LW},
    };
    for (const Case& k : cases) {
        p->SetLabelPosition(k.P);
        EXPECT_EQ(l->Top(), k.Top) << int(k.P);
        EXPECT_EQ(l->Left(), k.Left) << int(k.P);
    }
    p->SetBorderStyle(bsNone);
    p->SetLabelPosition(lpLeftCenter);
    EXPECT_EQ(l->Top(), H < E ? T + (E - H) / 2 : T - (H - E) / 2);
}

TEST_F(VodDateTimePickerTest, MetroLookDrawsItsBorderAndButton)
{
    auto* p = NewPicker(dkDate);
    ShowForm();
    HWND h = p->Handle();
    p->SetMetroStyle(true);
    p->SetBorderColor(clRed);
    p->SetButtonColor(clNavy);
    p->SetButtonTextColor(clWhite);
    p->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 0, 10), Rgb(clRed));
    EXPECT_EQ(PixelAt(h, 50, 0), Rgb(clRed));
    EXPECT_EQ(PixelAt(h, p->Width() - 6, 5), Rgb(clNavy));
    p->SetMetroStyle(false);
    p->Invalidate();
    Drv->Pump();
    EXPECT_NE(PixelAt(h, p->Width() - 6, 5), Rgb(clNavy));
}

TEST_F(VodDateTimePickerTest, CheckBoxWiresTheCompanion)
{
    auto* p = NewPicker(dkDateTime);
    p->SetShowCheckbox(true);
    ShowForm();
    Drv->Pump();
    ASSERT_NE(p->TimePicker(), nullptr);
    EXPECT_TRUE(p->TimePicker()->Enabled());
    p->SetChecked(false);
    EXPECT_FALSE(p->TimePicker()->Enabled()) << "no date: the time is off too";
    Focus(p);
    Drv->PressKey(VK_SPACE);   // the user ticks the box again
    EXPECT_TRUE(p->Checked());
    EXPECT_TRUE(p->TimePicker()->Enabled());
    p->SetEnabled(false);
    EXPECT_FALSE(p->TimePicker()->Enabled());
}
