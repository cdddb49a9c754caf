// VodGrid: the string grid TVodStringGrid on the base grid, and the
// settings objects it owns. One class whose operations are divided into
// sources by family: VodGrid_Look.cpp (control look and background),
// VodGrid_Settings.cpp (grouping, balloons, modified marks, drag scrolling,
// progress look, automatic colours), VodGrid_HoverButtons.cpp (hover
// buttons), VodGrid_Update.cpp (the update bracket, the grid timer and the
// window messages that are not keyboard or mouse input).
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/foundation/VodStyleIF.h"
#include "controls/grid/BaseGrid.h"
#include "controls/grid/CellGraphics.h"
#include "controls/grid/GridClipboard.h"
#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/GridExchange.h"
#include "controls/grid/GridFind.h"
#include "controls/grid/GridFilter.h"
#include "controls/grid/GridFooter.h"
#include "controls/grid/GridPopup.h"
#include "controls/grid/GridSortSettings.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/VisualStyles.h"
#include "platform/gfx/Printer.h"

class TVodStringGrid;

// The exception class of the grid's failures.
VEL_DECLARE_EXCEPTION(EVodGridError, Exception)

// ---------------------------------------------------------------------------
// Control look and background
// ---------------------------------------------------------------------------

class TControlLook : public TPersistent {
    VEL_CLASS(TControlLook, TPersistent)
public:
    // How check boxes, radio buttons, buttons and progress bars in cells are
    // drawn (named in this class: the platform's TControlStyle is the set of
    // a control's style flags).
    enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csQel, csGlyph, csTheme };

    explicit TControlLook(TVodStringGrid* AOwner);
    ~TControlLook() override;
    // Resets the colours to their values at creation.
    void Init();
    // Copies the look from another control look without writers or
    // repainting; any other source is ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    VEL_GRID_PROP(bool, ButtonPrefix, false)
    VEL_GRID_PROP(bool, FixedDropDownButton, false)
    VEL_GRID_PROP(Integer, HintMaxWidth, 0)
    VEL_GRID_PROP(bool, CheckAlwaysActive, false)
    VEL_GRID_PROP(bool, RadioAlwaysActive, false)
    VEL_GRID_PROP(Integer, DropDownCount, 8)
    VEL_GRID_PROP(TColor, ProgressBorderColor, TColor(0x808080))
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor v);
    TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(TBitmap* v);
    TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(TBitmap* v);
    TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(TBitmap* v);
    TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(TBitmap* v);

    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor v);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor v);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor v);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor v);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor v);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor v);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor v);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor v);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor v);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor v);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor v);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor v);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor v);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor v);

    Integer CheckSize() const { return FCheckSize; }
    void SetCheckSize(Integer v);
    Integer RadioSize() const { return FRadioSize; }
    void SetRadioSize(Integer v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool v);
    Integer DropDownButtonWidth() const { return FDropDownButtonWidth; }
    void SetDropDownButtonWidth(Integer v);
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* v) { FDropDownHeader->Assign(v); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* v) { FDropDownFooter->Assign(v); }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool v);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool v);
    Integer ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(Integer v);
    Integer ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(Integer v);
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool v);

private:
    void Repaint();
    TVodStringGrid* FGrid;
    TColor FColor = 0;
    TColor FCommentColor = clRed;
    std::unique_ptr<TBitmap> FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
    TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone, FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = clWhite, FFixedGradientHoverTo = clGray;
    TColor FFixedGradientHoverMirrorFrom = clNone, FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = clSilver;
    TColor FFixedGradientDownFrom = clSilver, FFixedGradientDownTo = clGray;
    TColor FFixedGradientDownMirrorFrom = clNone, FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = clGray;
    Integer FCheckSize = 15;
    Integer FRadioSize = 10;
    TControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    Integer FDropDownButtonWidth = 16;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    Integer FProgressMarginX = 2;
    Integer FProgressMarginY = 2;
    bool FProgressXP = false;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// A picture or gradient behind the cells; every write invalidates the grid.
class TBackGround : public TPersistent {
    VEL_CLASS(TBackGround, TPersistent)
public:
    explicit TBackGround(TVodStringGrid* AGrid);
    ~TBackGround() override;
    void Assign(TPersistent* Source) override;
    Integer Top() const { return FTop; }
    void SetTop(Integer v);
    Integer Left() const { return FLeft; }
    void SetLeft(Integer v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);

private:
    void Changed();
    TVodStringGrid* FGrid;
    Integer FTop = 0, FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    std::unique_ptr<TBitmap> FBitmap;
    TBackGroundCells FCells = bcNormal;
    TColor FColor = clWindow;
    TColor FColorTo = clBtnFace;
};

// ---------------------------------------------------------------------------
// Grid settings objects
// ---------------------------------------------------------------------------

class TGrouping : public TPersistent {
    VEL_CLASS(TGrouping, TPersistent)
public:
    TGrouping() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, MergeHeader, false)
    VEL_GRID_PROP(bool, MergeSummary, false)
    VEL_GRID_PROP(TColor, HeaderColor, clNone)
    VEL_GRID_PROP(TColor, HeaderColorTo, clNone)
    VEL_GRID_PROP(TColor, HeaderTextColor, clNone)
    VEL_GRID_PROP(bool, HeaderUnderline, false)
    VEL_GRID_PROP(TColor, HeaderLineColor, clBlue)
    VEL_GRID_PROP(Integer, HeaderLineWidth, 2)
    VEL_GRID_PROP(bool, Summary, false)
    VEL_GRID_PROP(TColor, SummaryColor, clNone)
    VEL_GRID_PROP(TColor, SummaryColorTo, clNone)
    VEL_GRID_PROP(TColor, SummaryTextColor, clNone)
    VEL_GRID_PROP(bool, SummaryLine, false)
    VEL_GRID_PROP(TColor, SummaryLineColor, clBlue)
    VEL_GRID_PROP(Integer, SummaryLineWidth, 2)
    VEL_GRID_PROP(bool, ShowGroupCount, false)
    VEL_GRID_PROP(String, GroupCountFormat, String())
    VEL_GRID_PROP(bool, AutoSelectGroup, false)
    VEL_GRID_PROP(bool, AutoCheckGroup, false)
};

class TBalloonSettings : public TPersistent {
    VEL_CLASS(TBalloonSettings, TPersistent)
public:
    TBalloonSettings() = default;
    void Assign(TPersistent* Source) override;
    bool Enable() const { return FEnable; }
    void SetEnable(bool v);
    VEL_GRID_PROP(bool, ShowCell, true)
    VEL_GRID_PROP(TColor, TextColor, clNone)
    VEL_GRID_PROP(TColor, BackgroundColor, clNone)
    VEL_GRID_PROP(Integer, InitialDelay, -1)
    VEL_GRID_PROP(Integer, AutoHideDelay, -1)
    VEL_GRID_PROP(Integer, ReshowDelay, -1)
    VEL_GRID_PROP(Byte, Transparency, 0)
public:
    // Whether the grid's balloon window exists.
    bool FInit = false;
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

class TShowModified : public TPersistent {
    VEL_CLASS(TShowModified, TPersistent)
public:
    TShowModified() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, Enabled, false)
public:
    TColor Color() const { return FColor; }
    // Announces every write, also of the same colour.
    void SetColor(TColor v);
    TNotifyEvent OnChange;

private:
    TColor FColor = clYellow;
};

class TDragScrollDelays : public TPersistent {
    VEL_CLASS(TDragScrollDelays, TPersistent)
public:
    TDragScrollDelays() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(Integer, InitialDelay, 1000)
    VEL_GRID_PROP(Integer, RepeatDelay, 250)
};

class TDragScrollMargins : public TPersistent {
    VEL_CLASS(TDragScrollMargins, TPersistent)
public:
    TDragScrollMargins() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(Integer, TopMargin, 50)
    VEL_GRID_PROP(Integer, BottomMargin, 50)
    VEL_GRID_PROP(Integer, LeftMargin, 50)
    VEL_GRID_PROP(Integer, RightMargin, 50)
};

enum TDragScrollDirectionFlag { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDirectionFlag>;
using TDragScrollEvent = std::function<void(TObject* Sender, Integer TopRow, Integer LeftCol,
                                            TDragScrollDirection& DragScrollDir, bool& CanScroll)>;

class TDragScrollOptions : public TPersistent {
    VEL_CLASS(TDragScrollOptions, TPersistent)
public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, Active, false)
public:
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    void SetDelays(TDragScrollDelays* v) { FDelays->Assign(v); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }
    void SetMargins(TDragScrollMargins* v) { FMargins->Assign(v); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
};

enum TProgressStyle { psXP, psClassic };

// The look of progress cells; every writer announces a change of value.
#define VEL_PROGRESS_PROPS(X)                                                                          \
    X(TColor, CompleteColor, clRed) X(TColor, CompleteFontColor, clBlue)                             \
    X(TColor, UnCompleteColor, clNone) X(TColor, UnCompleteFontColor, clWindowText)                  \
    X(TColor, Level0Color, TColor(0x00FF00)) X(TColor, Level0ColorTo, TColor(0xE1FFE1))              \
    X(TColor, Level1Color, TColor(0x00FFFF)) X(TColor, Level1ColorTo, TColor(0xCAFFFF))              \
    X(TColor, Level2Color, TColor(0x53A9FF)) X(TColor, Level2ColorTo, TColor(0xA8D3FF))              \
    X(TColor, Level3Color, TColor(0x0000FF)) X(TColor, Level3ColorTo, TColor(0xCACAFF))              \
    X(Integer, Level1Perc, 70) X(Integer, Level2Perc, 90) X(TColor, BorderColor, TColor(0))           \
    X(bool, ShowBorder, false) X(bool, Stacked, false) X(bool, ShowPercentage, true)                  \
    X(bool, CompletionSmooth, true) X(bool, ShowGradient, true) X(Integer, Steps, 11)                 \
    X(TProgressStyle, Style, psXP)

class TGridProgressAppearance : public TPersistent {
    VEL_CLASS(TGridProgressAppearance, TPersistent)
public:
    TGridProgressAppearance() = default;
    // Copies every property, then announces once.
    void Assign(TPersistent* Source) override;
#define VEL_PROGRESS_DECL(Type, Name, Init)                  \
    Type Name() const { return F##Name; }                    \
    void Set##Name(Type v)                                   \
    {                                                        \
        if (F##Name == v) return;                            \
        F##Name = v;                                         \
        Changed();                                           \
    }
    VEL_PROGRESS_PROPS(VEL_PROGRESS_DECL)
#undef VEL_PROGRESS_DECL
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
#define VEL_PROGRESS_FIELD(Type, Name, Init) Type F##Name = Init;
    VEL_PROGRESS_PROPS(VEL_PROGRESS_FIELD)
#undef VEL_PROGRESS_FIELD
};

class TColorSetting : public TPersistent {
    VEL_CLASS(TColorSetting, TPersistent)
public:
    TColorSetting() = default;
    void Assign(TPersistent* Source) override;
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v);
    TColor BkgColor() const { return FBkgColor; }
    void SetBkgColor(TColor v);
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TColor FTextColor = clNone, FBkgColor = clNone;
};

class TAutoColor : public TPersistent {
    VEL_CLASS(TAutoColor, TPersistent)
public:
    TAutoColor();
    ~TAutoColor() override;
    void Assign(TPersistent* Source) override;
    TColorSetting* NegativeNumber() const { return FNegativeNumber.get(); }
    void SetNegativeNumber(TColorSetting* v) { FNegativeNumber->Assign(v); }
    TColorSetting* PositiveNumber() const { return FPositiveNumber.get(); }
    void SetPositiveNumber(TColorSetting* v) { FPositiveNumber->Assign(v); }
    bool HasColors() const;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    std::unique_ptr<TColorSetting> FNegativeNumber, FPositiveNumber;
};

// ---------------------------------------------------------------------------
// Node, sizing, markup-export and print settings
// ---------------------------------------------------------------------------

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// The look and place of outline nodes. Writers of the drawn values repaint
// the grid.
class TCellNode : public TPersistent {
    VEL_CLASS(TCellNode, TPersistent)
public:
    explicit TCellNode(TVodStringGrid* AOwner);
    ~TCellNode() override;
    // Copies every property (the glyphs by copying the bitmaps); any other
    // source is ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    VEL_GRID_PROP(TColor, Color, clSilver)
    VEL_GRID_PROP(bool, ExpandOne, false)
    VEL_GRID_PROP(TColor, NodeColor, clBlack)
public:
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v);
    Integer NodeColumn() const { return FNodeColumn; }
    // Raises EVodGridError while the grid holds nodes and the column changes.
    void SetNodeColumn(Integer v);
    Integer NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(Integer v);
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap* v);
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap* v);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool v);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor v);

private:
    void Repaint();
    TVodStringGrid* FGrid;
    TNodeType FNodeType = cnXP;
    Integer FNodeColumn = 0;
    Integer FNodeIndent = 12;
    std::unique_ptr<TBitmap> FExpandGlyph, FContractGlyph;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    TColor FTreeColor = clGray;
};

// Whether the inplace editor grows the cell while typing.
class TSizeWhileTyping : public TPersistent {
    VEL_CLASS(TSizeWhileTyping, TPersistent)
public:
    TSizeWhileTyping() = default;
    VEL_GRID_PROP(bool, Height, false)
    VEL_GRID_PROP(bool, Width, false)
};

// Scoped: the panel's position settings use the same value names.
enum class TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

// Saving column widths and stretching columns to the grid's width.
class TColumnSize : public TPersistent {
    VEL_CLASS(TColumnSize, TPersistent)
public:
    explicit TColumnSize(TVodStringGrid* AOwner);
    // Copies every property but StretchAll; any other source is ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    VEL_GRID_PROP(bool, Save, false)
    VEL_GRID_PROP(String, Key, String())
    VEL_GRID_PROP(String, Section, String())
    VEL_GRID_PROP(TColumnSizeLocation, Location, TColumnSizeLocation::clRegistry)
    VEL_GRID_PROP(Integer, StretchColumn, -1)
    VEL_GRID_PROP(bool, SynchWithGrid, false)
    VEL_GRID_PROP(bool, SynchNormalCellsOnly, false)
    VEL_GRID_PROP(TAutoSizeRows, Rows, arAll)
public:
    bool Stretch() const { return FStretch; }
    // Stores and, when the grid has a parent, stretches at once.
    void SetStretch(bool v);
    bool StretchAll() const { return FStretchAll; }
    // On a change: switching on makes StretchColumn -1; stretches at once.
    void SetStretchAll(bool v);

private:
    TVodStringGrid* FGrid;
    bool FStretch = false;
    bool FStretchAll = false;
};

// Settings of the markup export.
class THTMLSettings : public TPersistent {
    VEL_CLASS(THTMLSettings, TPersistent)
public:
    THTMLSettings();
    ~THTMLSettings() override;
    // Copies every property but ExportImages and the column widths; any
    // other source is ignored.
    void Assign(TPersistent* Source) override;

    VEL_GRID_PROP(bool, AutoPreview, false)
    VEL_GRID_PROP(Integer, BorderSize, 1)
    VEL_GRID_PROP(Integer, CellSpacing, 0)
    VEL_GRID_PROP(Integer, CellPadding, 0)
    VEL_GRID_PROP(bool, ConvertSpecialChars, false)
    VEL_GRID_PROP(bool, ExportImages, true)
    VEL_GRID_PROP(String, FooterFile, String())
    VEL_GRID_PROP(String, FooterText, String())
    VEL_GRID_PROP(String, HeaderFile, String())
    VEL_GRID_PROP(String, HeaderText, String())
    VEL_GRID_PROP(String, ImageFolder, String(L"images"))
    VEL_GRID_PROP(String, ImageBaseName, String(L"img"))
    VEL_GRID_PROP(bool, NonBreakingText, false)
    VEL_GRID_PROP(String, PrefixTag, String())
    VEL_GRID_PROP(bool, SaveColor, true)
    VEL_GRID_PROP(bool, SaveFonts, true)
    VEL_GRID_PROP(String, SuffixTag, String())
    VEL_GRID_PROP(String, Summary, String())
    VEL_GRID_PROP(String, TableStyle, String())
    VEL_GRID_PROP(Integer, Width, 100)
    VEL_GRID_PROP(bool, XHTML, false)
public:
    TIntList* ColWidths() const { return FColWidths.get(); }

private:
    std::unique_ptr<TIntList> FColWidths;
};

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders { pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom };
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// Settings of printing and print preview.
class TPrintSettings : public TPersistent {
    VEL_CLASS(TPrintSettings, TPersistent)
public:
    explicit TPrintSettings(TVodStringGrid* AOwner);
    ~TPrintSettings() override;
    // Copies every property and the print-comments switch, the fonts and
    // title lines object by object. A source of another class raises
    // EInvalidCast.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    VEL_GRID_PROP(Integer, FooterSize, 0)
    VEL_GRID_PROP(Integer, HeaderSize, 0)
    VEL_GRID_PROP(TPrintPosition, Time, ppNone)
    VEL_GRID_PROP(TPrintPosition, Date, ppNone)
    VEL_GRID_PROP(String, DateFormat, String(L"dd/mm/yyyy"))
    VEL_GRID_PROP(TPrintPosition, PageNr, ppNone)
    VEL_GRID_PROP(TPrintPosition, Title, ppNone)
    VEL_GRID_PROP(String, TitleText, String())
    VEL_GRID_PROP(TPrintBorders, Borders, pbSingle)
    VEL_GRID_PROP(TPenStyle, BorderStyle, psSolid)
    VEL_GRID_PROP(TColor, BorderColor, clBlack)
    VEL_GRID_PROP(bool, Centered, true)
    VEL_GRID_PROP(bool, RepeatFixedRows, false)
    VEL_GRID_PROP(bool, RepeatFixedCols, false)
    VEL_GRID_PROP(Integer, LeftSize, 0)
    VEL_GRID_PROP(Integer, RightSize, 0)
    VEL_GRID_PROP(Integer, ColumnSpacing, 0)
    VEL_GRID_PROP(Integer, RowSpacing, 0)
    VEL_GRID_PROP(Integer, TitleSpacing, 0)
    VEL_GRID_PROP(TPrinterOrientation, Orientation, poPortrait)
    VEL_GRID_PROP(String, PagePrefix, String())
    VEL_GRID_PROP(String, PageSuffix, String())
    VEL_GRID_PROP(String, PageNumSep, String(L"/"))
    VEL_GRID_PROP(Integer, PageNumberOffset, 0)
    VEL_GRID_PROP(Integer, MaxPagesOffset, 0)
    VEL_GRID_PROP(Integer, FixedWidth, 0)
    VEL_GRID_PROP(Integer, FixedHeight, 0)
    VEL_GRID_PROP(bool, UseFixedHeight, false)
    VEL_GRID_PROP(bool, UseFixedWidth, false)
    VEL_GRID_PROP(TFitToPage, FitToPage, fpNever)
    VEL_GRID_PROP(String, JobName, String())
    VEL_GRID_PROP(bool, NoAutoSize, false)
    VEL_GRID_PROP(bool, NoAutoSizeRow, false)
    VEL_GRID_PROP(bool, PrintGraphics, false)
    VEL_GRID_PROP(bool, UseDisplayFont, true)
    VEL_GRID_PROP(bool, UseDefaultOrientation, false)
    // Not published: read by printing.
    VEL_GRID_PROP(bool, PrintComments, true)
    VEL_GRID_PROP(bool, FixedCellsAlways, false)
public:
    TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStrings* v) { FTitleLines->Assign(v); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* v) { FFixedFont->Assign(v); }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* v) { FHeaderFont->Assign(v); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont* v) { FFooterFont->Assign(v); }

private:
    TVodStringGrid* FOwner;
    std::unique_ptr<TStringList> FTitleLines;
    std::unique_ptr<TFont> FFont, FFixedFont, FHeaderFont, FFooterFont;
};

// Told about every change of cells: the grid calls CellsChanged of each
// registered notifier, in registration order, with the changed rectangle.
class TGridChangeNotifier : public TComponent {
    VEL_CLASS(TGridChangeNotifier, TComponent)
public:
    explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void CellsChanged(TRect R) {}
};

// The one selection listener of a grid: told the new focused column and row
// after every change of the focused cell.
struct ITVodStringGridSelect : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{ED636930-EF86-46AD-80F7-FD29C28525EB}");
    virtual void CellSelected(Integer ACol, Integer ARow) = 0;
};
VEL_INTERFACE(ITVodStringGridSelect)

using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;
using TRowChangedEvent = std::function<void(TObject* Sender, Integer OldRow, Integer NewRow)>;

enum TGridLook { glStandard, glSoft, glClassic, glQel, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
// The older colour schemes of the grid's header (SetTheme).
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
// The name a look is shown under; a custom look leaves Name as it was.
void GetLookName(TGridLook Look, String& Name);
// The name a look is stored under (the value's own name); a custom look
// leaves Name as it was.
void GetLookEnumName(TGridLook Look, String& Name);

// ---------------------------------------------------------------------------
// Hover buttons
// ---------------------------------------------------------------------------

class THoverButtonsCollectionItem : public TCollectionItem {
    VEL_CLASS(THoverButtonsCollectionItem, TCollectionItem)
public:
    explicit THoverButtonsCollectionItem(TCollection* Collection);
    ~THoverButtonsCollectionItem() override;
    void Assign(TPersistent* Source) override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    TPicture* Picture() const { return FPicture.get(); }
    // Always announces.
    void SetPicture(TPicture* v);
    VEL_GRID_PROP(Integer, Tag, 0)
    VEL_GRID_PROP(Integer, Width, 0)

private:
    void Announce();
    String FCaption;
    bool FEnabled = true;
    bool FFlat = false;
    String FHint;
    Integer FImageIndex = -1;
    std::unique_ptr<TPicture> FPicture;
};

class THoverButtonsCollection : public TOwnedCollection {
    VEL_CLASS(THoverButtonsCollection, TOwnedCollection)
public:
    explicit THoverButtonsCollection(TPersistent* AOwner);
    THoverButtonsCollectionItem* Add() { return static_cast<THoverButtonsCollectionItem*>(TCollection::Add()); }
    THoverButtonsCollectionItem* Insert(Integer Index)
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::Insert(Index));
    }
    THoverButtonsCollectionItem* Items(Integer Index) const
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::Items(Index));
    }
    void SetItems(Integer Index, THoverButtonsCollectionItem* Value) { Items(Index)->Assign(Value); }
    // Set by every change, so that the buttons shown are built again.
    bool FUpdated = false;

protected:
    friend class THoverButtonsCollectionItem;
    void Update(TCollectionItem* Item) override;
};

enum THoverButtonPosition { hbLeftFromColumnLeft, hbRightFromColumnLeft, hbLeftFromColumnRight, hbRightFromColumnRight };
enum THoverRows { hrAll, hrNormal };

class THoverButtons : public TPersistent {
    VEL_CLASS(THoverButtons, TPersistent)
public:
    explicit THoverButtons(TPersistent* AOwner);
    ~THoverButtons() override;
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }
    THoverButtonsCollection* Buttons() const { return FButtons.get(); }
    void SetButtons(THoverButtonsCollection* v) { FButtons->Assign(v); }
    VEL_GRID_PROP(bool, Enabled, false)
    VEL_GRID_PROP(Integer, Column, 0)
    VEL_GRID_PROP(THoverButtonPosition, Position, hbRightFromColumnRight)
    VEL_GRID_PROP(THoverRows, Rows, hrNormal)
    VEL_GRID_PROP(bool, MoveActiveRow, true)

private:
    TPersistent* FOwner;
    std::unique_ptr<THoverButtonsCollection> FButtons;
};

using THoverButtonsShowEvent = std::function<void(TObject* Sender, Integer X, Integer Y, bool& Allow)>;
using THoverButtonClickEvent = std::function<void(TObject* Sender, Integer ARow, THoverButtonsCollectionItem* AButton)>;
using TGetCellCursorEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TCursor& ACursor)>;

// ---------------------------------------------------------------------------
// Hidden rows: one item per row taken out of view, holding the row's texts
// and property blocks (moved there, never copied), its height and level.
// ---------------------------------------------------------------------------

struct TGridItemPool;

class TGridItem : public TCollectionItem {
    VEL_CLASS(TGridItem, TCollectionItem)
public:
    // The grid's store makes its items from a pool of its own: hiding or
    // showing a million rows makes or frees a million items, and the
    // general heap (which hands the memory back to the system in between)
    // costs many times the move of the rows. Items made elsewhere come from
    // the heap; delete frees either kind.
    static void* operator new(size_t Size);
    static void* operator new(size_t Size, TGridItemPool* Pool);
    static void operator delete(void* P);
    static void operator delete(void* P, TGridItemPool* Pool);

