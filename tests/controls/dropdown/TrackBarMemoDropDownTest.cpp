// The track bar and memo drop-downs.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/MemoDropDown.h"
#include "controls/dropdown/TrackBarDropDown.h"
#include "platform/ui/ComCtrls_Bars.h"

namespace {
class TrackBarDropDown : public DropDownFormTest {};
class MemoDropDown : public DropDownFormTest {};
}  // namespace

TEST_F(TrackBarDropDown, ConstructionAndTheRoundTripThroughTheBar)
{
    auto* t = Make<TVodTrackBarDropDown>();
    EXPECT_FALSE(t->EditorEnabled());
    EXPECT_EQ(t->EditType(), etNumeric);
    EXPECT_FALSE(t->DropDownHeader()->Visible());
    EXPECT_FALSE(t->DropDownFooter()->Visible());
    EXPECT_TRUE(t->ForceShadow());
    EXPECT_EQ(t->Text(), L"0");
    int changes = 0;
    t->OnTrackChange = [&](TObject*) { ++changes; };
    ShowForm();
    // A click anywhere on the edit opens the window.
    Drv->Click(At(t, 10, 10));
    Drv->Pump();
    ASSERT_TRUE(t->DroppedDown());
    TTrackBar* bar = t->TrackBar();
    ASSERT_TRUE(bar->Focused());
    EXPECT_FALSE(t->DropDownForm()->CancelOnDeActivate());
    Drv->PressKey(VK_RIGHT);
    Drv->PressKey(VK_RIGHT);
    Drv->Pump();
    EXPECT_EQ(t->Position(), 2);
    EXPECT_EQ(t->Text(), L"2");
    EXPECT_EQ(changes, 2);
    // A click elsewhere closes it keeping the slid value.
    Drv->Click(At(Form, 400, 300));
    Drv->Pump();
    EXPECT_FALSE(t->DroppedDown());
    EXPECT_EQ(t->Text(), L"2");
}

