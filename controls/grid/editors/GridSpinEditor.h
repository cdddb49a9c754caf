// The grid's spin editor of edSpinEdit, edFloatSpinEdit, edTimeSpinEdit
// and edDateSpinEdit cells: the keys step the value and never end the edit;
// Enter, Tab and Esc leave the cell by the grid's common editor protocol.
#pragma once

#include "controls/grid/VurSpinEdit.h"

class TVodStringGrid;

class TGridSpin : public TVurSpinEdit {
    VEL_CLASS(TGridSpin, TVurSpinEdit)
public:
    explicit TGridSpin(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    // A value outside MinValue..MaxValue (integer and float only, unless the
    // bounds are equal) moves to the nearer bound.
    void Clamp();
    // One step by a spin button, then the grid's spin-click event.
    void UpClick(TObject* Sender) override;
    void DownClick(TObject* Sender) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoExit() override;

protected:
    void Change() override;
    void Dispatch(TMessage& Message) override;
    void FireSpinClick(bool Up);
    TVodStringGrid* FGrid = nullptr;
};