    explicit TGridItem(TCollection* Collection);
    // Frees the property blocks the item still holds: a row put back into
    // the grid leaves none behind, so each block is freed exactly once.
    ~TGridItem() override;
    void Assign(TPersistent* Source) override;
    Integer Idx() const { return FIdx; }
    void SetIdx(Integer v);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    Integer Level() const { return FLevel; }
    void SetLevel(Integer v) { FLevel = v; }
    // The row's cell texts, one line per real column, each with the cell's
    // property block (or nil) as its object: the row as it left the store,
    // whole, so that hiding and showing copy nothing.
    TStrings* Items() const { return &FItems; }
    TStringGridRow* Row() const { return &FItems; }
    void SetItems(TStrings* v) { FItems.Assign(v); }

private:
    Integer FIdx = 0;
    Integer FHeight = 0;
    Integer FLevel = 0;
    mutable TStringGridRow FItems;
};

// ---------------------------------------------------------------------------
// The string grid
// ---------------------------------------------------------------------------

enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The grid's own enumerations that its construction sets.
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
// Which way the middle-button panning moves.
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TScrollPosition { spMiddle, spTrailing, spLeading };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum THintPosition { hpCell, hpMouse };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TSearchFooterAction { saFindFirst, saFindNext, saFindPrevious };

class TSearchPanel;
class TScrollControl;
class THeaderDragButton;
class THTMLHintWindow;
class TNoActiveForm;
class TGridFocusWindow;
class TArrowWindow;
class TGridDropTarget;
class TCustomListBox;
class TGridCombo;
class TGridTransEdit;
class TGridTransCombo;
class TGridCheckBox;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;
class TControlEdit;
class TControlCombo;
class TVodInplaceEdit;
class TVodRichEdit;
class TEditLink;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridControlDropDown;
class TGridDateTimePicker;
class TGridDatePicker;
class TGridSpin;
struct GridEditorProtocol;
class TScrollBar;
class TImageList;
class TPopupMenu;
class THTMLPictureCache;
class TVodHintInfo;
class TCustomForm;

// The program's own cursors, loaded by number.
enum : Word { crRowSelectCursor = 8010, crColSelectCursor = 8011, crAllSelectCursor = 8012, crCellSelectCursor = 8014 };

// How numbers in cells are formatted: by the platform's rules or by
// spreadsheet-style format texts.
enum TFormatType : Byte { ftVCL, ftExcel };

// What RectCalc computes over a rectangle.
enum TCalcType { ctSum, ctAvg, ctMin, ctMax };
using TColumnCalcEvent = std::function<void(TObject* Sender, Integer ACol, Integer FromRow, Integer ToRow, double& Res)>;

