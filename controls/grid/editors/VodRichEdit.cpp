#include "controls/grid/editors/VodRichEdit.h"

#include "controls/grid/VodGrid.h"

TVodRichEdit::TVodRichEdit(TComponent* AOwner) : TRichEdit(AOwner) { FGrid = dynamic_cast<TVodStringGrid*>(AOwner); }

void TVodRichEdit::ReCreate()
{
    if (HandleAllocated()) RecreateWnd();
}
void TVodRichEdit::SelNormal() {}
void TVodRichEdit::SelSubscript() {}
void TVodRichEdit::SelSuperscript() {}
bool TVodRichEdit::IsSelNormal() { return true; }
bool TVodRichEdit::IsSelSubscript() { return false; }
bool TVodRichEdit::IsSelSuperscript() { return false; }
void TVodRichEdit::Dispatch(TMessage& Message) { TRichEdit::Dispatch(Message); }
void TVodRichEdit::KeyDown(Word& Key, TShiftState Shift) { TRichEdit::KeyDown(Key, Shift); }
void TVodRichEdit::RequestSize(const TRect& Rect) { TRichEdit::RequestSize(Rect); }
