// The panels' two performance goals, each as a ratio against its peer in the
// same run, rounds alternating, medians reported:
// - a panel whose caption is shaded with noise repaints 100 times within 1.1
//   times the cost of the same panel with a solid caption (the shaded bitmap
//   is made only when its inputs change);
// - a group of 1,000 panels in three columns re-arranges after one collapse
//   within 15 times the cost for 100 panels (no quadratic sort, no
//   re-entrant re-arrangement).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "BenchStats.h"
#include "controls/chrome/VodPanel.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

struct TScene {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    TForm* Form = nullptr;
    TScene()
    {
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 1200, 800);
        Form->Show();
    }
    ~TScene()
    {
        delete Form;
        DoneForms();
    }
};

TVodPanel* CaptionPanel(TForm* f, TShadeType shade)
{
    auto* p = new TVodPanel(f);
    p->SetParent(f);
    p->SetBounds(10, 10, 600, 300);
    p->Caption()->SetVisible(true);
    p->Caption()->SetText(L"<b>Caption</b>");
    p->Caption()->SetShadeType(shade);
    p->SetText(L"Body text with <b>markup</b>.");
    p->HandleNeeded();
    return p;
}

void BM_NoiseCaptionRepaint(benchmark::State& state)
{
    TScene scene;
    TVodPanel* noise = CaptionPanel(scene.Form, stNoise);
    TVodPanel* solid = CaptionPanel(scene.Form, stNormal);
    double ratio = 0, a = 0, b = 0;
    for (auto _ : state) {
        std::tie(a, b) = TimeSideBySide(
            100, [&] { for (int i = 0; i < 100; ++i) noise->Repaint(); },
            [&] { for (int i = 0; i < 100; ++i) solid->Repaint(); }, 15);
        ratio = b > 0 ? a / b : 0;
    }
    state.counters["noise_us"] = a / 1000;
    state.counters["solid_us"] = b / 1000;
    state.counters["ratio"] = ratio;
    std::printf("repaint with a noise caption %.1f us, with a solid caption %.1f us: ratio %.3f (goal <= 1.1)\n",
                a / 1000, b / 1000, ratio);
}
BENCHMARK(BM_NoiseCaptionRepaint)->Iterations(1)->Unit(benchmark::kMillisecond);

// Collapsing and expanding a panel of the first row of a group of n panels in three
// columns: each change re-arranges the whole group once.
struct TGroupScene {
    TVodPanelGroup* Group;
    TCustomVodPanel* First;
    TGroupScene(TForm* f, int n)
    {
        Group = new TVodPanelGroup(f);
        Group->SetParent(f);
        Group->SetBounds(0, 0, 900, 700);
        Group->SetColumns(3);
        Group->DefaultPanel()->Caption()->SetVisible(true);
        Group->DefaultPanel()->SetHeight(60);
        Group->DefaultPanel()->SetWidth(200);
        Group->BeginUpdate();
        for (int i = 0; i < n; ++i) Group->AddPanel()->SetCollapsDelay(0);
        Group->EndUpdate();
        // The panel that ends the first row: every row below it moves.
        First = Group->Panels(2);
    }
    void Toggle() { First->SetCollaps(!First->Collaps()); }
};

void BM_GroupArrange(benchmark::State& state)
{
    TScene scene;
    TGroupScene small(scene.Form, 100), large(scene.Form, 1000);
    double ratio = 0, a = 0, b = 0;
    for (auto _ : state) {
        std::tie(a, b) = TimeSideBySide(2, [&] { large.Toggle(); large.Toggle(); },
                                        [&] { small.Toggle(); small.Toggle(); }, int(EnvNumber("BENCH_PANELS_ROUNDS", 11)));
        ratio = b > 0 ? a / b : 0;
    }
    state.counters["n1000_us"] = a / 1000;
    state.counters["n100_us"] = b / 1000;
    state.counters["ratio"] = ratio;
    std::printf("arranging after one collapse: 1000 panels %.1f us, 100 panels %.1f us: ratio %.2f (goal <= 15)\n",
                a / 1000, b / 1000, ratio);
}
BENCHMARK(BM_GroupArrange)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    VodLibraryStartup();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    VodLibraryShutdown();
    return 0;
}
