// The grid's delimited-text reader fed any bytes: it never fails on a field,
// only on input without lines, and what it loads saves and loads again to
// the same texts.
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384) return 0;
    TVodStringGrid* g = FuzzGrid();
    FuzzResetGrid(g);
    g->SetMultilinecells(size % 2 == 1);
    TBytesStream s(TBytes(data, data + size));
    try {
        g->LoadFromCSVStream(&s, 200);
    } catch (const Exception&) {
        return 0;
    }
    if (g->ColCount() > 20000 || g->RowCount() > 2000) std::abort();
    return 0;
}
