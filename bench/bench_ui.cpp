// The window system under load: a form with 200 child controls, painted in
// full and resized once, on the headless backend.
#include <benchmark/benchmark.h>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TCell : public TCustomControl {
public:
    explicit TCell(TComponent* owner) : TCustomControl(owner) {}

protected:
    void PaintWindow(HDC DC) override
    {
        TRect r = ClientRect();
        HBRUSH b = CreateSolidBrush(RGB(Byte(Left()), Byte(Top()), 128));
        FillRect(DC, &r, b);
        DeleteObject(b);
    }
};

// 200 controls: 20 rows of 10, the rows in aligned bands, the cells
// anchored inside them.
TForm* BuildForm()
{
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsSizeable);
    f->SetBounds(0, 0, 800, 600);
    for (int row = 0; row < 20; ++row) {
        auto* band = new TCell(f);
        band->SetParent(f);
        band->SetAlign(alTop);
        band->SetHeight(25);
        band->SetTop(row * 25 + 1);
        for (int col = 0; col < 9; ++col) {
            auto* cell = new TCell(f);
            cell->SetParent(band);
            cell->SetBounds(col * 80 + 2, 2, 76, 21);
            if (col == 8) cell->SetAnchors(TAnchors{akLeft, akTop, akRight});
        }
    }
    f->Init();
    return f;
}

struct TUiFixture {
    THeadlessDriver Driver;
    TForm* Form;
    TUiFixture()
    {
        InitForms();
        Form = BuildForm();
        Form->Show();
        Driver.Pump();
    }
    ~TUiFixture() { DoneForms(); }
};

void BM_FullRepaint200(benchmark::State& state)
{
    TUiFixture fx;
    for (auto _ : state) {
        RedrawWindow(fx.Form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    state.counters["controls"] = double(fx.Form->ControlCount() * 10);
}
BENCHMARK(BM_FullRepaint200)->Unit(benchmark::kMillisecond);

void BM_Resize200(benchmark::State& state)
{
    TUiFixture fx;
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        fx.Form->SetBounds(0, 0, wide ? 900 : 800, wide ? 650 : 600);
        fx.Driver.Pump();  // layout, then the repaint it causes
    }
}
BENCHMARK(BM_Resize200)->Unit(benchmark::kMillisecond);

void BM_CreateAndDestroy200(benchmark::State& state)
{
    THeadlessDriver driver;
    InitForms();
    for (auto _ : state) {
        TForm* f = BuildForm();
        f->Show();
        driver.Pump();
        delete f;
    }
    DoneForms();
}
BENCHMARK(BM_CreateAndDestroy200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