class TVodStringGrid : public TBaseGrid,
                       public IQelStyleEx,
                       public IQelTones,
                       public virtual TComponentInterfaces {
    VEL_CLASS(TVodStringGrid, TBaseGrid)
public:
    explicit TVodStringGrid(TComponent* AOwner);
    ~TVodStringGrid() override;

    // --- update bracket ---
    void BeginUpdate();
    void EndUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    bool IsUpdating() const { return FUpdateCount > 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool v);
    Integer UpdateCount() const { return FUpdateCount; }
    void UpdateSearchPanel();
    void ResetFixedCellHighlight();

    // --- settings objects ---
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    TAutoColor* AutoColor() const { return FAutoColor.get(); }
    THoverButtons* HoverButtons() const { return FHoverButtons.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }

    // --- the header colours of the grid's own look ---
    TColor QelGradientFrom() const { return FQelGradFrom; }
    virtual void SetQelGradientFrom(TColor v);
    TColor QelGradientTo() const { return FQelGradTo; }
    virtual void SetQelGradientTo(TColor v);
    TColor QelGradientMirrorFrom() const { return FQelGradMirrorFrom; }
    virtual void SetQelGradientMirrorFrom(TColor v);
    TColor QelGradientMirrorTo() const { return FQelGradMirrorTo; }
    virtual void SetQelGradientMirrorTo(TColor v);
    TColor QelGradientHoverFrom() const { return FQelGradHoverFrom; }
    virtual void SetQelGradientHoverFrom(TColor v) { FQelGradHoverFrom = v; }
    TColor QelGradientHoverTo() const { return FQelGradHoverTo; }
    virtual void SetQelGradientHoverTo(TColor v) { FQelGradHoverTo = v; }
    TColor QelGradientHoverMirrorFrom() const { return FQelGradHoverMirrorFrom; }
    virtual void SetQelGradientHoverMirrorFrom(TColor v) { FQelGradHoverMirrorFrom = v; }
    TColor QelGradientHoverMirrorTo() const { return FQelGradHoverMirrorTo; }
    virtual void SetQelGradientHoverMirrorTo(TColor v) { FQelGradHoverMirrorTo = v; }
    TColor QelGradientHoverBorder() const { return FQelGradHoverBorder; }
    virtual void SetQelGradientHoverBorder(TColor v) { FQelGradHoverBorder = v; }
    TColor QelGradientDownFrom() const { return FQelGradDownFrom; }
    virtual void SetQelGradientDownFrom(TColor v) { FQelGradDownFrom = v; }
    TColor QelGradientDownTo() const { return FQelGradDownTo; }
    virtual void SetQelGradientDownTo(TColor v) { FQelGradDownTo = v; }
    TColor QelGradientDownMirrorFrom() const { return FQelGradDownMirrorFrom; }
    virtual void SetQelGradientDownMirrorFrom(TColor v) { FQelGradDownMirrorFrom = v; }
    TColor QelGradientDownMirrorTo() const { return FQelGradDownMirrorTo; }
    virtual void SetQelGradientDownMirrorTo(TColor v) { FQelGradDownMirrorTo = v; }
    TColor QelGradientDownBorder() const { return FQelGradDownBorder; }
    virtual void SetQelGradientDownBorder(TColor v) { FQelGradDownBorder = v; }

    // --- simple settings the messages read ---
    VEL_GRID_PROP(bool, EnableBlink, false)
    VEL_GRID_PROP(bool, Hovering, false)
    VEL_GRID_PROP(bool, CellSelectorMode, false)
public:
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // The program cursor WM_SETCURSOR asked for last (0 for none).
    Word CursorAsked() const { return FCursorAsked; }
    bool GridBlink() const { return FGridBlink; }
    Integer TimerTicks() const { return FTimerTicks; }
    Integer GridTimerID() const { return FGridTimerID; }

    // === construction, lifecycle and unit start-up (VodGrid_Create.cpp) ===
    // Runs the construction steps that reach overridable operations (the
    // footer panel through CreateFooterPanel): C++ constructors do not reach
    // a descendant's overrides. CreateGrid<T> calls it; it also runs by
    // itself before the window is made and when loading completes. Once.
    void Init();
    bool InitDone() const { return FInitDone; }
    void Loaded() override;
    // Copies another string grid's settings and, last, its cells; any other
    // source leaves the grid unchanged.
    void Assign(TPersistent* Source) override;
    void Invalidate() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void UpdateScrollBarVisibility(bool Force);
    // The grid's Font for a cell without a property block, else a scratch
    // font with the block's name, height, style and colour.
    TFont* GetCellFont(Integer i, Integer j);
    // The first form on the chain of parents, or nil.
    TCustomForm* FindParentForm();
    void CreateMetroScrollControls();
    void FreeMetroScrollControls();
    void CreateHandle() override;
    void Resize() override;
    String GetEditMask(Integer ACol, Integer ARow) override;
    TInplaceEdit* CreateEditor() override;
    // Relays the grid connects to its editors.
    void DatePickerCloseUp(TObject* Sender);
    void GridButtonClick(TObject* Sender);
    // Marks an edit change: the next Invalidate only clears the mark.
    void SetEditChange(bool v) { FEditChange = v; }
    bool EditChange() const { return FEditChange; }

    TColor BorderColor() const { return FBorderColor; }
    // Stores a changed colour and repaints the non-client border.
    void SetBorderColor(TColor v);

    // Owned objects.
    TFooterPanel* FooterPanel();
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    TBands* Bands() const { return FBands.get(); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    TFilterEdit* FilterEdit() const { return FFilterEdit.get(); }
    TDropList* DropList() const { return FDropList; }
    TDropCheckList* DropCheckList() const { return FDropCheckList; }
    TStringList* FilterList() const { return FFilterList.get(); }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    // Empties row 0 (with fixed rows), copies the list and shows it.
    void SetColumnHeaders(TStrings* v);
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    // Empties column 0 while designed, copies the list and shows it.
    void SetRowHeaders(TStrings* v);
    TStringList* LookupItems() const { return FLookupItems.get(); }
    // A nil list is ignored.
    void SetLookupItems(TStrings* v)
    {
        if (v) FLookupItems->Assign(v);
    }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    TVodHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    TControlList* ControlList() const { return FControlList.get(); }
    TImageList* FilterTypeImages() const { return FFilterTypeImages.get(); }
    TPopupMenu* FilterTypeMenu() const { return FFilterTypeMenu; }
    // The editors and windows made only outside design mode (nil in design
    // mode).
    TGridCombo* Combobox() const { return FComboBox; }
    TGridCombo* UniCombo() const { return FComboBox; }
    TGridTransEdit* FixedEdit() const { return FFixedEdit; }
    TGridTransCombo* FixedComboBox() const { return FFixedComboBox; }
    TGridCheckBox* CheckBoxEditor() const { return FCheckBoxEditor; }
    TGridEditBtn* BtnEdit() const { return FBtnEdit; }
    TGridUnitEditBtn* BtnUnitEdit() const { return FBtnUnitEdit; }
    TGridButton* Btn() const { return FBtn; }
    THeaderDragButton* HeaderDragButton() const { return FHeaderDragButton; }
    TControlEdit* CellEditControl() const { return FCellEditControl; }
    TControlCombo* CellComboControl() const { return FCellComboControl; }
    TScrollBar* CellScrollBar() const { return FCellScrollBar; }
    TScrollBar* CellPaintScrollBar() const { return FCellPaintScrollBar; }
    TNoActiveForm* ButtonForm() const { return FButtonForm; }
    TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
    TArrowWindow* ArrowUp() const { return FArrows[0]; }
    TArrowWindow* ArrowDown() const { return FArrows[1]; }
    TArrowWindow* ArrowLeft() const { return FArrows[2]; }
    TArrowWindow* ArrowRight() const { return FArrows[3]; }
    TScrollControl* VScrollControl() const { return FMetroScroll[0]; }
    TScrollControl* HScrollControl() const { return FMetroScroll[1]; }
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd; }

    // Facts about the system recorded at construction.
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsComCtl6() const { return FIsComCtl6; }
    bool IsVista() const { return FIsVista; }
    // Whether the grid was being placed at design time when constructed.
    bool IsNewlyPlaced() const { return FNewlyPlaced; }
    bool GridLoaded() const { return FGridLoaded; }
    Integer FixedRowsMin() const { return FFixedRowsMin; }
    Integer FixedColsMin() const { return FFixedColsMin; }
    Integer MaxRowCount() const { return FMaxRowCount; }
    Integer MaxColCount() const { return FMaxColCount; }
    TCursor SavedCursor() const { return FSavedCursor; }
    double DPIScale() const { return FDPIScale; }
    UINT WheelMsg() const { return FWheelMsg; }
    Integer WheelScrollLines() const { return FWheelScrollLines; }
    bool WheelPan() const { return FWheelPan; }
    TGridRect DisSelection() const { return FDisSelection; }
    TQelStyle ComponentStyle() const { return FComponentStyle; }

    // Published settings the construction sets. VEL_GRID_PROP: plain
    // stores. VEL_GRID_FIELD: the reader and the field; the writer belongs to
    // the family whose Part gives it its effect (dimensions, scrolling, looks,
    // filter drop-down).
#define VEL_GRID_FIELD(Type, Name, Init)   \
public:                                     \
    Type Name() const { return F##Name; } \
    Type F##Name = Init;
    VEL_GRID_FIELD(TColor, SelectionColor, TColor(0xEACAB6))
    VEL_GRID_FIELD(TColor, SelectionColorTo, clNone)
    VEL_GRID_FIELD(TColor, SelectionMirrorColor, clNone)
    VEL_GRID_FIELD(TColor, SelectionMirrorColorTo, clNone)
    VEL_GRID_FIELD(TColor, SelectionTextColor, TColor(0))
    VEL_GRID_FIELD(Integer, SelectionColorMixerFactor, 50)
    VEL_GRID_PROP(TColor, SelectionRectangleColor, TColor(0))
    VEL_GRID_FIELD(bool, ShowSelection, true)
    VEL_GRID_PROP(bool, SelectionRTFKeep, false)
    VEL_GRID_FIELD(bool, SelectionResizer, false)
    VEL_GRID_PROP(TColor, HintColor, clInfoBk)
    VEL_GRID_PROP(TColor, DisabledFontColor, TColor(0xC0C0C0))
    VEL_GRID_PROP(bool, UseDisabledFont, true)
    VEL_GRID_FIELD(TVAlignment, VAlignment, vtaTop)
    VEL_GRID_PROP(bool, EnableHTML, true)
    VEL_GRID_PROP(bool, EnableWheel, true)
    VEL_GRID_PROP(bool, IntelliZoom, true)
    VEL_GRID_PROP(TIntelliPan, IntelliPan, ipVertical)
    VEL_GRID_PROP(bool, EnhRowColMove, true)
    VEL_GRID_PROP(bool, UseInternalHintClass, true)
    VEL_GRID_PROP(bool, FitCellsInGrid, true)
    VEL_GRID_PROP(bool, ShowNullDates, true)
    VEL_GRID_PROP(TEditorType, DefaultEditor, edNormal)
    VEL_GRID_PROP(THintPosition, HintShowLargeTextPos, hpCell)
    VEL_GRID_PROP(bool, HintShowCells, false)
    VEL_GRID_PROP(bool, HintShowLargeText, false)
    VEL_GRID_PROP(bool, HTMLHint, false)
    VEL_GRID_PROP(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)
    VEL_GRID_PROP(String, InvalidEntryTitle, String())
    VEL_GRID_PROP(String, InvalidEntryText, String())
    VEL_GRID_FIELD(Integer, GroupColumn, -1)
    VEL_GRID_PROP(String, CheckTrue, String(L"Y"))
    VEL_GRID_PROP(String, CheckFalse, String(L"N"))
    VEL_GRID_PROP(String, FloatFormat, String(L"%.2f"))
    VEL_GRID_PROP(wchar_t, PasswordChar, L'*')
    VEL_GRID_PROP(bool, AutoFilterUpdate, true)
    VEL_GRID_PROP(bool, FilterNormalCellsOnly, true)
    VEL_GRID_PROP(bool, FilterDropDownMultiCol, true)
    VEL_GRID_PROP(TFilterDropDownColumns, FilterDropDownColumns, fdNormal)
    VEL_GRID_PROP(String, FilterDropDownClear, String(L"(All)"))
    VEL_GRID_PROP(bool, FilterIncremental, false)
    VEL_GRID_PROP(bool, FilterDropDownCheck, false)
    VEL_GRID_PROP(String, FilterDropDownCheckUnCheckAll, String())
    VEL_GRID_PROP(TEncoding*, Encoding, nullptr)
    VEL_GRID_PROP(String, XMLEncoding, String(L"ISO-8859-1"))
    VEL_GRID_PROP(bool, QuoteEmptyCells, true)
    VEL_GRID_PROP(bool, QuoteQuoteCells, true)
    VEL_GRID_PROP(bool, CSVMultilineCellImport, true)
    VEL_GRID_PROP(bool, AlwaysQuotes, false)
    VEL_GRID_PROP(bool, JavaCSV, false)
    VEL_GRID_PROP(bool, ExcelClipboardFormat, false)
    VEL_GRID_PROP(bool, NoDefaultDraw, false)
    VEL_GRID_PROP(wchar_t, Delimiter, L'\0')
    VEL_GRID_PROP(bool, SaveFixedCells, true)
    VEL_GRID_PROP(bool, SaveVirtCells, true)
    VEL_GRID_PROP(bool, SaveMergedCells, true)
    VEL_GRID_PROP(bool, SaveWithHTML, true)
    VEL_GRID_PROP(bool, LoadFirstRow, true)
    VEL_GRID_PROP(bool, SaveFixedRows, false)
    VEL_GRID_PROP(bool, SaveFixedCols, false)
    VEL_GRID_PROP(Integer, PrintPageFrom, 1)
    VEL_GRID_PROP(Integer, PrintPageTo, 1)
public:
    // The page a preview draws: sets both ends of the page range.
    Integer PreviewPage() const { return FPreviewPage; }
    void SetPreviewPage(Integer v) { FPreviewPage = v; FPrintPageFrom = v; FPrintPageTo = v; }
    Integer FPreviewPage = 1;
    VEL_GRID_PROP(Integer, PrintPageCount, 0)
    VEL_GRID_PROP(bool, AnchorHint, false)
    VEL_GRID_PROP(bool, AutoHideSelection, false)
    VEL_GRID_PROP(bool, EditWithTags, false)
    VEL_GRID_PROP(bool, EnhTextSize, false)
    VEL_GRID_PROP(bool, ExcelStyleDecimalSeparator, false)
    VEL_GRID_PROP(bool, FixedAsButtons, false)
public:
    bool IntegralHeight() const { return FIntegralHeight; }
    // Stores and re-applies the bounds (VodGrid_Accessors.cpp).
    void SetIntegralHeight(bool v);
    bool FIntegralHeight = false;
    VEL_GRID_PROP(bool, LookupHistory, false)
    VEL_GRID_PROP(bool, Lookup, false)
    VEL_GRID_PROP(bool, LookupCaseSensitive, false)
    VEL_GRID_PROP(Integer, MaxComboLength, 0)
    VEL_GRID_FIELD(Integer, MaxEditLength, 0)
    VEL_GRID_PROP(bool, Multilinecells, false)
    VEL_GRID_FIELD(bool, AutoSize, false)
    VEL_GRID_PROP(String, EditMask, String())
    VEL_GRID_FIELD(bool, ActiveCellShow, false)
    VEL_GRID_FIELD(TColor, ActiveCellColor, TColor(0x808080))
    VEL_GRID_FIELD(TColor, ActiveCellColorTo, clNone)
    VEL_GRID_FIELD(TColor, HighlightColor, clHighlight)
    VEL_GRID_FIELD(TColor, HighlightTextColor, clHighlightText)
    VEL_GRID_FIELD(bool, HTMLKeepLineBreak, true)
    VEL_GRID_FIELD(bool, AutoThemeAdapt, false)
    VEL_GRID_FIELD(TPoint, XYOffset, (TPoint{2, 2}))
    VEL_GRID_FIELD(TAlignment, DefaultAlignment, taLeftJustify)
    VEL_GRID_FIELD(bool, ShowDesignHelper, true)
    VEL_GRID_FIELD(bool, FixedRowAlways, false)
    VEL_GRID_FIELD(bool, FixedColAlways, false)
    VEL_GRID_FIELD(Integer, FixedFooters, 0)
    VEL_GRID_FIELD(Integer, FixedRightCols, 0)
    VEL_GRID_FIELD(Integer, FixedRowHeight, 0)
    VEL_GRID_FIELD(TColor, URLColor, TColor(0xFF0000))
    VEL_GRID_FIELD(bool, FilterDropDownAuto, false)
    VEL_GRID_FIELD(Integer, FilterDropDownRow, 0)
    VEL_GRID_FIELD(TScrollType, ScrollType, ssNormal)
    VEL_GRID_FIELD(TColor, ScrollColor, clNone)
    VEL_GRID_FIELD(Integer, ScrollWidth, 0)
    VEL_GRID_FIELD(TScrollBarAlways, ScrollBarAlways, saNone)
    VEL_GRID_FIELD(bool, ScrollProportional, false)
    VEL_GRID_PROP(bool, ScrollSynch, false)
    VEL_GRID_FIELD(TScrollHintType, ScrollHints, shNone)
#undef VEL_GRID_FIELD
public:
    THoverFixedCells HoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells v) { FHoverFixedCells = v; }

    // The search panel's six events reach these (the searching itself comes
    // with the grid's editing family).
    virtual void SearchFooterEditChange();
    virtual void SearchFooterForward();
    virtual void SearchFooterBackward();
    virtual void SearchFooterClose();
    virtual void SearchFooterHighlight();
    virtual void SearchFooterMatchCase();
    // Moves the shown focus frame to the current cell (the painting family
    // completes it).
    virtual void MoveFocusWindow();
    // Applies the colours of an active platform visual style (the editing
    // family completes it).
    virtual void ApplyVCLStyleColors(bool RestoreDefaults);
    // Adapts the look to the current Office theme (the rendering family
    // completes it).
    virtual void AdaptToOfficeTheme();
    // Applies the search footer settings to the search panel.
    virtual void ApplySearchFooterSettings();

    TClickCellEvent OnDatePickerCloseUp, OnDatePickerDropDown;
    TButtonClickEvent OnButtonClick;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& NewUnit)> OnUnitChanged;


    // === operations table and cell hooks (VodGrid_Hooks.cpp) ===
    // The virtual operations the string grid adds, in the order of its
    // table (entries of the other families are declared in their sections);
    // descendants override entries. The cell hooks raise their event only
    // when a handler is assigned.
    virtual bool HasCustomAlignment(Integer ACol, Integer ARow);
    virtual void ClickSort(Integer ACol);
    virtual void ClickCell(Integer ARow, Integer ACol);
    virtual bool AllowColChange();
    virtual void StoreEditorText(Integer ACol, Integer ARow, const String& Value);
    virtual void KeyUpHook();
    virtual void PasteCell(Integer ACol, Integer ARow, const String& Value);
    virtual TWinControl* GetEditorHook();
    virtual void SaveOriginalCellValue();
    virtual bool IsScrollLocked();
    virtual void HoverButtonClick(THoverButtonsCollectionItem* Button);
    virtual void ShowGridWindow();
    virtual bool ToggleCellCheckBox(Integer ACol, Integer ARow, bool FromUser);
    virtual bool ToggleCellRadio(Integer ACol, Integer ARow, bool FromUser);
    virtual String GetFormattedCell(Integer ACol, Integer ARow);
    virtual String GetFloatFormat(Integer ACol, Integer ARow);
    virtual void ClipboardPasteDone(TGridRect CellRect);
    virtual void PrintGetPageNum(Integer PageNum, Integer PageColNum, String& PageNumString);
    virtual void CheckBoxClick(Integer ACol, Integer ARow, bool State);
    virtual void DoFixedEdit(Integer ACol, Integer ARow, TGridFixedCellEditor& AEditor, TStrings* Values);
    virtual bool IsSelectionVisible();
    virtual void EditorNotify(const String& Text, TPoint Pos, Integer SelStart);
    virtual void FilterDone();
    virtual void FilterShow(Integer ACol, bool& Allow);
    virtual void FilterClose(Integer ACol);
    virtual TFooterPanel* CreateFooterPanel();
    virtual void BeforeShowColumnHeaders();
    virtual void UpdateColumnSize(Integer ACol, Integer& AWidth);
    virtual void UpdateAutoColumnSize(Integer ACol, Integer& AWidth);
    virtual void EllipsClick(const String& Value, String& S);
    virtual bool MatchFilter(Integer ARow);
    virtual void BeforePasteCells();
    virtual void AfterPasteCells();
    virtual String GetCellContent(Integer ACol, Integer ARow);
    virtual void LoadCell(Integer ACol, Integer ARow, const String& Value);
    virtual void InitMouseWheel(bool Init);
    virtual void CanEditCell(Integer ACol, Integer ARow, bool& CanEdit);
    virtual void CanSort(Integer ACol, bool& DoSort);
    virtual void SearchFooterAction(const String& Value, Integer ACol, Integer ARow, TSearchFooterAction SearchAction);
    virtual void SearchFooterSearchEnd(bool& ContinueFromStart);
    virtual void ButtonClick(Integer ACol, Integer ARow);
    virtual void ExpandClick(Integer ACol, Integer ARow, bool Expanded);
    virtual void ComboCloseUp(Integer ARow, Integer ACol);
    virtual void ComboDropDown(Integer ARow, Integer ACol);
    virtual void GetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y);
    virtual void GridHint(Integer ACol, Integer ARow, String& Hint, String& WideHint);
    virtual void GetCellColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellPrintColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellAlignment(Integer ACol, Integer ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetCellFormat(Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix);
    virtual void GetCellEditor(Integer ACol, Integer ARow, TEditorType& AEditor);
    virtual void GetCellEditorType(Integer ACol, Integer ARow, TEditorType& AEditor);
    virtual bool IsFixedEditorCell(Integer ACol, Integer ARow);
    virtual void IsFixedCell(Integer ACol, Integer ARow, bool& IsFixed);
    virtual void IsCellEditable(Integer ACol, Integer ARow, bool& CanEdit);
    // Whether the cell may be edited, asked with CanEdit starting True.
    bool IsCellEditable(Integer ACol, Integer ARow)
    {
        bool b = true;
        IsCellEditable(ACol, ARow, b);
        return b;
    }
    virtual void IsPasswordCell(Integer ACol, Integer ARow, bool& IsPassword);
    virtual void GetCellWordWrap(Integer ACol, Integer ARow, bool& WordWrap);
    // With Editor edNone the cell's editor is looked up.
    virtual bool HasComboBox(Integer ACol, Integer ARow, TEditorType Editor = edNone);
    virtual bool HasEditBtn(Integer ACol, Integer ARow, TEditorType Editor = edNone);
    virtual bool HasSpinEdit(Integer ACol, Integer ARow, TEditorType Editor = edNone);
    virtual bool HasFilterEdit(Integer ACol, Integer ARow);
    virtual void FilterEditUpdate(Integer ACol, const String& Condition, TFilterType FilterType);
    virtual void GetCheckTrue(Integer ACol, Integer ARow, String& Value);
    virtual void GetCheckFalse(Integer ACol, Integer ARow, String& Value);
    virtual bool BuildColumnFilterList(Integer ACol, bool FirstOnly, bool WithFilteredRows);
    virtual String GetCheckTrueText(Integer ACol);
    virtual String GetCheckFalseText(Integer ACol);
    virtual void CanAddRow(bool& CanAdd);
    virtual void CanAddCol(bool& CanAdd);
    virtual void CanInsertRow(Integer ARow, bool& CanInsert);
    virtual void AllowWheelScroll(Integer RowDelta, bool& Allow);
    virtual void MouseDownHook();
    virtual void EditorFormulaMode(bool Formula);
    virtual void MouseUpHook();
    virtual void DesignBegin();
    virtual bool IsDesignTime(bool& IsDesigning);
    virtual void DesignRefresh();
    virtual void DesignDisableEditing();
    virtual void EditorKeyDown(Word& Key, TShiftState Shift);
    virtual void EditorWMKeyDown(TMessage& Msg);
    virtual void DesignEnd();
    virtual void MoveToFirstRow();
    virtual bool ClipboardAllowed();
    virtual void FilterListSelect(Integer Index);
    virtual void FocusGrid();
    virtual void FilterCheckListApply(Integer Index);
    virtual void PaintDesignHelper();
    virtual void DesignHelperClick(Integer X, Integer Y);
    virtual void DesignHelperChanged(bool AllowEdit);
    virtual void CheckBoxChange(Integer ACol, Integer ARow, bool State);
    virtual bool RatingChange(Integer ACol, Integer ARow, double& NewRate);
    virtual void ColorSelect();
    virtual void ImageSelect();
    virtual void HoverButtonsShow(Integer X, Integer Y, bool& Allow);
    virtual bool CanShowFixedDropDown(Integer ACol);
    virtual void DragDropStart();
    virtual void DragDropEnd();
    virtual void DoIntelliZoom();
    virtual void AssignCells(TPersistent* Source);
    // The height a row takes when its expand button is clicked (completed
    // with the expand buttons: the row keeps its height until then).
    virtual Integer GetExpandHeight(Integer ACol, Integer ARow, bool Expanded);
    // The grid's version of the base grid's look for exports and other uses
    // off the screen.
    void GetCellDefaults(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                         TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                         TCellGradientDirection& GD) override;
    // The rows the filter took out, in the order of their removal: their
    // count, and the text of a column with the row's original index (the
    // filter family answers them).
    virtual Integer FilteredOutRowCount() const;
    virtual String FilteredOutCell(Integer Index, Integer ACol, Integer& OriginalRow) const;
    // Whether a block's brush colour applies to the cell's graphic kind.
    bool CellBrushFromProperties(Integer ACol, Integer ARow);
    // Editing is suspended (goEditing taken out for a cell that cannot be
    // edited, or during a smart paste).
    bool EditingSuspended() const { return FSuspendEdit; }
    void SetEditingSuspended(bool v) { FSuspendEdit = v; }

    TClickSortEvent OnClickSort;
    TClickCellEvent OnClickCell;
    TFloatFormatEvent OnGetFloatFormat;
    std::function<void(TObject* Sender, TGridRect CellRect)> OnClipboardPasteDone;
    std::function<void(TObject* Sender, Integer PageNum, Integer PageColNum, String& PageNumString)> OnPrintGetPageNum;
    TCheckBoxClickEvent OnCheckBoxClick, OnCheckBoxChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TGridFixedCellEditor& AEditor, TStrings* Values)>
        OnFixedEdit;
    TNotifyEvent OnFilterDone;
    TColumnSizeEvent OnFilterShow;
    std::function<void(TObject* Sender, Integer ACol)> OnFilterClose;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TEllipsClickEvent OnEllipsClick;
    TGetDisplTextEvent OnLoadCell;
    TCanEditCellEvent OnCanEditCell;
    TCanSortEvent OnCanSort;
    std::function<void(TObject* Sender, const String& Value, Integer ACol, Integer ARow,
                       TSearchFooterAction SearchAction)>
        OnSearchFooterAction;
    std::function<void(TObject* Sender, bool& ContinueFromStart)> OnSearchFooterSearchEnd;
    TExpandClickEvent OnExpandClick;
    TClickCellEvent OnComboCloseUp, OnComboDropDown;
    TGridHintEvent OnGridHint, OnGridWideHint;
    TOfficeHintEvent OnOfficeHint;
    TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& IsFixed)> OnIsFixedCell;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& IsPassword)> OnIsPasswordCell;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& WordWrap)> OnGetWordWrap;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& HasComboBox)> OnHasComboBox;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& HasEditBtn)> OnHasEditBtn;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& HasSpinEdit)> OnHasSpinEdit;
    std::function<void(TObject* Sender, Integer ACol, bool& HasFilter)> OnHasFilterEdit;
    std::function<void(TObject* Sender, Integer ACol, const String& Condition, TFilterType FilterType)>
        OnFilterEditUpdate;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)> OnGetCheckTrue, OnGetCheckFalse;
    TCanAddRowEvent OnCanAddRow;
    TCanAddColEvent OnCanAddCol;
    TCanInsertRowEvent OnCanInsertRow;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, double& NewRate, bool& Allow)> OnRatingChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TColor Color, const String& Value)> OnColorSelect;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer Index)> OnImageSelect;
    std::function<void(TObject* Sender, Integer ACol, bool& Allow)> OnCanShowFixedDropDown;
    TNotifyEvent OnIntelliZoom;
    std::function<void(TObject* Sender, Integer ACol, TStrings* Values)> OnGetColumnFilter;


    // === cell graphics (VodGrid_Graphics.cpp) ===
    // Cells are addressed in store coordinates unless a member says the
    // column is a display column. Every Add and Create frees the graphic the
    // cell had before; every Remove acts only on a graphic of its own kind.

    // The graphic lifecycle under every Add and Remove (VodGrid_CellQueries.cpp).
    virtual TCellGraphic* CreateCellGraphic(Integer ACol, Integer ARow);
    virtual void RemoveCellGraphic(Integer ACol, Integer ARow);
    virtual void RemoveCellGraphicOfType(Integer ACol, Integer ARow, TCellType CellType);
    virtual TCellType GetCellType(Integer ACol, Integer ARow);
    virtual TCellGraphic* GetCellGraphic(Integer ACol, Integer ARow);

    void AddBitmap(Integer ACol, Integer ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitmap(Integer ACol, Integer ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    bool HasBitmap(Integer ACol, Integer ARow);
    TBitmap* GetBitmap(Integer ACol, Integer ARow);
    void RemoveBitmap(Integer ACol, Integer ARow);
    void AddIcon(Integer ACol, Integer ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(Integer ACol, Integer ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(Integer ACol, Integer ARow);
    void AddPicture(Integer ACol, Integer ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                    Integer Padding, TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(Integer ACol, Integer ARow, bool Transparent, TStretchMode StretchMode, Integer Padding,
                            TCellHAlign hal, TCellVAlign val);
    bool HasPicture(Integer ACol, Integer ARow);
    TPicture* GetPicture(Integer ACol, Integer ARow);
    void RemovePicture(Integer ACol, Integer ARow);
    void AddFilePicture(Integer ACol, Integer ARow, TFilePicture* AFilePicture, bool Transparent,
                        TStretchMode StretchMode, Integer Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(Integer ACol, Integer ARow, bool Transparent, TStretchMode StretchMode,
                                    Integer Padding, TCellHAlign hal, TCellVAlign val);
    bool HasFilePicture(Integer ACol, Integer ARow);
    TFilePicture* GetFilePicture(Integer ACol, Integer ARow);
    void RemoveFilePicture(Integer ACol, Integer ARow);
    void AddInterfacedCell(Integer ACol, Integer ARow, TInterfacedPersistent* AObject);
    TInterfacedPersistent* GetInterfacedCell(Integer ACol, Integer ARow);
    void RemoveInterfacedCell(Integer ACol, Integer ARow);
    void AddImageIdx(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(Integer ACol, Integer ARow, Integer& idx);
    void SetImageIdx(Integer ACol, Integer ARow, Integer Idx);
    void RemoveImageIdx(Integer ACol, Integer ARow);
    void AddDataImage(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val);
    void RemoveDataImage(Integer ACol, Integer ARow);
    bool HasDataImage(Integer ACol, Integer ARow);
    void AddDataPicture(Integer ACol, Integer ARow, const String& AName, TCellHAlign hal, TCellVAlign val);
    void RemoveDataPicture(Integer ACol, Integer ARow);
    bool HasDataPicture(Integer ACol, Integer ARow);
    void AddMultiImage(Integer ACol, Integer ARow, Integer Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(Integer ACol, Integer ARow);
    void AddProgress(Integer ACol, Integer ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                       TColor BKTextColor);
    void AddProgressFormatted(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const String& Fmt, Integer Min, Integer Max);
    bool HasProgress(Integer ACol, Integer ARow);
    void RemoveProgress(Integer ACol, Integer ARow);
    void AddVodProgress(Integer ACol, Integer ARow, Integer Min, Integer Max);
    void RemoveVodProgress(Integer ACol, Integer ARow);
    void AddProgressPie(Integer ACol, Integer ARow, TColor Color, Integer Value);
    void SetProgressPie(Integer ACol, Integer ARow, Integer Value);
    void RemoveProgressPie(Integer ACol, Integer ARow);
    void AddRangeIndicator(Integer ACol, Integer ARow, Integer Range, TColor NegColor, TColor PosColor,
                           bool ShowValue);
    void RemoveRangeIndicator(Integer ACol, Integer ARow);
    void AddShape(Integer ACol, Integer ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                  TCellHAlign hal, TCellVAlign val);
    bool HasShape(Integer ACol, Integer ARow);
    void RemoveShape(Integer ACol, Integer ARow);
    void SetShapeColor(Integer ACol, Integer ARow, TColor FillColor);
    TColor GetShapeColor(Integer ACol, Integer ARow);
    void AddRating(Integer ACol, Integer ARow, Integer Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(Integer ACol, Integer ARow);
    void RemoveRating(Integer ACol, Integer ARow);
    void AddScrollBar(Integer ACol, Integer ARow, bool AutoRange);
    bool HasScrollBar(Integer ACol, Integer ARow);
    void RemoveScrollBar(Integer ACol, Integer ARow);
    bool HasAutoRangeScrollBar(Integer ACol, Integer ARow);
    void SetScrollPosition(Integer ACol, Integer ARow, Integer Pos);
    Integer GetScrollPosition(Integer ACol, Integer ARow);
    void SetScrollProp(Integer ACol, Integer ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(Integer ACol, Integer ARow);
    void AddButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption, TCellHAlign hal,
                   TCellVAlign val);
    void AddBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption, TBitmap* Glyph,
                      TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                             TCellHAlign hal, TCellVAlign val);
    // ACol is a display column.
    void SetButtonText(Integer ACol, Integer ARow, const String& Caption);
    String GetButtonText(Integer ACol, Integer ARow);
    void PushButton(Integer ACol, Integer ARow, bool push);
    bool HasButton(Integer ACol, Integer ARow);
    void RemoveButton(Integer ACol, Integer ARow);
    void RemoveBitButton(Integer ACol, Integer ARow);
    void RemoveAllButtons();
    void AddRotated(Integer ACol, Integer ARow, SmallInt AAngle, const String& s);
    void SetRotated(Integer ACol, Integer ARow, SmallInt AAngle);
    void RemoveRotated(Integer ACol, Integer ARow);
    bool IsRotated(Integer ACol, Integer ARow, Integer& aAngle);
    void AddComment(Integer ACol, Integer ARow, const String& Comment);
    void AddColorComment(Integer ACol, Integer ARow, const String& Comment, TColor Color);
    String GetComment(Integer ACol, Integer ARow);
    void SetComment(Integer ACol, Integer ARow, const String& Comment);
    bool IsComment(Integer ACol, Integer ARow, String& comment);
    void RemoveComment(Integer ACol, Integer ARow);
    void RemoveAllComments();
    void AddMarker(Integer ACol, Integer ARow, Integer ErrPos, Integer ErrLen);
    void RemoveMarker(Integer ACol, Integer ARow);
    void RemoveAllMarkers();
    void GetMarker(Integer ACol, Integer ARow, Integer& ErrPos, Integer& ErrLen);
    // The rectangle of a button cell's drawn graphic; ACol is a display column.
    TRect GetCellGraphicRect(Integer ACol, Integer ARow);
    // Whether the base cell of (ACol, ARow) holds a graphic of one of Kinds.
    bool HasCellGraphicOfKinds(Integer ACol, Integer ARow, TCellTypes Kinds);

    // === settings objects, look presets and image list (VodGrid_Looks.cpp) ===
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(TCellNode* v) { FCellNode->Assign(v); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    void SetSizeWhileTyping(TSizeWhileTyping* v)
    {
        if (!v) return;
        FSizeWhileTyping->SetHeight(v->Height());
        FSizeWhileTyping->SetWidth(v->Width());
    }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(TColumnSize* v) { FColumnSize->Assign(v); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings* v) { FHTMLSettings->Assign(v); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings* v) { FPrintSettings->Assign(v); }
    TGridLook Look() const { return FLook; }
    // Applies a preset of colours, gradients and selection style; the
    // current look again does nothing.
    void SetLook(TGridLook Value);
    void SetURLColor(TColor Value);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool Value);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);

    // === hidden rows and columns, index mapping (VodGrid_Hidden.cpp) ===
    // Two numberings: display rows and columns (what the grid shows) and
    // real ones (as if nothing were hidden). The store holds display rows and
    // real columns; a hidden row lives in the hidden-row store.
    void HideRow(Integer Rowindex) { HideRows(Rowindex, Rowindex); }
    void HideRows(Integer FromRow, Integer ToRow);
    // Display rows, ascending; hidden as one new list level.
    void HideRowList(TIntList* RowList);
    void HideRowsEx(Integer FromRow, Integer ToRow);
    void UnHideRow(Integer Rowindex);
    void UnHideRows(Integer FromRow, Integer ToRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(Integer Rowindex) const;
    // With a sorted list the caller holds (created and filled when nil).
    bool IsHiddenRow(Integer Rowindex, TIntList*& ListHidden) const;
    Integer NumHiddenRows() const { return FGridItems->Count(); }
    Integer TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    Integer RealRowIndex(Integer ARow) const { return DisplToRealRow(ARow); }
    Integer DisplRowIndex(Integer ARow) const { return RealToDisplRow(ARow); }
    Integer RealRow() const { return RealRowIndex(Row()); }
    Integer DisplToRealRow(Integer ARow) const;
    Integer RealToDisplRow(Integer ARow) const;
    Integer DisplToRealColumn(Integer ACol) const;
    Integer RealToDisplColumn(Integer ACol) const;
    Integer RealColIndex(Integer ACol) const override { return DisplToRealColumn(ACol); }
    Integer DisplColIndex(Integer ACol) const override { return RealToDisplColumn(ACol); }
    Integer TotalColCount() const override { return ColCount() + FNumHidden; }
    Integer RealCol() const { return RealColIndex(Col()); }
    void HideColumn(Integer ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumn(Integer ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHidden - 1); }
    bool IsHiddenColumn(Integer Colindex) const;
    Integer NumHiddenColumns() const { return FNumHidden; }
    void SuppressColumn(Integer ColIndex);
    void SuppressRow(Integer RowIndex);
    void UnSuppressColumn(Integer ColIndex);
    void UnSuppressRow(Integer RowIndex);
    void UnSuppressAllColumns();
    void UnSuppressAllRows();
    bool IsSuppressedColumn(Integer ColIndex) const { return ColWidths(ColIndex) == 0; }
    bool IsSuppressedRow(Integer RowIndex) const { return RowHeights(RowIndex) == 0; }
    bool IsIgnoredColumn(Integer ACol) const { return IgnoreColumns()->HasValue(ACol); }
    void HideSelectedRows();
    void HideUnSelectedRows();
    // The hidden-row store and its items (for the families that read hidden
    // rows); the item of a hidden real row, nil when the row is shown.
    TCollection* GridItems() const { return FGridItems.get(); }
    TGridItem* GridItem(Integer Index) const;
    TGridItem* HiddenRowItem(Integer RealRow) const;
    // Every change of the store drops the lookup; the next query rebuilds it.
    void DropHiddenRowLookup() const { FHiddenRowLookupValid = false; }
    Integer FilterLevel() const { return FFilterLevel; }

    // === inserting, removing and moving rows (VodGrid_Rows.cpp) ===
    // Rows are display rows. Each structural change announces its cells
    // through CellsChanged; property blocks travel with their rows.
    virtual void InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls = true);
    void AddRow();
    virtual void AppendRow();
    virtual void RemoveRows(Integer RowIndex, Integer RCount);
    virtual void RemoveRowsEx(Integer RowIndex, Integer RCount);
    virtual void DeleteGridRow(Integer RowIndex, Integer RCount);
    // Ascending display rows; the removed rows' blocks are freed.
    void RemoveRowList(TIntList* RowList);
    void RemoveCheckedRows(Integer CheckBoxColumn, bool RemoveChecked);
    void RemoveDuplicates(Integer ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void MoveRow(Integer FromIndex, Integer ToIndex);
    void MoveRows(Integer FromIndex, Integer ToIndex, Integer Count);
    void DoInsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls);
    // False when OnRowChanging vetoed the deletion (the grid is unchanged).
    bool DoDeleteRows(Integer RowIndex, Integer RCount, bool UpdateCellControls);
    // The check-box state of a cell (false without a check box); completed
    // by the family of check boxes in cells.
    virtual bool IsChecked(Integer ACol, Integer ARow);
    TIntList* ModifiedRows() const { return FModifiedRows.get(); }
    bool UseEnabledRows() const { return FUseEnabledRows; }
    void SetUseEnabledRows(bool v) { FUseEnabledRows = v; }
    std::function<void(TObject* Sender, Integer OldRow, Integer NewRow, bool& Allow)> OnRowChanging;

    // === inserting, removing and moving columns, column order (VodGrid_Cols.cpp) ===
    // Column indices are real columns unless stated; MoveColumn takes
    // display columns.
    virtual void InsertCols(Integer ColIndex, Integer CCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    virtual void RemoveCols(Integer ColIndex, Integer CCount);
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    void MergeCols(Integer ColIndex1, Integer ColIndex2, const String& Separator);
    void MoveColumn(Integer FromIndex, Integer ToIndex);
    void SetColumnOrder();
    void ResetColumnOrder();
    Integer ColumnPosition(Integer ACol);
    Integer ColumnAtPosition(Integer ACol);
    Integer ColumnByHeader(const String& AValue);

    // === clearing, trimming, colouring ranges, used cells, save range (VodGrid_Clear.cpp) ===
    // Negative coordinates of a range are ignored; a range reaching past
    // the grid clears what the store holds there.
    virtual void ClearRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2);
    void ClearRows(Integer RowIndex, Integer RCount);
    void ClearCols(Integer ColIndex, Integer CCount);
    void ClearNormalRows(Integer RowIndex, Integer RCount);
    void ClearNormalCols(Integer ColIndex, Integer CCount);
    void ClearNormalCells();
    void ClearSelection();
    void Clear();
    void ClearAll();
    virtual void TrimRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2);
    void TrimColumn(Integer ACol);
    void TrimRow(Integer ARow);
    void TrimAll();
    void ColorRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2, TColor AColor);
    virtual TGridRect UsedCells();
    Integer SaveStartCol() const;
    Integer SaveStartRow() const;
    Integer SaveEndCol() const;
    Integer SaveEndRow() const;
    Integer SaveColCount() const;
    Integer SaveRowCount() const;
    bool IsCell(const String& SubStr, Integer& ACol, Integer& ARow);
    bool IsWideCell(Integer ACol, Integer ARow);
    String GetWideCells(Integer i, Integer j);
    void SetWideCells(Integer i, Integer j, const String& Value);
    // Frees a block taken out of the store with the graphic it owns.
    static void DisposeCellBlock(TCellProperties* P);
    VEL_GRID_PROP(bool, SaveHiddenCells, false)
    VEL_GRID_PROP(bool, ClearTextOnly, false)
    VEL_GRID_PROP(bool, OwnsObjects, false)
public:

    // === dimensions, fixed and footer rows, simple properties (VodGrid_Dims.cpp) ===
    // Re-declared over the platform grid's: they keep the grid's companions
    // (column arrays, suppressed sizes, largest counts, floating footer,
    // scroll bars, a synchronised grid) in step.
    void SetRowCount(Integer Value);
    void SetColCount(Integer Value);
    // With FixedRowAlways (FixedColAlways) a count of 0 reads as 1.
    Integer FixedRows() const;
    void SetFixedRows(Integer Value);
    Integer FixedCols() const;
    void SetFixedCols(Integer Value);
    void SetFixedRowAlways(bool Value);
    void SetFixedColAlways(bool Value);
    Integer FixedColWidth() const;
    void SetFixedColWidth(Integer Value);
    void SetFixedRowHeight(Integer Value);
    void SetDefaultRowHeight(Integer Value);
    void SetRow(Integer Value) { SetRowEx(Value); }
    virtual void SetRowEx(Integer Value);
    void SetCol(Integer Value);
    // Only inside the grid's normal rows.
    void SetTopRow(Integer Value);
    void SetSelection(const TGridRect& Value);
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool Value);
    void SetFixedFooters(Integer Value);
    void SetFixedRightCols(Integer Value);
    void SetDefaultAlignment(TAlignment Value);
    void SetShowDesignHelper(bool Value);
    void SetShowModified(TShowModified* Value);
    void SetBalloon(TBalloonSettings* Value);
    void SetProgressAppearance(TGridProgressAppearance* Value);
    void SetHoverButtons(THoverButtons* Value);
    void SetRowIndicator(TBitmap* Value);
    void SetBackGround(TBackGround* Value);
    void SetHighlightColor(TColor Value);
    void SetHighlightTextColor(TColor Value);
    void SetHTMLKeepLineBreak(bool Value);
    void SetAutoThemeAdapt(bool Value);
    void SetActiveCellShow(bool Value);
    void SetActiveCellColor(TColor Value);
    void SetActiveCellColorTo(TColor Value);
    void SetActiveCellFont(TFont* Value);
    void SetXYOffset(TPoint Value);
    // Stores without repainting.
    void UpdateXYOffset(Integer X, Integer Y);
    // The up arrow's colour; writing colours all four move arrows.
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);
    bool GetUseVCLStyles() override;
    // Repaints the floating footer.
    void UpdateFooter();
    void CellValueChanged() override;
    virtual void KeyDownHook();

    TRowChangedEvent OnRowChanged;
    TFooterCalcEvent OnFooterCalc;
    // Recalculates the floating footer's row: -1 for every column.
    void CalcFooter(Integer ACol);
    virtual void CalcFooterRow(Integer ACol);
    // (least form until this family lands: plain references and switches)
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* v) { FPictureContainer = v; }
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool v) { FAutoNumAlign = v; }

    // === cell selection, listeners, change notification, combo list (VodGrid_Selection.cpp) ===
    // The disjunct cell selection with MouseActions.DisjunctCellSelect on,
    // else the selection rectangle; i is the column, j the row.
    bool SelectedCells(Integer i, Integer j) const;
    void SetSelectedCells(Integer i, Integer j, bool Value);
    // Without the disjunct mode the list is first rebuilt from the selection.
    Integer SelectedCellsCount();
    // (-1, -1) past the list.
    TGridCoord GetSelectedCell(Integer i) const;
    void ClearSelectedCells();
    Integer SelectedColCount() const;
    Integer SelectedRowCount() const;
    Integer GetSelectedRow(Integer i) const;
    // Parks the selection on the cell (ColCount, RowCount), just outside the
    // grid, so that nothing shows as selected.
    void HideSelection();
    void UnHideSelection();
    bool IsSelectionHidden() const;
    void UpdateEditMode();
    // One listener: a second registration replaces the first.
    void RegisterSelListener(ITVodStringGridSelect* AListener);
    void UnRegisterSelListener(ITVodStringGridSelect* AListener);
    ITVodStringGridSelect* SelListener() const { return FISelect.Get(); }
    // A notifier freed while registered drops out of the list.
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    // Tells the notifiers, then OnCellsChanged, then recalculates the footer.
    virtual void CellsChanged(TRect R);
    void ScreenToCell(TPoint pt, Integer& ACol, Integer& ARow);

    TCellsChangedEvent OnCellsChanged;

    void ClearModifiedRows();
    // The combo editor's items (nothing in design mode, which has no
    // editors).
    void ClearComboString();
    void AddComboString(const String& s);
    void AddComboStringObject(const String& s, TObject* AObject);
    bool RemoveComboString(const String& s);
    bool SetComboSelectionString(const String& s);
    void SetComboSelection(Integer idx);
    Integer GetComboCount() const;
    void SetComboIndex(Integer ACol, Integer ARow, Integer Value);
    Integer GetComboIndex(Integer ACol, Integer ARow);
    Integer ComboSelection() const { return FComboIdx; }
    bool ForceComboSelection() const { return FForceComboSel; }
    // The editor-properties hook (least: raises OnGetEditorProp; the edit
    // link comes with the grid's editors).
    virtual void GetEditorProp(Integer ACol, Integer ARow, TObject* AEditLink);
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TObject* AEditLink)> OnGetEditorProp;

    // === cell accessors and rich text (VodGrid_Accessors.cpp) ===
    // Cells by real row (hidden rows are read and written in the hidden-row
    // store), by display column, by the row before sorting and by the column
    // before moving.
    String AllCells(Integer c, Integer r);
    void SetAllCells(Integer c, Integer r, const String& Value);
    // As AllCells, but a hidden row's list is never grown: a column beyond it
    // raises the list's index error.
    String AllGridCells(Integer c, Integer r);
    void SetAllGridCells(Integer c, Integer r, const String& Value);
    String AllWideCells(Integer c, Integer r) { return AllCells(c, r); }
    void SetAllWideCells(Integer c, Integer r, const String& Value) { SetAllCells(c, r, Value); }
    TObject* AllObjects(Integer c, Integer r);
    void SetAllObjects(Integer c, Integer r, TObject* Value);
    String RealCells(Integer c, Integer r);
    void SetRealCells(Integer c, Integer r, const String& Value);
    // A row that cannot be found in the sort record reads empty; writing it
    // raises EVodGridError.
    String UnSortedCells(Integer c, Integer r);
    void SetUnSortedCells(Integer c, Integer r, const String& Value);
    String OriginalCells(Integer c, Integer r);
    void SetOriginalCells(Integer c, Integer r, const String& Value);
    String StrippedCells(Integer c, Integer r);
    String GetStrippedCell(Integer c, Integer r) { return StrippedCells(c, r); }
    Integer LinesInCell(Integer c, Integer r);
    Integer AllColWidths(Integer c) const;
    void SetAllColWidths(Integer c, Integer Value);
    Integer SortedRowIndex(Integer ARow) const;
    Integer UnSortedRowIndex(Integer ARow) const;

    // Per-cell looks in the cell's property block (c is the store column).
    // Readers create no block and answer the default; writers create it.
    TColor Colors(Integer c, Integer r) const;
    void SetColors(Integer c, Integer r, TColor Value);
    TColor ColorsTo(Integer c, Integer r) const;
    void SetColorsTo(Integer c, Integer r, TColor Value);
    TCellGradientDirection Gradients(Integer c, Integer r) const;
    void SetGradients(Integer c, Integer r, TCellGradientDirection Value);
    TColor FontColors(Integer c, Integer r) const;
    void SetFontColors(Integer c, Integer r, TColor Value);
    TFontStyles FontStyles(Integer c, Integer r) const;
    void SetFontStyles(Integer c, Integer r, TFontStyles Value);
    Integer FontSizes(Integer c, Integer r);
    void SetFontSizes(Integer c, Integer r, Integer Value);
    String FontNames(Integer c, Integer r) const;
    void SetFontNames(Integer c, Integer r, const String& Value);
    void SetFonts(Integer c, Integer r, TFont* Value);
    TAlignment Alignments(Integer c, Integer r) const;
    void SetAlignments(Integer c, Integer r, TAlignment Value);
    bool ReadOnly(Integer c, Integer r) const;
    void SetReadOnly(Integer c, Integer r, bool Value);
    // The one reader that creates the block.
    bool WordWraps(Integer c, Integer r);
    void SetWordWraps(Integer c, Integer r, bool Value);
    TControl* CellControls(Integer c, Integer r) const;
    void SetCellControls(Integer c, Integer r, TControl* Value);
    Integer NumCellControls() const { return FNumCellControls; }
    // Row looks over the columns from FixedCols on; clNone frees the blocks
    // of empty cells that hold nothing else.
    void SetRowColor(Integer r, TColor Value);
    void SetRowColorTo(Integer r, TColor Value);
    void SetRowFontColor(Integer r, TColor Value);

    virtual String CurrentCell();
    virtual void SetCurrentCell(const String& Value);
    virtual String GetCurrentCellText();
    virtual String GetGridCellText(Integer c, Integer r);
    virtual void SetEditorCellText(const String& Value);
    Integer AllColCount() const { return ColCount() + NumHiddenColumns(); }
    Integer AllRowCount() const { return RowCount() + NumHiddenRows(); }
    Integer LastCol() const { return ColCount() - 1; }
    Integer LastRow() const { return RowCount() - 1; }
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool Value);
    // Remembered as the cursor the grid restores after its temporary ones.
    void SetCursor(TCursor Value);
    TCursor OldCursor() const { return FOldCursor; }
    TVodStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TVodStringGridCheck* Value);
    TFormatType FormatType() const { return FFormatType; }
    void SetFormatType(TFormatType Value);
    // Public switch: CurrentCell reads the text of GetCurrentCellText.
    bool VirtualEdit = false;
    void UpdateCellScrollBar(Integer ACol, Integer ARow) override;

    // Rich text between a cell and a rich edit control.
    void CellToRich(Integer Col, Integer Row, TCustomRichEdit* Richeditor);
    String RichToString(TCustomRichEdit* Richeditor);
    void RichToCell(Integer Col, Integer Row, TCustomRichEdit* Richeditor);
    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;
    TFont* Fonts(Integer c, Integer r) { return GetCellFont(c, r); }
    // Copies the value into the grid's own focus helper.
    void SetFocusHelper(TFocusHelper* Value) { FocusHelper()->Assign(Value); }

    // === check boxes and radio buttons in cells (VodGrid_CheckBoxes.cpp) ===
    // Adding and removing take cells of the store (store column, store row
    // of the grid's cells; rows and columns count hidden ones in the bounds
    // test). The state operations (Get/SetCheckBoxState, IsChecked, the
    // notifying set, CheckAll) take real rows: a hidden row's check box is
    // read and set in the hidden-row store. The toggles, the queries and the
    // hit test take the cell as the grid shows it (store column, display row).
    // Raises EVodGridError "Invalid cell" outside the grid.
    void AddCheckBox(Integer ACol, Integer ARow, bool State, bool Data = false);
    void AddCheckBox(Integer ACol, Integer ARow, TCheckBoxState State);
    void AddCheckBoxColumn(Integer ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(Integer ACol, TCheckBoxState State);
    void RemoveCheckBox(Integer ACol, Integer ARow);
    void RemoveCheckBoxColumn(Integer ACol);
    void AddRadioButton(Integer ACol, Integer ARow, bool State = false);
    void AddRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group, bool State = false);
    void AddRadioButtonColumn(Integer ACol);
    void AddRadioButtonGroupColumn(Integer ACol);
    void RemoveRadioButton(Integer ACol, Integer ARow);
    void RemoveRadioButtonColumn(Integer ACol);
    bool HasCheckBox(Integer ACol, Integer ARow);
    bool HasDataCheckBox(Integer ACol, Integer ARow);
    bool IsDataCheckBoxColumn(Integer ACol);
    bool IsDataCell(Integer ACol, Integer ARow);
    // Whether a click acts on the cell's control instead of editing it.
    bool IsClickControlCell(Integer ACol, Integer ARow);
    // False when the cell has no check box; a three-state box reads
    // checked only when it is checked.
    bool GetCheckBoxState(Integer ACol, Integer ARow, bool& State);
    bool GetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState& State);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    bool HasRadioButton(Integer ACol, Integer ARow);
    bool HasRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group);
    bool IsRadioButtonChecked(Integer ACol, Integer ARow);
    Integer GetRadioButtonColumnIndex(Integer ACol);
    // No event; True when the cell has a check box of a fitting kind.
    bool SetCheckBoxState(Integer ACol, Integer ARow, bool State);
    bool SetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState State);
    // As SetCheckBoxState, telling CheckBoxChange of each real change.
    bool SetCheckBoxStateNotify(Integer ACol, Integer ARow, bool Value);
    bool ToggleCheckBox(Integer ACol, Integer ARow) { return ToggleCellCheckBox(ACol, ARow, false); }
    void CheckAll(Integer ACol);
    void UnCheckAll(Integer ACol);
    bool SetRadioButtonState(Integer ACol, Integer ARow, bool State);
    void SetRadioButtonRowIndex(Integer ARow, Integer Index);
    void SetRadioButtonColumnIndex(Integer ACol, Integer Index);
    bool IsInCheckBox(Integer ACol, Integer ARow, Integer XPos, Integer YPos);
    TCheckBoxCanToggleEvent OnCheckBoxCanToggle;

    // === outline nodes (VodGrid_Nodes.cpp) ===
    // A node is a ctNode graphic in CellNode.NodeColumn of its row: CellBoolean
    // contracted, CellIndex the span in store rows with the node's own row (0:
    // up to the next node row), CellErrFrom the sub-node count. Every covered
    // row keeps the number of spans covering it in its node-column block
    // (NodeLevel). Contracted rows live in the hidden-row store.
    // Store (real) rows: AddNode, RemoveNode, ExpandNode, ContractNode,
    // SetSummaryRow and the four row insertions and removals. Every other
    // operation here takes display rows.
    void AddNode(Integer ARow, Integer Span);
    void RemoveNode(Integer ARow);
    void RemoveAllNodes();
    void SetSummaryRow(Integer ARow);
    bool GetNodeState(Integer ARow);
    // True contracts, False expands a node row whose state differs.
    void SetNodeState(Integer ARow, bool Value);
    Integer GetNodeLevel(Integer ARow);
    Integer GetNodeSpan(Integer ARow);
    void SetNodeSpan(Integer ARow, Integer Span);
    void UpdateNodeSpan(Integer ARow, Integer Delta);
    Integer GetSubNodeCount(Integer ARow);
    void UpdateSubNodeCount(Integer ARow, Integer Delta);
    void ExpandNode(Integer ARow);
    void ContractNode(Integer ARow);
    void ExpandAll();
    void ContractAll();
    // The node row whose span holds the row (a top-level node row is its own
    // parent), -1 outside every span.
    Integer GetParentRow(Integer ARow);
    // For the tree lines: 0 node row, 1 the line ends here, 2 it goes on.
    Integer GetNodeSpanType(Integer ARow);
    bool IsInNodeButton(Integer ARow, Integer X);
    void InsertNormalRow(Integer ARow);
    void RemoveNormalRow(Integer ARow);
    void InsertChildRow(Integer ARow, Integer InsertAt);
    void RemoveChildRow(Integer ARow);
    Integer NodeCount() const { return FNumNodes; }
    bool HasNodes() override { return FNumNodes > 0; }
    Integer GetNodeIndent(Integer ARow) override;
    // Every hidden row back at its real index in one pass over the row
    // table; the items are freed.
    void RestoreAllHiddenRows();

    // === balloons, radio groups and expand buttons (VodGrid_CellExtras.cpp) ===
    // Cells of the store; the queries answer for a merged area's base cell.
    // A balloon is a ctBalloon graphic, or a mark (CellAngle 1) on an icon,
    // check box, data check box or radio button (a radio button's group then
    // reads as the column group); its title and text are a list the graphic
    // owns, its icon in CellIndex.
    void AddBalloon(Integer ACol, Integer ARow, const String& Title, const String& Text, TBalloonIcon Icon);
    void RemoveBalloon(Integer ACol, Integer ARow);
    bool HasBalloon(Integer ACol, Integer ARow);
    bool IsBalloon(Integer ACol, Integer ARow, String& Title, String& Text, Integer& Icon);
    // A radio group: the options (the caller's list, or one the grid makes
    // and owns), the selected option in CellIndex, the direction.
    void AddRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio, TStrings* sl);
    TStrings* CreateRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio);
    bool GetRadioIdx(Integer ACol, Integer ARow, Integer& IdxRadio);
    bool SetRadioIdx(Integer ACol, Integer ARow, Integer IdxRadio);
    TStrings* GetRadioStrings(Integer ACol, Integer ARow);
    bool IsRadio(Integer ACol, Integer ARow);
    void RemoveRadio(Integer ACol, Integer ARow);
    // Selects the next option (after the last, the first) and writes it.
    bool ClickRadioCell(Integer ACol, Integer ARow, bool FromUser);
    // An expand button: the expanded height in CellAngle, the collapsed one
    // (the row's height when added) in CellIndex, the state in CellVar.
    void AddExpand(Integer ACol, Integer ARow, Integer ExpandedHeight);
    void RemoveExpand(Integer ACol, Integer ARow);
    bool HasExpand(Integer ACol, Integer ARow);
    bool ToggleExpand(Integer ACol, Integer ARow);
    bool GetExpandState(Integer ACol, Integer ARow);
    // The 11 x 11 button at the cell's top right; empty without a button.
    TRect GetExpandButtonRect(Integer ACol, Integer ARow);

    // === grouping and group summaries (VodGrid_Group.cpp) ===
    // Groups the normal rows by a column (at or after FixedCols): a header
    // row (a node over its run) before every run of equal values, a summary
    // row after each run with Grouping.Summary, and the column taken out.
    // Grouping again ungroups first.
    virtual void Group(Integer Colindex);
    // Gives the rows, the grouped column (width, header and footer texts)
    // and its values back.
    virtual void UnGroup();
    // A second level inside the groups, by another column, and its removal.
    virtual void SubGroup(Integer Colindex);
    virtual void SubUnGroup(Integer Colindex);
    // -1 ungroups, a positive column groups by it, 0 does nothing.
    void SetGroupColumn(Integer Value);
    bool IsGrouping() const { return FIsGrouping; }
    Integer GroupWidth() const { return FGroupWidth; }
    const String& GroupCaption() const { return FGroupCaption; }
    const String& GroupFooter() const { return FGroupFooter; }
    // Writes a figure of each expanded group's data rows into its summary
    // row (or, without summaries, its header row): 1 sum, 2 average,
    // 3 minimum, 4 maximum, 5 count, 6 OnGroupCalc, 7 distinct values,
    // 8 standard deviation.
    void GroupCalc(Integer Colindex, Integer Method);
    void GroupSum(Integer Colindex);
    void GroupAvg(Integer Colindex);
    void GroupMin(Integer Colindex);
    void GroupMax(Integer Colindex);
    void GroupCount(Integer Colindex);
    void GroupCustomCalc(Integer Colindex);
    void GroupDistinct(Integer Colindex);
    void GroupStdDev(Integer Colindex);

    // === merging and splitting by content (VodGrid_Merge.cpp) ===
    // Runs of equal texts (as GetCellEx reads them) over the normal rows of a
    // column (the normal columns of a row) become one cell each; without
    // MainMerge a run also has to lie within the merges of the other columns.
    void MergeColumnCells(Integer ColIndex, bool MainMerge);
    void MergeRowCells(Integer RowIndex, bool MainMerge);
    void SplitColumnCells(Integer ColIndex);
    void SplitRowCells(Integer RowIndex);
    void SplitAllCells();
    // The group header (with Grouping.MergeHeader) and summary rows (with
    // MergeSummary) merged across the normal columns, or split again.
    void MergeGroupRows();
    void SplitGroupRows();

    // === scroll bars and scrolling (VodGrid_Scroll.cpp) ===
    // Brings a cell into view: centred, at the trailing or at the leading
    // edge; nothing for a cell past the grid.
    void ScrollInView(Integer ColIndex, Integer RowIndex, TScrollPosition Position);
    // The left column (top row) for a thumb position of 0 to 127.
    Integer ScrollPosToCol(Integer Pos);
    Integer ScrollPosToRow(Integer Pos);
    void SetScrollType(TScrollType Value);
    void SetScrollColor(TColor Value);
    void SetScrollWidth(Integer Value);
    void SetScrollHints(TScrollHintType Value);
    void SetScrollProportional(bool Value);
    void SetScrollBarAlways(TScrollBarAlways Value);
    // Shows, hides, enables and disables the bars by ScrollBarAlways; with
    // saNone and Hide a bar whose lines all fit is hidden.
    void ApplyScrollBarAlways(bool Hide);
    // While locked the proportional ranges are not recomputed.
    bool ScrollLock() const { return FScrollLock; }
    void SetScrollLock(bool Value);
    // The flat scroll bars of the common-controls library; every call looks
    // its function up and does nothing when it is missing.
    bool IsFlat() const { return FIsFlat; }
    void FlatInit();
    void FlatDone();
    void FlatShowScrollBar(Integer Bar, bool Show);
    void SyncFlatVScrollBar();
    void SyncFlatHScrollBar();
    // Shows (and synchronises) or hides each flat bar by whether its lines
    // do not all fit; FlatUpdateAll first applies style, colour and width.
    void UpdateFlatScrollBars();
    void FlatUpdateAll();
    // At window creation: the flat bars of a scroll type other than ssNormal.
    void StartFlatScrollBars();
    // The hook the cell scroll bar's steps reach: raises OnScrollCell.
    virtual void ScrollCell(Integer ACol, Integer ARow, Integer Max, Integer Min, Integer Position);
    void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
    TDragScrollDirection DragScrollDirection() const { return FDragScrollDirection; }
    TTimer* DragScrollTimer() const { return FDragTmr; }
    // The kinetic scroll after a flick: the mouse handling sets the delta,
    // the steps and the direction and enables the timer (made on first use,
    // owned by the grid); each tick moves one step.
    TTimer* KineticScrollTimer();
    void KineticScrollTick(TObject* Sender);
    Integer FScrollDelta = 0, FScrollSteps = 0;
    bool FScrollVert = false, FScrollEnd = false;
    // The cell whose scroll bar is shown (set where the bar is shown).
    Integer FScrollCol = -1, FScrollRow = -1;
    bool ScrollHintShowing() const { return FScrollHintShow; }
    TScrollHintEvent OnScrollHint;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer ScrollPosition, Integer ScrollMin,
                       Integer ScrollMax)>
        OnScrollCell;

    // === column stretching and size changes (VodGrid_Stretch.cpp) ===
    // Sets ColumnSize.StretchAll and Stretch, then spreads the normal
    // columns over the client width.
    void StretchColumns();
    // The last column fills the client width.
    void StretchRightColumn();
    // Whether the point lies within 3 pixels of a sizing border of a header
    // cell (columns) or of a fixed column's cell (rows).
    bool IsOnSizingBorder(Integer X, Integer Y);
    void SizeChanged(Integer OldColCount, Integer OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // In edit mode on a cell with a check box the platform editor goes off.
    void CheckBoxEditorRule();
    // After the client took a new width: the stretch column fills it again.
    void StretchOnResize(Integer NewWidth);
    // The resize the mouse handling started: the grabbed column or row (-1
    // for none), its size then, and whether the resize just ended.
    Integer Colclicked = -1, Rowclicked = -1, Colclickedsize = 0, Rowclickedsize = 0;
    bool ColSized = false, RowSized = false, ColSizeFlg = false;
    // Whether a change of widths may stretch (off while a stretch runs).
    bool ColchgFlg = true;
    bool IsColChanging() const { return FIsColChanging; }
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;

    // === row sorting and sort settings (VodGrid_Sort.cpp) ===
    // Sorts the normal rows by SortSettings.Column (nothing when negative),
    // ties broken by the columns to its right with SortSettings.Full.
    virtual void QSort();
    // Sorts by the columns of SortIndexes (bit 31: descending); raises
    // EVodGridError when the list is empty.
    virtual void QSortIndexed();
    // Sort inside the innermost expanded groups of the deepest node level.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    // Back to the order from before the first sort since the row count last
    // changed.
    virtual void QUnSort();
    void Sort(Integer Column, TSortDirection Direction);
    void SortByColumn(Integer Col);
    // Range sorts of rows Left..Right; they keep the current row and the
    // update bracket as they are.
    void QuickSort(Integer Col, Integer Left, Integer Right);
    void QuickSortIndexed(Integer Left, Integer Right);
    // Swaps two rows with everything attached to them.
    virtual void SortSwapRows(Integer ARow1, Integer ARow2);
    // Swaps the rows when they are out of order by Col (and the columns to
    // its right on ties); true when they were swapped.
    bool SortLine(Integer Col, Integer ARow1, Integer ARow2);
    void InitSortXRef();
    TColumnType ColumnType(Integer Col);
    // -1, 0 or +1: the cell of ARow1 before, equal to, or after that of ARow2
    // in ascending order (blank placement applied for Direction). Not
    // symmetric under the automatic style: only the first text picks it.
    Integer CompareCells(Integer ACol, Integer ARow1, Integer ARow2, TSortDirection Direction);
    Integer CompareRows(Integer ACol, Integer ARow1, Integer ARow2);
    Integer CompareRowsIndexed(Integer Index, Integer ARow1, Integer ARow2);
    Integer SortDir() const { return FSortDir; }
    Integer SortRow() const { return FSortRow; }
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    std::function<void(TObject* Sender, Integer OldRow, Integer NewRow)> OnRowUpdate;

    // === row filtering and the filter file (VodGrid_Filter.cpp) ===
    bool FilterActive() const { return FFilterActive; }
    // Acts only on a change (ignored while loading): on, the failing rows
    // are hidden as one level; off, the last level comes back. The footers
    // are recalculated either way.
    void SetFilterActive(bool Value);
    // Tests the normal rows and hides the failing ones as one new level
    // (also when none fails).
    void ApplyFilter();
    void FilterRow(Integer ARow);
    // Incremental search: one more character pushes a level, one fewer pops
    // it, anything else filters afresh. AColumn -1 searches whole rows.
    void NarrowDown(const String& ACondition, Integer AColumn = -1) { NarrowDown(ACondition, false, AColumn); }
    void NarrowDown(const String& ACondition, bool DoRemoveAccented, Integer AColumn);
    // Restores the last level; true when more than one level remains.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // The conditions as an INI file; a failed write raises (the old file
    // stays). Loading a missing or unreadable file changes nothing.
    void SaveFilter(const String& FileName);
    void LoadFilter(const String& FileName);
    bool NarrowDownFromStart() const { return FNarrowDownFromStart; }
    void SetNarrowDownFromStart(bool v) { FNarrowDownFromStart = v; }
    bool IsNarrowDown() const { return FIsNarrowDown; }
    const String& LastFilter() const { return FLastFilter; }
    std::function<void(TObject* Sender, Integer ARow, bool& AcceptRow)> OnCustomFilter;
    std::function<void(TObject* Sender, SmallInt Progress)> OnFilterProgress;

    // === filter drop-down, filter edit row and header editors (VodGrid_FilterDropDown.cpp) ===
    // Repaints; on, the fixed row stays when every row is filtered out;
    // off, the value list is emptied.
    void SetFilterDropDownAuto(bool Value);
    // A row not smaller than FixedRows is ignored; a valid one repaints.
    void SetFilterDropDownRow(Integer Value);
    void SetFilterEdit(TFilterEdit* Value) { FFilterEdit->Assign(Value); }
    void SetFilterDropDown(TFilterDropDown* Value) { FFilterDropDown->Assign(Value); }
    // The column whose drop-down is open, -1 for none.
    Integer FilterCol() const { return FFilterCol; }
    // Opens a column's filter list under its header cell in FilterDropDownRow
    // (the check list with FilterDropDownCheck, the values of the column's
    // condition checked); false when there is nothing to show.
    bool ShowFilterDropDown(Integer ACol);
    // The lists' cancel-mode rule: the open column is closed.
    void FilterDropDownCancelled();
    // The nine filter-type icons ("QelGRDSTARTSWITH" to "QelGRDCLEAR")
    // into FilterTypeImages, in the order of the filter types.
    void LoadFilterTypeImages();
    // A header editor that refused its text takes the current cell back.
    void FocusEditorCell(Integer ACol, Integer ARow) { FocusCell(ACol, ARow, true); }
    std::function<void(TObject* Sender, Integer Column, Integer ItemIndex, const String& FriendlyName,
                       String& FilterCondition)>
        OnFilterSelect;
    std::function<void(TObject* Sender, Integer Column, Integer ItemIndex, const String& FriendlyName,
                       String& FilterCondition, TCheckListBox* CheckList)>
        OnFilterCheck;
    std::function<void(TObject* Sender, Integer Column, Integer ItemIndex, bool State, TCheckListBox* CheckList)>
        OnFilterCheckClick;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Valid)> OnCellValidate;
    TNotifyEvent OnEditingDone;

    // === calculations and selection text (VodGrid_Calc.cpp) ===
    // Statistics over the numbers of a column, a row, a rectangle or the
    // selection. A FromRow or ToRow of -1 stands for the normal rows above
    // the fixed footer rows. Cells that do not read as numbers are skipped,
    // except where a comment says that the error escapes.
    double ColumnCount(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double ColumnSum(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double ColumnAvg(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double ColumnMin(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double ColumnMax(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    // Population form; a cell that is no number raises EVodGridError.
    double ColumnStdDev(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    // Distinct displayed texts, without case; the empty text counts once.
    double ColumnDistinct(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double ColumnCustomCalc(Integer ACol, Integer FromRow = -1, Integer ToRow = -1);
    double GroupCalcHandler(Integer ACol, Integer FromRow, Integer ToRow);
    double RowSum(Integer ARow, Integer fromCol, Integer toCol);
    double RowAvg(Integer ARow, Integer fromCol, Integer toCol);
    double RowMin(Integer ARow, Integer fromCol, Integer toCol);
    double RowMax(Integer ARow, Integer fromCol, Integer toCol);
    // Real indexes; a cell that is no number raises EVodGridError.
    double RectCalc(TGridRect GR, TCalcType CalcType);
    double RectSum(const TGridRect& GR) { return RectCalc(GR, ctSum); }
    double RectAvg(const TGridRect& GR) { return RectCalc(GR, ctAvg); }
    double RectMin(const TGridRect& GR) { return RectCalc(GR, ctMin); }
    double RectMax(const TGridRect& GR) { return RectCalc(GR, ctMax); }
    double SelectionSum() { return RectCalc(Selection(), ctSum); }
    double SelectionAvg() { return RectCalc(Selection(), ctAvg); }
    double SelectionMin() { return RectCalc(Selection(), ctMin); }
    double SelectionMax() { return RectCalc(Selection(), ctMax); }
    void SelectCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    // Tab-separated cells, rows ended (disjunct rows) or joined by CR LF.
    String SelectedText();
    // Never true for a fixed cell.
    bool IsSelected(Integer ACol, Integer ARow);
    // CalcFooter of one column, of every column (VodGrid_Validate.cpp).
    virtual void RecalcFooter(Integer ACol);
    virtual void RecalcAllFooters();
    TColumnCalcEvent OnColumnCalc, OnGroupCalc;

    // === typed values, fills, marking and range styles (VodGrid_Values.cpp) ===
    // Typed views on the cell texts. The All forms take real indexes and
    // reach hidden cells. Readers raise EVodGridError "Cell does not contain
    // integer value" / "Cell does not contain a float value".
    void SetInts(Integer ACol, Integer ARow, Integer Value);
    Integer GetInts(Integer ACol, Integer ARow);
    Integer Ints(Integer ACol, Integer ARow) { return GetInts(ACol, ARow); }
    void SetAllInts(Integer ACol, Integer ARow, Integer Value);
    Integer GetAllInts(Integer ACol, Integer ARow);
    void SetFloats(Integer ACol, Integer ARow, double Value);
    double GetFloats(Integer ACol, Integer ARow);
    double Floats(Integer ACol, Integer ARow) { return GetFloats(ACol, ARow); }
    void SetAllFloats(Integer ACol, Integer ARow, double Value);
    double GetAllFloats(Integer ACol, Integer ARow);
    void SetDates(Integer ACol, Integer ARow, TDateTime Value);
    TDateTime GetDates(Integer ACol, Integer ARow);
    void SetTimes(Integer ACol, Integer ARow, TDateTime Value);
    TDateTime GetTimes(Integer ACol, Integer ARow);
    String GetCtrlVal(Integer ACol, Integer ARow, const String& ID);
    void SetCtrlVal(Integer ACol, Integer ARow, const String& ID, const String& Value);

    // Fills: every cell with DoFixed, else the normal cells.
    void TextFill(bool DoFixed, const String& Txt);
    // Fmt gets the column, then the row.
    void FormatFill(bool DoFixed, const String& Fmt);
    void RandomFill(bool DoFixed, Integer Rnd);
    void LinearFill(bool DoFixed);

    // Highlighting ("hi" tags) and marking ("e" tags) of a text in cells.
    String HilightText(bool DoCase, const String& S, const String& Text);
    String MarkText(bool DoCase, const String& S, const String& Text);
    String UnHilightText(const String& S);
    String UnMarkText(const String& S);
    void HilightInCell(bool DoCase, Integer Col, Integer Row, const String& HiText, bool FullText);
    void HilightInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText, bool FullText);
    void HilightInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText, bool FullText);
    void HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText);
    void MarkInCell(bool DoCase, Integer Col, Integer Row, const String& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const String& HiText);
    void UnHilightInCell(Integer Col, Integer Row);
    void UnHilightInCol(bool DoFixed, Integer Col);
    void UnHilightInRow(bool DoFixed, Integer Row);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInCell(Integer Col, Integer Row);
    void UnMarkInCol(bool DoFixed, Integer Col);
    void UnMarkInRow(bool DoFixed, Integer Row);
    void UnMarkInGrid(bool DoFixed);

    // The cell checker's pass; True when every checked cell stayed as it was.
    bool CheckCell(Integer Col, Integer Row);
    bool CheckCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    bool CheckCol(bool DoFixed, Integer Col);
    bool CheckRow(bool DoFixed, Integer Row);
    bool CheckGrid(bool DoFixed);

    // Header texts in row 0 and column 0.
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    void ClearRowHeaders();
    void ShowRowHeaders();

    // Looks over a rectangle of store cells, column by column.
    void SetFontStyle(const TGridRect& GridRect, TFontStyle AStyle, bool DoSet);
    bool IsFontStyle(const TGridRect& GridRect, TFontStyle AStyle);
    void SetCellColor(const TGridRect& GridRect, TColor AColor);
    void SetCellTextColor(const TGridRect& GridRect, TColor AColor);
    void SetCellFontName(const TGridRect& GridRect, const String& AName);
    void SetCellFontSize(const TGridRect& GridRect, Integer ASize);
    void SetAlignment(const TGridRect& GridRect, TAlignment AAlignment);
    bool IsAlignment(const TGridRect& GridRect, TAlignment AAlignment);

    // Screen areas of cells (cell coordinates).
    void RepaintRect(const TRect& r);
    void RepaintRow(Integer ARow);
    void RepaintCol(Integer ACol);

    // === row and column selection flags, modified and enabled rows, navigation (VodGrid_RowFlags.cpp) ===
    // Row flags with MouseActions.DisjunctRowSelect, else the selection's
    // rows. Out of range: "Invalid row <n> accessed" (unless
    // RowSelectPersistent).
    bool GetRowSelect(Integer ARow) const;
    bool RowSelect(Integer ARow) const { return GetRowSelect(ARow); }
    // Fires OnRowDisjunctSelect (which may refuse) and OnRowDisjunctSelected
    // on a change; raises "Invalid row accessed".
    void SetRowSelect(Integer ARow, bool Value);
    // "Invalid column accessed" outside 0 .. ColCount + hidden columns - 1.
    bool GetColSelect(Integer ACol) const;
    bool ColSelect(Integer ACol) const { return GetColSelect(ACol); }
    void SetColSelect(Integer ACol, bool Value);
    Integer RowSelectCount() const;
    Integer ColSelectCount() const;
    void SelectRows(Integer RowIndex, Integer RCount);
    void UnSelectRows(Integer RowIndex, Integer RCount);
    void SelectCols(Integer ColIndex, Integer CCount);
    void UnSelectCols(Integer ColIndex, Integer CCount);
    void SelectRange(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow);
    void ClearRowSelect();
    void ResetRowSelection();
    void ClearColSelect();
    bool SyncRowSelectFromSelection(bool All);
    void SyncColSelectFromSelection(bool All);
    bool RowSelMod() const { return FRowSelMod; }
    bool GetRowModified(Integer ARow) const;
    void SetRowModified(Integer ARow, bool Value);
    Integer ModifiedRowCount() const;
    bool GetRowEnabled(Integer ARow) const;
    // Disabling the current row first moves it to the first other enabled
    // row.
    void SetRowEnabled(Integer ARow, bool Value);
    void GotoCell(Integer ACol, Integer ARow);
    void EditCell(Integer ACol, Integer ARow);
    // The selection becomes the one cell.
    void FocusCell(Integer ACol, Integer ARow);
    // The platform grid's form (current cell and, optionally, the anchor).
    using TCustomGrid::FocusCell;
    void MoveToCell(Integer ACol, Integer ARow);
    // Texts and object references, without merge redirection or repaint.
    void SwapCells(TGridCoord FromCell, TGridCoord ToCell);
    // A new sorted list of the column's values (hidden rows included); the
    // caller owns it.
    TStrings* DistinctValues(Integer ACol, bool CaseSensitive);
    virtual void BottomReached();
    std::function<void(TObject* Sender, Integer ARow, bool AState, bool& Allow)> OnRowDisjunctSelect;
    std::function<void(TObject* Sender, Integer ARow)> OnRowDisjunctSelected;
    std::function<void(TObject* Sender, Integer ACol, bool AState, bool& Allow)> OnColDisjunctSelect;
    std::function<void(TObject* Sender, Integer ACol)> OnColDisjunctSelected;
    std::function<void(TObject* Sender, Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)>
        OnSelectionChanged;

    // === auto sizing, numbering and swaps (VodGrid_AutoSize.cpp) ===
    // Widths and heights fitted to the cells; every size passes through
    // LimitToMinMax with MinColWidth/MaxColWidth, MinRowHeight/MaxRowHeight.
    void AutoSizeCol(Integer ACol, Integer Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, Integer Padding = 0);
    void AutoGrowCol(Integer ACol, Integer Padding = 0);
    void AutoGrowColumns(bool DoFixedCols, Integer Padding = 0);
    void AutoSizeRow(Integer ARow, Integer Padding = 0);
    void AutoSizeRows(bool DoFixedRows, Integer Padding = 0);
    void SetRowHeightByLines(Integer ARow, Integer Lines, Integer Padding = 0);
    void AutoSizeCells(bool DoFixedCells, Integer PaddingX, Integer PaddingY);
    // Fits the columns into the control's width.
    void AutoFitColumns(bool DoFixedCells);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    void AutoNumberCol(Integer ACol);
    void AutoNumberRow(Integer ARow);
    void SwapColumns(Integer ACol1, Integer ACol2);
    void SwapRows(Integer ARow1, Integer ARow2);
    Integer MinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(Integer v) { FMinColWidth = v; }
    Integer MaxColWidth() const { return FMaxColWidth; }
    void SetMaxColWidth(Integer v) { FMaxColWidth = v; }
    Integer MinRowHeight() const { return FMinRowHeight; }
    void SetMinRowHeight(Integer v) { FMinRowHeight = v; }
    Integer MaxRowHeight() const { return FMaxRowHeight; }
    void SetMaxRowHeight(Integer v) { FMaxRowHeight = v; }
    VEL_GRID_PROP(bool, SizeGrowOnly, false)
    VEL_GRID_PROP(Integer, AutoNumberStart, 0)
    VEL_GRID_PROP(Integer, AutoNumberOffset, 0)
    VEL_GRID_PROP(TSortDirection, AutoNumberDirection, sdAscending)
    VEL_GRID_PROP(bool, XYOffsetTopLeftOnly, false)
public:
    Integer ZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(Integer v) { FZoomFactor = v; }
    Integer XYOffsetWidth() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    Integer XYOffsetHeight() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }

    // === binary cell stream (VodGrid_BinStream.cpp) ===
    // The grid's lossless exchange form of a block of cells (texts, property
    // blocks, graphics with their images): a grid record, then per cell a
    // cell record and, as flagged, its property, graphic and image records.
    // Readers check the whole stream before the grid changes: a malformed
    // stream raises EReadError (or EVodGridError for counts and widths) and
    // leaves the grid as it was.
    void SaveRectToBinStream(TGridRect Rect, TStream* Stream, bool SaveHidden);
    void LoadAtPointFromBinStream(TPoint Point, TStream* Stream);
    void SaveToBinStream(TStream* Stream);
    void LoadFromBinStream(TStream* Stream);
    void SaveToBinFile(const String& FileName);
    void LoadFromBinFile(const String& FileName);
    // The number by which a stream names the grid that wrote it: unique in
    // the process and unlikely to repeat across runs.
    Integer StreamID();
    // The largest block (columns times rows) a stream may announce, and the
    // most cell records it may hold; larger ones are refused.
    Int64 StreamCellLimit() const { return FStreamCellLimit; }
    void SetStreamCellLimit(Int64 v) { FStreamCellLimit = v < 1 ? 1 : v; }
    TGridProgressEvent OnFileProgress;

    // === native text format (VodGrid_Text.cpp) ===
    // Texts and column widths as lines: "cols,rows", "cw c,w", "c,r,text".
    // The file variant holds the save range with the grid's indexes; the
    // stream variant is UTF-16LE, relative to the save range, and ends at
    // the first line that is not a cell line.
    void SaveToFile(const String& FileName, bool Unicode = false);
    void LoadFromFile(const String& FileName);
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);

    // === delimited text (VodGrid_Csv.cpp) ===
    // Writers take the save range; readers never clear the grid, guess the
    // delimiter when Delimiter is character 0 (for that load only) and read
    // every field leniently. MaxRows <= 0: no limit.
    void SaveToCSV(const String& FileName, bool Unicode = false);
    void AppendToCSV(const String& FileName, bool Unicode = false);
    void LoadFromCSV(const String& FileName, Integer MaxRows = 0);
    void LoadFromCSV(const String& FileName, TEncoding* AEncoding, Integer MaxRows);
    void LoadFromCSVStream(TStream* AStream, Integer MaxRows = 0);
    void InsertFromCSV(const String& FileName, Integer MaxRows = 0);
    VEL_GRID_PROP(bool, OemConvert, false)
public:

    // === fixed-width and plain text (VodGrid_Fixed.cpp) ===
    // Positions are field widths for writing (missing ones are appended to
    // the caller's list) and 1-based field starts for reading (sorted in
    // place). MaxRows -1: no limit.
    void SaveToFixed(const String& FileName, TIntList* Positions);
    void LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim = true, Integer MaxRows = -1);
    void SaveToASCII(const String& FileName, bool Unicode = false);
    void AppendToASCII(const String& FileName, bool Unicode = false);

    // === clipboard copy and cut (VodGrid_Clipboard.cpp) ===
    // Copies put the text form first (which empties the clipboard), then
    // the top-left cell's rich text and the native cell block as the
    // navigation settings ask. The text form: tabs between cells, CR LF
    // after each row of a block of several rows, a multi-line cell quoted
    // with its inner quotes doubled and each line break as one LF.
    void CopySelectionToClipboard();
    void CopyToClipBoard();
    void CutSelectionToClipboard();
    void CutToClipboard();
    // The whole grid as "HTML Format" (one byte per character) and as text.
    void CopyToClipBoardAsHTML();
    // The text form of the selection; the clipboard is not touched.
    String SelectionAsText() { return GetSelectionAsText(); }
    String GetSelectionAsText();
    String RectToClipboardText(TGridRect Rect, bool DisjunctOnly);
    void CopyRectToClipboard(TGridRect Rect, bool DisjunctOnly);
    void CopyRectAsGridCells(TGridRect Rect);
    void CopyCellAsRichText(Integer ACol, Integer ARow);
    // Widens the selection to whole merged areas.
    virtual void ExpandSelectionToMerged();
    TClipOperation ClipLastOp() const { return FClipLastOp; }
    TPoint ClipTopLeft() const { return FClipTopLeft; }

    // === clipboard paste and the text parser (VodGrid_Paste.cpp) ===
    // The native format when allowed and offered, else rich text when
    // allowed, else text split at tabs and line breaks.
    void PasteSelectionFromClipboard();
    void PasteFromClipboard();
    // Parses Value into the grid at the selection's top-left: raw, without
    // events or undo, growing the grid as needed.
    void SetSelectionAsText(const String& Value);
    Integer PasteClipboardAt(Integer ACol, Integer ARow, Integer& Cols, Integer& Rows);
    // The text parser; answers the number of fields met.
    Integer PasteTextAt(Integer ACol, Integer ARow, const String& Text, Integer& Cols, Integer& Rows);
    Integer PasteTextAt(Integer ACol, Integer ARow, const String& Text)
    {
        Integer c = 0, r = 0;
        return PasteTextAt(ACol, ARow, Text, c, r);
    }
    // The widest line's field count and the non-empty lines less one.
    static void TextBlockSize(const String& Text, Integer& Cols, Integer& Rows);
    virtual void PasteRowModified(TPoint& SourceTopLeft, TGridRect& Target, TClipOperation LastOp);
    bool PasteAll() const { return FPasteAll; }
    TBeforeCellPasteEvent OnClipboardBeforePasteCell;
    TBeforeCellPasteWideEvent OnClipboardBeforePasteWideCell;
    TAfterCellPasteEvent OnClipboardAfterPasteCell;
    TAfterCellPasteWideEvent OnClipboardAfterPasteWideCell;

    // === drag and drop: drop source, drop target and their settings (VodGrid_DragDrop.cpp) ===
    // The registered drop target (the registration holds it), nil when none.
    TGridDropTarget* GridDropTarget() const { return FGridDropTarget; }
    bool OleDropTargetAssigned() const { return FOleDropTargetAssigned; }
    // The floating image of dragged cells (a form the grid owns while a
    // drag shows it), nil when none.
    TForm* MoveForm() const { return FMoveForm; }
    void SetMoveForm(TForm* Value) { FMoveForm = Value; }
    // The source selection of the drag in progress.
    TGridRect DropSelection() const { return FDropSelection; }
    void SetDropSelection(TGridRect Value) { FDropSelection = Value; }
    // The column dragged out of a column picker list (-1 when none).
    void SetOleDragColumn(Integer ACol, Integer AIndex, TCustomListBox* AList)
    {
        FOleDragCol = ACol;
        FOleDragIndex = AIndex;
        FOleDragList = AList;
    }
    Integer OleDragCol() const { return FOleDragCol; }
    // Registers or revokes the drop target for the grid's window.
    void UpdateOleDropTarget(bool Value);
    // A drop handler's failure, raised after the drag loop ended: handed to
    // the application's exception handling.
    void HandleDropError(std::exception_ptr E);
    TOleDragOverEvent OnOleDragOver;
    TOleDragDropEvent OnOleDrop;
    TOleDropURLEvent OnOleDropURL;
    TOleDropFileEvent OnOleDropFile;
    TOleDropColEvent OnOleDropCol;
    TOleDroppedEvent OnOleDropped;

    // === HTML export (VodGrid_Html.cpp) ===
    // The grid as an HTML table (an XHTML 1.0 Strict document with
    // HTMLSettings.XHTML): one style class per distinct cell look, merged
    // cells as spans, addresses as links, cell pictures as JPEG files in
    // Dir + HTMLSettings.ImageFolder (Dir uses "/" and ends with it).
    String SaveToHTMLString(const String& Dir);
    void SaveToHTML(const String& FileName, bool Show = false, bool Unicode = false);
    void AppendToHTML(const String& FileName, bool Show = false, bool Unicode = false);

    // === printing: layout and pagination (VodGrid_PrintLayout.cpp) ===
    // What one run of PrintPages does: draw the preview page, draw on the
    // printer or any canvas, or only count pages for a print or a preview.
    enum TPrintPass { prPreview, prPrint, prCountForPrint, prCountForPreview };
    // Lays FPrintRect out into column bands and pages on Canvas (in the
    // 0.1 mm mode, y up) and, in the drawing passes, draws the pages of
    // FPrintPageFrom..FPrintPageTo. Answers the number of pages laid out.
    Integer PrintPages(TCanvas* Canvas, TPrintPass Pass, Integer TotalPages, bool SelectionOnly);
    std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)> OnFitToPage;
    std::function<void(TObject* Sender, Integer ACol, Integer& Width)> OnPrintSetColumnWidth;
    std::function<void(TObject* Sender, Integer ARow, Integer& Height)> OnPrintSetRowHeight;
    std::function<void(TObject* Sender, TCanvas* Canvas, Integer PageNr, Integer PageXSize, Integer PageYSize)>
        OnPrintPage;
    std::function<void(TObject* Sender, Integer ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(TObject* Sender, TCanvas* Canvas, Integer LastRow, Integer LastRowOffset, Integer LastPage,
                       Integer PageXSize, Integer PageYSize)>
        OnPrintPageDone;
    std::function<void(TObject* Sender, Integer PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(TObject* Sender)> OnPrintDone;
    std::function<void(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow, TPoint& ASize, bool Printing)>
        OnCustomCellSize;
    // The print state of the last pass (see the state section).
    TGridRect PrintRectangle() const { return FPrintRect; }
    TRect PrintPageRect() const { return FPrintPageRect; }
    Integer PrintPageWidth() const { return FPrintPageWidth; }
    Integer PrintColStart() const { return FPrintColStart; }
    Integer PrintColEnd() const { return FPrintColEnd; }
    double FontScaleFactor() const { return Fontscalefactor; }
    const std::vector<Integer>& PrintColWidths() const { return MaxWidths; }
    const std::vector<Integer>& PrintColIndents() const { return Indents; }

    // === printing: entry points and printer set-up (VodGrid_PrintJob.cpp) ===
    void Print();
    void PrintSelection();
    void PrintRect(const TGridRect& GridRect);
    void PrintSelectedRows();
    void PrintSelectedCols();
    void PrintPreview(TCanvas* Canvas, const TRect& DisplayRect);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect);
    void PrintPreviewSelection(TCanvas* Canvas, const TRect& DisplayRect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& DisplayRect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& DisplayRect);
    // One page of the layout drawn into DrawRect (device units of Canvas).
    void PrintDraw(TCanvas* Canvas, const TRect& DrawRect);
    void PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& GridRect);
    // Font height in 0.1 mm for a point size, scaled by Fontscalefactor.
    Integer MapFontHeight(Integer PointSize);
    Integer MapFontSize(Integer Height);
    Integer MaxColTextLength(Integer ACol);
    Integer MaxLinesInRow(Integer ARow);
    bool FastPrint() const { return FFastPrint; }
    void SetFastPrint(bool v) { FFastPrint = v; }
    bool PrinterDriverFix() const { return FPrinterdriverfix; }
    void SetPrinterDriverFix(bool v) { FPrinterdriverfix = v; }
    bool IsPrintPreview() const { return FIsPrintPreview; }
    std::function<void(TObject* Sender, Integer NrOfPages, Integer& FromPage, Integer& ToPage)> OnPrintStart;

    // === printing: page header, footer and cells (VodGrid_PrintDraw.cpp) ===
    // Anchors a rotated text: the rectangle's Left and Top become the start
    // of the baseline.
    void PlaceRotatedCellText(TRect& Rect, TSize& Size, TVAlignment VAlign, TAlignment HAlign, const String& Text,
                              Integer Angle);

    // === cell save, load and export hooks (VodGrid_SaveLoad.cpp) ===
    // The text every saver writes for a cell: the formatted or the stored
    // text, merge and check-box rules, markup and rich text reduced as the
    // switches say, then OnSaveCell.
    virtual void SaveCell(Integer ACol, Integer ARow, String& Value);
    String SaveCell(Integer ACol, Integer ARow)
    {
        String v;
        SaveCell(ACol, ARow, v);
        return v;
    }
    // The cell's text as the base grid returns it.
    virtual void ExportCell(Integer ACol, Integer ARow, String& Value);
    // Progress hooks of exporters and importers; empty here.
    virtual void ExportNotification(TGridExportState AState, Integer ARow);
    virtual void ImportNotification(TGridImportState AState, Integer ARow);
    virtual void SelectionChanged(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    virtual void InsertRowFromKey(Integer ARow);
    virtual void DeleteRowFromKey(Integer ARow);
    // Raises for a cell that is not fixed.
    void ShowFixedInplaceEdit(Integer ACol, Integer ARow);
    void HideFixedInplaceEdit();
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool v) { FSaveWithRTF = v; }
    TCellSaveLoadEvent OnSaveCell;
    // (OnSelectionChanged is declared with the row and column selection flags.)
    std::function<void(TObject* Sender, Integer ARow)> OnAutoDeleteRow;

    // === XML and JSON (VodGrid_Xml.cpp) ===
    // The save range as a list element of record elements of cell elements
    // (FieldDescr entries by save-range index, else "FIELD" + index),
    // encoded as XMLEncoding declares. Names that are not XML names, texts
    // with characters XML cannot carry and an encoding the platform does
    // not know raise EVodGridError before the file is touched.
    void SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr, TStrings* FieldDescr,
                   bool ExportEmptyCells = false);
    // Attributes and leaf elements of each child of the document element
    // become cells. The whole document is read and mapped before the grid
    // changes; a file that does not parse leaves the grid as it was.
    void LoadFromXML(const String& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    // (VodGrid_Json.cpp) The save range as {"grid":[records]}: ASCII text,
    // every other character as a \u escape.
    void SaveToJSON(const String& FileName, const String& RecordDescr = String(), TStrings* FieldDescr = nullptr);

    // === spreadsheet exchange (VodGrid_Xls.cpp) ===
    // Workbooks through the spreadsheet application object
    // ("excel.application"). A workbook that cannot be opened, added or
    // saved raises EVodGridError with the server's message; whatever the
    // call opened is closed unsaved and an application it started is quit
    // on every path. Loading reads every value before the grid changes.
    TStringList* GetXLSSheets(const String& FileName);   // the caller owns the list
    void LoadFromXLS(const String& Filename);
    void LoadFromXLSSheet(const String& Filename, const String& SheetName);
    void SaveToXLS(const String& Filename, bool CreateNewSheet);
    void SaveToXLSSheet(const String& Filename, const String& SheetName);
private:
    void LoadXLS(const String& Filename, const String& SheetName, bool Named);
    void SaveXLS(const String& Filename, const String& SheetName, bool CreateNewSheet, bool Named);
public:

    // === document export and database import (VodGrid_DocDb.cpp) ===
    // The grid as a table in a word-processor document ("word.application";
    // "Word OLE server not found" without one), appended at a bookmark or
    // at the end; the rows of an SQL query on a database file through the
    // connection and record set objects, read whole before the grid
    // changes, with both objects closed on every path.
    void SaveToDOC(const String& Filename, bool CreateNewDocument);
    void AppendToDoc(const String& Filename, const String& Bookmark);
    void LoadFromMDBSQL(const String& Filename, const String& SQL);
    void LoadFromMDBTable(const String& Filename, const String& Table);
private:
    void ExportDOC(const String& Filename, bool CreateNewDocument, bool Append, const String& Bookmark);
public:

    // === column state (VodGrid_ColState.cpp) ===
    // "count#widths#order#visibility"; StringToColumnStates checks the whole
    // string before it changes anything (EConvertError or EVodGridError).
    String ColumnStatesToString();
    void StringToColumnStates(const String& Value);
    // "Col<i>" widths and "Pos<k>" order entries in the INI file or registry
    // key that ColumnSize names; nothing happens while its Key or Section is
    // empty or the grid is being designed.
    void SaveColSizes();
    void LoadColSizes();
    virtual void SaveColPositions();
    virtual void LoadColPositions();

    // === visual properties file (VodGrid_VisProps.cpp) ===
    // The grid's look as "key=value" lines (UTF-8). Loading reads and checks
    // every value before the first property changes, and ends with the look
    // glCustom (not applied).
    void SaveVisualProps(const String& FileName);
    void LoadVisualProps(const String& FileName);

    // === print settings file (VodGrid_PrintFile.cpp) ===
    // PrintSettings as one section of an INI file. Loading never writes;
    // saving writes the file once.
    void SavePrintSettings(const String& Key, const String& Section);
    void LoadPrintSettings(const String& Key, const String& Section);

    // === scaling, cell numbers and toolbar popup (VodGrid_Scale.cpp) ===
    // Form scaling keeps the column widths and scales row 0 and the fixed
    // and active-cell fonts; the density variant scales the sizes too.
    void ChangeScale(Integer M, Integer D) override;
    virtual void ChangeScale(Integer M, Integer D, bool isDpiChange);
    // The cell's number read leniently (ExtractNumberText); 0 for an empty
    // cell; EVodGridError naming the position and cell otherwise.
    double CellToReal(Integer ACol, Integer ARow);

    // === paint cycle (VodGrid_Paint.cpp) ===
    // Paints the client area: every visible cell through DrawCell, the frame
    // around the edited cell, the empty area's picture or gradient, the
    // design helper, then OnPainted.
    void Paint() override;
    // Hands the cell to the base grid's cell painting (and so to
    // DrawGridCell); ACol is a display column.
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    void PaintEmptyAreaBackground();
    void PaintBackgroundPictureFixed(const TRect& R);
    void PaintBackgroundPictureTiled(const TRect& R);
    // A dotted XOR line; a second call with the same position removes it.
    void DrawColSizeLine(Integer X);
    void DrawRowSizeLine(Integer Y);
    // Pixels may move on scrolling unless the background depends on where a
    // cell is in the control (picture or gradient behind the cells).
    bool CanScrollPixels() override;
    TNotifyEvent OnPainted;

    // === cell visual properties and alignment (VodGrid_CellProps.cpp) ===
    // The brush, gradient colours, font, alignment, word wrap and gradient
    // direction of a cell on screen (Select: the selection colours apply) or
    // on paper (Print). With Remap ACol is a display column.
    void GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print, bool Select,
                             bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                             TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // The alignment of a cell (real column): defaults, numbers right-aligned
    // under AutoNumAlign, the block's alignment, then GetCellAlignment.
    void CellAlignment(Integer ACol, Integer ARow, TAlignment& HA, TVAlignment& VA);
    // Per channel round(p * Color1 + (1 - p) * Color2), p = Percent / 100;
    // clNone on either side gives the other colour.
    static TColor BlendColors(TColor Color1, TColor Color2, Integer Percent);
    static TColor MixSelectionColor(TColor Color1, TColor Color2, bool Mixer, Integer Percent);
    // The colour a selected cell takes over the brush it has.
    TColor SelectionBrushColor(TColor Brush) const;

    // Writers that repaint only on a change.
    void SetSelectionColor(TColor Value);
    void SetSelectionColorTo(TColor Value);
    void SetSelectionMirrorColor(TColor Value);
    void SetSelectionMirrorColorTo(TColor Value);
    void SetSelectionTextColor(TColor Value);
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value);
    // Clamped to 0..100.
    void SetSelectionColorMixerFactor(Integer Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    void SetSelectionResizer(bool Value);
    void SetShowSelection(bool Value);
    // Also keeps the vertical text flag; no repaint inside an update.
    void SetVAlignment(TVAlignment Value);
    Cardinal VAlignFlag() const { return FVAlignFlag; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    void SetAutoSize(bool Value);
    bool SizeWithForm() const { return FSizeWithFormOn; }
    void SetSizeWithForm(bool Value);
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool Value);
    void SetMaxEditLength(Integer Value);
    void SetSortSettings(TSortSettings* Value);
    void SetAutoColor(TAutoColor* Value);
    void SetDragScrollOptions(TDragScrollOptions* Value);
    void SetOfficeHint(TVodHintInfo* Value);
    void SetSyncGrid(TSyncGrid* Value);

    TGridGradientEvent OnGetCellGradient;

    // === drawing normal cells (VodGrid_DrawCell.cpp) ===
    // The working values of one DrawGridCell call: its steps, and the text
    // and graphic steps it runs, read and write them here.
    // The working values of one DrawGridCell call: its steps, and the text
    // and graphic steps it runs, read and write them here.
    struct TCellDrawFrame {
        TCanvas* Canvas = nullptr;
        Integer ACol = 0;      // display column
        Integer RCol = 0;      // real column
        Integer ARow = 0;
        Integer SelRow = 0;    // the row persistent row selection looks at
        TRect Rect{};          // the cell rectangle as the steps change it
        TGridDrawState State;
        TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
        TAlignment HA = taLeftJustify;
        TVAlignment VA = vtaTop;
        bool WW = false;
        TCellGradientDirection GD = GradientVertical;
        // From GetCellGraphicLayout.
        TCellGraphic* Graphic = nullptr;
        Integer GW = 0, GH = 0;
        TCellHAlign GraphicHAlign = haLeft;
        TCellVAlign GraphicVAlign = vaTop;
        bool ShowText = true;
        bool IsFixedCell = false;
        bool ShowFilterGlyph = false;
        bool StyleDrawn = false;
        bool Selected = false;     // the selected look of DrawCellContent
        Integer TextWidth = 0;     // drawn text width + 2 (0: no text)
        TColor LinkColor = clNone;
        TColor SavedBrush = clNone, SavedFont = clNone;
        TRect TextRect{};          // the text rectangle of DrawCellContent
        String Text;               // the display text of the cell
        bool ContentClip = false;  // a clip region is selected for the cell scroll bar
        Integer ScrollPos = 0;     // the cell scroll bar's position
        // Set by PrepareCellText: the kind of the text (0 plain, 1 markup,
        // 2 rich text, 3 formula, 4 URL, 5 packed wide text) and the marked
        // range (start, length; 0 for none).
        Byte Kind = 0;
        Integer MarkerPos = 0, MarkerLen = 0;
        // Set by DrawCellText: the room a left-aligned graphic keeps beside
        // the sort glyph.
        Integer GraphicOffset = 0;
    };
    void DrawGridCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override;
    // The content: selection colours, background picture or gradient slice,
    // selection rectangle, text.
    void DrawCellContent(TCellDrawFrame& F);
    void DrawCellPictureFixed(TCanvas* ACanvas, const TRect& R);
    void DrawCellPictureTiled(TCanvas* ACanvas, const TRect& R, Integer RCol, Integer ARow);
    void DrawCellGradientSlice(TCanvas* ACanvas, TRect R);
    void DrawCellBorders(TCellDrawFrame& F);
    void DrawTreeLines(TCellDrawFrame& F);
    void DrawAlwaysVisibleButtons(TCellDrawFrame& F);
    // The frame of the cell being painted (nil outside DrawGridCell).
    TCellDrawFrame* CellDrawFrame() const { return FCellDrawFrame; }
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value);
    // A cell with a graphic shows the graphic only.
    VEL_GRID_PROP(bool, NoImageAndText, false)
