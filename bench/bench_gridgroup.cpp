// Grouping at scale: Group of 1,000,000 rows into 1,000 groups, with the
// rows sorted by the grouped column first (SortSettings.AutoSortForGrouping),
// costs within 2 times QSort of the same rows by that column in the same
// run: the rebuild (header rows, nodes, the column taken out) adds one linear
// pass, not a pass per group.
//
// Each round starts both sides from the same shuffled rows. The rebuild
// alone (Group of rows already in order, without the sort) is printed too,
// beside the grid's one-pass move of its whole row table.
//
// BENCH_ROWS sets the number of rows (default 1,000,000), BENCH_GROUPS the
// number of groups (default 1,000).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
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

class TBenchGroupGrid : public TVodStringGrid {
public:
    explicit TBenchGroupGrid(TComponent* o) : TVodStringGrid(o) {}
    // The grid's own one-pass move of the whole row table.
    void RotateTable() { TCustomGrid::MoveRow(0, RowCount() - 1); }
};

struct TSetup : TBenchForm {
    TBenchGroupGrid* Grid = nullptr;
    Integer Rows, Groups;
    // Row r's group key and name, in the shuffled order of each round.
    std::vector<Integer> Keys;
    TSetup(Integer rows, Integer groups) : TBenchForm(900, 700), Rows(rows), Groups(groups)
    {
        Grid = new TBenchGroupGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 880, 680);
        Grid->SetColCount(4);
        Form->Init();
        Form->Show();
        Keys.resize(size_t(rows));
        for (Integer r = 1; r < rows; ++r) Keys[size_t(r)] = r % groups;
        std::mt19937 rng(7);
        std::shuffle(Keys.begin() + 1, Keys.end(), rng);
    }
    // A fresh grid of the shuffled rows: name, group key (fixed width, so
    // that text order is number order), size.
    void Fill(bool Sorted)
    {
        Grid->SetRowCount(1);
        Grid->SetRowCount(Rows);
        std::vector<Integer> keys = Keys;
        if (Sorted) std::sort(keys.begin() + 1, keys.end());
        for (Integer r = 1; r < Rows; ++r) {
            wchar_t key[16];
            std::swprintf(key, 16, L"g%05d", keys[size_t(r)]);
            Grid->SetCells(1, r, L"row " + IntToStr(r));
            Grid->SetCells(2, r, key);
            Grid->SetCells(3, r, IntToStr(r % 977));
        }
    }
};

void BM_GroupAgainstQSort(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)), Integer(EnvNumber("BENCH_GROUPS", 1000)));
    TBenchGroupGrid* g = s.Grid;
    std::vector<double> group, sort, rebuild, rotate;
    int round = 0;
    for (auto _ : state) {
        auto ours = [&] {
            s.Fill(false);
            g->SortSettings()->AutoSortForGrouping = true;
            group.push_back(Millis([&] { g->Group(2); }));
            if (g->NodeCount() != s.Groups) std::printf("unexpected: %d groups\n", g->NodeCount());
            g->UnGroup();
        };
        auto peer = [&] {
            s.Fill(false);
            g->SortSettings()->Column = 2;
            sort.push_back(Millis([&] { g->QSort(); }));
        };
        if (round % 2) {
            peer();
            ours();
        } else {
            ours();
            peer();
        }
        // The rebuild alone, beside one pass that moves the row table.
        s.Fill(true);
        g->SortSettings()->AutoSortForGrouping = false;
        rotate.push_back(Millis([&] { g->RotateTable(); }));
        s.Fill(true);
        rebuild.push_back(Millis([&] { g->Group(2); }));
        g->UnGroup();
        ++round;
    }
    const double gm = Median(group), sm = Median(sort), rm = Median(rebuild), tm = Median(rotate);
    std::printf("(%d rows into %d groups)\n", s.Rows, s.Groups);
    std::printf("Group with its sort: %.1f ms; QSort by the grouped column: %.1f ms; ratio %.2f; goal <= 2.0\n", gm, sm,
                sm > 0 ? gm / sm : 0);
    std::printf("Group of sorted rows (the rebuild): %.1f ms; one pass moving the row table: %.1f ms; ratio %.2f\n", rm,
                tm, tm > 0 ? rm / tm : 0);
    state.counters["group_ms"] = gm;
    state.counters["qsort_ms"] = sm;
    state.counters["ratio"] = sm > 0 ? gm / sm : 0;
}
BENCHMARK(BM_GroupAgainstQSort)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
