// VodObj: what the string grid shares with its parts: the editor kinds of a
// cell, the grid's event types and small enumerations, the integer lists
// (hidden rows, column order, sort columns), the cell control list, the
// line file list, the settings objects for searching, navigation, mouse,
// synchronised grids, bands and focus, the grid button, the check box
// control, the overlay windows with the glow mask and blur, the file
// picture, and TObjStringGrid, the named step of the grid's class chain.
// Sources by family: VodObj_Lists.cpp, VodObj_Settings.cpp,
// VodObj_GridButton.cpp, VodObj_CheckBox.cpp, VodObj_Overlay.cpp,
// VodObj_FilePicture.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/foundation/VodHintInfo.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls_Button.h"

// ---------------------------------------------------------------------------
// Editor kinds and shared enumerations
// ---------------------------------------------------------------------------

// The kind of inplace editor of a cell. The ordinals are stored in streams
// and settings: never reorder.
enum TEditorType : uint8_t {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
    edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
    edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
    edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
    edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown,
    edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
    edImagePickerDropDown, edVodGridDropDown, edControlDropDown, edPositiveFloat,
    edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};
static_assert(sizeof(TEditorType) == 1);
static_assert(edMaskEditBtn == 43);

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
    ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
    ssImages, ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase, ssNatural
};
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
// The drop-down buttons' style enumeration: one tasButton, tasCheck for the
// whole library.
using TVodGridButtonStyle = TVodButtonStyle;
enum TSearchDirection { sdTopBottom, sdLeftRight };
enum THighlightType { hMatchingText, hFullCell };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell, heDefault };
enum TClipboardPasteAction { paReplace, paInsert };
enum TClipboardCutAction { caClear, caRemove };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum TToggleTriStateCheck { tsAllStates, tsCheckUnCheck };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };
enum TWheelActive { waFocus, waMouseOver };

// ---------------------------------------------------------------------------
// Event types. The click, double-click, edit-permission, anchor and cell-look
// events pass the row before the column; every other cell event the column
// first.
// ---------------------------------------------------------------------------

using TGetDisplTextEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TFloatFormatEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& IsFloat, String& FloatFormat)>;
using TOnResizeEvent = std::function<void(TObject* Sender)>;
using TColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol, bool& Allow)>;
using TColumnSizingEvent = std::function<void(TObject* Sender, Integer ACol, Integer ColumnSize)>;
using TRowSizingEvent = std::function<void(TObject* Sender, Integer ARow, Integer RowSize)>;
using TRowSizeEvent = std::function<void(TObject* Sender, Integer ARow, bool& Allow)>;
using TEndColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol, Integer& AWidth)>;
using TEndRowSizeEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TClickCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol)>;
using TDblClickCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit)>;
using TScrollHintEvent = std::function<void(TObject* Sender, Integer ARow, String& hintstr)>;
using TButtonClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow)>;
using TExpandClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool Expanded)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool State)>;
using TCheckBoxCanToggleEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool State, bool& Allow)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TEditorType& AEditor)>;
using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow, TGridDrawState AState, TRect ARect, bool Printing)>;
using TAnchorClickEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor, bool& AutoHandle)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, String& Anchor)>;
using TAnchorEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor)>;
using TClickSortEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TCanSortEvent = std::function<void(TObject* Sender, Integer ACol, bool& DoSort)>;
using TCustomCompareEvent = std::function<void(TObject* Sender, const String& str1, const String& str2, Integer& Res)>;
using TRawCompareEvent = std::function<void(TObject* Sender, Integer ACol, Integer Row1, Integer Row2, Integer& Res)>;
using TGridFormatEvent = std::function<void(TObject* Sender, Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)>;
using TGridColorEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridGradientEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD)>;
using TGridBorderEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TPen* APen, TCellBorders& Borders)>;
using TGridBorderPropEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TPen* LeftPen, TPen* TopPen, TPen* RightPen, TPen* BottomPen)>;
using TGridAlignEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGridHintEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, String& hintstr)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& S)>;
using TGridBalloonEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& ATitle, String& AText, Integer& AIcon)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, Integer ARow, bool& CanInsert)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TCanAddColEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, Integer ARow, bool& CanDelete)>;
using TAutoDeleteRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TAutoInsertColEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TSearchEditChangeEvent = std::function<void(TObject* Sender, const String& Value, bool& DefaultSearch)>;
using TSpinClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown)>;
using TOfficeHintEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TVodHintInfo* OfficeHint)>;
using TImageChangeEvent = std::function<void(TObject* Sender, Integer Acol, Integer Arow)>;
using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// ---------------------------------------------------------------------------
// Integer lists, sort column list, cell control list, line file list
// ---------------------------------------------------------------------------

