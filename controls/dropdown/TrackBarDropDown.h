// TrackBarDropDown: a drop-down edit whose window hosts a track bar. The
// edit shows the position as a number; the user picks a value by sliding
// the bar, with Up and Down on the edit, or by dragging sideways over it.
#pragma once

#include "controls/dropdown/VodDropDown.h"

class TTrackBar;

class TVodTrackBarDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodTrackBarDropDown, TVodCustomDropDown)
public:
    explicit TVodTrackBarDropDown(TComponent* AOwner);

    TTrackBar* TrackBar() const { return FTrackBar; }
    Integer Min() const { return FMin; }
    void SetMin(Integer v);
    Integer Max() const { return FMax; }
    void SetMax(Integer v);
    Integer Position() const { return FPosition; }
    void SetPosition(Integer v);
    Integer Frequency() const { return FFrequency; }
    void SetFrequency(Integer v);
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer v);

    TNotifyEvent OnTrackChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;

protected:
    void WMKeyDown(TMessage& M) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Change() override;

private:
    void TrackChange(TObject* Sender);
    // Sets Position and shows it in the edit.
    void MoveTo(Integer v);

    TTrackBar* FTrackBar = nullptr;
    Integer FMin = 0;
    Integer FFrequency = 1;
    Integer FPageSize = 2;
    Integer FMax = 10;
    Integer FPosition = 0;
    bool FMouseDraging = false;
    Integer FMouseX = 0;
    bool FShowing = false;
};
