// Printing: what a drawing pass puts on a page. Rows of a band with their
// backgrounds, texts, graphics and borders; the page header and footer; the
// lines that close a page; the start of the next sheet.
#include <algorithm>
#include <cmath>

#include "controls/dropdown/DropDownButton.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridPrintPass.h"
#include "controls/grid/VodObj.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/gfx/Printer.h"
#include "platform/ui/RichEdit.h"

namespace {

bool AtTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool AtLeft(TPrintPosition p) { return p == ppTopLeft || p == ppBottomLeft; }

bool IsCheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

// A rectangle of the 0.1 mm mode in the pixels of the text mode on the same
// canvas (the origins stay: a preview's page may sit anywhere on it), top
// above bottom.
TRect TextModeRect(HDC dc, const TRect& R)
{
    POINT pt[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    LPtoDP(dc, pt, 2);
    POINT vp{0, 0}, wo{0, 0};
    GetViewportOrgEx(dc, &vp);
    GetWindowOrgEx(dc, &wo);
    const Integer dx = wo.X - vp.X, dy = wo.Y - vp.Y;
    return TRect{std::min(pt[0].X, pt[1].X) + dx, std::min(pt[0].Y, pt[1].Y) + dy, std::max(pt[0].X, pt[1].X) + dx,
                 std::max(pt[0].Y, pt[1].Y) + dy};
}

// An opaque bitmap of w x h filled with Color (white for no colour).
void PrepareBitmap(TBitmap& B, Integer W, Integer H, TColor Color)
{
    B.SetPixelFormat(pf24bit);
    B.SetSize(std::max(1, W), std::max(1, H));
    B.Canvas()->Brush()->SetStyle(bsSolid);
    B.Canvas()->Brush()->SetColor(Color == clNone ? clWhite : Color);
    B.Canvas()->FillRect(TRect{0, 0, B.Width(), B.Height()});
}

}  // namespace

String JoinWithBlank(const String& A, const String& B)
{
    if (B.empty()) return A;
    if (A.empty()) return B;
    return A + L" " + B;
}

void PrintBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, DWORD Rop)
{
    if (!Canvas || !Bitmap || Bitmap->Width() <= 0 || Bitmap->Height() <= 0) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(size_t(w) * size_t(h));
    HDC sdc = CreateCompatibleDC(nullptr);
    GetDIBits(sdc, Bitmap->Handle(), 0, UINT(h), bits.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(sdc);
    StretchDIBits(Canvas->Handle(), Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, 0, 0, w, h,
                  bits.data(), &bi, DIB_RGB_COLORS, Rop);
}

Integer PrinterOrientationAngle() { return Printer()->OrientationAngle(); }

void PlaceRotatedText(TRect& Rect, TAlignment HAlign, TVAlignment VAlign, Integer a, Integer b, Integer c, Integer d,
                      Integer Angle)
{
    Integer ax, ay;
    if (Angle <= 90) { ax = 0; ay = b; }
    else if (Angle <= 180) { ax = d; ay = a + b; }
    else if (Angle <= 270) { ax = c + d; ay = a; }
    else { ax = c; ay = 0; }
    const Integer bw = c + d, bh = a + b;
    Integer x, y;
    switch (HAlign) {
    case taRightJustify: x = Rect.Right - bw; break;
    case taCenter: x = Rect.Left + (Rect.Right - Rect.Left - bw) / 2; break;
    default: x = Rect.Left; break;
    }
    switch (VAlign) {
    case vtaBottom: y = Rect.Bottom - bh; break;
    case vtaCenter: y = Rect.Top + (Rect.Bottom - Rect.Top - bh) / 2; break;
    default: y = Rect.Top; break;
    }
    Rect.Left = x + ax;
    Rect.Top = y + ay;
}

void TVodStringGrid::PlaceRotatedCellText(TRect& Rect, TSize& Size, TVAlignment VAlign, TAlignment HAlign,
                                          const String& Text, Integer Angle)
{
    Size = Canvas()->TextExtent(Text + L"w");
    InflateRect(Rect, -2, -2);
    const double t = Angle * M_PI / 180.0;
    const Integer a = std::abs(Integer(std::trunc(Size.cy * std::cos(t))));
    const Integer b = std::abs(Integer(std::trunc(Size.cx * std::sin(t))));
    const Integer c = std::abs(Integer(std::trunc(Size.cy * std::sin(t))));
    const Integer d = std::abs(Integer(std::trunc(Size.cx * std::cos(t))));
    PlaceRotatedText(Rect, HAlign, VAlign, a, b, c, d, Angle);
}

// ---------------------------------------------------------------------------
// Pages

void TGridPrintPass::AnnouncePage(Integer PageNr)
{
    if (PageNr == LastAnnounced) return;
    LastAnnounced = PageNr;
    if (Grid->OnPrintPage) Grid->OnPrintPage(Grid, Canvas, PageNr, W, -P);
}

void TGridPrintPass::PrintNewPage()
{
    const Integer n = Page + 2;
    if (n < Grid->FPrintPageFrom || n > Grid->FPrintPageTo) return;
    if (Pass == TVodStringGrid::prPrint && Page + 1 >= Grid->FPrintPageFrom) {
        TPrinter* pr = Printer();
        if (pr->Printing() && pr->Canvas() == Canvas) pr->NewPage();
    }
    SetMapMode(Canvas->Handle(), MM_LOMETRIC);
    if (DrawingPass()) AnnouncePage(n);
}

String TGridPrintPass::PrintPageNumText()
{
    String s;
    if (SeveralBands) {
        s = IntToStr(PageInBand + 1) + L"-" + IntToStr(Band);
        Grid->PrintGetPageNum(PageInBand + 1, Band, s);
        return s;
    }
    s = IntToStr(Page + PS->PageNumberOffset() + 1);
    // A FastPrint print does not know its total.
    if (!PS->PageNumSep().empty() && TotalPages > 1 && !Grid->FFastPrint)
        s += PS->PageNumSep() + IntToStr(TotalPages + PS->MaxPagesOffset());
    Grid->PrintGetPageNum(Page + 1, Band, s);
    return s;
}

void TGridPrintPass::PrintPageBorders(Integer FirstCol, Integer LastCol, Integer Y)
{
    if (!PageDrawn()) return;
    const auto& ind = Grid->Indents;
    const Integer x0 = RepeatCols ? ind[0] : ind[FirstCol];
    const Integer x1 = ind[LastCol + 1];
    const Integer T = -(F + Integer(std::lround(PS->TitleSpacing() * g)));
    const Integer B = -Y + Gap / 2;
    const TPrintBorders b = PS->Borders();
    if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal)
        Canvas->Polyline({TPoint{x0, T}, TPoint{x1, T}, TPoint{x1, B}, TPoint{x0, B}, TPoint{x0, T}});
    if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        Canvas->MoveTo(x0, B);
        Canvas->LineTo(x1, B);
    }
    if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && RepeatCols)
        for (Integer i = 0; i < Grid->FixedCols() && i < Integer(ind.size()); ++i) {
            Canvas->MoveTo(ind[i], T);
            Canvas->LineTo(ind[i], B);
        }
}

