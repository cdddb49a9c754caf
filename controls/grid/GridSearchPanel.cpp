#include "controls/grid/GridSearchPanel.h"

#include "controls/grid/VodGrid.h"

TSearchPanel::TSearchPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TVodStringGrid*>(AOwner);
}

void TSearchPanel::SetColorTo(TColor v)
{
    FColorTo = v;
    Invalidate();
}