// A list of 32-bit integers with a change event. Add, Delete, the indexed
// writer and the sorted insertion into an empty list announce; the plain
// insertion at an index and clearing do not.
class TIntList : public TList {
    VEL_CLASS(TIntList, TList)
public:
    TIntList(Integer Col, Integer Row);

    Integer GetInteger(Integer Index) const;
    void SetInteger(Integer Index, Integer Value);
    Integer Add(Integer Value);
    void Delete(Integer Index);
    // Inserts at Index without announcing.
    void Insert(Integer Index, Integer Value);
    // Inserts at the sorted place of an ascending list (announced only when
    // the list was empty).
    void Insert(Integer Value);
    void DeleteValue(Integer Value);
    bool HasValue(Integer Value) const;
    Integer SortedIndexOf(Integer Value) const;
    Integer SortedPosOf(Integer Value) const;
    String StrValue() const;
    // Raises the platform's conversion error at the first item that is not
    // an integer; the items before it stay added.
    void SetStrValue(const String& Value);

    Integer Col() const { return FCol; }
    Integer Row() const { return FRow; }
    Integer Tag() const { return FTag; }

    TImageChangeEvent OnChange;

protected:
    void Changed();
    Integer FCol, FRow, FTag;
};

// Sort columns: bits 0..30 the column, bit 31 set for a descending one.
class TSortIndexList : public TIntList {
    VEL_CLASS(TSortIndexList, TIntList)
public:
    TSortIndexList(Integer Col = -1, Integer Row = -1) : TIntList(Col, Row) {}
    void AddIndex(Integer ColumnIndex, bool Ascending);
    Integer FindIndex(Integer ColumnIndex) const;
    Integer GetSortColumns(Integer i) const;
    void SetSortColumns(Integer i, Integer Value);
    bool GetSortDirections(Integer i) const;
    void SetSortDirections(Integer i, bool Value);
    void ToggleIndex(Integer ColumnIndex);
    String SaveToString() const;
    void LoadFromString(const String& s);
};

class TControlItem : public TObject {
public:
    TControlItem(Integer AX, Integer AY, TControl* AObject) : FX(AX), FY(AY), FObject(AObject) {}
    Integer X() const { return FX; }
    Integer Y() const { return FY; }
    // Row and column operations renumber the cell a control sits on.
    void SetX(Integer v) { FX = v; }
    void SetY(Integer v) { FY = v; }
    TControl* Control() const { return FObject; }

private:
    Integer FX, FY;
    TControl* FObject;
};

// The controls placed in cells. Owns its items, never their controls.
class TControlList : public TList {
    VEL_CLASS(TControlList, TList)
public:
    TControlList() = default;
    ~TControlList() override;
    void AddControl(Integer X, Integer Y, TControl* AObject);
    Integer ControlIndex(Integer X, Integer Y) const;
    TControlItem* GetControl(Integer i) const { return static_cast<TControlItem*>(Items(i)); }
    bool HasHandle(HWND Handle) const;
    void RemoveControl(Integer i);
};

// A string list read line by line and written with a pending line.
class TFileStringList : public TStringList {
    VEL_CLASS(TFileStringList, TStringList)
public:
    void Reset();
    bool Eof() const { return fp >= Count(); }
    void ReadLn(String& s);
    void Write(const String& s) { cache += s; }
    void WriteLn(const String& s);

private:
    Integer fp = 0;
    String cache;
};

// ---------------------------------------------------------------------------
// The named step between the platform's string grid and the base grid.
// ---------------------------------------------------------------------------

class TObjStringGrid : public TStringGrid {
    VEL_CLASS(TObjStringGrid, TStringGrid)
public:
    explicit TObjStringGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
};

