// One run of TVodStringGrid::PrintPages: the layout state its measuring
// (VodGrid_PrintLayout.cpp) and drawing (VodGrid_PrintDraw.cpp) steps share.
// Lengths are tenths of a millimetre, distances down the page positive.
#pragma once

#include <memory>
#include <vector>

#include "controls/grid/VodGrid.h"

class TGridPrintPass {
public:
    using TPrintPass = TVodStringGrid::TPrintPass;
    TGridPrintPass(TVodStringGrid* AGrid, TCanvas* ACanvas, TPrintPass APass, Integer ATotalPages,
                   bool ASelectionOnly);
    ~TGridPrintPass();
    TGridPrintPass(const TGridPrintPass&) = delete;
    TGridPrintPass& operator=(const TGridPrintPass&) = delete;

    Integer Run();

    // Measuring (layout file).
    void CalcPrintColWidths();
    Integer PrintRowHeight(Integer ARow);
    TSize MeasurePrintCell(Integer ACol, Integer ARow);
    bool PrintRowSelected(Integer ARow);
    bool PrintColSelected(Integer ACol);
    // The print size of a cell's graphic in screen pixels, measured on the
    // grid's screen canvas.
    TPoint MeasureGraphic(Integer ACol, Integer ARow);
    // Header and footer heights of the page about to start.
    void CalcHeaderFooterHeights();
    // The extra height of a multi-line or markup title, without drawing.
    Integer MeasureTitleHeight();

    // Drawing (draw file).
    Integer PrintRow(Integer Y, Integer FirstCol, Integer LastCol, Integer ARow);
    Integer PrintHeaderFooter();
    String PrintPageNumText();
    void PrintPageBorders(Integer FirstCol, Integer LastCol, Integer Y);
    void PrintNewPage();
    void AnnouncePage(Integer PageNr);
    // The graphics that print through a bitmap, a picture, the radio group
    // painter or a shape, into the graphic's rectangle GR (0.1 mm).
    void PrintGraphic(TCellGraphic* CG, Integer ACol, Integer ARow, const TRect& GR, TColor BrushColor,
                      TColor ColorTo);
    // Calls OnCustomCellDraw with the text rectangle in device pixels.
    void CustomCellDraw(Integer ACol, Integer ARow, TRect TR);

    // Whether the current page is drawn: a drawing pass and the page in range.
    bool DrawingPass() const { return Pass == TVodStringGrid::prPreview || Pass == TVodStringGrid::prPrint; }
    bool PageDrawn() const
    {
        return DrawingPass() && Page + 1 >= Grid->FPrintPageFrom && Page + 1 <= Grid->FPrintPageTo;
    }
    Integer RowAdvance(Integer ARow);
    // Converts screen pixels to 0.1 mm.
    Integer ScreenToPrint(double v) const { return Integer(std::lround(v * GScreen)); }

    TVodStringGrid* Grid;
    TCanvas* Canvas;
    TPrintPass Pass;
    Integer TotalPages;
    bool SelectionOnly;
    TPrintSettings* PS;

    // The grid's screen canvas: measuring in screen pixels.
    HDC ScreenDC = nullptr;
    std::unique_ptr<TCanvas> ScreenCanvas;

    double GScreen = 254.0 / 96.0;   // 0.1 mm per screen pixel
    double g = 1.0;                  // fit-to-page scale
    double MarkupFactor = 1.0;
    Integer W = 0, P = 0;            // page width and height
    Integer S = 0;                   // column spacing
    Integer F = 0, Hf = 0;           // header and footer heights
    Integer Gap = 0;                 // line gap
    Integer HeaderLine = 0, FooterLine = 0;
    Integer TextIndent = 0;
    Integer Cursor = 0;
    Integer Page = 0, Band = 0, PageInBand = 0;
    bool SeveralBands = false, Stop = false, RepeatCols = false;
    Integer FixedPartWidth = 0;
    Integer CacheRow = -1, CacheHeight = 0, LastMeasured = 0;
    // What measuring the column widths found per row, for the row heights
    // at scale 1: the tallest cell not merged across rows (-1: none) and
    // the last such cell's height.
    struct TRowMeasure {
        bool Known = false;
        Integer Tallest = -1, Last = 0;
    };
    std::vector<TRowMeasure> RowMeasures;
    Integer LastAnnounced = 0;
    Integer BandFirst = 0, BandLast = 0;
    // The canvas's tools before the pass, restored at its end.
    std::unique_ptr<TFont> SavedFont, SavedFont2;
    std::unique_ptr<TPen> SavedPen;
    std::unique_ptr<TBrush> SavedBrush, SavedBrush2;
    // Pen width and colour of the cell borders.
    Integer BorderPenWidth = 2;
};

// Moves Rect's Left and Top to the start of the baseline of a text of the
// extents a = |h cos|, b = |w sin|, c = |h sin|, d = |w cos| rotated by Angle
// degrees, its bounding box placed in Rect by the alignments.
void PlaceRotatedText(TRect& Rect, TAlignment HAlign, TVAlignment VAlign, Integer a, Integer b, Integer c,
                      Integer d, Integer Angle);
// A, one blank and B; either alone when the other is empty.
String JoinWithBlank(const String& A, const String& B);
// The bitmap stretched into Rect through its device-independent copy.
void PrintBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, DWORD Rop = SRCCOPY);
// The angle the printer rotates landscape pages by (90 or 270).
Integer PrinterOrientationAngle();
// The plain text of a rich text cell (the text itself when it does not read).
String RichPlainText(const String& Value);
