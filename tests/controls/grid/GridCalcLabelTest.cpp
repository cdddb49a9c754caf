// The sort demo's calculation label: statistics of a number column over a
// disjunct row selection (runs of rows combined) and over the selection
// rectangle, refreshed as rows are selected.
#include <gtest/gtest.h>

#include "tests/controls/grid/StringGridFixture.h"
// The label's source lives with the demo, which this test does not link.
#include "tools/gridsortdemo/GridCalcLabel.cpp"

namespace {

using GridCalcLabel = TStringGridFixture<TVodStringGrid>;

}  // namespace

TEST_F(GridCalcLabel, SummarisesTheSelectedRowsAndFollowsTheirFlags)
{
    Grid->SetRowCount(7);
    const wchar_t* values[] = {L"2", L"4", L"9", L"6", L"4", L"100"};
    for (Integer r = 1; r <= 6; ++r) Grid->SetCellEx(1, r, values[r - 1]);
    Grid->SetSelection({1, 3, 1, 4});
    EXPECT_EQ(GridCalcSummary(Grid, 1), L"Selected rows: 2   Sum 15.00   Average 7.50   Minimum 6.00   Maximum 9.00   "
                                        L"Std. deviation 1.50   Distinct 2");
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    TLabel* label = SetupGridCalcLabel(Form, Grid, 1, TRect{0, 130, 480, 150});
    EXPECT_EQ(label->Caption(), L"No rows selected");
    for (Integer r : {4, 1, 2, 5}) Grid->SetRowSelect(r, true);
    EXPECT_EQ(label->Caption(), L"Selected rows: 4   Sum 16.00   Average 4.00   Minimum 2.00   Maximum 6.00   "
                                L"Std. deviation 1.41   Distinct 3");
    Grid->SetRowSelect(5, false);
    EXPECT_EQ(label->Caption(), L"Selected rows: 3   Sum 12.00   Average 4.00   Minimum 2.00   Maximum 6.00   "
                                L"Std. deviation 1.63   Distinct 3");
}
