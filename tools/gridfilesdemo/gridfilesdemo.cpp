// The string grid's file formats on one window: a sample grid (numbers under
// a "," decimal separator, a multi-line cell, a merged cell, coloured cells
// and a picture) is written as a binary cell stream, native text, CSV,
// fixed-width text, plain text, HTML, XML and JSON into a folder, with the
// settings files of a restyled copy (look, column state, print settings),
// and shown beside grids read back from the binary, native, CSV and XML
// files and one whose look and column layout come from the settings files.
// The window lists the files with their sizes, and standard error gets
// "FILE name bytes" for each. Without --out the files go to a scratch folder that is
// removed once they have been read back. Standard output gets "READY left
// top width height" once shown; the demo runs until closed or its time is up.
//
//   gridfilesdemo [--out FOLDER] [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_Button.h"
#include "tools/DemoLoop.h"
#include "tools/gridfilesdemo/settingsformats.h"

namespace {

// Shows each cell's block colours and font colour (the grid's own painting
// of cell looks comes with its rendering family).
class TDemoGrid : public TVodStringGrid {
public:
    explicit TDemoGrid(TComponent* o) : TVodStringGrid(o) {}
    void GetVisualProperties(Integer c, Integer r, TGridDrawState& st, bool, bool, bool, TBrush* b, TColor&,
                             TColor&, TColor&, TFont* f, TAlignment& ha, TVAlignment&, bool&,
                             TCellGradientDirection&) override
    {
        if (st.Contains(gdFixed)) {
            b->SetColor(TColor(0xE8E8E8));
            return;
        }
        b->SetColor(Color());
        if (const TCellProperties* p = CellPropertiesOf(RealColIndex(c), r)) {
            if (p->BrushColor() != clNone) b->SetColor(p->BrushColor());
            if (p->FontColor() != clNone) f->SetColor(p->FontColor());
            f->SetStyle(p->FontStyle());
            ha = p->Alignment();
        }
    }
};

TDemoGrid* MakeGrid(TForm* form, int x, int y)
{
    auto* g = CreateGrid<TDemoGrid>(form);
    g->SetParent(form);
    g->SetBounds(x, y, 452, 196);
    g->SetColCount(5);
    g->SetRowCount(6);
    g->SetDefaultRowHeight(24);
    g->SetRowHeights(3, 40);
    g->SetColWidths(0, 40);
    for (int c = 1; c < 5; ++c) g->SetColWidths(c, 100);
    g->SetScrollBars(ssNone);
    g->SetMultilinecells(true);
    return g;
}

void FillSample(TVodStringGrid* g)
{
    const wchar_t* heads[] = {L"", L"Item", L"Price", L"Qty", L"Note"};
    for (int c = 1; c < 5; ++c) g->SetGridCell(c, 0, heads[c]);
    for (int r = 1; r < 6; ++r) g->SetGridCell(0, r, IntToStr(r));
    g->SetGridCell(1, 1, L"Apples");
    g->SetGridCell(2, 1, L"1.234,50");
    g->SetGridCell(3, 1, L"12");
    g->SetGridCell(1, 2, L"Pears \"green\"");
    g->SetGridCell(2, 2, L"0,75");
    g->SetGridCell(3, 2, L"7");
    g->SetGridCell(1, 3, L"Two\r\nlines");
    g->SetGridCell(2, 3, L"3,5");
    g->SetGridCell(4, 1, L"merged, two rows");
    g->MergeCells(4, 1, 1, 2);
    TCellProperties* p = g->GetCellProperties(4, 1);
    p->SetBrushColor(TColor(0xC8E8FF));
    p = g->GetCellProperties(2, 1);
    p->SetBrushColor(TColor(0xC0F0C0));
    p->SetAlignment(taRightJustify);
    p = g->GetCellProperties(1, 2);
    p->SetFontColor(TColor(0x0000C0));
    p->SetFontStyle(TFontStyles{fsBold});
    g->SetGridCell(1, 4, L"picture:");
    TBitmap* bmp = g->CreateBitmap(2, 4, false, haLeft, vaCenter);
    bmp->SetSize(40, 16);
    bmp->Canvas()->Brush()->SetColor(TColor(0x3060FF));
    bmp->Canvas()->FillRect(TRect{0, 0, 40, 16});
    bmp->Canvas()->Brush()->SetColor(TColor(0xFFD040));
    bmp->Canvas()->FillRect(TRect{20, 0, 40, 16});
    g->SetGridCell(1, 5, L"a, b; c");
    g->SetGridCell(3, 5, L"-42");
}

TLabel* Caption(TForm* form, int x, int y, const String& text)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetLeft(x);
    l->SetTop(y);
    l->SetCaption(text);
    return l;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string out;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
    const bool scratch = out.empty();
    if (scratch) {
        char tmpl[] = "/tmp/gridfilesdemo-XXXXXX";
        if (!mkdtemp(tmpl)) return 2;
        out = tmpl;
    }
    std::filesystem::create_directories(out);
    const String dir = String(out.begin(), out.end()) + L"/";