public:
    TCustomCellDrawEvent OnCustomCellDraw, OnCustomCellBkgDraw;
    TGridBorderPropEvent OnGetCellBorderProp;

    // === drawing fixed cells (VodGrid_DrawFixed.cpp) ===
    // The looks of fixed cells; each works on the frame of DrawGridCell.
    void DrawFixedCellLook(TCellDrawFrame& F);
    void DrawRowIndicator(TCellDrawFrame& F);
    void DrawListViewHeader(TCellDrawFrame& F);
    void DrawModifiedMarker(TCellDrawFrame& F);
    void DrawFixedCellEdges(TCellDrawFrame& F);
    // The filter glyph at the right of the text rectangle; the text area
    // narrows by 16 (plain) or 18 (markup) pixels.
    void DrawFilterGlyph(TCellDrawFrame& F);
    // The sort glyph (and index number) centred on (X, Y); ACol is a real
    // column.
    void DrawSortIndicator(TCanvas* ACanvas, Integer ACol, Integer Y, Integer X);
    // Whether the cell (real column) shows a sort glyph.
    bool ShowsSortGlyph(Integer RCol, Integer ARow);
    // The hot and pressed state kept by the mouse handling.
    TPoint HoverFixedCell() const { return FHoverFixedCell; }
    void SetHoverFixedCell(TPoint Value) { FHoverFixedCell = Value; }
    bool FixedDropDownPressed() const { return FFixedDropDownPressed; }
    void SetFixedDropDownPressed(bool Value) { FFixedDropDownPressed = Value; }
    // The column being moved with the mouse (-1 for none).
    Integer MovingColumn() const { return FMovingColumn; }
    void SetMovingColumn(Integer Value) { FMovingColumn = Value; }

    // === cell text and measuring (VodGrid_CellText.cpp) ===
    // TCellDrawFrame (declared with the drawing of normal cells) carries the
    // text kind, marker and graphic offset these steps set.
    // The measuring font of a cell into AFont (ABrush takes the cell
    // colour hook's brush).
    void GetFontProperties(Integer ACol, Integer RCol, bool Remap, TBrush* ABrush, TFont* AFont,
                           TGridDrawState& AState, Integer ARow);
    // The size the text of a cell needs: ACol is the display column (the
    // rectangle and editor), RCol the real column (text, font and rich
    // text). ButtonRoom leaves 17 pixels per button.
    void MeasureCellText(Integer ACol, Integer RCol, TPoint& Size, bool ButtonRoom, bool Wrapped, bool Unlimited,
                         Integer ARow);
    // MeasureCellText of a display column, mapped once to its real column.
    void GetCellTextSize(Integer ACol, Integer ARow, TPoint& Size, bool ButtonRoom, bool Wrapped);
    // Draws a rich text cell of real column RCol into R.
    void DrawRichTextCell(Integer RCol, Integer ARow, TRect R, TCanvas* ACanvas);
    // The text steps of the cell content: PrepareCellText fetches and
    // prepares F.Text (search highlight, formulas, marker, password);
    // DrawCellText draws it in F.TextRect (already moved for fixed cells and
    // the cell scroll bar) and sets TextWidth.
    void PrepareCellText(TCellDrawFrame& F);
    void DrawCellText(TCellDrawFrame& F);
    // The grid's hidden rich edit, made on first use (nil while the grid has
    // no window to hold it).
    TCustomRichEdit* CellRichEdit();
    // The vertical text flag of the last text drawn (0, DT_VCENTER or
    // DT_BOTTOM).
    Cardinal VerticalTextFlag() const { return FVAlign; }
    // Links in cells underline only while the mouse is over them.
    VEL_GRID_PROP(bool, URLUnderlineOnHover, false)
