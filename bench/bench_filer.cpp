// Component streaming throughput: cell-sized records written to and read
// from a memory stream, as a grid's cell stream does for every cell.
#include <benchmark/benchmark.h>

#include "platform/base/Filer.h"
#include "platform/base/Lists.h"

namespace {

class TBenchCell : public TComponent {
    VEL_CLASS(TBenchCell, TComponent)
public:
    explicit TBenchCell(TComponent* owner) : TComponent(owner) {}
    Word Col = 0, Row = 0;
    String Cell;
    bool HasProp = false;
    static void Publish(TPublisher<TBenchCell>& p)
    {
        p.Integer(L"Col", [](TBenchCell* c) { return c->Col; }, [](TBenchCell* c, Word v) { c->Col = v; });
        p.Integer(L"Row", [](TBenchCell* c) { return c->Row; }, [](TBenchCell* c, Word v) { c->Row = v; });
        p.Str(L"Cell", [](TBenchCell* c) { return c->Cell; }, [](TBenchCell* c, const String& v) { c->Cell = v; });
        p.Boolean(L"HasProp", [](TBenchCell* c) { return c->HasProp; },
                  [](TBenchCell* c, bool v) { c->HasProp = v; });
    }
};

void WriteCells(TMemoryStream& m, int count)
{
    TBenchCell c(nullptr);
    c.Cell = L"1234.5";
    for (int i = 0; i < count; ++i) {
        c.Col = Word(i % 100);
        c.Row = Word(i / 100);
        m.WriteComponent(&c);
    }
}

void BM_WriteCellRecords(benchmark::State& state)
{
    for (auto _ : state) {
        TMemoryStream m;
        WriteCells(m, 1000);
        benchmark::DoNotOptimize(m.Memory());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_WriteCellRecords);

void BM_ReadCellRecords(benchmark::State& state)
{
    TMemoryStream m;
    WriteCells(m, 1000);
    TBenchCell c(nullptr);
    for (auto _ : state) {
        m.SetPosition(0);
        while (m.Position() < m.Size() - 1) m.ReadComponent(&c);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ReadCellRecords);

void BM_SortedStringListAdd(benchmark::State& state)
{
    for (auto _ : state) {
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(dupAccept);
        for (int i = 0; i < 5000; ++i) l.Add(L"item" + std::to_wstring((i * 7919) % 5000));
        benchmark::DoNotOptimize(l.Count());
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_SortedStringListAdd);

}  // namespace
BENCHMARK_MAIN();
