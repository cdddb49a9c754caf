// The popup menu and its owner-draw engine: stylers it draws with, the hooks
// on its items, item measuring, shortcut texts, the popup position, and a
// real popup on the headless desktop captured while it is open.
#include <gtest/gtest.h>

#include "controls/chrome/VodMenus.h"
#include "platform/base/SysUtils.h"
#include "ToolButtonTestSupport.h"

namespace {

class VodPopupMenuTest : public ::testing::Test {
protected:
    TChromeDesk Desk;
    TVodPopupMenu* Menu = nullptr;
    void SetUp() override { Menu = new TVodPopupMenu(Desk.Form); }
    TMenuItem* Add(TMenuItem* parent, const String& caption)
    {
        auto* it = new TMenuItem(Desk.Form);
        it->SetCaption(caption);
        parent->Add(it);
        return it;
    }
    // Measures an item on a canvas with fixed-metrics fonts (8 x 16 per
    // character), the platform proposing a height of 20.
    TSize Measure(TMenuItem* item, Integer proposedHeight = 20)
    {
        TTestCanvas s(10, 10);
        TCanvas c;
        c.SetHandle(s.Dc);
        Integer w = 0, h = proposedHeight;
        MeasureMenuItem(item, &c, w, h, SideBarShown(item));
        c.SetHandle(nullptr);
        return TSize{w, h};
    }
    static void Escape()
    {
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
    }
};

}  // namespace

TEST_F(VodPopupMenuTest, StylersTheMenuDrawsWith)
{
    IVodMenu* intf = GetVodMenu(Menu);
    ASSERT_TRUE(intf);
    EXPECT_EQ(intf->GetMenu(), Menu);
    EXPECT_TRUE(Menu->OwnerDraw());
    EXPECT_EQ(Menu->Version(), L"2.6.2.1");
    TCustomVodMenuStyler* internal = Menu->CurrentMenuStyler();
    ASSERT_TRUE(internal);
    EXPECT_EQ(internal->Name(), L"InternalMenuStyler");
    EXPECT_EQ(internal->Owner(), Menu);
    EXPECT_EQ(Menu->MenuStyler(), nullptr);
    EXPECT_EQ(internal->Menu(), Menu);

    Menu->SetMenuStyler(nullptr);
    EXPECT_EQ(Menu->CurrentMenuStyler(), internal) << "clearing an empty styler changes nothing";

    auto* office = new TVodMenuOfficeStyler(Desk.Form);
    Menu->SetMenuStyler(office);
    EXPECT_EQ(Menu->CurrentMenuStyler(), office);
    EXPECT_EQ(Menu->InternalMenuStyler(), nullptr) << "the private styler is freed";
    EXPECT_EQ(office->Menu(), Menu);
    EXPECT_EQ(intf->GetCurrentMenuStyler(), office);

    Menu->SetMenuStyler(nullptr);
    ASSERT_TRUE(Menu->CurrentMenuStyler());
    EXPECT_EQ(Menu->CurrentMenuStyler()->Name(), L"InternalMenuStyler");
    EXPECT_NE(Menu->CurrentMenuStyler(), office);

    // A freed styler leaves the menu with a private one again.
    Menu->SetMenuStyler(office);
    delete office;
    ASSERT_TRUE(Menu->CurrentMenuStyler());
    EXPECT_EQ(Menu->CurrentMenuStyler()->Name(), L"InternalMenuStyler");
    EXPECT_EQ(Menu->MenuStyler(), nullptr);

    // Menus of other classes are not the engine's.
    auto* plain = new TPopupMenu(Desk.Form);
    EXPECT_EQ(GetVodMenu(plain), nullptr);
    auto* it = Add(plain->Items(), L"x");
    EXPECT_EQ(GetVodMenu(it), nullptr);
    EXPECT_EQ(GetVodMenu(static_cast<TMenuItem*>(nullptr)), nullptr);
}

