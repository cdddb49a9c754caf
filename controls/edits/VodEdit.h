// The edit box of the control library: a single-line edit with typed input
// (numbers, decimals, money, hexadecimal, ranges, letter case, allowed and
// forbidden characters), a fixed prefix and suffix around the value, range
// checks, an attached label, focus/error/modified colours, a flat look, a
// prompt, an error zigzag, the link look, a lookup list under the caret with
// persistence in an INI file or the registry, and OLE drag and drop of text.
#pragma once

#include <functional>
#include <memory>

#include "controls/edits/VodEddd.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Lists.h"
#include "platform/base/Variants.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// ---------------------------------------------------------------------------
// Enumerations

enum TVodEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney,
    etRange, etHex, etAlphaNumeric, etValidChars, etInvalidChars
};

namespace VodEdit {
// Where the attached label sits beside the edit.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
}  // namespace VodEdit

enum TEditAlign { eaLeft, eaRight, eaDefault, eaCenter };
enum TPrecisionDisplay { pdNormal, pdShortest };
enum TValueSeparator { vsBracket, vsSquareBracket, vsLargerSmaller, vsNone };
enum TPersistenceLocation { plInifile, plRegistry };

// The number kind of a text under the current separators.
enum class TNumberKind { None, Integer, Decimal, Hex };
TNumberKind EditNumberKind(const String& S);
// Every thousand separator removed, then the platform's float conversion;
// 0 for a text that does not convert.
double EditTextToNumber(const String& S);
// Word-wise capitals with the "Mc"/"Mac" and roman-numeral rules.
String EditMixedCase(const String& S);
// The hexadecimal value of a text, wrapping to 32 bits; a "-" anywhere makes
// it negative, other non-digits count 0.
Integer EditHexValue(const String& S);

class TVodEdit;

// ---------------------------------------------------------------------------
// Events

using TValueValidateEvent = std::function<void(TObject* Sender, const String& Value, bool& IsValid)>;
using TClipboardEvent = std::function<void(TObject* Sender, const String& Value, bool& allow)>;
using TClipboardAllowEvent = std::function<void(TObject* Sender, String& Value, bool& allow)>;
using TLookupSelectEvent = std::function<void(TObject* Sender, String& Value)>;
using TLookupIndexSelectEvent = std::function<void(TObject* Sender, Integer Index, String& Value)>;
using TLookupNeedDataEvent =
    std::function<void(TObject* Sender, const String& Value, TStrings* List, Integer& ItemIndex)>;
using TURLClickEvent = std::function<void(TObject* Sender, const String& URL, bool& Show)>;

// ---------------------------------------------------------------------------
// Helper classes

// The attached label; AlwaysEnable keeps it enabled while its edit is not.
class TVodEditLabel : public TLabel {
    VEL_CLASS(TVodEditLabel, TLabel)
public:
    explicit TVodEditLabel(TComponent* AOwner) : TLabel(AOwner) {}
    bool AlwaysEnable() const { return FAlwaysEnable; }
    void SetAlwaysEnable(bool v) { FAlwaysEnable = v; }
    // The caption's width as drawn on one line (DrawText's measure).
    Integer MeasuredWidth();

protected:
    void Dispatch(TMessage& Message) override;

private:
    bool FAlwaysEnable = false;
};

// Gives access to the painting of a window's graphic children.
class TWinCtrl : public TWinControl {
    VEL_CLASS(TWinCtrl, TWinControl)
public:
    explicit TWinCtrl(TComponent* AOwner) : TWinControl(AOwner) {}
    void PaintCtrls(HDC DC, TControl* First) { PaintControls(DC, First); }
    // The same for any windowed control.
    static void PaintCtrlsOf(TWinControl* Control, HDC DC, TControl* First)
    {
        void (TWinControl::*paint)(HDC, TControl*) = &TWinCtrl::PaintControls;
        (Control->*paint)(DC, First);
    }
};

// Distinct integers (the values of an etRange edit).
class TRangeList : public TList {
    VEL_CLASS(TRangeList, TList)
public:
    TRangeList() = default;
    void Add(Integer Value);
    void AddMultiple(Integer Value, Integer Count);
    void Delete(Integer Index) { TList::Delete(Index); }
    bool InList(Integer Value) const;
    Integer GetInteger(Integer Index) const;
    void SetInteger(Integer Index, Integer Value);
    // One line of debug output per value.
    void Show() const;
    // Parses "1-3,5;7": false when a part does not convert.
    bool StrToList(String s);
};

