// Print jobs, previews and drawing on a canvas; the header and footer items
// and page numbers as the printer DC records them.
#include <climits>
#include <vector>

#include "controls/grid/GridPrintPass.h"
#include "platform/gfx/Graphics.h"
#include "tests/controls/grid/GridPrintSupport.h"

using namespace gridprint;

namespace {

// The texts written with TextOut on a page of the printer (or any) DC.
std::vector<String> TextOuts(HDC dc, int page = -1)
{
    std::vector<String> r;
    for (const TGdiRecord& g : GdiRecords(dc))
        if (g.Kind == L"TextOut" && (page < 0 || g.Page == page)) r.push_back(g.Text);
    return r;
}

bool Has(const std::vector<String>& v, const String& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

// Every text drawn with DrawText (cell texts) on the DC.
std::vector<String> CellTexts(HDC dc)
{
    std::vector<String> r;
    for (const TGdiRecord& g : GdiRecords(dc))
        if (g.Kind == L"DrawText") r.push_back(g.Text);
    return r;
}

class TNotifyGrid : public TVodStringGrid {
public:
    using TVodStringGrid::TVodStringGrid;
    std::vector<int> Notes;
    void ExportNotification(TGridExportState AState, Integer ARow) override
    {
        if (ARow < 0) Notes.push_back(int(AState));
    }
};

}  // namespace

using GridPrintJob = TGridPrintTest;

TEST_F(GridPrintJob, HeaderFooterAndPageNumberTexts)
{
    struct Case {
        const char* Name;
        std::function<void(TPrintSettings*, TVodStringGrid*)> Setup;
        int Rows;
        int Page;
        std::vector<String> Expected;
    } cases[] = {
        {"page numbers with total", [](TPrintSettings* s, TVodStringGrid*) { s->SetPageNr(ppBottomCenter); }, 30, 2,
         {L" 2/3"}},
        {"prefix, suffix and offsets",
         [](TPrintSettings* s, TVodStringGrid*) {
             s->SetPageNr(ppBottomRight);
             s->SetPagePrefix(L"Page");
             s->SetPageSuffix(L"end");
             s->SetPageNumberOffset(10);
             s->SetMaxPagesOffset(5);
         },
         30, 1, {L" Page 11/8 end"}},
        {"no separator", [](TPrintSettings* s, TVodStringGrid*) { s->SetPageNr(ppTopLeft); s->SetPageNumSep(L""); },
         30, 3, {L"3 "}},
        {"one page has no total", [](TPrintSettings* s, TVodStringGrid*) { s->SetPageNr(ppTopRight); }, 10, 1, {L" 1"}},
        {"title text and date joined",
         [](TPrintSettings* s, TVodStringGrid*) {
             s->SetTitle(ppTopCenter);
             s->SetTitleText(L"Report");
             s->SetDate(ppTopCenter);
             s->SetDateFormat(L"\"D\"");
         },
         10, 1, {L" D Report"}},
        {"title lines at the left",
         [](TPrintSettings* s, TVodStringGrid*) {
             s->SetTitle(ppTopLeft);
             s->TitleLines()->Add(L"First");
             s->TitleLines()->Add(L"Second");
             s->SetPageNr(ppTopLeft);
         },
         10, 1, {L"First 1 ", L"Second"}},
        {"page numbers of bands",
         [](TPrintSettings* s, TVodStringGrid* g) {
             s->SetPageNr(ppBottomLeft);
             g->SetCells(1, 0, String(200, L'w'));
             g->SetCells(2, 0, String(200, L'w'));
         },
         30, 5, {L"2-2 "}},
        {"page number hook",
         [](TPrintSettings* s, TVodStringGrid* g) {
             s->SetPageNr(ppBottomLeft);
             g->OnPrintGetPageNum = [](TObject*, Integer n, Integer band, String& t) {
                 t = L"p" + IntToStr(n) + L"b" + IntToStr(band);
             };
         },
         10, 1, {L"p1b1 "}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TPrintSettings fresh(Grid);
        Grid->PrintSettings()->Assign(&fresh);
        Grid->OnPrintGetPageNum = nullptr;
        Fill(3, k.Rows);
        TallRows();
        k.Setup(Grid->PrintSettings(), Grid);
        HDC dc = Printer()->Handle();
        GdiStartRecording(dc);
        GdiClearRecords(dc);
        Grid->Print();
        const auto texts = TextOuts(dc, k.Page);
        GdiStopRecording(dc);
        for (const String& e : k.Expected) EXPECT_TRUE(Has(texts, e)) << UTF8Encode(e);
    }
}

TEST_F(GridPrintJob, FastPrintNumbersWithoutTotal)
{
    Fill(2, 30);
    TallRows();
    Grid->PrintSettings()->SetPageNr(ppBottomLeft);
    Grid->SetFastPrint(true);
    Integer total = 0;
    Grid->OnPrintStart = [&](TObject*, Integer N, Integer&, Integer&) { total = N; };
    HDC dc = Printer()->Handle();
    GdiStartRecording(dc);
    GdiClearRecords(dc);
    Grid->Print();
    EXPECT_EQ(total, INT_MAX);
    EXPECT_TRUE(Has(TextOuts(dc, 2), L"2 "));
    GdiStopRecording(dc);
}

TEST_F(GridPrintJob, CountingEqualsDrawing)
{
    struct Case {
        const char* Name;
        std::function<void(TPrintSettings*, TVodStringGrid*)> Setup;
    } cases[] = {
        {"title lines at the top",
         [](TPrintSettings* s, TVodStringGrid*) {
             s->SetTitle(ppTopCenter);
             for (int i = 0; i < 40; ++i) s->TitleLines()->Add(L"Title line " + IntToStr(i));
             s->SetHeaderSize(100);
         }},
        {"bands",
         [](TPrintSettings*, TVodStringGrid* g) {
             for (int c = 0; c < 3; ++c) g->SetCells(c, 0, String(150, L'w'));
         }},
        {"repeated fixed rows",
         [](TPrintSettings* s, TVodStringGrid* g) {
             s->SetRepeatFixedRows(true);
             g->SetFixedRows(3);
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TPrintSettings fresh(Grid);
        Grid->PrintSettings()->Assign(&fresh);
        Grid->SetFixedRows(1);
        Fill(3, 40);
        TallRows();
        k.Setup(Grid->PrintSettings(), Grid);
        Integer total = 0;
        Grid->OnPrintStart = [&](TObject*, Integer N, Integer&, Integer&) { total = N; };
        Grid->Print();
        EXPECT_GT(total, 1);
        EXPECT_EQ(PdfPages(Pdf), total);
    }
}

TEST_F(GridPrintJob, FastPrintPrintsEveryPageAndPreviewStopsEarly)
{
    Fill(2, 80);   // 6 pages
    TallRows();
    Grid->Print();
    ASSERT_EQ(PdfPages(Pdf), 6);
    Grid->SetFastPrint(true);
    Grid->Print();
    EXPECT_EQ(PdfPages(Pdf), 6);

    // A FastPrint preview of page 2 lays out no page after it.
    TBitmap bmp;
    bmp.SetSize(794, 1123);
    int lastDone = 0;
    Grid->OnPrintPageDone = [&](TObject*, TCanvas*, Integer, Integer, Integer n, Integer, Integer) { lastDone = n; };
    Grid->SetPreviewPage(2);
    Grid->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123});
    EXPECT_EQ(lastDone, 2);
}

TEST_F(GridPrintJob, RefusedRangePrintsNothingAndPairsNotifications)
{
    auto* g = new TNotifyGrid(Form);
    g->SetParent(Form);
    g->SetColCount(2);
    g->SetRowCount(3);
    g->OnPrintStart = [](TObject*, Integer, Integer& From, Integer& To) { To = From - 1; };
    g->PrintSettings()->SetOrientation(poLandscape);
    g->Print();
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(std::filesystem::exists(Pdf));
    EXPECT_EQ(Printer()->Orientation(), poPortrait);
    EXPECT_EQ(g->Notes, (std::vector<int>{esExportStart, esExportDone}));
}

TEST_F(GridPrintJob, TwoGridsIntoOneCallerOwnedDocument)
{
    Fill(2, 20);   // 2 pages
    TallRows();
    auto* g2 = new TVodStringGrid(Form);
    g2->SetParent(Form);
    g2->SetColCount(2);
    g2->SetRowCount(5);
    Printer()->SetTitle(L"Both grids");
    Printer()->BeginDoc();
    Grid->Print();
    Printer()->NewPage();
    g2->Print();
    EXPECT_TRUE(Printer()->Printing());
    Printer()->EndDoc();
    EXPECT_EQ(PdfPages(Pdf), 3);
    EXPECT_EQ(PdfInfo(Pdf, "Title"), "Both grids");
}

TEST_F(GridPrintJob, OrientationAndJobName)
{
    Fill(2, 3);
    Grid->PrintSettings()->SetOrientation(poLandscape);
    Grid->PrintSettings()->SetJobName(L"Landscape job");
    Grid->Print();
    EXPECT_NE(PdfInfo(Pdf, "Page size").find("841.92 x 595.32"), std::string::npos) << PdfInfo(Pdf, "Page size");
    EXPECT_EQ(PdfInfo(Pdf, "Title"), "Landscape job");
    EXPECT_EQ(Grid->PrintPageRect().Right, 2970);

    Printer()->SetOrientation(poPortrait);
    Grid->PrintSettings()->SetUseDefaultOrientation(true);
    Grid->Print();
    EXPECT_NE(PdfInfo(Pdf, "Page size").find("595.32 x 841.92"), std::string::npos) << PdfInfo(Pdf, "Page size");
}

TEST_F(GridPrintJob, PreviewDrawsTheChosenPageAndTheJobRestoresTheRange)
{
    Fill(2, 30);   // pages of rows 0-13, 14-27, 28-29
    TallRows();
    TBitmap bmp;
    bmp.SetSize(794, 1123);
    HDC dc = bmp.Canvas()->Handle();
    GdiStartRecording(dc);
    Grid->SetPreviewPage(2);
    Grid->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123});
    auto texts = CellTexts(dc);
    EXPECT_FALSE(Has(texts, L"c0r1"));
    EXPECT_TRUE(Has(texts, L"c0r15"));
    EXPECT_FALSE(Has(texts, L"c0r28"));

