// TVurDateTimePicker: the date-time picker the grid edits dates and times
// with, on the platform's picker. It has the grid combo box's coloured
// borders and button looks, a flat one-pixel outline when Ctl3D is off, and
// a "metro" mode in which it paints its own drop-down button (never for the
// time kind). The grid's date editor derives from it.
#pragma once

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"

class TVurDateTimePicker : public TDateTimePicker {
    VEL_CLASS(TVurDateTimePicker, TDateTimePicker)
public:
    explicit TVurDateTimePicker(TComponent* AOwner);
    ~TVurDateTimePicker() override;

    // Stored; repaints when changed. Construction leaves it bsNone.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle v);
    // Repaints when changed.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    // Own drop-down button and borders (not for the time kind's button).
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool v);
    // The button in the caller's colours (ButtonColor clNone: not used).
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }
    // The common-controls library is version 6 or later.
    bool IsThemed() const { return FIsThemed; }
    bool IsWinXP() const { return FIsWinXP; }

    // "1.0.0.0"; writing it has no effect.
    String Version() const;
    void SetVersion(const String&) {}

    void WndProc(TMessage& Message) override;

protected:
    void CMEnter(TMessage& M) override;
    void CMExit(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void Ctl3DChanged() override;
    void WMPaint(TMessage& M) override;
    void WMNCPaint(TMessage& M) override;

    // MetroStyle on and not designing.
    bool IsMetro() const;
    // Visual styles wanted and active.
    bool DoVisualStyles() const;
    // Enabled at design time; else the mouse over it or the active control.
    bool IsHot();
    // FocusBorder on, not designing, hot.
    bool ShowFocusEdge();
    // The two border passes after a non-client paint.
    void DrawBordersAfterNCPaint();
    // Border and button area on the window device context (metro only).
    void DrawBorders();
    void DrawBorder(HDC DC);
    void DrawButtonArea(HDC DC);
    void DrawButton(HDC DC);
    // The one-pixel outline of the flat look (Ctl3D off, BorderColor set).
    void DrawFlatOutline(HDC DC);

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
    Integer FButtonWidth;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = false;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
};
