// The grid's clipboard text parser fed any text: the paste and the
// selection writer never fail, grow the grid within what the text holds,
// and leave nothing in the store beyond the grid (a later growth shows only
// empty cells).
//
// Byte 0 chooses: bit 0 column growth, bit 1 row growth, bit 2 inserting,
// bits 3-4 the column and 5-6 the row to paste at, bit 7 the selection
// writer instead of the paste. The rest is the text, a byte a character
// (bytes from 0x80 map to letters beyond Latin-1).
#include "tests/fuzz/FuzzGrid.h"

#include <cstdio>

namespace {

const uint8_t* GInput = nullptr;
size_t GInputSize = 0;

// Names the broken property and shows the input in hexadecimal.
[[noreturn]] void Fail(const char* What)
{
    std::fprintf(stderr, "gridpaste: %s; input:", What);
    for (size_t i = 0; i < GInputSize; ++i) std::fprintf(stderr, " %02x", GInput[i]);
    std::fprintf(stderr, "\n");
    std::abort();
}

// Grows the grid by two columns and rows, checks that the new cells are
// empty and shrinks it again.
void CheckNothingBeyond(TVodStringGrid* g)
{
    const Integer cc = g->ColCount(), rc = g->RowCount();
    g->SetColCount(cc + 2);
    g->SetRowCount(rc + 2);
    for (Integer r = 0; r < rc + 2; ++r)
        for (Integer c = 0; c < cc + 2; ++c)
            if ((c >= cc || r >= rc) && !g->GetGridCell(c, r).empty()) Fail("a text beyond the grid");
    g->SetColCount(cc);
    g->SetRowCount(rc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096) return 0;
    GInput = data;
    GInputSize = size;
    TVodStringGrid* g = FuzzGrid();
    FuzzResetGrid(g);
    const uint8_t flags = data[0];
    String text;
    Integer lines = 1, fields = 1, tabs = 0;
    for (size_t i = 1; i < size; ++i) {
        const uint8_t b = data[i];
        const wchar_t c = b < 0x80 ? wchar_t(b) : wchar_t(0x100 + b);
        text += c;
        if (c == L'\r') {  // lines end at CR only
            ++lines;
            fields = std::max(fields, tabs + 1);
            tabs = 0;
        } else if (c == L'\t') {
            ++tabs;
        }
    }
    fields = std::max(fields, tabs + 1);
    // Cells an earlier input left beyond the grid are emptied first, so
    // the check below sees only what this paste stored.
    const Integer maxCols = 4 + fields + 3, maxRows = 4 + 2 * (lines + 1) + 3;
    g->SetColCount(maxCols);
    g->SetRowCount(maxRows);
    for (Integer r = 0; r < maxRows; ++r)
        for (Integer c = 0; c < maxCols; ++c) g->SetGridCell(c, r, String());
    FuzzResetGrid(g);
    g->SetSelection(TGridRect{0, 0, 0, 0});
    TNavigation* nav = g->Navigation();
    nav->SetAllowClipboardColGrow(flags & 1);
    nav->SetAllowClipboardRowGrow(flags & 2);
    nav->SetClipboardPasteAction(flags & 4 ? paInsert : paReplace);
    TGridOptions o = g->Options();
    g->SetOptions(o.Include(goEditing));
    const Integer col = (flags >> 3) & 3, row = (flags >> 5) & 3;
    try {
        if (flags & 0x80) {
            g->SetSelection(TGridRect{col, row, col, row});
            g->SetSelectionAsText(text);
        } else {
            Integer cols = 0, rows = 0;
            g->PasteTextAt(col, row, text, cols, rows);
            if (cols < 0 || rows < 0 || cols > fields + 1 || rows > lines + 1) Fail("a block larger than the text");
        }
    } catch (const Exception&) {
        return 0;
    }
    // Growth stays within the text's block (and an insertion's rows).
    if (g->ColCount() > 4 + fields + 1 || g->RowCount() > 4 + 2 * (lines + 1)) Fail("growth beyond the text");
    CheckNothingBeyond(g);
    return 0;
}
