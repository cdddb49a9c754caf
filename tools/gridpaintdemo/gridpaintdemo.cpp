// The grid painting demo: one window with the main grid in a modern look
// (one header hot, a sorted column with its glyph and a second sort index,
// a filter glyph, bands, a selection, a merged cell, numbers aligned right,
// always-visible combo and spin buttons) and a second grid beside it. The
// families of cell text and graphics and of styles and companion windows
// add their cells and windows through set-up steps in their own files of
// this folder (GridPaintDemo.h). Once painted and shown it prints its check
// points, then "READY left top width height", and runs until closed or its
// time is up.
//
//   gridpaintdemo [--seconds N]
#include <algorithm>
#include <cstdio>
#include <map>

#include "controls/foundation/LibraryStartup.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"
#include "tools/gridpaintdemo/GridPaintDemo.h"

namespace {

std::multimap<int, TGridPaintDemoSetup>& Steps()
{
    static std::multimap<int, TGridPaintDemoSetup> steps;
    return steps;
}

struct TCheck {
    std::string Name;
    TVodStringGrid* Grid;
    Integer Col, Row;
    int Dx, Dy;
    TColor Color;
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Grid painting");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetAutoScroll(false);
        SetClientWidth(1000);
        SetClientHeight(600);
        SetColor(clWhite);

        Demo.Form = this;
        Demo.Grid = CreateGrid<TVodStringGrid>(this);
        Demo.Grid->SetParent(this);
        Demo.Grid->SetBounds(8, 8, 716, 584);
        Demo.ToneGrid = CreateGrid<TVodStringGrid>(this);
        Demo.ToneGrid->SetParent(this);
        Demo.ToneGrid->SetBounds(732, 8, 260, 584);
        Demo.Point = [this](const char* Name, TVodStringGrid* G, Integer Col, Integer Row, int Dx, int Dy, TColor C) {
            Checks.push_back({Name, G, Col, Row, Dx, Dy, C});
        };
    }

    void Fill()
    {
        TVodStringGrid* g = Demo.Grid;
        g->SetColCount(10);
        g->SetRowCount(22);
        g->SetDefaultRowHeight(24);
        g->SetOptions(g->Options() + TGridOptions{goRangeSelect});
        g->SetColWidths(0, 30);
        g->SetColWidths(1, 84);
        g->SetColWidths(2, 74);
        g->SetColWidths(3, 70);
        g->SetColWidths(4, 80);
        g->SetColWidths(5, 60);
        for (Integer c = 6; c < 10; ++c) g->SetColWidths(c, 84);
        const wchar_t* heads[] = {L"", L"Name", L"Kind", L"Amount", L"Combo", L"Spin", L"Note", L"", L"", L""};
        for (Integer c = 0; c < 10; ++c) g->SetCells(c, 0, heads[c]);
        const wchar_t* names[] = {L"Alder", L"Birch", L"Cedar", L"Dogwood", L"Elm", L"Fir", L"Ginkgo",
                                  L"Hazel", L"Ironwood", L"Juniper", L"Katsura", L"Larch", L"Maple",
                                  L"Nutmeg", L"Oak", L"Pine", L"Quince", L"Rowan", L"Spruce", L"Teak", L"Yew"};
        for (Integer r = 1; r < g->RowCount(); ++r) {
            g->SetCells(0, r, IntToStr(r));
            g->SetCells(1, r, names[(r - 1) % 21]);
            g->SetCells(2, r, r % 3 == 0 ? L"conifer" : L"broadleaf");
            g->SetCells(3, r, FormatFloat(L"0.00", (r * 37 % 101) * 1.25));
            g->SetCells(4, r, r % 2 ? L"open" : L"closed");
            g->SetCells(5, r, IntToStr(r * 3));
        }
        g->SetAutoNumAlign(true);

        // The look: gradient headers, the header of column 3 hot.
        g->SetLook(glXP);
        g->SetHoverFixedCells(hfAll);
        g->ControlLook()->SetFixedGradientHoverFrom(TColor(0xC4F0FF));
        g->ControlLook()->SetFixedGradientHoverTo(TColor(0x5AC8FF));
        g->ControlLook()->SetFixedGradientHoverBorder(TColor(0x3C8CC8));
        g->SetHoverFixedCell(TPoint{3, 0});
        // Sorted by name, then by kind (index numbers shown).
        g->SortSettings()->SetShow(true);
        g->SortSettings()->IndexShow = true;
        g->SortSettings()->Column = 1;
        g->SortIndexes()->AddIndex(1, true);
        g->SortIndexes()->AddIndex(2, false);
        // A filter list for the amounts: the header shows the filter glyph.
        g->OnGetColumnFilter = [](TObject*, Integer ACol, TStrings* Values) {
            if (ACol == 3) {
                Values->Add(L"> 50");
                Values->Add(L"< 10");
            }
        };
        // Bands, a selection, a merged cell of its own colour.
        g->Bands()->SetPrimaryColor(TColor(0xF4ECE0));
        g->Bands()->SetSecondaryColor(clWhite);
        g->Bands()->SetActive(true);
        g->SetSelectionColor(TColor(0xEACAB6));
        g->SetSelection(TGridRect{1, 9, 3, 11});
        g->SetCells(6, 2, L"merged 2 x 3");
        g->MergeCells(6, 2, 2, 3);
        g->SetColors(6, 2, TColor(0xC8E8FF));
        // Always-visible buttons: combo lists in column 4, spin edits in 5.
        g->ControlLook()->SetDropDownAlwaysVisible(true);
        g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
        g->OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& E) {
            if (ACol == 4) E = edComboList;
            if (ACol == 5) E = edSpinEdit;
        };

        TVodStringGrid* t = Demo.ToneGrid;
        t->SetColCount(3);
        t->SetRowCount(40);
        t->SetColWidths(0, 30);
        t->SetColWidths(1, 110);
        t->SetColWidths(2, 90);
        t->SetCells(1, 0, L"Item");
        t->SetCells(2, 0, L"Value");
        for (Integer r = 1; r < t->RowCount(); ++r) {
            t->SetCells(0, r, IntToStr(r));
            t->SetCells(1, r, L"Item " + IntToStr(r));
            t->SetCells(2, r, IntToStr(r * r));
        }

        Demo.Point("band", g, 4, 1, 40, 4, TColor(0xF4ECE0));
        Demo.Point("selection", g, 2, 10, 60, 4, TColor(0xEACAB6));
        Demo.Point("merged", g, 7, 3, 120, 50, TColor(0xC8E8FF));

        for (auto& s : Steps()) s.second(Demo);
    }

    void Announce()
    {
        for (const TCheck& c : Checks) {
            const TRect rc = c.Grid->CellRect(c.Col, c.Row);
            const TPoint p = c.Grid->ClientToParent(TPoint{rc.Left + c.Dx, rc.Top + c.Dy}, this);
            const TColor rgb = ColorToRGB(c.Color);
            std::printf("POINT %s %d %d %02X%02X%02X\n", c.Name.c_str(), p.X, p.Y, unsigned(rgb & 0xFF),
                        unsigned((rgb >> 8) & 0xFF), unsigned((rgb >> 16) & 0xFF));
        }
        std::fflush(stdout);
    }

    TGridPaintDemo Demo;
    std::vector<TCheck> Checks;
};

}  // namespace

bool RegisterGridPaintDemoSetup(int Order, TGridPaintDemoSetup Step)
{
    Steps().emplace(Order, std::move(Step));
    return true;
}

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("gridpaintdemo", argc, argv, [](auto* f) { f->Fill(); }, {},
                                 [](auto* f) { f->Announce(); });
}
