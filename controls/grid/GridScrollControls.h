// The grid's thin scroll controls (the ssMetro scroll type) and the button
// that drags a column header. The grid creates, parents and frees them;
// their painting and input come with the grid's rendering.
#pragma once

#include "platform/ui/Controls.h"

class TVodStringGrid;

// Direction 0 is vertical, 1 horizontal.
class TScrollControl : public TCustomControl {
    VEL_CLASS(TScrollControl, TCustomControl)
public:
    explicit TScrollControl(TComponent* AOwner, Integer ADirection = 0);
    Integer Direction() const { return FDirection; }

private:
    Integer FDirection = 0;
};

class THeaderDragButton : public TCustomControl {
    VEL_CLASS(THeaderDragButton, TCustomControl)
public:
    explicit THeaderDragButton(TComponent* AOwner);
    TVodStringGrid* Grid() const { return FGrid; }
    void SetGrid(TVodStringGrid* v) { FGrid = v; }

private:
    TVodStringGrid* FGrid = nullptr;
};