    // A print in between leaves the preview's page alone.
    Grid->Print();
    GdiClearRecords(dc);
    Grid->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123});
    texts = CellTexts(dc);
    EXPECT_TRUE(Has(texts, L"c0r15"));
    EXPECT_FALSE(Has(texts, L"c0r1"));
    EXPECT_FALSE(Has(texts, L"c0r28"));
    GdiStopRecording(dc);
}

TEST_F(GridPrintJob, DrawIntoARectangleClipsAndFiresNoJobEvents)
{
    Fill(2, 100);
    TBitmap bmp;
    bmp.SetSize(400, 400);
    HDC dc = bmp.Canvas()->Handle();
    bool started = false;
    Grid->OnPrintStart = [&](TObject*, Integer, Integer&, Integer&) { started = true; };
    GdiStartRecording(dc);
    Grid->PrintDraw(bmp.Canvas(), TRect{100, 50, 300, 250});
    EXPECT_FALSE(started);
    // 200 pixels at 96 per inch are 529 tenths of a millimetre.
    EXPECT_EQ(Grid->PrintPageRect().Right, 529);
    const auto texts = CellTexts(dc);
    EXPECT_TRUE(Has(texts, L"c0r0"));
    EXPECT_FALSE(Has(texts, L"c0r90"));
    for (const TGdiRecord& r : GdiRecords(dc))
        if (r.Kind == L"DrawText") {
            EXPECT_GE(r.Rect.Left, 100);
            EXPECT_GE(r.Rect.Top, 50);
        }
    GdiStopRecording(dc);
}

