// Hidden rows and row removal at scale, on a string grid of 1,000,000 rows:
//
// - hiding 100,000 scattered rows as one list level, and showing them again,
//   each within 3 times one pass that moves the row table;
// - with those rows hidden, painting the last screen within 1.2 times
//   painting the first (the display-real mapping answers by search);
// - removing a run of 100,000 rows from the middle (RemoveRows, and
//   DeleteGridRow) within 2 times one pass that moves the row table;
// - RemoveDuplicates over 1,000,000 rows within 2 times a hash-set pass over
//   the same texts.
//
// "One pass that moves the row table" is measured twice: as the grid's own
// move of its first row to the end (every row record moves one place, in one
// rotation of the table), and as a pass that moves every row to its
// neighbour one row at a time through the store (each row's texts and
// objects taken from one row and put into the next). Both ratios are
// printed. Rounds interleave the sides; medians.
//
// BENCH_ROWS sets the number of rows (default 1,000,000).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <unordered_set>
#include <vector>

#include "BenchForm.h"
#include "BenchStats.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double Millis(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class TBenchRowsGrid : public TVodStringGrid {
public:
    explicit TBenchRowsGrid(TComponent* o) : TVodStringGrid(o) {}
    using TVodStringGrid::FFilterLevel;
    // The grid's own one-pass move of the whole row table.
    void RotateTable() { TCustomGrid::MoveRow(0, RowCount() - 1); }
    // Every row moves to its neighbour, one row at a time, through the store.
    void StepTable()
    {
        const Integer n = RowCount();
        MoveStoreRow(0, n);
        for (Integer r = 1; r <= n; ++r) MoveStoreRow(r, r - 1);
    }
};

struct TSetup : TBenchForm {
    TBenchRowsGrid* Grid = nullptr;
    Integer Rows;
    explicit TSetup(Integer rows) : TBenchForm(900, 700), Rows(rows)
    {
        Grid = new TBenchRowsGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 880, 680);
        Grid->SetColCount(4);
        Grid->SetRowCount(rows);
        for (Integer r = 1; r < rows; ++r) {
            Grid->SetCells(1, r, L"row " + IntToStr(r));
            Grid->SetCells(2, r, IntToStr(r % 977));
        }
        Form->Init();
        Form->Show();
    }
};

// The peers, both of them, beside one of ours.
struct TRatios {
    std::vector<double> Ours, Rotate, Step;
    void Print(const char* what, double goal) const
    {
        const double o = Median(Ours), r = Median(Rotate), s = Median(Step);
        std::printf("%s: %.2f ms; table rotation %.2f ms (ratio %.2f), row-by-row pass %.2f ms (ratio %.2f); goal <= %.1f\n",
                    what, o, r, r > 0 ? o / r : 0, s, s > 0 ? o / s : 0, goal);
    }
};

void BM_HideAndShowScatteredRows(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)));
    TBenchRowsGrid* g = s.Grid;
    // 100,000 scattered rows (a tenth of them), ascending.
    std::mt19937 rng(3);
    std::vector<Integer> rows;
    for (Integer r = 1; r < s.Rows; ++r)
        if (rng() % 10 == 0) rows.push_back(r);
    TRatios hide, show;
    int round = 0;
    for (auto _ : state) {
        auto peers = [&](TRatios& t) {
            t.Rotate.push_back(Millis([&] { g->RotateTable(); }));
            t.Step.push_back(Millis([&] { g->StepTable(); }));
        };
        TIntList list(0, 0);
        for (Integer r : rows) list.Add(r);
        if (round % 2) peers(hide);
        hide.Ours.push_back(Millis([&] { g->HideRowList(&list); }));
        if (!(round % 2)) peers(hide);
        if (round % 2) peers(show);
        show.Ours.push_back(Millis([&] { g->UnHideRowList(); }));
        --g->FFilterLevel;
        if (!(round % 2)) peers(show);
        ++round;
    }
    std::printf("(%zu of %d rows hidden as one level)\n", rows.size(), s.Rows);
    hide.Print("HideRowList", 3);
    show.Print("UnHideRowList", 3);
    state.counters["hide_ms"] = Median(hide.Ours);
    state.counters["show_ms"] = Median(show.Ours);
}
BENCHMARK(BM_HideAndShowScatteredRows)->Iterations(9)->Unit(benchmark::kMillisecond);

