// The string grid's own painting at scale. A full repaint of a grid of
// 1,000,000 rows and 20 columns (40 rows in view; mixed texts and numbers,
// bands, merged cells, hidden columns outside the view) should cost within
// 1.2 times the same repaint of a 100-row grid showing the same cells; and
// scrolling down by one row (the pixels move, only the row that came into
// view is painted) at most 1/5 of a full repaint of the same view. Rounds
// interleave the sides; medians and ratios are printed (and reported as
// counters).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
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

constexpr int kRowHeight = 20, kVisibleRows = 40;

struct TSetup : TBenchForm {
    TSetup() : TBenchForm(1400, 900) {}
    // Rows 1..40 of both grids hold the same cells; the large grid's other
    // rows hold texts of their own, and columns 18 and 19 (never in view)
    // are hidden.
    TVodStringGrid* NewGrid(int rows, int left)
    {
        auto* g = new TVodStringGrid(Form);
        g->SetParent(Form);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetColCount(20);
        g->SetRowCount(rows);
        g->SetDefaultRowHeight(kRowHeight);
        g->SetDefaultColWidth(60);
        // 41 rows (the fixed one and 40 more) fill the height exactly.
        g->SetBounds(left, 0, 690, (kVisibleRows + 1) * kRowHeight);
        for (int r = 1; r < std::min(rows, kVisibleRows + 5); ++r)
            for (int c = 0; c < 20; ++c)
                g->SetCells(c, r, c % 3 == 0 ? IntToStr(r * 7 + c) : c % 3 == 1 ? FormatFloat(L"0.00", r * 1.5 + c)
                                                                               : L"Text R" + IntToStr(r) + L"C" + IntToStr(c));
        for (int r = kVisibleRows + 5; r < rows; r += 997) g->SetCells(2, r, L"far " + IntToStr(r));
        g->MergeCells(4, 3, 2, 3);
        g->MergeCells(8, 20, 3, 2);
        g->Bands()->SetPrimaryColor(TColor(0xF0E8E0));
        g->Bands()->SetActive(true);
        g->HideColumns(18, 19);
        return g;
    }
};

void PaintAll(TVodStringGrid* g)
{
    g->Invalidate();
    UpdateWindow(g->Handle());
}

void BM_GridPaintFullRepaint(benchmark::State& state)
{
    TSetup s;
    TVodStringGrid* small = s.NewGrid(100, 0);
    TVodStringGrid* large = s.NewGrid(1000000, 700);
    s.Form->Init();
    s.Form->Show();
    UpdateWindow(s.Form->Handle());
    auto paint = [&](TVodStringGrid* g) { return Microseconds([&] { PaintAll(g); }); };
    std::vector<double> a, b;
    int round = 0;
    for (auto _ : state) {
        if (round++ % 2) {
            b.push_back(paint(large));
            a.push_back(paint(small));
        } else {
            a.push_back(paint(small));
            b.push_back(paint(large));
        }
    }
    const double ma = Median(a), mb = Median(b);
    state.counters["small_us"] = ma;
    state.counters["large_us"] = mb;
    state.counters["ratio"] = ma > 0 ? mb / ma : 0;
    std::printf("Grid full repaint, 1,000,000 x 20: %.1f us, 100 x 20 showing the same cells: %.1f us, "
                "ratio %.3f (goal <= 1.2)\n",
                mb, ma, ma > 0 ? mb / ma : 0);
}
BENCHMARK(BM_GridPaintFullRepaint)->Iterations(60)->Unit(benchmark::kMicrosecond);

void BM_GridPaintScrollOneRow(benchmark::State& state)
{
    TSetup s;
    TVodStringGrid* g = s.NewGrid(1000000, 0);
    s.Form->Init();
    s.Form->Show();
    UpdateWindow(g->Handle());
    std::vector<double> full, scroll;
    int round = 0;
    for (auto _ : state) {
        auto scrollOne = [&] {
            return Microseconds([&] {
                g->SetTopRow(g->TopRow() + 1);
                UpdateWindow(g->Handle());
            });
        };
        if (round++ % 2) {
            full.push_back(Microseconds([&] { PaintAll(g); }));
            scroll.push_back(scrollOne());
        } else {
            scroll.push_back(scrollOne());
            full.push_back(Microseconds([&] { PaintAll(g); }));
        }
        // Back to the same cells now and then (not timed).
        if (g->TopRow() >= 20) {
            g->SetTopRow(1);
            UpdateWindow(g->Handle());
        }
    }
    const double mf = Median(full), ms = Median(scroll);
    state.counters["full_us"] = mf;
    state.counters["scroll_us"] = ms;
    state.counters["ratio"] = mf > 0 ? ms / mf : 0;
    std::printf("Grid scroll by one row: %.1f us, full repaint of the same view: %.1f us, ratio %.3f "
                "(goal <= 0.2)\n",
                ms, mf, mf > 0 ? ms / mf : 0);
}
BENCHMARK(BM_GridPaintScrollOneRow)->Iterations(80)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