// The lookup settings (the Lookup property).
class TLookupSettings : public TPersistent {
    VEL_CLASS(TLookupSettings, TPersistent)
public:
    TLookupSettings();
    ~TLookupSettings() override;
    void Assign(TPersistent* Source) override;
    void AddPair(const String& DisplayText, const String& Value);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    TStringList* DisplayList() const { return FDisplayList.get(); }
    void SetDisplayList(TStrings* v) { FDisplayList->Assign(v); }
    TStringList* ValueList() const { return FValueList.get(); }
    void SetValueList(TStrings* v) { FValueList->Assign(v); }
    Integer NumChars() const { return FNumChars; }
    void SetNumChars(Integer v) { if (v >= 1) FNumChars = v; }
    Integer DisplayCount() const { return FDisplayCount; }
    void SetDisplayCount(Integer v) { FDisplayCount = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }
    bool SearchValue() const { return FSearchValue; }
    void SetSearchValue(bool v) { FSearchValue = v; }
    bool ShowValue() const { return FShowValue; }
    void SetShowValue(bool v) { FShowValue = v; }
    TValueSeparator ValueSeparator() const { return FValueSeparator; }
    void SetValueSeparator(TValueSeparator v) { FValueSeparator = v; }
    bool Multi() const { return FMulti; }
    void SetMulti(bool v) { FMulti = v; }
    Char Separator() const { return FSeparator; }
    void SetSeparator(Char v) { FSeparator = v; }
    bool AcceptOnTab() const { return FAcceptOnTab; }
    void SetAcceptOnTab(bool v) { FAcceptOnTab = v; }
    bool History() const { return FHistory; }
    void SetHistory(bool v) { FHistory = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer v) { FSpacing = v; }

private:
    bool FEnabled = false;
    std::unique_ptr<TStringList> FDisplayList, FValueList;
    Integer FNumChars = 2, FDisplayCount = 4;
    bool FCaseSensitive = false, FSearchValue = false, FShowValue = false;
    TValueSeparator FValueSeparator = vsBracket;
    bool FMulti = false;
    Char FSeparator = L';';
    bool FAcceptOnTab = false, FHistory = false;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    Integer FSpacing = 0;
};

// Where the text and the lookup history are kept (the Persistence property).
class TPersistence : public TPersistent {
    VEL_CLASS(TPersistence, TPersistent)
public:
    bool Enable() const { return FEnable; }
    void SetEnable(bool v) { FEnable = v; }
    const String& Key() const { return FKey; }
    void SetKey(const String& v) { FKey = v; }
    const String& Section() const { return FSection; }
    void SetSection(const String& v) { FSection = v; }
    TPersistenceLocation Location() const { return FLocation; }
    void SetLocation(TPersistenceLocation v) { FLocation = v; }

private:
    bool FEnable = false;
    String FKey, FSection;
    TPersistenceLocation FLocation = plInifile;
};

// The list box inside the lookup popup.
class TListBoxTab : public TListBox {
    VEL_CLASS(TListBoxTab, TListBox)
public:
    explicit TListBoxTab(TComponent* AOwner) : TListBox(AOwner) {}
    bool HandleTab() const { return FHandleTab; }
    void SetHandleTab(bool v) { FHandleTab = v; }
    std::function<void(Integer Index, TRect Rect, TOwnerDrawState State)> OnDrawRow;

protected:
    void Dispatch(TMessage& Message) override;
    void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;

private:
    bool FHandleTab = false;
};

// The lookup popup: a topmost, non-activating hint window around the list.
class TListHintWindow : public THintWindow {
    VEL_CLASS(TListHintWindow, THintWindow)
public:
    explicit TListHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
    TListBoxTab* ListControl() const { return FListControl; }
    void SetListControl(TListBoxTab* v) { FListControl = v; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override {}

private:
    TListBoxTab* FListControl = nullptr;
};

// The edit's drop target.
class TEditDropTarget : public TAEDropTarget {
public:
    explicit TEditDropTarget(TVodEdit* AEdit) : FVodEdit(AEdit) {}
    void DragMouseMove(TPoint pt, bool& Allow) override;
    void DropText(TPoint pt, const String& s) override;

private:
    TVodEdit* FVodEdit;
};

// ---------------------------------------------------------------------------
// The edit box

class TVodEdit : public TCustomEdit {
    VEL_CLASS(TVodEdit, TCustomEdit)
public:
    explicit TVodEdit(TComponent* AOwner);
    ~TVodEdit() override;

