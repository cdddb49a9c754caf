// The time picker drop-down: text and mask, field steps, typed text, the
// window with the clock and the platform picker, closing.
#include "controls/dropdown/TimePickerDropDown.h"

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "tests/controls/dropdown/DropDownTestSupport.h"

namespace {

class TimePickerDropDown : public DropDownFormTest {
protected:
    TVodTimePickerDropDown* T = nullptr;
    int TimeChanges = 0;
    void SetUp() override
    {
        DropDownFormTest::SetUp();
        FormatSettings.TimeSeparator = L':';
        T = Make<TVodTimePickerDropDown>();
        T->OnTimeChange = [this](TObject*) { ++TimeChanges; };
    }
    static TDateTime HMS(int h, int m, int s) { return EncodeTime(Word(h), Word(m), Word(s), 0); }
    void Caret(int p) { T->SetSelStart(p); }
    void Key(Word k) { SendMessage(T->Handle(), WM_KEYDOWN, k, 0); }
};

}  // namespace

TEST_F(TimePickerDropDown, NewComponentMaskAndShowSeconds)
{
    EXPECT_EQ(T->EditText(), L"00:00:00");
    EXPECT_EQ(T->Time(), 0);
    EXPECT_FALSE(T->EditorEnabled());
    EXPECT_EQ(T->EditMask(), L"!90:00:00;1; ");
    T->SetTime(HMS(12, 34, 56));
    EXPECT_EQ(T->EditText(), L"12:34:56");
    T->SetShowSeconds(false);
    EXPECT_EQ(T->EditMask(), L"!90:00;1; ");
    EXPECT_EQ(T->EditText(), L"12:34");
    EXPECT_EQ(T->Time(), HMS(12, 34, 56));  // Time keeps its seconds
    T->SetShowSeconds(true);
    EXPECT_EQ(T->EditText(), L"12:34:56");
    EXPECT_EQ(TimeChanges, 0);  // writing Time tells nothing
    T->SetTime(HMS(7, 5, 3));
    EXPECT_EQ(T->EditText(), L"07:05:03");
    // The locale's separator.
    FormatSettings.TimeSeparator = L'.';
    auto* u = Make<TVodTimePickerDropDown>(20, 80);
    EXPECT_EQ(u->EditText(), L"00.00.00");
    EXPECT_EQ(u->FormatTime(9, 8, 7), L"09.08.07");
    // The Text writer sets or clears the mask.
    T->SetText(L"");
    EXPECT_EQ(T->EditMask(), L"");
    FormatSettings.TimeSeparator = L':';
    T->SetText(L"10:00:00");
    EXPECT_EQ(T->EditMask(), L"!90:00:00;1; ");
}

TEST_F(TimePickerDropDown, ArrowsStepTheFieldUnderTheCaretWithoutCarry)
{
    ShowForm();
    T->SetFocus();
    struct S {
        int H, M, Sec, Caret;
        Word Key;
        const wchar_t* Shown;
    };
    for (S s : {S{23, 59, 59, 4, VK_DOWN, L"23:00:59"}, S{23, 59, 59, 1, VK_DOWN, L"00:59:59"},
                S{0, 10, 10, 0, VK_UP, L"23:10:10"}, S{5, 10, 0, 7, VK_UP, L"05:10:59"},
                S{5, 0, 0, 3, VK_UP, L"05:59:00"}, S{5, 10, 59, 8, VK_DOWN, L"05:10:00"},
                S{5, 10, 10, 2, VK_DOWN, L"06:10:10"}}) {
        T->SetTime(HMS(s.H, s.M, s.Sec));
        Caret(s.Caret);
        TimeChanges = 0;
        Key(s.Key);
        EXPECT_EQ(T->EditText(), s.Shown) << s.Caret;
        EXPECT_EQ(TimeChanges, 1);
        EXPECT_EQ(T->SelStart(), s.Caret);  // the caret stays
    }
    // Without seconds the last field is the minute.
    T->SetShowSeconds(false);
    T->SetTime(HMS(5, 10, 0));
    Caret(4);
    Key(VK_DOWN);
    EXPECT_EQ(T->EditText(), L"05:11");
}

TEST_F(TimePickerDropDown, TypedTextIsParsedOnlyInTheTimeShape)
{
    T->SetTime(HMS(1, 2, 3));
    T->SetEditText(L"07:30:15");  // as typed
    EXPECT_EQ(T->Time(), HMS(7, 30, 15));
    T->SetEditText(L" 8:00:00");  // blanks as zeros; whole hours shown in full
    EXPECT_EQ(T->Time(), HMS(8, 0, 0));
    EXPECT_EQ(T->EditText(), L"08:00:00");
    // Out of range: Time stays, nothing raised.
    EXPECT_NO_THROW(T->SetEditText(L"25:00:00"));
    EXPECT_EQ(T->Time(), HMS(8, 0, 0));
    EXPECT_NO_THROW(T->SetEditText(L"10:61:00"));
    EXPECT_EQ(T->Time(), HMS(8, 0, 0));
    // Not the time shape, or no digits: ignored.
    T->SetEditMask(L"");
    T->SetEditText(L"10:20");
    EXPECT_EQ(T->Time(), HMS(8, 0, 0));
    T->SetEditText(L"ab:cd:ef");
    EXPECT_EQ(T->Time(), HMS(8, 0, 0));
}

