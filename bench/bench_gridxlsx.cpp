// The string grid's spreadsheet exchange through the in-process server, as
// ratios against bare library passes in the same run, rounds alternating,
// medians reported:
// - LoadFromXLSSheet of a 200,000 x 10 sheet within 2 times a bare libzip
//   plus libxml2-reader pass that counts the same cells;
// - SaveToXLS of a 200,000 x 10 grid within 1.5 times libxlsxwriter writing
//   the same strings directly.
// Files go under /tmp and are removed afterwards. BENCH_ROWS scales both
// (default 200,000).
#include <benchmark/benchmark.h>

#include <libxml/xmlreader.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchStats.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

struct TScene {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    TScene()
    {
        InitForms();
        VodLibraryStartup();
        RegisterAutomationServers();
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

std::string CellText(long long r, int c) { return "item " + std::to_string(r * 10 + c); }

// A sheet "Data" of rows x 10: texts in even columns, numbers in odd ones.
void MakeWorkbook(const std::string& path, long long rows)
{
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Data");
    for (long long r = 0; r < rows; ++r)
        for (int c = 0; c < 10; ++c) {
            if (c % 2 == 0) worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), CellText(r, c).c_str(), nullptr);
            else worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), double(r) + c / 10.0, nullptr);
        }
    workbook_close(wb);
}

// The bare pass: inflate the sheet part with libzip and stream it through
// libxml2's reader, counting the cell elements.
long long CountCells(const std::string& path)
{
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) return -1;
    zip_file_t* f = zip_fopen(z, "xl/worksheets/sheet1.xml", 0);
    if (!f) {
        zip_discard(z);
        return -1;
    }
    auto read = [](void* ctx, char* buf, int len) -> int {
        return int(zip_fread(static_cast<zip_file_t*>(ctx), buf, zip_uint64_t(len)));
    };
    xmlTextReaderPtr reader = xmlReaderForIO(read, nullptr, f, nullptr, nullptr, XML_PARSE_NONET);
    long long cells = 0;
    while (xmlTextReaderRead(reader) == 1)
        if (xmlTextReaderNodeType(reader) == XML_READER_TYPE_ELEMENT &&
            std::strcmp(reinterpret_cast<const char*>(xmlTextReaderConstLocalName(reader)), "c") == 0)
            ++cells;
    xmlFreeTextReader(reader);
    zip_fclose(f);
    zip_discard(z);
    return cells;
}

void BM_LoadFromXLSSheet(benchmark::State& state)
{
    TScene scene;
    const long long rows = EnvNumber("BENCH_ROWS", 200000);
    char tmpl[] = "/tmp/bench-gridxlsx-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string path = dir + "/load.xlsx";
    MakeWorkbook(path, rows);
    const String wpath = UTF8ToString(path);
    std::vector<double> ours, peer;
    int round = 0;
    for (auto _ : state) {
        auto runPeer = [&] {
            peer.push_back(Millis([&] {
                const long long n = CountCells(path);
                if (n != rows * 10) std::printf("unexpected count %lld\n", n);
            }));
        };
        if (round % 2) runPeer();
        {
            auto* g = CreateGrid<TVodStringGrid>(nullptr);
            ours.push_back(Millis([&] { g->LoadFromXLSSheet(wpath, L"Data"); }));
            if (g->RowCount() != rows || g->ColCount() != 10 || g->Cells(9, Integer(rows - 1)).empty())
                std::printf("unexpected size %d x %d\n", g->ColCount(), g->RowCount());
            delete g;
        }
        if (!(round % 2)) runPeer();
        ++round;
    }
    std::filesystem::remove_all(dir);
    const double o = Median(ours), p = Median(peer);
    std::printf("LoadFromXLSSheet %lld x 10: %.0f ms; libzip + libxml2 reader counting the cells: %.0f ms; "
                "ratio %.2f (goal <= 2)\n",
                rows, o, p, o / p);
    state.counters["ratio"] = o / p;
}
BENCHMARK(BM_LoadFromXLSSheet)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SaveToXLS(benchmark::State& state)
{
    TScene scene;
    const long long rows = EnvNumber("BENCH_ROWS", 200000);
    char tmpl[] = "/tmp/bench-gridxlsx-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    auto* g = CreateGrid<TVodStringGrid>(nullptr);
    g->SetColCount(10);
    g->SetRowCount(Integer(rows));
    std::vector<std::string> texts;
    texts.reserve(size_t(rows) * 10);
    for (long long r = 0; r < rows; ++r)
        for (int c = 0; c < 10; ++c) {
            texts.push_back(CellText(r, c));
            g->SetGridCell(c, Integer(r), UTF8ToString(texts.back()));
        }
    const std::string ourFile = dir + "/ours.xlsx", peerFile = dir + "/peer.xlsx";
    const String wOurs = UTF8ToString(ourFile);
    std::vector<double> ours, peer;
    int round = 0;
    for (auto _ : state) {
        auto runPeer = [&] {
            peer.push_back(Millis([&] {
                lxw_workbook* wb = workbook_new(peerFile.c_str());
                lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
                size_t k = 0;
                for (long long r = 0; r < rows; ++r)
                    for (int c = 0; c < 10; ++c)
                        worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), texts[k++].c_str(), nullptr);
                if (workbook_close(wb) != LXW_NO_ERROR) std::printf("the peer failed\n");
            }));
        };
        if (round % 2) runPeer();
        ours.push_back(Millis([&] { g->SaveToXLS(wOurs, true); }));
        if (!(round % 2)) runPeer();
        ++round;
    }
    delete g;
    const double o = Median(ours), p = Median(peer);
    std::printf("SaveToXLS %lld x 10: %.0f ms (%.1f MB); libxlsxwriter writing the strings: %.0f ms (%.1f MB); "
                "ratio %.2f (goal <= 1.5)\n",
                rows, o, double(std::filesystem::file_size(ourFile)) / 1e6, p,
                double(std::filesystem::file_size(peerFile)) / 1e6, o / p);
    std::filesystem::remove_all(dir);
    state.counters["ratio"] = o / p;
}
BENCHMARK(BM_SaveToXLS)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
