// Printing: the public entry points. A print job counts the pages on the
// screen and prints them through the process's printer (a PDF document); a
// preview draws one page into a rectangle of any canvas; PrintDraw draws the
// first page of the layout into a rectangle without any job around it.
#include <algorithm>
#include <climits>
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridPrintPass.h"
#include "platform/gfx/Printer.h"

namespace {

TGridRect WholeGrid(TVodStringGrid* G) { return TGridRect{0, 0, G->ColCount() - 1, G->RowCount() - 1}; }

// Puts the canvas into the 0.1 mm mode with the page's top-left corner at
// the rectangle's top-left, drawing clipped to it; undone by the destructor.
class TRectMapping {
public:
    TRectMapping(TCanvas* C, const TRect& R) : FCanvas(C), FDC(C->Handle())
    {
        FSaved = SaveDC(FDC);
        IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom);
        SetViewportOrgEx(FDC, R.Left, R.Top, nullptr);
        SetMapMode(FDC, MM_LOMETRIC);
    }
    ~TRectMapping()
    {
        RestoreDC(FDC, FSaved);
        FCanvas->Refresh();
    }
    TRectMapping(const TRectMapping&) = delete;
    TRectMapping& operator=(const TRectMapping&) = delete;

private:
    TCanvas* FCanvas;
    HDC FDC;
    int FSaved;
};

}  // namespace

Integer TVodStringGrid::MapFontHeight(Integer PointSize)
{
    return -Integer(std::trunc(PointSize * 254.0 / 72.0 * Fontscalefactor));
}

Integer TVodStringGrid::MapFontSize(Integer Height) { return Integer(std::trunc(Height * 72.0 / 254.0)); }

Integer TVodStringGrid::MaxColTextLength(Integer ACol)
{
    Integer longest = 0;
    for (Integer r = 0; r < RowCount(); ++r) {
        String rest = SaveCell(ACol, r);
        while (true) {
            const String line = Multilinecells() ? CutFirstLine(rest, true) : rest;
            longest = std::max(longest, Integer(line.size()));
            if (!Multilinecells() || rest.empty()) break;
        }
    }
    return longest;
}

Integer TVodStringGrid::MaxLinesInRow(Integer ARow)
{
    if (ColCount() <= 0 || !Multilinecells()) return 1;
    Integer n = 1;
    for (Integer j = 0; j < ColCount(); ++j) n = std::max(n, LineCount(GetCellEx(RealColIndex(j), ARow), true));
    return n;
}

// ---------------------------------------------------------------------------
// Print job

void TVodStringGrid::PrintJob(const TGridRect& GridRect, bool SelectionOnly)
{
    ExportNotification(esExportStart, -1);
    FPrintRect = GridRect;
    TPrinter* pr = Printer();
    const TPrinterOrientation oldOrientation = pr->Orientation();
    if (!pr->Printing() && !FPrintSettings->UseDefaultOrientation()) pr->SetOrientation(FPrintSettings->Orientation());
    HDC pdc = pr->Handle();
    const int ppx = std::max(1, GetDeviceCaps(pdc, LOGPIXELSX)), ppy = std::max(1, GetDeviceCaps(pdc, LOGPIXELSY));
    PrevRect = TRect{0, 0, Integer(std::lround(254.0 / ppx * pr->PageWidth())),
                     Integer(std::lround(254.0 / ppy * pr->PageHeight()))};
    if (!pr->Printing()) pr->SetTitle(FPrintSettings->JobName());

    Integer n;
    if (FFastPrint) n = INT_MAX;
    else {
        TCanvas screen;
        HDC ic = CreateScreenIC();
        screen.SetHandle(ic);
        screen.Font()->Assign(Font());
        SetMapMode(ic, MM_LOMETRIC);
        try {
            n = PrintPages(&screen, prCountForPrint, -1, SelectionOnly);
        } catch (...) {
            screen.SetHandle(nullptr);
            DeleteDC(ic);
            throw;
        }
        screen.SetHandle(nullptr);
        DeleteDC(ic);
    }
    // The job's own page range; the one before it is back afterwards.
    const Integer oldFrom = FPrintPageFrom, oldTo = FPrintPageTo;
    auto finish = [&]() {
        FPrintPageFrom = oldFrom;
        FPrintPageTo = oldTo;
        ExportNotification(esExportDone, -1);
    };
    FPrintPageFrom = 1;
    FPrintPageTo = n;
    FPrintPageCount = n;
    if (OnPrintStart) OnPrintStart(this, n, FPrintPageFrom, FPrintPageTo);
    if (FPrintPageFrom == 0 || FPrintPageTo == 0 || FPrintPageTo < FPrintPageFrom) {
        if (!pr->Printing()) pr->SetOrientation(oldOrientation);
        finish();
        return;
    }
    const bool ownDoc = !pr->Printing();
    if (ownDoc) pr->BeginDoc();
    TCanvas* pc = pr->Canvas();
    HDC dc = pc->Handle();
    const int oldMode = SetMapMode(dc, MM_LOMETRIC);
    pc->Brush()->SetColor(clWhite);
    pc->Brush()->SetStyle(bsSolid);
    pc->Pen()->SetColor(clWhite);
    pc->FillRect(TRect{0, 0, PrevRect.Right, -PrevRect.Bottom});
    FPrintPageCount = FPrintPageTo;
    try {
        PrintPages(pc, prPrint, n, SelectionOnly);
    } catch (...) {
        SetMapMode(dc, oldMode);
        if (ownDoc) pr->Abort();
        finish();
        throw;
    }
    SetMapMode(dc, oldMode);
    if (ownDoc) pr->EndDoc();
    finish();
}

