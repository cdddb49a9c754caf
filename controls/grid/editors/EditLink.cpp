#include "controls/grid/editors/EditLink.h"

#include "controls/grid/VodGrid.h"

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}
TEditLink::~TEditLink() { delete FPopupForm; }

void TEditLink::EditKeyDown(TObject*, Word&, TShiftState) {}
void TEditLink::SetFocus(bool) {}
void TEditLink::SetRect(TRect) {}
void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* c = GetEditControl()) c->SetVisible(Value);
}
void TEditLink::EditExit(TObject*) {}
void TEditLink::FormExit(TObject*) {}
String TEditLink::GetCellValue() { return String(); }
void TEditLink::SetCellValue(const String&) {}
TWinControl* TEditLink::GetParent() { return EditStyle == esPopup ? static_cast<TWinControl*>(FPopupForm) : static_cast<TWinControl*>(FOwner); }
void TEditLink::HideEditor() {}
void TEditLink::RestoreWinProc() {}
TForm* TEditLink::NeedPopupForm() { return FPopupForm; }
void TEditLink::ForceExit() {}
void TEditLink::Notification(TComponent* AComponent, TOperation Operation) { TComponent::Notification(AComponent, Operation); }
