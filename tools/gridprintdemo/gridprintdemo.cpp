// The string grid on paper: a grid of 300 rows and 14 columns (a fixed row
// and column, merged cells, check boxes, progress bars, image-list images,
// radio groups, shapes, a rotated header, a two-line title, time, date and
// page numbers) wide enough for two column bands. It prints the grid to "gridprintdemo.pdf" and writes a preview of
// page 2 to "gridprintdemo-preview.png", both beside the program, and shows
// the grid with that preview. Once shown it prints "READY left top width
// height" and runs until closed or its time is up.
//
//   gridprintdemo [--seconds N]
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Codecs.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/gfx/Printer.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "tools/DemoLoop.h"

namespace {

std::string ProgramFolder()
{
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string p(buf, size_t(n));
    const size_t s = p.rfind('/');
    return s == std::string::npos ? "." : p.substr(0, s);
}

const wchar_t* kHeads[] = {L"#",        L"Customer",  L"City",    L"Done", L"Progress", L"Amount",   L"Region",
                           L"Contact",  L"Phone",     L"Product", L"Units", L"Price",   L"Comment", L"Code"};
const wchar_t* kCities[] = {L"Aberdeen", L"Bergen", L"Cork", L"Dundee", L"Esbjerg", L"Galway"};
const wchar_t* kNames[] = {L"Alder Ltd", L"Birch & Sons", L"Cedar Works", L"Dogwood Inc", L"Elm Trading"};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Grid = nullptr;
    TImage* Preview = nullptr;
    std::string PdfPath, PngPath;

    void Fill()
    {
        SetCaption(L"Grid printing");
        SetBounds(0, 0, 900, 660);
        SetColor(clWhite);
        Grid = new TVodStringGrid(this);
        Grid->SetParent(this);
        Grid->SetBounds(10, 10, 440, 640);
        Grid->SetColCount(14);
        Grid->SetRowCount(301);
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        Grid->SetDefaultColWidth(90);
        for (Integer c = 0; c < 14; ++c) Grid->SetCells(c, 0, kHeads[c]);
        Grid->SetRowHeights(0, 40);
        Grid->AddRotated(13, 0, 45, L"Code");
        // City marks: three coloured squares of the grid's image list.
        auto* marks = new TImageList(this);
        marks->SetWidth(12);
        marks->SetHeight(12);
        for (uint32_t argb : {0xFF1E90FFu, 0xFFFF8C00u, 0xFF9932CCu}) {
            TImageData d(12, 12, argb);
            d.HasAlpha = true;
            marks->AddImage(d);
        }
        Grid->SetGridImages(marks);
        unsigned seed = 7;
        auto next = [&seed]() {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (Integer r = 1; r < 301; ++r) {
            Grid->SetCells(0, r, IntToStr(r));
            Grid->SetCells(1, r, kNames[next() % 5]);
            const unsigned city = next() % 6;
            Grid->SetCells(2, r, kCities[city]);
            Grid->AddImageIdx(2, r, Integer(city % 3), haBeforeText, vaCenter);
            Grid->AddCheckBox(3, r, next() % 2 == 0);
            Grid->SetCells(4, r, IntToStr(Integer(next() % 101)));
            Grid->AddProgress(4, r, TColor(0x2E8B57), clWhite);
            Grid->SetCells(5, r, IntToStr(Integer(next() % 9000 + 100)) + L".00");
            // The region as a row of two radio buttons.
            TStrings* regions = Grid->CreateRadio(6, r, 1, Integer(next() % 2));
            regions->Add(L"Coast");
            regions->Add(L"Inland");
            Grid->SetCells(7, r, L"Contact person " + IntToStr(r));
            Grid->SetCells(8, r, L"+44 1224 " + IntToStr(Integer(100000 + next() % 899999)));
            Grid->SetCells(9, r, L"Product line " + IntToStr(Integer(next() % 40)));
            Grid->SetCells(10, r, IntToStr(Integer(next() % 500)));
            Grid->SetCells(11, r, IntToStr(Integer(next() % 90 + 10)) + L".50");
            if (r % 7 == 0) {
                Grid->SetCells(12, r, L"call back next week");
                Grid->AddShape(12, r, csCircle, clRed, clMaroon, haBeforeText, vaCenter);
            }
            Grid->SetCells(13, r, L"K-" + IntToStr(Integer(next() % 1000)));
            if (r % 2 == 0) Grid->SetColors(2, r, TColor(0xF0E0D0));
        }
        // Merged cells: a group caption every 40 rows over three columns.
        for (Integer r = 5; r < 301; r += 40) {
            Grid->RemoveCellGraphic(6, r);
            Grid->SetCells(6, r, L"Merged over three columns");
            Grid->MergeCells(6, r, 3, 1);
            Grid->SetColors(6, r, TColor(0xC0F0FF));
        }
        TPrintSettings* ps = Grid->PrintSettings();
        ps->SetPrintGraphics(true);
        ps->SetTitle(ppTopCenter);
        ps->TitleLines()->Add(L"Customer orders");
        ps->TitleLines()->Add(L"All regions, first quarter");
        ps->SetTime(ppTopLeft);
        ps->SetDate(ppTopRight);
        ps->SetPageNr(ppBottomCenter);
        ps->SetPagePrefix(L"Page");
        ps->SetHeaderSize(60);
        ps->SetFooterSize(60);
        ps->SetTitleSpacing(40);
        ps->SetLeftSize(100);
        ps->SetRightSize(100);
        ps->SetRepeatFixedRows(true);
        ps->SetRepeatFixedCols(true);
        ps->SetBorders(pbSingle);
        ps->Font()->SetSize(9);
        ps->HeaderFont()->SetSize(11);
        ps->FooterFont()->SetSize(9);
        ps->SetJobName(L"Grid printing demo");

        Preview = new TImage(this);
        Preview->SetParent(this);
        Preview->SetBounds(460, 10, 420, 594);
    }

    // Prints the PDF and renders page 2 into the preview.
    void PrintAndPreview()
    {
        const std::string dir = ProgramFolder();
        PdfPath = dir + "/gridprintdemo.pdf";
        PngPath = dir + "/gridprintdemo-preview.png";
        Printer()->SetFileName(UTF8ToString(PdfPath));
        Grid->Print();

        TBitmap* bmp = Preview->Picture()->Bitmap();
        bmp->SetSize(420, 594);
        bmp->Canvas()->Brush()->SetColor(clWhite);
        bmp->Canvas()->FillRect(TRect{0, 0, 420, 594});
        Grid->SetPreviewPage(2);
        // A page at a fifth of its size: 210 x 297 mm at about 51 pixels per inch.
        Grid->PrintPreview(bmp->Canvas(), TRect{0, 0, 420, 594});
        SaveBitmapToPNG(bmp->Handle(), UTF8ToString(PngPath));
        Preview->Invalidate();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("gridprintdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Fill();
    form->PrintAndPreview();
    form->Show();
    // The preview's paper beside the grid.
    std::printf("POINT preview-paper %d %d FFFFFF\n", 462, 14);
    std::fflush(stdout);
    RunDemoLoop(form, DemoSeconds(argc, argv));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
