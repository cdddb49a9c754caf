// The grid's own text editor, shown over a cell for the default editor
// types (normal, numeric, float, case-converting, password and valid-
// character cells): it filters typed and pasted characters by the cell's
// editor type, keeps the length limit, completes from the grid's lookup
// list, validates the text before the cell is left (Tab, Enter, Up/Down
// out of its first or last line, focus loss) and walks to the next cell at
// the text's edges.
#pragma once

#include "platform/ui/Grids.h"

class TVodStringGrid;

class TVodInplaceEdit : public TInplaceEdit {
    VEL_CLASS(TVodInplaceEdit, TInplaceEdit)
public:
    explicit TVodInplaceEdit(TComponent* AOwner);

    void UpdateContents() override;
    void WndProc(TMessage& Message) override;
    // Completes the text from the grid's lookup items while typing forward.
    void DoChange();

    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The grid's edit limit as taken when the editor got the focus (below 1:
    // no limit).
    Integer LengthLimit() const { return FLengthLimit; }
    // The cell the editor was last filled for.
    Integer EditCol() const { return FColE; }
    Integer EditRow() const { return FRowE; }
    // Alt+Backspace is held: focus loss does not end the edit.
    bool AltBack() const { return FAltBack; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void BoundsChanged() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    // The steps of the messages the editor handles before the platform.
    void WMKeyDown(TMessage& M) override;
    void WMKeyUp(TMessage& M) override;
    void WMChar(TMessage& M) override;
    void WMKillFocus(TMessage& M) override;
    void WMSetFocus(TMessage& M) override;

private:
    TVodStringGrid* VodGrid() const;
    void WMPaste(TMessage& M);
    // Colour, font, alignment and cell of the current cell.
    void TakeCellLook();
    // After a refused validation: the text to show, all selected or the
    // caret at the end.
    void RestoreAfterRefusal(const String& OldCellText);
    bool CaretOnFirstLine();
    bool CaretOnLastLine();

    Integer FSelKeyDown = 0;
    Integer FOldSelStart = 0;
    // 32-bit: a limit above 32767 stays a limit.
    Integer FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    Integer FColE = -1, FRowE = -1;
    bool FAltBack = false;
};
