#include "controls/grid/editors/GridEditors.h"

void TGridUnitEditBtn::SetUnitID(const String& v)
{
    if (FUnitID == v) return;
    FUnitID = v;
    if (OnUnitChanged) OnUnitChanged(this, v);
}
