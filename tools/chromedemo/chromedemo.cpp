// Tool buttons in their states and looks, progress bars (levels, stacked,
// blocks, smooth, vertical with text, endless and animating) and an
// Office-styled popup menu opened by code, shown open over the right part of
// the window: side bar with its caption, icon bar, images, checked and radio
// items, a separator, a submenu arrow, notes and shortcuts. Once the menu is
// open and painted it prints "POINT ..." checks and "READY left top width
// height" (the client area on the screen) and runs until its time is up.
//
//   chromedemo [--seconds N]
#include <cstdio>

#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodProgressBar.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Timers.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

TBitmap* Glyph(TColor colour)
{
    auto* b = new TBitmap(16, 16);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(TRect{0, 0, 16, 16});
    b->Canvas()->Brush()->SetColor(colour);
    b->Canvas()->Pen()->SetColor(TColor(0x404040));
    b->Canvas()->Ellipse(1, 1, 15, 15);
    return b;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Tool buttons, progress bars and the popup menu");
        SetBounds(40, 40, 1000, 560);
        SetColor(TColor(0xFFFFFF));
    }
};

TLabel* Caption(TWinControl* parent, int x, int y, const String& text)
{
    auto* l = new TLabel(parent);
    l->SetParent(parent);
    l->SetBounds(x, y, 200, 16);
    l->SetCaption(text);
    return l;
}

TVodToolButton* Button(TWinControl* f, int x, int y, int w, int h, const String& caption, Integer look = 8)
{
    auto* b = new TVodToolButton(f);
    b->SetParent(f);
    b->SetBounds(x, y, w, h);
    b->SetCaption(caption);
    b->SetLook(look);
    return b;
}

