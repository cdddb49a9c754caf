// The grid's drag and drop: settings, drop source and drop target.
#include "controls/grid/GridDragDropSettings.h"

#include "controls/grid/VodGrid.h"

void TDragDropSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragDropSettings*>(Source);
    if (!s) return;
    OleDropRTF = s->OleDropRTF;
    OleAcceptText = s->OleAcceptText;
    OleEntireRows = s->OleEntireRows;
    OleDropSource = s->OleDropSource;
    OleRemoveRows = s->OleRemoveRows;
    OleAcceptFiles = s->OleAcceptFiles;
    OleAcceptURLs = s->OleAcceptURLs;
    SetOleDropTarget(s->OleDropTarget());
    OleInsertRows = s->OleInsertRows;
    OleAppendRows = s->OleAppendRows;
    OleCopyAlways = s->OleCopyAlways;
    OleColumnDragDrop = s->OleColumnDragDrop;
    OleColumnReorder = s->OleColumnReorder;
    OleColumnsOnly = s->OleColumnsOnly;
    ShowCells = s->ShowCells;
}
