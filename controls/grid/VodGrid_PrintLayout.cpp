// Printing: the layout of a print pass. Columns are measured and fitted to
// the page, split into bands that fit across it, and the rows of each band
// are laid out page by page; the drawing steps live in VodGrid_PrintDraw.cpp.
#include <algorithm>
#include <climits>
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridPrintPass.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/RichEdit.h"

namespace {

bool AtTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool AtBottom(TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; }

}  // namespace

String RichPlainText(const String& Value)
{
    std::string bytes;
    bytes.reserve(Value.size());
    for (Char c : Value) bytes += char(c < 0x100 ? c : '?');
    TRichDocument d;
    try {
        ReadRtf(bytes, d);
    } catch (const Exception&) {
        return Value;
    }
    return d.Text();
}

TGridPrintPass::TGridPrintPass(TVodStringGrid* AGrid, TCanvas* ACanvas, TPrintPass APass, Integer ATotalPages,
                               bool ASelectionOnly)
    : Grid(AGrid), Canvas(ACanvas), Pass(APass), TotalPages(ATotalPages), SelectionOnly(ASelectionOnly),
      PS(AGrid->PrintSettings())
{
    // The grid's screen canvas: an information context of the screen with
    // the grid's font, so that measuring needs no window.
    ScreenDC = CreateScreenIC();
    ScreenCanvas = std::make_unique<TCanvas>();
    ScreenCanvas->SetHandle(ScreenDC);
    ScreenCanvas->Font()->Assign(Grid->Font());
    const int ppi = GetDeviceCaps(ScreenDC, LOGPIXELSX);
    GScreen = 254.0 / (ppi > 0 ? ppi : 96);
}

TGridPrintPass::~TGridPrintPass()
{
    ScreenCanvas->SetHandle(nullptr);
    ScreenCanvas.reset();
    DeleteDC(ScreenDC);
}

Integer TVodStringGrid::PrintPages(TCanvas* Canvas, TPrintPass Pass, Integer TotalPages, bool SelectionOnly)
{
    if (!Canvas) return 0;
    TGridPrintPass pass(this, Canvas, Pass, TotalPages, SelectionOnly);
    return pass.Run();
}

// ---------------------------------------------------------------------------
// Selection filters

bool TGridPrintPass::PrintRowSelected(Integer ARow)
{
    if (!SelectionOnly) return true;
    if (PS->FixedCellsAlways() && ARow < Grid->FixedRows()) return true;
    TMouseActions* ma = Grid->MouseActions();
    if (ma->DisjunctRowSelect()) {
        const Integer r = ma->RowSelectPersistent() ? Grid->RealRowIndex(ARow) : ARow;
        return Grid->GetRowSelect(r);
    }
    const TGridRect sel = Grid->Selection();
    return sel.Top <= ARow && ARow <= sel.Bottom;
}

bool TGridPrintPass::PrintColSelected(Integer ACol)
{
    if (!SelectionOnly) return true;
    TMouseActions* ma = Grid->MouseActions();
    if (ma->DisjunctRowSelect()) return true;
    if (PS->FixedCellsAlways() && ACol < Grid->FixedCols()) return true;
    if (ma->DisjunctColSelect()) return Grid->GetColSelect(ACol);
    const TGridRect sel = Grid->Selection();
    return sel.Left <= ACol && ACol <= sel.Right;
}

// ---------------------------------------------------------------------------
// Measuring

