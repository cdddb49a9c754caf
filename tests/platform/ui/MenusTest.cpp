// The menu calls and the menu loop, driven by queued input: the loop takes
// keys and clicks from the queue, and the owner's WM_ENTERIDLE lets a test
// act while the menu is open.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/Menus.h"
#include "WmTestSupport.h"

namespace {

enum : UINT { kOpen = 10, kSave = 20, kSaveAs = 30, kExport = 40, kPng = 41, kPdf = 42, kQuit = 70 };

// 0 &Open, 1 separator, 2 &Save (disabled), 3 Save &As (Ctrl+S), 4 E&xport > (0 P&NG, 1 P&DF), 5 &Quit
struct TTestMenu {
    HMENU Menu = CreatePopupMenu();
    HMENU Sub = CreatePopupMenu();
    TTestMenu()
    {
        AppendMenu(Sub, MF_STRING, kPng, L"P&NG");
        AppendMenu(Sub, MF_STRING, kPdf, L"P&DF");
        AppendMenu(Menu, MF_STRING, kOpen, L"&Open");
        AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(Menu, MF_STRING | MF_GRAYED, kSave, L"&Save");
        AppendMenu(Menu, MF_STRING, kSaveAs, L"Save &As\tCtrl+S");
        AppendMenu(Menu, MF_POPUP, UINT_PTR(Sub), L"E&xport");
        AppendMenu(Menu, MF_STRING, kQuit, L"&Quit");
    }
    ~TTestMenu() { DestroyMenu(Menu); }
};

void Key(Word vk)
{
    WmKeyInput(vk, true);
    WmKeyInput(vk, false);
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

void ClickAt(TPoint p, UINT down = WM_LBUTTONDOWN)
{
    WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(down, p);
    WmMouseInput(down + 1, p);
}

class MenusTest : public WmTest {
protected:
    void SetUp() override
    {
        WmTest::SetUp();
        Owner = Top(100, 100, 300, 200);
        SetActiveWindow(Owner);
        SetFocus(Owner);
    }
    // Runs steps[i] at the i-th idle moment of the menu loop.
    void OnIdle(std::vector<std::function<void()>> steps)
    {
        Steps = std::move(steps);
        Step = 0;
        Log().Handlers[{Owner, WM_ENTERIDLE}] = [this](WPARAM, LPARAM) -> LRESULT {
            if (Step < Steps.size()) Steps[Step++]();
            else Key(VK_ESCAPE);  // a test that forgot to close the menu still ends
            return 0;
        };
    }
    UINT Track(HMENU menu, UINT flags = TPM_RETURNCMD, TPoint at = {150, 150})
    {
        return UINT(TrackPopupMenu(menu, flags, at.X, at.Y, 0, Owner, nullptr));
    }
    HWND Owner = nullptr;
    std::vector<std::function<void()>> Steps;
    size_t Step = 0;
};

}  // namespace

TEST_F(MenusTest, ItemsAreBuiltChangedAndQueried)
{
    TTestMenu m;
    EXPECT_EQ(GetMenuItemCount(m.Menu), 6);
    EXPECT_EQ(GetMenuItemID(m.Menu, 0), kOpen);
    EXPECT_EQ(GetMenuItemID(m.Menu, 4), 0xFFFFFFFFu) << "a submenu item has no command";
    EXPECT_EQ(GetSubMenu(m.Menu, 4), m.Sub);
    EXPECT_EQ(GetMenuState(m.Menu, kSave, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuState(m.Menu, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(m.Menu, 4, MF_BYPOSITION), UINT(MF_POPUP | (2 << 8)));
    EXPECT_EQ(GetMenuString(m.Menu, kPdf, MF_BYCOMMAND), L"P&DF") << "by command searches submenus";

    EXPECT_EQ(CheckMenuItem(m.Menu, kOpen, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(m.Menu, kOpen, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
    EnableMenuItem(m.Menu, kSave, MF_BYCOMMAND | MF_ENABLED);
    EXPECT_EQ(GetMenuState(m.Menu, kSave, MF_BYCOMMAND) & MF_GRAYED, 0u);
    ASSERT_TRUE(CheckMenuRadioItem(m.Sub, kPng, kPdf, kPdf, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(m.Sub, kPdf, 0) & (MF_CHECKED | MFT_RADIOCHECK), UINT(MF_CHECKED | MFT_RADIOCHECK));
    EXPECT_EQ(GetMenuState(m.Sub, kPng, 0) & MF_CHECKED, 0u);

    // MENUITEMINFO round trip, text cut to the buffer.
    MENUITEMINFO set;
    set.fMask = MIIM_STRING | MIIM_DATA | MIIM_STATE | MIIM_FTYPE;
    String text = L"&Reload";
    set.dwTypeData = text.data();
    set.dwItemData = 1234;
    set.fState = MFS_DEFAULT;
    set.fType = MFT_RADIOCHECK;
    ASSERT_TRUE(InsertMenuItem(m.Menu, 0, TRUE, &set));
    ASSERT_TRUE(SetMenuItemInfo(m.Menu, 0, TRUE, [] {
        static MENUITEMINFO id;
        id.fMask = MIIM_ID;
        id.wID = 5;
        return &id;
    }()));
    wchar_t buf[4];
    MENUITEMINFO get;
    get.fMask = MIIM_STRING | MIIM_DATA | MIIM_STATE | MIIM_FTYPE | MIIM_ID;
    get.dwTypeData = buf;
    get.cch = 4;
    ASSERT_TRUE(GetMenuItemInfo(m.Menu, 5, FALSE, &get));
    EXPECT_EQ(String(buf), L"&Re");
    EXPECT_EQ(get.cch, 3u);
    EXPECT_EQ(get.dwItemData, 1234u);
    EXPECT_EQ(get.fState, UINT(MFS_DEFAULT));
    EXPECT_EQ(get.fType, UINT(MFT_RADIOCHECK));
    EXPECT_EQ(GetMenuDefaultItem(m.Menu, FALSE, 0), 5u);

    // RemoveMenu hands the submenu back; DeleteMenu destroys it.
    ASSERT_TRUE(RemoveMenu(m.Menu, 5, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(m.Sub));
    ASSERT_TRUE(AppendMenu(m.Menu, MF_POPUP, UINT_PTR(m.Sub), L"Again"));
    EXPECT_FALSE(AppendMenu(m.Sub, MF_POPUP, UINT_PTR(m.Menu), L"Loop")) << "a menu cannot hold itself";
    ASSERT_TRUE(DeleteMenu(m.Menu, GetMenuItemCount(m.Menu) - 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(m.Sub));
    EXPECT_EQ(GetMenuItemCount(m.Sub), -1) << "a dead handle is refused";
    EXPECT_FALSE(AppendMenu(m.Sub, MF_STRING, 1, L"x"));
    EXPECT_FALSE(RemoveMenu(m.Menu, 99, MF_BYPOSITION));
}

TEST_F(MenusTest, KeyboardNavigationChoosesTheRightCommand)
{
    struct Case {
        const char* Name;
        std::vector<Word> Keys;
        UINT Id;
    } cases[] = {
        {"first item", {VK_DOWN, VK_RETURN}, kOpen},
        {"over separator and disabled item", {VK_DOWN, VK_DOWN, VK_RETURN}, kSaveAs},
        {"up wraps to the last", {VK_UP, VK_RETURN}, kQuit},
        {"submenu by Right", {VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, kPdf},
        {"submenu by Enter, closed by Left", {VK_UP, VK_UP, VK_RETURN, VK_LEFT, VK_DOWN, VK_RETURN}, kQuit},
        {"accelerator", {'A'}, kSaveAs},
        {"accelerator into a submenu", {'X', 'D'}, kPdf},
        {"escape closes one level, then all", {'X', VK_ESCAPE, VK_ESCAPE}, 0},
        {"disabled accelerator does nothing", {'S', VK_ESCAPE}, 0},
        {"Alt cancels", {VK_DOWN, VK_MENU}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestMenu m;
        for (Word k : c.Keys) Key(k);
        EXPECT_EQ(Track(m.Menu), c.Id);
        EXPECT_FALSE(FindWindow(L"#32768", nullptr)) << "the menu windows are gone";
        EXPECT_FALSE(GetCapture());
    }
}

TEST_F(MenusTest, OwnerHearsTheLoopAndGetsThePostedCommand)
{
    TTestMenu m;
    Key('X');
    Key('N');
    EXPECT_EQ(Track(m.Menu, TPM_LEFTALIGN), TRUE);
    std::vector<UINT> seen;
    for (UINT msg : Log().Msgs(Owner))
        if (msg == WM_ENTERMENULOOP || msg == WM_INITMENUPOPUP || msg == WM_UNINITMENUPOPUP ||
            msg == WM_EXITMENULOOP || msg == WM_COMMAND)
            seen.push_back(msg);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_INITMENUPOPUP,
                                       WM_UNINITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}));
    auto init = Log().Of(WM_INITMENUPOPUP);
    ASSERT_EQ(init.size(), 2u);
    EXPECT_EQ(HMENU(init[0].wParam), m.Menu);
    EXPECT_EQ(HMENU(init[1].wParam), m.Sub);
    EXPECT_EQ(LOWORD(init[1].lParam), 4) << "the submenu's position in its parent";
    // The last selection names the chosen item, the very last says "closed".
    auto sel = Log().Of(WM_MENUSELECT);
    ASSERT_GE(sel.size(), 2u);
    EXPECT_EQ(LOWORD(sel[sel.size() - 2].wParam), kPng);
    EXPECT_EQ(HMENU(sel[sel.size() - 2].lParam), m.Sub);
    EXPECT_EQ(HIWORD(sel.back().wParam), 0xFFFF);

    Drv->Pump();
    auto cmd = Log().Of(WM_COMMAND);
    ASSERT_EQ(cmd.size(), 1u) << "the command arrives through the queue";
    EXPECT_EQ(LOWORD(cmd[0].wParam), kPng);

    // TPM_NONOTIFY: not a word to the owner.
    Log().Clear();
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_TRUE(Track(m.Menu, TPM_NONOTIFY));
    Drv->Pump();
    for (UINT msg : {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT, WM_ENTERIDLE, WM_EXITMENULOOP, WM_COMMAND})
        EXPECT_TRUE(Log().Of(msg).empty()) << msg;
}

TEST_F(MenusTest, MousePicksItemsAndOpensSubmenusOnHover)
{
    TTestMenu m;
    OnIdle({[&] {
                TRect r;
                ASSERT_TRUE(GetMenuItemRect(nullptr, m.Menu, 2, &r));
                ClickAt(Centre(r));  // disabled: nothing happens
            },
            [&] {
                TRect r;
                GetMenuItemRect(nullptr, m.Menu, 4, &r);
                WmMouseInput(WM_MOUSEMOVE, Centre(r));
            },
            [&] {
                TRect r;
                ASSERT_TRUE(GetMenuItemRect(nullptr, m.Sub, 1, &r)) << "the submenu opened on hover";
                TRect parent;
                GetMenuItemRect(nullptr, m.Menu, 4, &parent);
                EXPECT_GE(r.Left, parent.Right - 8) << "beside its parent item";
                ClickAt(Centre(r));
            }});
    EXPECT_EQ(Track(m.Menu), kPdf);
    EXPECT_EQ(Step, 3u);
}

TEST_F(MenusTest, OutsideClickCancelsAndIsEaten)
{
    TTestMenu m;
    HWND other = Top(600, 500, 100, 100);
    OnIdle({[&] { ClickAt({650, 550}); }});
    Log().Clear();
    EXPECT_EQ(Track(m.Menu), 0u);
    Drv->Pump();
    EXPECT_EQ(Log().Find(other, WM_LBUTTONDOWN), -1);
}

TEST_F(MenusTest, AlignmentAndScreenEdges)
{
    struct Case {
        UINT Flags;
        TPoint At;
        bool RightOfX, BelowY;
    } cases[] = {
        {TPM_LEFTALIGN, {200, 200}, true, true},
        {TPM_RIGHTALIGN, {600, 200}, false, true},
        {TPM_BOTTOMALIGN, {200, 600}, true, false},
        {TPM_LEFTALIGN, {1020, 760}, false, false},  // flips at the screen's edges
    };
    for (const auto& c : cases) {
        TTestMenu m;
        TRect wr;
        OnIdle({[&] {
            GetWindowRect(FindWindow(L"#32768", nullptr), &wr);
            Key(VK_ESCAPE);
        }});
        Track(m.Menu, TPM_RETURNCMD | c.Flags, c.At);
        EXPECT_EQ(c.RightOfX ? wr.Left : wr.Right, c.At.X);
        EXPECT_EQ(c.BelowY ? wr.Top : wr.Bottom, c.At.Y);
    }
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner)
{
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_OWNERDRAW, 1, reinterpret_cast<const wchar_t*>(uintptr_t(111)));
    AppendMenu(menu, MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, 2, reinterpret_cast<const wchar_t*>(uintptr_t(222)));
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    String drawWindow;
    Log().Handlers[{Owner, WM_MEASUREITEM}] = [&](WPARAM, LPARAM l) -> LRESULT {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        mis->itemWidth = 100 + mis->itemID;
        mis->itemHeight = 30;
        measured.push_back(*mis);
        return TRUE;
    };
    Log().Handlers[{Owner, WM_DRAWITEM}] = [&](WPARAM, LPARAM l) -> LRESULT {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        drawn.push_back(*dis);
        drawWindow = GetClassName(WindowFromDC(dis->hDC));
        return TRUE;
    };
    OnIdle({[&] {
                ASSERT_EQ(drawn.size(), 2u) << "both painted before the first idle moment";
                drawn.clear();
                Key(VK_DOWN);
            },
            [&] { Key(VK_ESCAPE); }});
    Track(menu);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].CtlType, UINT(ODT_MENU));
    EXPECT_EQ(measured[1].itemData, 222u);
    ASSERT_EQ(drawn.size(), 1u) << "only the item whose highlight changed is drawn again";
    const DRAWITEMSTRUCT& d = drawn[0];
    EXPECT_EQ(d.itemID, 1u);
    EXPECT_EQ(d.itemData, 111u);
    EXPECT_EQ(d.itemState & ODS_SELECTED, UINT(ODS_SELECTED));
    EXPECT_EQ(HMENU(d.hwndItem), menu);
    EXPECT_EQ(d.rcItem.Width(), 102) << "the width the owner asked for, across the menu";
    EXPECT_EQ(d.rcItem.Height(), 30);
    EXPECT_EQ(drawWindow, L"#32768") << "the DC belongs to the menu window";
    DestroyMenu(menu);
}

namespace {
WNDPROC gOldMenuProc = nullptr;
int gSubclassedPaints = 0;
LRESULT SubclassProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_PAINT) ++gSubclassedPaints;
    return CallWindowProc(gOldMenuProc, h, msg, w, l);
}
}  // namespace

TEST_F(MenusTest, MenuWindowCanBeFoundAndSubclassed)
{
    TTestMenu m;
    gSubclassedPaints = 0;
    OnIdle({[&] {
                HWND w = FindWindow(L"#32768", nullptr);
                ASSERT_TRUE(w);
                EXPECT_EQ(HMENU(SendMessage(w, MN_GETHMENU, 0, 0)), m.Menu);
                EXPECT_TRUE(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
                EXPECT_NE(GetActiveWindow(), w) << "the menu does not take activation";
                gOldMenuProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(&SubclassProc)));
                Key(VK_DOWN);
            },
            [&] { Key(VK_RETURN); }});
    EXPECT_EQ(Track(m.Menu), kOpen);
    EXPECT_GE(gSubclassedPaints, 1);
}

TEST_F(MenusTest, SecondMenuNeedsRecurse)
{
    TTestMenu outer;
    TTestMenu inner;
    UINT innerResult = 1234;
    OnIdle({[&] {
        EXPECT_FALSE(TrackPopupMenu(inner.Menu, TPM_RETURNCMD, 10, 10, 0, Owner, nullptr));
        Key(VK_DOWN);
        Key(VK_RETURN);
        innerResult = UINT(TrackPopupMenu(inner.Menu, TPM_RETURNCMD | TPM_RECURSE | TPM_NONOTIFY, 10, 10, 0, Owner, nullptr));
        Key(VK_UP);
        Key(VK_RETURN);
    }});
    EXPECT_EQ(Track(outer.Menu), kQuit);
    EXPECT_EQ(innerResult, kOpen);
}