public:

    // === drawing cell graphics (VodGrid_DrawGraphics.cpp) ===
    // The graphic of a cell and the room it takes beside the text; nil and
    // zeros without a graphic.
    TCellGraphic* GetCellGraphicLayout(Integer RCol, Integer ARow, Integer& GW, Integer& GH, bool& ShowText,
                                       TCellHAlign& HAlign, TCellVAlign& VAlign);
    // Paints the graphic G in the working rectangle R (the cell rectangle
    // with its top one lower in fixed cells); VA is the text's vertical
    // alignment.
    void DrawCellGraphic(TCellDrawFrame& F, TRect R, TCellGraphic* G, TVAlignment VA);
    // A check box glyph in R in the given control style.
    void DrawCheckGlyph(TCanvas* ACanvas, TRect R, bool Checked, TCheckBoxState State, bool TriStateMode,
                        TControlLook::TControlStyle Style, bool Grayed, bool Enabled);
    // A group of Count radio buttons, side by side (Horizontal) or one below
    // the other (upward when Upward); Index is the selected item (-1: the
    // item whose text is the cell's text).
    void DrawRadioGroup(TCanvas* ACanvas, TRect R, bool Upward, double Scale, TControlLook::TControlStyle Style,
                        Integer ARow, Integer ACol, bool Selected, TStrings* Items, bool Disabled,
                        bool Horizontal, Integer Index, Integer Count);
    // The node button of a ctNode cell.
    void DrawNodeButton(TCanvas* ACanvas, TRect R, Integer ACol, Integer ARow, TGridDrawState AState,
                        TCellGraphic* G);
    static Integer ClampPercent(double Value);

    // === cell queries, graphic measuring and notification hooks (VodGrid_CellQueries.cpp) ===
    bool GetCellEmpty(Integer ACol, Integer ARow);
    TIntList* GetCellImages(Integer ACol, Integer ARow);
    Integer GetCellImageIdx(Integer ACol, Integer ARow);
    TCustomImageList* GetCellImageList(Integer ACol, Integer ARow);
    TPoint GetCellGraphicSize(Integer ACol, Integer ARow);
    TPoint CalcCellGraphicSize(Integer ACol, Integer ARow, Integer Margin);
    // The size of a cell's graphic as laid out on the screen (Scale divides
    // text-based widths).
    TPoint MeasureCellGraphic(TCanvas* ACanvas, Integer ACol, Integer ARow, double Scale, Integer Margin);
    // The size of a cell's graphic on paper, within AW x AH.
    TPoint MeasurePrintCellGraphic(TCanvas* ACanvas, Integer ACol, Integer ARow, Integer AW, Integer AH);
    bool IsMaskedTextCell(Integer ACol, Integer ARow);
    bool IsSortIndicatorCell(Integer ACol, Integer ARow);
    void GetDisplText(Integer ACol, Integer ARow, String& Value) override;
    void RepaintActiveHeaders(Integer C1, Integer R1, Integer R2, Integer C2);
    void InitOrigColSizes();
    void OleColumnDragStart(Integer ACol, Integer AIndex, TObject* AList);
    // A new stay-on-top picture form of the cells of ARect (the caller owns
    // it).
    TForm* SelectionToForm(TGridRect ARect);
    static Integer GetVersionNr();
    static String GetVersionString();
    TNotifyEvent OnStartBlockFocus, OnEndBlockFocus;

    // === zoom, panning, wheel and window procedure (VodGrid_Wheel.cpp) ===
    // The first stop of every message of the grid's window: edit messages,
    // editor notifications, middle-button panning, the wheel and zoom.
    void WndProc(TMessage& Message) override;
    // Adds Step pixels to every column and row that stays visible; the
    // accumulated factor stays within -20..20 (a step leaving it is ignored).
    void Zoom(Integer Step);
    // Hook asked after each wheel move (Allow starts True).
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Runs SelectCell for the current cell.
    void Select();
    // A left click 2 pixels inside the cell's top-left corner through the
    // grid's own mouse handlers, with OnMouseDown/OnMouseUp kept silent.
    void SimulateCellClick(Integer ACol, Integer ARow);
    TPoint WheelPanPos() const { return FWheelPanPos; }
    // The program cursor the last panning tick showed (8000 to 8008).
    Word PanCursorId() const { return FPanCursorId; }

    // === advance, key press, key release and scrolling (VodGrid_Keys.cpp) ===
    // Moves on from (ACol, ARow) in Navigation.AdvanceDirection after an
    // edit ended; Repeated continues a run that skips read-only cells.
    virtual void AdvanceToNextCell(Integer ACol, Integer ARow, bool Edit, bool Repeated, bool Forward, bool AutoEdit,
                                   bool Force);
    void KeyPress(wchar_t& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void TopLeftChanged() override;
    // The incremental search text typed so far.
    const String& IncrementalSearchText() const { return SearchInc; }
    // Start cell, var Allow, var new column, var new row.
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& Allow, Integer& NewCol, Integer& NewRow)>
        OnAutoAdvance;
    std::function<void(TObject* Sender, Integer ACol)> OnAutoInsertCol;

    // === keyboard commands of the grid (VodGrid_KeyCommands.cpp) ===
    void WMKeyDown(TMessage& M) override;
    void WMChar(TMessage& M) override;
    void WMKeyUp(TMessage& M) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    // Appends a row on request of the keyboard (OnCanAddRow may refuse).
    void AutoAddRow();
    bool GridModified() const { return FGridModified; }
    void SetGridModified(bool v) { FGridModified = v; }
    std::function<void(TObject* Sender, bool& Allow)> OnClipboardCopy, OnClipboardCut, OnClipboardPaste;
    std::function<void(TObject* Sender, TGridRect CellRect)> OnClipboardCopyDone, OnClipboardCutDone;
    std::function<void(TObject* Sender, Integer ARow, bool& CanDelete)> OnCanDeleteRow;
    std::function<void(TObject* Sender, Integer ARow)> OnAutoInsertRow, OnAutoAddRow;

    // === cell-to-cell moves over merged, hidden and fixed cells (VodGrid_Moves.cpp) ===
    // Columns are display columns. A -1 result means none.
    bool IsNavigableCell(Integer ACol, Integer ARow);
    Integer FirstNavigableCol();
    Integer VisibleFixedRightCols() const;
    Integer FirstCellInRow(Integer ARow);
    Integer LastCellInRow(Integer ARow);
    // Home and End targets; they may move the current cell first.
    Integer FirstVisibleRow();
    Integer FirstVisibleCol();
    Integer LastVisibleRow();
    Integer LastVisibleCol();
    // The target of one step towards ACol (ARow) over hidden and merged
    // cells; the asked index when nothing visible lies that way.
    Integer NextVisibleCol(Integer ACol);
    Integer NextVisibleRow(Integer ARow);
    // The next navigable cell in AdvanceDirection order, (-1, -1) for none.
    TPoint NextAdvanceCell(Integer ACol, Integer ARow);
    // One Tab (Shift+Tab) move; False when the Tab went to the parent.
    bool HandleTabKey(bool Shift);
    bool IsOnLastDataRow();
    // Set while a move changes row and column together.
    bool ForceSel() const { return FForceSel; }
    // Data-aware descendants: wrap-around moves set Row and Col.
    bool IsDBVersion() const { return FIsDBVersion; }
    void SetIsDBVersion(bool v) { FIsDBVersion = v; }

    // === find and replace, search footer actions, validation and style colours (VodGrid_Find.cpp, VodGrid_SearchFooter.cpp, VodGrid_Validate.cpp) ===
    // Finds the first cell after StartCell ((-1, -1): the first of the
    // walk) whose text matches S under FindParams; (-1, -1) for none.
    TPoint Find(TPoint StartCell, const String& S, TFindParams FindParams);
    // The same over the cells' wide texts, without the update bracket and
    // without the selection and scroll adjustment.
    TPoint FindWide(TPoint StartCell, const String& S, TFindParams FindParams);
    TPoint FindFirst(const String& S, TFindParams FindParams);
    // Continues after SearchCell with the last text and options; no wrap.
    TPoint FindNext();
    // Replaces OrigStr by NewStr in every matching cell; the number of cells
    // changed.
    Integer Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams);
    // The first row whose text in the search column starts with S (which
    // the caller upper-cases); -1 for none.
    Integer Search(const String& S);
    // The first data row meeting one filter condition per column; -1 for
    // none. Arrays of different lengths raise.
    Integer FindMulti(const std::vector<String>& Conditions, const std::vector<Integer>& Columns,
                      const std::vector<TSearchType>& SearchTypes, const std::vector<bool>& CaseSensitive,
                      bool AutoGoto);
    Integer FindMultiNext();
    bool FindBusy() const { return FFindBusy; }
    TPoint SearchCell() const { return FSearchCell; }
    void SetSearchCell(TPoint Value) { FSearchCell = Value; }
    Integer FindCol() const { return FFindCol; }
    void SetFindCol(Integer Value) { FFindCol = Value; }
    Integer FindRow() const { return FFindRow; }
    void SetFindRow(Integer Value) { FFindRow = Value; }
    TFindParams FindParams() const { return FFindParams; }
    // The last search texts, upper-cased unless fnMatchCase.
    String SearchCache, SearchCacheWide;
    // The grid's Modified flag: set when a validated value changed a cell.
    bool Modified() const { return FGridModified; }
    void SetModified(bool Value) { FGridModified = Value; }
    // Validation also of values equal to the cell's text.
    bool AlwaysValidate() const { return FAlwaysValidate; }
    void SetAlwaysValidate(bool Value) { FAlwaysValidate = Value; }
    // The attached validator (not owned; nil for none).
    IQelCellValidate* CellValidator() const { return FCellValidator; }
    void SetCellValidator(IQelCellValidate* Value) { FCellValidator = Value; }
    // The style elements a platform visual style may colour.
    TStyleElements StyleElements() const { return FStyleElements; }
    void SetStyleElements(TStyleElements Value) { FStyleElements = Value; }
    // Remembers the cell and its text before an edit; Click stores the
    // current cell after the platform's click.
    void Click() override;
    // The fixed-cell editors' changes (the transparent edit and combo).
    void FixedEditChange(TObject* Sender);
    void FixedComboChange(TObject* Sender);
    std::function<void(TObject* Sender, const String& Value, bool& DoSearch)> OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;

    // === looks, styles and colour tones (VodGrid_Styles.cpp) ===
    // The style interfaces: SetComponentStyle is SetComponentStyleAndAppColor
    // without an application colour; it remembers the style, applies it,
    // passes it to the drop-down editors that exist and leaves the thin
    // scroll bars of the colour tones for every style but tsCustom.
    void SetComponentStyle(TQelStyle AStyle) override;
    void SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor) override;
    // Applies a style's colours to the grid alone.
    virtual void SetStyle(TQelStyle AStyle);
    virtual void SetStyleAndAppColor(TQelStyle AStyle, TColor AppColor);
    // A flat scheme: classic flat look, thin scroll bars, glyph check boxes.
    void SetColorTones(TColorTones ATones) override;
    // The tones set last (all clNone before the first).
    const TColorTones& ColorTones() const { return FTones; }
    void SetTheme(TXPColorScheme Scheme);
    // Passes a style to the drop-down inplace editors the grid owns.
    void SetDropDownEditorsStyle(TQelStyle AStyle);
    // The Office theme the grid adapted to last.
    TOfficeTheme LastOfficeTheme() const { return FLastOfficeTheme; }

    // === border, balloon text and quick configuration (VodGrid_Border.cpp) ===
    // The one-pixel border in BorderColor over the window frame of the
    // modern looks.
    virtual void DrawNCBorder();
    // The quick configuration panel (design time with ShowDesignHelper):
    // its choice under a client point, -1 for none, else 1 "Allow edit",
    // 2 "Column numbers", 3 the look, 4 close.
    Integer DesignHitTest(Integer X, Integer Y);
    bool ShowColNrs() const { return FDesignColNumbers; }
    void SetShowColNrs(bool Value);
    Integer DesignHelperChoice() const { return FDesignHelperChoice; }
    // The balloon texts handed to the tooltip last.
    const String& ToolTipText() const { return FToolTipText; }
    const String& ToolTipTitle() const { return FToolTipTitle; }
    TPoint LastBalloonCell() const { return FLastBalloonCell; }
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime ADateTime)> OnDateTimeChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& ATitle, String& AText, Integer& AIcon)>
        OnCellBalloon;

    // === companion windows: focus frame, hints, floating footer, search panel, scroll controls (VodGrid_Companions.cpp) ===
    // The soft frame around the edited cell (FocusHelper): the focus window
    // sized and masked for the cell rectangle R (client coordinates) and
    // shown around it, 4 pixels out, without taking the activation; from
    // then on this grid's frame follows moves of its form.
    void ShowFocusWindow(TRect R);
    // Hides the frame; no grid's frame follows the form any more.
    void HideFocusWindow();
    // Makes a window layered and gives it the mask's pixels and opacity
    // (nothing for an empty mask).
    static void ApplyLayeredMask(HWND Wnd, TGridAlphaMask* Mask);
    // The floating footer's Visible and FooterStyle reach the grid here:
    // the panel, FixedFooters, the row a preview style adds, the hidden
    // last row.
    void FloatingFooterVisibleChanged();
    void FloatingFooterStyleChanged();
    // RowCount for callers that moved the rows themselves: the footer row is
    // left where they put it.
    void SetRowCountInPlace(Integer Value);
    // Repaints the thin scroll controls after the view moved.
    void UpdateScrollControls();
    // The footer panel paints a column's footer (fsFixedLastRow) or the
    // whole panel (fsCustomPaint) through this when assigned.
    std::function<void(TObject* Sender, Integer AColumn, TCanvas* Canvas, TRect ARect)> OnPaintFooter;
    // Fired when the footer panel's window has been made.
    TNotifyEvent OnCreatedFloatingFooter;

    // === left button down and the mouse-down override (VodGrid_MouseDown.cpp) ===
    // The platform's press handling, after the grid's own chain of hit tests
    // (WMLButtonDown): the header drop-down button, the filter edit row and
    // the header editors.
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // Picks the option of a radio group under an offset from the cell's
    // top-left corner; an offset on the boundary of two options picks none.
    virtual void ClickRadioGroup(Integer ACol, Integer ARow, Integer X, Integer Y);
    // The shift state of a click: one modifier, Alt, else Shift, else Ctrl.
    static TShiftState ClickShiftState();
    TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
    void SetFixedDropDownMenu(TPopupMenu* v) { FFixedDropDownMenu = v; }
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& Allow)> OnCanClickCell;
    std::function<void(TObject* Sender, Integer ARow, Integer ARowReal, bool& Allow)> OnBeforeExpandNode,
        OnBeforeContractNode;
    std::function<void(TObject* Sender, Integer ARow, Integer ARowReal)> OnExpandNode, OnContractNode;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AIdx)> OnRadioClick;
    TButtonClickEvent OnRadioButtonClick;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TPopupMenu*& AMenu, bool& KeepFixedCellHighlighted)>
        OnFixedDropDownClick;
    // Whether the point lies on the selection-resize grip: the corner of
    // the selection's bottom-right cell, round(6 x DPIScale) pixels each
    // way (the left corner in right-to-left mode), left of an always shown
    // drop-down button.
    bool OnSelectionResizeGrip(Integer X, Integer Y);
