// The string grid on one window: a TVodStringGrid as its constructor makes
// it (the default look), filled with a header, row numbers and texts, with a
// merged area, cells with their own colours, cell graphics (progress bars,
// comments, a rating, a shape) and a selection; beside it a memo lists the
// grid's facts: the owned objects and defaults, the display and real
// indexes of the rows and columns, the selection and the cell graphics.
// Once painted and shown it prints "READY left top width height" and runs
// until closed or its time is up.
//
//   stringgriddemo [--seconds N]
#include <cstdio>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

namespace {

String Hex(TColor c)
{
    return IntToHex(Integer(c), 6);
}

// The string grid as the application gets it: it paints itself.
class TDemoGrid : public TVodStringGrid {
public:
    explicit TDemoGrid(TComponent* o) : TVodStringGrid(o) {}
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"String grid");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetAutoScroll(false);
        SetClientWidth(980);
        SetClientHeight(560);
        SetColor(clWhite);

        FGrid = CreateGrid<TDemoGrid>(this);
        FGrid->SetParent(this);
        FGrid->SetBounds(8, 8, 560, 544);
        FGrid->SetColCount(8);
        FGrid->SetRowCount(20);
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goRangeSelect});

        FMemo = new TMemo(this);
        FMemo->SetParent(this);
        FMemo->SetBounds(576, 8, 396, 544);
        FMemo->SetScrollBars(ssVertical);
        FMemo->Font()->SetName(L"Courier New");
        FMemo->Font()->SetSize(8);
    }

    void Fill()
    {
        TDemoGrid* g = FGrid;
        const wchar_t* heads[] = {L"#", L"Name", L"Kind", L"Amount", L"Done", L"Rating", L"Note", L"Mark"};
        for (Integer c = 0; c < 8; ++c) g->SetCells(c, 0, heads[c]);
        const wchar_t* names[] = {L"Alder", L"Birch", L"Cedar", L"Dogwood", L"Elm", L"Fir", L"Ginkgo",
                                  L"Hazel", L"Ironwood", L"Juniper", L"Katsura", L"Larch", L"Maple",
                                  L"Nutmeg", L"Oak", L"Pine", L"Quince", L"Rowan", L"Spruce"};
        for (Integer r = 1; r < 20; ++r) {
            g->SetCells(0, r, IntToStr(r));
            g->SetCells(1, r, names[r - 1]);
            g->SetCells(2, r, r % 3 == 0 ? L"conifer" : L"broadleaf");
            g->SetCells(3, r, IntToStr(r * 37 % 101));
        }
        // A merged area with its own colour, cells with their own looks.
        g->SetCells(6, 2, L"merged 2 x 3");
        g->MergeCells(6, 2, 2, 3);
        g->GetCellProperties(6, 2)->SetBrushColor(TColor(0xFFE8C8));
        g->GetCellProperties(2, 6)->SetBrushColor(TColor(0xC8F0FF));
        g->GetCellProperties(2, 6)->SetFontStyle(TFontStyles{fsItalic});
        // Cell graphics and comments.
        for (Integer r = 1; r < 8; ++r) {
            g->AddProgress(4, r, TColor(0x30B030), TColor(0xE0E0E0));
            g->SetCells(4, r, IntToStr(r * 14));
        }
        g->AddRating(5, 1, 5, TColor(0x00A0FF), TColor(0xE0E0E0));
        g->SetCells(5, 1, L"4");
        g->AddRating(5, 2, 5, TColor(0x00A0FF), TColor(0xE0E0E0));
        g->SetCells(5, 2, L"2");
        g->AddShape(7, 6, csCircle, TColor(0x4040E0), TColor(0x202080), haLeft, vaCenter);
        g->AddComment(1, 3, L"Cedar: a comment");
        g->AddComment(3, 5, L"Amount checked");
        // An inserted row, a moved row, hidden rows and a hidden column.
        g->InsertRows(5, 1);
        g->SetCells(0, 5, L"+");
        g->SetCells(1, 5, L"(inserted)");
        g->GetCellProperties(1, 5)->SetBrushColor(TColor(0xD0FFD0));
        g->SetCells(1, 16, g->Cells(1, 16) + L" (moved)");
        g->SetColWidths(1, 96);
        g->MoveRow(16, 8);
        g->HideRows(12, 13);
        g->HideColumn(2);
        // A fixed footer row with the amounts' total and a fixed right column.
        g->FFixedFooters = 1;
        g->FFixedRightCols = 1;
        const Integer last = g->RowCount() - 1;
        Integer total = 0;
        for (Integer r = g->FixedRows(); r < last; ++r) total += StrToIntDef(g->Cells(3, r), 0);
        g->SetCells(0, last, L"");
        g->SetCells(1, last, L"Total");
        g->SetCells(3, last, IntToStr(total));
        g->SetCells(7, 0, L"Mark");
        // A disjunct cell selection: three cells apart from each other.
        g->MouseActions()->SetDisjunctCellSelect(true);
        g->SetSelectedCells(1, 9, true);
        g->SetSelectedCells(2, 11, true);
        g->SetSelectedCells(3, 13, true);
        Describe();
    }

    void Describe()
    {
        TDemoGrid* g = FGrid;
        TStrings* m = FMemo->Lines();
        m->Clear();
        m->Add(L"TVodStringGrid " + IntToStr(g->Width()) + L" x " + IntToStr(g->Height()));
        m->Add(L"RowCount " + IntToStr(g->RowCount()) + L", ColCount " + IntToStr(g->ColCount()) +
               L", fixed " + IntToStr(g->FixedRows()) + L"/" + IntToStr(g->FixedCols()));
        m->Add(L"DefaultRowHeight " + IntToStr(g->DefaultRowHeight()) + L", BorderColor $" + Hex(g->BorderColor()));
        m->Add(L"SelectionColor $" + Hex(g->SelectionColor()) + L", CheckTrue/False " + g->CheckTrue() + L"/" +
               g->CheckFalse());
        m->Add(L"Fixed footer rows " + IntToStr(g->FixedFooters()) + L", fixed right columns " +
               IntToStr(g->FixedRightCols()));
        m->Add(L"Editors: combo " + String(g->Combobox() ? L"yes" : L"no") + L", footer panel " +
               String(g->FooterPanel() ? L"yes" : L"no"));
        m->Add(L"");
        m->Add(L"Columns (display -> real):");
        String cols;
        for (Integer c = 0; c < g->ColCount(); ++c)
            cols += IntToStr(c) + L"->" + IntToStr(g->RealColIndex(c)) + L" ";
        m->Add(L"  " + cols);
        m->Add(L"Rows (display -> real):");
        String rows;
        for (Integer r = 0; r < g->RowCount(); ++r) {
            rows += IntToStr(r) + L"->" + IntToStr(g->RealRowIndex(r)) + L" ";
            if (rows.size() > 40) {
                m->Add(L"  " + rows);
                rows.clear();
            }
        }
        if (!rows.empty()) m->Add(L"  " + rows);
        String hidden;
        for (Integer r = 0; r < g->TotalRowCount(); ++r)
            if (g->IsHiddenRow(r)) hidden += IntToStr(r) + L" ";
        m->Add(L"Hidden real rows: " + hidden + L"(" + IntToStr(g->NumHiddenRows()) + L")");
        String hcols;
        for (Integer c = 0; c < g->TotalColCount(); ++c)
            if (g->IsHiddenColumn(c)) hcols += IntToStr(c) + L" ";
        m->Add(L"Hidden real columns: " + hcols);
        m->Add(L"");
        String sel;
        for (Integer i = 0; i < g->SelectedCellsCount(); ++i) {
            const TGridCoord k = g->GetSelectedCell(i);
            sel += L"(" + IntToStr(k.X) + L"," + IntToStr(k.Y) + L") ";
        }
        m->Add(L"Disjunct selection (" + IntToStr(g->SelectedCellsCount()) + L" cells): " + sel);
        m->Add(L"");
        m->Add(L"Cell graphics (real column, row):");
        for (Integer r = 0; r < g->RowCount(); ++r)
            for (Integer c = 0; c < g->ColCount(); ++c) {
                String comment;
                if (g->IsComment(c, r, comment))
                    m->Add(L"  (" + IntToStr(c) + L"," + IntToStr(r) + L") comment \"" + comment + L"\"");
                else if (g->GetCellType(c, r) == ctRating)
                    m->Add(L"  (" + IntToStr(c) + L"," + IntToStr(r) + L") rating");
                else if (g->GetCellType(c, r) == ctShape)
                    m->Add(L"  (" + IntToStr(c) + L"," + IntToStr(r) + L") shape");
            }
        m->Add(L"  progress bars in column 4, rows 1..7");
    }

    // Points the smoke test checks, in the form's client coordinates: found
    // by what the cells hold, after the rows and columns have moved.
    void Announce()
    {
        TDemoGrid* g = FGrid;
        auto point = [&](const char* name, Integer c, Integer r, int dx, int dy, TColor colour) {
            const TRect rc = g->CellRect(c, r);
            const TPoint p = g->ClientToParent(TPoint{rc.Left + dx, rc.Top + dy}, this);
            const TColor rgb = ColorToRGB(colour);
            std::printf("POINT %s %d %d %02X%02X%02X\n", name, p.X, p.Y, unsigned(rgb & 0xFF),
                        unsigned((rgb >> 8) & 0xFF), unsigned((rgb >> 16) & 0xFF));
        };
        auto find = [&](const String& text, Integer& col, Integer& row) {
            for (Integer r = 0; r < g->RowCount(); ++r)
                for (Integer c = 0; c < g->ColCount(); ++c)
                    if (g->Cells(g->RealColIndex(c), r) == text) {
                        col = c;
                        row = r;
                        return true;
                    }
            return false;
        };
        Integer c = 0, r = 0;
        if (find(L"merged 2 x 3", c, r)) point("merged-area", c + 1, r + 1, 8, 6, TColor(0xFFE8C8));
        if (find(L"(inserted)", c, r)) point("inserted-row", c, r, 3, 3, TColor(0xD0FFD0));
        point("selection", 2, 11, 3, 3, g->SelectionColor());
        std::fflush(stdout);
    }

private:
    TDemoGrid* FGrid = nullptr;
    TMemo* FMemo = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("stringgriddemo", argc, argv, [](auto* f) { f->Fill(); }, {},
                                 [](auto* f) { f->Announce(); });
}
