// The platform rich edit as the grid's rich text editor: subscript and
// superscript of the selection, navigation keys handed back to the grid,
// and the row growing while typing as the text asks for more height.
#pragma once

#include "platform/ui/RichEdit.h"

class TVodStringGrid;

class TVodRichEdit : public TRichEdit {
    VEL_CLASS(TVodRichEdit, TRichEdit)
public:
    // The owner must be a grid.
    explicit TVodRichEdit(TComponent* AOwner);

    void ReCreate();
    void SelNormal();
    void SelSubscript();
    void SelSuperscript();
    bool IsSelNormal();
    bool IsSelSubscript();
    bool IsSelSuperscript();
    // Row growth stops while the grid loads a cell into the editor.
    void Lock() { FLocked = true; }
    void Unlock() { FLocked = false; }
    bool Locked() const { return FLocked; }
    // The size the control asked for last.
    Integer ReqHeight() const { return FReqHeight; }
    Integer ReqWidth() const { return FReqWidth; }

protected:
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void RequestSize(const TRect& Rect) override;

private:
    void SetSelOffset(LONG Offset);
    LONG SelOffset();

    TVodStringGrid* FGrid = nullptr;
    Integer FReqHeight = 0, FReqWidth = 0;
    bool FLocked = false;
};
