// The string grid at a million rows against one of a hundred: repainting a
// 1,000,000 x 20 grid (at its start and scrolled to its last row) should cost
// within 1.2 times repainting a 100 x 20 grid of the same size on screen, and
// moving the first of 1,000,000 rows to the end within 2 times std::rotate
// over 1,000,000 pointers. Rounds interleave the sides; medians and ratios
// are printed (and reported as counters).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "BenchForm.h"
#include "BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double Microseconds(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

class TBenchGrid : public TStringGrid {
public:
    explicit TBenchGrid(TComponent* o) : TStringGrid(o) {}
    using TCustomGrid::MoveRow;
};

struct TSetup : TBenchForm {
    TSetup() : TBenchForm(1400, 900) {}
    TBenchGrid* NewGrid(int rows)
    {
        auto* g = new TBenchGrid(Form);
        g->SetParent(Form);
        g->SetBounds(0, 0, 1380, 880);
        g->SetColCount(20);
        g->SetRowCount(rows);
        // Texts where both grids show them: the first and the last screens.
        for (int r : {0, rows - 60}) {
            for (int rr = std::max(0, r); rr < std::min(rows, r + 60); ++rr)
                for (int c = 0; c < 20; ++c) g->SetCells(c, rr, L"R" + IntToStr(rr % 100) + L"C" + IntToStr(c));  // same texts in both
        }
        return g;
    }
};

void BM_GridRepaint(benchmark::State& state)
{
    TSetup s;
    TBenchGrid* small = s.NewGrid(100);
    TBenchGrid* large = s.NewGrid(1000000);
    s.Form->Init();
    s.Form->Show();
    const bool atEnd = state.range(0) != 0;
    if (atEnd) {
        small->Perform(WM_VSCROLL, SB_BOTTOM, 0);
        large->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 1400, 900);
    HGDIOBJ old = SelectObject(dc, bmp);
    auto paint = [&](TBenchGrid* g) { g->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0); };
    std::vector<double> a, b;
    for (auto _ : state) {
        a.push_back(Microseconds([&] { paint(small); }));
        b.push_back(Microseconds([&] { paint(large); }));
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    const double ma = Median(a), mb = Median(b);
    state.counters["small_us"] = ma;
    state.counters["large_us"] = mb;
    state.counters["ratio"] = ma > 0 ? mb / ma : 0;
    std::printf("Repaint 1,000,000 x 20 %s: %.1f us, 100 x 20: %.1f us, ratio %.3f (goal <= 1.2)\n",
                atEnd ? "scrolled to its last row" : "at its start", mb, ma, ma > 0 ? mb / ma : 0);
}
BENCHMARK(BM_GridRepaint)->Arg(0)->Arg(1)->Iterations(60)->Unit(benchmark::kMicrosecond);

void BM_GridMoveRow(benchmark::State& state)
{
    TSetup s;
    constexpr int kRows = 1000000;
    auto* g = new TBenchGrid(s.Form);
    g->SetParent(s.Form);
    g->SetColCount(2);
    g->SetRowCount(kRows);
    g->SetUpdating(true);
    for (int r = 0; r < kRows; ++r) g->SetCells(1, r, L"x");
    g->SetUpdating(false);
    std::vector<void*> ptrs(kRows);
    for (int i = 0; i < kRows; ++i) ptrs[size_t(i)] = &ptrs[size_t(i)];
    std::vector<double> a, b;
    for (auto _ : state) {
        a.push_back(Microseconds([&] { std::rotate(ptrs.begin(), ptrs.begin() + 1, ptrs.end()); }));
        b.push_back(Microseconds([&] { g->MoveRow(0, kRows - 1); }));
        benchmark::DoNotOptimize(ptrs.data());
    }
    const double ma = Median(a), mb = Median(b);
    state.counters["rotate_us"] = ma;
    state.counters["moverow_us"] = mb;
    state.counters["ratio"] = ma > 0 ? mb / ma : 0;
    std::printf("MoveRow first of 1,000,000 to the end: %.1f us, std::rotate of 1,000,000 pointers: %.1f us, "
                "ratio %.3f (goal <= 2)\n", mb, ma, ma > 0 ? mb / ma : 0);
}
BENCHMARK(BM_GridMoveRow)->Iterations(60)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
