#include "controls/dropdown/ControlDropDown.h"

void TVodControlDropDown::Loaded()
{
    TVodDropDown::Loaded();
    if (!ComponentState().Contains(csDesigning)) PlaceDropDownControl();
}
