// The grid's search footer panel: a panel at the grid's bottom edge whose
// search edit and buttons report to the grid through six events. The grid
// creates it and connects the events; the panel's children, layout and
// painting come with the grid's rendering.
#pragma once

#include "platform/ui/ExtCtrls.h"

class TVodStringGrid;

class TSearchPanel : public TCustomPanel {
    VEL_CLASS(TSearchPanel, TCustomPanel)
public:
    explicit TSearchPanel(TComponent* AOwner);
    TVodStringGrid* Grid() const { return FGrid; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);

    TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighLightClick, OnMatchCaseClick;

private:
    TVodStringGrid* FGrid = nullptr;
    TColor FColorTo = clNone;
};
