// The string grid's outline page on one window: a TVodStringGrid holding a
// node tree (one node contracted, one nested), a check-box column whose node
// rows have three-state boxes (one parent grayed over mixed children), a
// radio button column, a radio group cell, an expand button and balloons;
// beside it a memo lists the states the grid keeps for them. The grid shows
// them as the grid's painting draws them. Once painted and shown it prints
// "READY left top width height" and runs until closed or its time is up.
//
//   stringgriddemo_outline [--seconds N]
#include <cstdio>

#include "OutlinePage.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

// Nothing until the grouping family's set-up is linked in.
__attribute__((weak)) void SetUpOutlineGrouping(TForm*, TVodStringGrid*) {}

namespace {

const wchar_t* StateName(TCheckBoxState s)
{
    return s == cbChecked ? L"checked" : s == cbGrayed ? L"grayed" : L"unchecked";
}

class TOutlineForm : public TForm {
public:
    explicit TOutlineForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"String grid: outline");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetAutoScroll(false);
        SetClientWidth(980);
        SetClientHeight(560);
        SetColor(clWhite);

        FGrid = CreateGrid<TVodStringGrid>(this);
        FGrid->SetParent(this);
        FGrid->SetBounds(8, 8, 600, 544);
        FGrid->SetColCount(7);
        FGrid->SetRowCount(15);
        FGrid->SetDefaultRowHeight(24);

