// The chrome controls against their peers, on the headless desktop:
//  - painting every item of an open 40-item popup menu (vertical background
//    gradient, icon bar; each item paints only its own strips) against one
//    MenuGradientFill over the whole popup window: goal within 1.5 times;
//  - a hot 55 x 55 flat tool button with a gradient face, a glyph and a
//    caption against the platform's TSpeedButton of the same size with the
//    same glyph and caption: goal within 2 times.
// Rounds alternate between ours and the peer; medians and ratios are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "BenchStats.h"

namespace {

struct TDesk {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    TForm* Form;
    TDesk()
    {
        VodLibraryStartup();
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBounds(50, 50, 600, 400);
        Form->Show();
    }
    ~TDesk()
    {
        DoneForms();
        Drv.reset();
    }
};

std::function<void(HWND)> gOnIdle;
WNDPROC gListProc = nullptr;

LRESULT IdleHook(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_ENTERIDLE && gOnIdle) {
        auto f = gOnIdle;
        gOnIdle = nullptr;
        f(reinterpret_cast<HWND>(l));
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
        return 0;
    }
    return CallWindowProc(gListProc, h, m, w, l);
}

void BM_PopupItemsAgainstOneGradientFill(benchmark::State& state)
{
    TDesk desk;
    auto* menu = new TVodPopupMenu(desk.Form);
    auto* styler = new TVodMenuOfficeStyler(desk.Form);
    menu->SetMenuStyler(styler);
    styler->Background()->SetColor(TColor(0xFFFFFF));
    styler->Background()->SetColorTo(TColor(0x906040));
    for (int i = 0; i < 40; ++i) {
        auto* it = new TMenuItem(desk.Form);
        it->SetCaption(L"Item number " + std::to_wstring(i));
        menu->Items()->Add(it);
    }
    const HWND list = PopupList()->Window();
    gListProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(list, GWLP_WNDPROC));
    SetWindowLongPtr(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleHook));
    double ours = 0, peer = 0;
    int items = 0;
    gOnIdle = [&](HWND w) {
        TRect client;
        GetClientRect(w, &client);
        HDC dc = GetDC(w);
        TCanvas canvas;
        canvas.SetHandle(dc);
        auto paintItems = [&] {
            items = 0;
            for (int i = 0; i < menu->Items()->Count(); ++i) {
                TMenuItem* it = menu->Items()->Items(i);
                TRect r;
                GetMenuItemRect(nullptr, menu->Items()->Handle(), UINT(i), &r);
                TPoint o{r.Left, r.Top};
                ScreenToClient(w, &o);
                menu->AdvancedDrawItem(it, &canvas, TRect{o.X, o.Y, o.X + r.Width(), o.Y + r.Height()}, TOwnerDrawState{});
                ++items;
            }
        };
        auto oneFill = [&] { MenuGradientFill(&canvas, client, TColor(0xFFFFFF), TColor(0x906040), gdVertical); };
        for (auto _ : state) {
            auto [a, b] = TimeSideBySide(1, paintItems, oneFill, 11);
            ours = a;
            peer = b;
        }
        canvas.SetHandle(nullptr);
        ReleaseDC(w, dc);
    };
    menu->Popup(100, 60);
    SetWindowLongPtr(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gListProc));
    state.counters["items_us"] = ours / 1000;
    state.counters["fill_us"] = peer / 1000;
    state.counters["ratio"] = peer > 0 ? ours / peer : 0;
    std::printf("Painting %d popup items: %.1f us, one MenuGradientFill over the window %.1f us, ratio %.2f "
                "(goal <= 1.5)\n",
                items, ours / 1000, peer / 1000, peer > 0 ? ours / peer : 0);
}
BENCHMARK(BM_PopupItemsAgainstOneGradientFill)->Iterations(1)->Unit(benchmark::kMillisecond);

TBitmap* Glyph()
{
    auto* b = new TBitmap(16, 16);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(TRect{0, 0, 16, 16});
    b->Canvas()->Brush()->SetColor(TColor(0x3060D0));
    b->Canvas()->Ellipse(1, 1, 15, 15);
    return b;
}

void BM_HotToolButtonAgainstSpeedButton(benchmark::State& state)
{
    TDesk desk;
    std::unique_ptr<TBitmap> glyph(Glyph());
    auto* ours = new TVodToolButton(desk.Form);
    ours->SetParent(desk.Form);
    ours->SetBounds(10, 10, 55, 55);
    ours->SetLook(8);   // gradient faces
    ours->SetGlyph(glyph.get());
    ours->SetCaption(L"Add");
    ours->SetLayout(blGlyphTop);
    ours->Perform(CM_MOUSEENTER);
    auto* peer = new TSpeedButton(desk.Form);
    peer->SetParent(desk.Form);
    peer->SetBounds(80, 10, 55, 55);
    peer->SetFlat(true);
    peer->SetGlyph(glyph.get());
    peer->SetCaption(L"Add");
    peer->SetLayout(blGlyphTop);
    peer->Perform(CM_MOUSEENTER);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 55, 55);
    HGDIOBJ old = SelectObject(dc, bmp);
    const size_t ops = 200;
    double a = 0, b = 0;
    for (auto _ : state) {
        auto r = TimeSideBySide(
            ops, [&] { for (size_t i = 0; i < ops; ++i) ours->Perform(WM_PAINT, WPARAM(dc), 0); },
            [&] { for (size_t i = 0; i < ops; ++i) peer->Perform(WM_PAINT, WPARAM(dc), 0); });
        a = r.first;
        b = r.second;
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    state.counters["toolbutton_us"] = a / 1000;
    state.counters["speedbutton_us"] = b / 1000;
    state.counters["ratio"] = b > 0 ? a / b : 0;
    std::printf("Hot 55x55 tool button paint: %.1f us, TSpeedButton %.1f us, ratio %.2f (goal <= 2)\n", a / 1000,
                b / 1000, b > 0 ? a / b : 0);
}
BENCHMARK(BM_HotToolButtonAgainstSpeedButton)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
