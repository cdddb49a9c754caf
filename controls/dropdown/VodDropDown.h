// VodDropDown: the drop-down edit that every drop-down editor derives from.
// A single-line edit with a button at its right edge; the button (or
// Alt+Down, Alt+Up, F4) opens a borderless pop-up window (TDropDownForm)
// that hosts one control chosen by the descendant between an optional
// header and footer.
//
// Construction is two-phase: the constructor sets the fields, and Init
// (which CreateDropDown<T> calls, and which runs by itself before the
// window, button or pop-up are first needed) runs the virtual steps that
// descendants override: CreateDropDownForm, CreateDropDownButton,
// SetSelectionColorStyle and SetComponentStyle.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/DropDownButton.h"
#include "controls/dropdown/DropDownForm.h"
#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

class TLabel;
class TCustomImageList;

enum TDropDownEditType : Byte {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange,
    etHex, etAlphaNumeric, etValidChars
};
enum TDropPosition : Byte { dpAuto, dpDown, dpUp };
enum TSelectionColorStyle : Byte { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TLabelPosition : Byte {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};

// (Sender, value, var allow).
using TClipboardEvent = std::function<void(TObject* Sender, const String& Value, bool& Allow)>;
// (Sender, var acceptdrop).
using TDropDownEvent = std::function<void(TObject* Sender, bool& AcceptDrop)>;
// (Sender, Cancelled).
using TDropUpEvent = std::function<void(TObject* Sender, bool Cancelled)>;
// (Sender, var Pos): moves the window before it shows.
using TGetDropDownPosEvent = std::function<void(TObject* Sender, TPoint& Pos)>;

// The kinds ClassifyNumberText tells apart.
enum : Integer { NUMERIC_INT = 0, NUMERIC_FLOAT = 1, NUMERIC_TEXT = 2, NUMERIC_HEX = 5 };
// Integer (0), float (1), hexadecimal (5) or text (2), in that order of
// precedence, by the locale's separators.
Integer ClassifyNumberText(const String& S);
// The digits before the decimal separator (a sign not counted).
Integer IntegerDigitCount(const String& S);

class TVodCustomDropDown : public TCustomMaskEdit,
                           public IQelStyle,
                           public IQelTones,
                           public virtual TComponentInterfaces {
    VEL_CLASS(TVodCustomDropDown, TCustomMaskEdit)
public:
    explicit TVodCustomDropDown(TComponent* AOwner);
    ~TVodCustomDropDown() override;
    // The second phase of construction (idempotent).
    virtual void Init();
    bool Initialized() const { return FInitDone; }

    // --- Value -----------------------------------------------------------
    // The value: the edit's text without Prefix and Suffix.
    String GetText() override;
    // Prefix + value + Suffix, formatted by the edit type.
    void SetText(const String& Value) override;
    // The edit's whole text, as it stands (Prefix and Suffix included).
    String EditText();
    // Sets the edit's text with no Prefix, Suffix or formatting.
    void SetEditText(const String& Value);

    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType v);
    SmallInt Precision() const { return FPrecision; }
    void SetPrecision(SmallInt v);
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& v);
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& v);
    bool Signed() const { return FSigned; }
    void SetSigned(bool v) { FSigned = v; }
    SmallInt LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(SmallInt v) { FLengthLimit = v; }
    const String& ValidChars() const { return FValidChars; }
    void SetValidChars(const String& v) { FValidChars = v; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool v) { FCanUndo = v; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool v) { FDefaultHandling = v; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool v) { FAutoThousandSeparator = v; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v);
    void SetReadOnly(bool v);

    // --- Drop-down window ------------------------------------------------
    TDropDownForm* DropDownForm() const { return FDropDownForm; }
    bool DroppedDown() const { return FDroppedDown; }
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    Integer DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(Integer v);
    Integer DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(Integer v);
    // The size the window had when it last closed; -1: none.
    Integer UserDropDownWidth() const { return FUserDropDownWidth; }
    Integer UserDropDownHeight() const { return FUserDropDownHeight; }
    TSize DropDownSize();
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor v) { FDropDownColor = v; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor v) { FDropDownColorTo = v; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor v) { FDropDownBorderColor = v; }
    Integer DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(Integer v) { FDropDownBorderWidth = v; }
    VodDropDown::TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(VodDropDown::TGradientDirection v) { FDropDownGradient = v; }
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool v) { FDropDownShadow = v; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool v) { FDropDownSizeable = v; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool v);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition v) { FDropPosition = v; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool v) { FForceShadow = v; }
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool v) { FFocusDraw = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* v) { FDropDownHeader->Assign(v); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* v) { FDropDownFooter->Assign(v); }
    TVodButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(TVodButtonAppearance* v) { FButtonAppearance->Assign(v); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    // The hosted control (descendants set it).
    TControl* Control() const { return FControl; }
    void SetControl(TControl* v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

    // --- Button ----------------------------------------------------------
    TDropDownEditButton* Button();
    Integer DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(Integer v);
    const String& DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const String& v);
    TBitmap* DropDownButtonGlyph();
    void SetDropDownButtonGlyph(TBitmap* v);

    // --- Looks -----------------------------------------------------------
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor v) { FSelectionColor = v; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor v) { FSelectionColorTo = v; }
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    TQelStyle GetComponentStyle() const { return FQelStyle; }
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& v);
    TFontStyles EmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles v);
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool v) { FEmptyTextFocused = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);

    // --- Label -----------------------------------------------------------
    String LabelCaption() const;
    void SetLabelCaption(const String& v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v) { FLabelAlwaysEnabled = v; }
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* v);
    TLabel* Label() const { return FLabel; }
    double DpiScaleFactor();

    // --- Version ---------------------------------------------------------
    String Version();
    void SetVersion(const String&) {}

    // --- Operations ------------------------------------------------------
    void SelectAll();
    void SelectAfterDecimal();
    void SelectBeforeDecimal();
    void Assign(TPersistent* Source) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetParent(TWinControl* AParent) override;
    Integer CalcMinHeight();

    // IQelStyle, IQelTones.
    void SetComponentStyle(TQelStyle AStyle) override;
    void SetColorTones(TColorTones ATones) override;

    // --- Events ----------------------------------------------------------
    TNotifyEvent OnBeforeDropDown, OnBeforeDropUp, OnLabelClick, OnLabelDblClick;
    TDropDownEvent OnDropDown;
    TDropUpEvent OnDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick, OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader, OnDrawFooter;
    TGetTextEvent OnGetHeaderText, OnGetFooterText;
    TGetDropDownPosEvent OnGetDropDownPos;
    TClipboardEvent OnClipboardCopy, OnClipboardCut, OnClipboardPaste;

    static void Publish(TPublisher<TVodCustomDropDown>& p);
    void DefineProperties(TFiler* Filer) override;

    // Numbers.
    double GetFloatValue();
    void SetFloatValue(double x);
    void SetIntValue(Integer n);
    double TextToFloat(const String& S);

    // --- Virtual operations, in their slot order -------------------------
    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual Integer GetVersionNr();
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void DoBeforeDropDown();
    virtual void AdjustDropDownSize(Integer& Height) {}
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void PlaceDropDownControl();
    virtual void SizeDropDownForm();
    virtual void DoHideDropDown(bool Cancelled);
    virtual void DropDownHidden();
    virtual void DropDownFormDestroyed() {}
    virtual void FormMouseWheelDown();
    virtual void FormMouseWheelUp();
    virtual void FormKeyPress(wchar_t& Key);
    virtual void FormKeyDown(Word& Key, TShiftState Shift);
    virtual void FormKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyDown(Word& Key, TShiftState Shift);
    virtual void ControlKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyPress(wchar_t& Key);
    virtual void FormSizing() {}
    virtual void HandleMouseWheelDown() {}
    virtual void HandleMouseWheelUp() {}
    virtual void DrawFocusedText();
    virtual void DrawEmptyText();
    virtual void UpdateEditRect();
    virtual void UpdateButtonBounds();
    // (the Text writer is SetText above)
    virtual void SetSelectionColorStyle(TSelectionColorStyle AStyle);
    virtual void DrawSelectionBackground(TCanvas* Canvas, TRect R, Integer SegmentKind, TColor Background);
    virtual void DrawBackgroundGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor,
                                        VodDropDown::TGradientDirection Direction, TRect R, Integer Steps);

    // The button's and the edit's click on a disabled editor.
    void OpenFromButton();
    // Colours an item look (the item selector's hot and selected colours)
    // for a style; the detail, colour and image pickers call it from their
    // SetComponentStyle. Any appearance class with the colour setters works.
    template <class TAppearance>
    static void ApplyItemAppearanceStyle(TAppearance& A, TQelStyle AStyle);

    // The formatting rectangle last given to the edit.
    TRect EditRect() const { return FEditRect; }
    bool IsModified() const { return FIsModified; }
    void SetEditModified(bool v);
    void ApplyMoneyFormat();
    // The header/footer appearance refresh of the open window.
    void AppearanceChanged();

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    DWORD EditStyle() const override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Change() override;
    bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
    virtual void CreateLabel();
    virtual void UpdateLabelPosition();
    void DrawBorder();
    void RepaintBorder();

    // Message handlers.
    void WMChar(TMessage& M) override;
    void WMKeyDown(TMessage& M) override;
    void WMPaintDropDown(TMessage& M);
    void WMSetFocusDropDown(TMessage& M);
    void WMKillFocusDropDown(TMessage& M);
    void WMLButtonDownDropDown(TMessage& M);
    void WMLButtonUpDropDown(TMessage& M);
    void WMCut(TMessage& M);
    void WMCopy(TMessage& M);
    void WMPaste(TMessage& M);
    void CMWantSpecialKey(TMessage& M);

    // Helpers on the edit window.
    Integer SelStartRaw();
    Integer SelLengthRaw();
    void SetSelRaw(Integer Start, Integer End);
    bool RawModified();
    void CallPlatform(TMessage& M) { TCustomMaskEdit::Dispatch(M); }
    TCustomForm* ParentFormOf();
    void ApplyLabelFont();
    void ToggleDropDown();
    bool IsNumericType() const { return FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney; }

    TLabel* FLabel = nullptr;
    bool FParentFnt = false;
    Integer FDropDownWidth = 0, FDropDownHeight = 0;
    Integer FUserDropDownWidth = -1, FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    Integer FDropDownBorderWidth = 1;
    String FButtonHint;
    TColor FDropDownColorTo = clNone, FDropDownColor = clWhite, FDropDownBorderColor = clBlack;
    Integer FButtonWidth = 17;
    bool FEtched = false;
    TWinControl* FFocusControl = nullptr;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TVodButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TControl* FControl = nullptr;
    VodDropDown::TGradientDirection FDropDownGradient = VodDropDown::gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone, FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scCustom;
    TDropDownEditType FEditType = etString;
    SmallInt FLengthLimit = 0;
    SmallInt FPrecision = 0;
    String FPrefix, FSuffix;
    String FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = true, FIsThemed = true;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    String FValidChars;
    bool FBlockCopy = false, FDoShowBusy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = true;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TQelStyle FQelStyle = tsOffice2007Luna;
    Integer FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false, FLabelTransparent = false;
    std::unique_ptr<TFont> FLabelFont;
    TColor FBorderColor = clNone, FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    bool FLblUpdate = false;
    Integer FLblFntHeight = 0;
    TFontStyles FEmptyTextStyle;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    String FOldText;

