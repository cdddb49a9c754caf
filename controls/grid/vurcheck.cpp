// The cell check component's base behaviour.
#include "controls/grid/vurcheck.h"

String TVodStringGridCheck::MarkError(Integer, Integer, const String& s)
{
    FLastResult = mrOk;
    return s;
}

String TVodStringGridCheck::Correct(Integer, Integer, const String& s)
{
    FLastResult = mrOk;
    return s;
}

void TVodStringGridCheck::SetGrid(TComponent* v)
{
    if (FGrid == v) return;
    if (FGrid) FGrid->RemoveFreeNotification(this);
    FGrid = v;
    if (v) v->FreeNotification(this);
}

void TVodStringGridCheck::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
}
