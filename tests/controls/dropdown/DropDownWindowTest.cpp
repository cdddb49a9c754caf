// Opening, placing, sizing and closing the drop-down window.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

namespace {
class DropDownWindow : public DropDownFormTest {};
}  // namespace

TEST_F(DropDownWindow, ArrowOpensBelowTheEditAndEscRestoresTheText)
{
    auto* d = Make();
    auto* memo = new TMemo(d);
    memo->SetBounds(0, 0, 150, 80);
    d->SetControl(memo);
    d->SetText(L"abc");
    ShowForm();
    Drv->Click(Arrow(d));
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    TDropDownForm* f = d->DropDownForm();
    ASSERT_TRUE(f->Visible());
    TPoint p = Form->ClientToScreen(TPoint{20, 40});
    EXPECT_EQ(f->Left(), p.X);
    EXPECT_EQ(f->Top(), p.Y + d->Height() - 1);
    d->SetEditText(L"typed");
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(d->Text(), L"abc");
}

namespace {

// A drop-down hosting a memo of 150 x 80 on a form whose client origin is
// placed where the test wants it.
struct TPlaced {
    TVodDropDown* Edit;
    TMemo* Memo;
};

class DropDownPlacement : public DropDownFormTest {
protected:
    TPlaced At(int formX, int formY, int memoW = 150, int memoH = 80)
    {
        Form->SetBounds(formX, formY, 300, 60);
        auto* d = Make(0, 0, 100);
        d->DropDownHeader()->SetVisible(false);
        d->DropDownFooter()->SetVisible(false);
        auto* m = new TMemo(d);
        m->SetBounds(0, 0, memoW, memoH);
        d->SetControl(m);
        return {d, m};
    }
};

}  // namespace

TEST_F(DropDownPlacement, BelowAboveAndRightEdgeOverScreensAndWorkAreas)
{
    // One 1024 x 768 screen, work area to y 728 (task bar).
    struct {
        int X, Y;
        TDropPosition Pos;
        int MemoW;
        int WantX, WantY;  // -1: the edit's own X / the row below the edit
    } const cases[] = {
        {100, 100, dpAuto, 150, 100, 100 + 24 - 1},
        {100, 700, dpAuto, 150, 100, 700 - 82},      // would pass the screen's bottom: above
        {100, 700, dpDown, 150, 100, 700 + 24 - 1},  // down regardless
        {100, 100, dpUp, 150, 100, 100 - 82},        // its bottom on the edit's top
        {950, 100, dpAuto, 150, 1024 - 150, 123},    // shifted to end at the work area's right
        {1030, 100, dpAuto, 150, 1030, 123},         // left edge beyond it: stays
    };
    for (const auto& c : cases) {
        TPlaced p = At(c.X, c.Y, c.MemoW);
        p.Edit->SetDropPosition(c.Pos);
        ShowForm();
        p.Edit->ShowDropDown();
        TDropDownForm* f = p.Edit->DropDownForm();
        ASSERT_TRUE(f->Visible()) << c.X << "," << c.Y;
        EXPECT_EQ(f->Left(), c.WantX) << c.X << "," << c.Y;
        EXPECT_EQ(f->Top(), c.WantY) << c.X << "," << c.Y;
        EXPECT_EQ(f->Width(), c.MemoW);
        EXPECT_EQ(f->Height(), 82);
        p.Edit->HideDropDown(false);
        delete p.Edit;
        Form->Hide();
    }
}

TEST_F(DropDownPlacement, SecondMonitorLeftOfZeroAndTheMonitorsOwnBottom)
{
    Drv->SetMonitors({{TRect{0, 0, 1024, 768}, TRect{0, 0, 1024, 728}},
                      {TRect{-800, 0, 0, 600}, TRect{-800, 0, 0, 560}}});
    TPlaced p = At(-100, 100);
    ShowForm();
    p.Edit->ShowDropDown();
    // The right-edge correction holds on a monitor left of 0 too.
    EXPECT_EQ(p.Edit->DropDownForm()->Left(), -150);
    p.Edit->HideDropDown(false);
    delete p.Edit;
    // Near the bottom of the 600-high monitor: above, although the primary
    // screen is taller.
    TPlaced q = At(-700, 540);
    ShowForm();
    q.Edit->ShowDropDown();
    EXPECT_EQ(q.Edit->DropDownForm()->Top(), 540 - 82);
}

