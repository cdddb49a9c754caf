// The platform's grid family in one window, for looking at it on a real
// desktop (or a virtual X server). Before "READY left top width height"
// (the client area on the screen) it prints "POINT name x y rrggbb" lines:
// client points whose colour the smoke test checks. Runs until closed or
// its time is up.
//
//   griddemo [--seconds N]
//
// Client area 900 x 620 on the button face colour. Sections, each built by
// its own function into its own rectangle:
//   top (8, 8, 892, 308): a TStringGrid of 1,000,000 rows and 20 columns,
//     one fixed row of titles and one fixed column of row numbers, column 2
//     widened to 120, column 7 moved to place 3 (titles read Col 1, Col 2,
//     Col 7, Col 3, ...), scrolled near the end (top row 999,980), cells
//     (2..4, 999,983..999,986) selected, the editor open on the current cell
//     (4, 999,986) with the text "edited".
//   bottom (8, 316, 892, 612): free for further sections.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

namespace {

constexpr int kRows = 1000000, kCols = 20;

// The grid with its line moves open to the demo.
class TDemoGrid : public TStringGrid {
public:
    explicit TDemoGrid(TComponent* o) : TStringGrid(o) {}
    using TCustomGrid::MoveColumn;
};

struct TPointCheck {
    const char* Name;
    TPoint At;     // form client
    TColor Colour;
};
std::vector<TPointCheck> gChecks;

TDemoGrid* gGrid = nullptr;

void BuildStringGrid(TForm* form, const TRect& area)
{
    auto* g = new TDemoGrid(form);
    gGrid = g;
    g->SetParent(form);
    g->SetBoundsRect(area);
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->SetOptions(g->Options() + TGridOptions{goColSizing, goColMoving, goEditing, goThumbTracking});
    g->SetUpdating(true);
    for (int c = 1; c < kCols; ++c) g->SetCells(c, 0, L"Col " + IntToStr(c));
    g->SetCells(0, 0, L"Row");
    // Texts where the view is: the store keeps only the rows written.
    for (int r = kRows - 40; r < kRows; ++r) {
        g->SetCells(0, r, IntToStr(r));
        for (int c = 1; c < kCols; ++c) g->SetCells(c, r, L"R" + IntToStr(r % 1000) + L"C" + IntToStr(c));
    }
    g->SetUpdating(false);
    g->SetColWidths(2, 120);
    g->MoveColumn(7, 3);
    g->SetTopRow(kRows - 20);
    g->SetSelection(TGridRect{2, kRows - 17, 4, kRows - 14});
}

// After the window shows: the editor opens on the current cell.
void ShowStringGridEditor()
{
    gGrid->SetFocus();
    gGrid->SetEditorMode(true);
    if (TInplaceEdit* ed = gGrid->InplaceEditor()) {
        ed->SetText(L"edited");
        ed->SetSelStart(6);
    }
    const TPoint c = gGrid->ClientOrigin();
    const TPoint form = gGrid->Parent()->ClientOrigin();
    const int dx = c.X - form.X, dy = c.Y - form.Y;
    TRect fixed = gGrid->CellRect(3, 0);
    TRect sel = gGrid->CellRect(2, kRows - 16);
    TRect cur = gGrid->CellRect(4, kRows - 14);
    TRect plain = gGrid->CellRect(6, kRows - 10);
    gChecks = {
        {"fixed", {dx + fixed.Left + 40, dy + fixed.Top + 3}, clBtnFace},
        {"selected", {dx + sel.Right - 4, dy + sel.Top + 3}, clHighlight},
        {"editor", {dx + cur.Right - 6, dy + cur.Top + 3}, clWindow},
        {"plain", {dx + plain.Right - 4, dy + plain.Top + 3}, clWindow},
    };
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Grid family");
        SetBorderStyle(bsSingle);
        SetLeft(20);
        SetTop(20);
        SetClientWidth(900);
        SetClientHeight(620);
        BuildStringGrid(this, Rect(8, 8, 892, 308));
    }
};

}  // namespace

int main(int argc, char** argv)
{
    int seconds = 60;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atoi(argv[++i]);
    if (!InstallDefaultBackend()) {
        std::fprintf(stderr, "griddemo: no display to show windows on\n");
        return 2;
    }
    auto* sdl = dynamic_cast<TSdlBackend*>(&Backend());
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    ShowStringGridEditor();
    DWORD start = GetTickCount();
    bool announced = false;
    while (!Application->Terminated() && IsWindow(form->Handle())) {
        Application->ProcessMessages();
        if (sdl && !announced && sdl->SdlWindowOf(form->Handle())) {
            WmUpdateAllWindows();
            sdl->Flush();
            for (const TPointCheck& c : gChecks) {
                const unsigned bgr = unsigned(ColorToRGB(c.Colour));
                const unsigned rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
                std::printf("POINT %s %d %d %06x\n", c.Name, c.At.X, c.At.Y, rgb);
            }
            TPoint o = form->ClientOrigin();
            std::printf("READY %d %d %d %d\n", o.X, o.Y, form->ClientWidth(), form->ClientHeight());
            std::fflush(stdout);
            announced = true;
        }
        if (sdl) sdl->PumpEvents(20);
        if (int32_t(GetTickCount() - start) > seconds * 1000) break;
    }
    DoneForms();
    return 0;
}
