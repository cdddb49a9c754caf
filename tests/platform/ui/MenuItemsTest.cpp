// The class library's menus: items and their handles, popup menus shown by
// right click, owner drawing through the popup list, shortcuts.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

void Key(Word vk)
{
    WmKeyInput(vk, true);
    WmKeyInput(vk, false);
}

class TPlainForm : public TForm {
public:
    explicit TPlainForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }
};

class TBoxControl : public TCustomControl {
public:
    TBoxControl(TComponent* owner, TWinControl* parent, TRect r) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBoundsRect(r);
        SetTabStop(true);
    }
};

class TMark : public TGraphicControl {
public:
    TMark(TComponent* owner, TWinControl* parent, TRect r) : TGraphicControl(owner)
    {
        SetParent(parent);
        SetBoundsRect(r);
    }
};

class MenuItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TPlainForm(Application);
        Form->Init();
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    TMenuItem* NewItem(TMenuItem* parent, const String& caption, std::vector<String>* log = nullptr)
    {
        auto* it = new TMenuItem(Form);
        it->SetCaption(caption);
        if (log) it->OnClick = [log, caption](TObject*) { log->push_back(caption); };
        parent->Add(it);
        return it;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TPlainForm* Form = nullptr;
};

}  // namespace

TEST(ShortCutText, KeysAndModifiers)
{
    struct Case {
        TShortCut Value;
        const wchar_t* Text;
    } cases[] = {
        {TShortCut('O' | scCtrl), L"Ctrl+O"},
        {TShortCut(Word(VK_DELETE) | scShift), L"Shift+Del"},
        {TShortCut(Word(VK_F4) | scAlt), L"Alt+F4"},
        {TShortCut(Word(VK_NEXT) | scCtrl | scShift), L"Shift+Ctrl+PgDn"},
        {TShortCut(VK_F12), L"F12"},
        {TShortCut(Word(VK_RETURN) | scAlt | scCtrl | scShift), L"Shift+Ctrl+Alt+Enter"},
        {TShortCut(VK_NUMPAD7), L"Num 7"},
        {TShortCut(Word(VK_OEM_PLUS) | scCtrl), L"Ctrl+="},
        {TShortCut('5'), L"5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.Text));
        EXPECT_EQ(ShortCutToText(c.Value), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Value);
    }
    EXPECT_EQ(TextToShortCut(L"ctrl+shift+o"), TShortCut('O' | scCtrl | scShift)) << "any case, any order";
    for (const wchar_t* bad : {L"", L"Ctrl+", L"Hyper+X", L"Ctrl+Nothing"}) EXPECT_EQ(TextToShortCut(bad), 0) << UTF8Encode(bad);
    EXPECT_EQ(ShortCutToText(0), L"");
    EXPECT_EQ(ShortCut('S', TShiftState{ssCtrl, ssAlt}), TShortCut('S' | scCtrl | scAlt));
}

TEST_F(MenuItemsTest, ItemTreeAndHandleFollowTheItems)
{
    auto* pm = new TPopupMenu(Form);
    TMenuItem* open = NewItem(pm->Items(), L"&Open");
    TMenuItem* line = NewItem(pm->Items(), L"-");
    TMenuItem* recent = NewItem(pm->Items(), L"&Recent");
    TMenuItem* a = NewItem(recent, L"a.mp4");
    NewItem(recent, L"b.mp4");
    TMenuItem* hidden = NewItem(pm->Items(), L"Hidden");
    hidden->SetVisible(false);
    open->SetShortCut(TShortCut('O' | scCtrl));
    open->SetDefault(true);

    EXPECT_TRUE(line->IsLine());
    EXPECT_EQ(recent->MenuIndex(), 2);
    EXPECT_EQ(a->Parent(), recent);
    EXPECT_EQ(a->GetParentMenu(), pm);
    EXPECT_EQ(open->GetParentComponent(), pm);
    EXPECT_EQ(a->GetParentComponent(), recent);
    EXPECT_EQ(pm->Items()->Find(L"recent"), recent) << "accelerators and case do not count";
    EXPECT_EQ(pm->FindItem(a->Command(), fkCommand), a);
    EXPECT_NE(open->Command(), a->Command());
    EXPECT_THROW(recent->Add(open), EMenuError) << "an item has one parent";
    EXPECT_THROW(a->Add(recent), EMenuError) << "an item cannot hold its parent";

    HMENU h = pm->Handle();
    ASSERT_EQ(GetMenuItemCount(h), 3) << "hidden items are left out";
    EXPECT_EQ(GetMenuString(h, 0, MF_BYPOSITION), L"&Open\tCtrl+O");
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & MF_DEFAULT, UINT(MF_DEFAULT));
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetSubMenu(h, 2), recent->Handle());
    EXPECT_EQ(GetMenuItemCount(recent->Handle()), 2);

    a->SetMenuIndex(1);
    EXPECT_EQ(recent->IndexOf(a), 1);
    recent->Delete(0);  // frees b.mp4
    EXPECT_EQ(recent->Count(), 1);
    open->SetEnabled(false);
    HMENU h2 = pm->Handle();
    EXPECT_EQ(GetMenuState(h2, open->Command(), MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuItemCount(recent->Handle()), 1);
    recent->Clear();
    EXPECT_EQ(recent->Count(), 0);
    delete pm;  // the form still owns the items it made: no double free
}

