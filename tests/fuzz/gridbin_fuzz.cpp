// The grid's binary cell stream fed any bytes: a load either succeeds or
// raises, and a refused stream leaves the grid exactly as it was. What loads
// must save and load again.
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536) return 0;
    TVodStringGrid* g = FuzzGrid();
    FuzzResetGrid(g);
    const TBytes before = FuzzSnapshot(g);
    TBytesStream s(TBytes(data, data + size));
    try {
        g->LoadAtPointFromBinStream(TPoint{1, 1}, &s);
    } catch (const Exception&) {
        if (FuzzSnapshot(g) != before) std::abort();
        return 0;
    }
    TMemoryStream again;
    g->SaveToBinStream(&again);
    again.SetPosition(0);
    try {
        g->LoadFromBinStream(&again);
    } catch (const Exception&) {
        std::abort();
    }
    return 0;
}