    // Added virtual operations.
    virtual Integer GetVersionNr();
    virtual bool ValidateValue(const String& Value);
    virtual void DoValueValidate(const String& Value, bool& IsValid);
    virtual bool IsURL();
    virtual void DoLookupNeedData(const String& Value, TStrings* List, Integer& ItemIndex);
    virtual void LoadPersist();
    virtual void SavePersist();

    // The value between Prefix and Suffix.
    String GetText() override;
    void SetText(const String& v) override;
    // Stores the value as the undo point, then writes it.
    void SetEditText(const String& AValue);
    void Clear();

    String Version();
    void SetVersion(const String&) {}

    TVodEditType EditType() const { return FEditType; }
    void SetEditType(TVodEditType v);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& v);
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& v);
    SmallInt Precision() const { return FPrecision; }
    void SetPrecision(SmallInt v);
    TPrecisionDisplay PrecisionDisplay() const { return FPrecisionDisplay; }
    void SetPrecisionDisplay(TPrecisionDisplay v);
    bool Signed() const { return FSigned; }
    void SetSigned(bool v) { FSigned = v; }
    SmallInt LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(SmallInt v) { FLengthLimit = v; }
    bool TabOnFullLength() const { return FTabOnFullLength; }
    void SetTabOnFullLength(bool v) { FTabOnFullLength = v; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool v);
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer v) { FMinValue = v; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer v) { FMaxValue = v; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double v) { FMinFloatValue = v; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
    const String& ValidChars() const { return FValidChars; }
    void SetValidChars(const String& v) { FValidChars = v; }
    const String& InvalidChars() const { return FInvalidChars; }
    void SetInvalidChars(const String& v) { FInvalidChars = v; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool v);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool v) { FDefaultHandling = v; }
    bool FullTextSearch() const { return FFullTextSearch; }
    void SetFullTextSearch(bool v) { FFullTextSearch = v; }

    // Values.
    bool Modified() const { return FIsModified; }
    void SetModified(bool v);
    bool IsError() const { return FError; }
    void SetIsError(bool v);
    Integer IntValue();
    void SetIntValue(Integer v);
    double FloatValue();
    void SetFloatValue(double v);
    Variant Value();
    void SetValue(const Variant& v);

    // Selection commands.
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    void ListToRangeStr(TRangeList* List);
    bool RangeStrToList(TRangeList* List);

    // Positions.
    Integer CharFromPos(TPoint pt);
    TPoint PosFromChar(Integer Index);
    Integer GetTextSize();

    // Appearance.
    void Init();
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    void SetEnabled(bool Value) override;
    void SetVisible(bool v) override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; Invalidate(); }
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor v);
    TColor DisabledTextColor() const { return FDisabledTextColor; }
    void SetDisabledTextColor(TColor v) { FDisabledTextColor = v; Invalidate(); }
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& v) { FEmptyText = v; Invalidate(); }
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool v) { FEmptyTextFocused = v; Invalidate(); }
    TFontStyles EmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles v) { FEmptyTextStyle = v; Invalidate(); }
    TColor ErrorColor() const { return FErrorColor; }
    void SetErrorColor(TColor v) { FErrorColor = v; }
    TColor ErrorFontColor() const { return FErrorFontColor; }
    void SetErrorFontColor(TColor v) { FErrorFontColor = v; }
    Integer ErrorMarkerPos() const { return FErrorMarkerPos; }
    void SetErrorMarkerPos(Integer v) { FErrorMarkerPos = v; Invalidate(); }
    Integer ErrorMarkerLen() const { return FErrorMarkerLen; }
    void SetErrorMarkerLen(Integer v) { FErrorMarkerLen = v; Invalidate(); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v) { FFlatLineColor = v; Invalidate(); }
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v) { FFlatParentColor = v; Invalidate(); }
    TEditAlign FocusAlign() const { return FFocusAlign; }
    void SetFocusAlign(TEditAlign v) { FFocusAlign = v; }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; Invalidate(); }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor v) { FFocusFontColor = v; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    Integer FocusWidthInc() const { return FFocusWidthInc; }
    void SetFocusWidthInc(Integer v) { FFocusWidthInc = v; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool v) { FHintShowLargeText = v; }
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    String LabelCaption() const;
    void SetLabelCaption(const String& v);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* v);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer v) { FLabelMargin = v; UpdateLabel(); }
    VodEdit::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(VodEdit::TLabelPosition v) { FLabelPosition = v; UpdateLabel(); }
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v) { FLabelTransparent = v; UpdateLabel(); }
    TVodEditLabel* EditLabel() const { return FLabel; }
    TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(TColor v) { FModifiedColor = v; }
    bool ShowError() const { return FShowError; }
    void SetShowError(bool v) { FShowError = v; }
    bool ShowModified() const { return FShowModified; }
    void SetShowModified(bool v) { FShowModified = v; }
    bool ShowURL() const { return FShowURL; }
    void SetShowURL(bool v) { FShowURL = v; }
    bool SoftBorder() const { return FSoftBorder; }
    void SetSoftBorder(bool v) { FSoftBorder = v; Invalidate(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; Invalidate(); }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v) { FURLColor = v; }
    bool Border3D() const { return FBorder3D; }
    void SetBorder3D(bool v) { FBorder3D = v; Invalidate(); }

    // Lookup and persistence.
    TLookupSettings* Lookup() const { return FLookup.get(); }
    void SetLookup(TLookupSettings* v) { FLookup->Assign(v); }
    TPersistence* Persistence() const { return FPersistence.get(); }
    bool LookupVisible() const;
    TListHintWindow* LookupPopup() const { return FLookupList; }
    TListBoxTab* LookupListBox() const { return FLookupListBox; }
    // Re-reads the matches for the text (after keys and pastes).
    void RefreshLookup();

    // Drag and drop.
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool v) { FOleDropSource = v; }
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool v);
    TPoint DropCaretPos() const { return FCaretPos; }

    TValueValidateEvent OnValueValidate;
    TClipboardEvent OnClipboardCopy, OnClipboardCut, OnClipboardPaste;
    TClipboardAllowEvent OnClipboardCanPaste;
    TLookupSelectEvent OnLookupSelect;
    TLookupIndexSelectEvent OnLookupIndexSelect;
    TLookupNeedDataEvent OnLookupNeedData;
    TURLClickEvent OnURLClick;
    TNotifyEvent OnLabelClick, OnLabelDblClick;
    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    friend class TEditDropTarget;
    DWORD EditStyle() const override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Change() override;
    void ChangeScale(Integer M, Integer D) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Message handlers (descendants override them and call these).
    void WMChar(TMessage& M) override;
    void WMKeyDown(TMessage& M) override;
    void WMKeyUp(TMessage& M) override;
    void WMSysKeyDown(TMessage& M) override;
    void WMSetFocus(TMessage& M) override;
    void WMKillFocus(TMessage& M) override;
    void WMPaint(TMessage& M) override;
    void WMEraseBkgnd(TMessage& M) override;
    void WMLButtonDown(TMessage& M) override;
    void WMLButtonUp(TMessage& M) override;
    void WMMouseMove(TMessage& M) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void CMHintShow(TMessage& M) override;
    void CMFontChanged(TMessage& M) override;
    void WMNCPaint(TMessage& M) override;
    void WMSize(TMessage& M) override;
    virtual void WMCopy(TMessage& M);
    virtual void WMCut(TMessage& M);
    virtual void WMPaste(TMessage& M);
    virtual void WMDestroy(TMessage& M);
    virtual void CNCommand(TMessage& M);
    virtual void CNCtlColor(TMessage& M);
    virtual void CMWantSpecialKey(TMessage& M);
    virtual void CMCancelMode(TMessage& M);
    virtual void CMEnabledChangedEdit(TMessage& M);

    // Helpers shared by the unit's sources and descendants.
    String WindowText() { return TCustomEdit::GetText(); }
    void SetWindowText(const String& v);
    Integer PrefixLen() const { return Integer(FPrefix.size()); }
    void SetTextRect();
    void UpdateLabel();
    void PlaceLabel();
    void ApplyErrorLook();
    void SetURLLook(bool On);
    void DrawOverlay(HDC DC);
    void DrawBorder();
    void DrawDropMarker(HDC DC);
    void Regroup();
    Integer IntegerDigits();
    bool GroupCheckRefuses(Integer C);
    bool DecimalsFull();
    void SignToggle(bool WholeSelection, bool AllowWhole);
    void PostToParent(UINT Msg, WPARAM Key);
    void NudgeWidth();
    void DoneLookup();
    void TakeLookupEntry();
    void MoveLookupHighlight(Integer Key);
    void LookupListKeyPress(TObject* Sender, wchar_t& Key);
    void LookupListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void AddToLookupHistory();
    void UpdateDropMarker();
    void ClearDropMarker();
    void InvalidateDropSpot(TPoint p);
    void CaretToMouse();
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    void LabelFontChanged(TObject* Sender);
    TCustomIniFile* OpenPersistStore();

    // Core.
    TVodEditType FEditType = etString;
    bool FEditorEnabled = true;
    String FPrefix, FSuffix;
    SmallInt FPrecision = 0;
    TPrecisionDisplay FPrecisionDisplay = pdNormal;
    bool FSigned = false;
    SmallInt FLengthLimit = 0;
    bool FTabOnFullLength = false, FExcelStyleDecimalSeparator = false, FAutoThousandSeparator = true;
    bool FAllowNumericNullValue = false;
    Integer FMinValue = 0, FMaxValue = 0;
    double FMinFloatValue = 0, FMaxFloatValue = 0;
    String FValidChars, FInvalidChars;
    bool FCanUndo = true, FReturnIsTab = false, FDefaultHandling = true, FFullTextSearch = false;
    String FOldString;
    bool FBlockChange = false;
    Integer FSwallowedChanges = 0, FChangeCount = 0;
    bool FIsModified = false, FIsValidating = false, FGotReturn = false, FBlockDefaultHandling = false;
    bool FDesignTime = false, FIsWinXP = true, FIsThemed = true;
    bool FBlockCopy = false, FError = false, FAlignChanging = false;

    // Appearance.
    bool FAutoFocus = false;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FDisabledColor = clSilver, FDisabledTextColor = clNone;
    TEditAlign FEditAlign = eaLeft, FFocusAlign = eaDefault, FOldEditAlign = eaLeft;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    TFontStyles FEmptyTextStyle;
    TColor FErrorColor = clRed, FErrorFontColor = clWhite;
    Integer FErrorMarkerPos = 0, FErrorMarkerLen = 0;
    bool FFlat = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true, FFocusBorder = false;
    TColor FFocusBorderColor = clNone, FFocusColor = clNone, FFocusFontColor = clWindowText;
    bool FFocusLabel = false;
    Integer FFocusWidthInc = 0;
    bool FHintShowLargeText = false, FLabelAlwaysEnabled = false;
    std::unique_ptr<TFont> FLabelFont;
    Integer FLabelMargin = 4;
    VodEdit::TLabelPosition FLabelPosition = VodEdit::lpLeftTop;
    bool FLabelTransparent = false;
    TColor FModifiedColor = clHighlight;
    bool FShowError = false, FShowModified = false, FShowURL = false, FSoftBorder = false;
    bool FTransparent = false;
    TColor FURLColor = clBlue;
    bool FBorder3D = false;
    TVodEditLabel* FLabel = nullptr;
    TColor FNormalColor = clWindow, FFontColor = clWindowText;
    TBorderStyle FOldBorder = bsSingle;
    bool FMouseInControl = false, FIsUrl = false, FParentFnt = true, FLblUpdate = false;
    Integer FLblFntHeight = 0, FLoadedHeight = 0;
    Integer FIndentL = 0, FIndentR = 0;
    bool FUrlClickHandled = false;

    // Lookup and persistence.
    std::unique_ptr<TLookupSettings> FLookup;
    std::unique_ptr<TPersistence> FPersistence;
    TListHintWindow* FLookupList = nullptr;
    TListBoxTab* FLookupListBox = nullptr;

    // Drag and drop.
    bool FOleDropSource = false, FOleDropTarget = false, FOleDropTargetAssigned = false;
    bool FIsDragSource = false, FButtonDown = false, FMovedOut = false;
    TPoint FCaretPos{-1, -1};
    TEditDropTarget* FDropTarget = nullptr;   // referenced while registered
};

// The screen's scale against 96 pixels per inch (by the height of "0" in a
// 9-point font).
double EditScreenScale();
