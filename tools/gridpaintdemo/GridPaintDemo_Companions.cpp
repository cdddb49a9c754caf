// The grid painting demo's companion windows: the floating footer with the
// column sums under the main grid, the search panel open below it, the
// focus frame around one cell, and the second grid in colour tones with its
// thin scroll bars, scrolled a little so that the thumb is off the top.
#include "controls/foundation/VodStyleIF.h"
#include "tools/gridpaintdemo/GridPaintDemo.h"

namespace {

void SetUpFooter(TVodStringGrid* G)
{
    TFloatingFooter* ff = G->FloatingFooter();
    ff->SetColor(TColor(0xF0E6DC));
    ff->SetBorderColor(TColor(0x996633));
    ff->SetVisible(true);
    const Integer last = G->RowCount() - 1;
    G->SetCells(1, last, L"Total");
    // The sums of the amount and spin columns, formatted by the footer.
    ff->SetColumnCalc(3, acSUM);
    ff->SetColumnCalc(5, acSUM);
    G->SearchFooter()->SetVisible(true);
}

void SetUpTones(TVodStringGrid* T)
{
    TColorTones tones;
    tones.Background = {TColor(0xFFFBF5), TColor(0xD8C8B0), TColor(0x3C3C3C)};
    tones.Foreground = {TColor(0xE8D5BF), TColor(0xC0A888), TColor(0x202020)};
    tones.Selected = {TColor(0xD77800), TColor(0xD77800), clWhite};
    tones.Hover = {TColor(0xF2E1CC), TColor(0xD8C8B0), TColor(0x202020)};
    tones.Disabled = {TColor(0xF0F0F0), TColor(0xD0D0D0), TColor(0xA0A0A0)};
    T->SetColorTones(tones);
    T->SetTopRow(8);
    T->FocusCell(1, 10);
}

const bool kRegistered = RegisterGridPaintDemoSetup(25, [](TGridPaintDemo& D) {
    SetUpFooter(D.Grid);
    SetUpTones(D.ToneGrid);
    D.Point("tone-background", D.ToneGrid, 2, 12, 40, 6, TColor(0xFFFBF5));
    // The glow around cell (2, 4) once the window is on the screen.
    TVodStringGrid* g = D.Grid;
    const TNotifyEvent shown = D.Form->OnShow;
    D.Form->OnShow = [g, shown](TObject* Sender) {
        if (shown) shown(Sender);
        g->FocusHelper()->SetEnabled(true);
        g->ShowFocusWindow(g->CellRect(2, 4));
    };
});

}  // namespace
