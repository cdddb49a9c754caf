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

#include "controls/foundation/VodHintInfo.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"

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
    ssImages, ssCheckBox, ssUnicode, ssDateTime, ssTime, ssAlphaNumeric, ssNatural
};
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum TVodGridButtonStyle { tasButton, tasCheck };
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