// ---------------------------------------------------------------------------
// Settings objects: search footer, navigation, mouse actions, synchronised
// grid, row bands, focus helper. Assign copies a fixed list from an object
// of the same class and ignores any other source.
// ---------------------------------------------------------------------------

// A plain stored property: getter, setter and its field.
#define VEL_GRID_PROP(Type, Name, Init)            \
public:                                            \
    Type Name() const { return F##Name; }          \
    void Set##Name(Type v) { F##Name = v; }        \
    Type F##Name = Init;

class TSearchFooter : public TPersistent {
    VEL_CLASS(TSearchFooter, TPersistent)
public:
    TSearchFooter(TPersistent* AOwner, bool InitDesign);
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    VEL_GRID_PROP(bool, AlwaysHighLight, false)
    VEL_GRID_PROP(THighlightType, HighLight, hMatchingText)
    VEL_GRID_PROP(bool, SearchActiveColumnOnly, false)
    VEL_GRID_PROP(Integer, SearchColumn, -1)
    VEL_GRID_PROP(bool, SearchMatchStart, false)
    VEL_GRID_PROP(bool, SearchFixedCells, false)
    VEL_GRID_PROP(bool, SearchHiddenRows, false)
    VEL_GRID_PROP(TColor, SearchErrorColor, TColor(0x0000FF))
    VEL_GRID_PROP(TSearchDirection, SearchDirection, sdTopBottom)
public:
    bool AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    const String& FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const String& v);
    const String& FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const String& v);
    const String& HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const String& v);
    const String& MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const String& v);
    const String& HintClose() const { return FHintClose; }
    void SetHintClose(const String& v);
    const String& HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const String& v);
    const String& HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const String& v);
    const String& HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const String& v);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool v);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool v);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool v);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool v);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    String LastSearch;
    TNotifyEvent OnChange;

private:
    void Changed();
    void ChangeFlag(bool& Field, bool v);
    TPersistent* FOwner;
    bool FAutoSearch = true;
    TColor FColor = TColor(0xFFFFFF);
    TColor FColorTo = clBtnFace;
    bool FAutoThemeAdapt = false;
    std::unique_ptr<TFont> FFont;
    String FFindNextCaption, FFindPrevCaption, FHighLightCaption, FMatchCaseCaption;
    String FHintClose, FHintFindNext, FHintFindPrev, FHintHighlight;
    bool FShowClose = true, FShowFindNext = true, FShowFindPrev = true, FShowHighLight = true,
         FShowMatchCase = true, FVisible = false;
};

// The plain Boolean settings of the navigation, with their values at
// creation; all are copied by Assign but KeepScrollOnSort.
#define VEL_NAVIGATION_FLAGS(X)                                                                       \
    X(AdvanceOnEnterLoop, true) X(AdvanceAutoEdit, true) X(AdvanceSkipReadOnlyCells, true)          \
    X(AutoComboSelect, true) X(AllowCtrlEnter, true) X(AllowClipboardRowGrow, true)                  \
    X(AllowClipboardColGrow, true) X(EditSelectAll, true) X(ComboGetUpDown, true)                    \
    X(CursorWalkAlwaysEdit, true) X(LeftRightRowSelect, true) X(CopyHTMLTagsToClipboard, true)      \
    X(SkipFixedCells, true) X(SkipDisabledRows, true) X(AllowInsertRow, false)                       \
    X(AllowDeleteRow, false) X(AlwaysEdit, false) X(AdvanceOnEnter, false)                            \
    X(AutoGotoWhenSorted, false) X(AutoGotoIncremental, false) X(AutoComboDropSize, false)           \
    X(AllowClipboardShortCuts, false) X(AllowSmartClipboard, false) X(AllowRTFClipboard, false)      \
    X(AllowFmtClipboard, false) X(AllowClipboardAlways, false) X(AllowEditButtonCells, false)        \
    X(AppendOnArrowDown, false) X(CursorWalkEditor, false) X(CursorMoveRows, false)                  \
    X(MoveRowOnSort, false) X(MoveScrollOnly, false) X(ImproveMaskSel, false)                        \
    X(KeepHorizScroll, false) X(LineFeedOnEnter, false) X(TabToNextAtEnd, false)

