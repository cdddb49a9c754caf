// The downloader's main window on the library's controls, on the headless
// desktop: moving the mouse across its ten tool buttons, each hover step
// (the button left and the button entered repaint, and what the panels
// under them must redraw) against painting that one button alone through
// the same window path (invalidate it, let the window paint). Goal: each
// step within 2 times; the panels repaint only the invalidated area, never
// the whole window. Rounds alternate; medians and the ratio are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "BenchStats.h"
#include "app/MainWindow.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/base/Registry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

struct TWindow {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    std::string Config;
    TWindow()
    {
        // Settings go to a private store, not the user's.
        char tmpl[] = "/tmp/velbenchwinXXXXXX";
        Config = mkdtemp(tmpl) ? tmpl : "/tmp";
        ::setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
        RegistryStoreReset();
        VodLibraryStartup();
        InitForms();
        Application->CreateForm(_mainForm);
        _mainForm->Show();
        Drv->Activate(_mainForm->Handle());
        Drv->Pump();
        // Every button answers the mouse (the row buttons wait for an entry).
        for (TVodToolButton* b : Buttons()) b->SetEnabled(true);
        Drv->Pump();
    }
    ~TWindow()
    {
        DoneForms();
        _mainForm = nullptr;
        VodLibraryShutdown();
        std::error_code ec;
        std::filesystem::remove_all(Config, ec);
    }
    std::vector<TVodToolButton*> Buttons() const
    {
        T_mainForm* f = _mainForm;
        return {f->StartVodToolButton,    f->StopVodToolButton,     f->RemoveVodToolButton,
                f->PlayVodToolButton,     f->OpenVodToolButton,     f->HomepageVodToolButton,
                f->UpdateVodToolButton,   f->SupportVodToolButton,  f->HelpVodToolButton,
                f->ExitVodToolButton};
    }
    // The mouse onto the middle of a button.
    void Hover(TVodToolButton* b)
    {
        const TRect r = b->BoundsRect();
        Drv->MouseMoveWindow(b->Parent()->Handle(), TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Drv->Pump();
    }
};

void BM_HoverStepAgainstOneButtonPaint(benchmark::State& state)
{
    TWindow w;
    const auto buttons = w.Buttons();
    const size_t laps = 20, ops = laps * buttons.size();
    double a = 0, b = 0;
    for (auto _ : state) {
        auto r = TimeSideBySide(
            ops,
            [&] {
                for (size_t lap = 0; lap < laps; ++lap)
                    for (TVodToolButton* t : buttons) w.Hover(t);
            },
            [&] {
                for (size_t lap = 0; lap < laps; ++lap)
                    for (TVodToolButton* t : buttons) {
                        t->Invalidate();
                        w.Drv->Pump();
                    }
            });
        a = r.first;
        b = r.second;
    }
    state.counters["hover_step_us"] = a / 1000;
    state.counters["one_button_us"] = b / 1000;
    state.counters["ratio"] = b > 0 ? a / b : 0;
    std::printf("Hover step across the main window's ten tool buttons: %.1f us, painting one button %.1f us, "
                "ratio %.2f (goal <= 2)\n",
                a / 1000, b / 1000, b > 0 ? a / b : 0);
}
BENCHMARK(BM_HoverStepAgainstOneButtonPaint)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
