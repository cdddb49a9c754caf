// The string grid's editor choice: whether the platform's text editor may
// show for the current cell, and the showing, placing and filling of the
// grid's special editor controls for every other editor type.
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/VodRichEdit.h"

TVodInplaceEdit* TVodStringGrid::NormalEdit() const { return dynamic_cast<TVodInplaceEdit*>(InplaceEditor()); }

TVodRichEdit* TVodStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TVodRichEdit(this);
        FInplaceRichEdit->SetVisible(false);
        FInplaceRichEdit->SetParent(this);
    }
    return FInplaceRichEdit;
}

void TVodStringGrid::SetEditLink(TEditLink* Value)
{
    if (FEditLink == Value) return;
    if (FEditLink) FEditLink->RemoveFreeNotification(this);
    FEditLink = Value;
    if (FEditLink) FEditLink->FreeNotification(this);
}

bool TVodStringGrid::CanEditShow() { return TBaseGrid::CanEditShow(); }

void TVodStringGrid::ShowEditorControl(Integer, Integer) {}