TEST_F(TimePickerDropDown, LeavingWithATextThatIsNoTimeShowsTimeAgain)
{
    auto* other = Make<TVodTimePickerDropDown>(20, 100);
    ShowForm();
    T->SetTime(HMS(6, 7, 8));
    T->SetFocus();
    Drv->Pump();
    T->SetEditText(L"99:99:99");
    EXPECT_NO_THROW({
        other->SetFocus();
        Drv->Pump();
    });
    EXPECT_EQ(T->Time(), HMS(6, 7, 8));
    EXPECT_EQ(T->EditText(), L"06:07:08");
    // A good text is taken on leaving.
    T->SetFocus();
    Drv->Pump();
    T->SetEditText(L"11:12:13");
    other->SetFocus();
    Drv->Pump();
    EXPECT_EQ(T->Time(), HMS(11, 12, 13));
}

TEST_F(TimePickerDropDown, TheWindowShowsTheClockAndClosingTakesItsTime)
{
    ShowForm();
    T->SetAnimation(false);
    T->SetTime(HMS(10, 20, 0));
    T->SetFocus();
    T->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(T->DroppedDown());
    TVodWatch* w = T->Watch();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(T->PanelCtrl()->Width(), 170);
    EXPECT_EQ(T->PanelCtrl()->Height(), 170);
    EXPECT_FALSE(T->DropDownForm()->CancelOnDeActivate());
    EXPECT_EQ(w->Time(), HMS(10, 20, 0));
    EXPECT_FALSE(w->Animation());
    // Clicks on the clock change Time live.
    TPoint c = w->GetCenter();
    Drv->Click(w->ClientToScreen(TPoint{c.X - 40, c.Y}));  // hour 9
    Drv->Pump();
    EXPECT_EQ(T->EditText(), L"09:20:00");
    // Keys on the window go to the clock; PageUp does not reach the edit.
    Drv->PressKey(VK_PRIOR);
    Drv->Pump();
    EXPECT_EQ(w->Hour(), 10);
    Drv->PressKey(VK_RIGHT);
    Drv->Pump();
    EXPECT_EQ(T->EditText(), L"10:21:00");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(T->DroppedDown());
    EXPECT_EQ(T->Time(), HMS(10, 21, 0));

    // Esc closes and keeps the old Time.
    T->ShowDropDown();
    Drv->Pump();
    Drv->PressKey(VK_HOME);
    Drv->Pump();
    EXPECT_EQ(w->Hour(), 12);
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(T->DroppedDown());
    EXPECT_EQ(T->Time(), HMS(10, 21, 0));
    EXPECT_EQ(T->EditText(), L"10:21:00");
    EXPECT_EQ(w->Time(), HMS(10, 21, 0));
}

TEST_F(TimePickerDropDown, OpeningWithAnEmptyTextAndThePlatformPicker)
{
    ShowForm();
    T->SetAnimation(false);
    T->SetTime(HMS(3, 4, 5));
    T->SetText(L"");
    T->ShowDropDown();
    Drv->Pump();
    EXPECT_EQ(T->Watch()->Time(), 0);
    T->HideDropDown(true);
    Drv->Pump();

    T->SetShowTimePicker(true);
    T->SetTime(HMS(14, 15, 16));
    T->ShowDropDown();
    Drv->Pump();
    TDateTimePicker* p = T->DateTimePicker();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Kind(), dtkTime);
    EXPECT_EQ(T->PanelCtrl()->Height(), p->Height() + 170);
    EXPECT_NEAR(p->Time(), HMS(14, 15, 16), 1e-6);
    // Clock and picker keep in step both ways.
    TimeChanges = 0;
    T->Watch()->WatchKeyDown(VK_END);
    EXPECT_NEAR(p->Time(), HMS(14, 0, 16), 1e-6);
    EXPECT_EQ(TimeChanges, 1);
    p->SetTime(HMS(16, 30, 0));  // as the user would change it
    p->OnChange(p);
    EXPECT_EQ(T->Watch()->Time(), HMS(16, 30, 0));
    EXPECT_EQ(T->EditText(), L"16:30:00");
    T->HideDropDown(false);
    Drv->Pump();
    EXPECT_EQ(T->Time(), HMS(16, 30, 0));
    // Hidden again when no longer wanted.
    T->SetShowTimePicker(false);
    T->ShowDropDown();
    Drv->Pump();
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(T->PanelCtrl()->Height(), 170);
    T->HideDropDown(false);
}

TEST_F(TimePickerDropDown, ComponentStyleColoursTheClock)
{
    T->SetComponentStyle(tsWindows7);
    EXPECT_EQ(T->WatchAppearance()->BackgroundColorTo(), TColor(0xFDF3EB));
    T->WatchAppearance()->SetBorderWidth(2);
    ShowForm();
    T->ShowDropDown();
    Drv->Pump();
    EXPECT_EQ(T->Watch()->Appearance()->BorderWidth(), 2);
    EXPECT_EQ(T->Watch()->Appearance()->BackgroundColor(), TColor(0xFDFBFA));
    T->HideDropDown(false);
}

TEST_F(TimePickerDropDown, UpAndDownOnTheOpenWindowDoNotStepTheEdit)
{
    ShowForm();
    T->SetAnimation(false);
    T->SetTime(HMS(10, 20, 0));
    T->SetFocus();
    T->ShowDropDown();
    Drv->Pump();
    TimeChanges = 0;
    Drv->PressKey(VK_UP);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_NEXT);  // the clock's hour down
    Drv->Pump();
    EXPECT_EQ(TimeChanges, 0);
    EXPECT_EQ(T->EditText(), L"09:20:00");
    // With Alt, Up closes the window as on the edit.
    Drv->PressKey(VK_UP, {VK_MENU});
    Drv->Pump();
    EXPECT_FALSE(T->DroppedDown());
    EXPECT_EQ(T->Time(), HMS(9, 20, 0));
}
