// The string grid's clipboard and drag and drop on one window: a source
// grid with a block selected, a target grid, "Copy" and "Paste" buttons, a
// memo with the text form of the last copy and a label listing the formats
// the clipboard holds. Both grids are drop targets and drag sources.
//
// Before "READY left top width height" it prints "AT <name> x y x y" with
// the screen centres of the buttons ("copy", "paste") and of the target
// grid's cell B2 ("target"). Afterwards: "COPIED <text>" after a copy (tabs
// shown as "|", line breaks as "/") and "PASTED <col> <row> <texts of the
// target's cells B2:D4 joined by ','>" after a paste or drop.
//
//   griddnddemo [--seconds N]
#include <cstdio>
#include <string>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tools/DemoLoop.h"

namespace {

std::string Shown(const String& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'\t') out += '|';
        else if (c == L'\r') out += '/', i += i + 1 < s.size() && s[i + 1] == L'\n';
        else out += c < 0x80 && c >= 0x20 ? char(c) : '?';
    }
    return out;
}

// The names of the formats on the clipboard, one line.
String ClipboardFormats()
{
    String names;
    if (!OpenClipboard(nullptr)) return L"(the clipboard is busy)";
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        wchar_t buf[128];
        String name;
        if (f == CF_TEXT) name = L"CF_TEXT";
        else if (f == CF_UNICODETEXT) name = L"CF_UNICODETEXT";
        else if (GetClipboardFormatName(f, buf, 128) > 0) name = buf;
        else name = L"#" + IntToStr(Integer(f));
        names += (names.empty() ? L"" : L", ") + name;
    }
    CloseClipboard();
    return L"Clipboard formats: " + (names.empty() ? String(L"(none)") : names);
}

class TDndForm : public TForm {
public:
    explicit TDndForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Source = nullptr;
    TVodStringGrid* Target = nullptr;
    TButton* CopyButton = nullptr;
    TButton* PasteButton = nullptr;
    TMemo* Memo = nullptr;
    TLabel* Formats = nullptr;

    TVodStringGrid* MakeGrid(int x, const wchar_t* title)
    {
        auto* g = CreateGrid<TVodStringGrid>(this);
        g->SetParent(this);
        g->SetBounds(x, 10, 400, 230);
        g->SetColCount(5);
        g->SetRowCount(9);
        g->SetDefaultColWidth(76);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect});
        g->SetCells(0, 0, title);
        for (int c = 1; c < 5; ++c) g->SetCells(c, 0, String(1, wchar_t(L'A' + c)));
        for (int r = 1; r < 9; ++r) g->SetCells(0, r, IntToStr(r + 1));
        g->Navigation()->SetAllowFmtClipboard(true);
        g->Navigation()->SetAllowClipboardShortCuts(true);
        g->DragDropSettings()->OleEntireRows = false;
        g->DragDropSettings()->SetOleDropTarget(true);
        return g;
    }

    void Fill()
    {
        SetCaption(L"Grid clipboard and drag and drop");
        SetBorderStyle(bsSingle);
        SetBounds(0, 0, 860, 440);
        SetClientWidth(840);
        SetClientHeight(400);
        SetColor(TColor(0xF4F0EC));
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);
        Source = MakeGrid(10, L"Source");
        Target = MakeGrid(430, L"Target");
        const wchar_t* words[] = {L"Velmora", L"Streamhall", L"Clipworks", L"Vidnest", L"Reelbay", L"Framefold"};
        for (int r = 1; r < 9; ++r)
            for (int c = 1; c < 5; ++c)
                Source->SetCells(c, r, c == 1 ? String(words[(r * 5) % 6]) : IntToStr(r * 10 + c));
        Source->SetCells(3, 2, L"two\r\nlines");
        CopyButton = new TButton(this);
        CopyButton->SetParent(this);
        CopyButton->SetBounds(10, 250, 90, 26);
        CopyButton->SetCaption(L"Copy");
        CopyButton->OnClick = [this](TObject*) { Copy(); };
        PasteButton = new TButton(this);
        PasteButton->SetParent(this);
        PasteButton->SetBounds(430, 250, 90, 26);
        PasteButton->SetCaption(L"Paste");
        PasteButton->OnClick = [this](TObject*) { Target->PasteSelectionFromClipboard(); };
        Memo = new TMemo(this);
        Memo->SetParent(this);
        Memo->SetBounds(10, 286, 820, 80);
        Memo->SetReadOnly(true);
        Formats = new TLabel(this);
        Formats->SetParent(this);
        Formats->SetBounds(10, 374, 820, 18);
        Target->OnClipboardPasteDone = [this](TObject*, TGridRect R) { Pasted(R.Left, R.Top); };
        Target->OnOleDropped = [this](TObject*, const TGridRect& R) { Pasted(R.Left, R.Top); };
        // The block B2:D4 selected in the source, the target's B2 current.
        Source->SetSelection(TGridRect{1, 1, 3, 3});
        Target->SetCol(1);
        Target->SetRow(2);
        Copy();
    }

    void Copy()
    {
        Source->CopySelectionToClipboard();
        const String text = Source->SelectionAsText();
        Memo->SetText(text);
        Formats->SetCaption(ClipboardFormats());
        std::printf("COPIED %s\n", Shown(text).c_str());
        std::fflush(stdout);
    }

    void Pasted(Integer Col, Integer Row)
    {
        std::string cells;
        for (int r = 2; r <= 4; ++r)
            for (int c = 1; c <= 3; ++c) cells += (cells.empty() ? "" : ",") + Shown(Target->Cells(c, r));
        std::printf("PASTED %d %d %s\n", int(Col), int(Row), cells.c_str());
        std::fflush(stdout);
    }

    void Announce()
    {
        auto say = [](const char* name, TControl* c, TPoint p) {
            const TPoint s = c->ClientToScreen(p);
            std::printf("AT %s %d %d %d %d\n", name, s.X, s.Y, s.X, s.Y);
        };
        say("copy", CopyButton, TPoint{45, 13});
        say("paste", PasteButton, TPoint{45, 13});
        const TRect r = Target->CellRect(1, 2);
        say("target", Target, TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("griddnddemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDndForm* form = nullptr;
    Application->CreateForm(form);
    form->Fill();
    form->Show();
    RunDemoLoop(form, DemoSeconds(argc, argv), [form] { form->Announce(); });
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
