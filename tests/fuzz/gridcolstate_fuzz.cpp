// The grid's column state readers fed any bytes: as a state string (odd
// first byte) it applies or raises, a refused string changing nothing and
// an applied one reading back to a string that applies again; as an INI
// file (even first byte) the stored widths and order load or are ignored.
#include "tests/fuzz/FuzzFile.h"
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 8192) return 0;
    TVodStringGrid* g = FuzzGrid();
    // Columns an earlier input hid come back before the reset.
    g->UnHideColumnsAll();
    FuzzResetGrid(g);
    g->ColumnOrder()->Clear();
    if (data[0] & 1) {
        const String value = TEncoding::ANSI()->GetString(data + 1, size - 1);
        const String state = g->ColumnStatesToString();
        const TBytes before = FuzzSnapshot(g);
        try {
            g->StringToColumnStates(value);
        } catch (const Exception&) {
            if (g->ColumnStatesToString() != state || FuzzSnapshot(g) != before) std::abort();
            return 0;
        }
        if (g->TotalColCount() > Integer(size)) std::abort();
        try {
            g->StringToColumnStates(g->ColumnStatesToString());
        } catch (const Exception&) {
            std::abort();
        }
        return 0;
    }
    const String file = FuzzWriteFile(".cols", data + 1, size - 1);
    g->ColumnSize()->SetLocation(TColumnSizeLocation::clIniFile);
    g->ColumnSize()->SetKey(file);
    g->ColumnSize()->SetSection(L"cols");
    const Integer total = g->TotalColCount();
    try {
        g->LoadColPositions();
        g->LoadColSizes();
    } catch (const Exception&) {
        std::abort();
    }
    g->ColumnSize()->SetKey(L"");
    if (g->TotalColCount() != total) std::abort();
    return 0;
}
