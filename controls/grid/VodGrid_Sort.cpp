// Row sorting and the sort settings.
#include "controls/grid/GridSortSettings.h"

#include "controls/grid/VodGrid.h"

void TSortSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSortSettings*>(Source);
    if (!s) return;
    Column = s->Column;
    Direction = s->Direction;
    InitSortDirection = s->InitSortDirection;
    Show = s->Show;
    IndexShow = s->IndexShow;
    IndexColor = s->IndexColor;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    AutoFormat = s->AutoFormat;
    IgnoreCase = s->IgnoreCase;
    NormalCellsOnly = s->NormalCellsOnly;
}