protected:
    void WMLButtonDown(TMessage& M) override;
    // The grip's press: the selection copied, the platform's press run as
    // asked, the selection and current cell kept.
    void StartSelectionResize(TMessage& M, bool RunPlatform);
public:

    // === anchors and markup controls in cells (VodGrid_Anchors.cpp) ===
    // Opens the live editor of an EDIT, PASSWORD, MASK or COMBO control over
    // its rectangle; other types open nothing.
    void StartControlEdit(const String& Text, const String& CtrlType, Integer ARow, Integer ACol, Integer DisplCol,
                          TRect R, const String& CtrlValue, const String& CtrlID);
    // Closes the live editor and writes its value into the cell's markup,
    // also when it did not change.
    void ControlEditDone();
    void ControlComboSelect(TObject* Sender);
    bool ControlEditing() const { return FCtrlEditing; }
    // The anchor under the mouse at the last move (empty for none).
    const String& HoveredAnchor() const { return FAnchorHover; }
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& CtrlID, const String& CtrlType,
                       const String& CtrlVal)>
        OnControlClick, OnControlEditDone;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& CtrlID, const String& CtrlType,
                       const String& CtrlVal, TStringList* Values, bool& Edit, Integer& DropCount)>
        OnControlComboList;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, Integer ItemIndex, const String& CtrlID,
                       const String& CtrlValue)>
        OnControlComboSelect;

    // === button up: ends of drags, button releases, click sorting (VodGrid_MouseUp.cpp) ===
    // The platform's release handling: the filter operator menu, the filter
    // drop-down button, cancelled sizing and the disjunct cell selection.
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // Milliseconds the last click sort took.
    Integer SortTime() const { return FSortTime; }
    TButtonClickEvent OnFixedCellClick;
    std::function<void(TObject* Sender, TGridRect OrigSelection, TGridRect NewSelection)> OnSelectionResize,
        OnSelectionResized;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AIdx)> OnRadioMouseUp;
