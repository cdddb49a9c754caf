// The borderless form that carries the grid's hover buttons. It is made in
// code (no form description) and shown without taking the activation from
// the grid's own form; leaving it with the mouse is reported through the
// control's OnMouseLeave.
#pragma once

#include "platform/ui/Forms.h"

// A popup that never takes the activation: a click on it is answered
// with the no-activate code, and its window is a popup (disabled and with a
// border unless FEnabled is set) of a class that saves the bits under it.
class TNoActiveForm : public TForm {
    VEL_CLASS(TNoActiveForm, TForm)
public:
    explicit TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {}
    bool FEnabled = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};
