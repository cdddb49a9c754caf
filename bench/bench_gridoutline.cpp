// Outline nodes at scale: a string grid of 1,000,000 rows under 100,000
// top-level nodes (spans of 10 rows). ContractAll (every node contracted,
// 900,000 rows into the hidden-row store as one level) and ExpandAll (every
// hidden row back in place) each within 3 times one pass that moves the row
// table.
//
// "One pass that moves the row table" is measured as the grid's own move of
// its first row to the end (every row record moves one place, in one
// rotation of the table) and as a pass that moves every row to its
// neighbour one row at a time through the store. Both ratios are printed.
// Rounds interleave the sides; medians.
//
// BENCH_ROWS sets the number of rows (default 1,000,000); the nodes span 10
// rows each.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
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

class TBenchOutlineGrid : public TVodStringGrid {
public:
    explicit TBenchOutlineGrid(TComponent* o) : TVodStringGrid(o) {}
    void RotateTable() { TCustomGrid::MoveRow(0, RowCount() - 1); }
    void UnrotateTable() { TCustomGrid::MoveRow(RowCount() - 1, 0); }
    void StepTable()
    {
        const Integer n = RowCount();
        MoveStoreRow(0, n);
        for (Integer r = 1; r <= n; ++r) MoveStoreRow(r, r - 1);
    }
};

struct TSetup : TBenchForm {
    TBenchOutlineGrid* Grid = nullptr;
    Integer Rows, Nodes = 0;
    explicit TSetup(Integer rows) : TBenchForm(900, 700), Rows(rows)
    {
        Grid = new TBenchOutlineGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 880, 680);
        Grid->SetColCount(4);
        Grid->SetRowCount(rows);
        for (Integer r = 1; r < rows; ++r) {
            Grid->SetCells(1, r, L"row " + IntToStr(r));
            Grid->SetCells(2, r, IntToStr(r % 977));
        }
        for (Integer r = 1; r + 10 <= rows; r += 10) {
            Grid->AddNode(r, 10);
            ++Nodes;
        }
        Form->Init();
        Form->Show();
    }
};

struct TRatios {
    std::vector<double> Ours, Rotate, Step;
    void Print(const char* what, double goal) const
    {
        const double o = Median(Ours), r = Median(Rotate), s = Median(Step);
        std::printf("%s: %.2f ms; table rotation %.2f ms (ratio %.2f), row-by-row pass %.2f ms (ratio %.2f); goal <= %.1f\n",
                    what, o, r, r > 0 ? o / r : 0, s, s > 0 ? o / s : 0, goal);
    }
};

void BM_ContractAndExpandAll(benchmark::State& state)
{
    TSetup s(Integer(EnvNumber("BENCH_ROWS", 1000000)));
    TBenchOutlineGrid* g = s.Grid;
    TRatios contract, expand;
    Integer hidden = 0;
    int round = 0;
    for (auto _ : state) {
        // The peers run on the whole table (every node expanded) and turn it
        // back afterwards, untimed, so that the outline stays as it was.
        auto peers = [&] {
            contract.Rotate.push_back(Millis([&] { g->RotateTable(); }));
            contract.Step.push_back(Millis([&] { g->StepTable(); }));
            expand.Rotate.push_back(Millis([&] { g->RotateTable(); }));
            expand.Step.push_back(Millis([&] { g->StepTable(); }));
            for (int i = 0; i < 4; ++i) g->UnrotateTable();
        };
        if (round % 2) peers();
        contract.Ours.push_back(Millis([&] { g->ContractAll(); }));
        hidden = g->NumHiddenRows();
        expand.Ours.push_back(Millis([&] { g->ExpandAll(); }));
        if (!(round % 2)) peers();
        ++round;
    }
    std::printf("(%d rows, %d top-level nodes, %d rows hidden by ContractAll)\n", s.Rows, s.Nodes, hidden);
    contract.Print("ContractAll", 3);
    expand.Print("ExpandAll", 3);
    state.counters["contract_ms"] = Median(contract.Ours);
    state.counters["expand_ms"] = Median(expand.Ours);
}
BENCHMARK(BM_ContractAndExpandAll)->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
