// A window's menu bar: layout in the frame, hot-tracking, the menu loop of
// the bar driven by queued keys and clicks, WM_MENUCHAR, and the class
// library's main menu on a form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "WmTestSupport.h"

namespace {

enum : UINT { kNew = 10, kOpen = 11, kUndo = 20, kCut = 21, kAbout = 30, kRun = 40 };

// &File (&New, &Open) | &Edit (&Undo, Cu&t) | &Help (&About) | &Run (a command)
struct TTestBar {
    HMENU Bar = CreateMenu();
    HMENU File = CreatePopupMenu();
    HMENU Edit = CreatePopupMenu();
    HMENU Help = CreatePopupMenu();
    TTestBar()
    {
        AppendMenu(File, MF_STRING, kNew, L"&New");
        AppendMenu(File, MF_STRING, kOpen, L"&Open");
        AppendMenu(Edit, MF_STRING, kUndo, L"&Undo");
        AppendMenu(Edit, MF_STRING, kCut, L"Cu&t");
        AppendMenu(Help, MF_STRING, kAbout, L"&About");
        AppendMenu(Bar, MF_POPUP, UINT_PTR(File), L"&File");
        AppendMenu(Bar, MF_POPUP, UINT_PTR(Edit), L"&Edit");
        AppendMenu(Bar, MF_POPUP, UINT_PTR(Help), L"&Help");
        AppendMenu(Bar, MF_STRING, kRun, L"&Run");
    }
};

void Key(Word vk)
{
    WmKeyInput(vk, true);
    WmKeyInput(vk, false);
}

void AltKey(Word vk)
{
    WmKeyInput(VK_MENU, true);
    Key(vk);
    WmKeyInput(VK_MENU, false);
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

void ClickAt(TPoint p)
{
    WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(WM_LBUTTONDOWN, p);
    WmMouseInput(WM_LBUTTONUP, p);
}

class MenuBarTest : public WmTest {
protected:
    void SetUp() override
    {
        WmTest::SetUp();
        Wnd = Top(100, 100, 400, 300);
        SetActiveWindow(Wnd);
        SetFocus(Wnd);
    }
    // Runs steps[i] at the i-th idle moment of the menu loop (Esc after).
    void OnIdle(std::vector<std::function<void()>> steps)
    {
        Steps = std::move(steps);
        Step = 0;
        Log().Handlers[{Wnd, WM_ENTERIDLE}] = [this](WPARAM, LPARAM) -> LRESULT {
            if (Step < Steps.size()) Steps[Step++]();
            else Key(VK_ESCAPE);
            return 0;
        };
    }
    TRect BarItem(HMENU bar, UINT i)
    {
        TRect r;
        EXPECT_TRUE(GetMenuItemRect(Wnd, bar, i, &r));
        return r;
    }
    // The commands the window got, and the drop-downs it was told of.
    std::vector<UINT> Commands()
    {
        std::vector<UINT> r;
        for (auto& e : Log().Of(WM_COMMAND)) r.push_back(LOWORD(e.wParam));
        return r;
    }
    std::vector<HMENU> Opened()
    {
        std::vector<HMENU> r;
        for (auto& e : Log().Of(WM_INITMENUPOPUP)) r.push_back(HMENU(e.wParam));
        return r;
    }
    int ClientHeight()
    {
        TRect c;
        GetClientRect(Wnd, &c);
        return c.Height();
    }
    HWND Wnd = nullptr;
    std::vector<std::function<void()>> Steps;
    size_t Step = 0;
};

}  // namespace

TEST_F(MenuBarTest, BarTakesRoomInTheFrameAndLaysItemsOutInRows)
{
    int plain = ClientHeight();
    TTestBar m;
    ASSERT_TRUE(SetMenu(Wnd, m.Bar));
    EXPECT_EQ(GetMenu(Wnd), m.Bar);
    EXPECT_EQ(ClientHeight(), plain - GetSystemMetrics(SM_CYMENU));

    TRect win, client;
    GetWindowRect(Wnd, &win);
    GetClientRect(Wnd, &client);
    TPoint clientTop{0, 0};
    ClientToScreen(Wnd, &clientTop);
    TRect file = BarItem(m.Bar, 0), edit = BarItem(m.Bar, 1), run = BarItem(m.Bar, 3);
    EXPECT_EQ(file.Bottom, clientTop.Y) << "the bar sits right above the client area";
    EXPECT_EQ(file.Height(), GetSystemMetrics(SM_CYMENU));
    EXPECT_GT(file.Top, win.Top + GetSystemMetrics(SM_CYCAPTION) - 1) << "below the caption";
    EXPECT_EQ(edit.Left, file.Right) << "left to right";
    EXPECT_EQ(edit.Top, file.Top);
    EXPECT_GT(file.Width(), 20);
    EXPECT_EQ(SendMessage(Wnd, WM_NCHITTEST, 0, PointToLParam(Centre(edit))), LRESULT(HTMENU));
    EXPECT_EQ(MenuItemFromPoint(Wnd, m.Bar, Centre(run)), 3);
    TRect none;
    EXPECT_FALSE(GetMenuItemRect(Wnd, m.Bar, 4, &none));

    // Too narrow for one row: the items wrap and the client area gives way.
    SetWindowPos(Wnd, nullptr, 0, 0, 110, 300, SWP_NOMOVE | SWP_NOZORDER);
    int rows = (BarItem(m.Bar, 3).Bottom - BarItem(m.Bar, 0).Top) / GetSystemMetrics(SM_CYMENU);
    EXPECT_GE(rows, 2);
    EXPECT_EQ(ClientHeight(), plain - rows * GetSystemMetrics(SM_CYMENU));
    int rowStarts = 0;
    for (UINT i = 1; i < 4; ++i) rowStarts += BarItem(m.Bar, i).Left == BarItem(m.Bar, 0).Left;
    EXPECT_EQ(rowStarts, rows - 1) << "each row starts at the left";
    SetWindowPos(Wnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);

    // A changed menu shows after DrawMenuBar; a bar taken away gives the
    // room back and leaves the menu alive.
    AppendMenu(m.Bar, MF_STRING, 50, L"&Window");
    EXPECT_TRUE(DrawMenuBar(Wnd));
    TRect added = BarItem(m.Bar, 4);
    EXPECT_EQ(added.Left, BarItem(m.Bar, 3).Right);
    ASSERT_TRUE(SetMenu(Wnd, nullptr));
    EXPECT_EQ(GetMenu(Wnd), nullptr);
    EXPECT_EQ(ClientHeight(), plain);
    EXPECT_TRUE(IsMenu(m.Bar));
    EXPECT_FALSE(DrawMenuBar(Wnd));

    // A child window has no bar; the window takes its bar along when it goes.
    HWND child = Child(Wnd, 0, 0, 50, 50);
    EXPECT_FALSE(SetMenu(child, m.Bar));
    SetMenu(Wnd, m.Bar);
    DestroyWindow(Wnd);
    EXPECT_FALSE(IsMenu(m.Bar));
    EXPECT_FALSE(IsMenu(m.File));
}

TEST_F(MenuBarTest, MouseOpensDropDownsAndMovesAcrossTheBar)
{
    TTestBar m;
    SetMenu(Wnd, m.Bar);
    TRect file = BarItem(m.Bar, 0), edit = BarItem(m.Bar, 1);
    OnIdle({[&] {
                TRect first;
                ASSERT_TRUE(GetMenuItemRect(nullptr, m.File, 0, &first)) << "File's drop-down is open";
                EXPECT_GE(first.Top, file.Bottom);
                EXPECT_LE(first.Top, file.Bottom + 8) << "right below its bar item";
                EXPECT_LE(std::abs(first.Left - file.Left), 8);
                WmMouseInput(WM_MOUSEMOVE, Centre(edit));
            },
            [&] {
                TRect cut;
                EXPECT_FALSE(GetMenuItemRect(nullptr, m.File, 0, &cut)) << "File's drop-down closed";
                ASSERT_TRUE(GetMenuItemRect(nullptr, m.Edit, 1, &cut)) << "Edit's opened";
                ClickAt(Centre(cut));
            }});
    ClickAt(Centre(file));
    Drv->Pump();
    EXPECT_EQ(Step, 2u);
    EXPECT_EQ(Opened(), (std::vector<HMENU>{m.File, m.Edit}));
    auto init = Log().Of(WM_INITMENUPOPUP);
    EXPECT_EQ(LOWORD(init[1].lParam), 1) << "the bar item's position";
    EXPECT_EQ(Commands(), std::vector<UINT>{kCut});
    EXPECT_FALSE(FindWindow(L"#32768", nullptr));
    EXPECT_FALSE(GetCapture());
    EXPECT_EQ(Log().Of(WM_ENTERMENULOOP).size(), 1u);
    EXPECT_EQ(Log().Of(WM_EXITMENULOOP).size(), 1u);

    // A click on the open item's bar entry closes it; a command item on the
    // bar runs when the button comes up over it.
    Log().Clear();
    OnIdle({[&] { ClickAt(Centre(file)); }});
    ClickAt(Centre(file));
    Drv->Pump();
    EXPECT_EQ(Step, 1u);
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(FindWindow(L"#32768", nullptr));
    ClickAt(Centre(BarItem(m.Bar, 3)));
    Drv->Pump();
    EXPECT_EQ(Commands(), std::vector<UINT>{kRun});
}

TEST_F(MenuBarTest, KeyboardEntersAndWalksTheBar)
{
    struct Case {
        const char* Name;
        std::function<void()> Keys;
        std::vector<UINT> Commands;
        std::vector<int> Opened;  // 0 File, 1 Edit, 2 Help
    } cases[] = {
        {"Alt alone, then Down and Enter", [] { Key(VK_MENU); Key(VK_DOWN); Key(VK_RETURN); }, {kNew}, {0}},
        {"F10, Right, Down, Down, Enter", [] { Key(VK_F10); Key(VK_RIGHT); Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); },
         {kCut}, {1}},
        {"Alt+letter opens that item", [] { AltKey('H'); Key(VK_RETURN); }, {kAbout}, {2}},
        {"Right in a drop-down moves to the next", [] { AltKey('F'); Key(VK_RIGHT); Key('T'); }, {kCut}, {0, 1}},
        {"Left from the first wraps to the last, a command item is only selected",
         [] { AltKey('F'); Key(VK_LEFT); Key(VK_LEFT); Key(VK_RETURN); }, {kAbout}, {0, 2}},
        {"Esc closes the drop-down, the bar stays", [] { AltKey('E'); Key(VK_ESCAPE); Key(VK_LEFT); Key(VK_RETURN); Key(VK_RETURN); },
         {kNew}, {1, 0}},
        {"a letter on the bar opens its item", [] { Key(VK_MENU); Key('E'); Key('U'); }, {kUndo}, {1}},
        {"Enter on a command item of the bar runs it", [] { Key(VK_MENU); Key('R'); }, {kRun}, {}},
        {"Esc twice leaves", [] { AltKey('F'); Key(VK_ESCAPE); Key(VK_ESCAPE); }, {}, {0}},
        {"Alt leaves, its release does not come back", [] { AltKey('F'); Key(VK_MENU); }, {}, {0}},
        {"Alt with another key is no tap", [] { WmKeyInput(VK_MENU, true); Key(VK_SHIFT); WmKeyInput(VK_MENU, false); }, {}, {}},
    };
    TTestBar m;
    SetMenu(Wnd, m.Bar);
    OnIdle({});  // a case that leaves a menu open fails instead of hanging
    HMENU subs[] = {m.File, m.Edit, m.Help};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Log().Clear();
        c.Keys();
        Drv->Pump();
        EXPECT_EQ(Commands(), c.Commands);
        std::vector<HMENU> want;
        for (int i : c.Opened) want.push_back(subs[i]);
        EXPECT_EQ(Opened(), want);
        EXPECT_FALSE(InMenuLoop());
        EXPECT_FALSE(FindWindow(L"#32768", nullptr));
        EXPECT_FALSE(GetCapture());
    }
}

