// The grid's native text stream fed any bytes: a load succeeds or raises; a
// refused block leaves the grid as it was, and a loaded one leaves the
// stream at a line start within the input.
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536) return 0;
    TVodStringGrid* g = FuzzGrid();
    FuzzResetGrid(g);
    const TBytes before = FuzzSnapshot(g);
    TBytesStream s(TBytes(data, data + size));
    try {
        g->LoadFromStream(&s);
    } catch (const Exception&) {
        if (FuzzSnapshot(g) != before) std::abort();
        return 0;
    }
    if (s.Position() < 0 || s.Position() > Int64(size)) std::abort();
    return 0;
}
