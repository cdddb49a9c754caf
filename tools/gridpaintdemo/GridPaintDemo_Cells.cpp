// The grid painting demo's cell kinds: markup with a link, rich text,
// multi-line, word-wrapped, ellipsis, URL and rotated texts in the Note
// columns; check boxes, a radio group, progress bars, a pie, a rating, a
// comment mark and an image in the columns right of them; a node tree with
// tree lines over the lower rows.
#include "platform/gfx/Graphics.h"
#include "tools/gridpaintdemo/GridPaintDemo.h"

namespace {

// A small picture of our own: a green square with a darker frame.
void DrawLeaf(TBitmap* b)
{
    b->SetSize(16, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(TColor(0x40A040));
    c->Pen()->SetColor(TColor(0x206020));
    c->Rectangle(1, 1, 15, 15);
    c->Brush()->SetColor(TColor(0x80E080));
    c->FillRect(TRect{4, 4, 12, 12});
}

const bool kRegistered = RegisterGridPaintDemoSetup(10, [](TGridPaintDemo& D) {
    TVodStringGrid* g = D.Grid;
    g->SetCells(6, 0, L"Note");
    g->SetCells(7, 0, L"Graphic");
    g->SetCells(8, 0, L"More");
    g->SetCells(9, 0, L"Rotated");
    g->SetEnhTextSize(true);

    // Texts of every kind in the Note column.
    g->SetCells(6, 1, L"<b>bold</b> <a href=\"x\">link</a>");
    g->SetCells(6, 5, L"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
                      L"\\f0\\fs16 rich \\cf1\\b red\\b0\\par}");
    g->SetRowHeights(6, 36);
    g->SetCells(6, 6, L"two\nlines");
    g->SetRowHeights(7, 36);
    g->SetCells(6, 7, L"wrapped words in a cell");
    g->SetWordWraps(6, 7, true);
    g->SetCells(6, 8, L"an ellipsis ends this long text");
    g->SetWordWraps(6, 8, false);
    g->SetURLShow(true);
    g->SetCells(6, 9, L"http://example.org");

    // Graphics in the next columns.
    g->AddCheckBox(7, 5, true);
    g->AddCheckBox(7, 6, false);
    // The radio group reads its options from the list as it draws: the list
    // lives as long as the program.
    static TStringList opts;
    opts.Clear();
    opts.Add(L"A");
    opts.Add(L"B");
    g->AddRadio(7, 7, 0, 1, &opts);
    g->SetCells(7, 8, L"65");
    g->AddProgress(7, 8, TColor(0x30B030), clWhite);
    g->SetCells(7, 9, L"3");
    g->AddRating(7, 9, 5, TColor(0x00C8FF), TColor(0xD0D0D0));
    g->SetCells(7, 10, L"comment");
    g->AddComment(7, 10, L"A comment on this cell");
    DrawLeaf(g->CreateBitmap(7, 11, false, haCenter, vaCenter));
    g->AddProgressPie(8, 5, TColor(0xD77800), 40);
    g->SetRowHeights(5, 30);

    // A rotated header text in a tall cell.
    g->SetRowHeights(10, 60);
    g->AddRotated(9, 10, 90, L"rotated");

    // A node tree with tree lines over rows 13 to 18.
    g->CellNode()->SetShowTree(true);
    g->AddNode(13, 6);
    g->AddNode(15, 2);

    D.Point("picture", g, 7, 11, 41, 12, TColor(0x80E080));
    D.Point("progress", g, 7, 8, 6, 12, TColor(0x30B030));
});

}  // namespace
