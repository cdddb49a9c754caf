// The date-time pickers of the control library.
//
// TCustomDateTimePicker adds to the platform's picker: auto-tab (a digit
// that completed a field moves the caret to the next field, or the focus to
// the next control, through the "DTPShiftFocus" message posted after the
// window processed the key), its own flat frame and metro look with
// coloured borders and an own-coloured, themed or classic button, and the
// Tab handling a pair of pickers inside the grid relies on.
//
// TVodDateTimePicker adds the date-and-time kind (a companion time picker
// at the right edge merged into one DateTime), a null date shown with its
// own format and replaced by today while the user edits, minimum and
// maximum times, an attached caption label and date-field auto-tab.
#pragma once

#include <memory>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace VodDateTimePicker {
// Where the attached label sits around the picker.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
// The message number of "DTPShiftFocus" (registered once per name).
UINT ShiftFocusMessage();
}  // namespace VodDateTimePicker

enum TVodDateTimeKind { dkDate, dkTime, dkDateTime };

class TCustomDateTimePicker : public TDateTimePicker {
    VEL_CLASS(TCustomDateTimePicker, TDateTimePicker)
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);
    ~TCustomDateTimePicker() override;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle v);
    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool v);
    bool AutoTabToNext() const { return FAutoTabToNext; }
    virtual void SetAutoTabToNext(bool v);
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; }
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; Invalidate(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }

    void WndProc(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;

protected:
    friend class TVodDateTimePicker;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void CMEnter(TMessage& M) override;
    void CMExit(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void Ctl3DChanged() override;
    void WMPaint(TMessage& M) override;

    // The auto-tab step after a digit (this class: the time kind).
    virtual void ShiftFocus();
    // True: the system draws the borders (this class); false: own borders.
    virtual bool UseSystemBorder() { return true; }
    // The next control of the parent form takes the focus.
    void FocusNextControl();
    bool DoVisualStyles() const;
    bool IsMetro() { return FMetroStyle && !UseSystemBorder(); }
    bool IsActive();
    bool ShowFocusBorder();
    void NCPaint(TMessage& M);
    void DrawFlatFrame(HDC DC, bool SecondOutline);
    void DrawButtonFace(HDC DC);
    void DrawBorders();
    void DrawBorder(HDC DC);
    void DrawButtonEdge(HDC DC);
    void ApplyWholeFields();

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = TColor(0);
    bool FIsThemed;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
    Integer FButtonWidth;
    bool FButtonHover = false;
    bool FIsWinXP;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
    bool FAutoTab = false;
    bool FAutoTabToNext = true;
    Word Fh = 0, Fm = 0, Fs = 0, Fms = 0;
    bool FIsTimePicker = false;
    // Set by the grid's date editor: Tab stays inside a date and time pair.
    bool FGridTabhandling = false;
};

class TVodDateTimePicker : public TCustomDateTimePicker {
    VEL_CLASS(TVodDateTimePicker, TCustomDateTimePicker)
public:
    using TLabelPosition = VodDateTimePicker::TLabelPosition;

    explicit TVodDateTimePicker(TComponent* AOwner);
    ~TVodDateTimePicker() override;

    // Values. DateTime merges the companion's time in first.
    TDateTime DateTime();
    virtual void SetDateTime(TDateTime v);
    TDateTime Date() const { return TDateTimePicker::Date(); }
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    TVodDateTimeKind Kind() const { return FKind; }
    void SetKind(TVodDateTimeKind v);
    const String& Format() const { return TDateTimePicker::Format(); }
    void SetFormat(const String& v);
    const String& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& v);
    TDateTime MinTime() const { return FMinTime; }
    void SetMinTime(TDateTime v) { FMinTime = v; }
    TDateTime MaxTime() const { return FMaxTime; }
    void SetMaxTime(TDateTime v) { FMaxTime = v; }
    const String& NullDateFormat() const { return FNullDateFormat; }
    void SetNullDateFormat(const String& v) { FNullDateFormat = v; }
    TDateTime NullDateDate() const { return FNullDateDate; }
    void SetNullDateDate(TDateTime v) { FNullDateDate = v; }
    bool NullDateIsToday() const { return FNullDateIsToday; }
    void SetNullDateIsToday(bool v) { FNullDateIsToday = v; }
    void SetTabStop(bool v);
    void SetAutoTab(bool v) override;
    void SetAutoTabToNext(bool v) override;
    void SetBorderStyle(TBorderStyle v) override;
    // The companion time picker of the date-and-time kind, or null.
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    // The packed version and its dotted form; writing it does nothing.
    virtual Integer GetVersionNr() { return 0x01020500; }
    String Version();
    void SetVersion(const String&) {}

    // Label.
    String LabelCaption() const;
    void SetLabelCaption(const String& v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* v);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    TLabel* PickerLabel() const { return FLabel; }

    TNotifyEvent OnTimeChange, OnLabelClick, OnLabelDblClick;

    void SetParent(TWinControl* AParent) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetVisible(bool v) override;
    void Loaded() override;
    void DoEnter() override;
    void DoExit() override;
    void KeyPress(wchar_t& Key) override;
    void WndProc(TMessage& Message) override;
    bool MsgSetDateTime(const SYSTEMTIME& Value) override;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void Change() override;
    void ChangeScale(Integer M, Integer D) override;
    void CMEnabledChanged(TMessage& M) override;
    void WMPaint(TMessage& M) override;
    void ShiftFocus() override;
    bool UseSystemBorder() override { return false; }
    virtual void DoChange();
    virtual void DoClick();
    virtual void DoTimePickerKeyPress(TObject* Sender, wchar_t& Key) { (void)Sender; (void)Key; }

    void InternalSet(TDateTime x);
    void ApplyNullFormat();
    void CreateTimePicker();
    void UpdateTimePicker();
    void ReleaseTimePicker();
    void TimeChanged(TObject* Sender);
    void NotifyCN(TMessage& M);
    void UpdateLabel();
    void PlaceLabel();
    void LabelFontChanged(TObject* Sender);
    void SetLabelBold(bool Bold);
    void ClampTime();

    TVodDateTimeKind FKind = dkDateTime;
    String FTimeFormat;
    Word Fy[3] = {0, 0, 0};
    TLabel* FLabel = nullptr;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = VodDateTimePicker::lpLeftTop;
    Integer FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FFocusLabel = false;
    bool FLabelAlwaysEnabled = false;
    bool FParentFnt = false;
    bool FIgnoreTimePickerCheck = false;
    bool FFirstRun = true;
    bool FNullDateIsToday = false;
    bool FLblUpdate = false;
    Integer FLblFntHeight = 0;
    String FNullDateFormat;
    TDateTime FNullDateDate = 0;
    String FOriginalFormat;
    bool FInternalChangedFlag = false;
    TDateTime FMaxTime = 0, FMinTime = 0;
    TCustomDateTimePicker* FTimePicker = nullptr;
    // Companions released while one of their own handlers ran: freed once
    // the posted release message comes back.
    Integer FInCompanionEvent = 0;
    std::vector<TCustomDateTimePicker*> FReleased;
};
