// The string grid's file formats, as ratios against their peers in the same
// run, rounds alternating, medians reported:
// - LoadFromCSV of a 100 MB file (1,000,000 records of 10 fields, a tenth
//   quoted with delimiters and doubled quotes) at no less than 1/3 of the
//   throughput of reading the same file and splitting it into lines;
// - SaveToBinStream then LoadFromBinStream of 1,000,000 text cells, per
//   cell within 1.2 times the same at 10,000 cells.
// The CSV file is made under /tmp and removed afterwards. BENCH_RECORDS
// scales the CSV file (default 1,000,000).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "BenchStats.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

struct TScene {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    TScene()
    {
        InitForms();
        VodLibraryStartup();
    }
    ~TScene()
    {
        VodLibraryShutdown();
        DoneForms();
    }
};

double Millis(const std::function<void()>& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// 10 fields a record; every tenth field quoted with a delimiter and a
// doubled quote inside.
std::string MakeCsv(const std::string& path, long long records)
{
    std::ofstream f(path, std::ios::binary);
    std::mt19937 rng(7);
    std::string line;
    for (long long r = 0; r < records; ++r) {
        line.clear();
        for (int c = 0; c < 10; ++c) {
            if (c) line += ',';
            const unsigned v = rng();
            if (v % 10 == 0)
                line += "\"name, \"\"q\"\" " + std::to_string(v % 100000) + "\"";
            else
                line += "field" + std::to_string(v % 1000000);
        }
        line += "\r\n";
        f << line;
    }
    return path;
}

void BM_LoadFromCSV(benchmark::State& state)
{
    TScene scene;
    const long long records = EnvNumber("BENCH_RECORDS", 1000000);
    char tmpl[] = "/tmp/bench-gridfiles-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string path = MakeCsv(dir + "/big.csv", records);
    const String wpath(path.begin(), path.end());
    const double mb = double(std::filesystem::file_size(path)) / 1e6;
    std::vector<double> ours, peer;
    int round = 0;
    for (auto _ : state) {
        auto runPeer = [&] {
            peer.push_back(Millis([&] {
                TStringList lines;
                lines.LoadFromFile(wpath);
                benchmark::DoNotOptimize(lines.Count());
            }));
        };
        if (round % 2) runPeer();
        {
            auto* g = CreateGrid<TVodStringGrid>(nullptr);
            g->SetDelimiter(L',');
            ours.push_back(Millis([&] { g->LoadFromCSV(wpath); }));
            if (g->RowCount() != records || g->ColCount() != 10) std::printf("unexpected size %d x %d\n", g->ColCount(), g->RowCount());
            delete g;
        }
        if (!(round % 2)) runPeer();
        ++round;
    }
    std::filesystem::remove_all(dir);
    const double o = Median(ours), p = Median(peer);
    std::printf("LoadFromCSV %.1f MB: %.0f ms (%.1f MB/s); read and split into lines: %.0f ms (%.1f MB/s); "
                "throughput ratio %.2f (goal >= 0.33)\n",
                mb, o, mb / o * 1000, p, mb / p * 1000, p / o);
    state.counters["ratio"] = p / o;
}
BENCHMARK(BM_LoadFromCSV)->Iterations(5)->Unit(benchmark::kMillisecond);

// ns per cell of saving then loading a square-ish block of text cells.
void BM_BinStreamPerCell(benchmark::State& state)
{
    TScene scene;
    auto make = [](Integer cols, Integer rows) {
        auto* g = CreateGrid<TVodStringGrid>(nullptr);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        g->SetFixedRows(0);
        g->SetFixedCols(0);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c) g->SetGridCell(c, r, L"text " + IntToStr(r * cols + c));
        return g;
    };
    TVodStringGrid* small = make(100, 100);
    TVodStringGrid* large = make(100, 10000);
    TVodStringGrid* target = CreateGrid<TVodStringGrid>(nullptr);
    target->SetStreamCellLimit(Int64(1) << 30);
    auto trip = [&](TVodStringGrid* g) {
        TMemoryStream m;
        g->SaveToBinStream(&m);
        m.SetPosition(0);
        target->LoadFromBinStream(&m);
    };
    std::vector<double> s, l;
    int round = 0;
    for (auto _ : state) {
        if (round % 2) s.push_back(Millis([&] { trip(small); }) * 1e6 / 10000);
        l.push_back(Millis([&] { trip(large); }) * 1e6 / 1000000);
        if (!(round % 2)) s.push_back(Millis([&] { trip(small); }) * 1e6 / 10000);
        ++round;
    }
    delete small;
    delete large;
    delete target;
    std::printf("binary stream save+load: %.0f ns per cell at 1,000,000 cells, %.0f ns at 10,000; ratio %.2f "
                "(goal <= 1.2)\n",
                Median(l), Median(s), Median(l) / Median(s));
    state.counters["ratio"] = Median(l) / Median(s);
}
BENCHMARK(BM_BinStreamPerCell)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