private:
    friend class TDropDownForm;
    bool FInitDone = false;
    bool FInInit = false;
    bool FDestroying = false;
    bool FRaisingHeight = false;
    Integer FButtonDownPos = -1;
};

// The general-purpose drop-down edit: publishes the properties.
class TVodDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodDropDown, TVodCustomDropDown)
public:
    explicit TVodDropDown(TComponent* AOwner) : TVodCustomDropDown(AOwner) {}
};

// Creates a drop-down edit (or a descendant) and runs the second phase.
template <class T>
T* CreateDropDown(TComponent* Owner)
{
    T* d = new T(Owner);
    d->Init();
    return d;
}

// ---------------------------------------------------------------------------

// The colour rows of the item look, per style.
struct TItemAppearanceRow {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo;
    TColor ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
    TColor BorderColor, BorderColorTop, BorderColorBottom, EdgeColor;
    TColor BorderColorHot, BorderColorSelected;  // clNone: left as reset
};
TItemAppearanceRow ItemAppearanceRow(TQelStyle AStyle);

template <class TAppearance>
void TVodCustomDropDown::ApplyItemAppearanceStyle(TAppearance& A, TQelStyle AStyle)
{
    if (AStyle != tsCustom) {
        A.SetBorderColorHot(clNone);
        A.SetBorderColorSelected(clNone);
        A.SetColorSelectedText(clBlack);
        A.SetColorHotText(clBlack);
    }
    A.Font()->SetColor(clBlack);
    if (AStyle == tsCustom) return;
    TItemAppearanceRow r = ItemAppearanceRow(AStyle);
    A.SetColorHot(r.ColorHot);
    A.SetColorHotTo(r.ColorHotTo);
    A.SetColorMirrorHot(r.ColorMirrorHot);
    A.SetColorMirrorHotTo(r.ColorMirrorHotTo);
    A.SetColorSelected(r.ColorSelected);
    A.SetColorSelectedTo(r.ColorSelectedTo);
    A.SetColorMirrorSelected(r.ColorMirrorSelected);
    A.SetColorMirrorSelectedTo(r.ColorMirrorSelectedTo);
    A.SetBorderColor(r.BorderColor);
    A.SetBorderColorTop(r.BorderColorTop);
    A.SetBorderColorBottom(r.BorderColorBottom);
    A.SetEdgeColor(r.EdgeColor);
    if (r.BorderColorHot != clNone) A.SetBorderColorHot(r.BorderColorHot);
    if (r.BorderColorSelected != clNone) A.SetBorderColorSelected(r.BorderColorSelected);
    if (AStyle == tsOffice2016Black) A.Font()->SetColor(clWhite);
}