TSize TGridPrintPass::MeasurePrintCell(Integer ACol, Integer ARow)
{
    TSize sz{0, 0};
    String s = Grid->IsDataCell(ACol, ARow) ? String() : Grid->GetFormattedCell(ACol, ARow);
    const Byte kind = DetectTextMarkup(s, Grid->EnableHTML());
    const Integer dcol = Grid->DisplColIndex(ACol);
    const Integer colWidth = dcol >= 0 && dcol < Grid->ColCount() ? Grid->ColWidths(dcol) : Grid->DefaultColWidth();

    auto finish = [&](TSize& r, TSize graphic) {
        r.cx = std::max(r.cx, graphic.cx);
        r.cy = std::max(r.cy, graphic.cy);
        if (Grid->OnCustomCellSize) {
            TPoint p{r.cx, r.cy};
            Grid->OnCustomCellSize(Grid, Canvas, ACol, ARow, p, true);
            r = TSize{p.X, p.Y};
        }
    };

    if (kind == tkMarkup) {
        TFont saved;
        saved.Assign(Canvas->Font());
        HDC dc = Canvas->Handle();
        const int oldMode = SetMapMode(dc, MM_TEXT);
        Canvas->Font()->Assign(PS->Font());
        Canvas->Font()->SetSize(PS->Font()->Size());
        TMarkupParams mp;
        mp.Canvas = Canvas;
        mp.Text = s;
        // The layout rectangle in device pixels of the target.
        POINT pt[2] = {{0, 0}, {PS->NoAutoSize() ? Integer(std::lround((colWidth + 4) * GScreen)) : 65535, 65535}};
        if (PS->NoAutoSize()) {
            SetMapMode(dc, MM_LOMETRIC);
            pt[1].Y = -pt[1].Y;
            LPtoDP(dc, pt, 2);
            SetMapMode(dc, MM_TEXT);
        }
        mp.Rect = TRect{0, 0, std::max<LONG>(1, pt[1].X - pt[0].X), 65535};
        mp.Images = Grid->GridImages();
        mp.CheckHeight = true;
        mp.Printing = true;
        mp.ResFactor = MarkupFactor;
        mp.ImageCache = Grid->ImageCache();
        mp.Container = Grid->PictureContainer();
        VurHTMLE::RenderMarkup(mp);
        // The extent back in 0.1 mm.
        SetMapMode(dc, MM_LOMETRIC);
        POINT ext[2] = {{0, 0}, {mp.XSize, mp.YSize}};
        DPtoLP(dc, ext, 2);
        sz.cx = std::abs(ext[1].X - ext[0].X);
        sz.cy = std::abs(ext[1].Y - ext[0].Y) - Integer(std::lround(Gap * GScreen));
        SetMapMode(dc, oldMode == 0 ? MM_LOMETRIC : oldMode);
        Canvas->Font()->Assign(&saved);
        finish(sz, TSize{0, 0});
        return sz;
    }
    if (kind == tkRichText) s = RichPlainText(s);
    else if (kind == tkFormula) s = Grid->GetCellContent(ACol, ARow);

    TFont saved;
    saved.Assign(Canvas->Font());
    TBrush brush;
    brush.Assign(Canvas->Brush());
    TFont font;
    font.Assign(Canvas->Font());
    font.SetSize(Grid->Font()->Size());
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = Grid->WordWrap();
    TCellGradientDirection gd = GradientVertical;
    Grid->GetVisualProperties(ACol, ARow, state, true, false, false, &brush, colorTo, mirror, mirrorTo, &font, ha, va,
                              ww, gd);
    ww = Grid->WordWrap();
    Grid->GetCellWordWrap(ACol, ARow, ww);
    Canvas->Font()->Assign(&font);
    Canvas->Font()->SetHeight(Grid->MapFontHeight(font.Size()));
    Integer angle = 0;
    const bool rotated = Grid->IsRotated(ACol, ARow, angle);
    if (rotated) Canvas->Font()->SetOrientation(-10 * angle);

    TSize graphic{0, 0};
    if (PS->PrintGraphics() && Grid->GetCellGraphic(ACol, ARow)) {
        const TPoint p = MeasureGraphic(ACol, ARow);
        graphic = TSize{ScreenToPrint(p.X), ScreenToPrint(p.Y)};
    }
    if (s.empty()) s = L"gh";
    const Integer lineH = Canvas->TextHeight(L"gh");
    Integer widest = 0;
    if (!ww || !PS->NoAutoSize() || rotated) {
        const bool multi = Grid->Multilinecells() || ww;
        String rest = s;
        Integer lines = 0;
        while (true) {
            String line = multi ? CutFirstLine(rest, true) : rest;
            if (Grid->URLShow() && !Grid->URLFull()) StripURLProtocol(line);
            widest = std::max(widest, Canvas->TextWidth(line) + graphic.cx);
            ++lines;
            if (!multi || rest.empty()) break;
        }
        sz.cx = widest;
        sz.cy = lineH * lines;
    } else {
        const Integer w = Grid->IsXMergedCell(ACol, ARow) || dcol < 0 || dcol >= Integer(Grid->MaxWidths.size())
                              ? 65535
                              : Grid->MaxWidths[dcol];
        RECT r{0, 0, w, 0};
        const UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX |
                           (Grid->UseRightToLeftAlignment() ? DT_RTLREADING | DT_RIGHT : 0);
        Canvas->RequireState();
        const int h = DrawTextStr(Canvas->Handle(), s, &r, flags);
        sz.cx = w;
        sz.cy = std::abs(h);
        widest = w;
    }
    if (rotated) {
        const double a = angle * M_PI / 180.0;
        const Integer w2 = std::abs(Integer(std::lround(std::cos(a) * sz.cx))) +
                           std::abs(Integer(std::lround(std::sin(a) * sz.cy)));
        const Integer h2 = std::abs(Integer(std::lround(std::sin(a) * widest))) +
                           std::abs(Integer(std::lround(std::cos(a) * sz.cy)));
        sz = TSize{w2, h2};
        Canvas->Font()->SetOrientation(0);
    }
    Canvas->Font()->Assign(&saved);
    finish(sz, graphic);
    return sz;
}

