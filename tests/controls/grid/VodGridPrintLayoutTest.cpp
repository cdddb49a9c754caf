// The print layout on the process's printer with fixed-metrics fonts
// (every character 8 x 16 in 0.1 mm): column widths, fitting, bands, page
// breaks, events per pass.
#include <climits>
#include <vector>

#include "tests/controls/grid/GridPrintSupport.h"

using namespace gridprint;

namespace {

// A4 portrait in 0.1 mm and the fixed metrics' derived lengths: line gap 2
// (16 >> 3), row advance 2 x gap + (16 + 16 / 8) = 22, footer 2 + 16 = 18.
constexpr int kW = 2100, kAdvance = 22;

}  // namespace

using GridPrintLayout = TGridPrintTest;

TEST_F(GridPrintLayout, ColumnWidthsByMode)
{
    struct Case {
        const char* Name;
        std::function<void(TVodStringGrid*)> Setup;
        std::vector<int> Widths;   // columns 0..2
    } cases[] = {
        // Widest text, empty cells as "gh": 6 characters "abcdef".
        {"auto", [](TVodStringGrid*) {}, {48, 32, 16}},
        {"no auto size", [](TVodStringGrid* g) { g->PrintSettings()->SetNoAutoSize(true); },
         {180, 180, 180}},   // (64 + 4) x 254 / 96 = 179.9
        {"fixed width",
         [](TVodStringGrid* g) {
             g->PrintSettings()->SetUseFixedWidth(true);
             g->PrintSettings()->SetFixedWidth(300);
         },
         {300, 300, 300}},
        {"merged across columns", [](TVodStringGrid* g) {
             g->SetCells(0, 2, L"a very long merged text");
             g->MergeCells(0, 2, 2, 1);
         }, {48, 32, 16}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Grid->SetColCount(3);
        Grid->SetRowCount(3);
        Grid->ClearAll();
        Grid->SplitAllCells();
        Grid->PrintSettings()->SetNoAutoSize(false);
        Grid->PrintSettings()->SetUseFixedWidth(false);
        Grid->SetCells(0, 0, L"abcdef");
        Grid->SetCells(1, 1, L"abcd");
        k.Setup(Grid);
        Grid->Print();
        const auto& w = Grid->PrintColWidths();
        ASSERT_GE(w.size(), 3u);
        EXPECT_EQ(w[0], k.Widths[0]);
        EXPECT_EQ(w[1], k.Widths[1]);
        EXPECT_EQ(w[2], k.Widths[2]);
    }
}

TEST_F(GridPrintLayout, FitToPageModes)
{
    struct Case {
        TFitToPage Mode;
        bool Wide;      // columns wider than the page
        bool Refuse;    // OnFitToPage refuses
        bool Scaled;    // widths changed
    } cases[] = {
        {fpShrink, false, false, false}, {fpShrink, true, false, true}, {fpGrow, true, false, false},
        {fpGrow, false, false, true},    {fpAlways, false, false, true}, {fpCustom, false, true, false},
        {fpCustom, false, false, true},  {fpNever, true, false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.Mode) * 100 + k.Wide * 10 + k.Refuse);
        Fill(3, 4);
        if (k.Wide) Grid->SetCells(1, 1, String(400, L'x'));   // 3200 wide
        Grid->PrintSettings()->SetFitToPage(k.Mode);
        double asked = 0;
        Grid->OnFitToPage = [&](TObject*, double& f, bool& allow) {
            asked = f;
            allow = !k.Refuse;
        };
        Grid->Print();
        const auto& w = Grid->PrintColWidths();
        const int natural1 = k.Wide ? 3200 : 32;
        EXPECT_EQ(w[1] != natural1, k.Scaled) << w[1];
        if (k.Scaled) {
            // The scaled columns with their spacing fill the page.
            const int sum = w[0] + w[1] + w[2] + 3 * 20;
            EXPECT_NEAR(sum, kW, 3);
        }
        EXPECT_EQ(asked != 0, k.Mode == fpCustom);
        Grid->OnFitToPage = nullptr;
    }
}

TEST_F(GridPrintLayout, AllZeroWidthsKeepTheScale)
{
    Fill(3, 3);
    Grid->PrintSettings()->SetUseFixedWidth(true);   // spacing 0, widths 0
    Grid->PrintSettings()->SetFitToPage(fpAlways);
    Grid->Print();
    for (int j = 0; j < 3; ++j) EXPECT_EQ(Grid->PrintColWidths()[j], 0);
    EXPECT_EQ(PdfPages(Pdf), 1);
}

TEST_F(GridPrintLayout, BandsHoldTwoColumnsAtLeastAndRepeatFixedColumns)
{
    // Each column 1000 wide (125 characters): one fits, two do not.
    Grid->SetColCount(5);
    Grid->SetRowCount(3);
    Grid->SetFixedCols(1);
    for (int c = 0; c < 5; ++c) Grid->SetCells(c, 1, String(125, L'a' + c));
    std::vector<std::pair<int, int>> bands;
    Grid->OnPrintPageDone = [&](TObject*, TCanvas*, Integer, Integer, Integer, Integer, Integer) {
        bands.emplace_back(Grid->PrintColStart(), Grid->PrintColEnd());
    };
    Grid->Print();
    EXPECT_EQ(bands, (std::vector<std::pair<int, int>>{{0, 1}, {2, 3}, {4, 4}}));
    EXPECT_EQ(PdfPages(Pdf), 3);

    // Repeated fixed columns: later bands start right of column 0.
    bands.clear();
    Grid->PrintSettings()->SetRepeatFixedCols(true);
    Grid->PrintSettings()->SetCentered(false);
    Grid->Print();
    ASSERT_GE(bands.size(), 2u);
    EXPECT_EQ(bands[0], (std::pair<int, int>{0, 1}));
    const auto& ind = Grid->PrintColIndents();
    const int fixedW = Grid->PrintColWidths()[0] + 20;
    EXPECT_EQ(ind[0], 0);
    EXPECT_EQ(ind[Grid->PrintColStart()], fixedW);
}

