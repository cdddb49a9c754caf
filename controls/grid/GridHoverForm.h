// The borderless form that carries the grid's hover buttons. It is made in
// code (no form description) and shown without taking the activation from
// the grid's own form; leaving it with the mouse is reported through the
// control's OnMouseLeave.
#pragma once

#include "platform/ui/Forms.h"

class TNoActiveForm : public TForm {
    VEL_CLASS(TNoActiveForm, TForm)
public:
    explicit TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {}
};