TEST_F(TrackBarDropDown, KeysDragAndTheClampOfTheBar)
{
    auto* t = Make<TVodTrackBarDropDown>();
    ShowForm();
    t->SetFocus();
    t->SetPosition(10);
    SendMessage(t->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(t->Position(), 10);  // Down raises, not above Max
    SendMessage(t->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(t->Position(), 9);
    EXPECT_EQ(t->Text(), L"9");
    t->SetPosition(0);
    SendMessage(t->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(t->Position(), 0);
    // The bar clamps what it is given.
    t->SetPosition(8);
    t->SetMax(5);
    EXPECT_EQ(t->Position(), 8);
    t->SetPosition(t->Position());
    EXPECT_EQ(t->Position(), 5);

    // Dragging: (dx / PageSize) per move, truncated; PageSize 0 counts 1.
    t->SetMax(100);
    t->SetPosition(10);
    t->SetPageSize(4);
    SendMessage(t->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    Drv->Pump();
    if (t->DroppedDown()) t->HideDropDown(false);
    SendMessage(t->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(23, 5));  // 3 / 4 = 0
    EXPECT_EQ(t->Position(), 10);
    SendMessage(t->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(31, 5));  // 8 / 4 = 2
    EXPECT_EQ(t->Position(), 12);
    t->SetPageSize(0);
    SendMessage(t->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(28, 5));  // -3 / 1
    EXPECT_EQ(t->Position(), 9);
    SendMessage(t->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(28, 5));
}

TEST_F(TrackBarDropDown, TextThatIsNoIntegerLeavesThePosition)
{
    auto* t = Make<TVodTrackBarDropDown>();
    t->SetPosition(4);
    t->SetEditText(L"1a");
    EXPECT_EQ(t->Position(), 4);
    t->SetEditText(L"99999999999");
    EXPECT_EQ(t->Position(), 4);
    t->SetEditText(L"7");
    EXPECT_EQ(t->Position(), 7);
    t->SetEditText(L"");
    EXPECT_EQ(t->Position(), 0);
}

TEST_F(MemoDropDown, TheEditShowsTheFirstLine)
{
    auto* m = Make<TVodMemoDropDown>();
    ShowForm();
    m->MemoText()->SetText(L"first\r\nsecond");
    EXPECT_EQ(m->Text(), L"first");
    m->SetEditorEnabled(false);
    m->MemoText()->SetText(L"one\r\ntwo");
    EXPECT_EQ(m->Text(), L"one...");
    m->MemoText()->SetText(L"a very long first line that cannot fit the edit");
    String shown = m->Text();
    EXPECT_LT(shown.size(), 40u);
    EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
}

TEST_F(MemoDropDown, TypingInTheMemoUpdatesTheEditLiveAndKeysClose)
{
    auto* m = Make<TVodMemoDropDown>();
    m->SetText(L"start");
    int memoChanges = 0, changes = 0;
    m->OnMemoChange = [&](TObject*) { ++memoChanges; };
    m->OnChange = [&](TObject*) { ++changes; };
    ShowForm();
    m->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(m->Memo()->Focused());
    Drv->PressKey(VK_END);
    Drv->TypeText(L"!");
    Drv->PressKey(VK_RETURN);  // a new line, not a close
    Drv->TypeText(L"next");
    Drv->Pump();
    EXPECT_TRUE(m->DroppedDown());
    EXPECT_EQ(m->Text(), L"start!");
    EXPECT_GT(memoChanges, 0);
    EXPECT_GT(changes, 0);
    Drv->PressKey(VK_TAB);
    Drv->Pump();
    EXPECT_FALSE(m->DroppedDown());
    EXPECT_EQ(m->MemoText()->Count(), 2);
    EXPECT_EQ(m->MemoText()->Strings(1), L"next");
    EXPECT_TRUE(m->Focused());
    // Esc in the memo closes through the edit.
    Drv->SetTick(Drv->Tick() + 1000);
    m->ShowDropDown();
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(m->DroppedDown());
}

TEST_F(MemoDropDown, TypingInTheEditReplacesOnlyTheFirstLine)
{
    auto* m = Make<TVodMemoDropDown>();
    m->MemoText()->SetText(L"a\r\nb\r\nc");
    ShowForm();
    m->SetFocus();
    SendMessage(m->Handle(), EM_SETSEL, 1, 1);
    SendMessage(m->Handle(), WM_CHAR, L'x', 0);
    ASSERT_EQ(m->MemoText()->Count(), 3);
    EXPECT_EQ(m->MemoText()->Strings(0), L"ax");
    EXPECT_EQ(m->MemoText()->Strings(2), L"c");
    // Writing Text replaces every line by that one text.
    m->SetText(L"only");
    ASSERT_EQ(m->MemoText()->Count(), 1);
    EXPECT_EQ(m->MemoText()->Strings(0), L"only");
}

TEST_F(MemoDropDown, AutoDropOpensOnEnterButNotWhenTheClosingReturnsTheFocus)
{
    auto* other = Make(20, 120);
    auto* m = Make<TVodMemoDropDown>();
    m->SetAutoDrop(true);
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    m->SetFocus();
    Drv->Pump();
    ASSERT_TRUE(m->DroppedDown());
    m->HideDropDown(false);
    Drv->Pump();
    EXPECT_TRUE(m->Focused());
    EXPECT_FALSE(m->DroppedDown());
}

TEST_F(MemoDropDown, AnAcceptedCloseKeepsTheLinesWithTheEditorDisabled)
{
    auto* m = Make<TVodMemoDropDown>();
    m->SetEditorEnabled(false);
    m->MemoText()->SetText(L"one\r\ntwo");
    ShowForm();
    Drv->Click(At(m, 10, 10));
    Drv->Pump();
    ASSERT_TRUE(m->DroppedDown());
    Drv->PressKey(VK_DOWN, {VK_MENU});
    Drv->Pump();
    EXPECT_FALSE(m->DroppedDown());
    EXPECT_EQ(m->MemoText()->Count(), 2);
    EXPECT_EQ(m->Text(), L"one...");
}

TEST_F(MemoDropDown, ACancelledCloseKeepsTheLines)
{
    auto* m = Make<TVodMemoDropDown>();
    m->SetEditorEnabled(false);
    m->MemoText()->SetText(L"one\r\ntwo");
    std::vector<String> ups;
    m->OnDropUp = [&](TObject*, bool) { ups.push_back(m->Text()); };
    ShowForm();
    m->ShowDropDown();
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(m->DroppedDown());
    EXPECT_EQ(m->MemoText()->Count(), 2);
    EXPECT_EQ(m->Text(), L"one...");
    EXPECT_EQ(ups, (std::vector<String>{L"one..."}));
}

TEST_F(MemoDropDown, EachOpeningAppliesTheReadOnlyStateAndShowsTheCaret)
{
    auto* m = Make<TVodMemoDropDown>();
    String text;
    for (int i = 0; i < 200; ++i) text += L"Line " + IntToStr(i) + L"\r\n";
    m->MemoText()->SetText(text);
    ShowForm();
    auto reopen = [&] {
        m->HideDropDown(false);
        Drv->Pump();
        Drv->SetTick(Drv->Tick() + 1000);
        m->ShowDropDown();
        Drv->Pump();
        ASSERT_TRUE(m->DroppedDown());
    };
    m->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(m->DroppedDown());
    HWND memo = m->Memo()->Handle();
    EXPECT_FALSE(m->Memo()->ReadOnly());
    // Scrolled away from the caret, the memo shows the caret again on the
    // next opening.
    SendMessage(memo, EM_LINESCROLL, 0, 50);
    ASSERT_EQ(SendMessage(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 50);
    reopen();
    EXPECT_EQ(SendMessage(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // A read-only state written while closed holds from the next opening on.
    m->SetMemoReadOnly(true);
    reopen();
    EXPECT_TRUE(m->Memo()->ReadOnly());
    EXPECT_TRUE(GetWindowLong(memo, GWL_STYLE) & ES_READONLY);
    reopen();
    EXPECT_TRUE(GetWindowLong(memo, GWL_STYLE) & ES_READONLY);
    m->SetMemoReadOnly(false);
    reopen();
    EXPECT_FALSE(GetWindowLong(memo, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(m->MemoText()->Count(), 200);
}

TEST_F(MemoDropDown, LinesAndMemoFollowEachOtherAcrossOpenings)
{
    auto* m = Make<TVodMemoDropDown>();
    m->MemoText()->SetText(L"one\r\ntwo");
    ShowForm();
    auto open = [&] {
        Drv->SetTick(Drv->Tick() + 1000);
        m->ShowDropDown();
        Drv->Pump();
        ASSERT_TRUE(m->DroppedDown());
    };
    auto close = [&] {
        m->HideDropDown(false);
        Drv->Pump();
        ASSERT_FALSE(m->DroppedDown());
    };
    open();
    EXPECT_EQ(m->Memo()->Text(), L"one\r\ntwo\r\n");
    close();
    open();  // nothing changed: the same text, the same lines
    EXPECT_EQ(m->Memo()->Text(), L"one\r\ntwo\r\n");
    close();
    ASSERT_EQ(m->MemoText()->Count(), 2);

    // Typed into the memo: the lines follow on closing, and the next opening
    // shows them.
    open();
    SendMessage(m->Memo()->Handle(), EM_SETSEL, 0, 0);
    SendMessage(m->Memo()->Handle(), WM_CHAR, L'x', 0);
    close();
    EXPECT_EQ(m->MemoText()->Strings(0), L"xone");
    open();
    EXPECT_EQ(m->Memo()->Text(), L"xone\r\ntwo\r\n");
    close();

    // Typed into the edit while closed: the memo takes the new first line.
    m->SetFocus();
    SendMessage(m->Handle(), EM_SETSEL, 0, 0);
    SendMessage(m->Handle(), WM_CHAR, L'y', 0);
    open();
    EXPECT_EQ(m->Memo()->Text(), L"yxone\r\ntwo\r\n");
    close();

    // A line holding a break of its own comes back as two lines, as it
    // always did through the memo.
    TStringList lines;
    lines.Add(L"a\nb");
    m->SetMemoText(&lines);
    open();
    close();
    ASSERT_EQ(m->MemoText()->Count(), 2);
    EXPECT_EQ(m->MemoText()->Strings(1), L"b");
}