TEST_F(VodPopupMenuTest, ItemsGetTheEngineHandlersKeepingTheirOwn)
{
    TMenuItem* a = Add(Menu->Items(), L"A");
    EXPECT_TRUE(a->OnMeasureItem) << "an added item is hooked";
    EXPECT_TRUE(a->OnAdvancedDrawItem);
    bool ownDrawn = false;
    auto* b = new TMenuItem(Desk.Form);
    b->SetCaption(L"B");
    b->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { ownDrawn = true; };
    Menu->Items()->Add(b);
    EXPECT_TRUE(b->OnMeasureItem) << "the measure handler is installed";
    EXPECT_FALSE(b->OnAdvancedDrawItem) << "the item's own draw handler stays";
    TMenuItem* sub = Add(a, L"Child");
    EXPECT_TRUE(sub->OnAdvancedDrawItem);

    // Inside an update nothing is hooked until its end.
    Menu->BeginUpdate();
    EXPECT_TRUE(Menu->MenuUpdating());
    TMenuItem* c = Add(Menu->Items(), L"C");
    EXPECT_FALSE(c->OnAdvancedDrawItem);
    Menu->BeginUpdate();
    Menu->EndUpdate();
    EXPECT_FALSE(c->OnAdvancedDrawItem) << "the outermost update decides";
    Menu->EndUpdate();
    EXPECT_TRUE(c->OnAdvancedDrawItem);
    EXPECT_FALSE(Menu->MenuUpdating());
}

TEST_F(VodPopupMenuTest, MeasuringItems)
{
    TMenuItem* open = Add(Menu->Items(), L"Open");
    EXPECT_EQ(Measure(open), (TSize{24 + 32 + 39, 22})) << "icon bar + text + 39; text height + 6";
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    EXPECT_EQ(Measure(open).cx, 24 + 80 + 39) << "\"OpenCtrl+O\": no gap";
    Menu->SetIntlKeybShortCuts(true);
    EXPECT_EQ(Measure(open).cx, 24 + 80 + 39) << "the key names of an English keyboard";
    Menu->SetIntlKeybShortCuts(false);
    open->SetShortCut(TShortCut(ShortCut('O', TShiftState{ssCtrl}) | 0x0200));
    EXPECT_EQ(Measure(open).cx, 24 + 112 + 39 + 32) << "\"Win+\" in the text and once more";
    open->SetShortCut(0);

    TMenuItem* hidden = Add(Menu->Items(), L"Hidden");
    hidden->SetVisible(false);
    EXPECT_EQ(Measure(hidden), (TSize{0, 0}));
    TMenuItem* line = Add(Menu->Items(), L"-");
    EXPECT_EQ(Measure(line), (TSize{-2, 3}));
    Menu->CurrentMenuStyler()->Separator()->SetWidth(3);
    EXPECT_EQ(Measure(line), (TSize{-2, 5}));

    TMenuItem* save = Add(Menu->Items(), L"Save\\nto the download folder");
    EXPECT_EQ(Measure(save), (TSize{22 * 8 + 17 + 24 + 8, 22 + 16})) << "caption, then one notes line";
    Menu->SetShowNotes(false);
    EXPECT_EQ(Measure(save), (TSize{24 + 28 * 8 + 39, 22})) << "one line without notes";
    Menu->SetShowNotes(true);

    // Images raise the height; the height is even.
    auto* list = new TImageList(Desk.Form);
    list->SetHeight(27);
    Menu->SetImages(list);
    EXPECT_EQ(Measure(open).cy, 30) << "27 + 2 = 29, rounded up to even";
    Menu->SetImages(nullptr);

    // The side bar widens items of the levels it shows in.
    TSideBar* bar = Menu->CurrentMenuStyler()->SideBar();
    bar->SetVisible(true);
    bar->SetVisibleIn(viFirstLevel);
    EXPECT_EQ(Measure(open).cx, 24 + 32 + 39 + 25);
    TMenuItem* child = Add(open, L"Open");
    EXPECT_EQ(Measure(child).cx, 24 + 32 + 39) << "not in a submenu";
    bar->SetVisibleIn(viAnyLevel);
    EXPECT_EQ(Measure(child).cx, 24 + 32 + 39 + 25);
    bar->SetVisibleIn(viFirstVisible);
    EXPECT_EQ(Measure(open).cx, 24 + 32 + 39) << "only menu bars";
    bar->SetVisibleIn(viFirstLevel);
    TMenuItem* later = Add(Menu->Items(), L"Open");
    later->SetBreak(mbBreak);
    EXPECT_EQ(Measure(later).cx, 24 + 32 + 39) << "a later column has no side bar";
    EXPECT_TRUE(InLaterColumn(Add(Menu->Items(), L"After")));
}

