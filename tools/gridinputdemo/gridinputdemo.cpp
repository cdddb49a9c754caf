// The string grid's input and editing on one window: an editable grid with
// a node column, text (completing from a lookup list), combo, check box and
// date columns, a markup cell with a check box, an edit and a "CELL://"
// link, a number column summed in a floating footer, hover row and hover
// buttons, sortable, sizable and movable headers and disjunct rows. The
// keys and mouse families add their set-ups in files of their own here.
//
// Before "READY left top width height" it prints "AT <name> x y x y" with
// the screen centre of named cells (text, combo, check, date, markup,
// amount, header); afterwards a line per edit event: "CHANGE col row text"
// as the default editor's text changes, "VALIDATE col row text" when a
// value is validated and "DONE col row text" when an edit has ended.
//
//   gridinputdemo [--seconds N]
#include <cstdarg>
#include <cstdio>

#include "GridInputDemo.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

// Nothing until the keys and mouse families' set-ups are linked in.
__attribute__((weak)) void SetUpGridInputKeys(TForm*, TVodStringGrid*) {}
__attribute__((weak)) void SetUpGridInputMouse(TForm*, TVodStringGrid*) {}

void DemoSay(const char* Format, ...)
{
    va_list args;
    va_start(args, Format);
    std::vprintf(Format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

namespace {

const wchar_t* kFruit[] = {L"Apple", L"Apricot", L"Banana", L"Blueberry", L"Cherry", L"Grape", L"Lemon", L"Mango"};
const wchar_t* kStates[] = {L"Open", L"Planned", L"Closed"};

class TInputForm : public TForm {
public:
    explicit TInputForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Grid = nullptr;

    void Fill()
    {
        SetCaption(L"Grid input and editing");
        SetBorderStyle(bsSingle);
        SetAutoScroll(false);
        SetBounds(0, 0, 860, 520);
        SetClientWidth(840);
        SetClientHeight(470);
        SetColor(clWhite);
        Grid = CreateGrid<TVodStringGrid>(this);
        Grid->SetParent(this);
        Grid->SetBounds(10, 10, 820, 450);
        Grid->SetColCount(kDemoCols);
        Grid->SetRowCount(16);
        Grid->SetDefaultRowHeight(24);
        Grid->SetDefaultColWidth(100);
        Grid->SetColWidths(kNodeCol, 28);
        Grid->SetColWidths(kMarkupCol, 250);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goColSizing, goColMoving, goRowSizing});
        const wchar_t* heads[] = {L"", L"Fruit", L"State", L"Done", L"Date", L"Notes", L"Amount"};
        for (int c = 0; c < kDemoCols; ++c) Grid->SetCells(c, 0, heads[c]);
        for (int r = 1; r < 15; ++r) {
            Grid->SetCells(kTextCol, r, kFruit[(r * 5) % 8]);
            Grid->SetCells(kComboCol, r, kStates[r % 3]);
            Grid->SetCells(kDateCol, r, L"2026-12-" + IntToStr(r < 10 ? 10 + r : r));
            Grid->SetCells(kAmountCol, r, IntToStr(r * 37 % 200 + 10));
        }
        Grid->SetCells(kMarkupCol, 2,
                       L"<CONTROL TYPE=\"CHECK\" ID=\"ok\" VALUE=\"TRUE\"> ready "
                       L"<CONTROL TYPE=\"EDIT\" ID=\"note\" WIDTH=\"70\" VALUE=\"call\"> "
                       L"<A HREF=\"CELL://R6C1\">row 6</A>");
        Grid->SetCells(kMarkupCol, 4, L"<b>bold</b> and <i>italic</i> notes");
        Grid->AddCheckBoxColumn(kCheckCol, false);
        for (int r : {1, 4, 5, 9}) Grid->SetCheckBoxState(kCheckCol, r, true);
        // An outline: rows 3 to 6 and 8 to 10 under nodes.
        Grid->AddNode(3, 4);
        Grid->AddNode(8, 3);
        // Completion from a lookup list in the text column.
        Grid->SetLookup(true);
        for (const wchar_t* f : kFruit) Grid->LookupItems()->Add(f);
        Grid->ClearComboString();
        for (const wchar_t* s : kStates) Grid->AddComboString(s);
        Grid->OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& E) {
            if (ACol == kComboCol) E = edComboList;
            else if (ACol == kDateCol) E = edDateEdit;
            else if (ACol == kAmountCol) E = edNumeric;
        };
        Grid->OnEditChange = [](TObject*, Integer ACol, Integer ARow, const String& V) {
            DemoSay("CHANGE %d %d %s", int(ACol), int(ARow), UTF8Encode(V).c_str());
        };
        Grid->OnCellValidate = [](TObject*, Integer ACol, Integer ARow, String& V, bool&) {
            DemoSay("VALIDATE %d %d %s", int(ACol), int(ARow), UTF8Encode(V).c_str());
        };
        Grid->OnEditCellDone = [this](TObject*, Integer ACol, Integer ARow) {
            DemoSay("DONE %d %d %s", int(ACol), int(ARow), UTF8Encode(Grid->Cells(ACol, ARow)).c_str());
        };
        // Hover row, hover buttons, sorting, disjunct rows, the footer.
        Grid->SetHoverRow(true);
        Grid->HoverButtons()->SetEnabled(true);
        Grid->HoverButtons()->SetColumn(kAmountCol);
        Grid->HoverButtons()->Buttons()->Add()->SetCaption(L"+");
        Grid->SortSettings()->SetShow(true);
        Grid->MouseActions()->SetDisjunctRowSelect(true);
        for (int r : {11, 13}) Grid->SetRowSelect(r, true);
        Grid->FloatingFooter()->SetVisible(true);
        Grid->SetCells(kTextCol, 15, L"Total");
        Grid->CalcFooter(-1);
        SetUpGridInputKeys(this, Grid);
        SetUpGridInputMouse(this, Grid);
    }

    void Announce()
    {
        struct {
            const char* Name;
            int Col, Row;
        } cells[] = {{"text", kTextCol, 3}, {"combo", kComboCol, 3}, {"check", kCheckCol, 3}, {"date", kDateCol, 3},
                     {"markup", kMarkupCol, 2}, {"amount", kAmountCol, 3}, {"header", kAmountCol, 0}};
        for (auto& c : cells) {
            const TRect r = Grid->CellRect(c.Col, c.Row);
            const TPoint p = Grid->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
            const TPoint q = Grid->ClientToScreen(TPoint{r.Left + 4, (r.Top + r.Bottom) / 2});
            DemoSay("AT %s %d %d %d %d", c.Name, p.X, p.Y, q.X, q.Y);
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TInputForm>("gridinputdemo", argc, argv, [](auto* f) { f->Fill(); }, {},
                                 [](auto* f) { f->Announce(); });
}