void TVodStringGrid::Print() { PrintJob(WholeGrid(this), false); }
void TVodStringGrid::PrintSelection() { PrintJob(Selection(), false); }
void TVodStringGrid::PrintRect(const TGridRect& GridRect) { PrintJob(GridRect, false); }
void TVodStringGrid::PrintSelectedRows() { PrintJob(WholeGrid(this), true); }
void TVodStringGrid::PrintSelectedCols() { PrintJob(WholeGrid(this), true); }

// ---------------------------------------------------------------------------
// Preview

void TVodStringGrid::PreviewJob(TCanvas* Canvas, const TRect& DisplayRect, bool SelectionOnly,
                                const TGridRect& GridRect)
{
    if (!Canvas) return;
    ExportNotification(esExportStart, -1);
    FPrintRect = GridRect;
    try {
        TRectMapping mapping(Canvas, DisplayRect);
        PrevRect = DisplayRect;
        Integer n;
        if (FFastPrint) n = 1;
        else {
            n = PrintPages(Canvas, prCountForPreview, -1, SelectionOnly);
            FPrintPageCount = n;
        }
        Integer from = 1, to = n;
        FIsPrintPreview = true;
        if (OnPrintStart) OnPrintStart(this, n, from, to);
        if (from > 0 && to > 0 && to >= from) {
            PrevRect = DisplayRect;
            PrintPages(Canvas, prPreview, n, SelectionOnly);
        }
    } catch (...) {
        ExportNotification(esExportDone, -1);
        FIsPrintPreview = false;
        throw;
    }
    ExportNotification(esExportDone, -1);
    FIsPrintPreview = false;
}

void TVodStringGrid::PrintPreview(TCanvas* Canvas, const TRect& DisplayRect)
{
    PreviewJob(Canvas, DisplayRect, false, WholeGrid(this));
}
void TVodStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect)
{
    PreviewJob(Canvas, DisplayRect, false, GridRect);
}
void TVodStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& DisplayRect)
{
    PreviewJob(Canvas, DisplayRect, false, Selection());
}
void TVodStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& DisplayRect)
{
    PreviewJob(Canvas, DisplayRect, true, WholeGrid(this));
}
void TVodStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& DisplayRect)
{
    PreviewJob(Canvas, DisplayRect, true, WholeGrid(this));
}

// ---------------------------------------------------------------------------
// Drawing on a canvas

void TVodStringGrid::PrintDraw(TCanvas* Canvas, const TRect& DrawRect)
{
    PrintDrawRect(Canvas, DrawRect, WholeGrid(this));
}

void TVodStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& GridRect)
{
    if (!Canvas) return;
    FPrintRect = GridRect;
    PrevRect = DrawRect;
    const Integer oldFrom = FPrintPageFrom, oldTo = FPrintPageTo;
    FPrintPageFrom = 1;
    FPrintPageTo = 1;
    FPrintPageCount = 1;
    try {
        TRectMapping mapping(Canvas, DrawRect);
        PrintPages(Canvas, prPrint, 1, false);
    } catch (...) {
        FPrintPageFrom = oldFrom;
        FPrintPageTo = oldTo;
        throw;
    }
    FPrintPageFrom = oldFrom;
    FPrintPageTo = oldTo;
}