TEST(VodMenuShortCuts, PlainAndInternationalTexts)
{
    const TShortCut ctrlO = ShortCut('O', TShiftState{ssCtrl});
    EXPECT_EQ(ShortCutText(ctrlO, false), L"Ctrl+O");
    EXPECT_EQ(ShortCutText(TShortCut(ctrlO | 0x0200), false), L"Win+Ctrl+O");
    const TShortCut csf5 = ShortCut(VK_F5, TShiftState{ssCtrl, ssShift});
    EXPECT_EQ(ShortCutText(csf5, true), L"Ctrl+Shift+F5");
    EXPECT_EQ(ShortCutText(TShortCut(csf5 | 0x0200), true), L"Ctrl+Shift+F5") << "no Windows key";
    EXPECT_EQ(ShortCutText(ShortCut(VK_F12, TShiftState{ssAlt, ssCtrl}), true), L"Alt+Ctrl+F12");
    EXPECT_EQ(ShortCutText(ShortCut('Q', TShiftState{ssAlt}), true), L"Alt+Q");
}

TEST_F(VodPopupMenuTest, PopupCorrectsXAndTellsOfTheClose)
{
    int closes = 0;
    Menu->OnClose = [&](TObject*) { ++closes; };
    Menu->OnPopup = [&](TObject*) { Escape(); };
    Menu->Popup(200, 200);
    EXPECT_EQ(closes, 0) << "an empty menu does not tell";

    TMenuItem* first = Add(Menu->Items(), L"First");
    first->OnMeasureItem = [](TObject*, TCanvas*, Integer& w, Integer& h) {
        w = 120;
        h = 20;
    };
    struct Case {
        TPopupAlignment Alignment;
        Integer X, Expected;
    } cases[] = {
        {paRight, 10, 10},   {paRight, 500, 517}, {paLeft, 500, 500},   {paLeft, 900, 917},
        {paLeft, 1020, 1023}, {paCenter, 300, 308}, {paCenter, 1020, 1023},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.X);
        closes = 0;
        Menu->SetAlignment(c.Alignment);
        Menu->Popup(c.X, 200);
        EXPECT_EQ(Menu->PopupPoint().X, c.Expected);
        EXPECT_EQ(closes, 1);
    }
}

