// The hint window that shows markup texts (the grid's scroll hints and
// cell hints). The grid creates it; its painting comes with the grid's
// rendering.
#pragma once

#include "platform/ui/Forms.h"

class THTMLHintWindow : public THintWindow {
    VEL_CLASS(THTMLHintWindow, THintWindow)
public:
    explicit THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
};
