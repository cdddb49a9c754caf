// Sorting and filtering a string grid of 1,000,000 rows x 5 columns, each
// against its peer in the same run (rounds interleaved, medians, ratios):
//
// - QSort by a number column (numeric style, AutoFormat off) and by a text
//   column (ordinal style) within 1.5 times std::stable_sort of a row-index
//   vector whose comparator reads the same two texts from the same store
//   and compares them the same way (numbers read at every comparison);
// - ApplyFilter with a contains-expression within 2 times a plain loop that
//   applies the same matcher to the same texts and collects the failing
//   rows (the grid also hides them).
//
// The grid is put back into its first order between rounds (QUnSort, and
// removing the filter level), outside the timing.
//
//   bench_gridsort            (BENCH_ROWS sets the number of rows)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <vector>

#include "BenchForm.h"
#include "BenchStats.h"
#include "controls/foundation/VodUtil.h"
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

// The grid's numeric reading: the decimal separator as ".", then the
// platform's number reader; a text that does not read fully keeps the value
// of the longest start that does.
double ReadNumber(const String& In, bool& Failed)
{
    String s = In;
    const Char d = FormatSettings.DecimalSeparator;
    if (d != L'.') {
        const size_t p = s.find(d);
        if (p != String::npos) s[p] = L'.';
    }
    Extended v = 0;
    Integer code = 0;
    Val(s, v, code);
    Failed = code != 0;
    if (!Failed) return double(v);
    for (Integer n = std::min(code - 1, Integer(s.size())); n > 0; --n) {
        Extended pv = 0;
        Integer pc = 0;
        Val(s.substr(0, size_t(n)), pv, pc);
        if (pc == 0) return double(pv);
    }
    return 0;
}

int CompareNumbers(const String& a, const String& b)
{
    bool fa = false, fb = false;
    const double x = ReadNumber(a, fa), y = ReadNumber(b, fb);
    if (fa && a.empty()) fa = false;
    if (fb && b.empty()) fb = false;
    if (fa && fb) return 0;
    return x > y ? 1 : x < y ? -1 : 0;
}

const wchar_t* kWords[] = {L"apple", L"brick", L"cabc", L"delta", L"echo", L"fabcx", L"gamma", L"hotel",
                           L"india", L"juliet", L"kilo", L"lima", L"mike", L"novabc", L"oscar", L"papa"};

}  // namespace

int main()
{
    const Integer rows = Integer(EnvNumber("BENCH_ROWS", 1000000));
    TBenchForm form(900, 700);
    auto* g = new TVodStringGrid(form.Form);
    g->SetParent(form.Form);
    g->SetBounds(0, 0, 880, 680);
    g->SetColCount(5);
    g->SetRowCount(rows + 1);
    g->SetFixedRows(1);
    std::mt19937 rng(42);
    for (Integer r = 1; r <= rows; ++r) {
        g->SetCells(0, r, IntToStr(r));
        g->SetCells(1, r, IntToStr(Integer(rng() % 100000)) + L"." + IntToStr(Integer(rng() % 100)));
        g->SetCells(2, r, String(kWords[rng() % 16]) + IntToStr(Integer(rng() % 1000)));
        g->SetCells(3, r, L"c3");
        g->SetCells(4, r, L"c4");
    }
    form.Form->Init();
    form.Form->Show();
    form.Drv->Pump();
    TSortSettings* ss = g->SortSettings();
    ss->AutoFormat = false;
    ss->Full = false;
    ss->SortOnVirtualCells = false;
    g->InitSortXRef();

    const int rounds = 5;
    bool allOk = true;
    struct TCase {
        const char* name;
        Integer col;
        TSortStyle style;
    } cases[] = {{"number column", 1, ssNumeric}, {"text column", 2, ssAlphabetic}};
    for (const auto& c : cases) {
        std::vector<double> ours, peer;
        ss->DefaultFormat = c.style;
        for (int i = 0; i < rounds; ++i) {
            ours.push_back(Millis([&] { g->Sort(c.col, sdAscending); }));
            g->QUnSort();
            std::vector<Integer> idx(static_cast<size_t>(rows));
            std::iota(idx.begin(), idx.end(), 1);
            peer.push_back(Millis([&] {
                if (c.style == ssNumeric)
                    std::stable_sort(idx.begin(), idx.end(), [&](Integer a, Integer b) {
                        return CompareNumbers(g->GetGridCell(c.col, a), g->GetGridCell(c.col, b)) < 0;
                    });
                else
                    std::stable_sort(idx.begin(), idx.end(), [&](Integer a, Integer b) {
                        return g->GetGridCell(c.col, a).compare(g->GetGridCell(c.col, b)) < 0;
                    });
            }));
        }
        const double o = Median(ours), p = Median(peer);
        const bool ok = o / p <= 1.5;
        allOk = allOk && ok;
        std::printf("QSort %d rows by the %-14s %9.1f ms   std::stable_sort of indexes %9.1f ms   ratio %.2f (goal <= 1.5) %s\n",
                    rows, c.name, o, p, o / p, ok ? "ok" : "MISSED");
    }

    {
        std::vector<double> ours, peer;
        const String expr = L"*abc*";
        size_t hidden = 0, failing = 0;
        for (int i = 0; i < rounds; ++i) {
            g->Filter()->Clear();
            TFilterData* f = g->Filter()->Add();
            f->Column = 2;
            f->Condition = expr;
            ours.push_back(Millis([&] { g->ApplyFilter(); }));
            hidden = size_t(g->NumHiddenRows());
            g->RemoveLastFilter();
            std::vector<Integer> out;
            peer.push_back(Millis([&] {
                for (Integer r = 1; r <= rows; ++r)
                    if (!MatchFilterExpr(expr, Trim(g->GetGridCell(2, r)), true)) out.push_back(r);
            }));
            failing = out.size();
        }
        const double o = Median(ours), p = Median(peer);
        const bool ok = o / p <= 2.0;
        allOk = allOk && ok;
        std::printf("ApplyFilter %d rows, contains-expression   %9.1f ms   plain matcher loop %9.1f ms   ratio %.2f (goal <= 2.0) %s\n",
                    rows, o, p, o / p, ok ? "ok" : "MISSED");
        std::printf("(%zu rows hidden by the grid, %zu failing in the loop)\n", hidden, failing);
    }
    return allOk ? 0 : 1;
}