TEST_F(VodPopupMenuTest, ARealPopupIsMeasuredPaintedShapedAndFramed)
{
    auto* styler = new TVodMenuOfficeStyler(Desk.Form);
    Menu->SetMenuStyler(styler);
    styler->Background()->SetColor(TColor(0xFFFFFF));
    styler->Background()->SetColorTo(TColor(0x000000));
    styler->IconBar()->SetColor(TColor(0x00AA00));
    styler->IconBar()->SetColorTo(TColor(0x00AA00));
    styler->Separator()->SetColor(TColor(0xFF0000));
    TSideBar* bar = styler->SideBar();
    bar->SetVisible(true);
    bar->SetVisibleIn(viFirstLevel);
    bar->Background()->SetColor(TColor(0x0000FF));

    auto* list = new TImageList(Desk.Form);
    auto img = std::make_unique<TBitmap>(16, 16);
    img->Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    img->Canvas()->FillRect(TRect{0, 0, 16, 16});
    list->AddMasked(img.get(), clWhite);
    Menu->SetImages(list);

    TMenuItem* open = Add(Menu->Items(), L"Open");
    open->SetImageIndex(0);
    TMenuItem* checked = Add(Menu->Items(), L"Checked");
    checked->SetChecked(true);
    Add(Menu->Items(), L"-");
    TMenuItem* sub = Add(Menu->Items(), L"More");
    Add(sub, L"Child");
    TMenuItem* last = Add(Menu->Items(), L"Last");
    HWND drawnOn = nullptr;
    last->OnAdvancedDrawItem = [&](TObject* s, TCanvas* c, TRect r, TOwnerDrawState st) {
        drawnOn = WindowFromDC(c->Handle());
        Menu->AdvancedDrawItem(s, c, r, st);
    };

    // The menu loop tells the popup list's window when it waits: look then.
    HWND listWnd = PopupList()->Window();
    static std::function<void(HWND)> onIdle;
    static WNDPROC listProc;
    listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(listWnd, GWLP_WNDPROC));
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_ENTERIDLE && onIdle) {
            auto f = onIdle;
            onIdle = nullptr;
            f(reinterpret_cast<HWND>(l));
            return 0;
        }
        return CallWindowProc(listProc, h, m, w, l);
    }));
    std::vector<uint32_t> px;
    int W = 0, H = 0;
    HWND popup = nullptr;
    TRect windowRect, regionBox;
    std::vector<TRect> items;
    onIdle = [&](HWND w) {
        popup = w;
        Desk.Drv->CaptureWindow(w, px, W, H);
        GetWindowRect(w, &windowRect);
        GetWindowRgnBox(w, &regionBox);
        for (UINT i = 0; i < 5; ++i) {
            TRect r;
            GetMenuItemRect(nullptr, Menu->Items()->Handle(), i, &r);
            TPoint o{r.Left, r.Top};
            ScreenToClient(w, &o);
            items.push_back(TRect{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()});
        }
        Escape();
    };
    Menu->Popup(100, 150);
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    ASSERT_TRUE(popup);
    ASSERT_GT(W, 60);
    auto at = [&](int x, int y) { return px[size_t(y) * size_t(W) + size_t(x)] & 0xFFFFFF; };
    auto rgb = [](Byte r, Byte g, Byte b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; };

    EXPECT_EQ(drawnOn, popup) << "an item's device context answers its popup window";
    EXPECT_EQ(windowRect.Left, 99) << "the first level moves 1 left";
    EXPECT_EQ(windowRect.Top, 148) << "and 2 up";
    EXPECT_EQ(regionBox, (TRect{1, 1, W - 1 - 17, H - 1})) << "the rightmost 17 columns are cut off";
    EXPECT_EQ(at(1, H / 2), rgb(0x00, 0x2D, 0x96)) << "the frame in the menu border colour";

    // Side bar (red), icon bar (green) from the items' left edge.
    const TRect& lastRect = items[4];
    EXPECT_EQ(at(10, lastRect.Top + 5), rgb(255, 0, 0)) << "side bar";
    EXPECT_EQ(at(lastRect.Left + 26, lastRect.Top + 5), rgb(0, 0xAA, 0)) << "icon bar after the side bar";
    // The checked item's box behind the mark, in the icon bar's check colour.
    const TRect& ck = items[1];
    EXPECT_EQ(at(ck.Left + 25 + 3, (ck.Top + ck.Bottom) / 2), rgb(0xFF, 0xC0, 0x6F));
    // The image of the first item.
    const TRect& op = items[0];
    EXPECT_EQ(at(op.Left + 25 + 12, (op.Top + op.Bottom) / 2), rgb(255, 0, 255));
    // The separator line in its colour.
    const TRect& sep = items[2];
    EXPECT_EQ(at(op.Left + 25 + 24 + 10, (sep.Top + sep.Bottom) / 2), rgb(0, 0, 255));

    // The background strips join into one gradient from white to black.
    const int x = W - 22;
    int previous = 256;
    for (int y = items[0].Top; y < items[4].Bottom; ++y) {
        const int red = int(at(x, y) >> 16);
        EXPECT_LE(red, previous) << "row " << y << " goes on darkening";
        EXPECT_GE(red, previous == 256 ? 0 : previous - 4) << "row " << y << " joins the row above";
        previous = red;
    }
    EXPECT_GE(int(at(x, items[0].Top) >> 16), 240);
    EXPECT_LE(previous, 15);
}

