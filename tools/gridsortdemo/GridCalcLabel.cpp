// The sort demo's calculation label: statistics of a number column over the
// selected rows through the grid's calculations, one range per run of
// consecutive selected rows.
#include "tools/gridsortdemo/GridCalcLabel.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"

namespace {

// The selected rows in ascending order.
std::vector<Integer> SelectedRows(TVodStringGrid* G)
{
    std::vector<Integer> rows;
    if (G->MouseActions()->DisjunctRowSelect()) {
        for (Integer i = 0; i < G->SelectedRowCount(); ++i) rows.push_back(G->GetSelectedRow(i));
    } else {
        const TGridRect s = G->Selection();
        for (Integer r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

String Number(double v) { return Format(L"%.2f", {Extended(v)}); }

}  // namespace

String GridCalcSummary(TVodStringGrid* Grid, Integer ACol)
{
    const std::vector<Integer> rows = SelectedRows(Grid);
    if (rows.empty()) return L"No rows selected";
    // Runs of consecutive rows go to the grid's column calculations; the
    // runs' results are combined.
    double sum = 0, sumSq = 0, mn = 0, mx = 0;
    Integer n = 0;
    bool any = false;
    TStringList distinct;
    distinct.SetCaseSensitive(false);
    distinct.SetSorted(true);
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        const Integer from = rows[i], to = rows[j];
        const Integer count = to - from + 1;
        sum += Grid->ColumnSum(ACol, from, to);
        // The run's average and standard deviation give its sum of squares.
        const double avg = Grid->ColumnAvg(ACol, from, to);
        double sd = 0;
        try {
            sd = Grid->ColumnStdDev(ACol, from, to);
        } catch (const EVodGridError&) {
        }
        sumSq += count * (sd * sd + avg * avg);
        const double runMin = Grid->ColumnMin(ACol, from, to), runMax = Grid->ColumnMax(ACol, from, to);
        mn = any ? std::min(mn, runMin) : runMin;
        mx = any ? std::max(mx, runMax) : runMax;
        any = true;
        n += count;
        for (Integer r = from; r <= to; ++r) distinct.Add(Grid->GetCellEx(ACol, r));
        i = j + 1;
    }
    const double avg = sum / n;
    const double sd = std::sqrt(std::max(0.0, sumSq / n - avg * avg));
    return L"Selected rows: " + IntToStr(n) + L"   Sum " + Number(sum) + L"   Average " + Number(avg) + L"   Minimum " +
           Number(mn) + L"   Maximum " + Number(mx) + L"   Std. deviation " + Number(sd) + L"   Distinct " +
           IntToStr(distinct.Count());
}

TLabel* SetupGridCalcLabel(TWinControl* Parent, TVodStringGrid* Grid, Integer ACol, const TRect& Bounds)
{
    auto* label = new TLabel(Parent);
    label->SetParent(Parent);
    label->SetAutoSize(false);
    label->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    label->SetCaption(GridCalcSummary(Grid, ACol));
    auto previous = Grid->OnRowDisjunctSelected;
    Grid->OnRowDisjunctSelected = [label, Grid, ACol, previous](TObject* Sender, Integer ARow) {
        if (previous) previous(Sender, ARow);
        label->SetCaption(GridCalcSummary(Grid, ACol));
    };
    return label;
}
