#include "controls/grid/editors/VodRichEdit.h"

#include "controls/grid/VodGrid.h"

TVodRichEdit::TVodRichEdit(TComponent* AOwner) : TRichEdit(AOwner) { FGrid = dynamic_cast<TVodStringGrid*>(AOwner); }

void TVodRichEdit::ReCreate()
{
    if (HandleAllocated()) RecreateWnd();
}

void TVodRichEdit::SetSelOffset(LONG Offset)
{
    CHARFORMATW cf;
    cf.dwMask = CFM_OFFSET;
    cf.yOffset = Offset;
    SendMessage(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
}

LONG TVodRichEdit::SelOffset()
{
    CHARFORMATW cf;
    cf.dwMask = CFM_OFFSET;
    SendMessage(Handle(), EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    return cf.yOffset;
}

void TVodRichEdit::SelNormal() { SetSelOffset(0); }
void TVodRichEdit::SelSubscript() { SetSelOffset(-40); }
void TVodRichEdit::SelSuperscript() { SetSelOffset(40); }
bool TVodRichEdit::IsSelNormal() { return SelOffset() == 0; }
bool TVodRichEdit::IsSelSubscript() { return SelOffset() == -40; }
bool TVodRichEdit::IsSelSuperscript() { return SelOffset() == 40; }

void TVodRichEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETDLGCODE:
        TRichEdit::Dispatch(M);
        M.Result |= DLGC_WANTTAB;
        return;
    case WM_KILLFOCUS:
        if (FGrid && FGrid->InvokedFocusChange) return;
        if (FGrid && HWND(M.WParam) == FGrid->Handle()) FGrid->HideInplaceEdit();
        break;
    default: break;
    }
    TRichEdit::Dispatch(M);
}

void TVodRichEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    if (!FGrid) return;
    if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
        FGrid->SetFocus();
        FGrid->KeyDown(Key, Shift);
        FGrid->ShowInplaceEdit();
    } else if ((Key == VK_UP || Key == VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells()) {
        FGrid->SetFocus();
        FGrid->KeyDown(Key, Shift);
    }
}

void TVodRichEdit::RequestSize(const TRect& Rect)
{
    if (!ComponentState().Contains(csDesigning) && FGrid) {
        if (this != FGrid->FInplaceRichEdit) {
            FReqWidth = Rect.Width();
            FReqHeight = Rect.Height();
        } else if (HandleAllocated() && FGrid->SizeWhileTyping()->Height() && !FLocked) {
            const Integer a = Rect.Height();
            const Integer r = FGrid->Row();
            const TRect cr = FGrid->CellRect(FGrid->Col(), r);
            // The row grows, but never past the grid's bottom edge.
            if (FGrid->RowHeights(r) < a + 5 && cr.Top + a + 5 < FGrid->Height()) {
                SetHeight(a + 9);
                FGrid->SetRowHeights(r, a + 10);
                if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, r);
            }
        }
    }
    TRichEdit::RequestSize(Rect);
}
