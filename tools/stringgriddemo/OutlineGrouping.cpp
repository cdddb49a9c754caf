// The grouping part of the string grid demo's outline page.
#include "OutlineGrouping.h"

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

void FillGroupedDownloads(TVodStringGrid* Grid)
{
    struct TRow {
        const wchar_t *Title, *Kind;
        Integer Size;
    };
    static const TRow rows[] = {
        {L"Harbour at dawn", L"Video", 182}, {L"Night market", L"Video", 240},  {L"Opening theme", L"Audio", 6},
        {L"Rain on tin", L"Audio", 4},       {L"Ferry crossing", L"Video", 96}, {L"Interview, part 1", L"Audio", 11},
        {L"Subtitles (en)", L"Text", 1},     {L"Subtitles (fr)", L"Text", 1},   {L"Mountain pass", L"Video", 310},
        {L"Credits", L"Text", 1},            {L"Street band", L"Audio", 9},     {L"Glacier", L"Video", 128},
    };
    const Integer n = Integer(sizeof(rows) / sizeof(rows[0]));
    Grid->BeginUpdate();
    Grid->SetColCount(4);
    Grid->SetRowCount(n + 1);
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
    Grid->SetColWidths(0, 24);
    Grid->SetCells(1, 0, L"Title");
    Grid->SetCells(2, 0, L"Kind");
    Grid->SetCells(3, 0, L"Size (MB)");
    for (Integer i = 0; i < n; ++i) {
        Grid->SetCells(1, i + 1, rows[i].Title);
        Grid->SetCells(2, i + 1, rows[i].Kind);
        Grid->SetCells(3, i + 1, IntToStr(rows[i].Size));
    }
    Grid->SetColWidths(1, 150);
    // Groups by kind (sorted first), each followed by its summary row.
    TGrouping* g = Grid->Grouping();
    g->SetSummary(true);
    g->SetMergeHeader(true);
    g->SetHeaderColor(TColor(0xF5E6D2));
    g->SetHeaderTextColor(TColor(0x7A3D00));
    g->SetSummaryColor(TColor(0xD9F5FF));
    Grid->Group(2);
    // The summary row of each group adds the sizes of its rows up.
    Grid->OnGroupCalc = [Grid](TObject*, Integer ACol, Integer FromRow, Integer ToRow, double& Res) {
        Res = 0;
        for (Integer r = FromRow; r <= ToRow; ++r) Res += StrToIntDef(Grid->GetGridCell(ACol, r), 0);
    };
    Grid->GroupCustomCalc(2);
    // The second group contracted.
    Integer seen = 0;
    for (Integer r = Grid->FixedRows(); r < Grid->RowCount(); ++r)
        if (Grid->IsNode(r) && ++seen == 2) {
            Grid->ContractNode(Grid->RealRowIndex(r));
            break;
        }
    // The last column fills the client width; the vertical bar is
    // proportional to the rows' real heights.
    Grid->SetScrollBars(ssVertical);
    Grid->ColumnSize()->SetStretch(true);
    Grid->SetScrollProportional(true);
    Grid->EndUpdate();
}

void SetUpOutlineGrouping(TForm* Page, TVodStringGrid*)
{
    // The description on the right gives up its lower half.
    for (Integer i = 0; i < Page->ControlCount(); ++i)
        if (auto* memo = dynamic_cast<TMemo*>(Page->Controls(i))) memo->SetHeight(270);
    auto* grid = CreateGrid<TVodStringGrid>(Page);
    grid->SetParent(Page);
    grid->SetBounds(616, 286, 356, 266);
    FillGroupedDownloads(grid);
}