void BM_PaintWithHiddenRows(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)));
    TBenchRowsGrid* g = s.Grid;
    TIntList list(0, 0);
    std::mt19937 rng(3);
    for (Integer r = 1; r < s.Rows; ++r)
        if (rng() % 10 == 0) list.Add(r);
    g->HideRowList(&list);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 900, 700);
    HGDIOBJ old = SelectObject(dc, bmp);
    // Each painted cell asks for its real row, as the painting family does.
    volatile Integer sink = 0;
    auto paint = [&](Integer top) {
        g->SetTopRow(top);
        g->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
        for (Integer r = top; r < top + g->VisibleRowCount(); ++r)
            for (Integer c = 0; c < g->ColCount(); ++c) sink = sink + g->RealRowIndex(r);
    };
    const Integer last = g->RowCount() - g->VisibleRowCount();
    std::vector<double> first, end;
    int round = 0;
    for (auto _ : state) {
        if (round++ % 2) {
            end.push_back(Millis([&] { paint(last); }));
            first.push_back(Millis([&] { paint(1); }));
        } else {
            first.push_back(Millis([&] { paint(1); }));
            end.push_back(Millis([&] { paint(last); }));
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    const double a = Median(first), b = Median(end);
    std::printf("Paint with %d rows hidden: last screen %.3f ms, first screen %.3f ms, ratio %.3f (goal <= 1.2)\n",
                list.Count(), b, a, a > 0 ? b / a : 0);
    state.counters["ratio"] = a > 0 ? b / a : 0;
}
BENCHMARK(BM_PaintWithHiddenRows)->Iterations(41)->Unit(benchmark::kMillisecond);

void BM_RemoveRunFromTheMiddle(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)));
    TBenchRowsGrid* g = s.Grid;
    const Integer run = s.Rows / 10, at = s.Rows / 2 - run / 2;
    const bool viaDeleteGridRow = state.range(0) != 0;
    TRatios t;
    int round = 0;
    for (auto _ : state) {
        auto peers = [&] {
            t.Rotate.push_back(Millis([&] { g->RotateTable(); }));
            t.Step.push_back(Millis([&] { g->StepTable(); }));
        };
        if (round % 2) peers();
        t.Ours.push_back(Millis([&] {
            if (viaDeleteGridRow)
                g->DeleteGridRow(at, run);
            else
                g->RemoveRows(at, run);
        }));
        if (!(round % 2)) peers();
        // The rows come back for the next round (not timed).
        g->InsertRows(at, run, false);
        for (Integer r = at; r < at + run; ++r) g->SetCells(1, r, L"row " + IntToStr(r));
        ++round;
    }
    t.Print(viaDeleteGridRow ? "DeleteGridRow of 100,000 rows from the middle" : "RemoveRows of 100,000 rows from the middle",
            2);
    state.counters["ms"] = Median(t.Ours);
}
BENCHMARK(BM_RemoveRunFromTheMiddle)->Arg(0)->Arg(1)->Iterations(9)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicates(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)));
    TBenchRowsGrid* g = s.Grid;
    const Integer dups = s.Rows / 100;
    // Duplicates of earlier rows' texts are appended before each round.
    auto addDuplicates = [&] {
        const Integer n = g->RowCount();
        g->SetRowCount(n + dups);
        for (Integer i = 0; i < dups; ++i) g->SetCells(1, n + i, L"row " + IntToStr(1 + i * 97));
    };
    std::vector<double> ours, peer;
    size_t sink = 0;
    auto hashPass = [&] {
        std::unordered_set<String> seen;
        for (Integer r = g->FixedRows(); r < g->RowCount(); ++r) sink += seen.insert(g->Cells(1, r)).second;
    };
    int round = 0;
    for (auto _ : state) {
        addDuplicates();
        if (round++ % 2) {
            peer.push_back(Millis(hashPass));
            ours.push_back(Millis([&] { g->RemoveDuplicates(1, true); }));
        } else {
            ours.push_back(Millis([&] { g->RemoveDuplicates(1, true); }));
            peer.push_back(Millis(hashPass));
        }
    }
    const double a = Median(ours), b = Median(peer);
    std::printf("RemoveDuplicates over %d rows (%d duplicates): %.2f ms, hash-set pass %.2f ms, ratio %.2f (goal <= 2)\n",
                g->RowCount() + dups, dups, a, b, b > 0 ? a / b : 0);
    state.counters["ratio"] = b > 0 ? a / b : 0;
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_RemoveDuplicates)->Iterations(7)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