protected:
    void WMLButtonUp(TMessage& M) override;
    void WMRButtonUp(TMessage& M) override;
public:

    // === mouse move: hover, size zones, drag starts, size hints (VodGrid_MouseMove.cpp) ===
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    // Whether a fixed cell shows hover highlighting under HoverFixedCells.
    bool IsHoverFixedCell(Integer ACol, Integer ARow);
    // The primary button (the right one when the buttons are swapped) is
    // physically down.
    static bool IsPrimaryButtonDown();
    TColumnSizingEvent OnColumnSizing;
    TRowSizingEvent OnRowSizing;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Data, bool& Allow)> OnOleDrag;
    std::function<void(TObject* Sender, Integer ARow, Integer ACol)> OnOleDragStart;
    std::function<void(TObject* Sender, Integer OLEEffect)> OnOleDragStop;
protected:
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    // Runs the OLE drag of a press on a drop source (the cells or, from a
    // header, the column) until it is dropped or cancelled.
    void OleDragFromMouse(Integer X, Integer Y, Integer ACol, Integer ARow);
public:

    // === enhanced row and column moving (VodGrid_MoveRowCol.cpp) ===
    TColumnSizeEvent OnColumnMove, OnColumnMoving;
    TRowSizeEvent OnRowMove, OnRowMoving;
protected:
    // The grid's per-column and per-row data follows a move the platform
    // made: column order, widths, hidden rows, sort column and indexes, the
    // current column, a synchronised grid.
    void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
    void RowMoved(Integer FromIndex, Integer ToIndex) override;
public:

    // === right button, double click, fixed-cell editors, filter list and cell hints (VodGrid_RightClick.cpp) ===
    // Opens the transparent edit or combo over a fixed cell (the filter edit
    // row's edit with FilterEdit).
    void StartFixedCellEdit(Integer ACol, Integer ARow, bool FilterEdit);
    // Fills, sizes and shows the filter list of FilterCol under a header cell.
    void ShowFilterList(Integer ACol, Integer ARow);
    // The hint of the cell under HintInfo.CursorPos.
    void PrepareCellHint(String& HintStr, THintInfo& HintInfo);
    // Texts of the editors: the base cell of merged areas, markup tags
    // stripped unless EditWithTags.
    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;
    bool HasCellBorderEvent() override { return bool(OnGetCellBorder); }
    bool URLEdit() const { return FURLEdit; }
    void SetURLEdit(bool v) { FURLEdit = v; }
    bool HintShowSizing() const { return FHintShowSizing; }
    void SetHintShowSizing(bool v) { FHintShowSizing = v; }
    TClickCellEvent OnRightClickCell;
    TDblClickCellEvent OnDblClickCell;
protected:
    void WMRButtonDown(TMessage& M) override;
    void WMLButtonDblClk(TMessage& M) override;
public:

    // === balloon tooltips, search footer settings and client area (VodGrid_Balloon.cpp) ===
    // The balloon tooltip window: made once however often the balloons are
    // switched on, gone with BalloonDone or the grid's window.
    void BalloonInit();
    void BalloonDone();
    HWND ToolTipHandle() const { return FHToolTip; }
    // The client area ends above the visible search panel.
    TRect ClientRect() override;
    // Fired when the search panel's window has been made.
    TNotifyEvent OnCreatedSearchFooter;

    // === editing: editor choice, edit lifecycle and write-back, cell controls (VodGrid_Edit.cpp, VodGrid_EditLife.cpp, VodGrid_CellControls.cpp, VodGrid_Validate.cpp) ===
    // Whether the platform's text editor may show for the current cell; a
    // cell of a special editor type gets its own control here (and False).
    bool CanEditShow() override;
    // Shows, places and fills the special editor of EditControl over the
    // display cell (ACol, ARow).
    virtual void ShowEditorControl(Integer ACol, Integer ARow);
    // Writes the shown special editor's value back into the cell and hides
    // the editor (nothing while the grid is being destroyed).
    virtual void HideEditorControl(Integer ACol, Integer ARow);
    // Decides navigation and editing together (floating footer, merged,
    // node and disabled cells, editability, validation, changing events).
    bool SelectCell(Integer ACol, Integer ARow) override;
    // F2 on the grid (goEditing added first with RangeSelectAndEdit).
    void ShowCellEdit();
    void HideCellEdit();
    // The end of a special editor's edit: OnEditingDone, the focus frame,
    // HideInplaceEdit and the posted "GridEditDone".
    void EditingDone(Integer ACol, Integer ARow);
    // Ends an edit from an editor key and moves on by that key.
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    // The "GridEditDone" message: OnEditCellDone after the editor's own
    // processing.
    void EditDoneMessage(Integer ACol, Integer ARow);
    // Puts back the text the current cell had when editing started.
    void RestoreCellValue();
    // The changing events of a move to (ACol, ARow), column, row, cell.
    void CellChanging(Integer ACol, Integer ARow, bool& Allow);
    bool NeedsTabValidation();
    bool IsEditable(Integer ACol, Integer ARow);
    bool CellEditable(Integer ACol, Integer ARow);
    // Footer rows, right fixed columns, then the IsFixedCell hook.
    bool IsFixed(Integer ACol, Integer ARow) override;
    // The platform editor as the grid's own text editor (nil before the
    // first edit).
    TVodInplaceEdit* NormalEdit() const;
    // The rich text editor of edRichEdit cells, made on first use.
    TVodRichEdit* InplaceRichEdit();
    // The application's editor link for edCustom cells (not owned).
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* Value);
    // The editor type settled when the edit started, and whether an edit
    // opened by CanEditShow runs.
    TEditorType EditorControl() const { return EditControl; }
    bool InEditMode() const { return EditMode; }
    // The special editor control shown now (nil for none).
    TWinControl* EditorControlShown() const { return EditCtrl; }
    // Validation of an edited value before it is stored: OnCellValidate
    // decides (VodGrid_Validate.cpp).
    virtual bool ValidateCell(const String& NewValue);
    virtual bool ValidateCellWide(const String& NewValue);
    // Attached cell controls follow their cells; the cell scroll bar
    // follows the current cell (VodGrid_CellControls.cpp).
    void FocusNextCellControl(Integer ACol, Integer ARow, const String& ID);
    // The length limit of the text editor: MaxEditLength (least form; the
    // editor accessors complete it per cell).
    Integer GetEditLimit() override;
    friend class TVodInplaceEdit;
    friend class TVodRichEdit;
    friend class TEditLink;
    friend void CellControlEndKey(TWinControl* Control, wchar_t Key);

    std::function<void(TObject* Sender, Integer ACol, Integer ARow)> OnEditCellDone;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)> OnEditChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow)> OnGetEditorPropInt;
    std::function<void(TObject* Sender, Integer OldCol, Integer NewCol, bool& Allow)> OnColChanging;
    std::function<void(TObject* Sender, Integer OldRow, Integer OldCol, Integer NewRow, Integer NewCol, bool& Allow)>
        OnCellChanging;
    std::function<void(TObject* Sender, Integer ACol, Integer ItemIndex, const String& ASelection, Integer ARow)>
        OnComboChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ItemIndex, const String& ASelection, TObject* AObject,
                       Integer ARow)>
        OnComboObjectChange;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Valid)> OnCellValidateWide;

    // --- operations whose families are completed elsewhere (least bodies) ---
    virtual void CellControlsUpdate(bool Force);
    virtual void UpdateProportionalVScroll();
    virtual void UpdateProportionalHScroll();
    virtual void HideInplaceEdit();
    virtual void ShowInplaceEdit();
    virtual void StoreCellValue(Integer ACol, Integer ARow);
    virtual void BuildHint(THintInfo* HintInfo);
    virtual void HideHoverButtons();
    virtual void CreateBalloonWindow();
    virtual void RemoveBalloonWindow();
    virtual void ApplyColumnStretch(Integer StretchColumn, Integer NewWidth);

    // --- the base grid's table, completed by the string grid ---
    bool IsNode(Integer ARow) override;
    bool IsSummary(Integer ARow) override;
    bool CellHasCheckBox(Integer ACol, Integer ARow) override;
    void SetCheckBoxFromText(Integer ACol, Integer ARow, const String& Value) override;

    TGetCellCursorEvent OnGetCellCursor;
    TNotifyEvent OnGridResize;
    TDragScrollEvent OnDragScroll;
    THoverButtonsShowEvent OnHoverButtonsShow;
    THoverButtonClickEvent OnHoverButtonClick;