void TGridPrintPass::CalcPrintColWidths()
{
    const TGridRect& R = Grid->FPrintRect;
    auto& mw = Grid->MaxWidths;
    // Repeated fixed columns left of the range are measured too, so that
    // they print with their widths.
    const bool fixedToo = PS->RepeatFixedCols() && Grid->FixedCols() > 0 && R.Left > 0;
    const Integer fixedEnd = fixedToo ? std::min(Grid->FixedCols(), R.Left) : 0;
    auto measured = [&](auto fn) {
        for (Integer j = 0; j < fixedEnd; ++j) fn(j);
        for (Integer j = std::max(R.Left, fixedEnd); j <= R.Right; ++j) fn(j);
    };
    measured([&](Integer j) { mw[j] = 0; });
    if (PS->NoAutoSize()) {
        measured([&](Integer j) {
            if (PrintColSelected(j)) mw[j] = ScreenToPrint(Grid->ColWidths(j) + 4);
        });
        return;
    }
    // With FastPrint the layout ends after the last page to draw, and the
    // widths come from the rows that can reach it. Those rows are found by
    // paginating with heights no larger than the real ones (the cells'
    // measured heights at scale 1, without the row-height event) into pages
    // no smaller than the real ones: such a layout ends each page at the
    // same row or later, so a row it puts past the last page is on no page
    // drawn.
    const bool bounded = Grid->FFastPrint && Grid->FPrintPageTo < INT_MAX && PS->FitToPage() == fpNever &&
                         !Grid->OnPrintSetRowHeight;
    const Integer top0 = std::min(0, PS->HeaderSize()) + std::min(0, PS->TitleSpacing());
    const Integer room = P - std::min(0, PS->FooterSize());
    Integer simPage = 1, simCursor = 0;
    bool simFirst = true;
    std::vector<Integer> rowWidths;
    // Every cell of the range measured here is measured again for its row's
    // height; at scale 1 the row heights take what was found here.
    const bool keepRows = !SelectionOnly && !PS->UseFixedWidth() && !PS->NoAutoSizeRow() && !PS->UseFixedHeight() &&
                          !Grid->OnCustomCellSize;
    RowMeasures.clear();
    if (keepRows) RowMeasures.resize(size_t(std::max(0, Grid->RowCount())));

    Integer r = 0;
    while (r <= R.Bottom || (PS->RepeatFixedRows() && r <= Grid->FixedRows())) {
        if (r < R.Top && !(PS->RepeatFixedRows() && r < Grid->FixedRows())) {
            r = R.Top;
            continue;
        }
        if (r >= Grid->RowCount()) break;
        const bool paginate = bounded && r >= R.Top;
        if (paginate) rowWidths.assign(mw.size(), 0);
        Integer tallest = 0;
        TRowMeasure rm;
        measured([&](Integer j) {
            if (!PrintColSelected(j)) return;
            const Integer c = Grid->RealColIndex(j);
            Integer w;
            if (PS->UseFixedWidth()) w = PS->FixedWidth();
            else {
                const TSize m = MeasurePrintCell(c, r);
                w = m.cx;
                if (j >= R.Left && !Grid->IsYMergedCell(c, r)) {
                    tallest = std::max<Integer>(tallest, m.cy);
                    rm.Tallest = std::max<Integer>(rm.Tallest, m.cy);
                    rm.Last = m.cy;
                }
            }
            if (Grid->IsXMergedCell(c, r)) return;
            if (paginate) rowWidths[j] = std::max(rowWidths[j], w);
            else if (w > mw[j]) mw[j] = w;
        });
        if (keepRows) {
            rm.Known = true;
            RowMeasures[size_t(r)] = rm;
        }
        if (paginate) {
            if (PrintRowSelected(r)) {
                Integer h;
                if (PS->NoAutoSizeRow()) h = ScreenToPrint(Grid->RowHeights(r)) + 4;
                else if (PS->UseFixedHeight()) h = PS->FixedHeight();
                else h = tallest + tallest / 8;
                const Integer adv = 2 * Gap + h + PS->RowSpacing();
                if (!simFirst && simCursor + h > room) {
                    if (++simPage > Grid->FPrintPageTo) break;
                    simCursor = top0;
                }
                if (simFirst) simCursor = top0;
                simFirst = false;
                simCursor += adv;
            }
            for (size_t j = 0; j < mw.size(); ++j) mw[j] = std::max(mw[j], rowWidths[j]);
        }
        ++r;
    }
}

