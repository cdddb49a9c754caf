#include "controls/grid/GridScrollControls.h"

TScrollControl::TScrollControl(TComponent* AOwner, Integer ADirection) : TCustomControl(AOwner), FDirection(ADirection)
{
}

THeaderDragButton::THeaderDragButton(TComponent* AOwner) : TCustomControl(AOwner) {}
