// Actions and the links that keep controls and menu items in step.
#include <gtest/gtest.h>

#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TClickable : public TCustomControl {
public:
    explicit TClickable(TComponent* owner) : TCustomControl(owner) {}
    using TControl::Click;
};

class ActnListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Owner = new TComponent(nullptr);
        List = new TActionList(Owner);
    }
    void TearDown() override
    {
        delete Owner;
        DoneForms();
        Drv.reset();
    }
    TAction* NewAction(const String& caption)
    {
        auto* a = new TAction(Owner);
        a->SetCaption(caption);
        a->SetActionList(List);
        return a;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TComponent* Owner = nullptr;
    TActionList* List = nullptr;
};

}  // namespace

TEST_F(ActnListTest, ControlFollowsItsAction)
{
    TAction* a = NewAction(L"&Download");
    a->SetHint(L"Fetch it");
    auto* c = new TClickable(Owner);
    int runs = 0;
    a->OnExecute = [&](TObject*) { ++runs; };
    c->SetAction(a);
    EXPECT_TRUE(c->ControlStyle().Contains(csActionClient));
    EXPECT_EQ(c->Caption(), L"&Download");
    EXPECT_EQ(c->Hint(), L"Fetch it");

    a->SetCaption(L"&Stop");
    a->SetEnabled(false);
    a->SetVisible(false);
    EXPECT_EQ(c->Caption(), L"&Stop");
    EXPECT_FALSE(c->Enabled());
    EXPECT_FALSE(c->Visible());
    a->SetEnabled(true);

    // A caption the control changed itself no longer follows the action.
    c->SetCaption(L"Mine");
    a->SetCaption(L"Other");
    EXPECT_EQ(c->Caption(), L"Mine");

    c->Click();
    EXPECT_EQ(runs, 1) << "no OnClick of its own: the action runs";
    EXPECT_EQ(a->ActionComponent(), nullptr) << "set only while it runs";
    int own = 0;
    c->OnClick = [&](TObject*) { ++own; };
    c->Click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(own, 1);

    delete a;
    EXPECT_EQ(c->Action(), nullptr) << "a freed action leaves no dangling link";
    EXPECT_EQ(List->ActionCount(), 0);
}

TEST_F(ActnListTest, ExecuteGoesThroughTheListAndChecksGroups)
{
    TAction* a = NewAction(L"A");
    TAction* b = NewAction(L"B");
    TAction* solo = NewAction(L"Solo");
    for (TAction* x : {a, b}) {
        x->SetGroupIndex(3);
        x->SetAutoCheck(true);
    }
    solo->SetAutoCheck(true);
    std::vector<String> ran;
    for (TAction* x : {a, b, solo}) x->OnExecute = [&ran](TObject* s) { ran.push_back(static_cast<TAction*>(s)->Caption()); };
    int updates = 0;
    b->OnUpdate = [&](TObject*) { ++updates; };

    EXPECT_TRUE(a->Execute());
    EXPECT_TRUE(b->Execute());
    EXPECT_TRUE(b->Execute());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked()) << "a checked radio action stays checked";
    EXPECT_EQ(updates, 2) << "an action updates before it runs";
    solo->Execute();
    solo->Execute();
    EXPECT_FALSE(solo->Checked());

    // The list may take over; a disabled action does not run.
    List->OnExecute = [](TBasicAction* act, bool& handled) { handled = static_cast<TAction*>(act)->Caption() == L"A"; };
    ran.clear();
    a->Execute();
    b->SetEnabled(false);
    EXPECT_FALSE(b->Execute());
    solo->Execute();
    EXPECT_EQ(ran, std::vector<String>({L"Solo"}));
}

TEST_F(ActnListTest, MenuItemFollowsItsAction)
{
    // A shown form takes the keys the menu loop reads.
    TCustomForm* form = TCustomForm::CreateNew(Owner);
    form->SetBounds(0, 0, 200, 100);
    form->Show();
    auto* pm = new TPopupMenu(Owner);
    auto* item = new TMenuItem(Owner);
    pm->Items()->Add(item);
    TAction* a = NewAction(L"&Pause");
    a->SetShortCut(TShortCut('P' | scCtrl));
    a->SetChecked(true);
    a->SetImageIndex(4);
    int runs = 0;
    a->OnExecute = [&](TObject*) { ++runs; };
    item->SetAction(a);
    EXPECT_EQ(item->Caption(), L"&Pause");
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(item->ImageIndex(), 4);
    EXPECT_EQ(item->ShortCut(), TShortCut('P' | scCtrl));

    a->SetChecked(false);
    a->SetEnabled(false);
    EXPECT_FALSE(item->Checked());
    EXPECT_EQ(GetMenuState(pm->Handle(), item->Command(), MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    item->Click();
    EXPECT_EQ(runs, 0) << "a disabled item does nothing";
    a->SetEnabled(true);
    item->Click();
    EXPECT_EQ(runs, 1);

    // An update handler that changes the action is heard when the menu pops up.
    a->OnUpdate = [](TObject* s) { static_cast<TAction*>(s)->SetCaption(L"Resume"); };
    pm->OnPopup = [](TObject*) {
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
    };
    pm->Popup(10, 10);
    EXPECT_EQ(item->Caption(), L"Resume");
}

TEST_F(ActnListTest, ActionManagerOffersFourImageListsAndForgetsFreedOnes)
{
    auto* manager = new TActionManager(Owner);
    auto* normal = new TImageList(Owner);
    auto* disabled = new TImageList(Owner);
    auto* large = new TImageList(Owner);
    manager->SetImages(normal);
    manager->SetDisabledImages(disabled);
    manager->SetLargeImages(large);
    manager->SetLargeDisabledImages(disabled);
    int changes = 0;
    manager->OnChange = [&](TObject*) { ++changes; };
    manager->SetLargeImages(large);
    EXPECT_EQ(changes, 0) << "the same list again changes nothing";
    auto* a = new TAction(Owner);
    a->SetActionList(manager);
    EXPECT_EQ(a->Images(), normal);
    EXPECT_EQ(manager->DisabledImages(), disabled);
    EXPECT_EQ(manager->LargeImages(), large);
    delete disabled;
    EXPECT_EQ(manager->DisabledImages(), nullptr);
    EXPECT_EQ(manager->LargeDisabledImages(), nullptr);
    EXPECT_EQ(manager->LargeImages(), large);
    delete large;
    EXPECT_EQ(manager->LargeImages(), nullptr);
}

TEST_F(ActnListTest, ScreenMenuFontIsBuiltFromTheMenuFontInfo)
{
    ASSERT_TRUE(Screen);
    TFont* f = Screen->MenuFont();
    ASSERT_TRUE(f);
    EXPECT_EQ(f, Screen->MenuFont()) << "one font object";
    const LOGFONTW lf = Screen->MenuFontInfo();
    EXPECT_EQ(f->Name(), String(lf.lfFaceName));
    EXPECT_EQ(f->Height(), Integer(lf.lfHeight));
}
