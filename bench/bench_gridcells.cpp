// The base grid's cell model at scale. Painting one screen of a grid of
// 1,000,000 rows with a merged area in view should cost within 1.2 times the
// same screen of a 100-row grid, at the start and scrolled to the last row;
// writing and reading 10,000,000 cell texts through the merge-aware
// SetCellEx/GetCellEx within 2 times the platform grid's SetCells/Cells in
// the same run; and a million merge queries on cells without property blocks
// allocate nothing. Rounds interleave the sides; medians and ratios are
// printed (and reported as counters).
//
// BENCH_CELLS sets the number of cell texts (default 10,000,000).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "controls/grid/BaseGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "BenchForm.h"
#include "BenchStats.h"

// Allocations are counted while a measurement asks for it.
static std::atomic<bool> GCounting{false};
static std::atomic<long long> GAllocations{0};

// (The replaced operators pair malloc with free; GCC cannot see that.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n)
{
    if (GCounting.load(std::memory_order_relaxed)) GAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double Microseconds(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

class TBenchGrid : public TBaseGrid {
public:
    explicit TBenchGrid(TComponent* o) : TBaseGrid(o) {}
    bool IsNode(Integer) override { return false; }
    bool IsSummary(Integer) override { return false; }
    bool CellHasCheckBox(Integer, Integer) override { return false; }
    void SetCheckBoxFromText(Integer c, Integer r, const String& v) override { SetCellEx(c, r, v); }
    bool IsFixed(Integer c, Integer r) override { return c < FixedCols() || r < FixedRows(); }
    void GetVisualProperties(Integer, Integer, TGridDrawState& st, bool, bool, bool, TBrush* b, TColor&, TColor&,
                             TColor&, TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&) override
    {
        b->SetColor(st.Contains(gdFixed) ? FixedColor() : Color());
    }
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
        // The same texts on the first and the last screens of both grids,
        // and a merged area in view on each.
        for (int r : {1, rows - 40}) {
            for (int rr = std::max(1, r); rr < std::min(rows, r + 40); ++rr)
                for (int c = 1; c < 20; ++c) g->SetCellEx(c, rr, L"R" + IntToStr(rr % 100) + L"C" + IntToStr(c));
            g->MergeCells(3, r + 2, 3, 4);
        }
        return g;
    }
};

void BM_BaseGridRepaint(benchmark::State& state)
{
    TSetup s;
    TBenchGrid* small = s.NewGrid(100);
    TBenchGrid* large = s.NewGrid(1000000);
    s.Form->Init();
    s.Form->Show();
    const bool atEnd = state.range(0) != 0;
    if (atEnd) {
        small->SetTopRow(100 - 40);
        large->SetTopRow(1000000 - 40);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 1400, 900);
    HGDIOBJ old = SelectObject(dc, bmp);
    auto paint = [&](TBenchGrid* g) { g->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0); };
    std::vector<double> a, b;
    int round = 0;
    for (auto _ : state) {
        if (round++ % 2) {
            b.push_back(Microseconds([&] { paint(large); }));
            a.push_back(Microseconds([&] { paint(small); }));
        } else {
            a.push_back(Microseconds([&] { paint(small); }));
            b.push_back(Microseconds([&] { paint(large); }));
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    const double ma = Median(a), mb = Median(b);
    state.counters["small_us"] = ma;
    state.counters["large_us"] = mb;
    state.counters["ratio"] = ma > 0 ? mb / ma : 0;
    std::printf("Base grid repaint, 1,000,000 rows %s: %.1f us, 100 rows: %.1f us, ratio %.3f (goal <= 1.2)\n",
                atEnd ? "scrolled to its last row" : "at its start", mb, ma, ma > 0 ? mb / ma : 0);
}
BENCHMARK(BM_BaseGridRepaint)->Arg(0)->Arg(1)->Iterations(40)->Unit(benchmark::kMicrosecond);

void BM_CellTexts(benchmark::State& state)
{
    TSetup s;
    const long long cells = EnvNumber("BENCH_CELLS", 10000000);
    constexpr int kCols = 100;
    const int rows = int((cells + kCols - 1) / kCols);
    auto* ours = new TBenchGrid(s.Form);
    ours->SetColCount(kCols);
    ours->SetRowCount(rows);
    auto* peer = new TStringGrid(s.Form);
    peer->SetColCount(kCols);
    peer->SetRowCount(rows);
    const String text = L"cell";
    size_t sink = 0;
    for (auto _ : state) {
        const auto [a, b] = TimeSideBySide(
            size_t(cells) * 2,
            [&] {
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < kCols; ++c) ours->SetCellEx(c, r, text);
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < kCols; ++c) sink += ours->GetCellEx(c, r).size();
            },
            [&] {
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < kCols; ++c) peer->SetCells(c, r, text);
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < kCols; ++c) sink += peer->Cells(c, r).size();
            },
            5);
        state.counters["ours_ns"] = a;
        state.counters["peer_ns"] = b;
        state.counters["ratio"] = b > 0 ? a / b : 0;
        std::printf("%lld cell texts written and read: SetCellEx/GetCellEx %.1f ns, SetCells/Cells %.1f ns per "
                    "operation, ratio %.3f (goal <= 2)\n", cells, a, b, b > 0 ? a / b : 0);
    }
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_CellTexts)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MergeQueriesAllocateNothing(benchmark::State& state)
{
    TSetup s;
    auto* g = new TBenchGrid(s.Form);
    g->SetColCount(100);
    g->SetRowCount(10000);
    g->MergeCells(1, 1, 2, 2);  // blocks exist, but not where the queries go
    long long sink = 0;
    for (auto _ : state) {
        GAllocations = 0;
        GCounting = true;
        for (int i = 0; i < 1000000; ++i) {
            const int c = 10 + i % 90, r = 10 + i % 9990;
            sink += g->BaseCell(c, r).X + g->CellSpan(c, r).Y + g->IsMergedCell(c, r) + g->IsBaseCell(c, r) +
                    g->CellExt(c, r).X + g->FullCell(c, r).Right;
        }
        GCounting = false;
        state.counters["allocations"] = double(GAllocations.load());
        std::printf("A million merge queries on cells without blocks: %lld allocations (goal 0)\n",
                    GAllocations.load());
    }
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_MergeQueriesAllocateNothing)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