    if (!StartDemoBackend("gridfilesdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';

    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetCaption(L"Grid files");
    form->SetBorderStyle(bsSingle);
    form->SetAutoScroll(false);
    form->SetClientWidth(940);
    form->SetClientHeight(736);
    form->SetColor(clWhite);

    TDemoGrid* sample = MakeGrid(form, 12, 30);
    Caption(form, 12, 8, L"Sample grid (written in every format)");
    FillSample(sample);
    sample->SaveToBinFile(dir + L"grid.bin");
    sample->SaveToFile(dir + L"grid.txt");
    sample->SaveToCSV(dir + L"grid.csv");
    TIntList widths(0, 0);
    sample->SaveToFixed(dir + L"grid-fixed.txt", &widths);
    sample->SaveToASCII(dir + L"grid-plain.txt");
    sample->SaveToHTML(dir + L"grid.html", false, true);
    gridfilesdemo::WriteSettingsFormats(sample, form, dir);

    TDemoGrid* fromBin = MakeGrid(form, 476, 30);
    Caption(form, 476, 8, L"Read back: binary cell stream (grid.bin)");
    fromBin->LoadFromBinFile(dir + L"grid.bin");
    TDemoGrid* fromText = MakeGrid(form, 12, 258);
    Caption(form, 12, 236, L"Read back: native text (grid.txt)");
    fromText->LoadFromFile(dir + L"grid.txt");
    TDemoGrid* fromCsv = MakeGrid(form, 476, 258);
    Caption(form, 476, 236, L"Read back: CSV (grid.csv)");
    fromCsv->LoadFromCSV(dir + L"grid.csv");
    TDemoGrid* fromXml = MakeGrid(form, 12, 486);
    Caption(form, 12, 464, L"Read back: XML (grid.xml)");
    TDemoGrid* fromSettings = MakeGrid(form, 476, 486);
    Caption(form, 476, 464, L"Look and columns read back (grid-look.txt, grid-columns.txt)");
    gridfilesdemo::ReadSettingsFormats(fromXml, fromSettings, dir);

    std::vector<std::string> files;
    for (auto& e : std::filesystem::recursive_directory_iterator(out))
        if (e.is_regular_file()) files.push_back(std::filesystem::relative(e.path(), out).string());
    std::sort(files.begin(), files.end());
    // The list in two lines: the folder and the first files, then the rest.
    String list[2] = {L"Files in " + dir + L":", L""};
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& f = files[i];
        const auto size = static_cast<long long>(std::filesystem::file_size(std::filesystem::path(out) / f));
        std::fprintf(stderr, "FILE %s %lld\n", f.c_str(), size);
        list[i < files.size() / 2 ? 0 : 1] += L"  " + String(f.begin(), f.end()) + L" (" + IntToStr(Int64(size)) + L")";
    }
    if (scratch) std::filesystem::remove_all(out);
    Caption(form, 12, 694, list[0]);
    Caption(form, 12, 714, list[1]);

    form->Show();
    RunDemoLoop(form, DemoSeconds(argc, argv));
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