TEST_F(MenuBarTest, LosingTheCaptureOrTheActivationEndsTheBar)
{
    TTestBar m;
    SetMenu(Wnd, m.Bar);
    HWND other = Top(600, 100, 200, 200);
    SetActiveWindow(Wnd);
    struct Case {
        const char* Name;
        std::function<void()> Act;
    } cases[] = {
        {"WM_CANCELMODE", [&] { SendMessage(Wnd, WM_CANCELMODE, 0, 0); }},
        {"another window takes the capture", [&] { SetCapture(other); }},
        {"another window is activated", [&] { SetActiveWindow(other); }},
        {"EndMenu", [&] { EndMenu(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SetActiveWindow(Wnd);
        ReleaseCapture();
        Log().Clear();
        bool entered = false;
        OnIdle({[&] {
            entered = InMenuLoop();
            c.Act();
        }});
        Key(VK_F10);
        Drv->Pump();
        EXPECT_TRUE(entered);
        EXPECT_EQ(Step, 1u) << "no second idle moment: the bar let go";
        EXPECT_FALSE(InMenuLoop());
        EXPECT_EQ(Log().Of(WM_EXITMENULOOP).size(), 1u);
    }
}

TEST_F(MenuBarTest, UnknownLettersAreOfferedToTheOwner)
{
    TTestBar m;
    OnIdle({});
    // In a popup: the owner's answer to WM_MENUCHAR decides.
    struct Case {
        const char* Name;
        LRESULT Answer;
        UINT Chosen;
        int Beeps;
    } cases[] = {
        {"execute", MAKELRESULT(1, MNC_EXECUTE), kCut, 0},
        {"select, then Enter", MAKELRESULT(1, MNC_SELECT), kCut, 0},
        {"close", MAKELRESULT(0, MNC_CLOSE), 0, 0},
        {"ignore beeps and stays open", MAKELRESULT(0, MNC_IGNORE), 0, 1},
        {"an item out of range beeps", MAKELRESULT(7, MNC_EXECUTE), 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Log().Clear();
        Log().Handlers[{Wnd, WM_MENUCHAR}] = [&](WPARAM, LPARAM) { return c.Answer; };
        int beeps = MessageBeepCount();
        Key('Z');
        Key(VK_RETURN);  // after "select"; otherwise chooses the hot item if any
        Key(VK_ESCAPE);
        UINT got = UINT(TrackPopupMenu(m.Edit, TPM_RETURNCMD, 150, 150, 0, Wnd, nullptr));
        Drv->Pump();  // what the menu left in the queue
        auto asked = Log().Of(WM_MENUCHAR);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(LOWORD(asked[0].wParam), L'z');
        EXPECT_EQ(HIWORD(asked[0].wParam), UINT(MF_POPUP));
        EXPECT_EQ(HMENU(asked[0].lParam), m.Edit);
        EXPECT_EQ(got, c.Chosen);
        EXPECT_EQ(MessageBeepCount() - beeps, c.Beeps);
    }

    // On the bar: Alt+Z is offered too, with the bar's handle.
    SetMenu(Wnd, m.Bar);
    Log().Clear();
    Log().Handlers[{Wnd, WM_MENUCHAR}] = [](WPARAM, LPARAM) { return MAKELRESULT(2, MNC_EXECUTE); };
    AltKey('Z');
    Key(VK_RETURN);
    Drv->Pump();
    auto asked = Log().Of(WM_MENUCHAR);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(HIWORD(asked[0].wParam), 0u);
    EXPECT_EQ(HMENU(asked[0].lParam), m.Bar);
    EXPECT_EQ(Commands(), std::vector<UINT>{kAbout});
}

TEST_F(MenuBarTest, BarIsDrawnBelowTheCaptionAndHotTracks)
{
    TTestBar m;
    // The caption looks the same with a bar below it.
    auto captionRows = [&] {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(Drv->CaptureWindow(Wnd, px, w, h));
        int rows = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
        return std::vector<uint32_t>(px.begin(), px.begin() + rows * w);
    };
    auto before = captionRows();
    SetMenu(Wnd, m.Bar);
    EXPECT_EQ(captionRows(), before);
    TRect win;
    GetWindowRect(Wnd, &win);
    TRect edit = BarItem(m.Bar, 1);
    // A point of the item's padding, window coordinates.
    TPoint probe{edit.Left + 2 - win.Left, (edit.Top + edit.Bottom) / 2 - win.Top};
    auto pixel = [&] {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(Drv->CaptureWindow(Wnd, px, w, h));
        return px[size_t(probe.Y) * size_t(w) + size_t(probe.X)];
    };
    uint32_t plain = pixel();
    WmMouseInput(WM_MOUSEMOVE, Centre(edit));
    Drv->Pump();
    uint32_t hot = pixel();
    EXPECT_NE(hot, plain) << "the item under the mouse is drawn hot";
    TPoint inside{0, 0};
    ClientToScreen(Wnd, &inside);
    WmMouseInput(WM_MOUSEMOVE, {inside.X + 50, inside.Y + 50});
    Drv->Pump();
    EXPECT_EQ(pixel(), plain) << "and plain again when the mouse leaves the bar";
}

// ---------------------------------------------------------------------------
// The class library's main menu on a form

namespace {

class TBarForm : public TForm {
public:
    explicit TBarForm(TComponent* owner) : TForm(owner) { SetBounds(100, 100, 400, 300); }
};

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TBarForm(Application);
        Form->Init();
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    TMenuItem* NewItem(TMenuItem* parent, const String& caption)
    {
        auto* it = new TMenuItem(Form);
        it->SetCaption(caption);
        it->OnClick = [this, caption](TObject*) { Log.push_back(caption); };
        parent->Add(it);
        return it;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TBarForm* Form = nullptr;
    std::vector<String> Log;
};

}  // namespace

TEST_F(MainMenuTest, FormShowsItsMenuAndRunsItsItems)
{
    Integer plain = Form->ClientHeight();
    auto* mm = new TMainMenu(Form);
    TMenuItem* file = NewItem(mm->Items(), L"&File");
    NewItem(file, L"&New");
    Form->SetMenu(mm);
    HWND h = Form->Handle();
    EXPECT_EQ(GetMenu(h), mm->Handle());
    EXPECT_EQ(Form->ClientHeight(), plain - GetSystemMetrics(SM_CYMENU));

    // Items added later show on the bar at once.
    TMenuItem* view = NewItem(mm->Items(), L"&View");
    NewItem(view, L"&Zoom");
    EXPECT_EQ(GetMenuItemCount(GetMenu(h)), 2);
    TRect viewRect;
    ASSERT_TRUE(GetMenuItemRect(h, GetMenu(h), 1, &viewRect));

    // The drop-down's commands reach the items through the form; a drop-down
    // filled by its item's OnClick shows what it was given.
    file->OnClick = [&](TObject*) {
        if (file->Count() == 1) NewItem(file, L"&Recent");
    };
    WmKeyInput(VK_MENU, true);
    WmKeyInput('F', true);
    WmKeyInput('F', false);
    WmKeyInput(VK_MENU, false);
    WmKeyInput('R', true);
    WmKeyInput('R', false);
    Drv->Pump();
    EXPECT_EQ(Log, std::vector<String>{L"&Recent"});
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(h), 0)), 2);

    // By the mouse, then by keys.
    Log.clear();
    TPoint viewAt{(viewRect.Left + viewRect.Right) / 2, (viewRect.Top + viewRect.Bottom) / 2};
    WmMouseInput(WM_MOUSEMOVE, viewAt);
    WmMouseInput(WM_LBUTTONDOWN, viewAt);
    WmMouseInput(WM_LBUTTONUP, viewAt);
    WmKeyInput('Z', true);
    WmKeyInput('Z', false);
    WmKeyInput(VK_F10, true);
    WmKeyInput(VK_F10, false);
    for (Word k : {Word(VK_RIGHT), Word(VK_DOWN), Word(VK_RETURN)}) {
        WmKeyInput(k, true);
        WmKeyInput(k, false);
    }
    Drv->Pump();
    // An item's OnClick runs as its drop-down opens; the chosen commands come
    // through the queue, after the keys queued before them.
    EXPECT_EQ(Log, (std::vector<String>{L"&View", L"&View", L"&Zoom", L"&Zoom"}));

    // A window made again shows the same menu; a freed menu takes the bar
    // along.
    Form->RecreateWnd();
    h = Form->Handle();
    EXPECT_EQ(GetMenu(h), mm->Handle());
    EXPECT_TRUE(IsMenu(mm->Handle()));
    delete mm;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(h), nullptr);
    EXPECT_EQ(Form->ClientHeight(), plain);
}
