// VodGrid: the string grid TVodStringGrid on the base grid, and the
// settings objects it owns. One class whose operations are divided into
// sources by family: VodGrid_Look.cpp (control look and background),
// VodGrid_Settings.cpp (grouping, balloons, modified marks, drag scrolling,
// progress look, automatic colours), VodGrid_HoverButtons.cpp (hover
// buttons), VodGrid_Update.cpp (the update bracket, the grid timer and the
// window messages that are not keyboard or mouse input).
#pragma once

#include <memory>
#include <vector>

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/grid/BaseGrid.h"
#include "controls/grid/CellGraphics.h"
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
    virtual void CellsChanged(const TRect& R) {}
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
// The string grid
// ---------------------------------------------------------------------------

enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The program's own cursors, loaded by number.
enum : Word { crRowSelectCursor = 8010, crColSelectCursor = 8011, crAllSelectCursor = 8012, crCellSelectCursor = 8014 };

class TVodStringGrid : public TBaseGrid {
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

    // === operations table and cell hooks (VodGrid_Hooks.cpp) ===

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
    TColor URLColor() const { return FURLColor; }
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

    // === inserting, removing and moving rows (VodGrid_Rows.cpp) ===

    // === inserting, removing and moving columns, column order (VodGrid_Cols.cpp) ===

    // === clearing, trimming, colouring ranges, used cells, save range (VodGrid_Clear.cpp) ===

    // === dimensions, fixed and footer rows, simple properties (VodGrid_Dims.cpp) ===
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
    virtual void CellsChanged(const TRect& R);
    void ScreenToCell(TPoint pt, Integer& ACol, Integer& ARow);

    TCellsChangedEvent OnCellsChanged;

    // === cell accessors and rich text (VodGrid_Accessors.cpp) ===

    // --- operations whose families are completed elsewhere (least bodies) ---
    virtual void DrawNCBorder();
    virtual void CellControlsUpdate(bool Force);
    virtual void UpdateProportionalVScroll();
    virtual void UpdateProportionalHScroll();
    virtual void HideInplaceEdit();
    virtual void ShowInplaceEdit();
    virtual void StoreCellValue(Integer ACol, Integer ARow);
    virtual void GetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y);
    virtual void BuildHint(THintInfo* HintInfo);
    virtual void HideHoverButtons();
    virtual void CreateBalloonWindow();
    virtual void RemoveBalloonWindow();
    virtual bool IsCellEditable(Integer ACol, Integer ARow);
    virtual bool HasComboBox(Integer ACol, Integer ARow);
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
    bool FHoverFixedCells = false;
    std::unique_ptr<TControlList> FControlList;

    // === state: construction, lifecycle and unit start-up ===

    // === state: operations table and cell hooks ===

    // === state: cell graphics ===
    // The one unattached graphic that shows the row check box of column 0.
    std::unique_ptr<TCellGraphic> FRowCheckGraphic;

    // === state: settings objects, look presets and image list ===
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    TGridLook FLook = glXP;
    TColor FURLColor = TColor(0xFF0000);
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;
    TCustomImageList* FGridImages = nullptr;

    // === state: hidden rows and columns, index mapping ===

    // === state: inserting, removing and moving rows ===

    // === state: inserting, removing and moving columns, column order ===

    // === state: clearing, trimming, colouring ranges, used cells, save range ===

    // === state: dimensions, fixed and footer rows, simple properties ===
    TPictureContainer* FPictureContainer = nullptr;
    bool FAutoNumAlign = false;

    // === state: cell selection, listeners, change notification, combo list ===
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

    TColor FQelGradFrom = clNone, FQelGradTo = clNone, FQelGradMirrorFrom = clNone, FQelGradMirrorTo = clNone;
    TColor FQelGradHoverFrom = clNone, FQelGradHoverTo = clNone, FQelGradHoverMirrorFrom = clNone,
           FQelGradHoverMirrorTo = clNone, FQelGradHoverBorder = clNone;
    TColor FQelGradDownFrom = clNone, FQelGradDownTo = clNone, FQelGradDownMirrorFrom = clNone,
           FQelGradDownMirrorTo = clNone, FQelGradDownBorder = clNone;

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

// Invalidates, without erasing, the union of the cell rectangles of R's
// top-left and bottom-right cells.
void InvalidateGridRect(TVodStringGrid* Grid, const TGridRect& R);