class TNavigation : public TPersistent {
    VEL_CLASS(TNavigation, TPersistent)
public:
    TNavigation() = default;
    void Assign(TPersistent* Source) override;
#define VEL_NAV_FLAG(Name, Init) VEL_GRID_PROP(bool, Name, Init)
    VEL_NAVIGATION_FLAGS(VEL_NAV_FLAG)
#undef VEL_NAV_FLAG
    VEL_GRID_PROP(bool, KeepScrollOnSort, false)
    VEL_GRID_PROP(TAdvanceDirection, TabAdvanceDirection, adLeftRight)
    VEL_GRID_PROP(TInsertPosition, InsertPosition, pInsertBefore)
    VEL_GRID_PROP(TClipboardCutAction, ClipboardCutAction, caClear)
    VEL_GRID_PROP(TClipboardPasteAction, ClipboardPasteAction, paReplace)
    VEL_GRID_PROP(TCursorAdvance, CursorAdvance, caDefault)
    VEL_GRID_PROP(THomeEndAction, HomeEndKey, heFirstLastColumn)
    VEL_GRID_PROP(TToggleTriStateCheck, ToggleTriStateCheck, tsAllStates)
public:
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection v);
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool v);
    bool AdvanceAuto() const { return FAdvanceAuto; }
    // Switching it on switches AdvanceOnEnter on too.
    void SetAdvanceAuto(bool v);
    TNotifyEvent OnChange;

private:
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceInsert = false;
    bool FAdvanceAuto = false;
};

// The plain Boolean settings of the mouse actions copied by Assign.
#define VEL_MOUSE_FLAGS(X)                                                                            \
    X(AutoSizeColOnDblClick, true) X(PreciseNodeClick, true) X(AllColumnSize, false)                \
    X(AllRowSize, false) X(AllSelect, false) X(AutoFocus, false) X(CaretPositioning, false)          \
    X(CheckAllCheck, false) X(ColSelect, false) X(DirectComboClose, false) X(DirectComboDrop, false) \
    X(DirectDateClose, false) X(DirectDateDrop, false) X(DirectEdit, false)                          \
    X(DisjunctRowSelectNoCtrl, false) X(DisjunctColSelectNoCtrl, false) X(MoveRowOnNodeClick, false) \
    X(NoAutoRangeScroll, false) X(NodeAllExpandContract, false) X(NoScrollOnPartialRow, false)       \
    X(NoScrollOnPartialCol, false) X(PreciseCheckBoxCheck, false) X(RangeSelectAndEdit, false)       \
    X(RowSelect, false) X(RowSelectPersistent, false) X(SelectOnRightClick, false)                   \
    X(SizeFixedCol, false) X(TouchScroll, false)

class TMouseActions : public TPersistent {
    VEL_CLASS(TMouseActions, TPersistent)
public:
    explicit TMouseActions(TPersistent* AOwner = nullptr);
    void Assign(TPersistent* Source) override;
#define VEL_MOUSE_FLAG(Name, Init) VEL_GRID_PROP(bool, Name, Init)
    VEL_MOUSE_FLAGS(VEL_MOUSE_FLAG)
#undef VEL_MOUSE_FLAG
    VEL_GRID_PROP(bool, SizeFixedRow, false)
    VEL_GRID_PROP(TGridFixedCellEdit, FixedRowsEdit, fceNone)
    VEL_GRID_PROP(TGridFixedCellEdit, FixedColsEdit, fceNone)
    VEL_GRID_PROP(TGridFixedCellEditor, FixedRowsEditor, fceEdit)
    VEL_GRID_PROP(TGridFixedCellEditor, FixedColsEditor, fceEdit)
    VEL_GRID_PROP(Integer, PartialScrollDelta, 0)
    VEL_GRID_PROP(Integer, WheelIncrement, 0)
    VEL_GRID_PROP(TWheelActive, WheelActive, waFocus)
public:
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool v);
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool v) { FDisjunctRowSelect = v; }
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool v);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool v);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool v);
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool v);
    TStrings* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(TStrings* v) { FFixedComboValues->Assign(v); }
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction v);

    TNotifyEvent OnChange, OnInvalidate, OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