TEST_F(GridPrintJob, SelectionVariants)
{
    Fill(4, 10);
    Grid->SetSelection(TGridRect{1, 2, 2, 4});
    TBitmap bmp;
    bmp.SetSize(794, 1123);
    HDC dc = bmp.Canvas()->Handle();
    GdiStartRecording(dc);
    Grid->PrintPreviewSelection(bmp.Canvas(), TRect{0, 0, 794, 1123});
    auto t = CellTexts(dc);
    EXPECT_TRUE(Has(t, L"c1r2"));
    EXPECT_TRUE(Has(t, L"c2r4"));
    EXPECT_FALSE(Has(t, L"c0r2"));
    EXPECT_FALSE(Has(t, L"c1r5"));
    GdiClearRecords(dc);
    Grid->PrintSettings()->SetFixedCellsAlways(true);
    Grid->PrintPreviewSelectedRows(bmp.Canvas(), TRect{0, 0, 794, 1123});
    t = CellTexts(dc);
    EXPECT_TRUE(Has(t, L"c0r0"));   // fixed row and column always
    EXPECT_TRUE(Has(t, L"c1r3"));
    EXPECT_FALSE(Has(t, L"c3r3"));
    EXPECT_FALSE(Has(t, L"c1r6"));
    GdiStopRecording(dc);
}