// ---------------------------------------------------------------------------
// Header and footer

Integer TGridPrintPass::PrintHeaderFooter()
{
    if (!PageDrawn()) return 0;
    Grid->Fontscalefactor = g;
    String t[7];
    String markupTitle;
    bool titleTop = true;
    auto add = [&](TPrintPosition p, const String& item) {
        if (p == ppNone) return;
        if (AtLeft(p)) t[p] = item + L" " + t[p];
        else t[p] = t[p] + L" " + item;
    };
    const TDateTime now = Now();
    add(PS->Time(), FormatDateTime(L"hh:nn", now));
    add(PS->Date(), FormatDateTime(PS->DateFormat(), now));
    add(PS->PageNr(), JoinWithBlank(JoinWithBlank(PS->PagePrefix(), PrintPageNumText()), PS->PageSuffix()));
    TStringList* tl = PS->TitleLines();
    if (!PS->TitleText().empty()) add(PS->Title(), PS->TitleText());
    else if (tl->Count() > 0 && DetectTextMarkup(tl->Text(), true) == tkMarkup) {
        if (PS->Title() != ppNone) {
            for (Integer i = 0; i < tl->Count(); ++i) markupTitle += tl->Strings(i);
            titleTop = AtTop(PS->Title());
        }
    } else if (tl->Count() > 0 && PS->Title() != ppNone) {
        const TPrintPosition p = PS->Title();
        t[p] = AtLeft(p) ? JoinWithBlank(tl->Strings(0), t[p]) : JoinWithBlank(t[p], tl->Strings(0));
    }

    TFont savedFont;
    savedFont.Assign(Canvas->Font());
    TBrush savedBrush;
    savedBrush.Assign(Canvas->Brush());
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->Assign(PS->HeaderFont());
    Canvas->Font()->SetHeight(Grid->MapFontHeight(PS->HeaderFont()->Size()));

    const Integer hs = Integer(std::lround(PS->HeaderSize() * g));
    const Integer fs = Integer(std::lround(PS->FooterSize() * g));
    auto xLeft = [&](const String&) { return PS->LeftSize(); };
    auto xRight = [&](const String& s) { return W - Canvas->TextWidth(s) - PS->RightSize() - 20; };
    auto xCenter = [&](const String& s) { return (W - Canvas->TextWidth(s)) / 2; };
    auto xFor = [&](TPrintPosition p, const String& s) {
        if (AtLeft(p)) return xLeft(s);
        if (p == ppTopRight || p == ppBottomRight) return xRight(s);
        return xCenter(s);
    };
    Integer result = 0;
    const bool plainTitleLines = PS->TitleText().empty() && markupTitle.empty() && tl->Count() > 1;

    // Header line.
    for (TPrintPosition p : {ppTopLeft, ppTopRight, ppTopCenter})
        if (!t[p].empty()) Canvas->TextOut(xFor(p, t[p]), -hs, t[p]);
    if (plainTitleLines && AtTop(PS->Title())) {
        const Integer th = Canvas->TextHeight(L"gh");
        for (Integer i = 1; i < tl->Count(); ++i) {
            const String& line = tl->Strings(i);
            Canvas->TextOut(xFor(PS->Title(), line), -(hs + i * th), line);
            result += th;
        }
    }
    auto drawMarkup = [&](TRect lr, bool measure) -> Integer {
        HDC dc = Canvas->Handle();
        POINT pt[2] = {{lr.Left, lr.Top}, {lr.Right, lr.Bottom}};
        LPtoDP(dc, pt, 2);
        const int oldMode = SetMapMode(dc, MM_TEXT);
        const Integer size = PS->HeaderFont()->Size();
        Canvas->Font()->Assign(PS->HeaderFont());
        Canvas->Font()->SetSize(size);
        TMarkupParams mp;
        mp.Canvas = Canvas;
        mp.Text = markupTitle;
        mp.Rect = TRect{pt[0].X, pt[0].Y, pt[1].X, pt[1].Y};
        mp.CheckHeight = measure;
        mp.Printing = true;
        mp.ResFactor = MarkupFactor;
        mp.Images = Grid->GridImages();
        mp.ImageCache = Grid->ImageCache();
        mp.Container = Grid->PictureContainer();
        mp.URLColor = Grid->URLColor();
        VurHTMLE::RenderMarkup(mp);
        SetMapMode(dc, oldMode);
        return mp.YSize;
    };
    if (!markupTitle.empty() && titleTop) {
        const Integer h = MeasureTitleHeight();
        result += h;
        drawMarkup(TRect{PS->LeftSize(), -hs, W - PS->RightSize() - 20, -hs - std::max(h, 1)}, false);
        Canvas->Font()->Assign(PS->HeaderFont());
        Canvas->Font()->SetHeight(Grid->MapFontHeight(PS->HeaderFont()->Size()));
    }

    // Footer line.
    Canvas->Font()->Assign(PS->FooterFont());
    Canvas->Font()->SetHeight(Grid->MapFontHeight(PS->FooterFont()->Size()));
    const Integer fy = P - (fs + Gap + FooterLine);
    for (TPrintPosition p : {ppBottomLeft, ppBottomRight, ppBottomCenter})
        if (!t[p].empty()) Canvas->TextOut(xFor(p, t[p]), -fy, t[p]);
    if (plainTitleLines && PS->Title() != ppNone && !AtTop(PS->Title())) {
        const Integer th = Canvas->TextHeight(L"gh");
        for (Integer i = 1; i < tl->Count(); ++i) {
            const String& line = tl->Strings(i);
            Canvas->TextOut(xFor(PS->Title(), line), -(fy + i * th), line);
            result += th;
        }
    }
    if (!markupTitle.empty() && !titleTop) {
        const Integer h = drawMarkup(TRect{PS->LeftSize(), -(P - PS->FooterSize()), W, -P}, false);
        const int ppi = GetDeviceCaps(Canvas->Handle(), LOGPIXELSY);
        result += Integer(std::lround(h * 96.0 / (ppi > 0 ? ppi : 96)));
    }
    Canvas->Font()->Assign(&savedFont);
    Canvas->Brush()->Assign(&savedBrush);
    return result;
}

