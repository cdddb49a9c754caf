// The string grid's spreadsheet exchange on one window: Python's openpyxl
// writes a sample workbook of three sheets; the grid lists its sheets in a
// combo box (choosing one loads it) and loads the first; the grid is saved
// back to a second workbook, which openpyxl reads again: what it finds shows
// under the grid, on a green band when it matches the grid and a red one
// when it does not. Standard error gets "FILE name bytes" for both files and
// "READBACK line" for what openpyxl read. Standard output gets "POINT band x
// y rrggbb" and "READY left top width height" once shown; the demo runs
// until closed or its time is up.
//
//   xlsxdemo [--out FOLDER] [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/StdCtrls_List.h"
#include "tools/DemoLoop.h"

namespace {

std::string Python() { return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3"; }

// Runs a Python script; answers what it printed, or "" when it failed.
std::string RunPython(const std::string& dir, const std::string& script, bool& ok)
{
    const std::string py = dir + "/demo.py", out = dir + "/demo.out";
    std::ofstream(py) << script;
    ok = std::system((Python() + " " + py + " > " + out + " 2>&1").c_str()) == 0;
    std::ifstream in(out);
    std::stringstream s;
    s << in.rdbuf();
    std::filesystem::remove(py);
    std::filesystem::remove(out);
    return s.str();
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

String Wide(const std::string& s) { return UTF8ToString(s); }

}  // namespace

int main(int argc, char** argv)
{
    std::string out;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
    const bool scratch = out.empty();
    if (scratch) {
        char tmpl[] = "/tmp/xlsxdemo-XXXXXX";
        if (!mkdtemp(tmpl)) return 2;
        out = tmpl;
    }
    std::filesystem::create_directories(out);
    const std::string input = out + "/sample.xlsx", saved = out + "/saved.xlsx";

    bool made = false;
    const std::string why = RunPython(
        out,
        "import openpyxl, datetime\n"
        "wb = openpyxl.Workbook()\n"
        "ws = wb.active\nws.title = 'Orders'\n"
        "rows = [('Item', 'Qty', 'Price', 'Paid'), ('Apples', 12, 1.25, True), ('Pears', 7, 0.75, False),\n"
        "        ('Plums', 30, 2.5, True), ('Cherries', 4, 6.0, False), ('Figs', 9, 3.2, True)]\n"
        "for r in rows: ws.append(r)\n"
        "ws['E1'] = 'Note'\nws['E3'] = 'text \"quoted\"'\n"
        "st = wb.create_sheet('Stock')\nst['B2'] = 'Warehouse'\nst['C2'] = 'Shelves'\nst['B3'] = 'North'\nst['C3'] = 14\n"
        "nt = wb.create_sheet('Notes')\nnt['A1'] = 'Made by openpyxl'\n"
        "wb.save(r'" + input + "')\n",
        made);
    if (!made) {
        std::fprintf(stderr, "xlsxdemo: openpyxl could not write the sample workbook: %s\n", why.c_str());
        return 2;
    }

    if (!StartDemoBackend("xlsxdemo")) return 2;
    VodLibraryStartup();
    RegisterAutomationServers();
    InitForms();

    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetCaption(L"Spreadsheet exchange");
    form->SetBorderStyle(bsSingle);
    form->SetAutoScroll(false);
    form->SetClientWidth(720);
    form->SetClientHeight(420);
    form->SetColor(clWhite);

    Caption(form, 12, 10, L"Workbook written by openpyxl: " + Wide(input));
    Caption(form, 12, 38, L"Sheet:");
    auto* sheets = new TComboBox(form);
    sheets->SetParent(form);
    sheets->SetBounds(60, 34, 200, 24);
    sheets->SetStyle(csDropDownList);

    auto* grid = CreateGrid<TVodStringGrid>(form);
    grid->SetParent(form);
    grid->SetBounds(12, 68, 696, 200);
    grid->SetScrollBars(ssNone);
    grid->SetDefaultColWidth(120);

    int status = 0;
    try {
        std::unique_ptr<TStringList> names(grid->GetXLSSheets(Wide(input)));
        sheets->Items()->Assign(names.get());
        sheets->SetItemIndex(0);
        grid->LoadFromXLSSheet(Wide(input), names->Strings(0));
        grid->SaveToXLS(Wide(saved), true);
    } catch (const Exception& e) {
        std::fprintf(stderr, "xlsxdemo: %s\n", UTF8Encode(e.Message()).c_str());
        status = 1;
    }
    sheets->OnChange = [&](TObject*) {
        try {
            grid->LoadFromXLSSheet(Wide(input), sheets->Items()->Strings(sheets->ItemIndex()));
        } catch (const Exception& e) {
            std::fprintf(stderr, "xlsxdemo: %s\n", UTF8Encode(e.Message()).c_str());
        }
    };

    // What openpyxl reads back from the saved workbook, and whether every
    // cell matches the grid.
    bool read = false;
    std::string expected;
    for (Integer r = 0; r < grid->RowCount(); ++r) {
        expected += "[";
        for (Integer c = 0; c < grid->ColCount(); ++c) {
            const std::string s = UTF8Encode(grid->Cells(c, r));
            expected += (c ? ", " : "") + (s.empty() ? std::string("None") : "'" + s + "'");
        }
        expected += "]\n";
    }
    const std::string back = RunPython(out,
                                       "import openpyxl\n"
                                       "wb = openpyxl.load_workbook(r'" + saved + "')\n"
                                       "ws = wb.active\n"
                                       "for r in ws.iter_rows(values_only=True): print(list(r))\n",
                                       read);
    const bool matches = read && status == 0 && back == expected;
    for (const auto& f : {input, saved})
        if (std::filesystem::exists(f))
            std::fprintf(stderr, "FILE %s %lld\n", std::filesystem::path(f).filename().c_str(),
                         static_cast<long long>(std::filesystem::file_size(f)));
    std::istringstream lines(back);
    for (std::string l; std::getline(lines, l);) std::fprintf(stderr, "READBACK %s\n", l.c_str());

    Caption(form, 12, 276, L"Saved by the grid to " + Wide(saved) + L"; openpyxl reads back:");
    auto* band = new TPanel(form);
    band->SetParent(form);
    band->SetBounds(12, 296, 696, 112);
    band->SetBevelOuter(bvNone);
    band->SetParentBackground(false);
    band->SetColor(matches ? TColor(0xC0F0C0) : TColor(0xC0C0FF));
    band->SetCaption(L"");
    int y = 4;
    std::istringstream shown(back);
    for (std::string l; std::getline(shown, l) && y < 100; y += 16) {
        auto* t = new TLabel(form);
        t->SetParent(band);
        t->SetLeft(8);
        t->SetTop(y);
        t->SetCaption(Wide(l));
    }
    if (!matches) Caption(form, 12, 400, L"The saved workbook does not match the grid");
    if (scratch) std::filesystem::remove_all(out);

    form->Show();
    const uint32_t colour = matches ? 0xC0F0C0 : 0xFFC0C0;
    RunDemoLoop(form, DemoSeconds(argc, argv), [&] {
        std::printf("POINT band %d %d %06x\n", 700, 400, colour);
    });
    DoneForms();
    VodLibraryShutdown();
    return matches ? 0 : 1;
}