TEST_F(MenuItemsTest, RadioItemsOfAGroupUncheckEachOther)
{
    auto* pm = new TPopupMenu(Form);
    struct Def {
        const wchar_t* Caption;
        Byte Group;
        bool Radio;
    } defs[] = {{L"a", 1, true}, {L"b", 1, true}, {L"c", 2, true}, {L"d", 1, false}};
    std::vector<TMenuItem*> items;
    for (const auto& d : defs) {
        TMenuItem* it = NewItem(pm->Items(), d.Caption);
        it->SetGroupIndex(d.Group);
        it->SetRadioItem(d.Radio);
        it->SetChecked(true);
        items.push_back(it);
    }
    // Checking b unchecked a; c is of another group; d is not a radio item.
    EXPECT_EQ(std::vector<bool>({items[0]->Checked(), items[1]->Checked(), items[2]->Checked(), items[3]->Checked()}),
              std::vector<bool>({false, true, true, true}));
    items[0]->SetChecked(true);
    EXPECT_FALSE(items[1]->Checked());
    EXPECT_TRUE(items[3]->Checked());
    // AutoCheck: a click toggles a plain item, checks a radio item.
    items[3]->SetAutoCheck(true);
    items[3]->Click();
    EXPECT_FALSE(items[3]->Checked());
    items[1]->SetAutoCheck(true);
    items[1]->Click();
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_FALSE(items[0]->Checked());
    HMENU h = pm->Handle();
    EXPECT_EQ(GetMenuState(h, items[1]->Command(), MF_BYCOMMAND) & (MF_CHECKED | MFT_RADIOCHECK),
              UINT(MF_CHECKED | MFT_RADIOCHECK));
}

TEST_F(MenuItemsTest, PopupRunsTheChosenItemsClick)
{
    std::vector<String> log;
    auto* pm = new TPopupMenu(Form);
    NewItem(pm->Items(), L"&First", &log);
    TMenuItem* sub = NewItem(pm->Items(), L"&More", &log);
    NewItem(sub, L"&Deep", &log);
    int popups = 0;
    pm->OnPopup = [&](TObject*) {
        ++popups;
        Key('M');
        Key('D');
    };
    pm->Popup(200, 200);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(pm->PopupPoint(), (TPoint{200, 200}));
    EXPECT_EQ(log, std::vector<String>({L"&More"})) << "the submenu's item hears it open";
    Drv->Pump();
    EXPECT_EQ(log, std::vector<String>({L"&More", L"&Deep"}));
}

TEST_F(MenuItemsTest, RightClickShowsTheControlsPopupMenu)
{
    auto* box = new TBoxControl(Form, Form, Rect(10, 10, 110, 60));
    auto* mark = new TMark(Form, Form, Rect(200, 10, 240, 40));
    auto* boxMenu = new TPopupMenu(Form);
    auto* markMenu = new TPopupMenu(Form);
    std::vector<String> log;
    NewItem(boxMenu->Items(), L"Box", &log);
    NewItem(markMenu->Items(), L"Mark", &log);
    box->SetPopupMenu(boxMenu);
    mark->SetPopupMenu(markMenu);
    for (TPopupMenu* pm : {boxMenu, markMenu})
        pm->OnPopup = [&](TObject*) {
            Key(VK_DOWN);
            Key(VK_RETURN);
        };

    Drv->Click(box->ClientToScreen({20, 20}), TMouseButton2::Right);
    EXPECT_EQ(boxMenu->PopupComponent(), box);
    EXPECT_EQ(boxMenu->PopupPoint(), box->ClientToScreen({20, 20}));
    Drv->Click(mark->ClientToScreen({5, 5}), TMouseButton2::Right);
    EXPECT_EQ(markMenu->PopupComponent(), mark) << "a graphic control's menu is found by the point";
    EXPECT_EQ(log, std::vector<String>({L"Box", L"Mark"}));

    // No menu of its own: nothing; AutoPopup off: nothing either.
    box->SetPopupMenu(nullptr);
    markMenu->SetAutoPopup(false);
    Drv->Click(box->ClientToScreen({20, 20}), TMouseButton2::Right);
    Drv->Click(mark->ClientToScreen({5, 5}), TMouseButton2::Right);
    EXPECT_EQ(log.size(), 2u);
    // A menu freed before the control is forgotten.
    box->SetPopupMenu(boxMenu);
    delete boxMenu;
    EXPECT_EQ(box->PopupMenu(), nullptr);
}