TEST_F(DropDownPlacement, RememberedUserSizeIsUsedAtTheNextOpening)
{
    TPlaced p = At(100, 100);
    ShowForm();
    p.Edit->ShowDropDown();
    TDropDownForm* f = p.Edit->DropDownForm();
    f->SetBounds(f->Left(), f->Top(), 220, 140);
    p.Edit->HideDropDown(false);
    p.Edit->ShowDropDown();
    EXPECT_EQ(f->Width(), 220);
    EXPECT_EQ(f->Height(), 140);
    p.Edit->HideDropDown(false);
    // Back to the automatic width: the hosted control's, which the window's
    // last size has left at 220 less the frame.
    p.Edit->SetDropDownWidth(0);
    Integer automatic = p.Memo->Width();
    EXPECT_EQ(automatic, 218);
    p.Edit->ShowDropDown();
    EXPECT_EQ(f->Width(), automatic);
    EXPECT_EQ(f->Height(), 140);
}

TEST_F(DropDownWindow, RefusalsVetoAndEvents)
{
    auto* d = Make();
    std::vector<String> log;
    d->OnBeforeDropDown = [&](TObject*) { log.push_back(L"before"); };
    d->OnDropDown = [&](TObject*, bool&) { log.push_back(L"drop"); };
    d->OnBeforeDropUp = [&](TObject*) { log.push_back(L"beforeup"); };
    d->OnDropUp = [&](TObject*, bool c) { log.push_back(c ? L"up-cancel" : L"up"); };
    ShowForm();
    d->SetReadOnly(true);
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
    d->SetReadOnly(false);
    d->SetEnabled(false);
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
    d->SetEnabled(true);
    EXPECT_TRUE(log.empty());

    d->OnDropDown = [&](TObject*, bool& accept) {
        log.push_back(L"drop");
        accept = false;
    };
    d->ShowDropDown();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(d->DropDownForm()->Visible());
    EXPECT_EQ(log, (std::vector<String>{L"before", L"drop"}));
    log.clear();
    d->OnDropDown = nullptr;
    d->ShowDropDown();
    EXPECT_TRUE(d->DroppedDown());
    d->HideDropDown(true);
    EXPECT_EQ(log, (std::vector<String>{L"before", L"beforeup", L"up-cancel"}));
}

TEST_F(DropDownWindow, TheClickThatClosedTheWindowDoesNotReopenItAcrossTheCountersWrap)
{
    auto* d = Make();
    ShowForm();
    Drv->SetTick(0xFFFFFF00u);
    Drv->Click(Arrow(d));
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    // A click on the arrow first deactivates the window, which closes it.
    Drv->Click(Arrow(d));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->DropDownForm()->DeActivateTime(), Drv->Tick());
    Drv->SetTick(Drv->Tick() + 0x150);  // wraps past 0
    Drv->Click(Arrow(d));
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
}

TEST_F(DropDownWindow, RightButtonAndAReleaseAnywhere)
{
    auto* d = Make();
    ShowForm();
    Drv->Click(Arrow(d), TMouseButton2::Right);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    // Pressed on the arrow, released far away: the arrow holds the capture.
    Drv->MouseDown(Arrow(d));
    Drv->MouseUp(At(Form, 400, 300));
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
}

TEST_F(DropDownWindow, ClickElsewhereRestoresOrKeepsByCancelOnDeActivate)
{
    auto* d = Make();
    d->SetText(L"first");
    ShowForm();
    d->ShowDropDown();
    d->SetEditText(L"typed");
    Drv->Click(At(Form, 400, 300));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), L"first");

    Drv->SetTick(Drv->Tick() + 1000);
    d->ShowDropDown();
    d->DropDownForm()->SetCancelOnDeActivate(false);
    d->SetEditText(L"typed");
    Drv->Click(At(Form, 400, 300));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), L"typed");
}

