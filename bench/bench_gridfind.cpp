// Finding a text that no cell holds in a string grid of 1,000 x 1,000 cells,
// row by row and case-insensitively, against a plain loop that reads each
// cell's string from the same store, upper-cases it into a buffer and
// searches it; rounds interleaved, medians, the ratio printed (goal: within
// 1.5 times the loop).
//
//   bench_gridfind            (BENCH_ROWS, BENCH_COLS set the size)
#include <cstdio>

#include "BenchForm.h"
#include "BenchStats.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

int main()
{
    const Integer rows = Integer(EnvNumber("BENCH_ROWS", 1000));
    const Integer cols = Integer(EnvNumber("BENCH_COLS", 1000));
    TBenchForm form(900, 700);
    auto* g = new TVodStringGrid(form.Form);
    g->SetParent(form.Form);
    g->SetBounds(0, 0, 880, 680);
    g->SetColCount(cols + 1);
    g->SetRowCount(rows + 1);
    for (Integer r = 1; r <= rows; ++r)
        for (Integer c = 1; c <= cols; ++c) g->SetCells(c, r, L"Cell text " + IntToStr(r) + L"-" + IntToStr(c));
    form.Form->Init();
    form.Form->Show();
    form.Drv->Pump();

    const String absent = L"no such text";
    const TFindParams params{fnDirectionLeftRight};
    bool foundByGrid = false, foundByLoop = false;
    String buffer;
    const auto [ours, peer] = TimeSideBySide(
        size_t(rows) * size_t(cols),
        [&] { foundByGrid = g->Find(TPoint{-1, -1}, absent, params).X != -1; },
        [&] {
            const String key = AnsiUpperCase(absent);
            for (Integer r = 1; r <= rows; ++r)
                for (Integer c = 1; c <= cols; ++c) {
                    const String s = g->Cells(c, r);
                    buffer.resize(s.size());
                    for (size_t i = 0; i < s.size(); ++i) buffer[i] = AnsiUpperChar(s[i]);
                    if (buffer.find(key) != String::npos) foundByLoop = true;
                }
        },
        7);
    const double ratio = ours / peer;
    const bool ok = ratio <= 1.5 && !foundByGrid && !foundByLoop;
    std::printf("Find absent text, %d x %d cells, row walk, no case   %6.1f ns/cell   upper-case-and-search loop "
                "%6.1f ns/cell   ratio %.2f (goal <= 1.5) %s\n",
                rows, cols, ours, peer, ratio, ok ? "ok" : "MISSED");
    return ok ? 0 : 1;
}