TVodProgressBar* Bar(TWinControl* f, int x, int y, int w, int h, Integer pos)
{
    auto* b = new TVodProgressBar(f);
    b->SetParent(f);
    b->SetBounds(x, y, w, h);
    b->SetPosition(pos);
    return b;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = DemoSeconds(argc, argv);
    if (!StartDemoBackend("chromedemo")) return 1;
    VodLibraryStartup();
    InitForms();
    auto* form = new TDemoForm(Application);
    form->Init();
    std::unique_ptr<TBitmap> blue(Glyph(TColor(0xD07030))), green(Glyph(TColor(0x30A040)));

    // Row 1: the states of one look (Office 2007 Luna).
    Caption(form, 10, 8, L"States (Luna look):");
    TVodToolButton* normal = Button(form, 10, 28, 80, 28, L"Normal");
    normal->SetGlyph(blue.get());
    TVodToolButton* hot = Button(form, 96, 28, 80, 28, L"Hot");
    hot->SetGlyph(blue.get());
    TVodToolButton* down = Button(form, 182, 28, 80, 28, L"Down");
    down->SetGroupIndex(1);
    down->SetDown(true);
    TVodToolButton* checked = Button(form, 268, 28, 80, 28, L"Checked");
    checked->SetStyle(tasCheck);
    checked->SetDown(true);
    TVodToolButton* disabled = Button(form, 354, 28, 80, 28, L"Disabled");
    disabled->SetGlyph(blue.get());
    disabled->SetEnabled(false);

    // Row 2: drop-down arrow and split, glyph left and top, rounded and square.
    Caption(form, 10, 66, L"Drop-down, layouts, frames:");
    TVodToolButton* arrow = Button(form, 10, 86, 90, 28, L"Arrow");
    arrow->SetDropDownButton(true);
    arrow->SetDropDownSplit(false);
    TVodToolButton* split = Button(form, 106, 86, 90, 28, L"Split");
    split->SetDropDownButton(true);
    TVodToolButton* left = Button(form, 202, 86, 80, 28, L"Left");
    left->SetGlyph(green.get());
    TVodToolButton* top = Button(form, 288, 78, 60, 46, L"Top");
    top->SetGlyph(green.get());
    top->SetLayout(blGlyphTop);
    TVodToolButton* rounded = Button(form, 354, 86, 80, 28, L"Rounded", 12);
    TVodToolButton* square = Button(form, 440, 86, 80, 28, L"Square", 18);
    (void)left, (void)rounded, (void)square;

    // Row 3: two other looks.
    Caption(form, 10, 132, L"Office 2003 blue and Office 2016 black looks:");
    Button(form, 10, 152, 100, 28, L"2003 blue", 2)->SetGlyph(blue.get());
    Button(form, 116, 152, 100, 28, L"2003 hot", 2)->Perform(CM_MOUSEENTER);
    Button(form, 222, 152, 100, 28, L"2016 black", 24)->Font()->SetColor(TColor(0xFFFFFF));

    // Progress bars.
    Caption(form, 10, 196, L"Progress bars: levels, stacked, blocks, smooth, vertical, endless:");
    Bar(form, 10, 218, 200, 18, 30);
    Bar(form, 10, 242, 200, 18, 80);
    Bar(form, 10, 266, 200, 18, 95);
    TVodProgressBar* stacked = Bar(form, 10, 290, 200, 18, 100);
    stacked->SetStacked(true);
    stacked->SetShowPosition(false);
    TVodProgressBar* blocks = Bar(form, 230, 218, 200, 18, 60);
    blocks->SetShowGradient(false);
    blocks->SetShowPosition(false);
    blocks->SetRounded(false);
    TVodProgressBar* smooth = Bar(form, 230, 242, 200, 18, 60);
    smooth->SetCompletionSmooth(true);
    TVodProgressBar* zones = Bar(form, 230, 266, 200, 18, 40);
    zones->SetLevel0BkColor(TColor(0xE0FFE0));
    zones->SetLevel1BkColor(TColor(0xD0FFFF));
    zones->SetLevel2BkColor(TColor(0xD0D0FF));
    zones->SetShowPosition(false);
    TVodProgressBar* endless = Bar(form, 230, 290, 200, 18, 0);
    endless->SetShowPosition(false);
    endless->SetInfinite(true);
    endless->SetInfiniteInterval(100);
    endless->SetAnimated(true);
    TVodProgressBar* vertical = Bar(form, 450, 218, 26, 120, 65);
    vertical->SetOrientation(goVertical);
    vertical->SetFont(vertical->Font());
    vertical->Font()->SetSize(8);

    // The popup menu with an Office styler.
    auto* styler = new TVodMenuOfficeStyler(form);
    styler->SetStyle(osOffice2003Blue);
    styler->SideBar()->SetVisible(true);
    styler->SideBar()->SetVisibleIn(viFirstLevel);
    styler->SideBar()->SetCaption(L"Velmora");
    styler->SideBar()->SetSize(26);
    styler->SideBar()->Background()->SetColor(TColor(0x7A3A10));
    styler->SideBar()->Background()->SetColorTo(TColor(0xD0A070));
    styler->SideBar()->Font()->SetSize(12);
    auto* images = new TImageList(form);
    for (TColor c : {TColor(0xD07030), TColor(0x30A040), TColor(0x3050D0)}) {
        std::unique_ptr<TBitmap> g(Glyph(c));
        images->AddMasked(g.get(), clWhite);
    }
    auto* menu = new TVodPopupMenu(form);
    menu->SetMenuStyler(styler);
    menu->SetImages(images);
    auto add = [&](TMenuItem* parent, const String& caption) {
        auto* it = new TMenuItem(form);
        it->SetCaption(caption);
        parent->Add(it);
        return it;
    };
    TMenuItem* open = add(menu->Items(), L"&Open video");
    open->SetImageIndex(0);
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    add(menu->Items(), L"&Save\\nto the download folder")->SetImageIndex(1);
    add(menu->Items(), L"-");
    TMenuItem* autoStart = add(menu->Items(), L"&Automatic start");
    autoStart->SetChecked(true);
    TMenuItem* hq = add(menu->Items(), L"&High quality");
    hq->SetRadioItem(true);
    hq->SetChecked(true);
    add(menu->Items(), L"&Normal quality")->SetRadioItem(true);
    add(menu->Items(), L"-");
    TMenuItem* fmt = add(menu->Items(), L"Output &format");
    add(fmt, L"FLV");
    add(fmt, L"AVI");
    TMenuItem* remove = add(menu->Items(), L"&Remove");
    remove->SetEnabled(false);
    remove->SetShortCut(ShortCut(VK_DELETE, TShiftState{}));
    TMenuItem* exitItem = add(menu->Items(), L"E&xit");
    exitItem->SetImageIndex(2);
    exitItem->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
    menu->Loaded();

    form->Show();
    // Hot looks as under the mouse.
    hot->Perform(CM_MOUSEENTER);

    // The menu opens by code once the window is on the desktop; while it
    // waits for input it announces itself and, when the time is up, closes.
    static std::function<void()> onIdle;
    static WNDPROC listProc;
    HWND listWnd = PopupList()->Window();
    listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(listWnd, GWLP_WNDPROC));
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_ENTERIDLE && onIdle) onIdle();
        return CallWindowProc(listProc, h, m, w, l);
    }));
    const DWORD start = GetTickCount();
    bool announced = false;
    auto* sdl = dynamic_cast<TSdlBackend*>(&Backend());
    onIdle = [&] {
        if (!announced && FindWindow(L"#32768", nullptr)) {
            WmUpdateAllWindows();
            if (sdl) sdl->Flush();
            const TPoint o = form->ClientOrigin();
            std::printf("POINT normal-face %d %d %06x\n", 14, 31, 0xC8DBEE);
            std::printf("POINT progress-background %d %d %06x\n", 420, 227, 0xFFFFFF);
            std::printf("READY %d %d %d %d\n", o.X, o.Y, form->ClientWidth(), form->ClientHeight());
            std::fflush(stdout);
            announced = true;
        }
        if (sdl) sdl->PumpEvents(20);
        if (int32_t(GetTickCount() - start) > seconds * 1000) EndMenu();
    };
    // A busy queue may leave the menu loop no idle moment: a timer looks too.
    auto* look = new TTimer(form);
    look->SetInterval(250);
    look->SetOnTimer([&](TObject*) { onIdle(); });
    bool opened = false;
    RunDemoLoop(form, seconds, [&] {
        if (opened) return;
        opened = true;
        const TPoint at = form->ClientToScreen(TPoint{600, 20});
        menu->Popup(at.X, at.Y);
    });
    look->SetEnabled(false);
    onIdle = nullptr;
    SetWindowLongPtr(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