TPoint TGridPrintPass::MeasureGraphic(Integer ACol, Integer ARow)
{
    // Pictures are fitted into the cell's screen size.
    const Integer dcol = Grid->DisplColIndex(ACol);
    const Integer w = dcol >= 0 && dcol < Grid->ColCount() ? Grid->ColWidths(dcol) : Grid->DefaultColWidth();
    const Integer h = ARow >= 0 && ARow < Grid->RowCount() ? Grid->RowHeights(ARow) : Grid->DefaultRowHeight();
    return Grid->MeasurePrintCellGraphic(ScreenCanvas.get(), ACol, ARow, w, h);
}

Integer TGridPrintPass::PrintRowHeight(Integer ARow)
{
    if (ARow == CacheRow) return CacheHeight;
    Integer h;
    if (PS->NoAutoSizeRow()) h = ScreenToPrint(Grid->RowHeights(ARow)) + 4;
    else if (PS->UseFixedHeight()) h = PS->FixedHeight();
    else {
        Grid->Fontscalefactor = g;
        Integer m = -1;
        const TGridRect& R = Grid->FPrintRect;
        if (g == 1.0 && ARow >= 0 && ARow < Integer(RowMeasures.size()) && RowMeasures[size_t(ARow)].Known) {
            const TRowMeasure& rm = RowMeasures[size_t(ARow)];
            if (rm.Tallest >= 0) {
                m = rm.Tallest;
                LastMeasured = rm.Last;
            }
        } else
            for (Integer j = R.Left; j <= R.Right; ++j) {
                const Integer c = Grid->RealColIndex(j);
                if (Grid->IsYMergedCell(c, ARow)) continue;
                const Integer cy = MeasurePrintCell(c, ARow).cy;
                LastMeasured = cy;
                m = std::max(m, cy);
            }
        if (m < 0) m = LastMeasured;
        h = Integer(Cardinal(m) + (Cardinal(m) >> 3));
        if (Grid->OnPrintSetRowHeight) Grid->OnPrintSetRowHeight(Grid, ARow, h);
    }
    CacheRow = ARow;
    CacheHeight = h;
    return h;
}

Integer TGridPrintPass::RowAdvance(Integer ARow) { return 2 * Gap + PrintRowHeight(ARow) + PS->RowSpacing(); }

// ---------------------------------------------------------------------------
// Header and footer heights