private:
    bool IsDesigning();
    bool FDisjunctRowSelect = false, FDisjunctColSelect = false, FDisjunctCellSelect = false;
    bool FEditOnDblClickOnly = false, FHotmailRowSelect = false;
    std::unique_ptr<TStringList> FFixedComboValues;
    TWheelAction FWheelAction = waMoveSelection;
};

class TSyncGrid : public TPersistent {
    VEL_CLASS(TSyncGrid, TPersistent)
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;
    TStringGrid* Owner() const { return FOwner; }
    TStringGrid* Grid() const { return FGrid; }
    // A grid never synchronises with itself.
    void SetGrid(TStringGrid* v);
    VEL_GRID_PROP(bool, ScrollVertical, false)
    VEL_GRID_PROP(bool, ScrollHorizontal, false)
    VEL_GRID_PROP(bool, SelectionColumn, false)
    VEL_GRID_PROP(bool, SelectionRow, false)
    VEL_GRID_PROP(bool, MoveColumn, false)
    VEL_GRID_PROP(bool, MoveRow, false)
private:
    TStringGrid* FOwner;
    TStringGrid* FGrid = nullptr;
};

class TBands : public TPersistent {
    VEL_CLASS(TBands, TPersistent)
public:
    TBands() = default;
    void Assign(TPersistent* Source) override;
    bool Active() const { return FActive; }
    void SetActive(bool v);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor v);
    Integer PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(Integer v);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor v);
    Integer SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(Integer v);
    Integer TotalLength() const { return FTotalLength; }
    VEL_GRID_PROP(bool, Print, false)
public:
    // The band colour of a data row, or Current when the bands have no
    // length.
    TColor BandColor(Integer Row, Integer FixedRows, TColor Current) const;
    TNotifyEvent OnChange;

private:
    void Changed();
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    Integer FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    Integer FSecondaryLength = 1;
    Integer FTotalLength = 2;
};

class TFocusHelper : public TPersistent {
    VEL_CLASS(TFocusHelper, TPersistent)
public:
    explicit TFocusHelper(TPersistent* AOwner = nullptr) {}
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, Enabled, false)
};

// ---------------------------------------------------------------------------
// Grid button
// ---------------------------------------------------------------------------

class TVodGridButton;

class TVodGridButtonActionLink : public TControlActionLink {
public:
    explicit TVodGridButtonActionLink(TVodGridButton* AClient);
    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(Integer Value) override;

private:
    TVodGridButton* FButton;
};

// A windowless push button with glyph and caption, flat looks with hover,
// down and checked colours, a drop-down part, groups and colour presets.
class TVodGridButton : public TGraphicControl {
    VEL_CLASS(TVodGridButton, TGraphicControl)
public:
    explicit TVodGridButton(TComponent* AOwner);
    ~TVodGridButton() override;

    void Click() override;
    void Loaded() override;
    void SetAction(TBasicAction* v);

    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer v);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* v);
    TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap* v);
    TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap* v);
    TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap* v);
    TBitmap* GlyphShade() const { return FGlyphShade.get(); }
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer v);
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TVodGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TVodGridButtonStyle v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    Integer Look() const { return FLook; }
    void SetLook(Integer v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    TComponent* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TComponent* v);
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // Applies the look of the current colour scheme of the visual style.
    void ThemeAdapt();

    VEL_GRID_PROP(TColor, ColorHot, TColor(0xCAC7C7))
    VEL_GRID_PROP(TColor, ColorHotTo, clNone)
    VEL_GRID_PROP(TColor, ColorDown, TColor(0xD8D3D2))
    VEL_GRID_PROP(TColor, ColorDownTo, clNone)
    VEL_GRID_PROP(TColor, BorderDownColor, clNone)
    VEL_GRID_PROP(TColor, BorderHotColor, clNone)
    VEL_GRID_PROP(bool, AutoXPStyle, false)
public:
    TNotifyEvent OnDropDown;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void DblClick() override;