TEST(GridPrintRoutines, MappingsAndRotatedAnchors)
{
    // Font mappings truncate.
    TVodStringGrid* g = nullptr;
    (void)g;
    struct Q {
        Integer Angle, Left, Top;
    } q[] = {{45, 0, 20}, {135, 40, 30 + 20}, {225, 10 + 40, 30}, {315, 10, 0}};
    for (const Q& k : q) {
        SCOPED_TRACE(k.Angle);
        TRect r{0, 0, 500, 500};
        PlaceRotatedText(r, taLeftJustify, vtaTop, 30, 20, 10, 40, k.Angle);
        EXPECT_EQ(r.Left, k.Left);
        EXPECT_EQ(r.Top, k.Top);
    }
    TRect r{0, 0, 100, 100};
    PlaceRotatedText(r, taRightJustify, vtaBottom, 30, 20, 10, 40, 45);
    EXPECT_EQ(r.Left, 100 - 50);
    EXPECT_EQ(r.Top, 100 - 50 + 20);
    r = TRect{0, 0, 101, 101};
    PlaceRotatedText(r, taCenter, vtaCenter, 30, 20, 10, 40, 45);
    EXPECT_EQ(r.Left, 25);
    EXPECT_EQ(r.Top, 25 + 20);
    EXPECT_EQ(JoinWithBlank(L"a", L"b"), L"a b");
    EXPECT_EQ(JoinWithBlank(L"", L"b"), L"b");
    EXPECT_EQ(JoinWithBlank(L"a", L""), L"a");
}

TEST_F(GridPrintJob, FontMappingsAndTextMeasures)
{
    EXPECT_EQ(Grid->MapFontHeight(10), -35);
    EXPECT_EQ(Grid->MapFontSize(35), 9);
    EXPECT_EQ(Grid->MapFontHeight(0), 0);
    Grid->SetCells(1, 1, L"one\r\nlonger line");
    Grid->SetCells(1, 2, L"abc");
    EXPECT_EQ(Grid->MaxColTextLength(1), 16);
    EXPECT_EQ(Grid->MaxLinesInRow(1), 1);
    Grid->SetMultilinecells(true);
    EXPECT_EQ(Grid->MaxColTextLength(1), 11);
    EXPECT_EQ(Grid->MaxLinesInRow(1), 2);
    EXPECT_EQ(Grid->MaxLinesInRow(3), 1);
    EXPECT_EQ(Grid->MaxColTextLength(4), 0);
}

TEST_F(GridPrintJob, DegenerateInputsEnd)
{
    struct Case {
        const char* Name;
        std::function<void(TVodStringGrid*)> Setup;
    } cases[] = {
        {"no data rows", [](TVodStringGrid* g) { g->SetRowCount(1); }},
        {"one column wider than the page", [](TVodStringGrid* g) { g->SetCells(1, 1, String(2000, L'x')); }},
        {"page smaller than header and footer",
         [](TVodStringGrid* g) {
             g->PrintSettings()->SetHeaderSize(2000);
             g->PrintSettings()->SetFooterSize(2000);
             g->PrintSettings()->SetPageNr(ppTopLeft);
         }},
        {"cancel on the first row",
         [](TVodStringGrid* g) {
             g->OnPrintNewPage = [](TObject*, Integer, bool& b) { b = true; };
             g->OnPrintCancel = [](TObject*, Integer, bool& c) { c = true; };
         }},
        {"malformed markup and rich text",
         [](TVodStringGrid* g) {
             g->SetCells(0, 1, L"<b><i>unclosed <font color=\"#zz");
             g->SetCells(1, 1, L"{\\rtf1 {{{\\b broken");
             g->PrintSettings()->TitleLines()->Add(L"<u>title");
             g->PrintSettings()->SetTitle(ppTopLeft);
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Fill(3, 5);
        k.Setup(Grid);
        Grid->Print();
        EXPECT_GE(PdfPages(Pdf), 1);
        TBitmap bmp;
        bmp.SetSize(100, 100);
        Grid->PrintPreview(bmp.Canvas(), TRect{0, 0, 100, 100});
        Grid->PrintDraw(bmp.Canvas(), TRect{0, 0, 0, 0});
        TPrintSettings fresh(Grid);
        Grid->PrintSettings()->Assign(&fresh);
        Grid->OnPrintNewPage = nullptr;
        Grid->OnPrintCancel = nullptr;
    }
}