TEST_F(VodPopupMenuTest, ItemContentOnARecordingCanvas)
{
    TMenuItem* open = Add(Menu->Items(), L"&Open");
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    TMenuItem* notes = Add(Menu->Items(), L"Save\\nto the folder\\nand more");
    TMenuItem* line = Add(Menu->Items(), L"-");
    TCustomVodMenuStyler* s = Menu->CurrentMenuStyler();
    TTestCanvas surface(300, 60);
    TCanvas c;
    c.SetHandle(surface.Dc);
    GdiStartRecording(surface.Dc);
    auto texts = [&] {
        std::vector<TGdiRecord> out;
        for (auto& r : GdiRecords(surface.Dc))
            if (r.Kind == L"DrawText" && !(r.Flags & DT_CALCRECT)) out.push_back(r);
        GdiClearRecords(surface.Dc);
        return out;
    };

    DrawMenuItemContent(GetVodMenu(Menu), open, &c, TOwnerDrawState{}, TRect{0, 0, 200, 24});
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].Text, L"&Open");
    EXPECT_EQ(t[0].Rect.Left, 32) << "after the icon bar and 8";
    EXPECT_EQ(t[0].Rect.Top, 4) << "a single line is centred";
    EXPECT_EQ(t[1].Text, L"Ctrl+O");
    EXPECT_EQ(t[1].Rect.Right, 190) << "right-aligned 10 before the end";
    EXPECT_TRUE(t[1].Flags & DT_RIGHT);

    // Disabled: shadow colour, highlight colour when the highlight equals it.
    open->SetEnabled(false);
    DrawMenuItemContent(GetVodMenu(Menu), open, &c, TOwnerDrawState{}, TRect{0, 0, 200, 24});
    t = texts();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t[0].Color, COLORREF(ColorToRGB(clBtnShadow)));

    // Notes: the caption at the top, notes lines one caption line lower.
    DrawMenuItemContent(GetVodMenu(Menu), notes, &c, TOwnerDrawState{}, TRect{0, 0, 200, 60});
    t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].Text, L"Save");
    EXPECT_EQ(t[0].Rect.Top, 0);
    EXPECT_EQ(t[1].Text, L"to the folder");
    EXPECT_EQ(t[1].Rect.Top, 16);
    EXPECT_EQ(t[2].Text, L"and more");
    EXPECT_EQ(t[2].Rect.Top, 32);

    // The separator with Width 3 in a 9-pixel item occupies rows 3 to 5.
    s->Separator()->SetWidth(3);
    s->Separator()->SetColor(TColor(0x0000FF));
    DrawMenuItemContent(GetVodMenu(Menu), line, &c, TOwnerDrawState{}, TRect{0, 40, 200, 49});
    for (int y = 40; y < 49; ++y)
        EXPECT_EQ(surface.Px(100, y) == RGB(255, 0, 0), y >= 43 && y <= 45) << y;
    EXPECT_NE(surface.Px(25, 44), RGB(255, 0, 0)) << "the margin after the icon bar";
    EXPECT_EQ(surface.Px(26, 44), RGB(255, 0, 0));
    c.SetHandle(nullptr);
}

TEST_F(VodPopupMenuTest, KeysAndClicksChooseItemsOfTheOwnerDrawnMenu)
{
    std::vector<String> chosen;
    auto item = [&](const String& caption) {
        TMenuItem* it = Add(Menu->Items(), caption);
        it->OnClick = [&chosen, caption](TObject*) { chosen.push_back(caption); };
        return it;
    };
    item(L"&First");
    Add(Menu->Items(), L"-");
    item(L"&Second");
    TMenuItem* third = item(L"&Third");
    std::vector<TOwnerDrawState> thirdStates;
    third->OnAdvancedDrawItem = [&](TObject* s, TCanvas* c, TRect r, TOwnerDrawState st) {
        thirdStates.push_back(st);
        Menu->AdvancedDrawItem(s, c, r, st);
    };
    auto key = [](Word vk) {
        WmKeyInput(vk, true);
        WmKeyInput(vk, false);
    };
    Menu->OnPopup = [&](TObject*) {
        key(VK_DOWN);
        key(VK_DOWN);
        key(VK_DOWN);
        key(VK_RETURN);
    };
    Menu->Popup(100, 100);
    Desk.Drv->Pump();
    EXPECT_EQ(chosen, std::vector<String>{L"&Third"}) << "the separator is skipped";
    bool highlighted = false;
    for (auto& st : thirdStates) highlighted |= st.Contains(odSelected);
    EXPECT_TRUE(highlighted) << "painted highlighted before the choice";

    // A click on the second item's place.
    chosen.clear();
    Menu->OnPopup = [&](TObject*) {};
    static std::function<void(HWND)> onIdle;
    static WNDPROC listProc;
    HWND listWnd = PopupList()->Window();
    listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(listWnd, GWLP_WNDPROC));
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_ENTERIDLE && onIdle) {
            auto f = onIdle;
            onIdle = nullptr;
            f(reinterpret_cast<HWND>(l));
            return 0;
        }
        return CallWindowProc(listProc, h, m, w, l);
    }));
    onIdle = [&](HWND) {
        TRect r;
        GetMenuItemRect(nullptr, Menu->Items()->Handle(), 2, &r);
        const TPoint p{r.Left + 40, (r.Top + r.Bottom) / 2};
        WmMouseInput(WM_MOUSEMOVE, p);
        WmMouseInput(WM_LBUTTONDOWN, p);
        WmMouseInput(WM_LBUTTONUP, p);
    };
    Menu->Popup(100, 100);
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    Desk.Drv->Pump();
    EXPECT_EQ(chosen, std::vector<String>{L"&Second"});
}