private:
    friend class TVodGridButtonActionLink;
    void UpdateExclusive();
    void UpdateTracking();
    void BuildDisabledGlyph();
    void BuildShadeGlyph();
    void DrawGradient(TCanvas* C, TColor From, TColor To, TRect R, TColor Frame);
    void DrawGlyphAndCaption(TCanvas* C, TRect R, TPoint Offset, bool Hover);

    bool FIsComCtl6 = true;
    Integer FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FSpacing = 4;
    bool FTransparent = true;
    Integer FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FBorderColor = clNone;
    std::unique_ptr<TBitmap> FGlyphDisabled, FGlyphHot, FGlyphDown, FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = TColor(0x808080);
    TColor FColorCheckedTo = clNone;
    TVodGridButtonStyle FStyle = tasButton;
    Integer FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    TComponent* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
};

// ---------------------------------------------------------------------------
// Check box control
// ---------------------------------------------------------------------------

class TVodCheckBox : public TCustomControl {
    VEL_CLASS(TVodCheckBox, TCustomControl)
public:
    explicit TVodCheckBox(TComponent* AOwner);
    ~TVodCheckBox() override;

    // Unless read-only, flips Checked.
    virtual void Toggle();
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool Down() const { return FDown; }
    void SetDown(bool v) { FDown = v; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool v) { FTransparentCaching = v; }
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout v);
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Hot() const { return FHot; }
    VEL_GRID_PROP(bool, ReturnIsTab, false)
    VEL_GRID_PROP(bool, ReadOnly, false)
public:
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;

private:
    bool Themed() const;
    void InvalidateBoxCorner();
    void InvalidateBoxStrip();
    void PaintParentBackground(HDC dc);

    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taLeftJustify;
    bool FEllipsis = false;
    String FCaption = L"TVodCheckBox";
    bool FIsWinXP = true;
    bool FHot = false;
    bool FMouseDown = false;
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
};

// ---------------------------------------------------------------------------
// Overlay windows, glow mask and blur
// ---------------------------------------------------------------------------

// A borderless top-most popup the grid turns into the glow around the
// focused cell.
class TGridFocusWindow : public TCustomControl {
    VEL_CLASS(TGridFocusWindow, TCustomControl)
public:
    explicit TGridFocusWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

// A 32-bit bitmap of premultiplied colour and opacity.
class TGridAlphaMask : public TBitmap {
    VEL_CLASS(TGridAlphaMask, TBitmap)
public:
    TGridAlphaMask();
    // From a mask of another size only the common area is copied.
    void Assign(TPersistent* Source) override;
    void MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor Color);
    Byte Opacity() const { return FOpacity; }
    void SetOpacity(Byte v) { FOpacity = v; }

private:
    Byte FOpacity = 255;
};

void DrawRoundRectMask(TBitmap* Bitmap, Integer Width, Integer Height, Integer PenWidth, Integer Rounding,
                       Integer BlurRadius);
// Blurs a 24-bit bitmap in place; raises "Blur only works for 24-bit
// bitmaps" for any other format.
void BlurBitmap(TBitmap* Bitmap, Integer Radius);
// The cut Gaussian kernel BlurBitmap uses, w(-n) .. w(n).
std::vector<float> BlurKernel(Integer Radius);

class TArrowWindow : public TPanel {
    VEL_CLASS(TArrowWindow, TPanel)
public:
    explicit TArrowWindow(TComponent* AOwner) : TPanel(AOwner) {}
    void Init(TWinControl* AOwner, TArrowDirection Direction);
    TArrowDirection Dir = arrUp;
    TPoint Arrow[7];
    // The seven points of a direction.
    static void ArrowPoints(TArrowDirection Direction, TPoint* Points);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
};

// ---------------------------------------------------------------------------
// File picture: a picture held as a file name, read at each draw.
// ---------------------------------------------------------------------------

class TFilePicture : public TPersistent {
    VEL_CLASS(TFilePicture, TPersistent)
public:
    TFilePicture() = default;
    // Only another file picture is copied; other sources are ignored.
    void Assign(TPersistent* Source) override;
    const String& Filename() const { return FFilename; }
    void SetFilename(const String& v);
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    void DrawPicture(TCanvas* Canvas, const TRect& R);

private:
    String FFilename;
    Integer FWidth = 0, FHeight = 0;
};
