#include "controls/grid/editors/CellControls.h"

#include "controls/grid/VodGrid.h"

void TControlEdit::Dispatch(TMessage& Message) { TMaskEdit::Dispatch(Message); }
void TControlEdit::KeyPress(wchar_t& Key) { TMaskEdit::KeyPress(Key); }
void TControlCombo::Dispatch(TMessage& Message) { TComboBox::Dispatch(Message); }
void TControlCombo::KeyPress(wchar_t& Key) { TComboBox::KeyPress(Key); }
void CellControlEndKey(TWinControl*, wchar_t) {}