// ---------------------------------------------------------------------------
// Rows

Integer TGridPrintPass::PrintRow(Integer Y, Integer FirstCol, Integer LastCol, Integer ARow)
{
    const Integer A = RowAdvance(ARow);
    if (!PageDrawn() || ARow < 0 || ARow >= Grid->RowCount()) {
        Grid->Fontscalefactor = 1.0;
        return A;
    }
    TVodStringGrid* G = Grid;
    G->Fontscalefactor = PS->NoAutoSizeRow() ? 1.0 : g;
    HDC dc = Canvas->Handle();
    const auto& mw = G->MaxWidths;
    const auto& ind = G->Indents;
    const Integer bandRight = ind[std::min<Integer>(BandLast + 1, Integer(ind.size()) - 1)];

    for (Integer j = FirstCol; j <= LastCol && j + 1 < Integer(ind.size()); ++j) {
        if (!PrintColSelected(j)) continue;
        const Integer c = G->RealColIndex(j);
        const TPoint span = G->CellSpan(c, ARow);
        const Integer sx = std::max(0, span.X), sy = std::max(0, span.Y);
        Integer C = 0;
        for (Integer i = j; i <= j + sx && i < Integer(mw.size()); ++i) C += mw[i] + S;
        Integer E;
        if (PS->NoAutoSizeRow())
            E = sy == 0 ? A : (sy + 1) * (ScreenToPrint(G->RowHeights(ARow)) + 2 * Gap + PS->RowSpacing() - 4);
        else
            E = (sy + 1) * A;

        TPen savedPen;
        savedPen.Assign(Canvas->Pen());
        TCellBorders flags;
        switch (PS->Borders()) {
        case pbSingle:
        case pbDouble: flags = TCellBorders{cbTop, cbLeft, cbRight, cbBottom}; break;
        case pbHorizontal:
        case pbAroundHorizontal: flags = TCellBorders{cbTop, cbBottom}; break;
        case pbVertical:
        case pbAroundVertical: flags = TCellBorders{cbLeft, cbRight}; break;
        default: break;
        }
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(PS->BorderColor());
        G->GetCellPrintBorder(c, ARow, Canvas->Pen(), flags);
        const Integer penW = std::max(1, Canvas->Pen()->Width());
        const TColor penColor = Canvas->Pen()->Color();

        const bool isBase = !G->IsMergedNonBaseCell(c, ARow);
        const Integer left = ind[j];
        if (isBase) {
            TBrush savedBrush;
            savedBrush.Assign(Canvas->Brush());
            TFont savedFont;
            savedFont.Assign(Canvas->Font());
            TBrush brush;
            brush.Assign(Canvas->Brush());
            TFont font;
            font.Assign(Canvas->Font());
            font.SetSize(G->Font()->Size());
            TGridDrawState state;
            TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
            TAlignment ha = taLeftJustify;
            TVAlignment va = vtaTop;
            bool ww = G->WordWrap();
            TCellGradientDirection gd = GradientVertical;
            G->GetVisualProperties(c, ARow, state, true, false, false, &brush, colorTo, mirror, mirrorTo, &font, ha, va,
                                   ww, gd);
            Canvas->Brush()->Assign(&brush);
            Canvas->Font()->Assign(&font);
            Canvas->Font()->SetHeight(G->MapFontHeight(font.Size()));

            ww = G->WordWrap();
            G->GetCellWordWrap(c, ARow, ww);
            String s = G->IsDataCell(c, ARow) ? String() : G->GetFormattedCell(c, ARow);
            const Byte kind = DetectTextMarkup(s, G->EnableHTML());
            if (kind == tkFormula) s = G->GetCellContent(c, ARow);
            bool pwd = false;
            G->IsPasswordCell(c, ARow, pwd);
            if (pwd) s = String(s.size(), G->PasswordChar());

            // Background.
            TRect bg{left, -Y, left + C, -Y - E};
            if (!flags.Contains(cbLeft)) bg.Left += 2 * penW;
            if (!flags.Contains(cbTop)) bg.Top -= 2 * penW;
            if (brush.Color() != clNone) {
                Canvas->Pen()->SetColor(brush.Color());
                Canvas->Pen()->SetStyle(psSolid);
                // From ColorTo at the bottom (the y axis points up) to the
                // brush at the top, as on the screen; without ColorTo one
                // solid fill.
                DrawGradient(Canvas, colorTo, brush.Color(), 64, bg, false);
                Canvas->Pen()->Assign(&savedPen);
                Canvas->Brush()->Assign(&brush);
            }

            // Text area and graphic.
            const Integer L = (Canvas->TextHeight(L"gh") + PS->RowSpacing()) +
                              (Canvas->TextHeight(L"gh") + PS->RowSpacing()) / 8;
            const bool multi = G->Multilinecells() || ww;
            std::vector<String> lines;
            {
                String rest = kind == tkRichText ? String() : s;
                if (kind != tkMarkup && kind != tkRichText) {
                    while (true) {
                        lines.push_back(multi ? CutFirstLine(rest, true) : rest);
                        if (!multi || rest.empty()) break;
                    }
                }
            }
            Integer angle = 0;
            const bool rotated = G->IsRotated(c, ARow, angle);
            if (rotated) {
                Integer k = -10;
                if (Pass != TVodStringGrid::prPreview && G->FPrinterdriverfix)
                    k = PrinterOrientationAngle() == 270 ? -10 : 10;
                Canvas->Font()->SetOrientation(angle * k);
            }
            TRect tr{left, -Y, left + C, -Y - E};
            TRect gr{0, 0, 0, 0};
            TCellGraphic* cg = PS->PrintGraphics() ? G->GetCellGraphic(c, ARow) : nullptr;
            if (cg && cg->CellType() != ctNone && cg->CellType() != ctRotated && cg->CellType() != ctEmpty) {
                // Bitmaps, pictures and interface graphics with an angle set
                // give their size for paper already.
                const TPoint m = MeasureGraphic(c, ARow);
                const TCellType gt = cg->CellType();
                const bool paperSize = cg->CellAngle() != 0 && (gt == ctBitmap || gt == ctPicture ||
                                                                gt == ctFilePicture || gt == ctInterface);
                const TSize gs = paperSize ? TSize{m.X, m.Y} : TSize{ScreenToPrint(m.X), ScreenToPrint(m.Y)};
                if (cg->CellType() == ctRadio) s.clear();
                TCellHAlign gha = cg->CellHAlign();
                const bool checkLike = IsCheckKind(cg->CellType()) || cg->CellType() == ctRadioButton;
                if (checkLike && s.empty())
                    gha = ha == taRightJustify ? haRight : ha == taCenter ? haCenter : haLeft;
                switch (gha) {
                case haLeft:
                case haBeforeText:
                    gr.Left = left + ScreenToPrint(1);
                    gr.Right = gr.Left + gs.cx;
                    tr.Left = gr.Right;
                    break;
                case haRight:
                case haAfterText:
                    gr.Right = left + C;
                    gr.Left = gr.Right - gs.cx;
                    tr.Right = gr.Left;
                    break;
                case haCenter:
                    gr.Left = left + (C - gs.cx) / 2;
                    gr.Right = gr.Left + gs.cx;
                    break;
                case haFull:
                    gr.Left = left;
                    gr.Right = left + C;
                    break;
                }
                switch (cg->CellVAlign()) {
                case vaTop:
                    gr.Top = -Y;
                    gr.Bottom = -Y - gs.cy;
                    break;
                case vaBottom:
                    gr.Bottom = -Y - E;
                    gr.Top = gr.Bottom + gs.cy;
                    break;
                case vaCenter:
                    gr.Top = -Y - (E - gs.cy) / 2;
                    gr.Bottom = gr.Top - gs.cy;
                    break;
                case vaUnderText:
                    gr.Bottom = -Y - E;
                    gr.Top = gr.Bottom + gs.cy;
                    tr.Bottom += gs.cy;
                    break;
                case vaAboveText:
                    gr.Top = -Y;
                    gr.Bottom = -Y - gs.cy;
                    tr.Top -= gs.cy;
                    break;
                case vaFull:
                    gr.Top = -Y;
                    gr.Bottom = -Y - E;
                    break;
                }
            } else
                cg = cg && cg->CellType() == ctNone && !cg->CellComment().empty() ? cg : nullptr;

            // Text.
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->RequireState();
            const Integer right = std::min<Integer>(tr.Right, tr.Right > W ? bandRight : tr.Right);
            if (kind == tkMarkup) {
                const TRect d =
                    TextModeRect(dc, TRect{tr.Left, tr.Top, right - TextIndent - ScreenToPrint(2), tr.Bottom});
                const int oldMode = SetMapMode(dc, MM_TEXT);
                const Integer size = font.Size();
                Canvas->Font()->SetSize(Integer(std::trunc(size * g)));
                TMarkupParams mp;
                mp.Canvas = Canvas;
                mp.Text = s;
                mp.Rect = TRect{d.Left, d.Top + Integer(std::lround(Gap * GScreen)), d.Right, d.Bottom};
                mp.Images = G->GridImages();
                mp.ImageCache = G->ImageCache();
                mp.Container = G->PictureContainer();
                mp.URLColor = G->URLColor();
                mp.ShadowColor = clGray;
                mp.ResFactor = MarkupFactor;
                mp.Printing = true;
                mp.WordWrap = !G->EnhTextSize();
                VurHTMLE::RenderMarkup(mp);
                SetMapMode(dc, oldMode);
                Canvas->Font()->SetHeight(G->MapFontHeight(size));
                Canvas->RequireState();
            } else if (kind == tkRichText) {
                // The grid's hidden rich edit renders the cell; a grid without
                // a parent has none, and its plain text prints instead.
                TCustomRichEdit* rich = G->CellRichEdit();
                if (rich && !rich->HandleAllocated()) rich->HandleNeeded();
                if (rich && rich->HandleAllocated()) {
                    G->DrawRichTextCell(c, ARow, TRect{tr.Left, tr.Top, right, tr.Bottom}, Canvas);
                    SetMapMode(dc, MM_LOMETRIC);
                } else {
                    RECT r{tr.Left + TextIndent, tr.Top - Gap, right, tr.Bottom};
                    DrawTextStr(dc, RichPlainText(s), &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
                }
            } else if (ww && PS->NoAutoSize() && !rotated) {
                RECT r{tr.Left + 2, tr.Top, right, tr.Bottom};
                UINT fl = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
                if (ha == taRightJustify) {
                    fl |= DT_RIGHT;
                    r.Right -= TextIndent;
                } else if (ha == taCenter) {
                    fl |= DT_CENTER;
                    r.Left += TextIndent;
                    r.Right -= TextIndent;
                } else
                    r.Left += TextIndent;
                if (G->UseRightToLeftAlignment()) fl |= DT_RTLREADING;
                DrawTextStr(dc, s, &r, fl);
            } else if (lines.size() <= 1 || (rotated && angle == 90)) {
                String line = lines.empty() ? String() : lines[0];
                if (G->URLShow() && !G->URLFull()) StripURLProtocol(line);
                TRect r{tr.Left, tr.Top, right, tr.Top - A - PS->RowSpacing()};
                if (sy > 0) r.Bottom = tr.Bottom;
                if (rotated || (G->EnhTextSize() && PS->NoAutoSize())) {
                    if (rotated) {
                        r.Top -= TextIndent;
                        r.Bottom += TextIndent;
                        const TSize ext = Canvas->TextExtent(line);
                        const double t = angle * M_PI / 180.0;
                        const Integer a = std::abs(Integer(std::trunc(ext.cy * std::cos(t))));
                        const Integer b = std::abs(Integer(std::trunc(ext.cx * std::sin(t))));
                        const Integer cc = std::abs(Integer(std::trunc(ext.cy * std::sin(t))));
                        const Integer d = std::abs(Integer(std::trunc(ext.cx * std::cos(t))));
                        TRect at = r;
                        PlaceRotatedText(at, ha, va, -a, -b, cc, d, angle);
                        Canvas->TextRect(r, at.Left, at.Top, line);
                        if (angle == 90)
                            for (size_t i = 1; i < lines.size(); ++i)
                                Canvas->TextRect(r, at.Left + Integer(i) * ext.cy, at.Top, lines[i]);
                    } else {
                        RECT rr{r.Left + G->XYOffset().X, r.Top - G->XYOffset().Y, r.Right, r.Bottom};
                        UINT fl = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
                        if (ha == taRightJustify) fl |= DT_RIGHT;
                        else if (ha == taCenter) fl |= DT_CENTER;
                        DrawTextStr(dc, line, &rr, fl);
                    }
                } else {
                    RECT rr{r.Left, r.Top - Gap, r.Right, r.Bottom};
                    UINT fl = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
                    if (ha == taRightJustify) {
                        fl |= DT_RIGHT;
                        rr.Right -= TextIndent;
                    } else if (ha == taCenter) {
                        fl |= DT_CENTER;
                        rr.Left += TextIndent;
                        rr.Right -= TextIndent;
                    } else
                        rr.Left += TextIndent;
                    if (va == vtaCenter) fl |= DT_VCENTER;
                    else if (va == vtaBottom) fl |= DT_BOTTOM;
                    DrawTextStr(dc, line, &rr, fl);
                }
            } else {
                const Integer n = Integer(lines.size());
                Integer M = 0;
                if (sy == 0) {
                    if (va == vtaCenter) M = (A - (L - PS->RowSpacing()) * n) / 2;
                    else if (va == vtaBottom) M = A - (L - PS->RowSpacing()) * n;
                }
                Integer top = tr.Top;
                const TRect clip{tr.Left, tr.Top, right, tr.Bottom};
                for (const String& line : lines) {
                    const Integer w = Canvas->TextWidth(line);
                    Integer x;
                    if (ha == taRightJustify) x = right - TextIndent - w;
                    else if (ha == taCenter) x = tr.Left + (right - tr.Left - w) / 2;
                    else x = tr.Left + TextIndent;
                    Canvas->TextRect(clip, x + G->XYOffset().X, top - M - Gap, line);
                    M = 0;
                    top -= L - PS->RowSpacing();
                }
            }

            // Graphic.
            if (cg) {
                Canvas->RequireState();
                const TCellType ct = cg->CellType();
                RECT r{gr.Left, gr.Top, gr.Right, gr.Bottom};
                if (IsCheckKind(ct) || ct == ctRadioButton) {
                    bool checked = false;
                    if (ct == ctRadioButton) checked = cg->CellBoolean();
                    else G->GetCheckBoxState(c, ARow, checked);
                    UINT st = ct == ctRadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
                    if (G->ControlLook()->ControlStyle() == TControlLook::csFlat) st |= DFCS_FLAT;
                    if (checked) st |= DFCS_CHECKED;
                    const Integer dy = Integer(std::lround(G->XYOffset().Y * GScreen));
                    r.Top -= dy;
                    r.Bottom -= dy;
                    DrawFrameControl(dc, &r, DFC_BUTTON, st);
                } else if (ct == ctNone) {
                    if (PS->PrintComments()) {
                        const Integer leg = Integer(std::lround(8 * GScreen));
                        const Integer rx = left + C, ty = -Y;
                        Canvas->Brush()->SetStyle(bsSolid);
                        Canvas->Brush()->SetColor(clRed);
                        Canvas->Pen()->SetColor(clRed);
                        Canvas->Polygon({TPoint{rx - leg, ty}, TPoint{rx, ty}, TPoint{rx, ty - leg}});
                    }
                } else if (ct == ctNode) {
                    const Integer cx = (gr.Left + gr.Right) / 2, cy = (gr.Top + gr.Bottom) / 2;
                    Canvas->Pen()->SetColor(G->CellNode()->NodeColor());
                    Canvas->Pen()->SetWidth(2);
                    Canvas->Brush()->SetStyle(bsClear);
                    Canvas->Rectangle(cx - 10, cy + 10, cx + 10, cy - 10);
                    Canvas->MoveTo(cx - 9, cy);
                    Canvas->LineTo(cx + 9, cy);
                    if (cg->CellBoolean()) {
                        Canvas->MoveTo(cx, cy + 9);
                        Canvas->LineTo(cx, cy - 9);
                    }
                } else if (ct == ctProgress) {
                    TRect pr{gr.Left, gr.Top + Integer(std::lround(2 * GScreen)), left + C,
                             gr.Bottom - Integer(std::lround(4 * GScreen))};
                    const TColor fg = cg->CellBitmapColor(), bk = cg->CellIconColor();
                    TColor fgText, bkText;
                    if (cg->CellBoolean()) {
                        fgText = TColor(cg->CellIndex());
                        bkText = TColor(cg->CellAngle());
                    } else {
                        fgText = TColor(ColorToRGB(fg) ^ 0xFFFFFF);
                        bkText = TColor(ColorToRGB(bk) ^ 0xFFFFFF);
                    }
                    Integer value = 0;
                    try {
                        value = G->Ints(c, ARow);
                    } catch (const Exception&) {
                    }
                    // Kept inside the cell: a screen row is taller than a printed one.
                    pr.Top = std::min<Integer>(pr.Top, -Y);
                    pr.Bottom = std::max<Integer>(pr.Bottom, -Y - E);
                    TRect nr{pr.Left, pr.Bottom, pr.Right, pr.Top};
                    DrawSimpleProgress(Canvas, nr, fg, fgText, bk, bkText, value, G->ControlLook()->ProgressMarginX(),
                                       G->ControlLook()->ProgressMarginY(), cg->CellErrFrom(), cg->CellErrLen(),
                                       cg->CellText(), G->ControlLook()->ProgressBorderColor(), true);
                } else if (ct == ctProgressPie) {
                    TRect nr{gr.Left, gr.Bottom, gr.Right, gr.Top};
                    DrawProgressPie(Canvas, nr, cg->CellBitmapColor(), Integer(cg->CellValue()), true);
                } else if (ct == ctBitmap) {
                    PrintBitmap(Canvas, gr, cg->Bitmap());
                } else
                    PrintGraphic(cg, c, ARow, gr, brush.Color(), colorTo);
            }
            if (rotated) Canvas->Font()->SetOrientation(0);
            Canvas->Font()->Assign(&savedFont);
            Canvas->Brush()->Assign(&savedBrush);
            if (G->OnCustomCellDraw) CustomCellDraw(c, ARow, TRect{tr.Left, -Y, tr.Right, -Y - A});
        }

        // Borders: a merged area is framed once, by its base cell.
        if (isBase) {
            Canvas->Pen()->SetWidth(penW);
            Canvas->Pen()->SetColor(penColor);
            Canvas->Pen()->SetStyle(savedPen.Style());
            Integer bottom = -Y - E;
            bool bottomLine = flags.Contains(cbBottom);
            if (bottom < -(P - Hf)) {
                bottom = -Y - A;
                bottomLine = false;
            }
            Integer rx = left + C;
            if (rx > W) rx = bandRight;
            const Integer lx = j > FirstCol ? left - penW : left;
            if (flags.Contains(cbLeft)) {
                Canvas->MoveTo(lx, -Y);
                Canvas->LineTo(lx, bottom);
            }
            if (flags.Contains(cbRight)) {
                Canvas->MoveTo(rx, -Y);
                Canvas->LineTo(rx, bottom);
            }
            if (flags.Contains(cbTop)) {
                Canvas->MoveTo(left, -Y);
                Canvas->LineTo(rx, -Y);
            }
            if (bottomLine) {
                Canvas->MoveTo(left, bottom);
                Canvas->LineTo(rx, bottom);
            }
        }
        Canvas->Pen()->Assign(&savedPen);
    }
    G->Fontscalefactor = 1.0;
    return A;
}

// ---------------------------------------------------------------------------
// Graphics drawn through bitmaps, pictures and painters

void TGridPrintPass::PrintGraphic(TCellGraphic* CG, Integer ACol, Integer ARow, const TRect& GR, TColor BrushColor,
                                  TColor ColorTo)
{
    TVodStringGrid* G = Grid;
    HDC dc = Canvas->Handle();
    const TCellType ct = CG->CellType();
    // An image of the grid's image list, at its own print size, from the
    // graphic's left edge (its right edge when the graphic is right-aligned).
    const bool fromRight = CG->CellHAlign() == haRight || CG->CellHAlign() == haAfterText;
    auto printListImage = [&](TCustomImageList* il, Integer idx, Integer x, Integer y) {
        if (!il || idx < 0 || idx >= il->Count()) return;
        TBitmap b;
        PrepareBitmap(b, il->Width(), il->Height(), BrushColor);
        il->Draw(b.Canvas(), 0, 0, idx);
        const Integer w = ScreenToPrint(il->Width()), h = ScreenToPrint(il->Height());
        if (fromRight) x -= w;
        PrintBitmap(Canvas, TRect{x, y, x + w, y - h}, &b);
    };
    const Integer x0 = fromRight ? GR.Right : GR.Left;

    switch (ct) {
    case ctIcon:
        // No raster operations on paper: the icon prints through its alpha.
        if (TIcon* i = CG->CellIcon()) Canvas->StretchDraw(GR, i);
        break;
    case ctImageList: printListImage(G->GetCellImageList(ACol, ARow), CG->CellIndex(), x0, GR.Top); break;
    case ctDataImage:
        printListImage(G->GetCellImageList(ACol, ARow), StrToIntDef(Trim(G->GetCellEx(ACol, ARow)), -1), x0, GR.Top);
        break;
    case ctImages: {
        TCustomImageList* il = G->GetCellImageList(ACol, ARow);
        TIntList* l = CG->ImageList();
        if (!il || !l) break;
        Integer x = x0, y = GR.Top;
        for (Integer i = 0; i < l->Count(); ++i) {
            printListImage(il, l->GetInteger(i), x, y);
            if (CG->CellBoolean()) x += Integer(std::lround(GScreen * il->Width())) * (fromRight ? -1 : 1);
            else y -= Integer(std::lround(il->Height() * GScreen));
        }
        break;
    }
    case ctRadio: {
        auto* items = dynamic_cast<TStrings*>(CG->CellBitmap());
        // Paper takes the frame-control radios (flat when the look is flat),
        // as it does for check boxes.
        const auto style = G->ControlLook()->ControlStyle() == TControlLook::csFlat ? TControlLook::csFlat
                                                                                    : TControlLook::csClassic;
        Canvas->RequireState();
        G->DrawRadioGroup(Canvas, GR, true, GScreen, style, ARow, ACol, false, items, false, CG->CellBoolean(),
                          CG->CellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctPicture: {
        TPicture* p = CG->Picture();
        if (!p || !p->Graphic() || p->Width() <= 0 || p->Height() <= 0) break;
        TBitmap b;
        PrepareBitmap(b, p->Width(), p->Height(), BrushColor);
        const TColor from = BrushColor == clNone ? clWhite : BrushColor;
        DrawSteppedGradient(b.Canvas(), from, ColorTo == clNone ? from : ColorTo,
                            G->BackGround()->Display() == bdGradientHorz, TRect{0, 0, b.Width(), b.Height()}, 128);
        b.Canvas()->Draw(0, 0, p->Graphic());
        Canvas->StretchDraw(GR, &b);
        break;
    }
    case ctFilePicture: {
        TFilePicture* fp = CG->FilePicture();
        if (!fp || fp->Filename().empty() || !FileExists(fp->Filename())) break;
        try {
            TPicture p;
            p.LoadFromFile(fp->Filename());
            if (!p.Graphic() || p.Width() <= 0 || p.Height() <= 0) break;
            TBitmap b;
            PrepareBitmap(b, p.Width(), p.Height(), clWhite);
            b.Canvas()->Draw(0, 0, p.Graphic());
            Canvas->StretchDraw(GR, &b);
        } catch (const Exception&) {
            // A file that does not read prints nothing.
        }
        break;
    }
    case ctButton:
    case ctBitButton: {
        const Integer bw = CG->CellIndex() & 0xFFFF, bh = (CG->CellIndex() >> 16) & 0xFFFF;
        if (bw <= 0 || bh <= 0) break;
        TBitmap b;
        PrepareBitmap(b, bw, bh, clBtnFace);
        RECT r{0, 0, bw, bh};
        DrawFrameControl(b.Canvas()->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
        PrintBitmap(Canvas, GR, &b);
        if (!CG->CellText().empty()) {
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->RequireState();
            RECT tr{GR.Left, GR.Top, GR.Right, GR.Bottom};
            DrawTextStr(dc, CG->CellText(), &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        break;
    }
    case ctInterface: {
        IGridCellDraw* d = nullptr;
        if (!Supports(CG->CellBitmap(), d)) break;
        Integer w = d->CellDrawWidth(), h = d->CellDrawHeight();
        if (w <= 0) w = std::abs(GR.Right - GR.Left);
        if (h <= 0) h = std::abs(GR.Top - GR.Bottom);
        if (w <= 0 || h <= 0) break;
        TBitmap b;
        PrepareBitmap(b, w, h, BrushColor);
        d->CellDraw(b.Canvas(), TRect{0, 0, w, h}, G, ARow, ACol, false);
        PrintBitmap(Canvas, GR, &b);
        break;
    }
    case ctShape: {
        // Drawn in device pixels: the shapes' geometry assumes y down.
        const Integer dy = Integer(std::lround(G->XYOffset().Y * GScreen));
        const Integer h = std::max(0, GR.Top - GR.Bottom - Integer(std::lround(4 * GScreen)));
        const TRect d = TextModeRect(dc, TRect{GR.Left, GR.Top - dy, GR.Right, GR.Top - dy - h});
        if (d.Width() <= 1 || d.Height() <= 1) break;
        const int oldMode = SetMapMode(dc, MM_TEXT);
        const Integer penW = Canvas->Pen()->Width();
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(bsSolid);
        DrawCellShape(Canvas, d.Left, d.Top, d.Width() - 1, d.Height() - 1, TCellShape(CG->CellAngle()),
                      TColor(CG->CellIndex()), CG->CellBitmapColor());
        Canvas->Pen()->SetWidth(penW);
        Canvas->RequireState();
        SetMapMode(dc, oldMode);
        break;
    }
    default: break;
    }
}

void TGridPrintPass::CustomCellDraw(Integer ACol, Integer ARow, TRect TR)
{
    HDC dc = Canvas->Handle();
    const TRect d = TextModeRect(dc, TR);
    const int oldMode = SetMapMode(dc, MM_TEXT);
    const Integer oldHeight = Canvas->Font()->Height();
    Canvas->Font()->SetSize(PS->Font()->Size());
    Canvas->RequireState();
    Grid->OnCustomCellDraw(Grid, Canvas, ACol, ARow, TGridDrawState{}, d, true);
    SetMapMode(dc, oldMode);
    Canvas->Font()->SetHeight(oldHeight);
    Canvas->RequireState();
}
