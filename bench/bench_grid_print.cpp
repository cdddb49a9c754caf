// Printing a string grid, each against its peer in the same run (rounds
// interleaved, medians, ratios):
//
// - printing 10,000 rows of 10 columns to a PDF within 1.1 times ten times
//   the print of 1,000 rows, and the file within 1.1 times ten times the
//   size: cost and output grow linearly, nothing is kept per page;
// - a FastPrint preview of page 1 of a 100,000-row grid within 1.2 times the
//   same preview of a 100-row grid: the cost follows the pages drawn.
//
//   bench_grid_print
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchForm.h"
#include "BenchStats.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Printer.h"

namespace {

TVodStringGrid* MakeGrid(TForm* form, int rows)
{
    auto* g = new TVodStringGrid(form);
    g->SetParent(form);
    g->SetColCount(10);
    g->SetRowCount(rows + 1);
    g->SetFixedRows(1);
    for (int c = 0; c < 10; ++c) g->SetCells(c, 0, L"Column " + IntToStr(c));
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 10; ++c) g->SetCells(c, r, L"r" + IntToStr(r) + L"c" + IntToStr(c));
    return g;
}

long FileSize(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0 ? long(st.st_size) : 0;
}

}  // namespace

int main()
{
    TBenchForm bf(800, 600);
    VodLibraryStartup();
    char tmpl[] = "/tmp/bench_grid_print_XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string small = dir + "/small.pdf", large = dir + "/large.pdf";

    TVodStringGrid* g1k = MakeGrid(bf.Form, 1000);
    TVodStringGrid* g10k = MakeGrid(bf.Form, 10000);
    auto print = [](TVodStringGrid* g, const std::string& file) {
        Printer()->SetFileName(UTF8ToString(file));
        g->Print();
    };
    const auto [t10k, t1k] = TimeSideBySide(
        1, [&] { print(g10k, large); }, [&] { print(g1k, small); }, 7);
    const double timeRatio = t10k / (10 * t1k);
    const double sizeRatio = double(FileSize(large)) / (10.0 * double(FileSize(small)));
    std::printf("print 10,000 rows: %.1f ms, 1,000 rows: %.1f ms; ratio to ten times: %.3f (goal <= 1.1)\n",
                t10k / 1e6, t1k / 1e6, timeRatio);
    std::printf("PDF 10,000 rows: %ld bytes, 1,000 rows: %ld bytes; ratio to ten times: %.3f (goal <= 1.1)\n",
                FileSize(large), FileSize(small), sizeRatio);

    TVodStringGrid* g100k = MakeGrid(bf.Form, 100000);
    TVodStringGrid* g100 = MakeGrid(bf.Form, 100);
    for (TVodStringGrid* g : {g100k, g100}) {
        g->SetFastPrint(true);
        g->SetPreviewPage(1);
    }
    TBitmap bmp;
    bmp.SetSize(794, 1123);
    const auto [tBig, tSmall] = TimeSideBySide(
        1, [&] { g100k->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123}); },
        [&] { g100->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123}); }, 21);
    std::printf("FastPrint preview of page 1, 100,000 rows: %.2f ms, 100 rows: %.2f ms; ratio: %.3f (goal <= 1.2)\n",
                tBig / 1e6, tSmall / 1e6, tBig / tSmall);

    std::filesystem::remove_all(dir);
    Printer()->SetFileName(String());
    VodLibraryShutdown();
    return 0;
}