Integer TGridPrintPass::MeasureTitleHeight()
{
    TStringList* tl = PS->TitleLines();
    if (!PS->TitleText().empty() || tl->Count() == 0) return 0;
    TFont saved;
    saved.Assign(Canvas->Font());
    Grid->Fontscalefactor = g;
    Canvas->Font()->Assign(PS->HeaderFont());
    Canvas->Font()->SetHeight(Grid->MapFontHeight(PS->HeaderFont()->Size()));
    Integer h = 0;
    if (DetectTextMarkup(tl->Text(), true) == tkMarkup) {
        if (PS->Title() != ppNone) {
            String all;
            for (Integer i = 0; i < tl->Count(); ++i) all += tl->Strings(i);
            HDC dc = Canvas->Handle();
            const int oldMode = SetMapMode(dc, MM_TEXT);
            Canvas->Font()->Assign(PS->HeaderFont());
            TMarkupParams mp;
            mp.Canvas = Canvas;
            mp.Text = all;
            POINT pt[2] = {{0, 0}, {W - PS->RightSize() - 20, -1000}};
            SetMapMode(dc, MM_LOMETRIC);
            LPtoDP(dc, pt, 2);
            SetMapMode(dc, MM_TEXT);
            mp.Rect = TRect{0, 0, std::max<LONG>(1, pt[1].X - pt[0].X), std::max<LONG>(1, pt[1].Y - pt[0].Y)};
            mp.CheckHeight = true;
            mp.Printing = true;
            mp.ResFactor = MarkupFactor;
            mp.Images = Grid->GridImages();
            mp.ImageCache = Grid->ImageCache();
            mp.Container = Grid->PictureContainer();
            VurHTMLE::RenderMarkup(mp);
            const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
            h = Integer(std::lround(mp.YSize * 96.0 / (ppi > 0 ? ppi : 96)));
            SetMapMode(dc, oldMode == 0 ? MM_LOMETRIC : oldMode);
        }
    } else if (tl->Count() > 1 && PS->Title() != ppNone) {
        if (AtBottom(PS->Title())) {
            Canvas->Font()->Assign(PS->FooterFont());
            Canvas->Font()->SetHeight(Grid->MapFontHeight(PS->FooterFont()->Size()));
        }
        h = (tl->Count() - 1) * Canvas->TextHeight(L"gh");
    }
    Canvas->Font()->Assign(&saved);
    return h;
}

void TGridPrintPass::CalcHeaderFooterHeights()
{
    const Integer hs = Integer(std::lround(PS->HeaderSize() * g));
    const Integer fs = Integer(std::lround(PS->FooterSize() * g));
    TStringList* tl = PS->TitleLines();
    const bool top = AtTop(PS->Time()) || AtTop(PS->Date()) || AtTop(PS->PageNr()) || AtTop(PS->Title());
    if (top) {
        F = Gap + HeaderLine + hs;
        if (tl->Count() > 0 && AtTop(PS->Title())) {
            // Measured alike in every pass, so that counting and drawing
            // paginate the same.
            const Integer h = MeasureTitleHeight();
            if (h != 0) F += h + hs;
            else F += (tl->Count() - 1) * HeaderLine;
        }
    } else
        F = hs;
    const bool bottom =
        AtBottom(PS->Time()) || AtBottom(PS->Date()) || AtBottom(PS->PageNr()) || AtBottom(PS->Title());
    if (bottom) {
        Hf = 2 * (Gap + FooterLine) + fs;
        if (tl->Count() > 0 && AtBottom(PS->Title())) Hf += (tl->Count() - 1) * FooterLine;
    } else
        Hf = Gap + FooterLine + fs;
}

// ---------------------------------------------------------------------------
// The pass

