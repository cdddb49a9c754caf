#include "controls/grid/GridFooter.h"

#include "controls/grid/VodGrid.h"

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TVodStringGrid*>(AOwner);
}

void TFloatingFooter::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFloatingFooter*>(Source);
    if (!s) return;
    FVisible = s->FVisible;
    FColumn = s->FColumn;
    FFooterStyle = s->FFooterStyle;
    FColor = s->FColor;
    FEnableCalculation = s->FEnableCalculation;
    FCalculateHiddenRows = s->FCalculateHiddenRows;
    Changed();
}

void TFloatingFooter::Changed()
{
    if (OnChange) OnChange(this);
}

void TFloatingFooter::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    Changed();
}

void TFloatingFooter::SetColumn(Integer v)
{
    if (FColumn == v) return;
    FColumn = v;
    Changed();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    if (FFooterStyle == v) return;
    FFooterStyle = v;
    Changed();
}

void TFloatingFooter::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    Changed();
}
