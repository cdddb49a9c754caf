#include "controls/grid/editors/VodInplaceEdit.h"

#include "controls/grid/VodGrid.h"

TVodInplaceEdit::TVodInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {}

TVodStringGrid* TVodInplaceEdit::VodGrid() const { return dynamic_cast<TVodStringGrid*>(FGrid); }

void TVodInplaceEdit::SetVAlign(bool Value)
{
    if (FValign == Value) return;
    FValign = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TVodInplaceEdit::SetWordWrap(bool Value)
{
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TVodInplaceEdit::UpdateContents() { TInplaceEdit::UpdateContents(); }
void TVodInplaceEdit::WndProc(TMessage& Message) { TInplaceEdit::WndProc(Message); }
void TVodInplaceEdit::DoChange() {}
void TVodInplaceEdit::CreateParams(TCreateParams& Params) { TInplaceEdit::CreateParams(Params); }
void TVodInplaceEdit::CreateWnd() { TInplaceEdit::CreateWnd(); }
void TVodInplaceEdit::BoundsChanged() { TInplaceEdit::BoundsChanged(); }
void TVodInplaceEdit::Change() { TInplaceEdit::Change(); }
void TVodInplaceEdit::KeyDown(Word& Key, TShiftState Shift) { TInplaceEdit::KeyDown(Key, Shift); }
void TVodInplaceEdit::KeyUp(Word& Key, TShiftState Shift) { TInplaceEdit::KeyUp(Key, Shift); }
void TVodInplaceEdit::KeyPress(wchar_t& Key) { TInplaceEdit::KeyPress(Key); }
void TVodInplaceEdit::WMKeyDown(TMessage& M) { TInplaceEdit::WMKeyDown(M); }
void TVodInplaceEdit::WMKeyUp(TMessage& M) { TInplaceEdit::WMKeyUp(M); }
void TVodInplaceEdit::WMChar(TMessage& M) { TInplaceEdit::WMChar(M); }
void TVodInplaceEdit::WMKillFocus(TMessage& M) { TInplaceEdit::WMKillFocus(M); }
void TVodInplaceEdit::WMSetFocus(TMessage& M) { TInplaceEdit::WMSetFocus(M); }
