// The grid's date editors: the date or time picker of edDateEdit,
// edDateEditUpDown and edTimeEdit cells, and the date-and-time picker of
// edDateTimeEdit cells. Both follow the grid's common editor protocol.
#pragma once

#include "controls/edits/VodDateTimePicker.h"
#include "controls/grid/VurDateTimePicker.h"

class TVodStringGrid;

class TGridDatePicker : public TVurDateTimePicker {
    VEL_CLASS(TGridDatePicker, TVurDateTimePicker)
public:
    explicit TGridDatePicker(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

    // The calendar's looks when it drops down.
    bool Weeknumbers() const { return FWeekNumbers; }
    void SetWeeknumbers(bool v) { FWeekNumbers = v; }
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool v) { FShowToday = v; }
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool v) { FShowTodayCircle = v; }
    // Whether the calendar is dropped down.
    bool CalendarDropped() const { return FOldDropped; }

    // After a typed digit: moves to the next field when the one typed in
    // changed, never past the custom format's last field.
    virtual void ShiftFocusCheck();

    void WndProc(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoExit() override;

protected:
    void Dispatch(TMessage& Message) override;
    // The double clWindow frame over the window border.
    void PaintFrames();

    // The value just before the last typed digit.
    Word Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
    bool FOldDropped = false;
    bool FWeekNumbers = false, FShowToday = true, FShowTodayCircle = true;
    TVodStringGrid* FGrid = nullptr;
};

// The editor of edDateTimeEdit cells: a date part and a time part. Tab
// moves between the parts; Tab out of the time part (Shift+Tab out of the
// date part) writes the date and time into the cell and moves on.
class TGridDateTimePicker : public TVodDateTimePicker {
    VEL_CLASS(TGridDateTimePicker, TVodDateTimePicker)
public:
    // The owner is taken as the grid without a class check (nil when it is
    // no grid).
    explicit TGridDateTimePicker(TComponent* AOwner);
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    TVodStringGrid* FGrid = nullptr;
};

// The picker's text as the cell stores it.
String GridDatePickerText(TDateTimePicker* Picker);