TEST_F(MenuItemsTest, ShortcutsRunThroughTheFormsKeyPath)
{
    auto* box = new TBoxControl(Form, Form, Rect(10, 10, 110, 60));
    box->SetFocus();
    auto* pm = new TPopupMenu(Form);
    auto* mm = new TMainMenu(Form);
    std::vector<String> log;
    TMenuItem* save = NewItem(pm->Items(), L"Save", &log);
    save->SetShortCut(TShortCut('S' | scCtrl));
    TMenuItem* file = NewItem(mm->Items(), L"&File", &log);
    TMenuItem* quit = NewItem(file, L"Quit", &log);
    quit->SetShortCut(TShortCut('Q' | scCtrl));
    TMenuItem* off = NewItem(file, L"Off", &log);
    off->SetShortCut(TShortCut(VK_F5));
    off->SetEnabled(false);
    std::vector<Word> keysSeen;
    box->OnKeyDown = [&](TObject*, Word& k, TShiftState) { keysSeen.push_back(k); };

    Drv->PressKey('S', {VK_CONTROL});
    EXPECT_TRUE(log.empty()) << "the popup menu is not the focused control's";
    box->SetPopupMenu(pm);
    Drv->PressKey('S', {VK_CONTROL});
    Drv->PressKey('Q', {VK_CONTROL});
    Drv->PressKey(VK_F5);
    EXPECT_EQ(log, std::vector<String>({L"Save", L"Quit"}));
    EXPECT_EQ(std::count(keysSeen.begin(), keysSeen.end(), Word('Q')), 0) << "a shortcut's key is eaten";
    EXPECT_EQ(std::count(keysSeen.begin(), keysSeen.end(), Word(VK_F5)), 1) << "a disabled item's is not";
}

TEST_F(MenuItemsTest, OwnerDrawGoesThroughThePopupList)
{
    auto* pm = new TPopupMenu(Form);
    pm->SetOwnerDraw(true);
    TMenuItem* a = NewItem(pm->Items(), L"&Alpha");
    TMenuItem* b = NewItem(pm->Items(), L"Beta");
    TMenuItem* c = NewItem(pm->Items(), L"-");
    b->SetEnabled(false);
    a->OnMeasureItem = [](TObject*, TCanvas* canvas, Integer& w, Integer& h) {
        EXPECT_NE(canvas, nullptr);
        w = 150;
        h = 40;
    };
    std::vector<std::pair<TMenuItem*, TOwnerDrawState>> drawn;
    TRect aRect;
    auto record = [&](TObject* s, TCanvas*, TRect r, TOwnerDrawState st) {
        drawn.push_back({static_cast<TMenuItem*>(s), st});
        if (s == a) aRect = r;
    };
    a->OnAdvancedDrawItem = record;
    b->OnAdvancedDrawItem = record;
    bool plainDraw = false;
    c->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { plainDraw = true; };
    pm->OnPopup = [&](TObject*) {
        Key(VK_DOWN);
        Key(VK_ESCAPE);
    };
    pm->Popup(300, 300);
    EXPECT_TRUE(plainDraw) << "OnDrawItem serves when there is no advanced handler";
    EXPECT_EQ(aRect.Height(), 40);
    EXPECT_GE(aRect.Width(), 150);
    bool sawSelectedA = false, sawDisabledB = false;
    for (auto& [item, st] : drawn) {
        sawSelectedA |= item == a && st.Contains(odSelected);
        sawDisabledB |= item == b && st.Contains(odDisabled) && st.Contains(odGrayed);
    }
    EXPECT_TRUE(sawSelectedA);
    EXPECT_TRUE(sawDisabledB);

    // The popup list answers a measure request for any of its menus' items.
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_MENU;
    mis.itemID = a->Command();
    mis.itemWidth = 10;
    mis.itemHeight = 10;
    EXPECT_TRUE(SendMessage(PopupList()->Window(), WM_MEASUREITEM, 0, LPARAM(&mis)));
    EXPECT_EQ(mis.itemWidth, 150u);
    // Default measuring and drawing for items without handlers.
    a->OnMeasureItem = nullptr;
    a->OnAdvancedDrawItem = nullptr;
    mis.itemID = a->Command();
    mis.itemWidth = 0;
    SendMessage(PopupList()->Window(), WM_MEASUREITEM, 0, LPARAM(&mis));
    EXPECT_GT(mis.itemWidth, 40u);
    pm->OnPopup = [&](TObject*) { Key(VK_ESCAPE); };
    pm->Popup(300, 300);
}
