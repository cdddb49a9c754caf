#include "controls/grid/editors/EditLink.h"

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/VodInplaceEdit.h"

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    // The link's own popup form goes with it; no other link shares it.
    delete FPopupForm;
    FPopupForm = nullptr;
}

TForm* TEditLink::NeedPopupForm()
{
    if (!FPopupForm) {
        FPopupForm = new TForm(nullptr);
        FPopupForm->SetName(L"gridform");
    }
    return FPopupForm;
}

TWinControl* TEditLink::GetParent()
{
    if (EditStyle == esPopup) return FPopupForm;
    return FOwner;
}

String TEditLink::GetCellValue()
{
    if (!FOwner) return String();
    return FOwner->Cells(FOwner->RealCol(), FOwner->Row());
}

void TEditLink::SetCellValue(const String& S)
{
    if (FOwner) FOwner->StoreEditorText(FOwner->RealCol(), FOwner->Row(), S);
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FOwner) FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(TObject*)
{
    HideEditor();
    if (EditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::FormExit(TObject* Sender)
{
    const String v = GetEditorValue();
    if (FOwner && FOwner->NormalEdit()) FOwner->NormalEdit()->SetText(v);
    if (FForcedExit) {
        SetCellValue(v);
        return;
    }
    EditExit(Sender);
    if (FOwner) FOwner->InvokedFocusChange = true;
}

void TEditLink::SetRect(TRect R)
{
    TWinControl* c = GetEditControl();
    if (!c || !FOwner) return;
    const Integer lw = FOwner->GridLineWidth();
    c->SetBounds(R.Left, R.Top, R.Right - R.Left - lw, R.Bottom - R.Top - lw);
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value)
{
    TWinControl* c = GetEditControl();
    if (Value && c) {
        if (!c->Visible()) c->SetVisible(true);
        if (!c->Enabled()) c->SetEnabled(true);
    }
    if (EditStyle == esInplace && c && FOwner && !FSubClassed) {
        // The grid answers the control's dialog codes while it has the focus.
        FOwner->FLinkWndProc = c->WindowProc;
        TVodStringGrid* g = FOwner;
        c->WindowProc = [g](TMessage& M) {
            auto saved = g->FLinkWndProc;
            if (saved) saved(M);
            if (M.Msg == WM_GETDLGCODE && g->Options().Contains(goTabs)) M.Result |= 0x83;
        };
        FSubClassed = true;
        FSubClassedControl = c;
    }
    if (Value) {
        if (c && c->CanFocus()) c->SetFocus();
    } else if (FOwner && FOwner->CanFocus()) {
        FOwner->SetFocus();
    }
}

void TEditLink::RestoreWinProc()
{
    if (EditStyle != esInplace || !FSubClassed || !FSubClassedControl) return;
    if (FOwner && FOwner->FLinkWndProc) FSubClassedControl->WindowProc = FOwner->FLinkWndProc;
    FSubClassed = false;
    if (FSubClassedControl->HandleAllocated()) ShowWindow(FSubClassedControl->Handle(), SW_HIDE);
    FSubClassedControl = nullptr;
}

void TEditLink::ForceExit()
{
    FForcedExit = true;
    if (FOwner && FOwner->CanFocus()) FOwner->SetFocus();
    FForcedExit = false;
    if (FOwner) FOwner->HideEditorControl(FOwner->Col(), FOwner->Row());
}

void TEditLink::EditKeyDown(TObject*, Word& Key, TShiftState Shift)
{
    if (!FOwner) return;
    TVodStringGrid* g = FOwner;
    bool take = false;
    switch (Key) {
    case VK_TAB: take = !WantTabs; break;
    case VK_RETURN: take = !WantKeyReturn; break;
    case VK_ESCAPE: take = !WantKeyEscape; break;
    case VK_PRIOR: case VK_NEXT: take = !WantKeyPriorNext; break;
    case VK_END: take = !WantKeyHomeEnd; break;
    case VK_LEFT: case VK_RIGHT: take = !WantKeyLeftRight; break;
    case VK_UP: case VK_DOWN: take = !WantKeyUpDown; break;
    default: break;  // Home always stays with the control
    }
    if (!take) return;
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const String v = GetEditorValue();
        g->FEditing = true;
        if (!g->ValidateCell(v)) {
            // A refused value leaves the cell's pre-edit value.
            SetEditorValue(GetCellValue());
            Key = 0;
            g->Invalidate();
            return;
        }
        SetEditorValue(GetCellValue());
    }
    if (Key == VK_TAB) {
        Key = 0;
        if (g->Navigation()->TabToNextAtEnd()) {
            // On to the next cell, whose editor opens once this key is done.
            ForceExit();
            const Integer c0 = g->Col(), r0 = g->Row();
            g->HandleTabKey(Shift.Contains(ssShift));
            if ((g->Col() != c0 || g->Row() != r0) && !g->IsClickControlCell(g->RealColIndex(g->Col()), g->Row()) &&
                g->HandleAllocated())
                PostMessage(g->Handle(), GridUnit().GridEditShow, 0, 0);
            return;
        }
    }
    if (Key == VK_ESCAPE) SetEditorValue(g->FCellCache);
    const String v = GetEditorValue();
    ForceExit();
    if (EditStyle == esPopup) {
        EditExit(this);
        SetCellValue(v);
    }
    g->EditMode = false;
    g->SelectCell(g->Col(), g->Row());
    if (Key == VK_RETURN && g->FLastValidation) {
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !Shift.Contains(ssShift), true, false);
        Key = 0;
    } else if (!g->FLastValidation) {
        g->FLastValidation = true;
        g->ShowEditorControl(g->Col(), g->Row());
    } else if (Key == VK_ESCAPE) {
        Key = 0;
    } else {
        if (Key >= VK_LEFT && Key <= VK_DOWN) g->KeyDown(Key, Shift);
        if (TWinControl* c = GetEditControl()) c->SetEnabled(false);
    }
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupForm) FPopupForm = nullptr;
}