Integer TGridPrintPass::Run()
{
    TVodStringGrid* G = Grid;
    HDC dc = Canvas->Handle();
    const Integer all = G->AllColCount() + 1;
    G->Indents.assign(std::max<Integer>(all, 1), 0);
    G->MaxWidths.assign(std::max<Integer>(all, 1), 0);
    TGridRect& R = G->FPrintRect;
    // A range outside the grid's columns is cut to them.
    R.Left = std::max(0, R.Left);
    R.Right = std::min(R.Right, G->ColCount() - 1);
    R.Top = std::max(0, R.Top);
    R.Bottom = std::min(R.Bottom, G->RowCount() - 1);

    // Markup is laid out in device pixels, scaled from the screen's.
    const int oldMode = SetMapMode(dc, MM_TEXT);
    (void)oldMode;
    {
        const int cp = GetDeviceCaps(dc, LOGPIXELSX), sp = GetDeviceCaps(ScreenDC, LOGPIXELSX);
        MarkupFactor = cp > 0 && sp > 0 ? double(cp) / sp : 1.0;
    }
    SetMapMode(dc, MM_LOMETRIC);
    G->Fontscalefactor = 1.0;
    SavedFont = std::make_unique<TFont>();
    SavedFont->Assign(Canvas->Font());
    SavedFont2 = std::make_unique<TFont>();
    SavedPen = std::make_unique<TPen>();
    SavedPen->Assign(Canvas->Pen());
    SavedBrush = std::make_unique<TBrush>();
    SavedBrush->Assign(Canvas->Brush());
    SavedBrush2 = std::make_unique<TBrush>();

    Canvas->Pen()->SetColor(clBlack);
    Canvas->Pen()->SetStyle(PS->BorderStyle());
    Canvas->Pen()->SetWidth(PS->Borders() == pbDouble ? 10 : 2);

    Canvas->Font()->Assign(PS->HeaderFont());
    Canvas->Font()->SetHeight(G->MapFontHeight(PS->HeaderFont()->Size()));
    HeaderLine = Canvas->TextHeight(L"gh");
    Canvas->Font()->Assign(PS->FooterFont());
    Canvas->Font()->SetHeight(G->MapFontHeight(PS->FooterFont()->Size()));
    FooterLine = Canvas->TextHeight(L"gh");
    Canvas->Font()->Assign(PS->Font());
    Canvas->Font()->SetHeight(G->MapFontHeight(PS->Font()->Size()));

    Gap = ScreenCanvas->TextHeight(L"gh") >> 3;
    TextIndent = Canvas->TextWidth(L"g") / 2;

    switch (Pass) {
    case TVodStringGrid::prPrint: {
        RECT box{0, 0, 0, 0};
        GetClipBox(dc, &box);
        W = box.Right - box.Left;
        P = -box.Bottom;
        break;
    }
    case TVodStringGrid::prCountForPrint:
        W = G->PrevRect.Right - G->PrevRect.Left;
        P = G->PrevRect.Bottom + G->PrevRect.Top;
        break;
    default: {
        POINT pt[2] = {{G->PrevRect.Left, G->PrevRect.Top}, {G->PrevRect.Right, G->PrevRect.Bottom}};
        DPtoLP(dc, pt, 2);
        W = pt[1].X - pt[0].X;
        P = pt[0].Y - pt[1].Y;
        break;
    }
    }
    G->FPrintPageRect = TRect{0, 0, W, -P};
    S = PS->UseFixedWidth() ? 0 : PS->ColumnSpacing() + 20;

    g = 1.0;
    CalcPrintColWidths();
    auto& mw = G->MaxWidths;
    auto& ind = G->Indents;

    if (PS->FitToPage() != fpNever && R.Left <= R.Right) {
        Int64 sum = 0;
        for (Integer j = R.Left; j <= R.Right; ++j)
            if (PrintColSelected(j)) sum += mw[j] + S;
        const Int64 o = Int64(R.Right - R.Left + 1) * S;
        if (sum != o) g = double(W - PS->RightSize() - PS->LeftSize() - o) / double(sum - o);
        if (PS->FitToPage() == fpShrink && g > 1) g = 1;
        if (PS->FitToPage() == fpGrow && g < 1) g = 1;
        if (PS->FitToPage() == fpCustom && g != 1) {
            bool allow = true;
            if (G->OnFitToPage) G->OnFitToPage(G, g, allow);
            if (!allow) g = 1;
        }
        if (g != 1) {
            for (Integer j = 0; j < Integer(mw.size()); ++j) mw[j] = Integer(std::trunc(mw[j] * g));
            HeaderLine = Integer(std::lround(HeaderLine * g));
        }
    }
    if (G->OnPrintSetColumnWidth)
        for (Integer j = R.Left; j <= R.Right; ++j) G->OnPrintSetColumnWidth(G, j, mw[j]);

    const TGridExportState kind =
        G->FixedRows() >= R.Top && R.Bottom >= G->RowCount() - 1 - G->FixedFooters() ? esExportNewRow : esExportSelRow;
    const Integer fixedCols = std::min(G->FixedCols(), Integer(mw.size()) - 1);

    Integer u = R.Left, last = R.Left;
    Page = 0;
    Band = 0;
    while (last <= R.Right && !Stop) {
        ++Band;
        PageInBand = 0;
        FixedPartWidth = 0;
        RepeatCols = fixedCols >= 1 && PS->RepeatFixedCols() && (R.Left < u || fixedCols < R.Left) && fixedCols <= u;
        if (RepeatCols)
            for (Integer i = 0; i < fixedCols; ++i) FixedPartWidth += mw[i] + S;
        const Integer limit = W - PS->RightSize();
        Integer D = FixedPartWidth;
        while (D <= limit && last <= R.Right) {
            if (PrintColSelected(last)) D += mw[last] + S;
            if (D <= limit) ++last;
        }
        if (D > limit) {
            if (PrintColSelected(last)) D -= mw[last] + S;
            --last;
        }
        if (last <= u) last = u + 1;
        if (last > R.Right) last = R.Right;
        if (last < R.Right) SeveralBands = true;

        G->FPrintPageWidth = D;
        const Integer left0 = PS->Centered() ? 0 : PS->LeftSize();
        ind[u] = left0;
        ind[0] = left0;
        for (Integer j = u; j <= last; ++j) ind[j + 1] = ind[j] + (PrintColSelected(j) ? mw[j] + S : 0);
        G->FPrintColStart = u;
        G->FPrintColEnd = last;
        if (RepeatCols)
            for (Integer j = 1; j <= fixedCols && j < u; ++j) ind[j] = ind[j - 1] + mw[j - 1] + S;
        if (PS->Centered() && D < W) {
            const Integer shift = (W - D) / 2;
            for (Integer j = u; j <= last + 1; ++j) ind[j] += shift;
            if (RepeatCols)
                for (Integer j = 0; j <= fixedCols && j < u; ++j) ind[j] += shift;
        }
        for (Integer j = u; j <= last + 1; ++j) ind[j] += FixedPartWidth;
        BandFirst = u;
        BandLast = last;

        CalcHeaderFooterHeights();
        Integer k = R.Top;
        if (DrawingPass()) AnnouncePage(Page + 1);

        Integer l = 0, lastBreak = -1;
        auto printCols = [&](Integer row) {
            if (RepeatCols) PrintRow(Cursor, 0, fixedCols - 1, row);
            Cursor += PrintRow(Cursor, u, last, row);
        };
        while (true) {
            if (k > R.Bottom || Stop) break;
            G->ExportNotification(kind, k);
            if (l == 0) {
                Cursor = F;
                PrintHeaderFooter();
                Cursor += Integer(std::lround(PS->TitleSpacing() * g));
            }
            if (l == 0 && k > 0 && (Page > 0 || R.Top >= G->FixedRows()) && PS->RepeatFixedRows() &&
                G->FixedRows() > 0) {
                for (Integer fr = 0; fr < G->FixedRows() && fr < k; ++fr) printCols(fr);
                ++l;
            }
            if (PrintRowSelected(k)) printCols(k);
            ++k;
            const Integer K = k < G->RowCount() ? PrintRowHeight(k) : 0;
            ++l;
            bool newPage = false;
            if (G->OnPrintNewPage) G->OnPrintNewPage(G, k, newPage);
            // A break asked for after the last row would only add an empty page.
            if (k > R.Bottom) newPage = false;
            const bool full = k <= R.Bottom && Cursor + K > P - Hf;
            if (DrawingPass() && (k > R.Bottom || full || newPage)) {
                if (G->OnPrintPageDone) G->OnPrintPageDone(G, Canvas, k, -Cursor, Page + 1, W, -P);
                if (G->OnPrintCancel) G->OnPrintCancel(G, Page + 1, Stop);
            }
            // A cancelled print starts no further sheet.
            if ((full || newPage) && !Stop) {
                PrintPageBorders(u, last, Cursor);
                lastBreak = k;
                l = 0;
                PrintNewPage();
                // Once the last page to draw is done, the rest need no layout.
                if (G->FFastPrint && Page + 1 >= G->FPrintPageTo) {
                    k = R.Bottom + 1;
                    lastBreak = k;
                    Stop = true;
                    break;
                }
                ++Page;
                ++PageInBand;
                CalcHeaderFooterHeights();
            }
        }
        if (lastBreak != k) PrintPageBorders(u, last, Cursor);
        u = last = last + 1;
        if (last <= R.Right && !Stop) PrintNewPage();
        ++Page;
    }

    Canvas->Font()->Assign(SavedFont.get());
    Canvas->Pen()->Assign(SavedPen.get());
    Canvas->Brush()->Assign(SavedBrush.get());
    G->Fontscalefactor = 1.0;
    if (G->OnPrintDone) G->OnPrintDone(G);
    return Page;
}