TEST_F(GridPrintLayout, CentredBandIgnoresLeftSize)
{
    Fill(2, 2);   // two columns of 32 + 20
    Grid->PrintSettings()->SetLeftSize(300);
    Grid->Print();
    EXPECT_EQ(Grid->PrintColIndents()[0], (kW - 104) / 2);
    Grid->PrintSettings()->SetCentered(false);
    Grid->Print();
    EXPECT_EQ(Grid->PrintColIndents()[0], 300);
    EXPECT_EQ(Grid->PrintColIndents()[1], 352);
}

TEST_F(GridPrintLayout, PageBreaksNaturalForcedAndTall)
{
    // 134 rows of advance 22 fit above the 18 high footer of a 2970 page.
    Fill(2, 140);
    std::vector<int> lastRows;
    Grid->OnPrintPageDone = [&](TObject*, TCanvas*, Integer LastRow, Integer Offset, Integer, Integer, Integer) {
        lastRows.push_back(LastRow);
        EXPECT_LT(Offset, 0);
    };
    Grid->Print();
    EXPECT_EQ(lastRows, (std::vector<int>{134, 140}));
    EXPECT_EQ(PdfPages(Pdf), 2);

    // A handler breaks after row 3.
    lastRows.clear();
    Grid->SetRowCount(10);
    Grid->OnPrintNewPage = [](TObject*, Integer ARow, bool& NewPage) { NewPage = ARow == 3; };
    Grid->Print();
    EXPECT_EQ(lastRows, (std::vector<int>{3, 10}));
    EXPECT_EQ(PdfPages(Pdf), 2);
    Grid->OnPrintNewPage = nullptr;

    // A row taller than the page prints on the page where it starts.
    lastRows.clear();
    Grid->SetRowCount(4);
    Grid->PrintSettings()->SetNoAutoSizeRow(true);
    Grid->SetRowHeights(1, 5000);
    Grid->Print();
    EXPECT_EQ(PdfPages(Pdf), 3);
    EXPECT_EQ(lastRows, (std::vector<int>{1, 2, 4}));
}

TEST_F(GridPrintLayout, CancelStopsAfterTheCurrentPage)
{
    Fill(2, 30);
    TallRows();
    int asked = 0;
    Grid->OnPrintCancel = [&](TObject*, Integer PageNr, bool& Cancel) {
        ++asked;
        Cancel = PageNr == 1;
    };
    Grid->Print();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PdfPages(Pdf), 1);
}

TEST_F(GridPrintLayout, EventsPerPassInOrder)
{
    Fill(2, 20);   // two pages
    TallRows();
    std::vector<std::string> ev;
    Grid->OnPrintStart = [&](TObject*, Integer N, Integer&, Integer&) { ev.push_back("start" + std::to_string(N)); };
    Grid->OnPrintPage = [&](TObject*, TCanvas*, Integer n, Integer, Integer) { ev.push_back("page" + std::to_string(n)); };
    Grid->OnPrintPageDone = [&](TObject*, TCanvas*, Integer, Integer, Integer n, Integer, Integer) {
        ev.push_back("done" + std::to_string(n));
    };
    Grid->OnPrintCancel = [&](TObject*, Integer n, bool&) { ev.push_back("cancel" + std::to_string(n)); };
    Grid->OnPrintDone = [&](TObject*) { ev.push_back("end"); };
    int newPageAsked = 0;
    Grid->OnPrintNewPage = [&](TObject*, Integer, bool&) { ++newPageAsked; };
    Grid->Print();
    // The counting pass fires only the measuring events, OnPrintNewPage
    // and OnPrintDone.
    EXPECT_EQ(ev, (std::vector<std::string>{"end", "start2", "page1", "done1", "cancel1", "page2", "done2",
                                            "cancel2", "end"}));
    EXPECT_EQ(newPageAsked, 2 * 20);
}

TEST_F(GridPrintLayout, FastPrintMeasuresOnlyTheRowsOfThePagesDrawn)
{
    // Rows 0 to 13 fill page 1; a long text on its last row counts, one on
    // a later page does not until that page is drawn.
    Fill(2, 30);
    TallRows();
    Grid->SetCells(0, 13, String(20, L'x'));   // 160 wide
    Grid->SetCells(1, 20, String(30, L'x'));   // 240 wide
    TBitmap bmp;
    bmp.SetSize(794, 1123);
    struct Case {
        int Page;
        bool Fast;
        int Widths[2];
    } cases[] = {{1, true, {160, 40}}, {2, true, {160, 240}}, {1, false, {160, 240}}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Page * 10 + k.Fast);
        Grid->SetFastPrint(k.Fast);
        Grid->SetPreviewPage(k.Page);
        Grid->PrintPreview(bmp.Canvas(), TRect{0, 0, 794, 1123});
        EXPECT_EQ(Grid->PrintColWidths()[0], k.Widths[0]);
        EXPECT_EQ(Grid->PrintColWidths()[1], k.Widths[1]);
    }
}
