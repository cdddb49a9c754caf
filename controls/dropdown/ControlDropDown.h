// ControlDropDown: the general drop-down edit whose window hosts whatever
// control the application assigns to Control.
#pragma once

#include "controls/dropdown/VodDropDown.h"

class TVodControlDropDown : public TVodDropDown {
    VEL_CLASS(TVodControlDropDown, TVodDropDown)
public:
    explicit TVodControlDropDown(TComponent* AOwner) : TVodDropDown(AOwner) {}

    // A control assigned while loading is parented to the window at once,
    // so the first opening shows it without further calls.
    void Loaded() override;
};