protected:
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void DoEnter() override;
    void DoExit() override;

    void HandlePaint(TMessage& M);
    void HandleSize(TMessage& M);
    void HandleTimer(TMessage& M);
    void HandleSetCursor(TMessage& M);
    void HandleSetFocus(TMessage& M);
    void HandleKillFocus(TMessage& M);
    void HandleDialogChar(TMessage& M);
    // Asks the program's cursor resource Id for the screen.
    void ShowProgramCursor(Word Id);

    // Update bracket, timer and focus state.
    Integer FUpdateCount = 0;
    Integer FGridTimerID = 0;
    Integer FTimerTicks = 0;
    String SearchInc;
    Integer SearchTics = 0;
    bool FGridBlink = false;
    Integer FPaintCount = 0;
    bool FInWMSize = false;
    bool FDisableSize = false;
    bool FBlockKill = false;
    bool FBlockFocus = false;
    bool InvokedFocusChange = false;
    bool Invokedchange = false;
    bool FSelChange = false;
    // State other families keep and these messages read.
    TMouseSelectMode FMouseSelectMode = msNormal;
    Word FCursorAsked = 0;
    bool FCtrlDown = false;
    TPoint FCtrlXY{-1, -1};
    bool FFixedColSizeOffer = false, FFixedRowSizeOffer = false, FNoMouseLeave = false;
    TPoint FHoverFixedCell{-1, -1};
    THoverFixedCells FHoverFixedCells = hfNone;
    std::unique_ptr<TControlList> FControlList;

    // === state: construction, lifecycle and unit start-up ===
    void WriteColumnHeaders();
    void WriteRowHeaders();
    bool FInitDone = false;
    bool FThemeRegistered = false;
    bool FNewlyPlaced = false;
    bool FGridLoaded = false;
    bool FEditChange = false;
    bool FIsWinXP = false, FIsWin7 = false, FIsComCtl6 = false, FIsVista = false;
    TColor FBorderColor = TColor(0x808080);
    TQelStyle FComponentStyle = TQelStyle(0);
    TColorTones FTones = EmptyColorTones();
    TOfficeTheme FLastOfficeTheme = otUnknown;
    Integer FFixedRowsMin = 0, FFixedColsMin = 0;
    Integer FMaxRowCount = 0, FMaxColCount = 0;
    Integer FMinRowHeight = 0, FMaxRowHeight = 0, FMinColWidth = 0, FMaxColWidth = 0;
    TCursor FSavedCursor = crDefault;
    double FDPIScale = 1.0;
    UINT FWheelMsg = 0;
    Integer FWheelScrollLines = 0;
    bool FWheelPan = false;
    TGridRect FDisSelection{-1, -1, -1, -1};
    Integer FGridWidthAtLoad = 0;
    std::vector<Integer> FColSizesAtLoad;
    // Sentinels: -1 for "none", (-1, -1) for "no point".
    Integer FHoverLink = -1, FLastTabCol = -1, FLastTabRow = -1, FOleDragCol = -1, FFilterCol = -1;
    Integer FComboIdx = -1, FMouseSelectStart = -1, FPrevRowSel = -1, FPrevSize = -1;
    Integer FClickCol = -1, FClickRow = -1, FDesignHelperChoice = -1;
    TPoint FMouseDownPoint{-1, -1}, FTouchScrollPoint{-1, -1}, FPushedCellButton{-1, -1};
    TPoint FClipTopLeft{-1, -1}, FLastHintPos{-1, -1};
    Byte FLastScrollCode = 255;
    Integer FZoomFactor = 0;
    Integer FCellControlCount = 0;
    TScrollStyle FGridScrollBars = ssBoth;
    Integer FPrevLeftCol = 0, FPrevTopRow = 0;
    bool FLastValidation = true, FAllowCellControls = true, FStretchDone = true, FDesignColNumbers = true;
    Integer FHoverButtonRow = -1;

    std::unique_ptr<TFont> FCellFont;
    TFooterPanel* FFooterPanel = nullptr;
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TStringList> FColumnHeaders, FRowHeaders, FSortList, FLookupItems, FFilterList;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TFont> FFixedFont, FActiveCellFont;
    std::unique_ptr<TList> FDisjunctRowList, FDisjunctColList;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortRowXRef, FUnSortRowXRef, FMergedColumns, FEnabledRows, FColSizes,
        FColumnOrder, FIgnoreColumns;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TVodHintInfo> FOfficeHint;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    TDropList* FDropList = nullptr;
    TDropCheckList* FDropCheckList = nullptr;
    std::unique_ptr<TFilterEdit> FFilterEdit;
    std::unique_ptr<TImageList> FFilterTypeImages;
    TPopupMenu* FFilterTypeMenu = nullptr;
    TScrollControl* FMetroScroll[2] = {nullptr, nullptr};
    THTMLHintWindow* FScrollHintWnd = nullptr;
    // Made only outside design mode.
    TGridFocusWindow* FFocusWindow = nullptr;
    TArrowWindow* FArrows[4] = {nullptr, nullptr, nullptr, nullptr};
    TGridCombo* FComboBox = nullptr;
    TGridTransEdit* FFixedEdit = nullptr;
    TGridTransCombo* FFixedComboBox = nullptr;
    TGridCheckBox* FCheckBoxEditor = nullptr;
    TGridEditBtn* FBtnEdit = nullptr;
    TGridUnitEditBtn* FBtnUnitEdit = nullptr;
    TGridButton* FBtn = nullptr;
    THeaderDragButton* FHeaderDragButton = nullptr;
    TControlEdit* FCellEditControl = nullptr;
    TControlCombo* FCellComboControl = nullptr;
    TScrollBar* FCellScrollBar = nullptr;
    TScrollBar* FCellPaintScrollBar = nullptr;
    TNoActiveForm* FButtonForm = nullptr;
    // The form's own OnResize, kept while the grid sizes with its form.
    TNotifyEvent FFormOnResize;
    TCustomForm* FSizeWithForm = nullptr;

    // === state: operations table and cell hooks ===
    bool FSuspendEdit = false;
    bool FBlockFilterUpdate = false;

    // === state: cell graphics ===
    // The one unattached graphic that shows the row check box of column 0.
    std::unique_ptr<TCellGraphic> FRowCheckGraphic;

    // === state: settings objects, look presets and image list ===
    std::unique_ptr<TCellNode> FCellNode = std::make_unique<TCellNode>(this);
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    std::unique_ptr<TColumnSize> FColumnSize = std::make_unique<TColumnSize>(this);
    std::unique_ptr<THTMLSettings> FHTMLSettings = std::make_unique<THTMLSettings>();
    std::unique_ptr<TPrintSettings> FPrintSettings = std::make_unique<TPrintSettings>(this);
    TGridLook FLook = glXP;
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;
    TCustomImageList* FGridImages = nullptr;

    // === state: hidden rows and columns, index mapping ===
    // Moves the display rows' contents into new items appended (or inserted
    // at Position) to the store, each with its level and height.
    TGridItem* TakeRowIntoItem(Integer DisplayRow, Integer RealIdx, Integer Position, bool WithHeight);
    void PutItemIntoRow(TGridItem* Item, Integer DisplayRow, bool WithHeight);
    void BuildHiddenRowLookup() const;
    bool VisibleColFlag(Integer c) const { return c < 0 || size_t(c) >= FVisibleCol.size() || FVisibleCol[size_t(c)]; }
    void EnsureColumnArrays();
    // Sorted Idx of every item (repeats kept) and the same without repeats;
    // declared before the store, whose items drop it while they are freed.
    mutable std::vector<Integer> FHiddenRowLookup, FHiddenRowDistinct;
    // The items by Idx (in store order where numbers repeat).
    mutable std::vector<std::pair<Integer, TGridItem*>> FHiddenRowItems;
    mutable bool FHiddenRowLookupValid = false;
    void EnsureHiddenRowLookup() const
    {
        if (!FHiddenRowLookupValid || FHiddenRowLookup.size() != size_t(NumHiddenRows())) BuildHiddenRowLookup();
    }
    // The store tells the grid of every item added, freed or renumbered.
    static std::unique_ptr<TCollection> NewGridItems(TVodStringGrid* Grid);
    std::unique_ptr<TCollection> FGridItems = NewGridItems(this);
    Integer FFilterLevel = 0;
    // Per real column: visible, and the width it had when hidden.
    std::vector<bool> FVisibleCol;
    std::vector<Integer> FAllColWidths;
    Integer FNumHidden = 0;
    std::unique_ptr<TIntList> FSuppressColSizes = std::make_unique<TIntList>(0, 0);
    std::unique_ptr<TIntList> FSuppressRowSizes = std::make_unique<TIntList>(0, 0);

    // === state: inserting, removing and moving rows ===
    // The quick removal of RemoveRowsEx; Renumber renumbers the hidden-row
    // items below the rows.
    void RemoveRowsCore(Integer RowIndex, Integer RCount, bool Renumber);
    // Frees the property blocks (with their graphics) that the rows hold in
    // any column and empties the rows.
    void DiscardRows(Integer RowIndex, Integer RCount);
    void DiscardRowList(const std::vector<Integer>& Rows);
    // Whether the floating footer holds the last row, and the fixed footer
    // rows, as the row operations see them.
    bool FooterRowShown() const;
    Integer FooterRows() const;
    void MoveControlRows(Integer FromRow, Integer Delta);
    std::unique_ptr<TIntList> FModifiedRows = std::make_unique<TIntList>(0, 0);
    std::unique_ptr<TList> FRowSelect = std::make_unique<TList>();
    bool FUseEnabledRows = false;

    // === state: inserting, removing and moving columns, column order ===
    std::unique_ptr<TList> FColSelect = std::make_unique<TList>();

    // === state: clearing, trimming, colouring ranges, used cells, save range ===
    bool FNilObjects = false;
    bool FBlockCellChange = false;

    // === state: dimensions, fixed and footer rows, simple properties ===
    bool Loading() const;
    // Moves the footer row's texts and blocks to its new place.
    void MoveFooterRow(Integer From, Integer To);
    bool FWordWrapEx = true;
    Integer FOldRowSel = -1;
    Integer FAECol = -1, FAERow = -1;
    bool FSyncing = false;
    TColor FArrowColor = clNone;
    bool FUseVCLStyles = false;
    TPictureContainer* FPictureContainer = nullptr;
    bool FAutoNumAlign = false;

    // === state: cell selection, listeners, change notification, combo list ===
    TStrings* ComboItems() const;
    void HandleGetDlgCode(TMessage& M);
    bool FForceComboSel = false;
    // The disjunct row selection in selection order.
    std::unique_ptr<TIntList> FSelectedRows = std::make_unique<TIntList>(0, 0);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Sets the selection as it stands, also outside the grid.
    void SetSelectionRaw(const TGridRect& R);
    // The disjunct cell selection as (column, row) pairs in the order added.
    std::vector<TGridCoord> FSelectedCells;
    TGridRect FOldSelection{-1, -1, -1, -1};
    bool FSelHidden = false;
    TComPtr<ITVodStringGridSelect> FISelect;
    std::vector<TGridChangeNotifier*> FNotifierList;

    // === state: cell accessors and rich text ===
    Integer FNumCellControls = 0;
    bool FUseHTMLHints = false;
    TCursor FOldCursor = crDefault;
    TVodStringGridCheck* FCellChecker = nullptr;
    TFormatType FFormatType = ftVCL;
    // Repaints the display cell of a look write (Always, or unless updates
    // are held).
    void RepaintLook(Integer c, Integer r, bool Always);
    // A look write: creates the cell's block, lets Write change it, then
    // repaints as RepaintLook does. Nothing happens for a cell outside the store.
    template <class F>
    void WriteLook(Integer c, Integer r, bool Always, F&& Write)
    {
        TCellProperties* p = GetCellProperties(c, r);
        if (!p) return;
        Write(*p);
        RepaintLook(c, r, Always);
    }
    void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& SizingPos,
                         Integer& SizingOfs) override;

    TColor FQelGradFrom = clNone, FQelGradTo = clNone, FQelGradMirrorFrom = clNone, FQelGradMirrorTo = clNone;
    TColor FQelGradHoverFrom = clNone, FQelGradHoverTo = clNone, FQelGradHoverMirrorFrom = clNone,
           FQelGradHoverMirrorTo = clNone, FQelGradHoverBorder = clNone;
    TColor FQelGradDownFrom = clNone, FQelGradDownTo = clNone, FQelGradDownMirrorFrom = clNone,
           FQelGradDownMirrorTo = clNone, FQelGradDownBorder = clNone;

    // === state: check boxes and radio buttons in cells ===
    // A check box cell as the state operations find it: in the grid (Row a
    // display row) or in a hidden row's item (Hidden, Real the real row).
    struct TCheckCell {
        TCellGraphic* G = nullptr;
        TCellType Kind = ctEmpty;
        Integer Col = -1, Row = -1, Real = -1;
        bool Hidden = false;
    };
    TCheckCell FindCheckCell(Integer ACol, Integer ARow);
    String CheckCellText(const TCheckCell& C);
    void SetCheckCellText(const TCheckCell& C, const String& Value);
    void RepaintCheckCell(const TCheckCell& C);
    void AddCheckGraphic(Integer ACol, Integer ARow, TCellType Kind, bool State, Integer Angle);
    TCellType BaseCellType(Integer ACol, Integer ARow);

    // === state: outline nodes ===
    Integer FNumNodes = 0;
    // The node graphic of a display row, nil for other rows.
    TCellGraphic* NodeGraphicAt(Integer ARow) const;
    // The span of a node row in store rows, a span of 0 resolved to the next
    // node row (or the end of the grid).
    Integer NodeSpanRows(Integer ARow);
    // The display row of the next node row below ARow, or RowCount.
    Integer NextNodeRow(Integer ARow) const;
    // Sets or clears the collapse flag of every block of a display row.
    void SetRowMergeCollapse(Integer ARow, bool Value);
    void ExpandNodeInternal(Integer ARow);
    void ApplyOwnBounds();

    // === state: balloons, radio groups and expand buttons ===

    // === state: grouping and group summaries ===
    bool FooterLastRowShown() const;
    void RebuildGroupRows(Integer Colindex, Integer e);
    // Empty rows come in at the ascending final indices, in one pass.
    void InsertRowList(const std::vector<Integer>& Rows);
    void MergeGroupRowsAfterGrouping(Integer e);
    void ColorGroupRow(Integer ARow, TColor Color, TColor ColorTo, TColor TextColor);
    void ColorGroupCell(Integer ACol, Integer ARow, TColor Color, TColor ColorTo, TColor TextColor);
    void ColorSummaryRow(Integer ARow);
    void MergeOrColorSubHeader(Integer ARow, Integer FromCol);
    void CloseSubHeader(Integer P, Integer R, Integer Colindex);
    static Integer SubGroupColumnOf(TCellGraphic* Node);
    Integer FGroupWidth = 0;
    String FGroupCaption, FGroupFooter;
    bool FIsGrouping = false;
    // Node-column blocks made only to carry the level of a grouped row.
    std::unordered_set<const TCellProperties*> FGroupNodeBlocks;

    // === state: merging and splitting by content ===

    // === state: scroll bars and scrolling ===
    void HandleHScroll(TMessage& M);
    void HandleVScroll(TMessage& M);
    void ShowScrollHint(Integer Code, bool Vertical, Integer Pos);
    void FlatSetScrollProp(UINT Index, intptr_t Value);
    void FlatSetStyle();
    void FlatSetColor();
    void FlatSetWidth();
    void FreeDragTimer();
    void DragScrollTick(TObject* Sender);
    bool FIsFlat = false;
    bool FScrollHintShow = false;
    bool FScrollLock = false;
    TTimer* FDragTmr = nullptr;
    TDragScrollDirection FDragScrollDirection;
    TTimer* FScrollTimer = nullptr;

    // === state: column stretching and size changes ===
    void StretchColumnsCore(Integer Index, Integer Width, bool All);
    void HideScrollHintAtDesign();
    bool FIsColChanging = false;
    // Set while an ended user resize is finished: the widths and heights it
    // sets notify again and must not finish it twice.
    bool FInSizeEnd = false;

    // === state: row sorting and sort settings ===
    class TSortScope;
    friend class TSortScope;
    void QuickSortRows(Integer ACol, Integer Left, Integer Right);
    void QuickSortRowsIndexed(Integer Index, Integer Left, Integer Right);
    void QuickSortToOriginal(Integer Left, Integer Right);
    void SortGroups(bool Indexed);
    // Copies row ARow into the pivot scratch row (RowCount - 2).
    void CopyPivotRow(Integer ARow);
    // Empties the scratch rows without freeing the objects they share.
    void EmptyScratchRows(Integer FromRow, Integer ToRow);
    void EnsureSortXRef();
    void MoveRowSilently(Integer ARow);
    Integer FSortDir = 0;
    Integer FSortRow = -1;
    // The columns a sort sees: hidden columns included while it runs.
    Integer FSortColCount = 0;

    // === state: row filtering and the filter file ===
    // The text of a row for a whole-row condition.
    String FilterRowText(Integer ARow, String& Separator);
    bool FFilterActive = false;
    Integer FFilterFixedRows = 0;
    String FLastFilter;
    bool FIsNarrowDown = false;
    bool FNarrowDownFromStart = false;

    // === state: filter drop-down, filter edit row and header editors ===

    // === state: calculations and selection text ===

    // === state: typed values, fills, marking and range styles ===

    // === state: row and column selection flags, modified and enabled rows, navigation ===
    bool FRowSelMod = false;
    void RowFlagChanged(Integer ARow);

    // === state: auto sizing, numbering and swaps ===
    // The width the content of display column Index needs.
    Integer CalcAutoColumnWidth(Integer Index);
    Integer CalcAutoRowHeight(Integer ARow, Integer Padding);
    // Applies the cell's own colours and font to the canvas font.
    void ApplyCellFont(Integer ACol, Integer ARow, TFont* AFont);
    // The measured size of a cell's text (display and store column) and of
    // its graphic.
    TSize CellTextExtent(Integer DCol, Integer RCol, Integer ARow, bool Wrapped);
    TSize CellGraphicExtent(Integer RCol, Integer ARow, Integer Padding);

    // === state: binary cell stream ===
    Integer FStreamID = 0;
    Int64 FStreamCellLimit = Int64(1) << 26;

    // === state: native text format ===

    // === state: delimited text ===
    void SaveCSVLines(std::vector<String>& Lines);
    void WriteCSVFile(const String& FileName, bool Unicode, bool Append);
    void LoadCSVText(const String& Text, Integer MaxRows, bool Insert);

    // === state: fixed-width and plain text ===
    Integer LongestSavedLine(Integer SourceCol);
    TAlignment ExportAlignment(Integer ACol, Integer ARow);
    void WriteASCII(const String& FileName, bool Unicode, bool Append);

    // === state: clipboard copy and cut ===
    TClipOperation FClipLastOp = coCut;

    // === state: clipboard paste and the text parser ===
    bool FPasteAll = false;
    // The text parser's store of one field at (c, r), past the events.
    void PasteTextField(Integer c, Integer r, String F, bool& Written, Integer& MaxCol, Integer& MaxRow);

    // === state: drag and drop: drop source, drop target and their settings ===
    friend class TGridDropTarget;
    friend class TGridDropSource;
    TGridDropTarget* FGridDropTarget = nullptr;
    bool FOleDropTargetAssigned = false;
    // FMoveForm and FDropSelection are the mouse family's fields.
    Integer FOleDragIndex = -1;
    TCustomListBox* FOleDragList = nullptr;
    // A dropped workbook's load.
    void LoadDroppedWorkbook(const String& FileName);

    // === state: HTML export ===
    bool FHTMLHeaderWritten = false;
    String HTMLImageTag(TGraphic* Graphic, const String& Dir, Integer& ImageNo);
    String HTMLImageListTag(Integer Index, const String& Dir, Integer& ImageNo);
    void WriteHTML(const String& FileName, bool Show, bool Unicode, bool Append);

    // === state: printing: layout and pagination ===
    friend class TGridPrintPass;
    void PrintJob(const TGridRect& GridRect, bool SelectionOnly);
    void PreviewJob(TCanvas* Canvas, const TRect& DisplayRect, bool SelectionOnly, const TGridRect& GridRect);
    TGridRect FPrintRect{0, 0, 0, 0};
    TRect PrevRect{0, 0, 0, 0};
    double Fontscalefactor = 1.0;
    std::vector<Integer> MaxWidths, Indents;
    Integer FPrintPageWidth = 0;
    TRect FPrintPageRect{0, 0, 0, 0};
    Integer FPrintColStart = 0, FPrintColEnd = 0;
    bool FIsPrintPreview = false;
    bool FFastPrint = false;
    bool FPrinterdriverfix = false;

    // === state: printing: entry points and printer set-up ===

    // === state: printing: page header, footer and cells ===

    // === state: cell save, load and export hooks ===
    bool FSaveWithRTF = false;
    bool FSelectionChangedFlag = false;
    TGridRect FPrevSelection{-1, -1, -1, -1};

    // === state: XML and JSON ===

    // === state: spreadsheet exchange ===

    // === state: document export and database import ===

    // === state: column state ===

    // === state: visual properties file ===

    // === state: print settings file ===

    // === state: scaling, cell numbers and toolbar popup ===

    // === state: paint cycle ===
    bool FInSizeLine = false;

    // === state: cell visual properties and alignment ===
    bool FSelectionColorMixer = false;
    bool FSelectionRectangle = false;
    Cardinal FVAlignFlag = 0;
    bool FFlat = false;
    bool FSizeWithFormOn = false;
    bool FSpreadSheet = false;

    // === state: drawing normal cells ===
    TCellDrawFrame* FCellDrawFrame = nullptr;
    bool FHideFocusRect = false;

    // === state: drawing fixed cells ===
    bool FFixedDropDownPressed = false;
    Integer FMovingColumn = -1;

    // === state: cell text and measuring ===
    TCustomRichEdit* FCellRich = nullptr;
    Cardinal FVAlign = 0;

    // === state: drawing cell graphics ===

    // === state: cell queries, graphic measuring and notification hooks ===
    std::vector<Integer> FOrigColSizes;
    Integer FOrigGridWidth = 0;


    // === state: zoom, panning, wheel and window procedure ===
    void PanStart(TPoint P);
    void PanStop();
    void PanTick();
    void DrawPanIndicator();
    void ErasePanIndicator();
    // The wheel message's own handling; true when handled here.
    bool HandleWheelMessage(TMessage& M, const TGridRect& S0);
    bool WheelOverride(bool Down, TShiftState Shift, TPoint MousePos);
    // The last row a keyboard or wheel move may reach.
    Integer LastKeyDataRow();
    TPoint FWheelPanPos{-1, -1};
    HCURSOR FICursor = nullptr, FPanOldCursor = nullptr;
    Word FPanCursorId = 0;
    bool FInSimulatedClick = false;

    // === state: advance, key press, key release and scrolling ===
    TEditorType KeyEditorType(Integer ACol, Integer ARow);
    bool SpecialEditorShown();
    bool IncrementalSearch(const String& Text);
    bool FDisableChange = false;
    // The view's left column and top row after the last scroll.
    Integer FViewLeftCol = -1, FViewTopRow = -1;

    // === state: keyboard commands of the grid ===
    bool CellHasControlMarkup(Integer ACol, Integer ARow);
    void NotifyKeySelection();
    void ToBaseCell();
    bool HandleHomeEnd(Word Key, bool Shift, bool Ctrl);
    bool InsertRowByKey();
    bool DeleteRowByKey();
    void SelectAllByKey(bool& Stop);
    void ClipboardCopyKey();
    void ClipboardCutKey();
    void ClipboardPasteKey();
    TPoint FLastKeyCell{-1, -1};
    bool FGridModified = false;

    // === state: cell-to-cell moves over merged, hidden and fixed cells ===
    bool KeyFixedCell(Integer ACol, Integer ARow);
    void ApplyTabTarget(Integer ACol, Integer ARow);
    bool ChangingAllowed(Integer NewCol, Integer NewRow);
    void TabStep(bool Shift, bool& Left);
    bool FForceSel = false;
    bool FIsDBVersion = false;

    // === state: find and replace, search footer actions, validation and style colours ===
    // The one search engine under Find and FindWide.
    TPoint FindEngine(TPoint StartCell, const String& S, TFindParams FindParams, bool Wide);
    bool FindCellMatches(Integer ACol, Integer ARow, TFindParams FindParams, bool Wide);
    // The option set of a search from the panel (AutoSearch, find next or
    // previous).
    TFindParams SearchFooterParams(bool Auto, bool Backward);
    void SearchFooterFind(bool Backward, bool Retry);
    void SearchFooterRepaintColumn();
    void SearchFooterColorEdit(TColor Color);
    bool SearchFooterHighlighting();
    // Whether the cell (real column) shows the search highlight, and the
    // text with its matches wrapped in the highlight tag.
    bool SearchHighlightCell(Integer RCol, Integer ARow);
    String SearchHighlightText(const String& Text);
    bool MultiRowMatches(Integer ARow);
    bool ValidateCellRun(const String& NewValue);
    void ShowInvalidEntryBalloon();
    TFindParams FFindParams;
    bool FFindBusy = false;
    TPoint FSearchCell{-1, -1};
    Integer FFindCol = 0, FFindRow = 0;
    std::vector<String> FConditions;
    std::vector<Integer> FColumns;
    std::vector<bool> FCase;
    // The upper-cased cell text of the last test, kept to spare allocations.
    String FFindBuffer;
    bool FAlwaysValidate = false;
    // EditOnDblClickOnly as it was before a refusal switched it off, and
    // whether it waits to be restored.
    bool FValidateDblClick = false, FValidateDblClickSaved = false;
    IQelCellValidate* FCellValidator = nullptr;
    TStyleElements FStyleElements{seFont, seClient, seBorder};

    // === state: looks, styles and colour tones ===
    // The hot and pressed header colours of a style, through the control
    // look's setters.
    void SetHotHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border);
    void SetDownHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border);
    void SetHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo);
    void SetSortHeaderColors(TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo);

    // === state: border, balloon text and quick configuration ===
    void HandleNCPaint(TMessage& M);
    void HandleNotify(TMessage& M);
    void HandleDesignHitTest(TMessage& M);
    void BalloonText(NMTTDISPINFOW& Info);
    // The plain text a balloon shows for a cell text: markup without tags,
    // rich text's text, packed wide text unpacked (VodGrid_Balloon.cpp).
    static String BalloonPlainText(const String& S);
    TRect DesignPanelRect(Integer& TH);
    String DesignLookText();
    String FToolTipText, FToolTipTitle;
    TPoint FLastBalloonCell{-1, -1};

    // === state: companion windows: focus frame, hints, floating footer, search panel, scroll controls ===
    // Adds or removes the row a preview style of the floating footer needs.
    void SyncFloatingFooterRow();
    bool FMovingFocusWindow = false;

    // === state: left button down and the mouse-down override ===
    // The platform's press handling, run from the chain.
    void PlatformLButtonDown(TMessage& M);
    // The chain's steps after the veto, from the sizing cell on.
    void LButtonDownCell(TMessage& M, Integer ACol, Integer ARow, TShiftState Shift);
    bool FDoOnClick = false, FMouseDownMove = false, FMouseKeepDown = false;
    bool FSpinUpClick = false, FSpinDnClick = false, FAnchorClick = false;
    TGridRect FOrigSelection{-1, -1, -1, -1}, FDropSelection{-1, -1, -1, -1};
    bool FMouseResize = false, FSelectionClick = false, FDeselectState = false, FMouseDown = false;
    Integer FMoveColInd = -1, FMoveRowInd = -1;
    TRect FPushedFixedCell{0, 0, 0, 0};
    bool FFixedCellPushed = false;
    Integer Clickposx = 0, Clickposy = 0, Clickposdx = 0, Clickposdy = 0;
    Integer Movecell = -1, MoveOfsX = 0, MoveOfsY = 0;
    bool FSizingFixed = false, FSizingFixedR = false;
    Integer FSizingFixedCol = -1, FSizingFixedRow = -1, FSizeFixedX = 0, FSizeFixedY = 0;
    DWORD FTimeStart = 0;
    Integer FTopDown = 0, FLeftRight = 0, FOldTopRow = 0, FOldKeepLeftCol = 0;
    bool FScrollStart = false;
    bool LButFlg = false;
    Integer FFltrPopPressCol = -1;
    bool FDropDownDown = false;
    Integer FMouseDownRow = -1;
    TPopupMenu* FFixedDropDownMenu = nullptr;

    // === state: anchors and markup controls in cells ===
    // The anchor or control hit of a click on a markup or URL cell; true when
    // it consumed the click.
    bool AnchorClickAt(Integer ACol, Integer ARow, Integer X, Integer Y);
    // Anchor hovering of a mouse move over a valid cell.
    void AnchorHoverAt(Integer ACol, Integer ARow, Integer X, Integer Y);
    String FAnchorHover, FLastAnchorHint, FCtrlDownId, FCtrlID, FCtrlType;
    TPoint FHoverCell{-1, -1};
    bool FCtrlEditing = false;

    // === state: button up: ends of drags, button releases, click sorting ===
    void ClickSortAt(Integer ACol, Integer ARow, Integer X, Integer Y, TShiftState Shift, bool MoveEnded);
    bool ColMoveFlg = false;
    Integer FSortTime = 0;
    bool FDblClk = false;

    // === state: mouse move: hover, size zones, drag starts, size hints ===
    void ShowSizeHint(const String& Text, TRect CellR);
    TPoint FHotFixedCell{-1, -1}, FHoverButton{-1, -1};
    TGridRect FSizeSelection{-1, -1, -1, -1}, FMoveSelection{-1, -1, -1, -1};
    bool FHintShowSizing = false;

    // === state: enhanced row and column moving ===
    // The move checks and feedback of a mouse move.
    void MoveFeedback(Integer X, Integer Y, Integer ACol, Integer ARow);
    void HideMoveArrows();
    TForm* FMoveForm = nullptr;
    bool FSyncedMove = false;

    // === state: right button, double click, fixed-cell editors, filter list and cell hints ===
    Integer FFixedColEdit = -1, FFixedRowEdit = -1, FOldCol = -1, FOldRow = -1;
    bool FURLEdit = false, FNoEditChange = false;

    // === state: balloon tooltips, search footer settings and client area ===
    void DestroyWnd() override;
    HWND FHToolTip = nullptr;

    // === state: editing ===
    // The editor type of the running edit; an edit opened by CanEditShow
    // runs; the special editor shown.
    TEditorType EditControl = edNormal;
    bool EditMode = false;
    TWinControl* EditCtrl = nullptr;
    bool FEditing = false, FSpecialEditor = false, FEditActive = false, FEntered = false, FValidating = false;
    // The typed character that started the edit (0 otherwise).
    wchar_t FStartEditChar = 0;
    // The cell's text when editing started; Escape restores it.
    String FCellCache;
    bool FShowEditProcess = false;
    TDateTime FOriginalDateTime = 0;
    bool FEditDisable = false;
    String FEditText;
    bool FBlockCellChanging = false;
    // Validation bookkeeping: the remembered cell, its text, the text to show.
    String FOldCellText, FOldCellTextWide, FNewCellText;
    bool FOldModifiedValue = false;
    TEditLink* FEditLink = nullptr;
    TVodRichEdit* FInplaceRichEdit = nullptr;
    // The edit link's control's own window procedure while it is subclassed.
    std::function<void(TMessage&)> FLinkWndProc;

    // === editor accessors and the inplace editor classes (VodGrid_EditorAccessors.cpp) ===
public:
    // The grid's special editors, each made on first use with the grid as
    // owner and parent, hidden, and set up for the grid.
    TVodRichEdit* RichEdit();
    TGridSpin* SpinEdit();
    TGridDatePicker* DateTimePicker();
    TGridDateTimePicker* DateAndTimePicker();
    TGridTrackbarDropDown* TrackbarDropDown();
    TGridMemoDropDown* MemoDropDown();
    TGridCalculatorDropDown* CalculatorDropDown();
    TGridTimepickerDropDown* TimePickerDropDown();
    TGridDetailPickerDropDown* DetailPickerDropDown();
    TGridGridDropDown* GridDropDown();
    TGridColorDropDown* ColorPickerDropDown();
    TGridImageDropDown* ImagePickerDropDown();
    TGridControlDropDown* ControlDropDown();
    // The editor of the running edit: nil outside edit mode, the special
    // editor in use, else the default text editor.
    TWinControl* CellEditor();
    // The drop-down editors' header and footer button clicks.
    std::function<void(TObject* Sender, Integer ButtonIndex)> OnDropDownHeaderButtonClick,
        OnDropDownFooterButtonClick;
    // The colour and image picker editors' values on their way into the
    // cell (column, row, var value).
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TColor& Color, String& Text)> OnColorSelected;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer& Index)> OnImageSelected;
    TNotifyEvent OnRichEditSelectionChange;
    // The spin editor's button clicks (column, row, value, up).
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown)> OnSpinClick;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, double AValue, bool UpDown)> OnFloatSpinClick;
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime AValue, bool UpDown)> OnDateSpinClick,
        OnTimeSpinClick;
    // A date editor value not in the platform's date format (var value,
    // preset to now).
    std::function<void(TObject* Sender, const String& Value, TDateTime& Date)> OnCustomStrToDate;
    friend struct GridEditorProtocol;

protected:
    // Shows the special editor of the drop-down, spin and date types over
    // the cell rectangle R (W, H: the editor's size; C: its colour); False
    // for other types.
    bool ShowClassEditor(Integer ACol, Integer ARow, const TRect& R, Integer W, Integer H, TColor C,
                         const String& Text, wchar_t FirstKey);
    // Writes the value of those editors back into the cell (real column
    // ACol) and hides them; False for other types.
    bool HideClassEditor(Integer ACol, Integer ARow);

    // === state: editor accessors and the inplace editor classes ===
    TVodRichEdit* FRichEdit = nullptr;
    TGridSpin* FEditSpin = nullptr;
    TGridDatePicker* FEditDate = nullptr;
    TGridDateTimePicker* FEditDateTime = nullptr;
    TGridTrackbarDropDown* FEditTrackBar = nullptr;
    TGridMemoDropDown* FEditMemo = nullptr;
    TGridCalculatorDropDown* FEditCalculator = nullptr;
    TGridTimepickerDropDown* FEditTimePicker = nullptr;
    TGridDetailPickerDropDown* FEditDetailPicker = nullptr;
    TGridGridDropDown* FEditGridPicker = nullptr;
    TGridColorDropDown* FEditColorPicker = nullptr;
    TGridImageDropDown* FEditImagePicker = nullptr;
    TGridControlDropDown* FEditControlPicker = nullptr;

private:
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TAutoColor> FAutoColor;
    std::unique_ptr<THoverButtons> FHoverButtons;
};

// Creates a string grid (or a descendant) and runs its second construction
// phase.
template <class T>
T* CreateGrid(TComponent* Owner)
{
    T* g = new T(Owner);
    g->Init();
    return g;
}

// ---------------------------------------------------------------------------
// The grid unit's start-up and shut-down and its process-wide state
// ---------------------------------------------------------------------------

// Once per process, before any grid exists (the library's start-up calls
// it): OLE for the thread, the window-procedure hook, the streaming class
// registrations, the common-controls check, the clipboard format and the
// four registered messages. A further call does nothing.
void VodGridStartup();
// Once: OLE released, the hook removed, the hint font name cleared.
void VodGridShutdown();
bool VodGridStarted();

struct TGridUnitState {
    HHOOK Hook = nullptr;
    // The grid whose focus frame is shown (the hook moves its frame).
    TVodStringGrid* FocusFrameGrid = nullptr;
    bool ComCtl470 = false;
    UINT CellsClipboardFormat = 0;   // "TVodStringGrid Cells"
    UINT GridEditDone = 0, GridEditShow = 0, GridEditProp = 0, DTPShiftFocus = 0;
    TCursor LinkCursor = crDefault;
    String HintFontName;
};
TGridUnitState& GridUnit();

// The window-procedure hook of the user-interface thread.
LRESULT GridCallWndHook(int Code, WPARAM wParam, LPARAM lParam);

// The platform's current format settings, read at each call.
wchar_t GridTimeSeparator();
wchar_t GridDateSeparator();
wchar_t GridThousandSeparator();
wchar_t GridDecimalSeparator();
String GridShortDateFormat();
String GridShortTimeFormat();
String GridLongTimeFormat();
// Adds WS_EX_TRANSPARENT to a window's extended style.
void SetTransparentExStyle(HWND Wnd);
// The most significant 32 bits of a file's version (major in the high word,
// minor in the low word), or -1 when the file has no version resource or
// its fixed block lacks the signature.
Integer GetFileVersionMS(const String& FileName);

// Invalidates, without erasing, the union of the cell rectangles of R's
// top-left and bottom-right cells.
void InvalidateGridRect(TVodStringGrid* Grid, const TGridRect& R);