TEST_F(DropDownWindow, APopupOfTheHostedControlKeepsItOpenAndItOpensAgainAfterward)
{
    auto* d = Make();
    ShowForm();
    d->ShowDropDown();
    TDropDownForm* f = d->DropDownForm();
    // A pop-up owned by the drop-down window (a calendar, a list).
    auto* pop = new TForm(Application);
    pop->Init();
    pop->SetBorderStyle(bsNone);
    pop->SetPopupParent(f->Handle());
    pop->SetBounds(300, 300, 60, 60);
    pop->Show();
    Drv->Activate(pop->Handle());
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_TRUE(f->IsDeactivating());
    pop->Hide();
    Drv->Activate(f->Handle());
    Drv->Pump();
    EXPECT_FALSE(f->IsDeactivating());
    // Closed by Esc afterwards, it opens again.
    d->HideDropDown(true);
    Drv->SetTick(Drv->Tick() + 1000);
    d->ShowDropDown();
    EXPECT_TRUE(d->DroppedDown());
    d->HideDropDown(false);
    // Even when the deactivation was never answered by an activation.
    d->ShowDropDown();
    pop->Show();
    Drv->Activate(pop->Handle());
    Drv->Pump();
    ASSERT_TRUE(f->IsDeactivating());
    d->HideDropDown(false);
    EXPECT_FALSE(f->IsDeactivating());
    Drv->SetTick(Drv->Tick() + 1000);
    d->ShowDropDown();
    EXPECT_TRUE(d->DroppedDown());
}

TEST_F(DropDownWindow, FooterButtonsCloseByTheirModalResultBeforeTheirEvent)
{
    auto* d = Make();
    d->SetText(L"orig");
    auto* ok = d->DropDownFooter()->Buttons()->Add();
    ok->SetCaption(L"OK");
    ok->SetModalResult(mrOk);
    auto* cancel = d->DropDownFooter()->Buttons()->Add();
    cancel->SetCaption(L"Cancel");
    cancel->SetModalResult(mrCancel);
    auto* stay = d->DropDownFooter()->Buttons()->Add();
    stay->SetCaption(L"Help");
    stay->SetModalResult(mrHelp);
    std::vector<std::pair<int, bool>> clicks;
    d->OnDropDownFooterButtonClick = [&](TObject*, Integer i) { clicks.emplace_back(i, d->DroppedDown()); };
    ShowForm();
    d->ShowDropDown();
    TVodFooter* footer = d->DropDownForm()->Footer();
    ASSERT_EQ(footer->ButtonCount(), 3);
    auto click = [&](int i) {
        TVodButton* b = footer->ButtonAt(i);
        Drv->Click(b->ClientToScreen(TPoint{3, 3}));
        Drv->Pump();
    };
    click(2);
    EXPECT_TRUE(d->DroppedDown());
    d->SetEditText(L"changed");
    click(1);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), L"orig");
    Drv->SetTick(Drv->Tick() + 1000);
    d->ShowDropDown();
    d->SetEditText(L"kept");
    click(0);
    EXPECT_EQ(d->Text(), L"kept");
    EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{2, true}, {1, false}, {0, false}}));
}

TEST_F(DropDownWindow, KeysInTheHostedControlReachTheEdit)
{
    auto* d = Make();
    auto* list = new TEdit(d);
    list->SetBounds(0, 0, 150, 24);
    d->SetControl(list);
    d->SetText(L"start");
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(list->Focused());
    d->SetEditText(L"other");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), L"other");
    EXPECT_TRUE(d->Focused());
}

TEST_F(DropDownWindow, TheListOfAHostedComboBoxDoesNotCloseIt)
{
    auto* d = Make();
    auto* panel = new TPanel(d);
    panel->SetBounds(0, 0, 160, 60);
    auto* combo = new TComboBox(d);
    combo->SetParent(panel);
    combo->SetBounds(4, 4, 150, 24);
    combo->Items()->Add(L"one");
    combo->Items()->Add(L"two");
    d->SetControl(panel);
    d->SetFocusControl(combo);
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    combo->SetFocus();
    combo->SetDroppedDown(true);
    Drv->Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(d->DroppedDown());
    // A click on the list's second item picks it; the drop-down stays open.
    combo->SetDroppedDown(false);
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
}