        FMemo = new TMemo(this);
        FMemo->SetParent(this);
        FMemo->SetBounds(616, 8, 356, 544);
        FMemo->SetScrollBars(ssVertical);
        FMemo->Font()->SetName(L"Courier New");
        FMemo->Font()->SetSize(8);
    }

    void Fill()
    {
        TVodStringGrid* g = FGrid;
        const wchar_t* heads[] = {L"", L"Task", L"Done", L"Priority", L"Size", L"Details", L"Note"};
        for (Integer c = 0; c < 7; ++c) g->SetCells(c, 0, heads[c]);
        const wchar_t* tasks[] = {L"Garden",  L"Beds",    L"Roses",  L"Tulips", L"Hedge",  L"Fence",  L"House",
                                  L"Windows", L"Gutters", L"Roof",   L"Garage", L"Doors",  L"Floor",  L"Shelves"};
        for (Integer r = 1; r < 15; ++r) g->SetCells(1, r, tasks[r - 1]);
        g->SetColWidths(0, 44);
        g->SetColWidths(1, 110);
        g->SetColWidths(5, 90);
        // The tree: Garden (1..6) holds Beds (2..4); House (7..10); Garage
        // (11..14), contracted below.
        g->AddNode(1, 6);
        g->AddNode(2, 3);
        g->AddNode(7, 4);
        g->AddNode(11, 4);
        // Check boxes: node rows get three states. Garden's children are
        // mixed, so it shows grayed; House's are all done.
        g->AddCheckBoxColumn(2, false, false);
        for (Integer r : {3, 5, 8, 9, 10}) g->SetCheckBoxState(2, r, true);
        g->SetCheckBoxState(2, 1, cbGrayed);
        g->SetCheckBoxState(2, 2, cbGrayed);
        g->SetCheckBoxState(2, 7, cbChecked);
        // Radio buttons: one run per group, broken by the node rows.
        for (Integer r = 2; r < 15; ++r)
            if (!g->IsNode(r)) g->AddRadioButton(3, r, false);
        g->SetCells(3, 1, L"");
        g->ToggleCellRadio(3, 3, false);
        g->ToggleCellRadio(3, 9, false);
        // A radio group with three options in one cell, the second chosen.
        TStrings* sizes = g->CreateRadio(4, 5, 1, 1);
        sizes->Add(L"S");
        sizes->Add(L"M");
        sizes->Add(L"L");
        g->SetCells(4, 5, L"M");
        // An expand button that switches its row between 24 and 60 pixels.
        g->SetCells(5, 8, L"more...");
        g->AddExpand(5, 8, 60);
        if (g->ToggleExpand(5, 8)) g->ExpandClick(5, 8, true);
        // Balloons: one of its own, one on a check box.
        g->SetCells(6, 4, L"see tip");
        g->AddBalloon(6, 4, L"Tulips", L"Plant them in October.", biInfo);
        g->AddBalloon(2, 9, L"Gutters", L"Cleaned last week.", biWarning);
        g->Balloon()->SetEnable(true);
        g->ContractNode(11);
        SetUpOutlineGrouping(this, g);
        Describe();
    }

    void Describe()
    {
        TVodStringGrid* g = FGrid;
        TStrings* m = FMemo->Lines();
        m->Clear();
        m->Add(L"Outline: " + IntToStr(g->NodeCount()) + L" nodes, " + IntToStr(g->RowCount()) + L" rows shown, " +
               IntToStr(g->NumHiddenRows()) + L" hidden");
        for (Integer r = g->FixedRows(); r < g->RowCount(); ++r) {
            const Integer real = g->RealRowIndex(r);
            String line = IntToStr(r) + L" (" + IntToStr(real) + L") ";
            line += String(size_t(std::max(g->GetNodeIndent(r) / 12, 0)) * 2, L' ');
            line += g->Cells(1, r);
            if (g->IsNode(r))
                line += String(L" [node span ") + IntToStr(g->GetNodeSpan(r)) +
                        (g->GetNodeState(r) ? L", contracted]" : L", expanded]");
            else
                line += L" parent " + IntToStr(g->GetParentRow(r));
            TCheckBoxState s = cbUnchecked;
            if (g->GetCheckBoxState(2, real, s)) line += String(L" done:") + StateName(s);
            if (g->IsRadioButtonChecked(3, r)) line += L" (o)";
            m->Add(line);
        }
        Integer idx = -1;
        g->GetRadioIdx(4, 5, idx);
        m->Add(L"");
        m->Add(L"Radio group (4,5): option " + IntToStr(idx) + L" \"" + g->Cells(4, 5) + L"\" of " +
               IntToStr(g->GetRadioStrings(4, 5) ? g->GetRadioStrings(4, 5)->Count() : 0));
        m->Add(L"Expand button (5,8): " + String(g->GetExpandState(5, 8) ? L"expanded" : L"collapsed") +
               L", row height " + IntToStr(g->RowHeights(8)) + L" (" + IntToStr(g->GetExpandHeight(5, 8, false)) +
               L"/" + IntToStr(g->GetExpandHeight(5, 8, true)) + L")");
        for (auto [c, r] : {std::pair{6, 4}, std::pair{2, 9}}) {
            String title, text;
            Integer icon = 0;
            if (g->IsBalloon(c, r, title, text, icon))
                m->Add(L"Balloon (" + IntToStr(c) + L"," + IntToStr(r) + L"): " + title + L" - " + text + L" icon " +
                       IntToStr(icon));
        }
    }

    // Points the smoke test checks, in the form's client coordinates.
    void Announce()
    {
        auto point = [&](const char* name, TPoint p, TColor colour) {
            const TColor rgb = ColorToRGB(colour);
            std::printf("POINT %s %d %d %02X%02X%02X\n", name, p.X, p.Y, unsigned(rgb & 0xFF),
                        unsigned((rgb >> 8) & 0xFF), unsigned((rgb >> 16) & 0xFF));
        };
        point("memo", TPoint{FMemo->Left() + FMemo->Width() - 30, FMemo->Top() + FMemo->Height() - 30}, clWindow);
        std::fflush(stdout);
    }

private:
    TVodStringGrid* FGrid = nullptr;
    TMemo* FMemo = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TOutlineForm>("stringgriddemo_outline", argc, argv, [](auto* f) { f->Fill(); }, {},
                                 [](auto* f) { f->Announce(); });
}
