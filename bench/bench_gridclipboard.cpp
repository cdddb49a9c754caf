// The string grid's clipboard text on a block of 100,000 rows x 10 columns,
// each against its peer in the same run (rounds interleaved, medians,
// ratios):
//
// - the text form of the selected block (SelectionAsText: tabs between
//   cells, CR LF after every row) within 2 times a plain loop that joins the
//   same SaveCell texts with tabs and CR LF;
// - pasting that text into an empty grid (growth allowed, no events) at no
//   less than 1/3 of the speed of merely splitting the text into lines (at
//   CR, an LF after it belonging to the break) and fields (at tabs).
//
//   bench_gridclipboard       (BENCH_ROWS sets the number of rows)
#include <chrono>
#include <cstdio>
#include <memory>
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

TVodStringGrid* MakeGrid(TForm* form)
{
    auto* g = CreateGrid<TVodStringGrid>(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 880, 680);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    TGridOptions o = g->Options();
    g->SetOptions(o.Include(goEditing));
    return g;
}

}  // namespace

int main()
{
    const Integer rows = Integer(EnvNumber("BENCH_ROWS", 100000));
    const Integer cols = 10;
    TBenchForm form(900, 700);
    TVodStringGrid* g = MakeGrid(form.Form);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    for (Integer r = 0; r < rows; ++r)
        for (Integer c = 0; c < cols; ++c)
            g->SetCells(c, r, c % 3 == 0 ? IntToStr(r * 7 + c) : L"cell " + IntToStr(r) + L"." + IntToStr(c));
    form.Form->Init();
    form.Form->Show();
    form.Drv->Pump();
    g->SetSelection(TGridRect{0, 0, cols - 1, rows - 1});

    const int rounds = 5;
    bool allOk = true;

    // The text form.
    String text;
    {
        std::vector<double> ours, peer;
        String joined;
        for (int i = 0; i < rounds; ++i) {
            const bool peerFirst = i % 2;
            auto runPeer = [&] {
                peer.push_back(Millis([&] {
                    String out;
                    for (Integer r = 0; r < rows; ++r) {
                        for (Integer c = 0; c < cols; ++c) {
                            if (c) out += L'\t';
                            out += g->SaveCell(c, r);
                        }
                        out += L"\r\n";
                    }
                    joined = std::move(out);
                }));
            };
            if (peerFirst) runPeer();
            ours.push_back(Millis([&] { text = g->SelectionAsText(); }));
            if (!peerFirst) runPeer();
        }
        const double o = Median(ours), p = Median(peer);
        const bool ok = o / p <= 2.0;
        allOk = allOk && ok;
        std::printf("SelectionAsText %d x %d   %9.1f ms   joining SaveCell texts %9.1f ms   ratio %.2f (goal <= 2.0) %s\n",
                    rows, cols, o, p, o / p, ok ? "ok" : "MISSED");
        if (text != joined) std::printf("(the two texts differ: %zu and %zu characters)\n", text.size(), joined.size());
    }

    // The paste.
    {
        std::vector<double> ours, peer;
        size_t fields = 0;
        Integer pastedRows = 0, pastedCols = 0;
        for (int i = 0; i < rounds; ++i) {
            const bool peerFirst = i % 2;
            auto runPeer = [&] {
                std::vector<String> out;
                peer.push_back(Millis([&] {
                    const size_t n = text.size();
                    size_t start = 0;
                    String field;
                    for (size_t k = 0; k <= n; ++k) {
                        const wchar_t ch = k < n ? text[k] : L'\r';
                        if (ch == L'\t' || ch == L'\r') {
                            out.push_back(text.substr(start, k - start));
                            if (ch == L'\r' && k + 1 < n && text[k + 1] == L'\n') ++k;
                            start = k + 1;
                        }
                    }
                }));
                fields = out.size();
            };
            if (peerFirst) runPeer();
            std::unique_ptr<TVodStringGrid> target(MakeGrid(form.Form));
            target->SetColCount(1);
            target->SetRowCount(1);
            ours.push_back(Millis([&] { target->PasteTextAt(0, 0, text); }));
            pastedRows = target->RowCount();
            pastedCols = target->ColCount();
            target.reset();
            if (!peerFirst) runPeer();
        }
        const double o = Median(ours), p = Median(peer);
        const bool ok = o / p <= 3.0;
        allOk = allOk && ok;
        std::printf("PasteTextAt into an empty grid   %9.1f ms   splitting lines and fields %9.1f ms   speed %.2f of it "
                    "(goal >= 0.33) %s\n",
                    o, p, p / o, ok ? "ok" : "MISSED");
        std::printf("(the grid took %d rows x %d columns; the split made %zu fields)\n", pastedRows, pastedCols, fields);
    }
    return allOk ? 0 : 1;
}
